#include "schedule/Barrage.h"

#include <gtest/gtest.h>
#include <random>

#include <QFile>
#include <QTemporaryDir>

#include "schedule/ConfigLocation.h"
#include "schedule/DateType.h"
#include "schedule/DayContext.h"
#include "schedule/Profile.h"
#include "schedule/RecordCompare.h"

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

CDateTime FixedNow()
{
    return CDateTime(2024, 5, 15, 10, 20, 30);
}

CBarrage Barrier(
    const char* name, int dateType, CDateTime start, CDateTime end, int type = 1, int priority = 4)
{
    CBarrage barrier;
    barrier.m_name = QString::fromLatin1(name);
    barrier.m_dateType = dateType;
    barrier.m_date = dateType == DATETYPE_SPECIAL ? Monday(0) : CDateTime();
    barrier.m_startTime = start;
    barrier.m_endTime = end;
    barrier.m_barrierType = type;
    barrier.m_priority = priority;
    return barrier;
}

// The day's flags as the engine would classify them with Monday to Friday as working days.
CDayContext Day(const CDateTime& moment, bool holiday = false)
{
    CDayContext context(moment);
    const int dayOfWeek = moment.GetDayOfWeek();
    context.m_holiday = holiday;
    context.m_workingDay = !holiday && dayOfWeek >= 2 && dayOfWeek <= 6;
    context.m_weekend = !holiday && !context.m_workingDay;
    return context;
}

QString Names(const QList<CBarrage>& list)
{
    QStringList names;
    for (const CBarrage& barrier : list)
        names << barrier.m_name;
    return names.join(u',');
}

class BarrageFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("kelvaris.cfg"));
        ConfigLocation().SetPaths(m_path, QString());
        SetCurrentTimeSource(&FixedNow);
    }
    void TearDown() override
    {
        SetCurrentTimeSource(nullptr);
        ConfigLocation().SetPaths(QString(), QString());
    }
    QByteArray FileBytes() const
    {
        QFile file(m_path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void WriteFile(const QByteArray& bytes) const
    {
        QFile file(m_path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    QTemporaryDir m_dir;
    QString m_path;
};

} // namespace

TEST(BarrageTest, NewRecordDefaults)
{
    SetCurrentTimeSource(&FixedNow);
    const CBarrage barrier;
    SetCurrentTimeSource(nullptr);
    EXPECT_TRUE(barrier.m_name.isEmpty());
    EXPECT_EQ(barrier.m_dateType, 0);
    EXPECT_EQ(barrier.m_date, FixedNow());
    EXPECT_EQ(barrier.m_startTime, T(0));
    EXPECT_EQ(barrier.m_endTime, T(0));
    EXPECT_EQ(barrier.m_barrierType, 0);
    EXPECT_EQ(barrier.m_priority, 1);
    EXPECT_TRUE(barrier.m_delayUntil.IsZero());
}

TEST(BarrageTest, ActiveBetweenInclusiveTimesOfDay)
{
    const CBarrage morning = Barrier("m", DATETYPE_MONDAY, T(8), T(12));
    EXPECT_FALSE(morning.IsActiveAt(T(7, 59, 59)));
    EXPECT_TRUE(morning.IsActiveAt(T(8)));
    EXPECT_TRUE(morning.IsActiveAt(T(12)));
    EXPECT_FALSE(morning.IsActiveAt(T(12, 0, 1)));
    // Only the times of day count, on either side.
    EXPECT_TRUE(morning.IsActiveAt(Monday(10)));
    CBarrage dated = morning;
    dated.m_startTime = CDateTime(2030, 1, 1, 8, 0, 0);
    EXPECT_TRUE(dated.IsActiveAt(T(8)));
    EXPECT_EQ(morning.LengthSeconds(), 14400);
    EXPECT_EQ(morning.LengthText(), QStringLiteral("14400"));
    EXPECT_EQ(morning.RemainingSecondsText(Monday(11, 59, 0)), QStringLiteral("60"));

    const CBarrage night = Barrier("n", DATETYPE_MONDAY, T(22), T(6));
    for (const CDateTime& moment : { T(22), T(23), T(0), T(3), T(6) })
        EXPECT_FALSE(night.IsActiveAt(moment));
    EXPECT_EQ(night.LengthSeconds(), -57600);
    EXPECT_EQ(night.LengthText(), QStringLiteral("-57600"));
}

TEST(BarrageTest, OverlapWithTimeOfDayWindow)
{
    const CBarrage day = Barrier("d", DATETYPE_MONDAY, T(6), T(18));
    EXPECT_TRUE(day.OverlapsWindow(T(10), T(12)));
    EXPECT_EQ(day.OverlapSeconds(T(10), T(12)), 7200);
    EXPECT_EQ(day.OverlapSeconds(Monday(10), Monday(12)), 7200);
    EXPECT_EQ(day.OverlapSeconds(T(5), T(7)), 3600);
    EXPECT_EQ(day.OverlapSeconds(T(17), T(23, 59, 59)), 3600);
    EXPECT_EQ(day.OverlapSeconds(T(0), T(23, 59, 59)), 43200);
    EXPECT_TRUE(day.OverlapsWindow(T(18), T(19)));
    EXPECT_EQ(day.OverlapSeconds(T(18), T(19)), 0);
    EXPECT_FALSE(day.OverlapsWindow(T(18, 0, 1), T(19)));
    EXPECT_FALSE(day.OverlapsWindow(T(1), T(5, 59, 59)));
}

TEST(BarrageTest, FindActiveTakesFirstMatchInListOrder)
{
    CBarrageArray list;
    list << Barrier("special", DATETYPE_SPECIAL, T(9), T(10), 2, 7)
         << Barrier("holiday", DATETYPE_HOLIDAY, T(12), T(13))
         << Barrier("monday", DATETYPE_MONDAY, T(8), T(17))
         << Barrier("working", DATETYPE_WORKINGDAY, T(0), T(23, 59, 59))
         << Barrier("none", DATETYPE_NONE, T(0), T(23, 59, 59)) << Barrier("edited", 14, T(0), T(23, 59, 59))
         << Barrier("negative", -1, T(0), T(23, 59, 59));

    const auto found = [&list](CDayContext context) {
        CBarrage out;
        out.m_name = QStringLiteral("unchanged");
        return list.FindActive(context, out) ? out.m_name : out.m_name + QStringLiteral("?");
    };
    // A Monday holiday: the Monday barrier applies where no holiday barrier covers the moment.
    EXPECT_EQ(found(Day(Monday(8, 30), true)), QStringLiteral("monday"));
    EXPECT_EQ(found(Day(Monday(9, 30), true)), QStringLiteral("special"));
    EXPECT_EQ(found(Day(Monday(12, 30), true)), QStringLiteral("holiday"));
    EXPECT_EQ(found(Day(Monday(18), true)), QStringLiteral("unchanged?"));
    // An ordinary Monday: the holiday barrier does not apply; the working-day one fills the gaps.
    EXPECT_EQ(found(Day(Monday(12, 30))), QStringLiteral("monday"));
    EXPECT_EQ(found(Day(Monday(18))), QStringLiteral("working"));
    // Records of date type 0 or outside 1 to 13 are skipped, the later ones still found.
    list.move(4, 0);
    list.move(5, 0);
    EXPECT_EQ(found(Day(Monday(18))), QStringLiteral("working"));

    CDayContext context = Day(Monday(9, 30));
    CBarrage out;
    out.m_delayUntil = Monday(23);
    ASSERT_TRUE(list.FindActive(context, out));
    EXPECT_TRUE(out.IsSameAs(list[2]));
    EXPECT_EQ(out.m_date, list[2].m_date);
    EXPECT_EQ(out.m_barrierType, 2);
    EXPECT_EQ(out.m_priority, 7);
    EXPECT_EQ(out.m_delayUntil, Monday(23));
    EXPECT_TRUE(context.m_specialDateMatched);

    // The shared date-type test, by index.
    CDayContext tuesday = Day(CDateTime(2024, 5, 14, 10, 0, 0));
    EXPECT_FALSE(list.MatchesDateType(4, tuesday));
    EXPECT_TRUE(list.MatchesDateType(5, tuesday));
    EXPECT_FALSE(list.MatchesDateType(99, tuesday));
}

TEST(BarrageTest, BarrierSecondsStopAtOtherTypesAfterHolidayMatch)
{
    CBarrageArray list;
    list << Barrier("special", DATETYPE_SPECIAL, T(9), T(10))
         << Barrier("holiday", DATETYPE_HOLIDAY, T(12), T(13))
         << Barrier("before", DATETYPE_DAYBEFORE, T(20), T(21))
         << Barrier("monday", DATETYPE_MONDAY, T(8), T(17))
         << Barrier("working", DATETYPE_WORKINGDAY, T(18), T(19));
    const CDateTime from = T(0);
    const CDateTime to = T(23, 59, 59);

    // Monday holiday that is also the day before a holiday: special, holiday and day-before count.
    CDayContext holiday = Day(Monday(10), true);
    holiday.m_dayBeforeHoliday = true;
    EXPECT_EQ(list.BarrierSecondsInWindow(holiday, from, to), 3 * 3600);
    // Special-date barriers count with the holiday match, within the window only.
    EXPECT_EQ(list.BarrierSecondsInWindow(holiday, T(9, 30), T(12, 30)), 1800 + 1800);

    // Without a holiday-type barrier for the day the Monday barrier counts.
    CDayContext plainHoliday = Day(Monday(10), true);
    EXPECT_EQ(list.BarrierSecondsInWindow(plainHoliday, from, to), 3600 + 3600);
    list.removeAt(1);
    EXPECT_EQ(list.BarrierSecondsInWindow(plainHoliday, from, to), 3600 + 9 * 3600);
    // An ordinary Monday: special, Monday and working-day barriers.
    CDayContext monday = Day(Monday(10));
    EXPECT_EQ(list.BarrierSecondsInWindow(monday, from, to), 3600 + 9 * 3600 + 3600);
    EXPECT_EQ(list.BarrierSecondsInWindow(monday, T(16), T(18, 30)), 3600 + 1800);
    EXPECT_EQ(CBarrageArray().BarrierSecondsInWindow(monday, from, to), 0);
}

TEST(BarrageTest, SortOrdersByRankStartTimeAndDate)
{
    CBarrageArray list;
    list << Barrier("monday8", DATETYPE_MONDAY, T(8), T(9))
         << Barrier("special", DATETYPE_SPECIAL, T(10), T(11))
         << Barrier("monday6", DATETYPE_MONDAY, T(6), T(7));
    list.Sort();
    EXPECT_EQ(Names(list), QStringLiteral("special,monday6,monday8"));

    CBarrageArray mixed;
    mixed << Barrier("weekend", DATETYPE_WEEKEND, T(1), T(2)) << Barrier("edited", 20, T(1), T(2))
          << Barrier("after", DATETYPE_DAYAFTER, T(1), T(2)) << Barrier("none", DATETYPE_NONE, T(1), T(2))
          << Barrier("sunday", DATETYPE_SUNDAY, T(1), T(2))
          << Barrier("before", DATETYPE_DAYBEFORE, T(1), T(2));
    mixed[0].m_date = CDateTime(2024, 1, 1, 0, 0, 0);
    CBarrage earlier = mixed[0];
    earlier.m_name = QStringLiteral("weekend-earlier");
    earlier.m_date = CDateTime(2023, 1, 1, 0, 0, 0);
    mixed << earlier;
    mixed.Sort();
    EXPECT_EQ(Names(mixed), QStringLiteral("none,before,after,sunday,weekend-earlier,weekend,edited"));
}

namespace {

// The editors' original sort: three passes of adjacent exchange, each restarting at the front.
template <class OutOfOrder>
void ExchangePass(QList<CBarrage>& list, OutOfOrder outOfOrder)
{
    for (qsizetype i = 0; i + 1 < list.size();) {
        if (outOfOrder(list[i], list[i + 1])) {
            list.swapItemsAt(i, i + 1);
            i = 0;
        } else {
            ++i;
        }
    }
}

void SortByExchangePasses(QList<CBarrage>& list)
{
    ExchangePass(list, [](const CBarrage& a, const CBarrage& b) {
        return b.m_date.SecondsSinceBase() < a.m_date.SecondsSinceBase();
    });
    ExchangePass(list, [](const CBarrage& a, const CBarrage& b) {
        return DateTypeRank(b.m_dateType) < DateTypeRank(a.m_dateType);
    });
    ExchangePass(list, [](const CBarrage& a, const CBarrage& b) {
        return a.m_dateType == b.m_dateType && b.m_startTime.SecondOfDay() < a.m_startTime.SecondOfDay();
    });
}

} // namespace

TEST(BarrageTest, SortEqualsTheThreeExchangePasses)
{
    std::mt19937 random(20240513);
    // Few distinct values, so that ties are common; out-of-range types share the last rank.
    const int dateTypes[] = { -3, 0, 1, 2, 3, 4, 9, 10, 11, 12, 13, 14, 20 };
    for (int round = 0; round < 400; ++round) {
        CBarrageArray list;
        const int count = int(random() % 40);
        for (int i = 0; i < count; ++i) {
            const int dateType = dateTypes[random() % std::size(dateTypes)];
            const int hour = int(random() % 4);
            CBarrage barrier = Barrier("", dateType, T(hour, int(random() % 2) * 30), T(23));
            barrier.m_name = QString::number(i);
            barrier.m_date = CDateTime(2024, 1, 1 + int(random() % 3), int(random() % 2) * 12, 0, 0);
            if (random() % 5 == 0)
                barrier.m_startTime += CDateTimeSpan(int(random() % 3), 0, 0, 0); // a date part
            list << barrier;
        }
        QList<CBarrage> expected = list;
        SortByExchangePasses(expected);
        list.Sort();
        ASSERT_EQ(Names(list), Names(expected)) << "round " << round;
    }
}

TEST(BarrageTest, SameAsComparesWhatTheOperatorSees)
{
    const CBarrage empty = Barrier("", DATETYPE_NONE, T(1), T(2), 1, 1);
    CBarrage otherEmpty = Barrier("", DATETYPE_NONE, T(5), T(6), 3, 8);
    EXPECT_TRUE(empty.IsSameAs(otherEmpty));
    otherEmpty.m_dateType = DATETYPE_MONDAY;
    EXPECT_FALSE(empty.IsSameAs(otherEmpty));

    const CBarrage base = Barrier("Night", DATETYPE_SPECIAL, T(8), T(12), 2, 4);
    EXPECT_TRUE(base.IsSameAs(base));
    const auto differs = [&base](auto change) {
        CBarrage other = base;
        change(other);
        return !base.IsSameAs(other) && !other.IsSameAs(base);
    };
    EXPECT_TRUE(differs([](CBarrage& b) { b.m_name = QStringLiteral("night"); }));
    EXPECT_TRUE(differs([](CBarrage& b) { b.m_dateType = DATETYPE_HOLIDAY; }));
    EXPECT_TRUE(differs([](CBarrage& b) { b.m_date = b.m_date + CDateTimeSpan(1, 0, 0, 0); }));
    EXPECT_TRUE(differs([](CBarrage& b) { b.m_date = CDateTime(); }));
    EXPECT_TRUE(differs([](CBarrage& b) { b.m_startTime = T(8, 0, 1); }));
    EXPECT_TRUE(differs([](CBarrage& b) { b.m_endTime = T(12, 0, 1); }));
    EXPECT_TRUE(differs([](CBarrage& b) { b.m_endTime = CDateTime::Invalid(); }));
    EXPECT_TRUE(differs([](CBarrage& b) { b.m_barrierType = 1; }));
    EXPECT_TRUE(differs([](CBarrage& b) { b.m_priority = 0; }));
    // Not displayed differently: the time of a date, the date of a time, the delay-until moment.
    EXPECT_FALSE(differs([](CBarrage& b) { b.m_date += CDateTimeSpan(0, 5, 0, 0); }));
    EXPECT_FALSE(differs([](CBarrage& b) { b.m_startTime += CDateTimeSpan(3, 0, 0, 0); }));
    EXPECT_FALSE(differs([](CBarrage& b) { b.m_delayUntil = Monday(23); }));

    // A zero or non-valid date shows nothing; a non-valid time shows nothing, zero shows 00:00:00.
    EXPECT_TRUE(SameDisplayDate(CDateTime(), CDateTime::Invalid()));
    EXPECT_TRUE(SameDisplayDate(CDateTime::Null(), CDateTime::Invalid()));
    EXPECT_FALSE(SameDisplayDate(CDateTime(), T(12)));
    EXPECT_TRUE(SameDisplayTime(CDateTime::Null(), CDateTime::Invalid()));
    EXPECT_FALSE(SameDisplayTime(CDateTime(), CDateTime::Invalid()));
    EXPECT_TRUE(SameDisplayTime(CDateTime(), Monday(0)));
}

TEST_F(BarrageFileTest, SavesAndLoadsRecordsWithDefaultsOmitted)
{
    CBarrage full = Barrier(" padded ", DATETYPE_SPECIAL, T(8), T(12, 30, 15), 2, 8);
    CProfile profile(m_path);
    ASSERT_TRUE(full.Save(profile, 1));
    EXPECT_EQ(ConfigLocation().FileTimeMemo(), FileTimeNs(m_path));
    CBarrage plain = Barrier("plain", DATETYPE_NONE, T(0), T(23, 59, 59), 0, 0);
    ASSERT_TRUE(plain.Save(profile, 2));

    const QByteArray bytes = FileBytes();
    EXPECT_TRUE(bytes.contains("BarrageName=\" padded \"\r\n"));
    EXPECT_TRUE(bytes.contains("BarrageDate=2024-05-13\r\n"));
    EXPECT_TRUE(bytes.contains("BarrageEndTime=1899-12-30 12:30:15\r\n"));
    EXPECT_TRUE(bytes.contains("BarragePriority=8\r\n"));
    const QByteArray second = bytes.mid(bytes.indexOf("[Barrage2]"));
    EXPECT_FALSE(second.contains("DateType"));
    EXPECT_FALSE(second.contains("BarrageType"));
    EXPECT_FALSE(second.contains("BarragePriority"));

    CBarrageArray list;
    list.Load(profile);
    ASSERT_EQ(list.size(), 2);
    EXPECT_TRUE(list[0].IsSameAs(full));
    EXPECT_EQ(list[0].m_name, QStringLiteral(" padded "));
    EXPECT_TRUE(list[1].IsSameAs(plain));
    EXPECT_EQ(list[1].m_priority, 0);
}

TEST_F(BarrageFileTest, LoadEndsAtFirstUnreadableRecord)
{
    WriteFile("[Barrage1]\r\nBarrageName=odd type\r\nBarrageType=7\r\nDateType=99\r\n"
              "BarrageStartTime=1899-12-30 08:00:00\r\nBarrageEndTime=1899-12-30 09:00:00\r\n"
              "[Barrage2]\r\nBarrageName=no times\r\n"
              "[Barrage3]\r\nBarrageName=bad time\r\nBarrageStartTime=25:99:99 nonsense\r\n"
              "[Barrage4]\r\nBarrageName=never read\r\n");
    CProfile profile(m_path);
    CBarrageArray list;
    list << Barrier("stale", DATETYPE_MONDAY, T(1), T(2));
    list.Load(profile);
    ASSERT_EQ(list.size(), 2);
    EXPECT_EQ(list[0].m_barrierType, 7);
    EXPECT_EQ(list[0].m_dateType, 99);
    EXPECT_EQ(list[0].m_priority, 0);
    // Missing dates and times read as the current moment.
    EXPECT_EQ(list[1].m_date, FixedNow());
    EXPECT_EQ(list[1].m_startTime, FixedNow());

    WriteFile("[Barrage1]\r\nBarrageName=\r\n[Barrage2]\r\nBarrageName=after empty\r\n");
    list.Load(profile);
    EXPECT_TRUE(list.isEmpty());
}

TEST_F(BarrageFileTest, ListSaveRewritesFromOneAndLeavesHigherSections)
{
    CProfile profile(m_path);
    CBarrageArray list;
    for (int i = 1; i <= 5; ++i)
        list << Barrier(QByteArray::number(i).constData(), DATETYPE_MONDAY, T(i), T(i + 1));
    list.SetModified();
    ASSERT_TRUE(list.Save(profile));

    CBarrageArray loaded;
    loaded.Load(profile);
    ASSERT_EQ(loaded.size(), 5);
    loaded.remove(1, 2);
    // Not modified: nothing is written.
    ASSERT_TRUE(loaded.Save(profile));
    EXPECT_EQ(profile.ReadString(QStringLiteral("Barrage4"), QStringLiteral("BarrageName"), QString()),
        QStringLiteral("4"));
    loaded.SetModified();
    ASSERT_TRUE(loaded.Save(profile));
    EXPECT_EQ(ConfigLocation().FileTimeMemo(), FileTimeNs(m_path));
    EXPECT_FALSE(FileBytes().contains("[Barrage4]"));
    EXPECT_EQ(profile.ReadString(QStringLiteral("Barrage5"), QStringLiteral("BarrageName"), QString()),
        QStringLiteral("5"));

    CBarrageArray reloaded;
    reloaded.Load(profile);
    ASSERT_EQ(reloaded.size(), 3);
    EXPECT_EQ(Names(reloaded), QStringLiteral("1,4,5"));

    CBarrageArray empty;
    empty.SetModified();
    ASSERT_TRUE(empty.Save(profile));
    reloaded.Load(profile);
    EXPECT_TRUE(reloaded.isEmpty());
}
