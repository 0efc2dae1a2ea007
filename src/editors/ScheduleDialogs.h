#pragma once

#include <span>

#include <QDialog>

#include "editors/EditorLogic.h"

class QComboBox;
class QDateEdit;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimeEdit;
class QTreeWidget;

// --- Shared by the barrier and shift editors ------------------------------------------------------------

// A list of schedule records: one report row per record in array order (the array is sorted before
// every fill), and the buttons Add, Edit (the default; a double click on a row edits it too), Remove
// and Close. A subclass supplies the records and runs its entry dialog.
class CScheduleListDialog : public QDialog
{
    Q_OBJECT

public:
    QTreeWidget* List() const { return m_list; }
    QPushButton* AddButton() const { return m_add; }
    QPushButton* EditButton() const { return m_edit; }
    QPushButton* RemoveButton() const { return m_remove; }
    QPushButton* CloseButton() const { return m_close; }
    // The selected row, -1 for none.
    int SelectedRow() const;

    // The button commands.
    void AddRecord();
    void EditRecord();
    void RemoveRecord();

protected:
    CScheduleListDialog(std::span<const CListColumn> columns, const char* columnContext, QWidget* parent);

    // Sorts the records, then (re)builds the list and selects row `select` (none for -1).
    void Fill(int select = -1);
    bool m_filled = false; // the list was filled once (the first fill selects the first row)
    void showEvent(QShowEvent* event) override;
    // The list's width with every column whole, and the most it asks for as its least (what a
    // 1024x768 screen leaves beside the buttons).
    int m_fullListWidth = 0;
    bool m_widened = false;
    static constexpr int kMaxListMinimumWidth = 800;
    // The texts, the headers and the rows; the subclass calls it at the end of its constructor.
    void Retranslate();
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    virtual QString Title() const = 0;
    virtual void SortRecords() = 0;
    virtual qsizetype RecordCount() const = 0;
    virtual QStringList RowTexts(qsizetype index) const = 0;
    // Per column, the typical texts its width must show beside the rows' own.
    virtual QList<QStringList> ColumnSamples() const = 0;
    // Runs the entry dialog for a new record (index -1) or record `index`; on OK stores the result
    // (appended for a new record, replacing the old one otherwise), sets the modified flag and
    // returns true.
    virtual bool RunEntry(qsizetype index) = 0;
    // The row of the record stored last by RunEntry after the list was sorted.
    virtual qsizetype StoredIndex() const = 0;
    virtual void RemoveAt(qsizetype index) = 0;

private:
    void UpdateButtons();
    void ApplyColumnWidths();
    // Per column, the width its header and its typical and present texts need.
    QList<int> ColumnNeeds() const;
    // Sorts the records and fills the list with the record stored last selected.
    void ShowStored();

    std::span<const CListColumn> m_columns;
    const char* m_columnContext;
    QTreeWidget* m_list = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_remove = nullptr;
    QPushButton* m_close = nullptr;
};

// The fields every schedule entry has: the name, the date type, the date (shown only for a special
// date) and the from and to times. OK is enabled exactly when the name is not empty and the to time
// is after the from time; a time changed past the other one pulls the other one along.
class CScheduleEntry : public QDialog
{
    Q_OBJECT

public:
    QLineEdit* NameEdit() const { return m_name; }
    QComboBox* DateTypeCombo() const { return m_dateType; }
    QDateEdit* DateEdit() const { return m_date; }
    QLabel* DateLabel() const { return m_dateLabel; }
    QTimeEdit* FromTimeEdit() const { return m_from; }
    QTimeEdit* ToTimeEdit() const { return m_to; }
    QPushButton* OkButton() const { return m_ok; }

protected:
    explicit CScheduleEntry(QWidget* parent);

    // The form the subclass adds its own rows to, below the common ones, and the row for the
    // buttons, which the subclass adds last.
    QFormLayout* Form() const { return m_form; }
    void AddButtons();

    // The common fields from and into the controls.
    void SetCommonFields(const QString& name, int dateTypePosition, const CDateTime& date,
        const CDateTime& fromTime, const CDateTime& toTime);
    int DateTypePositionValue() const;
    CDateTime DateValue() const;
    CDateTime FromTimeValue() const;
    CDateTime ToTimeValue() const;

    void changeEvent(QEvent* event) override;
    virtual void Retranslate();
    // Called after the date type changed (the date is already adjusted).
    virtual void DateTypeChanged() { }

private:
    void OnDateTypeChanged();
    void OnFromTimeChanged();
    void OnToTimeChanged();
    void ShowDate(bool show);
    void UpdateOk();

    QLineEdit* m_name = nullptr;
    QComboBox* m_dateType = nullptr;
    QDateEdit* m_date = nullptr;
    QTimeEdit* m_from = nullptr;
    QTimeEdit* m_to = nullptr;
    QLabel* m_nameLabel = nullptr;
    QLabel* m_dateTypeLabel = nullptr;
    QLabel* m_dateLabel = nullptr;
    QLabel* m_fromLabel = nullptr;
    QLabel* m_toLabel = nullptr;
    QPushButton* m_ok = nullptr;
    QFormLayout* m_form = nullptr;
};
