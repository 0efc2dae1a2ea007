#include "journal/AnswerJournal.h"

#include <chrono>
#include <sqlite3.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QDateTime>

#include "journal/SqliteStatement.h"
#include "support/Trace.h"

namespace {

const char* const kAnswerSchema = "CREATE TABLE IF NOT EXISTS answer_names ("
                                  " id INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE);"
                                  "CREATE TABLE IF NOT EXISTS answers ("
                                  " key INTEGER PRIMARY KEY, uid INTEGER, receiver INTEGER, grp INTEGER,"
                                  " result INTEGER, revision INTEGER);";
constexpr qint64 kDayMs = 86'400'000;
// Old answers are removed in steps of this many, each its own transaction, so that the edit
// journal's writers never wait long for the database.
constexpr int kPruneStep = 20000;
constexpr int kWriterNice = 10;

using CStatement = CSqliteStatement;

QString ErrorOf(sqlite3* db)
{
    return QString::fromUtf8(db ? sqlite3_errmsg(db) : "out of memory");
}

} // namespace

CAnswerJournal::CAnswerJournal(QString path, int keepDays)
    : m_path(std::move(path))
    , m_keepDays(keepDays)
{
    m_queue.reserve(1024);
    m_thread = std::thread([this] { Run(); });
}

CAnswerJournal::~CAnswerJournal()
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_thread.join();
    CloseDatabase();
}

void CAnswerJournal::SetKeepDays(int days)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_keepDays = days;
}

void CAnswerJournal::Add(CAnswerRecord record)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (qsizetype(m_queue.size()) >= kMaxQueued) {
        ++m_dropped;
        return;
    }
    m_queue.push_back(std::move(record));
}

void CAnswerJournal::Flush()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    // A round under way may have taken its batch before the last answer came: the one after it
    // takes everything queued now.
    const qint64 round = m_rounds;
    ++m_flushWaiters;
    m_wake.notify_all();
    m_written.wait(lock, [this, round] { return m_rounds >= round + 2 || m_stopped; });
    --m_flushWaiters;
}

qint64 CAnswerJournal::Dropped() const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_dropped;
}

void CAnswerJournal::Run()
{
    // Below the socket's thread and the engine's: on a busy machine the writer takes the time
    // they leave (a tenth of a core at least, far more than it needs).
    if (::setpriority(PRIO_PROCESS, id_t(::gettid()), kWriterNice) != 0)
        KTRACE(lcEngine) << "answer journal: the writer's priority was not lowered";
    std::vector<CAnswerRecord> batch;
    batch.reserve(1024);
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        // A failing journal is tried again each second, not every batch.
        const auto pause = std::chrono::milliseconds(m_failing ? 1000 : kBatchMs);
        m_wake.wait_for(lock, pause, [this] { return m_stop || m_flushWaiters > 0; });
        const bool stop = m_stop;
        batch.swap(m_queue);
        const int keepDays = m_keepDays;
        const qint64 dropped = m_dropped;
        lock.unlock();

        if (!batch.empty()) {
            if (Write(batch)) {
                batch.clear();
            } else if (!stop) {
                // Kept for the next round, before what came meanwhile.
                lock.lock();
                const qsizetype room = kMaxQueued - qsizetype(batch.size());
                if (room < qsizetype(m_queue.size())) {
                    m_dropped += qsizetype(m_queue.size()) - std::max<qsizetype>(room, 0);
                    m_queue.resize(size_t(std::max<qsizetype>(room, 0)));
                }
                batch.insert(batch.end(), std::make_move_iterator(m_queue.begin()),
                    std::make_move_iterator(m_queue.end()));
                m_queue.swap(batch);
                batch.clear();
                lock.unlock();
            }
        }
        if (!m_failing && dropped > m_droppedWarned) {
            qCWarning(lcEngine).noquote()
                << QStringLiteral("The answer journal %1 lost %2 answers while it could not be written")
                       .arg(m_path)
                       .arg(dropped - m_droppedWarned);
            m_droppedWarned = dropped;
        }
        if (!m_failing) {
            m_keepDaysSeen = keepDays;
            PruneIfDue(QDateTime::currentMSecsSinceEpoch());
        }

        lock.lock();
        ++m_rounds;
        m_written.notify_all();
        if (stop) {
            m_stopped = true;
            m_written.notify_all();
            return;
        }
    }
}

bool CAnswerJournal::OpenDatabase()
{
    if (m_db)
        return true;
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOFOLLOW;
    int code = sqlite3_open_v2(m_path.toUtf8().constData(), &m_db, flags, nullptr);
    if (code == SQLITE_OK) {
        // The edit journal's writers wait at most a tenth of a second; this thread may wait longer.
        sqlite3_busy_timeout(m_db, 2000);
        // NORMAL: an answer survives the program's death; a power cut may take the last ones.
        code = sqlite3_exec(
            m_db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;", nullptr, nullptr, nullptr);
    }
    if (code == SQLITE_OK)
        code = sqlite3_exec(m_db, kAnswerSchema, nullptr, nullptr, nullptr);
    if (code == SQLITE_OK) {
        CStatement last(m_db, "SELECT max(key) FROM answers");
        code = last && sqlite3_step(last.get()) == SQLITE_ROW ? SQLITE_OK : SQLITE_ERROR;
        if (code == SQLITE_OK)
            m_lastKey = sqlite3_column_int64(last.get(), 0);
    }
    if (code != SQLITE_OK) {
        m_problem = ErrorOf(m_db);
        CloseDatabase();
        return false;
    }
    return true;
}

void CAnswerJournal::CloseDatabase()
{
    sqlite3_close_v2(m_db);
    m_db = nullptr;
    m_nameIds.clear();
}

qint64 CAnswerJournal::NameId(const QString& name)
{
    if (const auto known = m_nameIds.constFind(name); known != m_nameIds.cend())
        return *known;
    qint64 id = 0;
    {
        CStatement find(m_db, "SELECT id FROM answer_names WHERE name = ?1");
        if (!find)
            return -1;
        find.Bind(1, name);
        if (sqlite3_step(find.get()) == SQLITE_ROW)
            id = sqlite3_column_int64(find.get(), 0);
    }
    if (id == 0) {
        CStatement insert(m_db, "INSERT INTO answer_names (name) VALUES (?1)");
        if (!insert)
            return -1;
        insert.Bind(1, name);
        if (sqlite3_step(insert.get()) != SQLITE_DONE)
            return -1;
        id = sqlite3_last_insert_rowid(m_db);
    }
    // Receivers and groups are few; the cache stays small.
    m_nameIds.insert(name, id);
    return id;
}

bool CAnswerJournal::Write(const std::vector<CAnswerRecord>& batch)
{
    bool ok = OpenDatabase() && sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK;
    qint64 lastKey = m_lastKey;
    if (ok) {
        CStatement insert(m_db,
            "INSERT INTO answers (key, uid, receiver, grp, result, revision) VALUES (?1, ?2, ?3, ?4, ?5, "
            "?6)");
        ok = bool(insert);
        for (const CAnswerRecord& record : batch) {
            if (!ok)
                break;
            const qint64 receiver = NameId(record.receiver);
            const qint64 group = record.group.isEmpty() ? 0 : NameId(record.group);
            if (receiver < 0 || group < 0) {
                ok = false;
                break;
            }
            lastKey = std::max(record.atMs * kPerMs, lastKey + 1);
            sqlite3_reset(insert.get());
            insert.Bind(1, lastKey);
            insert.BindOrNull(2, record.uid, record.uid < 0);
            insert.Bind(3, receiver);
            insert.BindOrNull(4, group, group <= 0);
            insert.Bind(5, record.result);
            insert.Bind(6, record.revision);
            ok = sqlite3_step(insert.get()) == SQLITE_DONE;
        }
    }
    if (ok)
        ok = sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    if (ok) {
        m_lastKey = lastKey;
        if (m_failing) {
            qCWarning(lcEngine).noquote()
                << QStringLiteral("The answer journal %1 is written again").arg(m_path);
            m_failing = false;
        }
        return true;
    }
    const QString problem = m_db ? ErrorOf(m_db) : m_problem;
    if (m_db)
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    // Names written in the rolled-back transaction are gone again.
    m_nameIds.clear();
    if (!m_failing) {
        qCWarning(lcEngine).noquote() << QStringLiteral(
            "The answer journal %1 cannot be written (%2); up to %3 answers are kept until it can")
                                             .arg(m_path, problem)
                                             .arg(kMaxQueued);
        m_failing = true;
    }
    // Opened afresh next time: the file may have been replaced or its folder mended.
    CloseDatabase();
    return false;
}

void CAnswerJournal::PruneIfDue(qint64 nowMs)
{
    if (m_lastPruneMs != 0 && nowMs - m_lastPruneMs < kDayMs)
        return;
    if (!OpenDatabase())
        return;
    m_lastPruneMs = nowMs;
    const qint64 cut = (nowMs - qint64(std::max(m_keepDaysSeen, 1)) * kDayMs) * kPerMs;
    CStatement remove(m_db,
        "DELETE FROM answers WHERE key IN (SELECT key FROM answers WHERE key < ?1 ORDER BY key LIMIT ?2)");
    if (!remove)
        return;
    for (;;) {
        sqlite3_reset(remove.get());
        remove.Bind(1, cut);
        remove.Bind(2, kPruneStep);
        if (sqlite3_step(remove.get()) != SQLITE_DONE || sqlite3_changes(m_db) < kPruneStep)
            break;
    }
}

std::optional<QList<CAnswerRecord>> CAnswerJournal::Read(const QString& path, const QString& receiver,
    qint64 sinceMs, qint64 untilMs, qsizetype limit, QString& error)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOFOLLOW, nullptr)
        != SQLITE_OK) {
        error = QStringLiteral("cannot open %1: %2").arg(path, ErrorOf(db));
        sqlite3_close_v2(db);
        return std::nullopt;
    }
    const std::unique_ptr<sqlite3, int (*)(sqlite3*)> closer(db, sqlite3_close_v2);
    sqlite3_busy_timeout(db, 2000);
    QList<CAnswerRecord> found;
    {
        CStatement exists(db, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = 'answers'");
        if (!exists) {
            error = QStringLiteral("%1 is not a journal Kelvaris can use: %2").arg(path, ErrorOf(db));
            return std::nullopt;
        }
        if (sqlite3_step(exists.get()) != SQLITE_ROW)
            return found;
    }
    CStatement select(db,
        "SELECT a.key, a.uid, r.name, g.name, a.result, a.revision FROM answers a"
        " JOIN answer_names r ON r.id = a.receiver LEFT JOIN answer_names g ON g.id = a.grp"
        " WHERE a.key >= ?1 AND a.key <= ?2 AND a.receiver = (SELECT id FROM answer_names WHERE name = ?3)"
        " ORDER BY a.key LIMIT ?4");
    if (!select) {
        error = QStringLiteral("%1 is not a journal Kelvaris can use: %2").arg(path, ErrorOf(db));
        return std::nullopt;
    }
    select.Bind(1, std::max<qint64>(sinceMs, 0) * kPerMs);
    select.Bind(2, std::min<qint64>(untilMs, INT64_MAX / kPerMs - 1) * kPerMs + kPerMs - 1);
    select.Bind(3, receiver);
    select.Bind(4, limit);
    int code = SQLITE_ROW;
    while ((code = sqlite3_step(select.get())) == SQLITE_ROW) {
        CAnswerRecord record;
        record.atMs = select.Number(0) / kPerMs;
        record.uid = select.IsNull(1) ? -1 : select.Number(1);
        record.receiver = select.Text(2);
        record.group = select.Text(3);
        record.result = int(select.Number(4));
        record.revision = select.Number(5);
        found.append(std::move(record));
    }
    if (code != SQLITE_DONE) {
        error = QStringLiteral("cannot read %1: %2").arg(path, ErrorOf(db));
        return std::nullopt;
    }
    return found;
}
