#pragma once

#include <optional>
#include <utility>

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include "schedule/DateTime.h"
#include "schedule/DispatchRange.h"
#include "schedule/ServerQuery.h"
#include "support/TextEncoding.h"

class CPageTargetArray;

// The colour of text on a 0x00BBGGRR colour: black (0) or white (0x00FFFFFF), whichever has the
// higher contrast ratio by the relative luminance of WCAG 2 (black from a luminance of about 0.179
// up, so names on pure blue are white and on pure red black). The planner, the print and the
// exports all draw names by it.
quint32 TextColourOn(quint32 colour);

// A receiver or an alarm group of the alarm server, with its dispatch plan and per-target
// settings. Plain value: copies carry the range array with them. Nothing here locks: the engine
// serialises the access of its threads to the list of targets; every operation is re-entrant.
//
// The alarm server is asked through CServerQuery:
//   "[GetValue(Setup.Targets)]"   lines separated by CR LF, each "name<TAB>...", five fields
//   "[GetTarget3(<name>)]"         tab-separated fields; 2 the number, 15 the ID, 17 the colour
//   "[GetGroupMembers(<name>)]"    the member names, tab-separated
// Fields are split outside double quotes, and one enclosing pair of quotes is removed.
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

    // Asks the server for the details of the target named m_name and takes the number, the ID and
    // the colour from the reply; a group then asks for its members (their failure is no failure
    // of the details). Finally the dispatch file is read and its time stored in the memo (a
    // missing dispatch file leaves no ranges and the memo 0). False, with nothing changed, when
    // the call fails or the reply has fewer than 17 fields.
    bool FetchDetails(const CServerQuery& query);
    // Asks the server for the members of the group named m_name: m_members becomes the reply with
    // every tab replaced by ";". False, with the members unchanged, when the call fails.
    bool FetchMembers(const CServerQuery& query);

    // The receivers this target stands for, joined with ";" (a name holding ";" is enclosed in
    // quotes): a receiver its own name, a group the receivers of its members, found by name in
    // `targets` (unknown names skipped), each name once, in order of first appearance, empty names
    // left out. A group met a second time while its receivers are collected - because it contains
    // itself, directly or through other groups, or because two member groups share it - adds
    // nothing more: a group that contains itself gives the receivers reachable from it, and a
    // group consisting only of itself gives "". Depth-first with an explicit stack, so a deep
    // chain of groups cannot exhaust the call stack; linear in the members visited.
    QString GetReceivers(const CPageTargetArray& targets) const;
    // The first of the members, in member-list order, that `targets` holds (by name) and that is
    // on duty at the moment; null when there is none. The pointer is valid while `targets` is
    // not changed.
    const CPageTarget* CurrentDutyMember(const CPageTargetArray& targets, const CDateTime& moment) const;
    // Whether the name is one of the names of the member list (exact comparison). Only a member
    // can hold a takeover group's duty.
    bool HasMember(const QString& name) const;

    // Settings/CurrentTargetID of the dispatch file ("" when missing, or when the ID has no
    // dispatch file). Read through the profile functions on every call, so a change by another
    // thread or by hand is seen at once; an unchanged file costs one status check of the file.
    // While a written holder could not be stored, that holder (kept in memory) is the answer.
    QString ReadCurrentTargetId() const;
    // Writes Settings/CurrentTargetID into the dispatch file (quoted when it has a blank at either
    // end; a new key goes to the end of the section, after the ranges, until the next
    // SaveDispatchFile puts it after Takeover) and empties m_pendingTakeover. Neither the target's
    // own memo nor the configuration file's is touched, so the next change check reloads the
    // dispatch file and still notices a hand edit of the configuration file. A null text is written as
    // an empty value. False when the file could not be written; with an ID that has no dispatch
    // file nothing is written and nothing recorded, but the pending takeover is emptied all the
    // same. A value the file did not take is kept in memory (ReadCurrentTargetId answers with it)
    // until a later write or RetryUnsavedWrites stores it.
    bool WriteCurrentTargetId(const QString& text);
    // Stores a current target ID that an earlier write could not; true when nothing is left
    // unsaved. The pending takeover is left as it is.
    bool RetryUnsavedWrites();
    bool HasUnsavedWrites() const { return m_unsavedCurrentTargetId.has_value(); }

    // The colour of a name drawn on m_colour (TextColourOn).
    quint32 TextColour() const;

    // Whether the ID can name a dispatch file (see above).
    static bool IsSafeFileId(const QString& id);
    // <folder>/<id>.tim; empty when the folder is empty or the ID cannot name a file.
    static QString DispatchFilePathIn(const QString& folder, const QString& id);
    // The dispatch file in the folder of the configuration file in use (ConfigLocation()); empty
    // when no configuration file is set or the ID cannot name a file.
    QString DispatchFilePath() const;
    QString DispatchFilePath(const QString& folder) const { return DispatchFilePathIn(folder, m_id); }

    // Replaces the ranges (and the takeover flag, from a "Takeover=" line) with the file's
    // content. False when the file is missing or cannot be taken (m_fileProblem says why: not a
    // plain file, unreadable, too large, not text); the ranges and the flag stay as they were.
    // A file whose last line has no line end sets m_fileUnfinished and, with `holdUnfinished`, is
    // not taken either. The memo is not touched.
    bool LoadDispatchFile(bool holdUnfinished = false);
    // Rewrites the file atomically from the name, the takeover flag (groups), the current target
    // ID carried over from the old file (groups with the takeover flag) and the ranges, then
    // stores the file's modification time in the memo. False when the file could not be replaced;
    // the old file is then unchanged.
    bool SaveDispatchFile(QString* reason = nullptr);
    // Whether the dispatch file's modification time differs from the memo. When a master
    // configuration file is set and the master dispatch file (same name, beside the master) is
    // more than two seconds newer than the local one, or the local one is missing, the master
    // file is first copied over the local one with its time stamps.
    // A newer master file modified within the last two seconds is not copied yet and sets
    // *recheckDue.
    bool DispatchFileChanged(bool* recheckDue = nullptr) const;
    // When the file changed: takes its time into the memo, loads it and returns true. A file
    // modified within the last two seconds may be half written: it is left for a second look
    // (false, memo unchanged, *recheckDue set); so is one whose last line has no line end, until it
    // has been left alone for kUnfinishedGraceNs (then it is taken, m_fileUnfinished set). A file
    // that cannot be taken, or that is gone after it was read, leaves the plan in force: false,
    // memo unchanged (the next check looks again), m_fileProblem says why.
    bool ReloadIfChanged(bool* recheckDue = nullptr);
    // How long a file without a line end at its end is waited for before it is taken.
    static constexpr qint64 kUnfinishedGraceNs = 60'000'000'000;
    // The memo of a file that was not taken.
    static constexpr qint64 kNotTaken = -1;
    // The most members CoverageRequired asks for.
    static constexpr int kMaxCoverageRequired = 99;

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
    // A Windows colour value 0x00BBGGRR, red in the lowest byte.
    quint32 m_colour = 0;
    // Groups: member names separated by ";".
    QString m_members;
    // The dispatch file's modification time (ns since the epoch) as last read or written.
    qint64 m_fileTimeMemo = 0;
    CDispatchRangeArray m_ranges;
    // Groups: takeover of duty is active.
    bool m_takeover = false;
    // Groups: how many members the coverage guard wants on duty while the group is (Settings/
    // CoverageRequired of the dispatch file); 0 leaves the group out, -1 when the file does not say.
    int m_coverageRequired = -1;
    // The ID of the member asked to take over; emptied whenever the current target ID is written.
    QString m_pendingTakeover;
    // Groups: a current target ID whose write failed; it holds until the file takes it.
    std::optional<QString> m_unsavedCurrentTargetId;
    // Why the dispatch file could not be taken at the last load (empty when it was, or is missing).
    QString m_fileProblem;
    // The last load found no line end at the end of the file.
    bool m_fileUnfinished = false;
    // The encoding the file was read in, and is written back in.
    ETextForm m_fileForm = ETextForm::Utf8;
};

// The page targets in the order of the server's target list, with hash indexes by ID and by name
// for the lookups of the dispatch check. The list only grows by append and is emptied by clear;
// both keep the indexes. Rule for holders of a mutable element (operator[], the non-const
// iterators, FindById/FindByName): the ID and the name of a target are fixed once it is in the
// list - change anything else, or rebuild the list. (Debug builds assert the rule on lookup.)
// Pointers and references to elements are valid until the list is changed, and in a copy of an
// array (the elements are shared until then) until its first non-const access.
class CPageTargetArray
{
public:
    using const_iterator = QList<CPageTarget>::const_iterator;
    using iterator = QList<CPageTarget>::iterator;

    // Empties the list, then asks the server for its targets: "[GetValue(Setup.Targets)]", split
    // into lines at CR LF and each line at tabs (outside quotes); a line of exactly five fields
    // names a target by its first field, whose details are fetched (CPageTarget::FetchDetails);
    // the targets whose details arrive are appended in reply order. False, with the list empty,
    // when the call fails or the reply is empty.
    //
    // `outcome` (when given) tells a server that answered from one that did not: Fetched, or
    // EmptyList when the server answered with no targets (the list is known, and empty);
    // Unreachable when the list call itself failed (no bus, no server, an error, no reply in time);
    // Incomplete when the list came but the details call of a target failed, so that target is
    // missing. Only Fetched and EmptyList give a list that asking again would not change.
    enum class EFetchOutcome { Fetched, EmptyList, Unreachable, Incomplete };
    bool FetchFromServer(const CServerQuery& query, EFetchOutcome* outcome = nullptr);

    // The first target, in list order, whose ID / name equals the text exactly (case-sensitive);
    // null when there is none. A hash lookup, no scan.
    const CPageTarget* FindById(const QString& id) const { return Lookup(m_byId, id, &CPageTarget::m_id); }
    CPageTarget* FindById(const QString& id)
    {
        return const_cast<CPageTarget*>(std::as_const(*this).FindById(id));
    }
    const CPageTarget* FindByName(const QString& name) const
    {
        return Lookup(m_byName, name, &CPageTarget::m_name);
    }
    CPageTarget* FindByName(const QString& name)
    {
        return const_cast<CPageTarget*>(std::as_const(*this).FindByName(name));
    }

    // The number of ranges of all targets whose date lies in [first, last]
    // (CDispatchRangeArray::CountInPeriod); when `names` is given, the name of every target with
    // at least one such range is appended to it, in list order.
    qsizetype CountRangesInPeriod(
        const CDateTime& first, const CDateTime& last, QStringList* names = nullptr) const;

    void append(const CPageTarget& target);
    void append(CPageTarget&& target);
    void clear();
    void reserve(qsizetype size);

    qsizetype size() const { return m_targets.size(); }
    bool isEmpty() const { return m_targets.isEmpty(); }
    const CPageTarget& at(qsizetype i) const { return m_targets.at(i); }
    const CPageTarget& operator[](qsizetype i) const { return m_targets[i]; }
    CPageTarget& operator[](qsizetype i) { return m_targets[i]; }
    const_iterator begin() const { return m_targets.cbegin(); }
    const_iterator end() const { return m_targets.cend(); }
    iterator begin() { return m_targets.begin(); }
    iterator end() { return m_targets.end(); }

private:
    const CPageTarget* Lookup(
        const QHash<QString, qsizetype>& index, const QString& key, QString CPageTarget::*field) const;
    void IndexLast();

    QList<CPageTarget> m_targets;
    // The list position of the first target with that ID / name.
    QHash<QString, qsizetype> m_byId;
    QHash<QString, qsizetype> m_byName;
};
