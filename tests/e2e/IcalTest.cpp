// kelvarisctl ical against kelvaris-alarmsim on a private session bus: the targets come from the
// simulator, their plans from the dispatch files; the calendar goes to standard output or into a
// file. Run with TZ=Europe/Berlin (winter time: UTC+1).
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "PrivateBus.h"

namespace {

class IcalTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { s_suite = new CBusTestSuite("test_e2e_ical"); }
    static void TearDownTestSuite()
    {
        delete s_suite;
        s_suite = nullptr;
    }

    void SetUp() override
    {
        ASSERT_TRUE(s_suite->Bus().IsRunning());
        ASSERT_TRUE(m_dir.isValid());
        const QString service
            = QStringLiteral("com.ondrevi.AlarmServerTest.i%1").arg(QCoreApplication::applicationPid());
        m_env = QProcessEnvironment::systemEnvironment();
        m_env.insert(QStringLiteral("KELVARIS_ALARMSERVER_BUS_NAME"), service);
        m_env.insert(QStringLiteral("KELVARIS_DATA"), m_dir.path());
        m_env.insert(QStringLiteral("TZ"), QStringLiteral("Europe/Berlin"));
        m_env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8")); // system error texts in English
        Write("kelvaris.cfg", "[Settings]\r\nWorkDays=31\r\n");
        Write("targets.cfg",
            "[Target1]\r\nName=Duty desk\r\nNumber=0\r\nID=17\r\nColour=255\r\n"
            "[Target2]\r\nName=Night; North\r\nNumber=1\r\nID=18\r\nColour=65280\r\n"
            "[Target3]\r\nName=Rescue\r\nNumber=-1\r\nID=90\r\nColour=0\r\nMembers=Duty desk\r\n");
        // across midnight: one event
        Write("17.tim",
            "[Settings]\r\nName=Duty desk\r\n20240131=22:00-24:00\r\n20240201=00:00-06:00\r\n"
            "20240301=08:00-09:00\r\n");
        Write("18.tim", "[Settings]\r\nName=Night; North\r\n20240131=08:30-10:00\r\n");
        Write("90.tim", "[Settings]\r\nName=Rescue\r\n20240202=10:00-12:00\r\n");

        m_sim.setProcessEnvironment(m_env);
        m_sim.start(QStringLiteral(ALARMSIM_PATH),
            { QStringLiteral("--targets"), m_dir.filePath(QStringLiteral("targets.cfg")) });
        ASSERT_TRUE(m_sim.waitForStarted(5000));
        ASSERT_TRUE(WaitForBusName(service));
    }

    void TearDown() override
    {
        m_sim.terminate();
        if (!m_sim.waitForFinished(5000))
            m_sim.kill();
    }

    void Write(const char* name, const QByteArray& text)
    {
        QFile file(m_dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    // Runs kelvarisctl ical over January to March 2024; its exit code, standard output and error.
    // Settings/InstallationId of the configuration, read as text (by a reader of our own making
    // no entry).
    QByteArray InstallationIdOfTheSite() const
    {
        QFile file(m_dir.filePath(QStringLiteral("kelvaris.cfg")));
        if (!file.open(QIODevice::ReadOnly))
            return QByteArray();
        for (const QByteArray& line : file.readAll().split('\n')) {
            if (line.startsWith("InstallationId="))
                return line.mid(15).trimmed();
        }
        return QByteArray();
    }

    int Ical(const QStringList& arguments, QByteArray* out = nullptr, QString* error = nullptr)
    {
        QProcess ctl;
        ctl.setProcessEnvironment(m_env);
        ctl.start(QStringLiteral(KELVARISCTL_PATH),
            QStringList { QStringLiteral("ical"), QStringLiteral("--from"), QStringLiteral("2024-01-01"),
                QStringLiteral("--to"), QStringLiteral("31.3.2024") }
                + arguments);
        if (!ctl.waitForFinished(30000))
            return -1;
        if (out)
            *out = ctl.readAllStandardOutput();
        if (error)
            *error = QString::fromUtf8(ctl.readAllStandardError()).trimmed();
        return ctl.exitStatus() == QProcess::NormalExit ? ctl.exitCode() : -1;
    }

    static QByteArray Read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static inline CBusTestSuite* s_suite = nullptr;
    QTemporaryDir m_dir;
    QProcessEnvironment m_env;
    QProcess m_sim;
};

} // namespace

TEST_F(IcalTest, OneTargetByNameOrIdAndAllReceiversOrGroups)
{
    QByteArray calendar;
    ASSERT_EQ(Ical({ QStringLiteral("--target"), QStringLiteral("Duty desk") }, &calendar), 0);
    EXPECT_TRUE(calendar.startsWith("BEGIN:VCALENDAR\r\nVERSION:2.0\r\n"));
    EXPECT_TRUE(calendar.endsWith("END:VCALENDAR\r\n"));
    EXPECT_TRUE(calendar.contains("X-WR-CALNAME:Duty desk\r\n"));
    // The UIDs carry the installation's ID, made at the first calendar and kept in the configuration.
    const QByteArray installation = InstallationIdOfTheSite();
    ASSERT_FALSE(installation.isEmpty());
    EXPECT_TRUE(calendar.contains("UID:17-20240131T210000Z@" + installation
        + ".kelvaris\r\n"
          "DTSTAMP:"));
    EXPECT_TRUE(calendar.contains("DTSTART:20240131T210000Z\r\nDTEND:20240201T050000Z\r\n"
                                  "TRANSP:TRANSPARENT\r\nSUMMARY:Duty desk\r\n"));
    EXPECT_TRUE(calendar.contains("DTSTART:20240301T070000Z\r\n"));
    EXPECT_EQ(calendar.count("BEGIN:VEVENT"), 2);

    QByteArray byId;
    ASSERT_EQ(Ical({ QStringLiteral("--id"), QStringLiteral("18") }, &byId), 0);
    EXPECT_TRUE(byId.contains("UID:18-20240131T073000Z@" + installation + ".kelvaris\r\n"));
    EXPECT_TRUE(byId.contains("SUMMARY:Night\\; North\r\n"));

    QByteArray receivers;
    ASSERT_EQ(Ical({ QStringLiteral("--all"), QStringLiteral("receivers") }, &receivers), 0);
    EXPECT_EQ(receivers.count("BEGIN:VEVENT"), 3);
    EXPECT_FALSE(receivers.contains("Rescue"));
    QByteArray groups;
    ASSERT_EQ(Ical({ QStringLiteral("--all"), QStringLiteral("groups") }, &groups), 0);
    EXPECT_EQ(groups.count("BEGIN:VEVENT"), 1);
    EXPECT_TRUE(groups.contains("SUMMARY:Rescue (group)\r\n"));
    EXPECT_TRUE(groups.contains("X-WR-CALNAME:All groups\r\n"));
}

TEST_F(IcalTest, OutputFileIsReplacedOrTheErrorNamed)
{
    const QString path = m_dir.filePath(QStringLiteral("duty.ics"));
    Write("duty.ics", "old content");
    QByteArray out;
    ASSERT_EQ(
        Ical({ QStringLiteral("--id"), QStringLiteral("17"), QStringLiteral("--output"), path }, &out), 0);
    EXPECT_TRUE(out.isEmpty());
    const QByteArray written = Read(path);
    EXPECT_TRUE(written.startsWith("BEGIN:VCALENDAR\r\n"));
    EXPECT_EQ(written.count("BEGIN:VEVENT"), 2);
    // only the calendar is left in the folder: no temporary file stays behind
    EXPECT_EQ(QDir(m_dir.path()).entryList({ QStringLiteral("duty.ics*") }, QDir::Files),
        QStringList { QStringLiteral("duty.ics") });

    const QString missing = m_dir.filePath(QStringLiteral("no-such-folder/duty.ics"));
    QString error;
    EXPECT_EQ(Ical({ QStringLiteral("--id"), QStringLiteral("17"), QStringLiteral("--output"), missing },
                  nullptr, &error),
        1);
    EXPECT_TRUE(error.contains(missing)) << error.toStdString();
    EXPECT_EQ(error.count(QLatin1Char('\n')), 0) << error.toStdString();
    EXPECT_GT(error.size(), missing.size() + 20) << "no reason given: " << error.toStdString();
}

TEST_F(IcalTest, UnknownTargetsAndBadUsage)
{
    EXPECT_EQ(Ical({ QStringLiteral("--target"), QStringLiteral("Nobody") }), 1);
    EXPECT_EQ(Ical({ QStringLiteral("--id"), QStringLiteral("4711") }), 1);
    EXPECT_EQ(Ical({}), 2);
    EXPECT_EQ(Ical({ QStringLiteral("--id"), QStringLiteral("17"), QStringLiteral("--all"),
                  QStringLiteral("receivers") }),
        2);
    EXPECT_EQ(Ical({ QStringLiteral("--all"), QStringLiteral("everyone") }), 2);
    // --from after --to (the later --from wins)
    EXPECT_EQ(Ical({ QStringLiteral("--id"), QStringLiteral("17"), QStringLiteral("--from"),
                  QStringLiteral("2024-04-01") }),
        2);
    EXPECT_EQ(Ical({ QStringLiteral("--id"), QStringLiteral("17"), QStringLiteral("--to"),
                  QStringLiteral("someday") }),
        2);
}

TEST_F(IcalTest, HelpVersionAndAConfigFileThatCannotBeRead)
{
    QByteArray out;
    QString error;
    ASSERT_EQ(Ical({ QStringLiteral("--help") }, &out, &error), 0);
    const QString help = QString::fromUtf8(out);
    EXPECT_TRUE(help.startsWith(QStringLiteral("Usage: kelvarisctl ical"))) << help.toStdString();
    for (const char* option : { "--target", "--id", "--all", "--from", "--to", "--output", "--config" })
        EXPECT_TRUE(help.contains(QLatin1String(option))) << option;
    // the date forms are listed
    EXPECT_TRUE(help.contains(QStringLiteral("4.3.2024"))) << help.toStdString();
    EXPECT_TRUE(error.isEmpty());
    ASSERT_EQ(Ical({ QStringLiteral("--version") }, &out), 0);
    EXPECT_TRUE(out.startsWith("kelvarisctl "));
    EXPECT_EQ(Ical({ QStringLiteral("--bogus-option") }, nullptr, &error), 2);
    EXPECT_TRUE(error.contains(QStringLiteral("ical")) && error.contains(QStringLiteral("'bogus-option'")))
        << error.toStdString();

    const QString absent = m_dir.filePath(QStringLiteral("typo.cfg"));
    EXPECT_EQ(Ical({ QStringLiteral("--id"), QStringLiteral("17"), QStringLiteral("--config"), absent }, &out,
                  &error),
        2);
    EXPECT_TRUE(out.isEmpty());
    EXPECT_TRUE(error.contains(absent) && error.contains(QStringLiteral("No such file or directory")))
        << error.toStdString();

    // The overview names the verb.
    QProcess ctl;
    ctl.start(QStringLiteral(KELVARISCTL_PATH), { QStringLiteral("--help") });
    ASSERT_TRUE(ctl.waitForFinished(30000));
    EXPECT_TRUE(ctl.readAllStandardOutput().contains("\n  ical (--target NAME"));
}
