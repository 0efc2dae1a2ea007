#pragma once

#include <QDate>
#include <QStringList>

#include "schedule/PageTarget.h"

// 1,000 receivers with a year (2026) of ranges each - a morning and a night duty on alternate
// days - and 200 groups of five members: the site the coverage and notice benchmarks look at.
inline constexpr int kYearReceivers = 1000;
inline constexpr int kYearGroups = 200;

inline const CPageTargetArray& YearTargets()
{
    static const CPageTargetArray targets = [] {
        CPageTargetArray made;
        for (int r = 0; r < kYearReceivers; ++r) {
            CPageTarget receiver;
            receiver.m_id = QString::number(r);
            receiver.m_name = QStringLiteral("Receiver %1").arg(r);
            for (QDate date(2026, 1, 1); date.year() == 2026; date = date.addDays(1)) {
                const QString day = date.toString(QStringLiteral("yyyyMMdd"));
                receiver.m_ranges.AddFromText((date.day() + r) % 2 ? day + QStringLiteral("=07:00-15:30")
                                                                   : day + QStringLiteral("=22:00-24:00"));
            }
            made.append(std::move(receiver));
        }
        for (int g = 0; g < kYearGroups; ++g) {
            CPageTarget group;
            group.m_id = QStringLiteral("g%1").arg(g);
            group.m_name = QStringLiteral("Group %1").arg(g);
            group.m_number = -1 - g;
            QStringList members;
            for (int m = 0; m < 5; ++m)
                members << QStringLiteral("Receiver %1").arg(5 * g + m);
            group.m_members = members.join(u';');
            made.append(std::move(group));
        }
        return made;
    }();
    return targets;
}
