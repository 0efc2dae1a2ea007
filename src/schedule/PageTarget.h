#pragma once

#include <QString>

#include "schedule/DateTime.h"
#include "schedule/DispatchRange.h"

// A receiver or an alarm group of the alarm server, with its dispatch plan and per-target
// settings. Plain value: copies carry the range array with them.
//
// Dispatch file: <folder of the configuration file>/<ID>.tim, lines separated by CR LF, UTF-8
// (a file that is not valid UTF-8 is read as Windows-1252):
//
//     [Settings]
//     Name=Service North
//     Takeover=1                      groups only
//     CurrentTargetID=17              groups with takeover, when the file held one
//     20240304=07:00-15:30            one line per range, in array order
//
// The ID comes from the alarm server and names a file. An ID that could reach outside the data
// folder or that is not a plain file name (empty, containing "/", "\", ".." or control
// characters) has no dispatch file: loading fails, saving refuses and the target keeps its
// ranges in memory only.
class CPageTarget
{
public:
    // The longest line of a dispatch file; the rest of a longer line is read as a line of its own.
    static constexpr qsizetype kMaxLineBytes = 4096;

    bool IsGroup() const { return m_number < 0; }

    // Whether the ID can name a dispatch file (see above).
    static bool IsSafeFileId(const QString& id);
    // <folder>/<id>.tim; empty when the folder is empty or the ID cannot name a file.
    static QString DispatchFilePathIn(const QString& folder, const QString& id);
    // The dispatch file in the folder of the configuration file in use (ConfigLocation()); empty
    // when no configuration file is set or the ID cannot name a file.
    QString DispatchFilePath() const;
    QString DispatchFilePath(const QString& folder) const { return DispatchFilePathIn(folder, m_id); }

    // Replaces the ranges (and the takeover flag, from a "Takeover=" line) with the file's
    // content. False when the file cannot be opened or read; the ranges and the flag stay as they
    // were. The memo is not touched.
    bool LoadDispatchFile();
    // Rewrites the file atomically from the name, the takeover flag (groups), the current target
    // ID carried over from the old file (groups with the takeover flag) and the ranges, then
    // stores the file's modification time in the memo. False when the file could not be replaced;
    // the old file is then unchanged.
    bool SaveDispatchFile();
    // Whether the dispatch file's modification time differs from the memo. When a master
    // configuration file is set and the master dispatch file (same name, beside the master) is
    // more than two seconds newer than the local one, or the local one is missing, the master
    // file is first copied over the local one with its time stamps.
    bool DispatchFileChanged() const;
    // When the file changed: takes its time into the memo, loads it and returns true.
    bool ReloadIfChanged();

    // A target without any range is on duty at every moment; otherwise some range must have the
    // moment's date and contain the moment's minute of the day. Allocates nothing: it runs for
    // every dispatch check of the alarm server.
    bool IsOnDuty(const CDateTime& moment) const { return m_ranges.isEmpty() || m_ranges.Covers(moment); }

    // Negative for a group, zero or positive for a receiver.
    int m_number = 0;
    // The key of the target; names its dispatch file.
    QString m_id;
    // The display name; also the key in member lists.
    QString m_name;
    // A Windows colour value, red in the lowest byte.
    quint32 m_colour = 0;
    // Groups: member names separated by ";".
    QString m_members;
    // The dispatch file's modification time (ns since the epoch) as last read or written.
    qint64 m_fileTimeMemo = 0;
    CDispatchRangeArray m_ranges;
    // Groups: takeover of duty is active.
    bool m_takeover = false;
    // The ID of the member asked to take over; emptied whenever the current target ID is written.
    QString m_pendingTakeover;
};
