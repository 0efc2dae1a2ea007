#include "schedule/ConfigLocation.h"

#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDateTime>
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

bool FileTimeSettled(qint64 fileTimeNs, qint64 settleNs)
{
    timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const qint64 age = qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec - fileTimeNs;
    return age >= settleNs || age <= -settleNs;
}

bool IsSymbolicLink(const QString& path)
{
    struct stat st
    {
    };
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISLNK(st.st_mode);
}

bool CopyFileWithTimes(const QString& source, const QString& target)
{
    if (IsSymbolicLink(target)) {
        qCWarning(lcConfig).noquote()
            << QStringLiteral("%1 is a symbolic link: not written through").arg(target);
        return false;
    }
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

namespace {

// "<name>.cfg.XXXXXX" or "<name>.tim.XXXXXX": the length of "<name>.cfg", or 0 for any other name.
qsizetype SaveFileBaseLength(const QString& name)
{
    constexpr qsizetype kSuffix = 7; // "." and six characters
    const qsizetype base = name.size() - kSuffix;
    if (base <= 4 || name[base] != u'.')
        return 0;
    for (qsizetype i = base + 1; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        if (!((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9')))
            return 0;
    }
    const QStringView stem = QStringView(name).left(base);
    if (!stem.endsWith(u".cfg") && !stem.endsWith(u".tim"))
        return 0;
    return base;
}

} // namespace

int RemoveStaleSaveFiles(const QString& folder, qint64 minAgeSeconds)
{
    if (folder.isEmpty() || !IsDirectory(folder))
        return 0;
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    int removed = 0;
    const QStringList names
        = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoSymLinks, QDir::NoSort);
    for (const QString& name : names) {
        const qsizetype base = SaveFileBaseLength(name);
        if (base == 0 || !FileExists(JoinPath(folder, name.left(base))))
            continue;
        const QString path = JoinPath(folder, name);
        const QByteArray encoded = QFile::encodeName(path);
        struct stat st
        {
        };
        // lstat: a link is never followed nor removed.
        if (::lstat(encoded.constData(), &st) != 0 || !S_ISREG(st.st_mode)
            || now - st.st_mtim.tv_sec < minAgeSeconds)
            continue;
        if (::unlink(encoded.constData()) == 0) {
            ++removed;
            KTRACE(lcConfig) << "removed the temporary file" << path << "left by an interrupted save";
        }
    }
    return removed;
}

QString ProgramFilePath()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationFilePath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
}

QString ProgramBaseName(const QString& programPath)
{
    // The service is the window program without its window: both keep one configuration.
    const QString base = QFileInfo(programPath).completeBaseName();
    return base == QLatin1String("kelvarisd") ? QStringLiteral("kelvaris") : base;
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

bool CConfigLocation::CheckConfigChanged(bool* recheckDue)
{
    const QString config = ConfigPath();
    const QString master = MasterPath();
    qint64 localTime = FileTimeNs(config);
    if (!master.isEmpty() && FileExists(master)) {
        const qint64 masterTime = FileTimeNs(master);
        if (masterTime > localTime + kMasterMarginNs && !FileTimeSettled(masterTime)) {
            KTRACE(lcConfig) << "master" << master << "was modified just now; looking again shortly";
            if (recheckDue)
                *recheckDue = true;
        } else if (masterTime > localTime + kMasterMarginNs) {
            KTRACE(lcConfig) << "master" << master << "is newer; copying it over" << config;
            CopyFileWithTimes(master, config);
            localTime = FileTimeNs(config);
        }
    }
    if (localTime == m_fileTimeMemo.load())
        return false;
    if (!FileTimeSettled(localTime)) {
        // Possibly half written: taken once it has been left alone for a moment.
        KTRACE(lcConfig) << config << "was modified just now; looking again shortly";
        if (recheckDue)
            *recheckDue = true;
        return false;
    }
    m_fileTimeMemo.store(localTime);
    return true;
}

CConfigLocation& ConfigLocation()
{
    static CConfigLocation* location = new CConfigLocation;
    return *location;
}
