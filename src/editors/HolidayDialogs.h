#pragma once

#include <functional>
#include <memory>

#include <QDate>
#include <QDialog>
#include <QString>

#include "schedule/Holiday.h"

namespace Ui {
class CHolidayAuto;
class CHolidayEntry;
class CHolidayListDialog;
} // namespace Ui

// --- Deciding logic of the holiday editor (no widgets) ----------------------------------------------

// The two texts of a holiday's row: its name and its date in the locale's date form.
struct CHolidayRowTexts
{
    QString name;
    QString date;
};
CHolidayRowTexts HolidayRowTexts(const CHoliday& holiday);

// The holiday the entry dialog's fields describe: the name as typed, the day at midnight.
CHoliday HolidayFromEntry(const QString& name, const QDate& date);
// The entry dialog accepts a holiday only with a name.
bool HolidayEntryAcceptable(const QString& name);

// Where a holiday appended to the list ends up after the list has been sorted by date: behind every
// other holiday of the same day or earlier. `others` is the list without the appended holiday.
qsizetype RowOfAddedHoliday(const CHolidaysArray& others, const CHoliday& added);

// The row to select after the row at `removed` was deleted from a list that now has `count` rows:
// the row that took its place; -1 (none) when the last row went.
int RowAfterRemoval(int removed, int count);

// The generation behind the list's "Automatic" button (years exchanged when reversed, nothing
// outside 1901 to 2099, sorted for spans under 50 years); see GenerateStatutoryHolidays.
using CHolidayGenerator = std::function<bool(CHolidaysArray& holidays, int first, int last)>;

// --- CHolidayEntry -----------------------------------------------------------------------------------

// "Holiday": the name ("name") and the date ("date") of one holiday. OK is enabled only while the
// name is not empty.
class CHolidayEntry : public QDialog
{
    Q_OBJECT

public:
    // A new holiday: empty name, today's date.
    explicit CHolidayEntry(QWidget* parent = nullptr);
    // Preset with an existing holiday.
    explicit CHolidayEntry(const CHoliday& holiday, QWidget* parent = nullptr);
    ~CHolidayEntry() override;

    CHoliday Holiday() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    void Build(const CHoliday& holiday);
    void UpdateOk();

    const std::unique_ptr<Ui::CHolidayEntry> m_ui;
};

// --- CHolidayAuto ------------------------------------------------------------------------------------

// "Enter the Years": the first ("from") and the last year ("to") of the statutory holidays to
// generate, both preset to the current year. The boxes take whole numbers only; the span is
// checked by the generation.
class CHolidayAuto : public QDialog
{
    Q_OBJECT

public:
    explicit CHolidayAuto(QWidget* parent = nullptr);
    ~CHolidayAuto() override;

    int FromYear() const;
    int ToYear() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    const std::unique_ptr<Ui::CHolidayAuto> m_ui;
};

// --- CHolidayListDialog ------------------------------------------------------------------------------

// "Holidays": the holiday list ("holidays"), sorted by date when the dialog opens, with Add, Edit
// (default, also a double click on a row), Remove, Automatic and Close ("add", "edit", "remove",
// "automatic", "close"); "result" says what the last Automatic run added (hidden before one).
// Edits the list in place and sets its modified flag on every change; the opener saves it.
class CHolidayListDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CHolidayListDialog(CHolidaysArray& holidays, QWidget* parent = nullptr);
    ~CHolidayListDialog() override;

    // The row selected now, or -1.
    int SelectedRow() const;
    void SelectRow(int row);

    // Replaces the generation the Automatic button runs (GenerateStatutoryHolidays by default).
    void SetGenerator(CHolidayGenerator generator) { m_generator = std::move(generator); }

public Q_SLOTS:
    void AddHoliday();
    void EditHoliday();
    void RemoveHoliday();
    void GenerateHolidays();

protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Rebuild();
    void FitColumns();
    void UpdateButtons();
    // Appends a holiday, sorts the list, rebuilds it and selects the holiday's row.
    void InsertHoliday(const CHoliday& holiday);

    const std::unique_ptr<Ui::CHolidayListDialog> m_ui;
    CHolidaysArray& m_holidays;
    CHolidayGenerator m_generator;
};
