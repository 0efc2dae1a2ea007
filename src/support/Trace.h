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
Q_DECLARE_LOGGING_CATEGORY(lcWeb)

#define KTRACE(category) qCDebug(category).noquote()

// Reads KELVARIS_TRACE and switches the named categories on; under systemd installs the message
// handler that marks every standard-error line with its priority (below). Call once at start-up,
// before any other message handler is installed.
void InitTrace();

// Standard error under systemd. When JOURNAL_STREAM names standard error's device and inode
// ("device:inode", as systemd sets it), the journal reads standard error: every line then starts
// with its syslog priority as in sd-daemon.h, so that `journalctl -p warning` shows the warnings
// and not the trace. Elsewhere lines are written as they stand.
//   debug (KTRACE) <7>, info <6>, warning <4>, critical and fatal <2>
bool StandardErrorIsJournal();
// Whether a JOURNAL_STREAM value names the file with that device and inode (exposed for tests).
bool JournalStreamNames(const QByteArray& value, quint64 device, quint64 inode);
// The sd-daemon prefix for a message type ("<4>" for a warning).
const char* JournalPriority(QtMsgType type);
// `text` with `prefix` in front of every line, each ending with a newline (exposed for tests).
QByteArray PrefixLines(const char* prefix, const QByteArray& text);
// Writes `text` (one or more lines) to standard error as the message handler writes a message of
// that type: with the priority when the journal reads standard error.
void WriteStandardError(QtMsgType type, const QString& text);

// The filter rules for a KELVARIS_TRACE value (exposed for tests).
QString TraceRulesFor(const QString& categories);
