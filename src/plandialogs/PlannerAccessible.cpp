#include "plandialogs/PlannerAccessible.h"

#include <QScrollBar>
#include <QWindow>

#include "plandialogs/PlannerWidget.h"
#include "planning/PlannerModel.h"

namespace {

// One cell of the planner's table. It names a model cell by its model column and row and asks the
// widget and its model afresh on every call, so it never reports a stale mark.
class CPlannerCellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface
{
public:
    CPlannerCellAccessible(CPlannerWidget* widget, int column, int row)
        : m_widget(widget)
        , m_column(column)
        , m_row(row)
    { }

    bool isValid() const override
    {
        const CPlannerModel* model = m_widget ? m_widget->Model() : nullptr;
        return model && m_column < model->ColumnCount() && m_row < model->RowCount();
    }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_widget ? m_widget->window()->windowHandle() : nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(m_widget); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    void setText(QAccessible::Text, const QString&) override { }
    QAccessible::Role role() const override { return QAccessible::Cell; }

    QString text(QAccessible::Text type) const override
    {
        if (!isValid())
            return QString();
        const CPlannerModel* model = m_widget->Model();
        switch (type) {
        case QAccessible::Name: {
            const QString row = model->RowDescription(m_row);
            const QString column = model->ColumnDescription(m_column);
            return row.isEmpty() ? column : column + QStringLiteral(", ") + row;
        }
        case QAccessible::Value:
        case QAccessible::Description:
            return Value();
        default:
            return QString();
        }
    }

    QRect rect() const override
    {
        if (!isValid())
            return QRect();
        const QRect cell = m_widget->CellRect(m_column, m_row);
        if (cell.isEmpty())
            return QRect();
        return QRect(m_widget->viewport()->mapToGlobal(cell.topLeft()), cell.size());
    }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid())
            return state;
        const CPlannerModel* model = m_widget->Model();
        const bool markable = model->CanMark() && model->ColumnMarkable(m_column);
        state.selectable = markable;
        state.selected = markable && isSelected();
        state.focusable = true;
        state.focused = m_widget->hasFocus() && m_widget->CurrentColumn() == m_column
            && m_widget->CurrentRow() == m_row;
        state.checkable = markable;
        state.checked = model->CellMarked(m_column, m_row);
        state.readOnly = !markable;
        const QRect cell = m_widget->CellRect(m_column, m_row);
        const int header = m_widget->HeaderHeight();
        if (cell.isEmpty() || cell.bottom() < header || cell.top() >= m_widget->viewport()->height()) {
            state.offscreen = true;
            state.invisible = true;
        }
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TableCellInterface ? static_cast<QAccessibleTableCellInterface*>(this)
                                                       : nullptr;
    }

    // QAccessibleTableCellInterface
    bool isSelected() const override
    {
        if (!m_widget)
            return false;
        const QRect selection = m_widget->Selection();
        return m_widget->hasFocus() && selection.contains(m_column, m_row);
    }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override
    {
        const auto* table = dynamic_cast<CPlannerAccessible*>(parent());
        return table ? table->TableColumn(m_column) : -1;
    }
    int rowIndex() const override { return m_row; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

    int Column() const { return m_column; }
    int Row() const { return m_row; }

private:
    // The target's name where the cell is marked, then the names shown in it (a group's members),
    // or "no duty".
    QString Value() const
    {
        const CPlannerModel* model = m_widget->Model();
        QStringList names;
        if (model->CellMarked(m_column, m_row) && !model->MarkText().isEmpty())
            names << model->MarkText();
        const QString text = model->CellText(m_column, m_row);
        if (!text.isEmpty())
            names << text.split(u';', Qt::SkipEmptyParts);
        if (names.isEmpty())
            return CPlannerAccessible::tr("no duty");
        return names.join(QStringLiteral(", "));
    }

    QPointer<CPlannerWidget> m_widget;
    int m_column;
    int m_row;
};

} // namespace

CPlannerAccessible::CPlannerAccessible(QWidget* widget)
    : QAccessibleWidget(widget, QAccessible::Table)
{ }

CPlannerAccessible::~CPlannerAccessible()
{
    ForgetCells();
}

QAccessibleInterface* CPlannerAccessible::Factory(const QString& className, QObject* object)
{
    if (className == QLatin1String("CPlannerWidget") && object && object->isWidgetType())
        return new CPlannerAccessible(static_cast<QWidget*>(object));
    return nullptr;
}

CPlannerWidget* CPlannerAccessible::Planner() const
{
    return qobject_cast<CPlannerWidget*>(object());
}

QList<int> CPlannerAccessible::TableColumns() const
{
    QList<int> columns;
    const CPlannerWidget* planner = Planner();
    const CPlannerModel* model = planner ? planner->Model() : nullptr;
    if (!model)
        return columns;
    // Every column but the time column and the separator (not markable and without heading).
    for (int column = 1; column < model->ColumnCount(); ++column)
        if (model->ColumnMarkable(column) || !model->ColumnHeading(column).isEmpty())
            columns << column;
    return columns;
}

int CPlannerAccessible::ModelColumn(int column) const
{
    const QList<int> columns = TableColumns();
    return column >= 0 && column < columns.size() ? columns[column] : -1;
}

int CPlannerAccessible::TableColumn(int modelColumn) const
{
    return int(TableColumns().indexOf(modelColumn));
}

int CPlannerAccessible::CellIndex(int modelColumn, int row) const
{
    const QList<int> columns = TableColumns();
    const int column = int(columns.indexOf(modelColumn));
    if (column < 0 || row < 0 || row >= rowCount())
        return -1;
    return row * int(columns.size()) + column;
}

void CPlannerAccessible::ForgetCells()
{
    for (const QAccessible::Id id : std::as_const(m_cells))
        QAccessible::deleteAccessibleInterface(id);
    m_cells.clear();
}

void* CPlannerAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

int CPlannerAccessible::childCount() const
{
    return rowCount() * columnCount();
}

QAccessibleInterface* CPlannerAccessible::child(int index) const
{
    const int columns = columnCount();
    if (index < 0 || columns == 0 || index >= childCount())
        return nullptr;
    const int column = ModelColumn(index % columns);
    if (const auto it = m_cells.constFind(index); it != m_cells.cend()) {
        // A cell made before the grid changed shape may stand for another model column now.
        auto* cell = static_cast<CPlannerCellAccessible*>(QAccessible::accessibleInterface(*it));
        if (cell && cell->Column() == column)
            return cell;
        QAccessible::deleteAccessibleInterface(*it);
        m_cells.erase(it);
    }
    auto* cell = new CPlannerCellAccessible(Planner(), column, index / columns);
    m_cells.insert(index, QAccessible::registerAccessibleInterface(cell));
    return cell;
}

int CPlannerAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    const auto* cell = dynamic_cast<const CPlannerCellAccessible*>(child);
    return cell ? CellIndex(cell->Column(), cell->Row()) : -1;
}

QAccessibleInterface* CPlannerAccessible::childAt(int x, int y) const
{
    const CPlannerWidget* planner = Planner();
    if (!planner)
        return nullptr;
    int column = 0;
    int row = 0;
    if (!planner->CellAt(planner->viewport()->mapFromGlobal(QPoint(x, y)), column, row))
        return nullptr;
    return child(CellIndex(column, row));
}

QAccessibleInterface* CPlannerAccessible::focusChild() const
{
    const CPlannerWidget* planner = Planner();
    if (!planner || !planner->hasFocus())
        return nullptr;
    return child(CellIndex(planner->CurrentColumn(), planner->CurrentRow()));
}

QAccessibleInterface* CPlannerAccessible::caption() const
{
    return nullptr;
}

QAccessibleInterface* CPlannerAccessible::summary() const
{
    return nullptr;
}

QAccessibleInterface* CPlannerAccessible::cellAt(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return nullptr;
    return child(row * columnCount() + column);
}

int CPlannerAccessible::selectedCellCount() const
{
    return int(selectedCells().size());
}

QList<QAccessibleInterface*> CPlannerAccessible::selectedCells() const
{
    QList<QAccessibleInterface*> cells;
    const CPlannerWidget* planner = Planner();
    if (!planner || !planner->hasFocus())
        return cells;
    const QRect selection = planner->Selection();
    for (int row = selection.top(); row <= selection.bottom(); ++row)
        for (int column = selection.left(); column <= selection.right(); ++column)
            if (QAccessibleInterface* cell = child(CellIndex(column, row)))
                cells << cell;
    return cells;
}

QString CPlannerAccessible::columnDescription(int column) const
{
    const CPlannerWidget* planner = Planner();
    return planner && planner->Model() ? planner->Model()->ColumnDescription(ModelColumn(column)) : QString();
}

int CPlannerAccessible::columnCount() const
{
    return int(TableColumns().size());
}

QString CPlannerAccessible::rowDescription(int row) const
{
    const CPlannerWidget* planner = Planner();
    return planner && planner->Model() ? planner->Model()->RowDescription(row) : QString();
}

int CPlannerAccessible::rowCount() const
{
    const CPlannerWidget* planner = Planner();
    return planner && planner->Model() ? planner->Model()->RowCount() : 0;
}

// The selection is a rectangle of cells that never spans whole rows or columns on its own.
int CPlannerAccessible::selectedColumnCount() const
{
    return 0;
}

int CPlannerAccessible::selectedRowCount() const
{
    return 0;
}

QList<int> CPlannerAccessible::selectedColumns() const
{
    return {};
}

QList<int> CPlannerAccessible::selectedRows() const
{
    return {};
}

bool CPlannerAccessible::isColumnSelected(int) const
{
    return false;
}

bool CPlannerAccessible::isRowSelected(int) const
{
    return false;
}

bool CPlannerAccessible::selectRow(int)
{
    return false;
}

bool CPlannerAccessible::selectColumn(int)
{
    return false;
}

bool CPlannerAccessible::unselectRow(int)
{
    return false;
}

bool CPlannerAccessible::unselectColumn(int)
{
    return false;
}

void CPlannerAccessible::modelChange(QAccessibleTableModelChangeEvent*)
{
    ForgetCells();
}
