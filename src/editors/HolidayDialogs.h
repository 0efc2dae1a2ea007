#pragma once

#include <functional>

#include <QDate>
#include <QDialog>
#include <QString>

#include "schedule/Holiday.h"

class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTreeWidget;

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

// "Holiday": the name and the date of one holiday. OK is enabled only while the name is not empty.
class CHolidayEntry : public QDialog
{
    Q_OBJECT

public:
    // A new holiday: empty name, today's date.
    explicit CHolidayEntry(QWidget* parent = nullptr);
    // Preset with an existing holiday.
    explicit CHolidayEntry(const CHoliday& holiday, QWidget* parent = nullptr);

    CHoliday Holiday() const;

    QLineEdit* NameEdit() const { return m_name; }
    QDateEdit* DateEdit() const { return m_date; }
    QPushButton* OkButton() const { return m_ok; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void Build(const CHoliday& holiday);
    void UpdateOk();
    void Retranslate();

    QLineEdit* m_name = nullptr;
    QDateEdit* m_date = nullptr;
    QLabel* m_nameLabel = nullptr;
    QLabel* m_dateLabel = nullptr;
    QPushButton* m_ok = nullptr;
};

// --- CHolidayAuto ------------------------------------------------------------------------------------

// "Enter the Years": the first and the last year of the statutory holidays to generate, both preset
// to the current year. The boxes take whole numbers only; the span is checked by the generation.
class CHolidayAuto : public QDialog
{
    Q_OBJECT

public:
    explicit CHolidayAuto(QWidget* parent = nullptr);

    int FromYear() const;
    int ToYear() const;

    QSpinBox* FromEdit() const { return m_from; }
    QSpinBox* ToEdit() const { return m_to; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void Retranslate();

    QSpinBox* m_from = nullptr;
    QSpinBox* m_to = nullptr;
    QLabel* m_fromLabel = nullptr;
    QLabel* m_toLabel = nullptr;
};

// --- CHolidayListDialog ------------------------------------------------------------------------------

// "Holidays": the holiday list, sorted by date when the dialog opens, with Add, Edit (default, also a
// double click on a row), Remove, Automatic and Close. Edits the list in place and sets its modified
// flag on every change; the opener saves it.
class CHolidayListDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CHolidayListDialog(CHolidaysArray& holidays, QWidget* parent = nullptr);

    QTreeWidget* List() const { return m_list; }
    QPushButton* AddButton() const { return m_add; }
    QPushButton* EditButton() const { return m_edit; }
    QPushButton* RemoveButton() const { return m_remove; }
    QPushButton* AutomaticButton() const { return m_automatic; }
    QPushButton* CloseButton() const { return m_close; }
    // Says what the last Automatic run added; hidden before one.
    QLabel* ResultLabel() const { return m_result; }

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
    void Retranslate();
    // Appends a holiday, sorts the list, rebuilds it and selects the holiday's row.
    void InsertHoliday(const CHoliday& holiday);

    CHolidaysArray& m_holidays;
    CHolidayGenerator m_generator;
    QTreeWidget* m_list = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_remove = nullptr;
    QPushButton* m_automatic = nullptr;
    QPushButton* m_close = nullptr;
    QLabel* m_result = nullptr;
};
