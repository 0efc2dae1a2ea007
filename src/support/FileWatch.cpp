#include "support/FileWatch.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <mutex>
#include <pthread.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <unistd.h>
#include <unordered_map>
#include <utility>

#include <QHash>

#include "support/Trace.h"

struct CFileWatch::CEntry
{
    quint64 changes = 0;
    // The folder's watch stands; false once the folder was removed, renamed or unmounted.
    bool active = true;
    int users = 0;
    int wd = -1;
    QByteArray name;
};

namespace {

using CEntry = CFileWatch::CEntry;

constexpr uint32_t kFolderEvents = IN_MODIFY | IN_ATTRIB | IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO
    | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

qint64 MonotonicNs()
{
    timespec ts {};
    clock_gettime(CLOCK_MONOTONIC_COARSE, &ts);
    return qint64(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

class CWatcher
{
public:
    CWatcher()
    {
        pthread_atfork(nullptr, nullptr, [] { Instance().ForgetInChild(); });
    }

    static CWatcher& Instance()
    {
        // Never destroyed: files may still be read while static objects are torn down.
        static CWatcher* watcher = new CWatcher;
        return *watcher;
    }

    std::shared_ptr<CEntry> Register(const QByteArray& path)
    {
        const qsizetype slash = path.lastIndexOf('/');
        if (slash < 0 || slash + 1 == path.size())
            return nullptr;
        const QByteArray folder = slash == 0 ? QByteArray("/") : path.left(slash);
        const QByteArray name = path.mid(slash + 1);
        const std::lock_guard lock(m_mutex);
        if (!Open())
            return nullptr;
        Drain();
        const int wd = inotify_add_watch(m_fd, folder.constData(), kFolderEvents);
        if (wd < 0) {
            if (errno == ENOSPC && !m_warnedNoWatches) {
                m_warnedNoWatches = true;
                qCWarning(lcConfig) << "no inotify watches left (fs.inotify.max_user_watches): files are"
                                    << "looked at on every use, which makes answers slower";
            }
            return nullptr;
        }
        std::shared_ptr<CEntry>& entry = m_folders[wd][name];
        if (!entry) {
            entry = std::make_shared<CEntry>();
            entry->wd = wd;
            entry->name = name;
        }
        ++entry->users;
        return entry;
    }

    void Unregister(const std::shared_ptr<CEntry>& entry)
    {
        const std::lock_guard lock(m_mutex);
        if (--entry->users > 0 || !entry->active)
            return;
        const auto folder = m_folders.find(entry->wd);
        if (folder == m_folders.end())
            return;
        folder->second.remove(entry->name);
        if (folder->second.isEmpty()) {
            inotify_rm_watch(m_fd, entry->wd);
            m_folders.erase(folder);
        }
    }

    // The entry's change count once the pending events are taken in (unless the asking thread's
    // loop takes them in); false when the entry's folder is no longer watched.
    bool Current(const CEntry& entry, quint64& changes, bool drain = true)
    {
        const std::lock_guard lock(m_mutex);
        if (drain)
            Drain();
        changes = entry.changes;
        return entry.active;
    }

    int Descriptor()
    {
        const std::lock_guard lock(m_mutex);
        return Open() ? m_fd : -1;
    }

    void TakeEvents()
    {
        const std::lock_guard lock(m_mutex);
        Drain();
    }

private:
    bool Open()
    {
        if (m_fd >= 0)
            return true;
        if (m_failed)
            return false;
        m_fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (m_fd < 0) {
            m_failed = true;
            qCWarning(lcConfig) << "cannot watch files for changes (" << strerror(errno)
                                << "): files are looked at on every use, which makes answers slower";
            return false;
        }
        return true;
    }

    // A forked child shares the parent's inotify instance: reading it would take the parent's
    // events, so the child looks at its files every time.
    void ForgetInChild()
    {
        m_fd = -1;
        m_failed = true;
        for (auto& [wd, files] : m_folders) {
            for (const auto& entry : std::as_const(files))
                entry->active = false;
        }
        m_folders.clear();
    }

    void Drain()
    {
        if (m_fd < 0)
            return;
        // Asking how much is queued costs less than a read that finds nothing.
        int queued = 0;
        if (ioctl(m_fd, FIONREAD, &queued) == 0 && queued == 0)
            return;
        alignas(inotify_event) char buffer[16 * 1024];
        for (;;) {
            const ssize_t got = read(m_fd, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                return;
            for (ssize_t at = 0; at + ssize_t(sizeof(inotify_event)) <= got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                Take(*event);
                at += ssize_t(sizeof(inotify_event)) + event->len;
            }
        }
    }

    void Take(const inotify_event& event)
    {
        if (event.mask & IN_Q_OVERFLOW) {
            // Events were lost: every file counts as changed.
            for (auto& [wd, files] : m_folders) {
                for (const auto& entry : std::as_const(files))
                    ++entry->changes;
            }
            return;
        }
        const auto folder = m_folders.find(event.wd);
        if (folder == m_folders.end())
            return;
        if (event.len > 0) {
            const QByteArray name(event.name, qsizetype(strnlen(event.name, event.len)));
            if (const auto entry = folder->second.constFind(name); entry != folder->second.cend())
                ++(*entry)->changes;
            return;
        }
        // The folder itself: its rights changed, or it is gone from where the files are looked for.
        for (const auto& entry : std::as_const(folder->second))
            ++entry->changes;
        if (event.mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT | IN_IGNORED)) {
            for (const auto& entry : std::as_const(folder->second))
                entry->active = false;
            if (!(event.mask & IN_IGNORED))
                inotify_rm_watch(m_fd, event.wd);
            m_folders.erase(folder);
        }
    }

    std::mutex m_mutex;
    int m_fd = -1;
    bool m_failed = false;
    bool m_warnedNoWatches = false;
    std::unordered_map<int, QHash<QByteArray, std::shared_ptr<CEntry>>> m_folders;
};

thread_local bool t_loopTakesEvents = false;

} // namespace

int CFileWatch::EventDescriptor()
{
    return CWatcher::Instance().Descriptor();
}

void CFileWatch::TakeEvents()
{
    CWatcher::Instance().TakeEvents();
}

CFileWatch::CLoopTakesEvents::CLoopTakesEvents()
    : m_before(t_loopTakesEvents)
{
    t_loopTakesEvents = true;
}

CFileWatch::CLoopTakesEvents::~CLoopTakesEvents()
{
    t_loopTakesEvents = m_before;
}

CFileWatch::CFileWatch(QByteArray encodedPath)
    : m_path(std::move(encodedPath))
{ }

CFileWatch::~CFileWatch()
{
    if (m_entry)
        CWatcher::Instance().Unregister(m_entry);
}

bool CFileWatch::Unchanged()
{
    if (!m_trusted || MonotonicNs() - m_checkedAtNs >= kRecheckNs)
        return false;
    quint64 changes = 0;
    return CWatcher::Instance().Current(*m_entry, changes, !t_loopTakesEvents) && changes == m_seen;
}

void CFileWatch::Checking()
{
    m_trusted = false;
    const qint64 now = MonotonicNs();
    CWatcher& watcher = CWatcher::Instance();
    quint64 changes = 0;
    if (m_entry && !watcher.Current(*m_entry, changes)) {
        watcher.Unregister(m_entry);
        m_entry.reset();
    }
    // Once a second the watch is set again on the folder now at the path (the same one, unless
    // a folder further up was swapped).
    if (m_registerTriedNs == 0 || now - m_registerTriedNs >= kRecheckNs) {
        m_registerTriedNs = now;
        std::shared_ptr<CEntry> entry = watcher.Register(m_path);
        if (m_entry)
            watcher.Unregister(m_entry);
        m_entry = std::move(entry);
    }
    if (m_entry)
        watcher.Current(*m_entry, changes);
    m_seen = changes;
    m_checkedAtNs = now;
}

void CFileWatch::Trust(bool trustworthy)
{
    m_trusted = trustworthy && m_entry;
}
