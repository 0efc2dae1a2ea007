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

#include "planning/BulkRules.h"
#include "widgets/DateEntryGuard.h"

// The format of the bulk dialogs' date fields: the locale's short date with a four-digit year
// ("dd.MM.yyyy", "M/d/yyyy"), so that a whole typed date is taken as it stands.
QString BulkDateFormat(const QLocale& locale);

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
