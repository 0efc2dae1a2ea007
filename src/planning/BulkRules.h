#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "schedule/DateTime.h"

class CDispatchRangeArray;
class CPageTargetArray;

// The deciding logic of the bulk dialogs (duplicate, remove), without widgets. All of it works in whole
// days: a dispatch range belongs to one calendar date, so only the date part of every argument
// counts and both ends of a span are included.

// The days of [from, to]; 0 when the span is invalid (to earlier than from, or a date not valid).
qint64 BulkSpanDays(const CDateTime& from, const CDateTime& to);
// Whether the two spans share at least one day (both must be valid spans).
bool BulkSpansOverlap(const CDateTime& firstFrom, const CDateTime& firstTo, const CDateTime& secondFrom,
    const CDateTime& secondTo);
// The Monday on or before the date, at midnight.
CDateTime BulkMondayOnOrBefore(const CDateTime& date);

// The summary of a span: "invalid time interval" when the span is invalid, otherwise
// [weekday of the first day,  ]length (all duration units, e.g. "1 week"),  "n dispatches".
// The weekday is shown by the duplicate dialog only. Texts are translated in the context of the
// dialog that shows them.
QString BulkSpanSummary(const CDateTime& from, const CDateTime& to, qsizetype rangeCount, bool withWeekday);
// "2.0 copies" for destination days / source days; empty when either span is invalid.
QString BulkCopiesText(qint64 sourceDays, qint64 destinationDays);

// The spans shown when the duplicate dialog opens: the week (Monday to Sunday) of today as the
// source, the week after it as the destination.
struct CDuplicateSpans
{
    CDateTime m_sourceFrom;
    CDateTime m_sourceTo;
    CDateTime m_destinationFrom;
    CDateTime m_destinationTo;
};
CDuplicateSpans DuplicateDefaultSpans(const CDateTime& today);
// OK of the duplicate dialog: both spans valid and no day in common.
bool DuplicateAllowed(const CDuplicateSpans& spans);
// Repeats the ranges of the source span over the destination span of one range array, day by day,
// starting again at the source's first day after its last one and stopping at the destination's
// end. Returns the number of ranges copied; nothing for an invalid span.
qsizetype DuplicateSpan(CDispatchRangeArray& ranges, const CDuplicateSpans& spans);
// The whole duplication on the targets (the caller holds the targets lock): first the ranges in
// the destination span are removed from every target named in `clearNames`, then the source span
// of every target named in `copyNames` is repeated over the destination span. Names that match no
// target are skipped. Does nothing when DuplicateAllowed is false. Returns the indexes of the
// targets changed (in target order, each once); their ranges are flagged as modified.
QList<qsizetype> PerformDuplicate(CPageTargetArray& targets, const CDuplicateSpans& spans,
    const QStringList& clearNames, const QStringList& copyNames);

// The span presets of the remove dialog.
enum class RemovePreset { All, Past, Future, Today };
// All: first to last range date; Past: first range date to yesterday; Future: tomorrow to the
// last range date; Today: today alone. A target without ranges takes today for the missing date.
void RemovePresetSpan(const CDispatchRangeArray& ranges, RemovePreset preset, const CDateTime& today,
    CDateTime& from, CDateTime& to);
// Removes the target's ranges in [from, to] (the caller holds the targets lock) and flags them as
// modified when any went. Returns the number removed; 0 for an index outside the list.
qsizetype PerformRemove(
    CPageTargetArray& targets, qsizetype targetIndex, const CDateTime& from, const CDateTime& to);
