#include "engine/DutyReports.h"

#include <algorithm>
#include <limits>

#include <QDir>
#include <QFileInfo>

#include "engine/KelvarisDoc.h"
#include "schedule/Coverage.h"
#include "schedule/Profile.h"

CPageTargetArray TargetsFromDispatchFiles(const QString& folder, QList<CUnreadablePlan>& unreadable)
{
    CPageTargetArray targets;
    if (folder.isEmpty())
        return targets;
    const QFileInfoList files = QDir(folder).entryInfoList({ QStringLiteral("*.tim") },
        QDir::Files | QDir::Dirs | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    const QString section = QStringLiteral("Settings");
    const QString missing = QStringLiteral("\x01");
    for (const QFileInfo& file : files) {
        CPageTarget target;
        target.m_id = file.fileName().chopped(4);
        if (!CPageTarget::IsSafeFileId(target.m_id) || targets.FindById(target.m_id))
            continue;
        if (!file.isFile()) {
            unreadable.append({ file.fileName(), QStringLiteral("not a plain file") });
            continue;
        }
        if (!target.LoadDispatchFile()) {
            unreadable.append({ file.fileName(),
                target.m_fileProblem.isEmpty() ? QStringLiteral("cannot be read") : target.m_fileProblem });
            continue;
        }
        const CProfile profile(target.DispatchFilePath(folder));
        target.m_name = profile.ReadString(section, QStringLiteral("Name"), target.m_id);
        const bool group = profile.ReadString(section, QStringLiteral("Takeover"), missing) != missing;
        target.m_number = group ? -1 : 0;
        targets.append(std::move(target));
    }
    return targets;
}

QString DataFolderProblem(const QString& folder, const QString& configPath)
{
    if (folder.isEmpty())
        return QStringLiteral("no data folder is set");
    const QFileInfo info(folder);
    if (!info.exists())
        return QStringLiteral("the data folder %1 does not exist").arg(folder);
    if (!info.isDir() || !info.isReadable() || !info.isExecutable())
        return QStringLiteral("the data folder %1 cannot be read").arg(folder);
    const QFileInfo config(configPath);
    if (!config.isFile() || !config.isReadable())
        return QStringLiteral("the data folder %1 holds no readable configuration file").arg(folder);
    return QString();
}

namespace {
QStringList MemberNames(const CPageTarget& target)
{
    QStringList names;
    for (const QString& name : target.m_members.split(u';', Qt::SkipEmptyParts)) {
        if (!name.trimmed().isEmpty())
            names << name;
    }
    return names;
}
} // namespace

COncallReport OncallReport(const CPageTargetArray& targets, const CMoment& at, const QString& source,
    bool withNumbers, const QList<CUnreadablePlan>& unreadable)
{
    QJsonArray receivers;
    QJsonArray groups;
    COncallReport report;
    // The plan of action, and the receivers and groups without any range: the socket answers
    // "on duty" for them at every moment.
    QList<qsizetype> listed;
    for (const CPlanEntry& entry : PlanOfActionEntries(targets, at.wall))
        listed.append(entry.m_index);
    for (qsizetype i = 0; i < targets.size(); ++i) {
        if (targets.at(i).m_ranges.isEmpty() && !listed.contains(i))
            listed.append(i);
    }
    std::sort(listed.begin(), listed.end());
    for (const qsizetype index : std::as_const(listed)) {
        const CPageTarget& target = targets.at(index);
        QJsonObject item { { QStringLiteral("name"), target.m_name }, { QStringLiteral("id"), target.m_id },
            { QStringLiteral("number"), withNumbers ? QJsonValue(target.m_number) : QJsonValue() } };
        if (!target.IsGroup()) {
            receivers.append(item);
            report.lines += QStringLiteral("receiver\t%1\t%2\n").arg(target.m_name, target.m_id);
            continue;
        }
        QJsonValue holder;
        QString holderText;
        if (target.m_takeover) {
            if (const QString holderId = target.ReadCurrentTargetId(); !holderId.isEmpty()) {
                const CPageTarget* holding = targets.FindById(holderId);
                holder = QJsonObject { { QStringLiteral("name"),
                                           holding ? QJsonValue(holding->m_name) : QJsonValue() },
                    { QStringLiteral("id"), holderId } };
                holderText = QStringLiteral("\tholder: %1 (%2)")
                                 .arg(holding ? holding->m_name : QStringLiteral("?"), holderId);
            }
        }
        item.insert(QStringLiteral("takeover"), target.m_takeover);
        item.insert(QStringLiteral("holder"), holder);
        item.insert(QStringLiteral("members"), QJsonArray::fromStringList(MemberNames(target)));
        groups.append(item);
        report.lines += QStringLiteral("group\t%1\t%2%3\n").arg(target.m_name, target.m_id, holderText);
    }
    QJsonArray unreadableJson;
    for (const CUnreadablePlan& file : unreadable) {
        unreadableJson.append(
            QJsonObject { { QStringLiteral("file"), file.file }, { QStringLiteral("reason"), file.reason } });
    }
    report.json = QJsonObject { { QStringLiteral("at"), at.IsoText() }, { QStringLiteral("source"), source },
        { QStringLiteral("receivers"), receivers }, { QStringLiteral("groups"), groups },
        { QStringLiteral("unreadable"), unreadableJson } };
    return report;
}

QString CoverageStateWord(CCoverageReport::EState state)
{
    switch (state) {
    case CCoverageReport::Ok:
        return QStringLiteral("OK");
    case CCoverageReport::Warning:
        return QStringLiteral("WARNING");
    case CCoverageReport::Critical:
        return QStringLiteral("CRITICAL");
    default:
        return QStringLiteral("UNKNOWN");
    }
}

CCoverageReport CoverageReport(const CPageTargetArray& targets, const QTimeZone& zone, qint64 fromMs,
    int days, int minMembers, int criticalHours, const QString& groupId)
{
    // N calendar days of the site's wall clock: a day the clocks change on is 23 or 25 hours long.
    const CZoneOffsets offsets(zone, fromMs, fromMs + qint64(days + 1) * 86'400'000);
    const qint64 toMs
        = FirstMomentOfWallClock(offsets, WallClockAt(offsets, fromMs) + CDateTimeSpan(days, 0, 0, 0));
    const QList<CGroupCoverage> coverage = GroupCoverage(targets, offsets, fromMs, toMs, minMembers, groupId);
    const auto iso = [&offsets](qint64 ms) {
        CMoment moment;
        moment.utcMs = ms;
        moment.offsetSeconds = offsets.OffsetAt(ms);
        return moment.IsoText();
    };

    const qint64 criticalMs = fromMs + qint64(criticalHours) * 3'600'000;
    CCoverageReport report;
    const CGroupCoverage* firstGroup = nullptr;
    CDutySpan first { std::numeric_limits<qint64>::max(), 0 };
    QJsonArray groups;
    for (const CGroupCoverage& group : coverage) {
        QJsonArray gaps;
        for (const CDutySpan& gap : group.gaps) {
            ++report.gaps;
            report.state = std::max(report.state,
                gap.startMs <= criticalMs ? CCoverageReport::Critical : CCoverageReport::Warning);
            if (gap.startMs < first.startMs) {
                first = gap;
                firstGroup = &group;
            }
            gaps.append(QJsonObject {
                { QStringLiteral("start"), iso(gap.startMs) }, { QStringLiteral("end"), iso(gap.endMs) } });
            report.lines += QStringLiteral("group\t%1\t%2\t%3\t%4\n")
                                .arg(group.name, group.id, iso(gap.startMs), iso(gap.endMs));
        }
        groups.append(
            QJsonObject { { QStringLiteral("id"), group.id }, { QStringLiteral("name"), group.name },
                { QStringLiteral("members"), QJsonArray::fromStringList(group.members) },
                { QStringLiteral("unknownMembers"), QJsonArray::fromStringList(group.unknownMembers) },
                { QStringLiteral("holder"),
                    group.holderId.isEmpty() ? QJsonValue() : QJsonValue(group.holderId) },
                { QStringLiteral("required"), group.required }, { QStringLiteral("gaps"), gaps } });
    }
    report.summary = report.gaps == 0
        ? QStringLiteral("no gap in %1 group(s) over the next %2 day(s)").arg(coverage.size()).arg(days)
        : QStringLiteral("%1 gap(s); the first: %2 (%3) from %4 to %5")
              .arg(report.gaps)
              .arg(firstGroup->name, firstGroup->id, iso(first.startMs), iso(first.endMs));
    report.json = QJsonObject { { QStringLiteral("status"), CoverageStateWord(report.state) },
        { QStringLiteral("at"), iso(fromMs) }, { QStringLiteral("days"), days },
        { QStringLiteral("to"), iso(toMs) }, { QStringLiteral("minMembers"), minMembers },
        { QStringLiteral("groups"), groups } };
    return report;
}
