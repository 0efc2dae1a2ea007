#pragma once

#include <memory>

#include <QDialog>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include "schedule/DateTime.h"

class QCheckBox;
class QDateEdit;
class QDialogButtonBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QLocale;
class QPushButton;
class QResizeEvent;

class CDispatchRangeArray;
class CKelvarisDoc;
class CPageTarget;
class CPageTargetArray;
class CPlannerModel;
class CPlannerWidget;
class CTimePlanner;

// The deciding logic of the bulk dialogs, kept apart from the widgets. All of it works in whole
// days: a dispatch range belongs to one calendar date, so only the date part of every argument
// counts and both ends of a span are included.

// The days of [from, to]; 0 when the span is invalid (to earlier than from, or a date not valid).
qint64 BulkSpanDays(const CDateTime& from, const CDateTime& to);
// Whether the two spans share at least one day (both must be valid spans).
bool BulkSpansOverlap(const CDateTime& firstFrom, const CDateTime& firstTo, const CDateTime& secondFrom,
    const CDateTime& secondTo);
// The Monday on or before the date, at midnight.
CDateTime BulkMondayOnOrBefore(const CDateTime& date);

// The summary of a span: "invalid time interval" when the span is invalid, otherwise
// [weekday of the first day,  ]length (all duration units, e.g. "1 week"),  "n dispatches".
// The weekday is shown by the duplicate dialog only. Texts are translated in the context of the
// dialog that shows them.
QString BulkSpanSummary(const CDateTime& from, const CDateTime& to, qsizetype rangeCount, bool withWeekday);
// "2.0 copies" for destination days / source days; empty when either span is invalid.
QString BulkCopiesText(qint64 sourceDays, qint64 destinationDays);

// The spans shown when the duplicate dialog opens: the week (Monday to Sunday) of today as the
// source, the week after it as the destination.
struct CDuplicateSpans
{
    CDateTime m_sourceFrom;
    CDateTime m_sourceTo;
    CDateTime m_destinationFrom;
    CDateTime m_destinationTo;
};
CDuplicateSpans DuplicateDefaultSpans(const CDateTime& today);
// OK of the duplicate dialog: both spans valid and no day in common.
bool DuplicateAllowed(const CDuplicateSpans& spans);
// Repeats the ranges of the source span over the destination span of one range array, day by day,
// starting again at the source's first day after its last one and stopping at the destination's
// end. Returns the number of ranges copied; nothing for an invalid span.
qsizetype DuplicateSpan(CDispatchRangeArray& ranges, const CDuplicateSpans& spans);
// The whole duplication on the targets (the caller holds the targets lock): first the ranges in
// the destination span are removed from every target named in `clearNames`, then the source span
// of every target named in `copyNames` is repeated over the destination span. Names that match no
// target are skipped. Does nothing when DuplicateAllowed is false. Returns the indexes of the
// targets changed (in target order, each once); their ranges are flagged as modified.
QList<qsizetype> PerformDuplicate(CPageTargetArray& targets, const CDuplicateSpans& spans,
    const QStringList& clearNames, const QStringList& copyNames);

// The span presets of the remove dialog.
enum class RemovePreset { All, Past, Future, Today };
// All: first to last range date; Past: first range date to yesterday; Future: tomorrow to the
// last range date; Today: today alone. A target without ranges takes today for the missing date.
void RemovePresetSpan(const CDispatchRangeArray& ranges, RemovePreset preset, const CDateTime& today,
    CDateTime& from, CDateTime& to);
// Removes the target's ranges in [from, to] (the caller holds the targets lock) and flags them as
// modified when any went. Returns the number removed; 0 for an index outside the list.
qsizetype PerformRemove(
    CPageTargetArray& targets, qsizetype targetIndex, const CDateTime& from, const CDateTime& to);

// The format of the bulk dialogs' date fields: the locale's short date with a four-digit year
// ("dd.MM.yyyy", "M/d/yyyy"), so that a whole typed date is taken as it stands.
QString BulkDateFormat(const QLocale& locale);

// Watches date fields for typed text that the field did not take (it puts back its last valid
// date when it is left with an incomplete one). Check tells the operator, focuses the field and
// returns false when such text is pending or a field's text is not a valid date.
class CDateEntryGuard : public QObject
{
public:
    explicit CDateEntryGuard(QObject* parent);
    void Watch(QDateEdit* edit);
    bool Check(QWidget* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QDateEdit*> m_edits;
    QHash<QDateEdit*, QString> m_rejected;
};

// Tells the operator that the alarm server no longer lists these targets, so that their plans,
// written to their own dispatch files all the same, apply only once it lists them again.
void ReportTargetsNoLongerListed(QWidget* parent, const QStringList& names);

// "Duplicate dispatching": repeats the plan of one span of days over another for the chosen
// receivers and groups, replacing what the destination held. OK performs the duplication on the
// document's page targets and writes the dispatch files of the targets changed.
class CDispDuplicateDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CDispDuplicateDlg(CKelvarisDoc& doc, QWidget* parent = nullptr);
    ~CDispDuplicateDlg() override;

    // For tests and the opener: the spans as the pickers show them.
    CDuplicateSpans Spans() const;
    void SetSpans(const CDuplicateSpans& spans);
    QListWidget* SourceList() const { return m_sourceList; }
    QListWidget* DestinationList() const { return m_destinationList; }
    // "Select all" and "Select none" of the source (copy) and destination (remove) lists.
    QPushButton* SelectAllButton(bool destination) const
    {
        return destination ? m_destinationAll : m_sourceAll;
    }
    QPushButton* SelectNoneButton(bool destination) const
    {
        return destination ? m_destinationNone : m_sourceNone;
    }
    QDateEdit* SourceFromEdit() const { return m_sourceFrom; }
    QDateEdit* DestinationToEdit() const { return m_destinationTo; }
    QString SourceSummary() const;
    QString DestinationSummary() const;
    bool IsOkEnabled() const;

public slots:
    void accept() override;

protected:
    void changeEvent(QEvent* event) override;

private:
    void Retranslate();
    void FillSource();
    void FillDestination();
    void UpdateOk();
    void OnSourceItemChanged(QListWidgetItem* item);
    static QStringList CheckedNames(const QListWidget* list);
    static void SetAllChecked(QListWidget* list, Qt::CheckState state);

    CKelvarisDoc& m_doc;
    // The targets when the dialog opened: where the edits of one that a reload dropped meanwhile
    // go.
    std::unique_ptr<CPageTargetArray> m_opened;
    QGroupBox* m_sourceGroup = nullptr;
    QGroupBox* m_destinationGroup = nullptr;
    QLabel* m_sourceFromLabel = nullptr;
    QLabel* m_sourceToLabel = nullptr;
    QLabel* m_destinationFromLabel = nullptr;
    QLabel* m_destinationToLabel = nullptr;
    QDateEdit* m_sourceFrom = nullptr;
    QDateEdit* m_sourceTo = nullptr;
    QDateEdit* m_destinationFrom = nullptr;
    QDateEdit* m_destinationTo = nullptr;
    QLineEdit* m_sourceSummary = nullptr;
    QLineEdit* m_destinationSummary = nullptr;
    QLabel* m_sourceListLabel = nullptr;
    QLabel* m_destinationListLabel = nullptr;
    QListWidget* m_sourceList = nullptr;
    QListWidget* m_destinationList = nullptr;
    QPushButton* m_sourceAll = nullptr;
    QPushButton* m_sourceNone = nullptr;
    QPushButton* m_destinationAll = nullptr;
    QPushButton* m_destinationNone = nullptr;
    CDateEntryGuard* m_dateGuard = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
    qsizetype m_sourceCount = 0;
    qsizetype m_destinationCount = 0;
    bool m_filling = false;
};

// "Remove dispatching": removes one target's ranges on a span of days; two planners preview the
// first and the last week of the span. OK removes the ranges and writes the target's dispatch file.
class CDispRemoveDlg : public QDialog
{
    Q_OBJECT

public:
    // The target by its ID: a reload of the list while the dialog is open may move or drop it.
    CDispRemoveDlg(CKelvarisDoc& doc, const QString& targetId, QWidget* parent = nullptr);
    ~CDispRemoveDlg() override;

    // For tests: the span as the pickers show it, the summary, the buttons.
    CDateTime From() const;
    CDateTime To() const;
    void SetSpan(const CDateTime& from, const CDateTime& to);
    void ApplyPreset(RemovePreset preset);
    QString Summary() const;
    bool IsOkEnabled() const;
    CTimePlanner& FirstPlanner() const { return *m_firstPlanner; }
    CTimePlanner& LastPlanner() const { return *m_lastPlanner; }

public slots:
    void accept() override;

protected:
    void changeEvent(QEvent* event) override;
    // The planners show one or two weeks, as their width allows.
    void resizeEvent(QResizeEvent* event) override;

private:
    void Retranslate();
    void Refresh();

    // The target's position in the list now, -1 when the list no longer holds it.
    qsizetype TargetIndex() const;
    // The target as listed now, else as it was when the dialog opened (null for an unknown ID).
    const CPageTarget* Target() const;

    CKelvarisDoc& m_doc;
    QString m_targetId;
    std::unique_ptr<CPageTarget> m_opened; // the target when the dialog opened
    CPlannerModel* m_firstModel = nullptr;
    CPlannerModel* m_lastModel = nullptr;
    CTimePlanner* m_firstPlanner = nullptr;
    CTimePlanner* m_lastPlanner = nullptr;
    CPlannerWidget* m_firstView = nullptr;
    CPlannerWidget* m_lastView = nullptr;
    QLabel* m_receiverLabel = nullptr;
    QLineEdit* m_receiver = nullptr;
    QGroupBox* m_fromGroup = nullptr;
    QGroupBox* m_toGroup = nullptr;
    QDateEdit* m_from = nullptr;
    QDateEdit* m_to = nullptr;
    QLineEdit* m_summary = nullptr;
    QPushButton* m_all = nullptr;
    QPushButton* m_past = nullptr;
    QPushButton* m_future = nullptr;
    QPushButton* m_today = nullptr;
    CDateEntryGuard* m_dateGuard = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
    bool m_refreshing = false;
};
