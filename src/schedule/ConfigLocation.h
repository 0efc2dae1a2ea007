#pragma once

#include <atomic>
#include <mutex>

#include <QString>

// Where the configuration file lives, the optional master configuration file, and how a change
// of either on disk is noticed.
//
// Data folder: the folder "Data" beside the program's folder when it exists (a portable
// installation: build/Data for build/bin/kelvaris), with a configuration file left beside the
// program moved into it; otherwise $XDG_CONFIG_HOME/kelvaris (~/.config/kelvaris), created when
// missing. KELVARIS_DATA names the data folder instead of both. The configuration file is
// <data folder>/<program base name>.cfg; its section Settings may point elsewhere with CfgPath
// (a folder holding a file of the same name, which then becomes the configuration file) and
// CfgPath2 (likewise, the master configuration file, copied over the local one when it is newer).

// The folder of a path: the text before its last "/" ("." when there is none, "/" for a file in
// the root folder).
QString FolderOf(const QString& path);
// `folder` and `name` with one "/" between them unless the folder already ends with one.
QString JoinPath(const QString& folder, const QString& name);
// A directory entry of that name exists and is not a directory.
bool FileExists(const QString& path);
// The modification time in nanoseconds since the epoch; 0 when the file is missing.
qint64 FileTimeNs(const QString& path);
// A file modified less than this long ago may still be being written in place (an editor saving
// over it): it is not read for a reload until it has been left alone that long.
constexpr qint64 kSettleTimeNs = 2'000'000'000;
constexpr int kSettleRecheckMs = 2000;
// Whether a file with this modification time has been left alone long enough to be read whole: the
// time lies at least kSettleTimeNs before now (or as far after it: a clock that jumped).
bool FileTimeSettled(qint64 fileTimeNs, qint64 settleNs = kSettleTimeNs);
// Whether the path itself is a symbolic link (lstat). The program never writes through one: a
// configuration or dispatch file that is a link is not replaced (another user could have planted it
// to have a file of theirs rewritten).
bool IsSymbolicLink(const QString& path);
// Copies the content and the access and modification times of `source` to `target` atomically
// (temporary file beside the target, then rename). Fails, leaving the target as it was, when the
// source cannot be read, is larger than CProfile::kMaxFileBytes, the target folder is missing or the
// target is a symbolic link.
bool CopyFileWithTimes(const QString& source, const QString& target);

// The temporary files that atomic saves leave behind when the program dies during one: in `folder`,
// the name of an existing configuration or dispatch file (".cfg", ".tim"), a dot and six letters or
// digits ("202.tim.aBcDeF"). Those modified at least `minAgeSeconds` ago are removed; links,
// folders and every other name are left alone. Returns how many were removed.
int RemoveStaleSaveFiles(const QString& folder, qint64 minAgeSeconds = 600);

// The absolute path of the running program.
QString ProgramFilePath();
// The program's file name without its extension ("kelvaris"); the service kelvarisd shares the
// window program's name, and so its configuration file.
QString ProgramBaseName(const QString& programPath);

// What the determination of the paths depends on; from the environment in the program, made up
// in the tests.
struct CLocationInput
{
    QString programPath; // absolute path of the executable
    QString dataOverride; // KELVARIS_DATA
    QString xdgConfigHome; // XDG_CONFIG_HOME
    QString home; // the home folder
};

struct CConfigPaths
{
    QString dataFolder;
    QString defaultConfigPath; // <data folder>/<base>.cfg, where CfgPath and CfgPath2 are read
    QString configPath; // the configuration file in use
    QString masterPath; // the master configuration file, or empty
    bool migrated = false; // a configuration file beside the program was moved into Data
};

CLocationInput LocationInputFromEnvironment();
// Finds the data folder (creating the per-user folder, moving a legacy file into Data) and reads
// CfgPath and CfgPath2.
CConfigPaths DetermineConfigPaths(const CLocationInput& input);

// The process-wide configuration paths and the file time memo (the configuration file's
// modification time as last seen or written by the program). Thread-safe.
class CConfigLocation
{
public:
    void SetPaths(const QString& configPath, const QString& masterPath);
    QString ConfigPath() const;
    QString MasterPath() const;
    QString ConfigFolder() const { return FolderOf(ConfigPath()); }

    qint64 FileTimeMemo() const { return m_fileTimeMemo.load(); }
    void SetFileTimeMemo(qint64 ns) { m_fileTimeMemo.store(ns); }
    // Stores the configuration file's current modification time in the memo; called after every
    // save of settings or records so that the program's own writes are not taken for outside
    // changes.
    void RecordFileTime();

    // The periodic check for changes made outside the program: a master file more than two
    // seconds newer than the configuration file is copied over it first; then, if the
    // configuration file's time differs from the memo, the memo takes the new time and the
    // result is true (the caller reloads the settings and lists). A changed file (or a newer
    // master) modified within the last two seconds is left for a second look: the result is
    // false, the memo unchanged, and *recheckDue is set (the caller looks again in
    // kSettleRecheckMs).
    bool CheckConfigChanged(bool* recheckDue = nullptr);

private:
    mutable std::mutex m_mutex;
    QString m_configPath;
    QString m_masterPath;
    std::atomic<qint64> m_fileTimeMemo { 0 };
};

// The instance of the running program; the application sets its paths once at start-up.
CConfigLocation& ConfigLocation();
