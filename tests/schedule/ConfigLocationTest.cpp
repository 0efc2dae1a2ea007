#include "schedule/ConfigLocation.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "schedule/Profile.h"

namespace {

constexpr qint64 kSecond = 1'000'000'000;

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void SetTimes(const QString& path, qint64 accessNs, qint64 modifiedNs)
{
    const timespec times[2]
        = { { accessNs / kSecond, accessNs % kSecond }, { modifiedNs / kSecond, modifiedNs % kSecond } };
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

qint64 AccessTimeNs(const QString& path)
{
    struct stat st
    {
    };
    ::stat(QFile::encodeName(path).constData(), &st);
    return qint64(st.st_atim.tv_sec) * kSecond + st.st_atim.tv_nsec;
}

class ConfigLocationTest : public ::testing::Test
{
protected:
    QString PathOf(const QString& relative) const { return m_dir.filePath(relative); }

    // A program at <tmp>/inst/bin/kelvaris, a home folder at <tmp>/home.
    CLocationInput Input() const
    {
        CLocationInput input;
        input.programPath = PathOf(QStringLiteral("inst/bin/kelvaris"));
        input.home = PathOf(QStringLiteral("home"));
        return input;
    }

    void SetUp() override
    {
        ASSERT_TRUE(QDir().mkpath(PathOf(QStringLiteral("inst/bin"))));
        ASSERT_TRUE(QDir().mkpath(PathOf(QStringLiteral("home"))));
    }

    QTemporaryDir m_dir;
};

TEST_F(ConfigLocationTest, FolderAndJoinRules)
{
    EXPECT_EQ(FolderOf(QStringLiteral("/opt/kelvaris/bin/kelvaris")), "/opt/kelvaris/bin");
    EXPECT_EQ(FolderOf(QStringLiteral("kelvaris.cfg")), ".");
    EXPECT_EQ(FolderOf(QStringLiteral("/kelvaris")), "/");
    EXPECT_EQ(FolderOf(QStringLiteral("/")), "/");
    EXPECT_EQ(JoinPath(QStringLiteral("/data"), QStringLiteral("k.cfg")), "/data/k.cfg");
    EXPECT_EQ(JoinPath(QStringLiteral("/data/"), QStringLiteral("k.cfg")), "/data/k.cfg");
    EXPECT_EQ(ProgramBaseName(QStringLiteral("/opt/bin/kelvaris")), "kelvaris");
    // The service reads the window program's configuration.
    EXPECT_EQ(ProgramBaseName(QStringLiteral("/usr/bin/kelvarisd")), "kelvaris");
    // The profile without a path is the file beside the program.
    EXPECT_EQ(CProfile().Path(), JoinPath(FolderOf(ProgramFilePath()), QStringLiteral("test_schedule.cfg")));
}

TEST_F(ConfigLocationTest, PortableDataFolderTakesOverTheFileBesideTheProgram)
{
    const QString legacy = PathOf(QStringLiteral("inst/bin/kelvaris.cfg"));
    WriteFile(legacy, "[Settings]\r\nLanguage=3\r\n");
    const qint64 past = (QDateTime::currentSecsSinceEpoch() - 86400) * kSecond + 123456789;
    SetTimes(legacy, past - 10 * kSecond, past);
    ASSERT_TRUE(QDir().mkpath(PathOf(QStringLiteral("inst/Data"))));

    const CConfigPaths paths = DetermineConfigPaths(Input());
    const QString expected = PathOf(QStringLiteral("inst/Data/kelvaris.cfg"));
    EXPECT_EQ(paths.dataFolder, PathOf(QStringLiteral("inst/Data")));
    EXPECT_EQ(paths.configPath, expected);
    EXPECT_TRUE(paths.masterPath.isEmpty());
    EXPECT_TRUE(paths.migrated);
    EXPECT_FALSE(QFile::exists(legacy));
    // (The access time is copied too, see the master test; reading CfgPath from the copy touches it.)
    EXPECT_EQ(FileTimeNs(expected), past);
    EXPECT_EQ(FileBytes(expected), "[Settings]\r\nLanguage=3\r\n");

    // A file already in Data wins; the one beside the program stays.
    WriteFile(legacy, "[Settings]\r\nLanguage=4\r\n");
    EXPECT_FALSE(DetermineConfigPaths(Input()).migrated);
    EXPECT_TRUE(QFile::exists(legacy));
    EXPECT_EQ(FileBytes(expected), "[Settings]\r\nLanguage=3\r\n");
}

TEST_F(ConfigLocationTest, WithoutDataFolderTheUserFolderIsUsedAndNothingMoves)
{
    const QString legacy = PathOf(QStringLiteral("inst/bin/kelvaris.cfg"));
    WriteFile(legacy, "[Settings]\r\n");

    CLocationInput input = Input();
    input.xdgConfigHome = PathOf(QStringLiteral("xdg"));
    CConfigPaths paths = DetermineConfigPaths(input);
    EXPECT_EQ(paths.configPath, PathOf(QStringLiteral("xdg/kelvaris/kelvaris.cfg")));
    EXPECT_TRUE(QFileInfo(PathOf(QStringLiteral("xdg/kelvaris"))).isDir());
    EXPECT_FALSE(paths.migrated);
    EXPECT_TRUE(QFile::exists(legacy));

    // No or a relative XDG_CONFIG_HOME means ~/.config.
    input.xdgConfigHome = QStringLiteral("relative/xdg");
    paths = DetermineConfigPaths(input);
    EXPECT_EQ(paths.configPath, PathOf(QStringLiteral("home/.config/kelvaris/kelvaris.cfg")));
    EXPECT_TRUE(QFileInfo(PathOf(QStringLiteral("home/.config/kelvaris"))).isDir());

    // KELVARIS_DATA wins over both, also over a Data folder.
    ASSERT_TRUE(QDir().mkpath(PathOf(QStringLiteral("inst/Data"))));
    input.dataOverride = PathOf(QStringLiteral("elsewhere/data"));
    paths = DetermineConfigPaths(input);
    EXPECT_EQ(paths.configPath, PathOf(QStringLiteral("elsewhere/data/kelvaris.cfg")));
    EXPECT_TRUE(QFileInfo(input.dataOverride).isDir());
    EXPECT_TRUE(QFile::exists(legacy));
}

TEST_F(ConfigLocationTest, CfgPathAndCfgPath2NeedAFileOfTheSameName)
{
    ASSERT_TRUE(QDir().mkpath(PathOf(QStringLiteral("inst/Data"))));
    for (const char* folder : { "alt", "master", "empty", "altmaster", "dirmaster/kelvaris.cfg" })
        ASSERT_TRUE(QDir().mkpath(PathOf(QString::fromLatin1(folder))));
    WriteFile(PathOf(QStringLiteral("alt/kelvaris.cfg")),
        "[Settings]\r\nCfgPath2=" + PathOf(QStringLiteral("altmaster")).toUtf8() + "\r\n");
    WriteFile(PathOf(QStringLiteral("altmaster/kelvaris.cfg")), "");
    WriteFile(PathOf(QStringLiteral("master/kelvaris.cfg")), "");
    const QString local = PathOf(QStringLiteral("inst/Data/kelvaris.cfg"));
    auto configure = [&](const QString& cfgPath, const QString& cfgPath2) {
        CProfile profile(local);
        profile.WriteString(QStringLiteral("Settings"), QStringLiteral("CfgPath"), cfgPath);
        profile.WriteString(QStringLiteral("Settings"), QStringLiteral("CfgPath2"), cfgPath2);
        return DetermineConfigPaths(Input());
    };

    CConfigPaths paths = configure(PathOf(QStringLiteral("alt")), PathOf(QStringLiteral("master/")));
    EXPECT_EQ(paths.configPath, PathOf(QStringLiteral("alt/kelvaris.cfg")));
    // CfgPath2 comes from the file in the data folder, not from the alternative file.
    EXPECT_EQ(paths.masterPath, PathOf(QStringLiteral("master/kelvaris.cfg")));
    EXPECT_EQ(paths.defaultConfigPath, local);

    paths = configure(PathOf(QStringLiteral("empty")), PathOf(QStringLiteral("dirmaster")));
    EXPECT_EQ(paths.configPath, local);
    EXPECT_TRUE(paths.masterPath.isEmpty());

    paths = configure(QString(), PathOf(QStringLiteral("missing")));
    EXPECT_EQ(paths.configPath, local);
    EXPECT_TRUE(paths.masterPath.isEmpty());
}

TEST_F(ConfigLocationTest, MasterIsCopiedOnlyWhenMoreThanTwoSecondsNewer)
{
    const QString local = PathOf(QStringLiteral("local.cfg"));
    const QString master = PathOf(QStringLiteral("master.cfg"));
    WriteFile(local, "[Settings]\r\nLanguage=1\r\n");
    WriteFile(master, "[Settings]\r\nLanguage=2\r\n");
    const qint64 base = (QDateTime::currentSecsSinceEpoch() - 3600) * kSecond;
    SetTimes(local, base, base);
    SetTimes(master, base + kSecond, base + kSecond);

    CConfigLocation location;
    location.SetPaths(local, master);
    location.SetFileTimeMemo(base);
    EXPECT_FALSE(location.CheckConfigChanged());
    EXPECT_EQ(CProfile(local).ReadInt(QStringLiteral("Settings"), QStringLiteral("Language"), 0), 1);

    SetTimes(master, base - 7 * kSecond, base + 3 * kSecond);
    EXPECT_TRUE(location.CheckConfigChanged());
    EXPECT_EQ(FileTimeNs(local), base + 3 * kSecond);
    EXPECT_EQ(AccessTimeNs(local), base - 7 * kSecond);
    EXPECT_EQ(FileBytes(local), FileBytes(master));
    EXPECT_EQ(location.FileTimeMemo(), base + 3 * kSecond);
    EXPECT_EQ(CProfile(local).ReadInt(QStringLiteral("Settings"), QStringLiteral("Language"), 0), 2);
    EXPECT_FALSE(location.CheckConfigChanged());

    // A missing local file takes any master.
    SetTimes(master, base, base + 5 * kSecond);
    ASSERT_TRUE(QFile::remove(local));
    EXPECT_TRUE(location.CheckConfigChanged());
    EXPECT_EQ(FileBytes(local), FileBytes(master));
}

TEST_F(ConfigLocationTest, FileTimeMemoTellsOwnWritesFromOutsideChanges)
{
    const QString config = PathOf(QStringLiteral("k.cfg"));
    CConfigLocation location;
    location.SetPaths(config, QString());
    EXPECT_FALSE(location.CheckConfigChanged()); // missing file, memo 0

    CProfile(config).WriteString(QStringLiteral("Settings"), QStringLiteral("Language"), QStringLiteral("1"));
    location.RecordFileTime();
    EXPECT_EQ(location.FileTimeMemo(), FileTimeNs(config));
    EXPECT_FALSE(location.CheckConfigChanged());

    // Changed by another program just now: perhaps half written, so looked at again shortly.
    SetTimes(config, FileTimeNs(config), FileTimeNs(config) + 1);
    bool recheckDue = false;
    EXPECT_FALSE(location.CheckConfigChanged(&recheckDue));
    EXPECT_TRUE(recheckDue);
    // Left alone for two seconds (its time moved back instead of waiting): taken.
    const qint64 settled = FileTimeNs(config) - 3 * kSecond;
    SetTimes(config, settled, settled);
    recheckDue = false;
    EXPECT_TRUE(location.CheckConfigChanged(&recheckDue));
    EXPECT_FALSE(recheckDue);
    EXPECT_EQ(location.FileTimeMemo(), settled);
    EXPECT_FALSE(location.CheckConfigChanged());

    // A master written just now is not copied yet either.
    const QString master = PathOf(QStringLiteral("m.cfg"));
    WriteFile(master, "[Settings]\r\nLanguage=2\r\n");
    const qint64 older = settled - 10 * kSecond;
    SetTimes(config, older, older);
    location.SetFileTimeMemo(older);
    location.SetPaths(config, master);
    recheckDue = false;
    EXPECT_FALSE(location.CheckConfigChanged(&recheckDue));
    EXPECT_TRUE(recheckDue);
    EXPECT_EQ(CProfile(config).ReadInt(QStringLiteral("Settings"), QStringLiteral("Language"), 0), 1);
    SetTimes(master, older + 5 * kSecond, older + 5 * kSecond);
    EXPECT_TRUE(location.CheckConfigChanged());
    EXPECT_EQ(CProfile(config).ReadInt(QStringLiteral("Settings"), QStringLiteral("Language"), 0), 2);
    location.SetPaths(config, QString());

    EXPECT_EQ(location.ConfigFolder(), m_dir.path());
    ConfigLocation().SetPaths(config, QString());
    EXPECT_EQ(ConfigLocation().ConfigPath(), config);
    ConfigLocation().SetPaths(QString(), QString());
}

TEST_F(ConfigLocationTest, CopyFailuresLeaveTheTargetAlone)
{
    // A link planted at the target's name is not written through.
    {
        const QTemporaryDir dir;
        const QString master = dir.filePath(QStringLiteral("master.tim"));
        const QString victim = dir.filePath(QStringLiteral("victim"));
        const QString linked = dir.filePath(QStringLiteral("linked.tim"));
        for (const QString& path : { master, victim }) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(path == master ? "new" : "untouched");
        }
        ASSERT_TRUE(QFile::link(victim, linked));
        EXPECT_FALSE(CopyFileWithTimes(master, linked));
        QFile file(victim);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), QByteArray("untouched"));
    }
    const QString source = PathOf(QStringLiteral("src.cfg"));
    const QString target = PathOf(QStringLiteral("dst.cfg"));
    WriteFile(source, QByteArray(100000, 'x'));
    WriteFile(target, "old");
    EXPECT_FALSE(CopyFileWithTimes(PathOf(QStringLiteral("missing.cfg")), target));
    EXPECT_FALSE(CopyFileWithTimes(PathOf(QStringLiteral("inst")), target));
    EXPECT_FALSE(CopyFileWithTimes(source, PathOf(QStringLiteral("no/such/folder.cfg"))));
    EXPECT_EQ(FileBytes(target), "old");
    EXPECT_TRUE(CopyFileWithTimes(source, target));
    EXPECT_EQ(FileBytes(target), FileBytes(source));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files).size(), 2); // no temporary file left
    EXPECT_TRUE(FileExists(target));
    EXPECT_FALSE(FileExists(PathOf(QStringLiteral("inst"))));
    EXPECT_EQ(FileTimeNs(PathOf(QStringLiteral("missing.cfg"))), 0);
}

} // namespace

TEST_F(ConfigLocationTest, StaleTemporaryFilesOfSavesAreRemovedAndNothingElse)
{
    const qint64 old = (QDateTime::currentSecsSinceEpoch() - 11 * 60) * kSecond;
    const auto make = [this, old](const char* name, bool aged) {
        WriteFile(PathOf(QString::fromLatin1(name)), "x");
        if (aged)
            SetTimes(PathOf(QString::fromLatin1(name)), old, old);
    };
    make("kelvaris.cfg", true);
    make("202.tim", true);
    make("kelvaris.cfg.AbC123", true); // left by a save: removed
    make("202.tim.xYzQwE", true); // removed
    make("202.tim.aBcDeF", false); // a save perhaps still running: kept
    make("303.tim.AbCdEf", true); // no such dispatch file: kept
    make("notes.txt.AbCdEf", true); // not a file of ours: kept
    make("kelvaris.cfg.AbC12", true); // five characters: kept
    make("kelvaris.cfg.Ab-123", true); // not the writer's alphabet: kept
    make("elsewhere", true);
    // A link with the pattern's name is neither followed nor removed.
    const QString link = PathOf(QStringLiteral("202.tim.LinkXY"));
    ASSERT_TRUE(QFile::link(PathOf(QStringLiteral("elsewhere")), link));
    const timespec times[2] = { { old / kSecond, 0 }, { old / kSecond, 0 } };
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(link).constData(), times, AT_SYMLINK_NOFOLLOW), 0);
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("kelvaris.cfg.DirXYZ")));

    EXPECT_EQ(RemoveStaleSaveFiles(m_dir.path()), 2);
    QStringList left = QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
    left.removeAll(QStringLiteral("home")); // the fixture's own
    left.removeAll(QStringLiteral("inst"));
    left.sort();
    EXPECT_EQ(left,
        QStringList(
            { QStringLiteral("202.tim"), QStringLiteral("202.tim.LinkXY"), QStringLiteral("202.tim.aBcDeF"),
                QStringLiteral("303.tim.AbCdEf"), QStringLiteral("elsewhere"), QStringLiteral("kelvaris.cfg"),
                QStringLiteral("kelvaris.cfg.Ab-123"), QStringLiteral("kelvaris.cfg.AbC12"),
                QStringLiteral("kelvaris.cfg.DirXYZ"), QStringLiteral("notes.txt.AbCdEf") }));
    EXPECT_EQ(FileBytes(PathOf(QStringLiteral("elsewhere"))), QByteArray("x"));
    EXPECT_EQ(RemoveStaleSaveFiles(PathOf(QStringLiteral("missing"))), 0);
}
