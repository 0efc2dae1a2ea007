#include "inbound/PipeAccess.h"

#include <algorithm>
#include <cerrno>
#include <grp.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QByteArray>

namespace {

constexpr size_t kMaxLookupBuffer = 1 << 20;

// Runs a getpwnam_r/getgrnam_r style lookup with a buffer that grows while the entry does not fit.
template <typename Entry, typename Lookup>
bool LookUp(Lookup lookup, Entry& entry, std::vector<char>& buffer)
{
    if (buffer.empty())
        buffer.resize(4096);
    for (;;) {
        Entry* found = nullptr;
        const int error = lookup(&entry, buffer.data(), buffer.size(), &found);
        if (error == ERANGE && buffer.size() < kMaxLookupBuffer) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        return error == 0 && found != nullptr;
    }
}

bool UserId(const QByteArray& name, uid_t& uid, std::vector<char>& buffer)
{
    passwd entry {};
    const bool found
        = LookUp([&name](passwd* out, char* data, size_t size,
                     passwd** result) { return ::getpwnam_r(name.constData(), out, data, size, result); },
            entry, buffer);
    if (found)
        uid = entry.pw_uid;
    return found;
}

// The group's id, and the names of its members as the group database lists them.
bool GroupEntry(const QByteArray& name, gid_t& gid, QList<QByteArray>& members, std::vector<char>& buffer)
{
    group entry {};
    const bool found
        = LookUp([&name](group* out, char* data, size_t size,
                     group** result) { return ::getgrnam_r(name.constData(), out, data, size, result); },
            entry, buffer);
    if (!found)
        return false;
    gid = entry.gr_gid;
    for (char** member = entry.gr_mem; member && *member; ++member)
        members.append(QByteArray(*member));
    return true;
}

template <typename T>
void SortUnique(std::vector<T>& values)
{
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
}

} // namespace

bool ReadPipePeer(int fd, CPipePeer& peer, CPipePeerGroups* groups)
{
    ucred credentials {};
    socklen_t length = sizeof credentials;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &length) != 0 || length != sizeof credentials)
        return false;
    peer.uid = credentials.uid;
    peer.gid = credentials.gid;
    peer.pid = credentials.pid;
    if (!groups)
        return true;
    groups->resize(groups->capacity());
    for (;;) {
        length = static_cast<socklen_t>(groups->size() * qsizetype(sizeof(gid_t)));
        if (::getsockopt(fd, SOL_SOCKET, SO_PEERGROUPS, groups->data(), &length) == 0) {
            groups->resize(static_cast<qsizetype>(length / sizeof(gid_t)));
            return true;
        }
        // ERANGE tells the size needed.
        if (errno != ERANGE || length <= groups->size() * qsizetype(sizeof(gid_t)))
            return false;
        groups->resize(static_cast<qsizetype>(length / sizeof(gid_t)));
    }
}

std::shared_ptr<const CPipeAccess> CPipeAccess::FromSetting(const QString& text, QStringList* unknown)
{
    auto access = std::make_shared<CPipeAccess>();
    std::vector<char> buffer;
    for (const QString& item : text.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString name = item.trimmed();
        if (name.isEmpty())
            continue;
        access->m_everyone = false;
        bool found = false;
        if (name.startsWith(QLatin1Char('@'))) {
            gid_t gid = 0;
            QList<QByteArray> members;
            found = name.size() > 1 && GroupEntry(name.mid(1).toUtf8(), gid, members, buffer);
            if (found) {
                access->m_gids.push_back(gid);
                for (const QByteArray& member : std::as_const(members)) {
                    uid_t uid = 0;
                    if (UserId(member, uid, buffer))
                        access->m_uids.push_back(uid);
                }
            }
        } else {
            uid_t uid = 0;
            found = UserId(name.toUtf8(), uid, buffer);
            if (found)
                access->m_uids.push_back(uid);
        }
        if (!found && unknown)
            unknown->append(name);
    }
    access->Finish();
    return access;
}

std::shared_ptr<const CPipeAccess> CPipeAccess::FromIds(std::vector<uid_t> uids, std::vector<gid_t> gids)
{
    auto access = std::make_shared<CPipeAccess>();
    access->m_everyone = false;
    access->m_uids = std::move(uids);
    access->m_gids = std::move(gids);
    access->Finish();
    return access;
}

void CPipeAccess::Finish()
{
    if (m_everyone) {
        m_uids.clear();
        m_gids.clear();
        return;
    }
    m_uids.push_back(::geteuid());
    m_uids.push_back(0);
    SortUnique(m_uids);
    SortUnique(m_gids);
}

bool CPipeAccess::Allows(const CPipePeer& peer, const CPipePeerGroups* groups) const
{
    if (m_everyone || std::binary_search(m_uids.begin(), m_uids.end(), peer.uid))
        return true;
    if (m_gids.empty())
        return false;
    if (std::binary_search(m_gids.begin(), m_gids.end(), peer.gid))
        return true;
    if (groups) {
        for (const gid_t gid : *groups) {
            if (std::binary_search(m_gids.begin(), m_gids.end(), gid))
                return true;
        }
    }
    return false;
}
