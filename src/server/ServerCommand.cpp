#include "server/ServerCommand.h"

CServerQuery QueryThrough(CServerCommand& command)
{
    CServerCommand* target = &command;
    return [target](const QString& text, QString& reply) {
        if (target->ExecuteCommand(text, reply))
            return true;
        // A failed query never leaves a partial or stale reply behind, whatever the object did.
        reply.clear();
        return false;
    };
}
