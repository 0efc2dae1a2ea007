#pragma once

#include <limits>
#include <optional>
#include <utility>

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

struct sqlite3;

// One change of the schedule: when, who, through what, what it was before and after, and why.
struct CJournalEntry
{
    qint64 seq = 0; // given by the journal, from 1
    qint64 atMs = 0; // UTC milliseconds since 1970
    QString user; // the operating-system user of the program that made the change
    qint64 uid = -1;
    QString via; // "window", "windowless", "kelvarisctl", "automation", "takeover", "alarm server", "outside"
    QString rights; // the rights group when a password was asked
    QString kind; // "settings", "shifts", "barriers", "holidays", "plan", "holder", ...
    QString subject; // the section, or the target's ID
    // The content before and after the change; in the form "lines" only the lines the change
    // removed (before) and added (after), one per line (see Apply).
    QString before;
    QString after;
    QString why; // the editor or the command
    QString form; // "" or "lines"
    QByteArray hash; // hex SHA-256 over the entry and the hash of the one before it

    bool operator==(const CJournalEntry&) const = default;
};

// The edit journal: one SQLite database in the data folder (WAL mode), one row per change. Every
// entry carries a SHA-256 over its content and the hash of the entry before it, so an entry that
// was changed, removed or put in between afterwards breaks the chain from there on.
//
// Several programs may append to the same journal: an append takes the database's write lock
// for the read of the last hash and the insert. An object is used by one thread at a time.
class CJournal
{
public:
    static constexpr const char* kFileName = "kelvaris-journal.sqlite";
    // <folder>/kelvaris-journal.sqlite
    static QString PathIn(const QString& folder);

    // The newest entry's sequence number and hash, kept outside the database too (the head file,
    // written after each append), so a journal that lost its newest entries, was emptied, replaced
    // or removed is seen for what it is.
    struct CHead
    {
        qint64 seq = 0;
        QByteArray hash;
        // "SEQ:HASH", and back (nullopt for a text that is no head).
        QString Text() const { return QString::number(seq) + u':' + QString::fromLatin1(hash); }
        static std::optional<CHead> FromText(const QString& text);
    };
    static constexpr const char* kHeadFileName = "kelvaris-journal.head";
    // <folder of the journal>/kelvaris-journal.head
    QString HeadPath() const;
    // The head file's head; nullopt when there is none or it does not read.
    std::optional<CHead> ReadHead() const;

    explicit CJournal(QString path);
    ~CJournal();
    CJournal(const CJournal&) = delete;
    CJournal& operator=(const CJournal&) = delete;

    // Opens the database, with `create` making it (and its table) when missing. False, with
    // Error() saying why, when it cannot be opened or is not a journal.
    bool Open(bool create);
    // How long a write waits for another program's write to end (default 2 s); set before Open.
    void SetBusyTimeout(int ms) { m_busyMs = ms; }
    bool IsOpen() const { return m_db != nullptr; }
    // The last Open, or an append, failed because the file is not a database SQLite can read
    // (damaged, or something else): it may be moved aside.
    bool IsDamaged() const { return m_damaged; }
    const QString& Path() const { return m_path; }
    const QString& Error() const { return m_error; }

    // Appends the entry: its seq and hash are set. False (Error()) when it could not be written;
    // the journal is then as it was.
    bool Append(CJournalEntry& entry);

    struct CFilter
    {
        qint64 sinceMs = std::numeric_limits<qint64>::min();
        qint64 untilMs = std::numeric_limits<qint64>::max();
        QString subject; // empty: every subject
        QString kind; // empty: every kind
        int limit = 0; // 0: no limit
    };
    // The entries the filter lets through, newest first; nullopt when the journal cannot be read.
    std::optional<QList<CJournalEntry>> Entries(const CFilter& filter);

    // The content after the last change of that kind and subject; nullopt when there is none or
    // the journal cannot be read (`readable` says which).
    std::optional<QString> LastAfter(const QString& kind, const QString& subject, bool* readable = nullptr);

    // Removes the entries older than `cutMs`; what each subject said then is appended again as an
    // entry like `keptAs` with the time of that change, so the state at any later moment replays as
    // before. The chain goes on from the last removed entry's hash (kept as the anchor). Returns the
    // number removed, -1 on failure (Error()).
    int Prune(qint64 cutMs, const CJournalEntry& keptAs);

    // Every subject's content as it stood at `atMs` (the last change at or before it), by
    // "kind<TAB>subject"; nullopt when the journal cannot be read.
    std::optional<QHash<QString, QString>> StateAt(qint64 atMs);
    // The time of the first entry; nullopt for an empty or unreadable journal.
    std::optional<qint64> FirstTime();

    struct CVerification
    {
        bool readable = false;
        qint64 count = 0; // entries looked at
        qint64 firstBad = 0; // 0 when the chain is intact; -1 when the file itself is damaged
        QString reason;
        std::optional<CHead> last; // the newest entry
    };
    // Runs SQLite's integrity check, then walks the whole chain from the first entry; every head
    // of `expected` (the head file's, one kept elsewhere) must be an entry of the chain.
    CVerification Verify(const QList<CHead>& expected = {});

    // The content after an entry, from the content before it: `after` itself, or for the form
    // "lines" the content without the removed lines (one occurrence each) and with the added ones,
    // ordered as such contents are: the lines "Name=..." and then "Takeover=..." first, then every
    // other line sorted.
    static QString Apply(const QString& content, const CJournalEntry& entry);
    // The lines removed from `before` and added in `after` (as multisets), each joined with "\n".
    static std::pair<QString, QString> LineChanges(const QString& before, const QString& after);
    // `lines` in the order Apply gives.
    static QStringList Ordered(QStringList lines);

    // The hash an entry has after the one with `previousHash`.
    static QByteArray HashOf(const CJournalEntry& entry, const QByteArray& previousHash);

private:
    bool Fail(const QString& what);
    // The content of every subject (of that kind and subject; empty: any) as it stood at `atMs`,
    // by "kind<TAB>subject", folded from the entries in the order they took effect.
    std::optional<QHash<QString, QString>> Contents(qint64 atMs, const QString& kind, const QString& subject);
    // Appends inside a write transaction: sets the entry's seq and hash.
    bool Insert(CJournalEntry& written);
    // After a commit: the head file names the newest entry (never an older one).
    void NoteHead(const CJournalEntry& newest) const;

    QString m_path;
    sqlite3* m_db = nullptr;
    QString m_error;
    bool m_damaged = false;
    int m_busyMs = 2000;
};
