#pragma once

#include <memory>

#include <QString>

#include "server/ServerCommand.h"

// Stand-ins for the alarm server in the benchmarks, so that what is measured is Kelvaris alone.

// An alarm server that cannot be reached: no command object is made.
class CNoServer : public CServerCommandFactory
{
public:
    std::unique_ptr<CServerCommand> Create() override { return nullptr; }
};

// An alarm server that takes every command at once, with an empty answer.
class CTakingServer : public CServerCommandFactory
{
    class CCommand : public CServerCommand
    {
    public:
        bool ExecuteCommand(const QString&, QString& result) override
        {
            result.clear();
            return true;
        }
    };

public:
    std::unique_ptr<CServerCommand> Create() override { return std::make_unique<CCommand>(); }
};
