#include "engine/CalendarFolder.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryFile>
#include <QTimeZone>

#include "schedule/ConfigLocation.h"
#include "schedule/DutyCalendar.h"
#include "schedule/PageTarget.h"
#include "support/PrivateFolder.h"
#include "support/Trace.h"

namespace {

const QByteArray kBeginEvent = QByteArrayLiteral("BEGIN:VEVENT\r\n");
const QByteArray kEndCalendar = QByteArrayLiteral("END:VCALENDAR\r\n");

// The VEVENT lines of a calendar the writer made (empty without events).
QByteArray EventLines(const QByteArray& calendar)
{
    const qsizetype begin = calendar.indexOf(kBeginEvent);
    if (begin < 0)
        return QByteArray();
    return calendar.mid(begin, calendar.size() - kEndCalendar.size() - begin);
}

} // namespace

void CCalendarFolder::SetFolder(const QString& folder)
{
    if (folder == m_folder)
        return;
    m_folder = folder;
    m_known.clear();
    m_day = QDate();
    m_swept = false;
    m_allDirty[0] = m_allDirty[1] = true;
    m_warning.Reset();
}

QString CCalendarFolder::TargetFileName(const QString& id)
{
    const QString name = id + QStringLiteral(".ics");
    if (name == QLatin1String(kAllReceivers) || name == QLatin1String(kAllGroups))
        return id + QStringLiteral("..target.ics");
    return name;
}

int CCalendarFolder::Update(const CPageTargetArray& targets, QDate today, const QDateTime& stamp)
{
    if (m_folder.isEmpty())
        return 0;
    const bool existed = QFileInfo::exists(m_folder);
    if (!QDir().mkpath(m_folder)) {
        Warn(QStringLiteral("cannot create the calendar folder %1").arg(m_folder));
        return 0;
    }
    // Made here: this user's, readable by the web server that serves it, whatever the umask.
    if (!existed)
        ::chmod(QFile::encodeName(m_folder).constData(), 0755);
    // Planted links and folders others may write into would let them choose what is written where.
    if (QString why; !IsPrivateFolder(m_folder, &why)) {
        Warn(QStringLiteral("the calendar folder is not used: %1").arg(why));
        return 0;
    }
    if (today != m_day) {
        // The span moved: every file is written again.
        m_known.clear();
        m_allDirty[0] = m_allDirty[1] = true;
        m_day = today;
    }
    const auto [from, to] = DefaultCalendarSpan(today);
    // Read only: the engine makes the installation ID before it asks for calendars.
    const CCalendarOptions options = SiteCalendarOptions(ConfigLocation().ConfigPath(), &targets, false);
    if (!m_swept) {
        m_swept = true;
        RemoveUnlisted(targets);
    }

    int written = 0;
    QSet<QString> present;
    present.reserve(targets.size());
    for (const CPageTarget& target : targets) {
        if (!CPageTarget::IsSafeFileId(target.m_id))
            continue;
        present.insert(target.m_id);
        const auto known = m_known.constFind(target.m_id);
        if (known != m_known.cend() && known->m_memo == target.m_fileTimeMemo
            && known->m_name == target.m_name && known->m_group == target.IsGroup())
            continue;
        const QByteArray calendar
            = WriteCalendar(DutyEvents(target, from, to, options), target.m_name, stamp, options);
        // A target that changed kind leaves its old "all" file too.
        if (known != m_known.cend())
            m_allDirty[known->m_group ? 1 : 0] = true;
        m_allDirty[target.IsGroup() ? 1 : 0] = true;
        if (!WriteFile(TargetFileName(target.m_id), calendar)) {
            m_known.remove(target.m_id);
            continue;
        }
        ++written;
        m_known.insert(target.m_id,
            SKnown { target.m_fileTimeMemo, target.m_name, target.IsGroup(), EventLines(calendar) });
    }
    // Targets that left the list take their files with them.
    for (auto it = m_known.begin(); it != m_known.end();) {
        if (present.contains(it.key())) {
            ++it;
            continue;
        }
        m_allDirty[it->m_group ? 1 : 0] = true;
        const QString path = JoinPath(m_folder, TargetFileName(it.key()));
        if (QFile::exists(path) && !QFile::remove(path))
            Warn(QStringLiteral("cannot remove %1").arg(path));
        it = m_known.erase(it);
    }

    for (const int kind : { 0, 1 }) {
        if (!m_allDirty[kind])
            continue;
        const bool groups = kind == 1;
        QByteArray events;
        for (const CPageTarget& target : targets) {
            if (target.IsGroup() != groups)
                continue;
            if (const auto known = m_known.constFind(target.m_id); known != m_known.cend())
                events += known->m_events;
        }
        const QString name = groups ? QStringLiteral("All groups") : QStringLiteral("All receivers");
        QByteArray calendar;
        if (events.isEmpty()) {
            // Nobody's duty: the empty calendar with its zone.
            calendar = WriteCalendar({}, name, stamp, options);
        } else {
            CCalendarOptions frame = options;
            frame.zone = QTimeZone(); // the frame alone, the events go inside it
            calendar = WriteCalendar({}, name, stamp, frame);
            calendar.chop(kEndCalendar.size());
            calendar += events;
            calendar += kEndCalendar;
        }
        if (WriteFile(QString::fromLatin1(groups ? kAllGroups : kAllReceivers), calendar)) {
            m_allDirty[kind] = false;
            ++written;
        }
    }
    return written;
}

void CCalendarFolder::RemoveUnlisted(const CPageTargetArray& targets)
{
    QSet<QString> names { QString::fromLatin1(kAllReceivers), QString::fromLatin1(kAllGroups) };
    for (const CPageTarget& target : targets) {
        if (CPageTarget::IsSafeFileId(target.m_id))
            names.insert(TargetFileName(target.m_id));
    }
    const QFileInfoList files
        = QDir(m_folder).entryInfoList({ QStringLiteral("*.ics") }, QDir::Files | QDir::NoSymLinks);
    for (const QFileInfo& file : files) {
        if (names.contains(file.fileName()))
            continue;
        if (!QFile::remove(file.filePath()))
            Warn(QStringLiteral("cannot remove %1, the calendar of a target no longer listed")
                     .arg(file.filePath()));
        else
            KTRACE(lcEngine) << "removed" << file.filePath() << "- its target is no longer listed";
    }
}

bool CCalendarFolder::WriteFile(const QString& name, const QByteArray& bytes)
{
    // A temporary file in the folder, renamed over the old one: readers see the old file or the
    // new one, never a part. Unlike QSaveFile there is no sync to the disk: every file is written
    // again at each start, and a sync per file made a folder of a thousand targets take seconds.
    // The explicit flush: a failure of the last write of the buffer shows there, not at close.
    const QString path = JoinPath(m_folder, name);
    QTemporaryFile file(JoinPath(m_folder, QStringLiteral(".") + name + QStringLiteral(".XXXXXX")));
    bool ok = file.open() && file.write(bytes) == bytes.size() && file.flush()
        && file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
            | QFileDevice::ReadOther);
    QString reason = file.errorString();
    if (ok
        && ::rename(QFile::encodeName(file.fileName()).constData(), QFile::encodeName(path).constData())
            != 0) {
        reason = QString::fromLocal8Bit(std::strerror(errno));
        ok = false;
    }
    if (ok) {
        file.setAutoRemove(false);
        return true;
    }
    Warn(QStringLiteral("cannot write the calendar %1: %2").arg(path, reason));
    return false;
}

void CCalendarFolder::Warn(const QString& text)
{
    if (const auto more = m_warning.Allow(); more >= 0)
        qCWarning(lcEngine).noquote() << text + QStringLiteral("; the calendar folder is not up to date")
                + CWarningLimiter::MoreText(more);
}
