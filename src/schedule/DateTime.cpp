#include "schedule/DateTime.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <charconv>
#include <climits>
#include <ctime>
#include <string_view>

#include <QLocale>
#include <QStringList>

#include "schedule/SiteClock.h"
#include "schedule/TextList.h"
#include "support/Regex.h"
#include "support/Scan.h"

namespace {

constexpr qint64 kSecondsPerDay = 86400;
constexpr qint64 kBaseJulianDay = 2415019; // 1899-12-30
constexpr qint64 kMinDay = -657434; // 0100-01-01
constexpr qint64 kMaxDay = 2958465; // 9999-12-31
constexpr qint64 kMinSeconds = kMinDay * kSecondsPerDay;
constexpr qint64 kMaxSeconds = kMaxDay * kSecondsPerDay + kSecondsPerDay - 1;

// No date or time text is anywhere near this long; longer texts are refused before any work.
constexpr qsizetype kMaxDateTextLength = 256;

std::atomic<CurrentTimeSource> g_timeSource { nullptr };

constexpr qint64 FloorMod(qint64 a, qint64 b)
{
    return a - CDateTime::FloorDiv(a, b) * b;
}

// 1 = Sunday ... 7 = Saturday; the base date was a Saturday.
constexpr int WeekdayOfDay(qint64 dayNumber)
{
    return int(FloorMod(dayNumber + 6, 7)) + 1;
}

bool DayNumberOf(int year, int month, int day, qint64& dayNumber)
{
    if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31)
        return false;
    const QDate date(year, month, day);
    if (!date.isValid())
        return false;
    dayNumber = date.toJulianDay() - kBaseJulianDay;
    return true;
}

constexpr bool TimeInRange(int hour, int minute, int second)
{
    return hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59 && second >= 0 && second <= 59;
}

QDate QDateOfDay(qint64 dayNumber)
{
    return QDate::fromJulianDay(dayNumber + kBaseJulianDay);
}

} // namespace

// --- CDateTime ------------------------------------------------------------------------------------

CDateTime::CDateTime(int year, int month, int day, int hour, int minute, int second)
{
    SetDateTime(year, month, day, hour, minute, second);
}

CDateTime::CDateTime(const QDate& date)
{
    if (!date.isValid())
        SetStatus(Status::Invalid);
    else
        SetDate(date.year(), date.month(), date.day());
}

CDateTime::CDateTime(const QDateTime& dateTime)
{
    if (!dateTime.isValid()) {
        SetStatus(Status::Invalid);
        return;
    }
    // A moment given in UTC or with an offset is taken as the site's wall-clock time it stands
    // for; a local time's fields are taken as they stand.
    if (dateTime.timeSpec() != Qt::LocalTime) {
        *this = SiteWallClockAt(dateTime.toMSecsSinceEpoch());
        return;
    }
    const QDate date = dateTime.date();
    const QTime time = dateTime.time();
    SetDateTime(date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second());
}

CDateTime CDateTime::FromSecondsSinceBase(qint64 seconds)
{
    if (seconds < kMinSeconds || seconds > kMaxSeconds)
        return Invalid();
    return CDateTime(seconds, Status::Valid);
}

CDateTime CDateTime::TimeOfDay(int hour, int minute, int second)
{
    CDateTime value;
    value.SetTime(hour, minute, second);
    return value;
}

CDateTime CDateTime::GetCurrentTime()
{
    if (const CurrentTimeSource source = g_timeSource.load(std::memory_order_acquire))
        return source();
    return SystemCurrentTime();
}

bool CDateTime::SetDateTime(int year, int month, int day, int hour, int minute, int second)
{
    qint64 dayNumber = 0;
    if (!TimeInRange(hour, minute, second) || !DayNumberOf(year, month, day, dayNumber)) {
        SetStatus(Status::Invalid);
        return false;
    }
    m_seconds = dayNumber * kSecondsPerDay + hour * 3600 + minute * 60 + second;
    m_status = Status::Valid;
    return true;
}

bool CDateTime::SetDate(int year, int month, int day)
{
    return SetDateTime(year, month, day, 0, 0, 0);
}

bool CDateTime::SetTime(int hour, int minute, int second)
{
    if (!TimeInRange(hour, minute, second)) {
        SetStatus(Status::Invalid);
        return false;
    }
    m_seconds = hour * 3600 + minute * 60 + second;
    m_status = Status::Valid;
    return true;
}

void CDateTime::SetStatus(Status status)
{
    m_status = status;
    if (status != Status::Valid)
        m_seconds = 0;
}

void CDateTime::GetDate(int& year, int& month, int& day) const
{
    if (!IsValid()) {
        year = month = day = 0;
        return;
    }
    QDateOfDay(DayNumber()).getDate(&year, &month, &day);
}

void CDateTime::GetTime(int& hour, int& minute, int& second) const
{
    if (!IsValid()) {
        hour = minute = second = 0;
        return;
    }
    const int secondOfDay = SecondOfDay();
    hour = secondOfDay / 3600;
    minute = secondOfDay / 60 % 60;
    second = secondOfDay % 60;
}

int CDateTime::GetYear() const
{
    return IsValid() ? QDateOfDay(DayNumber()).year() : 0;
}
int CDateTime::GetMonth() const
{
    return IsValid() ? QDateOfDay(DayNumber()).month() : 0;
}
int CDateTime::GetDay() const
{
    return IsValid() ? QDateOfDay(DayNumber()).day() : 0;
}
int CDateTime::GetHour() const
{
    return IsValid() ? SecondOfDay() / 3600 : 0;
}
int CDateTime::GetMinute() const
{
    return IsValid() ? SecondOfDay() / 60 % 60 : 0;
}
int CDateTime::GetSecond() const
{
    return IsValid() ? SecondOfDay() % 60 : 0;
}
int CDateTime::GetDayOfWeek() const
{
    return IsValid() ? WeekdayOfDay(DayNumber()) : 0;
}
int CDateTime::GetDayOfYear() const
{
    return IsValid() ? QDateOfDay(DayNumber()).dayOfYear() : 0;
}

QDate CDateTime::ToQDate() const
{
    return IsValid() ? QDateOfDay(DayNumber()) : QDate();
}

QTime CDateTime::ToQTime() const
{
    if (!IsValid())
        return QTime();
    return QTime::fromMSecsSinceStartOfDay(SecondOfDay() * 1000);
}

QDateTime CDateTime::ToQDateTime() const
{
    return IsValid() ? QDateTime(ToQDate(), ToQTime()) : QDateTime();
}

CDateTime CDateTime::operator+(CDateTimeSpan span) const
{
    if (!IsValid())
        return *this;
    qint64 seconds = 0;
    if (__builtin_add_overflow(m_seconds, span.GetTotalSeconds(), &seconds))
        return Invalid();
    return FromSecondsSinceBase(seconds);
}

CDateTimeSpan CDateTime::operator-(const CDateTime& other) const
{
    if (!IsValid() || !other.IsValid())
        return {};
    return CDateTimeSpan::FromSeconds(m_seconds - other.m_seconds);
}

// --- current moment -------------------------------------------------------------------------------

void SetCurrentTimeSource(CurrentTimeSource source)
{
    g_timeSource.store(source, std::memory_order_release);
}

CDateTime SystemCurrentTime()
{
    return SiteWallClockAt(CurrentUtcMs());
}

bool HasCurrentTimeSource()
{
    return g_timeSource.load(std::memory_order_acquire) != nullptr;
}

// --- locale pictures ------------------------------------------------------------------------------

namespace {

// A Qt date/time picture cut into fields (runs of one letter), quoted literals and other literals.
struct CPictureToken
{
    enum Kind { Field, Quoted, Literal };
    Kind kind;
    QString text;
};

QList<CPictureToken> TokenizePicture(const QString& picture)
{
    QList<CPictureToken> tokens;
    const qsizetype size = picture.size();
    qsizetype i = 0;
    while (i < size) {
        const QChar c = picture[i];
        qsizetype end = i + 1;
        CPictureToken::Kind kind = CPictureToken::Literal;
        if (c == u'\'') {
            kind = CPictureToken::Quoted;
            while (end < size && picture[end] != u'\'')
                ++end;
            if (end < size)
                ++end; // the closing quote
        } else if (c.isLetter() && c.unicode() < 0x80) {
            kind = CPictureToken::Field;
            while (end < size && picture[end] == c)
                ++end;
        } else {
            while (end < size && picture[end] != u'\''
                && !(picture[end].isLetter() && picture[end].unicode() < 0x80))
                ++end;
        }
        tokens.append({ kind, picture.mid(i, end - i) });
        i = end;
    }
    return tokens;
}

bool IsFieldOf(const CPictureToken& token, char16_t letter)
{
    return token.kind == CPictureToken::Field && token.text.front() == QChar(letter);
}

// Removes every field of the given letters together with the separator that ties it to its neighbour (the
// literal before it, or after it when it comes first), then trims the ends of the picture.
QString DropFields(const QString& picture, std::initializer_list<char16_t> letters)
{
    QList<CPictureToken> tokens = TokenizePicture(picture);
    for (qsizetype i = 0; i < tokens.size();) {
        const bool drop = std::any_of(
            letters.begin(), letters.end(), [&](char16_t letter) { return IsFieldOf(tokens[i], letter); });
        if (!drop) {
            ++i;
            continue;
        }
        tokens.removeAt(i);
        if (i > 0 && tokens[i - 1].kind == CPictureToken::Literal) {
            tokens.removeAt(i - 1);
            --i;
        } else if (i < tokens.size() && tokens[i].kind == CPictureToken::Literal) {
            tokens.removeAt(i);
        }
    }
    // Unquoted punctuation left at either end ("H:mm:ss (t)" loses its bracket) goes too.
    const auto isJunk = [](QChar c) { return !c.isLetterOrNumber(); };
    while (!tokens.isEmpty() && tokens.front().kind == CPictureToken::Literal) {
        QString& text = tokens.front().text;
        while (!text.isEmpty() && isJunk(text.front()))
            text.remove(0, 1);
        if (!text.isEmpty())
            break;
        tokens.removeFirst();
    }
    while (!tokens.isEmpty() && tokens.back().kind == CPictureToken::Literal) {
        QString& text = tokens.back().text;
        while (!text.isEmpty() && isJunk(text.back()))
            text.chop(1);
        if (!text.isEmpty())
            break;
        tokens.removeLast();
    }
    QString result;
    for (const CPictureToken& token : tokens)
        result += token.text;
    return result;
}

// The short date picture without "y" (no year) and without "d" (no day), trimmed of characters that
// are neither letters nor digits at both ends. Quoted literals are left alone.
QString DatePicture(const QString& shortFormat, bool withYear, bool withDay)
{
    QString picture;
    picture.reserve(shortFormat.size());
    bool quoted = false;
    for (const QChar c : shortFormat) {
        if (c == u'\'')
            quoted = !quoted;
        if (!quoted && ((!withYear && c == u'y') || (!withDay && c == u'd')))
            continue;
        picture += c;
    }
    qsizetype first = 0;
    qsizetype last = picture.size();
    while (first < last && !picture[first].isLetterOrNumber())
        ++first;
    while (last > first && !picture[last - 1].isLetterOrNumber())
        --last;
    return picture.mid(first, last - first);
}

// Whether the picture reads the year in two digits only ("yy" without "yyyy").
bool HasTwoDigitYear(const QString& picture)
{
    for (const CPictureToken& token : TokenizePicture(picture)) {
        if (IsFieldOf(token, u'y') && token.text.size() == 2)
            return true;
    }
    return false;
}

// The picture with a two-digit year field ("yy") widened to four digits ("yyyy"); a picture with
// a four-digit year or none is returned unchanged. Quoted literals are left alone.
QString WithFourDigitYear(const QString& picture)
{
    if (!HasTwoDigitYear(picture))
        return picture;
    QString result;
    result.reserve(picture.size() + 2);
    for (const CPictureToken& token : TokenizePicture(picture))
        result += (IsFieldOf(token, u'y') && token.text.size() == 2) ? QStringLiteral("yyyy") : token.text;
    return result;
}

// The picture with two-digit day, month and hour fields ("dd", "MM", "HH", "hh") narrowed to one,
// which reads one or two digits: "2-1-2025 7:05" under "dd-MM-yyyy HH:mm", as older installations
// wrote dates.
QString WithOneDigitFields(const QString& picture)
{
    QString result;
    result.reserve(picture.size());
    for (const CPictureToken& token : TokenizePicture(picture)) {
        const bool narrow = (IsFieldOf(token, u'd') || IsFieldOf(token, u'M') || IsFieldOf(token, u'H')
                                || IsFieldOf(token, u'h'))
            && token.text.size() == 2;
        result += narrow ? token.text.left(1) : token.text;
    }
    return result;
}

void AppendUnique(QStringList& list, const QString& picture)
{
    if (!picture.isEmpty() && !list.contains(picture))
        list.append(picture);
}

// Each picture of the list, then (after all of them, so an exact form is tried first) the same with
// one-digit day, month and hour fields.
void AppendOneDigitForms(QStringList& list)
{
    const qsizetype count = list.size();
    for (qsizetype i = 0; i < count; ++i)
        AppendUnique(list, WithOneDigitFields(list.at(i)));
}

// The pictures derived from the default locale, kept per thread and rebuilt when the default
// locale changes.
struct CLocalePictures
{
    bool ready = false;
    QLocale locale;
    std::array<QString, 4> date; // index: 1 = with year, 2 = with day
    std::array<QString, 4> fullYearDate; // the same with the year in four digits
    QString timeWithSeconds;
    QString timeWithoutSeconds;
    QStringList parseDateTime; // what the locale parser tries, in order
    QStringList parseDate;

    void Build(const QLocale& current)
    {
        locale = current;
        const QString shortDate = locale.dateFormat(QLocale::ShortFormat);
        for (int index = 0; index < 4; ++index) {
            date[size_t(index)] = DatePicture(shortDate, (index & 1) != 0, (index & 2) != 0);
            fullYearDate[size_t(index)] = WithFourDigitYear(date[size_t(index)]);
        }
        // Times never show a time zone; the seconds form is the long time picture, the form without
        // seconds is the short one (with any seconds and milliseconds taken out).
        timeWithSeconds = DropFields(locale.timeFormat(QLocale::LongFormat), { u't' });
        timeWithoutSeconds = DropFields(locale.timeFormat(QLocale::ShortFormat), { u't', u's', u'z' });

        // The display forms of FormatDateTime first, so that everything shown can be read back.
        parseDateTime.clear();
        AppendUnique(parseDateTime, date[3] + u' ' + timeWithSeconds);
        AppendUnique(parseDateTime, date[3] + u' ' + timeWithoutSeconds);
        AppendUnique(parseDateTime, locale.dateTimeFormat(QLocale::ShortFormat));
        AppendUnique(parseDateTime, locale.dateTimeFormat(QLocale::LongFormat));
        // Dates written with a four-digit year where the locale's short picture has two (by this
        // program for other readers, or by an installation whose locale had four) read as well.
        AppendUnique(parseDateTime, fullYearDate[3] + u' ' + timeWithSeconds);
        AppendUnique(parseDateTime, fullYearDate[3] + u' ' + timeWithoutSeconds);
        AppendUnique(parseDateTime, WithFourDigitYear(locale.dateTimeFormat(QLocale::ShortFormat)));
        parseDate.clear();
        AppendUnique(parseDate, date[3]);
        AppendUnique(parseDate, shortDate);
        AppendUnique(parseDate, locale.dateFormat(QLocale::LongFormat));
        AppendUnique(parseDate, fullYearDate[3]);
        AppendUnique(parseDate, WithFourDigitYear(shortDate));
        AppendOneDigitForms(parseDateTime);
        AppendOneDigitForms(parseDate);
        ready = true;
    }
};

const CLocalePictures& LocalePictures()
{
    thread_local CLocalePictures pictures;
    const QLocale current;
    if (!pictures.ready || pictures.locale != current)
        pictures.Build(current);
    return pictures;
}

} // namespace

// --- parser ---------------------------------------------------------------------------------------

namespace {

// Two-digit years of the dotted forms: rule A (00-69 -> 20xx, 70-99 -> 19xx) and rule B (below 90
// -> 20xx, the rest as read). A year still below 100 afterwards makes the value invalid.
constexpr int TwoDigitYearA(int year)
{
    if (year < 70)
        return year + 2000;
    if (year < 100)
        return year + 1900;
    return year;
}

constexpr int TwoDigitYearB(int year)
{
    return year < 90 ? year + 2000 : year;
}

// The current moment, read only when a form needs it.
class CLazyNow
{
public:
    const CDateTime& Get()
    {
        if (!m_read) {
            m_value = CDateTime::GetCurrentTime();
            m_read = true;
        }
        return m_value;
    }

private:
    CDateTime m_value;
    bool m_read = false;
};

struct CDatePatterns
{
    CRegex digits { R"(^[0-9]+$)" };
    CRegex storage { R"(^[0-9]+\-[0-9]+\-[0-9]+[- ][0-9]+\:[0-9]+\:[0-9]+(\.[0-9]+)?$)" };
    CRegex dottedWithTime { R"(^[0-9]+\.[0-9]+\.?([0-9]+)? +[0-9]+\:[0-9]+(\:[0-9]+)?$)" };
    CRegex dotted { R"(^[0-9]+\.[0-9]+\.?([0-9]+)?$)" };
    CRegex time { R"(^[0-9]+\:[0-9]+(\:[0-9]+)?$)" };
    CRegex withOffset { R"(^[0-9]+\.[0-9]+[-+][0-9]+$)" };
    CRegex isoDate { R"(^[0-9]{4}-[0-9]{2}-[0-9]{2}$)" };

    bool AllValid() const
    {
        return digits.IsValid() && storage.IsValid() && dottedWithTime.IsValid() && dotted.IsValid()
            && time.IsValid() && withOffset.IsValid() && isoDate.IsValid();
    }
};

const CDatePatterns& DatePatterns()
{
    static const CDatePatterns patterns;
    return patterns;
}

enum class FormResult { Accepted, Failed, NotTaken };

// The numeric forms, tried in order; the first form whose pattern matches and whose scan reads
// enough numbers decides. A form that matches but does not scan passes on to the next.
FormResult ParseNumericForms(std::string_view text, int sign, CLazyNow& now, CDateTime& value)
{
    const CDatePatterns& patterns = DatePatterns();
    if (!patterns.AllValid()) {
        value = now.Get();
        return FormResult::Failed;
    }
    int n[8] = {};

    // 1. YYYYMMDDhhmmss
    if (patterns.digits.FullMatch(text) && ScanNumbers(text, "%04d%02d%02d%02d%02d%02d", n, 8) == 6) {
        value.SetDateTime(n[0], n[1], n[2], n[3], n[4], n[5]);
        return FormResult::Accepted;
    }
    // 2. The storage form, year first; a fraction of seconds is ignored.
    if (patterns.storage.FullMatch(text)
        && (ScanNumbers(text, "%d-%d-%d-%d:%d:%d", n, 8) == 6
            || ScanNumbers(text, "%d-%d-%d %d:%d:%d", n, 8) == 6)) {
        value.SetDateTime(n[0], n[1], n[2], n[3], n[4], n[5]);
        return FormResult::Accepted;
    }
    // 3. day.month[.year] hour:minute[:second]
    if (patterns.dottedWithTime.FullMatch(text)) {
        if (ScanNumbers(text, "%d.%d.%d %d:%d:%d", n, 8) == 6) {
            value.SetDateTime(TwoDigitYearA(n[2]), n[1], n[0], n[3], n[4], n[5]);
            return FormResult::Accepted;
        }
        if (ScanNumbers(text, "%d.%d. %d:%d:%d", n, 8) == 5) {
            value.SetDateTime(now.Get().GetYear(), n[1], n[0], n[2], n[3], n[4]);
            return FormResult::Accepted;
        }
        if (ScanNumbers(text, "%d.%d.%d %d:%d", n, 8) == 5) {
            value.SetDateTime(TwoDigitYearB(n[2]), n[1], n[0], n[3], n[4], 0);
            return FormResult::Accepted;
        }
        if (ScanNumbers(text, "%d.%d. %d:%d", n, 8) == 4) {
            value.SetDateTime(now.Get().GetYear(), n[1], n[0], n[2], n[3], 0);
            return FormResult::Accepted;
        }
    }
    // 4. day.month[.year] at midnight
    if (patterns.dotted.FullMatch(text)) {
        if (ScanNumbers(text, "%d.%d.%d", n, 8) == 3) {
            value.SetDate(TwoDigitYearA(n[2]), n[1], n[0]);
            return FormResult::Accepted;
        }
        if (ScanNumbers(text, "%d.%d.", n, 8) == 2) {
            value.SetDate(now.Get().GetYear(), n[1], n[0]);
            return FormResult::Accepted;
        }
    }
    // 5. hour:minute[:second]: today at that time, or relative to now with a sign.
    if (patterns.time.FullMatch(text)) {
        int count = ScanNumbers(text, "%d:%d:%d", n, 8);
        if (count != 3) {
            count = ScanNumbers(text, "%d:%d", n, 8);
            n[2] = 0;
        }
        if (count >= 2) {
            const CDateTime& current = now.Get();
            if (sign == 0) {
                int year = 0, month = 0, day = 0;
                current.GetDate(year, month, day);
                value.SetDateTime(year, month, day, n[0], n[1], n[2]);
            } else {
                const CDateTimeSpan span(0, n[0], n[1], n[2]);
                value = sign > 0 ? current + span : current - span;
            }
            return FormResult::Accepted;
        }
    }
    // 6. YYYYMMDDhhmmss.ffffff followed by an offset in minutes
    if (patterns.withOffset.FullMatch(text)
        && ScanNumbers(text, "%04d%02d%02d%02d%02d%02d.%06d%d", n, 8) == 8) {
        if (value.SetDateTime(n[0], n[1], n[2], n[3], n[4], n[5]))
            value += CDateTimeSpan(0, 0, n[7], 0);
        return FormResult::Accepted;
    }
    return FormResult::NotTaken;
}

// The stored date form "YYYY-MM-DD", whatever the locale; out-of-range parts give an invalid value.
bool ParseIsoDate(QStringView text, CDateTime& value)
{
    if (text.size() != 10)
        return false;
    char buffer[10];
    for (qsizetype i = 0; i < 10; ++i) {
        if (text[i].unicode() >= 0x80)
            return false;
        buffer[i] = char(text[i].unicode());
    }
    const std::string_view ascii(buffer, sizeof buffer);
    int n[3] = {};
    if (!DatePatterns().isoDate.FullMatch(ascii) || ScanNumbers(ascii, "%04d-%02d-%02d", n, 3) != 3)
        return false;
    value.SetDate(n[0], n[1], n[2]);
    return true;
}

bool FromLocaleParts(const QDate& date, const QTime& time, const QString& picture, CDateTime& value)
{
    if (!date.isValid() || !time.isValid())
        return false;
    int year = date.year();
    // Qt reads a two-digit year as 19xx; the dotted forms' rule A applies instead.
    if (HasTwoDigitYear(picture) && year >= 1900 && year <= 1999)
        year = TwoDigitYearA(year - 1900);
    value.SetDateTime(year, date.month(), date.day(), time.hour(), time.minute(), time.second());
    return true;
}

bool ParseLocaleForms(QStringView text, CDateTime& value)
{
    if (ParseIsoDate(text, value))
        return true;
    const QString owned = text.toString();
    if (owned.contains(u'T')) {
        const QDateTime iso = QDateTime::fromString(owned, Qt::ISODate);
        if (iso.isValid()) {
            value = CDateTime(iso);
            return true;
        }
    }
    const CLocalePictures& pictures = LocalePictures();
    for (const QString& picture : pictures.parseDateTime) {
        const QDateTime parsed = pictures.locale.toDateTime(owned, picture);
        if (parsed.isValid() && FromLocaleParts(parsed.date(), parsed.time(), picture, value))
            return true;
    }
    for (const QString& picture : pictures.parseDate) {
        if (FromLocaleParts(pictures.locale.toDate(owned, picture), QTime(0, 0), picture, value))
            return true;
    }
    value = CDateTime::Invalid();
    return false;
}

} // namespace

bool DateTimeFromText(const QString& text, CDateTime& value)
{
    CLazyNow now;
    const qsizetype length = text.size();
    if (length == 0) {
        value = now.Get();
        return true;
    }
    if (length < 3) {
        value = now.Get();
        return false;
    }
    if (length > kMaxDateTextLength || text.contains(QChar(u'\0'))) {
        value = CDateTime::Invalid();
        return false;
    }

    QStringView rest(text);
    int sign = 0;
    if (rest.startsWith(u"DT#")) {
        rest = rest.sliced(3);
        if (rest == u"NOW") {
            value = now.Get();
            return true;
        }
    } else {
        rest = rest.trimmed();
        if (!rest.isEmpty() && (rest.front() == u'+' || rest.front() == u'-')) {
            sign = rest.front() == u'+' ? 1 : -1;
            rest = rest.sliced(1);
        }
    }

    // The numeric forms are plain ASCII; a text with anything else can only be a locale form.
    char buffer[kMaxDateTextLength];
    size_t size = 0;
    bool ascii = true;
    for (const QChar c : rest) {
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
        buffer[size++] = char(c.unicode());
    }
    if (ascii) {
        switch (ParseNumericForms(std::string_view(buffer, size), sign, now, value)) {
        case FormResult::Accepted:
            return true;
        case FormResult::Failed:
            return false;
        case FormResult::NotTaken:
            break;
        }
    }
    return ParseLocaleForms(rest, value);
}

// --- text forms -----------------------------------------------------------------------------------

namespace {

// Appends the number zero-padded to the width (the year may have fewer digits than 4 only if out of
// range, which a valid value never is).
char* PutNumber(char* out, int number, int width)
{
    for (int i = width - 1; i >= 0; --i) {
        out[i] = char('0' + number % 10);
        number /= 10;
    }
    return out + width;
}

} // namespace

QString DateTimeToText(const CDateTime& value)
{
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    value.GetDate(year, month, day);
    value.GetTime(hour, minute, second);
    char buffer[19];
    char* out = PutNumber(buffer, year, 4);
    *out++ = '-';
    out = PutNumber(out, month, 2);
    *out++ = '-';
    out = PutNumber(out, day, 2);
    *out++ = ' ';
    out = PutNumber(out, hour, 2);
    *out++ = ':';
    out = PutNumber(out, minute, 2);
    *out++ = ':';
    out = PutNumber(out, second, 2);
    return QString::fromLatin1(buffer, out - buffer);
}

QString DateToText(const CDateTime& value)
{
    int year = 0, month = 0, day = 0;
    value.GetDate(year, month, day);
    char buffer[10];
    char* out = PutNumber(buffer, year, 4);
    *out++ = '-';
    out = PutNumber(out, month, 2);
    *out++ = '-';
    out = PutNumber(out, day, 2);
    return QString::fromLatin1(buffer, out - buffer);
}

QString FormatDateTime(const CDateTime& value, unsigned flags)
{
    constexpr unsigned dateParts = DTF_DATE | DTF_ISOWEEK | DTF_WEEKDAY;
    // The zero value is a time of day (midnight) and has no date to show.
    if (!value.IsValid() || (value.IsZero() && (flags & dateParts) != 0))
        return {};
    const CLocalePictures& pictures = LocalePictures();
    QString text;
    const auto append = [&text](const QString& part) {
        if (!text.isEmpty())
            text += u' ';
        text += part;
    };
    if (flags & (dateParts)) {
        const QDate date = value.ToQDate();
        if (flags & DTF_WEEKDAY)
            append(pictures.locale.toString(date, u"ddd"));
        if (flags & DTF_ISOWEEK)
            append(QString::asprintf("(%02d)", value.ToQDate().weekNumber()));
        if (flags & DTF_DATE) {
            const size_t index = ((flags & DTF_YEAR) ? 1 : 0) | ((flags & DTF_DAY) ? 2 : 0);
            const auto& chosen = (flags & DTF_FULLYEAR) ? pictures.fullYearDate : pictures.date;
            append(pictures.locale.toString(date, chosen[index]));
        }
    }
    if (flags & DTF_TIME) {
        const QString& picture
            = (flags & DTF_SECOND) ? pictures.timeWithSeconds : pictures.timeWithoutSeconds;
        append(pictures.locale.toString(value.ToQTime(), picture));
    }
    return text;
}

QString FormatDuration(qint64 seconds, unsigned units, const QString& words)
{
    // The year is counted as 365 days, beside a month of 30 days.
    static constexpr qint64 unitSeconds[7] = { 31536000, 2592000, 604800, 86400, 3600, 60, 1 };
    static const QString germanWords = QStringLiteral(
        "Jahr,Jahre,Monat,Monate,Woche,Wochen,Tag,Tage,Stunde,Stunden,Minute,Minuten,Sekunde,Sekunden");

    const QString& wordList = words.isEmpty() ? germanWords : words;
    QStringList names;
    SplitText(wordList, names, wordList.contains(u',') ? u',' : u';');
    const auto word = [&names](qsizetype index) { return index < names.size() ? names[index] : QString(); };

    qint64 remaining = std::max<qint64>(seconds, 0);
    unsigned pending = units & DURATION_ALL;
    QString text;
    bool written = false;
    for (int unit = 0; unit < 7; ++unit) {
        const unsigned bit = 1u << unit;
        if (!(pending & bit))
            continue;
        const qint64 count = remaining / unitSeconds[unit];
        remaining %= unitSeconds[unit];
        pending &= ~bit;
        if (count == 0 && (written || pending != 0))
            continue;
        if (written)
            text += u", ";
        text += QString::number(count) + u' ' + word(2 * unit + (count == 1 ? 0 : 1));
        written = true;
    }
    return text;
}

QString DoubleToText(double number, bool local)
{
    QString text = QString::number(number, 'g', 6);
    if (local) {
        const QString decimal = QLocale().decimalPoint();
        if (decimal != u".")
            text.replace(u'.', decimal);
    }
    return text;
}

double TextToDouble(const QString& text)
{
    QString normal = text;
    const QString decimal = QLocale().decimalPoint();
    if (!decimal.isEmpty() && decimal != u".")
        normal.replace(decimal, QStringLiteral("."));
    // Read like atof: white space and a sign before the number, any text after it; a number ends
    // at the first character outside ASCII.
    qsizetype end = 0;
    while (end < normal.size() && normal[end].unicode() < 0x80)
        ++end;
    const QByteArray ascii = normal.first(end).toLatin1();
    const char* first = ascii.constData();
    const char* const last = first + ascii.size();
    while (first < last && (*first == ' ' || (*first >= '\t' && *first <= '\r')))
        ++first;
    // from_chars takes a minus sign only.
    if (first < last && *first == '+' && !(last - first > 1 && first[1] == '-'))
        ++first;
    double value = 0.0;
    const auto [stop, error] = std::from_chars(first, last, value);
    if (error == std::errc::result_out_of_range) {
        // The number's text as matched: infinity when too large, zero when too small.
        return QLocale::c().toDouble(QLatin1StringView(first, stop - first));
    }
    return error == std::errc() ? value : 0.0;
}

QString MinuteOfDayText(int minute)
{
    return QStringLiteral("%1:%2")
        .arg(minute / 60, 2, 10, QLatin1Char('0'))
        .arg(minute % 60, 2, 10, QLatin1Char('0'));
}
