#pragma once

#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include <QHash>
#include <QList>
#include <QString>

struct sqlite3;

// One dispatch check as the alarm server asked it and as it was answered.
struct CAnswerRecord
{
    qint64 atMs = 0; // when it was answered, UTC milliseconds
    qint64 uid = -1; // the asking process's user (the socket's peer)
    QString receiver;
    QString group;
    int result = 0; // a kDispatch... code
    // The receiver's plan as it was read: its dispatch file's time in seconds (0: no such receiver).
    qint64 revision = 0;
};

// The answer journal: every dispatch check of the socket, kept in the edit journal's database
// (tables "answers" and "answer_names") for a number of days. Add() only queues (a lock and an
// append, on the socket's thread); a thread of its own writes what was queued at most every
// kBatchMs in one transaction, so no answer waits for the disk. A journal that cannot be written
// keeps up to kMaxQueued answers and warns once; beyond that answers are dropped and counted, and
// the count is warned when writing resumes.
//
// An answer's key is its time: milliseconds times kPerMs plus its place within the millisecond,
// so the rows are stored in time order, a time range is a range of keys and no column or index
// repeats the time (a busy site's year stays small).
class CAnswerJournal
{
public:
    static constexpr int kBatchMs = 100;
    static constexpr qsizetype kMaxQueued = 200000;
    static constexpr qint64 kPerMs = 128;

    explicit CAnswerJournal(QString path, int keepDays = 31);
    // Writes what is queued and stops the writer.
    ~CAnswerJournal();
    CAnswerJournal(const CAnswerJournal&) = delete;
    CAnswerJournal& operator=(const CAnswerJournal&) = delete;

    const QString& Path() const { return m_path; }
    void SetKeepDays(int days);
    // Queues an answer; any thread, never waits for the writer.
    void Add(CAnswerRecord record);
    // Waits until everything queued before the call was written (or failed).
    void Flush();
    // Answers dropped because the queue was full while the journal could not be written.
    qint64 Dropped() const;

    // The answers for a receiver in [sinceMs, untilMs], oldest first, at most `limit`; nothing when
    // the journal holds no answers. Empty optional, with `error` set, when it cannot be read.
    static std::optional<QList<CAnswerRecord>> Read(const QString& path, const QString& receiver,
        qint64 sinceMs, qint64 untilMs, qsizetype limit, QString& error);

private:
    void Run();
    bool Write(const std::vector<CAnswerRecord>& batch);
    bool OpenDatabase();
    void CloseDatabase();
    qint64 NameId(const QString& name);
    void PruneIfDue(qint64 nowMs);

    const QString m_path;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_written;
    std::vector<CAnswerRecord> m_queue;
    qint64 m_dropped = 0;
    qint64 m_rounds = 0; // the writer's rounds so far
    int m_flushWaiters = 0;
    int m_keepDays;
    bool m_stop = false;
    bool m_stopped = false;

    // The writer thread's own.
    sqlite3* m_db = nullptr;
    QHash<QString, qint64> m_nameIds;
    qint64 m_lastKey = 0;
    qint64 m_lastPruneMs = 0;
    int m_keepDaysSeen = 31;
    bool m_failing = false;
    QString m_problem;
    qint64 m_droppedWarned = 0;
    std::thread m_thread;
};
