#pragma once

#include <functional>

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include "schedule/DutyTimeline.h"
#include "support/Warning.h"

class CPageTarget;
class CPageTargetArray;
class CProfile;
class CServerCommandFactory;

// How the duty notices are set (section Settings of the configuration file; a group's own
// setting NoticeMembers in its dispatch file).
struct CNoticeSettings
{
    int leadMinutes = 60; // NoticeLeadMinutes: a reminder this long before a duty begins; 0 off
    int changeHours = 48; // NoticeChangeHours: changes of the duty within this many hours; 0 off
    int lateMinutes = 15; // NoticeLateMinutes: a notice this late at a start is still sent
    QStringList summaryTargets; // NoticeSummaryTargets: IDs that get the daily summary
    int summaryMinute = -1; // NoticeSummaryTime "HH:MM" as minutes of the day; -1 none
    // The texts (placeholders {{PERSON}}, {{GROUP}}, {{DATE}}, {{START}}, {{END}}, {{CHANGES}}).
    QString leadText;
    QString changeText;
    QString holderText;
    QString summaryText;

    static CNoticeSettings Read(const CProfile& config);
    // Writes the settings into the configuration (a text equal to the language's default is left
    // out, so that it follows the language); false when the file did not take them.
    bool Write(CProfile& config) const;
    // The texts in the language in effect, as the settings take them when none is stored.
    static QString DefaultLeadText();
    static QString DefaultChangeText();
    static QString DefaultHolderText();
    static QString DefaultSummaryText();
};

// One message to one person through the alarm server.
struct CNotice
{
    enum EKind { Lead, Change, Holder, Summary };
    EKind kind = Lead;
    QString identity; // once sent, never sent again
    QString targetId;
    QString targetName;
    qint64 dueMs = 0;
    qint64 dutyStartMs = 0; // a reminder's duty: once it began, a held reminder is dropped
    QString text;
    // What the line told to the log says of it: done (sent or dropped), waiting (held by a
    // barrier/pause or to be tried again), or failed after its retries.
    enum class EOutcome { Done, Waiting, Failed };
    EOutcome outcome = EOutcome::Done;
};

// Who is told of a target's duty: the receiver itself, or a group's members when its setting
// NoticeMembers is on (nobody for a group without it).
QList<const CPageTarget*> NoticeRecipients(const CPageTarget& target, const CPageTargetArray& targets);

// The reminders due in (fromMs, toMs]: one for each duty (a span of the duty timeline, so a duty
// across midnight is one) that begins leadMinutes after the moment, for each recipient. Sorted by
// the moment they are due.
QList<CNotice> DueReminders(const CPageTargetArray& targets, const CNoticeSettings& settings,
    const CZoneOffsets& offsets, qint64 fromMs, qint64 toMs);

// The daily summaries due in (fromMs, toMs], to each of NoticeSummaryTargets.
QList<CNotice> DueSummaries(const CPageTargetArray& targets, const CNoticeSettings& settings,
    const CZoneOffsets& offsets, qint64 fromMs, qint64 toMs);

// "Tue 08.12.2026 22:00-06:00" for a span of duty in the zone the offsets were read for.
QString DutySpanText(const CZoneOffsets& offsets, const CDutySpan& span);

// The daily summary of the day beginning at `dayStartMs`: who is on duty that day in each group
// (the holder of a takeover group), and the day's gaps in the cover.
QString SummaryText(const CPageTargetArray& targets, const CNoticeSettings& settings,
    const CZoneOffsets& offsets, qint64 dayStartMs, qint64 dayEndMs);

// The engine's duty notices: reminders before a duty begins, the changes of a person's duty
// within the next hours, a new holder of a takeover group, the daily summary. Each is sent once
// ("send2", as the takeover messages, with [NODISPATCH:1][NOSIGN:1] so that the alarm server
// delivers it whatever the person's duty), remembered in the data folder
// (kelvaris-notices.cfg); one due while a barrier/pause is in force waits for its end (dropped
// when the duty began meanwhile); a failed send is tried again three times over five minutes,
// then warned. Each notice sent, held, dropped or failed is told to `log` (the logbook).
class CDutyNotices
{
public:
    // What became of a notice, as a logbook line.
    using CLog = std::function<void(const CNotice&, const QString&)>;

    // A look at `nowMs` (UTC): what became due since the last look, held notices whose barrier
    // ended, retries, changes made since the last look (summed up once a minute passed without
    // another). `holders` the takeover groups' holders now (group ID -> target ID);
    // `confirmed` the groups whose new holder a confirmation made (that sends its own text).
    void Update(const CPageTargetArray& targets, const QTimeZone& zone, qint64 nowMs,
        const QString& configPath, CServerCommandFactory& server, bool barrierInForce,
        const QSet<QString>& confirmed, const CLog& log);

    // What the notices sent or dropped before were (identity -> when), for a store that cannot be
    // read: it is moved aside and made again from them (the engine reads them from its journal).
    using CRecall = std::function<QHash<QString, qint64>()>;
    void SetRecall(CRecall recall) { m_recall = std::move(recall); }

    // The notices held by a barrier/pause and those waiting for a retry (for the tests and the window).
    int Held() const { return int(m_held.size()); }
    int Retrying() const { return int(m_outbox.size()); }

    static constexpr qint64 kSumUpMs = 60'000;
    static constexpr int kRetries = 3;

private:
    struct COutgoing
    {
        CNotice notice;
        int failures = 0;
        qint64 nextTryMs = 0;
    };
    bool Send(const CNotice& notice, CServerCommandFactory& server) const;
    enum class ESent { Now, Already, Failed };
    // A notice whose recipient the alarm server does not list: remembered as done, and said.
    void DropUnlisted(const CNotice& notice, CProfile& sent, const CLog& log) const;
    ESent SendOnce(const CNotice& notice, const QString& store, CServerCommandFactory& server) const;
    void Deliver(const CNotice& notice, qint64 nowMs, const QString& store, CServerCommandFactory& server,
        const CLog& log);
    void LookForChanges(const CPageTargetArray& targets, const CNoticeSettings& settings,
        const CZoneOffsets& offsets, qint64 nowMs, QList<CNotice>& due);

    bool m_started = false;
    qint64 m_lastLookMs = 0;
    QList<CNotice> m_held;
    QList<COutgoing> m_outbox;
    // The duty of each recipient over the change window as last seen, and the window's end.
    QHash<QString, QList<CDutySpan>> m_seen;
    qint64 m_seenUntilMs = 0;
    // Changes seen but not yet told: per recipient, the spans removed and added, and when the last came.
    struct CPendingChange
    {
        QString name;
        QList<CDutySpan> removed;
        QList<CDutySpan> added;
        qint64 lastMs = 0;
    };
    QHash<QString, CPendingChange> m_changes;
    QHash<QString, QString> m_holders;
    CRecall m_recall;
    // The duty seen and the changes pending as last stored: a restart compares the plans it reads
    // with them, so a change made while it was stopped, or not yet told when it stopped, is told.
    QString m_storedState;
    void LoadState(const CProfile& store);
    void StoreState(CProfile& store);
    // A store that cannot be read is moved aside and made again from the recall.
    void RepairStore(const QString& store, const QString& problem);
    CWarningLimiter m_storeWarning { std::chrono::minutes(10) };
};
