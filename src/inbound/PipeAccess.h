#pragma once

#include <functional>
#include <memory>
#include <sys/types.h>
#include <vector>

#include <QString>
#include <QStringList>
#include <QVarLengthArray>

// Who is on the other end of a connection of Kelvaris's socket: the credentials the kernel recorded
// for the connecting process (SO_PEERCRED), taken when the connection is accepted.
struct CPipePeer
{
    uid_t uid = static_cast<uid_t>(-1);
    gid_t gid = static_cast<gid_t>(-1);
    pid_t pid = 0;
};

// The supplementary groups of the connecting process (SO_PEERGROUPS), read only when the access
// policy names groups.
using CPipePeerGroups = QVarLengthArray<gid_t, 32>;

// Reads a connection's peer credentials; `groups` is null when they are not needed. False when the
// kernel does not tell (the connection is then refused). Tests inject their own.
using CPipePeerReader = std::function<bool(int fd, CPipePeer& peer, CPipePeerGroups* groups)>;

// The kernel's record of the peer (SO_PEERCRED, and SO_PEERGROUPS when `groups` is given).
bool ReadPipePeer(int fd, CPipePeer& peer, CPipePeerGroups* groups);

// Who may ask on the socket: the setting `PipeUsers` in section `Settings` of the configuration
// file, a ";"-list of user names and "@group" names. Empty or missing, everyone on the machine may
// ask. Otherwise a peer is served when its user is listed, when its primary or one of its
// supplementary groups (as its process carries them) is listed, or when it is listed as a member
// of a listed group in the group database. The user Kelvaris runs as and root are always served:
// root can act as any user anyway, and refusing Kelvaris's own user would lock out its own tools.
//
// Names are resolved to ids once, when the policy is built (when the settings are loaded), never
// per connection. A policy is immutable, so the socket's thread reads it without a lock while the
// user-interface thread builds a new one.
class CPipeAccess
{
public:
    // The policy for a setting's text; names that resolve to no user or group are left out and
    // listed in `unknown` (with their "@" for groups). A list of names none of which resolves
    // serves only Kelvaris's own user and root.
    static std::shared_ptr<const CPipeAccess> FromSetting(
        const QString& text, QStringList* unknown = nullptr);
    // A policy from ids (for tests and callers that have ids already); Kelvaris's own user and root
    // are always added.
    static std::shared_ptr<const CPipeAccess> FromIds(std::vector<uid_t> uids, std::vector<gid_t> gids);

    bool ServesEveryone() const { return m_everyone; }
    // Whether the peer's supplementary groups are needed to decide.
    bool NeedsGroups() const { return !m_everyone && !m_gids.empty(); }
    bool Allows(const CPipePeer& peer, const CPipePeerGroups* groups) const;

private:
    void Finish();

    bool m_everyone = true;
    std::vector<uid_t> m_uids; // sorted: the listed users, group members from the database, self, root
    std::vector<gid_t> m_gids; // sorted: the listed groups
};
