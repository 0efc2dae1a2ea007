#pragma once

#include "engine/KelvarisDoc.h"

class QWidget;

// The editors of the setup commands as modal dialogs over the main window; the planning dialog needs
// the document (SetDocument), without one it opens nothing.
class CAppEditorHost : public CEditorHost
{
public:
    explicit CAppEditorHost(QWidget* parent = nullptr)
        : m_parent(parent)
    { }
    void SetParent(QWidget* parent) { m_parent = parent; }
    void SetDocument(CKelvarisDoc* doc) { m_doc = doc; }

    bool EditGeneralSettings(CGeneralSettings& settings) override;
    void EditBarriers(CBarrageArray& barriers) override;
    void EditShifts(CShiftArray& shifts) override;
    void EditHolidays(CHolidaysArray& holidays) override;
    void EditPlan(const QString& preselectedTarget) override;
    bool EditTakeoverTexts(QString& request, QString& confirm, QString& timeout) override;
    // An editor opened by an automation setup command runs.
    bool AutomationEditorRunning() const override;

private:
    QWidget* m_parent = nullptr;
    CKelvarisDoc* m_doc = nullptr;
};
