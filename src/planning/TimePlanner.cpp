#include "planning/TimePlanner.h"

#include <algorithm>
#include <array>
#include <mutex>

#include <QDate>
#include <QDateTime>
#include <QFileInfo>
#include <QLocale>
#include <QSet>
#include <QStringList>

#include "engine/KelvarisDoc.h"
#include "journal/Journal.h"
#include "planning/PlannerModel.h"
#include "schedule/ConfigLocation.h"
#include "schedule/Coverage.h"
#include "schedule/Profile.h"
#include "schedule/SiteClock.h"
#include "schedule/TextList.h"

namespace {

// Time labels of the quarters 0 to 96 and the hints of the rows, built once and then shared.
struct STimeTexts
{
    STimeTexts()
    {
        for (int quarter = 0; quarter <= CTimePlanner::kRows; ++quarter)
            m_labels[quarter] = QString::asprintf("%d:%02d", quarter / 4, (quarter % 4) * 15);
        for (int row = 0; row < CTimePlanner::kRows; ++row)
            m_hints[row] = m_labels[row] + QStringLiteral(" - ") + m_labels[row + 1];
    }
    std::array<QString, CTimePlanner::kRows + 1> m_labels;
    std::array<QString, CTimePlanner::kRows> m_hints;
};

const STimeTexts& TimeTexts()
{
    static const STimeTexts texts;
    return texts;
}

// Monday 0 ... Sunday 6.
int MondayBasedWeekday(const CDateTime& date)
{
    return (date.GetDayOfWeek() + 5) % 7; // GetDayOfWeek: 1 = Sunday ... 7 = Saturday
}

CDateTime Today()
{
    return CDateTime::GetCurrentTime().DatePart();
}

} // namespace

CDateTime MondayOnOrBefore(const CDateTime& date)
{
    if (!date.IsValid())
        return date;
    return date.DatePart() - CDateTimeSpan(MondayBasedWeekday(date), 0, 0, 0);
}

CTimePlanner::CTimePlanner(CKelvarisDoc& doc, CPlannerModel& model, QObject* parent)
    : QObject(parent)
    , m_doc(doc)
    , m_model(model)
    , m_firstDate(Today())
    , m_highlightFrom(m_firstDate)
    , m_highlightTo(m_firstDate)
{ }

CTimePlanner::~CTimePlanner() = default;

QString CTimePlanner::TimeLabel(int quarter)
{
    if (quarter >= 0 && quarter <= kRows)
        return TimeTexts().m_labels[quarter];
    return QString::asprintf("%d:%02d", quarter / 4, (quarter % 4) * 15);
}

QString CTimePlanner::DayMonthFormat(const QLocale& locale)
{
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    // Cut the year with the separator that parts it from the rest: the one after it when the
    // year leads, else the one before it. A trailing "." stays ("7.12." reads as a date).
    QString out;
    const qsizetype year = format.indexOf(u'y');
    if (year < 0) {
        out = format;
    } else {
        qsizetype end = year;
        while (end < format.size() && format[end] == u'y')
            ++end;
        const auto isField = [](QChar c) { return c == u'd' || c == u'M' || c == u'y'; };
        if (year == 0) {
            while (end < format.size() && !isField(format[end]))
                ++end;
            out = format.mid(end);
        } else {
            qsizetype start = year;
            while (start > 0 && !isField(format[start - 1]))
                --start;
            QString separator = format.mid(start, year - start).trimmed();
            out = format.left(start) + (separator == QLatin1String(".") ? separator : QString())
                + format.mid(end);
        }
    }
    // Day and month without leading zeros; a weekday field ("ddd", "dddd") leaves.
    QString result;
    for (qsizetype i = 0; i < out.size();) {
        const QChar c = out[i];
        qsizetype run = 1;
        while (i + run < out.size() && out[i + run] == c)
            ++run;
        if (c == u'd' && run <= 2)
            result += u'd';
        else if (c == u'M' && run <= 2)
            result += u'M';
        else if (c != u'd')
            result += out.mid(i, run);
        i += run;
    }
    return result.trimmed().isEmpty() ? QStringLiteral("d.M.") : result.trimmed();
}

QString CTimePlanner::DayHeading(const CDateTime& date)
{
    const QLocale locale;
    const QDate day = date.ToQDate();
    return locale.dayName(day.dayOfWeek(), QLocale::ShortFormat) + u' '
        + locale.toString(day, DayMonthFormat(locale));
}

QString CTimePlanner::WeekdayName(const CDateTime& date)
{
    return GetListItem(
        tr("Monday;Tuesday;Wednesday;Thursday;Friday;Saturday;Sunday"), MondayBasedWeekday(date) + 1);
}

CColour CTimePlanner::ColorFromValue(quint32 value)
{
    return CColour::FromValue(value);
}

int CTimePlanner::DayOffset(int column) const
{
    if (column >= 1 && column <= 7)
        return column - 1;
    if (m_weeks == 2 && column > kSeparatorColumn && column <= kSeparatorColumn + 7)
        return column - 2;
    return -1;
}

CDateTime CTimePlanner::ColumnDate(int column) const
{
    const int offset = DayOffset(column);
    if (offset < 0 || column >= m_model.ColumnCount())
        return CDateTime::Null();
    return m_firstDate + CDateTimeSpan(offset, 0, 0, 0);
}

int CTimePlanner::ColumnOfDate(const CDateTime& date) const
{
    if (!date.IsValid())
        return -1;
    const qint64 offset = date.DayNumber() - m_firstDate.DayNumber();
    if (offset < 0 || offset >= DayColumnCount())
        return -1;
    return ColumnOfOffset(int(offset));
}

QString CTimePlanner::CellText(int column, int row) const
{
    return m_model.CellText(column, row);
}

void CTimePlanner::SetHighlightSpan(const CDateTime& from, const CDateTime& to)
{
    m_highlightFrom = from.DatePart();
    m_highlightTo = to.DatePart();
    for (int column = 0; column < m_model.ColumnCount(); ++column) {
        const CDateTime date = ColumnDate(column);
        m_model.SetColumnHighlighted(
            column, date.IsValid() && m_highlightFrom <= date && date <= m_highlightTo);
    }
}

void CTimePlanner::SetUp(const CDateTime& firstDate, bool holidayColumns, const QSize& controlSize)
{
    if (firstDate.IsValid())
        m_firstDate = firstDate.DatePart();
    m_holidayColumns = holidayColumns;

    m_model.BeginUpdate();
    int columns = holidayColumns ? 12 : 8;
    m_weeks = 1;
    // The holiday columns belong to a single week.
    if (!holidayColumns && controlSize.width() / columns > kTwoWeekColumnWidth) {
        m_weeks = 2;
        columns += 8;
    }
    m_model.SetColumnCount(columns);
    m_model.SetRowCount(kRows);
    m_model.SetVisibleRows(std::max(0, controlSize.height()) / kRowPixels);
    m_model.SetFirstVisibleRow(std::clamp(m_doc.m_workTimeFrom, 0, kDayMinutes - 1) / kMinutesPerRow);
    for (int column = 0; column < columns; ++column)
        m_model.SetColumnMarkable(column, DayOffset(column) >= 0);

    Reset();

    for (int column = 0; column < columns; ++column) {
        const CDateTime date = ColumnDate(column);
        m_model.SetColumnHighlighted(
            column, date.IsValid() && m_highlightFrom <= date && date <= m_highlightTo);
    }
    const STimeTexts& texts = TimeTexts();
    const CColour timeColor = TimeColumnColor();
    for (int row = 0; row < kRows; ++row) {
        m_model.SetCellText(0, row, texts.m_labels[row]);
        m_model.SetCellHint(0, row, texts.m_hints[row]);
        m_model.SetCellColor(0, row, timeColor);
        m_model.SetCellTextColor(0, row, CColour::Black());
    }
    ApplyHeadings();
    m_model.EndUpdate();
}

void CTimePlanner::ApplyHeadings()
{
    const int columns = m_model.ColumnCount();
    m_model.SetColumnHeading(0, tr("Time"));
    const QLocale locale;
    for (int column = 1; column < columns; ++column) {
        const CDateTime date = ColumnDate(column);
        m_model.SetColumnHeading(column, date.IsValid() ? DayHeading(date) : QString());
        m_model.SetColumnDescription(
            column, date.IsValid() ? locale.toString(date.ToQDate(), QLocale::LongFormat) : QString());
    }
    for (int row = 0; row < m_model.RowCount(); ++row)
        //: What a row of the planner stands for, read by screen readers: "10:00 to 10:15".
        m_model.SetRowDescription(row, tr("%1 to %2").arg(TimeLabel(row), TimeLabel(row + 1)));
    if (m_holidayColumns && m_weeks == 1 && columns >= 12) {
        const QString holidayHeadings = tr("previous;Holiday;after");
        for (int item = 1; item <= 3; ++item)
            m_model.SetColumnHeading(8 + item, GetListItem(holidayHeadings, item));
    }
}

void CTimePlanner::Retranslate()
{
    m_model.BeginUpdate();
    ApplyHeadings();
    m_model.EndUpdate();
}

void CTimePlanner::Reset()
{
    const int columns = m_model.ColumnCount();
    const int rows = m_model.RowCount();
    const STimeTexts& texts = TimeTexts();
    const int workFrom = m_doc.m_workTimeFrom;
    const int workTo = m_doc.m_workTimeTo;

    // Which shown days are holidays: one pass over the holiday list.
    std::array<bool, 14> holiday {};
    const qint64 firstDay = m_firstDate.DayNumber();
    for (const CHoliday& record : m_doc.m_holidays) {
        if (!record.m_date.IsValid())
            continue;
        const qint64 offset = record.m_date.DayNumber() - firstDay;
        if (offset >= 0 && offset < qint64(holiday.size()))
            holiday[offset] = true;
    }

    m_model.BeginUpdate();
    m_model.ClearMarks();
    for (int column = 1; column < columns; ++column) {
        const int offset = DayOffset(column);
        if (offset < 0)
            continue;
        const CDateTime date = ColumnDate(column);
        const bool working = (m_doc.m_workDays >> MondayBasedWeekday(date)) & 1;
        for (int row = 0; row < rows; ++row) {
            m_model.SetCellText(column, row, QString());
            m_model.SetCellTextColor(column, row, CColour::Black());
            m_model.SetCellGap(column, row, false);
            m_model.SetCellHint(column, row, row < kRows ? texts.m_hints[row] : QString());
            const int minute = row * kMinutesPerRow;
            CColour color;
            if (holiday[offset])
                color = HolidayColor();
            else if (working && minute >= workFrom && minute < workTo)
                color = WorkTimeColor();
            else
                color = OtherTimeColor();
            m_model.SetCellColor(column, row, color);
        }
    }
    if (m_holidayColumns && m_weeks == 1) {
        for (int column = 9; column <= 11 && column < columns; ++column)
            for (int row = 0; row < rows; ++row)
                m_model.SetCellColor(column, row, OtherTimeColor());
    }
    m_model.EndUpdate();
}

bool CTimePlanner::LoadPlan(qsizetype targetIndex)
{
    const CPageTargetArray& targets = m_doc.PageTargets();
    m_model.BeginUpdate();
    if (targetIndex < 0 || targetIndex >= targets.size()) {
        m_model.SetMarkText(QString());
        Reset();
        m_gaps.clear();
        m_model.EndUpdate();
        return false;
    }
    const CPageTarget& target = targets.at(targetIndex);
    m_model.SetMarkColor(ColorFromValue(target.m_colour));
    m_model.SetMarkText(target.m_name);
    Reset();
    m_gaps.clear();

    const int rows = m_model.RowCount();
    const qint64 firstDay = m_firstDate.DayNumber();
    const int days = DayColumnCount();
    bool content = false;

    // The target's own ranges become marks.
    for (const CDispatchRange& range : target.m_ranges) {
        const qint64 dayNumber = range.DayNumber();
        const qint64 offset = dayNumber - firstDay;
        if (dayNumber == CDispatchRange::kNoDay || offset < 0 || offset >= days)
            continue;
        const int column = ColumnOfOffset(int(offset));
        const int first = std::max(0, range.m_from / kMinutesPerRow);
        const int last = std::min(rows, range.m_to / kMinutesPerRow);
        for (int row = first; row < last; ++row) {
            m_model.SetCellMarked(column, row, true);
            content = true;
        }
    }

    // A group shows its members' ranges as named cells in the members' colours. The names of a
    // cell are collected first and written once, so that overlapping members cost no rewrites.
    if (target.IsGroup()) {
        QStringList members;
        SplitText(target.m_members, members, u';', true);
        QSet<const CPageTarget*> shown { &target };
        const qsizetype cells = qsizetype(days) * rows;
        QList<QString> texts(cells);
        QList<QString> hints(cells);
        QList<const CPageTarget*> owner(cells, nullptr); // the last member that covers the cell
        for (const QString& name : std::as_const(members)) {
            const CPageTarget* member = targets.FindByName(name);
            if (!member || shown.contains(member))
                continue;
            shown.insert(member);
            for (const CDispatchRange& range : member->m_ranges) {
                const qint64 dayNumber = range.DayNumber();
                const qint64 offset = dayNumber - firstDay;
                if (dayNumber == CDispatchRange::kNoDay || offset < 0 || offset >= days)
                    continue;
                const int first = std::max(0, range.m_from / kMinutesPerRow);
                const int last = std::min(rows, range.m_to / kMinutesPerRow);
                for (int row = first; row < last; ++row) {
                    const qsizetype index = offset * rows + row;
                    if (!texts[index].isEmpty())
                        texts[index] += u';';
                    texts[index] += member->m_name;
                    hints[index] += u'\n';
                    hints[index] += member->m_name;
                    owner[index] = member;
                }
            }
        }
        for (int offset = 0; offset < days; ++offset) {
            const int column = ColumnOfOffset(offset);
            for (int row = 0; row < rows; ++row) {
                const qsizetype index = qsizetype(offset) * rows + row;
                const CPageTarget* member = owner[index];
                if (!member)
                    continue;
                m_model.SetCellText(column, row, texts[index]);
                const CColour color = ColorFromValue(member->m_colour);
                m_model.SetCellTextColor(column, row, PlannerTextColorOn(color));
                m_model.SetCellColor(column, row, color);
                m_model.SetCellHint(column, row, m_model.CellHint(column, row) + hints[index]);
                content = true;
            }
        }
        MarkGaps(target, targets);
    }
    MarkLastChanges(target);
    m_model.EndUpdate();
    return content;
}

void CTimePlanner::MarkLastChanges(const CPageTarget& target)
{
    // Who last changed each quarter hour of the target's own plan: the newest journal entry whose
    // lines (removed or added) touch it.
    const QString path = CJournal::PathIn(ConfigLocation().ConfigFolder());
    if (ConfigLocation().ConfigPath().isEmpty() || !QFileInfo::exists(path))
        return;
    CJournal journal(path);
    CJournal::CFilter filter;
    filter.kind = QStringLiteral("plan");
    filter.subject = target.m_id;
    filter.limit = kMaxJournalEntriesShown;
    if (!journal.Open(false))
        return;
    const std::optional<QList<CJournalEntry>> entries = journal.Entries(filter);
    if (!entries)
        return;
    const int rows = m_model.RowCount();
    const int days = DayColumnCount();
    const qint64 firstDay = m_firstDate.DayNumber();
    QList<bool> told(qsizetype(days) * rows, false);
    for (const CJournalEntry& entry : *entries) {
        CDispatchRangeArray touched;
        for (const QString* text : { &entry.before, &entry.after }) {
            for (const QString& line : text->split(u'\n', Qt::SkipEmptyParts))
                touched.AddFromText(line);
        }
        const QString hint = u'\n'
            + tr("Last changed by %1 on %2")
                  .arg(entry.user,
                      QLocale().toString(
                          QDateTime::fromMSecsSinceEpoch(entry.atMs, SiteClockZone()), QLocale::ShortFormat));
        for (const CDispatchRange& range : touched) {
            const qint64 offset = range.DayNumber() - firstDay;
            if (range.DayNumber() == CDispatchRange::kNoDay || offset < 0 || offset >= days)
                continue;
            const int firstRow = std::clamp(range.m_from / kMinutesPerRow, 0, rows);
            const int endRow = std::clamp((range.m_to + kMinutesPerRow - 1) / kMinutesPerRow, 0, rows);
            for (int row = firstRow; row < endRow; ++row) {
                bool& done = told[qsizetype(offset) * rows + row];
                if (done)
                    continue;
                done = true;
                const int column = ColumnOfOffset(int(offset));
                m_model.SetCellHint(column, row, m_model.CellHint(column, row) + hint);
            }
        }
    }
}

void CTimePlanner::MarkGaps(const CPageTarget& group, const CPageTargetArray& targets)
{
    constexpr qint64 kDayMs = 86'400'000;
    const int days = DayColumnCount();
    const QTimeZone zone = SiteClockZone();
    const qint64 firstWallMs = WallClockMs(m_firstDate);
    const CDateTime end = m_firstDate + CDateTimeSpan(days, 0, 0, 0);
    const CZoneOffsets offsets(zone, firstWallMs - kDayMs, firstWallMs + (days + 1) * kDayMs);
    const qint64 fromMs = FirstMomentOfWallClock(offsets, m_firstDate);
    const qint64 toMs = FirstMomentOfWallClock(offsets, end);
    const int rows = m_model.RowCount();
    const QString hint = u'\n' + tr("Nobody in the group is on duty");
    for (const CDutySpan& gap : CoverageOf(group, targets, offsets, fromMs, toMs, 1).gaps) {
        const CGap shown { WallClockAt(offsets, gap.startMs),
            gap.endMs >= toMs ? end : WallClockAt(offsets, gap.endMs) };
        m_gaps.append(shown);
        // The quarter hours the gap touches, counted from the first date's midnight (in the night
        // the clocks go back a gap may end at an earlier wall-clock time than it began).
        const qint64 a = (WallClockMs(shown.from) - firstWallMs) / 60'000;
        const qint64 b = (WallClockMs(shown.to) - firstWallMs) / 60'000;
        const qint64 firstQuarter = std::max<qint64>(0, std::min(a, b) / kMinutesPerRow);
        const qint64 endQuarter
            = std::min<qint64>(qint64(days) * rows, (std::max(a, b) + kMinutesPerRow - 1) / kMinutesPerRow);
        for (qint64 quarter = firstQuarter; quarter < endQuarter; ++quarter) {
            const int column = ColumnOfOffset(int(quarter / rows));
            const int row = int(quarter % rows);
            // Painted hatched in the gap colour, over members' names and the group's own duty too.
            m_model.SetCellGap(column, row, true);
            if (m_model.CellText(column, row).isEmpty())
                m_model.SetCellColor(column, row, GapColor());
            if (!m_model.CellHint(column, row).endsWith(hint))
                m_model.SetCellHint(column, row, m_model.CellHint(column, row) + hint);
        }
    }
}

void CTimePlanner::NearestSchedules(qsizetype targetIndex, CDateTime& previous, CDateTime& next) const
{
    previous = CDateTime::Null();
    next = CDateTime::Null();
    const CPageTargetArray& targets = m_doc.PageTargets();
    if (targetIndex < 0 || targetIndex >= targets.size())
        return;
    const CPageTarget& target = targets.at(targetIndex);
    QList<const CPageTarget*> list { &target };
    if (target.IsGroup()) {
        QStringList members;
        SplitText(target.m_members, members, u';', true);
        for (const QString& name : std::as_const(members))
            if (const CPageTarget* member = targets.FindByName(name))
                list.append(member);
    }
    const qint64 firstDay = m_firstDate.DayNumber();
    qint64 before = CDispatchRange::kNoDay;
    qint64 after = CDispatchRange::kNoDay;
    for (const CPageTarget* item : std::as_const(list)) {
        for (const CDispatchRange& range : item->m_ranges) {
            const qint64 day = range.DayNumber();
            if (day == CDispatchRange::kNoDay)
                continue;
            if (day < firstDay && (before == CDispatchRange::kNoDay || day > before))
                before = day;
            else if (day > firstDay && (after == CDispatchRange::kNoDay || day < after))
                after = day;
        }
    }
    if (before != CDispatchRange::kNoDay)
        previous = CDateTime::FromSecondsSinceBase(before * 86400);
    if (after != CDispatchRange::kNoDay)
        next = CDateTime::FromSecondsSinceBase(after * 86400);
}

void CTimePlanner::SaveMarks(CDispatchRangeArray& ranges) const
{
    const int columns = m_model.ColumnCount();
    const int rows = m_model.RowCount();
    for (int column = 1; column < columns; ++column) {
        const CDateTime date = ColumnDate(column);
        if (!date.IsValid())
            continue; // time, separator and holiday columns
        int year = 0, month = 0, day = 0;
        date.GetDate(year, month, day);
        ranges.RemoveDate(day, month, year);
        CDispatchRange range;
        range.SetDate(date);
        int start = -1;
        for (int row = 0; row < rows; ++row) {
            const bool marked = m_model.CellMarked(column, row);
            if (marked && start < 0) {
                start = row * kMinutesPerRow;
            } else if (!marked && start >= 0) {
                range.m_from = start;
                range.m_to = row * kMinutesPerRow;
                ranges.append(range);
                start = -1;
            }
        }
        if (start >= 0) {
            range.m_from = start;
            range.m_to = kDayMinutes;
            ranges.append(range);
        }
    }
    ranges.SetModified();
}

bool CTimePlanner::SavePlan(qsizetype targetIndex)
{
    std::lock_guard lock(m_doc.TargetsMutex());
    CPageTargetArray& targets = m_doc.PageTargets();
    if (targetIndex < 0 || targetIndex >= targets.size())
        return false;
    SaveMarks(targets[targetIndex].m_ranges);
    return true;
}

QString CTimePlanner::WeekCaption(const CDateTime& first) const
{
    return tr("Week %1:  %2 - %3")
        .arg(first.ToQDate().weekNumber())
        .arg(FormatDateTime(first, DTF_DATE | DTF_FULLYEAR),
            FormatDateTime(first + CDateTimeSpan(6, 0, 0, 0), DTF_DATE | DTF_FULLYEAR));
}

QString CTimePlanner::Caption() const
{
    QString caption = WeekCaption(m_firstDate);
    if (m_weeks == 2)
        caption += QStringLiteral("    /    ") + WeekCaption(m_firstDate + CDateTimeSpan(7, 0, 0, 0));
    return caption;
}
