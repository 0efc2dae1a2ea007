#pragma once

#include <QDialog>
#include <QList>

#include "journal/Journal.h"

class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QTreeWidget;

// Setup > History: the edit journal of the data folder, newest first, filtered by a first day, a
// kind of change and a target; an entry opens the view of its content before and after. Reads
// only; the journal may be written meanwhile by this or another program.
class CHistoryDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kMaxEntries = 5000;

    explicit CHistoryDialog(QString journalPath, QWidget* parent = nullptr);

    // The kind and the way of a change as the window shows them ("plan" is "Plan").
    static QString KindText(const QString& kind);
    static QString ViaText(const QString& via);
    // A subject as the window shows it: a target "Name (ID)", the configuration, the schedule.
    static QString SubjectText(const QString& subject, const QString& name = QString());
    // The rows shown now (for the tests).
    int VisibleRowCount() const;

public Q_SLOTS:
    // Reads the journal again from the first day on.
    void Reload();
    // Opens the before/after view of the current row.
    void ShowCurrent();

protected:
    void changeEvent(QEvent* event) override;

private:
    void Retranslate();
    void ApplyFilter();

    QString m_path;
    QList<CJournalEntry> m_entries;
    QHash<QString, QString> m_names; // target ID -> name, from the plans' Name= lines
    QLabel* m_sinceLabel = nullptr;
    QDateEdit* m_since = nullptr;
    QLabel* m_kindLabel = nullptr;
    QComboBox* m_kind = nullptr;
    QLabel* m_targetLabel = nullptr;
    QComboBox* m_target = nullptr;
    QTreeWidget* m_list = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_show = nullptr;
};

// One journal entry: when, who, through what, what and why, and its content before and after
// (for a plan after its first entry, the lines the change removed and added).
class CHistoryEntryDialog : public QDialog
{
    Q_OBJECT

public:
    CHistoryEntryDialog(const CJournalEntry& entry, const QString& targetText, QWidget* parent = nullptr);
};
