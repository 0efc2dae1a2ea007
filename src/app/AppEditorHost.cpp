#include "app/AppEditorHost.h"

#include <memory>
#include <utility>

#include "editors/BarrageDialogs.h"
#include "editors/GeneralSettingsDialog.h"
#include "editors/HolidayDialogs.h"
#include "editors/NoticeSettingsDialog.h"
#include "editors/ShiftDialogs.h"
#include "editors/TakeoverTextsDlg.h"
#include "inbound/KelvarisObj.h"
#include "plandialogs/DispatchingDlg.h"

CAppEditorHost::~CAppEditorHost()
{
    CloseAll();
    // A modal one is on a caller's stack and ends with it; only the modeless ones are ours.
    for (QPointer<QDialog>& dialog : m_modeless)
        delete dialog.data();
}

void CAppEditorHost::CloseAll()
{
    // As the operator would: the planning dialog keeps its last edits, every list is saved.
    for (QPointer<QDialog>& dialog : m_modeless) {
        if (dialog)
            dialog->close();
    }
}

bool CAppEditorHost::AnyEditorShown() const
{
    for (const QPointer<QDialog>& dialog : m_shown) {
        if (dialog && dialog->isVisible())
            return true;
    }
    return false;
}

int CAppEditorHost::RunModal(EKind kind, QDialog& dialog)
{
    m_shown[size_t(kind)] = &dialog;
    const int result = dialog.exec();
    m_shown[size_t(kind)] = nullptr;
    return result;
}

void CAppEditorHost::ShowModeless(EKind kind, QDialog* dialog, std::function<void()> closed)
{
    m_shown[size_t(kind)] = dialog;
    m_modeless[size_t(kind)] = dialog;
    dialog->setWindowModality(Qt::NonModal);
    // Once, whichever comes first: the operator closes it, or it goes with its parent.
    auto once = std::make_shared<std::function<void()>>(std::move(closed));
    const auto finish = [once] {
        if (*once)
            std::exchange(*once, nullptr)();
    };
    QObject::connect(dialog, &QDialog::finished, dialog, [dialog, finish] {
        finish();
        dialog->deleteLater();
    });
    QObject::connect(dialog, &QObject::destroyed, dialog, finish);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

bool CAppEditorHost::BringToFront(EKind kind)
{
    QDialog* dialog = m_shown[size_t(kind)];
    if (!dialog)
        return false;
    if (dialog->isMinimized())
        dialog->showNormal();
    else if (!dialog->isVisible())
        dialog->show();
    dialog->raise();
    dialog->activateWindow();
    return true;
}

bool CAppEditorHost::EditGeneralSettings(CGeneralSettings& settings)
{
    CGeneralSettingsDialog dialog(settings, m_parent);
    if (RunModal(EKind::GeneralSettings, dialog) != QDialog::Accepted)
        return false;
    settings = dialog.Settings();
    return true;
}

bool CAppEditorHost::EditNoticeSettings(CNoticeSettings& settings)
{
    CNoticeSettingsDialog dialog(settings, m_parent);
    if (RunModal(EKind::NoticeSettings, dialog) != QDialog::Accepted)
        return false;
    settings = dialog.Settings();
    return true;
}

void CAppEditorHost::EditBarriers(CBarrageArray& barriers)
{
    CBarrageListDialog dialog(barriers, m_parent);
    RunModal(EKind::Barriers, dialog);
}

void CAppEditorHost::EditShifts(CShiftArray& shifts)
{
    CShiftListDialog dialog(shifts, m_parent);
    RunModal(EKind::Shifts, dialog);
}

void CAppEditorHost::EditHolidays(CHolidaysArray& holidays)
{
    CHolidayListDialog dialog(holidays, m_parent);
    RunModal(EKind::Holidays, dialog);
}

void CAppEditorHost::EditPlan(const QString& preselectedTarget)
{
    if (!m_doc)
        return;
    CDispatchingDlg dialog(*m_doc, preselectedTarget, m_parent);
    RunModal(EKind::Plan, dialog);
}

bool CAppEditorHost::EditTakeoverTexts(QString& request, QString& confirm, QString& timeout)
{
    CTakeoverTextsDlg dialog(request, confirm, timeout, m_parent);
    if (RunModal(EKind::TakeoverTexts, dialog) != QDialog::Accepted)
        return false;
    request = dialog.RequestText();
    confirm = dialog.ConfirmText();
    timeout = dialog.TimeoutText();
    return true;
}

void CAppEditorHost::OpenBarriers(CBarrageArray& barriers, std::function<void()> closed)
{
    ShowModeless(EKind::Barriers, new CBarrageListDialog(barriers, m_parent), std::move(closed));
}

void CAppEditorHost::OpenShifts(CShiftArray& shifts, std::function<void()> closed)
{
    ShowModeless(EKind::Shifts, new CShiftListDialog(shifts, m_parent), std::move(closed));
}

void CAppEditorHost::OpenHolidays(CHolidaysArray& holidays, std::function<void()> closed)
{
    ShowModeless(EKind::Holidays, new CHolidayListDialog(holidays, m_parent), std::move(closed));
}

void CAppEditorHost::OpenPlan(const QString& preselectedTarget, std::function<void()> closed)
{
    if (!m_doc) {
        closed();
        return;
    }
    ShowModeless(EKind::Plan, new CDispatchingDlg(*m_doc, preselectedTarget, m_parent), std::move(closed));
}

bool CAppEditorHost::AutomationEditorRunning() const
{
    return CAutomationSetup::IsRunning();
}
