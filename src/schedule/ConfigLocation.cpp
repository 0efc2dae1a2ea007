#include "schedule/ConfigLocation.h"

#include <sys/stat.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "schedule/Profile.h"
#include "support/Trace.h"

namespace {

constexpr qint64 kMasterMarginNs = 2'000'000'000;
constexpr qint64 kCopyBlock = 32768;

bool StatPath(const QString& path, struct stat& st)
{
    const QByteArray encoded = QFile::encodeName(path);
    return !encoded.isEmpty() && ::stat(encoded.constData(), &st) == 0;
}

bool IsDirectory(const QString& path)
{
    struct stat st
    {
    };
    return StatPath(path, st) && S_ISDIR(st.st_mode);
}

// The file named like `configPath` in `folder`, if the folder text is not empty and such a file
// exists there.
QString SameNameIn(const QString& folder, const QString& configPath)
{
    if (folder.isEmpty())
        return QString();
    const QString candidate = JoinPath(folder, QFileInfo(configPath).fileName());
    return FileExists(candidate) ? candidate : QString();
}

QString UserDataFolder(const CLocationInput& input)
{
    // Relative values are invalid by the XDG rules and ignored.
    QString base = input.xdgConfigHome;
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = JoinPath(input.home.isEmpty() ? QDir::homePath() : input.home, QStringLiteral(".config"));
    return JoinPath(base, QStringLiteral("kelvaris"));
}

void EnsureFolder(const QString& folder)
{
    if (IsDirectory(folder))
        return;
    QDir().mkpath(FolderOf(folder));
    if (!QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
        KTRACE(lcConfig) << "cannot create the data folder" << folder;
}

} // namespace

QString FolderOf(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    if (slash < 0)
        return QStringLiteral(".");
    if (slash == 0)
        return QStringLiteral("/");
    return path.left(slash);
}

QString JoinPath(const QString& folder, const QString& name)
{
    if (folder.endsWith(u'/'))
        return folder + name;
    return folder + u'/' + name;
}

bool FileExists(const QString& path)
{
    struct stat st
    {
    };
    return StatPath(path, st) && !S_ISDIR(st.st_mode);
}

qint64 FileTimeNs(const QString& path)
{
    struct stat st
    {
    };
    if (!StatPath(path, st))
        return 0;
    return qint64(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
}

bool CopyFileWithTimes(const QString& source, const QString& target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        KTRACE(lcConfig) << "copy: cannot open" << source;
        return false;
    }
    struct stat st
    {
    };
    if (::fstat(in.handle(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > CProfile::kMaxFileBytes) {
        KTRACE(lcConfig) << "copy: not a readable file of bounded size" << source;
        return false;
    }
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly)) {
        KTRACE(lcConfig) << "copy: cannot create" << target << out.errorString();
        return false;
    }
    QByteArray block(kCopyBlock, Qt::Uninitialized);
    qint64 total = 0;
    for (;;) {
        const qint64 got = in.read(block.data(), kCopyBlock);
        if (got < 0)
            return false;
        if (got == 0)
            break;
        total += got;
        if (total > CProfile::kMaxFileBytes || out.write(block.constData(), got) != got)
            return false;
    }
    // The times go on the temporary file, so the target appears complete with them.
    const timespec times[2] = { st.st_atim, st.st_mtim };
    if (!out.flush() || ::futimens(out.handle(), times) != 0) {
        KTRACE(lcConfig) << "copy: cannot set the times on" << target;
        return false;
    }
    if (!out.commit()) {
        KTRACE(lcConfig) << "copy: cannot replace" << target << out.errorString();
        return false;
    }
    return true;
}

QString ProgramFilePath()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationFilePath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
}

QString ProgramBaseName(const QString& programPath)
{
    return QFileInfo(programPath).completeBaseName();
}

CLocationInput LocationInputFromEnvironment()
{
    CLocationInput input;
    input.programPath = ProgramFilePath();
    input.dataOverride = qEnvironmentVariable("KELVARIS_DATA");
    input.xdgConfigHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    input.home = QDir::homePath();
    return input;
}

CConfigPaths DetermineConfigPaths(const CLocationInput& input)
{
    CConfigPaths paths;
    const QString fileName = ProgramBaseName(input.programPath) + QStringLiteral(".cfg");
    const QString programFolder = FolderOf(input.programPath);
    // The parent of the root folder is the root itself.
    const QString portableData = JoinPath(FolderOf(programFolder), QStringLiteral("Data"));

    if (!input.dataOverride.isEmpty()) {
        paths.dataFolder = input.dataOverride;
        EnsureFolder(paths.dataFolder);
    } else if (IsDirectory(portableData)) {
        paths.dataFolder = portableData;
    } else {
        paths.dataFolder = UserDataFolder(input);
        EnsureFolder(paths.dataFolder);
    }
    paths.defaultConfigPath = JoinPath(paths.dataFolder, fileName);

    if (paths.dataFolder == portableData && input.dataOverride.isEmpty()) {
        // A configuration file left beside the program by an older installation moves into Data;
        // the old file goes only once the copy is complete.
        const QString legacy = JoinPath(programFolder, fileName);
        if (FileExists(legacy) && !FileExists(paths.defaultConfigPath)) {
            if (CopyFileWithTimes(legacy, paths.defaultConfigPath)) {
                paths.migrated = true;
                if (!QFile::remove(legacy))
                    KTRACE(lcConfig) << "copied" << legacy << "but cannot delete it";
                KTRACE(lcConfig) << "moved" << legacy << "to" << paths.defaultConfigPath;
            } else {
                KTRACE(lcConfig) << "cannot move" << legacy << "to" << paths.defaultConfigPath;
            }
        }
    }

    const CProfile profile(paths.defaultConfigPath);
    const QString settings = QStringLiteral("Settings");
    const QString alternative = SameNameIn(
        profile.ReadString(settings, QStringLiteral("CfgPath"), QString()), paths.defaultConfigPath);
    paths.configPath = alternative.isEmpty() ? paths.defaultConfigPath : alternative;
    paths.masterPath = SameNameIn(
        profile.ReadString(settings, QStringLiteral("CfgPath2"), QString()), paths.defaultConfigPath);
    KTRACE(lcConfig) << "configuration" << paths.configPath << "master" << paths.masterPath;
    return paths;
}

// CConfigLocation

void CConfigLocation::SetPaths(const QString& configPath, const QString& masterPath)
{
    std::lock_guard lock(m_mutex);
    m_configPath = configPath;
    m_masterPath = masterPath;
}

QString CConfigLocation::ConfigPath() const
{
    std::lock_guard lock(m_mutex);
    return m_configPath;
}

QString CConfigLocation::MasterPath() const
{
    std::lock_guard lock(m_mutex);
    return m_masterPath;
}

void CConfigLocation::RecordFileTime()
{
    m_fileTimeMemo.store(FileTimeNs(ConfigPath()));
}

bool CConfigLocation::CheckConfigChanged()
{
    const QString config = ConfigPath();
    const QString master = MasterPath();
    qint64 localTime = FileTimeNs(config);
    if (!master.isEmpty() && FileExists(master)) {
        const qint64 masterTime = FileTimeNs(master);
        if (masterTime > localTime + kMasterMarginNs) {
            KTRACE(lcConfig) << "master" << master << "is newer; copying it over" << config;
            CopyFileWithTimes(master, config);
            localTime = FileTimeNs(config);
        }
    }
    if (localTime == m_fileTimeMemo.load())
        return false;
    m_fileTimeMemo.store(localTime);
    return true;
}

CConfigLocation& ConfigLocation()
{
    static CConfigLocation* location = new CConfigLocation;
    return *location;
}
