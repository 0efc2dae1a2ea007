#pragma once

#include <memory>

#include <QByteArray>
#include <QtGlobal>

// Whether a file may have changed since it was last looked at, answered without asking the file
// system each time. One inotify instance per process watches the folders of the watched files;
// every event on a file's name (written, its attributes changed, created, removed, renamed away or
// replaced by a rename) and every event on the folder itself counts as a change. Events are read
// by the asking thread before it answers, so a change another program made before the question
// is always seen.
//
// Use: ask Unchanged(); when it says no, call Checking(), look at the file (stat), then Trust()
// with whether the watch can vouch for that file. It cannot for a symbolic link (its target may
// live elsewhere), a file with more than one name (written through another folder), a file whose
// folder cannot be watched, or when the process has no watches left; then every question answers
// "may have changed" and the caller looks at the file each time, as without a watch. Whatever the
// events say, a file is looked at again at least once a second, which bounds what no event
// reports (a folder further up renamed, a network file system changed on another machine).
//
// Not thread-safe on its own: one CFileWatch per file, used under its owner's lock.
class CFileWatch
{
public:
    struct CEntry;

    explicit CFileWatch(QByteArray encodedPath);
    ~CFileWatch();
    CFileWatch(const CFileWatch&) = delete;
    CFileWatch& operator=(const CFileWatch&) = delete;

    // True when the file is known unchanged since the last Checking().
    bool Unchanged();
    // The file is about to be looked at: changes from now on count.
    void Checking();
    // What was looked at may be vouched for by the watch from now on.
    void Trust(bool trustworthy);

    // The longest time a file is trusted without looking at it.
    static constexpr qint64 kRecheckNs = 1'000'000'000;

    // A thread that waits in an event loop may wait on the watch's descriptor too (readable while
    // events are queued; -1 when there is no watch) and take the events in with TakeEvents()
    // before it handles what woke it. While such a thread holds a CLoopTakesEvents, its questions
    // trust what was taken in last instead of asking the kernel for more: a change made before
    // the loop woke is in (the descriptor was readable by then), and one made later may as well
    // have come after the question. The socket's thread answers that way without a system call.
    static int EventDescriptor();
    static void TakeEvents();
    class CLoopTakesEvents
    {
    public:
        CLoopTakesEvents();
        ~CLoopTakesEvents();
        CLoopTakesEvents(const CLoopTakesEvents&) = delete;
        CLoopTakesEvents& operator=(const CLoopTakesEvents&) = delete;

    private:
        const bool m_before;
    };

private:
    const QByteArray m_path;
    std::shared_ptr<CEntry> m_entry;
    quint64 m_seen = 0;
    qint64 m_checkedAtNs = 0;
    qint64 m_registerTriedNs = 0;
    bool m_trusted = false;
};
