#include "planning/PlannerModel.h"

#include <algorithm>

#include "schedule/PageTarget.h"

namespace {

const SPlannerCell& DefaultCell()
{
    static const SPlannerCell cell;
    return cell;
}

} // namespace

CColour PlannerTextColorOn(const CColour& background)
{
    return TextColourOn(background.Value()) == 0 ? CColour::Black() : CColour::White();
}

CPlannerModel::CPlannerModel(QObject* parent)
    : QObject(parent)
{ }

CPlannerModel::~CPlannerModel() = default;

void CPlannerModel::Resize(int columns, int rows)
{
    columns = std::clamp(columns, 0, kMaxColumns);
    rows = std::clamp(rows, 0, kMaxRows);
    if (columns == m_columns && rows == m_rows)
        return;
    if (rows == m_rows) {
        // Column by column storage: only the tail changes.
        m_cells.resize(qsizetype(columns) * rows);
    } else {
        QList<SPlannerCell> cells(qsizetype(columns) * rows);
        const int keepColumns = std::min(columns, m_columns);
        const int keepRows = std::min(rows, m_rows);
        for (int column = 0; column < keepColumns; ++column)
            for (int row = 0; row < keepRows; ++row)
                cells[qsizetype(column) * rows + row] = std::move(At(column, row));
        m_cells = std::move(cells);
    }
    m_columnData.resize(columns);
    m_rowDescriptions.resize(rows);
    m_columns = columns;
    m_rows = rows;
    m_firstVisibleRow = std::clamp(m_firstVisibleRow, 0, std::max(0, m_rows - 1));
    Changed();
}

void CPlannerModel::SetColumnCount(int columns)
{
    Resize(columns, m_rows);
}

void CPlannerModel::SetRowCount(int rows)
{
    Resize(m_columns, rows);
}

QString CPlannerModel::ColumnHeading(int column) const
{
    return column >= 0 && column < m_columns ? m_columnData[column].m_heading : QString();
}

void CPlannerModel::SetColumnHeading(int column, const QString& heading)
{
    if (column < 0 || column >= m_columns || m_columnData[column].m_heading == heading)
        return;
    m_columnData[column].m_heading = heading;
    Changed();
}

QString CPlannerModel::ColumnDescription(int column) const
{
    if (column < 0 || column >= m_columns)
        return QString();
    const SColumn& data = m_columnData[column];
    return data.m_description.isEmpty() ? data.m_heading : data.m_description;
}

void CPlannerModel::SetColumnDescription(int column, const QString& description)
{
    // Only screen readers ask for it: no repaint.
    if (column >= 0 && column < m_columns)
        m_columnData[column].m_description = description;
}

QString CPlannerModel::RowDescription(int row) const
{
    return row >= 0 && row < m_rows ? m_rowDescriptions[row] : QString();
}

void CPlannerModel::SetRowDescription(int row, const QString& description)
{
    if (row >= 0 && row < m_rows)
        m_rowDescriptions[row] = description;
}

bool CPlannerModel::ColumnHighlighted(int column) const
{
    return column >= 0 && column < m_columns && m_columnData[column].m_highlighted;
}

void CPlannerModel::SetColumnHighlighted(int column, bool highlighted)
{
    if (column < 0 || column >= m_columns || m_columnData[column].m_highlighted == highlighted)
        return;
    m_columnData[column].m_highlighted = highlighted;
    Changed();
}

bool CPlannerModel::ColumnMarkable(int column) const
{
    return column >= 0 && column < m_columns && m_columnData[column].m_markable;
}

void CPlannerModel::SetColumnMarkable(int column, bool markable)
{
    if (column < 0 || column >= m_columns || m_columnData[column].m_markable == markable)
        return;
    m_columnData[column].m_markable = markable;
    Changed();
}

const SPlannerCell& CPlannerModel::Cell(int column, int row) const
{
    if (!IsCell(column, row))
        return DefaultCell();
    return m_cells[qsizetype(column) * m_rows + row];
}

void CPlannerModel::SetCellColor(int column, int row, const CColour& color)
{
    if (!IsCell(column, row) || At(column, row).m_color == color)
        return;
    At(column, row).m_color = color;
    Changed();
}

void CPlannerModel::SetCellGap(int column, int row, bool gap)
{
    if (!IsCell(column, row) || At(column, row).m_gap == gap)
        return;
    At(column, row).m_gap = gap;
    Changed();
}

void CPlannerModel::SetCellMarked(int column, int row, bool marked)
{
    if (!IsCell(column, row) || At(column, row).m_marked == marked)
        return;
    At(column, row).m_marked = marked;
    Changed();
}

void CPlannerModel::SetCellHint(int column, int row, const QString& hint)
{
    if (!IsCell(column, row))
        return;
    At(column, row).m_hint = hint; // tooltips only: no repaint needed
}

void CPlannerModel::SetCellText(int column, int row, const QString& text)
{
    if (!IsCell(column, row) || At(column, row).m_text == text)
        return;
    At(column, row).m_text = text;
    Changed();
}

void CPlannerModel::SetCellTextColor(int column, int row, const CColour& color)
{
    if (!IsCell(column, row) || At(column, row).m_textColor == color)
        return;
    At(column, row).m_textColor = color;
    Changed();
}

void CPlannerModel::SetMarkColor(const CColour& color)
{
    if (m_markColor == color)
        return;
    m_markColor = color;
    Changed();
}

void CPlannerModel::ClearMarks()
{
    bool changed = false;
    for (SPlannerCell& cell : m_cells) {
        changed |= cell.m_marked;
        cell.m_marked = false;
    }
    if (changed)
        Changed();
}

bool CPlannerModel::HasMarks() const
{
    return std::any_of(
        m_cells.cbegin(), m_cells.cend(), [](const SPlannerCell& cell) { return cell.m_marked; });
}

void CPlannerModel::SetVisibleRows(int rows)
{
    rows = std::clamp(rows, 0, kMaxRows);
    if (rows == m_visibleRows)
        return;
    m_visibleRows = rows;
    emit ScrollHintsChanged();
}

void CPlannerModel::SetFirstVisibleRow(int row)
{
    row = std::clamp(row, 0, std::max(0, m_rows - 1));
    if (row == m_firstVisibleRow)
        return;
    m_firstVisibleRow = row;
    emit ScrollHintsChanged();
}

void CPlannerModel::SetEditMode(int mode)
{
    if (mode == m_editMode)
        return;
    m_editMode = mode;
    Changed();
}

void CPlannerModel::BeginUpdate()
{
    ++m_updateDepth;
}

void CPlannerModel::EndUpdate()
{
    if (m_updateDepth == 0)
        return;
    if (--m_updateDepth == 0 && m_pendingChange) {
        m_pendingChange = false;
        emit GridChanged();
    }
}

void CPlannerModel::Changed()
{
    if (m_updateDepth > 0)
        m_pendingChange = true;
    else
        emit GridChanged();
}

void CPlannerModel::UserSetMarked(int column1, int row1, int column2, int row2, bool marked)
{
    if (!CanMark() || m_columns == 0 || m_rows == 0)
        return;
    const int firstColumn = std::clamp(std::min(column1, column2), 0, m_columns - 1);
    const int lastColumn = std::clamp(std::max(column1, column2), 0, m_columns - 1);
    const int firstRow = std::clamp(std::min(row1, row2), 0, m_rows - 1);
    const int lastRow = std::clamp(std::max(row1, row2), 0, m_rows - 1);
    bool changed = false;
    for (int column = firstColumn; column <= lastColumn; ++column) {
        if (!m_columnData[column].m_markable)
            continue;
        for (int row = firstRow; row <= lastRow; ++row) {
            SPlannerCell& cell = At(column, row);
            changed |= cell.m_marked != marked;
            cell.m_marked = marked;
        }
    }
    if (!changed)
        return;
    Changed();
    emit MarkingChanged(firstColumn, firstRow, lastColumn, lastRow);
}

void CPlannerModel::UserToggle(int column, int row)
{
    if (!IsCell(column, row))
        return;
    UserSetMarked(column, row, column, row, !At(column, row).m_marked);
}

void CPlannerModel::UserActivate(int column, int row)
{
    if (IsCell(column, row))
        emit CellActivated(column, row);
}
