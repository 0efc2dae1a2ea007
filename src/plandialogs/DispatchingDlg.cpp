#include "plandialogs/DispatchingDlg.h"

#include <algorithm>
#include <mutex>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QSpinBox>
#include <QStringList>
#include <QStyle>
#include <QTabBar>
#include <QVBoxLayout>

#include "engine/KelvarisDoc.h"
#include "plandialogs/BulkDialogs.h"
#include "plandialogs/ExportDlg.h"
#include "plandialogs/OpenPlanFile.h"
#include "plandialogs/PlannerWidget.h"
#include "planning/PlanExport.h"
#include "planning/PlannerModel.h"
#include "planning/TimePlanner.h"
#include "schedule/ConfigLocation.h"
#include "schedule/DutyCalendar.h"
#include "schedule/Profile.h"
#include "schedule/TextList.h"
#include "widgets/ScreenPlacement.h"
#include "widgets/TargetListIcon.h"
#include "widgets/WidgetFit.h"

namespace {

constexpr int kImageSize = 16;
constexpr int kTargetNameRole = Qt::UserRole + 1;
constexpr int kTargetIdRole = Qt::UserRole + 2;

// The position of the target with that ID in the list, -1 when the list does not hold it.
qsizetype IndexOfTarget(const CPageTargetArray& targets, const QString& id)
{
    if (id.isEmpty())
        return -1;
    const CPageTarget* target = targets.FindById(id);
    return target ? target - &targets.at(0) : -1;
}

const QString kWindowSection = QStringLiteral("Window");

} // namespace

CDispatchingDlg::CDispatchingDlg(CKelvarisDoc& doc, const QString& preselectedTarget, QWidget* parent)
    : QDialog(parent)
    , m_doc(doc)
    , m_preselected(preselectedTarget)
    , m_weekStart(MondayOnOrBefore(CDateTime::GetCurrentTime()))
    , m_previousDate(CDateTime::Null())
    , m_nextDate(CDateTime::Null())
{
    m_model = new CPlannerModel(this);
    m_planner = new CTimePlanner(doc, *m_model, this);

    m_tabs = new QTabBar(this);
    m_tabs->addTab(QString());
    m_tabs->addTab(QString());
    m_tabs->setExpanding(false);
    m_list = new QListWidget(this);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setIconSize(QSize(kImageSize, kImageSize));
    m_list->setUniformItemSizes(true);
    m_list->setMinimumWidth(m_list->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 26);
    m_takeover = new QCheckBox(this);
    // How many members the coverage guard wants on duty while the group is.
    m_coverageRow = new QWidget(this);
    m_coverageLabel = new QLabel(m_coverageRow);
    m_coverage = new QSpinBox(m_coverageRow);
    m_coverage->setObjectName(QStringLiteral("coverageRequired"));
    m_coverage->setRange(0, CPageTarget::kMaxCoverageRequired);
    m_coverageLabel->setBuddy(m_coverage);
    auto* coverageLayout = new QHBoxLayout(m_coverageRow);
    coverageLayout->setContentsMargins(0, 0, 0, 0);
    coverageLayout->addWidget(m_coverageLabel);
    coverageLayout->addWidget(m_coverage);
    coverageLayout->addStretch(1);

    m_today = new QPushButton(this);
    m_back = new QPushButton(this);
    m_forward = new QPushButton(this);
    m_caption = new QLineEdit(this);
    m_caption->setReadOnly(true);
    m_caption->setFocusPolicy(Qt::ClickFocus);
    QFont bold = m_caption->font();
    bold.setWeight(QFont::Bold);
    if (bold.pointSizeF() > 0)
        bold.setPointSizeF(bold.pointSizeF() * 1.2);
    else if (bold.pixelSize() > 0)
        bold.setPixelSize(bold.pixelSize() * 6 / 5);
    m_caption->setFont(bold);
    m_previous = new QPushButton(this);
    m_next = new QPushButton(this);
    m_previous->hide();
    m_next->hide();
    m_plannerWidget = new CPlannerWidget(m_model, this);
    m_plannerWidget->installEventFilter(this);

    m_close = new QPushButton(this);
    m_copy = new QPushButton(this);
    m_remove = new QPushButton(this);
    m_duplicate = new QPushButton(this);
    m_print = new QPushButton(this);
    m_export = new QPushButton(this);
    // Copying between targets is not offered.
    m_copy->hide();
    m_copy->setEnabled(false);
    m_remove->setEnabled(false);
    for (QPushButton* button :
        { m_today, m_back, m_forward, m_previous, m_next, m_copy, m_remove, m_duplicate, m_print, m_export })
        button->setAutoDefault(false);
    m_close->setDefault(true);

    auto* left = new QVBoxLayout;
    left->addWidget(m_tabs);
    left->addWidget(m_list, 1);
    left->addWidget(m_takeover);
    left->addWidget(m_coverageRow);

    auto* navigation = new QHBoxLayout;
    navigation->addWidget(m_today);
    navigation->addWidget(m_back);
    navigation->addWidget(m_forward);
    navigation->addWidget(m_caption, 1);
    auto* schedules = new QHBoxLayout;
    schedules->addWidget(m_previous);
    schedules->addStretch(1);
    schedules->addWidget(m_next);
    auto* right = new QVBoxLayout;
    right->addLayout(navigation);
    right->addLayout(schedules);
    right->addWidget(m_plannerWidget, 1);
    // The marking keys, where a dialog without a status bar shows them.
    m_keysHelp = new QLabel(this);
    m_keysHelp->setWordWrap(true);
    m_keysHelp->setObjectName(QStringLiteral("keysHelp"));
    right->addWidget(m_keysHelp);
    // A group's gaps in cover in the weeks shown (their cells have the gap colour).
    m_gapList = new QLabel(this);
    m_gapList->setWordWrap(true);
    m_gapList->setObjectName(QStringLiteral("gapList"));
    m_gapList->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_allGaps = new QPushButton(this);
    m_allGaps->setObjectName(QStringLiteral("allGaps"));
    m_allGaps->setAutoDefault(false);
    m_allGaps->hide();
    auto* gapRow = new QHBoxLayout;
    gapRow->addWidget(m_gapList, 1);
    gapRow->addWidget(m_allGaps, 0, Qt::AlignTop);
    right->addLayout(gapRow);

    auto* top = new QHBoxLayout;
    top->addLayout(left);
    top->addLayout(right, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_copy);
    bottom->addWidget(m_remove);
    bottom->addWidget(m_duplicate);
    bottom->addWidget(m_print);
    bottom->addWidget(m_export);
    bottom->addStretch(1);
    bottom->addWidget(m_close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(bottom);

    setTabOrder(m_tabs, m_list);
    setTabOrder(m_list, m_takeover);
    setTabOrder(m_takeover, m_coverage);
    setTabOrder(m_coverage, m_today);
    setTabOrder(m_today, m_back);
    setTabOrder(m_back, m_forward);
    setTabOrder(m_forward, m_previous);
    setTabOrder(m_previous, m_next);
    setTabOrder(m_next, m_plannerWidget);
    setTabOrder(m_plannerWidget, m_remove);
    setTabOrder(m_remove, m_duplicate);
    setTabOrder(m_duplicate, m_print);
    setTabOrder(m_print, m_export);
    setTabOrder(m_export, m_allGaps);
    setTabOrder(m_allGaps, m_close);

    Retranslate();
    RestorePlacement();

    // A preselected target opens on its own tab; an unknown name is dropped.
    if (!m_preselected.isEmpty()) {
        const CPageTarget* target = m_doc.PageTargets().FindByName(m_preselected);
        if (target)
            m_tabs->setCurrentIndex(target->IsGroup() ? TabGroups : TabReceivers);
        else
            m_preselected.clear();
    }
    ShowGroupControls(m_tabs->currentIndex() == TabGroups);

    connect(m_list, &QListWidget::currentItemChanged, this,
        [this](QListWidgetItem* item) { OnItemChanged(item); });
    // A mouse click makes the item current before Qt selects it: the planner becomes editable when
    // the selection follows, however the target was picked.
    connect(m_list, &QListWidget::itemSelectionChanged, this, &CDispatchingDlg::EnableButtons);
    connect(m_tabs, &QTabBar::currentChanged, this, &CDispatchingDlg::OnTabChanged);
    connect(m_model, &CPlannerModel::MarkingChanged, this, &CDispatchingDlg::OnMarkingChanged);
    connect(m_model, &CPlannerModel::CellActivated, this, &CDispatchingDlg::OnCellActivated);
    connect(m_takeover, &QCheckBox::clicked, this, [this] { m_modified = true; });
    connect(m_coverage, &QSpinBox::valueChanged, this, [this] {
        if (!m_filling)
            m_modified = true;
    });
    connect(m_allGaps, &QPushButton::clicked, this, &CDispatchingDlg::ShowAllGaps);
    connect(m_today, &QPushButton::clicked, this, &CDispatchingDlg::OnToday);
    connect(m_back, &QPushButton::clicked, this, &CDispatchingDlg::OnBack);
    connect(m_forward, &QPushButton::clicked, this, &CDispatchingDlg::OnForward);
    connect(m_previous, &QPushButton::clicked, this, &CDispatchingDlg::OnPreviousSchedule);
    connect(m_next, &QPushButton::clicked, this, &CDispatchingDlg::OnNextSchedule);
    connect(m_close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_remove, &QPushButton::clicked, this, &CDispatchingDlg::OnRemove);
    connect(m_duplicate, &QPushButton::clicked, this, &CDispatchingDlg::OnDuplicate);
    connect(m_print, &QPushButton::clicked, this, &CDispatchingDlg::OnPrint);
    connect(m_export, &QPushButton::clicked, this, &CDispatchingDlg::OnExport);

    FillList();
    SetUpPlanner();
    EnableButtons();
    m_plannerWidget->setFocus();
}

CDispatchingDlg::~CDispatchingDlg() = default;

qsizetype CDispatchingDlg::CurrentTarget() const
{
    return IndexOfTarget(m_doc.PageTargets(), m_currentId);
}

void CDispatchingDlg::SetCurrent(qsizetype index)
{
    const CPageTargetArray& targets = m_doc.PageTargets();
    m_currentId = index >= 0 && index < targets.size() ? targets.at(index).m_id : QString();
}

QString CDispatchingDlg::EntryText(const CPageTarget& target)
{
    QString text = target.m_name;
    if (target.IsGroup())
        text += QStringLiteral(" (") + target.m_members + u')';
    return text.replace(u';', QStringLiteral(", "));
}

CDateTime CDispatchingDlg::MondayOnOrBefore(const CDateTime& date)
{
    return ::MondayOnOrBefore(date);
}

void CDispatchingDlg::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        Retranslate();
    QDialog::changeEvent(event);
}

void CDispatchingDlg::Retranslate()
{
    setWindowTitle(tr("Plan of action"));
    m_tabs->setTabText(TabReceivers, tr("Receiver"));
    m_tabs->setTabText(TabGroups, tr("Groups"));
    m_takeover->setText(tr("&Activate takeover mode"));
    m_takeover->setToolTip(tr("While takeover mode is active, a member of the group is asked to take over "
                              "the duty when it is due"));
    m_today->setText(tr("Today"));
    m_today->setToolTip(tr("Show the current week"));
    m_back->setText(tr("<"));
    m_forward->setText(tr(">"));
    UpdateNavigationTips();
    m_caption->setToolTip(tr("The week shown"));
    // What a screen reader says: the week field by its tip, the grid by the dialog, the list by
    // its tab.
    m_caption->setAccessibleName(m_caption->toolTip());
    m_plannerWidget->setAccessibleName(windowTitle());
    m_list->setAccessibleName(m_tabs->tabText(m_tabs->currentIndex()));
    m_keysHelp->setText(
        tr("Keyboard: arrows move, Shift+arrows extend, Ctrl+Up/Down move an hour, Space marks, "
           "Delete unmarks."));
    m_gapList->setToolTip(
        tr("When the group is on duty by its own plan (always, without one) and fewer of its "
           "members than it needs are on duty, in the weeks shown"));
    m_allGaps->setText(tr("All gaps..."));
    m_allGaps->setToolTip(tr("List every gap in cover in the weeks shown"));
    m_coverageLabel->setText(tr("&Members needed on duty:"));
    m_coverage->setSpecialValueText(tr("Not watched"));
    m_coverage->setToolTip(
        tr("How many members the coverage guard wants on duty while the group is on duty by "
           "its own plan; 0 leaves the group out of the guard"));
    ShowGaps();
    m_previous->setText(tr("< previous schedule"));
    m_previous->setToolTip(tr("Show the latest week before this one that holds a plan"));
    m_next->setText(tr("next schedule >"));
    m_next->setToolTip(tr("Show the earliest week after this one that holds a plan"));
    m_close->setText(tr("Close"));
    m_copy->setText(tr("&Copy..."));
    m_remove->setText(tr("&Remove..."));
    m_remove->setToolTip(tr("Remove the plan of the selected entry on a span of days"));
    m_duplicate->setText(tr("&Duplicate..."));
    m_duplicate->setToolTip(tr("Repeat the plan of a span of days over another span"));
    m_print->setText(tr("&Print..."));
    m_export->setText(tr("&Export..."));
    m_planner->Retranslate();
    m_caption->setText(m_planner->Caption());
    // The caption shows whole: the week and its dates in the language's form.
    m_caption->setMinimumWidth(LineEditWidthFor(m_caption, m_caption->text()));
}

void CDispatchingDlg::UpdateNavigationTips()
{
    if (m_planner->Weeks() == 2) {
        m_back->setToolTip(tr("Show the two weeks before"));
        m_forward->setToolTip(tr("Show the two weeks after"));
    } else {
        m_back->setToolTip(tr("Show the week before"));
        m_forward->setToolTip(tr("Show the week after"));
    }
}

void CDispatchingDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The grid has its size only now: show the work time.
    m_plannerWidget->ScrollToRow(m_model->FirstVisibleRow());
    PlaceCurrentCell();
}

void CDispatchingDlg::PlaceCurrentCell()
{
    // Where the keyboard starts: today's column when the week shown holds today, else the first
    // day; the first row shown (the work time), not midnight.
    const int today = m_planner->ColumnOfDate(CDateTime::GetCurrentTime());
    const int first = m_planner->ColumnOfDate(m_planner->FirstDate());
    m_plannerWidget->SetCurrentCell(
        today >= 0 ? today : std::max(first, 1), m_plannerWidget->FirstShownRow());
}

bool CDispatchingDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_plannerWidget && event->type() == QEvent::Resize && !m_closing) {
        // The weeks shown follow the width; a set-up that changes nothing is left out, so
        // unsaved marks are kept while the window is only resized.
        const int weeks = PlannerSetUpSize().width() / 8 > CTimePlanner::kTwoWeekColumnWidth ? 2 : 1;
        if (weeks != m_planner->Weeks())
            SetUpPlanner();
    }
    return QDialog::eventFilter(watched, event);
}

void CDispatchingDlg::RestorePlacement()
{
    const QString path = ConfigLocation().ConfigPath();
    if (path.isEmpty())
        return;
    CProfile profile(path);
    const int left = profile.ReadInt(kWindowSection, QStringLiteral("WindowX"), 0);
    const int top = profile.ReadInt(kWindowSection, QStringLiteral("WindowY"), 0);
    const int right = profile.ReadInt(kWindowSection, QStringLiteral("WindowR"), 0);
    const int bottom = profile.ReadInt(kWindowSection, QStringLiteral("WindowB"), 0);
    if (right <= left || bottom <= top)
        return;
    // On whichever screen it was, a second monitor too; only a rectangle on no screen is moved.
    const QScreen* primary = QGuiApplication::primaryScreen();
    QList<QRect> screens;
    if (primary)
        screens.append(primary->availableGeometry());
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen != primary)
            screens.append(screen->availableGeometry());
    }
    const QRect shown = PlaceOnScreens(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)), screens);
    if (shown.isEmpty())
        return;
    move(shown.topLeft());
    resize(shown.size());
}

void CDispatchingDlg::StorePlacement()
{
    const QString path = ConfigLocation().ConfigPath();
    if (path.isEmpty())
        return;
    // Left and top of the frame, right and bottom of the client area: the values read back
    // give the same window.
    const int left = x();
    const int top = y();
    const int right = left + width();
    const int bottom = top + height();
    CProfile profile(path);
    const int oldLeft = profile.ReadInt(kWindowSection, QStringLiteral("WindowX"), 0);
    const int oldTop = profile.ReadInt(kWindowSection, QStringLiteral("WindowY"), 0);
    const int oldRight = profile.ReadInt(kWindowSection, QStringLiteral("WindowR"), 0);
    const int oldBottom = profile.ReadInt(kWindowSection, QStringLiteral("WindowB"), 0);
    if (left == oldLeft && top == oldTop && right == oldRight && bottom == oldBottom)
        return;
    bool stored = false;
    {
        CProfile::Batch batch(profile);
        CSection section(profile, kWindowSection);
        section.Write(QStringLiteral("WindowX"), left);
        section.Write(QStringLiteral("WindowY"), top);
        section.Write(QStringLiteral("WindowR"), right);
        section.Write(QStringLiteral("WindowB"), bottom);
        stored = batch.Commit();
    }
    if (stored)
        ConfigLocation().RecordFileTime();
}

QSize CDispatchingDlg::PlannerSetUpSize() const
{
    // Two weeks are shown on a wide planner only when their fourteen headings show whole too;
    // otherwise the planner is set up as if it were just too narrow for them.
    QSize size = m_plannerWidget->size();
    if (m_plannerWidget->DayColumnsThatFit(size.width()) < 14)
        size.setWidth(std::min(size.width(), 8 * CTimePlanner::kTwoWeekColumnWidth));
    return size;
}

void CDispatchingDlg::SetUpPlanner()
{
    // The set-up clears the grid: an edited plan is saved before.
    SavePlan();
    m_planner->SetUp(m_weekStart, false, PlannerSetUpSize());
    m_caption->setText(m_planner->Caption());
    // The caption shows whole: the week and its dates in the language's form.
    m_caption->setMinimumWidth(LineEditWidthFor(m_caption, m_caption->text()));
    UpdateNavigationTips();
    LoadPlan();
    m_plannerWidget->ScrollToRow(m_model->FirstVisibleRow());
    PlaceCurrentCell();
}

void CDispatchingDlg::LoadPlan()
{
    SavePlan();
    const CPageTargetArray& targets = m_doc.PageTargets();
    const qsizetype current = IndexOfTarget(targets, m_currentId);
    if (current < 0) {
        m_currentId.clear();
        m_loaded.reset();
    }
    bool content = false;
    m_previousDate = CDateTime::Null();
    m_nextDate = CDateTime::Null();
    if (current >= 0) {
        {
            const std::lock_guard lock(m_doc.TargetsMutex());
            m_loaded = std::make_unique<CPageTarget>(targets.at(current));
        }
        if (m_loaded->IsGroup()) {
            m_takeover->setChecked(m_loaded->m_takeover);
            const QSignalBlocker blocker(m_coverage);
            m_coverage->setValue(m_loaded->m_coverageRequired >= 0 ? m_loaded->m_coverageRequired : 1);
        }
        content = m_planner->LoadPlan(current);
        if (!content)
            m_planner->NearestSchedules(current, m_previousDate, m_nextDate);
    } else {
        // Nothing selected: an empty, read-only grid rather than the last target's plan.
        m_planner->LoadPlan(-1);
    }
    m_modified = false;
    const bool offerSchedules = current >= 0 && !content;
    m_previous->setVisible(offerSchedules);
    m_next->setVisible(offerSchedules);
    m_previous->setEnabled(offerSchedules && m_previousDate.IsValid());
    m_next->setEnabled(offerSchedules && m_nextDate.IsValid());
    ShowGaps();
}

void CDispatchingDlg::ShowGaps()
{
    m_gapList->setVisible(m_loaded && m_loaded->IsGroup());
    if (!m_gapList->isVisibleTo(this)) {
        m_allGaps->hide();
        return;
    }
    const QList<CTimePlanner::CGap>& gaps = m_planner->Gaps();
    if (gaps.isEmpty()) {
        m_gapList->setText(tr("No gap in cover in the weeks shown."));
        m_allGaps->hide();
        return;
    }
    constexpr int kListed = 6;
    const QStringList texts = GapTexts();
    QString text = tr("Gaps in cover: %1").arg(texts.mid(0, kListed).join(QStringLiteral("; ")));
    if (texts.size() > kListed)
        text += u' ' + tr("and %n more", nullptr, int(texts.size() - kListed));
    m_allGaps->setVisible(texts.size() > kListed);
    m_gapList->setText(text);
}

void CDispatchingDlg::ShowGroupControls(bool group)
{
    m_takeover->setVisible(group);
    m_coverageRow->setVisible(group);
}

void CDispatchingDlg::TakeGroupSettings(CPageTarget& group) const
{
    group.m_takeover = m_takeover->isChecked();
    // A group that never said keeps saying nothing while the default stands.
    const int required = m_coverage->value();
    if (group.m_coverageRequired >= 0 || required != 1)
        group.m_coverageRequired = required;
}

QStringList CDispatchingDlg::GapTexts() const
{
    const auto time = [](const CDateTime& moment) { return FormatDateTime(moment, DTF_HOUR | DTF_MINUTE); };
    QStringList texts;
    for (const CTimePlanner::CGap& gap : m_planner->Gaps()) {
        const bool sameDay = gap.from.DayNumber() == gap.to.DayNumber()
            || (gap.to.DayNumber() == gap.from.DayNumber() + 1 && gap.to.GetHour() == 0
                && gap.to.GetMinute() == 0);
        texts << CTimePlanner::DayHeading(gap.from) + u' ' + time(gap.from) + QStringLiteral(" - ")
                + (sameDay ? (
                       gap.to.DayNumber() == gap.from.DayNumber() ? time(gap.to) : QStringLiteral("24:00"))
                           : CTimePlanner::DayHeading(gap.to) + u' ' + time(gap.to));
    }
    return texts;
}

void CDispatchingDlg::ShowAllGaps()
{
    QDialog list(this);
    list.setWindowTitle(tr("Gaps in cover"));
    auto* texts = new QListWidget(&list);
    texts->setObjectName(QStringLiteral("gapTexts"));
    texts->addItems(GapTexts());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &list);
    connect(buttons, &QDialogButtonBox::rejected, &list, &QDialog::reject);
    auto* layout = new QVBoxLayout(&list);
    layout->addWidget(texts);
    layout->addWidget(buttons);
    texts->setMinimumWidth(texts->sizeHintForColumn(0) + 2 * texts->frameWidth()
        + texts->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 8);
    list.exec();
}

void CDispatchingDlg::SavePlan()
{
    if (m_currentId.isEmpty() || !m_modified)
        return;
    CPageTargetArray& targets = m_doc.PageTargets();
    const qsizetype current = IndexOfTarget(targets, m_currentId);
    bool written = false;
    bool listed = true;
    QString name;
    if (current >= 0) {
        m_planner->SavePlan(current);
        {
            const std::lock_guard lock(m_doc.TargetsMutex());
            CPageTarget& target = targets[current];
            if (target.IsGroup())
                TakeGroupSettings(target);
            written = target.SaveDispatchFile();
            name = target.m_name;
        }
        // Journaled outside the lock: the socket's answers never wait for the journal.
        if (written)
            m_doc.JournalPlan(targets[current], QStringLiteral("Plan of action"));
    } else if (m_loaded) {
        // The list was loaded again without this target while its plan was shown: the edits
        // still belong to it, in its own file, over what that file holds now.
        listed = false;
        CPageTarget& target = *m_loaded;
        target.LoadDispatchFile();
        m_planner->SaveMarks(target.m_ranges);
        if (target.IsGroup())
            TakeGroupSettings(target);
        written = target.SaveDispatchFile();
        name = target.m_name;
        if (written)
            m_doc.JournalPlan(target, QStringLiteral("Plan of action"));
    } else {
        m_modified = false;
        return;
    }
    m_modified = false;
    RefreshListImages();
    EnableButtons();
    if (!written)
        QMessageBox::warning(this, tr("Plan of action"),
            tr("The plan of \"%1\" could not be written to its dispatch file. It applies until the "
               "program ends.")
                .arg(name));
    else if (!listed)
        ReportTargetsNoLongerListed(this, { name });
}

void CDispatchingDlg::FillList()
{
    const CPageTargetArray& targets = m_doc.PageTargets();
    const bool groups = m_tabs->currentIndex() == TabGroups;
    m_filling = true;
    m_list->clear();
    QListWidgetItem* selected = nullptr;
    for (qsizetype index = 0; index < targets.size(); ++index) {
        const CPageTarget& target = targets.at(index);
        if (target.IsGroup() != groups)
            continue;
        auto* item = new QListWidgetItem(TargetListIcon(target, targets), EntryText(target), m_list);
        item->setData(kTargetIdRole, target.m_id);
        item->setData(kTargetNameRole, target.m_name);
        item->setToolTip(item->text());
        if (!selected && !m_preselected.isEmpty() && target.m_name == m_preselected)
            selected = item;
    }
    if (m_preselected.isEmpty() && m_list->count() > 0)
        selected = m_list->item(0);
    m_preselected.clear();
    if (selected) {
        m_list->setCurrentItem(selected);
        m_list->scrollToItem(selected);
        m_currentId = selected->data(kTargetIdRole).toString();
        m_preselected = selected->data(kTargetNameRole).toString();
    } else {
        m_list->setCurrentItem(nullptr);
    }
    m_filling = false;
}

void CDispatchingDlg::RefreshListImages()
{
    const CPageTargetArray& targets = m_doc.PageTargets();
    for (int row = 0; row < m_list->count(); ++row) {
        QListWidgetItem* item = m_list->item(row);
        if (const CPageTarget* target = targets.FindById(item->data(kTargetIdRole).toString()))
            item->setIcon(TargetListIcon(*target, targets));
    }
}

void CDispatchingDlg::EnableButtons()
{
    const CPageTargetArray& targets = m_doc.PageTargets();
    const bool hasRanges
        = IndexOfTarget(targets, m_currentId) >= 0 && !targets.FindById(m_currentId)->m_ranges.isEmpty();
    m_remove->setEnabled(hasRanges);
    m_copy->setEnabled(false); // not offered
    const bool selected
        = m_list->currentItem() && m_list->currentItem()->isSelected() && !m_currentId.isEmpty();
    m_model->SetEditMode(selected ? CPlannerModel::EditMarking : CPlannerModel::EditReadOnly);
}

void CDispatchingDlg::OnItemChanged(QListWidgetItem* item)
{
    if (m_filling || !item)
        return;
    const QString id = item->data(kTargetIdRole).toString();
    SavePlan();
    m_currentId = id;
    m_preselected = item->data(kTargetNameRole).toString();
    LoadPlan();
    EnableButtons();
    PlaceCurrentCell();
}

void CDispatchingDlg::OnTabChanged(int tab)
{
    SavePlan();
    m_list->setAccessibleName(m_tabs->tabText(tab));
    ShowGroupControls(tab == TabGroups);
    m_currentId.clear();
    FillList();
    LoadPlan();
    EnableButtons();
}

void CDispatchingDlg::OnCellActivated(int column, int row)
{
    const QString text = m_planner->CellText(column, row);
    if (text.isEmpty() || column == 0)
        return;
    QStringList names;
    SplitText(text, names, u';');
    const QString name = names.isEmpty() ? QString() : names.constLast();
    const CPageTarget* target = m_doc.PageTargets().FindByName(name);
    if (!target)
        return;
    // The group's edits are kept before the jump.
    SavePlan();
    if (const QListWidgetItem* item = m_list->currentItem())
        m_jumpOrigin = item->data(kTargetNameRole).toString();
    m_preselected = name;
    m_modified = false;
    m_currentId.clear();
    const int tab = target->IsGroup() ? TabGroups : TabReceivers;
    if (m_tabs->currentIndex() != tab) {
        const QSignalBlocker blocker(m_tabs);
        m_tabs->setCurrentIndex(tab);
        ShowGroupControls(tab == TabGroups);
    }
    FillList();
    LoadPlan();
    EnableButtons();
}

void CDispatchingDlg::OnMarkingChanged()
{
    m_modified = true;
}

void CDispatchingDlg::ShowWeek(const CDateTime& weekStart)
{
    // A step beyond the representable dates is not taken.
    if (!weekStart.IsValid())
        return;
    SavePlan();
    m_weekStart = MondayOnOrBefore(weekStart);
    SetUpPlanner();
    EnableButtons();
}

void CDispatchingDlg::OnToday()
{
    ShowWeek(MondayOnOrBefore(CDateTime::GetCurrentTime()));
}

void CDispatchingDlg::OnBack()
{
    ShowWeek(m_weekStart - CDateTimeSpan(7 * m_planner->Weeks(), 0, 0, 0));
}

void CDispatchingDlg::OnForward()
{
    ShowWeek(m_weekStart + CDateTimeSpan(7 * m_planner->Weeks(), 0, 0, 0));
}

void CDispatchingDlg::OnPreviousSchedule()
{
    if (m_previousDate.IsValid())
        ShowWeek(MondayOnOrBefore(m_previousDate));
}

void CDispatchingDlg::OnNextSchedule()
{
    if (m_nextDate.IsValid())
        ShowWeek(MondayOnOrBefore(m_nextDate));
}

void CDispatchingDlg::OnRemove()
{
    SavePlan();
    if (m_currentId.isEmpty())
        return;
    CDispRemoveDlg dialog(m_doc, m_currentId, this);
    dialog.exec();
    RefreshListImages();
    LoadPlan();
    EnableButtons();
}

void CDispatchingDlg::OnDuplicate()
{
    SavePlan();
    CDispDuplicateDlg dialog(m_doc, this);
    dialog.exec();
    RefreshListImages();
    LoadPlan();
    EnableButtons();
}

void CDispatchingDlg::OnPrint()
{
    PrintOrExport(false);
}

void CDispatchingDlg::OnExport()
{
    PrintOrExport(true);
}

void CDispatchingDlg::PrintOrExport(bool exporting)
{
    SavePlan();
    const CPageTargetArray& targets = m_doc.PageTargets();
    const qsizetype current = IndexOfTarget(targets, m_currentId);
    const QString name = current >= 0 ? targets.at(current).m_name : QString();
    CExportDlg dialog(name, m_planner->Caption(), PlanMonthText(m_weekStart),
        exporting ? PlanPeriodMonth : PlanPeriodWeek, this, m_tabs->currentIndex() == TabGroups);
    if (exporting)
        dialog.OfferCalendar();
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (dialog.Calendar()) {
        const auto [from, to]
            = CExportDlg::PeriodDates(m_weekStart.ToQDate(), dialog.Period(), m_planner->Weeks());
        ExportCalendar(dialog.AllTargets() ? -1 : current, from, to);
        return;
    }

    SPlanExportRequest request;
    request.m_allTargets = dialog.AllTargets();
    request.m_period = dialog.Period();
    request.m_groups = m_tabs->currentIndex() == TabGroups;
    request.m_currentTarget = current;
    request.m_weekStart = m_weekStart;
    request.m_weeks = m_planner->Weeks();
    SPlanTable table;
    const bool built = BuildPlanTable(*m_planner, targets, request, table);
    // The table was read through the grid: show the current plan again.
    SetUpPlanner();
    EnableButtons();
    if (!built)
        return;
    QString reason;
    const QString path = WritePlanFile(table, QString(), &reason);
    if (path.isEmpty()) {
        QMessageBox::warning(
            this, tr("Plan of action"), tr("The plan could not be written: %1.").arg(reason));
        return;
    }
    if (!OpenPlanFile(path, exporting ? EPlanOutput::Export : EPlanOutput::Print))
        QMessageBox::warning(this, tr("Plan of action"),
            tr("No program could be started to show the plan. It was written to \"%1\".").arg(path));
}

void CDispatchingDlg::ExportCalendar(qsizetype current, QDate from, QDate to)
{
    const CPageTargetArray& targets = m_doc.PageTargets();
    const bool groups = m_tabs->currentIndex() == TabGroups;
    const CCalendarOptions options = SiteCalendarOptions(ConfigLocation().ConfigPath(), &targets);
    QList<SDutyEvent> events;
    QString title;
    if (current >= 0) {
        events = DutyEvents(targets.at(current), from, to, options);
        title = targets.at(current).m_name;
    } else {
        // All entries of the list shown, as the table has them.
        for (const CPageTarget& target : targets) {
            if (target.IsGroup() == groups)
                events += DutyEvents(target, from, to, options);
        }
        title = groups ? tr("All groups") : tr("All receivers");
    }
    QString proposed
        = QStringLiteral("Kelvaris_%1_%2.ics").arg(title, from.toString(QStringLiteral("yyyy-MM-dd")));
    for (QChar& c : proposed) {
        if (!c.isLetterOrNumber() && c != u'-' && c != u'.')
            c = u'_';
    }
    const QString path = QFileDialog::getSaveFileName(
        this, tr("Save duty calendar"), QDir::home().filePath(proposed), tr("iCalendar (*.ics)"));
    if (path.isEmpty())
        return;
    const QByteArray calendar = WriteCalendar(events, title, QDateTime::currentDateTimeUtc(), options);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(calendar) != calendar.size() || !file.commit())
        QMessageBox::warning(this, tr("Plan of action"),
            tr("The calendar could not be written to \"%1\": %2.")
                .arg(QDir::toNativeSeparators(path), file.errorString()));
}

void CDispatchingDlg::done(int)
{
    if (m_closing)
        return;
    m_closing = true;
    SavePlan();
    StorePlacement();
    QDialog::done(QDialog::Accepted);
    m_closing = false;
}
