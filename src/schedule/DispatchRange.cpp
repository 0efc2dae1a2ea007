#include "schedule/DispatchRange.h"

#include <algorithm>
#include <climits>
#include <string_view>

#include <QByteArray>
#include <QHash>
#include <QStringList>

#include "schedule/TextList.h"
#include "support/Scan.h"

namespace {

constexpr int kFirstYear = 100;
constexpr int kLastYear = 9999;

// Hours and minutes as minutes of the day; the scanned numbers saturate at the int range, and so
// does the result.
int Minutes(int hours, int minutes)
{
    const qint64 total = qint64(hours) * 60 + minutes;
    return int(std::clamp<qint64>(total, INT_MIN, INT_MAX));
}

int Scan(const QString& text, std::string_view format, int* numbers, int capacity)
{
    const QByteArray bytes = text.toUtf8();
    return ScanNumbers(std::string_view(bytes.constData(), size_t(bytes.size())), format, numbers, capacity);
}

// The day numbers of a period, or false when either end is not a valid moment.
bool PeriodDays(const CDateTime& first, const CDateTime& last, qint64& from, qint64& to)
{
    if (!first.IsValid() || !last.IsValid())
        return false;
    from = first.DayNumber();
    to = last.DayNumber();
    return true;
}

bool InPeriod(qint64 day, qint64 from, qint64 to)
{
    return day != CDispatchRange::kNoDay && day >= from && day <= to;
}

CDateTime DateOfDay(qint64 dayNumber)
{
    return CDateTime::FromSecondsSinceBase(dayNumber * 86400);
}

} // namespace

// CDispatchRange

QString CDispatchRange::ToText() const
{
    return QString::asprintf("%04d%02d%02d=%02d:%02d-%02d:%02d", m_year, m_month, m_day, m_from / 60,
        m_from % 60, m_to / 60, m_to % 60);
}

qint64 CDispatchRange::DayNumber() const
{
    if (m_year < kFirstYear || m_year > kLastYear || !QDate::isValid(m_year, m_month, m_day))
        return kNoDay;
    return DayNumberFromCivil(m_year, m_month, m_day);
}

// CDispatchRangeArray

qsizetype CDispatchRangeArray::AddFromText(const QString& line)
{
    QStringList parts;
    if (SplitText(line, parts, u'=', true) != 2)
        return 0;
    int date[3];
    if (Scan(parts[0], "%04d%02d%02d", date, 3) != 3)
        return 0;
    QStringList items;
    SplitText(parts[1], items, u';', true);
    qsizetype added = 0;
    for (const QString& item : std::as_const(items)) {
        int n[4];
        if (Scan(item, "%d:%d-%d:%d", n, 4) != 4)
            continue;
        append(CDispatchRange { .m_day = date[2],
            .m_month = date[1],
            .m_year = date[0],
            .m_from = Minutes(n[0], n[1]),
            .m_to = Minutes(n[2], n[3]) });
        ++added;
    }
    return added;
}

qsizetype CDispatchRangeArray::RemoveDate(int day, int month, int year)
{
    return removeIf([&](const CDispatchRange& range) { return range.IsOnDate(year, month, day); });
}

CDateTime CDispatchRangeArray::FirstDate() const
{
    qint64 first = CDispatchRange::kNoDay;
    for (const CDispatchRange& range : *this) {
        const qint64 day = range.DayNumber();
        if (day != CDispatchRange::kNoDay && (first == CDispatchRange::kNoDay || day < first))
            first = day;
    }
    return first == CDispatchRange::kNoDay ? CDateTime() : DateOfDay(first);
}

CDateTime CDispatchRangeArray::LastDate() const
{
    qint64 last = CDispatchRange::kNoDay;
    for (const CDispatchRange& range : *this)
        last = std::max(last, range.DayNumber());
    return last == CDispatchRange::kNoDay ? CDateTime() : DateOfDay(last);
}

qsizetype CDispatchRangeArray::CountInPeriod(const CDateTime& first, const CDateTime& last) const
{
    qint64 from = 0;
    qint64 to = 0;
    if (!PeriodDays(first, last, from, to))
        return 0;
    return std::count_if(
        begin(), end(), [&](const CDispatchRange& range) { return InPeriod(range.DayNumber(), from, to); });
}

qsizetype CDispatchRangeArray::RemovePeriod(const CDateTime& first, const CDateTime& last)
{
    qint64 from = 0;
    qint64 to = 0;
    if (!PeriodDays(first, last, from, to))
        return 0;
    return removeIf([&](const CDispatchRange& range) { return InPeriod(range.DayNumber(), from, to); });
}

qsizetype CDispatchRangeArray::CopyDate(const CDateTime& source, const CDateTime& target)
{
    if (!source.IsValid() || !target.IsValid())
        return 0;
    int sourceYear = 0;
    int sourceMonth = 0;
    int sourceDay = 0;
    CivilFromDayNumber(source.DayNumber(), sourceYear, sourceMonth, sourceDay);
    int targetYear = 0;
    int targetMonth = 0;
    int targetDay = 0;
    CivilFromDayNumber(target.DayNumber(), targetYear, targetMonth, targetDay);

    // Only the ranges present now: copies onto the source date itself are not copied again.
    const qsizetype count = size();
    qsizetype copied = 0;
    for (qsizetype i = 0; i < count; ++i) {
        if (!at(i).IsOnDate(sourceYear, sourceMonth, sourceDay))
            continue;
        CDispatchRange copy = at(i);
        copy.m_year = targetYear;
        copy.m_month = targetMonth;
        copy.m_day = targetDay;
        append(copy);
        ++copied;
    }
    return copied;
}

qsizetype CDispatchRangeArray::CopyPeriod(const CDateTime& sourceFirst, const CDateTime& sourceLast,
    const CDateTime& targetFirst, const CDateTime& targetLast)
{
    qint64 source0 = 0;
    qint64 source1 = 0;
    qint64 target0 = 0;
    qint64 target1 = 0;
    if (!PeriodDays(sourceFirst, sourceLast, source0, source1)
        || !PeriodDays(targetFirst, targetLast, target0, target1) || target1 < target0)
        return 0;
    source1 = std::max(source0, source1);

    // The indexes of the ranges of each source day, so that each target day costs only its own
    // copies rather than a walk over the whole plan. Copies that land on a source day join its
    // list, which keeps the result that of one CopyDate per target day.
    QHash<qint64, QList<qsizetype>> byDay;
    for (qsizetype i = 0; i < size(); ++i) {
        const qint64 day = at(i).DayNumber();
        if (InPeriod(day, source0, source1))
            byDay[day].append(i);
    }
    if (byDay.isEmpty())
        return 0;

    qsizetype total = 0;
    qint64 sourceDay = source0;
    for (qint64 targetDay = target0; targetDay <= target1; ++targetDay) {
        const auto found = byDay.constFind(sourceDay);
        if (found != byDay.cend()) {
            const QList<qsizetype> sources = *found; // the ranges present before this day's copies
            int year = 0;
            int month = 0;
            int day = 0;
            CivilFromDayNumber(targetDay, year, month, day);
            const bool ontoSourceDay = targetDay >= source0 && targetDay <= source1;
            for (const qsizetype index : sources) {
                CDispatchRange copy = at(index);
                copy.m_year = year;
                copy.m_month = month;
                copy.m_day = day;
                append(copy);
                if (ontoSourceDay)
                    byDay[targetDay].append(size() - 1);
            }
            total += sources.size();
        }
        if (++sourceDay > source1)
            sourceDay = source0;
    }
    return total;
}

bool CDispatchRangeArray::Covers(const CDateTime& moment) const
{
    if (!moment.IsValid())
        return false;
    int year = 0;
    int month = 0;
    int day = 0;
    CivilFromDayNumber(moment.DayNumber(), year, month, day);
    const int minute = moment.SecondOfDay() / 60;
    for (const CDispatchRange& range : *this) {
        if (range.IsOnDate(year, month, day) && range.m_from <= minute && minute < range.m_to)
            return true;
    }
    return false;
}
