#pragma once

#include <memory>

#include <QString>
#include <QtGlobal>

#include "schedule/ServerQuery.h"

// The alarm server's command object: executes one bracketed command text ("[setshift(3)]") and
// gives its result text. Every command goes through a fresh object from the factory; callers
// drop failures silently (a state push is repeated at the next minute, a takeover message counts
// as not sent, a target query as failed).
class CServerCommand
{
public:
    virtual ~CServerCommand() = default;
    // False when the command could not be executed (no bus, no server, an error, no reply in
    // time); `result` is then empty.
    virtual bool ExecuteCommand(const QString& command, QString& result) = 0;
};

class CServerCommandFactory
{
public:
    virtual ~CServerCommandFactory() = default;
    // A fresh command object, or null when none can be created (no bus to reach the server on).
    virtual std::unique_ptr<CServerCommand> Create() = 0;
    // How many times the alarm server came (again) since the first Create, as far as the
    // transport sees it: a restart, however quick, counts once. 0 where it cannot be seen. Read
    // on the thread that calls Create.
    virtual quint64 ServerArrivals() const { return 0; }
};

// The schedule's query function over one command object (which must outlive it).
CServerQuery QueryThrough(CServerCommand& command);
