#pragma once

#include <memory>

#include <QDate>
#include <QDialog>
#include <QIcon>
#include <QImage>
#include <QString>

#include "schedule/DateTime.h"

class CKelvarisDoc;
class CPageTarget;
class CPageTargetArray;
class CPlannerModel;
class CPlannerWidget;
class CTimePlanner;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QSpinBox;
class QTabBar;

// "Plan of action": plans, week by week and in quarter hours, when each receiver and alarm group
// is on duty. The left side lists the receivers or the groups (tabs), the right side shows the
// plan of the selected target on the planner grid; marked cells are the target's duty, a group's
// plan also shows its members' duty in their colours. The plan is written back to the target's
// ranges and dispatch file before the dialog leaves what it shows: before another week, another
// target, the other tab, a bulk operation, print/export and closing.
//
// The grid shows two weeks when it is wider than 120 pixels per column of one week; "<" and ">"
// then move by two weeks. A target without duty in the shown weeks offers buttons to the nearest
// week before and after with duty. Double-clicking a member's cell in a group's plan jumps to
// that member. The window's rectangle is kept in the section "Window" of the configuration file.
//
// The caller checks the rights and refreshes the targets first; the dialog ends with Accepted.
class CDispatchingDlg : public QDialog
{
    Q_OBJECT

public:
    enum ETab { TabReceivers = 0, TabGroups = 1 };

    CDispatchingDlg(CKelvarisDoc& doc, const QString& preselectedTarget, QWidget* parent = nullptr);
    ~CDispatchingDlg() override;

    // The list entry of a target: its name, for a group followed by " (" + members + ")", every
    // ";" shown as ", ".
    static QString EntryText(const CPageTarget& target);
    // The Monday at 00:00 on or before the date.
    static CDateTime MondayOnOrBefore(const CDateTime& date);

    // The index of the current target in the document's page targets, -1 when none (or when the
    // list no longer holds it).
    qsizetype CurrentTarget() const;
    // The ID of the current target (the dialog holds it by ID: a reload may reorder the list).
    QString CurrentTargetId() const { return m_currentId; }
    bool IsModified() const { return m_modified; }
    CDateTime WeekStart() const { return m_weekStart; }
    CDateTime PreviousSchedule() const { return m_previousDate; }
    CDateTime NextSchedule() const { return m_nextDate; }
    // The list entry that was selected when the operator jumped from a group's cell to a member.
    QString JumpOrigin() const { return m_jumpOrigin; }

    CTimePlanner& Planner() const { return *m_planner; }
    CPlannerModel& Model() const { return *m_model; }
    CPlannerWidget* PlannerWidget() const { return m_plannerWidget; }
    QListWidget* TargetList() const { return m_list; }
    QTabBar* Tabs() const { return m_tabs; }
    QLineEdit* CaptionEdit() const { return m_caption; }
    QCheckBox* TakeoverCheck() const { return m_takeover; }
    QPushButton* TodayButton() const { return m_today; }
    QPushButton* BackButton() const { return m_back; }
    QPushButton* ForwardButton() const { return m_forward; }
    QPushButton* PreviousScheduleButton() const { return m_previous; }
    QPushButton* NextScheduleButton() const { return m_next; }
    QPushButton* CloseButton() const { return m_close; }
    QPushButton* CopyButton() const { return m_copy; }
    QPushButton* RemoveButton() const { return m_remove; }
    QPushButton* DuplicateButton() const { return m_duplicate; }
    QPushButton* PrintButton() const { return m_print; }
    QPushButton* ExportButton() const { return m_export; }

    // Writes the grid's marks (and a group's takeover flag) into the current target and its
    // dispatch file when they were changed; nothing otherwise. A target the list no longer holds
    // (the alarm server stopped listing it while it was shown) gets them in its own dispatch file
    // all the same, and the operator is told.
    void SavePlan();

    // Closing always saves and ends with Accepted (Close, Escape and the window's close alike).
    void done(int result) override;

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Retranslate();
    // "<" and ">" move by the weeks shown.
    void UpdateNavigationTips();
    // Lists the gaps in cover of a group shown (hidden for a receiver).
    void ShowGaps();
    // The gaps of the shown group, one text each ("Mon 7.12. 20:00 - 24:00").
    QStringList GapTexts() const;
    // Every gap in a list of its own.
    void ShowAllGaps();
    // The takeover switch and the members wanted for cover, shown on the groups' tab.
    void ShowGroupControls(bool group);
    // The group settings of the dialog into the target about to be saved.
    void TakeGroupSettings(CPageTarget& group) const;
    void RestorePlacement();
    void StorePlacement();

    // Sets the grid up for the week start (the weeks shown follow the grid's width), shows the
    // caption and loads the current target's plan.
    void SetUpPlanner();
    // Puts the planner's current cell where keyboard planning starts (see the definition).
    void PlaceCurrentCell();
    // The size the planner is set up for (its own, or narrower where two weeks would not fit).
    QSize PlannerSetUpSize() const;
    // Loads the current target's plan (saving an edited one first) and shows or hides the
    // buttons to the nearest schedules.
    void LoadPlan();
    // Fills the list for the tab and selects the preselected entry (or the first one without a
    // preselection); the selected entry's target becomes current. No signals are handled meanwhile.
    void FillList();
    void RefreshListImages();
    void EnableButtons();
    // Makes the target at that index current (none for an index outside the list).
    void SetCurrent(qsizetype index);
    void ShowWeek(const CDateTime& weekStart);

    void OnItemChanged(QListWidgetItem* item);
    void OnTabChanged(int tab);
    void OnCellActivated(int column, int row);
    void OnMarkingChanged();
    void OnToday();
    void OnBack();
    void OnForward();
    void OnPreviousSchedule();
    void OnNextSchedule();
    void OnRemove();
    void OnDuplicate();
    void OnPrint();
    void OnExport();
    void PrintOrExport(bool exporting);
    // Asks for a file and writes the duty of the target at `current` (or, when negative, of all
    // entries of the list shown) between the dates into it as an iCalendar file.
    void ExportCalendar(qsizetype current, QDate from, QDate to);

    CKelvarisDoc& m_doc;
    CPlannerModel* m_model = nullptr; // owned through the QObject tree
    CTimePlanner* m_planner = nullptr; // owned through the QObject tree

    QString m_preselected;
    QString m_jumpOrigin;
    QString m_currentId; // empty when none
    // The current target as it was when its plan was loaded: where its edits go should the list
    // no longer hold it.
    std::unique_ptr<CPageTarget> m_loaded;
    bool m_modified = false;
    bool m_filling = false;
    bool m_closing = false;
    CDateTime m_weekStart;
    CDateTime m_previousDate;
    CDateTime m_nextDate;

    QTabBar* m_tabs = nullptr;
    QListWidget* m_list = nullptr;
    QCheckBox* m_takeover = nullptr;
    QPushButton* m_today = nullptr;
    QPushButton* m_back = nullptr;
    QPushButton* m_forward = nullptr;
    QLineEdit* m_caption = nullptr;
    QLabel* m_keysHelp = nullptr;
    QLabel* m_gapList = nullptr;
    QPushButton* m_allGaps = nullptr;
    QWidget* m_coverageRow = nullptr;
    QLabel* m_coverageLabel = nullptr;
    QSpinBox* m_coverage = nullptr;
    QPushButton* m_previous = nullptr;
    QPushButton* m_next = nullptr;
    CPlannerWidget* m_plannerWidget = nullptr;
    QPushButton* m_close = nullptr;
    QPushButton* m_copy = nullptr;
    QPushButton* m_remove = nullptr;
    QPushButton* m_duplicate = nullptr;
    QPushButton* m_print = nullptr;
    QPushButton* m_export = nullptr;
};
