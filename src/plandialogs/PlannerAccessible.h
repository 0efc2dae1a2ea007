#pragma once

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QHash>
#include <QPointer>

class CPlannerWidget;

// What a screen reader meets in the planner grid: a table whose rows are the grid's rows (the
// quarter hours, named by the model's row descriptions) and whose columns are the day and holiday
// columns (named by the model's column descriptions); the time column and the separator column
// are left out. Each cell is named by its column and row ("Monday, 7 December 2026, 10:00 to
// 10:15"), its value tells its mark (the target's name where it is marked, the members shown in
// it, or "no duty"), it is checked where marked and selected inside the keyboard selection. The
// current cell is the focus child while the grid has focus.
class CPlannerAccessible : public QAccessibleWidget, public QAccessibleTableInterface
{
    Q_DECLARE_TR_FUNCTIONS(CPlannerAccessible)

public:
    explicit CPlannerAccessible(QWidget* widget);
    ~CPlannerAccessible() override;

    // The factory Qt asks for every object; installed once by the planner widget.
    static QAccessibleInterface* Factory(const QString& className, QObject* object);

    CPlannerWidget* Planner() const;
    // The model column of a table column, or -1.
    int ModelColumn(int column) const;
    // The table column of a model column, or -1 where the table leaves it out.
    int TableColumn(int modelColumn) const;
    // The child index of a cell, or -1 outside the table.
    int CellIndex(int modelColumn, int row) const;

    // QAccessibleInterface
    void* interface_cast(QAccessible::InterfaceType type) override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    // QAccessibleTableInterface
    QAccessibleInterface* caption() const override;
    QAccessibleInterface* summary() const override;
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override;
    QList<QAccessibleInterface*> selectedCells() const override;
    QString columnDescription(int column) const override;
    int columnCount() const override;
    QString rowDescription(int row) const override;
    int rowCount() const override;
    int selectedColumnCount() const override;
    int selectedRowCount() const override;
    QList<int> selectedColumns() const override;
    QList<int> selectedRows() const override;
    bool isColumnSelected(int column) const override;
    bool isRowSelected(int row) const override;
    bool selectRow(int row) override;
    bool selectColumn(int column) override;
    bool unselectRow(int row) override;
    bool unselectColumn(int column) override;
    void modelChange(QAccessibleTableModelChangeEvent* event) override;

private:
    QList<int> TableColumns() const;
    void ForgetCells();

    // The cells' interfaces, made when first asked for and kept until the grid changes shape.
    mutable QHash<int, QAccessible::Id> m_cells;
};
