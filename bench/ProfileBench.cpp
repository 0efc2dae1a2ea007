// The configuration file layer on a configuration of realistic size: 2,189 holidays, 1,000
// barriers and 1,000 shifts (Arg 2 doubles every count). Budgets: reading every key of every
// list from a file changed on disk within 100 ms; saving the holidays within 200 ms; doubling the
// records at most doubles the times.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <malloc.h>
#include <sys/stat.h>

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "schedule/Holiday.h"
#include "schedule/Profile.h"

namespace {

constexpr int kHolidays = 2189;
constexpr int kBarriers = 1000;
constexpr int kShifts = 1000;

const QString kHoliday = QStringLiteral("Holiday");
const QString kBarrage = QStringLiteral("Barrage");
const QString kShift = QStringLiteral("Shift");

QByteArray ConfigText(int scale)
{
    QByteArray text = "[Settings]\r\nLanguage=1\r\nPassword=\r\nAutoActivate=1\r\nWorkTimeFrom=07:00\r\n"
                      "WorkTimeTo=17:00\r\nOnClose=0\r\nWorkDays=31\r\nTakeoverRequest=Please take over\r\n"
                      "TakeoverConfirm=Taken over\r\nTakeoverTimeout=300\r\n";
    for (int i = 1; i <= kHolidays * scale; ++i) {
        text += "[Holiday" + QByteArray::number(i) + "]\r\nHolidayName=Holiday number "
            + QByteArray::number(i) + "\r\nHolidayDate=" + QByteArray::number(1900 + i / 365) + "-05-01\r\n";
    }
    for (int i = 1; i <= kBarriers * scale; ++i) {
        text += "[Barrage" + QByteArray::number(i) + "]\r\nBarrageName=\" Barrier " + QByteArray::number(i)
            + " \"\r\nDateType=" + QByteArray::number(i % 13 + 1)
            + "\r\nBarrageDate=1899-12-30\r\nBarrageStartTime=1899-12-30 22:00:00\r\n"
              "BarrageEndTime=1899-12-30 23:59:59\r\nBarrageType=2\r\nBarragePriority=4\r\n";
    }
    for (int i = 1; i <= kShifts * scale; ++i) {
        text += "[Shift" + QByteArray::number(i) + "]\r\nShiftName=Shift " + QByteArray::number(i)
            + "\r\nDateType=10\r\nShiftDate=1899-12-30\r\nShiftStartTime=1899-12-30 06:00:00\r\n"
              "ShiftEndTime=1899-12-30 13:59:59\r\nShiftNumber=3\r\nIsRotatingShift=1\r\n"
              "StartingCalenderWeek=9\r\nWeekCycle=3\r\n";
    }
    text += "[Window]\r\nWindowX=10\r\nWindowY=20\r\nWindowR=800\r\nWindowB=600\r\n";
    return text;
}

struct CBenchFile
{
    explicit CBenchFile(int scale)
        : path(dir.filePath(QStringLiteral("kelvaris.cfg")))
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(ConfigText(scale)) < 0)
            std::abort();
    }

    // Gives the file another modification time, so the next access reads it again.
    void Touch()
    {
        static qint64 seconds = 1'000'000'000;
        const timespec times[2] = { { ++seconds, 0 }, { seconds, 0 } };
        ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0);
    }

    QTemporaryDir dir;
    QString path;
};

struct CHolidayRecord
{
    QString name;
    QString date;
};

struct CBarrierRecord
{
    QString name, date, start, end;
    int dateType = 0, type = 0, priority = 0;
};

struct CShiftRecord
{
    QString name, date, start, end;
    int dateType = 0, number = 0, startWeek = 0, cycle = 0;
    bool rotating = false;
};

void ReadEverything(CProfile& profile, benchmark::State& state)
{
    QList<CHolidayRecord> holidays;
    LoadNumberedSections(profile, holidays, [&profile](CHolidayRecord& r, int index) {
        const CSection section(profile, kHoliday, index);
        section.Read(QStringLiteral("HolidayName"), r.name, QString());
        section.Read(QStringLiteral("HolidayDate"), r.date, QString());
        return !r.name.isEmpty();
    });
    QList<CBarrierRecord> barriers;
    LoadNumberedSections(profile, barriers, [&profile](CBarrierRecord& r, int index) {
        const CSection section(profile, kBarrage, index);
        section.Read(QStringLiteral("BarrageName"), r.name, QString());
        section.Read(QStringLiteral("DateType"), r.dateType, 0);
        section.Read(QStringLiteral("BarrageDate"), r.date, QString());
        section.Read(QStringLiteral("BarrageStartTime"), r.start, QString());
        section.Read(QStringLiteral("BarrageEndTime"), r.end, QString());
        section.Read(QStringLiteral("BarrageType"), r.type, 0);
        section.Read(QStringLiteral("BarragePriority"), r.priority, 0);
        return !r.name.isEmpty();
    });
    QList<CShiftRecord> shifts;
    LoadNumberedSections(profile, shifts, [&profile](CShiftRecord& r, int index) {
        const CSection section(profile, kShift, index);
        section.Read(QStringLiteral("ShiftName"), r.name, QString());
        section.Read(QStringLiteral("DateType"), r.dateType, 0);
        section.Read(QStringLiteral("ShiftDate"), r.date, QString());
        section.Read(QStringLiteral("ShiftStartTime"), r.start, QString());
        section.Read(QStringLiteral("ShiftEndTime"), r.end, QString());
        section.Read(QStringLiteral("ShiftNumber"), r.number, 0);
        section.Read(QStringLiteral("IsRotatingShift"), r.rotating, false);
        section.Read(QStringLiteral("StartingCalenderWeek"), r.startWeek, 0);
        section.Read(QStringLiteral("WeekCycle"), r.cycle, 0);
        return !r.name.isEmpty();
    });
    const int scale = static_cast<int>(state.range(0));
    if (holidays.size() != kHolidays * scale || barriers.size() != kBarriers * scale
        || shifts.size() != kShifts * scale || barriers.front().name != " Barrier 1 ") {
        state.SkipWithError("records missing");
    }
    benchmark::DoNotOptimize(holidays.data());
}

// (a) Every key of every list, in list order, from a file changed on disk.
void BM_ColdReadAllLists(benchmark::State& state)
{
    CBenchFile file(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        file.Touch();
        state.ResumeTiming();
        CProfile profile(file.path);
        ReadEverything(profile, state);
    }
}
BENCHMARK(BM_ColdReadAllLists)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// The parts of (a): reading the file alone, and reading every key from the parsed file.
void BM_ColdParseOnly(benchmark::State& state)
{
    CBenchFile file(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        file.Touch();
        state.ResumeTiming();
        CProfile profile(file.path);
        benchmark::DoNotOptimize(
            profile.ReadString(QStringLiteral("Settings"), QStringLiteral("Language"), QString()));
    }
}
BENCHMARK(BM_ColdParseOnly)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_WarmReadAllLists(benchmark::State& state)
{
    CBenchFile file(static_cast<int>(state.range(0)));
    CProfile profile(file.path);
    for (auto _ : state)
        ReadEverything(profile, state);
}
BENCHMARK(BM_WarmReadAllLists)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// (b) Saving the holiday list through the numbered-section save (one atomic file replacement).
void BM_SaveHolidays(benchmark::State& state)
{
    const int scale = static_cast<int>(state.range(0));
    CBenchFile file(scale);
    QList<CHolidayRecord> holidays;
    for (int i = 1; i <= kHolidays * scale; ++i)
        holidays.append({ QStringLiteral("Holiday number %1").arg(i), QStringLiteral("2024-05-01") });
    for (auto _ : state) {
        CProfile profile(file.path);
        const bool ok
            = SaveNumberedSections(profile, kHoliday, holidays.size(), [&](qsizetype i, CSection& section) {
                  section.Write(QStringLiteral("HolidayName"), holidays[i].name);
                  section.Write(QStringLiteral("HolidayDate"), holidays[i].date);
              });
        if (!ok)
            state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_SaveHolidays)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// One setting written outside a batch: the whole file is replaced.
void BM_WriteOneSetting(benchmark::State& state)
{
    CBenchFile file(static_cast<int>(state.range(0)));
    CProfile profile(file.path);
    int value = 0;
    for (auto _ : state)
        profile.WriteString(
            QStringLiteral("Settings"), QStringLiteral("Language"), QString::number(++value % 5));
}
BENCHMARK(BM_WriteOneSetting)->Arg(1)->Unit(benchmark::kMillisecond);

// One read of an unchanged file outside a batch: a status check of the file and a lookup.
void BM_ReadStringUnchanged(benchmark::State& state)
{
    CBenchFile file(static_cast<int>(state.range(0)));
    file.Touch(); // a time stamp well in the past: no content comparison needed
    const CProfile profile(file.path);
    const QString section = QStringLiteral("Shift700");
    const QString key = QStringLiteral("ShiftEndTime");
    if (profile.ReadString(section, key, QString()).isEmpty())
        state.SkipWithError("key missing");
    for (auto _ : state)
        benchmark::DoNotOptimize(profile.ReadString(section, key, QString()));
}
BENCHMARK(BM_ReadStringUnchanged)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace

namespace {
// Resident memory of the process in bytes (VmRSS).
double ResidentBytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() * 1024;
    }
    return 0;
}
} // namespace

// A configuration of 50 MB (about 690,000 holidays), read into the holiday list as the engine reads
// it, the parsed file released afterwards. Budget: 2 s; resident memory afterwards at most three
// times the file (the counter "rss_per_file_byte").
void BM_FiftyMegabyteConfiguration(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kelvaris.cfg"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            std::abort();
        QByteArray text = "[Settings]\r\nWorkDays=31\r\n";
        for (int i = 1; text.size() < 50 * 1024 * 1024; ++i)
            text += "[Holiday" + QByteArray::number(i) + "]\r\nHolidayName=Holiday number "
                + QByteArray::number(i) + "\r\nHolidayDate=20" + QByteArray::number(10 + i % 80)
                + "-05-01\r\n";
        file.write(text);
    }
    const double fileBytes = double(QFileInfo(path).size());
    const double before = ResidentBytes();
    for (auto _ : state) {
        CProfile profile(path);
        CHolidaysArray holidays;
        holidays.Load(profile);
        profile.ReleaseParsed();
        ::malloc_trim(0);
        state.PauseTiming();
        state.counters["rss_per_file_byte"] = (ResidentBytes() - before) / fileBytes;
        state.counters["holidays"] = double(holidays.size());
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FiftyMegabyteConfiguration)->Iterations(1)->Unit(benchmark::kMillisecond);
