#include "schedule/Barrage.h"

#include "schedule/ConfigLocation.h"
#include "schedule/DateType.h"
#include "schedule/DayContext.h"
#include "schedule/Profile.h"
#include "schedule/RecordCompare.h"

namespace {

const QString kKeyName = QStringLiteral("BarrageName");
const QString kKeyDateType = QStringLiteral("DateType");
const QString kKeyDate = QStringLiteral("BarrageDate");
const QString kKeyStart = QStringLiteral("BarrageStartTime");
const QString kKeyEnd = QStringLiteral("BarrageEndTime");
const QString kKeyType = QStringLiteral("BarrageType");
const QString kKeyPriority = QStringLiteral("BarragePriority");

// The window rules on seconds of the day, shared by the record operations and the list's sum.
bool Overlaps(qint64 start, qint64 end, qint64 from, qint64 to)
{
    return start <= to && end >= from;
}

qint64 Overlap(qint64 start, qint64 end, qint64 from, qint64 to)
{
    qint64 seconds = end - start;
    if (from > start)
        seconds -= from - start;
    if (to < end)
        seconds -= end - to;
    return seconds;
}

bool IsHolidayDateType(int dateType)
{
    return dateType == DATETYPE_HOLIDAY || dateType == DATETYPE_DAYBEFORE || dateType == DATETYPE_DAYAFTER;
}

} // namespace

bool CBarrage::Load(CProfile& profile, int index)
{
    const CSection section(profile, BaseName(), index);
    section.Read(kKeyName, m_name, QString());
    if (m_name.isEmpty())
        return false;
    section.Read(kKeyDateType, m_dateType, 0);
    if (!ReadDateTimeKey(section, kKeyDate, m_date) || !ReadDateTimeKey(section, kKeyStart, m_startTime)
        || !ReadDateTimeKey(section, kKeyEnd, m_endTime))
        return false;
    section.Read(kKeyType, m_barrierType, 0);
    section.Read(kKeyPriority, m_priority, 0);
    return true;
}

void CBarrage::WriteKeys(CSection& section) const
{
    section.Write(kKeyName, m_name);
    section.Write(kKeyDateType, m_dateType, 0);
    section.Write(kKeyDate, DateToText(m_date));
    section.Write(kKeyStart, DateTimeToText(m_startTime));
    section.Write(kKeyEnd, DateTimeToText(m_endTime));
    section.Write(kKeyType, m_barrierType, 0);
    section.Write(kKeyPriority, m_priority, 0);
}

bool CBarrage::Save(CProfile& profile, int index) const
{
    return SaveRecordSection(profile, index, *this);
}

bool CBarrage::OverlapsWindow(const CDateTime& from, const CDateTime& to) const
{
    return Overlaps(m_startTime.SecondOfDay(), m_endTime.SecondOfDay(), from.SecondOfDay(), to.SecondOfDay());
}

qint64 CBarrage::OverlapSeconds(const CDateTime& from, const CDateTime& to) const
{
    return Overlap(m_startTime.SecondOfDay(), m_endTime.SecondOfDay(), from.SecondOfDay(), to.SecondOfDay());
}

QString CBarrage::LengthText() const
{
    return QString::number(LengthSeconds());
}

QString CBarrage::RemainingSecondsText(const CDateTime& moment) const
{
    return QString::number(qint64(m_endTime.SecondOfDay()) - moment.SecondOfDay());
}

bool CBarrage::IsSameAs(const CBarrage& other) const
{
    if (m_name.isEmpty() && other.m_name.isEmpty() && m_dateType == 0 && other.m_dateType == 0)
        return true;
    return m_name == other.m_name && m_dateType == other.m_dateType && SameDisplayDate(m_date, other.m_date)
        && SameDisplayTime(m_startTime, other.m_startTime) && SameDisplayTime(m_endTime, other.m_endTime)
        && m_barrierType == other.m_barrierType && m_priority == other.m_priority;
}

void CBarrageArray::Sort()
{
    SortScheduleRecords<CBarrage>(*this);
}

bool CBarrageArray::MatchesDateType(qsizetype index, CDayContext& context) const
{
    if (index < 0 || index >= size())
        return false;
    const CBarrage& record = at(index);
    return ::MatchesDateType(record.m_dateType, record.m_date, context);
}

bool CBarrageArray::FindActive(CDayContext& context, CBarrage& out) const
{
    const int second = context.m_moment.SecondOfDay();
    for (const CBarrage& record : *this) {
        if (!::MatchesDateType(record.m_dateType, record.m_date, context) || !record.IsActiveAtSecond(second))
            continue;
        out.m_name = record.m_name;
        out.m_dateType = record.m_dateType;
        out.m_date = record.m_date;
        out.m_startTime = record.m_startTime;
        out.m_endTime = record.m_endTime;
        out.m_barrierType = record.m_barrierType;
        out.m_priority = record.m_priority;
        return true;
    }
    return false;
}

qint64 CBarrageArray::BarrierSecondsInWindow(
    CDayContext& context, const CDateTime& from, const CDateTime& to) const
{
    const qint64 windowFrom = from.SecondOfDay();
    const qint64 windowTo = to.SecondOfDay();
    qint64 sum = 0;
    bool holidayMatched = false;
    for (const CBarrage& record : *this) {
        if (!::MatchesDateType(record.m_dateType, record.m_date, context))
            continue;
        if (IsHolidayDateType(record.m_dateType))
            holidayMatched = true;
        else if (holidayMatched)
            return sum;
        const qint64 start = record.m_startTime.SecondOfDay();
        const qint64 end = record.m_endTime.SecondOfDay();
        if (Overlaps(start, end, windowFrom, windowTo))
            sum += Overlap(start, end, windowFrom, windowTo);
    }
    return sum;
}
