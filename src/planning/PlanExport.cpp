#include "planning/PlanExport.h"

#include <algorithm>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "planning/PlannerModel.h"
#include "planning/TimePlanner.h"
#include "schedule/PageTarget.h"
#include "support/PrivateFolder.h"
#include "support/Trace.h"

namespace {
// The longest title part of a file name, in UTF-8 bytes: "Kelvaris_", "_", the span part and
// ".htm" fit into the 255 bytes a file name may have.
constexpr qsizetype kMaxTitleBytes = 180;

void AppendHex2(QString& out, int value)
{
    static const char digits[] = "0123456789abcdef";
    out += QLatin1Char(digits[(value >> 4) & 0xF]);
    out += QLatin1Char(digits[value & 0xF]);
}

void AppendLines(QString& out, const QStringList& lines)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            out += QLatin1String("<br/>");
        out += lines[i].toHtmlEscaped();
    }
}

bool IsUnsafeFileNameChar(QChar c)
{
    switch (c.unicode()) {
    case u'/':
    case u'\\':
    case u' ':
    case u':':
    case u'*':
    case u'?':
    case u'"':
    case u'<':
    case u'>':
    case u'|':
        return true;
    default:
        break;
    }
    return c.unicode() < 0x20 || c.unicode() == 0x7F || c.category() == QChar::Other_Control
        || c.category() == QChar::Separator_Line || c.category() == QChar::Separator_Paragraph || c.isSpace();
}

// One component of a file name made safe: unsafe characters and a leading "." become "_", and
// the text is cut (at a character boundary) to at most maxBytes UTF-8 bytes.
QString SafeNamePart(const QString& text, qsizetype maxBytes)
{
    QString out;
    out.reserve(text.size());
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        QChar c = text[i];
        qsizetype length = 1;
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            length = 2;
        else if (c.isSurrogate())
            c = u'_'; // a lone half of a pair is no character
        else if (IsUnsafeFileNameChar(c) || (out.isEmpty() && c == u'.'))
            c = u'_';
        const qsizetype charBytes
            = length == 2 ? 4 : (c.unicode() < 0x80 ? 1 : (c.unicode() < 0x800 ? 2 : 3));
        if (bytes + charBytes > maxBytes)
            break;
        bytes += charBytes;
        if (length == 2) {
            out += text.mid(i, 2);
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}
} // namespace

namespace {
// A control size that gives the planner one or two weeks and keeps its visible-rows hint.
QSize PlannerSizeFor(const CTimePlanner& planner, int weeks)
{
    const int width
        = weeks >= 2 ? (CTimePlanner::kTwoWeekColumnWidth + 1) * (CTimePlanner::kSeparatorColumn) : 0;
    return QSize(width, planner.Model().VisibleRows() * CTimePlanner::kRowPixels);
}

// One block of the table: the planner set up for its first date, and for each planner column
// the table column it fills (-1 for none).
struct SPlanBlock
{
    CDateTime m_first;
    QList<int> m_tableColumns;
};

// Adds a target's plan, as the planner shows it now, to the table.
void AddTargetCells(const CPlannerModel& model, const SPlanBlock& block, const CPageTarget& target,
    const CColour& targetColor, int rows, SPlanTable& table)
{
    const bool group = target.IsGroup();
    for (int column = 1; column < block.m_tableColumns.size(); ++column) {
        const int tableColumn = block.m_tableColumns[column];
        if (tableColumn < 0)
            continue;
        QList<SPlanRowItem>& items = table.m_columns[tableColumn].m_items;
        for (int row = 0; row < rows; ++row) {
            const SPlannerCell& cell = model.Cell(column, row);
            if (cell.m_marked) {
                SPlanRowItem& item = items[row];
                item.m_lines << target.m_name;
                item.m_color = targetColor;
            } else if (!cell.m_text.isEmpty()) {
                SPlanRowItem& item = items[row];
                item.m_lines << cell.m_text;
                if (group)
                    item.m_color = cell.m_color;
            }
        }
    }
}
} // namespace

bool BuildPlanTable(CTimePlanner& planner, const CPageTargetArray& targets, const SPlanExportRequest& request,
    SPlanTable& table)
{
    table = SPlanTable();
    const bool current = request.m_currentTarget >= 0 && request.m_currentTarget < targets.size();
    if ((!request.m_allTargets && !current) || !request.m_weekStart.IsValid())
        return false;

    CPlannerModel& model = planner.Model();
    model.BeginUpdate();
    const CDateTime shownFirst = planner.FirstDate();
    const int shownWeeks = planner.Weeks();
    const bool shownHolidayColumns = planner.HolidayColumns();

    const CDateTime weekStart = request.m_weekStart.DatePart();
    const bool month = request.m_period == PlanPeriodMonth;
    const int weeks = month ? 1 : std::clamp(request.m_weeks, 1, 2);

    // The blocks and the span.
    CDateTime firstDay = weekStart;
    CDateTime lastDay = weekStart + CDateTimeSpan(7 * weeks - 1, 0, 0, 0);
    if (month) {
        firstDay = CDateTime(weekStart.GetYear(), weekStart.GetMonth(), 1, 0, 0, 0);
        lastDay = CDateTime(
            weekStart.GetYear(), weekStart.GetMonth(), weekStart.ToQDate().daysInMonth(), 0, 0, 0);
        table.m_subtitle = PlanMonthText(weekStart);
        table.m_filePart = table.m_subtitle;
    } else {
        table.m_filePart = PlanWeekFilePart(weekStart, weeks);
    }
    const CDateTime firstMonday = MondayOnOrBefore(firstDay);

    QList<SPlanBlock> blocks;
    int rows = 0;
    for (int b = 0; b < 6; ++b) {
        SPlanBlock block;
        block.m_first = month ? firstMonday + CDateTimeSpan(7 * b, 0, 0, 0) : weekStart;
        planner.SetUp(block.m_first, false, PlannerSizeFor(planner, weeks));
        const int columns = month ? std::min(model.ColumnCount(), 8) : model.ColumnCount();
        rows = model.RowCount();
        if (!month)
            table.m_subtitle = planner.Caption();
        if (table.m_columns.isEmpty()) {
            SPlanColumn time;
            time.m_heading << model.ColumnHeading(0);
            time.m_items.resize(rows);
            for (int row = 0; row < rows; ++row) {
                time.m_items[row].m_color = model.CellColor(0, row);
                time.m_items[row].m_lines << model.CellText(0, row);
            }
            table.m_columns << time;
        }
        block.m_tableColumns.fill(-1, columns);
        for (int k = 1; k < columns; ++k) {
            const CDateTime date = planner.ColumnDate(k);
            if (month && (date.IsNull() || date < firstDay || date > lastDay))
                continue;
            SPlanColumn column;
            if (month) {
                // The weekday's name over the date: the planner's heading (short weekday and
                // date) would repeat the date.
                column.m_heading << CTimePlanner::WeekdayName(date) << FormatDateTime(date, DTF_DAYMONTH);
            } else if (const QString heading = model.ColumnHeading(k); !heading.isEmpty()) {
                column.m_heading << heading;
            }
            column.m_items.resize(rows);
            if (!column.IsBlank()) {
                for (int row = 0; row < rows; ++row)
                    column.m_items[row].m_color = model.CellColor(k, row);
                block.m_tableColumns[k] = int(table.m_columns.size());
            }
            table.m_columns << column;
        }
        blocks << block;
        const CDateTime blockLast = block.m_first + CDateTimeSpan(6, 0, 0, 0);
        // A blank column follows every block whose last day is still in the month, the last one
        // of a month that ends on a Sunday too; the next block begins after it.
        if (!month || blockLast > lastDay)
            break;
        SPlanColumn blank;
        blank.m_items.resize(rows);
        table.m_columns << blank;
        if (blockLast == lastDay)
            break;
    }

    // The cells: each target's plan, block by block (the planner shows one block at a time).
    QList<qsizetype> chosen;
    if (request.m_allTargets) {
        for (qsizetype i = 0; i < targets.size(); ++i) {
            if (targets[i].IsGroup() == request.m_groups)
                chosen << i;
        }
    } else {
        chosen << request.m_currentTarget;
    }
    for (const SPlanBlock& block : std::as_const(blocks)) {
        if (blocks.size() > 1 || planner.FirstDate() != block.m_first)
            planner.SetUp(block.m_first, false, PlannerSizeFor(planner, weeks));
        const CDateTime blockLast = block.m_first + CDateTimeSpan(7 * weeks - 1, 0, 0, 0);
        for (const qsizetype index : std::as_const(chosen)) {
            const CPageTarget& target = targets[index];
            // A receiver shows its own ranges only: without one in the block it adds nothing.
            if (!target.IsGroup() && target.m_ranges.CountInPeriod(block.m_first, blockLast) == 0)
                continue;
            planner.LoadPlan(index);
            AddTargetCells(model, block, target, CTimePlanner::ColorFromValue(target.m_colour), rows, table);
        }
    }

    if (request.m_allTargets) {
        table.m_title = request.m_groups ? QCoreApplication::translate("CPlanExport", "All Groups")
                                         : QCoreApplication::translate("CPlanExport", "All Receiver");
    } else {
        table.m_title = targets[request.m_currentTarget].m_name;
    }

    // The planner as it was: the shown week(s) with the current target's plan.
    planner.SetUp(shownFirst.IsZero() ? weekStart : shownFirst, shownHolidayColumns,
        PlannerSizeFor(planner, shownWeeks));
    if (current)
        planner.LoadPlan(request.m_currentTarget);
    model.EndUpdate();
    return true;
}

QString PlanMonthText(const CDateTime& date)
{
    const QStringList names = QCoreApplication::translate("CPlanExport",
        "January;February;March;April;May;June;July;August;September;October;November;December")
                                  .split(u';');
    const int month = date.GetMonth();
    if (month < 1 || month > names.size())
        return QString();
    return names[month - 1] + u' ' + QString::number(date.GetYear());
}

QString PlanWeekFilePart(const CDateTime& weekStart, int weeks)
{
    QString part = QStringLiteral("KW%1").arg(weekStart.ToQDate().weekNumber(), 2, 10, QLatin1Char('0'));
    if (weeks >= 2)
        part += QStringLiteral("-%1").arg(
            (weekStart + CDateTimeSpan(7, 0, 0, 0)).ToQDate().weekNumber(), 2, 10, QLatin1Char('0'));
    return part;
}

QByteArray PlanHtml(const SPlanTable& table)
{
    const qsizetype columns = table.m_columns.size();
    qsizetype rows = 0;
    for (const SPlanColumn& column : table.m_columns)
        rows = std::max(rows, column.m_items.size());

    QString out;
    out.reserve(512 + columns * 48 + rows * columns * 40);
    const QString title = table.m_title.toHtmlEscaped();
    const QString subtitle = table.m_subtitle.toHtmlEscaped();
    out += QLatin1String("<html>\r\n<head>\r\n");
    out += QLatin1String("<meta http-equiv='Content-Type' content='text/html; charset=utf-8'>\r\n");
    out += QLatin1String("<title>") + title + QLatin1String(" - ") + subtitle + QLatin1String("</title>\r\n");
    out += QLatin1String("</head>\r\n<body>\r\n");
    out += QLatin1String("<h2 style='font-family: Arial' >") + title + QLatin1String("</h2>\r\n");
    out += QLatin1String("<h3 style='font-family: Arial' >") + subtitle + QLatin1String("</h3>\r\n");
    out += QLatin1String("<font size='6pt'>");
    out += QLatin1String("<table style='font-family: Arial; font-size: 6pt;  border-collapse:collapse;' "
                         "border='1' cellspacing='0' >");

    const QString width = columns > 0 ? QString::number(100 / columns) : QString();
    for (const SPlanColumn& column : table.m_columns) {
        if (!column.IsBlank()) {
            out += QLatin1String("<td bgcolor='#E0E0E0' width='") + width + QLatin1String("%'>");
            AppendLines(out, column.m_heading);
        } else {
            out += QLatin1String("<td width='") + width + QLatin1String("%'>");
        }
        out += QLatin1String("</td>");
    }
    out += QLatin1String("\r\n");

    const SPlanRowItem empty;
    for (qsizetype row = 0; row < rows; ++row) {
        out += QLatin1String("<tr>");
        for (const SPlanColumn& column : table.m_columns) {
            if (!column.IsBlank()) {
                const SPlanRowItem& item = row < column.m_items.size() ? column.m_items[row] : empty;
                out += QLatin1String("<td bgcolor='#");
                AppendHex2(out, item.m_color.Red());
                AppendHex2(out, item.m_color.Green());
                AppendHex2(out, item.m_color.Blue());
                out += QLatin1String("'>");
                // Names on a dark colour in white, as the planner draws them.
                const bool white
                    = !item.m_lines.isEmpty() && PlannerTextColorOn(item.m_color) == CColour::White();
                if (white)
                    out += QLatin1String("<font color='#ffffff'>");
                AppendLines(out, item.m_lines);
                if (white)
                    out += QLatin1String("</font>");
            } else {
                out += QLatin1String("<td>");
            }
            out += QLatin1String("&nbsp;</td>");
        }
        out += QLatin1String("</tr>\r\n");
    }
    out += QLatin1String("</table>\r\n</font>\r\n</body></html>\r\n");
    return out.toUtf8();
}

QString PlanFileName(const QString& title, const QString& filePart)
{
    return QStringLiteral("Kelvaris_") + SafeNamePart(title, kMaxTitleBytes) + u'_'
        + SafeNamePart(filePart, 255 - kMaxTitleBytes - 14) + QStringLiteral(".htm");
}

QString WritePlanFile(const SPlanTable& table, const QString& folder, QString* reason)
{
    QString dir = folder;
    QString warning;
    if (dir.isEmpty() && !ExportFolder(dir, reason, &warning)) {
        KTRACE(lcPlanning) << "no folder for the plan:" << (reason ? *reason : dir);
        return QString();
    }
    if (!warning.isEmpty())
        qCWarning(lcPlanning).noquote() << QStringLiteral("Exports go to %1 instead: %2").arg(dir, warning);
    const QString path = QDir(dir).filePath(PlanFileName(table.m_title, table.m_filePart));
    // A fresh file renamed over the old one: an older file, or a link planted under the name, is
    // replaced, never written through.
    if (!WriteFileReplacing(path, PlanHtml(table), reason)) {
        KTRACE(lcPlanning) << "cannot write" << path;
        return QString();
    }
    return path;
}
