// kelvarisctl export against kelvaris-alarmsim on a private session bus: the targets come from the
// simulator, their plans from the dispatch files, the table goes into an HTML file in this user's
// own folder inside the temporary folder.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "PrivateBus.h"

namespace {

class ExportTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { s_suite = new CBusTestSuite("test_e2e_export"); }
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
            = QStringLiteral("com.ondrevi.AlarmServerTest.x%1").arg(QCoreApplication::applicationPid());
        m_env = QProcessEnvironment::systemEnvironment();
        m_env.insert(QStringLiteral("KELVARIS_ALARMSERVER_BUS_NAME"), service);
        m_env.insert(QStringLiteral("KELVARIS_DATA"), m_dir.path());
        m_env.insert(QStringLiteral("TMPDIR"), m_dir.path());
        m_env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        Write("kelvaris.cfg", "[Settings]\r\nWorkDays=31\r\n");
        Write("targets.cfg",
            "[Target1]\r\nName=Duty desk\r\nNumber=0\r\nID=17\r\nColour=255\r\n"
            "[Target2]\r\nName=<b>Night</b>\r\nNumber=1\r\nID=18\r\nColour=65280\r\n");
        Write("17.tim", "[Settings]\r\nName=Duty desk\r\n20240131=08:00-09:00\r\n");
        Write("18.tim", "[Settings]\r\nName=<b>Night</b>\r\n20240131=08:30-10:00\r\n");

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

    // Runs kelvarisctl export; its exit code, and the path it printed.
    int Export(const QStringList& arguments, QString* path)
    {
        QProcess ctl;
        ctl.setProcessEnvironment(m_env);
        ctl.start(QStringLiteral(KELVARISCTL_PATH), QStringList { QStringLiteral("export") } + arguments);
        if (!ctl.waitForFinished(30000))
            return -1;
        *path = QString::fromUtf8(ctl.readAllStandardOutput()).trimmed();
        return ctl.exitStatus() == QProcess::NormalExit ? ctl.exitCode() : -1;
    }

    static QString Read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    static inline CBusTestSuite* s_suite = nullptr;
    QTemporaryDir m_dir;
    QProcessEnvironment m_env;
    QProcess m_sim;
};

} // namespace

TEST_F(ExportTest, WritesTheWeekOfOneTargetAndOfAllReceivers)
{
    QString path;
    ASSERT_EQ(Export({ QStringLiteral("--target"), QStringLiteral("Duty desk"), QStringLiteral("--week"),
                         QStringLiteral("2024-01-31") },
                  &path),
        0);
    EXPECT_TRUE(path.endsWith(QStringLiteral("/Kelvaris_Duty_desk_KW05.htm"))) << path.toStdString();
    EXPECT_TRUE(path.startsWith(m_dir.path()));
    EXPECT_TRUE(Read(path).contains(QStringLiteral("Duty desk")));
    // The time column has the colour the planning dialog's export gives it (#f0f0f0).
    EXPECT_TRUE(Read(path).contains(QStringLiteral("<td bgcolor='#f0f0f0'>0:00&nbsp;</td>")));

    ASSERT_EQ(Export({ QStringLiteral("--all"), QStringLiteral("receivers"), QStringLiteral("--week"),
                         QStringLiteral("2024-01-31"), QStringLiteral("--weeks"), QStringLiteral("2") },
                  &path),
        0);
    EXPECT_TRUE(path.endsWith(QStringLiteral("_KW05-06.htm"))) << path.toStdString();
    const QString html = Read(path);
    // Both on duty at 08:30: one cell, the later one's colour, the markup of the name escaped.
    EXPECT_TRUE(html.contains(QStringLiteral("Duty desk<br/>&lt;b&gt;Night&lt;/b&gt;")))
        << html.toStdString();
    EXPECT_FALSE(html.contains(QStringLiteral("<b>Night")));
}

TEST_F(ExportTest, APlantedFolderOrLinkIsNeverWrittenThrough)
{
    // The plan goes into this user's own folder inside the temporary folder.
    QString path;
    const QStringList duty = { QStringLiteral("--target"), QStringLiteral("Duty desk"),
        QStringLiteral("--week"), QStringLiteral("2024-01-31") };
    ASSERT_EQ(Export(duty, &path), 0);
    const QString folder = m_dir.filePath(QStringLiteral("kelvaris-%1").arg(::geteuid()));
    EXPECT_EQ(path, folder + QStringLiteral("/Kelvaris_Duty_desk_KW05.htm"));

    // A link at the file's name is replaced; the file it pointed to stays as it was.
    Write("victim", "untouched");
    const QString victim = m_dir.filePath(QStringLiteral("victim"));
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QFile::link(victim, path));
    ASSERT_EQ(Export(duty, &path), 0);
    EXPECT_EQ(Read(victim), QStringLiteral("untouched"));
    EXPECT_FALSE(QFileInfo(path).isSymLink());

    // A link in place of the folder neither is written through nor blocks the export: a fresh private
    // folder takes the plan, and a warning names the planted link.
    ASSERT_TRUE(QDir(folder).removeRecursively());
    ASSERT_TRUE(QFile::link(m_dir.path(), folder));
    QProcess ctl;
    ctl.setProcessEnvironment(m_env);
    ctl.start(QStringLiteral(KELVARISCTL_PATH), QStringList { QStringLiteral("export") } + duty);
    ASSERT_TRUE(ctl.waitForFinished(30000));
    EXPECT_EQ(ctl.exitCode(), 0);
    const QString error = QString::fromUtf8(ctl.readAllStandardError()).trimmed();
    EXPECT_TRUE(error.contains(folder) && error.contains(QStringLiteral("link"))) << error.toStdString();
    const QString written = QString::fromUtf8(ctl.readAllStandardOutput()).trimmed();
    EXPECT_TRUE(written.startsWith(folder + QLatin1Char('-'))) << written.toStdString();
    EXPECT_FALSE(QFileInfo::exists(m_dir.filePath(QStringLiteral("Kelvaris_Duty_desk_KW05.htm"))));
}

TEST_F(ExportTest, UnknownTargetAndBadUsage)
{
    QString path;
    EXPECT_EQ(Export({ QStringLiteral("--target"), QStringLiteral("Nobody") }, &path), 1);
    EXPECT_EQ(Export({ QStringLiteral("--all"), QStringLiteral("everyone") }, &path), 2);
    EXPECT_EQ(Export({ QStringLiteral("--month"), QStringLiteral("--weeks"), QStringLiteral("2"),
                         QStringLiteral("--all"), QStringLiteral("groups") },
                  &path),
        2);
}
