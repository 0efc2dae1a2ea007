#include "editors/ShiftDialogs.h"

#include <memory>

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

// --- CShiftEntry -----------------------------------------------------------------------------------

CShiftEntry::CShiftEntry(QWidget* parent)
    : CScheduleEntry(parent)
{
    Build();
    SetFields(NewShiftFields(CDateTime::GetCurrentTime()));
}

CShiftEntry::CShiftEntry(const CShift& shift, QWidget* parent)
    : CScheduleEntry(parent)
{
    Build();
    SetFields(FieldsFromShift(shift));
}

void CShiftEntry::Build()
{
    // Created in tab order.
    m_numberLabel = new QLabel(this);
    m_number = new QComboBox(this);
    m_number->setEditable(true);
    m_number->setInsertPolicy(QComboBox::NoInsert);
    m_number->addItems(ShiftNumberItems());
    m_numberLabel->setBuddy(m_number);

    m_rotation = new QCheckBox(this);
    m_startWeek = new QComboBox(this);
    m_startWeek->addItems(StartWeekItems());
    m_startWeek->setMaxVisibleItems(12);

    m_cycleLabel = new QLabel(this);
    m_cycle = new QComboBox(this);
    m_cycle->setEditable(true);
    m_cycle->setInsertPolicy(QComboBox::NoInsert);
    m_cycle->addItems(CycleItems());
    m_cycleLabel->setBuddy(m_cycle);
    m_weeksLabel = new QLabel(this);

    auto* rotationRow = new QHBoxLayout;
    rotationRow->addWidget(m_rotation);
    rotationRow->addWidget(m_startWeek);
    rotationRow->addStretch(1);

    auto* cycleRow = new QHBoxLayout;
    cycleRow->addWidget(m_cycle);
    cycleRow->addWidget(m_weeksLabel);
    cycleRow->addStretch(1);

    Form()->addRow(m_numberLabel, m_number);
    Form()->addRow(rotationRow);
    Form()->addRow(m_cycleLabel, cycleRow);
    AddButtons();

    connect(m_number, &QComboBox::currentTextChanged, this, &CShiftEntry::UpdateRotation);
    connect(m_rotation, &QCheckBox::clicked, this, [this](bool checked) {
        m_rotationWanted = checked;
        UpdateRotation();
    });
    Retranslate();
}

CShiftFields CShiftEntry::Fields() const
{
    CShiftFields fields;
    fields.name = NameEdit()->text();
    fields.dateTypePosition = DateTypePositionValue();
    fields.date = DateValue();
    fields.fromTime = FromTimeValue();
    fields.toTime = ToTimeValue();
    fields.numberText = m_number->currentText();
    fields.rotating = m_rotation->isChecked();
    fields.startWeekIndex = m_startWeek->currentIndex();
    fields.cycleText = m_cycle->currentText();
    return fields;
}

namespace {
// Selects the first item that begins with the text, or shows the text as typed.
void SetComboText(QComboBox* combo, const QString& text)
{
    QStringList items;
    items.reserve(combo->count());
    for (int i = 0; i < combo->count(); ++i)
        items.append(combo->itemText(i));
    const int item = FindItemStartingWith(items, text);
    combo->setCurrentIndex(item);
    if (item < 0)
        combo->setEditText(text);
}
} // namespace

void CShiftEntry::SetFields(const CShiftFields& fields)
{
    {
        const QSignalBlocker blocker(m_number);
        SetComboText(m_number, fields.numberText);
        SetComboText(m_cycle, fields.cycleText);
        m_startWeek->setCurrentIndex(fields.startWeekIndex);
    }
    m_rotationWanted = fields.rotating;
    SetCommonFields(fields.name, fields.dateTypePosition, fields.date, fields.fromTime, fields.toTime);
    UpdateRotation();
}

void CShiftEntry::UpdateRotation()
{
    const CRotationState state = RotationState(DateTypeAtPosition(DateTypePositionValue()),
        ShiftNumberFromText(m_number->currentText()), m_rotationWanted);
    m_rotation->setEnabled(state.boxEnabled);
    m_rotation->setChecked(state.boxChecked);
    for (QWidget* control : { static_cast<QWidget*>(m_startWeek), static_cast<QWidget*>(m_cycle),
             static_cast<QWidget*>(m_cycleLabel), static_cast<QWidget*>(m_weeksLabel) })
        control->setEnabled(state.controlsEnabled);
}

void CShiftEntry::Retranslate()
{
    setWindowTitle(tr("Shift"));
    CScheduleEntry::Retranslate();
    m_numberLabel->setText(tr("Shift &no.:"));
    m_rotation->setText(tr("&Weekly rotation starting in week:"));
    m_cycleLabel->setText(tr("&Cycle:"));
    m_weeksLabel->setText(tr("weeks"));
    m_number->setToolTip(tr("The shift number told to the alarm server; choose one or type it. "
                            "\"No Shift\" means that no shift is on duty"));
    m_rotation->setToolTip(tr("The shift number advances by one each calendar week through the cycle; "
                              "only for a weekday, working day or weekend shift with a number"));
    m_cycle->setToolTip(tr("The number of weeks of the rotation; choose one or type it"));
    SetComboItems(m_number, ShiftNumberItems());
    SetComboItems(m_startWeek, StartWeekItems());
}

// --- CShiftListDialog ------------------------------------------------------------------------------

CShiftListDialog::CShiftListDialog(CShiftArray& shifts, QWidget* parent)
    : CScheduleListDialog(ShiftColumns(), "CShiftListDialog", parent)
    , m_shifts(shifts)
{
    Retranslate();
}

QString CShiftListDialog::Title() const
{
    return tr("Shifts");
}

void CShiftListDialog::SortRecords()
{
    m_shifts.Sort();
}

QStringList CShiftListDialog::RowTexts(qsizetype index) const
{
    return ShiftRowTexts(m_shifts.at(index));
}

QList<QStringList> CShiftListDialog::ColumnSamples() const
{
    return ShiftColumnSamples();
}

bool CShiftListDialog::RunEntry(qsizetype index)
{
    const bool existing = index >= 0 && index < m_shifts.size();
    const auto entry = existing ? std::make_unique<CShiftEntry>(m_shifts.at(index), this)
                                : std::make_unique<CShiftEntry>(this);
    if (entry->exec() != QDialog::Accepted)
        return false;
    m_stored = entry->Record();
    if (existing)
        m_shifts.removeAt(index);
    m_shifts.append(m_stored);
    m_shifts.SetModified(true);
    return true;
}

qsizetype CShiftListDialog::StoredIndex() const
{
    for (qsizetype i = m_shifts.size() - 1; i >= 0; --i) {
        if (SameStoredFields(m_shifts.at(i), m_stored))
            return i;
    }
    return -1;
}

void CShiftListDialog::RemoveAt(qsizetype index)
{
    m_shifts.removeAt(index);
    m_shifts.SetModified(true);
}
