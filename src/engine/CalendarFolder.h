#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QString>

#include "support/Warning.h"

class CPageTargetArray;

// The calendar folder: one iCalendar file per page target, named after its dispatch file
// (<ID>.ics, see TargetFileName), and all-receivers.ics / all-groups.ics, each over
// DefaultCalendarSpan(today). The folder is used only when it is this user's own, a real folder (not
// a link) that no other user may write into; otherwise nothing is written and a warning says why. Every
// file is replaced atomically (a temporary file ".<name>.XXXXXX" in the folder, then a rename), so
// a web server serving the folder never hands out half a file. The files are readable by everyone
// (mode 0644): they are there to be served.
//
// Update() compares each target with what it last wrote (the dispatch file's time memo, the name,
// receiver or group) and rewrites only the files of targets that changed, plus the "all" file of
// their kind; the events of a target are kept as written, so an "all" file is put together without
// reading any other target's ranges again. A new day moves the span and rewrites everything. A
// target that left the list loses its file; so, at the first update in a folder, does every file of
// the folder's own naming ("*.ics", plain files) whose target is no longer listed (one that left
// while the program was not running). A file that could not be written is tried again at the
// next update; the failure is a warning (at most one a minute), never an error of the engine.
class CCalendarFolder
{
public:
    static constexpr const char* kAllReceivers = "all-receivers.ics";
    static constexpr const char* kAllGroups = "all-groups.ics";

    // The file of a target's calendar: "<ID>.ics", except for the IDs whose file would be a combined
    // calendar's ("all-receivers", "all-groups"): "<ID>..target.ics" (no ID can hold "..").
    static QString TargetFileName(const QString& id);

    // An empty folder turns the calendar folder off. A different folder is written whole at the
    // next update.
    void SetFolder(const QString& folder);
    const QString& Folder() const { return m_folder; }

    // Brings the folder up to date with `targets`. `stamp` is the DTSTAMP of the events written
    // now (UTC). Returns the number of files written. Reads the targets' names, IDs, numbers,
    // members, ranges and time memos, a takeover group's holder from its dispatch file, and the
    // site's zone and installation ID from the configuration file in use.
    int Update(const CPageTargetArray& targets, QDate today, const QDateTime& stamp);

private:
    struct SKnown
    {
        qint64 m_memo = 0;
        QString m_name;
        bool m_group = false;
        // The target's VEVENT lines, as in its own file.
        QByteArray m_events;
    };
    bool WriteFile(const QString& name, const QByteArray& bytes);
    void RemoveUnlisted(const CPageTargetArray& targets);
    void Warn(const QString& text);

    QString m_folder;
    QDate m_day; // the day of the span written; another day rewrites everything
    bool m_swept = false; // the files of targets no longer listed were removed
    QHash<QString, SKnown> m_known; // by target ID: what its file holds
    bool m_allDirty[2] = { true, true }; // receivers, groups: the "all" file is to be written
    CWarningLimiter m_warning;
};
