#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "planning/Colour.h"
#include "schedule/DateTime.h"

class CPageTargetArray;
class CTimePlanner;

// Print and export of the dispatch plan: the plan of one target, or of all receivers or all
// groups, for the shown week(s) or a whole month, as an HTML table in a file of the temporary
// folder, handed to the browser (print) or to the spreadsheet program (export).

// One cell of the table: its background colour and its lines (names, time label). The lines are
// plain text; the writer escapes them and separates them by line breaks.
struct SPlanRowItem
{
    CColour m_color = CColour::White();
    QStringList m_lines;
};

// One column of the table: a heading (plain-text lines) and one cell per planner row. A column
// without a heading is a blank separator column: its cells are written empty and uncoloured.
struct SPlanColumn
{
    QStringList m_heading;
    QList<SPlanRowItem> m_items;

    bool IsBlank() const { return m_heading.join(QString()).isEmpty(); }
};

// The whole table with its title (the target's name, or "All Receiver"/"All Groups"), subtitle
// (the week caption or the month) and the part of the file name that names the span ("KW05",
// "KW05-06", "February 2024").
struct SPlanTable
{
    QString m_title;
    QString m_subtitle;
    QString m_filePart;
    QList<SPlanColumn> m_columns;
};

enum EPlanPeriod : int {
    PlanPeriodWeek = 0, // the week(s) shown
    PlanPeriodMonth = 1, // the month of the week start
};

// What to put into the table.
struct SPlanExportRequest
{
    // All targets of the kind m_groups selects, else the current target alone.
    bool m_allTargets = false;
    int m_period = PlanPeriodWeek;
    // The list shown: groups (true) or receivers.
    bool m_groups = false;
    // The current target: an index into the page targets, -1 when none is selected.
    qsizetype m_currentTarget = -1;
    // The first day shown (a Monday at 00:00) and the number of weeks shown (1 or 2).
    CDateTime m_weekStart;
    int m_weeks = 1;
};

// The table builder. Reads the plan cell by cell from the planner grid, so the table shows the
// colours, names and time slots the planner shows: for each target (in array order) its plan is
// loaded into the planner, block by block (the shown week(s); for a month the Monday-aligned
// weeks that touch it, a blank column after each block whose last day is in the month, days
// outside the month left out). A marked cell contributes the target's name and colour; an
// unmarked cell its text and colour (a group's members). Afterwards the planner is set up again
// for the week start with the current target's plan. False, with the table empty, when nothing
// is to be printed (no current target and not all targets, or a week start that is not valid).
bool BuildPlanTable(CTimePlanner& planner, const CPageTargetArray& targets, const SPlanExportRequest& request,
    SPlanTable& table);

// The month of a date as shown to the user, "February 2024".
QString PlanMonthText(const CDateTime& date);
// The file-name part of the week(s) from the week start: "KW05", or "KW05-06" for two weeks
// (the ISO numbers of both weeks, so the last week of a year is followed by "01").
QString PlanWeekFilePart(const CDateTime& weekStart, int weeks);

// The HTML text of the table, UTF-8, lines ended by CR LF. Title, subtitle, headings and cell
// lines are escaped; cell lines on a dark colour are white (PlannerTextColorOn).
QByteArray PlanHtml(const SPlanTable& table);
// "Kelvaris_<title>_<part>.htm": every blank and every character that is not safe in a file
// name (path separators, control characters, the characters Windows reserves, a leading ".") is
// replaced by "_"; an overlong title is cut so that the name stays within 255 bytes.
QString PlanFileName(const QString& title, const QString& filePart);
// Writes the table into the folder (when empty: this user's own folder inside the temporary folder,
// see PrivateTempFolder), replacing an older file of the same name; the file is replaced as a
// whole, never written through a link. The path of the written file, or empty when it could not be
// written (with the reason, naming the path, in `reason`).
QString WritePlanFile(const SPlanTable& table, const QString& folder = QString(), QString* reason = nullptr);
