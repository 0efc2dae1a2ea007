#pragma once

#include <QByteArray>
#include <QString>

// Files this user's programs leave for other programs of the same user (printed and exported
// plans, the single-instance socket when there is no runtime folder) go into a folder of the user's
// own inside the shared temporary folder, so that nobody else can plant a file or a link under the
// names they use. The reasons returned name the path and read as a clause ("the folder ... belongs
// to another user"); they are translated.

// "<parent>/kelvaris-<uid>" (parent: the temporary folder when empty), created with mode 0700 when
// missing. An existing one is used only when it is a real folder (not a link to one), owned by this
// user and not writable by group or others. False with the reason otherwise.
bool PrivateTempFolder(QString& path, QString* reason = nullptr, const QString& parent = QString());

// `path` is a real folder (lstat: not a link to one) owned by this user and not writable by group or
// others. False with the reason otherwise.
bool IsPrivateFolder(const QString& path, QString* reason = nullptr);

// Writes `data` as the file `path`, replacing whatever is there: the bytes go into a fresh file
// beside it, created without following links and readable by this user only, which is then renamed
// over `path`. A link at `path` is itself replaced, never written through. False with the reason
// otherwise (the temporary file is then removed again).
bool WriteFileReplacing(const QString& path, const QByteArray& data, QString* reason = nullptr);

// The folder exports and prints go into: "$XDG_RUNTIME_DIR/kelvaris" when the runtime folder is
// set and usable, otherwise "<tmp>/kelvaris-<uid>" (PrivateTempFolder). When that one belongs to
// somebody else or is unsafe, a fresh private folder "<tmp>/kelvaris-<uid>-XXXXXX" is made instead
// and `warning` says why, so that nobody can block this user's exports. False with the reason only
// when no folder can be made at all.
bool ExportFolder(QString& path, QString* reason = nullptr, QString* warning = nullptr);
