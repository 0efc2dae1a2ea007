#pragma once

#include <functional>
#include <memory>

#include <QHash>
#include <QList>
#include <QString>

#include "journal/Journal.h"

class CPageTarget;

// What this program writes into the edit journal of the data folder, and how it goes on when the
// journal cannot be written.
//
// A change is recorded as the content a subject has now (a plan as its lines, a section as its
// keys); the content before is the journal's last record of that subject, so a content that did
// not change is not recorded again, and the first record of a subject is how it was found. Looked
// at when a dispatch file or the configuration is read in, this also records the edits made by
// hand, by another program or by a master copy ("outside").
//
// A journal that cannot be opened or written never stops a save: a warning, the changes kept in
// memory (at most kMaxPending) and written at the next Retry(), after an entry that names the time
// the journal was not written. A journal SQLite cannot read is moved aside and a new one started.
class CJournalKeeper
{
public:
    static constexpr qsizetype kMaxPending = 10000;
    // A save waits at most this long for another program's write to the journal.
    static constexpr int kBusyMs = 100;

    // `via`: how this program changes things ("window", "windowless", "kelvarisctl").
    explicit CJournalKeeper(QString via);
    ~CJournalKeeper();

    // The journal in that folder from now on (none for an empty folder).
    void SetFolder(const QString& folder);
    const QString& Via() const { return m_via; }
    void SetVia(const QString& via) { m_via = via; }

    struct CChange
    {
        QString kind;
        QString subject;
        QString after;
        QString why;
        QString via; // empty: the program's own
        QString rights;
        // The content as read from a file: the first record of a subject is how the journal found it.
        bool found = false;
        // Another process's user that made the change (a socket or bus peer); -1: this program's.
        qint64 uid = -1;
    };
    // The name of a user id, or the number as text when the system knows no such user.
    static QString UserName(qint64 uid);
    // Records the change when `after` differs from the last record of its subject.
    void Record(const CChange& change);
    // The plan of a target as the journal keeps it: its name, for a group its takeover flag, then one
    // line per range, by date and time.
    static QString PlanText(const CPageTarget& target);
    // "changed outside Kelvaris (the file of <owner>, modified <time>)" for a file.
    static QString OutsideWhy(const QString& path);
    // A plan this program saved, and why (the dialog or command); `rights`: the rights group the
    // password was typed for, if one was asked.
    void RecordPlan(const CPageTarget& target, const QString& why, const QString& rights = QString());
    // The schedule's parts of a configuration file (settings, protection without the password,
    // takeover texts, shifts, barriers/pauses, holidays; subject "configuration") that differ from
    // the journal: saved by this program (`why` names the editor or command, `rights` the rights
    // group a password was typed for), or as read (`read`: changed outside, with the file's owner).
    void RecordConfig(const QString& path, const QString& why, bool read, const QString& rights = QString());
    // A plan as read from its dispatch file: recorded as changed outside, with the file's owner
    // and time, when it differs from the journal's last record.
    void RecordPlanRead(const CPageTarget& target);

    // Where the time of an entry comes from (UTC milliseconds; the system clock by default).
    void SetClock(std::function<qint64()> clock) { m_clock = std::move(clock); }

    // At most once a day: removes the entries older than `days` days (what each subject said then
    // is kept; see CJournal::Prune).
    void PruneIfDue(int days);

    // Writes what could not be written before; true when nothing is left.
    bool Retry();
    // Since when (UTC milliseconds) the journal could not be written; 0 while it can.
    qint64 FailingSinceMs() const { return m_failingSinceMs; }

private:
    // Moves a damaged journal (and its head file) aside and opens a new one whose first entry
    // names it.
    bool MoveAside();
    bool EnsureOpen();
    bool WritePending();

    QString m_via;
    std::function<qint64()> m_clock;
    QString m_user;
    qint64 m_uid = -1;
    QString m_folder;
    std::unique_ptr<CJournal> m_journal;
    QList<CJournalEntry> m_pending;
    // The last content recorded per "kind\tsubject" (written or pending).
    QHash<QString, QString> m_last;
    // The dispatch file time of each target's plan as last recorded: an unchanged file is not looked
    // at again.
    QHash<QString, qint64> m_planMemo;
    qint64 m_failingSinceMs = 0;
    qsizetype m_dropped = 0;
    qint64 m_lastPruneMs = 0;
};
