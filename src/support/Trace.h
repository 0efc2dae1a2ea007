#pragma once

#include <QLoggingCategory>

// Diagnostic trace lines by category. Categories are switched on by the environment variable
// KELVARIS_TRACE, a comma-separated list of category names ("dispatch,engine"; "all" for every
// one); lines go to standard error (the journal under systemd). Everything is off by default,
// and a switched-off category costs one flag test.
//
//     KTRACE(lcDispatch) << "CheckDispatching" << id << "->" << result;

Q_DECLARE_LOGGING_CATEGORY(lcApp)
Q_DECLARE_LOGGING_CATEGORY(lcConfig)
Q_DECLARE_LOGGING_CATEGORY(lcEngine)
Q_DECLARE_LOGGING_CATEGORY(lcDispatch)
Q_DECLARE_LOGGING_CATEGORY(lcServer)
Q_DECLARE_LOGGING_CATEGORY(lcPipe)
Q_DECLARE_LOGGING_CATEGORY(lcDde)
Q_DECLARE_LOGGING_CATEGORY(lcAutomation)
Q_DECLARE_LOGGING_CATEGORY(lcPlanning)

#define KTRACE(category) qCDebug(category).noquote()

// Reads KELVARIS_TRACE and switches the named categories on. Call once at start-up.
void InitTrace();

// The filter rules for a KELVARIS_TRACE value (exposed for tests).
QString TraceRulesFor(const QString& categories);
