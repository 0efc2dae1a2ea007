// A crash of kelvaris --headless leaves a report in crash/ of the data folder and still ends the
// process by the signal.
#include <gtest/gtest.h>

#include <csignal>

#include <sys/resource.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "PrivateBus.h"
#include "support/CrashHandler.h"

namespace {

class CrashTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { s_suite = new CBusTestSuite("test_e2e_crash"); }
    static void TearDownTestSuite()
    {
        delete s_suite;
        s_suite = nullptr;
    }

    void TearDown() override
    {
        if (m_kelvaris.state() != QProcess::NotRunning) {
            m_kelvaris.kill();
            m_kelvaris.waitForFinished(5000);
        }
    }

    static inline CBusTestSuite* s_suite = nullptr;
    QTemporaryDir m_dir;
    QProcess m_kelvaris;
};

} // namespace

TEST_F(CrashTest, SegvLeavesAReportWithABacktraceAndDiesBySegv)
{
    ASSERT_TRUE(s_suite->Bus().IsRunning());
    ASSERT_TRUE(m_dir.isValid());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KELVARIS_DATA"), m_dir.path());
    env.insert(QStringLiteral("KELVARIS_PIPE_NAME"),
        QStringLiteral("kelvaris-crash-%1").arg(QCoreApplication::applicationPid()));
    env.insert(QStringLiteral("KELVARIS_ALARMSERVER_BUS_NAME"),
        QStringLiteral("com.ondrevi.AlarmServerTest.c%1").arg(QCoreApplication::applicationPid()));
    m_kelvaris.setProcessEnvironment(env);
    // No core file in the test's folder.
    m_kelvaris.setChildProcessModifier([] {
        const rlimit none { 0, 0 };
        ::setrlimit(RLIMIT_CORE, &none);
    });
    m_kelvaris.start(QStringLiteral(KELVARIS_PATH), { QStringLiteral("--headless") });
    ASSERT_TRUE(m_kelvaris.waitForStarted(5000));

    // Running: the first logbook line is out.
    QByteArray out;
    QDeadlineTimer deadline(10000);
    while (!out.contains('\n') && !deadline.hasExpired() && m_kelvaris.state() == QProcess::Running) {
        m_kelvaris.waitForReadyRead(200);
        out += m_kelvaris.readAllStandardOutput();
    }
    ASSERT_TRUE(out.startsWith("Started\t")) << out.constData();

    const qint64 pid = m_kelvaris.processId();
    ASSERT_EQ(::kill(pid_t(pid), SIGSEGV), 0);
    ASSERT_TRUE(m_kelvaris.waitForFinished(10000));
    EXPECT_EQ(m_kelvaris.exitStatus(), QProcess::CrashExit);
    EXPECT_EQ(m_kelvaris.exitCode(), SIGSEGV); // the terminating signal

    const QDir crash(m_dir.filePath(QStringLiteral("crash")));
    const QStringList reports = crash.entryList({ QStringLiteral("kelvaris-*.txt") }, QDir::Files);
    ASSERT_EQ(reports.size(), 1);
    EXPECT_TRUE(reports[0].startsWith(QStringLiteral("kelvaris-%1-").arg(pid)));
    QFile file(crash.filePath(reports[0]));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray report = file.readAll();
    EXPECT_TRUE(report.startsWith("Kelvaris " KELVARIS_VERSION " crashed\n")) << report.constData();
    EXPECT_TRUE(report.contains("signal: 11 (SIGSEGV)\n")) << report.constData();
    EXPECT_TRUE(report.contains(" UTC)\n")) << report.constData();
    // At least the handler's own frame and one below it, each "<object>(...) [0x...]".
    const qsizetype trace = report.indexOf("backtrace:\n");
    ASSERT_GE(trace, 0);
    const QList<QByteArray> frames = report.mid(trace + 11).trimmed().split('\n');
    EXPECT_GE(frames.size(), 2) << report.constData();
    EXPECT_TRUE(frames.last().contains("[0x")) << report.constData();

    // The same report on standard error, with where the file went.
    const QByteArray err = m_kelvaris.readAllStandardError();
    EXPECT_TRUE(err.contains("signal: 11 (SIGSEGV)")) << err.constData();
    EXPECT_TRUE(err.contains("report: " + QFile::encodeName(file.fileName()))) << err.constData();
}

TEST(CrashTime, FormatsTheUtcDateWithoutLocale)
{
    char text[64];
    const int length = FormatCrashTime(1733580000LL, text);
    EXPECT_EQ(QByteArray(text, length), QByteArray("1733580000 (2024-12-07 14:00:00 UTC)"));
    EXPECT_EQ(QByteArray(text, FormatCrashTime(951782400LL, text)),
        QByteArray("951782400 (2000-02-29 00:00:00 UTC)"));
    EXPECT_EQ(QByteArray(text, FormatCrashTime(0, text)), QByteArray("0 (1970-01-01 00:00:00 UTC)"));
}
