#pragma once

#include <span>

#include <QDialog>

#include "editors/EditorLogic.h"
#include "editors/ScheduleDialogs.h"
#include "schedule/Barrage.h"

class QComboBox;
class QDateEdit;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimeEdit;
class QTreeWidget;

// --- Barriers/pauses -------------------------------------------------------------------------------------

// "Barrier/Pause": one barrier with its barrier type and the priority level (chosen or typed; the
// leading number of the text counts).
class CBarrageEntry : public CScheduleEntry
{
    Q_OBJECT

public:
    // A new barrier: the current date, 00:00:00 to 23:59:59, the first date type, barrier type and
    // priority.
    explicit CBarrageEntry(QWidget* parent = nullptr);
    // An existing barrier, preset from the record.
    explicit CBarrageEntry(const CBarrage& barrier, QWidget* parent = nullptr);

    CBarrageFields Fields() const;
    void SetFields(const CBarrageFields& fields);
    // The record built from the controls.
    CBarrage Record() const { return BarrageFromFields(Fields()); }

    QComboBox* BarrierTypeCombo() const { return m_barrierType; }
    QComboBox* PriorityCombo() const { return m_priority; }

protected:
    void Retranslate() override;

private:
    void Build();

    QComboBox* m_barrierType = nullptr;
    QComboBox* m_priority = nullptr;
    QLabel* m_barrierTypeLabel = nullptr;
    QLabel* m_priorityLabel = nullptr;
};

// "Barriers/Pauses": edits the barrier list in place and sets its modified flag on every add, edit
// and removal; the list is kept sorted by date-type rank.
class CBarrageListDialog : public CScheduleListDialog
{
    Q_OBJECT

public:
    explicit CBarrageListDialog(CBarrageArray& barriers, QWidget* parent = nullptr);

protected:
    QString Title() const override;
    void SortRecords() override;
    qsizetype RecordCount() const override { return m_barriers.size(); }
    QStringList RowTexts(qsizetype index) const override;
    QList<QStringList> ColumnSamples() const override;
    bool RunEntry(qsizetype index) override;
    qsizetype StoredIndex() const override;
    void RemoveAt(qsizetype index) override;

private:
    CBarrageArray& m_barriers;
    CBarrage m_stored;
};
