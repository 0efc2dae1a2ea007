#include "schedule/Profile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <ctime>
#include <list>
#include <memory_resource>
#include <mutex>
#include <sys/stat.h>
#include <unordered_map>
#include <vector>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLockFile>
#include <QSaveFile>
#include <QScopeGuard>
#include <QStringEncoder>
#include <QVarLengthArray>

#include "schedule/ConfigLocation.h"
#include "schedule/RecordArray.h"
#include "support/FileWatch.h"
#include "support/Scan.h"
#include "support/TextEncoding.h"
#include "support/Trace.h"
#include "support/Warning.h"

namespace {

// How long a writer waits for another program's lock on a file, and after how long a lock is
// taken for one its holder forgot (a write holds it for milliseconds).
constexpr int kLockWaitMs = 5000;
constexpr int kStaleLockMs = 30000;
// Set on a thread that must never wait for another program (the socket's): a locked file is
// then not written, as if the write had failed.
thread_local bool t_noLockWait = false;

// A file modified this recently may still change within the same time-stamp granule (coarse
// kernel clock, or 2-second file systems); its content is compared as well as its status.
constexpr qint64 kRacyWindowNs = 2'000'000'000;
constexpr qint64 kReadChunk = 64 * 1024;
constexpr qsizetype kKeptReadBuffer = 1024 * 1024;

bool IsBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QStringView TrimBlanks(QStringView s)
{
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && IsBlank(s[begin]))
        ++begin;
    while (end > begin && IsBlank(s[end - 1]))
        --end;
    return s.sliced(begin, end - begin);
}

// `s` without surrounding blanks and tabs; shares the text when there are none.
QString TrimmedName(const QString& s)
{
    if (s.isEmpty() || (!IsBlank(s.front()) && !IsBlank(s.back())))
        return s;
    return TrimBlanks(s).toString();
}

QString WithoutLineBreaks(const QString& s)
{
    if (!s.contains(u'\r') && !s.contains(u'\n'))
        return s;
    QString out = s;
    out.replace(u'\r', u' ');
    out.replace(u'\n', u' ');
    return out;
}

// A section or key name as it is looked up and written. False for a name that could not be read
// back from the file as the same name.
bool NormalizeSectionName(QString& name)
{
    name = TrimmedName(WithoutLineBreaks(name));
    return !name.contains(u']');
}

bool NormalizeKey(QString& key)
{
    key = TrimmedName(WithoutLineBreaks(key));
    return !key.contains(u'=') && !key.startsWith(u'[');
}

// The value of an entry line: the text after the first "=", without surrounding blanks and tabs
// and without one pair of enclosing quotes.
QStringView EntryValue(QStringView line)
{
    const qsizetype eq = line.indexOf(u'=');
    QStringView value = TrimBlanks(line.sliced(eq + 1));
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'')
        && value.back() == value.front())
        value = value.sliced(1, value.size() - 2);
    return value;
}

QString CutValue(const QString& value)
{
    if (value.size() <= CProfile::kMaxValueLength)
        return value;
    QStringView cut = QStringView(value).first(CProfile::kMaxValueLength);
    if (cut.back().isHighSurrogate())
        cut.chop(1);
    return cut.toString();
}

QString CutValue(QStringView value)
{
    if (value.size() > CProfile::kMaxValueLength) {
        value = value.first(CProfile::kMaxValueLength);
        if (value.back().isHighSurrogate())
            value.chop(1);
    }
    return value.toString();
}

// Section and key names, matched without regard to case. The hash folds each code point the way
// QString::compare(Qt::CaseInsensitive) does, so no folded copy of the text is needed.
size_t FoldedHash(QStringView text, size_t seed) noexcept;

// The folded hash is worked out once per key: the index compares it before the names, so a lookup
// among hundreds of thousands of sections costs one case-insensitive comparison, not one per probe.
struct CNameKey
{
    explicit CNameKey(QString name)
        : text(std::move(name))
        , hash(FoldedHash(text, 0))
    { }
    QString text;
    size_t hash;
    friend bool operator==(const CNameKey& a, const CNameKey& b)
    {
        return a.hash == b.hash && a.text.size() == b.text.size()
            && a.text.compare(b.text, Qt::CaseInsensitive) == 0;
    }
};

size_t FoldedHash(QStringView text, size_t seed) noexcept
{
    quint64 h = 0xcbf29ce484222325ULL ^ seed;
    const QChar* p = text.data();
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = p[i].unicode();
        if (c < 0x80) {
            if (c >= u'A' && c <= u'Z')
                c += 0x20;
        } else {
            if (QChar::isHighSurrogate(c) && i + 1 < n && p[i + 1].isLowSurrogate()) {
                c = QChar::surrogateToUcs4(static_cast<char16_t>(c), p[i + 1].unicode());
                ++i;
            }
            c = QChar::toCaseFolded(c);
        }
        h = (h ^ c) * 0x100000001b3ULL;
    }
    // FNV spreads a character only into higher bits, and the index picks buckets by the low ones:
    // names that differ in their digits ("Holiday1" ... "Holiday700000") would crowd into few
    // buckets. A final mix (MurmurHash3's) spreads every bit over the whole value.
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdULL;
    h ^= h >> 33;
    h *= 0xc4ceb9fe1a85ec53ULL;
    h ^= h >> 33;
    return static_cast<size_t>(h);
}

size_t qHash(const CNameKey& key, size_t seed) noexcept
{
    return key.hash ^ seed;
}

// The items of one name in file order; the first live one is the one that counts.
template <class It>
struct CFirstOf
{
    QVarLengthArray<It, 1> items;
    qsizetype head = 0;

    It First() const { return items[head]; }
    void Append(It it) { items.append(it); }
    // Drops the first item; false when none is left.
    bool PopFirst() { return ++head < items.size(); }
};

// A string over `view` without a copy; valid while the viewed text is.
QString RawString(QStringView view)
{
    return QString::fromRawData(view.data(), view.size());
}

// A line of the file, as it is written back. Lines read from the file are raw strings over the
// document's text; a line written since holds its own text.
struct CLine
{
    QString text;
    size_t hash = 0; // of the folded key, for entries
    bool entry = false;

    CLine(QString line, bool isEntry)
        : text(std::move(line))
        , entry(isEntry)
    { }

    // The key of an entry line, without surrounding blanks.
    QStringView Key() const { return TrimBlanks(QStringView(text).first(text.indexOf(u'='))); }
};
using CLineList = std::pmr::list<CLine>;
using LineIt = CLineList::iterator;

bool SameName(QStringView a, QStringView b)
{
    return a.size() == b.size() && a.compare(b, Qt::CaseInsensitive) == 0;
}

// A section of up to this many lines finds its keys by walking its lines (close together in
// memory and read next anyway); the keys of a larger one (a dispatch file's ranges) are in the
// document's entry index.
constexpr size_t kSmallSection = 16;

struct CSectionData
{
    QString header; // the header line as read or written; null for the lines before the first section
    QString name;
    CLineList lines;
    LineIt lastEntry; // valid when hasEntry
    bool hasEntry = false;
    bool indexed = false; // the keys are in the document's entry index

    explicit CSectionData(std::pmr::memory_resource* memory)
        : lines(memory)
    { }
};
using CSectionList = std::pmr::list<CSectionData>;
using SectionIt = CSectionList::iterator;

// An entry's key within its section. The key text may be raw data of the document's text, which
// lives as long as the index.
struct CEntryKey
{
    const CSectionData* section;
    QString key;
    friend bool operator==(const CEntryKey& a, const CEntryKey& b)
    {
        return a.section == b.section && a.key.compare(b.key, Qt::CaseInsensitive) == 0;
    }
};

size_t qHash(const CEntryKey& key, size_t seed) noexcept
{
    return FoldedHash(key.key, seed ^ (reinterpret_cast<quintptr>(key.section) * 0x9E3779B97F4A7C15ULL));
}

struct CFileStamp
{
    bool exists = false;
    bool regular = false;
    qint64 size = 0;
    qint64 mtimeNs = 0;
    qint64 ctimeNs = 0;
    quint64 inode = 0;
    quint64 device = 0;
    // Read through a symbolic link, or one of several names of the file: a change may come
    // through another folder than the file's own.
    bool elsewhere = false;
    bool operator==(const CFileStamp&) const = default;
};

CFileStamp StatFile(const QByteArray& encodedPath)
{
    CFileStamp stamp;
    struct stat st
    {
    };
    if (encodedPath.isEmpty() || ::lstat(encodedPath.constData(), &st) != 0)
        return stamp;
    if (S_ISLNK(st.st_mode)) {
        stamp.elsewhere = true;
        if (::stat(encodedPath.constData(), &st) != 0)
            return stamp;
    }
    stamp.elsewhere = stamp.elsewhere || st.st_nlink > 1;
    stamp.exists = true;
    stamp.regular = S_ISREG(st.st_mode);
    stamp.size = st.st_size;
    stamp.mtimeNs = qint64(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
    stamp.ctimeNs = qint64(st.st_ctim.tv_sec) * 1'000'000'000 + st.st_ctim.tv_nsec;
    stamp.inode = st.st_ino;
    stamp.device = st.st_dev;
    return stamp;
}

bool IsAscii(QByteArrayView bytes)
{
    unsigned char any = 0;
    for (const char c : bytes)
        any |= static_cast<unsigned char>(c);
    return any < 0x80;
}

qint64 WallClockNs()
{
    timespec ts {};
    clock_gettime(CLOCK_REALTIME, &ts);
    return qint64(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

bool IsRacy(const CFileStamp& stamp, qint64 wallNs)
{
    return stamp.exists && stamp.mtimeNs > wallNs - kRacyWindowNs;
}

// Why a file cannot be opened for reading, in the system's words.
QString ReadError(const QString& path)
{
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        return QStringLiteral("a read failed or the file grew past the limit");
    return file.errorString();
}

// Reads the whole file, at most `limit` bytes; false on an error or a longer file.
bool ReadBounded(const QString& path, qint64 limit, QByteArray& out)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    out.resize(0); // keeps the capacity
    const qint64 expected = file.size();
    if (expected > 0 && expected <= limit)
        out.reserve(expected + 1);
    for (;;) {
        const qsizetype used = out.size();
        out.resize(used + kReadChunk);
        const qint64 got = file.read(out.data() + used, kReadChunk);
        if (got < 0)
            return false;
        out.resize(used + got);
        if (out.size() > limit)
            return false;
        if (got == 0)
            return true;
    }
}

} // namespace

// The parsed form of one file. Every member is guarded by m_mutex.
class CProfileDocument
{
public:
    explicit CProfileDocument(const QString& path)
        : m_path(path)
        , m_encodedPath(QFile::encodeName(path))
    { }

    std::recursive_mutex m_mutex;
    // Why the last write or save of this file failed; empty once one succeeds.
    QString m_saveProblem;
    int m_batchDepth = 0;
    // Never read from or stored in a file (CProfile::InMemory).
    bool m_memoryOnly = false;
    bool m_dirty = false;
    // A write inside the current batch was refused: the batch's commit reports the failure.
    bool m_batchRefused = false;

    // Makes the document reflect the file; inside a batch the loaded document is trusted.
    void Refresh()
    {
        if (m_memoryOnly) {
            if (!m_loaded) {
                m_loaded = true;
                m_sections.emplace_back(&m_memory);
            }
            return;
        }
        if (m_batchDepth > 0 && m_loaded)
            return;
        // Unchanged since the last look by the folder's watch: nothing to ask the file system.
        if (m_loaded && m_watch.Unchanged())
            return;
        m_watch.Checking();
        const CFileStamp stamp = StatFile(m_encodedPath);
        m_watch.Trust(!stamp.elsewhere);
        if (m_loaded && stamp == m_stamp) {
            if (!m_racy)
                return;
            QByteArray bytes;
            const bool read = ReadBounded(m_path, CProfile::kMaxFileBytes, bytes);
            if (read && bytes == m_diskBytes) {
                m_racy = IsRacy(stamp, WallClockNs());
                if (!m_racy)
                    m_diskBytes.clear();
                return;
            }
            Load(stamp, read ? &bytes : nullptr);
            return;
        }
        Load(stamp, nullptr);
    }

    // False for a file that must not be replaced (unreadable, too large, not a plain file, not text).
    bool Writable() const { return !m_unreadable; }
    CProfile::CFileState State() const
    {
        return { m_stamp.exists, m_problem, m_unfinished, m_stamp.mtimeNs };
    }

    const CLine* FindEntry(const QString& section, const QString& key) const
    {
        // Looked up exactly as a write would store them.
        CSectionData* sec = FindSection(TrimmedName(WithoutLineBreaks(section)));
        if (!sec)
            return nullptr;
        const LineIt line = FindKey(*sec, TrimmedName(WithoutLineBreaks(key)));
        return line == sec->lines.end() ? nullptr : &*line;
    }

    // The Set/Delete operations take normalised names and return whether the document changed.
    bool SetEntry(const QString& section, const QString& key, const QString& value)
    {
        CSectionData* sec = FindSection(section);
        if (!sec) {
            sec = &*m_sections.emplace(m_sections.end(), &m_memory);
            sec->header = u'[' + section + u']';
            sec->name = section;
            IndexSection(section, std::prev(m_sections.end()));
        }
        QString text;
        text.reserve(key.size() + 1 + value.size());
        text += key;
        text += u'=';
        text += value;
        const LineIt existing = FindKey(*sec, key);
        if (existing != sec->lines.end()) {
            if (existing->text == text)
                return false;
            existing->text = std::move(text);
            return true;
        }
        // After the last entry, so that blank and comment lines at the end of the section stay
        // in front of the next section header.
        const LineIt at = sec->hasEntry ? std::next(sec->lastEntry) : sec->lines.begin();
        const LineIt line = sec->lines.emplace(at, std::move(text), true);
        AddKey(*sec, key, line);
        return true;
    }

    bool DeleteEntry(const QString& section, const QString& key)
    {
        CSectionData* found = FindSection(section);
        if (!found)
            return false;
        CSectionData& sec = *found;
        const LineIt line = TakeKey(sec, key);
        if (line == sec.lines.end())
            return false;
        if (sec.hasEntry && line == sec.lastEntry) {
            // Each non-entry line is walked over at most once: later keys go in front of it.
            LineIt previous = line;
            sec.hasEntry = false;
            while (previous != sec.lines.begin()) {
                --previous;
                if (previous->entry) {
                    sec.lastEntry = previous;
                    sec.hasEntry = true;
                    break;
                }
            }
        }
        sec.lines.erase(line);
        return true;
    }

    bool DeleteSection(const QString& section)
    {
        const auto found = m_sectionIndex.find(CNameKey { section });
        if (found == m_sectionIndex.end())
            return false;
        const SectionIt sec = found->First();
        if (!found->PopFirst())
            m_sectionIndex.erase(found);
        m_lastSection = nullptr;
        // All duplicates of a key are in this section, so each key goes at once.
        if (sec->indexed) {
            for (const CLine& line : sec->lines) {
                if (line.entry)
                    m_entryIndex.remove(CEntryKey { &*sec, RawString(line.Key()) });
            }
        }
        m_sections.erase(sec);
        return true;
    }

    bool HasSection(const QString& section) const { return FindSection(section) != nullptr; }

    // The entry lines of the first section of that name, each followed by a line feed.
    QString SectionText(const QString& section) const
    {
        const CSectionData* sec = FindSection(section);
        QString text;
        if (!sec)
            return text;
        for (const CLine& line : sec->lines) {
            if (line.entry) {
                text += line.text;
                text += u'\n';
            }
        }
        return text;
    }

    int SectionNames(QStringList& names) const
    {
        names.clear();
        names.reserve(m_sectionIndex.size());
        for (const CSectionData& sec : m_sections) {
            if (!sec.header.isNull())
                names.append(QString(sec.name.constData(), sec.name.size())); // a copy, not a view
        }
        return static_cast<int>(std::min<qsizetype>(names.size(), INT_MAX));
    }

    // Ends a write: outside a batch a change is stored at once.
    bool Finish(bool changed)
    {
        if (!changed)
            return true;
        if (m_batchDepth > 0) {
            m_dirty = true;
            return true;
        }
        return Store();
    }

    // The advisory lock other programs' writers of the same file take too (a lock file beside it),
    // held from before the file is read for a change until it is stored. False when it could not
    // be had: held by another program (without waiting on a thread that must not wait, or after
    // kLockWaitMs), in which case `busy` is set. A lock left by a program that died is broken with
    // a warning; a folder where no lock file can be made is written without one.
    bool LockFile(bool* busy = nullptr)
    {
        if (m_memoryOnly || m_fileLock)
            return true;
        auto lock = std::make_unique<QLockFile>(m_path + QStringLiteral(".lock"));
        lock->setStaleLockTime(kStaleLockMs);
        qint64 holder = 0;
        QString host;
        QString app;
        // Left behind: the lock file names a process that has ended, and is still there after it
        // ended (a writer that finished normally removed its lock file before it ended).
        bool leftBehind = lock->getLockInfo(&holder, &host, &app) && holder > 0
            && ::kill(pid_t(holder), 0) != 0 && errno == ESRCH;
        if (leftBehind) {
            qint64 still = 0;
            leftBehind = lock->getLockInfo(&still, &host, &app) && still == holder;
        }
        if (lock->tryLock(t_noLockWait ? 0 : kLockWaitMs)) {
            if (leftBehind)
                qCWarning(lcConfig).noquote()
                    << QStringLiteral("a lock on %1 left by process %2, which has ended, was broken")
                           .arg(m_path)
                           .arg(holder);
            m_fileLock = std::move(lock);
            return true;
        }
        if (lock->error() != QLockFile::LockFailedError)
            return true; // no lock file can be made here: the write itself says what is wrong
        if (busy)
            *busy = true;
        lock->getLockInfo(&holder, &host, &app);
        KTRACE(lcConfig) << m_path << "is locked by process" << holder << app;
        return false;
    }
    void UnlockFile() { m_fileLock.reset(); }
    bool FileLocked() const { return m_fileLock != nullptr; }

    // A write or save of the file failed: the reason is kept for the caller and warned about.
    void SaveFailed(const QString& reason)
    {
        m_saveProblem = reason;
        WarnSaveFailed(m_path, reason);
    }

    // Replaces the file with the document. On failure the document is dropped, so that nothing
    // claims a value the file does not hold.
    bool Store()
    {
        if (m_memoryOnly)
            return true;
        if (IsSymbolicLink(m_path)) {
            SaveFailed(QStringLiteral("it is a symbolic link, which is not written through"));
            Unload();
            return false;
        }
        const QByteArray bytes = Serialize();
        QSaveFile file(m_path);
        // The explicit flush reports a failed write of the buffered tail (a full disk, a file-size
        // limit), which commit() alone would not.
        const bool ok = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush()
            && file.commit();
        const CFileStamp stamp = ok ? StatFile(m_encodedPath) : CFileStamp {};
        if (!ok || !stamp.exists) {
            SaveFailed(ok ? QStringLiteral("the file is gone after the rename") : file.errorString());
            Unload();
            return false;
        }
        m_saveProblem.clear();
        m_stamp = stamp;
        // Just written, so within the racy window by definition.
        m_racy = true;
        m_diskBytes = bytes;
        return true;
    }

    // Drops the parsed content. The memory it took is kept for the next parse of the file unless
    // `release` is set.
    void Unload(bool release = false)
    {
        m_loaded = false;
        m_dirty = false;
        m_racy = false;
        m_diskBytes.clear();
        m_lastSection = nullptr;
        m_entryIndex.clear();
        m_sectionIndex.clear();
        m_duplicateSections = false;
        m_sections.clear();
        if (release) {
            m_memory.release();
            m_text.clear();
            m_readBuffer.clear();
        } else {
            m_text.resize(0);
        }
    }

private:
    // The first section of that (trimmed) name. Records read one section key after key, so the
    // last section found is remembered.
    CSectionData* FindSection(const QString& name) const
    {
        if (m_lastSection) {
            if (m_lastSectionName == name)
                return m_lastSection;
            // A list is read record after record, section after section in file order: the next
            // section is tried before the index (when no name occurs twice, it is the first of its
            // name).
            const SectionIt next = std::next(m_lastSectionIt);
            if (!m_duplicateSections && next != m_sections.end() && !next->header.isNull()
                && SameName(next->name, name)) {
                m_lastSectionIt = next;
                m_lastSection = &*next;
                m_lastSectionName = name;
                return m_lastSection;
            }
        }
        const auto found = m_sectionIndex.constFind(CNameKey { name });
        if (found == m_sectionIndex.cend())
            return nullptr;
        m_lastSectionIt = found->First();
        m_lastSection = &*m_lastSectionIt;
        m_lastSectionName = name;
        return m_lastSection;
    }

    // Registers a section under its name; a name that is there already makes the next-section
    // shortcut of FindSection unsafe.
    void IndexSection(const QString& name, SectionIt sec)
    {
        CFirstOf<SectionIt>& items = m_sectionIndex[CNameKey { name }];
        items.Append(sec);
        m_duplicateSections = m_duplicateSections || items.items.size() > 1;
    }

    // The first entry line of the key in the section, or sec.lines.end().
    LineIt FindKey(CSectionData& sec, const QString& key) const
    {
        if (sec.indexed) {
            const auto found = m_entryIndex.constFind(CEntryKey { &sec, key });
            return found == m_entryIndex.cend() ? sec.lines.end() : found->First();
        }
        const size_t hash = FoldedHash(key, 0);
        for (LineIt line = sec.lines.begin(); line != sec.lines.end(); ++line) {
            if (line->entry && line->hash == hash && SameName(line->Key(), key))
                return line;
        }
        return sec.lines.end();
    }

    // Registers a new entry line, which comes after every other entry of its section. `key` must
    // live as long as the document's text (a raw string over it, or a string of its own).
    void AddKey(CSectionData& sec, const QString& key, LineIt line)
    {
        line->hash = FoldedHash(key, 0);
        sec.lastEntry = line;
        sec.hasEntry = true;
        if (sec.indexed)
            m_entryIndex[CEntryKey { &sec, key }].Append(line);
        else if (sec.lines.size() > kSmallSection)
            IndexKeys(sec);
    }

    // Moves a section that has grown large to the entry index.
    void IndexKeys(CSectionData& sec)
    {
        for (LineIt line = sec.lines.begin(); line != sec.lines.end(); ++line) {
            if (line->entry)
                m_entryIndex[CEntryKey { &sec, line->Key().toString() }].Append(line);
        }
        sec.indexed = true;
    }

    // Unregisters the first entry line of the key and returns it (sec.lines.end() if none).
    LineIt TakeKey(CSectionData& sec, const QString& key)
    {
        if (!sec.indexed)
            return FindKey(sec, key);
        const auto found = m_entryIndex.find(CEntryKey { &sec, key });
        if (found == m_entryIndex.end())
            return sec.lines.end();
        const LineIt line = found->First();
        if (!found->PopFirst())
            m_entryIndex.erase(found);
        return line;
    }

    // Reads the file (or takes `bytes` already read after `stamp` was taken) and parses it.
    void Load(const CFileStamp& stamp, const QByteArray* bytesRead)
    {
        Unload();
        m_loaded = true;
        m_stamp = stamp;
        m_unreadable = false;
        m_problem.clear();
        m_unfinished = false;
        m_form = ETextForm::Utf8;
        m_sections.emplace_back(&m_memory); // the lines before the first section
        if (!stamp.exists)
            return;
        if (bytesRead)
            m_readBuffer = *bytesRead;
        if (!stamp.regular)
            m_problem = QStringLiteral("not a plain file");
        else if (stamp.size > CProfile::kMaxFileBytes)
            m_problem = QStringLiteral("larger than %1 MB").arg(CProfile::kMaxFileBytes / (1024 * 1024));
        else if (!bytesRead && !ReadBounded(m_path, CProfile::kMaxFileBytes, m_readBuffer))
            m_problem = QStringLiteral("cannot be read (%1)").arg(ReadError(m_path));
        CTextCheck check;
        if (m_problem.isEmpty()) {
            check = CheckText(m_readBuffer);
            m_problem = check.problem;
        }
        if (!m_problem.isEmpty()) {
            KTRACE(lcConfig) << "cannot read" << m_path << "-" << m_problem
                             << "- reads give defaults, writes are refused";
            m_unreadable = true;
            m_readBuffer.clear();
            return;
        }
        m_form = check.form;
        m_unfinished = check.unfinished;
        KTRACE(lcConfig) << "reading" << m_path << m_readBuffer.size() << "bytes";
        Parse(m_readBuffer);
        m_racy = IsRacy(stamp, WallClockNs());
        if (m_racy)
            m_diskBytes = m_readBuffer;
        // The bytes of a large file are not kept for the next read: a big configuration would
        // otherwise hold its size twice over for the life of the program.
        if (m_readBuffer.size() > kKeptReadBuffer)
            m_readBuffer = QByteArray();
    }

    void Parse(const QByteArray& bytes)
    {
        QByteArrayView view(bytes);
        if (view.startsWith("\xEF\xBB\xBF"))
            view = view.sliced(3);
        if (m_form == ETextForm::Utf16LE || m_form == ETextForm::Utf16BE) {
            m_text = DecodeTextAs(view, m_form);
        } else if (IsAscii(view)) {
            // The common case, decoded into the buffer of the previous parse.
            m_text.resize(view.size());
            char16_t* out = reinterpret_cast<char16_t*>(m_text.data());
            for (const char c : view)
                *out++ = static_cast<unsigned char>(c);
        } else {
            m_text = DecodeText(view);
        }
        const QStringView text(m_text);
        m_byteEstimate = bytes.size();
        // Sections of records take a hundred bytes and more: little rehashing while the index fills.
        m_sectionIndex.reserve(bytes.size() / 64);
        qsizetype pos = 0;
        const qsizetype size = text.size();
        // A line ends at CR LF, LF or a lone CR, so that no name or value read from the file
        // holds a line break (written names and values never do).
        while (pos < size) {
            qsizetype end = pos;
            while (end < size && text[end] != u'\n' && text[end] != u'\r')
                ++end;
            AddLine(text.sliced(pos, end - pos));
            if (end + 1 < size && text[end] == u'\r' && text[end + 1] == u'\n')
                ++end;
            pos = end + 1;
        }
    }

    void AddLine(QStringView line)
    {
        qsizetype first = 0;
        while (first < line.size() && IsBlank(line[first]))
            ++first;
        if (first < line.size() && line[first] == u'[') {
            qsizetype close = line.indexOf(u']', first + 1);
            if (close < 0)
                close = line.size();
            const SectionIt sec = m_sections.emplace(m_sections.end(), &m_memory);
            sec->header = RawString(line);
            sec->name = RawString(TrimBlanks(line.sliced(first + 1, close - first - 1)));
            IndexSection(sec->name, sec);
            return;
        }
        CSectionData& sec = m_sections.back();
        const qsizetype eq = line.indexOf(u'=');
        // Entries before the first section belong to no section and are only kept.
        if (eq < 0 || sec.header.isNull()) {
            sec.lines.emplace_back(RawString(line), false);
            if (!sec.indexed && !sec.header.isNull() && sec.lines.size() > kSmallSection)
                IndexKeys(sec);
            return;
        }
        const LineIt entry = sec.lines.emplace(sec.lines.end(), RawString(line), true);
        AddKey(sec, RawString(TrimBlanks(line.first(eq))), entry);
    }

    // UTF-8 (as EncodeText), CR LF after every line, in one pass into one buffer. Each line is
    // encoded on its own: a stray surrogate cannot pair up with one on the next line.
    QByteArray Serialize()
    {
        QStringEncoder encoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
        QByteArray bytes;
        bytes.resize(m_byteEstimate + m_byteEstimate / 2 + 4096);
        char* out = bytes.data();
        auto put = [&](QStringView text) {
            const qsizetype used = out - bytes.data();
            const qsizetype need = used + encoder.requiredSpace(text.size()) + 2;
            if (need > bytes.size()) {
                bytes.resize(std::max(need, bytes.size() * 2));
                out = bytes.data() + used;
            }
            out = encoder.appendToBuffer(out, text);
            *out++ = '\r';
            *out++ = '\n';
        };
        if (m_form == ETextForm::Utf8Bom) {
            memcpy(out, "\xEF\xBB\xBF", 3);
            out += 3;
        }
        for (const CSectionData& sec : m_sections) {
            if (!sec.header.isNull())
                put(sec.header);
            for (const CLine& line : sec.lines)
                put(line.text);
        }
        bytes.resize(out - bytes.data());
        m_byteEstimate = bytes.size();
        if (m_form == ETextForm::Utf16LE || m_form == ETextForm::Utf16BE)
            return EncodeUtf8As(bytes, m_form);
        return bytes;
    }

    const QString m_path;
    const QByteArray m_encodedPath;
    CFileWatch m_watch { m_encodedPath };
    std::unique_ptr<QLockFile> m_fileLock;
    bool m_loaded = false;
    bool m_unreadable = false;
    // Why the file cannot be taken (empty when it can, or when it is missing).
    QString m_problem;
    // The last read found no line end at the end of the file.
    bool m_unfinished = false;
    ETextForm m_form = ETextForm::Utf8;
    CFileStamp m_stamp;
    // While the file's time stamp is recent, the bytes last read or written, to tell an edit in
    // the same time-stamp granule from our own state.
    bool m_racy = false;
    QByteArray m_diskBytes;
    qsizetype m_byteEstimate = 0;
    // The decoded file. Never changed while loaded: lines, names and keys read from the file are
    // views of it (declared first, so it is destroyed last).
    QString m_text;
    QByteArray m_readBuffer;
    // Lines and sections. Reloading a large file reuses the blocks of its previous parse instead of
    // asking the system for fresh pages each time.
    std::pmr::unsynchronized_pool_resource m_memory;
    CSectionList m_sections { &m_memory }; // the first element holds the lines before the first section
    QHash<CNameKey, CFirstOf<SectionIt>> m_sectionIndex;
    QHash<CEntryKey, CFirstOf<LineIt>> m_entryIndex; // keys of the sections marked indexed
    mutable CSectionData* m_lastSection = nullptr;
    mutable SectionIt m_lastSectionIt; // valid while m_lastSection is set
    mutable QString m_lastSectionName;
    bool m_duplicateSections = false; // some name has more than one section
};

namespace {

struct CDocumentMap
{
    std::mutex mutex;
    QHash<QString, std::shared_ptr<CProfileDocument>> documents;
};

CDocumentMap& Documents()
{
    // Never destroyed: profiles may still be used while static objects are torn down.
    static CDocumentMap* map = new CDocumentMap;
    return *map;
}

// An absolute path without "." or ".." components, doubled or trailing slashes: its own key.
bool IsCleanAbsolutePath(const QString& path)
{
    if (!path.startsWith(u'/') || path.size() < 2 || path.endsWith(u'/'))
        return false;
    // Each component after a slash: neither empty, "." nor "..".
    const QChar* c = path.constData();
    const QChar* const end = c + path.size();
    for (; c != end; ++c) {
        if (*c != u'/')
            continue;
        const QChar* next = c + 1;
        qsizetype dots = 0;
        while (next != end && *next == u'.' && dots < 3) {
            ++next;
            ++dots;
        }
        if ((next == end || *next == u'/') && dots < 3)
            return false;
    }
    return true;
}

std::shared_ptr<CProfileDocument> DocumentFor(const QString& path)
{
    // The dispatch check builds a profile for a clean absolute path on every request: that path
    // is its own key, without the cost of resolving it.
    const QString key = path.isEmpty() ? QString()
        : IsCleanAbsolutePath(path)    ? path
                                       : QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    CDocumentMap& map = Documents();
    std::lock_guard lock(map.mutex);
    std::shared_ptr<CProfileDocument>& slot = map.documents[key];
    if (!slot)
        slot = std::make_shared<CProfileDocument>(key);
    return slot;
}

} // namespace

int ProfileTextToInt(QStringView text, int def)
{
    if (text.isEmpty())
        return def;
    return int(std::clamp<long>(ScanLong(text, EIntegerForm::DecimalOrHex), INT_MIN, INT_MAX));
}

// CProfile

CProfile::CProfile(const QString& path)
    : m_path(path)
    , m_doc(DocumentFor(path))
{ }

CProfile::CProfile()
    : CProfile(
        JoinPath(FolderOf(ProgramFilePath()), ProgramBaseName(ProgramFilePath()) + QStringLiteral(".cfg")))
{ }

QString CProfile::ReadString(const QString& section, const QString& key, const QString& def) const
{
    if (section.isNull() || key.isNull())
        return CutValue(def);
    std::lock_guard lock(m_doc->m_mutex);
    m_doc->Refresh();
    const CLine* line = m_doc->FindEntry(section, key);
    return line ? CutValue(EntryValue(line->text)) : CutValue(def);
}

int CProfile::ReadInt(const QString& section, const QString& key, int def) const
{
    if (section.isNull() || key.isNull())
        return def;
    std::lock_guard lock(m_doc->m_mutex);
    m_doc->Refresh();
    const CLine* line = m_doc->FindEntry(section, key);
    return line ? ProfileTextToInt(EntryValue(line->text), def) : def;
}

bool CProfile::WriteString(
    const QString& section, const QString& key, const QString& value, const QString& def)
{
    QString sectionName = section;
    if (section.isNull() || !NormalizeSectionName(sectionName))
        return false;
    QString keyName = key;
    if (key.isNull()) {
        // Deleting a section takes a null value as well; anything else is a caller's slip that
        // must not cost the section.
        if (!value.isNull())
            return false;
    } else if (!NormalizeKey(keyName)) {
        return false;
    }

    std::lock_guard lock(m_doc->m_mutex);
    // Another program's writer is waited for, and the file read again under the lock, so that
    // this change is made to what that writer stored. Inside a batch the lock is taken at its
    // first write and kept to its end.
    const bool outside = m_doc->m_batchDepth == 0;
    if (!m_doc->FileLocked()) {
        bool busy = false;
        if (!m_doc->LockFile(&busy) && busy) {
            m_doc->SaveFailed(QStringLiteral("another program is writing it"));
            if (m_doc->m_batchDepth > 0)
                m_doc->m_batchRefused = true;
            return false;
        }
        if (!m_doc->m_dirty && m_doc->m_batchDepth > 0) {
            // Nothing of this batch is pending yet: the batch goes on from the file as it is now.
            --m_doc->m_batchDepth;
            m_doc->Refresh();
            ++m_doc->m_batchDepth;
        }
    }
    const auto unlock = qScopeGuard([&] {
        if (outside)
            m_doc->UnlockFile();
    });
    m_doc->Refresh();
    if (!m_doc->Writable()) {
        m_doc->SaveFailed(m_doc->State().problem);
        if (m_doc->m_batchDepth > 0)
            m_doc->m_batchRefused = true;
        return false;
    }
    bool changed;
    if (key.isNull())
        changed = m_doc->DeleteSection(sectionName);
    else if (value.isNull() || (!def.isNull() && value == def))
        changed = m_doc->DeleteEntry(sectionName, keyName);
    else
        changed = m_doc->SetEntry(sectionName, keyName, WithoutLineBreaks(value));
    return m_doc->Finish(changed);
}

namespace {

// One limiter per file and kind of warning, so that a lasting fault of one file does not hide the
// first warning about another. Bounded: a flood of names starts the table afresh.
long long AllowWarning(const QString& key)
{
    static std::mutex mutex;
    static std::unordered_map<QString, std::unique_ptr<CWarningLimiter>> limiters;
    const std::lock_guard lock(mutex);
    if (limiters.size() >= 256)
        limiters.clear();
    auto& limiter = limiters[key];
    if (!limiter)
        limiter = std::make_unique<CWarningLimiter>();
    return limiter->Allow();
}
} // namespace

void WarnSaveFailed(const QString& path, const QString& reason)
{
    if (const auto more = AllowWarning(QStringLiteral("save:") + path); more >= 0)
        qCWarning(lcConfig).noquote() << "cannot save" << path << "-" << reason
                                      << "(the program's memory and the file differ until a save succeeds)"
                                      << CWarningLimiter::MoreText(more);
}

QString CProfile::SaveProblem() const
{
    std::lock_guard lock(m_doc->m_mutex);
    return m_doc->m_saveProblem;
}

CProfile CProfile::InMemory()
{
    auto doc = std::make_shared<CProfileDocument>(QString());
    doc->m_memoryOnly = true;
    CProfile profile { QString() };
    profile.m_doc = std::move(doc);
    return profile;
}

CProfile::CNoLockWait::CNoLockWait()
    : m_before(t_noLockWait)
{
    t_noLockWait = true;
}

CProfile::CNoLockWait::~CNoLockWait()
{
    t_noLockWait = m_before;
}

QString CProfile::SectionText(const QString& section) const
{
    std::lock_guard lock(m_doc->m_mutex);
    m_doc->Refresh();
    return m_doc->SectionText(TrimmedName(WithoutLineBreaks(section)));
}

CProfile::CFileState CProfile::State() const
{
    std::lock_guard lock(m_doc->m_mutex);
    m_doc->Refresh();
    return m_doc->State();
}

bool CProfile::HasSection(const QString& section) const
{
    std::lock_guard lock(m_doc->m_mutex);
    m_doc->Refresh();
    return m_doc->HasSection(TrimmedName(WithoutLineBreaks(section)));
}

void CProfile::ReleaseParsed()
{
    std::lock_guard lock(m_doc->m_mutex);
    if (m_doc->m_batchDepth == 0 && !m_doc->m_memoryOnly)
        m_doc->Unload(true);
}

int CProfile::GetSectionNames(QStringList& names) const
{
    std::lock_guard lock(m_doc->m_mutex);
    m_doc->Refresh();
    return m_doc->SectionNames(names);
}

void CProfile::DropCachedFiles()
{
    std::vector<std::shared_ptr<CProfileDocument>> documents;
    {
        CDocumentMap& map = Documents();
        std::lock_guard lock(map.mutex);
        documents.reserve(map.documents.size());
        for (const auto& doc : std::as_const(map.documents))
            documents.push_back(doc);
    }
    for (const auto& doc : documents) {
        std::lock_guard lock(doc->m_mutex);
        if (doc->m_batchDepth == 0)
            doc->Unload(true);
    }
}

CProfile::Batch::Batch(const CProfile& profile, EIntent intent)
    : m_doc(profile.m_doc)
    , m_lock(m_doc->m_mutex)
{
    if (intent == EIntent::ReadModifyWrite && m_doc->m_batchDepth == 0) {
        bool busy = false;
        if (!m_doc->LockFile(&busy) && busy) {
            qCWarning(lcConfig).noquote()
                << QStringLiteral("%1 is locked by another program; read and written without waiting for it")
                       .arg(profile.Path());
        }
    }
    m_doc->Refresh();
    ++m_doc->m_batchDepth;
}

CProfile::Batch::~Batch()
{
    Commit();
}

bool CProfile::Batch::Commit()
{
    if (m_done)
        return m_result;
    m_done = true;
    if (--m_doc->m_batchDepth == 0 && m_doc->m_dirty) {
        m_doc->m_dirty = false;
        m_result = m_doc->Store();
    }
    if (m_doc->m_batchDepth == 0 && std::exchange(m_doc->m_batchRefused, false))
        m_result = false;
    if (m_doc->m_batchDepth == 0)
        m_doc->UnlockFile();
    m_lock.unlock();
    return m_result;
}

// CSection

namespace {

bool NeedsQuotes(const QString& text)
{
    if (text.isEmpty())
        return false;
    if (IsBlank(text.front()) || IsBlank(text.back()))
        return true;
    return text.size() >= 2 && (text.front() == u'"' || text.front() == u'\'') && text.back() == text.front();
}

} // namespace

CSection::CSection(CProfile& profile, const QString& baseName, int index)
    : m_profile(profile)
    , m_name(index > 0 ? baseName + QString::number(index) : baseName)
{ }

void CSection::Read(const QString& key, QString& out, const QString& def) const
{
    out = m_profile.ReadString(m_name, key, def);
}

void CSection::Read(const QString& key, int& out, int def) const
{
    out = m_profile.ReadInt(m_name, key, def);
}

void CSection::Read(const QString& key, long& out, long def) const
{
    out = ScanLong(m_profile.ReadString(m_name, key, QString::number(def)));
}

void CSection::Read(const QString& key, bool& out, bool def) const
{
    out = m_profile.ReadInt(m_name, key, def ? 1 : 0) != 0;
}

bool CSection::Write(const QString& key, const QString& text, const QString& def)
{
    if (text.isNull() || (!def.isNull() && text == def))
        return DeleteKey(key);
    QString value = WithoutLineBreaks(text);
    if (NeedsQuotes(value))
        value = u'"' + value + u'"';
    return m_profile.WriteString(m_name, key, value);
}

bool CSection::Write(const QString& key, int value)
{
    return m_profile.WriteString(m_name, key, QString::number(value));
}

bool CSection::Write(const QString& key, int value, int def)
{
    if (value == def)
        return DeleteKey(key);
    return Write(key, value);
}

bool CSection::Write(const QString& key, long value)
{
    return m_profile.WriteString(m_name, key, QString::number(value));
}

bool CSection::Delete()
{
    return m_profile.WriteString(m_name, QString(), QString());
}

bool CSection::DeleteKey(const QString& key)
{
    return m_profile.WriteString(m_name, key, QString());
}

void ClearNumberedSection(CProfile& profile, const QString& baseName, int index)
{
    CProfile::Batch batch(profile);
    CSection(profile, baseName, index).Delete();
    if (index < INT_MAX)
        CSection(profile, baseName, index + 1).Delete();
}

void WarnIfListStopped(CProfile& profile, const QString& baseName, qsizetype index)
{
    const QString name = baseName + QString::number(index);
    if (!profile.HasSection(name))
        return;
    if (const auto more = AllowWarning(QStringLiteral("list:") + baseName + u':' + profile.Path()); more >= 0)
        qCWarning(lcConfig).noquote()
            << "the list" << baseName << "stopped loading at section [" + name + "] of" << profile.Path()
            << "(no name, or a date or time that does not read): the records from"
               " there on stay in the file but are not used"
            << CWarningLimiter::MoreText(more);
}
