#include "engine/CoverageWatch.h"

#include <algorithm>
#include <memory>

#include <QCoreApplication>
#include <QDateTime>

#include "schedule/ConfigLocation.h"
#include "schedule/DutyTimeline.h"
#include "schedule/Moment.h"
#include "schedule/PageTarget.h"
#include "schedule/Profile.h"
#include "server/ServerCommand.h"
#include "support/Trace.h"

namespace {
const QString kSettings = QStringLiteral("Settings");
const QString kNotified = QStringLiteral("Notified");
constexpr qint64 kDayMs = 86'400'000LL;
constexpr qint64 kLookBackMs = 7 * kDayMs;

bool Overlap(const CDutySpan& a, const CDutySpan& b)
{
    return a.startMs < b.endMs && b.startMs < a.endMs;
}

bool Among(const QList<CCoverageWatch::CGap>& gaps, const CCoverageWatch::CGap& gap)
{
    return std::any_of(gaps.cbegin(), gaps.cend(), [&gap](const CCoverageWatch::CGap& other) {
        return other.groupId == gap.groupId && Overlap(other.span, gap.span);
    });
}

// A remembered page: "<group ID>@<start>=<start>-<end>" (UTC milliseconds).
std::optional<CCoverageWatch::CGap> RememberedGap(const QString& key, const QString& value)
{
    const qsizetype at = key.lastIndexOf(u'@');
    const qsizetype dash = value.indexOf(u'-');
    bool startOk = false;
    bool endOk = false;
    const CDutySpan span { value.left(dash).toLongLong(&startOk), value.mid(dash + 1).toLongLong(&endOk) };
    if (at <= 0 || dash <= 0 || !startOk || !endOk || span.endMs <= span.startMs)
        return std::nullopt;
    return CCoverageWatch::CGap { key.left(at), QString(), span };
}
} // namespace

QString CCoverageWatch::SpanText(const CDutySpan& span) const
{
    const CZoneOffsets* offsets = m_cache.Offsets();
    if (!offsets)
        return QString();
    const qint64 startMs = std::max(span.startMs, m_nowMs);
    const CDateTime from = WallClockAt(*offsets, startMs);
    const CDateTime to = WallClockAt(*offsets, span.endMs);
    // Across a clock change each end names its offset.
    const auto [startClock, endClock] = SpanClockTexts(*offsets, startMs, span.endMs, DTF_HOUR | DTF_MINUTE);
    const QString start = FormatDateTime(from, DTF_DATE | DTF_FULLYEAR) + u' ' + startClock;
    const QString end = from.DayNumber() == to.DayNumber()
        ? endClock
        : FormatDateTime(to, DTF_DATE | DTF_FULLYEAR) + u' ' + endClock;
    return start + u'-' + end;
}

bool CCoverageWatch::Update(const CPageTargetArray& targets, const CDateTime& now, const QString& configPath,
    CServerCommandFactory& server)
{
    CProfile config(configPath);
    const QTimeZone zone = SiteTimeZone(config.ReadString(kSettings, QStringLiteral("TimeZone"), QString()));
    // The real moment of the wall clock's "now" (its first pass in the hour the clocks repeat).
    const qint64 wallMs = WallClockMs(now);
    m_nowMs = FirstMomentOfWallClock(CZoneOffsets(zone, wallMs - kDayMs, wallMs + kDayMs), now);
    const qint64 dayMs = m_nowMs - m_nowMs % kDayMs;
    m_recomputed = m_cache.Update(targets, zone, dayMs - kLookBackMs, dayMs + 2 * kDayMs);

    QList<CGap> gaps;
    for (const CGroupCoverage& group : m_cache.Groups()) {
        for (const CDutySpan& gap : group.gaps) {
            if (gap.endMs > m_nowMs && gap.startMs < m_nowMs + kWindowMs)
                gaps.append({ group.id, group.name, gap });
        }
    }
    std::stable_sort(gaps.begin(), gaps.end(),
        [](const CGap& a, const CGap& b) { return a.span.startMs < b.span.startMs; });

    // What changed since the last look: warned, for the journal and the window's logbook.
    for (const CGap& gap : std::as_const(gaps)) {
        if (!Among(m_gaps, gap))
            qCWarning(lcEngine).noquote() << QStringLiteral("coverage: nobody in %1 is on duty %2")
                                                 .arg(gap.groupName, SpanText(gap.span));
    }
    if (!m_first) {
        for (const CGap& gap : std::as_const(m_gaps)) {
            if (gap.span.endMs > m_nowMs && !Among(gaps, gap))
                qCWarning(lcEngine).noquote() << QStringLiteral("coverage: the gap in %1 %2 is closed")
                                                     .arg(gap.groupName, SpanText(gap.span));
        }
    }
    const bool changed = m_first || gaps != m_gaps;
    m_first = false;
    m_gaps = std::move(gaps);

    // The pages: looked at when the gaps changed, and at every look while one could not be sent.
    if (changed || m_pagesDue) {
        const QStringList notify = config.ReadString(kSettings, QStringLiteral("CoverageNotify"), QString())
                                       .split(u';', Qt::SkipEmptyParts);
        m_pagesDue = !notify.isEmpty() && !configPath.isEmpty() && !Page(targets, configPath, notify, server);
    }

    QStringList texts;
    for (const CGap& gap : std::as_const(m_gaps))
        texts << gap.groupName + u' ' + SpanText(gap.span);
    const QString text = texts.join(u';');
    if (text == m_text)
        return false;
    m_text = text;
    return true;
}

bool CCoverageWatch::Page(const CPageTargetArray& targets, const QString& configPath,
    const QStringList& notify, CServerCommandFactory& server) const
{
    CProfile notified(JoinPath(FolderOf(configPath), QStringLiteral("kelvaris-notified.cfg")));
    // The gaps told of; only those still open are kept.
    QList<CGap> told;
    for (const QString& line : notified.SectionText(kNotified).split(u'\n', Qt::SkipEmptyParts)) {
        const QString key = line.section(u'=', 0, 0).trimmed();
        const std::optional<CGap> gap = RememberedGap(key, line.section(u'=', 1).trimmed());
        if (gap && Among(m_gaps, *gap))
            told.append(*gap);
        else
            notified.WriteString(kNotified, key, QString());
    }
    bool allSent = true;
    for (const CGap& gap : m_gaps) {
        if (Among(told, gap))
            continue;
        const QString message = QCoreApplication::translate("Coverage", "Nobody in %1 is on duty %2")
                                    .arg(gap.groupName, SpanText(gap.span));
        bool sent = true;
        for (const QString& listed : notify) {
            const CPageTarget* target = targets.FindById(listed.trimmed());
            if (!target || target->m_name.trimmed().isEmpty()) {
                qCWarning(lcEngine).noquote() << QStringLiteral(
                    "coverage: CoverageNotify names %1, which the alarm server does not list")
                                                     .arg(listed.trimmed());
                continue;
            }
            // The alarm server takes the arguments as they are: nothing is quoted inside them.
            const QString command = QStringLiteral("[send2(\"") + target->m_name + QStringLiteral("\",\"")
                + message + QStringLiteral("\",\"\",0,\"Kelvaris\",\"\",)]");
            const std::unique_ptr<CServerCommand> object = server.Create();
            QString result;
            if (!object || !object->ExecuteCommand(command, result)) {
                sent = false;
                qCWarning(lcEngine).noquote() << QStringLiteral(
                    "coverage: the page to %1 about %2 could not be sent; tried again at the next look")
                                                     .arg(target->m_name, gap.groupName);
            }
        }
        if (!sent) {
            allSent = false;
            continue;
        }
        const QString key = gap.groupId + u'@' + QString::number(gap.span.startMs);
        const QString value = QString::number(gap.span.startMs) + u'-' + QString::number(gap.span.endMs);
        if (!notified.WriteString(kNotified, key, value))
            qCWarning(lcEngine).noquote() << "coverage: cannot remember the page in" << notified.Path()
                                          << "- it may be sent again after a restart";
    }
    return allSent;
}
