#include "engine/CoverageWatch.h"

#include <algorithm>
#include <memory>

#include <QCoreApplication>
#include <QDateTime>

#include "schedule/ConfigLocation.h"
#include "schedule/DutyTimeline.h"
#include "schedule/PageTarget.h"
#include "schedule/Profile.h"
#include "server/ServerCommand.h"
#include "support/Trace.h"

namespace {
const QString kSettings = QStringLiteral("Settings");
const QString kNotified = QStringLiteral("Notified");

// "2026-12-15 02:00-06:00", or with both dates when it ends on another day.
QString SpanText(const CZoneOffsets& offsets, const CDutySpan& span)
{
    const CDateTime from = WallClockAt(offsets, span.startMs);
    const CDateTime to = WallClockAt(offsets, span.endMs);
    const QString start
        = FormatDateTime(from, DTF_DATE | DTF_FULLYEAR) + u' ' + FormatDateTime(from, DTF_HOUR | DTF_MINUTE);
    const QString end = from.DayNumber() == to.DayNumber()
        ? FormatDateTime(to, DTF_HOUR | DTF_MINUTE)
        : FormatDateTime(to, DTF_DATE | DTF_FULLYEAR) + u' ' + FormatDateTime(to, DTF_HOUR | DTF_MINUTE);
    return start + u'-' + end;
}
} // namespace

bool CCoverageWatch::Update(const CPageTargetArray& targets, const CDateTime& now, const QString& configPath,
    CServerCommandFactory& server)
{
    CProfile config(configPath);
    const QTimeZone zone = SiteTimeZone(config.ReadString(kSettings, QStringLiteral("TimeZone"), QString()));
    // The real moment of the wall clock's "now" (its first pass in the hour the clocks repeat).
    const qint64 wallMs = WallClockMs(now);
    const CZoneOffsets around(zone, wallMs - 2 * kWindowMs, wallMs + 2 * kWindowMs);
    const qint64 nowMs = FirstMomentOfWallClock(around, now);
    // From a day back, so a running gap is found with its start when it began within that day.
    const qint64 fromMs = nowMs - kWindowMs;
    const qint64 toMs = nowMs + kWindowMs;

    QHash<QString, CDutySpan> gaps;
    QHash<QString, QString> groupOf; // identity -> group name
    QStringList texts;
    for (const CGroupCoverage& group : GroupCoverage(targets, around, fromMs, toMs, 1)) {
        for (const CDutySpan& gap : group.gaps) {
            if (gap.endMs <= nowMs)
                continue;
            const QString identity = gap.startMs <= fromMs ? group.id + QStringLiteral("@open")
                                                           : group.id + u'@' + QString::number(gap.startMs);
            gaps.insert(identity, gap);
            groupOf.insert(identity, group.name);
            texts << group.name + u' ' + SpanText(around, { std::max(gap.startMs, nowMs), gap.endMs });
        }
    }

    // What changed since the last look: warned, for the journal and the window's logbook.
    for (auto it = gaps.cbegin(); it != gaps.cend(); ++it) {
        if (!m_known.contains(it.key())) {
            qCWarning(lcEngine).noquote()
                << QStringLiteral("coverage: nobody in %1 is on duty %2")
                       .arg(groupOf.value(it.key()),
                           SpanText(around, { std::max(it->startMs, nowMs), it->endMs }));
        }
    }
    if (!m_first) {
        for (auto it = m_known.cbegin(); it != m_known.cend(); ++it) {
            if (!gaps.contains(it.key()) && it->endMs > nowMs)
                qCWarning(lcEngine).noquote()
                    << QStringLiteral("coverage: the gap %1 is closed")
                           .arg(SpanText(around, { std::max(it->startMs, nowMs), it->endMs }));
        }
    }
    m_first = false;
    m_known = gaps;

    // The pages: once per gap and target, remembered beside the configuration.
    const QStringList notify = config.ReadString(kSettings, QStringLiteral("CoverageNotify"), QString())
                                   .split(u';', Qt::SkipEmptyParts);
    if (!notify.isEmpty() && !configPath.isEmpty()) {
        CProfile notified(JoinPath(FolderOf(configPath), QStringLiteral("kelvaris-notified.cfg")));
        // Only what is still in the window is kept.
        QStringList keys;
        {
            const QString text = notified.SectionText(kNotified);
            for (const QString& line : text.split(u'\n', Qt::SkipEmptyParts))
                keys << line.section(u'=', 0, 0);
        }
        for (const QString& key : std::as_const(keys)) {
            if (!gaps.contains(key))
                notified.WriteString(kNotified, key, QString());
        }
        for (auto it = gaps.cbegin(); it != gaps.cend(); ++it) {
            if (notified.ReadString(kNotified, it.key(), QString()) == QLatin1String("1"))
                continue;
            const QString message = QCoreApplication::translate("Coverage", "Nobody in %1 is on duty %2")
                                        .arg(groupOf.value(it.key()),
                                            SpanText(around, { std::max(it->startMs, nowMs), it->endMs }));
            bool sent = true;
            for (const QString& id : notify) {
                const CPageTarget* target = targets.FindById(id.trimmed());
                if (!target) {
                    qCWarning(lcEngine).noquote() << QStringLiteral(
                        "coverage: CoverageNotify names %1, which the alarm server does not list")
                                                         .arg(id.trimmed());
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
                                                         .arg(target->m_name, groupOf.value(it.key()));
                }
            }
            if (sent && !notified.WriteString(kNotified, it.key(), QStringLiteral("1")))
                qCWarning(lcEngine).noquote() << "coverage: cannot remember the page in" << notified.Path()
                                              << "- it may be sent again after a restart";
        }
    }

    const QString text = texts.join(u';');
    if (text == m_text)
        return false;
    m_text = text;
    return true;
}
