#pragma once

#include <QList>
#include <QLocale>
#include <QObject>
#include <QSize>
#include <QString>

#include "planning/Colour.h"
#include "schedule/DateTime.h"

class CKelvarisDoc;
class CPageTarget;
class CPageTargetArray;
class CDispatchRangeArray;
class CPlannerModel;

// The Monday at 00:00 on or before a date; an invalid date stays as it is.
CDateTime MondayOnOrBefore(const CDateTime& date);

// The week logic of the dispatch plan on top of the planner grid.
//
// Column 0 is the time column. In the one-week view columns 1 to 7 are the seven days from the
// first date; in the two-week view column 8 is an empty separator column and columns 9 to 15 are
// the seven days after those. With the holiday columns (one-week view only) columns 9, 10 and 11
// carry the headings "previous", "Holiday", "after" and no date. Row r is the quarter hour that
// begins at minute 15 r of the day.
//
// The planner reads the document's work time, working days, holidays and page targets on the
// user-interface thread; SavePlan takes the targets lock while it changes a target's ranges.
class CTimePlanner : public QObject
{
    Q_OBJECT

public:
    static constexpr int kRows = 96; // quarter hours of a day
    static constexpr int kMinutesPerRow = 15;
    static constexpr int kDayMinutes = 1440;
    // More pixels per column than this show two weeks.
    static constexpr int kTwoWeekColumnWidth = 120;
    // Pixels per row for the visible-rows hint.
    static constexpr int kRowPixels = 14;
    static constexpr int kSeparatorColumn = 8;

    // Cell colours of the grid.
    static CColour HolidayColor() { return CColour(255, 227, 191); }
    static CColour WorkTimeColor() { return CColour(255, 243, 189); }
    static CColour OtherTimeColor() { return CColour(255, 227, 165); }
    // The time column: a fixed light grey under black labels, the same on screen, in the
    // dialog's export and in an export from the command line.
    static CColour TimeColumnColor() { return CColour(240, 240, 240); }

    // The model is not owned and must outlive the planner; so must the document.
    CTimePlanner(CKelvarisDoc& doc, CPlannerModel& model, QObject* parent = nullptr);
    ~CTimePlanner() override;

    CPlannerModel& Model() const { return m_model; }

    // Sets the grid up for the first date (its date part counts) and the holiday-columns flag:
    // two weeks when the control is wider than 120 pixels per column of the one-week grid,
    // headings, time labels, the scroll hints (visible rows = height / 14, first visible row =
    // start of the work time) and the reset colours. Marks are cleared.
    void SetUp(const CDateTime& firstDate, bool holidayColumns, const QSize& controlSize);
    // Clears the marks, the texts and the member colours of the day columns: every cell gets the
    // quarter's hint ("8:00 - 8:15") and the holiday, work-time or other colour.
    void Reset();
    // Re-applies the translated headings (time column, weekday names, holiday columns).
    void Retranslate();

    // Resets the grid and loads the plan of the page target with that index: its own ranges
    // become marked cells; for a group its members' ranges are shown as cells in the member's
    // colour with the member's name (names ";"-separated where ranges overlap) and the name added
    // to the hint. The mark colour becomes the target's colour. Returns whether any cell received
    // a range. An index outside the target list resets the grid and returns false.
    bool LoadPlan(qsizetype targetIndex);
    // A group's gaps in cover in the days shown, as the last LoadPlan found them: the wall-clock
    // times (site's zone) at which the group is on duty by its own plan and fewer of its members
    // than it wants are (schedule/Coverage.h). Their cells are flagged as gaps (drawn hatched in
    // the gap colour) and say so in their hints. Empty for a receiver.
    struct CGap
    {
        CDateTime from;
        CDateTime to;
    };
    const QList<CGap>& Gaps() const { return m_gaps; }
    static CColour GapColor() { return CColour(255, 214, 219); }
    // The hatching drawn over gap cells.
    static CColour GapPatternColor() { return CColour(176, 0, 32); }

    // The nearest range dates of the target (for a group also its members) before and after the
    // first date shown; the null value where there is none.
    void NearestSchedules(qsizetype targetIndex, CDateTime& previous, CDateTime& next) const;
    // Writes the marks of the grid into the target's ranges under the targets lock (the ranges of
    // every shown date are replaced) and flags the ranges as modified. False for an index outside
    // the target list. Storing the dispatch file is left to the caller.
    bool SavePlan(qsizetype targetIndex);
    // The same into a range array: for every day column the ranges of its date are removed and
    // one range per run of marked rows is added (a run reaching the last row ends at 1440). The
    // separator and holiday columns are never saved.
    void SaveMarks(CDispatchRangeArray& ranges) const;

    // The highlighted span (days, both ends included); today when not set.
    void SetHighlightSpan(const CDateTime& from, const CDateTime& to);

    int Weeks() const { return m_weeks; }
    bool HolidayColumns() const { return m_holidayColumns; }
    CDateTime FirstDate() const { return m_firstDate; }
    // The date of a day column at midnight; the null value for the time, separator and holiday
    // columns and outside the grid.
    CDateTime ColumnDate(int column) const;
    // The column showing the date, or -1.
    int ColumnOfDate(const CDateTime& date) const;
    QString CellText(int column, int row) const;

    // "Week 10:  04.03.2024 - 10.03.2024", in the two-week view followed by "    /    " and the
    // same for the second week.
    QString Caption() const;

    // The heading of a day column: the weekday's short name and the day and month in the short
    // form of the current locale ("Mo. 7.12.", "Mon 12/7").
    static QString DayHeading(const CDateTime& date);
    // The translated full name of the date's weekday ("Monday").
    static QString WeekdayName(const CDateTime& date);
    // The locale's short date format without the year and with day and month unpadded
    // ("d.M." for "dd.MM.yy", "M/d" for "M/d/yy", "M-d" for "yyyy-MM-dd").
    static QString DayMonthFormat(const QLocale& locale);

    // "%d:%02d" of the quarter hour's start: 0 gives "0:00", 96 gives "24:00".
    static QString TimeLabel(int quarter);
    // The colour of a target value 0x00BBGGRR.
    static CColour ColorFromValue(quint32 value);

private:
    // Day offset of a day column from the first date, or -1.
    int DayOffset(int column) const;
    int DayColumnCount() const { return 7 * m_weeks; }
    int ColumnOfOffset(int offset) const { return offset < 7 ? offset + 1 : offset + 2; }
    void ApplyHeadings();
    // Finds the group's gaps over the days shown and marks their cells (LoadPlan).
    void MarkGaps(const CPageTarget& group, const CPageTargetArray& targets);
    // Adds to each cell's hint who last changed that quarter hour of the target's plan and when
    // (from the edit journal of the data folder, its newest kMaxJournalEntriesShown plan entries).
    void MarkLastChanges(const CPageTarget& target);
    static constexpr int kMaxJournalEntriesShown = 2000;
    QString WeekCaption(const CDateTime& first) const;

    CKelvarisDoc& m_doc;
    CPlannerModel& m_model;
    int m_weeks = 1;
    bool m_holidayColumns = false;
    CDateTime m_firstDate;
    CDateTime m_highlightFrom;
    CDateTime m_highlightTo;
    QList<CGap> m_gaps;
};
