#pragma once

#include <QDialog>

#include "editors/EditorLogic.h"
#include "editors/ScheduleDialogs.h"
#include "schedule/Shift.h"

class QCheckBox;
class QComboBox;
class QLabel;

// "Shift": one shift with its number (chosen, or typed with automatic base; "No Shift" is 0) and the
// weekly rotation. Rotation is offered only for a shift with a number whose date type is not a
// fixed date or one of the holiday types; the start week, the cycle and their labels are enabled
// exactly while the rotation is on.
class CShiftEntry : public CScheduleEntry
{
    Q_OBJECT

public:
    // A new shift: the current date, 00:00:00 to 23:59:59, the first date type, number and cycle,
    // no rotation.
    explicit CShiftEntry(QWidget* parent = nullptr);
    // An existing shift, preset from the record.
    explicit CShiftEntry(const CShift& shift, QWidget* parent = nullptr);

    CShiftFields Fields() const;
    void SetFields(const CShiftFields& fields);
    // The record built from the controls.
    CShift Record() const { return ShiftFromFields(Fields()); }

    QComboBox* NumberCombo() const { return m_number; }
    QCheckBox* RotationBox() const { return m_rotation; }
    QComboBox* StartWeekCombo() const { return m_startWeek; }
    QComboBox* CycleCombo() const { return m_cycle; }
    QLabel* CycleLabel() const { return m_cycleLabel; }
    QLabel* WeeksLabel() const { return m_weeksLabel; }

protected:
    void Retranslate() override;
    void DateTypeChanged() override { UpdateRotation(); }

private:
    void Build();
    void UpdateRotation();

    QComboBox* m_number = nullptr;
    QCheckBox* m_rotation = nullptr;
    QComboBox* m_startWeek = nullptr;
    QComboBox* m_cycle = nullptr;
    QLabel* m_numberLabel = nullptr;
    QLabel* m_cycleLabel = nullptr;
    QLabel* m_weeksLabel = nullptr;
    // The rotation as the operator last set it; the box shows it whenever rotation is allowed.
    bool m_rotationWanted = false;
};

// "Shifts": edits the shift list in place and sets its modified flag on every add, edit and
// removal; the list is kept sorted like the barrier list.
class CShiftListDialog : public CScheduleListDialog
{
    Q_OBJECT

public:
    explicit CShiftListDialog(CShiftArray& shifts, QWidget* parent = nullptr);

protected:
    QString Title() const override;
    void SortRecords() override;
    qsizetype RecordCount() const override { return m_shifts.size(); }
    QStringList RowTexts(qsizetype index) const override;
    QList<QStringList> ColumnSamples() const override;
    bool RunEntry(qsizetype index) override;
    qsizetype StoredIndex() const override;
    void RemoveAt(qsizetype index) override;

private:
    CShiftArray& m_shifts;
    CShift m_stored { CDateTime {} };
};
