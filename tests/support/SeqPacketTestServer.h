#pragma once

// A small SOCK_SEQPACKET server on a thread of its own, standing in for Kelvaris's socket in tests:
// it serves one connection at a time, reads one message, records it and answers by its mode.

#include <chrono>
#include <condition_variable>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include <QByteArray>
#include <QList>

#include "support/SeqPacket.h"

class CSeqPacketTestServer
{
public:
    enum Mode {
        Echo, // the request comes back as the reply
        Fixed, // the fixed reply
        Silent, // no reply; the connection stays open until the server stops
    };

    CSeqPacketTestServer(const QByteArray& name, Mode mode, const QByteArray& fixedReply = {})
        : m_mode(mode)
        , m_fixedReply(fixedReply)
    {
        if (!m_address.Set(name) || ::pipe2(m_stop, O_CLOEXEC) != 0)
            return;
        if (!m_address.IsAbstract())
            ::unlink(name.constData());
        m_listen = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
        if (m_listen < 0 || ::bind(m_listen, m_address.Data(), m_address.Length()) != 0
            || ::listen(m_listen, 4) != 0)
            return;
        m_listening = true;
        m_thread = std::thread([this] { Run(); });
    }

    ~CSeqPacketTestServer()
    {
        if (m_thread.joinable()) {
            const char byte = 0;
            [[maybe_unused]] const ssize_t written = ::write(m_stop[1], &byte, 1);
            m_thread.join();
        }
        for (int fd : { m_listen, m_stop[0], m_stop[1] })
            if (fd >= 0)
                ::close(fd);
        if (m_listening && !m_address.IsAbstract())
            ::unlink(m_address.Name().constData());
    }

    CSeqPacketTestServer(const CSeqPacketTestServer&) = delete;
    CSeqPacketTestServer& operator=(const CSeqPacketTestServer&) = delete;

    bool IsListening() const { return m_listening; }

    // The messages received so far, after waiting (at most `timeoutMs`) until there are `count`.
    QList<QByteArray> WaitForMessages(qsizetype count, int timeoutMs)
    {
        std::unique_lock lock(m_mutex);
        m_arrived.wait_for(
            lock, std::chrono::milliseconds(timeoutMs), [&] { return m_messages.size() >= count; });
        return m_messages;
    }

private:
    void Run()
    {
        std::vector<int> held; // silent connections, closed when the server stops
        QByteArray buffer(kMaxReplyBytes, Qt::Uninitialized);
        for (;;) {
            pollfd items[2] = { { m_listen, POLLIN, 0 }, { m_stop[0], POLLIN, 0 } };
            if (::poll(items, 2, -1) < 0)
                continue;
            if (items[1].revents)
                break;
            const int client = ::accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0)
                continue;
            // Wait for the request, but not past a stop.
            pollfd request[2] = { { client, POLLIN, 0 }, { m_stop[0], POLLIN, 0 } };
            while (::poll(request, 2, -1) < 0) { }
            if (request[1].revents) {
                ::close(client);
                break;
            }
            const ssize_t got = ::recv(client, buffer.data(), static_cast<size_t>(buffer.size()), 0);
            const QByteArray message = got > 0 ? buffer.left(got) : QByteArray();
            {
                std::lock_guard lock(m_mutex);
                m_messages.append(message);
            }
            m_arrived.notify_all();
            if (m_mode == Silent) {
                held.push_back(client);
                continue;
            }
            const QByteArray& reply = m_mode == Echo ? message : m_fixedReply;
            ::send(client, reply.constData(), static_cast<size_t>(reply.size()), MSG_NOSIGNAL);
            ::close(client);
        }
        for (int fd : held)
            ::close(fd);
    }

    Mode m_mode;
    QByteArray m_fixedReply;
    CSeqPacketAddress m_address;
    int m_listen = -1;
    int m_stop[2] = { -1, -1 };
    bool m_listening = false;
    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_arrived;
    QList<QByteArray> m_messages;
};
