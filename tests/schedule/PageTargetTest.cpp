#include "schedule/PageTarget.h"

#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <limits>
#include <sys/resource.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
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

// The alarm server as a table of commands and replies; a command without a reply fails.
struct CFakeServer
{
    CServerQuery Query()
    {
        return [this](const QString& command, QString& reply) {
            sent.append(command);
            const auto found = replies.constFind(command);
            if (found == replies.cend())
                return false;
            reply = *found;
            return true;
        };
    }
    // A reply of "[GetTarget3(" with the number in field 2, the ID in 15 and the colour in 17.
    static QString Details(const QString& number, const QString& id, const QString& colour, int fields = 17)
    {
        QStringList list;
        for (int i = 1; i <= fields; ++i)
            list.append(QStringLiteral("f%1").arg(i));
        list[1] = number;
        if (fields >= 15)
            list[14] = id;
        if (fields >= 17)
            list[16] = colour;
        return list.join(u'\t');
    }
    void AddTarget(const QString& name, const QString& number, const QString& id,
        const QString& colour = QStringLiteral("0"))
    {
        replies.insert(
            QStringLiteral("[GetTarget3(") + name + QStringLiteral(")]"), Details(number, id, colour));
    }

    QHash<QString, QString> replies;
    QStringList sent;
};

CPageTarget Named(const QString& name, int number, const QString& members = QString())
{
    CPageTarget target;
    target.m_name = name;
    target.m_id = name.toLower();
    target.m_number = number;
    target.m_members = members;
    return target;
}

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
        "[Settings]\r\nName=Old name\r\nCurrentTargetID=17\r\nNoticeMembers=1\r\nTakeover=1\r\n"
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
        QByteArray(
            "[Settings]\r\nName=Service North\r\nTakeover=1\r\nCurrentTargetID=17\r\nNoticeMembers=1\r\n"
            "20240304=08:00-12:00\r\n20240304=13:00-17:00\r\n"));
    EXPECT_EQ(group.m_fileTimeMemo, FileTimeNs(path));
    EXPECT_FALSE(group.DispatchFileChanged());
    EXPECT_EQ(CProfile(path).ReadString(QStringLiteral("Settings"), QStringLiteral("Name"), QString()),
        QStringLiteral("Service North"));

    // Without the takeover flag the current target is not carried; a receiver has no Takeover.
    group.m_takeover = false;
    ASSERT_TRUE(group.SaveDispatchFile());
    EXPECT_EQ(ReadFile(path),
        QByteArray("[Settings]\r\nName=Service North\r\nTakeover=0\r\nNoticeMembers=1\r\n"
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

TEST_F(PageTargetTest, LinesEndAtCrFormFeedOrAfter4096Bytes)
{
    // A first line of exactly 4096 bytes without an end, then the rest of it as a line of its own
    // (read as one line, it would hold two "=" and give no range at all).
    QByteArray longLine = "20240301=01:00-02:00";
    longLine += QByteArray(CPageTarget::kMaxLineBytes - longLine.size(), ';');
    ASSERT_EQ(longLine.size(), CPageTarget::kMaxLineBytes);
    QByteArray bytes = longLine + "20240302=03:00-04:00\r\n";
    bytes += "\n\n\n20240303=05:00-06:00\f20240304=07:00-08:00";
    bytes += QByteArray("\r"
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

    // Binary bytes are no plan: refused, the ranges kept, the reason given. UTF-16 with its mark
    // reads as text and is written back as such.
    WriteFile(path, QByteArray("20240312=1:00-2:00\r\n\0\x01\x02", 23));
    EXPECT_FALSE(group.LoadDispatchFile());
    EXPECT_EQ(group.m_ranges[0].m_day, 11);
    EXPECT_TRUE(group.m_fileProblem.startsWith(QLatin1String("not text")))
        << group.m_fileProblem.toStdString();
    QByteArray wide("\xFF\xFE");
    for (const char c : QByteArray("[Settings]\r\nName=Z\r\nTakeover=0\r\n20240313=01:00-02:00\r\n"))
        wide += c, wide += '\0';
    WriteFile(path, wide);
    ASSERT_TRUE(group.LoadDispatchFile());
    EXPECT_EQ(group.m_ranges[0].m_day, 13);
    group.m_name = QStringLiteral("Z");
    ASSERT_TRUE(group.SaveDispatchFile());
    EXPECT_EQ(ReadFile(path), wide);
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

    // Without a master file a removed local file is not taken: the ranges stay, and the memo, so
    // that every check looks again.
    ConfigLocation().SetPaths(JoinPath(m_folder, QStringLiteral("kelvaris.cfg")), QString());
    const qint64 memo = FileTimeNs(local);
    target.m_fileTimeMemo = memo;
    ASSERT_TRUE(QFile::remove(local));
    EXPECT_FALSE(target.ReloadIfChanged());
    EXPECT_EQ(target.m_fileTimeMemo, memo);
    EXPECT_EQ(target.m_fileProblem, QStringLiteral("the file is gone"));
    EXPECT_EQ(target.m_ranges.size(), 2);
}

TEST_F(PageTargetTest, FailedSaveLeavesTheOldFile)
{
    CPageTarget target = Target(QStringLiteral("17"));
    target.m_ranges.AddFromText(QStringLiteral("20240304=08:00-09:00"));

    // The data folder is missing.
    const QString gone = m_dir.filePath(QStringLiteral("gone"));
    ConfigLocation().SetPaths(JoinPath(gone, QStringLiteral("kelvaris.cfg")), QString());
    QString reason;
    EXPECT_FALSE(target.SaveDispatchFile(&reason));
    EXPECT_FALSE(reason.isEmpty()); // the reason comes back with the call
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

TEST_F(PageTargetTest, TargetListKeepsFiveFieldLinesWithDetails)
{
    CFakeServer server;
    server.replies.insert(QStringLiteral("[GetValue(Setup.Targets)]"),
        QStringLiteral("Anna\tx\tx\tx\tx\r\n"
                       "Four\tx\tx\tx\r\n"
                       "Six\tx\tx\tx\tx\tx\r\n"
                       "\"Ward\t3\"\tx\tx\tx\tx\r\n"
                       "Short\tx\tx\tx\tx\r\n"
                       "Silent\tx\tx\tx\tx\r\n"
                       "North\tx\tx\tx\tx\r\n"
                       "\"Bert\"\tx\tx\tx\t\"y\r\nz\"\r\n"));
    server.AddTarget(
        QStringLiteral("Anna"), QStringLiteral("0"), QStringLiteral("17"), QStringLiteral("0x0000FFFF"));
    server.AddTarget(QStringLiteral("Four"), QStringLiteral("0"), QStringLiteral("4"));
    server.AddTarget(QStringLiteral("Six"), QStringLiteral("0"), QStringLiteral("6"));
    server.AddTarget(QStringLiteral("Ward\t3"), QStringLiteral("010"), QStringLiteral("\"W 3\""),
        QStringLiteral("4294967295"));
    server.replies.insert(QStringLiteral("[GetTarget3(Short)]"),
        CFakeServer::Details(QStringLiteral("0"), QStringLiteral("9"), QStringLiteral("0"), 16));
    server.AddTarget(
        QStringLiteral("North"), QStringLiteral("-3"), QStringLiteral("40"), QStringLiteral("0x800000"));
    server.replies.insert(QStringLiteral("[GetGroupMembers(North)]"), QStringLiteral("Anna\tWard\t3"));
    server.AddTarget(QStringLiteral("Bert"), QStringLiteral("1"), QStringLiteral("18"));
    WriteFile(LocalFile(QStringLiteral("40")),
        "[Settings]\r\nName=North\r\nTakeover=1\r\n20240304=08:00-09:00\r\n");
    SetFileTime(LocalFile(QStringLiteral("40")), kBaseTime);

    CPageTargetArray targets;
    targets.append(Named(QStringLiteral("Old"), 0));
    ASSERT_TRUE(targets.FetchFromServer(server.Query()));
    ASSERT_EQ(targets.size(), 4);
    EXPECT_EQ(targets.FindByName(QStringLiteral("Old")), nullptr);

    const CPageTarget& anna = targets.at(0);
    EXPECT_EQ(anna.m_name, QStringLiteral("Anna"));
    EXPECT_EQ(anna.m_id, QStringLiteral("17"));
    EXPECT_EQ(anna.m_number, 0);
    EXPECT_FALSE(anna.IsGroup());
    EXPECT_EQ(anna.m_colour, 0x0000FFFFU);
    EXPECT_TRUE(anna.m_members.isEmpty());
    EXPECT_EQ(anna.m_fileTimeMemo, 0);

    // Quotes keep a tab inside a field and are removed; "010" is octal.
    const CPageTarget& ward = targets.at(1);
    EXPECT_EQ(ward.m_name, QStringLiteral("Ward\t3"));
    EXPECT_EQ(ward.m_id, QStringLiteral("W 3"));
    EXPECT_EQ(ward.m_number, 8);
    EXPECT_EQ(ward.m_colour, 0xFFFFFFFFU);

    const CPageTarget& north = targets.at(2);
    EXPECT_TRUE(north.IsGroup());
    EXPECT_EQ(north.m_number, -3);
    EXPECT_EQ(north.m_colour, 0x00800000U);
    EXPECT_EQ(north.m_members, QStringLiteral("Anna;Ward;3"));
    EXPECT_TRUE(north.m_takeover);
    EXPECT_EQ(north.m_ranges.size(), 1);
    EXPECT_EQ(north.m_fileTimeMemo, kBaseTime);
    EXPECT_FALSE(north.DispatchFileChanged());
    EXPECT_TRUE(north.m_pendingTakeover.isEmpty());

    // Lines with four or six fields are not asked about; only the group asks for members.
    EXPECT_EQ(server.sent,
        QStringList({ QStringLiteral("[GetValue(Setup.Targets)]"), QStringLiteral("[GetTarget3(Anna)]"),
            QStringLiteral("[GetTarget3(Ward\t3)]"), QStringLiteral("[GetTarget3(Short)]"),
            QStringLiteral("[GetTarget3(Silent)]"), QStringLiteral("[GetTarget3(North)]"),
            QStringLiteral("[GetGroupMembers(North)]"), QStringLiteral("[GetTarget3(Bert)]") }));
    // A quoted first field keeps the line whole, and CR LF inside quotes does not end it.
    EXPECT_EQ(targets.at(3).m_id, QStringLiteral("18"));

    // A failed or empty list leaves the list empty.
    server.replies.insert(QStringLiteral("[GetValue(Setup.Targets)]"), QString());
    EXPECT_FALSE(targets.FetchFromServer(server.Query()));
    EXPECT_TRUE(targets.isEmpty());
    EXPECT_EQ(targets.FindById(QStringLiteral("17")), nullptr);
    targets.append(Named(QStringLiteral("Old"), 0));
    server.replies.remove(QStringLiteral("[GetValue(Setup.Targets)]"));
    EXPECT_FALSE(targets.FetchFromServer(server.Query()));
    EXPECT_TRUE(targets.isEmpty());
    EXPECT_EQ(targets.FindByName(QStringLiteral("Old")), nullptr);
    EXPECT_FALSE(targets.FetchFromServer(CServerQuery()));
}

TEST_F(PageTargetTest, DetailNumbersUseTheAutomaticBaseAndSaturate)
{
    struct CCase
    {
        QString number;
        int expectedNumber;
        QString colour;
        quint32 expectedColour;
    };
    const CCase cases[] = {
        { QStringLiteral("0x10"), 16, QStringLiteral("0X00ff00"), 0x0000FF00U },
        { QStringLiteral("-0x10"), -16, QStringLiteral("017"), 15U },
        { QStringLiteral(" +12abc"), 12, QStringLiteral("0x1FFFFFFFF"), 0xFFFFFFFFU },
        { QStringLiteral("99999999999"), std::numeric_limits<int>::max(), QStringLiteral("-1"), 0xFFFFFFFFU },
        { QStringLiteral("-99999999999"), std::numeric_limits<int>::min(), QStringLiteral("-99999999999"),
            1U },
        { QStringLiteral("junk"), 0, QStringLiteral(""), 0U },
        { QStringLiteral("09"), 0, QStringLiteral("08"), 0U },
    };
    for (const CCase& c : cases) {
        CFakeServer server;
        server.AddTarget(QStringLiteral("T"), c.number, QStringLiteral("1"), c.colour);
        server.replies.insert(QStringLiteral("[GetGroupMembers(T)]"), QString());
        CPageTarget target = Named(QStringLiteral("T"), 0);
        ASSERT_TRUE(target.FetchDetails(server.Query())) << c.number.toStdString();
        EXPECT_EQ(target.m_number, c.expectedNumber) << c.number.toStdString();
        EXPECT_EQ(target.m_colour, c.expectedColour) << c.colour.toStdString();
    }

    // Too few fields or a failed call change nothing.
    CFakeServer server;
    server.replies.insert(QStringLiteral("[GetTarget3(T)]"),
        CFakeServer::Details(QStringLiteral("-1"), QStringLiteral("2"), QStringLiteral("3"), 16));
    CPageTarget target = Named(QStringLiteral("T"), 4);
    EXPECT_FALSE(target.FetchDetails(server.Query()));
    EXPECT_FALSE(Named(QStringLiteral("U"), 4).FetchDetails(server.Query()));
    EXPECT_EQ(target.m_number, 4);
    EXPECT_EQ(target.m_id, QStringLiteral("t"));
    EXPECT_EQ(
        server.sent, QStringList({ QStringLiteral("[GetTarget3(T)]"), QStringLiteral("[GetTarget3(U)]") }));
}

TEST_F(PageTargetTest, MemberQueryFailureKeepsTheMembers)
{
    CFakeServer server;
    CPageTarget group = Named(QStringLiteral("G"), -1, QStringLiteral("Anna;Bert"));
    EXPECT_FALSE(group.FetchMembers(server.Query()));
    EXPECT_EQ(group.m_members, QStringLiteral("Anna;Bert"));

    // A group whose member query fails still has its details.
    server.AddTarget(QStringLiteral("G"), QStringLiteral("-1"), QStringLiteral("50"));
    EXPECT_TRUE(group.FetchDetails(server.Query()));
    EXPECT_EQ(group.m_members, QStringLiteral("Anna;Bert"));

    server.replies.insert(QStringLiteral("[GetGroupMembers(G)]"), QStringLiteral("Carl\t\tDora\t"));
    EXPECT_TRUE(group.FetchMembers(server.Query()));
    EXPECT_EQ(group.m_members, QStringLiteral("Carl;;Dora;"));
    server.replies.insert(QStringLiteral("[GetGroupMembers(G)]"), QString());
    EXPECT_TRUE(group.FetchMembers(server.Query()));
    EXPECT_TRUE(group.m_members.isEmpty());
}

TEST_F(PageTargetTest, LookupsFindTheFirstExactMatch)
{
    CPageTargetArray targets;
    CPageTarget first = Named(QStringLiteral("Anna"), 0);
    first.m_id = QStringLiteral("17");
    first.m_colour = 1;
    CPageTarget second = first;
    second.m_colour = 2;
    CPageTarget third = Named(QStringLiteral("anna"), 0);
    third.m_id = QStringLiteral("A17");
    targets.append(first);
    targets.append(second);
    targets.append(std::move(third));

    ASSERT_NE(targets.FindById(QStringLiteral("17")), nullptr);
    EXPECT_EQ(targets.FindById(QStringLiteral("17"))->m_colour, 1U);
    EXPECT_EQ(targets.FindByName(QStringLiteral("Anna")), &targets.at(0));
    EXPECT_EQ(targets.FindByName(QStringLiteral("anna")), &targets.at(2));
    EXPECT_EQ(targets.FindById(QStringLiteral("a17")), nullptr);
    EXPECT_EQ(targets.FindByName(QStringLiteral("ANNA")), nullptr);
    EXPECT_EQ(targets.FindByName(QStringLiteral("Anna ")), nullptr);
    EXPECT_EQ(targets.FindById(QString()), nullptr);

    // Copies carry their own index and ranges.
    targets[0].m_ranges.AddFromText(QStringLiteral("20240304=08:00-09:00"));
    CPageTargetArray copy = targets;
    targets.clear();
    EXPECT_EQ(targets.FindById(QStringLiteral("17")), nullptr);
    ASSERT_NE(copy.FindById(QStringLiteral("17")), nullptr);
    EXPECT_EQ(copy.FindById(QStringLiteral("17")), &copy.at(0));
    EXPECT_EQ(copy.FindById(QStringLiteral("17"))->m_ranges.size(), 1);
    copy.FindById(QStringLiteral("17"))->m_ranges.clear();
    EXPECT_EQ(copy.at(0).m_ranges.size(), 0);
}

TEST_F(PageTargetTest, CurrentDutyMemberIsTheFirstMemberOnDuty)
{
    CPageTargetArray targets;
    targets.append(Named(QStringLiteral("Anna"), 0));
    targets.append(Named(QStringLiteral("Bert"), 0));
    const CPageTarget group = Named(QStringLiteral("G"), -1, QStringLiteral("Ghost;Anna;Bert"));
    const CDateTime moment(2024, 3, 4, 10, 0, 0);

    // Without ranges everybody is on duty.
    EXPECT_EQ(group.CurrentDutyMember(targets, moment), &targets.at(0));

    targets[0].m_ranges.AddFromText(QStringLiteral("20240304=12:00-13:00"));
    targets[1].m_ranges.AddFromText(QStringLiteral("20240304=09:00-11:00"));
    EXPECT_EQ(group.CurrentDutyMember(targets, moment), &targets.at(1));
    EXPECT_EQ(group.CurrentDutyMember(targets, CDateTime(2024, 3, 4, 12, 30, 0)), &targets.at(0));
    EXPECT_EQ(group.CurrentDutyMember(targets, CDateTime(2024, 3, 4, 11, 0, 0)), nullptr);
    EXPECT_EQ(Named(QStringLiteral("E"), -1).CurrentDutyMember(targets, moment), nullptr);
}

TEST_F(PageTargetTest, ReceiversOfNestedGroupsAppearOnce)
{
    CPageTargetArray targets;
    targets.append(Named(QStringLiteral("Anna"), 0));
    targets.append(Named(QStringLiteral("Bert"), 1));
    targets.append(Named(QStringLiteral("Carl;Co"), 2));
    targets.append(Named(QString(), 3));
    targets.append(Named(QStringLiteral("Day"), -1, QStringLiteral("Anna;Bert")));
    targets.append(Named(QStringLiteral("Night"), -2, QStringLiteral("Bert;\"Carl;Co\";;Ghost")));
    targets.append(Named(QStringLiteral("All"), -3, QStringLiteral("Night;Day;Anna")));
    targets.append(Named(QStringLiteral("Self"), -4, QStringLiteral("Anna;Self;Bert")));
    targets.append(Named(QStringLiteral("Ping"), -5, QStringLiteral("Pong;Anna")));
    targets.append(Named(QStringLiteral("Pong"), -6, QStringLiteral("Ping;Bert")));
    targets.append(Named(QStringLiteral("Loop"), -7, QStringLiteral("Loop")));

    EXPECT_EQ(targets.FindByName(QStringLiteral("Anna"))->GetReceivers(targets), QStringLiteral("Anna"));
    EXPECT_EQ(
        targets.FindByName(QStringLiteral("Carl;Co"))->GetReceivers(targets), QStringLiteral("\"Carl;Co\""));
    EXPECT_EQ(targets.FindByName(QStringLiteral("Day"))->GetReceivers(targets), QStringLiteral("Anna;Bert"));
    EXPECT_EQ(targets.FindByName(QStringLiteral("All"))->GetReceivers(targets),
        QStringLiteral("Bert;\"Carl;Co\";Anna"));
    EXPECT_EQ(targets.FindByName(QStringLiteral("Self"))->GetReceivers(targets), QStringLiteral("Anna;Bert"));
    EXPECT_EQ(targets.FindByName(QStringLiteral("Ping"))->GetReceivers(targets), QStringLiteral("Bert;Anna"));
    EXPECT_EQ(targets.FindByName(QStringLiteral("Pong"))->GetReceivers(targets), QStringLiteral("Anna;Bert"));
    EXPECT_EQ(targets.FindByName(QStringLiteral("Loop"))->GetReceivers(targets), QString());
    // A group outside the list, and one whose members are unknown.
    EXPECT_EQ(Named(QStringLiteral("Loop"), -7, QStringLiteral("Loop;Anna")).GetReceivers(targets),
        QStringLiteral("Anna"));
    EXPECT_EQ(Named(QStringLiteral("X"), -1, QStringLiteral("Ghost;;")).GetReceivers(targets), QString());

    // A chain of many nested groups does not exhaust the call stack.
    constexpr int kDepth = 100'000;
    CPageTargetArray chain;
    chain.reserve(kDepth + 1);
    for (int i = 0; i < kDepth; ++i)
        chain.append(Named(QString::number(i), -1, QString::number(i + 1) + QStringLiteral(";0")));
    chain.append(Named(QString::number(kDepth), 0));
    EXPECT_EQ(chain.at(0).GetReceivers(chain), QString::number(kDepth));
}

// Black or white, whichever contrasts more with the colour (WCAG 2 relative luminance).
TEST_F(PageTargetTest, TextColourHasTheHigherContrast)
{
    CPageTarget target;
    const std::pair<quint32, quint32> cases[] = {
        { 0x00FF0000U, 0x00FFFFFFU }, // pure blue #0000ff: white (8.6:1; black only 2.4:1)
        { 0x000000FFU, 0U }, // pure red #ff0000: black (5.3:1 against 4.0:1)
        { 0x0000FF00U, 0U }, // pure green #00ff00
        { 0x00808080U, 0U }, // grey #808080
        { 0x0000FFFFU, 0U }, // yellow
        { 0x00800000U, 0x00FFFFFFU }, // dark blue
        { 0x00000080U, 0x00FFFFFFU }, // dark red
        { 0x00008000U, 0x00FFFFFFU }, // dark green #008000 (luminance 0.154)
        { 0x00000000U, 0x00FFFFFFU }, { 0x00FFFFFFU, 0U },
        { 0x00767676U, 0U }, // #767676: luminance 0.181, black just wins
        { 0x00757575U, 0x00FFFFFFU }, // #757575: 0.178, white just wins
        { 0xFF000000U, 0x00FFFFFFU }, // the top byte is no colour
    };
    for (const auto& [colour, text] : cases) {
        target.m_colour = colour;
        EXPECT_EQ(target.TextColour(), text) << std::hex << colour;
    }
}

TEST_F(PageTargetTest, CurrentTargetIdIsStoredInTheDispatchFile)
{
    const QString config = JoinPath(m_folder, QStringLiteral("kelvaris.cfg"));
    WriteFile(config, "[Settings]\r\n");
    SetFileTime(config, kBaseTime);
    ConfigLocation().SetFileTimeMemo(1);

    const QString path = LocalFile(QStringLiteral("40"));
    WriteFile(path, "[Settings]\r\nName=North\r\nTakeover=1\r\n20240304=08:00-09:00\r\n");
    SetFileTime(path, kBaseTime - 10 * kSecond);
    CPageTarget group = Target(QStringLiteral("40"), -1);
    group.m_name = QStringLiteral("North");
    group.m_fileTimeMemo = kBaseTime - 10 * kSecond;
    group.m_pendingTakeover = QStringLiteral("18");
    EXPECT_EQ(group.ReadCurrentTargetId(), QString());

    ASSERT_TRUE(group.WriteCurrentTargetId(QStringLiteral(" 17 ")));
    EXPECT_EQ(ReadFile(path),
        QByteArray("[Settings]\r\nName=North\r\nTakeover=1\r\n20240304=08:00-09:00\r\nCurrentTargetID=\" 17 "
                   "\"\r\n"));
    EXPECT_EQ(group.ReadCurrentTargetId(), QStringLiteral(" 17 "));
    EXPECT_TRUE(group.m_pendingTakeover.isEmpty());
    // The configuration file changed since the memo was taken; this write must not hide that.
    EXPECT_EQ(ConfigLocation().FileTimeMemo(), 1);
    // The own memo is left, so the next check reloads the file - which still reads the same.
    EXPECT_EQ(group.m_fileTimeMemo, kBaseTime - 10 * kSecond);
    EXPECT_TRUE(group.DispatchFileChanged());
    // Written just now, so perhaps not complete yet: left for a second look.
    bool recheckDue = false;
    EXPECT_FALSE(group.ReloadIfChanged(&recheckDue));
    EXPECT_TRUE(recheckDue);
    EXPECT_EQ(group.m_fileTimeMemo, kBaseTime - 10 * kSecond);
    SetFileTime(path, kBaseTime);
    EXPECT_TRUE(group.ReloadIfChanged());
    EXPECT_TRUE(group.m_takeover);
    EXPECT_EQ(group.m_ranges.size(), 1);

    // Replaced in place; the next save puts it after Takeover.
    ASSERT_TRUE(group.WriteCurrentTargetId(QStringLiteral("18")));
    ASSERT_TRUE(group.SaveDispatchFile());
    EXPECT_EQ(ReadFile(path),
        QByteArray(
            "[Settings]\r\nName=North\r\nTakeover=1\r\nCurrentTargetID=18\r\n20240304=08:00-09:00\r\n"));
    ASSERT_TRUE(group.WriteCurrentTargetId(QString()));
    EXPECT_TRUE(ReadFile(path).contains("\r\nCurrentTargetID=\r\n"));
    EXPECT_EQ(group.ReadCurrentTargetId(), QString());

    // A new file holds the key alone.
    CPageTarget fresh = Target(QStringLiteral("41"), -1);
    ASSERT_TRUE(fresh.WriteCurrentTargetId(QStringLiteral("17")));
    EXPECT_EQ(ReadFile(LocalFile(QStringLiteral("41"))), QByteArray("[Settings]\r\nCurrentTargetID=17\r\n"));

    // An ID that names no file reads nothing and writes nothing.
    ConfigLocation().SetFileTimeMemo(1);
    CPageTarget unsafe = Target(QStringLiteral("../40"), -1);
    unsafe.m_pendingTakeover = QStringLiteral("18");
    EXPECT_EQ(unsafe.ReadCurrentTargetId(), QString());
    EXPECT_FALSE(unsafe.WriteCurrentTargetId(QStringLiteral("17")));
    EXPECT_TRUE(unsafe.m_pendingTakeover.isEmpty());
    EXPECT_EQ(ConfigLocation().FileTimeMemo(), 1);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList());
}

TEST_F(PageTargetTest, HandEditOfTheCurrentTargetIsSeenAtOnce)
{
    const QString path = LocalFile(QStringLiteral("40"));
    WriteFile(path, "[Settings]\r\nTakeover=1\r\nCurrentTargetID=17\r\n");
    SetFileTime(path, kBaseTime);
    const CPageTarget group = Target(QStringLiteral("40"), -1);
    EXPECT_EQ(group.ReadCurrentTargetId(), QStringLiteral("17"));

    // Same size, then also the same modification time.
    WriteFile(path, "[Settings]\r\nTakeover=1\r\nCurrentTargetID=18\r\n");
    EXPECT_EQ(group.ReadCurrentTargetId(), QStringLiteral("18"));
    WriteFile(path, "[Settings]\r\nTakeover=1\r\nCurrentTargetID=19\r\n");
    SetFileTime(path, kBaseTime);
    EXPECT_EQ(group.ReadCurrentTargetId(), QStringLiteral("19"));
    ASSERT_TRUE(QFile::remove(path));
    EXPECT_EQ(group.ReadCurrentTargetId(), QString());
}

TEST_F(PageTargetTest, CountRangesInPeriodNamesTheTargets)
{
    CPageTargetArray targets;
    targets.append(Named(QStringLiteral("Anna"), 0));
    targets.append(Named(QStringLiteral("Bert"), 0));
    targets.append(Named(QStringLiteral("Carl"), 0));
    targets[0].m_ranges.AddFromText(QStringLiteral("20240304=08:00-09:00;10:00-11:00"));
    targets[0].m_ranges.AddFromText(QStringLiteral("20240310=08:00-09:00"));
    targets[1].m_ranges.AddFromText(QStringLiteral("20240301=08:00-09:00"));
    targets[2].m_ranges.AddFromText(QStringLiteral("20240305=08:00-09:00"));

    QStringList names { QStringLiteral("kept") };
    EXPECT_EQ(
        targets.CountRangesInPeriod(CDateTime(2024, 3, 4, 12, 0, 0), CDateTime(2024, 3, 5, 0, 0, 0), &names),
        3);
    EXPECT_EQ(names, QStringList({ QStringLiteral("kept"), QStringLiteral("Anna"), QStringLiteral("Carl") }));
    EXPECT_EQ(
        targets.CountRangesInPeriod(CDateTime(2024, 3, 1, 0, 0, 0), CDateTime(2024, 3, 31, 0, 0, 0)), 5);
    EXPECT_EQ(
        targets.CountRangesInPeriod(CDateTime(2024, 4, 1, 0, 0, 0), CDateTime(2024, 4, 30, 0, 0, 0), &names),
        0);
    EXPECT_EQ(names.size(), 3);
}

// No write follows a link planted at a file's name: the dispatch file, the holder written into it and
// the configuration are refused, the link's target stays as it was, and the holder is kept in memory.
TEST_F(PageTargetTest, NoWriteFollowsALink)
{
    const QString victim = JoinPath(m_folder, QStringLiteral("victim"));
    WriteFile(victim, "[Settings]\r\nName=untouched\r\n");
    CPageTarget group = Target(QStringLiteral("40"), -1);
    group.m_takeover = true;
    const QString config = JoinPath(m_folder, QStringLiteral("kelvaris.cfg"));
    for (const QString& path : { LocalFile(QStringLiteral("40")), config })
        ASSERT_TRUE(QFile::link(victim, path));

    EXPECT_FALSE(group.SaveDispatchFile());
    EXPECT_FALSE(group.WriteCurrentTargetId(QStringLiteral("17")));
    EXPECT_EQ(group.ReadCurrentTargetId(), QStringLiteral("17"));
    EXPECT_TRUE(group.HasUnsavedWrites());
    CProfile profile(config);
    EXPECT_FALSE(
        profile.WriteString(QStringLiteral("Settings"), QStringLiteral("AutoActivate"), QStringLiteral("1")));
    EXPECT_EQ(ReadFile(victim), QByteArray("[Settings]\r\nName=untouched\r\n"));
    EXPECT_TRUE(QFileInfo(LocalFile(QStringLiteral("40"))).isSymLink());
}
