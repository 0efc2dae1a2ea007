#include "editors/HistoryDialog.h"

#include <algorithm>

#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "schedule/SiteClock.h"

namespace {

// The kinds of change, in the order the filter offers them.
const char* const kKinds[] = { "plan", "holder", "activation", "settings", "protection", "takeover texts",
    "shifts", "barriers", "holidays", "targets", "notice", "journal" };

enum EColumn { kTime, kUser, kVia, kKind, kTarget, kWhy, kColumns };

QString TimeText(qint64 atMs)
{
    return QLocale().toString(QDateTime::fromMSecsSinceEpoch(atMs, SiteClockZone()), QLocale::ShortFormat);
}

// A plan's line as a person reads it: "Tue 08/12/2026 22:00-24:00" for "20261208=22:00-24:00".
QString ReadableLine(const QString& line)
{
    const QDate date = QDate::fromString(line.left(8), QStringLiteral("yyyyMMdd"));
    if (line.size() < 10 || line.at(8) != u'=' || !date.isValid())
        return line;
    const QLocale locale;
    return locale.toString(date, QStringLiteral("ddd ")) + locale.toString(date, QLocale::ShortFormat) + u' '
        + line.mid(9);
}

} // namespace

QString CHistoryDialog::SubjectText(const QString& subject, const QString& name)
{
    if (subject == QLatin1String("configuration"))
        return tr("Configuration");
    if (subject == QLatin1String("engine"))
        return tr("Schedule");
    if (subject == QLatin1String("alarm server"))
        return ViaText(subject);
    return name.isEmpty() || name == subject ? subject : QStringLiteral("%1 (%2)").arg(name, subject);
}

QString CHistoryDialog::KindText(const QString& kind)
{
    static const QHash<QString, const char*> texts {
        { QStringLiteral("plan"), QT_TRANSLATE_NOOP("CHistoryDialog", "Plan") },
        { QStringLiteral("holder"), QT_TRANSLATE_NOOP("CHistoryDialog", "Holder of a group") },
        { QStringLiteral("activation"), QT_TRANSLATE_NOOP("CHistoryDialog", "Activation") },
        { QStringLiteral("settings"), QT_TRANSLATE_NOOP("CHistoryDialog", "Settings") },
        { QStringLiteral("protection"), QT_TRANSLATE_NOOP("CHistoryDialog", "Password protection") },
        { QStringLiteral("takeover texts"), QT_TRANSLATE_NOOP("CHistoryDialog", "Takeover messages") },
        { QStringLiteral("shifts"), QT_TRANSLATE_NOOP("CHistoryDialog", "Shifts") },
        { QStringLiteral("barriers"), QT_TRANSLATE_NOOP("CHistoryDialog", "Barriers/Pauses") },
        { QStringLiteral("holidays"), QT_TRANSLATE_NOOP("CHistoryDialog", "Holidays") },
        { QStringLiteral("targets"), QT_TRANSLATE_NOOP("CHistoryDialog", "Target list") },
        { QStringLiteral("journal"), QT_TRANSLATE_NOOP("CHistoryDialog", "Journal") },
        { QStringLiteral("notice"), QT_TRANSLATE_NOOP("CHistoryDialog", "Duty notice") },
    };
    const auto text = texts.constFind(kind);
    return text == texts.cend() ? kind : tr(*text);
}

QString CHistoryDialog::ViaText(const QString& via)
{
    static const QHash<QString, const char*> texts {
        { QStringLiteral("window"), QT_TRANSLATE_NOOP("CHistoryDialog", "Window") },
        { QStringLiteral("windowless"), QT_TRANSLATE_NOOP("CHistoryDialog", "Windowless program") },
        { QStringLiteral("outside"), QT_TRANSLATE_NOOP("CHistoryDialog", "Outside Kelvaris") },
        { QStringLiteral("takeover"), QT_TRANSLATE_NOOP("CHistoryDialog", "Takeover of duty") },
        { QStringLiteral("alarm server"), QT_TRANSLATE_NOOP("CHistoryDialog", "Alarm server") },
    };
    const auto text = texts.constFind(via);
    return text == texts.cend() ? via : tr(*text);
}

CHistoryDialog::CHistoryDialog(QString journalPath, QWidget* parent)
    : QDialog(parent)
    , m_path(std::move(journalPath))
{
    setObjectName(QStringLiteral("HistoryDialog"));
    m_sinceLabel = new QLabel(this);
    m_since = new QDateEdit(CDateTime::GetCurrentTime().ToQDate().addDays(-30), this);
    m_since->setCalendarPopup(true);
    // Room for every digit of the locale's date (the spin box's own hint is a pixel short).
    m_since->setMinimumWidth(m_since->sizeHint().width() + m_since->fontMetrics().horizontalAdvance(u'0'));
    m_since->setObjectName(QStringLiteral("since"));
    m_sinceLabel->setBuddy(m_since);
    m_kindLabel = new QLabel(this);
    m_kind = new QComboBox(this);
    m_kind->setObjectName(QStringLiteral("kind"));
    m_kind->addItem(QString());
    for (const char* kind : kKinds)
        m_kind->addItem(QString(), QString::fromLatin1(kind));
    m_kindLabel->setBuddy(m_kind);
    m_targetLabel = new QLabel(this);
    m_target = new QComboBox(this);
    m_target->setObjectName(QStringLiteral("target"));
    m_target->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_targetLabel->setBuddy(m_target);

    auto* filters = new QHBoxLayout;
    filters->addWidget(m_sinceLabel);
    filters->addWidget(m_since);
    filters->addSpacing(12);
    filters->addWidget(m_kindLabel);
    filters->addWidget(m_kind);
    filters->addSpacing(12);
    filters->addWidget(m_targetLabel);
    filters->addWidget(m_target);
    filters->addStretch(1);

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("entries"));
    m_list->setColumnCount(kColumns);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->header()->setStretchLastSection(false);
    m_list->setMinimumSize(880, 320);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    m_show = buttons->addButton(QString(), QDialogButtonBox::ActionRole);
    m_show->setObjectName(QStringLiteral("show"));
    m_show->setEnabled(false);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_status);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_show, &QPushButton::clicked, this, &CHistoryDialog::ShowCurrent);
    connect(m_list, &QTreeWidget::itemActivated, this, &CHistoryDialog::ShowCurrent);
    connect(m_list, &QTreeWidget::currentItemChanged, this,
        [this](QTreeWidgetItem* item) { m_show->setEnabled(item != nullptr); });
    connect(m_since, &QDateEdit::dateChanged, this, &CHistoryDialog::Reload);
    connect(m_kind, &QComboBox::currentIndexChanged, this, &CHistoryDialog::ApplyFilter);
    connect(m_target, &QComboBox::currentIndexChanged, this, &CHistoryDialog::ApplyFilter);

    Retranslate();
    Reload();
}

void CHistoryDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        Retranslate();
    QDialog::changeEvent(event);
}

void CHistoryDialog::Retranslate()
{
    setWindowTitle(tr("History"));
    m_sinceLabel->setText(tr("&Since:"));
    m_since->setToolTip(tr("Show the changes from this day on"));
    m_kindLabel->setText(tr("&Kind:"));
    m_kind->setToolTip(tr("Show only changes of this kind"));
    m_kind->setItemText(0, tr("All kinds"));
    for (int i = 1; i < m_kind->count(); ++i)
        m_kind->setItemText(i, KindText(m_kind->itemData(i).toString()));
    m_targetLabel->setText(tr("&Target:"));
    m_target->setToolTip(tr("Show only changes of this target"));
    if (m_target->count() > 0)
        m_target->setItemText(0, tr("All targets"));
    m_list->setHeaderLabels({ tr("Time"), tr("User"), tr("Through"), tr("What"), tr("Target"), tr("Why") });
    m_list->setToolTip(tr("Open an entry to see its content before and after the change"));
    m_list->setAccessibleName(tr("Changes"));
    m_show->setText(tr("&Before and after..."));
    if (!m_entries.isEmpty())
        ApplyFilter();
}

void CHistoryDialog::Reload()
{
    m_entries.clear();
    m_names.clear();
    QString problem;
    if (!QFileInfo::exists(m_path)) {
        problem = tr("No edit journal is kept in this data folder yet.");
    } else {
        CJournal journal(m_path);
        CJournal::CFilter filter;
        filter.sinceMs = m_since->date().startOfDay(SiteClockZone()).toMSecsSinceEpoch();
        filter.limit = kMaxEntries;
        std::optional<QList<CJournalEntry>> entries;
        if (journal.Open(false))
            entries = journal.Entries(filter);
        if (!entries)
            problem = tr("The edit journal cannot be read: %1").arg(journal.Error());
        else
            m_entries = std::move(*entries);
    }
    // The targets to choose from, named as their plans name them.
    const QString chosen = m_target->currentData().toString();
    QStringList subjects;
    for (const CJournalEntry& entry : std::as_const(m_entries)) {
        if (entry.subject == QLatin1String("configuration") || entry.subject == QLatin1String("engine")
            || entry.subject == QLatin1String("alarm server"))
            continue;
        if (!subjects.contains(entry.subject))
            subjects << entry.subject;
        if (entry.kind == QLatin1String("plan") && !m_names.contains(entry.subject)) {
            for (const QString& line : entry.after.split(u'\n', Qt::SkipEmptyParts)) {
                if (line.startsWith(QLatin1String("Name=")))
                    m_names.insert(entry.subject, line.mid(5));
            }
        }
    }
    subjects.sort();
    {
        const QSignalBlocker quiet(m_target);
        m_target->clear();
        m_target->addItem(tr("All targets"));
        for (const QString& subject : std::as_const(subjects)) {
            const QString name = m_names.value(subject);
            m_target->addItem(SubjectText(subject, name), subject);
        }
        m_target->setCurrentIndex(std::max(0, m_target->findData(chosen)));
    }
    m_status->setProperty("problem", problem);
    ApplyFilter();
}

void CHistoryDialog::ApplyFilter()
{
    const QString kind = m_kind->currentData().toString();
    const QString subject = m_target->currentData().toString();
    m_list->clear();
    QList<QTreeWidgetItem*> items;
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        const CJournalEntry& entry = m_entries.at(i);
        if ((!kind.isEmpty() && entry.kind != kind) || (!subject.isEmpty() && entry.subject != subject))
            continue;
        const QString name = m_names.value(entry.subject);
        auto* item = new QTreeWidgetItem;
        item->setText(kTime, TimeText(entry.atMs));
        item->setText(kUser, entry.user);
        item->setText(kVia, ViaText(entry.via));
        item->setText(kKind, KindText(entry.kind));
        item->setText(kTarget, SubjectText(entry.subject, name));
        item->setText(kWhy, entry.why);
        item->setToolTip(kWhy, entry.why);
        item->setData(kTime, Qt::UserRole, qlonglong(i));
        items.append(item);
    }
    m_list->addTopLevelItems(items);
    // Every column as wide as its texts; a long reason scrolls rather than being cut.
    for (int column = 0; column < kColumns; ++column)
        m_list->resizeColumnToContents(column);
    const QString problem = m_status->property("problem").toString();
    if (!problem.isEmpty())
        m_status->setText(problem);
    else if (m_entries.size() >= kMaxEntries)
        m_status->setText(tr("The newest %1 changes since that day are listed.").arg(kMaxEntries));
    else
        m_status->setText(tr("%n change(s) listed.", nullptr, int(items.size())));
    if (!items.isEmpty())
        m_list->setCurrentItem(items.first());
    m_show->setEnabled(!items.isEmpty());
}

int CHistoryDialog::VisibleRowCount() const
{
    return m_list->topLevelItemCount();
}

void CHistoryDialog::ShowCurrent()
{
    const QTreeWidgetItem* item = m_list->currentItem();
    if (!item)
        return;
    const qsizetype index = item->data(kTime, Qt::UserRole).toLongLong();
    if (index < 0 || index >= m_entries.size())
        return;
    const CJournalEntry& entry = m_entries.at(index);
    CHistoryEntryDialog view(entry, SubjectText(entry.subject, m_names.value(entry.subject)), this);
    view.exec();
}

CHistoryEntryDialog::CHistoryEntryDialog(
    const CJournalEntry& entry, const QString& targetText, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("HistoryEntryDialog"));
    setWindowTitle(tr("Change %1").arg(entry.seq));
    auto* facts = new QFormLayout;
    const auto fact = [this, facts](const QString& label, const QString& text) {
        auto* value = new QLabel(text, this);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        value->setWordWrap(true);
        facts->addRow(label, value);
    };
    fact(tr("Time:"), TimeText(entry.atMs));
    fact(tr("User:"), entry.uid >= 0 ? QStringLiteral("%1 (%2)").arg(entry.user).arg(entry.uid) : entry.user);
    fact(tr("Through:"), CHistoryDialog::ViaText(entry.via));
    if (!entry.rights.isEmpty())
        fact(tr("Password typed for:"), entry.rights);
    fact(tr("What:"), CHistoryDialog::KindText(entry.kind));
    fact(tr("Target:"), targetText);
    fact(tr("Why:"), entry.why);

    const bool lines = entry.form == QLatin1String("lines");
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    auto* contents = new QHBoxLayout;
    for (const auto& [title, text] : { std::pair { lines ? tr("Lines removed") : tr("Before"), entry.before },
             std::pair { lines ? tr("Lines added") : tr("After"), entry.after } }) {
        auto* group = new QGroupBox(title, this);
        QStringList shown = text.split(u'\n');
        if (entry.kind == QLatin1String("plan"))
            std::transform(shown.begin(), shown.end(), shown.begin(), ReadableLine);
        auto* view = new QPlainTextEdit(shown.join(u'\n'), group);
        view->setReadOnly(true);
        view->setFont(fixed);
        view->setLineWrapMode(QPlainTextEdit::NoWrap);
        view->setMinimumSize(300, 240);
        view->setAccessibleName(title);
        auto* box = new QVBoxLayout(group);
        box->addWidget(view);
        contents->addWidget(group);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(facts);
    layout->addLayout(contents, 1);
    layout->addWidget(buttons);
}
