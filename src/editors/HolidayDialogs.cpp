#include "editors/HolidayDialogs.h"

#include <algorithm>

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "editors/EditorLogic.h"
#include "widgets/TypedFields.h"
#include "widgets/WidgetFit.h"

namespace {
// The widest years the year boxes take; the generation itself accepts 1901 to 2099 only.
constexpr int kMinYearInput = 1;
constexpr int kMaxYearInput = 9999;

// The share of the name column in the list's width, in percent; the date column takes the rest.
constexpr int kNameColumnPercent = 66;

// Shows the wait cursor for as long as it lives.
class CWaitCursor
{
public:
    CWaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CWaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

int CurrentYear()
{
    return CDateTime::GetCurrentTime().GetYear();
}

QDate Today()
{
    return CDateTime::GetCurrentTime().ToQDate();
}
} // namespace

// --- Deciding logic --------------------------------------------------------------------------------

CHolidayRowTexts HolidayRowTexts(const CHoliday& holiday)
{
    return { holiday.m_name, FormatDateTime(holiday.m_date, DTF_DATE | DTF_FULLYEAR) };
}

CHoliday HolidayFromEntry(const QString& name, const QDate& date)
{
    return CHoliday(name, CDateTime(date));
}

bool HolidayEntryAcceptable(const QString& name)
{
    return !name.isEmpty();
}

qsizetype RowOfAddedHoliday(const CHolidaysArray& others, const CHoliday& added)
{
    const qint64 day = added.m_date.DayNumber();
    return std::count_if(
        others.cbegin(), others.cend(), [day](const CHoliday& h) { return h.m_date.DayNumber() <= day; });
}

int RowAfterRemoval(int removed, int count)
{
    return removed >= 0 && removed < count ? removed : -1;
}

// --- CHolidayEntry ---------------------------------------------------------------------------------

CHolidayEntry::CHolidayEntry(QWidget* parent)
    : QDialog(parent)
{
    Build(CHoliday(QString(), CDateTime(Today())));
}

CHolidayEntry::CHolidayEntry(const CHoliday& holiday, QWidget* parent)
    : QDialog(parent)
{
    Build(holiday);
}

void CHolidayEntry::Build(const CHoliday& holiday)
{
    m_nameLabel = new QLabel(this);
    m_name = new QLineEdit(this);
    m_nameLabel->setBuddy(m_name);
    m_name->setMinimumWidth(m_name->fontMetrics().averageCharWidth() * 32);
    m_name->setText(holiday.m_name);

    m_dateLabel = new QLabel(this);
    m_date = new CDateField(this);
    m_dateLabel->setBuddy(m_date);
    m_date->setCalendarPopup(true);
    const QDate date = holiday.m_date.ToQDate();
    m_date->setDate(date.isValid() ? date : Today());

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_name, &QLineEdit::textChanged, this, &CHolidayEntry::UpdateOk);

    auto* form = new QFormLayout;
    form->addRow(m_nameLabel, m_name);
    form->addRow(m_dateLabel, m_date);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_name->setFocus();
    m_name->selectAll();
    UpdateOk();
    Retranslate();
}

CHoliday CHolidayEntry::Holiday() const
{
    return HolidayFromEntry(m_name->text(), m_date->date());
}

void CHolidayEntry::UpdateOk()
{
    m_ok->setEnabled(HolidayEntryAcceptable(m_name->text()));
}

void CHolidayEntry::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        Retranslate();
    QDialog::changeEvent(event);
}

void CHolidayEntry::Retranslate()
{
    setWindowTitle(tr("Holiday"));
    m_nameLabel->setText(tr("&Name:"));
    m_dateLabel->setText(tr("&Date:"));
    m_name->setToolTip(tr("The name shown in the holiday list"));
    if (auto* buttons = findChild<QDialogButtonBox*>())
        KeepTitleVisible(this, buttons);
}

// --- CHolidayAuto ----------------------------------------------------------------------------------

CHolidayAuto::CHolidayAuto(QWidget* parent)
    : QDialog(parent)
{
    const int year = CurrentYear();
    auto newYearBox = [this, year]() {
        auto* box = new QSpinBox(this);
        box->setRange(kMinYearInput, kMaxYearInput);
        box->setValue(year);
        box->setGroupSeparatorShown(false);
        box->setAccelerated(true);
        return box;
    };
    m_fromLabel = new QLabel(this);
    m_from = newYearBox();
    m_fromLabel->setBuddy(m_from);
    m_toLabel = new QLabel(this);
    m_to = newYearBox();
    m_toLabel->setBuddy(m_to);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* form = new QFormLayout;
    form->addRow(m_fromLabel, m_from);
    form->addRow(m_toLabel, m_to);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_from->setFocus();
    m_from->selectAll();
    Retranslate();
}

int CHolidayAuto::FromYear() const
{
    return m_from->value();
}

int CHolidayAuto::ToYear() const
{
    return m_to->value();
}

void CHolidayAuto::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        Retranslate();
    QDialog::changeEvent(event);
}

void CHolidayAuto::Retranslate()
{
    setWindowTitle(tr("Enter the Years"));
    m_fromLabel->setText(tr("&From year:"));
    m_toLabel->setText(tr("&To year:"));
    const QString hint = tr("Years from 1901 to 2099");
    m_from->setToolTip(hint);
    m_to->setToolTip(hint);
    if (auto* buttons = findChild<QDialogButtonBox*>())
        KeepTitleVisible(this, buttons);
}

// --- CHolidayListDialog ----------------------------------------------------------------------------

CHolidayListDialog::CHolidayListDialog(CHolidaysArray& holidays, QWidget* parent)
    : QDialog(parent)
    , m_holidays(holidays)
    , m_generator(&GenerateStatutoryHolidays)
{
    m_list = new QTreeWidget(this);
    m_list->setColumnCount(2);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->header()->setSectionsMovable(false);
    m_list->header()->setStretchLastSection(true);
    // The width follows the texts (FitColumns); the height shows more than a dozen rows.
    m_list->setMinimumHeight(m_list->fontMetrics().height() * 16);

    m_add = new QPushButton(this);
    m_edit = new QPushButton(this);
    m_remove = new QPushButton(this);
    m_automatic = new QPushButton(this);
    m_close = new QPushButton(this);
    m_edit->setDefault(true);

    connect(m_add, &QPushButton::clicked, this, &CHolidayListDialog::AddHoliday);
    connect(m_edit, &QPushButton::clicked, this, &CHolidayListDialog::EditHoliday);
    connect(m_remove, &QPushButton::clicked, this, &CHolidayListDialog::RemoveHoliday);
    connect(m_automatic, &QPushButton::clicked, this, &CHolidayListDialog::GenerateHolidays);
    connect(m_close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &CHolidayListDialog::EditHoliday);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &CHolidayListDialog::UpdateButtons);

    auto* buttonColumn = new QVBoxLayout;
    buttonColumn->addWidget(m_add);
    buttonColumn->addWidget(m_edit);
    buttonColumn->addWidget(m_remove);
    buttonColumn->addSpacing(m_add->fontMetrics().height());
    buttonColumn->addWidget(m_automatic);
    buttonColumn->addStretch(1);
    buttonColumn->addWidget(m_close);

    m_result = new QLabel(this);
    m_result->setWordWrap(true);
    m_result->hide();
    auto* listColumn = new QVBoxLayout;
    listColumn->addWidget(m_list, 1);
    listColumn->addWidget(m_result);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(listColumn, 1);
    layout->addLayout(buttonColumn);

    // The list is shown in date order; sorting alone is no change to save.
    m_holidays.SortByDate();
    Retranslate();
    Rebuild();
    // The first row selected, so Return (Edit is the default button) edits it.
    SelectRow(0);
    m_list->setFocus();
}

int CHolidayListDialog::SelectedRow() const
{
    const QModelIndexList rows = m_list->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void CHolidayListDialog::SelectRow(int row)
{
    QTreeWidgetItem* item
        = (row >= 0 && row < m_list->topLevelItemCount()) ? m_list->topLevelItem(row) : nullptr;
    if (!item) {
        m_list->clearSelection();
        return;
    }
    m_list->setCurrentItem(item);
    item->setSelected(true);
    m_list->scrollToItem(item);
}

void CHolidayListDialog::AddHoliday()
{
    CHolidayEntry entry(this);
    if (entry.exec() != QDialog::Accepted)
        return;
    InsertHoliday(entry.Holiday());
}

void CHolidayListDialog::EditHoliday()
{
    const int row = SelectedRow();
    if (row < 0 || row >= m_holidays.size())
        return;
    CHolidayEntry entry(m_holidays.at(row), this);
    if (entry.exec() != QDialog::Accepted)
        return;
    m_holidays.removeAt(row);
    InsertHoliday(entry.Holiday());
}

void CHolidayListDialog::RemoveHoliday()
{
    const int row = SelectedRow();
    if (row < 0 || row >= m_holidays.size())
        return;
    m_holidays.removeAt(row);
    m_holidays.SetModified();
    delete m_list->takeTopLevelItem(row);
    SelectRow(RowAfterRemoval(row, m_list->topLevelItemCount()));
    UpdateButtons();
}

void CHolidayListDialog::GenerateHolidays()
{
    CHolidayAuto years(this);
    if (years.exec() != QDialog::Accepted)
        return;
    bool generated = false;
    const qsizetype before = m_holidays.size();
    {
        CWaitCursor wait;
        generated = m_generator && m_generator(m_holidays, years.FromYear(), years.ToYear());
        if (generated)
            Rebuild();
    }
    if (generated)
        m_holidays.SetModified();
    // Holidays already listed (same date and name) are not added again: say what was.
    const int added = int(m_holidays.size() - before);
    const int from = std::min(years.FromYear(), years.ToYear());
    const int to = std::max(years.FromYear(), years.ToYear());
    m_result->setText(added > 0
            ? tr("%n holiday(s) added.", nullptr, added)
            : tr("No holiday added: those of %1 to %2 are listed already or not known.").arg(from).arg(to));
    m_result->show();
}

void CHolidayListDialog::InsertHoliday(const CHoliday& holiday)
{
    const qsizetype row = RowOfAddedHoliday(m_holidays, holiday);
    m_holidays.append(holiday);
    m_holidays.SortByDate();
    m_holidays.SetModified();
    Rebuild();
    SelectRow(int(row));
}

void CHolidayListDialog::Rebuild()
{
    m_list->setUpdatesEnabled(false);
    m_list->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(m_holidays.size());
    for (const CHoliday& holiday : std::as_const(m_holidays)) {
        const CHolidayRowTexts texts = HolidayRowTexts(holiday);
        auto* item = new QTreeWidgetItem({ texts.name, texts.date });
        // The full texts as tips, for names wider than their column.
        item->setToolTip(0, texts.name);
        item->setToolTip(1, texts.date);
        items.append(item);
    }
    m_list->addTopLevelItems(items);
    m_list->setUpdatesEnabled(true);
    UpdateButtons();
    FitColumns();
}

void CHolidayListDialog::FitColumns()
{
    // The columns share the list's width less a vertical scroll bar and the frame, so that no
    // horizontal scrolling is needed whether the scroll bar shows or not.
    // Each column is at least as wide as its title, a typical text (a name of 30 characters, a
    // date) and the rows' own texts need; a name longer than twice the typical one is left to its
    // tip, so that it cannot widen the dialog beyond the screen.
    const int scrollBar = m_list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_list);
    const int cap = m_list->fontMetrics().averageCharWidth() * 60;
    QStringList names { QString(30, u'n') };
    QStringList dates { HolidayRowTexts(CHoliday(QString(), CDateTime(2028, 12, 28, 0, 0, 0))).date };
    for (int row = 0; row < m_list->topLevelItemCount(); ++row) {
        names.append(m_list->topLevelItem(row)->text(0));
        dates.append(m_list->topLevelItem(row)->text(1));
    }
    const QTreeWidgetItem* header = m_list->headerItem();
    const int needs[] = {
        std::max(
            SectionWidthFor(m_list->header(), header->text(0)), std::min(cap, CellWidthFor(m_list, names))),
        std::max(SectionWidthFor(m_list->header(), header->text(1)), CellWidthFor(m_list, dates)),
    };
    m_list->setMinimumWidth(needs[0] + needs[1] + scrollBar + 2 * m_list->frameWidth());
    const int percents[] = { kNameColumnPercent, 100 - kNameColumnPercent };
    const int width = m_list->width() - scrollBar - 2 * m_list->frameWidth();
    if (width > 0)
        m_list->setColumnWidth(0, SharedColumnWidths(needs, percents, width).value(0));
}

void CHolidayListDialog::UpdateButtons()
{
    const bool selected = SelectedRow() >= 0;
    m_edit->setEnabled(selected);
    m_remove->setEnabled(selected);
}

void CHolidayListDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        Retranslate();
    QDialog::changeEvent(event);
}

void CHolidayListDialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    FitColumns();
}

void CHolidayListDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FitColumns();
}

void CHolidayListDialog::Retranslate()
{
    setWindowTitle(tr("Holidays"));
    m_list->setAccessibleName(windowTitle());
    m_list->setHeaderLabels({ tr("Holiday"), tr("Date") });
    m_add->setText(tr("&Add"));
    m_edit->setText(tr("&Edit"));
    m_remove->setText(tr("&Remove"));
    m_automatic->setText(tr("&Automatic"));
    m_close->setText(tr("Close"));
    m_add->setToolTip(tr("Add a holiday"));
    m_edit->setToolTip(tr("Change the selected holiday (or double-click it)"));
    m_remove->setToolTip(tr("Remove the selected holiday"));
    m_automatic->setToolTip(tr("Add the statutory holidays of a span of years"));
    FitColumns();
}
