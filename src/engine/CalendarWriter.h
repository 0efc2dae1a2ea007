#pragma once

#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

#include <QDate>
#include <QDateTime>
#include <QString>

#include "engine/CalendarFolder.h"
#include "schedule/PageTarget.h"

// Keeps the calendar folder up to date on a thread of its own, so that rewriting it (about 0.7 s
// for a thousand targets) never holds up the thread that asks, the window's among them.
//
// Request() hands over what the calendars are made of (each target's ID, name, number, ranges and
// time memo; copies that share their data with the caller's until either changes) and returns at
// once; a request that has not been started yet is replaced by a newer one. The thread starts with
// the first request and ends with the object, after the request it is writing.
class CCalendarWriter
{
public:
    CCalendarWriter() = default;
    ~CCalendarWriter();
    CCalendarWriter(const CCalendarWriter&) = delete;
    CCalendarWriter& operator=(const CCalendarWriter&) = delete;

    // The folder; empty turns the calendar folder off. Takes effect with the next request.
    void SetFolder(const QString& folder);
    QString Folder() const;

    void Request(const CPageTargetArray& targets, QDate today, const QDateTime& stamp);
    // Waits until every request made so far is written (tests, and the end of the program).
    void Wait();

private:
    struct SRequest
    {
        CPageTargetArray targets;
        QDate today;
        QDateTime stamp;
        QString folder;
    };
    void Run();

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    QString m_folder;
    std::optional<SRequest> m_pending;
    bool m_writing = false;
    bool m_stop = false;
    CCalendarFolder m_calendar; // only the thread touches it
    std::thread m_thread;
};
