// kelvaris --headless --calendar-folder DIR against kelvaris-alarmsim on a private session bus: the
// calendar files appear at the start; a folder that cannot be made is a warning, and the engine
// serves all the same.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "PrivateBus.h"
#include "fakes/TestPrograms.h"

namespace {

class CalendarFolderHeadlessTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { s_suite = new CBusTestSuite("test_e2e_calendar_folder"); }
    static void TearDownTestSuite()
    {
        delete s_suite;
        s_suite = nullptr;
    }

    void SetUp() override
    {
        ASSERT_TRUE(s_suite->Bus().IsRunning());
        ASSERT_TRUE(m_dir.isValid());
        const qint64 pid = QCoreApplication::applicationPid();
        m_service = QStringLiteral("com.ondrevi.AlarmServerTest.c%1").arg(pid);
        m_env = QProcessEnvironment::systemEnvironment();
        m_env.insert(QStringLiteral("KELVARIS_ALARMSERVER_BUS_NAME"), m_service);
        m_env.insert(QStringLiteral("KELVARIS_DATA"), m_dir.path());
        m_env.insert(QStringLiteral("KELVARIS_PIPE_NAME"), QStringLiteral("kelvaris-caltest-%1").arg(pid));
        m_env.insert(
            QStringLiteral("KELVARIS_BUS_NAME"), QStringLiteral("com.ondrevi.KelvarisTest.c%1").arg(pid));
        Write("kelvaris.cfg", "[Settings]\r\nWorkDays=31\r\n");
        Write("targets.cfg",
            "[Target1]\r\nName=Anna\r\nNumber=0\r\nID=17\r\nColour=255\r\n"
            "[Target2]\r\nName=North\r\nNumber=-1\r\nID=40\r\nColour=255\r\nMembers=Anna\r\n");
        const QByteArray today = QDate::currentDate().toString(QStringLiteral("yyyyMMdd")).toLatin1();
        Write("17.tim", "[Settings]\r\nName=Anna\r\n" + today + "=08:00-16:00\r\n");
        Write("40.tim", "[Settings]\r\nName=North\r\nTakeover=1\r\nCurrentTargetID=17\r\n");

        m_sim.setProcessEnvironment(m_env);
        m_sim.start(QStringLiteral(ALARMSIM_PATH),
            { QStringLiteral("--targets"), m_dir.filePath(QStringLiteral("targets.cfg")) });
        ASSERT_TRUE(m_sim.waitForStarted(5000));
        ASSERT_TRUE(WaitForBusName(m_service, 10000, &m_sim));
    }

    void TearDown() override { EndProcesses({ &m_kelvaris, &m_sim }); }

    void Write(const char* name, const QByteArray& text)
    {
        QFile file(m_dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    void StartKelvaris(const QString& folder)
    {
        m_kelvaris.setProcessEnvironment(m_env);
        m_kelvaris.start(QStringLiteral(KELVARIS_PATH),
            { QStringLiteral("--headless"), QStringLiteral("--calendar-folder"), folder });
        ASSERT_TRUE(m_kelvaris.waitForStarted(5000));
    }
    // Whether kelvarisctl check reaches the running Kelvaris on its socket (within 10 s).
    bool Answers() const
    {
        QDeadlineTimer deadline(10000);
        do {
            QProcess ctl;
            ctl.setProcessEnvironment(m_env);
            ctl.start(QStringLiteral(KELVARISCTL_PATH), { QStringLiteral("check") });
            if (ctl.waitForFinished(5000) && ctl.exitStatus() == QProcess::NormalExit && ctl.exitCode() == 0)
                return true;
            QThread::msleep(100);
        } while (!deadline.hasExpired());
        return false;
    }
    static QByteArray Read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static inline CBusTestSuite* s_suite = nullptr;
    QTemporaryDir m_dir;
    QString m_service;
    QProcessEnvironment m_env;
    QProcess m_sim;
    QProcess m_kelvaris;
};

} // namespace

TEST_F(CalendarFolderHeadlessTest, TheOptionWritesEveryCalendarAtTheStart)
{
    const QString folder = m_dir.filePath(QStringLiteral("calendars"));
    StartKelvaris(folder);
    ASSERT_TRUE(Answers()) << m_kelvaris.readAllStandardError().toStdString();
    QDeadlineTimer deadline(10000);
    while (!QFile::exists(folder + QStringLiteral("/all-groups.ics")) && !deadline.hasExpired())
        QThread::msleep(50);
    for (const char* name : { "17.ics", "40.ics", "all-receivers.ics", "all-groups.ics" })
        EXPECT_TRUE(Read(folder + u'/' + QLatin1String(name)).endsWith("END:VCALENDAR\r\n")) << name;
    EXPECT_TRUE(Read(folder + QStringLiteral("/17.ics")).contains("SUMMARY:Anna\r\n"));
    EXPECT_TRUE(Read(folder + QStringLiteral("/all-receivers.ics")).contains("UID:17-"));
}

TEST_F(CalendarFolderHeadlessTest, AFolderThatCannotBeMadeIsAWarningOnly)
{
    Write("blocker", "a file");
    const QString folder = m_dir.filePath(QStringLiteral("blocker/calendars"));
    StartKelvaris(folder);
    ASSERT_TRUE(Answers()) << m_kelvaris.readAllStandardError().toStdString();
    EXPECT_EQ(m_kelvaris.state(), QProcess::Running);
    QDeadlineTimer deadline(5000);
    QByteArray errors;
    while (!errors.contains("calendar folder") && !deadline.hasExpired()) {
        m_kelvaris.waitForReadyRead(100);
        errors += m_kelvaris.readAllStandardError() + m_kelvaris.readAllStandardOutput();
    }
    EXPECT_TRUE(errors.contains(QFile::encodeName(folder))) << errors.toStdString();
}

TEST_F(CalendarFolderHeadlessTest, TheOptionNeedsAFolderAndTheHeadlessProgram)
{
    for (const QStringList& arguments :
        { QStringList { QStringLiteral("--headless"), QStringLiteral("--calendar-folder") },
            QStringList { QStringLiteral("--calendar-folder"), m_dir.path() } }) {
        QProcess kelvaris;
        kelvaris.setProcessEnvironment(m_env);
        kelvaris.start(QStringLiteral(KELVARIS_PATH), arguments);
        ASSERT_TRUE(kelvaris.waitForFinished(10000));
        EXPECT_EQ(kelvaris.exitCode(), 2) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(kelvaris.readAllStandardError().contains("--calendar-folder"));
    }
}
