#pragma once

// The page targets of the dispatch benchmarks: 1,000 targets of which 200 are takeover groups.
// Each takeover group has a current target in its dispatch file, read through the profile cache
// on every check; the files' times are set well into the past, so the cache trusts an unchanged
// status and does not compare the content. Every receiver has a year of ranges (one a day,
// 07:00-15:30 in 2024).

#include <fcntl.h>
#include <memory>
#include <sys/stat.h>

#include <QDate>
#include <QFile>
#include <QList>
#include <QTemporaryDir>

#include "engine/Dispatch.h"
#include "schedule/ConfigLocation.h"
#include "schedule/PageTarget.h"

inline constexpr int kTargets = 1'000;
inline constexpr int kGroups = 200;
inline constexpr int kReceivers = kTargets - kGroups;

// The moment of the checks: on duty for every receiver.
inline const QString kTime = QStringLiteral("2024-07-01 10:00:00");

inline QString ReceiverId(int i)
{
    return QString::number(1000 + i);
}
inline QString GroupId(int i)
{
    return QString::number(5000 + i);
}

struct CBenchSetup
{
    QTemporaryDir dir;
    CPageTargetArray targets;
    bool ok = false;
};

// Built once per program; the configuration location points into its folder from then on.
// Group i (receivers 4i and 4i+1 its members, 4i its current target) follows every four receivers,
// so groups and receivers are spread over the list.
inline CBenchSetup& Setup()
{
    static const std::unique_ptr<CBenchSetup> setup = [] {
        auto made = std::make_unique<CBenchSetup>();
        ConfigLocation().SetPaths(made->dir.filePath(QStringLiteral("kelvaris.cfg")), QString());
        QStringList yearOfRanges;
        for (QDate date(2024, 1, 1); date.year() == 2024; date = date.addDays(1))
            yearOfRanges.append(date.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral("=07:00-15:30"));
        made->targets.reserve(kTargets);
        int receiver = 0;
        int group = 0;
        bool ok = made->dir.isValid();
        for (int i = 0; i < kTargets; ++i) {
            CPageTarget target;
            if (i % 5 == 4) {
                target.m_id = GroupId(group);
                target.m_name = QStringLiteral("Group %1").arg(group);
                target.m_number = -1 - group;
                target.m_takeover = true;
                target.m_members
                    = QStringLiteral("Receiver %1;Receiver %2").arg(4 * group).arg(4 * group + 1);
                ok = ok && target.SaveDispatchFile() && target.WriteCurrentTargetId(ReceiverId(4 * group));
                const QByteArray path = QFile::encodeName(target.DispatchFilePath());
                const timespec times[2] = { { 1'700'000'000, 0 }, { 1'700'000'000, 0 } };
                ok = ok && ::utimensat(AT_FDCWD, path.constData(), times, 0) == 0;
                ++group;
            } else {
                target.m_id = ReceiverId(receiver);
                target.m_name = QStringLiteral("Receiver %1").arg(receiver);
                target.m_number = receiver;
                for (const QString& line : yearOfRanges)
                    target.m_ranges.AddFromText(line);
                ++receiver;
            }
            made->targets.append(std::move(target));
        }
        made->ok = ok && group == kGroups && receiver == kReceivers;
        return made;
    }();
    return *setup;
}

// One dispatch check with the result the set-up gives for it.
struct CDispatchAsk
{
    QString receiver;
    QString group; // empty: no group
    int expected = kDispatchSend;
};

// Through every takeover group: its current target (Send) and its second member (NotDispatched).
inline QList<CDispatchAsk> TakeoverGroupAsks()
{
    QList<CDispatchAsk> asks;
    asks.reserve(2 * kGroups);
    for (int group = 0; group < kGroups; ++group) {
        asks.append({ ReceiverId(4 * group), GroupId(group), kDispatchSend });
        asks.append({ ReceiverId(4 * group + 1), GroupId(group), kDispatchNotDispatched });
    }
    return asks;
}

// Every seventh receiver without a group: its year of ranges decides (on duty at kTime).
inline QList<CDispatchAsk> PlainReceiverAsks()
{
    QList<CDispatchAsk> asks;
    for (int i = 0; i < kReceivers; i += 7)
        asks.append({ ReceiverId(i), QString(), kDispatchSend });
    return asks;
}
