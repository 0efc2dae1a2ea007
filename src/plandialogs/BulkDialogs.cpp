#include "plandialogs/BulkDialogs.h"

#include <algorithm>
#include <mutex>
#include <tuple>

#include <QApplication>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QVBoxLayout>

#include "engine/KelvarisDoc.h"
#include "plandialogs/DispatchingDlg.h"
#include "plandialogs/PlannerWidget.h"
#include "planning/PlannerModel.h"
#include "planning/TimePlanner.h"
#include "schedule/DispatchRange.h"
#include "schedule/PageTarget.h"
#include "schedule/TextList.h"
#include "widgets/TargetListIcon.h"
#include "widgets/TypedFields.h"

namespace {

const QString kPartSeparator = QStringLiteral(",  ");

CDateTime Today()
{
    return CDateTime::GetCurrentTime().DatePart();
}

QDate ToPicker(const CDateTime& date)
{
    return date.IsValid() ? date.ToQDate() : QDate();
}

CDateTime FromPicker(const QDateEdit* edit)
{
    return CDateTime(edit->date());
}

QDateEdit* NewDateEdit(QWidget* parent)
{
    // Tab goes on to the next control; the whole date is selected on focus.
    auto* edit = new CDateField(parent);
    edit->setCalendarPopup(true);
    // A whole date typed in the locale's form is taken; the year has four digits, so that
    // "28.12.2026" is read as it is typed.
    edit->setDisplayFormat(BulkDateFormat(QLocale()));
    // The years a date of the plan can have.
    edit->setDateRange(QDate(100, 1, 1), QDate(9999, 12, 31));
    return edit;
}

QLineEdit* NewSummaryEdit(QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::ClickFocus);
    return edit;
}

// Writes the dispatch files of the targets (caller holds the targets lock); returns the names
// of those that could not be written. Copies of those written go to `saved`, for the journal.
QStringList SaveTargets(CPageTargetArray& targets, const QList<qsizetype>& indexes, QList<CPageTarget>& saved)
{
    QStringList failed;
    for (const qsizetype index : indexes) {
        CPageTarget& target = targets[index];
        if (target.SaveDispatchFile()) {
            target.m_ranges.SetModified(false);
            saved.append(target);
        } else {
            failed.append(target.m_name);
        }
    }
    return failed;
}

// The message lists the names, one a line.
void ReportSaveFailure(QWidget* parent, const QString& message, const QStringList& names)
{
    if (!names.isEmpty())
        QMessageBox::warning(parent, parent->windowTitle(), message.arg(names.join(u'\n')));
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Typed dates

QString BulkDateFormat(const QLocale& locale)
{
    return FourDigitYearDateFormat(locale);
}

// ---------------------------------------------------------------------------------------------
// Logic

void ReportTargetsNoLongerListed(QWidget* parent, const QStringList& names)
{
    if (names.isEmpty())
        return;
    QMessageBox::warning(parent, parent ? parent->windowTitle() : QStringLiteral("Kelvaris"),
        QCoreApplication::translate("CDispatchingDlg",
            "The alarm server no longer knows:\n%1\n\nThe changes were written to their own dispatch "
            "files all the same; they apply once the alarm server lists them again.")
            .arg(names.join(u'\n')));
}

// ---------------------------------------------------------------------------------------------
// CDispDuplicateDlg

CDispDuplicateDlg::~CDispDuplicateDlg() = default;

CDispDuplicateDlg::CDispDuplicateDlg(CKelvarisDoc& doc, QWidget* parent)
    : QDialog(parent)
    , m_doc(doc)
{
    {
        const std::lock_guard lock(m_doc.TargetsMutex());
        m_opened = std::make_unique<CPageTargetArray>(m_doc.PageTargets());
    }
    m_sourceGroup = new QGroupBox(this);
    m_sourceFromLabel = new QLabel(m_sourceGroup);
    m_sourceToLabel = new QLabel(m_sourceGroup);
    m_sourceFrom = NewDateEdit(m_sourceGroup);
    m_sourceTo = NewDateEdit(m_sourceGroup);
    m_sourceSummary = NewSummaryEdit(m_sourceGroup);
    m_sourceFromLabel->setBuddy(m_sourceFrom);
    m_sourceToLabel->setBuddy(m_sourceTo);
    auto* sourceLayout = new QGridLayout(m_sourceGroup);
    sourceLayout->addWidget(m_sourceFromLabel, 0, 0);
    sourceLayout->addWidget(m_sourceFrom, 0, 1);
    sourceLayout->addWidget(m_sourceToLabel, 0, 2);
    sourceLayout->addWidget(m_sourceTo, 0, 3);
    sourceLayout->addWidget(m_sourceSummary, 1, 0, 1, 4);
    sourceLayout->setColumnStretch(1, 1);
    sourceLayout->setColumnStretch(3, 1);

    m_destinationGroup = new QGroupBox(this);
    m_destinationFromLabel = new QLabel(m_destinationGroup);
    m_destinationToLabel = new QLabel(m_destinationGroup);
    m_destinationFrom = NewDateEdit(m_destinationGroup);
    m_destinationTo = NewDateEdit(m_destinationGroup);
    m_destinationSummary = NewSummaryEdit(m_destinationGroup);
    m_destinationFromLabel->setBuddy(m_destinationFrom);
    m_destinationToLabel->setBuddy(m_destinationTo);
    auto* destinationLayout = new QGridLayout(m_destinationGroup);
    destinationLayout->addWidget(m_destinationFromLabel, 0, 0);
    destinationLayout->addWidget(m_destinationFrom, 0, 1);
    destinationLayout->addWidget(m_destinationToLabel, 0, 2);
    destinationLayout->addWidget(m_destinationTo, 0, 3);
    destinationLayout->addWidget(m_destinationSummary, 1, 0, 1, 4);
    destinationLayout->setColumnStretch(1, 1);
    destinationLayout->setColumnStretch(3, 1);

    m_sourceListLabel = new QLabel(this);
    m_destinationListLabel = new QLabel(this);
    m_sourceList = new QListWidget(this);
    m_destinationList = new QListWidget(this);
    for (QListWidget* list : { m_sourceList, m_destinationList }) {
        list->setIconSize(QSize(16, 16));
        list->setSelectionBehavior(QAbstractItemView::SelectRows);
        list->setUniformItemSizes(true);
    }
    m_sourceListLabel->setBuddy(m_sourceList);
    m_destinationListLabel->setBuddy(m_destinationList);

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &CDispDuplicateDlg::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &CDispDuplicateDlg::reject);

    auto* lists = new QGridLayout;
    lists->addWidget(m_sourceListLabel, 0, 0);
    lists->addWidget(m_destinationListLabel, 0, 1);
    lists->addWidget(m_sourceList, 1, 0);
    lists->addWidget(m_destinationList, 1, 1);
    // Check or uncheck every entry of a list at once.
    for (auto [list, all, none, column] : { std::tuple(m_sourceList, &m_sourceAll, &m_sourceNone, 0),
             std::tuple(m_destinationList, &m_destinationAll, &m_destinationNone, 1) }) {
        *all = new QPushButton(this);
        *none = new QPushButton(this);
        (*all)->setAutoDefault(false);
        (*none)->setAutoDefault(false);
        // Copied into the lambdas by name: Debian 12's clang cannot capture a structured binding.
        connect(*all, &QPushButton::clicked, this, [target = list] { SetAllChecked(target, Qt::Checked); });
        connect(
            *none, &QPushButton::clicked, this, [target = list] { SetAllChecked(target, Qt::Unchecked); });
        auto* row = new QHBoxLayout;
        row->addWidget(*all);
        row->addWidget(*none);
        row->addStretch(1);
        lists->addLayout(row, 2, column);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_sourceGroup);
    layout->addWidget(m_destinationGroup);
    layout->addLayout(lists, 1);
    layout->addWidget(m_buttons);

    setTabOrder(m_sourceFrom, m_sourceTo);
    setTabOrder(m_sourceTo, m_destinationFrom);
    setTabOrder(m_destinationFrom, m_destinationTo);
    setTabOrder(m_destinationTo, m_sourceList);
    setTabOrder(m_sourceList, m_sourceAll);
    setTabOrder(m_sourceAll, m_sourceNone);
    setTabOrder(m_sourceNone, m_destinationList);
    setTabOrder(m_destinationList, m_destinationAll);
    setTabOrder(m_destinationAll, m_destinationNone);
    setTabOrder(m_destinationNone, m_buttons);

    m_dateGuard = new CDateEntryGuard(this);
    for (QDateEdit* edit : { m_sourceFrom, m_sourceTo, m_destinationFrom, m_destinationTo })
        m_dateGuard->Watch(edit);

    Retranslate();
    SetSpans(DuplicateDefaultSpans(Today()));

    connect(m_sourceFrom, &QDateEdit::dateChanged, this, [this] { FillSource(); });
    connect(m_sourceTo, &QDateEdit::dateChanged, this, [this] { FillSource(); });
    connect(m_destinationFrom, &QDateEdit::dateChanged, this, [this] { FillDestination(); });
    connect(m_destinationTo, &QDateEdit::dateChanged, this, [this] { FillDestination(); });
    connect(m_sourceList, &QListWidget::itemChanged, this, &CDispDuplicateDlg::OnSourceItemChanged);
}

CDuplicateSpans CDispDuplicateDlg::Spans() const
{
    return { FromPicker(m_sourceFrom), FromPicker(m_sourceTo), FromPicker(m_destinationFrom),
        FromPicker(m_destinationTo) };
}

void CDispDuplicateDlg::SetSpans(const CDuplicateSpans& spans)
{
    {
        const QSignalBlocker b1(m_sourceFrom);
        const QSignalBlocker b2(m_sourceTo);
        const QSignalBlocker b3(m_destinationFrom);
        const QSignalBlocker b4(m_destinationTo);
        m_sourceFrom->setDate(ToPicker(spans.m_sourceFrom));
        m_sourceTo->setDate(ToPicker(spans.m_sourceTo));
        m_destinationFrom->setDate(ToPicker(spans.m_destinationFrom));
        m_destinationTo->setDate(ToPicker(spans.m_destinationTo));
    }
    FillSource();
    FillDestination();
}

QString CDispDuplicateDlg::SourceSummary() const
{
    return m_sourceSummary->text();
}

QString CDispDuplicateDlg::DestinationSummary() const
{
    return m_destinationSummary->text();
}

bool CDispDuplicateDlg::IsOkEnabled() const
{
    return m_buttons->button(QDialogButtonBox::Ok)->isEnabled();
}

void CDispDuplicateDlg::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        Retranslate();
    QDialog::changeEvent(event);
}

void CDispDuplicateDlg::Retranslate()
{
    setWindowTitle(tr("Duplicate dispatching"));
    m_sourceGroup->setTitle(tr("Time range to duplicate"));
    m_sourceFromLabel->setText(tr("&From:"));
    m_sourceToLabel->setText(tr("&To:"));
    m_destinationGroup->setTitle(tr("Duplicate to"));
    m_destinationFromLabel->setText(tr("&Start:"));
    m_destinationToLabel->setText(tr("&End:"));
    m_sourceListLabel->setText(tr("&Copy dispatching:"));
    m_destinationListLabel->setText(tr("&Remove dispatching:"));
    // What a screen reader says for the lists: their labels' texts.
    for (auto [list, label] :
        { std::pair(m_sourceList, m_sourceListLabel), std::pair(m_destinationList, m_destinationListLabel) })
        list->setAccessibleName(label->text().remove(u'&').remove(u':').trimmed());
    m_sourceList->setToolTip(tr("The receivers and groups whose dispatching is copied"));
    m_destinationList->setToolTip(
        tr("The receivers and groups whose dispatching in the destination range is removed first"));
    m_sourceAll->setText(tr("Select &all"));
    m_sourceNone->setText(tr("Select &none"));
    m_destinationAll->setText(tr("Select all"));
    m_destinationNone->setText(tr("Select none"));
    for (QPushButton* button : { m_sourceAll, m_destinationAll })
        button->setToolTip(tr("Check every entry of the list"));
    for (QPushButton* button : { m_sourceNone, m_destinationNone })
        button->setToolTip(tr("Uncheck every entry of the list"));
    UpdateOk(); // also re-applies the summaries
}

void CDispDuplicateDlg::FillSource()
{
    const CDuplicateSpans spans = Spans();
    QStringList names;
    m_sourceCount = BulkSpanDays(spans.m_sourceFrom, spans.m_sourceTo) > 0
        ? m_doc.PageTargets().CountRangesInPeriod(spans.m_sourceFrom, spans.m_sourceTo, &names)
        : 0;

    m_filling = true;
    m_sourceList->clear();
    const CPageTargetArray& targets = m_doc.PageTargets();
    for (const QString& name : std::as_const(names)) {
        auto* item = new QListWidgetItem(name, m_sourceList);
        if (const CPageTarget* target = targets.FindByName(name))
            item->setIcon(TargetListIcon(*target, targets));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
    // A target that is copied again must have its destination days cleared first, or the copies
    // would be added to what the destination holds.
    for (int row = 0; row < m_destinationList->count(); ++row) {
        QListWidgetItem* destination = m_destinationList->item(row);
        if (!m_sourceList->findItems(destination->text(), Qt::MatchExactly).isEmpty())
            destination->setCheckState(Qt::Checked);
    }
    m_filling = false;
    UpdateOk();
}

void CDispDuplicateDlg::FillDestination()
{
    const CDuplicateSpans spans = Spans();
    QStringList names;
    m_destinationCount = BulkSpanDays(spans.m_destinationFrom, spans.m_destinationTo) > 0
        ? m_doc.PageTargets().CountRangesInPeriod(spans.m_destinationFrom, spans.m_destinationTo, &names)
        : 0;

    const QStringList copied = CheckedNames(m_sourceList);
    m_filling = true;
    m_destinationList->clear();
    const CPageTargetArray& targets = m_doc.PageTargets();
    for (const QString& name : std::as_const(names)) {
        auto* item = new QListWidgetItem(name, m_destinationList);
        if (const CPageTarget* target = targets.FindByName(name))
            item->setIcon(TargetListIcon(*target, targets));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        // Checked for the targets whose source entry is checked: their destination is replaced.
        item->setCheckState(copied.contains(name) ? Qt::Checked : Qt::Unchecked);
    }
    m_filling = false;
    UpdateOk();
}

void CDispDuplicateDlg::UpdateOk()
{
    const CDuplicateSpans spans = Spans();
    m_sourceSummary->setText(BulkSpanSummary(spans.m_sourceFrom, spans.m_sourceTo, m_sourceCount, true));
    QString destination
        = BulkSpanSummary(spans.m_destinationFrom, spans.m_destinationTo, m_destinationCount, true);
    const QString copies = BulkCopiesText(BulkSpanDays(spans.m_sourceFrom, spans.m_sourceTo),
        BulkSpanDays(spans.m_destinationFrom, spans.m_destinationTo));
    if (!copies.isEmpty())
        destination += kPartSeparator + copies;
    m_destinationSummary->setText(destination);
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(DuplicateAllowed(spans));
}

void CDispDuplicateDlg::OnSourceItemChanged(QListWidgetItem* item)
{
    if (m_filling || !item)
        return;
    for (QListWidgetItem* destination : m_destinationList->findItems(item->text(), Qt::MatchExactly))
        destination->setCheckState(item->checkState());
}

QStringList CDispDuplicateDlg::CheckedNames(const QListWidget* list)
{
    QStringList names;
    for (int row = 0; row < list->count(); ++row) {
        const QListWidgetItem* item = list->item(row);
        if (item->checkState() == Qt::Checked)
            names.append(item->text());
    }
    return names;
}

void CDispDuplicateDlg::SetAllChecked(QListWidget* list, Qt::CheckState state)
{
    // One entry at a time: a source entry carries its state over to the destination entry.
    for (int row = 0; row < list->count(); ++row)
        list->item(row)->setCheckState(state);
}

void CDispDuplicateDlg::accept()
{
    if (!m_dateGuard->Check(this))
        return;
    const CDuplicateSpans spans = Spans();
    if (!DuplicateAllowed(spans))
        return;
    const QStringList clearNames = CheckedNames(m_destinationList);
    const QStringList copyNames = CheckedNames(m_sourceList);
    QStringList failed;
    QStringList unlisted;
    QList<CPageTarget> saved;
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        std::lock_guard lock(m_doc.TargetsMutex());
        CPageTargetArray& targets = m_doc.PageTargets();
        const QList<qsizetype> changed = PerformDuplicate(targets, spans, clearNames, copyNames);
        failed = SaveTargets(targets, changed, saved);

        // Targets that a reload dropped while the dialog was open: their own files all the same.
        CPageTargetArray dropped;
        for (const QString& name : clearNames + copyNames) {
            const CPageTarget* opened = std::as_const(*m_opened).FindByName(name);
            if (!std::as_const(targets).FindByName(name) && opened && !dropped.FindByName(name)) {
                CPageTarget target = *opened;
                target.LoadDispatchFile();
                dropped.append(std::move(target));
            }
        }
        const QList<qsizetype> changedDropped = PerformDuplicate(dropped, spans, clearNames, copyNames);
        const QStringList failedDropped = SaveTargets(dropped, changedDropped, saved);
        failed += failedDropped;
        for (const qsizetype index : changedDropped) {
            if (!failedDropped.contains(dropped.at(index).m_name))
                unlisted.append(dropped.at(index).m_name);
        }
        QApplication::restoreOverrideCursor();
    }
    // Journaled outside the lock: the socket's answers never wait for the journal.
    for (const CPageTarget& target : std::as_const(saved))
        m_doc.JournalPlan(target, QStringLiteral("Duplicate"));
    ReportSaveFailure(
        this, tr("The dispatch plan of these receivers and groups could not be saved:\n%1"), failed);
    ReportTargetsNoLongerListed(this, unlisted);
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------
// CDispRemoveDlg

CDispRemoveDlg::CDispRemoveDlg(CKelvarisDoc& doc, const QString& targetId, QWidget* parent)
    : QDialog(parent)
    , m_doc(doc)
    , m_targetId(targetId)
{
    if (const qsizetype index = TargetIndex(); index >= 0) {
        const std::lock_guard lock(m_doc.TargetsMutex());
        m_opened = std::make_unique<CPageTarget>(m_doc.PageTargets().at(index));
    }
    m_firstModel = new CPlannerModel(this);
    m_lastModel = new CPlannerModel(this);
    m_firstPlanner = new CTimePlanner(doc, *m_firstModel, this);
    m_lastPlanner = new CTimePlanner(doc, *m_lastModel, this);
    m_firstView = new CPlannerWidget(m_firstModel, this);
    m_lastView = new CPlannerWidget(m_lastModel, this);

    m_receiverLabel = new QLabel(this);
    m_receiver = NewSummaryEdit(this);
    m_receiverLabel->setBuddy(m_receiver);

    m_fromGroup = new QGroupBox(this);
    m_from = NewDateEdit(m_fromGroup);
    (new QVBoxLayout(m_fromGroup))->addWidget(m_from);
    m_toGroup = new QGroupBox(this);
    m_to = NewDateEdit(m_toGroup);
    (new QVBoxLayout(m_toGroup))->addWidget(m_to);
    m_summary = NewSummaryEdit(this);

    m_all = new QPushButton(this);
    m_past = new QPushButton(this);
    m_future = new QPushButton(this);
    m_today = new QPushButton(this);
    for (QPushButton* button : { m_all, m_past, m_future, m_today })
        button->setAutoDefault(false);
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &CDispRemoveDlg::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &CDispRemoveDlg::reject);

    auto* top = new QHBoxLayout;
    top->addWidget(m_receiverLabel);
    top->addWidget(m_receiver, 1);
    auto* span = new QHBoxLayout;
    span->addWidget(m_fromGroup);
    span->addWidget(m_toGroup);
    auto* presets = new QHBoxLayout;
    presets->addWidget(m_all);
    presets->addWidget(m_past);
    presets->addWidget(m_future);
    presets->addWidget(m_today);
    presets->addStretch(1);
    // The first and the last week of the span, one above the other: side by side they would need
    // more than a 1024x768 screen is wide.
    auto* planners = new QVBoxLayout;
    planners->addWidget(m_firstView, 1);
    planners->addWidget(m_lastView, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(span);
    layout->addWidget(m_summary);
    layout->addLayout(presets);
    layout->addLayout(planners, 1);
    layout->addWidget(m_buttons);

    setTabOrder(m_from, m_to);
    setTabOrder(m_to, m_all);
    setTabOrder(m_all, m_past);
    setTabOrder(m_past, m_future);
    setTabOrder(m_future, m_today);
    setTabOrder(m_today, m_firstView);
    setTabOrder(m_firstView, m_lastView);
    setTabOrder(m_lastView, m_buttons);

    m_dateGuard = new CDateEntryGuard(this);
    m_dateGuard->Watch(m_from);
    m_dateGuard->Watch(m_to);

    if (const CPageTarget* target = Target())
        m_receiver->setText(target->m_name);

    connect(m_all, &QPushButton::clicked, this, [this] { ApplyPreset(RemovePreset::All); });
    connect(m_past, &QPushButton::clicked, this, [this] { ApplyPreset(RemovePreset::Past); });
    connect(m_future, &QPushButton::clicked, this, [this] { ApplyPreset(RemovePreset::Future); });
    connect(m_today, &QPushButton::clicked, this, [this] { ApplyPreset(RemovePreset::Today); });
    connect(m_from, &QDateEdit::dateChanged, this, [this] { Refresh(); });
    connect(m_to, &QDateEdit::dateChanged, this, [this] { Refresh(); });

    resize(900, 640);
    Retranslate();
    const CDateTime today = Today();
    SetSpan(today, today);
    m_from->setFocus();
}

CDispRemoveDlg::~CDispRemoveDlg()
{
    // The views and planners go before the models they use.
    delete m_firstView;
    delete m_lastView;
    delete m_firstPlanner;
    delete m_lastPlanner;
}

CDateTime CDispRemoveDlg::From() const
{
    return FromPicker(m_from);
}

CDateTime CDispRemoveDlg::To() const
{
    return FromPicker(m_to);
}

void CDispRemoveDlg::SetSpan(const CDateTime& from, const CDateTime& to)
{
    {
        const QSignalBlocker b1(m_from);
        const QSignalBlocker b2(m_to);
        m_from->setDate(ToPicker(from));
        m_to->setDate(ToPicker(to));
    }
    Refresh();
}

void CDispRemoveDlg::ApplyPreset(RemovePreset preset)
{
    CDispatchRangeArray none;
    const CPageTarget* target = Target();
    const CDispatchRangeArray& ranges = target ? target->m_ranges : none;
    CDateTime from;
    CDateTime to;
    RemovePresetSpan(ranges, preset, Today(), from, to);
    SetSpan(from, to);
}

QString CDispRemoveDlg::Summary() const
{
    return m_summary->text();
}

bool CDispRemoveDlg::IsOkEnabled() const
{
    return m_buttons->button(QDialogButtonBox::Ok)->isEnabled();
}

void CDispRemoveDlg::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        Retranslate();
    QDialog::changeEvent(event);
}

void CDispRemoveDlg::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (m_from->date().isValid())
        Refresh();
}

void CDispRemoveDlg::Retranslate()
{
    setWindowTitle(tr("Remove dispatching"));
    m_receiverLabel->setText(tr("Receiver:"));
    m_fromGroup->setTitle(tr("Remove from"));
    m_toGroup->setTitle(tr("Remove to"));
    // The first and the last week of the span, named as the dates they start from.
    m_firstView->setAccessibleName(m_fromGroup->title());
    m_lastView->setAccessibleName(m_toGroup->title());
    m_summary->setAccessibleName(windowTitle());
    m_all->setText(tr("&All"));
    m_past->setText(tr("&Past"));
    m_future->setText(tr("&Future"));
    m_today->setText(tr("&Today"));
    m_all->setToolTip(tr("From the first to the last day with dispatching"));
    m_past->setToolTip(tr("From the first day with dispatching to yesterday"));
    m_future->setToolTip(tr("From tomorrow to the last day with dispatching"));
    m_today->setToolTip(tr("Today only"));
    m_firstPlanner->Retranslate();
    m_lastPlanner->Retranslate();
    if (!m_refreshing && m_from->date().isValid())
        Refresh();
}

void CDispRemoveDlg::Refresh()
{
    if (m_refreshing)
        return;
    m_refreshing = true;
    const CDateTime from = From();
    const CDateTime to = To();

    for (auto [planner, view, first] :
        { std::tuple(m_firstPlanner, m_firstView, from), std::tuple(m_lastPlanner, m_lastView, to) }) {
        planner->SetHighlightSpan(from, to);
        planner->SetUp(BulkMondayOnOrBefore(first), false, view->viewport()->size());
        planner->LoadPlan(TargetIndex());
        planner->Model().SetEditMode(CPlannerModel::EditReadOnly);
    }

    const CPageTarget* target = Target();
    const qsizetype count
        = target && BulkSpanDays(from, to) > 0 ? target->m_ranges.CountInPeriod(from, to) : 0;
    m_summary->setText(BulkSpanSummary(from, to, count, false));
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(count > 0);
    m_refreshing = false;
}

void CDispRemoveDlg::accept()
{
    // Never the span of an earlier date when a typed one was not taken.
    if (!m_dateGuard->Check(this))
        return;
    const CDateTime from = From();
    const CDateTime to = To();
    QStringList failed;
    QStringList unlisted;
    QList<CPageTarget> saved;
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        std::lock_guard lock(m_doc.TargetsMutex());
        CPageTargetArray& targets = m_doc.PageTargets();
        if (const qsizetype index = TargetIndex(); index >= 0) {
            if (PerformRemove(targets, index, from, to) > 0)
                failed = SaveTargets(targets, { index }, saved);
        } else if (m_opened) {
            // The list was loaded again without the target: its own file still loses the days.
            CPageTarget& target = *m_opened;
            target.LoadDispatchFile();
            if (target.m_ranges.RemovePeriod(from, to) > 0) {
                if (target.SaveDispatchFile()) {
                    unlisted.append(target.m_name);
                    saved.append(target);
                } else {
                    failed.append(target.m_name);
                }
            }
        }
        QApplication::restoreOverrideCursor();
    }
    for (const CPageTarget& target : std::as_const(saved))
        m_doc.JournalPlan(target, QStringLiteral("Remove"));
    ReportSaveFailure(this, tr("The dispatch plan of %1 could not be saved."), failed);
    if (!unlisted.isEmpty())
        ReportTargetsNoLongerListed(this, unlisted);
    QDialog::accept();
}

qsizetype CDispRemoveDlg::TargetIndex() const
{
    const CPageTargetArray& targets = m_doc.PageTargets();
    const CPageTarget* target = m_targetId.isEmpty() ? nullptr : targets.FindById(m_targetId);
    return target ? target - &targets.at(0) : -1;
}

const CPageTarget* CDispRemoveDlg::Target() const
{
    const qsizetype index = TargetIndex();
    return index >= 0 ? &m_doc.PageTargets().at(index) : m_opened.get();
}
