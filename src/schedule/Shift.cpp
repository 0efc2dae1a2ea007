#include "schedule/Shift.h"

#include <algorithm>
#include <limits>

#include "schedule/ConfigLocation.h"
#include "schedule/DateType.h"
#include "schedule/DayContext.h"
#include "schedule/Profile.h"
#include "schedule/RecordCompare.h"

namespace {

const QString kKeyName = QStringLiteral("ShiftName");
const QString kKeyDateType = QStringLiteral("DateType");
const QString kKeyDate = QStringLiteral("ShiftDate");
const QString kKeyStart = QStringLiteral("ShiftStartTime");
const QString kKeyEnd = QStringLiteral("ShiftEndTime");
const QString kKeyNumber = QStringLiteral("ShiftNumber");
const QString kKeyRotating = QStringLiteral("IsRotatingShift");
const QString kKeyStartingWeek = QStringLiteral("StartingCalenderWeek");
const QString kKeyWeekCycle = QStringLiteral("WeekCycle");

} // namespace

bool CShift::Load(CProfile& profile, int index)
{
    const CSection section(profile, BaseName(), index);
    section.Read(kKeyName, m_name, QString());
    if (m_name.isEmpty())
        return false;
    section.Read(kKeyDateType, m_dateType, 0);
    if (!ReadDateTimeKey(section, kKeyDate, m_date) || !ReadDateTimeKey(section, kKeyStart, m_startTime)
        || !ReadDateTimeKey(section, kKeyEnd, m_endTime))
        return false;
    section.Read(kKeyNumber, m_shiftNumber, 0);
    section.Read(kKeyRotating, m_rotating, false);
    section.Read(kKeyStartingWeek, m_startingWeek, 0);
    section.Read(kKeyWeekCycle, m_weekCycle, 0);
    return true;
}

void CShift::WriteKeys(CSection& section) const
{
    section.Write(kKeyName, m_name);
    section.Write(kKeyDateType, m_dateType, 0);
    section.Write(kKeyDate, DateToText(m_date));
    section.Write(kKeyStart, DateTimeToText(m_startTime));
    section.Write(kKeyEnd, DateTimeToText(m_endTime));
    section.Write(kKeyNumber, m_shiftNumber, 0);
    section.Write(kKeyRotating, m_rotating ? 1 : 0, 0);
    section.Write(kKeyStartingWeek, m_startingWeek, 0);
    section.Write(kKeyWeekCycle, m_weekCycle, 0);
}

bool CShift::Save(CProfile& profile, int index) const
{
    return SaveRecordSection(profile, index, *this);
}

QString CShift::RemainingSecondsText(const CDateTime& moment) const
{
    return QString::number(RemainingSeconds(moment));
}

QString CShift::LengthText() const
{
    return QString::number(LengthSeconds());
}

int CShift::EffectiveNumber(const CDateTime& moment) const
{
    if (!m_rotating || m_shiftNumber == 0 || m_weekCycle <= 0)
        return m_shiftNumber;
    // 64-bit arithmetic: the stored week index, cycle and number may hold any int from the file.
    const qint64 cycle = m_weekCycle;
    const qint64 weeksSinceStart = qint64(moment.ToQDate().weekNumber()) - (qint64(m_startingWeek) + 1);
    const qint64 step = (weeksSinceStart % cycle + cycle) % cycle;
    return int(std::min<qint64>(m_shiftNumber + step, std::numeric_limits<int>::max()));
}

bool CShift::IsSameAs(const CShift& other) const
{
    if (m_name.isEmpty() && other.m_name.isEmpty() && m_dateType == 0 && other.m_dateType == 0)
        return true;
    return m_name == other.m_name && m_dateType == other.m_dateType && SameDisplayDate(m_date, other.m_date)
        && SameDisplayTime(m_startTime, other.m_startTime) && SameDisplayTime(m_endTime, other.m_endTime)
        && m_shiftNumber == other.m_shiftNumber;
}

void CShiftArray::Sort()
{
    SortScheduleRecords<CShift>(*this);
}

bool CShiftArray::FindCurrent(CDayContext& context, CShift& out, int& effectiveNumber) const
{
    const int second = context.m_moment.SecondOfDay();
    for (const CShift& record : *this) {
        if (record.m_dateType < DATETYPE_SPECIAL || record.m_dateType > DATETYPE_LAST)
            return false;
        if (!MatchesDateType(record.m_dateType, record.m_date, context) || !record.IsActiveAtSecond(second))
            continue;
        effectiveNumber = record.EffectiveNumber(context.m_moment);
        out.m_name = record.m_name;
        out.m_dateType = record.m_dateType;
        out.m_date = record.m_date;
        out.m_startTime = record.m_startTime;
        out.m_endTime = record.m_endTime;
        out.m_shiftNumber = effectiveNumber;
        out.m_rotating = false;
        out.m_startingWeek = 0;
        out.m_weekCycle = 0;
        return true;
    }
    return false;
}
