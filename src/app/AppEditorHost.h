#pragma once

#include <array>
#include <functional>

#include <QPointer>

#include "engine/KelvarisDoc.h"

class QDialog;
class QWidget;

// The editors as dialogs over the main window; the planning dialog needs the document
// (SetDocument), without one it opens nothing. The Edit... operations run the dialog modally (the
// Setup menu); the Open... operations show it without a modal loop of its own (automation setup
// commands), so editors of different kinds opened that way are usable side by side. The host knows
// every editor it shows and brings the one of a kind to the front on request.
class CAppEditorHost : public CEditorHost
{
public:
    explicit CAppEditorHost(QWidget* parent = nullptr)
        : m_parent(parent)
    { }
    // Editors still open are closed (their closing runs as if the operator had closed them).
    ~CAppEditorHost() override;
    CAppEditorHost(const CAppEditorHost&) = delete;
    CAppEditorHost& operator=(const CAppEditorHost&) = delete;

    void SetParent(QWidget* parent) { m_parent = parent; }
    void SetDocument(CKelvarisDoc* doc) { m_doc = doc; }

    bool EditGeneralSettings(CGeneralSettings& settings) override;
    bool EditNoticeSettings(CNoticeSettings& settings) override;
    void EditBarriers(CBarrageArray& barriers) override;
    void EditShifts(CShiftArray& shifts) override;
    void EditHolidays(CHolidaysArray& holidays) override;
    void EditPlan(const QString& preselectedTarget) override;
    bool EditTakeoverTexts(QString& request, QString& confirm, QString& timeout) override;
    // An editor opened by an automation setup command runs.
    bool AutomationEditorRunning() const override;

    bool BringToFront(EKind kind) override;
    void OpenBarriers(CBarrageArray& barriers, std::function<void()> closed) override;
    void OpenShifts(CShiftArray& shifts, std::function<void()> closed) override;
    void OpenHolidays(CHolidaysArray& holidays, std::function<void()> closed) override;
    void OpenPlan(const QString& preselectedTarget, std::function<void()> closed) override;

    // Closes the editors opened without waiting, as if the operator had closed them (program end).
    void CloseAll();

    // Whether any editor is shown, modal or not.
    bool AnyEditorShown() const;

    // The editor of a kind that is shown, or null.
    QDialog* Editor(EKind kind) const { return m_shown[size_t(kind)]; }

private:
    // Runs a dialog modally as the editor of its kind.
    int RunModal(EKind kind, QDialog& dialog);
    // Shows a dialog (owned from here on; deleted when closed) as the editor of its kind; `closed`
    // runs once when it has finished or is destroyed.
    void ShowModeless(EKind kind, QDialog* dialog, std::function<void()> closed);

    QWidget* m_parent = nullptr;
    CKelvarisDoc* m_doc = nullptr;
    // Per kind: the editor shown, and the same when it is modeless (owned here).
    std::array<QPointer<QDialog>, 6> m_shown;
    std::array<QPointer<QDialog>, 6> m_modeless;
};
