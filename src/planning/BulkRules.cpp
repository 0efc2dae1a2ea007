#include "planning/BulkRules.h"

#include <algorithm>

#include <QCoreApplication>
#include <QSet>

#include "planning/TimePlanner.h"
#include "schedule/DispatchRange.h"
#include "schedule/PageTarget.h"
#include "schedule/TextList.h"

namespace {

constexpr qint64 kDaySeconds = 86400;
const QString kPartSeparator = QStringLiteral(",  ");

CDateTime AddDays(const CDateTime& date, qint64 days)
{
    return date + CDateTimeSpan(days, 0, 0, 0);
}

// Weekday names and the other texts of a summary, in the context of the dialog that shows it.
struct SSummaryWords
{
    QString m_invalid;
    QString m_weekdays;
    QString m_units;
    QString m_none;
    QString m_one;
    QString m_many;
};

SSummaryWords DuplicateWords()
{
    return { QCoreApplication::translate("CDispDuplicateDlg", "invalid time interval"),
        QCoreApplication::translate(
            "CDispDuplicateDlg", "Monday;Tuesday;Wednesday;Thursday;Friday;Saturday;Sunday"),
        QCoreApplication::translate("CDispDuplicateDlg",
            "year,years,month,months,week,weeks,day,days,hour,hours,minute,minutes,second,seconds"),
        QCoreApplication::translate("CDispDuplicateDlg", "no dispatching"),
        QCoreApplication::translate("CDispDuplicateDlg", "one dispatching"),
        QCoreApplication::translate("CDispDuplicateDlg", "%1 dispatches") };
}

SSummaryWords RemoveWords()
{
    return { QCoreApplication::translate("CDispRemoveDlg", "invalid time interval"), QString(),
        QCoreApplication::translate("CDispRemoveDlg",
            "year,years,month,months,week,weeks,day,days,hour,hours,minute,minutes,second,seconds"),
        QCoreApplication::translate("CDispRemoveDlg", "no dispatching"),
        QCoreApplication::translate("CDispRemoveDlg", "one dispatching"),
        QCoreApplication::translate("CDispRemoveDlg", "%1 dispatches") };
}

} // namespace

qint64 BulkSpanDays(const CDateTime& from, const CDateTime& to)
{
    if (!from.IsValid() || !to.IsValid())
        return 0;
    const qint64 days = to.DayNumber() - from.DayNumber() + 1;
    return days > 0 ? days : 0;
}

bool BulkSpansOverlap(const CDateTime& firstFrom, const CDateTime& firstTo, const CDateTime& secondFrom,
    const CDateTime& secondTo)
{
    return firstFrom.DayNumber() <= secondTo.DayNumber() && secondFrom.DayNumber() <= firstTo.DayNumber();
}

CDateTime BulkMondayOnOrBefore(const CDateTime& date)
{
    return MondayOnOrBefore(date);
}

QString BulkSpanSummary(const CDateTime& from, const CDateTime& to, qsizetype rangeCount, bool withWeekday)
{
    const SSummaryWords words = withWeekday ? DuplicateWords() : RemoveWords();
    const qint64 days = BulkSpanDays(from, to);
    if (days == 0)
        return words.m_invalid;

    QStringList parts;
    if (withWeekday)
        parts.append(GetListItem(words.m_weekdays, (from.GetDayOfWeek() + 5) % 7 + 1));
    parts.append(FormatDuration(days * kDaySeconds, DURATION_ALL, words.m_units));
    if (rangeCount <= 0)
        parts.append(words.m_none);
    else if (rangeCount == 1)
        parts.append(words.m_one);
    else
        parts.append(words.m_many.arg(rangeCount));
    return parts.join(kPartSeparator);
}

QString BulkCopiesText(qint64 sourceDays, qint64 destinationDays)
{
    if (sourceDays <= 0 || destinationDays <= 0)
        return QString();
    return QCoreApplication::translate("CDispDuplicateDlg", "%1 copies")
        .arg(double(destinationDays) / double(sourceDays), 0, 'f', 1);
}

CDuplicateSpans DuplicateDefaultSpans(const CDateTime& today)
{
    CDuplicateSpans spans;
    spans.m_sourceFrom = BulkMondayOnOrBefore(today);
    spans.m_sourceTo = AddDays(spans.m_sourceFrom, 6);
    spans.m_destinationFrom = AddDays(spans.m_sourceFrom, 7);
    spans.m_destinationTo = AddDays(spans.m_destinationFrom, 6);
    return spans;
}

bool DuplicateAllowed(const CDuplicateSpans& spans)
{
    return BulkSpanDays(spans.m_sourceFrom, spans.m_sourceTo) > 0
        && BulkSpanDays(spans.m_destinationFrom, spans.m_destinationTo) > 0
        && !BulkSpansOverlap(
            spans.m_sourceFrom, spans.m_sourceTo, spans.m_destinationFrom, spans.m_destinationTo);
}

qsizetype DuplicateSpan(CDispatchRangeArray& ranges, const CDuplicateSpans& spans)
{
    if (BulkSpanDays(spans.m_sourceFrom, spans.m_sourceTo) == 0
        || BulkSpanDays(spans.m_destinationFrom, spans.m_destinationTo) == 0)
        return 0;
    return ranges.CopyPeriod(
        spans.m_sourceFrom, spans.m_sourceTo, spans.m_destinationFrom, spans.m_destinationTo);
}

QList<qsizetype> PerformDuplicate(CPageTargetArray& targets, const CDuplicateSpans& spans,
    const QStringList& clearNames, const QStringList& copyNames)
{
    QList<qsizetype> changed;
    if (!DuplicateAllowed(spans))
        return changed;

    QSet<qsizetype> seen;
    const auto indexOf = [&targets](const QString& name) -> qsizetype {
        const CPageTarget* target = std::as_const(targets).FindByName(name);
        return target ? qsizetype(target - &targets.at(0)) : -1;
    };
    const auto note = [&](qsizetype index) {
        targets[index].m_ranges.SetModified();
        if (!seen.contains(index)) {
            seen.insert(index);
            changed.append(index);
        }
    };

    for (const QString& name : clearNames) {
        const qsizetype index = indexOf(name);
        if (index >= 0
            && targets[index].m_ranges.RemovePeriod(spans.m_destinationFrom, spans.m_destinationTo) > 0)
            note(index);
    }
    for (const QString& name : copyNames) {
        const qsizetype index = indexOf(name);
        if (index >= 0 && DuplicateSpan(targets[index].m_ranges, spans) > 0)
            note(index);
    }
    std::sort(changed.begin(), changed.end());
    return changed;
}

void RemovePresetSpan(const CDispatchRangeArray& ranges, RemovePreset preset, const CDateTime& today,
    CDateTime& from, CDateTime& to)
{
    const CDateTime day = today.DatePart();
    const CDateTime first = ranges.isEmpty() ? day : ranges.FirstDate();
    const CDateTime last = ranges.isEmpty() ? day : ranges.LastDate();
    switch (preset) {
    case RemovePreset::All:
        from = first;
        to = last;
        break;
    case RemovePreset::Past:
        from = first;
        to = AddDays(day, -1);
        break;
    case RemovePreset::Future:
        from = AddDays(day, 1);
        to = last;
        break;
    case RemovePreset::Today:
        from = day;
        to = day;
        break;
    }
}

qsizetype PerformRemove(
    CPageTargetArray& targets, qsizetype targetIndex, const CDateTime& from, const CDateTime& to)
{
    if (targetIndex < 0 || targetIndex >= targets.size() || BulkSpanDays(from, to) == 0)
        return 0;
    CDispatchRangeArray& ranges = targets[targetIndex].m_ranges;
    const qsizetype removed = ranges.RemovePeriod(from, to);
    if (removed > 0)
        ranges.SetModified();
    return removed;
}
