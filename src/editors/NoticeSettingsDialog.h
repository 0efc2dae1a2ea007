#pragma once

#include <QDialog>

#include "engine/DutyNotices.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTimeEdit;

// Setup > "Duty notices": when reminders, change notices and the daily summary go out, and their
// texts. Settings() gives the edited values; the caller stores them.
class CNoticeSettingsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CNoticeSettingsDialog(const CNoticeSettings& settings, QWidget* parent = nullptr);

    CNoticeSettings Settings() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    void Retranslate();

    QLabel* m_leadLabel = nullptr;
    QSpinBox* m_lead = nullptr;
    QLabel* m_changeLabel = nullptr;
    QSpinBox* m_change = nullptr;
    QLabel* m_lateLabel = nullptr;
    QSpinBox* m_late = nullptr;
    QCheckBox* m_summary = nullptr;
    QTimeEdit* m_summaryTime = nullptr;
    QLabel* m_summaryTargetsLabel = nullptr;
    QLineEdit* m_summaryTargets = nullptr;
    QGroupBox* m_textsGroup = nullptr;
    QLabel* m_textLabels[4] = {};
    QLineEdit* m_texts[4] = {};
};
