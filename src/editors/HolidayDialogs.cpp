#include "editors/HolidayDialogs.h"

#include <algorithm>

#include <QDialogButtonBox>
#include <QEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTreeWidget>

#include "editors/EditorLogic.h"
#include "widgets/TypedFields.h"
#include "widgets/WidgetFit.h"

#include "ui_HolidayAuto.h"
#include "ui_HolidayEntry.h"
#include "ui_HolidayList.h"

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
    , m_ui(std::make_unique<Ui::CHolidayEntry>())
{
    Build(CHoliday(QString(), CDateTime(Today())));
}

CHolidayEntry::CHolidayEntry(const CHoliday& holiday, QWidget* parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::CHolidayEntry>())
{
    Build(holiday);
}

CHolidayEntry::~CHolidayEntry() = default;

void CHolidayEntry::Build(const CHoliday& holiday)
{
    m_ui->setupUi(this);
    m_ui->name->setMinimumWidth(m_ui->name->fontMetrics().averageCharWidth() * 32);
    m_ui->name->setText(holiday.m_name);
    const QDate date = holiday.m_date.ToQDate();
    m_ui->date->setDate(date.isValid() ? date : Today());

    m_ui->buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(m_ui->buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_ui->buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_ui->name, &QLineEdit::textChanged, this, &CHolidayEntry::UpdateOk);
    KeepTitleVisible(this, m_ui->buttons);

    m_ui->name->setFocus();
    m_ui->name->selectAll();
    UpdateOk();
}

CHoliday CHolidayEntry::Holiday() const
{
    return HolidayFromEntry(m_ui->name->text(), m_ui->date->date());
}

void CHolidayEntry::UpdateOk()
{
    m_ui->buttons->button(QDialogButtonBox::Ok)->setEnabled(HolidayEntryAcceptable(m_ui->name->text()));
}

void CHolidayEntry::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        m_ui->retranslateUi(this);
        KeepTitleVisible(this, m_ui->buttons);
    }
    QDialog::changeEvent(event);
}

// --- CHolidayAuto ----------------------------------------------------------------------------------

CHolidayAuto::CHolidayAuto(QWidget* parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::CHolidayAuto>())
{
    m_ui->setupUi(this);
    static_assert(kMinYearInput == 1 && kMaxYearInput == 9999, "the year boxes' range is set in their form");
    const int year = CurrentYear();
    m_ui->from->setValue(year);
    m_ui->to->setValue(year);
    m_ui->buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(m_ui->buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_ui->buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    KeepTitleVisible(this, m_ui->buttons);
    m_ui->from->setFocus();
    m_ui->from->selectAll();
}

CHolidayAuto::~CHolidayAuto() = default;

int CHolidayAuto::FromYear() const
{
    return m_ui->from->value();
}

int CHolidayAuto::ToYear() const
{
    return m_ui->to->value();
}

void CHolidayAuto::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        m_ui->retranslateUi(this);
        KeepTitleVisible(this, m_ui->buttons);
    }
    QDialog::changeEvent(event);
}

// --- CHolidayListDialog ----------------------------------------------------------------------------

CHolidayListDialog::CHolidayListDialog(CHolidaysArray& holidays, QWidget* parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::CHolidayListDialog>())
    , m_holidays(holidays)
    , m_generator(&GenerateStatutoryHolidays)
{
    m_ui->setupUi(this);
    QTreeWidget* list = m_ui->holidays;
    list->header()->setSectionsMovable(false);
    // The width follows the texts (FitColumns); the height shows more than a dozen rows.
    list->setMinimumHeight(list->fontMetrics().height() * 16);
    list->setAccessibleName(windowTitle());
    m_ui->gap->changeSize(0, m_ui->add->fontMetrics().height(), QSizePolicy::Minimum, QSizePolicy::Fixed);
    m_ui->result->hide();
    m_ui->edit->setDefault(true);

    connect(m_ui->add, &QPushButton::clicked, this, &CHolidayListDialog::AddHoliday);
    connect(m_ui->edit, &QPushButton::clicked, this, &CHolidayListDialog::EditHoliday);
    connect(m_ui->remove, &QPushButton::clicked, this, &CHolidayListDialog::RemoveHoliday);
    connect(m_ui->automatic, &QPushButton::clicked, this, &CHolidayListDialog::GenerateHolidays);
    connect(m_ui->close, &QPushButton::clicked, this, &QDialog::accept);
    connect(list, &QTreeWidget::itemDoubleClicked, this, &CHolidayListDialog::EditHoliday);
    connect(list, &QTreeWidget::itemSelectionChanged, this, &CHolidayListDialog::UpdateButtons);

    // The list is shown in date order; sorting alone is no change to save.
    m_holidays.SortByDate();
    Rebuild();
    // The first row selected, so Return (Edit is the default button) edits it.
    SelectRow(0);
    list->setFocus();
}

CHolidayListDialog::~CHolidayListDialog() = default;

int CHolidayListDialog::SelectedRow() const
{
    const QModelIndexList rows = m_ui->holidays->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void CHolidayListDialog::SelectRow(int row)
{
    QTreeWidgetItem* item = (row >= 0 && row < m_ui->holidays->topLevelItemCount())
        ? m_ui->holidays->topLevelItem(row)
        : nullptr;
    if (!item) {
        m_ui->holidays->clearSelection();
        return;
    }
    m_ui->holidays->setCurrentItem(item);
    item->setSelected(true);
    m_ui->holidays->scrollToItem(item);
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
    delete m_ui->holidays->takeTopLevelItem(row);
    SelectRow(RowAfterRemoval(row, m_ui->holidays->topLevelItemCount()));
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
    m_ui->result->setText(added > 0
            ? tr("%n holiday(s) added.", nullptr, added)
            : tr("No holiday added: those of %1 to %2 are listed already or not known.").arg(from).arg(to));
    m_ui->result->show();
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
    m_ui->holidays->setUpdatesEnabled(false);
    m_ui->holidays->clear();
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
    m_ui->holidays->addTopLevelItems(items);
    m_ui->holidays->setUpdatesEnabled(true);
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
    const int scrollBar
        = m_ui->holidays->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_ui->holidays);
    const int cap = m_ui->holidays->fontMetrics().averageCharWidth() * 60;
    QStringList names { QString(30, u'n') };
    QStringList dates { HolidayRowTexts(CHoliday(QString(), CDateTime(2028, 12, 28, 0, 0, 0))).date };
    for (int row = 0; row < m_ui->holidays->topLevelItemCount(); ++row) {
        names.append(m_ui->holidays->topLevelItem(row)->text(0));
        dates.append(m_ui->holidays->topLevelItem(row)->text(1));
    }
    const QTreeWidgetItem* header = m_ui->holidays->headerItem();
    const int needs[] = {
        std::max(SectionWidthFor(m_ui->holidays->header(), header->text(0)),
            std::min(cap, CellWidthFor(m_ui->holidays, names))),
        std::max(
            SectionWidthFor(m_ui->holidays->header(), header->text(1)), CellWidthFor(m_ui->holidays, dates)),
    };
    m_ui->holidays->setMinimumWidth(needs[0] + needs[1] + scrollBar + 2 * m_ui->holidays->frameWidth());
    const int percents[] = { kNameColumnPercent, 100 - kNameColumnPercent };
    const int width = m_ui->holidays->width() - scrollBar - 2 * m_ui->holidays->frameWidth();
    if (width > 0)
        m_ui->holidays->setColumnWidth(0, SharedColumnWidths(needs, percents, width).value(0));
}

void CHolidayListDialog::UpdateButtons()
{
    const bool selected = SelectedRow() >= 0;
    m_ui->edit->setEnabled(selected);
    m_ui->remove->setEnabled(selected);
}

void CHolidayListDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        m_ui->retranslateUi(this);
        m_ui->holidays->setAccessibleName(windowTitle());
        FitColumns();
    }
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
