#include "app/AppEditorHost.h"

#include "editors/BarrageDialogs.h"
#include "editors/GeneralSettingsDialog.h"
#include "editors/HolidayDialogs.h"
#include "editors/ShiftDialogs.h"
#include "editors/TakeoverTextsDlg.h"
#include "inbound/KelvarisObj.h"
#include "planning/DispatchingDlg.h"

bool CAppEditorHost::EditGeneralSettings(CGeneralSettings& settings)
{
    CGeneralSettingsDialog dialog(settings, m_parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    settings = dialog.Settings();
    return true;
}

void CAppEditorHost::EditBarriers(CBarrageArray& barriers)
{
    CBarrageListDialog dialog(barriers, m_parent);
    dialog.exec();
}

void CAppEditorHost::EditShifts(CShiftArray& shifts)
{
    CShiftListDialog dialog(shifts, m_parent);
    dialog.exec();
}

void CAppEditorHost::EditHolidays(CHolidaysArray& holidays)
{
    CHolidayListDialog dialog(holidays, m_parent);
    dialog.exec();
}

void CAppEditorHost::EditPlan(const QString& preselectedTarget)
{
    if (!m_doc)
        return;
    CDispatchingDlg dialog(*m_doc, preselectedTarget, m_parent);
    dialog.exec();
}

bool CAppEditorHost::EditTakeoverTexts(QString& request, QString& confirm, QString& timeout)
{
    CTakeoverTextsDlg dialog(request, confirm, timeout, m_parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    request = dialog.RequestText();
    confirm = dialog.ConfirmText();
    timeout = dialog.TimeoutText();
    return true;
}

bool CAppEditorHost::AutomationEditorRunning() const
{
    return CAutomationSetup::IsRunning();
}
