#include "plandialogs/PlannerWidget.h"

#include <algorithm>

#include <QAccessible>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QTimer>
#include <QToolTip>

#include "plandialogs/PlannerAccessible.h"
#include "planning/PlannerModel.h"
#include "planning/TimePlanner.h"

namespace {

constexpr int kMinRowHeight = 14;
constexpr int kSeparatorWidth = 8;
constexpr int kMinDayWidth = 24;
constexpr int kDayWidthHint = 90;
// Scrolling while a drag is held past an edge: one step per interval, one more row per step for
// every row height the pointer is farther out, up to a bound.
constexpr int kAutoScrollIntervalMs = 50;
constexpr int kAutoScrollMaxRows = 8;
// The grid's rows are quarter hours.
constexpr int kRowsPerHour = 4;

QColor ToQColor(const CColour& colour)
{
    return QColor(colour.Red(), colour.Green(), colour.Blue());
}

} // namespace

CPlannerWidget::CPlannerWidget(CPlannerModel* model, QWidget* parent)
    : QAbstractScrollArea(parent)
    , m_model(model)
{
    static const bool accessible = [] {
        QAccessible::installFactory(&CPlannerAccessible::Factory);
        return true;
    }();
    Q_UNUSED(accessible);
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setMouseTracking(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    if (m_model) {
        connect(m_model, &CPlannerModel::GridChanged, this, &CPlannerWidget::OnGridChanged);
        connect(m_model, &CPlannerModel::ScrollHintsChanged, this, &CPlannerWidget::OnScrollHints);
        connect(m_model, &CPlannerModel::MarkingChanged, this, &CPlannerWidget::NotifyMarking);
    }
    connect(verticalScrollBar(), &QScrollBar::valueChanged, viewport(), qOverload<>(&QWidget::update));
    m_autoScrollTimer = new QTimer(this);
    m_autoScrollTimer->setInterval(kAutoScrollIntervalMs);
    connect(m_autoScrollTimer, &QTimer::timeout, this, &CPlannerWidget::OnAutoScroll);
    Retranslate();
    OnGridChanged();
    OnScrollHints();
}

CPlannerWidget::~CPlannerWidget() = default;

int CPlannerWidget::RowHeight() const
{
    return std::max(kMinRowHeight, fontMetrics().height() + 2);
}

int CPlannerWidget::HeaderHeight() const
{
    return fontMetrics().height() + 8;
}

int CPlannerWidget::TimeColumnWidth() const
{
    return fontMetrics().horizontalAdvance(QStringLiteral("24:00")) + 12;
}

QString CPlannerWidget::MarkingHelp()
{
    return QStringList { tr("Mark duty with the mouse: click a quarter hour or drag over several; held past "
                            "the top or bottom edge, the grid scrolls on."),
        tr("With the keyboard: the arrow keys move, Shift+arrow keys extend the selection, Page Up/Page "
           "Down move by a page, Home/End go to the first/last quarter hour, Space marks the selection "
           "(or unmarks it when the current cell is marked)."),
        tr("Ctrl+Up/Ctrl+Down move by an hour, Delete unmarks the selection."),
        tr("Double click or Enter on a member's cell opens that receiver.") }
        .join(u'\n');
}

void CPlannerWidget::Retranslate()
{
    setStatusTip(MarkingHelp());
    setWhatsThis(MarkingHelp());
    setAccessibleDescription(MarkingHelp());
}

int CPlannerWidget::DayColumnWidthForHeadings() const
{
    if (!m_model)
        return kMinDayWidth;
    // Highlighted headings are drawn bold: measure in bold.
    QFont bold = font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    // Every number of a heading measured as two wide digits ("Mo. 7.12." as "Mo. 88.88."), so the
    // width is that of the widest date of the same weekday: a dialog does not change its size when
    // the dates it shows change.
    static const QRegularExpression digits(QStringLiteral("\\d{1,2}"));
    int widest = 0;
    for (int column = 1; column < m_model->ColumnCount(); ++column) {
        QString heading = m_model->ColumnHeading(column);
        heading.replace(digits, QStringLiteral("88"));
        if (!heading.isEmpty())
            widest = std::max(widest, metrics.horizontalAdvance(heading));
    }
    return std::max(kMinDayWidth, widest + 8);
}

QSize CPlannerWidget::sizeHint() const
{
    const int columns = m_model ? std::max(1, m_model->ColumnCount()) : 8;
    return QSize(TimeColumnWidth() + (columns - 1) * std::max(kDayWidthHint, m_headingWidth)
            + 2 * frameWidth() + verticalScrollBar()->sizeHint().width(),
        HeaderHeight() + 24 * RowHeight() + 2 * frameWidth());
}

QSize CPlannerWidget::minimumSizeHint() const
{
    return QSize(TimeColumnWidth() + 7 * std::max(kMinDayWidth, m_headingWidth) + 2 * frameWidth()
            + verticalScrollBar()->sizeHint().width(),
        HeaderHeight() + 4 * RowHeight());
}

int CPlannerWidget::DayColumnsThatFit(int width) const
{
    // A heading needs its text in the regular weight and 2 px either side (a highlighted one is
    // drawn bold only where that fits too).
    int heading = kMinDayWidth;
    for (int column = 1; m_model && column < m_model->ColumnCount(); ++column)
        heading = std::max(heading, fontMetrics().horizontalAdvance(m_model->ColumnHeading(column)) + 5);
    const int inner = width - 2 * frameWidth() - verticalScrollBar()->sizeHint().width() - TimeColumnWidth()
        - kSeparatorWidth;
    return std::max(0, inner) / heading;
}

void CPlannerWidget::LayoutColumns()
{
    const int columns = m_model ? m_model->ColumnCount() : 0;
    m_edges.resize(columns + 1);
    if (columns == 0) {
        m_edges[0] = 0;
        return;
    }
    // The time column and separators (unmarkable columns without a heading) keep their width;
    // the other columns share the rest.
    const int width = viewport()->width();
    int fixed = 0;
    int shared = 0;
    QList<int> widths(columns, 0);
    for (int column = 0; column < columns; ++column) {
        if (column == 0)
            widths[column] = TimeColumnWidth();
        else if (!m_model->ColumnMarkable(column) && m_model->ColumnHeading(column).isEmpty())
            widths[column] = kSeparatorWidth;
        else {
            ++shared;
            continue;
        }
        fixed += widths[column];
    }
    if (shared > 0) {
        // Narrower than the headings need (the size hints ask for that much), headings are elided.
        const int rest = std::max(width - fixed, shared * kMinDayWidth);
        const int each = rest / shared;
        int extra = rest - each * shared;
        for (int column = 0; column < columns; ++column) {
            if (widths[column] != 0)
                continue;
            widths[column] = each + (extra > 0 ? 1 : 0);
            if (extra > 0)
                --extra;
        }
    }
    int left = 0;
    for (int column = 0; column < columns; ++column) {
        m_edges[column] = left;
        left += widths[column];
    }
    m_edges[columns] = left;
}

int CPlannerWidget::FirstShownRow() const
{
    return verticalScrollBar()->value();
}

QRect CPlannerWidget::CellRect(int column, int row) const
{
    if (!m_model || column < 0 || row < 0 || column >= m_model->ColumnCount() || row >= m_model->RowCount()
        || column + 1 >= m_edges.size())
        return QRect();
    const int top = HeaderHeight() + (row - FirstShownRow()) * RowHeight();
    return QRect(m_edges[column], top, m_edges[column + 1] - m_edges[column], RowHeight());
}

bool CPlannerWidget::CellAt(const QPoint& position, int& column, int& row) const
{
    if (!m_model || position.y() < HeaderHeight() || m_edges.size() < 2)
        return false;
    const auto it = std::upper_bound(m_edges.cbegin(), m_edges.cend(), position.x());
    if (it == m_edges.cbegin() || it == m_edges.cend())
        return false;
    column = int(it - m_edges.cbegin()) - 1;
    row = FirstShownRow() + (position.y() - HeaderHeight()) / RowHeight();
    return row >= 0 && row < m_model->RowCount() && column < m_model->ColumnCount();
}

void CPlannerWidget::UpdateScrollBar()
{
    const int rows = m_model ? m_model->RowCount() : 0;
    const int page = std::max(1, (viewport()->height() - HeaderHeight()) / RowHeight());
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, std::max(0, rows - page));
    bar->setPageStep(page);
    bar->setSingleStep(1);
}

void CPlannerWidget::OnGridChanged()
{
    if (m_model) {
        const int columns = m_model->ColumnCount();
        const int rows = m_model->RowCount();
        m_currentRow = std::clamp(m_currentRow, 0, std::max(0, rows - 1));
        m_anchorRow = std::clamp(m_anchorRow, 0, std::max(0, rows - 1));
        m_currentColumn = std::clamp(m_currentColumn, 0, std::max(0, columns - 1));
        m_anchorColumn = std::clamp(m_anchorColumn, 0, std::max(0, columns - 1));
        if (!m_model->ColumnMarkable(m_currentColumn)) {
            m_currentColumn = NextColumn(m_currentColumn, 1);
            m_anchorColumn = m_currentColumn;
        }
        if (m_dragging && m_dragBefore.size() != qsizetype(columns) * rows) {
            m_dragging = false; // the grid changed size under the drag
            StopAutoScroll();
        }
    }
    const int headingWidth = DayColumnWidthForHeadings();
    if (headingWidth != m_headingWidth) {
        m_headingWidth = headingWidth;
        updateGeometry();
    }
    LayoutColumns();
    UpdateScrollBar();
    ApplyPendingScroll();
    viewport()->update();
}

void CPlannerWidget::OnScrollHints()
{
    if (!m_model)
        return;
    m_scrollPending = true;
    ApplyPendingScroll();
}

void CPlannerWidget::ApplyPendingScroll()
{
    if (!m_scrollPending || !m_model || m_model->RowCount() == 0)
        return;
    ScrollToRow(m_model->FirstVisibleRow());
    // Before the widget is shown its size is a guess; the row is applied again once it has its
    // own, so that a narrower scroll range met on the way does not leave the grid at the top.
    if (isVisible() && viewport()->height() > HeaderHeight())
        m_scrollPending = false;
}

void CPlannerWidget::ScrollToRow(int row)
{
    verticalScrollBar()->setValue(row);
}

void CPlannerWidget::EnsureVisible(int row)
{
    QScrollBar* bar = verticalScrollBar();
    if (row < bar->value())
        bar->setValue(row);
    else if (row >= bar->value() + bar->pageStep())
        bar->setValue(row - bar->pageStep() + 1);
}

void CPlannerWidget::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    LayoutColumns();
    UpdateScrollBar();
    ApplyPendingScroll();
}

void CPlannerWidget::showEvent(QShowEvent* event)
{
    QAbstractScrollArea::showEvent(event);
    LayoutColumns();
    UpdateScrollBar();
    ApplyPendingScroll();
}

void CPlannerWidget::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        Retranslate();
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        m_headingWidth = DayColumnWidthForHeadings();
        updateGeometry();
        LayoutColumns();
        UpdateScrollBar();
        viewport()->update();
    }
}

void CPlannerWidget::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
    NotifyCurrentCell();
}

QRect CPlannerWidget::Selection() const
{
    return QRect(QPoint(std::min(m_anchorColumn, m_currentColumn), std::min(m_anchorRow, m_currentRow)),
        QPoint(std::max(m_anchorColumn, m_currentColumn), std::max(m_anchorRow, m_currentRow)));
}

int CPlannerWidget::AccessibleCurrentCell() const
{
    if (!QAccessible::isActive() || !hasFocus())
        return -1;
    const auto* table = dynamic_cast<CPlannerAccessible*>(
        QAccessible::queryAccessibleInterface(const_cast<CPlannerWidget*>(this)));
    return table ? table->CellIndex(m_currentColumn, m_currentRow) : -1;
}

void CPlannerWidget::NotifyCurrentCell()
{
    const int index = AccessibleCurrentCell();
    if (index < 0)
        return;
    QAccessibleEvent focus(this, QAccessible::Focus);
    focus.setChild(index);
    QAccessible::updateAccessibility(&focus);
}

void CPlannerWidget::NotifyMarking()
{
    const int index = AccessibleCurrentCell();
    if (index < 0)
        return;
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent state(this, changed);
    state.setChild(index);
    QAccessible::updateAccessibility(&state);
    QAccessibleValueChangeEvent value(
        this, QAccessible::queryAccessibleInterface(this)->child(index)->text(QAccessible::Value));
    value.setChild(index);
    QAccessible::updateAccessibility(&value);
}

void CPlannerWidget::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

void CPlannerWidget::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    const QPalette& pal = palette();
    painter.fillRect(event->rect(), pal.color(QPalette::Base));
    if (!m_model || m_model->ColumnCount() == 0)
        return;

    const int columns = m_model->ColumnCount();
    const int rows = m_model->RowCount();
    const int rowHeight = RowHeight();
    const int header = HeaderHeight();
    const int firstRow = FirstShownRow();
    const int lastRow = std::min(rows - 1, firstRow + (viewport()->height() - header) / rowHeight + 1);
    const QColor gridColor = pal.color(QPalette::Mid);
    const QColor markColor = ToQColor(m_model->MarkColor());
    const QColor markTextColor = ToQColor(PlannerTextColorOn(m_model->MarkColor()));
    const bool canMark = m_model->CanMark();
    const QColor gapColor = ToQColor(CTimePlanner::GapColor());
    const QColor gapPatternColor = ToQColor(CTimePlanner::GapPatternColor());
    const QColor gapTextColor = ToQColor(PlannerTextColorOn(CTimePlanner::GapColor()));

    // Cells.
    painter.save();
    painter.setClipRect(QRect(0, header, viewport()->width(), viewport()->height() - header));
    for (int column = 0; column < columns; ++column) {
        const int left = m_edges[column];
        const int width = m_edges[column + 1] - left;
        if (width <= 0 || !event->rect().intersects(QRect(left, 0, width, viewport()->height())))
            continue;
        for (int row = firstRow; row <= lastRow; ++row) {
            const SPlannerCell& cell = m_model->Cell(column, row);
            const QRect rect(left, header + (row - firstRow) * rowHeight, width, rowHeight);
            if (cell.m_gap) {
                // A gap is seen without colour vision too: hatched, with the duty's colour kept as
                // a strip at the left where the cell is marked.
                painter.fillRect(rect, gapColor);
                painter.fillRect(rect, QBrush(gapPatternColor, Qt::BDiagPattern));
                if (cell.m_marked)
                    painter.fillRect(
                        QRect(rect.left(), rect.top(), std::max(3, width / 6), rect.height()), markColor);
            } else {
                painter.fillRect(rect, cell.m_marked ? markColor : ToQColor(cell.m_color));
            }
            if (!cell.m_text.isEmpty()) {
                painter.setPen(
                    cell.m_gap ? gapTextColor : (cell.m_marked ? markTextColor : ToQColor(cell.m_textColor)));
                const QRect textRect = rect.adjusted(3, 0, -3, 0);
                const Qt::Alignment align
                    = column == 0 ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignLeft | Qt::AlignVCenter;
                painter.drawText(textRect, int(align),
                    painter.fontMetrics().elidedText(cell.m_text, Qt::ElideRight, textRect.width()));
            }
            // Grid lines: the bottom of each quarter, darker at the full hour.
            painter.setPen((row + 1) % 4 == 0 ? pal.color(QPalette::Dark) : gridColor);
            painter.drawLine(rect.left(), rect.bottom(), rect.right(), rect.bottom());
            painter.setPen(gridColor);
            painter.drawLine(rect.right(), rect.top(), rect.right(), rect.bottom());
        }
    }

    // The keyboard selection and the current cell.
    if (hasFocus() && rows > 0) {
        const QRect first
            = CellRect(std::min(m_anchorColumn, m_currentColumn), std::min(m_anchorRow, m_currentRow));
        const QRect last
            = CellRect(std::max(m_anchorColumn, m_currentColumn), std::max(m_anchorRow, m_currentRow));
        if (first.isValid() && last.isValid()) {
            const QRect selection = first.united(last);
            if (selection != CellRect(m_currentColumn, m_currentRow)) {
                QColor fill = pal.color(QPalette::Highlight);
                fill.setAlpha(60);
                painter.fillRect(selection, fill);
            }
            QStyleOptionFocusRect option;
            option.initFrom(this);
            option.rect = CellRect(m_currentColumn, m_currentRow).adjusted(1, 1, -1, -1);
            option.backgroundColor = pal.color(QPalette::Base);
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
            if (canMark) {
                painter.setPen(QPen(pal.color(QPalette::Highlight), 2));
                painter.setBrush(Qt::NoBrush);
                painter.drawRect(CellRect(m_currentColumn, m_currentRow).adjusted(1, 1, -1, -1));
            }
        }
    }
    painter.restore();

    // Heading row.
    QFont bold = font();
    bold.setBold(true);
    for (int column = 0; column < columns; ++column) {
        const QRect rect(m_edges[column], 0, m_edges[column + 1] - m_edges[column], header);
        if (rect.width() <= 0)
            continue;
        const bool highlighted = m_model->ColumnHighlighted(column);
        painter.fillRect(rect, highlighted ? pal.color(QPalette::Highlight) : pal.color(QPalette::Button));
        painter.setPen(pal.color(QPalette::Dark));
        painter.drawLine(rect.right(), rect.top(), rect.right(), rect.bottom());
        painter.drawLine(rect.left(), rect.bottom(), rect.right(), rect.bottom());
        const QString heading = m_model->ColumnHeading(column);
        if (heading.isEmpty())
            continue;
        // Bold for a highlighted heading, unless only the regular weight fits.
        const bool useBold = highlighted && QFontMetrics(bold).horizontalAdvance(heading) <= rect.width() - 4;
        painter.setFont(useBold ? bold : font());
        painter.setPen(highlighted ? pal.color(QPalette::HighlightedText) : pal.color(QPalette::ButtonText));
        const QRect textRect = rect.adjusted(2, 0, -2, 0);
        painter.drawText(textRect, Qt::AlignCenter,
            painter.fontMetrics().elidedText(heading, Qt::ElideRight, textRect.width()));
    }
}

void CPlannerWidget::SetCurrentCell(int column, int row)
{
    if (!m_model || m_model->ColumnCount() == 0 || m_model->RowCount() == 0)
        return;
    m_currentColumn = m_anchorColumn = std::clamp(column, 0, m_model->ColumnCount() - 1);
    m_currentRow = m_anchorRow = std::clamp(row, 0, m_model->RowCount() - 1);
    EnsureVisible(m_currentRow);
    viewport()->update();
    NotifyCurrentCell();
}

int CPlannerWidget::NextColumn(int column, int step) const
{
    if (!m_model)
        return column;
    for (int next = column + step; next >= 0 && next < m_model->ColumnCount(); next += step)
        if (m_model->ColumnMarkable(next))
            return next;
    return column;
}

void CPlannerWidget::mousePressEvent(QMouseEvent* event)
{
    int column = 0;
    int row = 0;
    if (event->button() != Qt::LeftButton || !CellAt(event->position().toPoint(), column, row)) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    if (m_model->ColumnMarkable(column)) {
        m_currentColumn = m_anchorColumn = column;
        m_currentRow = m_anchorRow = row;
        NotifyCurrentCell();
    }
    if (m_model->CanMark() && m_model->ColumnMarkable(column)) {
        const int columns = m_model->ColumnCount();
        const int rows = m_model->RowCount();
        m_dragBefore.resize(qsizetype(columns) * rows);
        for (int c = 0; c < columns; ++c)
            for (int r = 0; r < rows; ++r)
                m_dragBefore[qsizetype(c) * rows + r] = m_model->CellMarked(c, r);
        m_dragging = true;
        m_dragMark = !m_model->CellMarked(column, row);
        m_dragColumn = m_dragToColumn = column;
        m_dragRow = m_dragToRow = row;
        m_model->UserSetMarked(column, row, column, row, m_dragMark);
    }
    viewport()->update();
    event->accept();
}

void CPlannerWidget::DragTo(int column, int row)
{
    if (column == m_dragToColumn && row == m_dragToRow)
        return;
    const int rows = m_model->RowCount();
    // Cells left by the shrinking rectangle get their state from before the drag back.
    const int oldLeft = std::min(m_dragColumn, m_dragToColumn),
              oldRight = std::max(m_dragColumn, m_dragToColumn);
    const int oldTop = std::min(m_dragRow, m_dragToRow), oldBottom = std::max(m_dragRow, m_dragToRow);
    const int newLeft = std::min(m_dragColumn, column), newRight = std::max(m_dragColumn, column);
    const int newTop = std::min(m_dragRow, row), newBottom = std::max(m_dragRow, row);
    m_model->BeginUpdate();
    for (int c = oldLeft; c <= oldRight; ++c)
        for (int r = oldTop; r <= oldBottom; ++r)
            if (c < newLeft || c > newRight || r < newTop || r > newBottom)
                m_model->SetCellMarked(c, r, m_dragBefore.value(qsizetype(c) * rows + r));
    m_model->UserSetMarked(m_dragColumn, m_dragRow, column, row, m_dragMark);
    m_model->EndUpdate();
    m_dragToColumn = column;
    m_dragToRow = row;
    m_currentColumn = column;
    m_currentRow = row;
}

void CPlannerWidget::DragToPosition(QPoint position)
{
    position.setX(std::clamp(position.x(), 0, std::max(0, m_edges.constLast() - 1)));
    position.setY(
        std::clamp(position.y(), HeaderHeight(), std::max(HeaderHeight(), viewport()->height() - 1)));
    int column = 0;
    int row = 0;
    if (CellAt(position, column, row)) {
        DragTo(column, row);
    } else if (m_model->RowCount() > 0 && position.y() > HeaderHeight()
        && CellAt(QPoint(position.x(), HeaderHeight()), column, row)) {
        // Below the last row (the grid scrolled to its end): the last row.
        DragTo(column, m_model->RowCount() - 1);
    }
}

void CPlannerWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragging || !m_model || !(event->buttons() & Qt::LeftButton)) {
        QAbstractScrollArea::mouseMoveEvent(event);
        return;
    }
    m_dragPosition = event->position().toPoint();
    // Past the top or bottom edge the grid scrolls on a timer while the button is held, so the
    // drag goes on without further moves; the farther out, the faster.
    int outside = 0;
    if (m_dragPosition.y() < HeaderHeight())
        outside = m_dragPosition.y() - HeaderHeight();
    else if (m_dragPosition.y() >= viewport()->height())
        outside = m_dragPosition.y() - viewport()->height() + 1;
    if (outside != 0) {
        const int rows = std::min(kAutoScrollMaxRows, 1 + std::abs(outside) / RowHeight());
        m_autoScrollRows = outside < 0 ? -rows : rows;
        if (!m_autoScrollTimer->isActive()) {
            OnAutoScroll(); // the first row at once
            m_autoScrollTimer->start();
        }
    } else {
        StopAutoScroll();
    }
    DragToPosition(m_dragPosition);
    event->accept();
}

void CPlannerWidget::OnAutoScroll()
{
    if (!m_dragging || !m_model || !isVisible()) {
        StopAutoScroll();
        return;
    }
    QScrollBar* bar = verticalScrollBar();
    const int before = bar->value();
    bar->setValue(before + m_autoScrollRows);
    DragToPosition(m_dragPosition);
    viewport()->update();
    // At the first or last row there is nothing more to scroll.
    if (bar->value() == before)
        m_autoScrollTimer->stop();
}

void CPlannerWidget::StopAutoScroll()
{
    m_autoScrollRows = 0;
    if (m_autoScrollTimer)
        m_autoScrollTimer->stop();
}

bool CPlannerWidget::IsAutoScrolling() const
{
    return m_autoScrollTimer && m_autoScrollTimer->isActive();
}

void CPlannerWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        m_dragging = false;
        m_dragBefore.clear();
        StopAutoScroll();
        event->accept();
        return;
    }
    QAbstractScrollArea::mouseReleaseEvent(event);
}

void CPlannerWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    int column = 0;
    int row = 0;
    if (event->button() == Qt::LeftButton && CellAt(event->position().toPoint(), column, row)) {
        m_model->UserActivate(column, row);
        event->accept();
        return;
    }
    QAbstractScrollArea::mouseDoubleClickEvent(event);
}

void CPlannerWidget::keyPressEvent(QKeyEvent* event)
{
    if (!m_model || m_model->ColumnCount() == 0 || m_model->RowCount() == 0) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    const int rows = m_model->RowCount();
    const int page = std::max(1, verticalScrollBar()->pageStep());
    int column = m_currentColumn;
    int row = m_currentRow;
    // Ctrl moves by an hour: a morning's duty is a few keys, not sixteen.
    const int step = (event->modifiers() & Qt::ControlModifier) ? kRowsPerHour : 1;
    switch (event->key()) {
    case Qt::Key_Up:
        row = std::max(0, row - step);
        break;
    case Qt::Key_Down:
        row = std::min(rows - 1, row + step);
        break;
    case Qt::Key_Left:
        column = NextColumn(column, -1);
        break;
    case Qt::Key_Right:
        column = NextColumn(column, 1);
        break;
    case Qt::Key_PageUp:
        row = std::max(0, row - page);
        break;
    case Qt::Key_PageDown:
        row = std::min(rows - 1, row + page);
        break;
    case Qt::Key_Home:
        row = 0;
        break;
    case Qt::Key_End:
        row = rows - 1;
        break;
    case Qt::Key_Space:
        if (!event->isAutoRepeat())
            m_model->UserSetMarked(m_anchorColumn, m_anchorRow, m_currentColumn, m_currentRow,
                !m_model->CellMarked(m_currentColumn, m_currentRow));
        event->accept();
        return;
    case Qt::Key_Delete:
        if (!event->isAutoRepeat())
            m_model->UserSetMarked(m_anchorColumn, m_anchorRow, m_currentColumn, m_currentRow, false);
        event->accept();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        m_model->UserActivate(m_currentColumn, m_currentRow);
        event->accept();
        return;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    m_currentColumn = column;
    m_currentRow = row;
    if (!(event->modifiers() & Qt::ShiftModifier)) {
        m_anchorColumn = column;
        m_anchorRow = row;
    }
    EnsureVisible(row);
    viewport()->update();
    NotifyCurrentCell();
    event->accept();
}

bool CPlannerWidget::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::ToolTip && m_model) {
        auto* help = static_cast<QHelpEvent*>(event);
        int column = 0;
        int row = 0;
        QString hint;
        const bool cell = CellAt(help->pos(), column, row);
        if (cell && column != 0)
            hint = m_model->CellHint(column, row);
        else if (m_model->CanMark() && (help->pos().y() < HeaderHeight() || cell))
            hint = MarkingHelp(); // over the headings and the time labels
        if (hint.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), hint, viewport(),
                cell ? CellRect(column, row) : QRect(0, 0, viewport()->width(), HeaderHeight()));
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}
