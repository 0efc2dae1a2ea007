#pragma once

#include <QDialog>
#include <QString>

class QGroupBox;
class QRadioButton;

// "Print / export plan of action": whether the plan of the current target or of all receivers
// or groups is put out, and for the shown week(s) or the month. The caller gives the current
// target's name (empty when none is selected: then only all targets can be chosen), the week
// caption, the month text and the preset period (print: the week, export: the month).
class CExportDlg : public QDialog
{
    Q_OBJECT

public:
    CExportDlg(const QString& targetName, const QString& weekText, const QString& monthText, int period,
        QWidget* parent = nullptr);

    // The choice, taken on OK.
    bool AllTargets() const { return m_allTargets; }
    // 0 = the shown week(s), 1 = the month.
    int Period() const { return m_period; }

    // The week caption as the dialog shows it: every run of four blanks becomes one blank.
    static QString ShortWeekText(const QString& weekText);

    QRadioButton* TargetRadio() const { return m_targetRadio; }
    QRadioButton* AllRadio() const { return m_allRadio; }
    QRadioButton* WeekRadio() const { return m_weekRadio; }
    QRadioButton* MonthRadio() const { return m_monthRadio; }

    void accept() override;

protected:
    void changeEvent(QEvent* event) override;

private:
    void Retranslate();

    QString m_targetName;
    QString m_weekText;
    QString m_monthText;
    bool m_allTargets = false;
    int m_period = 0;

    QGroupBox* m_membersGroup = nullptr;
    QGroupBox* m_periodGroup = nullptr;
    QRadioButton* m_targetRadio = nullptr;
    QRadioButton* m_allRadio = nullptr;
    QRadioButton* m_weekRadio = nullptr;
    QRadioButton* m_monthRadio = nullptr;
};
