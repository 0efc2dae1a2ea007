#include "schedule/Holiday.h"

#include <algorithm>
#include <array>
#include <utility>

#include <QCoreApplication>
#include <QSet>

#include "schedule/ConfigLocation.h"
#include "schedule/DayContext.h"
#include "schedule/Profile.h"

namespace {

const QString kNameKey = QStringLiteral("HolidayName");
const QString kDateKey = QStringLiteral("HolidayDate");
const QString kSettingsSection = QStringLiteral("Settings");
const QString kWorkDaysKey = QStringLiteral("WorkDays");
// The older form of the work-day mask: one flag per weekday.
const QString kWorkDaysSection = QStringLiteral("WorkDays");

// One statutory holiday: a fixed day of the year (month and day), or, with month 0, a day
// counted from Easter Sunday.
struct CStatutoryRule
{
    const char* name;
    int month;
    int day;
};

// In the order in which a year's holidays are appended.
constexpr std::array<CStatutoryRule, 11> kStatutoryRules = { {
    { QT_TRANSLATE_NOOP("CHolidaysArray", "New Year"), 1, 1 },
    { QT_TRANSLATE_NOOP("CHolidaysArray", "Good Friday"), 0, -2 },
    { QT_TRANSLATE_NOOP("CHolidaysArray", "Easter Sunday"), 0, 0 },
    { QT_TRANSLATE_NOOP("CHolidaysArray", "Easter Monday"), 0, 1 },
    { QT_TRANSLATE_NOOP("CHolidaysArray", "Labour Day"), 5, 1 },
    { QT_TRANSLATE_NOOP("CHolidaysArray", "Ascension Day "), 0, 39 },
    { QT_TRANSLATE_NOOP("CHolidaysArray", "Whitsunday"), 0, 49 },
    { QT_TRANSLATE_NOOP("CHolidaysArray", "Whitmonday"), 0, 50 },
    { QT_TRANSLATE_NOOP("CHolidaysArray", "German Unification Day"), 10, 3 },
    { QT_TRANSLATE_NOOP("CHolidaysArray", "Christmas Day"), 12, 25 },
    { QT_TRANSLATE_NOOP("CHolidaysArray", "Boxing Day"), 12, 26 },
} };

using StatutoryNames = std::array<QString, kStatutoryRules.size()>;

// The names in the user-interface language, translated once per generation and shared by all the
// years' records.
StatutoryNames TranslatedStatutoryNames()
{
    StatutoryNames names;
    for (size_t i = 0; i < kStatutoryRules.size(); ++i)
        names[i] = QCoreApplication::translate("CHolidaysArray", kStatutoryRules[i].name);
    return names;
}

bool AppendStatutoryYear(CHolidaysArray& holidays, const StatutoryNames& names, int year)
{
    const QDate easter = EasterSunday(year);
    if (!easter.isValid())
        return false;
    for (size_t i = 0; i < kStatutoryRules.size(); ++i) {
        const CStatutoryRule& rule = kStatutoryRules[i];
        const QDate date = rule.month != 0 ? QDate(year, rule.month, rule.day) : easter.addDays(rule.day);
        holidays.append(CHoliday(names[i], CDateTime(date)));
    }
    return true;
}

constexpr qint64 kSecondsPerDay = 86400;

// Whether a holiday falls on the day (a day number of CDateTime). A holiday without a valid date
// falls on no day. Compares the seconds with the day's bounds: no division per record.
bool HasHolidayOn(const CHolidaysArray& holidays, qint64 day)
{
    const qint64 first = day * kSecondsPerDay;
    for (const CHoliday& holiday : holidays) {
        const qint64 offset = holiday.m_date.SecondsSinceBase() - first;
        if (offset >= 0 && offset < kSecondsPerDay && holiday.m_date.IsValid())
            return true;
    }
    return false;
}

void ResetDayFlags(CDayContext& context)
{
    context.m_holiday = false;
    context.m_workingDay = false;
    context.m_weekend = false;
    context.m_dayBeforeHoliday = false;
    context.m_dayAfterHoliday = false;
    context.ClearMarkers();
}

} // namespace

// --- CHoliday -------------------------------------------------------------------------------------

CHoliday::CHoliday()
    : m_date(CDateTime::GetCurrentTime())
{ }

CHoliday::CHoliday(const QString& name, const CDateTime& date)
    : m_name(name)
    , m_date(date)
{ }

bool CHoliday::Load(CProfile& profile, int index)
{
    const CSection section(profile, BaseName(), index);
    section.Read(kNameKey, m_name, QString());
    if (m_name.isEmpty())
        return false;
    QString text;
    section.Read(kDateKey, text, QString());
    // The stored form, and the dotted and locale forms of older files; a text that gives no valid
    // date ends the list like one that does not parse.
    CDateTime date;
    if (!DateTimeFromText(text, date) || !date.IsValid())
        return false;
    m_date = date;
    return true;
}

bool CHoliday::Save(CProfile& profile, int index) const
{
    return SaveRecordSection(profile, index, *this);
}

void CHoliday::WriteKeys(CSection& section) const
{
    section.Write(kNameKey, m_name);
    // The storage form, the same in every locale (a short locale form may be read differently
    // elsewhere, and its two-digit years would shift by a century).
    section.Write(kDateKey, DateToText(m_date));
}

// --- CHolidaysArray -------------------------------------------------------------------------------

void CHolidaysArray::SortByDate()
{
    std::stable_sort(begin(), end(),
        [](const CHoliday& a, const CHoliday& b) { return a.m_date.DayNumber() < b.m_date.DayNumber(); });
}

bool CHolidaysArray::AddStatutoryHolidays(int year)
{
    if (!EasterSunday(year).isValid())
        return false;
    return AppendStatutoryYear(*this, TranslatedStatutoryNames(), year);
}

bool CHolidaysArray::MarkHoliday(CDayContext& context) const
{
    if (!context.m_moment.IsValid() || !HasHolidayOn(*this, context.m_moment.DayNumber()))
        return false;
    context.m_holiday = true;
    context.m_workingDay = false;
    context.m_weekend = false;
    return true;
}

bool CHolidaysArray::MarkDayBefore(CDayContext& context) const
{
    if (!context.m_moment.IsValid() || !HasHolidayOn(*this, context.m_moment.DayNumber() + 1))
        return false;
    context.m_dayBeforeHoliday = true;
    return true;
}

bool CHolidaysArray::MarkDayAfter(CDayContext& context) const
{
    if (!context.m_moment.IsValid() || !HasHolidayOn(*this, context.m_moment.DayNumber() - 1))
        return false;
    context.m_dayAfterHoliday = true;
    return true;
}

// --- classification -------------------------------------------------------------------------------

bool MarkWorkingDay(int workDays, CDayContext& context)
{
    context.m_workingDay = false;
    context.m_weekend = false;
    if (context.m_holiday || !context.m_moment.IsValid())
        return false;
    // Day of week 1 (Sunday) to 7 (Saturday); bit 0 is Monday, bit 6 Sunday.
    const int bit = (context.m_moment.GetDayOfWeek() + 5) % 7;
    if (workDays & (1 << bit)) {
        context.m_workingDay = true;
        return true;
    }
    context.m_weekend = true;
    return false;
}

void ClassifyDay(const CHolidaysArray& holidays, int workDays, CDayContext& context)
{
    ResetDayFlags(context);
    if (context.m_moment.IsValid()) {
        // The three holiday tests in one pass over the list; same result as MarkHoliday,
        // MarkDayBefore and MarkDayAfter one after the other. The offset counts from the start of
        // the previous day.
        const qint64 first = (context.m_moment.DayNumber() - 1) * kSecondsPerDay;
        bool on = false, before = false, after = false;
        for (const CHoliday& holiday : holidays) {
            const qint64 offset = holiday.m_date.SecondsSinceBase() - first;
            if (offset < 0 || offset >= 3 * kSecondsPerDay || !holiday.m_date.IsValid())
                continue;
            if (offset < kSecondsPerDay)
                after = true;
            else if (offset < 2 * kSecondsPerDay)
                on = true;
            else
                before = true;
            if (on && before && after)
                break;
        }
        context.m_holiday = on;
        context.m_dayBeforeHoliday = before;
        context.m_dayAfterHoliday = after;
    }
    MarkWorkingDay(workDays, context);
}

void ClassifyHolidayAndWorkingDay(const CHolidaysArray& holidays, int workDays, CDayContext& context)
{
    ResetDayFlags(context);
    holidays.MarkHoliday(context);
    MarkWorkingDay(workDays, context);
}

// --- work-day mask --------------------------------------------------------------------------------

int LoadWorkDays(CProfile& profile)
{
    static const std::array<QString, 7> kDayKeys = { QStringLiteral("Monday"), QStringLiteral("Tuesday"),
        QStringLiteral("Wednesday"), QStringLiteral("Thursday"), QStringLiteral("Friday"),
        QStringLiteral("Saturday"), QStringLiteral("Sunday") };
    CProfile::Batch batch(profile);
    const CSection older(profile, kWorkDaysSection);
    int mask = 0;
    for (size_t bit = 0; bit < kDayKeys.size(); ++bit) {
        bool working = false;
        older.Read(kDayKeys[bit], working, bit < 5);
        if (working)
            mask |= 1 << bit;
    }
    int workDays = 0;
    CSection(profile, kSettingsSection).Read(kWorkDaysKey, workDays, mask);
    return workDays & kWorkDaysMask;
}

void SaveWorkDays(CProfile& profile, int workDays)
{
    {
        CProfile::Batch batch(profile);
        CSection(profile, kWorkDaysSection).Delete();
        CSection(profile, kSettingsSection).Write(kWorkDaysKey, workDays & kWorkDaysMask);
    }
    ConfigLocation().RecordFileTime();
}

// --- Easter and generation ------------------------------------------------------------------------

QDate EasterSunday(int year)
{
    if (year < 1583 || year > 9999)
        return QDate();
    // The anonymous Gregorian computus (Meeus, Jones, Butcher), with the lunar and solar
    // corrections of every century and both exceptions of the Paschal full moon.
    const int a = year % 19;
    const int b = year / 100;
    const int c = year % 100;
    const int d = b / 4;
    const int e = b % 4;
    const int f = (b + 8) / 25;
    const int g = (b - f + 1) / 3;
    const int h = (19 * a + b - d - g + 15) % 30;
    const int i = c / 4;
    const int k = c % 4;
    const int l = (32 + 2 * e + 2 * i - h - k) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    const int n = h + l - 7 * m + 114;
    return QDate(year, n / 31, n % 31 + 1);
}

bool GenerateStatutoryHolidays(CHolidaysArray& holidays, int first, int last)
{
    if (last < first)
        std::swap(first, last);
    if (first <= 1900 || last >= 2100)
        return false;
    const StatutoryNames names = TranslatedStatutoryNames();
    CHolidaysArray generated;
    generated.reserve(qsizetype(last - first + 1) * qsizetype(kStatutoryRules.size()));
    for (int year = first; year <= last; ++year)
        AppendStatutoryYear(generated, names, year);
    // A holiday of the same day and name that the list holds already is not added again: a year
    // generated twice stays one year.
    QSet<std::pair<qint64, QString>> present;
    present.reserve(holidays.size());
    for (const CHoliday& holiday : std::as_const(holidays))
        present.insert({ holiday.m_date.DayNumber(), holiday.m_name });
    holidays.reserve(holidays.size() + generated.size());
    for (const CHoliday& holiday : std::as_const(generated)) {
        if (!present.contains({ holiday.m_date.DayNumber(), holiday.m_name }))
            holidays.append(holiday);
    }
    if (last - first < 50)
        holidays.SortByDate();
    holidays.SetModified();
    return true;
}
