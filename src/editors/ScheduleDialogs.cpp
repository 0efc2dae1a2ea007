#include "editors/ScheduleDialogs.h"

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

namespace {
QTimeEdit* NewTimeEdit(QWidget* parent)
{
    auto* edit = new CTimeField(parent);
    edit->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    return edit;
}

CDateTime TimeValue(const QTimeEdit* edit)
{
    const QTime time = edit->time();
    return CDateTime::TimeOfDay(time.hour(), time.minute(), time.second());
}

void SetTimeValue(QTimeEdit* edit, const CDateTime& value)
{
    const QSignalBlocker blocker(edit);
    const QTime time = value.IsValid() ? value.ToQTime() : QTime(0, 0, 0);
    edit->setTime(time);
}
} // namespace

// --- CScheduleListDialog -----------------------------------------------------------------------------

CScheduleListDialog::CScheduleListDialog(
    std::span<const CListColumn> columns, const char* columnContext, QWidget* parent)
    : QDialog(parent)
    , m_columns(columns)
    , m_columnContext(columnContext)
{
    m_list = new QTreeWidget(this);
    m_list->setColumnCount(int(columns.size()));
    m_list->setRootIsDecorated(false);
    m_list->setItemsExpandable(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->header()->setStretchLastSection(false);
    m_list->installEventFilter(this);
    // The width follows the columns' texts (ApplyColumnWidths); the height shows a dozen rows.
    m_list->setMinimumHeight(m_list->fontMetrics().height() * 14);

    m_add = new QPushButton(this);
    m_edit = new QPushButton(this);
    m_remove = new QPushButton(this);
    m_close = new QPushButton(this);
    m_edit->setDefault(true);

    connect(m_add, &QPushButton::clicked, this, &CScheduleListDialog::AddRecord);
    connect(m_edit, &QPushButton::clicked, this, &CScheduleListDialog::EditRecord);
    connect(m_remove, &QPushButton::clicked, this, &CScheduleListDialog::RemoveRecord);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &CScheduleListDialog::EditRecord);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &CScheduleListDialog::UpdateButtons);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_add);
    buttons->addWidget(m_edit);
    buttons->addWidget(m_remove);
    buttons->addStretch(1);
    buttons->addWidget(m_close);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);

    m_list->setFocus();
    UpdateButtons();
}

int CScheduleListDialog::SelectedRow() const
{
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    return selected.isEmpty() ? -1 : m_list->indexOfTopLevelItem(selected.constFirst());
}

void CScheduleListDialog::AddRecord()
{
    if (RunEntry(-1))
        ShowStored();
}

void CScheduleListDialog::EditRecord()
{
    const int row = SelectedRow();
    if (row < 0 || row >= RecordCount())
        return;
    if (RunEntry(row))
        ShowStored();
}

void CScheduleListDialog::RemoveRecord()
{
    const int row = SelectedRow();
    if (row < 0 || row >= RecordCount())
        return;
    RemoveAt(row);
    delete m_list->takeTopLevelItem(row);
    // The row that moved up into the removed one's place is selected; after the last row none is.
    m_list->clearSelection();
    if (QTreeWidgetItem* next = m_list->topLevelItem(row))
        m_list->setCurrentItem(next);
    UpdateButtons();
}

void CScheduleListDialog::ShowStored()
{
    SortRecords();
    Fill(int(StoredIndex()));
}

void CScheduleListDialog::Fill(int select)
{
    SortRecords();
    const qsizetype count = RecordCount();
    QList<QTreeWidgetItem*> items;
    items.reserve(count);
    for (qsizetype i = 0; i < count; ++i) {
        const QStringList texts = RowTexts(i);
        auto* item = new QTreeWidgetItem(texts);
        // The full text of every cell, for columns too narrow to show it.
        for (int column = 0; column < texts.size(); ++column)
            item->setToolTip(column, texts.at(column));
        items.append(item);
    }
    m_list->clear();
    m_list->insertTopLevelItems(0, items);
    // The list opens with its first row selected, so Return (Edit is the default button) edits it.
    if (select < 0 && !std::exchange(m_filled, true))
        select = 0;
    if (select >= 0 && select < count)
        m_list->setCurrentItem(m_list->topLevelItem(select));
    UpdateButtons();
    ApplyColumnWidths();
}

void CScheduleListDialog::UpdateButtons()
{
    const bool selected = SelectedRow() >= 0;
    m_edit->setEnabled(selected);
    m_remove->setEnabled(selected);
}

QList<int> CScheduleListDialog::ColumnNeeds() const
{
    // Present texts count up to twice a typical name, so one very long name cannot widen the dialog
    // beyond the screen; its tip shows it whole.
    const int cap = m_list->fontMetrics().averageCharWidth() * 60;
    const QList<QStringList> samples = ColumnSamples();
    const QTreeWidgetItem* header = m_list->headerItem();
    QList<int> needs;
    for (int column = 0; column < int(m_columns.size()); ++column) {
        QStringList present;
        for (int row = 0; row < m_list->topLevelItemCount(); ++row)
            present.append(m_list->topLevelItem(row)->text(column));
        const int typical = column < samples.size() ? CellWidthFor(m_list, samples.at(column)) : 0;
        needs.append(std::max({ SectionWidthFor(m_list->header(), header ? header->text(column) : QString()),
            typical, std::min(cap, CellWidthFor(m_list, present)) }));
    }
    return needs;
}

void CScheduleListDialog::ApplyColumnWidths()
{
    const int scrollBar = m_list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_list);
    const QList<int> needs = ColumnNeeds();
    int needSum = 0;
    for (int need : needs)
        needSum += need;
    // The list is as wide as its columns need where the screen allows (the dialog opens so); on a
    // small screen (1024x768) it may be narrower and scrolls sideways, every column still whole. The
    // operator may widen the dialog, and the columns then share the width by their percentages.
    m_fullListWidth = needSum + scrollBar + 2 * m_list->frameWidth();
    m_list->setMinimumWidth(std::min(m_fullListWidth, kMaxListMinimumWidth));
    QList<int> percents;
    for (const CListColumn& column : m_columns)
        percents.append(column.percent);
    const int inner = std::max(0, m_list->width() - scrollBar - 2 * m_list->frameWidth());
    const QList<int> widths = SharedColumnWidths(needs, percents, inner);
    for (int column = 0; column < int(widths.size()); ++column)
        m_list->setColumnWidth(column, widths.at(column));
}

void CScheduleListDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // At first showing, widened to show every column whole where the screen has the room.
    if (std::exchange(m_widened, true))
        return;
    const int missing = m_fullListWidth - m_list->width();
    if (missing <= 0)
        return;
    const QScreen* screen = this->screen();
    const int frame = frameGeometry().width() - width();
    const int available = screen ? screen->availableGeometry().width() - frame : width() + missing;
    resize(std::max(width(), std::min(width() + missing, available)), height());
}

bool CScheduleListDialog::eventFilter(QObject* watched, QEvent* event)
{
    // The widths are shares of the list's width, so they follow it.
    if (watched == m_list && event->type() == QEvent::Resize)
        ApplyColumnWidths();
    return QDialog::eventFilter(watched, event);
}

void CScheduleListDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        Retranslate();
    QDialog::changeEvent(event);
}

void CScheduleListDialog::Retranslate()
{
    setWindowTitle(Title());
    m_list->setAccessibleName(windowTitle());
    QStringList headers;
    for (const CListColumn& column : m_columns)
        headers.append(QCoreApplication::translate(m_columnContext, column.text));
    m_list->setHeaderLabels(headers);
    m_add->setText(tr("&Add"));
    m_edit->setText(tr("&Edit"));
    m_remove->setText(tr("&Remove"));
    m_close->setText(tr("Close"));
    m_add->setToolTip(tr("Add a new entry"));
    m_edit->setToolTip(tr("Edit the selected entry (or double-click it)"));
    m_remove->setToolTip(tr("Remove the selected entry"));
    // The rows show translated texts too.
    Fill(SelectedRow());
}

// --- CScheduleEntry --------------------------------------------------------------------------------

CScheduleEntry::CScheduleEntry(QWidget* parent)
    : QDialog(parent)
{
    // Created in tab order.
    m_nameLabel = new QLabel(this);
    m_name = new QLineEdit(this);
    m_nameLabel->setBuddy(m_name);
    m_name->setMinimumWidth(m_name->fontMetrics().averageCharWidth() * 32);

    m_dateTypeLabel = new QLabel(this);
    m_dateType = new QComboBox(this);
    m_dateTypeLabel->setBuddy(m_dateType);
    m_dateType->addItems(DateTypeItems());

    m_dateLabel = new QLabel(this);
    m_date = new CDateField(this);
    m_date->setCalendarPopup(true);
    m_date->setMinimumDate(QDate(1900, 1, 1));
    m_dateLabel->setBuddy(m_date);

    m_fromLabel = new QLabel(this);
    m_from = NewTimeEdit(this);
    m_fromLabel->setBuddy(m_from);
    m_toLabel = new QLabel(this);
    m_to = NewTimeEdit(this);
    m_toLabel->setBuddy(m_to);

    m_form = new QFormLayout;
    m_form->addRow(m_nameLabel, m_name);
    m_form->addRow(m_dateTypeLabel, m_dateType);
    m_form->addRow(m_dateLabel, m_date);
    m_form->addRow(m_fromLabel, m_from);
    m_form->addRow(m_toLabel, m_to);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(m_form);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_name, &QLineEdit::textChanged, this, &CScheduleEntry::UpdateOk);
    connect(m_dateType, &QComboBox::currentIndexChanged, this, &CScheduleEntry::OnDateTypeChanged);
    connect(m_from, &QTimeEdit::timeChanged, this, &CScheduleEntry::OnFromTimeChanged);
    connect(m_to, &QTimeEdit::timeChanged, this, &CScheduleEntry::OnToTimeChanged);
    m_name->setFocus();
}

void CScheduleEntry::AddButtons()
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_ok->setDefault(true);
    // Every choice shows whole, in whatever language its items are.
    for (QComboBox* combo : findChildren<QComboBox*>())
        combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout()->addWidget(buttons);
}

void CScheduleEntry::SetCommonFields(const QString& name, int dateTypePosition, const CDateTime& date,
    const CDateTime& fromTime, const CDateTime& toTime)
{
    {
        const QSignalBlocker blockName(m_name);
        const QSignalBlocker blockType(m_dateType);
        const QSignalBlocker blockDate(m_date);
        m_name->setText(name);
        m_dateType->setCurrentIndex(dateTypePosition);
        const QDate day = date.IsValid() && !date.IsZero() ? date.ToQDate() : QDate();
        m_date->setDate(
            day.isValid() && day >= m_date->minimumDate() ? day : CDateTime::GetCurrentTime().ToQDate());
    }
    SetTimeValue(m_from, fromTime);
    SetTimeValue(m_to, toTime);
    ShowDate(DateTypeAtPosition(dateTypePosition) == DATETYPE_SPECIAL);
    UpdateOk();
}

int CScheduleEntry::DateTypePositionValue() const
{
    return m_dateType->currentIndex();
}

CDateTime CScheduleEntry::DateValue() const
{
    return CDateTime(m_date->date());
}

CDateTime CScheduleEntry::FromTimeValue() const
{
    return TimeValue(m_from);
}

CDateTime CScheduleEntry::ToTimeValue() const
{
    return TimeValue(m_to);
}

void CScheduleEntry::OnDateTypeChanged()
{
    const bool special = DateTypeAtPosition(m_dateType->currentIndex()) == DATETYPE_SPECIAL;
    // A special date starts at today; every other type has no date (the record keeps the zero date).
    if (special) {
        const QSignalBlocker blocker(m_date);
        m_date->setDate(CDateTime::GetCurrentTime().ToQDate());
    }
    ShowDate(special);
    DateTypeChanged();
}

void CScheduleEntry::ShowDate(bool show)
{
    m_form->setRowVisible(m_date, show);
}

void CScheduleEntry::OnFromTimeChanged()
{
    const CTimeRange range = AfterFromTimeChanged({ FromTimeValue(), ToTimeValue() });
    SetTimeValue(m_to, range.toTime);
    UpdateOk();
}

void CScheduleEntry::OnToTimeChanged()
{
    const CTimeRange range = AfterToTimeChanged({ FromTimeValue(), ToTimeValue() });
    SetTimeValue(m_from, range.fromTime);
    UpdateOk();
}

void CScheduleEntry::UpdateOk()
{
    if (m_ok)
        m_ok->setEnabled(EntryAcceptable(m_name->text(), FromTimeValue(), ToTimeValue()));
}

void CScheduleEntry::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        Retranslate();
    QDialog::changeEvent(event);
}

void CScheduleEntry::Retranslate()
{
    m_nameLabel->setText(tr("&Identification:"));
    m_dateTypeLabel->setText(tr("&Date type:"));
    m_dateLabel->setText(tr("D&ate:"));
    m_fromLabel->setText(tr("&Start time:"));
    m_toLabel->setText(tr("&End time:"));
    m_from->setToolTip(tr("The first second of the time window"));
    m_to->setToolTip(tr("The last second of the time window; it must be later than the start time"));
    SetComboItems(m_dateType, DateTypeItems());
    if (m_ok)
        KeepTitleVisible(this, m_ok->parentWidget());
}
