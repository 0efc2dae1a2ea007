#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Finding and starting the program the desktop registers for a kind of file, the way desktop
// entries describe it (freedesktop.org Desktop Entry and MIME applications specifications),
// without a display library.

// The desktop entry (e.g. "libreoffice-calc.desktop") of the program registered for a MIME type,
// from `xdg-mime query default` (the program named by xdgMime); empty when there is none or the
// answer is not a plain desktop file name. Waits at most a few seconds.
QString DefaultDesktopEntryFor(const QString& mimeType, const QString& xdgMime = QStringLiteral("xdg-mime"));
// The full path of a desktop entry in the applications folders of the XDG data folders
// (a "-" in the ID may stand for a subfolder); empty when not found.
QString LocateDesktopEntry(const QString& desktopId);
// The Exec key of the [Desktop Entry] group of a desktop file's content, string escapes resolved;
// empty when missing.
QString DesktopEntryExec(const QByteArray& content);
// The command line of an Exec value for opening one file: the program first, then its arguments.
// The file goes where a field code for files or URLs stands, else it is appended; the other field
// codes are dropped. Empty when the value is empty or its quoting is broken.
QStringList DesktopExecCommand(const QString& exec, const QString& filePath);

// Starts the program registered for the MIME type on the file, without a shell, in the file's
// folder. False when there is none or it could not be started.
bool StartDesktopProgramFor(const QString& mimeType, const QString& filePath);
