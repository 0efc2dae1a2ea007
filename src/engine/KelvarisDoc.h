#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTimeZone>
#include <QtGlobal>

#include "engine/CalendarWriter.h"
#include "engine/CoverageWatch.h"
#include "engine/DutyNotices.h"
#include "engine/FileFaults.h"
#include "engine/JournalKeeper.h"
#include "engine/Takeover.h"
#include "journal/AnswerJournal.h"
#include "schedule/Barrage.h"
#include "schedule/DateTime.h"
#include "schedule/Holiday.h"
#include "schedule/PageTarget.h"
#include "schedule/Shift.h"
#include "support/Warning.h"

class CProfile;
class CRightsCheck;
class CServerCommandFactory;
struct CEvaluation;

// What the engine tells its host after a cycle or a command: the bits of the update hint.
class CDocObserver
{
public:
    static constexpr unsigned HINT_STATE = 1; // the current shift or barrier changed
    static constexpr unsigned HINT_ACTIVATED = 2;
    static constexpr unsigned HINT_DEACTIVATED = 4;
    static constexpr unsigned HINT_PLAN = 8; // the plan of action is to be refreshed
    static constexpr unsigned HINT_COVERAGE = 16; // the gaps in the groups' cover changed
    static constexpr unsigned HINT_JOURNAL = 32; // the edit journal could (not) be written

    virtual ~CDocObserver() = default;
    virtual void OnUpdate(unsigned hint) = 0;
    // A save the operator started (an editor's list, the general settings, the takeover texts,
    // the automatic activation) did not reach the file; the engine keeps it and tries again at the
    // idle checks. The window tells the operator.
    virtual void OnSaveFailed(const QString& /*path*/, const QString& /*reason*/) { }
    // What became of a duty notice (sent, held, dropped, failed): a line of the logbook.
    virtual void OnNotice(const QString& /*text*/) { }
};

// Where the engine publishes its values (topics "Shift" and "Barring" with their items).
class CValuePublisher
{
public:
    virtual ~CValuePublisher() = default;
    virtual void PublishText(const QString& topic, const QString& item, const QString& value) = 0;
    virtual void PublishNumber(const QString& topic, const QString& item, qint64 value) = 0;
};

// One entry of the plan of action: a target on duty now.
struct CPlanEntry
{
    qsizetype m_index = -1; // in the engine's page target list
    QString m_text; // the name; for a takeover group "/" and its current holder's name follow
    quint32 m_colour = 0; // 0x00BBGGRR
    bool m_group = false;
};

// The targets on duty at a moment, in page target order: a target with a dispatch range covering the
// moment; otherwise a takeover group whose ranges cover the moment (or that has none) and whose
// current target is set. The caller holds the targets lock.
QList<CPlanEntry> PlanOfActionEntries(const CPageTargetArray& targets, const CDateTime& now);
// The published value "Dispatching"/"Current": the texts joined with ";".
QString PlanOfActionValue(const QList<CPlanEntry>& entries);

// The socket server on which the alarm server asks the engine; it runs while the engine is active.
class CInboundServer
{
public:
    virtual ~CInboundServer() = default;
    virtual void Start() = 0;
    virtual void Stop() = 0;
    // Why the last Start() could not serve the socket; empty while it serves.
    virtual QString Problem() const { return QString(); }
    // The setting PipeUsers (who may ask; empty: everyone), whenever the settings are loaded.
    virtual void SetAllowedUsers(const QString& /*setting*/) { }
};

// The general settings the "General Setup..." dialog edits.
struct CGeneralSettings
{
    int m_workDays = 0; // bit 0 Monday ... bit 6 Sunday
    int m_workTimeFrom = 480; // minutes after midnight
    int m_workTimeTo = 1020;
    int m_onClose = 0; // 0 quit, 1 hide the window, 2 minimise it
};

// The editors the setup commands open (dialogs in the window; nothing in the headless program).
// Each edits what it is given in place; a list editor sets the list's modified flag when it changed
// something. The Edit... operations run the editor modally and return when it has closed; the
// Open... operations (the editors of automation setup commands) show it and return at once, so
// that several can be open side by side without one waiting inside another.
class CEditorHost
{
public:
    // The kinds of editor. At most one of each kind is open at a time.
    enum class EKind : unsigned {
        GeneralSettings,
        Barriers,
        Shifts,
        Holidays,
        Plan,
        TakeoverTexts,
        NoticeSettings
    };

    virtual ~CEditorHost() = default;
    // True on OK.
    virtual bool EditGeneralSettings(CGeneralSettings& settings) = 0;
    virtual void EditBarriers(CBarrageArray& barriers) = 0;
    virtual void EditShifts(CShiftArray& shifts) = 0;
    virtual void EditHolidays(CHolidaysArray& holidays) = 0;
    // The dispatch planning dialog, with a target preselected by name (or none).
    virtual void EditPlan(const QString& preselectedTarget) = 0;
    // True on OK.
    virtual bool EditTakeoverTexts(QString& request, QString& confirm, QString& timeout) = 0;
    // True on OK (a host without windows edits nothing).
    virtual bool EditNoticeSettings(CNoticeSettings& /*settings*/) { return false; }
    // An editor opened by an automation setup command is running.
    virtual bool AutomationEditorRunning() const { return false; }

    // The editor of this kind is shown: brings it to the front and returns true.
    virtual bool BringToFront(EKind) { return false; }
    // Without waiting: `closed` runs once, on this thread, when the editor has closed. The defaults
    // run the modal editor and then `closed` (a host without windows opens nothing anyway).
    virtual void OpenBarriers(CBarrageArray& barriers, std::function<void()> closed)
    {
        EditBarriers(barriers);
        closed();
    }
    virtual void OpenShifts(CShiftArray& shifts, std::function<void()> closed)
    {
        EditShifts(shifts);
        closed();
    }
    virtual void OpenHolidays(CHolidaysArray& holidays, std::function<void()> closed)
    {
        EditHolidays(holidays);
        closed();
    }
    virtual void OpenPlan(const QString& preselectedTarget, std::function<void()> closed)
    {
        EditPlan(preselectedTarget);
        closed();
    }
};

// The schedule engine: owns the settings, the schedule lists and the page targets, the current
// shift and barrier, the takeover texts and the response queue. Its host (the window, the headless
// program, the tests) calls Cycle() once a second while the engine is active and IdleCheck() every
// 30 seconds. The engine tells the alarm server the current shift and barrier at every change and
// otherwise once a minute; it reaches the world only through the interfaces passed in. One
// instance per program. The clock is CDateTime::GetCurrentTime().
//
// Threads and locks. Everything runs on the user-interface thread except AppendResponse() and
// CheckDispatching(), which the socket server's thread calls.
// - The targets lock (m_targetsMutex) guards the page target list and every target's per-target
//   settings (ranges, current target, pending takeover). Only the user-interface thread changes the
//   list's structure (LoadSettings swaps in a list fetched without the lock); the socket thread only
//   reads it and may set a group's current target. The lock is never held while the alarm server
//   is asked: the alarm server may itself be waiting in a dispatch check on our socket for that
//   lock. The takeover check and the response handling therefore run under the lock with a
//   command factory that releases it around every Create() and ExecuteCommand(); pointers into the
//   list stay valid meanwhile because the list's structure changes only on this thread.
// - The queue lock (m_queueMutex) guards the response queue only; it is never held together with
//   the targets lock.
class CKelvarisDoc
{
public:
    // None of the pointers is owned. The server and the rights check must outlive the document;
    // observer, publisher and inbound server may be null (then nothing is called).
    CKelvarisDoc(CServerCommandFactory& server, CRightsCheck& rights, CDocObserver* observer = nullptr,
        CValuePublisher* publisher = nullptr, CInboundServer* inbound = nullptr);
    CKelvarisDoc(const CKelvarisDoc&) = delete;
    CKelvarisDoc& operator=(const CKelvarisDoc&) = delete;

    void SetObserver(CDocObserver* observer) { m_observer = observer; }
    void SetPublisher(CValuePublisher* publisher) { m_publisher = publisher; }
    void SetInboundServer(CInboundServer* inbound)
    {
        m_inbound = inbound;
        if (m_inbound)
            m_inbound->SetAllowedUsers(m_pipeUsers);
    }
    void SetEditorHost(CEditorHost* editors) { m_editors = editors; }

    // Records the configuration file's time as the program's own, loads the settings, marks the
    // current shift and barrier as not evaluated ("first") and publishes the start values.
    bool Initialise();
    // Settings, work days, holidays, barriers, shifts, takeover texts from the configuration file;
    // the page targets from the alarm server (a failed fetch leaves the list empty).
    void LoadSettings();

    // One engine cycle: evaluates the present moment, publishes the shift and barrier values,
    // pushes the state to the alarm server on a change or a new minute (after the takeover check),
    // hands the queued takeover responses on, and tells the observer what changed.
    void Cycle();

    // "[setshift(n)]" with the shift's (effective) number, or 0 when not valid. False when the
    // alarm server did not take it.
    bool PushShift(const CShift& shift, bool valid);
    // System.BarringActive, and for an active barrier System.BarringLevel and System.BarringDelay.
    // For a barrier that holds messages the delay-until moment is worked out at `now` and, when the
    // walk yields one, stored in the record. False when the alarm server did not take all of it.
    bool PushBarrier(CBarrage& barrier, bool active, const CDateTime& now);
    // "[setvalue(name,value)]"; false when the alarm server did not take it.
    bool SetServerValue(const QString& name, const QString& value);
    // "[check(Kelvaris)]"; nothing when no command object can be created. False when the alarm
    // server was not reached.
    bool SendPresence();

    // Not active and right 1 allowed: starts the inbound server, sends the presence command and
    // tells the observer. Returns whether the engine was activated.
    bool Activate();
    // Active and (without asking, or right 2 allowed): stops the inbound server, tells the alarm
    // server that no shift and no barrier applies, publishes the "none" values and tells the
    // observer. Returns whether the engine was deactivated.
    bool Deactivate(bool askRights = true);
    // Program end: deactivates without asking. Leaving the program is protected already, and a
    // refused prompt here would leave the alarm server with the last shift and an active barrier.
    void Close();

    // The periodic check: writes that failed before are tried again; a configuration file
    // changed outside the program reloads everything, otherwise each target reloads its changed
    // dispatch file; after either the state is pushed (also while inactive) and the plan
    // refreshed. While active (and `withPresence`), the presence command follows. Returns true
    // when a changed file was modified too recently to be read whole: the host then runs the
    // check again, without the presence command, kSettleRecheckMs later.
    bool IdleCheck(bool withPresence = true);
    // Stores what earlier writes could not: a takeover group's holder, settings and lists the
    // configuration file did not take (lists whose editor is open excepted).
    void RetryUnsavedWrites();
    // Settings whose save failed (UNSAVED_ bits); 0 when memory and file agree.
    unsigned UnsavedSettings() const { return m_unsavedSettings; }
    static constexpr unsigned UNSAVED_AUTO_ACTIVATE = 1;
    static constexpr unsigned UNSAVED_GENERAL = 2;
    static constexpr unsigned UNSAVED_TAKEOVER_TEXTS = 4;

    // Responses beyond this many waiting ones are dropped: the alarm server answers a handful of
    // takeover requests a minute, so a longer queue is a flood that must not exhaust memory.
    static constexpr qsizetype kMaxQueuedResponses = 10000;
    // A whole target list is asked for again this often while the alarm server answers.
    static constexpr std::chrono::minutes kTargetRefetch { 10 };
    // Another interval for the refetch (tests).
    void SetTargetRefetchInterval(std::chrono::milliseconds interval) { m_targetRefetch = interval; }

    // Opening a file: initialises the document; a file with exactly one section names a target
    // whose plan the planning dialog then shows (right 9). False only when initialising failed.
    bool Open(const QString& path);

    // The setup commands; each starts with its rights check and does nothing when refused. The
    // list editors edit the engine's lists in place; a modified list is saved when the editor
    // closes and the program's own file time recorded, so the next change check does not reload.
    void ToggleAutoActivate(); // right 3
    void GeneralSetup(); // right 7
    void EditBarriers(); // right 10
    void EditShifts(); // right 9
    void EditHolidays(); // right 8
    void PlanOfAction(); // right 9: fetches the page targets again first
    void TakeoverMessages(); // no right
    void NoticeSetup(); // right 7, as the general setup
    // The planning dialog for a target chosen in the window's plan of action (right 9); the plan is
    // refreshed afterwards.
    void PlanOfTarget(const QString& targetName);
    // At most one editor of each kind is open, however it was opened: asking for one that is open
    // (or still asking for its password) brings it to the front instead.
    //
    // An automation setup command's editor (barriers, shifts, holidays or the plan of action): the
    // same rights check, but the editor is opened without waiting, so several of different kinds
    // can be open at once. Its list is saved when this editor closes; the planning dialog does not
    // refresh the plan when it closes while automation editors run. `closed` runs exactly once: when
    // the editor has closed, or at once when none opened (no host, refused, or one of its kind
    // was open already).
    void OpenEditorWithoutWaiting(CEditorHost::EKind kind, std::function<void()> closed);
    bool IsEditorOpen(CEditorHost::EKind kind) const { return (m_openEditors & EditorBit(kind)) != 0; }

    // Any thread: queues a takeover response (a message bag text) for the next cycle. False when
    // the queue is full and the text was dropped.
    bool AppendResponse(const QString& text);
    qsizetype PendingResponseCount() const;

    // Any thread: the dispatch decision for a receiver, a group and a moment, under the targets
    // lock. Returns a result code (kDispatchSend or kDispatchNotDispatched). `peerUid` is the asking
    // process's user (-1: unknown): the answer journal keeps it, and the edit journal names it
    // when the decision made a receiver a group's holder.
    int CheckDispatching(
        const QString& dispatchingId, const QString& groupId, const QString& timeText, qint64 peerUid = -1);
    // Waits until every answer so far is in the answer journal (Settings/AnswerJournal).
    void FlushAnswerJournal();

    bool IsActive() const { return m_active; }
    // Publishes "Dispatching"/"Current": the plan of action at the present moment while active,
    // empty while not. Takes the targets lock. Hosts without a view of the plan call it where the
    // window's view refreshes its plan (activation, deactivation, update hint 8).
    void PublishPlanOfAction();
    // Whether the page targets are the alarm server's whole list (possibly empty because the server
    // has none). While not, dispatch checks answer as with an empty list (send), and every presence
    // check of the idle check fetches the list again; the state is pushed once it came.
    bool TargetListKnown() const { return m_targetsKnown; }
    // The calendar folder: the setting Settings/CalendarFolder (relative to the data folder), unless
    // the host gives a folder of its own (kelvaris --headless --calendar-folder DIR); empty is off.
    void SetCalendarFolderOverride(const QString& folder);
    QString CalendarFolder() const { return m_calendarFolder.Folder(); }
    // Waits until the calendar folder holds what was asked of it so far (it is written on a thread
    // of its own).
    void WaitForCalendarFolder() { m_calendarFolder.Wait(); }
    // Rewrites the calendar files of the targets whose dispatch file changed (saved here or
    // reloaded), or all of them at the first call and on a new day. Runs on the user-interface
    // thread after Initialise(), at every idle check and when the planning dialog closed.
    void UpdateCalendarFolder();

    // "path: reason" of each configuration or dispatch file that could not be taken (the plan read
    // before stays in force meanwhile); empty when every file was taken.
    QStringList FileFaults() const { return m_fileFaults.Faults(); }

    // Whether the last command sent to the alarm server reached it.
    bool ServerReached() const { return m_serverReached; }
    const CShift& CurrentShift() const { return m_currentShift; }
    const CBarrage& CurrentBarrier() const { return m_currentBarrier; }
    int LastPushedMinute() const { return m_lastPushedMinute; }
    // When (UTC milliseconds) the alarm server last took the whole state, and when a command last
    // reached it; 0 before the first.
    qint64 LastPushMs() const { return m_lastPushMs; }
    qint64 LastGoodCallMs() const { return m_lastGoodCallMs; }
    // Since when (UTC milliseconds) the alarm server has not been reached; 0 while it is.
    qint64 ServerLostSinceMs() const { return m_serverReached ? 0 : m_serverLostAtMs; }
    // The zone the site's wall clock keeps (Settings/TimeZone, else the system's).
    const QTimeZone& SiteZone() const { return m_siteZone; }

    // The page targets: hold TargetsMutex() while using them from any thread but the user
    // interface's, and on that thread while changing them.
    std::mutex& TargetsMutex() { return m_targetsMutex; }
    CPageTargetArray& PageTargets() { return m_targets; }
    // The groups' cover over the next 24 hours as of the last idle check (user-interface thread).
    const CCoverageWatch& Coverage() const { return m_coverage; }
    // Keeps the edit journal of the data folder from now on; `via` names this program in it
    // ("window", "windowless"). Without it nothing is journaled (kelvarisctl reads only).
    void EnableJournal(const QString& via);
    // The journal of the configuration's data folder (does nothing unless enabled).
    CJournalKeeper& Journal();
    // Since when (UTC milliseconds) the edit journal could not be written; 0 while it can.
    qint64 JournalFailingSinceMs() const { return m_journalEnabled ? m_journal.FailingSinceMs() : 0; }
    // Records a plan this program saved, and why (the dialog or command).
    void JournalPlan(const CPageTarget& target, const QString& why);
    // Records the schedule's parts of the configuration file (settings, protection without the
    // password, takeover texts, shifts, barriers/pauses, holidays) that differ from the journal:
    // saved by this program (`why` names the editor or command), or as read (changed outside).
    void JournalConfig(const QString& why, bool read = false);
    // Records each takeover group's holder that differs from the journal's last record.
    void JournalHolders();
    // The duty notices due since the last look (once a minute, from the cycle).
    void UpdateNotices(const CDateTime& now, bool barrierInForce);
    // Starts, stops or adjusts the answer journal by Settings/AnswerJournal and AnswerJournalDays.
    void UpdateAnswerJournal();

    // Settings and lists, edited on the user-interface thread.
    bool m_autoActivate = false;
    int m_workTimeFrom = 480; // minutes after midnight
    int m_workTimeTo = 1020;
    int m_workDays = kWorkDaysMonToFri;
    CHolidaysArray m_holidays;
    CBarrageArray m_barriers;
    CShiftArray m_shifts;
    int m_onClose = 0; // 0 quit, 1 hide the window, 2 minimise it
    CTakeoverMode m_takeover;

private:
    void PublishShift(const CEvaluation& evaluation);
    void PublishShiftNone();
    void PublishBarrier(const CEvaluation& evaluation);
    void PublishBarrierNone();
    void PublishText(const char* topic, const char* item, const QString& value);
    void PublishNumber(const char* topic, const char* item, qint64 value);
    bool SendCommand(const QString& command);
    // Every command that reaches the alarm server or not: warns once when it became unreachable
    // and once when it is back, with how long it was gone.
    void NoteServerReached(bool reached);
    void RunTakeoverCheck(const CDateTime& now);
    void HandleQueuedResponses();
    void Notify(unsigned hint);
    // Settings, work days, holidays, barriers, shifts and takeover texts from the configuration file.
    void LoadConfigRecords(CProfile& profile);
    // Gives the memory of the parsed configuration back once its records are loaded.
    static void ReleaseConfigText(CProfile& profile);
    // Fetches the page targets and swaps them in; returns TargetListKnown().
    bool LoadPageTargets();
    // Whether the configuration file can be read in now: Take; Keep the schedule in force (the file
    // is gone, unreadable, not text: warned); or look again Later (it ends without a line end and
    // was changed less than a minute ago).
    enum class ETake { Take, Keep, Later };
    ETake JudgeConfigFile();
    // Warns of the targets the alarm server added or removed between two whole lists.
    static void NoteTargetListChange(const CPageTargetArray& before, const CPageTargetArray& after);
    // Warns of the dispatch files the targets could not take, and of those taken again.
    void NoteDispatchFileFaults();
    // Looks at the groups' cover (the coverage watch) and tells the observer when it changed.
    void CheckCoverage(const CDateTime& now);
    // Writes the settings of the UNSAVED_ bits; on failure keeps them for the retry and, for a
    // save the operator started, tells the observer (the retries at the idle checks only warn).
    bool SaveSettings(unsigned which, bool operatorStarted = true);
    void ReportSaveFailed(const QString& reason);
    static unsigned EditorBit(CEditorHost::EKind kind) { return 1u << unsigned(kind); }
    // False (and the open one brought to the front) when an editor of this kind is open already;
    // otherwise marks it open until EndEditor().
    bool BeginEditor(CEditorHost::EKind kind);
    void EndEditor(CEditorHost::EKind kind) { m_openEditors &= ~EditorBit(kind); }
    class CEditorScope;

    CServerCommandFactory& m_server;
    CRightsCheck& m_rights;
    CDocObserver* m_observer = nullptr;
    CValuePublisher* m_publisher = nullptr;
    CInboundServer* m_inbound = nullptr;
    QString m_pipeUsers; // the setting PipeUsers, as read
    CEditorHost* m_editors = nullptr;

    // Guards m_targets and the targets' per-target settings (see above).
    std::mutex m_targetsMutex;
    CPageTargetArray m_targets;

    unsigned m_updateHint = 0;
    unsigned m_unsavedSettings = 0;
    int m_lastPushedMinute = -1; // -1 forces the next push

    // Guards m_responses only.
    mutable std::mutex m_queueMutex;
    QStringList m_responses;

    CBarrage m_currentBarrier;
    CShift m_currentShift;
    bool m_active = false;
    // The kinds of editor open (or asking for their password): one bit per CEditorHost::EKind.
    unsigned m_openEditors = 0;

    // The page targets are the server's whole list (see TargetListKnown()).
    bool m_targetsKnown = false;
    // The alarm server's reachability as the commands found it; reachable until one failed.
    bool m_serverReached = true;
    std::chrono::steady_clock::time_point m_serverLostAt;
    std::chrono::steady_clock::time_point m_serverLastGoodCall; // zero before the first
    qint64 m_lastGoodCallMs = 0;
    qint64 m_lastPushMs = 0;
    QTimeZone m_siteZone = QTimeZone::systemTimeZone();
    std::chrono::milliseconds m_targetRefetch = kTargetRefetch;
    quint64 m_serverArrivals = 0; // as the server factory last counted them
    CWarningLimiter m_serverArrivedWarning;
    qint64 m_serverLostAtMs = 0;
    qint64 m_headToldDay = -1; // the day (UTC) the journal's head was last told
    QString m_zoneWarnedFor; // the TimeZone setting last warned about as unknown
    // The configuration and dispatch files that could not be taken.
    CFileFaults m_fileFaults;
    QString m_calendarFolderSetting; // as read
    QString m_calendarFolderOverride;
    CCalendarWriter m_calendarFolder;
    // The edit journal, kept by the programs that own the data (EnableJournal).
    CJournalKeeper m_journal { QStringLiteral("window") };
    bool m_journalEnabled = false;
    qint64 m_journaledConfigTime = 0; // the configuration file's time as last journaled (ms)
    qint64 m_journalFailingShown = 0; // as the observer was last told
    // The answer journal while the settings ask for it; the pointer is changed under the targets
    // lock, which the socket's thread holds while it adds an answer.
    std::unique_ptr<CAnswerJournal> m_answers;
    // The holders the dispatch decision set since they were last journaled, with the asking
    // process's user, by group (under the targets lock).
    QHash<QString, std::pair<QString, qint64>> m_holderSetters;
    // The groups' cover over the next 24 hours, looked at in every idle check.
    CCoverageWatch m_coverage;
    // The duty notices, and the groups whose new holder a confirmation made since their last look.
    CDutyNotices m_notices;
    QSet<QString> m_confirmedGroups;
    CWarningLimiter m_serverLostWarning;
    CWarningLimiter m_serverBackWarning;
    CWarningLimiter m_targetsWarning;
    CWarningLimiter m_socketWarning;
    bool m_targetsWarned = false; // a failed fetch was reported and no list came since
    bool m_configTaken = false; // a configuration file was read in
    // A call of the current cycle failed only after kSlowFailure (a frozen or overloaded server).
    bool m_serverTimedOutThisCycle = false;
    static constexpr std::chrono::seconds kSlowFailure { 1 };
    // The target list is asked for again at the next presence check that reaches the alarm server:
    // it was unreachable since the last fetch.
    bool m_targetsRefetchDue = false;
    std::chrono::steady_clock::time_point m_lastTargetFetch;
};
