#pragma once

#include <QAbstractScrollArea>
#include <QList>
#include <QPointer>

#include "planning/PlannerModel.h"

class QTimer;

// Draws a CPlannerModel: a heading row (fixed at the top), the time column and the cells with
// their colours and texts, marked cells in the mark colour, highlighted columns with emphasised
// headings, and the current cell. Rows scroll vertically; the columns share the width.
//
// Input (only in the model's marking mode, and only in markable columns):
// - mouse: a press marks the cell under it, or unmarks it when it was marked; dragging extends
//   the same change over the rectangle from the pressed cell; held past the top or bottom edge,
//   the grid keeps scrolling (faster the farther the pointer is outside) and the change follows;
// - keyboard: the arrows move the current cell (Shift+arrows extend the selection), Page Up /
//   Page Down move by a page, Home / End to the first / last row; Space marks the selection, or
//   unmarks it when the current cell is marked.
// Double click and Enter activate the cell (in any mode). The tooltip is the cell's hint; over the
// heading row and the time column it names the mouse and keyboard marking (also the status tip).
// The scroll hint of the model (the first visible row) is applied once the widget is shown with
// its size, so a grid set up before it is laid out still opens at that row.
class CPlannerWidget : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit CPlannerWidget(CPlannerModel* model, QWidget* parent = nullptr);
    ~CPlannerWidget() override;

    CPlannerModel* Model() const { return m_model; }

    int RowHeight() const;
    int HeaderHeight() const;
    // The rectangle of a cell in viewport coordinates (rows scrolled); empty outside the grid.
    QRect CellRect(int column, int row) const;
    // The cell at a viewport position; false on the heading row or outside the grid.
    bool CellAt(const QPoint& position, int& column, int& row) const;

    int CurrentColumn() const { return m_currentColumn; }
    int CurrentRow() const { return m_currentRow; }
    // The keyboard selection: the rectangle from the anchor to the current cell (x: columns,
    // y: rows).
    QRect Selection() const;
    // Moves the current cell (and the selection anchor) and scrolls it into view.
    void SetCurrentCell(int column, int row);
    // Scrolls so that the row is the first one shown.
    void ScrollToRow(int row);
    int FirstShownRow() const;

    // Whether a drag held past the top or bottom edge is scrolling the grid.
    bool IsAutoScrolling() const;
    // The text that names the mouse and keyboard marking.
    static QString MarkingHelp();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // How many day columns of the widest heading fit a widget of this width beside the time
    // column and a separator.
    int DayColumnsThatFit(int width) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void OnGridChanged();
    void OnScrollHints();
    void UpdateScrollBar();
    // Recomputes the column edges for the viewport width.
    void LayoutColumns();
    int TimeColumnWidth() const;
    // The next markable column from `column` in the direction (+1/-1), or `column` when none.
    int NextColumn(int column, int step) const;
    void DragTo(int column, int row);
    // Extends the drag to the cell nearest the position (clamped into the grid).
    void DragToPosition(QPoint position);
    // One step of the scrolling while a drag is held past an edge.
    void OnAutoScroll();
    void StopAutoScroll();
    void ApplyPendingScroll();
    // The width a day column needs for the widest heading.
    int DayColumnWidthForHeadings() const;
    void Retranslate();
    void EnsureVisible(int row);
    // The child index of the current cell for a screen reader, or -1 while none listens or the
    // grid has no focus.
    int AccessibleCurrentCell() const;
    // Tells a screen reader which cell is current (while the grid has focus).
    void NotifyCurrentCell();
    // Tells a screen reader that the current cell's mark changed.
    void NotifyMarking();

    QPointer<CPlannerModel> m_model;
    QList<int> m_edges; // left edge of every column, then the right edge of the last
    int m_currentColumn = 1;
    int m_currentRow = 0;
    int m_anchorColumn = 1;
    int m_anchorRow = 0;
    // Mouse drag: the state before it, the change it applies and the rectangle it covers.
    bool m_dragging = false;
    bool m_dragMark = true;
    int m_dragColumn = -1;
    int m_dragRow = -1;
    int m_dragToColumn = -1;
    int m_dragToRow = -1;
    QList<bool> m_dragBefore;
    // Scrolling while the drag is held past an edge: rows per step (negative: up) and the last
    // pointer position.
    QTimer* m_autoScrollTimer = nullptr;
    int m_autoScrollRows = 0;
    QPoint m_dragPosition;
    // The model's first visible row waits for the widget to be shown with its size.
    bool m_scrollPending = false;
    int m_headingWidth = 0;
};
