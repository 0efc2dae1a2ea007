#include "engine/JournalKeeper.h"

#include <algorithm>
#include <pwd.h>
#include <tuple>
#include <unistd.h>

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QStringList>
#include <QTimeZone>

#include "engine/Password.h"
#include "schedule/PageTarget.h"
#include "schedule/Profile.h"
#include "support/Trace.h"

namespace {
QString IsoUtc(qint64 ms)
{
    return QDateTime::fromMSecsSinceEpoch(ms, QTimeZone::utc()).toString(Qt::ISODate);
}
// The journal's kind of a configuration section, or empty for one that is not the schedule's
// (window places and the like).
QString ConfigKind(const QString& section)
{
    if (section.compare(QLatin1String("Settings"), Qt::CaseInsensitive) == 0
        || section.compare(QLatin1String("WorkDays"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("settings");
    for (const auto& [prefix, kind] : { std::pair { "Shift", "shifts" }, std::pair { "Barrage", "barriers" },
             std::pair { "Holiday", "holidays" } }) {
        if (section.startsWith(QLatin1String(prefix), Qt::CaseInsensitive))
            return QString::fromLatin1(kind);
    }
    return QString();
}

} // namespace

CJournalKeeper::CJournalKeeper(QString via)
    : m_via(std::move(via))
    , m_user(UserName(qint64(::getuid())))
    , m_uid(qint64(::getuid()))
{ }

QString CJournalKeeper::UserName(qint64 uid)
{
    // getpwuid_r: the socket's peers are named on the engine's thread while others may ask too.
    passwd account {};
    passwd* found = nullptr;
    char buffer[4096];
    if (::getpwuid_r(uid_t(uid), &account, buffer, sizeof buffer, &found) == 0 && found)
        return QString::fromLocal8Bit(found->pw_name);
    return QString::number(uid);
}

CJournalKeeper::~CJournalKeeper() = default;

void CJournalKeeper::SetFolder(const QString& folder)
{
    if (folder == m_folder)
        return;
    m_folder = folder;
    m_journal.reset();
    m_last.clear();
    m_planMemo.clear();
}

bool CJournalKeeper::EnsureOpen()
{
    if (m_folder.isEmpty())
        return false;
    if (m_journal && m_journal->IsOpen())
        return true;
    m_journal = std::make_unique<CJournal>(CJournal::PathIn(m_folder));
    m_journal->SetBusyTimeout(kBusyMs);
    if (m_journal->Open(true))
        return true;
    if (!m_journal->IsDamaged())
        return false;
    return MoveAside();
}

bool CJournalKeeper::MoveAside()
{
    // Kept for whoever wants to look into it, with its head; the journal starts again, and its
    // first entry names the one it continues.
    const QString path = m_journal->Path();
    const std::optional<CJournal::CHead> head = m_journal->ReadHead();
    const QString headPath = m_journal->HeadPath();
    QString aside = path + QStringLiteral(".damaged-")
        + QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    for (int more = 2; QFile::exists(aside) || QFile::exists(aside + QStringLiteral(".head")); ++more)
        aside = aside.section(u'~', 0, 0) + u'~' + QString::number(more);
    qCWarning(lcEngine).noquote() << QStringLiteral(
        "journal: %1 cannot be read (%2); it is moved to %3 and a new journal is started")
                                         .arg(path, m_journal->Error(), aside);
    m_journal.reset();
    if (!QFile::rename(path, aside))
        return false;
    QFile::remove(path + QStringLiteral("-wal"));
    QFile::remove(path + QStringLiteral("-shm"));
    QFile::rename(headPath, aside + QStringLiteral(".head"));
    m_journal = std::make_unique<CJournal>(path);
    m_journal->SetBusyTimeout(kBusyMs);
    CJournalEntry predecessor;
    predecessor.atMs = m_clock ? m_clock() : QDateTime::currentMSecsSinceEpoch();
    predecessor.user = m_user;
    predecessor.uid = m_uid;
    predecessor.via = m_via;
    predecessor.kind = QStringLiteral("journal");
    predecessor.subject = QStringLiteral("predecessor");
    predecessor.after
        = QStringLiteral("%1 (head %2)").arg(aside, head ? head->Text() : QStringLiteral("unknown"));
    predecessor.why = QStringLiteral("the journal before could not be read");
    m_pending.prepend(predecessor);
    m_last.clear();
    return m_journal->Open(true);
}

QString CJournalKeeper::PlanText(const CPageTarget& target)
{
    QStringList lines;
    lines.reserve(target.m_ranges.size() + 2);
    lines << QStringLiteral("Name=") + target.m_name;
    if (target.IsGroup())
        lines << (target.m_takeover ? QStringLiteral("Takeover=1") : QStringLiteral("Takeover=0"));
    for (const CDispatchRange& range : target.m_ranges)
        lines << range.ToText();
    // In the journal's order (YYYYMMDD=HH:MM-... sorts by date and time as text).
    return CJournal::Ordered(lines).join(u'\n');
}

void CJournalKeeper::RecordPlan(const CPageTarget& target, const QString& why, const QString& rights)
{
    if (m_folder.isEmpty() || !CPageTarget::IsSafeFileId(target.m_id))
        return;
    m_planMemo.insert(target.m_id, target.m_fileTimeMemo);
    Record({ QStringLiteral("plan"), target.m_id, PlanText(target), why, QString(), rights, false });
}

void CJournalKeeper::RecordConfig(const QString& path, const QString& why, bool read, const QString& rights)
{
    CProfile profile(path);
    QStringList sections;
    profile.GetSectionNames(sections);
    QMap<QString, QString> texts;
    for (const QString& section : std::as_const(sections)) {
        const QString kind = ConfigKind(section);
        if (kind.isEmpty())
            continue;
        QString& text = texts[kind];
        text += u'[' + section + QStringLiteral("]\n");
        for (QString line : profile.SectionText(section).split(u'\n', Qt::SkipEmptyParts)) {
            if (line.endsWith(u'\r'))
                line.chop(1);
            const QString key = line.section(u'=', 0, 0).trimmed();
            if (kind == QLatin1String("settings")
                && key.compare(QLatin1String("Password"), Qt::CaseInsensitive) == 0) {
                // The rights it protects, never the password.
                CPassword password;
                texts[QStringLiteral("protection")] = password.Decode(line.section(u'=', 1).trimmed())
                    ? QStringLiteral("rights protected: 0x%1\npassword: %2")
                          .arg(password.Flags(), 8, 16, QLatin1Char('0'))
                          .arg(password.Password().isEmpty() ? QStringLiteral("none") : QStringLiteral("set"))
                    : QStringLiteral("unreadable");
            } else if (kind == QLatin1String("settings")
                && key.startsWith(QLatin1String("Takeover"), Qt::CaseInsensitive)) {
                texts[QStringLiteral("takeover texts")] += line + u'\n';
            } else {
                text += line + u'\n';
            }
        }
    }
    const QString outside = read ? OutsideWhy(path) : why;
    for (const char* kind :
        { "settings", "protection", "takeover texts", "shifts", "barriers", "holidays" }) {
        const QString name = QString::fromLatin1(kind);
        Record({ name, QStringLiteral("configuration"), texts.value(name).trimmed(), outside,
            read ? QStringLiteral("outside") : QString(), rights, read });
    }
}

QString CJournalKeeper::OutsideWhy(const QString& path)
{
    const QFileInfo file(path);
    return file.exists() ? QStringLiteral("changed outside Kelvaris (the file of %1, modified %2)")
                               .arg(file.owner(), IsoUtc(file.lastModified().toMSecsSinceEpoch()))
                         : QStringLiteral("changed outside Kelvaris (the file is gone)");
}

void CJournalKeeper::RecordPlanRead(const CPageTarget& target)
{
    if (m_folder.isEmpty() || !CPageTarget::IsSafeFileId(target.m_id))
        return;
    const auto memo = m_planMemo.constFind(target.m_id);
    if (memo != m_planMemo.cend() && *memo == target.m_fileTimeMemo && target.m_fileTimeMemo > 0)
        return;
    m_planMemo.insert(target.m_id, target.m_fileTimeMemo);
    const QString why = OutsideWhy(target.DispatchFilePath(m_folder));
    Record({ QStringLiteral("plan"), target.m_id, PlanText(target), why, QStringLiteral("outside"), QString(),
        true });
}

void CJournalKeeper::Record(const CChange& change)
{
    if (m_folder.isEmpty())
        return;
    const QString key = change.kind + u'\t' + change.subject;
    auto known = m_last.constFind(key);
    std::optional<QString> before;
    // Content read from a file is compared with the journal itself: another program (kelvarisctl,
    // a second Kelvaris on the same data) may have journaled the change that made it.
    if (known != m_last.cend() && !(change.found && EnsureOpen() && m_pending.isEmpty())) {
        before = *known;
    } else if (EnsureOpen() && m_pending.isEmpty()) {
        bool readable = false;
        before = m_journal->LastAfter(change.kind, change.subject, &readable);
    }
    if (before && *before == change.after)
        return;
    m_last.insert(key, change.after);

    CJournalEntry entry;
    entry.atMs = m_clock ? m_clock() : QDateTime::currentMSecsSinceEpoch();
    entry.user = change.uid >= 0 ? UserName(change.uid) : m_user;
    entry.uid = change.uid >= 0 ? change.uid : m_uid;
    entry.via = change.via.isEmpty() ? m_via : change.via;
    entry.rights = change.rights;
    entry.kind = change.kind;
    entry.subject = change.subject;
    entry.before = before.value_or(QString());
    entry.after = change.after;
    // A plan holds a line per range, a year of them perhaps: a change keeps only the lines it
    // removed and added.
    if (before && change.kind == QLatin1String("plan")) {
        std::tie(entry.before, entry.after) = CJournal::LineChanges(*before, change.after);
        entry.form = QStringLiteral("lines");
    }
    entry.why = change.found && !before ? QStringLiteral("as found when the journal began") : change.why;
    if (m_pending.size() >= kMaxPending) {
        m_pending.removeFirst();
        ++m_dropped;
    }
    m_pending.append(std::move(entry));
    WritePending();
}

void CJournalKeeper::PruneIfDue(int days)
{
    constexpr qint64 kDayMs = 86'400'000;
    const qint64 now = m_clock ? m_clock() : QDateTime::currentMSecsSinceEpoch();
    if (days <= 0 || (m_lastPruneMs != 0 && now - m_lastPruneMs < kDayMs) || !m_pending.isEmpty()
        || !EnsureOpen())
        return;
    m_lastPruneMs = now;
    CJournalEntry keptAs;
    keptAs.user = m_user;
    keptAs.uid = m_uid;
    keptAs.via = QStringLiteral("journal");
    keptAs.why = QStringLiteral("kept when the entries older than %1 days were removed").arg(days);
    const int removed = m_journal->Prune(now - days * kDayMs, keptAs);
    if (removed < 0)
        qCWarning(lcEngine).noquote()
            << "journal: the old entries could not be removed:" << m_journal->Error();
    else if (removed > 0)
        qCInfo(lcEngine).noquote() << "journal:" << removed << "entries older than" << days << "days removed";
}

bool CJournalKeeper::Retry()
{
    return m_pending.isEmpty() || WritePending();
}

bool CJournalKeeper::WritePending()
{
    const bool wasFailing = m_failingSinceMs != 0;
    if (EnsureOpen()) {
        if (wasFailing) {
            // The time the journal was not written is itself a record.
            CJournalEntry gap;
            gap.atMs = QDateTime::currentMSecsSinceEpoch();
            gap.user = m_user;
            gap.uid = m_uid;
            gap.via = m_via;
            gap.kind = QStringLiteral("journal");
            gap.after
                = QStringLiteral("not written from %1 to %2").arg(IsoUtc(m_failingSinceMs), IsoUtc(gap.atMs));
            if (m_dropped > 0)
                gap.after += QStringLiteral("; %1 older changes were dropped").arg(m_dropped);
            gap.why = QStringLiteral("the journal could not be written");
            if (m_journal->Append(gap)) {
                qCWarning(lcEngine).noquote()
                    << "journal: written again after" << (gap.atMs - m_failingSinceMs) / 1000
                    << "s; the changes of that time are in it now";
                m_failingSinceMs = 0;
                m_dropped = 0;
            }
        }
        while (m_failingSinceMs == 0 && !m_pending.isEmpty()) {
            if (!m_journal->Append(m_pending.first())) {
                // Damaged while running: moved aside, and what waits goes into the new one.
                if (m_journal->IsDamaged() && MoveAside())
                    continue;
                break;
            }
            m_pending.removeFirst();
        }
        if (m_pending.isEmpty())
            return true;
    }
    if (m_failingSinceMs == 0) {
        m_failingSinceMs = m_pending.isEmpty() ? QDateTime::currentMSecsSinceEpoch() : m_pending.first().atMs;
        qCWarning(lcEngine).noquote() << QStringLiteral(
            "journal: %1 cannot be written (%2); the changes are kept and written when it can be again")
                                             .arg(CJournal::PathIn(m_folder),
                                                 m_journal ? m_journal->Error()
                                                           : QStringLiteral("no data folder"));
    }
    // Opened again at the next try: the file may have been replaced or repaired.
    m_journal.reset();
    return false;
}
