#include "engine/DutyNotices.h"

#include <algorithm>
#include <memory>

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QLocale>
#include <QTime>
#include <QUrl>

#include "schedule/ConfigLocation.h"
#include "schedule/Coverage.h"
#include "schedule/DateTime.h"
#include "schedule/Moment.h"
#include "schedule/PageTarget.h"
#include "schedule/Profile.h"
#include "server/ServerCommand.h"
#include "support/Trace.h"

namespace {

const QString kSettings = QStringLiteral("Settings");
const QString kSent = QStringLiteral("Sent");
const QString kState = QStringLiteral("State");
const QString kSeen = QStringLiteral("Seen");
const QString kPending = QStringLiteral("Pending");
constexpr qint64 kMinuteMs = 60'000;
constexpr qint64 kDayMs = 86'400'000;
// Remembered notices are forgotten this long after they were due.
constexpr qint64 kRememberMs = 3 * kDayMs;
// A start looks back at most this far for notices that became due while nobody looked.
constexpr qint64 kLookBackMs = kDayMs;
constexpr qint64 kFirstLookBackMs = 3'600'000;
// How far after its start a reminder looks for a duty's end.
constexpr qint64 kReminderSpanMs = 7 * kDayMs;
// The waits between the tries of a failed send: three retries within five minutes.
constexpr qint64 kRetryWaitMs[] = { 60'000, 120'000, 120'000 };

QString Translate(const char* text)
{
    return QCoreApplication::translate("DutyNotices", text);
}

// A name fit for a key of the store (no "=", no "]", no line ends).
QString KeyPart(const QString& text)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(text));
}

QString Fill(QString text, const QHash<QString, QString>& values)
{
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        text.replace(QStringLiteral("{{%1}}").arg(it.key()), *it);
    // The alarm server takes the text as it is: a double quote would end it.
    return text.replace(u'"', u'\'');
}

QString DateText(const CZoneOffsets& offsets, qint64 ms)
{
    const CDateTime wall = WallClockAt(offsets, ms);
    const QDate date(wall.GetYear(), wall.GetMonth(), wall.GetDay());
    return QLocale().toString(date, QStringLiteral("ddd ")) + FormatDateTime(wall, DTF_DATE | DTF_FULLYEAR);
}

// The spans of `spans` within [fromMs, toMs), cut to it.
QList<CDutySpan> Clipped(const QList<CDutySpan>& spans, qint64 fromMs, qint64 toMs)
{
    QList<CDutySpan> clipped;
    for (const CDutySpan& span : spans) {
        const CDutySpan cut { std::max(span.startMs, fromMs), std::min(span.endMs, toMs) };
        if (cut.startMs < cut.endMs)
            clipped.append(cut);
    }
    return clipped;
}

// "start-end,start-end" (UTC milliseconds), and back; text that does not read gives no span.
QString SpansText(const QList<CDutySpan>& spans)
{
    QStringList parts;
    for (const CDutySpan& span : spans)
        parts << QStringLiteral("%1-%2").arg(span.startMs).arg(span.endMs);
    return parts.join(u',');
}

QList<CDutySpan> SpansFrom(QStringView text)
{
    QList<CDutySpan> spans;
    for (const QStringView part : text.split(u',', Qt::SkipEmptyParts)) {
        const qsizetype dash = part.indexOf(u'-', 1);
        bool startOk = false;
        bool endOk = false;
        const CDutySpan span { part.left(dash).toLongLong(&startOk), part.mid(dash + 1).toLongLong(&endOk) };
        if (dash > 0 && startOk && endOk && span.startMs < span.endMs)
            spans.append(span);
    }
    return spans;
}

// The "key=value" lines of a section, the keys decoded.
QList<std::pair<QString, QString>> SectionEntries(const CProfile& profile, const QString& section)
{
    QList<std::pair<QString, QString>> entries;
    for (const QString& line : profile.SectionText(section).split(u'\n', Qt::SkipEmptyParts)) {
        const qsizetype equals = line.indexOf(u'=');
        if (equals <= 0)
            continue;
        entries.append({ QUrl::fromPercentEncoding(line.left(equals).trimmed().toLatin1()),
            line.mid(equals + 1).trimmed() });
    }
    return entries;
}

bool NoticeMembersOn(const CPageTarget& group)
{
    const QString path = group.DispatchFilePath();
    return !path.isEmpty() && CProfile(path).ReadInt(kSettings, QStringLiteral("NoticeMembers"), 0) != 0;
}

// Every recipient's duty of its own plan and of the groups that tell their members, over the span.
QHash<QString, QList<CDutySpan>> DutyByRecipient(const CPageTargetArray& targets, const CZoneOffsets& offsets,
    qint64 fromMs, qint64 toMs, QHash<QString, QString>& names)
{
    QHash<QString, QList<CDutySpan>> duty;
    for (const CPageTarget& target : targets) {
        const QList<const CPageTarget*> recipients = NoticeRecipients(target, targets);
        if (recipients.isEmpty())
            continue;
        const QList<CDutySpan> spans = DutyTimeline(target.m_ranges, offsets, fromMs, toMs);
        for (const CPageTarget* recipient : recipients) {
            names.insert(recipient->m_id, recipient->m_name);
            QList<CDutySpan>& list = duty[recipient->m_id];
            list += spans;
        }
    }
    for (QList<CDutySpan>& list : duty)
        std::sort(list.begin(), list.end(), [](const CDutySpan& a, const CDutySpan& b) {
            return a.startMs != b.startMs ? a.startMs < b.startMs : a.endMs < b.endMs;
        });
    return duty;
}

} // namespace

QString CNoticeSettings::DefaultLeadText()
{
    return Translate(
        QT_TRANSLATE_NOOP("DutyNotices", "Reminder: duty for {{GROUP}} from {{DATE}} {{START}} to {{END}}"));
}

QString CNoticeSettings::DefaultChangeText()
{
    return Translate(QT_TRANSLATE_NOOP("DutyNotices", "Your duty changed: {{CHANGES}}"));
}

QString CNoticeSettings::DefaultHolderText()
{
    return Translate(QT_TRANSLATE_NOOP("DutyNotices", "You now hold {{GROUP}}"));
}

QString CNoticeSettings::DefaultSummaryText()
{
    return Translate(QT_TRANSLATE_NOOP("DutyNotices", "On duty {{DATE}}: {{SUMMARY}}"));
}

CNoticeSettings CNoticeSettings::Read(const CProfile& config)
{
    CNoticeSettings settings;
    settings.leadMinutes
        = std::clamp(config.ReadInt(kSettings, QStringLiteral("NoticeLeadMinutes"), 60), 0, 7 * 24 * 60);
    settings.changeHours
        = std::clamp(config.ReadInt(kSettings, QStringLiteral("NoticeChangeHours"), 48), 0, 31 * 24);
    settings.lateMinutes
        = std::clamp(config.ReadInt(kSettings, QStringLiteral("NoticeLateMinutes"), 15), 0, 24 * 60);
    settings.summaryTargets = config.ReadString(kSettings, QStringLiteral("NoticeSummaryTargets"), QString())
                                  .split(u';', Qt::SkipEmptyParts);
    for (QString& id : settings.summaryTargets)
        id = id.trimmed();
    const QString time
        = config.ReadString(kSettings, QStringLiteral("NoticeSummaryTime"), QString()).trimmed();
    const QTime at = QTime::fromString(time, QStringLiteral("H:mm"));
    settings.summaryMinute = at.isValid() ? at.hour() * 60 + at.minute() : -1;
    settings.leadText = config.ReadString(kSettings, QStringLiteral("NoticeLeadText"), DefaultLeadText());
    settings.changeText
        = config.ReadString(kSettings, QStringLiteral("NoticeChangeText"), DefaultChangeText());
    settings.holderText
        = config.ReadString(kSettings, QStringLiteral("NoticeHolderText"), DefaultHolderText());
    settings.summaryText
        = config.ReadString(kSettings, QStringLiteral("NoticeSummaryText"), DefaultSummaryText());
    return settings;
}

bool CNoticeSettings::Write(CProfile& config) const
{
    CProfile::Batch batch(config, CProfile::EIntent::ReadModifyWrite);
    bool stored = true;
    const auto number = [&](const char* key, int value) {
        stored = config.WriteString(kSettings, QString::fromLatin1(key), QString::number(value)) && stored;
    };
    number("NoticeLeadMinutes", leadMinutes);
    number("NoticeChangeHours", changeHours);
    number("NoticeLateMinutes", lateMinutes);
    stored = config.WriteString(kSettings, QStringLiteral("NoticeSummaryTargets"),
                 summaryTargets.isEmpty() ? QString() : summaryTargets.join(u';'))
        && stored;
    stored = config.WriteString(kSettings, QStringLiteral("NoticeSummaryTime"),
                 summaryMinute < 0 ? QString() : MinuteOfDayText(summaryMinute))
        && stored;
    const std::pair<const char*, std::pair<QString, QString>> texts[] = {
        { "NoticeLeadText", { leadText, DefaultLeadText() } },
        { "NoticeChangeText", { changeText, DefaultChangeText() } },
        { "NoticeHolderText", { holderText, DefaultHolderText() } },
        { "NoticeSummaryText", { summaryText, DefaultSummaryText() } },
    };
    for (const auto& [key, text] : texts) {
        // Empty or the default: the key goes, and the language's text is used.
        const QString value
            = text.first.trimmed().isEmpty() || text.first == text.second ? QString() : text.first;
        stored = config.WriteString(kSettings, QString::fromLatin1(key), value) && stored;
    }
    return batch.Commit() && stored;
}

QList<const CPageTarget*> NoticeRecipients(const CPageTarget& target, const CPageTargetArray& targets)
{
    if (!target.IsGroup())
        return { &target };
    if (!NoticeMembersOn(target))
        return {};
    QList<const CPageTarget*> members;
    for (const QString& name : target.m_members.split(u';', Qt::SkipEmptyParts)) {
        const CPageTarget* member = targets.FindByName(name);
        if (member && !member->IsGroup() && !members.contains(member))
            members.append(member);
    }
    return members;
}

QString DutySpanText(const CZoneOffsets& offsets, const CDutySpan& span)
{
    const auto [start, end] = SpanClockTexts(offsets, span.startMs, span.endMs, DTF_HOUR | DTF_MINUTE);
    return DateText(offsets, span.startMs) + u' ' + start + u'-' + end;
}

QList<CNotice> DueReminders(const CPageTargetArray& targets, const CNoticeSettings& settings,
    const CZoneOffsets& offsets, qint64 fromMs, qint64 toMs)
{
    QList<CNotice> due;
    if (settings.leadMinutes <= 0 || toMs <= fromMs)
        return due;
    const qint64 leadMs = qint64(settings.leadMinutes) * kMinuteMs;
    for (const CPageTarget& target : targets) {
        // A plan without ranges is on duty at every moment: its duty never begins.
        if (target.m_ranges.isEmpty())
            continue;
        const QList<const CPageTarget*> recipients = NoticeRecipients(target, targets);
        if (recipients.isEmpty())
            continue;
        // Duties beginning in (fromMs, toMs] + lead. One running into the span from before starts
        // at the span's start as the timeline cuts it: due at fromMs, so not counted.
        // Looked at a week further, so that a duty's end is its own, not the look's.
        for (const CDutySpan& span :
            DutyTimeline(target.m_ranges, offsets, fromMs + leadMs, toMs + leadMs + kReminderSpanMs)) {
            const qint64 dueMs = span.startMs - leadMs;
            if (dueMs <= fromMs || dueMs > toMs)
                continue;
            for (const CPageTarget* recipient : recipients) {
                CNotice notice;
                notice.kind = CNotice::Lead;
                notice.identity = QStringLiteral("L|%1|%2|%3")
                                      .arg(KeyPart(recipient->m_id), KeyPart(target.m_id))
                                      .arg(span.startMs);
                notice.targetId = recipient->m_id;
                notice.targetName = recipient->m_name;
                notice.dueMs = dueMs;
                notice.dutyStartMs = span.startMs;
                const auto [start, end]
                    = SpanClockTexts(offsets, span.startMs, span.endMs, DTF_HOUR | DTF_MINUTE);
                notice.text = Fill(settings.leadText,
                    { { QStringLiteral("PERSON"), recipient->m_name },
                        { QStringLiteral("GROUP"), target.m_name },
                        { QStringLiteral("DATE"), DateText(offsets, span.startMs) },
                        { QStringLiteral("START"), start }, { QStringLiteral("END"), end } });
                due.append(notice);
            }
        }
    }
    std::stable_sort(
        due.begin(), due.end(), [](const CNotice& a, const CNotice& b) { return a.dueMs < b.dueMs; });
    return due;
}

QString SummaryText(const CPageTargetArray& targets, const CNoticeSettings& settings,
    const CZoneOffsets& offsets, qint64 dayStartMs, qint64 dayEndMs)
{
    QStringList groups;
    QStringList gaps;
    for (const CPageTarget& group : targets) {
        if (!group.IsGroup())
            continue;
        const CGroupCoverage cover = CoverageOf(group, targets, offsets, dayStartMs, dayEndMs, 1);
        QStringList onDuty;
        if (!cover.holderId.isEmpty()) {
            const CPageTarget* holder = targets.FindById(cover.holderId);
            onDuty << (holder ? holder->m_name : cover.holderId);
        } else {
            for (const QString& name : cover.members) {
                const CPageTarget* member = targets.FindByName(name);
                if (member && !DutyTimeline(member->m_ranges, offsets, dayStartMs, dayEndMs).isEmpty())
                    onDuty << name;
            }
        }
        groups << group.m_name + QStringLiteral(": ")
                + (onDuty.isEmpty() ? Translate(QT_TRANSLATE_NOOP("DutyNotices", "nobody"))
                                    : onDuty.join(QStringLiteral(", ")));
        for (const CDutySpan& gap : cover.gaps) {
            const auto [start, end] = SpanClockTexts(offsets, gap.startMs, gap.endMs, DTF_HOUR | DTF_MINUTE);
            gaps << group.m_name + u' ' + start + u'-' + end;
        }
    }
    QString summary = groups.join(QStringLiteral("; "));
    if (!gaps.isEmpty())
        summary += QStringLiteral(". ")
            + Translate(QT_TRANSLATE_NOOP("DutyNotices", "Gaps in cover: %1"))
                  .arg(gaps.join(QStringLiteral("; ")));
    return Fill(settings.summaryText,
        { { QStringLiteral("DATE"), DateText(offsets, dayStartMs) },
            { QStringLiteral("SUMMARY"), summary } });
}

QList<CNotice> DueSummaries(const CPageTargetArray& targets, const CNoticeSettings& settings,
    const CZoneOffsets& offsets, qint64 fromMs, qint64 toMs)
{
    QList<CNotice> due;
    if (settings.summaryMinute < 0 || settings.summaryTargets.isEmpty() || toMs <= fromMs)
        return due;
    const CDateTime first = WallClockAt(offsets, fromMs);
    for (CDateTime day(first.GetYear(), first.GetMonth(), first.GetDay(), 0, 0, 0);
         FirstMomentOfWallClock(offsets, day) <= toMs; day = day + CDateTimeSpan(1, 0, 0, 0)) {
        const qint64 atMs = FirstMomentOfWallClock(
            offsets, day + CDateTimeSpan(0, settings.summaryMinute / 60, settings.summaryMinute % 60, 0));
        if (atMs <= fromMs || atMs > toMs)
            continue;
        const QString text = SummaryText(targets, settings, offsets, FirstMomentOfWallClock(offsets, day),
            FirstMomentOfWallClock(offsets, day + CDateTimeSpan(1, 0, 0, 0)));
        for (const QString& id : settings.summaryTargets) {
            const CPageTarget* target = targets.FindById(id);
            if (!target) {
                qCWarning(lcEngine).noquote() << QStringLiteral(
                    "notices: NoticeSummaryTargets names %1, which the alarm server does not list")
                                                     .arg(id);
                continue;
            }
            due.append({ CNotice::Summary,
                QStringLiteral("S|%1|%2").arg(KeyPart(id), FormatDateTime(day, DTF_DATE | DTF_FULLYEAR)), id,
                target->m_name, atMs, 0, text });
        }
    }
    return due;
}

namespace {
// Nothing goes to a recipient the alarm server does not list now, nor to an empty name (the
// target may have left the list since the notice was made).
bool Listed(const CNotice& notice, const CPageTargetArray& targets)
{
    const CPageTarget* target = targets.FindById(notice.targetId);
    return target && !target->m_name.trimmed().isEmpty();
}
} // namespace

void CDutyNotices::DropUnlisted(const CNotice& notice, CProfile& sent, const CLog& log) const
{
    sent.WriteString(kSent, notice.identity, QString::number(notice.dueMs));
    log(notice,
        Translate(
            QT_TRANSLATE_NOOP("DutyNotices", "Notice to %1 dropped: the alarm server does not list it: %2"))
            .arg(notice.targetName.isEmpty() ? notice.targetId : notice.targetName, notice.text));
}

bool CDutyNotices::Send(const CNotice& notice, CServerCommandFactory& server) const
{
    // Delivered whatever the person's duty, and without a signature, as the takeover's own notes.
    const QString command = QStringLiteral("[send2(\"") + notice.targetName
        + QStringLiteral("\",\"[NODISPATCH:1][NOSIGN:1]") + notice.text
        + QStringLiteral("\",\"\",0,\"Kelvaris\",\"\",)]");
    const std::unique_ptr<CServerCommand> object = server.Create();
    QString result;
    return object && object->ExecuteCommand(command, result);
}

CDutyNotices::ESent CDutyNotices::SendOnce(
    const CNotice& notice, const QString& store, CServerCommandFactory& server) const
{
    // Another program on the same data may send the same notice: it is claimed under the store's
    // lock before it goes (the lock is not held while the alarm server is asked, which takes the
    // targets lock again), and given back when it could not be sent.
    {
        CProfile remembered(store);
        CProfile::Batch locked(remembered, CProfile::EIntent::ReadModifyWrite);
        if (!remembered.ReadString(kSent, notice.identity, QString()).isEmpty())
            return ESent::Already;
        remembered.WriteString(kSent, notice.identity, QString::number(notice.dueMs));
    }
    if (Send(notice, server))
        return ESent::Now;
    CProfile(store).WriteString(kSent, notice.identity, QString());
    return ESent::Failed;
}

void CDutyNotices::Deliver(
    const CNotice& notice, qint64 nowMs, const QString& store, CServerCommandFactory& server, const CLog& log)
{
    const ESent sent = SendOnce(notice, store, server);
    if (sent == ESent::Already)
        return;
    if (sent == ESent::Failed) {
        m_outbox.append({ notice, 1, nowMs + kRetryWaitMs[0] });
        CNotice waiting = notice;
        waiting.outcome = CNotice::EOutcome::Waiting;
        log(waiting,
            Translate(
                QT_TRANSLATE_NOOP("DutyNotices", "Notice to %1 could not be sent; it is tried again: %2"))
                .arg(notice.targetName, notice.text));
        return;
    }
    log(notice,
        Translate(QT_TRANSLATE_NOOP("DutyNotices", "Notice sent to %1: %2"))
            .arg(notice.targetName, notice.text));
}

void CDutyNotices::LookForChanges(const CPageTargetArray& targets, const CNoticeSettings& settings,
    const CZoneOffsets& offsets, qint64 nowMs, QList<CNotice>& due)
{
    if (settings.changeHours <= 0) {
        m_seen.clear();
        m_changes.clear();
        return;
    }
    const qint64 untilMs = nowMs + qint64(settings.changeHours) * 3'600'000;
    QHash<QString, QString> names;
    QHash<QString, QList<CDutySpan>> now = DutyByRecipient(targets, offsets, nowMs, untilMs, names);
    if (m_seenUntilMs > nowMs) {
        // Compared over the span both looks saw.
        QSet<QString> ids(now.keyBegin(), now.keyEnd());
        for (auto it = m_seen.cbegin(); it != m_seen.cend(); ++it)
            ids.insert(it.key());
        for (const QString& id : std::as_const(ids)) {
            const QList<CDutySpan> before = Clipped(m_seen.value(id), nowMs, m_seenUntilMs);
            const QList<CDutySpan> after = Clipped(now.value(id), nowMs, m_seenUntilMs);
            if (before == after)
                continue;
            CPendingChange& change = m_changes[id];
            change.name = names.value(id, change.name);
            for (const CDutySpan& span : before) {
                if (!after.contains(span) && !change.added.removeOne(span))
                    change.removed.append(span);
            }
            for (const CDutySpan& span : after) {
                if (!before.contains(span) && !change.removed.removeOne(span))
                    change.added.append(span);
            }
            change.lastMs = nowMs;
        }
    }
    m_seen = std::move(now);
    m_seenUntilMs = untilMs;

    for (auto it = m_changes.begin(); it != m_changes.end();) {
        CPendingChange& change = it.value();
        if (nowMs - change.lastMs < kSumUpMs) {
            ++it;
            continue;
        }
        if (!change.removed.isEmpty() || !change.added.isEmpty()) {
            QList<std::pair<CDutySpan, bool>> all;
            for (const CDutySpan& span : std::as_const(change.removed))
                all.append({ span, false });
            for (const CDutySpan& span : std::as_const(change.added))
                all.append({ span, true });
            std::sort(all.begin(), all.end(),
                [](const auto& a, const auto& b) { return a.first.startMs < b.first.startMs; });
            QStringList parts;
            for (const auto& [span, added] : std::as_const(all))
                parts << DutySpanText(offsets, span) + u' '
                        + (added ? Translate(QT_TRANSLATE_NOOP("DutyNotices", "added"))
                                 : Translate(QT_TRANSLATE_NOOP("DutyNotices", "removed")));
            const QString changes = parts.join(QStringLiteral("; "));
            CNotice notice;
            notice.kind = CNotice::Change;
            const QByteArray digest
                = QCryptographicHash::hash(changes.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
            notice.identity = QStringLiteral("C|%1|%2|%3")
                                  .arg(KeyPart(it.key()))
                                  .arg(change.lastMs)
                                  .arg(QString::fromLatin1(digest));
            notice.targetId = it.key();
            notice.targetName = change.name;
            notice.dueMs = nowMs;
            notice.text = Fill(settings.changeText,
                { { QStringLiteral("PERSON"), change.name }, { QStringLiteral("CHANGES"), changes } });
            due.append(notice);
        }
        it = m_changes.erase(it);
    }
}

void CDutyNotices::LoadState(const CProfile& store)
{
    bool ok = false;
    const qint64 until = store.ReadString(kState, QStringLiteral("SeenUntil"), QString()).toLongLong(&ok);
    if (!ok || until <= 0)
        return;
    m_seen.clear();
    m_changes.clear();
    for (const auto& [id, value] : SectionEntries(store, kSeen))
        m_seen.insert(id, SpansFrom(value));
    for (const auto& [id, value] : SectionEntries(store, kPending)) {
        const QStringList fields = value.split(u'\t');
        CPendingChange change;
        change.lastMs = fields.value(0).toLongLong();
        change.name = fields.value(1);
        change.removed = SpansFrom(fields.value(2));
        change.added = SpansFrom(fields.value(3));
        if (change.lastMs > 0)
            m_changes.insert(id, change);
    }
    m_seenUntilMs = until;
}

void CDutyNotices::StoreState(CProfile& store)
{
    // Written only when it changed: a look a minute over a thousand people costs no write then.
    QStringList seen;
    for (auto it = m_seen.cbegin(); it != m_seen.cend(); ++it)
        seen << KeyPart(it.key()) + u'=' + SpansText(*it);
    QStringList pending;
    for (auto it = m_changes.cbegin(); it != m_changes.cend(); ++it)
        pending << KeyPart(it.key()) + u'='
                + QStringList { QString::number(it->lastMs), QString(it->name).replace(u'\t', u' '),
                      SpansText(it->removed), SpansText(it->added) }
                      .join(u'\t');
    seen.sort();
    pending.sort();
    const QString state
        = QString::number(m_seenUntilMs) + u'\n' + seen.join(u'\n') + u'\n' + pending.join(u'\n');
    if (state == m_storedState)
        return;
    CProfile::Batch batch(store, CProfile::EIntent::ReadModifyWrite);
    store.WriteString(kSeen, QString(), QString());
    store.WriteString(kPending, QString(), QString());
    for (const QString& line : std::as_const(seen))
        store.WriteString(kSeen, line.section(u'=', 0, 0), line.section(u'=', 1));
    for (const QString& line : std::as_const(pending))
        store.WriteString(kPending, line.section(u'=', 0, 0), line.section(u'=', 1));
    store.WriteString(kState, QStringLiteral("SeenUntil"), QString::number(m_seenUntilMs));
    if (batch.Commit())
        m_storedState = state;
}

void CDutyNotices::RepairStore(const QString& store, const QString& problem)
{
    const QString aside = store + QStringLiteral(".damaged-")
        + QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    const QHash<QString, qint64> recalled = m_recall ? m_recall() : QHash<QString, qint64>();
    if (!QFile::rename(store, aside)) {
        if (const auto more = m_storeWarning.Allow(); more >= 0)
            qCWarning(lcEngine).noquote() << QStringLiteral(
                "notices: %1 cannot be read (%2) nor moved aside; notices may be sent again%3")
                                                 .arg(store, problem, CWarningLimiter::MoreText(more));
        return;
    }
    CProfile made(store);
    CProfile::Batch batch(made, CProfile::EIntent::ReadModifyWrite);
    for (auto it = recalled.cbegin(); it != recalled.cend(); ++it)
        made.WriteString(kSent, it.key(), QString::number(*it));
    batch.Commit();
    m_storedState.clear();
    qCWarning(lcEngine).noquote() << QStringLiteral(
        "notices: %1 cannot be read (%2); it is moved to %3 and made again with the %4 "
        "notices the journal names as sent or dropped")
                                         .arg(store, problem, aside)
                                         .arg(recalled.size());
}

void CDutyNotices::Update(const CPageTargetArray& targets, const QTimeZone& zone, qint64 nowMs,
    const QString& configPath, CServerCommandFactory& server, bool barrierInForce,
    const QSet<QString>& confirmed, const CLog& log)
{
    if (configPath.isEmpty())
        return;
    const CProfile config(configPath);
    const CNoticeSettings settings = CNoticeSettings::Read(config);
    const QString store = JoinPath(FolderOf(configPath), QStringLiteral("kelvaris-notices.cfg"));
    CProfile sent(store);
    if (const CProfile::CFileState state = sent.State(); state.exists && !state.problem.isEmpty())
        RepairStore(store, state.problem);
    if (!m_started) {
        m_started = true;
        bool ok = false;
        const qint64 last = sent.ReadString(kState, QStringLiteral("LastLook"), QString()).toLongLong(&ok);
        // What fell due while nobody looked, a day at most; at the very first start the last hour
        // (or twice the late time): what is late is dropped with a line, what is not is sent.
        const qint64 firstLookBackMs
            = std::min(kLookBackMs, std::max(kFirstLookBackMs, 2 * qint64(settings.lateMinutes) * kMinuteMs));
        m_lastLookMs
            = ok && last > 0 && last < nowMs ? std::max(last, nowMs - kLookBackMs) : nowMs - firstLookBackMs;
        m_holders.clear();
        LoadState(sent);
    }
    const CZoneOffsets offsets(zone, m_lastLookMs - kDayMs, nowMs + 40 * kDayMs);

    QList<CNotice> due = DueReminders(targets, settings, offsets, m_lastLookMs, nowMs);
    due += DueSummaries(targets, settings, offsets, m_lastLookMs, nowMs);
    // A new holder of a takeover group, unless a confirmation made it (that sends its own text).
    QHash<QString, QString> holders;
    for (const CPageTarget& group : targets) {
        if (group.IsGroup() && group.m_takeover)
            holders.insert(group.m_id, group.ReadCurrentTargetId());
    }
    for (auto it = holders.cbegin(); it != holders.cend(); ++it) {
        const auto before = m_holders.constFind(it.key());
        if (before == m_holders.cend() || *before == *it || it->isEmpty() || confirmed.contains(it.key()))
            continue;
        const CPageTarget* holder = targets.FindById(*it);
        const CPageTarget* group = targets.FindById(it.key());
        if (!holder || !group)
            continue;
        due.append(
            { CNotice::Holder, QStringLiteral("H|%1|%2|%3").arg(KeyPart(it.key()), KeyPart(*it)).arg(nowMs),
                holder->m_id, holder->m_name, nowMs, 0,
                Fill(settings.holderText,
                    { { QStringLiteral("PERSON"), holder->m_name },
                        { QStringLiteral("GROUP"), group->m_name } }) });
    }
    m_holders = holders;
    LookForChanges(targets, settings, offsets, nowMs, due);

    const qint64 lateMs = qint64(settings.lateMinutes) * kMinuteMs;
    for (const CNotice& notice : std::as_const(due)) {
        if (!sent.ReadString(kSent, notice.identity, QString()).isEmpty())
            continue;
        if (!Listed(notice, targets)) {
            DropUnlisted(notice, sent, log);
            continue;
        }
        if (nowMs - notice.dueMs > std::max(lateMs, kMinuteMs)) {
            sent.WriteString(kSent, notice.identity, QString::number(notice.dueMs));
            log(notice,
                Translate(QT_TRANSLATE_NOOP("DutyNotices", "Notice to %1 dropped, %2 minutes late: %3"))
                    .arg(notice.targetName)
                    .arg((nowMs - notice.dueMs) / kMinuteMs)
                    .arg(notice.text));
            continue;
        }
        if (barrierInForce) {
            const bool held = std::any_of(m_held.cbegin(), m_held.cend(),
                [&notice](const CNotice& other) { return other.identity == notice.identity; });
            if (!held) {
                m_held.append(notice);
                CNotice waiting = notice;
                waiting.outcome = CNotice::EOutcome::Waiting;
                log(waiting,
                    Translate(QT_TRANSLATE_NOOP("DutyNotices", "Notice to %1 held by the barrier/pause: %2"))
                        .arg(notice.targetName, notice.text));
            }
            continue;
        }
        Deliver(notice, nowMs, store, server, log);
    }
    if (!barrierInForce && !m_held.isEmpty()) {
        const QList<CNotice> held = std::exchange(m_held, {});
        for (const CNotice& notice : held) {
            if (!sent.ReadString(kSent, notice.identity, QString()).isEmpty())
                continue;
            if (!Listed(notice, targets)) {
                DropUnlisted(notice, sent, log);
                continue;
            }
            if (notice.dutyStartMs != 0 && nowMs >= notice.dutyStartMs) {
                sent.WriteString(kSent, notice.identity, QString::number(notice.dueMs));
                log(notice,
                    Translate(QT_TRANSLATE_NOOP("DutyNotices",
                                  "Notice to %1 dropped: the duty began during the barrier/pause: %2"))
                        .arg(notice.targetName, notice.text));
                continue;
            }
            Deliver(notice, nowMs, store, server, log);
        }
    }
    for (auto it = m_outbox.begin(); it != m_outbox.end();) {
        if (it->nextTryMs > nowMs) {
            ++it;
            continue;
        }
        if (!Listed(it->notice, targets)) {
            DropUnlisted(it->notice, sent, log);
            it = m_outbox.erase(it);
            continue;
        }
        if (const ESent result = SendOnce(it->notice, store, server); result != ESent::Failed) {
            if (result == ESent::Now)
                log(it->notice,
                    Translate(QT_TRANSLATE_NOOP("DutyNotices", "Notice sent to %1: %2"))
                        .arg(it->notice.targetName, it->notice.text));
            it = m_outbox.erase(it);
        } else if (it->failures >= kRetries) {
            // Not remembered as sent: said in the logbook and the journal (a restart within the
            // late time tries it again).
            qCWarning(lcEngine).noquote()
                << QStringLiteral("notices: the notice to %1 could not be sent after %2 tries: %3")
                       .arg(it->notice.targetName)
                       .arg(kRetries + 1)
                       .arg(it->notice.text);
            CNotice failed = it->notice;
            failed.outcome = CNotice::EOutcome::Failed;
            log(failed,
                Translate(
                    QT_TRANSLATE_NOOP("DutyNotices", "Notice to %1 could not be sent after %2 tries: %3"))
                    .arg(failed.targetName)
                    .arg(kRetries + 1)
                    .arg(failed.text));
            it = m_outbox.erase(it);
        } else {
            it->nextTryMs = nowMs + kRetryWaitMs[std::min(it->failures, kRetries - 1)];
            ++it->failures;
            ++it;
        }
    }

    // Forget what is long past; note the look.
    for (const QString& line : sent.SectionText(kSent).split(u'\n', Qt::SkipEmptyParts)) {
        bool ok = false;
        const qint64 dueMs = line.section(u'=', 1).trimmed().toLongLong(&ok);
        if (!ok || nowMs - dueMs > kRememberMs)
            sent.WriteString(kSent, line.section(u'=', 0, 0).trimmed(), QString());
    }
    m_lastLookMs = nowMs;
    StoreState(sent);
    if (!sent.WriteString(kState, QStringLiteral("LastLook"), QString::number(nowMs))) {
        if (const auto more = m_storeWarning.Allow(); more >= 0)
            qCWarning(lcEngine).noquote()
                << QStringLiteral("notices: cannot write %1 - notices may be sent again after a restart%2")
                       .arg(store, CWarningLimiter::MoreText(more));
    } else {
        m_storeWarning.Reset();
    }
}
