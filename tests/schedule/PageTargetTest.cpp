#include "schedule/PageTarget.h"

#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "schedule/ConfigLocation.h"
#include "schedule/Profile.h"

namespace {

class PageTargetTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_savedConfig = ConfigLocation().ConfigPath();
        m_savedMaster = ConfigLocation().MasterPath();
        m_folder = m_dir.filePath(QStringLiteral("data"));
        m_masterFolder = m_dir.filePath(QStringLiteral("master"));
        ASSERT_TRUE(QDir().mkpath(m_folder));
        ASSERT_TRUE(QDir().mkpath(m_masterFolder));
        ConfigLocation().SetPaths(JoinPath(m_folder, QStringLiteral("kelvaris.cfg")), QString());
    }
    void TearDown() override { ConfigLocation().SetPaths(m_savedConfig, m_savedMaster); }

    static CPageTarget Target(const QString& id, int number = 5)
    {
        CPageTarget target;
        target.m_id = id;
        target.m_number = number;
        return target;
    }
    QString LocalFile(const QString& id) const { return JoinPath(m_folder, id + QStringLiteral(".tim")); }
    QString MasterFile(const QString& id) const
    {
        return JoinPath(m_masterFolder, id + QStringLiteral(".tim"));
    }

    static void WriteFile(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
    static QByteArray ReadFile(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static void SetFileTime(const QString& path, qint64 ns)
    {
        const timespec time { time_t(ns / 1'000'000'000), long(ns % 1'000'000'000) };
        const timespec times[2] = { time, time };
        ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
    }

    QTemporaryDir m_dir;
    QString m_folder;
    QString m_masterFolder;
    QString m_savedConfig;
    QString m_savedMaster;
};

constexpr qint64 kSecond = 1'000'000'000;
constexpr qint64 kBaseTime = 1'700'000'000 * kSecond;

} // namespace

TEST_F(PageTargetTest, FileWithOnlySettingsGivesNoRangesAndDutyAlways)
{
    CPageTarget target = Target(QStringLiteral("17"));
    target.m_ranges.AddFromText(QStringLiteral("20240304=08:00-09:00"));
    WriteFile(LocalFile(QStringLiteral("17")), "[Settings]\r\nName=Anna\r\n");
    ASSERT_TRUE(target.LoadDispatchFile());
    EXPECT_TRUE(target.m_ranges.isEmpty());
    EXPECT_TRUE(target.IsOnDuty(CDateTime(2024, 3, 4, 12, 0, 0)));
    EXPECT_TRUE(target.IsOnDuty(CDateTime::Invalid()));

    // A file that cannot be opened leaves the ranges as they were.
    CPageTarget missing = Target(QStringLiteral("18"));
    missing.m_ranges.AddFromText(QStringLiteral("20240304=08:00-09:00"));
    EXPECT_FALSE(missing.LoadDispatchFile());
    EXPECT_EQ(missing.m_ranges.size(), 1);
    ASSERT_TRUE(QDir().mkpath(LocalFile(QStringLiteral("18"))));
    EXPECT_FALSE(missing.LoadDispatchFile());
    EXPECT_EQ(missing.m_ranges.size(), 1);
}

TEST_F(PageTargetTest, DutyThroughTheNightIsTwoRanges)
{
    CPageTarget target = Target(QStringLiteral("17"));
    WriteFile(LocalFile(QStringLiteral("17")),
        "[Settings]\r\nName=Anna\r\n20240304=22:00-24:00\r\n20240305=00:00-06:00\r\n");
    ASSERT_TRUE(target.LoadDispatchFile());
    EXPECT_EQ(target.m_ranges.size(), 2);
    EXPECT_TRUE(target.IsOnDuty(CDateTime(2024, 3, 4, 23, 59, 0)));
    EXPECT_TRUE(target.IsOnDuty(CDateTime(2024, 3, 4, 22, 0, 0)));
    EXPECT_TRUE(target.IsOnDuty(CDateTime(2024, 3, 5, 5, 59, 0)));
    EXPECT_TRUE(target.IsOnDuty(CDateTime(2024, 3, 5, 0, 0, 0)));
    EXPECT_FALSE(target.IsOnDuty(CDateTime(2024, 3, 5, 6, 0, 0)));
    EXPECT_FALSE(target.IsOnDuty(CDateTime(2024, 3, 4, 21, 59, 59)));
    EXPECT_FALSE(target.IsOnDuty(CDateTime(2024, 3, 6, 0, 0, 0)));
    EXPECT_FALSE(target.IsOnDuty(CDateTime::Invalid()));
}

TEST_F(PageTargetTest, GroupFileIsWrittenBackInItsOwnForm)
{
    const QString path = LocalFile(QStringLiteral("40"));
    WriteFile(path,
        "[Settings]\r\nName=Old name\r\nCurrentTargetID=17\r\nTakeover=1\r\n"
        "20240304=8:0-12:0;13:00-17:00\r\n");
    CPageTarget group = Target(QStringLiteral("40"), -3);
    group.m_name = QStringLiteral("Service North");
    ASSERT_TRUE(group.LoadDispatchFile());
    EXPECT_TRUE(group.m_takeover);
    ASSERT_EQ(group.m_ranges.size(), 2);
    // The profile cache holds the old content until the file is replaced.
    EXPECT_EQ(CProfile(path).ReadString(QStringLiteral("Settings"), QStringLiteral("Name"), QString()),
        QStringLiteral("Old name"));

    ASSERT_TRUE(group.SaveDispatchFile());
    EXPECT_EQ(ReadFile(path),
        QByteArray("[Settings]\r\nName=Service North\r\nTakeover=1\r\nCurrentTargetID=17\r\n"
                   "20240304=08:00-12:00\r\n20240304=13:00-17:00\r\n"));
    EXPECT_EQ(group.m_fileTimeMemo, FileTimeNs(path));
    EXPECT_FALSE(group.DispatchFileChanged());
    EXPECT_EQ(CProfile(path).ReadString(QStringLiteral("Settings"), QStringLiteral("Name"), QString()),
        QStringLiteral("Service North"));

    // Without the takeover flag the current target is not carried; a receiver has no Takeover.
    group.m_takeover = false;
    ASSERT_TRUE(group.SaveDispatchFile());
    EXPECT_EQ(ReadFile(path),
        QByteArray("[Settings]\r\nName=Service North\r\nTakeover=0\r\n"
                   "20240304=08:00-12:00\r\n20240304=13:00-17:00\r\n"));
    CPageTarget receiver = Target(QStringLiteral("17"));
    receiver.m_name = QStringLiteral("  Zürich\r\n20240101=00:00-24:00");
    receiver.m_takeover = true;
    ASSERT_TRUE(receiver.SaveDispatchFile());
    EXPECT_EQ(ReadFile(LocalFile(QStringLiteral("17"))),
        QByteArray("[Settings]\r\nName=\"  Zürich  20240101=00:00-24:00\"\r\n"));
    // A name from the server cannot smuggle a range into the file.
    ASSERT_TRUE(receiver.LoadDispatchFile());
    EXPECT_TRUE(receiver.m_ranges.isEmpty());
}

TEST_F(PageTargetTest, LinesEndAtCrFormFeedNulOrAfter4096Bytes)
{
    // A first line of exactly 4096 bytes without an end, then the rest of it as a line of its own
    // (read as one line, it would hold two "=" and give no range at all).
    QByteArray longLine = "20240301=01:00-02:00";
    longLine += QByteArray(CPageTarget::kMaxLineBytes - longLine.size(), ';');
    ASSERT_EQ(longLine.size(), CPageTarget::kMaxLineBytes);
    QByteArray bytes = longLine + "20240302=03:00-04:00\r\n";
    bytes += "\n\n\n20240303=05:00-06:00\f20240304=07:00-08:00";
    bytes += QByteArray("\0"
                        "20240305=09:00-10:00\r\r",
        23);
    bytes += "Takeover=0x10\r\n";
    // LF line ends as a Unix editor leaves them.
    bytes += "20240306=11:00-12:00\n20240307=13:00-14:00\n";
    bytes += "[Section]=20240308=15:00-16:00\r\n20240309\r\n";

    const QString path = LocalFile(QStringLiteral("7"));
    WriteFile(path, bytes);
    CPageTarget group = Target(QStringLiteral("7"), -1);
    ASSERT_TRUE(group.LoadDispatchFile());
    EXPECT_TRUE(group.m_takeover);
    QStringList lines;
    for (const CDispatchRange& range : std::as_const(group.m_ranges))
        lines.append(range.ToText());
    EXPECT_EQ(lines,
        QStringList(
            { "20240301=01:00-02:00", "20240302=03:00-04:00", "20240303=05:00-06:00", "20240304=07:00-08:00",
                "20240305=09:00-10:00", "20240306=11:00-12:00", "20240307=13:00-14:00" }));

    // A file that is not UTF-8 is read as Windows-1252, a leading byte order mark is skipped.
    WriteFile(path, "[Settings]\r\nName=Z\xFCrich\r\nTakeover=0\r\n20240310=1:00-2:00\r\n");
    ASSERT_TRUE(group.LoadDispatchFile());
    EXPECT_FALSE(group.m_takeover);
    ASSERT_EQ(group.m_ranges.size(), 1);
    WriteFile(path,
        "\xEF\xBB\xBF"
        "20240311=1:00-2:00\r\n");
    ASSERT_TRUE(group.LoadDispatchFile());
    ASSERT_EQ(group.m_ranges.size(), 1);
    EXPECT_EQ(group.m_ranges[0].m_day, 11);
}

TEST_F(PageTargetTest, ReceiverFileKeepsTheTakeoverFlag)
{
    const QString path = LocalFile(QStringLiteral("17"));
    WriteFile(path, "[Settings]\r\nName=Anna\r\n20240304=08:00-09:00\r\n");
    CPageTarget receiver = Target(QStringLiteral("17"));
    receiver.m_takeover = true;
    ASSERT_TRUE(receiver.LoadDispatchFile());
    EXPECT_TRUE(receiver.m_takeover);
    receiver.m_takeover = false;
    ASSERT_TRUE(receiver.LoadDispatchFile());
    EXPECT_FALSE(receiver.m_takeover);
    EXPECT_EQ(receiver.m_ranges.size(), 1);
}

TEST_F(PageTargetTest, MasterDispatchFileIsCopiedWhenMoreThanTwoSecondsNewer)
{
    ConfigLocation().SetPaths(JoinPath(m_folder, QStringLiteral("kelvaris.cfg")),
        JoinPath(m_masterFolder, QStringLiteral("kelvaris.cfg")));
    const QString local = LocalFile(QStringLiteral("17"));
    const QString master = MasterFile(QStringLiteral("17"));
    const QByteArray localBytes = "[Settings]\r\nName=Anna\r\n20240304=08:00-09:00\r\n";
    const QByteArray masterBytes
        = "[Settings]\r\nName=Anna\r\n20240305=10:00-11:00\r\n20240305=12:00-13:00\r\n";
    WriteFile(local, localBytes);
    WriteFile(master, masterBytes);
    SetFileTime(local, kBaseTime);
    CPageTarget target = Target(QStringLiteral("17"));
    target.m_fileTimeMemo = kBaseTime;

    SetFileTime(master, kBaseTime + kSecond);
    EXPECT_FALSE(target.DispatchFileChanged());
    EXPECT_FALSE(target.ReloadIfChanged());
    EXPECT_EQ(ReadFile(local), localBytes);

    SetFileTime(master, kBaseTime + 3 * kSecond);
    EXPECT_TRUE(target.ReloadIfChanged());
    EXPECT_EQ(ReadFile(local), masterBytes);
    EXPECT_EQ(target.m_fileTimeMemo, kBaseTime + 3 * kSecond);
    EXPECT_EQ(target.m_ranges.size(), 2);
    EXPECT_FALSE(target.ReloadIfChanged());

    // A missing local file takes any master, even an older one.
    ASSERT_TRUE(QFile::remove(local));
    SetFileTime(master, kBaseTime - 100 * kSecond);
    EXPECT_TRUE(target.DispatchFileChanged());
    EXPECT_EQ(ReadFile(local), masterBytes);
    EXPECT_EQ(FileTimeNs(local), kBaseTime - 100 * kSecond);

    // Without a master file a removed local file is a change, and the ranges stay.
    ConfigLocation().SetPaths(JoinPath(m_folder, QStringLiteral("kelvaris.cfg")), QString());
    target.m_fileTimeMemo = FileTimeNs(local);
    ASSERT_TRUE(QFile::remove(local));
    EXPECT_TRUE(target.ReloadIfChanged());
    EXPECT_EQ(target.m_fileTimeMemo, 0);
    EXPECT_EQ(target.m_ranges.size(), 2);
}

TEST_F(PageTargetTest, FailedSaveLeavesTheOldFile)
{
    CPageTarget target = Target(QStringLiteral("17"));
    target.m_ranges.AddFromText(QStringLiteral("20240304=08:00-09:00"));

    // The data folder is missing.
    const QString gone = m_dir.filePath(QStringLiteral("gone"));
    ConfigLocation().SetPaths(JoinPath(gone, QStringLiteral("kelvaris.cfg")), QString());
    EXPECT_FALSE(target.SaveDispatchFile());
    EXPECT_FALSE(QFile::exists(gone));
    EXPECT_EQ(target.m_fileTimeMemo, 0);

    // The write itself fails (a file size limit applies to every user, root included).
    ConfigLocation().SetPaths(JoinPath(m_folder, QStringLiteral("kelvaris.cfg")), QString());
    const QString path = LocalFile(QStringLiteral("17"));
    const QByteArray old = "[Settings]\r\nName=Old\r\n";
    WriteFile(path, old);
    for (int i = 0; i < 200; ++i)
        target.m_ranges.AddFromText(QStringLiteral("20240305=08:00-09:00"));
    rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto savedHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const bool saved1 = target.SaveDispatchFile();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedHandler);
    EXPECT_FALSE(saved1);
    EXPECT_EQ(ReadFile(path), old);
    EXPECT_EQ(QDir(m_folder).entryList(QDir::Files), QStringList { QStringLiteral("17.tim") });
}

TEST_F(PageTargetTest, UnsafeIdHasNoDispatchFile)
{
    EXPECT_EQ(Target(QStringLiteral("17")).DispatchFilePath(), JoinPath(m_folder, QStringLiteral("17.tim")));
    EXPECT_EQ(Target(QStringLiteral("17")).DispatchFilePath(QStringLiteral("/srv/duty")),
        QStringLiteral("/srv/duty/17.tim"));
    EXPECT_EQ(Target(QStringLiteral("Nord Süd")).DispatchFilePath(QStringLiteral("/d")),
        QStringLiteral("/d/Nord Süd.tim"));

    const QString outside = m_dir.filePath(QStringLiteral("evil.tim"));
    WriteFile(outside, "20240304=08:00-09:00\r\n");
    for (const QString& id : { QStringLiteral("../evil"), QStringLiteral(".."), QStringLiteral("a/b"),
             QStringLiteral("/tmp/x"), QStringLiteral("a\\b"), QStringLiteral("x\ny"),
             QStringLiteral("a\u0085b"), QStringLiteral("a..b"), QString() }) {
        CPageTarget target = Target(id, -2);
        target.m_takeover = true;
        target.m_ranges.AddFromText(QStringLiteral("20240306=08:00-09:00"));
        EXPECT_TRUE(target.DispatchFilePath().isEmpty()) << id.toStdString();
        EXPECT_FALSE(target.LoadDispatchFile()) << id.toStdString();
        EXPECT_EQ(target.m_ranges.size(), 1);
        EXPECT_FALSE(target.SaveDispatchFile()) << id.toStdString();
        EXPECT_FALSE(target.DispatchFileChanged()) << id.toStdString();
    }
    EXPECT_EQ(ReadFile(outside), QByteArray("20240304=08:00-09:00\r\n"));
    EXPECT_TRUE(QDir(m_folder).entryList(QDir::Files | QDir::Hidden).isEmpty());

    // Without a configuration file there is no data folder to write into.
    ConfigLocation().SetPaths(QString(), QString());
    EXPECT_TRUE(Target(QStringLiteral("17")).DispatchFilePath().isEmpty());
}
