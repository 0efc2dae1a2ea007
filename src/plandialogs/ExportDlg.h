#pragma once

#include <memory>
#include <utility>

#include <QDate>
#include <QDialog>
#include <QString>

namespace Ui {
class CExportDlg;
} // namespace Ui

// "Print / export plan of action": whether the plan of the current target or of all receivers
// or groups is put out, and for the shown week(s) or the month. The caller gives the current
// target's name (empty when none is selected: then only all targets can be chosen), the week
// caption, the month text and the preset period (print: the week, export: the month). An export
// may also offer the format: the HTML table (preset) or an iCalendar file of the duty. The choices
// are the radio buttons "target" and "all", "week" and "month", "html" and "calendar".
class CExportDlg : public QDialog
{
    Q_OBJECT

public:
    // `groups`: opened from the groups tab, so "all" means all groups (else all receivers).
    CExportDlg(const QString& targetName, const QString& weekText, const QString& monthText, int period,
        QWidget* parent = nullptr, bool groups = false);
    ~CExportDlg() override;

    // The choice, taken on OK.
    bool AllTargets() const { return m_allTargets; }
    // 0 = the shown week(s), 1 = the month.
    int Period() const { return m_period; }
    // Shows the choice of format; without it the result is the HTML table.
    void OfferCalendar();
    // Whether "iCalendar (.ics)" was chosen, taken on OK.
    bool Calendar() const { return m_calendar; }

    // The days of a period (both included): the weeks from the week start, or the month it lies in.
    static std::pair<QDate, QDate> PeriodDates(QDate weekStart, int period, int weeks);

    // The week caption as the dialog shows it: every run of four blanks becomes one blank.
    static QString ShortWeekText(const QString& weekText);

    void accept() override;

protected:
    void changeEvent(QEvent* event) override;

private:
    // The texts with the names, the week and the month in them, and the title's room.
    void ShowTexts();

    const std::unique_ptr<Ui::CExportDlg> m_ui;
    QString m_targetName;
    bool m_groups = false;
    QString m_weekText;
    QString m_monthText;
    bool m_allTargets = false;
    int m_period = 0;
    bool m_calendar = false;
};
