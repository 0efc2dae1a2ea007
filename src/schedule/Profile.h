#pragma once

#include <algorithm>
#include <cstddef>
#include <limits>
#include <memory>
#include <mutex>
#include <utility>

#include <QList>
#include <QString>
#include <QStringList>

// Access to the configuration file and the dispatch files: text files of named sections of
// "key=value" lines.
//
// File format. A line whose first non-blank character is "[" starts a section (name up to "]",
// blanks around it ignored); a line with "=" is an entry (key before the first "=", value after
// it, both without surrounding blanks and tabs; one pair of enclosing double or single quotes is
// removed from the value). Every other line (comments, blank lines, unknown text) and every line
// before the first section is kept and written back unchanged. Section and key names match
// without regard to case and are written exactly as given. A key may occur more than once in a
// section (the dispatch files hold one line per range under date keys); reads, replacements and
// deletions concern the first occurrence, and the same holds for a section name that occurs twice.
// Files are written as UTF-8 with CR LF line ends; reading accepts CR LF or LF, and a file that is
// not valid UTF-8 is read as Windows-1252. A file that starts with a byte order mark (UTF-8, UTF-16
// little or big endian) is read in that encoding and written back in it, mark included.
//
// Caching. Each file is parsed once into a process-wide document keyed by its absolute path.
// Before a document is used, the watch on its folder (CFileWatch, inotify) tells whether the file
// may have changed since it was last looked at; only then is it checked against the file's status
// (modification and change time, size, inode, device), and a file changed or removed on disk is
// read again. A file modified within the last two seconds is additionally compared byte for byte
// with what was last read or written, so an edit within the same time-stamp granule is not
// missed. Symbolic links, files with several names and files whose folder cannot be watched are
// checked against their status at every use; every file at least once a second. Writes change the
// document and are visible at once to every reader in the process; outside a batch each write
// replaces the file at once (temporary file in the same folder, then rename). A write that cannot
// be stored drops the document, so later reads see the file as it is on disk.
//
// Batches. A CProfile::Batch defers the replacement of the file to the end of the outermost batch
// on that file and lets the reads inside it trust the document without asking the file system.
// The resulting file is the same, byte for byte, as if every write had been stored on its own.
// List loading and saving run inside a batch (see LoadNumberedSections/SaveNumberedSections).
//
// Other programs. Every write takes an advisory lock shared with the other programs that write
// the file (QLockFile, "<file>.lock"), reads the file again under it, applies its change and
// stores it, so that two programs never lose each other's changes; a batch holds the lock from its
// first write (or, for a read-modify-write, from its start) to its end.
//
// Threads. The map of documents is guarded by a short mutex; each document has its own recursive
// mutex, taken by every operation for its duration and by a batch for the batch's whole lifetime.
// So the pipe-server thread may read and write one file while the user-interface thread works on
// the same or another file, and it never sees half of a batch. Keep batches short, and do not
// open a batch on one file while holding a batch on another unless no other thread ever holds
// batches on both files (the lock order would be open to deadlock).
//
// Limits. A file larger than kMaxFileBytes, a directory, a file that cannot be read or one that is
// not text (see CheckText) reads as empty and refuses every write (it would otherwise be replaced
// by the few written keys); State() says why.

class CProfileDocument;

class CProfile
{
public:
    static constexpr qint64 kMaxFileBytes = 64 * 1024 * 1024;
    // A string read returns at most this many characters.
    static constexpr int kMaxValueLength = 59999;

    explicit CProfile(const QString& path);
    // A profile of its own that no file stands behind: writes stay in memory (for comparing the
    // keys records write).
    static CProfile InMemory();
    // The file beside the program with the extension "cfg" (the location before the data folder).
    CProfile();

    const QString& Path() const { return m_path; }

    // The value text, or `def` if the file, the section or the key is missing.
    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    // The integer at the start of the value: optional sign, then decimal digits or "0x" and hex
    // digits, up to the first other character; no digits give 0, overflow saturates. A missing
    // key or an empty value gives `def`.
    int ReadInt(const QString& section, const QString& key, int def) const;
    // Writes `value` under the key (every CR and LF replaced by a blank). A null value, or a value
    // equal (case-sensitive) to a non-null `def`, deletes the key; a null key with a null value
    // deletes the section. Returns false when the change could not be stored (missing folder,
    // unreadable file, a name that cannot be written such as a key with "=" or a section with "]").
    bool WriteString(
        const QString& section, const QString& key, const QString& value, const QString& def = QString());
    // How the file stands, as read now: whether it exists; why it cannot be taken (empty when it
    // can: not a plain file, too large, unreadable, not text), in which case reads give defaults
    // and writes are refused; whether its last line has no line end (a file being written in
    // place, or one an editor saved without a final line end); its modification time.
    struct CFileState
    {
        bool exists = false;
        QString problem;
        bool unfinished = false;
        qint64 mtimeNs = 0;
    };
    CFileState State() const;
    // Why the last write or save of this file failed (a full disk, a link, another program's
    // lock, an unreadable file); empty once one succeeded. Callers report it with their error.
    QString SaveProblem() const;

    // Replaces `names` with the names of all sections in file order; returns their count.
    int GetSectionNames(QStringList& names) const;

    // Whether a section of that name exists (names match without regard to case).
    bool HasSection(const QString& section) const;
    // The entry lines ("key=value") of the section as they stand, each ended by a line feed; empty
    // when the section is missing.
    QString SectionText(const QString& section) const;

    // While a scope lives on a thread, a file that another program holds locked is not waited for:
    // the write fails as any failed write (for the socket's thread, which must answer at once).
    class CNoLockWait
    {
    public:
        CNoLockWait();
        ~CNoLockWait();
        CNoLockWait(const CNoLockWait&) = delete;
        CNoLockWait& operator=(const CNoLockWait&) = delete;

    private:
        bool m_before;
    };

    // RAII scope that groups writes to one file (see above). Nestable. A scope for a
    // ReadModifyWrite takes the file's lock before anything is read, so that what it writes is
    // based on what the file held under the lock; otherwise the lock is taken at the first write.
    enum class EIntent { Read, ReadModifyWrite };
    class Batch
    {
    public:
        explicit Batch(const CProfile& profile, EIntent intent = EIntent::Read);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;
        // Ends the scope early; returns false if the outermost batch could not store the file.
        // A second call does nothing and returns the first result.
        bool Commit();

    private:
        std::shared_ptr<CProfileDocument> m_doc;
        std::unique_lock<std::recursive_mutex> m_lock;
        bool m_done = false;
        bool m_result = true;
    };

    // Forgets the parsed content of every cached file (documents inside a batch are kept).
    static void DropCachedFiles();
    // Forgets the parsed content of this file and gives its memory back (not inside a batch): for a
    // file read whole into the program's own records, which a big file would otherwise take twice.
    // The next read parses the file again.
    void ReleaseParsed();

private:
    QString m_path;
    std::shared_ptr<CProfileDocument> m_doc;
};

// One section of a profile. The profile must outlive the section.
class CSection
{
public:
    // The section name is `baseName`, followed by `index` in decimal when index > 0.
    CSection(CProfile& profile, const QString& baseName, int index = 0);

    const QString& Name() const { return m_name; }
    CProfile& Profile() const { return m_profile; }

    void Read(const QString& key, QString& out, const QString& def) const;
    // As CProfile::ReadInt.
    void Read(const QString& key, int& out, int def) const;
    // The text (a missing key gives `def`) converted with automatic base: "0x" hex, a leading
    // "0" octal, else decimal; stops at the first character that does not fit; no digits give 0.
    void Read(const QString& key, long& out, long def) const;
    // Any non-zero integer is true.
    void Read(const QString& key, bool& out, bool def) const;
    // A string literal as the default of a flag would convert silently to true.
    template <std::size_t N>
    void Read(const QString& key, bool& out, const char (&def)[N]) const = delete;

    // CR and LF become blanks; a value that would not read back as written (a leading or trailing
    // blank or tab, or enclosing quotes) is written inside double quotes. A value equal to a
    // non-null `def` deletes the key, as does a null value.
    bool Write(const QString& key, const QString& text, const QString& def = QString());
    bool Write(const QString& key, const char* text, const QString& def = QString())
    {
        return Write(key, QString::fromUtf8(text), def);
    }
    bool Write(const QString& key, int value);
    // Deletes the key when `value` equals `def`.
    bool Write(const QString& key, int value, int def);
    bool Write(const QString& key, long value);

    bool Delete();
    bool DeleteKey(const QString& key);

private:
    CProfile& m_profile;
    QString m_name;
};

// A configuration or dispatch file could not be saved: a warning (at most one a minute per file) naming the
// path and the reason.
void WarnSaveFailed(const QString& path, const QString& reason);

// The integer read of ReadInt: decimal or "0x" hexadecimal with an optional sign, saturating at the
// int range; `def` for an empty text. Long values are read with ScanLong (support/Scan.h).
int ProfileTextToInt(QStringView text, int def);

// Lists of records live in numbered sections base1, base2, ...

// Deletes the sections base+index and base+index+1: the first step of saving record `index`.
// A record's own Save is this plus its keys; SaveNumberedSections does it before each record.
void ClearNumberedSection(CProfile& profile, const QString& baseName, int index);

// Empties `list`, then loads records from index 1 upwards until `load(record, index)` returns
// false; the records loaded before that remain in index order.
template <class Record, class LoadFn>
void LoadNumberedSections(CProfile& profile, QList<Record>& list, LoadFn load)
{
    CProfile::Batch batch(profile);
    list.clear();
    for (int index = 1; index < std::numeric_limits<int>::max(); ++index) {
        Record record;
        if (!load(record, index))
            break;
        list.append(std::move(record));
    }
}

// Saves `count` records: with none, deletes section base1; otherwise for record i (0-based, in
// section i + 1) deletes the sections i + 1 and i + 2 and calls `save(i, section)`, which writes
// the record's keys only. Sections beyond count + 1 left from a longer list stay. Returns false if
// the file could not be stored. Sets nothing else (the caller clears its modified flag and records
// the file time).
template <class SaveFn>
bool SaveNumberedSections(CProfile& profile, const QString& baseName, qsizetype count, SaveFn save)
{
    CProfile::Batch batch(profile);
    if (count <= 0) {
        CSection(profile, baseName, 1).Delete();
        return batch.Commit();
    }
    const qsizetype last = std::min<qsizetype>(count, std::numeric_limits<int>::max() - 1);
    for (qsizetype i = 0; i < last; ++i) {
        const int index = static_cast<int>(i + 1);
        ClearNumberedSection(profile, baseName, index);
        CSection section(profile, baseName, index);
        save(i, section);
    }
    return batch.Commit();
}
