#include "journal/Journal.h"

#include <algorithm>
#include <sqlite3.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>

#include "journal/SqliteStatement.h"
#include "support/Trace.h"

namespace {

const char* const kSchema = "CREATE TABLE IF NOT EXISTS entries ("
                            " seq INTEGER PRIMARY KEY,"
                            " at_ms INTEGER NOT NULL,"
                            " user TEXT NOT NULL,"
                            " uid INTEGER NOT NULL,"
                            " via TEXT NOT NULL,"
                            " rights TEXT NOT NULL,"
                            " kind TEXT NOT NULL,"
                            " subject TEXT NOT NULL,"
                            " before TEXT NOT NULL,"
                            " after TEXT NOT NULL,"
                            " why TEXT NOT NULL,"
                            " hash TEXT NOT NULL,"
                            " form TEXT NOT NULL DEFAULT '');"
                            "CREATE TABLE IF NOT EXISTS anchor (seq INTEGER NOT NULL, hash TEXT NOT NULL);"
                            "CREATE INDEX IF NOT EXISTS entries_by_time ON entries (at_ms);"
                            "CREATE INDEX IF NOT EXISTS entries_by_subject ON entries (subject, seq);";

const char* const kColumns
    = "seq, at_ms, user, uid, via, rights, kind, subject, before, after, why, hash, form";

using CStatement = CSqliteStatement;

CJournalEntry EntryOf(const CStatement& row)
{
    CJournalEntry entry;
    entry.seq = row.Number(0);
    entry.atMs = row.Number(1);
    entry.user = row.Text(2);
    entry.uid = row.Number(3);
    entry.via = row.Text(4);
    entry.rights = row.Text(5);
    entry.kind = row.Text(6);
    entry.subject = row.Text(7);
    entry.before = row.Text(8);
    entry.after = row.Text(9);
    entry.why = row.Text(10);
    entry.hash = row.Text(11).toLatin1();
    entry.form = row.Text(12);
    return entry;
}

// Each field as its length, ":" and its UTF-8 bytes, so that no two entries read the same.
void AddField(QCryptographicHash& hash, const QByteArray& bytes)
{
    hash.addData(QByteArray::number(bytes.size()));
    hash.addData(QByteArrayView(":"));
    hash.addData(bytes);
}

} // namespace

QString CJournal::PathIn(const QString& folder)
{
    return QDir(folder).filePath(QString::fromLatin1(kFileName));
}

CJournal::CJournal(QString path)
    : m_path(std::move(path))
{ }

CJournal::~CJournal()
{
    sqlite3_close_v2(m_db);
}

bool CJournal::Fail(const QString& what)
{
    m_error = what + QStringLiteral(": ") + QString::fromUtf8(m_db ? sqlite3_errmsg(m_db) : "out of memory");
    return false;
}

bool CJournal::Open(bool create)
{
    if (m_db)
        return true;
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0) | SQLITE_OPEN_NOFOLLOW;
    if (sqlite3_open_v2(m_path.toUtf8().constData(), &m_db, flags, nullptr) != SQLITE_OK) {
        Fail(QStringLiteral("cannot open %1").arg(m_path));
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        return false;
    }
    sqlite3_busy_timeout(m_db, m_busyMs);
    // WAL: readers never wait for the writer; FULL: a committed entry survives a power cut.
    int code
        = sqlite3_exec(m_db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL;", nullptr, nullptr, nullptr);
    if (code == SQLITE_OK)
        code = sqlite3_exec(m_db, kSchema, nullptr, nullptr, nullptr);
    // The table must be ours: a reader of another database would find nothing or fail later.
    if (code == SQLITE_OK)
        code = sqlite3_exec(m_db,
            "SELECT seq, at_ms, user, uid, via, rights, kind, subject, before, after, why, hash, form"
            " FROM entries LIMIT 0",
            nullptr, nullptr, nullptr);
    m_damaged = code == SQLITE_NOTADB || code == SQLITE_CORRUPT || code == SQLITE_ERROR;
    if (code != SQLITE_OK) {
        Fail(QStringLiteral("%1 is not a journal Kelvaris can use").arg(m_path));
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        return false;
    }
    m_error.clear();
    return true;
}

QByteArray CJournal::HashOf(const CJournalEntry& entry, const QByteArray& previousHash)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    AddField(hash, previousHash);
    AddField(hash, QByteArray::number(entry.seq));
    AddField(hash, QByteArray::number(entry.atMs));
    AddField(hash, QByteArray::number(entry.uid));
    for (const QString* text : { &entry.user, &entry.via, &entry.rights, &entry.kind, &entry.subject,
             &entry.before, &entry.after, &entry.why, &entry.form })
        AddField(hash, text->toUtf8());
    return hash.result().toHex();
}

QStringList CJournal::Ordered(QStringList lines)
{
    const auto rank = [](const QString& line) {
        return line.startsWith(QLatin1String("Name="))    ? 0
            : line.startsWith(QLatin1String("Takeover=")) ? 1
                                                          : 2;
    };
    std::stable_sort(lines.begin(), lines.end(), [&rank](const QString& a, const QString& b) {
        const int ra = rank(a);
        const int rb = rank(b);
        return ra != rb ? ra < rb : (ra == 2 && a < b);
    });
    return lines;
}

QString CJournal::Apply(const QString& content, const CJournalEntry& entry)
{
    if (entry.form != QLatin1String("lines"))
        return entry.after;
    QStringList lines = content.split(u'\n', Qt::SkipEmptyParts);
    for (const QString& removed : entry.before.split(u'\n', Qt::SkipEmptyParts))
        lines.removeOne(removed);
    lines += entry.after.split(u'\n', Qt::SkipEmptyParts);
    return Ordered(lines).join(u'\n');
}

std::pair<QString, QString> CJournal::LineChanges(const QString& before, const QString& after)
{
    QStringList removed = before.split(u'\n', Qt::SkipEmptyParts);
    QStringList added;
    for (const QString& line : after.split(u'\n', Qt::SkipEmptyParts)) {
        if (!removed.removeOne(line))
            added << line;
    }
    return { removed.join(u'\n'), added.join(u'\n') };
}

bool CJournal::Insert(CJournalEntry& written)
{
    // The previous hash: the last entry's, or the anchor's where older entries were pruned.
    QByteArray previous;
    qint64 seq = 1;
    {
        CStatement anchor(m_db, "SELECT seq, hash FROM anchor LIMIT 1");
        if (anchor && sqlite3_step(anchor.get()) == SQLITE_ROW) {
            seq = anchor.Number(0) + 1;
            previous = anchor.Text(1).toLatin1();
        }
    }
    {
        CStatement last(m_db, "SELECT seq, hash FROM entries ORDER BY seq DESC LIMIT 1");
        if (!last)
            return false;
        const int step = sqlite3_step(last.get());
        if (step == SQLITE_ROW) {
            seq = last.Number(0) + 1;
            previous = last.Text(1).toLatin1();
        } else if (step != SQLITE_DONE) {
            return false;
        }
    }
    written.seq = seq;
    written.hash = HashOf(written, previous);
    {
        CStatement insert(m_db,
            "INSERT INTO entries (seq, at_ms, user, uid, via, rights, kind, subject, before, after, why, "
            "hash, form)"
            " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13)");
        if (!insert)
            return false;
        insert.Bind(1, written.seq);
        insert.Bind(2, written.atMs);
        insert.Bind(3, written.user);
        insert.Bind(4, written.uid);
        insert.Bind(5, written.via);
        insert.Bind(6, written.rights);
        insert.Bind(7, written.kind);
        insert.Bind(8, written.subject);
        insert.Bind(9, written.before);
        insert.Bind(10, written.after);
        insert.Bind(11, written.why);
        insert.Bind(12, QString::fromLatin1(written.hash));
        insert.Bind(13, written.form);
        if (sqlite3_step(insert.get()) != SQLITE_DONE)
            return false;
    }
    return true;
}

std::optional<CJournal::CHead> CJournal::CHead::FromText(const QString& text)
{
    const QString trimmed = text.trimmed();
    const qsizetype colon = trimmed.indexOf(u':');
    bool ok = false;
    CHead head;
    head.seq = trimmed.left(colon).toLongLong(&ok);
    head.hash = trimmed.mid(colon + 1).toLatin1();
    static const QRegularExpression hex(QStringLiteral("^[0-9a-f]{64}$"));
    if (colon <= 0 || !ok || head.seq <= 0 || !hex.match(QString::fromLatin1(head.hash)).hasMatch())
        return std::nullopt;
    return head;
}

QString CJournal::HeadPath() const
{
    const qsizetype slash = m_path.lastIndexOf(u'/');
    return (slash < 0 ? QString() : m_path.left(slash + 1)) + QString::fromLatin1(kHeadFileName);
}

std::optional<CJournal::CHead> CJournal::ReadHead() const
{
    QFile file(HeadPath());
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return CHead::FromText(QString::fromLatin1(file.read(256)));
}

void CJournal::NoteHead(const CJournalEntry& newest) const
{
    if (const std::optional<CHead> head = ReadHead(); head && head->seq >= newest.seq)
        return;
    QSaveFile file(HeadPath());
    const QByteArray text = CHead { newest.seq, newest.hash }.Text().toLatin1() + '\n';
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
        qCWarning(lcEngine).noquote()
            << QStringLiteral("journal: cannot write %1 (%2); a journal cut short is not seen until it is")
                   .arg(HeadPath(), file.errorString());
}

bool CJournal::Append(CJournalEntry& entry)
{
    if (!m_db)
        return Fail(QStringLiteral("the journal is not open"));
    // The write lock from the start, so no other program appends between the read and the insert.
    if (const int code = sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        code != SQLITE_OK) {
        m_damaged = m_damaged || code == SQLITE_CORRUPT || code == SQLITE_NOTADB;
        return Fail(QStringLiteral("cannot write to %1").arg(m_path));
    }
    const auto rollBack = [this](const QString& what) {
        Fail(what);
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        return false;
    };
    CJournalEntry written = entry;
    if (!Insert(written)) {
        // A broken page found by a write: the file is damaged, not merely busy.
        const int code = sqlite3_errcode(m_db);
        m_damaged = m_damaged || code == SQLITE_CORRUPT || code == SQLITE_NOTADB;
        return rollBack(QStringLiteral("cannot write to %1").arg(m_path));
    }
    if (sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
        return rollBack(QStringLiteral("cannot write to %1").arg(m_path));
    entry = written;
    NoteHead(written);
    return true;
}

std::optional<QList<CJournalEntry>> CJournal::Entries(const CFilter& filter)
{
    if (!m_db) {
        Fail(QStringLiteral("the journal is not open"));
        return std::nullopt;
    }
    const QByteArray sql = QByteArray("SELECT ") + kColumns
        + " FROM entries WHERE at_ms >= ?1 AND at_ms <= ?2 AND (?3 = '' OR subject = ?3)"
          " AND (?4 = '' OR kind = ?4) ORDER BY at_ms DESC, seq DESC LIMIT ?5";
    CStatement query(m_db, sql.constData());
    if (!query) {
        Fail(QStringLiteral("cannot read %1").arg(m_path));
        return std::nullopt;
    }
    query.Bind(1, filter.sinceMs);
    query.Bind(2, filter.untilMs);
    query.Bind(3, filter.subject);
    query.Bind(4, filter.kind);
    query.Bind(5, filter.limit > 0 ? qint64(filter.limit) : -1);
    QList<CJournalEntry> entries;
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(query.get())) == SQLITE_ROW)
        entries.append(EntryOf(query));
    if (step != SQLITE_DONE) {
        Fail(QStringLiteral("cannot read %1").arg(m_path));
        return std::nullopt;
    }
    return entries;
}

std::optional<QHash<QString, QString>> CJournal::Contents(
    qint64 atMs, const QString& kind, const QString& subject)
{
    if (!m_db)
        return std::nullopt;
    // In the order the changes took effect: a change written late (kept while the journal could not
    // be written) counts from its own time.
    CStatement query(m_db,
        "SELECT kind, subject, before, after, form FROM entries WHERE at_ms <= ?1 AND (?2 = '' OR kind = ?2)"
        " AND (?3 = '' OR subject = ?3) ORDER BY at_ms, seq");
    if (!query) {
        Fail(QStringLiteral("cannot read %1").arg(m_path));
        return std::nullopt;
    }
    query.Bind(1, atMs);
    query.Bind(2, kind);
    query.Bind(3, subject);
    QHash<QString, QString> contents;
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(query.get())) == SQLITE_ROW) {
        CJournalEntry entry;
        entry.before = query.Text(2);
        entry.after = query.Text(3);
        entry.form = query.Text(4);
        QString& content = contents[query.Text(0) + u'\t' + query.Text(1)];
        content = Apply(content, entry);
    }
    if (step != SQLITE_DONE) {
        Fail(QStringLiteral("cannot read %1").arg(m_path));
        return std::nullopt;
    }
    return contents;
}

std::optional<QString> CJournal::LastAfter(const QString& kind, const QString& subject, bool* readable)
{
    const std::optional<QHash<QString, QString>> contents
        = Contents(std::numeric_limits<qint64>::max(), kind, subject);
    if (readable)
        *readable = contents.has_value();
    if (!contents || contents->isEmpty())
        return std::nullopt;
    return contents->value(kind + u'\t' + subject);
}

std::optional<QHash<QString, QString>> CJournal::StateAt(qint64 atMs)
{
    return Contents(atMs, QString(), QString());
}

int CJournal::Prune(qint64 cutMs, const CJournalEntry& keptAs)
{
    if (!m_db) {
        Fail(QStringLiteral("the journal is not open"));
        return -1;
    }
    if (sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK) {
        Fail(QStringLiteral("cannot write to %1").arg(m_path));
        return -1;
    }
    const auto rollBack = [this] {
        Fail(QStringLiteral("cannot prune %1").arg(m_path));
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        return -1;
    };
    // The entries before the first one at or after the cut go.
    qint64 last = 0;
    QByteArray lastHash;
    {
        CStatement bound(m_db,
            "SELECT seq, hash FROM entries WHERE seq < coalesce((SELECT min(seq) FROM entries WHERE at_ms >= "
            "?1),"
            " (SELECT max(seq) + 1 FROM entries)) ORDER BY seq DESC LIMIT 1");
        if (!bound)
            return rollBack();
        bound.Bind(1, cutMs);
        const int step = sqlite3_step(bound.get());
        if (step == SQLITE_DONE) {
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
            return 0;
        }
        if (step != SQLITE_ROW)
            return rollBack();
        last = bound.Number(0);
        lastHash = bound.Text(1).toLatin1();
    }
    // What each subject said at the cut is kept, as a new entry with the time of that change.
    QList<CJournalEntry> kept;
    {
        CStatement state(m_db,
            "SELECT kind, subject, before, after, form, at_ms FROM entries WHERE seq <= ?1 ORDER BY at_ms, "
            "seq");
        if (!state)
            return rollBack();
        state.Bind(1, last);
        QHash<QString, qsizetype> bySubject;
        int step = SQLITE_ROW;
        while ((step = sqlite3_step(state.get())) == SQLITE_ROW) {
            CJournalEntry change;
            change.before = state.Text(2);
            change.after = state.Text(3);
            change.form = state.Text(4);
            CJournalEntry entry = keptAs;
            entry.kind = state.Text(0);
            entry.subject = state.Text(1);
            entry.atMs = state.Number(5);
            const QString key = entry.kind + u'\t' + entry.subject;
            if (const auto known = bySubject.constFind(key); known != bySubject.cend()) {
                entry.after = Apply(kept[*known].after, change);
                kept[*known] = std::move(entry);
            } else {
                entry.after = Apply(QString(), change);
                bySubject.insert(key, kept.size());
                kept.append(std::move(entry));
            }
        }
        if (step != SQLITE_DONE)
            return rollBack();
    }
    qint64 removed = 0;
    {
        CStatement remove(m_db, "DELETE FROM entries WHERE seq <= ?1");
        CStatement clear(m_db, "DELETE FROM anchor");
        CStatement anchor(m_db, "INSERT INTO anchor (seq, hash) VALUES (?1, ?2)");
        if (!remove || !clear || !anchor)
            return rollBack();
        remove.Bind(1, last);
        if (sqlite3_step(remove.get()) != SQLITE_DONE)
            return rollBack();
        removed = sqlite3_changes(m_db);
        anchor.Bind(1, last);
        anchor.Bind(2, QString::fromLatin1(lastHash));
        if (sqlite3_step(clear.get()) != SQLITE_DONE || sqlite3_step(anchor.get()) != SQLITE_DONE)
            return rollBack();
    }
    for (CJournalEntry& entry : kept) {
        if (!Insert(entry))
            return rollBack();
    }
    if (sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
        return rollBack();
    if (!kept.isEmpty())
        NoteHead(kept.last());
    return int(removed);
}

std::optional<qint64> CJournal::FirstTime()
{
    if (!m_db)
        return std::nullopt;
    CStatement query(m_db, "SELECT at_ms FROM entries ORDER BY seq LIMIT 1");
    if (!query || sqlite3_step(query.get()) != SQLITE_ROW)
        return std::nullopt;
    return query.Number(0);
}

CJournal::CVerification CJournal::Verify(const QList<CHead>& expected)
{
    CVerification result;
    if (!m_db) {
        result.reason = QStringLiteral("the journal is not open");
        return result;
    }
    {
        // The file as SQLite sees it: a broken page is damage even where the rows still read.
        CStatement integrity(m_db, "PRAGMA integrity_check");
        if (!integrity || sqlite3_step(integrity.get()) != SQLITE_ROW) {
            Fail(QStringLiteral("cannot read %1").arg(m_path));
            result.reason = m_error;
            return result;
        }
        if (const QString verdict = integrity.Text(0); verdict != QLatin1String("ok")) {
            result.readable = true;
            result.firstBad = -1;
            result.reason = QStringLiteral("SQLite finds the file damaged: %1").arg(verdict.left(200));
            return result;
        }
    }
    const QByteArray sql = QByteArray("SELECT ") + kColumns + " FROM entries ORDER BY seq";
    CStatement query(m_db, sql.constData());
    if (!query) {
        Fail(QStringLiteral("cannot read %1").arg(m_path));
        result.reason = m_error;
        return result;
    }
    QByteArray previous;
    qint64 expectedSeq = 1;
    {
        CStatement anchor(m_db, "SELECT seq, hash FROM anchor LIMIT 1");
        if (anchor && sqlite3_step(anchor.get()) == SQLITE_ROW) {
            expectedSeq = anchor.Number(0) + 1;
            previous = anchor.Text(1).toLatin1();
        }
    }
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(query.get())) == SQLITE_ROW) {
        const CJournalEntry entry = EntryOf(query);
        ++result.count;
        if (result.firstBad == 0) {
            if (entry.seq != expectedSeq) {
                result.firstBad = expectedSeq;
                result.reason = expectedSeq == entry.seq - 1
                    ? QStringLiteral("the entry %1 is missing").arg(expectedSeq)
                    : QStringLiteral("the entries %1 to %2 are missing").arg(expectedSeq).arg(entry.seq - 1);
            } else if (HashOf(entry, previous) != entry.hash) {
                result.firstBad = entry.seq;
                result.reason = QStringLiteral("its content does not fit its hash");
            }
        }
        for (const CHead& head : expected) {
            if (result.firstBad == 0 && head.seq == entry.seq && head.hash != entry.hash) {
                result.firstBad = entry.seq;
                result.reason = QStringLiteral("it is not the entry the head %1 names").arg(head.Text());
            }
        }
        previous = entry.hash;
        expectedSeq = entry.seq + 1;
        result.last = CHead { entry.seq, entry.hash };
    }
    if (step != SQLITE_DONE) {
        Fail(QStringLiteral("cannot read %1").arg(m_path));
        result.reason = m_error;
        return result;
    }
    result.readable = true;
    // A head beyond the newest entry: the entries from there on are gone.
    for (const CHead& head : expected) {
        if (result.firstBad == 0 && head.seq >= expectedSeq) {
            result.firstBad = expectedSeq;
            result.reason = expectedSeq == head.seq
                ? QStringLiteral("the entry %1 is missing (the head %2 names it)")
                      .arg(head.seq)
                      .arg(head.Text())
                : QStringLiteral("the entries %1 to %2 are missing (the head %3 names the last)")
                      .arg(expectedSeq)
                      .arg(head.seq)
                      .arg(head.Text());
        }
    }
    return result;
}
