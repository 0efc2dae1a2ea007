#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include "planning/Colour.h"

// The colour of text drawn on a background: black or white, whichever has the higher contrast
// ratio by relative luminance (TextColourOn). The planner and the exported plan decide by it, so
// that a name reads the same on screen and on paper.
CColour PlannerTextColorOn(const CColour& background);

// One cell of the planner grid.
struct SPlannerCell
{
    CColour m_color = CColour::White(); // background colour
    CColour m_textColor = CColour::Black(); // colour of m_text
    QString m_text; // text drawn in the cell
    QString m_hint; // tooltip text
    bool m_marked = false; // duty of the current target
    bool m_gap = false; // a gap in the shown group's cover: drawn hatched
};

// The planner grid without any widget: a table of columns x rows of cells, column headings,
// per-column flags, the mark colour, the scroll hints (visible rows, first visible row) and the
// edit mode. CPlannerWidget draws it and turns mouse and keyboard input into the "User..." calls;
// CTimePlanner fills it. Other code (print, export) reads it cell by cell.
//
// Indices outside the grid are ignored by the setters; the getters then return the defaults.
// The programmatic setters never emit MarkingChanged: that event reports the user's edits only.
class CPlannerModel : public QObject
{
    Q_OBJECT

public:
    // Upper bounds of the grid; larger counts are clipped.
    static constexpr int kMaxColumns = 64;
    static constexpr int kMaxRows = 1440;

    enum EEditMode {
        EditReadOnly = 0, // cells cannot be marked by the user
        EditMarking = 3, // the user may mark and unmark cells
    };

    explicit CPlannerModel(QObject* parent = nullptr);
    ~CPlannerModel() override;

    // Grid size. Changing a count keeps the cells that stay inside the grid; new cells (and new
    // columns' headings and flags) take the defaults.
    int ColumnCount() const { return m_columns; }
    void SetColumnCount(int columns);
    int RowCount() const { return m_rows; }
    void SetRowCount(int rows);

    // Column properties.
    QString ColumnHeading(int column) const;
    void SetColumnHeading(int column, const QString& heading);
    // The heading's long form for screen readers ("Monday, 7 December 2026"); the heading where
    // none is set.
    QString ColumnDescription(int column) const;
    void SetColumnDescription(int column, const QString& description);
    // What a row stands for, for screen readers ("10:00 to 10:15"); empty where none is set.
    QString RowDescription(int row) const;
    void SetRowDescription(int row, const QString& description);
    // A highlighted column has its heading drawn emphasised (e.g. today's column).
    bool ColumnHighlighted(int column) const;
    void SetColumnHighlighted(int column, bool highlighted);
    // Whether the user can mark cells of the column (true by default; false for the time column
    // and the separator column).
    bool ColumnMarkable(int column) const;
    void SetColumnMarkable(int column, bool markable);

    // Cell properties.
    const SPlannerCell& Cell(int column, int row) const; // a default cell outside the grid
    CColour CellColor(int column, int row) const { return Cell(column, row).m_color; }
    void SetCellColor(int column, int row, const CColour& color);
    bool CellMarked(int column, int row) const { return Cell(column, row).m_marked; }
    void SetCellMarked(int column, int row, bool marked);
    bool CellGap(int column, int row) const { return Cell(column, row).m_gap; }
    void SetCellGap(int column, int row, bool gap);
    QString CellHint(int column, int row) const { return Cell(column, row).m_hint; }
    void SetCellHint(int column, int row, const QString& hint);
    QString CellText(int column, int row) const { return Cell(column, row).m_text; }
    void SetCellText(int column, int row, const QString& text);
    CColour CellTextColor(int column, int row) const { return Cell(column, row).m_textColor; }
    void SetCellTextColor(int column, int row, const CColour& color);

    // Colour of marked cells (the current target's colour).
    CColour MarkColor() const { return m_markColor; }
    void SetMarkColor(const CColour& color);
    // The name whose duty the marks are (the current target's name), for screen readers.
    QString MarkText() const { return m_markText; }
    void SetMarkText(const QString& text) { m_markText = text; }
    // Unmarks every cell.
    void ClearMarks();
    // Whether any cell is marked.
    bool HasMarks() const;

    // Scroll hints for a view: how many rows fit, and the row to show at the top.
    int VisibleRows() const { return m_visibleRows; }
    void SetVisibleRows(int rows);
    int FirstVisibleRow() const { return m_firstVisibleRow; }
    void SetFirstVisibleRow(int row);

    int EditMode() const { return m_editMode; }
    void SetEditMode(int mode);
    bool CanMark() const { return m_editMode != EditReadOnly; }

    // Suspends the change notifications while the grid is filled; the last EndUpdate emits one
    // GridChanged. Calls nest.
    void BeginUpdate();
    void EndUpdate();

    // User edits (from a view). They do nothing in read-only mode; columns that are not
    // markable are skipped. Each emits MarkingChanged once when some cell changed.
    // Marks or unmarks the rectangle spanned by the two cells (either corner order).
    void UserSetMarked(int column1, int row1, int column2, int row2, bool marked);
    // Toggles one cell.
    void UserToggle(int column, int row);
    // The user activated a cell (double click, Enter): emits CellActivated for a cell inside the
    // grid, in any edit mode.
    void UserActivate(int column, int row);

signals:
    // The user changed the marks in the rectangle (first column, first row, last column, last row).
    void MarkingChanged(int column1, int row1, int column2, int row2);
    void CellActivated(int column, int row);
    // Something visible changed (any property or the grid size); views repaint.
    void GridChanged();
    // The scroll hints changed; views scroll to FirstVisibleRow.
    void ScrollHintsChanged();

private:
    struct SColumn
    {
        QString m_heading;
        QString m_description;
        bool m_highlighted = false;
        bool m_markable = true;
    };

    bool IsCell(int column, int row) const
    {
        return column >= 0 && column < m_columns && row >= 0 && row < m_rows;
    }
    SPlannerCell& At(int column, int row) { return m_cells[qsizetype(column) * m_rows + row]; }
    void Resize(int columns, int rows);
    void Changed();

    int m_columns = 0;
    int m_rows = 0;
    QList<SColumn> m_columnData;
    QList<SPlannerCell> m_cells; // column by column: index column * m_rows + row
    QList<QString> m_rowDescriptions;
    CColour m_markColor = CColour(0, 120, 215);
    QString m_markText;
    int m_visibleRows = 0;
    int m_firstVisibleRow = 0;
    int m_editMode = EditReadOnly;
    int m_updateDepth = 0;
    bool m_pendingChange = false;
};
