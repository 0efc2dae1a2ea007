#include "engine/CalendarWriter.h"

CCalendarWriter::~CCalendarWriter()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void CCalendarWriter::SetFolder(const QString& folder)
{
    const std::lock_guard lock(m_mutex);
    m_folder = folder;
}

QString CCalendarWriter::Folder() const
{
    const std::lock_guard lock(m_mutex);
    return m_folder;
}

void CCalendarWriter::Request(const CPageTargetArray& targets, QDate today, const QDateTime& stamp)
{
    // Only what the calendars are made of, so that nothing another thread may change is shared.
    SRequest request { CPageTargetArray(), today, stamp, QString() };
    for (const CPageTarget& target : targets) {
        CPageTarget view;
        view.m_number = target.m_number;
        view.m_id = target.m_id;
        view.m_name = target.m_name;
        view.m_ranges = target.m_ranges;
        view.m_fileTimeMemo = target.m_fileTimeMemo;
        request.targets.append(std::move(view));
    }
    {
        const std::lock_guard lock(m_mutex);
        request.folder = m_folder;
        m_pending = std::move(request);
        if (!m_thread.joinable())
            m_thread = std::thread([this] { Run(); });
    }
    m_changed.notify_all();
}

void CCalendarWriter::Wait()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_pending && !m_writing; });
}

void CCalendarWriter::Run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_stop || m_pending; });
        // The last request is written before the thread ends.
        if (!m_pending)
            return;
        SRequest request = std::move(*m_pending);
        m_pending.reset();
        m_writing = true;
        lock.unlock();
        if (request.folder != m_calendar.Folder())
            m_calendar.SetFolder(request.folder);
        m_calendar.Update(request.targets, request.today, request.stamp);
        lock.lock();
        m_writing = false;
        m_changed.notify_all();
    }
}
