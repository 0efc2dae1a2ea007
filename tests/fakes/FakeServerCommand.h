#pragma once

// A stand-in for the alarm server and its command objects, for the tests of everything that
// drives the server (engine, page targets).
//
//     CFakeServerCommandFactory server;
//     server.SetReply("[GetValue(Setup.Targets)]", "1\tA\t\t\t\r\n");
//     server.SetCommandFails("[check(Kelvaris)]");
//     ... run the code under test with `server` as its CServerCommandFactory ...
//     EXPECT_EQ(server.Commands(), QStringList({"[setshift(3)]", ...}));
//     EXPECT_EQ(server.ReusedObjectCount(), 0);
//
// Every command sent through any of its objects is recorded in order, the failing ones included.
// A command is answered from the reply table (exact text), otherwise with the default reply
// (empty unless set), and succeeds unless it was told to fail; a failing command gives false and
// an empty result. SetCreateFails makes the server unreachable: Create returns null and nothing is
// recorded. The factory must outlive its command objects. Not thread-safe: one thread at a time.

#include <memory>

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include "server/ServerCommand.h"

class CFakeServerCommandFactory;

// One command object of the fake server; it reports to its factory.
class CFakeServerCommand : public CServerCommand
{
public:
    explicit CFakeServerCommand(CFakeServerCommandFactory& server)
        : m_server(server)
    { }
    inline bool ExecuteCommand(const QString& command, QString& result) override;

private:
    CFakeServerCommandFactory& m_server;
    int m_executed = 0;
};

class CFakeServerCommandFactory : public CServerCommandFactory
{
public:
    // What the server answers.
    void SetReply(const QString& command, const QString& reply) { m_replies.insert(command, reply); }
    void SetDefaultReply(const QString& reply) { m_defaultReply = reply; }
    void SetCommandFails(const QString& command, bool fails = true)
    {
        if (fails)
            m_failing.insert(command);
        else
            m_failing.remove(command);
    }
    void SetAllCommandsFail(bool fails = true) { m_allFail = fails; }
    // Server unreachable: Create returns null.
    void SetCreateFails(bool fails = true) { m_createFails = fails; }

    // What was asked: every command text in the order sent.
    const QStringList& Commands() const { return m_commands; }
    void ClearCommands() { m_commands.clear(); }
    // Objects handed out by Create, and calls of Create (including those that returned null).
    int CreatedCount() const { return m_created; }
    int CreateCallCount() const { return m_createCalls; }
    // Commands sent through an object that had already executed one (should stay 0: every
    // command goes through a fresh object).
    int ReusedObjectCount() const { return m_reused; }

    std::unique_ptr<CServerCommand> Create() override
    {
        ++m_createCalls;
        if (m_createFails)
            return nullptr;
        ++m_created;
        return std::make_unique<CFakeServerCommand>(*this);
    }

    // What a command object does.
    bool Execute(const QString& command, QString& result, bool reusedObject)
    {
        m_commands.append(command);
        if (reusedObject)
            ++m_reused;
        if (m_allFail || m_failing.contains(command)) {
            result.clear();
            return false;
        }
        const auto found = m_replies.constFind(command);
        result = found != m_replies.cend() ? found.value() : m_defaultReply;
        return true;
    }

private:
    QHash<QString, QString> m_replies;
    QString m_defaultReply;
    QSet<QString> m_failing;
    bool m_allFail = false;
    bool m_createFails = false;
    QStringList m_commands;
    int m_created = 0;
    int m_createCalls = 0;
    int m_reused = 0;
};

inline bool CFakeServerCommand::ExecuteCommand(const QString& command, QString& result)
{
    return m_server.Execute(command, result, m_executed++ > 0);
}
