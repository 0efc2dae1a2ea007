#include "editors/BarrageDialogs.h"

#include <memory>
#include <utility>

#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyle>
#include <QTimeEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "schedule/DateType.h"
#include "widgets/TypedFields.h"
#include "widgets/WidgetFit.h"

// --- CBarrageEntry ---------------------------------------------------------------------------------

CBarrageEntry::CBarrageEntry(QWidget* parent)
    : CScheduleEntry(parent)
{
    Build();
    SetFields(NewBarrageFields(CDateTime::GetCurrentTime()));
}

CBarrageEntry::CBarrageEntry(const CBarrage& barrier, QWidget* parent)
    : CScheduleEntry(parent)
{
    Build();
    SetFields(FieldsFromBarrage(barrier));
}

void CBarrageEntry::Build()
{
    m_barrierTypeLabel = new QLabel(this);
    m_barrierType = new QComboBox(this);
    m_barrierTypeLabel->setBuddy(m_barrierType);
    m_barrierType->addItems(BarrierTypeItems());

    m_priorityLabel = new QLabel(this);
    m_priority = new QComboBox(this);
    m_priority->setEditable(true);
    m_priority->setInsertPolicy(QComboBox::NoInsert);
    m_priorityLabel->setBuddy(m_priority);
    m_priority->addItems(PriorityItems());

    Form()->addRow(m_barrierTypeLabel, m_barrierType);
    Form()->addRow(m_priorityLabel, m_priority);
    AddButtons();
    Retranslate();
}

CBarrageFields CBarrageEntry::Fields() const
{
    CBarrageFields fields;
    fields.name = NameEdit()->text();
    fields.dateTypePosition = DateTypePositionValue();
    fields.date = DateValue();
    fields.fromTime = FromTimeValue();
    fields.toTime = ToTimeValue();
    fields.barrierTypeIndex = m_barrierType->currentIndex();
    fields.priorityText = m_priority->currentText();
    return fields;
}

void CBarrageEntry::SetFields(const CBarrageFields& fields)
{
    m_barrierType->setCurrentIndex(fields.barrierTypeIndex);
    // A level selects its item; a number without one stands as typed text.
    const int item = FindItemStartingWith(PriorityItems(), fields.priorityText);
    m_priority->setCurrentIndex(item);
    if (item < 0)
        m_priority->setEditText(fields.priorityText);
    SetCommonFields(fields.name, fields.dateTypePosition, fields.date, fields.fromTime, fields.toTime);
}

void CBarrageEntry::Retranslate()
{
    setWindowTitle(tr("Barrier/Pause"));
    CScheduleEntry::Retranslate();
    m_barrierTypeLabel->setText(tr("Type of &barrier/pause:"));
    m_priorityLabel->setText(tr("&Priority:"));
    m_priority->setToolTip(
        tr("The priority level of the messages let through; choose one or type its number"));
    SetComboItems(m_barrierType, BarrierTypeItems());
    SetComboItems(m_priority, PriorityItems());
}

// --- CBarrageListDialog ----------------------------------------------------------------------------

CBarrageListDialog::CBarrageListDialog(CBarrageArray& barriers, QWidget* parent)
    : CScheduleListDialog(BarrageColumns(), "CBarrageListDialog", parent)
    , m_barriers(barriers)
{
    Retranslate();
}

QString CBarrageListDialog::Title() const
{
    return tr("Barriers/Pauses");
}

void CBarrageListDialog::SortRecords()
{
    m_barriers.Sort();
}

QStringList CBarrageListDialog::RowTexts(qsizetype index) const
{
    return BarrageRowTexts(m_barriers.at(index));
}

QList<QStringList> CBarrageListDialog::ColumnSamples() const
{
    return BarrageColumnSamples();
}

bool CBarrageListDialog::RunEntry(qsizetype index)
{
    const bool existing = index >= 0 && index < m_barriers.size();
    const auto entry = existing ? std::make_unique<CBarrageEntry>(m_barriers.at(index), this)
                                : std::make_unique<CBarrageEntry>(this);
    if (entry->exec() != QDialog::Accepted)
        return false;
    m_stored = entry->Record();
    if (existing)
        m_barriers.removeAt(index);
    m_barriers.append(m_stored);
    m_barriers.SetModified(true);
    return true;
}

qsizetype CBarrageListDialog::StoredIndex() const
{
    for (qsizetype i = m_barriers.size() - 1; i >= 0; --i) {
        if (SameStoredFields(m_barriers.at(i), m_stored))
            return i;
    }
    return -1;
}

void CBarrageListDialog::RemoveAt(qsizetype index)
{
    m_barriers.removeAt(index);
    m_barriers.SetModified(true);
}
