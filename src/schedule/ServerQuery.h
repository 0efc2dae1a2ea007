#pragma once

#include <functional>

#include <QString>

// One query to the alarm server: sends the command text, gives the reply text; false when the
// call failed (server unreachable, an error, no reply in time). The schedule's page targets are
// fetched through it; the server link (src/server) provides it from its command object, tests
// from a table.
using CServerQuery = std::function<bool(const QString& command, QString& reply)>;
