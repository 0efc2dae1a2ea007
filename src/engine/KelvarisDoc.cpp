#include "engine/KelvarisDoc.h"

#include <cerrno>
#include <malloc.h>
#include <memory>
#include <unistd.h>
#include <utility>

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QMap>

#include "engine/Dispatch.h"
#include "engine/Password.h"
#include "journal/Journal.h"
#include "schedule/ConfigLocation.h"
#include "schedule/DutyCalendar.h"
#include "schedule/Evaluation.h"
#include "schedule/Moment.h"
#include "schedule/Profile.h"
#include "schedule/SiteClock.h"
#include "server/ServerCommand.h"
#include "support/Trace.h"
#include "support/XmlMessageBag.h"

namespace {
// How long the edit journal keeps its entries by default (Settings/JournalDays).
constexpr int kJournalDays = 400;
// How long the answer journal keeps the answers by default (Settings/AnswerJournalDays).
constexpr int kAnswerJournalDays = 31;

const QString kFirst = QStringLiteral("first");
// How the journal names what became of a duty notice (the notice's identity follows).
const QString kNoticeWhy = QStringLiteral("duty notice ");
const QString kNoticeFailedWhy = QStringLiteral("duty notice failed ");
const QString kNoticeWaitingWhy = QStringLiteral("duty notice waiting ");

// Re-acquires a released lock when it goes out of scope, also when the call in between throws.
class CRelockGuard
{
public:
    explicit CRelockGuard(std::unique_lock<std::mutex>& lock)
        : m_lock(lock)
    {
        m_lock.unlock();
    }
    ~CRelockGuard() { m_lock.lock(); }
    CRelockGuard(const CRelockGuard&) = delete;
    CRelockGuard& operator=(const CRelockGuard&) = delete;

private:
    std::unique_lock<std::mutex>& m_lock;
};

// A command object that releases the targets lock while the alarm server works on its command.
class CUnlockingCommand : public CServerCommand
{
public:
    CUnlockingCommand(std::unique_ptr<CServerCommand> command, std::unique_lock<std::mutex>& lock)
        : m_command(std::move(command))
        , m_lock(lock)
    { }
    bool ExecuteCommand(const QString& command, QString& result) override
    {
        const CRelockGuard released(m_lock);
        return m_command->ExecuteCommand(command, result);
    }

private:
    std::unique_ptr<CServerCommand> m_command;
    std::unique_lock<std::mutex>& m_lock;
};

// The factory handed to the takeover operations, which run under the targets lock: the lock is
// released for every Create() and ExecuteCommand(), so that a dispatch check the alarm server is
// waiting for meanwhile can take it.
class CUnlockingFactory : public CServerCommandFactory
{
public:
    CUnlockingFactory(CServerCommandFactory& server, std::unique_lock<std::mutex>& lock)
        : m_server(server)
        , m_lock(lock)
    { }
    std::unique_ptr<CServerCommand> Create() override
    {
        std::unique_ptr<CServerCommand> command;
        {
            const CRelockGuard released(m_lock);
            command = m_server.Create();
        }
        if (!command)
            return nullptr;
        return std::make_unique<CUnlockingCommand>(std::move(command), m_lock);
    }

private:
    CServerCommandFactory& m_server;
    std::unique_lock<std::mutex>& m_lock;
};

} // namespace

QList<CPlanEntry> PlanOfActionEntries(const CPageTargetArray& targets, const CDateTime& now)
{
    QList<CPlanEntry> entries;
    for (qsizetype i = 0; i < targets.size(); ++i) {
        const CPageTarget& target = targets.at(i);
        const bool covered = !target.m_ranges.isEmpty() && target.m_ranges.Covers(now);
        const bool takeoverGroup = target.IsGroup() && target.m_takeover;
        if (!covered && !(takeoverGroup && target.m_ranges.isEmpty()))
            continue;
        CPlanEntry entry;
        entry.m_index = i;
        entry.m_text = target.m_name;
        entry.m_colour = target.m_colour;
        entry.m_group = target.IsGroup();
        if (takeoverGroup) {
            // The dispatch file is read again: the socket thread or the operator may have handed
            // the duty on since the last look.
            const QString holderId = target.ReadCurrentTargetId();
            if (holderId.isEmpty() && !covered)
                continue;
            if (!holderId.isEmpty()) {
                if (const CPageTarget* holder = targets.FindById(holderId))
                    entry.m_text += u'/' + holder->m_name;
            }
        }
        entries.append(entry);
    }
    return entries;
}

QString PlanOfActionValue(const QList<CPlanEntry>& entries)
{
    QStringList texts;
    texts.reserve(entries.size());
    for (const CPlanEntry& entry : entries)
        texts.append(entry.m_text);
    return texts.join(u';');
}

void CKelvarisDoc::PublishPlanOfAction()
{
    if (!m_publisher)
        return;
    QList<CPlanEntry> entries;
    if (m_active) {
        const std::lock_guard<std::mutex> lock(m_targetsMutex);
        entries = PlanOfActionEntries(m_targets, CDateTime::GetCurrentTime());
    }
    m_publisher->PublishText(
        QStringLiteral("Dispatching"), QStringLiteral("Current"), PlanOfActionValue(entries));
}

CKelvarisDoc::CKelvarisDoc(CServerCommandFactory& server, CRightsCheck& rights, CDocObserver* observer,
    CValuePublisher* publisher, CInboundServer* inbound)
    : m_server(server)
    , m_rights(rights)
    , m_observer(observer)
    , m_publisher(publisher)
    , m_inbound(inbound)
{ }

bool CKelvarisDoc::Initialise()
{
    // Saves interrupted by a crash or a kill leave their temporary files; ten minutes old, they
    // belong to no save still running.
    if (!ConfigLocation().ConfigPath().isEmpty())
        RemoveStaleSaveFiles(ConfigLocation().ConfigFolder());
    ConfigLocation().RecordFileTime();
    // A configuration that exists but cannot be taken leaves the defaults in force: a warning, and
    // the idle checks look again.
    if (JudgeConfigFile() == ETake::Keep)
        ConfigLocation().SetFileTimeMemo(CPageTarget::kNotTaken);
    LoadSettings();
    JournalConfig(QString(), true);
    UpdateAnswerJournal();
    UpdateCalendarFolder();
    m_currentShift = CShift();
    m_currentShift.m_name = kFirst;
    m_currentBarrier = CBarrage();
    m_currentBarrier.m_name = kFirst;
    PublishShiftNone();
    PublishBarrierNone();
    return true;
}

CKelvarisDoc::ETake CKelvarisDoc::JudgeConfigFile()
{
    const QString path = ConfigLocation().ConfigPath();
    if (path.isEmpty())
        return ETake::Take;
    const CProfile::CFileState state = CProfile(path).State();
    const QString kept = m_configTaken
        ? QStringLiteral("the schedule read before stays in force")
        : QStringLiteral("the defaults (no shifts, barriers or holidays) are in force");
    if (!state.exists) {
        if (!m_configTaken)
            return ETake::Take;
        m_fileFaults.Report(path, QStringLiteral("the file is gone"), kept);
        return ETake::Keep;
    }
    if (!state.problem.isEmpty()) {
        m_fileFaults.Report(path, state.problem, kept);
        return ETake::Keep;
    }
    if (state.unfinished) {
        // Being written in place, or saved without a line end at its end: taken once it has been
        // left alone for a minute (at start at once: there is nothing else to go by).
        if (m_configTaken && !FileTimeSettled(state.mtimeNs, CPageTarget::kUnfinishedGraceNs)) {
            KTRACE(lcConfig) << path << "ends without a line end; looking again shortly";
            return ETake::Later;
        }
        qCWarning(lcConfig).noquote()
            << QStringLiteral("%1 ends without a line end (a save cut short?); taken as it stands").arg(path);
    }
    m_fileFaults.Clear(path);
    return ETake::Take;
}

void CKelvarisDoc::LoadSettings()
{
    CProfile profile(ConfigLocation().ConfigPath());
    {
        const CProfile::Batch hold(profile);
        LoadConfigRecords(profile);
    }
    ReleaseConfigText(profile);
    LoadPageTargets();
}

void CKelvarisDoc::ReleaseConfigText(CProfile& profile)
{
    // Everything is in the engine's own lists now; the parsed file would only double what a large
    // configuration costs, and it is read again when something needs it.
    profile.ReleaseParsed();
    ::malloc_trim(0);
}

void CKelvarisDoc::LoadConfigRecords(CProfile& profile)
{
    const CProfile::CFileState state = profile.State();
    m_configTaken = m_configTaken || (state.exists && state.problem.isEmpty());
    {
        const CSection settings(profile, QStringLiteral("Settings"));
        settings.Read(QStringLiteral("AutoActivate"), m_autoActivate, false);
        settings.Read(QStringLiteral("WorkTimeFrom"), m_workTimeFrom, 480);
        settings.Read(QStringLiteral("WorkTimeTo"), m_workTimeTo, 1020);
        settings.Read(QStringLiteral("OnClose"), m_onClose, 0);
        settings.Read(QStringLiteral("PipeUsers"), m_pipeUsers, QString());
        settings.Read(QStringLiteral("CalendarFolder"), m_calendarFolderSetting, QString());
        QString zone;
        settings.Read(QStringLiteral("TimeZone"), zone, QString());
        bool unknown = false;
        m_siteZone = SetSiteClockZoneFrom(zone, &unknown);
        if (!unknown)
            m_zoneWarnedFor.clear();
        else if (std::exchange(m_zoneWarnedFor, zone) != zone)
            qCWarning(lcConfig).noquote() << QStringLiteral(
                "Settings/TimeZone names no zone known here (\"%1\"): the site's clock is the "
                "system's zone, %2")
                                                 .arg(zone, QString::fromUtf8(m_siteZone.id()));
    }
    SetCalendarFolderOverride(m_calendarFolderOverride);
    if (m_inbound)
        m_inbound->SetAllowedUsers(m_pipeUsers);
    m_workDays = LoadWorkDays(profile);
    m_holidays.Load(profile);
    m_barriers.Load(profile);
    m_shifts.Load(profile);
    m_takeover.Load(profile);
}

bool CKelvarisDoc::LoadPageTargets()
{
    using EOutcome = CPageTargetArray::EFetchOutcome;
    // The fetch asks the alarm server many times: it fills a list of its own without the lock,
    // and only the exchange of the lists is guarded.
    CPageTargetArray fetched;
    EOutcome outcome = EOutcome::Unreachable;
    if (const std::unique_ptr<CServerCommand> command = m_server.Create())
        fetched.FetchFromServer(QueryThrough(*command), &outcome);
    NoteServerReached(outcome != EOutcome::Unreachable);
    const bool known = outcome == EOutcome::Fetched || outcome == EOutcome::EmptyList;
    const bool wasKnown = std::exchange(m_targetsKnown, known);
    // A list that did not come whole replaces only a list that was not whole either: an outage
    // during a reload keeps the targets the checks are answered from. Without any list the checks
    // answer as with the empty list: the message goes out.
    const bool keep = !known && (wasKnown || outcome == EOutcome::Unreachable);
    if (!known) {
        m_targetsWarned = true;
        if (const auto more = m_targetsWarning.Allow(); more >= 0) {
            const bool none = keep ? m_targets.isEmpty() : fetched.isEmpty();
            qCWarning(lcEngine).noquote()
                << QStringLiteral("The target list could not be fetched from the alarm server (%1); until it "
                                  "is, %2, and it is asked for again at every "
                                  "presence check%3")
                       .arg(outcome == EOutcome::Unreachable
                               ? QStringLiteral("no answer")
                               : QStringLiteral("some targets' details missing"),
                           none ? QStringLiteral("every dispatch check answers 0 (send)")
                                : QStringLiteral("dispatch checks answer from the targets known so far"),
                           CWarningLimiter::MoreText(more));
        }
    } else if (std::exchange(m_targetsWarned, false)) {
        m_targetsWarning.Reset();
        qCInfo(lcEngine).noquote()
            << QStringLiteral("The target list was fetched: %1 targets").arg(fetched.size());
    }
    if (keep)
        return false;
    {
        const std::lock_guard<std::mutex> lock(m_targetsMutex);
        // A holder the file did not take yet stays the holder in the new list.
        for (const CPageTarget& old : std::as_const(m_targets)) {
            if (!old.HasUnsavedWrites())
                continue;
            if (CPageTarget* same = fetched.FindById(old.m_id))
                same->m_unsavedCurrentTargetId = old.m_unsavedCurrentTargetId;
        }
        // A dispatch file that cannot be taken now keeps the plan read from it before; so does one
        // that is gone (perhaps with its folder), which is a fault until a file is back, not a
        // target without a plan (on duty at all times).
        for (CPageTarget& target : fetched) {
            const CPageTarget* old = m_targets.FindById(target.m_id);
            if (!old || old->m_fileTimeMemo == 0)
                continue;
            if (target.m_fileProblem.isEmpty() && target.m_fileTimeMemo == 0
                && !FileExists(target.DispatchFilePath())) {
                target.m_fileProblem = QStringLiteral("the file is gone");
                target.m_fileTimeMemo = old->m_fileTimeMemo;
            }
            if (target.m_fileProblem.isEmpty())
                continue;
            target.m_ranges = old->m_ranges;
            target.m_takeover = old->m_takeover;
            target.m_coverageRequired = old->m_coverageRequired;
        }
        // A takeover asked for before the fetch is still answered after it.
        for (const CPageTarget& old : std::as_const(m_targets)) {
            if (old.m_pendingTakeover.isEmpty())
                continue;
            if (CPageTarget* same = fetched.FindById(old.m_id); same && same->m_pendingTakeover.isEmpty())
                same->m_pendingTakeover = old.m_pendingTakeover;
        }
        if (wasKnown && known)
            NoteTargetListChange(m_targets, fetched);
        std::swap(m_targets, fetched);
    }
    m_lastTargetFetch = std::chrono::steady_clock::now();
    m_targetsRefetchDue = false;
    NoteDispatchFileFaults();
    // Plans changed while nobody watched (by hand, another program, a master copy) are journaled
    // as changed outside; the first list read also records how the journal found every plan.
    if (known && m_journalEnabled) {
        CJournalKeeper& journal = Journal();
        QStringList list;
        for (const CPageTarget& target : std::as_const(m_targets)) {
            journal.RecordPlanRead(target);
            list << QStringList { target.m_id, target.m_name, QString::number(target.m_number),
                target.m_members }
                        .join(u'\t');
        }
        list.sort();
        journal.Record({ QStringLiteral("targets"), QStringLiteral("alarm server"), list.join(u'\n'),
            QStringLiteral("the target list as fetched"), QStringLiteral("alarm server"), QString(), false });
        JournalHolders();
    }
    // The old list is released here, outside the lock.
    fetched.clear();
    return known;
}

void CKelvarisDoc::Cycle()
{
    m_serverTimedOutThisCycle = false;
    // The alarm server came back, however quickly it was restarted: it may list other targets,
    // which the checks must be answered from at once, and it has not heard the state.
    if (const quint64 arrivals = m_server.ServerArrivals(); arrivals != m_serverArrivals) {
        m_serverArrivals = arrivals;
        if (const auto more = m_serverArrivedWarning.Allow(); more >= 0)
            qCWarning(lcEngine).noquote() << QStringLiteral(
                "The alarm server's bus name has a new owner (it was started or restarted): "
                "its target list is fetched again and it is told the state%1")
                                                 .arg(CWarningLimiter::MoreText(more));
        m_targetsRefetchDue = true;
        if (LoadPageTargets())
            Notify(CDocObserver::HINT_PLAN);
        m_lastPushedMinute = -1;
    }
    const CDateTime now = CDateTime::GetCurrentTime();
    const CScheduleLists lists { m_holidays, m_workDays, m_shifts, m_barriers };
    const CEvaluation evaluation = EvaluateSchedule(lists, now);

    if (evaluation.m_hasShift)
        PublishShift(evaluation);
    else
        PublishShiftNone();
    if (evaluation.m_hasBarrier)
        PublishBarrier(evaluation);
    else
        PublishBarrierNone();

    bool changed = false;
    if (!evaluation.m_shift.IsSameAs(m_currentShift)) {
        m_currentShift = evaluation.m_shift;
        changed = true;
    }
    if (!evaluation.m_barrier.IsSameAs(m_currentBarrier)) {
        m_currentBarrier = evaluation.m_barrier;
        changed = true;
    }

    const int minute = now.GetMinute();
    if (changed || minute != m_lastPushedMinute) {
        m_lastPushedMinute = minute;
        RunTakeoverCheck(now);
        // Each minute and after every reload, not only at the idle checks.
        CheckCoverage(now);
        UpdateNotices(now, evaluation.m_hasBarrier);
        JournalHolders();
        const bool shiftTaken = PushShift(m_currentShift, evaluation.m_hasShift);
        if (PushBarrier(m_currentBarrier, evaluation.m_hasBarrier, now) && shiftTaken)
            m_lastPushMs = CurrentUtcMs();
        m_updateHint |= CDocObserver::HINT_PLAN;
    }

    HandleQueuedResponses();

    if (changed)
        m_updateHint |= CDocObserver::HINT_STATE;
    if (m_updateHint != 0) {
        const unsigned hint = std::exchange(m_updateHint, 0u);
        Notify(hint);
    }
}

void CKelvarisDoc::RunTakeoverCheck(const CDateTime& now)
{
    std::unique_lock<std::mutex> lock(m_targetsMutex);
    CUnlockingFactory server(m_server, lock);
    m_takeover.Check(m_targets, now, server);
}

void CKelvarisDoc::HandleQueuedResponses()
{
    for (;;) {
        QString text;
        {
            const std::lock_guard<std::mutex> lock(m_queueMutex);
            if (m_responses.isEmpty())
                return;
            text = m_responses.takeFirst();
        }
        m_updateHint |= CDocObserver::HINT_PLAN;

        CXmlMessageBag bag;
        if (!bag.Parse(text)) {
            KTRACE(lcEngine) << "takeover response that is no message bag dropped";
            continue;
        }
        CTakeoverResponse response;
        response.clientId = bag.GetText(QStringLiteral("ClientID"));
        response.targetId = bag.GetText(QStringLiteral("TargetID"));
        response.result = bag.GetInt(QStringLiteral("Result"), 0);
        response.timeout = bag.GetInt(QStringLiteral("Timeout"), 0);

        if (response.result != 0)
            m_confirmedGroups.insert(QString(response.clientId).remove(QStringLiteral("Time:")));
        std::unique_lock<std::mutex> lock(m_targetsMutex);
        CUnlockingFactory server(m_server, lock);
        m_takeover.HandleResponse(m_targets, response, server);
    }
}

bool CKelvarisDoc::PushShift(const CShift& shift, bool valid)
{
    const long number = valid ? shift.m_shiftNumber : 0;
    return SendCommand(QStringLiteral("[setshift(%1)]").arg(number));
}

bool CKelvarisDoc::PushBarrier(CBarrage& barrier, bool active, const CDateTime& now)
{
    if (!active)
        return SetServerValue(QStringLiteral("System.BarringActive"), QStringLiteral("0"));
    bool taken = SetServerValue(QStringLiteral("System.BarringActive"),
        barrier.m_barrierType == BARRIER_PAUSE ? QStringLiteral("0") : QStringLiteral("1"));
    taken
        = SetServerValue(QStringLiteral("System.BarringLevel"), QString::number(barrier.m_priority)) && taken;
    QString delay;
    if (barrier.m_barrierType == BARRIER_SEND_AFTER) {
        const CScheduleLists lists { m_holidays, m_workDays, m_shifts, m_barriers };
        CDateTime until;
        if (BarrierDelayUntil(lists, barrier, now, until))
            barrier.m_delayUntil = until;
        delay = BarringDelayText(until);
    }
    return SetServerValue(QStringLiteral("System.BarringDelay"), delay) && taken;
}

bool CKelvarisDoc::SetServerValue(const QString& name, const QString& value)
{
    return SendCommand(QStringLiteral("[setvalue(") + name + QLatin1Char(',') + value + QStringLiteral(")]"));
}

bool CKelvarisDoc::SendCommand(const QString& command)
{
    // A lost command is repeated with the next push, a minute later at the latest. A server that
    // let a call of this cycle run into its time-out is not asked again within the cycle: four
    // calls of five seconds each would hold the engine (and the watchdog's view of it) for twenty.
    if (m_serverTimedOutThisCycle) {
        KTRACE(lcEngine) << "not sent, the alarm server did not answer in this cycle:" << command;
        return false;
    }
    const auto start = std::chrono::steady_clock::now();
    const std::unique_ptr<CServerCommand> object = m_server.Create();
    QString result;
    const bool reached = object && object->ExecuteCommand(command, result);
    if (!reached) {
        KTRACE(lcEngine) << (object ? "command failed:" : "no command object for") << command;
        m_serverTimedOutThisCycle = std::chrono::steady_clock::now() - start >= kSlowFailure;
    }
    NoteServerReached(reached);
    return reached;
}

bool CKelvarisDoc::SendPresence()
{
    return SendCommand(QStringLiteral("[check(Kelvaris)]"));
}

namespace {
// "42 s", "3 min 5 s", "2 h 10 min".
QString SpanText(std::chrono::seconds span)
{
    const long long total = span.count();
    if (total < 60)
        return QStringLiteral("%1 s").arg(total);
    if (total < 3600)
        return QStringLiteral("%1 min %2 s").arg(total / 60).arg(total % 60);
    return QStringLiteral("%1 h %2 min").arg(total / 3600).arg(total % 3600 / 60);
}
} // namespace

void CKelvarisDoc::NoteServerReached(bool reached)
{
    const auto now = std::chrono::steady_clock::now();
    if (reached) {
        m_serverLastGoodCall = now;
        m_lastGoodCallMs = QDateTime::currentMSecsSinceEpoch();
    }
    if (reached == m_serverReached)
        return;
    m_serverReached = reached;
    if (reached)
        m_targetsRefetchDue = true;
    if (!reached) {
        // The outage is counted from the last call that went through: a frozen server may have been
        // silent for a while before a call gave up on it.
        m_serverLostAt = m_serverLastGoodCall.time_since_epoch().count() != 0 ? m_serverLastGoodCall : now;
        m_serverLostAtMs = m_lastGoodCallMs != 0 ? m_lastGoodCallMs : CurrentUtcMs();
        if (const auto more = m_serverLostWarning.Allow(now); more >= 0)
            qCWarning(lcEngine).noquote()
                << QStringLiteral("The alarm server is not reachable: it hears nothing "
                                  "of the shift and barrier until it is back")
                    + CWarningLimiter::MoreText(more);
        return;
    }
    const auto gone = std::chrono::duration_cast<std::chrono::seconds>(now - m_serverLostAt);
    if (const auto more = m_serverBackWarning.Allow(now); more >= 0)
        qCWarning(lcEngine).noquote() << QStringLiteral("The alarm server is reachable again after %1%2")
                                             .arg(SpanText(gone), CWarningLimiter::MoreText(more));
}

bool CKelvarisDoc::Activate()
{
    if (m_active || !m_rights.Check(RIGHT_ACTIVATE))
        return false;
    m_active = true;
    if (m_inbound) {
        m_inbound->Start();
        // The engine runs on without its socket (the window tells the operator), but the alarm
        // server's checks then go unanswered: that is a warning.
        if (const QString problem = m_inbound->Problem(); !problem.isEmpty()) {
            if (const auto more = m_socketWarning.Allow(); more >= 0)
                qCWarning(lcPipe).noquote() << problem + CWarningLimiter::MoreText(more);
        }
    }
    SendPresence();
    if (m_journalEnabled)
        Journal().Record({ QStringLiteral("activation"), QStringLiteral("engine"), QStringLiteral("active"),
            QStringLiteral("Activate"), QString(), m_rights.AskedGroup(), false });
    Notify(CDocObserver::HINT_ACTIVATED);
    return true;
}

bool CKelvarisDoc::Deactivate(bool askRights)
{
    if (!m_active || (askRights && !m_rights.Check(RIGHT_DEACTIVATE)))
        return false;
    m_active = false;
    if (m_inbound)
        m_inbound->Stop();
    m_currentShift = CShift();
    PushShift(m_currentShift, false);
    m_currentBarrier = CBarrage();
    PushBarrier(m_currentBarrier, false, CDateTime::GetCurrentTime());
    PublishShiftNone();
    PublishBarrierNone();
    if (m_journalEnabled)
        Journal().Record({ QStringLiteral("activation"), QStringLiteral("engine"), QStringLiteral("inactive"),
            QStringLiteral("Deactivate"), QString(), askRights ? m_rights.AskedGroup() : QString(), false });
    Notify(CDocObserver::HINT_DEACTIVATED);
    return true;
}

void CKelvarisDoc::Close()
{
    Deactivate(false);
}

bool CKelvarisDoc::IdleCheck(bool withPresence)
{
    // The idle check's own calls: the alarm server gets asked again, whatever the last cycle found.
    m_serverTimedOutThisCycle = false;
    // What did not reach the files before is stored first, so memory and files converge.
    RetryUnsavedWrites();
    bool recheckDue = false;
    bool reloaded = false;
    const qint64 memoBefore = ConfigLocation().FileTimeMemo();
    if (ConfigLocation().CheckConfigChanged(&recheckDue)) {
        ETake take = ETake::Keep;
        CProfile profile(ConfigLocation().ConfigPath());
        {
            // Judged and read under one hold of the file, so what is read is what was judged.
            const CProfile::Batch hold(profile);
            take = JudgeConfigFile();
            if (take == ETake::Take)
                LoadConfigRecords(profile);
        }
        if (take == ETake::Take) {
            ReleaseConfigText(profile);
            JournalConfig(QString(), true);
            LoadPageTargets();
            reloaded = true;
        } else {
            // Not taken: the next check looks again.
            ConfigLocation().SetFileTimeMemo(memoBefore);
            recheckDue = recheckDue || take == ETake::Later;
        }
    }
    // A mode change leaves the configuration's time alone: one that can no longer be read is a
    // fault now (the schedule read before stays), and over once it can be read again.
    if (const QString path = ConfigLocation().ConfigPath();
        !reloaded && !path.isEmpty() && FileExists(path)) {
        if (::access(QFile::encodeName(path).constData(), R_OK) != 0 && errno == EACCES) {
            if (const QString problem = CProfile(path).State().problem; !problem.isEmpty())
                m_fileFaults.Report(path, problem, QStringLiteral("the schedule read before stays in force"));
        } else if (m_fileFaults.HasFault(path) && ConfigLocation().FileTimeMemo() == FileTimeNs(path))
            m_fileFaults.Clear(path);
    }
    if (!reloaded && !recheckDue) {
        QList<qsizetype> changed;
        {
            const std::lock_guard<std::mutex> lock(m_targetsMutex);
            for (qsizetype i = 0; i < m_targets.size(); ++i) {
                if (m_targets[i].ReloadIfChanged(&recheckDue))
                    changed << i;
            }
        }
        reloaded = !changed.isEmpty();
        // Journaled outside the lock: the socket's answers never wait for the journal.
        if (m_journalEnabled) {
            for (const qsizetype i : std::as_const(changed))
                Journal().RecordPlanRead(m_targets[i]);
        }
    }
    NoteDispatchFileFaults();
    if (reloaded) {
        m_lastPushedMinute = -1;
        Cycle();
        Notify(CDocObserver::HINT_PLAN);
    }
    if (m_active && withPresence) {
        // A target list that did not come whole is asked for again while the alarm server answers,
        // and so is a whole one when the server is back from an outage (it may be another server,
        // or the same with other targets) and every kTargetRefetch; the state goes out as soon as
        // a list came.
        const bool reached = SendPresence();
        const bool refetch = !m_targetsKnown || m_targetsRefetchDue
            || std::chrono::steady_clock::now() - m_lastTargetFetch >= m_targetRefetch;
        if (reached && refetch && LoadPageTargets()) {
            m_lastPushedMinute = -1;
            Cycle();
            Notify(CDocObserver::HINT_PLAN);
        }
    }
    UpdateCalendarFolder();
    CheckCoverage(CDateTime::GetCurrentTime());
    if (m_journalEnabled) {
        // A save of this program that no editor journaled (the password, an automation command).
        if (const QFileInfo file(ConfigLocation().ConfigPath());
            file.exists() && file.lastModified().toMSecsSinceEpoch() != m_journaledConfigTime)
            JournalConfig(QStringLiteral("saved by Kelvaris"));
        Journal().Retry();
        // The journal's head once a day where the service's log keeps it, so that a journal cut
        // short can be told by a head kept elsewhere (kelvarisctl history --verify --expect).
        if (const qint64 day = CurrentUtcMs() / 86'400'000; day != m_headToldDay) {
            CJournal journal(CJournal::PathIn(ConfigLocation().ConfigFolder()));
            if (const std::optional<CJournal::CHead> head = journal.ReadHead()) {
                m_headToldDay = day;
                qCInfo(lcEngine).noquote() << QStringLiteral("journal head %1").arg(head->Text());
            }
        }
        const int days
            = CProfile(ConfigLocation().ConfigPath())
                  .ReadInt(QStringLiteral("Settings"), QStringLiteral("JournalDays"), kJournalDays);
        Journal().PruneIfDue(std::clamp(days, 1, 100 * 366));
        UpdateAnswerJournal();
        if (std::exchange(m_journalFailingShown, JournalFailingSinceMs()) != JournalFailingSinceMs())
            Notify(CDocObserver::HINT_JOURNAL);
    }
    return recheckDue;
}

void CKelvarisDoc::EnableJournal(const QString& via)
{
    m_journal.SetVia(via);
    m_journalEnabled = true;
    // A notice store that cannot be read is made again from what the journal says was sent or
    // dropped in the days the store remembers.
    m_notices.SetRecall([this] {
        QHash<QString, qint64> done;
        Journal().Retry(); // what waits to be written first
        CJournal journal(CJournal::PathIn(ConfigLocation().ConfigFolder()));
        if (!journal.Open(false))
            return done;
        CJournal::CFilter filter;
        filter.kind = QStringLiteral("notice");
        filter.sinceMs = CurrentUtcMs() - 4 * 86'400'000LL;
        for (const CJournalEntry& entry : journal.Entries(filter).value_or(QList<CJournalEntry>())) {
            // Only what was done: an identity ("L|...") follows the words at once.
            const QString identity
                = entry.why.startsWith(kNoticeWhy) ? entry.why.mid(kNoticeWhy.size()) : QString();
            if (identity.size() > 1 && identity.at(1) == u'|')
                done.insert(identity, entry.atMs);
        }
        return done;
    });
}

CJournalKeeper& CKelvarisDoc::Journal()
{
    m_journal.SetFolder(m_journalEnabled ? ConfigLocation().ConfigFolder() : QString());
    return m_journal;
}

void CKelvarisDoc::JournalHolders()
{
    if (!m_journalEnabled)
        return;
    // The socket's thread sets holders: read under the lock, journaled outside it.
    QList<std::pair<QString, QString>> holders;
    QHash<QString, std::pair<QString, qint64>> setters;
    {
        const std::lock_guard<std::mutex> lock(m_targetsMutex);
        for (const CPageTarget& group : std::as_const(m_targets)) {
            if (group.IsGroup() && group.m_takeover)
                holders.append({ group.m_id, group.ReadCurrentTargetId() });
        }
        setters.swap(m_holderSetters);
    }
    for (const auto& [group, holder] : std::as_const(holders)) {
        // A holder the alarm server's check made (and nobody changed since) is the asking
        // process's change.
        const auto setter = setters.constFind(group);
        if (setter != setters.cend() && setter->first == holder)
            Journal().Record({ QStringLiteral("holder"), group, holder,
                QStringLiteral("the dispatch decision let its member through"),
                QStringLiteral("alarm server"), QString(), false, setter->second });
        else
            Journal().Record({ QStringLiteral("holder"), group, holder, QStringLiteral("takeover of duty"),
                QStringLiteral("takeover"), QString(), false });
    }
}

void CKelvarisDoc::JournalPlan(const CPageTarget& target, const QString& why)
{
    if (m_journalEnabled)
        Journal().RecordPlan(target, why, m_rights.AskedGroup());
}

void CKelvarisDoc::JournalConfig(const QString& why, bool read)
{
    const QString path = ConfigLocation().ConfigPath();
    if (!m_journalEnabled || path.isEmpty())
        return;
    const QFileInfo file(path);
    m_journaledConfigTime = file.exists() ? file.lastModified().toMSecsSinceEpoch() : 0;
    Journal().RecordConfig(path, why, read, read ? QString() : m_rights.AskedGroup());
}

void CKelvarisDoc::UpdateNotices(const CDateTime& now, bool barrierInForce)
{
    const QString config = ConfigLocation().ConfigPath();
    if (!m_targetsKnown || config.isEmpty())
        return;
    // The zone as the settings were last loaded (a changed configuration file is loaded again).
    const QTimeZone& zone = m_siteZone;
    const qint64 nowMs = FirstMomentOfWallClock(
        CZoneOffsets(zone, WallClockMs(now) - 86'400'000LL, WallClockMs(now) + 86'400'000LL), now);
    // The socket's thread may set a holder meanwhile: the targets are read under the lock, which
    // is let go while a notice goes to the alarm server; what became of the notices is told and
    // journaled after it.
    struct CTold
    {
        QString targetId;
        QString line;
        QString why; // "duty notice <identity>", or "... failed ...", "... waiting ..."
    };
    QList<CTold> told;
    {
        std::unique_lock<std::mutex> lock(m_targetsMutex);
        CUnlockingFactory server(m_server, lock);
        m_notices.Update(m_targets, zone, nowMs, config, server, barrierInForce,
            std::exchange(m_confirmedGroups, {}), [&told](const CNotice& notice, const QString& line) {
                const QString& why = notice.outcome == CNotice::EOutcome::Done
                    ? kNoticeWhy
                    : (notice.outcome == CNotice::EOutcome::Failed ? kNoticeFailedWhy : kNoticeWaitingWhy);
                told.append({ notice.targetId, line, why + notice.identity });
            });
    }
    for (const CTold& notice : std::as_const(told)) {
        if (m_observer)
            m_observer->OnNotice(notice.line);
        if (m_journalEnabled)
            Journal().Record({ QStringLiteral("notice"), notice.targetId, notice.line, notice.why, QString(),
                QString(), false });
    }
}

void CKelvarisDoc::CheckCoverage(const CDateTime& now)
{
    // The gaps in the groups' cover: warned, paged to CoverageNotify, published as
    // "Dispatching"/"Gaps".
    if (m_targetsKnown && m_coverage.Update(m_targets, now, ConfigLocation().ConfigPath(), m_server)) {
        PublishText("Dispatching", "Gaps", m_coverage.Text());
        Notify(CDocObserver::HINT_COVERAGE);
    }
}

void CKelvarisDoc::NoteTargetListChange(const CPageTargetArray& before, const CPageTargetArray& after)
{
    QStringList added;
    QStringList removed;
    for (const CPageTarget& target : after) {
        if (!before.FindById(target.m_id))
            added.append(target.m_id);
    }
    for (const CPageTarget& target : before) {
        if (!after.FindById(target.m_id))
            removed.append(target.m_id);
    }
    if (added.isEmpty() && removed.isEmpty())
        return;
    const auto list = [](const QStringList& ids) {
        return ids.isEmpty() ? QStringLiteral("none") : ids.join(QStringLiteral(", "));
    };
    qCWarning(lcEngine).noquote() << QStringLiteral(
        "The alarm server's target list changed: added %1; removed %2")
                                         .arg(list(added), list(removed));
}

void CKelvarisDoc::NoteDispatchFileFaults()
{
    for (const CPageTarget& target : std::as_const(m_targets)) {
        const QString path = target.DispatchFilePath();
        if (path.isEmpty())
            continue;
        if (!target.m_fileProblem.isEmpty()) {
            m_fileFaults.Report(path, target.m_fileProblem,
                target.m_fileTimeMemo > 0 ? QStringLiteral("the plan read before stays in force")
                                          : QStringLiteral("the target has no plan (on duty at all times)"));
        } else if (m_fileFaults.HasFault(path)) {
            m_fileFaults.Clear(path);
        }
    }
}

void CKelvarisDoc::SetCalendarFolderOverride(const QString& folder)
{
    m_calendarFolderOverride = folder;
    QString chosen = folder.isEmpty() ? m_calendarFolderSetting.trimmed() : folder;
    if (!chosen.isEmpty() && QDir::isRelativePath(chosen) && !ConfigLocation().ConfigPath().isEmpty())
        chosen = JoinPath(ConfigLocation().ConfigFolder(), chosen);
    m_calendarFolder.SetFolder(chosen);
}

void CKelvarisDoc::UpdateCalendarFolder()
{
    if (m_calendarFolder.Folder().isEmpty())
        return;
    // Without the targets lock: only this thread changes the list, the names, the ranges and the
    // time memos the calendars are made of (the socket thread sets a group's holder only). The
    // files are written on the calendar thread, so neither this thread nor the dispatch checks
    // wait for them.
    // The installation's ID is part of every calendar's UIDs: made here, once, and the write is
    // no outside change of the configuration.
    if (const QString path = ConfigLocation().ConfigPath();
        !path.isEmpty() && InstallationId(path, false).isEmpty()) {
        InstallationId(path, true);
        ConfigLocation().RecordFileTime();
    }
    const CMoment now = SiteNow();
    m_calendarFolder.Request(
        m_targets, now.wall.ToQDate(), QDateTime::fromMSecsSinceEpoch(now.utcMs, QTimeZone::utc()));
}

namespace {
template <class List>
bool SaveIfModified(List& list, QString* reason);
} // namespace

void CKelvarisDoc::RetryUnsavedWrites()
{
    {
        const std::lock_guard<std::mutex> lock(m_targetsMutex);
        for (CPageTarget& target : m_targets)
            target.RetryUnsavedWrites();
    }
    // Settings and lists the configuration file did not take; a list is left alone while its
    // editor is open (it saves on closing).
    using EKind = CEditorHost::EKind;
    const bool lists = (m_barriers.IsModified() && !IsEditorOpen(EKind::Barriers))
        || (m_shifts.IsModified() && !IsEditorOpen(EKind::Shifts))
        || (m_holidays.IsModified() && !IsEditorOpen(EKind::Holidays));
    if (m_unsavedSettings == 0 && !lists)
        return;
    // A change made outside meanwhile must still be noticed by the change check that follows.
    const qint64 memo = ConfigLocation().FileTimeMemo();
    const bool changedOutside = FileTimeNs(ConfigLocation().ConfigPath()) != memo;
    if (m_unsavedSettings != 0 && SaveSettings(m_unsavedSettings, false))
        KTRACE(lcEngine) << "settings stored now";
    // A list that fails again was warned about by the file; it is tried at the next check.
    QString reason;
    if (!IsEditorOpen(EKind::Barriers))
        SaveIfModified(m_barriers, &reason);
    if (!IsEditorOpen(EKind::Shifts))
        SaveIfModified(m_shifts, &reason);
    if (!IsEditorOpen(EKind::Holidays))
        SaveIfModified(m_holidays, &reason);
    if (changedOutside)
        ConfigLocation().SetFileTimeMemo(memo);
}

bool CKelvarisDoc::AppendResponse(const QString& text)
{
    {
        const std::lock_guard<std::mutex> lock(m_queueMutex);
        if (m_responses.size() < kMaxQueuedResponses) {
            m_responses.append(text);
            return true;
        }
    }
    KTRACE(lcEngine) << "response queue full; response dropped";
    return false;
}

qsizetype CKelvarisDoc::PendingResponseCount() const
{
    const std::lock_guard<std::mutex> lock(m_queueMutex);
    return m_responses.size();
}

int CKelvarisDoc::CheckDispatching(
    const QString& dispatchingId, const QString& groupId, const QString& timeText, qint64 peerUid)
{
    // A holder the decision stores waits for no other program's lock on the file: kept in memory
    // and stored at a later idle check instead.
    const CProfile::CNoLockWait noWait;
    const std::lock_guard<std::mutex> lock(m_targetsMutex);
    if (!m_journalEnabled)
        return ::CheckDispatching(m_targets, dispatchingId, groupId, timeText);
    CDispatchOutcome outcome;
    outcome.findReceiver = m_answers != nullptr;
    const int result = ::CheckDispatching(m_targets, dispatchingId, groupId, timeText, &outcome);
    if (outcome.holderSetIn)
        m_holderSetters.insert(outcome.holderSetIn->m_id, { dispatchingId, peerUid });
    if (m_answers) {
        // Only queued here: a thread of the journal's own writes it.
        m_answers->Add({ QDateTime::currentMSecsSinceEpoch(), peerUid, dispatchingId, groupId, result,
            outcome.receiver ? outcome.receiver->m_fileTimeMemo / 1'000'000'000 : 0 });
    }
    return result;
}

void CKelvarisDoc::FlushAnswerJournal()
{
    if (m_answers)
        m_answers->Flush();
}

void CKelvarisDoc::UpdateAnswerJournal()
{
    const QString config = ConfigLocation().ConfigPath();
    const CProfile profile(config);
    const bool on = m_journalEnabled && !config.isEmpty()
        && profile.ReadInt(QStringLiteral("Settings"), QStringLiteral("AnswerJournal"), 0) != 0;
    const int days = std::clamp(
        profile.ReadInt(QStringLiteral("Settings"), QStringLiteral("AnswerJournalDays"), kAnswerJournalDays),
        1, 100 * 366);
    const QString path = on ? CJournal::PathIn(ConfigLocation().ConfigFolder()) : QString();
    if (m_answers && m_answers->Path() == path) {
        m_answers->SetKeepDays(days);
        return;
    }
    if (!m_answers && path.isEmpty())
        return;
    std::unique_ptr<CAnswerJournal> other
        = path.isEmpty() ? nullptr : std::make_unique<CAnswerJournal>(path, days);
    {
        const std::lock_guard<std::mutex> lock(m_targetsMutex);
        std::swap(m_answers, other);
    }
    // The journal given up writes what it holds and stops outside the lock.
    other.reset();
}

void CKelvarisDoc::Notify(unsigned hint)
{
    if (m_observer)
        m_observer->OnUpdate(hint);
}

void CKelvarisDoc::PublishText(const char* topic, const char* item, const QString& value)
{
    if (m_publisher)
        m_publisher->PublishText(QString::fromLatin1(topic), QString::fromLatin1(item), value);
}

void CKelvarisDoc::PublishNumber(const char* topic, const char* item, qint64 value)
{
    if (m_publisher)
        m_publisher->PublishNumber(QString::fromLatin1(topic), QString::fromLatin1(item), value);
}

void CKelvarisDoc::PublishShift(const CEvaluation& evaluation)
{
    const CShift& shift = evaluation.m_shift;
    PublishText("Shift", "Name", shift.m_name);
    PublishText("Shift", "From", FormatDateTime(shift.m_startTime, DTF_TIME));
    PublishText("Shift", "To", FormatDateTime(shift.m_endTime, DTF_TIME));
    PublishText("Shift", "Remain", QString::number(evaluation.m_shiftRemain));
    PublishNumber("Shift", "Remain2", evaluation.m_shiftRemain2);
    PublishText("Shift", "Total", QString::number(evaluation.m_shiftTotal));
    PublishNumber("Shift", "Total2", evaluation.m_shiftTotal2);
}

void CKelvarisDoc::PublishShiftNone()
{
    PublishText("Shift", "Name", QString());
    PublishText("Shift", "From", QString());
    PublishText("Shift", "To", QString());
    PublishNumber("Shift", "Remain", 0);
    PublishNumber("Shift", "Remain2", 0);
    PublishNumber("Shift", "Total", 0);
    PublishNumber("Shift", "Total2", 0);
}

void CKelvarisDoc::PublishBarrier(const CEvaluation& evaluation)
{
    const CBarrage& barrier = evaluation.m_barrier;
    PublishText("Barring", "Name", barrier.m_name);
    PublishText("Barring", "From", FormatDateTime(barrier.m_startTime, DTF_TIME));
    PublishText("Barring", "To", FormatDateTime(barrier.m_endTime, DTF_TIME));
    PublishText("Barring", "Remain", QString::number(evaluation.m_barrierRemain));
    PublishText("Barring", "Total", QString::number(evaluation.m_barrierTotal));
}

void CKelvarisDoc::PublishBarrierNone()
{
    PublishText("Barring", "Name", QString());
    PublishText("Barring", "From", QString());
    PublishText("Barring", "To", QString());
    PublishNumber("Barring", "Remain", 0);
    PublishNumber("Barring", "Total", 0);
}

bool CKelvarisDoc::Open(const QString& path)
{
    if (!Initialise())
        return false;
    QStringList sections;
    CProfile(path).GetSectionNames(sections);
    if (sections.size() == 1)
        PlanOfTarget(sections.first());
    return true;
}

// Marks an editor kind open for the scope (BeginEditor() has succeeded).
class CKelvarisDoc::CEditorScope
{
public:
    CEditorScope(CKelvarisDoc& doc, CEditorHost::EKind kind)
        : m_doc(doc)
        , m_kind(kind)
    { }
    ~CEditorScope() { m_doc.EndEditor(m_kind); }
    CEditorScope(const CEditorScope&) = delete;
    CEditorScope& operator=(const CEditorScope&) = delete;

private:
    CKelvarisDoc& m_doc;
    CEditorHost::EKind m_kind;
};

bool CKelvarisDoc::BeginEditor(CEditorHost::EKind kind)
{
    if (!m_editors)
        return false;
    if (IsEditorOpen(kind)) {
        // Shown already, or still asking for its password (then there is nothing to raise yet).
        m_editors->BringToFront(kind);
        return false;
    }
    m_openEditors |= EditorBit(kind);
    return true;
}

void CKelvarisDoc::ToggleAutoActivate()
{
    if (!m_rights.Check(RIGHT_AUTO_ACTIVATE))
        return;
    m_autoActivate = !m_autoActivate;
    SaveSettings(UNSAVED_AUTO_ACTIVATE);
}

bool CKelvarisDoc::SaveSettings(unsigned which, bool operatorStarted)
{
    CProfile profile(ConfigLocation().ConfigPath());
    bool stored = true;
    {
        CProfile::Batch batch(profile);
        CSection section(profile, QStringLiteral("Settings"));
        // A file that refuses writes (a folder in its place, unreadable) fails each write; a file
        // that cannot be replaced fails the commit.
        if (which & UNSAVED_AUTO_ACTIVATE)
            stored = section.Write(QStringLiteral("AutoActivate"), m_autoActivate ? 1 : 0) && stored;
        if (which & UNSAVED_GENERAL) {
            stored = section.Write(QStringLiteral("WorkTimeFrom"), m_workTimeFrom) && stored;
            stored = section.Write(QStringLiteral("WorkTimeTo"), m_workTimeTo) && stored;
            stored = section.Write(QStringLiteral("OnClose"), m_onClose) && stored;
            SaveWorkDays(profile, m_workDays);
        }
        if (which & UNSAVED_TAKEOVER_TEXTS)
            stored = m_takeover.Save(profile) && stored;
        stored = batch.Commit() && stored;
    }
    ConfigLocation().RecordFileTime();
    if (stored) {
        m_unsavedSettings &= ~which;
        JournalConfig(which & UNSAVED_GENERAL    ? QStringLiteral("General settings")
                : which & UNSAVED_TAKEOVER_TEXTS ? QStringLiteral("Takeover texts")
                                                 : QStringLiteral("Automatic activation"));
        return true;
    }
    // Kept in memory and written again at the next idle checks.
    m_unsavedSettings |= which;
    if (operatorStarted)
        ReportSaveFailed(profile.SaveProblem());
    return false;
}

void CKelvarisDoc::ReportSaveFailed(const QString& reason)
{
    if (m_observer)
        m_observer->OnSaveFailed(ConfigLocation().ConfigPath(), reason);
}

void CKelvarisDoc::GeneralSetup()
{
    if (!BeginEditor(CEditorHost::EKind::GeneralSettings))
        return;
    const CEditorScope scope(*this, CEditorHost::EKind::GeneralSettings);
    if (!m_rights.Check(RIGHT_GENERAL_SETUP))
        return;
    CGeneralSettings settings { m_workDays, m_workTimeFrom, m_workTimeTo, m_onClose };
    if (!m_editors->EditGeneralSettings(settings))
        return;
    m_workDays = settings.m_workDays;
    m_workTimeFrom = settings.m_workTimeFrom;
    m_workTimeTo = settings.m_workTimeTo;
    m_onClose = settings.m_onClose;
    SaveSettings(UNSAVED_GENERAL);
}

void CKelvarisDoc::NoticeSetup()
{
    if (!BeginEditor(CEditorHost::EKind::NoticeSettings))
        return;
    const CEditorScope scope(*this, CEditorHost::EKind::NoticeSettings);
    if (!m_rights.Check(RIGHT_GENERAL_SETUP))
        return;
    CProfile profile(ConfigLocation().ConfigPath());
    CNoticeSettings settings = CNoticeSettings::Read(profile);
    if (!m_editors->EditNoticeSettings(settings))
        return;
    const bool stored = settings.Write(profile);
    ConfigLocation().RecordFileTime();
    if (!stored) {
        ReportSaveFailed(profile.SaveProblem());
        return;
    }
    JournalConfig(QStringLiteral("Duty notices"));
}

namespace {
// Saves a list an editor changed and records the program's own file time. False when the file did
// not take it: the list stays modified, so that the idle check saves it again.
template <class List>
bool SaveIfModified(List& list, QString* reason)
{
    if (!list.IsModified())
        return true;
    CProfile profile(ConfigLocation().ConfigPath());
    if (!list.Save(profile)) {
        *reason = profile.SaveProblem();
        return false;
    }
    list.SetModified(false);
    return true;
}
} // namespace

void CKelvarisDoc::EditBarriers()
{
    if (!BeginEditor(CEditorHost::EKind::Barriers))
        return;
    const CEditorScope scope(*this, CEditorHost::EKind::Barriers);
    if (!m_rights.Check(RIGHT_BARRIERS))
        return;
    m_editors->EditBarriers(m_barriers);
    if (QString reason; !SaveIfModified(m_barriers, &reason))
        ReportSaveFailed(reason);
    else
        JournalConfig(QStringLiteral("Barriers/Pauses"));
}

void CKelvarisDoc::EditShifts()
{
    if (!BeginEditor(CEditorHost::EKind::Shifts))
        return;
    const CEditorScope scope(*this, CEditorHost::EKind::Shifts);
    if (!m_rights.Check(RIGHT_PLAN))
        return;
    m_editors->EditShifts(m_shifts);
    if (QString reason; !SaveIfModified(m_shifts, &reason))
        ReportSaveFailed(reason);
    else
        JournalConfig(QStringLiteral("Shifts"));
}

void CKelvarisDoc::EditHolidays()
{
    if (!BeginEditor(CEditorHost::EKind::Holidays))
        return;
    const CEditorScope scope(*this, CEditorHost::EKind::Holidays);
    if (!m_rights.Check(RIGHT_HOLIDAYS))
        return;
    m_editors->EditHolidays(m_holidays);
    if (QString reason; !SaveIfModified(m_holidays, &reason))
        ReportSaveFailed(reason);
    else
        JournalConfig(QStringLiteral("Holidays"));
}

void CKelvarisDoc::PlanOfAction()
{
    if (!BeginEditor(CEditorHost::EKind::Plan))
        return;
    const CEditorScope scope(*this, CEditorHost::EKind::Plan);
    if (!m_rights.Check(RIGHT_PLAN))
        return;
    LoadPageTargets();
    m_editors->EditPlan(QString());
    UpdateCalendarFolder();
    if (!m_editors->AutomationEditorRunning())
        Notify(CDocObserver::HINT_PLAN);
}

void CKelvarisDoc::PlanOfTarget(const QString& targetName)
{
    if (!BeginEditor(CEditorHost::EKind::Plan))
        return;
    const CEditorScope scope(*this, CEditorHost::EKind::Plan);
    if (!m_rights.Check(RIGHT_PLAN))
        return;
    m_editors->EditPlan(targetName);
    UpdateCalendarFolder();
    Notify(CDocObserver::HINT_PLAN);
}

void CKelvarisDoc::OpenEditorWithoutWaiting(CEditorHost::EKind kind, std::function<void()> closed)
{
    using EKind = CEditorHost::EKind;
    if (!BeginEditor(kind)) {
        closed();
        return;
    }
    // Each editor's own close saves its own list, then gives its kind free and tells the caller.
    const auto whenClosed = [this, kind, &closed](auto save) {
        return [this, kind, closed, save] {
            save();
            EndEditor(kind);
            closed();
        };
    };
    switch (kind) {
    case EKind::Barriers:
        if (!m_rights.Check(RIGHT_BARRIERS))
            break;
        m_editors->OpenBarriers(m_barriers, whenClosed([this] {
            if (QString reason; !SaveIfModified(m_barriers, &reason))
                ReportSaveFailed(reason);
        }));
        return;
    case EKind::Shifts:
        if (!m_rights.Check(RIGHT_PLAN))
            break;
        m_editors->OpenShifts(m_shifts, whenClosed([this] {
            if (QString reason; !SaveIfModified(m_shifts, &reason))
                ReportSaveFailed(reason);
        }));
        return;
    case EKind::Holidays:
        if (!m_rights.Check(RIGHT_HOLIDAYS))
            break;
        m_editors->OpenHolidays(m_holidays, whenClosed([this] {
            if (QString reason; !SaveIfModified(m_holidays, &reason))
                ReportSaveFailed(reason);
        }));
        return;
    case EKind::Plan:
        if (!m_rights.Check(RIGHT_PLAN))
            break;
        LoadPageTargets();
        // The caller's count still includes this editor here: while automation editors run, the
        // plan is not refreshed on closing.
        m_editors->OpenPlan(QString(), whenClosed([this] {
            UpdateCalendarFolder();
            if (!m_editors || !m_editors->AutomationEditorRunning())
                Notify(CDocObserver::HINT_PLAN);
        }));
        return;
    case EKind::GeneralSettings:
    case EKind::TakeoverTexts:
    case EKind::NoticeSettings:
        // Only the menu opens these.
        break;
    }
    EndEditor(kind);
    closed();
}

void CKelvarisDoc::TakeoverMessages()
{
    if (!BeginEditor(CEditorHost::EKind::TakeoverTexts))
        return;
    const CEditorScope scope(*this, CEditorHost::EKind::TakeoverTexts);
    QString request = m_takeover.m_requestText;
    QString confirm = m_takeover.m_confirmText;
    QString timeout = m_takeover.m_timeoutText;
    if (!m_editors->EditTakeoverTexts(request, confirm, timeout))
        return;
    m_takeover.m_requestText = request;
    m_takeover.m_confirmText = confirm;
    m_takeover.m_timeoutText = timeout;
    SaveSettings(UNSAVED_TAKEOVER_TEXTS);
}
