#pragma once

#include <QString>

class CPageTarget;
class CPageTargetArray;

// Result codes of a dispatch check, as the alarm server reads them. The decision itself yields
// only kDispatchSend or kDispatchNotDispatched; the other two belong to the reply's vocabulary.
inline constexpr int kDispatchSend = 0;
inline constexpr int kDispatchDiscard = 1;
inline constexpr int kDispatchDelay = 2;
inline constexpr int kDispatchNotDispatched = 3;

// "Send", "Discard", "Delay", "NotDispatched"; empty for any other code.
QString DispatchResultWord(int code);

// Whether the receiver with the ID `dispatchingId` is to be alerted for a message at `timeText`
// (any text DateTimeFromText reads; empty is now, unreadable text is a moment in no range) that
// goes through the alarm group `groupId` (empty: no group). Returns a result code.
//
// A takeover group (a group with its takeover flag on) that has a current target decides alone:
// its current target gets kDispatchSend, everybody else kDispatchNotDispatched. Otherwise the
// receiver's own plan decides (no ranges: always on duty); an unknown receiver is sent. When a
// takeover group without a current target lets its receiver through, that receiver becomes the
// group's current target when it is one of the group's members (by name); a receiver outside the
// member list never holds a group's duty. IDs compare exactly; a group ID naming a receiver is
// ignored.
//
// Reads `targets` (lookups, ranges, takeover flags) and the groups' dispatch files (the current
// target is read from the file on every check, so changes by hand are seen at once); may write
// one group's current target (its dispatch file and pending takeover). Takes no lock: the caller
// holds the lock that guards the page targets. With the trace category lcDispatch on, writes two
// trace texts; otherwise builds no text.
//
// `outcome`, when given, is told the group whose current target the check set (null when it set
// none) and the receiver found (null for none; looked up when a group decides only when asked).
struct CDispatchOutcome
{
    bool findReceiver = false; // look the receiver up even when a group decides
    const CPageTarget* receiver = nullptr;
    const CPageTarget* holderSetIn = nullptr;
};
int CheckDispatching(CPageTargetArray& targets, const QString& dispatchingId, const QString& groupId,
    const QString& timeText, CDispatchOutcome* outcome = nullptr);
