// A crash of kelvaris --headless leaves a report in crash/ of the data folder and still ends the
// process by the signal.
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "support/CrashHandler.h"

#include "PrivateBus.h"

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
    // Reports of earlier crashes: the newest 20 are kept.
    QDir crash(m_dir.filePath(QStringLiteral("crash")));
    ASSERT_TRUE(QDir().mkpath(crash.path()));
    for (int i = 0; i < 25; ++i) {
        QFile old(crash.filePath(QStringLiteral("kelvaris-1-%1.txt").arg(i)));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.setFileTime(QDateTime::currentDateTime().addDays(-30 + i), QFileDevice::FileModificationTime);
    }
    // Standard error as the journal's stream: one line at priority "crit".
    const QString errPath = m_dir.filePath(QStringLiteral("stderr"));
    QFile(errPath).open(QIODevice::WriteOnly);
    struct stat errStat
    {
    };
    ASSERT_EQ(::stat(QFile::encodeName(errPath).constData(), &errStat), 0);
    env.insert(
        QStringLiteral("JOURNAL_STREAM"), QStringLiteral("%1:%2").arg(errStat.st_dev).arg(errStat.st_ino));
    m_kelvaris.setProcessEnvironment(env);
    m_kelvaris.setStandardErrorFile(errPath, QIODevice::Append);
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
    QStringList reports = crash.entryList({ QStringLiteral("kelvaris-*.txt") }, QDir::Files);
    EXPECT_EQ(reports.size(), 20);
    EXPECT_FALSE(reports.contains(QStringLiteral("kelvaris-1-4.txt")));
    EXPECT_TRUE(reports.contains(QStringLiteral("kelvaris-1-5.txt")));
    for (const QString& name : reports)
        crash.remove(name);

    const qint64 pid = m_kelvaris.processId();
    ASSERT_EQ(::kill(pid_t(pid), SIGSEGV), 0);
    ASSERT_TRUE(m_kelvaris.waitForFinished(10000));
    EXPECT_EQ(m_kelvaris.exitStatus(), QProcess::CrashExit);
    EXPECT_EQ(m_kelvaris.exitCode(), SIGSEGV); // the terminating signal

    reports = crash.entryList({ QStringLiteral("kelvaris-*.txt") }, QDir::Files);
    ASSERT_EQ(reports.size(), 1);
    EXPECT_TRUE(reports[0].startsWith(QStringLiteral("kelvaris-%1-").arg(pid)));
    QFile file(crash.filePath(reports[0]));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray report = file.readAll();
    // Sent by this test, not a crash of Kelvaris's own: the sender is named.
    EXPECT_TRUE(
        report.startsWith(QByteArray("Kelvaris " KELVARIS_VERSION " was ended by a signal that process ")
            + QByteArray::number(QCoreApplication::applicationPid()) + " (user "))
        << report.constData();
    EXPECT_TRUE(report.contains("signal: 11 (SIGSEGV)\n")) << report.constData();
    EXPECT_TRUE(report.contains(" UTC)\n")) << report.constData();
    // At least the handler's own frame and one below it, each "<object>(...) [0x...]".
    const qsizetype trace = report.indexOf("backtrace:\n");
    ASSERT_GE(trace, 0);
    const QList<QByteArray> frames = report.mid(trace + 11).trimmed().split('\n');
    EXPECT_GE(frames.size(), 2) << report.constData();
    EXPECT_TRUE(frames.last().contains("[0x")) << report.constData();

    // One line at priority "crit" on the journal's stream, with where the file went.
    QFile errFile(errPath);
    ASSERT_TRUE(errFile.open(QIODevice::ReadOnly));
    QList<QByteArray> lines = errFile.readAll().split('\n');
    lines.removeIf([](const QByteArray& line) { return !line.startsWith("<2>"); });
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].contains("signal: 11 (SIGSEGV)")) << lines[0].constData();
    EXPECT_TRUE(lines[0].endsWith("report: " + QFile::encodeName(file.fileName()))) << lines[0].constData();
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
