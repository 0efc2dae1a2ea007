#include "app/AppEditorHost.h"

#include "inbound/KelvarisObj.h"

bool CAppEditorHost::EditGeneralSettings(CGeneralSettings&)
{
    return false;
}

void CAppEditorHost::EditBarriers(CBarrageArray&) { }

void CAppEditorHost::EditShifts(CShiftArray&) { }

void CAppEditorHost::EditHolidays(CHolidaysArray&) { }

void CAppEditorHost::EditPlan(const QString&) { }

bool CAppEditorHost::EditTakeoverTexts(QString&, QString&, QString&)
{
    return false;
}

bool CAppEditorHost::AutomationEditorRunning() const
{
    return CAutomationSetup::IsRunning();
}
