#include "app/KelvarisView.h"

#include <algorithm>
#include <mutex>

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QSaveFile>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "engine/Password.h"
#include "plandialogs/DispatchingDlg.h"
#include "schedule/ConfigLocation.h"
#include "schedule/PageTarget.h"
#include "schedule/TextList.h"
#include "widgets/TargetListIcon.h"
#include "widgets/WidgetFit.h"

namespace {

constexpr int kCycleIntervalMs = 1000;
constexpr int kIconSize = 16;
// Item data of a plan of action entry besides the index (Qt::UserRole): the target's name.
constexpr int kTargetNameRole = Qt::UserRole + 1;

QString Tr(const char* text)
{
    return QCoreApplication::translate("CKelvarisView", text);
}

// " Deactivated", the state groups' text while the engine is not evaluating.
QString DeactivatedName()
{
    return u' ' + GetListItem(Tr(QT_TRANSLATE_NOOP("CKelvarisView", "Deactivated")), 1);
}

// <configuration file> with its extension replaced by ".log".
QString ProposedLogfilePath()
{
    QString path = ConfigLocation().ConfigPath();
    if (path.isEmpty())
        return QStringLiteral("kelvaris.log");
    const qsizetype slash = path.lastIndexOf(u'/');
    const qsizetype dot = path.lastIndexOf(u'.');
    if (dot > slash + 1)
        path.truncate(dot);
    return path + QStringLiteral(".log");
}

} // namespace

CStateTexts StateTexts(const CShift& shift, const CBarrage& barrier)
{
    const QString blank(u' ');
    CStateTexts texts;

    if (IsNotEvaluated(barrier.m_name)) {
        texts.m_barrierName = DeactivatedName();
        texts.m_barrierFrom = texts.m_barrierTo = blank;
    } else if (barrier.m_name.isEmpty()) {
        texts.m_barrierName
            = blank + GetListItem(Tr(QT_TRANSLATE_NOOP("CKelvarisView", "No barrier/pause")), 1);
        texts.m_barrierFrom = texts.m_barrierTo = blank;
    } else {
        texts.m_barrierName = blank + barrier.m_name + QStringLiteral(" (%1)").arg(barrier.m_priority);
        texts.m_barrierFrom = blank + FormatDateTime(barrier.m_startTime, DTF_TIME);
        // A barrier that holds messages shows the moment they go out.
        const CDateTime& until = barrier.m_delayUntil;
        if (until.IsValid() && !until.IsZero())
            texts.m_barrierTo = blank + FormatDateTime(until, DTF_DATE | DTF_FULLYEAR) + blank
                + FormatDateTime(until, DTF_TIME);
        else
            texts.m_barrierTo = blank + FormatDateTime(barrier.m_endTime, DTF_TIME);
    }

    if (IsNotEvaluated(shift.m_name)) {
        texts.m_shiftName = DeactivatedName();
        texts.m_shiftFrom = texts.m_shiftTo = blank;
    } else if (shift.m_name.isEmpty()) {
        texts.m_shiftName = blank + GetListItem(Tr(QT_TRANSLATE_NOOP("CKelvarisView", "No shift")), 1);
        texts.m_shiftFrom = texts.m_shiftTo = blank;
    } else {
        // The engine's current shift carries the number in force already; a rotating record
        // handed in directly is rotated to this week.
        const int number = shift.EffectiveNumber(CDateTime::GetCurrentTime());
        texts.m_shiftName = blank + shift.m_name + QStringLiteral(" (%1)").arg(number);
        texts.m_shiftFrom = blank + FormatDateTime(shift.m_startTime, DTF_TIME);
        texts.m_shiftTo = blank + FormatDateTime(shift.m_endTime, DTF_TIME);
    }
    return texts;
}

bool WriteLogbookFile(
    const QString& path, const QStringList& titles, const QList<CLogbookLine>& lines, QString* error)
{
    QSaveFile file(path);
    bool written = file.open(QIODevice::WriteOnly);
    if (written) {
        const QByteArray lineEnd("\r\n");
        file.write(titles.join(u'\t').toUtf8() + lineEnd);
        for (const CLogbookLine& line : lines)
            file.write(line.Joined().toUtf8() + lineEnd);
        // The explicit flush matters: commit does not notice a failure of the last flush.
        written = file.flush() && file.commit();
    }
    if (!written && error)
        *error = file.errorString();
    return written;
}

CKelvarisView::CKelvarisView(
    CKelvarisDoc& doc, CRightsCheck& rights, CValuePublisher* publisher, QWidget* parent)
    : QWidget(parent)
    , m_doc(doc)
    , m_rights(rights)
    , m_publisher(publisher)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(kCycleIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &CKelvarisView::Tick);

    // The two state groups: the name on a line of its own, "from:" and "to:" below.
    auto makeStateGroup = [this](int which) {
        auto* group = new QGroupBox(this);
        auto* layout = new QGridLayout(group);
        m_labels[which * 3] = new QLabel(group);
        m_labels[which * 3 + 1] = new QLabel(group);
        m_labels[which * 3 + 2] = new QLabel(group);
        m_fromLabels[which] = new QLabel(group);
        m_toLabels[which] = new QLabel(group);
        for (int i = 0; i < 3; ++i)
            m_labels[which * 3 + i]->setTextFormat(Qt::PlainText);
        m_labels[which * 3]->setMinimumWidth(200);
        // "from:" and "to:" label their values, so a screen reader reads them together.
        m_fromLabels[which]->setBuddy(m_labels[which * 3 + 1]);
        m_toLabels[which]->setBuddy(m_labels[which * 3 + 2]);
        layout->addWidget(m_labels[which * 3], 0, 0, 1, 4);
        layout->addWidget(m_fromLabels[which], 1, 0);
        layout->addWidget(m_labels[which * 3 + 1], 1, 1);
        layout->addWidget(m_toLabels[which], 1, 2);
        layout->addWidget(m_labels[which * 3 + 2], 1, 3);
        layout->setColumnStretch(1, 1);
        layout->setColumnStretch(3, 2);
        return group;
    };
    m_shiftGroup = makeStateGroup(0);
    m_barrierGroup = makeStateGroup(1);

    m_logbookGroup = new QGroupBox(this);
    m_logbookList = new QTreeWidget(m_logbookGroup);
    m_logbookList->setColumnCount(4);
    m_logbookList->setRootIsDecorated(false);
    m_logbookList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_logbookList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_logbookList->setUniformRowHeights(true);
    m_logbookList->setAllColumnsShowFocus(true);
    m_logbookList->setMinimumSize(580, 300);
    m_logbookList->header()->setStretchLastSection(true);
    m_logbookList->header()->setSectionsMovable(false);
    // The column widths follow the titles of the language (FitLogbookColumns).
    auto* logbookLayout = new QVBoxLayout(m_logbookGroup);
    logbookLayout->addWidget(m_logbookList);

    m_planGroup = new QGroupBox(this);
    m_planHeader = new QLabel(m_planGroup);
    m_planList = new QListWidget(m_planGroup);
    m_planHeader->setBuddy(m_planList);
    m_planList->setIconSize(QSize(kIconSize, kIconSize));
    m_planList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_planList->setFixedWidth(200);
    // A long name is elided; its tooltip shows it whole.
    m_planList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_planList->setTextElideMode(Qt::ElideRight);
    m_planList->setEnabled(false);
    connect(m_planList, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        if (item)
            Q_EMIT PlanEntryActivated(item->data(kTargetNameRole).toString());
    });
    // Enter on the current entry does what a double click does.
    for (const Qt::Key key : { Qt::Key_Return, Qt::Key_Enter }) {
        auto* shortcut = new QShortcut(QKeySequence(key), m_planList, nullptr, nullptr, Qt::WidgetShortcut);
        connect(shortcut, &QShortcut::activated, this, [this] {
            if (QListWidgetItem* item = m_planList->currentItem())
                Q_EMIT PlanEntryActivated(item->data(kTargetNameRole).toString());
        });
    }
    // Below the list: the nearest gap in the groups' cover, so a gap is seen before an alarm
    // finds nobody.
    m_gapHeader = new QLabel(m_planGroup);
    m_gapText = new QLabel(m_planGroup);
    m_gapText->setObjectName(QStringLiteral("gapText"));
    m_gapText->setWordWrap(true);
    m_gapText->setFixedWidth(m_planList->width());
    m_gapText->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_gapText->setFocusPolicy(Qt::StrongFocus);
    auto* planLayout = new QVBoxLayout(m_planGroup);
    planLayout->addWidget(m_planHeader);
    planLayout->addWidget(m_planList);
    planLayout->addWidget(m_gapHeader);
    planLayout->addWidget(m_gapText);

    // Shift and barrier side by side on top, the logbook below them; the plan of action takes the
    // full height on the right.
    auto* layout = new QGridLayout(this);
    layout->addWidget(m_shiftGroup, 0, 0);
    layout->addWidget(m_barrierGroup, 0, 1);
    layout->addWidget(m_logbookGroup, 1, 0, 1, 2);
    layout->addWidget(m_planGroup, 0, 2, 2, 1);
    layout->setRowStretch(1, 1);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(1, 1);

    setTabOrder(m_logbookList, m_planList);
    setTabOrder(m_planList, m_gapText);

    m_texts = StateTexts(m_doc.CurrentShift(), m_doc.CurrentBarrier());
    Retranslate();
}

CKelvarisView::~CKelvarisView() = default;

void CKelvarisView::FitLogbookColumns()
{
    // Name 200, date and start time 80 pixels each, wider where a title or a date or time of the
    // language needs more; the event takes the rest.
    const QStringList titles = LogbookTitles();
    const CDateTime sample(2028, 12, 28, 23, 59, 59);
    const QStringList samples[]
        = { {}, { FormatDateTime(sample, DTF_DATE | DTF_FULLYEAR) }, { FormatDateTime(sample, DTF_TIME) } };
    const int least[] = { 200, 80, 80 };
    int fixed = 0;
    for (int column = 0; column < 3; ++column) {
        const int width
            = std::max({ least[column], SectionWidthFor(m_logbookList->header(), titles.value(column)),
                CellWidthFor(m_logbookList, samples[column]) });
        m_logbookList->setColumnWidth(column, width);
        fixed += width;
    }
    const int scrollBar
        = m_logbookList->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_logbookList);
    const int event = std::max(SectionWidthFor(m_logbookList->header(), titles.value(3)), 220);
    m_logbookList->setMinimumWidth(
        std::max(580, fixed + event + scrollBar + 2 * m_logbookList->frameWidth()));
}

void CKelvarisView::Retranslate()
{
    m_shiftGroup->setTitle(tr("Current Shift"));
    m_barrierGroup->setTitle(tr("Current Barrier/Pause"));
    m_logbookGroup->setTitle(tr("Logbook"));
    m_planGroup->setTitle(tr("Plan of action"));
    // What a screen reader says for the lists: their group's title.
    m_logbookList->setAccessibleName(m_logbookGroup->title());
    m_planList->setAccessibleName(m_planGroup->title());
    const QGroupBox* stateGroups[2] = { m_shiftGroup, m_barrierGroup };
    for (int i = 0; i < 2; ++i) {
        m_fromLabels[i]->setText(tr("from:"));
        m_toLabels[i]->setText(tr("to:"));
        // The values name what they are: "Current Shift", "Current Shift, from:", ...
        const QString title = stateGroups[i]->title();
        m_labels[i * 3]->setAccessibleDescription(title);
        m_labels[i * 3 + 1]->setAccessibleDescription(title + QStringLiteral(", ") + m_fromLabels[i]->text());
        m_labels[i * 3 + 2]->setAccessibleDescription(title + QStringLiteral(", ") + m_toLabels[i]->text());
    }
    m_logbookList->setHeaderLabels(LogbookTitles());
    FitLogbookColumns();
    m_planHeader->setText(tr("Now dispatched"));
    m_planList->setToolTip(tr("The receivers and groups on duty now; double-click one to plan its duty"));
    m_gapHeader->setText(tr("Nearest gap in cover"));
    m_gapText->setAccessibleName(m_gapHeader->text());
    ShowGaps();
    ShowTexts();
}

QStringList CKelvarisView::LogbookTitles() const
{
    return { tr("Name"), tr("Date"), tr("Start time"), tr("Event") };
}

void CKelvarisView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        // The lines kept so far in the language and date forms now in effect.
        for (int row = 0; row < m_logbook.size(); ++row) {
            m_logbook[row] = Retranslated(m_logbook.at(row));
            if (QTreeWidgetItem* item = m_logbookList->topLevelItem(row))
                ShowLogbookLine(*item, m_logbook.at(row));
        }
        Retranslate();
    }
    QWidget::changeEvent(event);
}

void CKelvarisView::InitialUpdate()
{
    AddLogbookLine(StartedLine(CDateTime::GetCurrentTime()));
    m_timer.start();
    if (m_doc.m_autoActivate)
        m_doc.Activate();
    OnUpdate(CDocObserver::HINT_STATE);
}

void CKelvarisView::Tick()
{
    if (m_doc.IsActive())
        m_doc.Cycle();
    // Started again only now, so a long cycle never overlaps the next one.
    m_timer.start();
}

void CKelvarisView::OnSaveFailed(const QString& path, const QString& reason)
{
    QMessageBox::warning(this, QStringLiteral("Kelvaris"),
        tr("The changes could not be saved in %1: %2\n\nKelvaris keeps them and tries again every 30 "
           "seconds.")
            .arg(QDir::toNativeSeparators(path), reason));
}

void CKelvarisView::OnUpdate(unsigned hint)
{
    const CDateTime now = CDateTime::GetCurrentTime();
    if (hint & CDocObserver::HINT_STATE) {
        m_deactivated = false;
        for (const CLogbookLine& line : StateChangeLines(m_doc.CurrentBarrier(), m_doc.CurrentShift(), now))
            AddLogbookLine(line);
    }
    if (hint & CDocObserver::HINT_ACTIVATED) {
        m_deactivated = false;
        AddLogbookLine(ActivatedLine(now));
    }
    if (hint & CDocObserver::HINT_DEACTIVATED) {
        m_deactivated = true;
        AddLogbookLine(DeactivatedLine(now));
    }
    // A deactivation refreshes the plan as well: it empties the list and the published value.
    if (hint & (CDocObserver::HINT_ACTIVATED | CDocObserver::HINT_DEACTIVATED | CDocObserver::HINT_PLAN))
        RefreshPlan();
    if (hint & CDocObserver::HINT_COVERAGE)
        ShowGaps();
    ShowTexts();
    Q_EMIT Updated();
}

void CKelvarisView::AddLogbookLine(const CLogbookLine& line)
{
    m_logbook.prepend(line);
    auto* item = new QTreeWidgetItem;
    ShowLogbookLine(*item, line);
    m_logbookList->insertTopLevelItem(0, item);
}

void CKelvarisView::ShowLogbookLine(QTreeWidgetItem& item, const CLogbookLine& line)
{
    const QString texts[] = { line.m_name, line.m_date, line.m_startTime, line.m_event };
    for (int column = 0; column < 4; ++column) {
        item.setText(column, texts[column]);
        item.setToolTip(column, texts[column]);
    }
}

void CKelvarisView::OnNotice(const QString& text)
{
    AddLogbookLine(NoticeLine(CDateTime::GetCurrentTime(), text));
}

void CKelvarisView::AddWarningLine(const QString& text)
{
    const CDateTime now = CDateTime::GetCurrentTime();
    AddLogbookLine(WarningLine(now, text));
}

void CKelvarisView::RefreshPlan()
{
    const bool active = m_doc.IsActive();
    // The refresh comes every minute: the operator's current entry stays current.
    const QListWidgetItem* current = m_planList->currentItem();
    const QString currentName = current ? current->data(kTargetNameRole).toString() : QString();
    m_planList->clear();
    m_planList->setEnabled(active);
    QList<CPlanEntry> entries;
    if (active) {
        const std::lock_guard<std::mutex> lock(m_doc.TargetsMutex());
        entries = PlanOfActionEntries(m_doc.PageTargets(), CDateTime::GetCurrentTime());
        for (const CPlanEntry& entry : entries) {
            // The name alone, for the double click; the text may carry the holder as well.
            const CPageTarget& target = m_doc.PageTargets().at(entry.m_index);
            // The image shows the target's plan as the planning dialog's list does.
            auto* item = new QListWidgetItem(TargetListIcon(target, m_doc.PageTargets()), entry.m_text);
            item->setData(Qt::UserRole, int(entry.m_index));
            item->setData(kTargetNameRole, target.m_name);
            item->setToolTip(entry.m_text);
            m_planList->addItem(item);
        }
    }
    m_planList->sortItems(Qt::AscendingOrder);
    if (!currentName.isEmpty()) {
        for (int row = 0; row < m_planList->count(); ++row) {
            if (m_planList->item(row)->data(kTargetNameRole).toString() == currentName) {
                m_planList->setCurrentRow(row);
                break;
            }
        }
    }
    if (m_publisher)
        m_publisher->PublishText(
            QStringLiteral("Dispatching"), QStringLiteral("Current"), PlanOfActionValue(entries));
}

void CKelvarisView::ShowGaps()
{
    const CCoverageWatch& coverage = m_doc.Coverage();
    const QList<CCoverageWatch::CGap>& gaps = coverage.Gaps();
    if (gaps.isEmpty()) {
        m_gapText->setText(tr("None within 24 hours"));
        m_gapText->setToolTip(tr("Every alarm group has a member on duty for the next 24 hours"));
        return;
    }
    const auto line = [&coverage](const CCoverageWatch::CGap& gap) {
        return tr("%1: nobody on duty %2").arg(gap.groupName, coverage.SpanText(gap.span));
    };
    m_gapText->setText(line(gaps.first()));
    QStringList lines;
    for (const CCoverageWatch::CGap& gap : gaps)
        lines << line(gap);
    m_gapText->setToolTip(tr("The gaps in cover within 24 hours:") + u'\n' + lines.join(u'\n'));
}

void CKelvarisView::ShowTexts()
{
    if (m_deactivated) {
        const QString name = DeactivatedName();
        const QString blank(u' ');
        m_texts = { name, blank, blank, name, blank, blank };
    } else {
        m_texts = StateTexts(m_doc.CurrentShift(), m_doc.CurrentBarrier());
    }
    const QString* texts[6] = { &m_texts.m_shiftName, &m_texts.m_shiftFrom, &m_texts.m_shiftTo,
        &m_texts.m_barrierName, &m_texts.m_barrierFrom, &m_texts.m_barrierTo };
    for (int i = 0; i < 6; ++i)
        m_labels[i]->setText(*texts[i]);
    m_labels[0]->setToolTip(m_texts.m_shiftName.trimmed());
    m_labels[3]->setToolTip(m_texts.m_barrierName.trimmed());
}

void CKelvarisView::SaveLogfile()
{
    if (!m_rights.Check(RIGHT_SAVE_LOGFILE))
        return;
    // The first filter matches the proposed name.
    const QString path = QFileDialog::getSaveFileName(
        this, QString(), ProposedLogfilePath(), tr("Log Files (*.log);;Text Files (*.txt);;All Files (*)"));
    if (path.isEmpty())
        return;
    QString error;
    if (!WriteLogbookFile(path, LogbookTitles(), m_logbook, &error)) {
        QMessageBox::warning(this, QStringLiteral("Kelvaris"),
            tr("The logbook could not be saved in %1: %2").arg(QDir::toNativeSeparators(path), error));
    }
}
