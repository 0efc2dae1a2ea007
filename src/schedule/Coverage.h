#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "schedule/DutyTimeline.h"

class CPageTargetArray;

// The gaps in a group's cover: where fewer than the wanted number of its members are on duty by
// the duty timeline. A takeover group with a holder is covered while the holder is set: the
// dispatch decision then goes by the holder alone.
struct CGroupCoverage
{
    QString id;
    QString name;
    // The members counted (those the target list knows), and those it does not know.
    QStringList members;
    QStringList unknownMembers;
    QString holderId; // a takeover group's holder, empty without
    QList<CDutySpan> gaps;
};

// Every group of `targets` (or only the one with `groupId`), over [fromMs, toMs).
QList<CGroupCoverage> GroupCoverage(const CPageTargetArray& targets, const CZoneOffsets& offsets,
    qint64 fromMs, qint64 toMs, int minMembers, const QString& groupId = QString());
