#pragma once

#include <QString>

class CDateTime;
class CPageTarget;
class CPageTargetArray;
class CProfile;
class CServerCommandFactory;

// A member's answer to a takeover request, as the alarm server hands it back.
struct CTakeoverResponse
{
    // The client ID of the request: "Time:" followed by the group's ID.
    QString clientId;
    // The ID of the member that answered.
    QString targetId;
    // Not 0: the takeover was confirmed.
    long result = 0;
    // Not 0: no answer came in time.
    long timeout = 0;
};

// Takeover of duty in alarm groups. In a takeover group one member at a time holds the duty: the
// group's current target (CurrentTargetID in its dispatch file). When the holder's plan no longer
// covers the present moment, the next member on duty is asked, through the alarm server, to
// confirm; the holder keeps the duty until the confirmation arrives. The alarm server decides
// when the time for an answer is over and says so in the response. While a request is open
// (the group's m_pendingTakeover holds the asked member's ID) no second request goes out; after
// a timeout the request stays open until the page targets are loaded again.
//
// The three message texts may hold the placeholders {{GROUP}}, {{CURRENT}} (the previous holder)
// and {{NEXT}} (the next member). Nothing here locks or keeps state besides the texts: the
// operations take the page targets and the alarm server as parameters, and the caller holds the
// lock that guards the page targets around each call.
class CTakeoverMode
{
public:
    enum Kind {
        RequestMessage = 0, // to the next member, asking it to confirm
        ConfirmMessage = 1, // to the previous holder, after the confirmation
        TimeoutMessage = 2, // to the previous holder, when no answer came in time
    };

    // The texts start as the defaults of the current language.
    CTakeoverMode();

    static QString DefaultRequestText();
    static QString DefaultConfirmText();
    static QString DefaultTimeoutText();

    // Settings/TakeoverRequest, TakeoverConfirm and TakeoverTimeout; a missing key gives the
    // default of the language in effect now.
    void Load(CProfile& profile);
    // Writes all three keys and records the configuration file's time. False when the file could
    // not be written.
    bool Save(CProfile& profile) const;

    // For every target in list order: a takeover group without an open request, itself on duty
    // now, whose current holder is no longer on duty, asks the first member (in member-list order)
    // on duty now to take over; when the request went out, that member's ID becomes the group's
    // pending takeover. A current target that names no page target is cleared.
    // Reads the targets and the groups' dispatch files; writes m_pendingTakeover and, to clear a
    // dangling one, a group's current target.
    void Check(CPageTargetArray& targets, const CDateTime& now, CServerCommandFactory& server) const;

    // Sends one takeover message through a fresh command object: a request to `next`, a
    // confirmation or timeout message to `previous`. A placeholder whose target is null stays in
    // the text. True when the command was executed; false, without a command, when the receiver
    // of the kind is null or the kind is unknown.
    bool SendMessage(int kind, const CPageTarget& group, const CPageTarget* previous, const CPageTarget* next,
        CServerCommandFactory& server) const;

    // A member's answer. The group is named by the client ID (every "Time:" removed); a response
    // for a target that is not a takeover group is dropped. An answering ID that names no page
    // target stands for the member that was asked. A confirmation naming a target that is not in
    // the group's member list is dropped. A confirmation makes that member the group's
    // current target (which ends the open request) and tells the previous holder; a timeout tells
    // the previous holder and leaves the request open. Neither message goes out without a previous
    // holder, and neither is repeated when it fails.
    // Reads the targets and the group's dispatch file; writes the group's current target.
    void HandleResponse(
        CPageTargetArray& targets, const CTakeoverResponse& response, CServerCommandFactory& server) const;

    QString m_requestText;
    QString m_confirmText;
    QString m_timeoutText;
};
