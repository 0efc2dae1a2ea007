#include "schedule/Shift.h"

#include <climits>
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "schedule/ConfigLocation.h"
#include "schedule/DateType.h"
#include "schedule/DayContext.h"
#include "schedule/Profile.h"

namespace {

CDateTime T(int hour, int minute = 0, int second = 0)
{
    return CDateTime::TimeOfDay(hour, minute, second);
}

// 2024-05-13 is a Monday.
CDateTime Monday(int hour, int minute = 0, int second = 0)
{
    return CDateTime(2024, 5, 13, hour, minute, second);
}

// Noon on the Wednesday of ISO week `week` of 2024 (2024-01-01 is the Monday of week 1).
CDateTime InWeek(int week)
{
    return CDateTime(2024, 1, 3, 12, 0, 0) + CDateTimeSpan(7 * (week - 1), 0, 0, 0);
}

CDateTime FixedNow()
{
    return CDateTime(2024, 5, 15, 10, 20, 30);
}

CShift Shift(const char* name, int dateType, CDateTime start, CDateTime end, int number = 1)
{
    CShift shift(Monday(0));
    shift.m_name = QString::fromLatin1(name);
    shift.m_dateType = dateType;
    shift.m_startTime = start;
    shift.m_endTime = end;
    shift.m_shiftNumber = number;
    return shift;
}

CShift Rotating(int number, int startingWeek, int cycle)
{
    CShift shift = Shift("r", DATETYPE_WORKINGDAY, T(0), T(23, 59, 59), number);
    shift.m_rotating = true;
    shift.m_startingWeek = startingWeek;
    shift.m_weekCycle = cycle;
    return shift;
}

CDayContext WorkingDay(const CDateTime& moment)
{
    CDayContext context(moment);
    context.m_workingDay = true;
    return context;
}

// Name and effective number of the current shift, or "-".
QString Current(const CShiftArray& list, const CDateTime& moment)
{
    CDayContext context = WorkingDay(moment);
    CShift out;
    int number = -1;
    if (!list.FindCurrent(context, out, number))
        return QStringLiteral("-");
    return out.m_name + u'/' + QString::number(number);
}

} // namespace

TEST(ShiftTest, NewRecordDefaults)
{
    SetCurrentTimeSource(&FixedNow);
    const CShift shift;
    SetCurrentTimeSource(nullptr);
    EXPECT_EQ(shift.m_date, FixedNow());
    EXPECT_EQ(shift.m_startTime, T(10, 20, 30));
    EXPECT_EQ(shift.m_endTime, T(10, 20, 30));
    EXPECT_EQ(shift.m_dateType, 0);
    EXPECT_EQ(shift.m_shiftNumber, 0);
    EXPECT_FALSE(shift.m_rotating);
    EXPECT_EQ(shift.m_startingWeek, 0);
    EXPECT_EQ(shift.m_weekCycle, 0);
}

TEST(ShiftTest, CurrentBetweenInclusiveTimesOfDay)
{
    const CShift early = Shift("early", DATETYPE_MONDAY, T(6), T(13, 59, 59));
    EXPECT_FALSE(early.IsActiveAt(T(5, 59, 59)));
    EXPECT_TRUE(early.IsActiveAt(Monday(6)));
    EXPECT_TRUE(early.IsActiveAt(T(13, 59, 59)));
    EXPECT_FALSE(early.IsActiveAt(T(14)));
    EXPECT_EQ(early.LengthSeconds(), 28799);
    EXPECT_EQ(early.LengthText(), QStringLiteral("28799"));
    EXPECT_EQ(early.RemainingSeconds(Monday(13)), 3599);
    EXPECT_EQ(early.RemainingSecondsText(T(13, 59, 59)), QStringLiteral("0"));

    const CShift night = Shift("night", DATETYPE_MONDAY, T(22), T(6));
    for (const CDateTime& moment : { T(22), T(23), T(0), T(6) })
        EXPECT_FALSE(night.IsActiveAt(moment));
    EXPECT_EQ(night.LengthSeconds(), -57600);
    EXPECT_EQ(night.LengthText(), QStringLiteral("-57600"));
}

TEST(ShiftTest, FindCurrentAfterSortingPrefersRankThenEarlierStart)
{
    CShiftArray list;
    list << Shift("late", DATETYPE_MONDAY, T(8), T(16), 2) << Shift("early", DATETYPE_MONDAY, T(6), T(14), 1)
         << Shift("working", DATETYPE_WORKINGDAY, T(0), T(23, 59, 59), 3);
    list.Sort();
    EXPECT_EQ(Current(list, Monday(10)), QStringLiteral("early/1"));
    EXPECT_EQ(Current(list, Monday(15)), QStringLiteral("late/2"));
    EXPECT_EQ(Current(list, Monday(20)), QStringLiteral("working/3"));

    list << Shift("special", DATETYPE_SPECIAL, T(9), T(11), 7)
         << Shift("no shift", DATETYPE_SPECIAL, T(11), T(12), 0);
    list.Sort();
    EXPECT_EQ(Current(list, Monday(10)), QStringLiteral("special/7"));
    // A matching shift with number 0 is current and tells "no shift".
    EXPECT_EQ(Current(list, Monday(11, 30)), QStringLiteral("no shift/0"));
    // The special date is Monday 2024-05-13 only.
    EXPECT_EQ(Current(list, Monday(10) + CDateTimeSpan(7, 0, 0, 0)), QStringLiteral("early/1"));

    CDayContext context = WorkingDay(Monday(10));
    CShift out = Rotating(5, 3, 4);
    int number = 0;
    ASSERT_TRUE(list.FindCurrent(context, out, number));
    EXPECT_TRUE(out.IsSameAs(list[0]));
    EXPECT_TRUE(context.m_specialDateMatched);
    EXPECT_FALSE(out.m_rotating);
    EXPECT_EQ(out.m_weekCycle, 0);
}

TEST(ShiftTest, DateTypeOutsideOneToThirteenEndsTheSearch)
{
    CShiftArray list;
    list << Shift("monday", DATETYPE_MONDAY, T(0), T(23, 59, 59)) << Shift("edited", 14, T(0), T(23, 59, 59));
    EXPECT_EQ(Current(list, Monday(10)), QStringLiteral("monday/1"));
    list.move(1, 0);
    EXPECT_EQ(Current(list, Monday(10)), QStringLiteral("-"));
    // Date type 0 sorts to the front and so ends every search.
    list[0].m_dateType = DATETYPE_NONE;
    list.Sort();
    EXPECT_EQ(list[0].m_name, QStringLiteral("edited"));
    EXPECT_EQ(Current(list, Monday(10)), QStringLiteral("-"));
    list[0].m_dateType = -1;
    list.Sort();
    EXPECT_EQ(list[1].m_name, QStringLiteral("edited"));
    EXPECT_EQ(Current(list, Monday(10)), QStringLiteral("monday/1"));
    EXPECT_EQ(Current(list, CDateTime(2024, 5, 14, 10, 0, 0)), QStringLiteral("-"));
}

TEST(ShiftTest, RotationAdvancesWeeklyThroughTheCycle)
{
    const CShift fromWeek10 = Rotating(1, 9, 3);
    const int expected[][2]
        = { { 10, 1 }, { 13, 1 }, { 16, 1 }, { 11, 2 }, { 14, 2 }, { 12, 3 }, { 15, 3 }, { 9, 3 }, { 7, 1 } };
    for (const auto& [week, number] : expected)
        EXPECT_EQ(fromWeek10.EffectiveNumber(InWeek(week)), number) << "week " << week;

    const CShift fromWeek1 = Rotating(2, 0, 2);
    EXPECT_EQ(fromWeek1.EffectiveNumber(InWeek(1)), 2);
    EXPECT_EQ(fromWeek1.EffectiveNumber(InWeek(2)), 3);
    EXPECT_EQ(fromWeek1.EffectiveNumber(InWeek(3)), 2);

    // The found shift carries the rotated number.
    CShiftArray list;
    list << fromWeek1;
    EXPECT_EQ(Current(list, InWeek(2)), QStringLiteral("r/3"));

    CShift plain = fromWeek1;
    plain.m_rotating = false;
    EXPECT_EQ(plain.EffectiveNumber(InWeek(2)), 2);
    EXPECT_EQ(Rotating(0, 0, 2).EffectiveNumber(InWeek(2)), 0);
    // No rotation for cycles of 0 or less, whatever the other values.
    EXPECT_EQ(Rotating(4, 0, 0).EffectiveNumber(InWeek(2)), 4);
    EXPECT_EQ(Rotating(4, 0, -3).EffectiveNumber(InWeek(2)), 4);
    EXPECT_EQ(Rotating(4, 0, INT_MIN).EffectiveNumber(InWeek(2)), 4);
    // Week 2 is INT_MAX - 1 weeks before the start: one step into the cycle.
    EXPECT_EQ(Rotating(4, INT_MAX, INT_MAX).EffectiveNumber(InWeek(2)), 5);
    EXPECT_EQ(Rotating(INT_MAX, 0, 5).EffectiveNumber(InWeek(2)), INT_MAX);
    // A moment that is not valid has week 0, here INT_MAX weeks after the start.
    EXPECT_EQ(Rotating(3, INT_MIN, 2).EffectiveNumber(CDateTime::Invalid()), 4);
}

TEST(ShiftTest, SameAsIgnoresRotation)
{
    CShift empty = Shift("", DATETYPE_NONE, T(1), T(2), 1);
    EXPECT_TRUE(empty.IsSameAs(Shift("", DATETYPE_NONE, T(3), T(4), 5)));

    const CShift base = Shift("Early", DATETYPE_SPECIAL, T(6), T(14), 2);
    const auto differs = [&base](auto change) {
        CShift other = base;
        change(other);
        return !base.IsSameAs(other) && !other.IsSameAs(base);
    };
    EXPECT_TRUE(differs([](CShift& s) { s.m_name = QStringLiteral("early"); }));
    EXPECT_TRUE(differs([](CShift& s) { s.m_dateType = DATETYPE_MONDAY; }));
    EXPECT_TRUE(differs([](CShift& s) { s.m_date = s.m_date + CDateTimeSpan(1, 0, 0, 0); }));
    EXPECT_TRUE(differs([](CShift& s) { s.m_startTime = T(6, 0, 1); }));
    EXPECT_TRUE(differs([](CShift& s) { s.m_endTime = T(13, 59, 59); }));
    EXPECT_TRUE(differs([](CShift& s) { s.m_shiftNumber = 3; }));
    EXPECT_FALSE(differs([](CShift& s) {
        s.m_rotating = true;
        s.m_startingWeek = 4;
        s.m_weekCycle = 2;
    }));
}

namespace {

class ShiftFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("kelvaris.cfg"));
        ConfigLocation().SetPaths(m_path, QString());
    }
    void TearDown() override { ConfigLocation().SetPaths(QString(), QString()); }
    QByteArray FileBytes() const
    {
        QFile file(m_path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
    QString m_path;
};

} // namespace

TEST_F(ShiftFileTest, SavesAndLoadsEveryField)
{
    CProfile profile(m_path);
    CShift rotating = Rotating(2, 51, 4);
    rotating.m_name = QStringLiteral("Rotating ");
    ASSERT_TRUE(rotating.Save(profile, 1));
    EXPECT_EQ(ConfigLocation().FileTimeMemo(), FileTimeNs(m_path));
    const CShift plain = Shift("plain", DATETYPE_NONE, T(6), T(14), 0);
    ASSERT_TRUE(plain.Save(profile, 2));

    const QByteArray bytes = FileBytes();
    EXPECT_TRUE(
        bytes.contains("[Shift1]\r\nShiftName=\"Rotating \"\r\nDateType=10\r\nShiftDate=2024-05-13\r\n"
                       "ShiftStartTime=1899-12-30 00:00:00\r\nShiftEndTime=1899-12-30 23:59:59\r\n"
                       "ShiftNumber=2\r\nIsRotatingShift=1\r\nStartingCalenderWeek=51\r\nWeekCycle=4\r\n"));
    EXPECT_TRUE(bytes.contains("[Shift2]\r\nShiftName=plain\r\nShiftDate=2024-05-13\r\n"
                               "ShiftStartTime=1899-12-30 06:00:00\r\nShiftEndTime=1899-12-30 14:00:00\r\n"));
    EXPECT_FALSE(bytes.mid(bytes.indexOf("[Shift2]")).contains("Number"));

    CShiftArray list;
    list.Load(profile);
    ASSERT_EQ(list.size(), 2);
    EXPECT_TRUE(list[0].IsSameAs(rotating));
    EXPECT_TRUE(list[0].m_rotating);
    EXPECT_EQ(list[0].m_startingWeek, 51);
    EXPECT_EQ(list[0].m_weekCycle, 4);
    EXPECT_TRUE(list[1].IsSameAs(plain));
}

TEST_F(ShiftFileTest, ListSaveAndLoadFollowTheNumberedSections)
{
    CProfile profile(m_path);
    CShiftArray list;
    for (int i = 1; i <= 5; ++i)
        list << Shift(QByteArray::number(i).constData(), DATETYPE_MONDAY, T(i), T(i + 1), i);
    list.SetModified();
    ASSERT_TRUE(list.Save(profile));
    list.remove(0, 2);
    list.SetModified();
    ASSERT_TRUE(list.Save(profile));
    EXPECT_FALSE(FileBytes().contains("[Shift4]"));

    CShiftArray loaded;
    loaded.Load(profile);
    ASSERT_EQ(loaded.size(), 3);
    EXPECT_EQ(loaded[0].m_name, QStringLiteral("3"));
    EXPECT_EQ(loaded[2].m_shiftNumber, 5);

    ASSERT_TRUE(profile.WriteString(
        QStringLiteral("Shift2"), QStringLiteral("ShiftDate"), QStringLiteral("soon-ish")));
    loaded.Load(profile);
    ASSERT_EQ(loaded.size(), 1);
    ASSERT_TRUE(profile.WriteString(QStringLiteral("Shift1"), QStringLiteral("ShiftName"), QString()));
    loaded.Load(profile);
    EXPECT_TRUE(loaded.isEmpty());
}
