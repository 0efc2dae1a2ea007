#include <benchmark/benchmark.h>

#include <QLocale>

#include "schedule/DateTime.h"
#include "schedule/SiteClock.h"

// The parser runs for every stored date and for every dispatch request's time; the display forms
// and the ISO week for every logbook line, published value and plan caption.

static void BM_DateTimeFromText(benchmark::State& state, const char* form)
{
    const QString text = QString::fromLatin1(form);
    CDateTime value;
    for (auto _ : state) {
        benchmark::DoNotOptimize(DateTimeFromText(text, value));
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK_CAPTURE(BM_DateTimeFromText, Now, "DT#NOW");
BENCHMARK_CAPTURE(BM_DateTimeFromText, StorageForm, "2024-01-31 12:30:00");
BENCHMARK_CAPTURE(BM_DateTimeFromText, DottedDate, "24.12.2024");
BENCHMARK_CAPTURE(BM_DateTimeFromText, IsoDate, "2024-01-31");

static void BM_DateTimeToText(benchmark::State& state)
{
    const CDateTime value(2024, 1, 31, 12, 30, 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(DateTimeToText(value));
}
BENCHMARK(BM_DateTimeToText);

static void BM_DateTime_FormatTime(benchmark::State& state)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const CDateTime value = CDateTime::TimeOfDay(22, 15, 30);
    for (auto _ : state)
        benchmark::DoNotOptimize(FormatDateTime(value, DTF_TIME));
}
BENCHMARK(BM_DateTime_FormatTime);

static void BM_DateTime_FormatDateAndTime(benchmark::State& state)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const CDateTime value(2024, 1, 31, 22, 15, 30);
    for (auto _ : state)
        benchmark::DoNotOptimize(FormatDateTime(value, DTF_DATETIME));
}
BENCHMARK(BM_DateTime_FormatDateAndTime);

static void BM_DateTime_WeekNumber(benchmark::State& state)
{
    CDateTime value(2021, 1, 1, 0, 0, 0);
    const CDateTimeSpan day(1, 0, 0, 0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(value.ToQDate().weekNumber());
        value += day;
        if (value.GetStatus() != CDateTime::Status::Valid)
            value = CDateTime(2021, 1, 1, 0, 0, 0);
    }
}
BENCHMARK(BM_DateTime_WeekNumber);

// The clock of a time-less check: the system's zone (the C library's), or a zone the site names.
static void BM_DateTime_CurrentTime(benchmark::State& state, const char* siteZone)
{
    SetSiteClockZoneFrom(QString::fromLatin1(siteZone));
    for (auto _ : state)
        benchmark::DoNotOptimize(CDateTime::GetCurrentTime());
    SetSiteClockZone(QTimeZone());
}
BENCHMARK_CAPTURE(BM_DateTime_CurrentTime, SystemZone, "");
BENCHMARK_CAPTURE(BM_DateTime_CurrentTime, SiteZone, "Europe/Berlin");
