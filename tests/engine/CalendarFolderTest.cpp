// The calendar folder the engine keeps: written whole at the start, then only the files of a
// target whose dispatch file changed (an outside edit reloaded, or a save of the program's own)
// and the "all" file of its kind, each replaced by a rename. An unwritable folder is a warning.
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>

#include "engine/Dispatch.h"
#include "engine/KelvarisDoc.h"
#include "engine/Password.h"
#include "schedule/ConfigLocation.h"
#include "support/Trace.h"

#include "ConfigLocationScope.h"
#include "fakes/FakeServerCommand.h"
#include "fakes/WarningCapture.h"

namespace {

CDateTime g_now;
CDateTime Now()
{
    return g_now;
}

// A file as the folder holds it: which inode, last modified when.
struct SFileState
{
    ino_t m_inode = 0;
    qint64 m_mtimeNs = 0;
    bool operator==(const SFileState&) const = default;
};

SFileState StateOf(const QString& path)
{
    struct stat info
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    return { info.st_ino, qint64(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec };
}

class CalendarFolderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_location.emplace(m_dir.filePath(QStringLiteral("kelvaris.cfg")));
        g_now = CDateTime(2024, 3, 4, 10, 0, 5);
        SetCurrentTimeSource(&Now);
        m_server.SetReply(QStringLiteral("[GetValue(Setup.Targets)]"),
            QStringLiteral("Anna\tx\tx\tx\tx\r\nBert\tx\tx\tx\tx\r\nService North\tx\tx\tx\tx\r\n"));
        AddTarget(QStringLiteral("Anna"), QStringLiteral("1"), QStringLiteral("A1"));
        AddTarget(QStringLiteral("Bert"), QStringLiteral("2"), QStringLiteral("B2"));
        AddTarget(QStringLiteral("Service North"), QStringLiteral("-3"), QStringLiteral("G40"));
        m_server.SetReply(QStringLiteral("[GetGroupMembers(Service North)]"), QStringLiteral("Anna\tBert"));
        WriteFile("A1.tim", "[Settings]\r\nName=Anna\r\n20240304=08:00-16:00\r\n");
        WriteFile("B2.tim", "[Settings]\r\nName=Bert\r\n20240304=16:00-24:00\r\n20240305=00:00-06:00\r\n");
        WriteFile("G40.tim", "[Settings]\r\nName=Service North\r\nTakeover=1\r\n20240306=08:00-12:00\r\n");
        AgeFile("A1.tim");
        AgeFile("B2.tim");
        AgeFile("G40.tim");
    }
    void TearDown() override { SetCurrentTimeSource(nullptr); }

    void WriteFile(const char* name, const QByteArray& content)
    {
        QFile file(m_dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    // As if written a while ago: the change check reads it at once.
    void AgeFile(const char* name, int seconds = 10)
    {
        QFile file(m_dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(
            QDateTime::currentDateTime().addSecs(-seconds), QFileDevice::FileModificationTime));
    }
    void AddTarget(const QString& name, const QString& number, const QString& id)
    {
        QStringList fields;
        for (int i = 1; i <= 17; ++i)
            fields.append(QStringLiteral("f%1").arg(i));
        fields[1] = number;
        fields[14] = id;
        fields[16] = QStringLiteral("0");
        m_server.SetReply(QStringLiteral("[GetTarget3(") + name + QStringLiteral(")]"), fields.join(u'\t'));
    }
    QString Calendar(const char* name) const
    {
        return m_dir.filePath(QStringLiteral("cal/") + QString::fromLatin1(name));
    }
    static QByteArray Read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QMap<QString, SFileState> States() const
    {
        QMap<QString, SFileState> states;
        for (const char* name : kFiles)
            states.insert(QString::fromLatin1(name), StateOf(Calendar(name)));
        return states;
    }

    static constexpr const char* kFiles[]
        = { "A1.ics", "B2.ics", "G40.ics", "all-receivers.ics", "all-groups.ics" };
    QTemporaryDir m_dir;
    std::optional<CConfigLocationScope> m_location;
    CFakeServerCommandFactory m_server;
    CRightsCheck m_rights;
};

} // namespace

TEST_F(CalendarFolderTest, AChangedDispatchFileRewritesItsCalendarAndItsAllFileOnly)
{
    WriteFile("kelvaris.cfg", "[Settings]\r\nCalendarFolder=cal\r\n");
    CKelvarisDoc doc(m_server, m_rights);
    ASSERT_TRUE(doc.Initialise());
    doc.WaitForCalendarFolder();
    EXPECT_EQ(doc.CalendarFolder(), m_dir.filePath(QStringLiteral("cal")));
    // At the start: every file. Bert's duty across midnight is one event, in UTC.
    for (const char* name : kFiles)
        EXPECT_TRUE(Read(Calendar(name)).startsWith("BEGIN:VCALENDAR\r\n")) << name;
    // Readable by a web server running as another user; no temporary file left behind.
    EXPECT_TRUE(QFile::permissions(Calendar("B2.ics")) & QFileDevice::ReadOther);
    EXPECT_EQ(QDir(m_dir.filePath(QStringLiteral("cal"))).entryList(QDir::Files | QDir::Hidden).size(), 5);
    const QByteArray bert = Read(Calendar("B2.ics"));
    EXPECT_EQ(bert.count("BEGIN:VEVENT"), 1) << bert.toStdString();
    EXPECT_TRUE(bert.contains("UID:B2-"
        + QDateTime(QDate(2024, 3, 4), QTime(16, 0))
              .toUTC()
              .toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"))
              .toLatin1()));
    const QByteArray receivers = Read(Calendar("all-receivers.ics"));
    EXPECT_EQ(receivers.count("BEGIN:VEVENT"), 2);
    EXPECT_TRUE(receivers.contains("SUMMARY:Anna") && receivers.contains("SUMMARY:Bert"));
    EXPECT_FALSE(receivers.contains("Service North"));
    EXPECT_TRUE(receivers.contains("X-WR-CALNAME:All receivers"));
    EXPECT_EQ(Read(Calendar("all-groups.ics")).count("BEGIN:VEVENT"), 1);

    // Nothing changed: nothing written.
    const QMap<QString, SFileState> before = States();
    doc.IdleCheck();
    doc.WaitForCalendarFolder();
    EXPECT_EQ(States(), before);

    // Bert's file is edited outside: its calendar and the receivers' file are replaced by a rename;
    // the file that was there (kept through a second link) is not written into.
    const QString kept = m_dir.filePath(QStringLiteral("B2.old"));
    ASSERT_EQ(
        ::link(QFile::encodeName(Calendar("B2.ics")).constData(), QFile::encodeName(kept).constData()), 0);
    WriteFile("B2.tim", "[Settings]\r\nName=Bert\r\n20240307=09:00-10:00\r\n");
    AgeFile("B2.tim", 5);
    doc.IdleCheck();
    doc.WaitForCalendarFolder();
    QMap<QString, SFileState> after = States();
    EXPECT_NE(after[QStringLiteral("B2.ics")].m_inode, before[QStringLiteral("B2.ics")].m_inode);
    EXPECT_NE(after[QStringLiteral("all-receivers.ics")].m_inode,
        before[QStringLiteral("all-receivers.ics")].m_inode);
    for (const char* name : { "A1.ics", "G40.ics", "all-groups.ics" })
        EXPECT_EQ(after[QString::fromLatin1(name)], before[QString::fromLatin1(name)]) << name;
    EXPECT_EQ(Read(kept), bert);
    EXPECT_TRUE(Read(Calendar("B2.ics")).contains("UID:B2-20240307T"));
    EXPECT_TRUE(Read(Calendar("all-receivers.ics")).contains("UID:B2-20240307T"));
    EXPECT_TRUE(Read(Calendar("all-receivers.ics")).contains("UID:A1-20240304T"));

    // A save of the program's own (the planning dialog's) reaches the calendar at the next look.
    const QMap<QString, SFileState> beforeSave = States();
    {
        const std::lock_guard<std::mutex> lock(doc.TargetsMutex());
        CPageTarget* group = doc.PageTargets().FindById(QStringLiteral("G40"));
        ASSERT_TRUE(group);
        group->m_ranges.AddFromText(QStringLiteral("20240308=08:00-09:00"));
        ASSERT_TRUE(group->SaveDispatchFile());
    }
    doc.IdleCheck();
    doc.WaitForCalendarFolder();
    after = States();
    EXPECT_NE(after[QStringLiteral("G40.ics")].m_inode, beforeSave[QStringLiteral("G40.ics")].m_inode);
    EXPECT_NE(after[QStringLiteral("all-groups.ics")].m_inode,
        beforeSave[QStringLiteral("all-groups.ics")].m_inode);
    for (const char* name : { "A1.ics", "B2.ics", "all-receivers.ics" })
        EXPECT_EQ(after[QString::fromLatin1(name)], beforeSave[QString::fromLatin1(name)]) << name;
    EXPECT_EQ(Read(Calendar("all-groups.ics")).count("BEGIN:VEVENT"), 2);

    // A new day moves the span: everything is written again.
    g_now = CDateTime(2024, 3, 5, 0, 0, 30);
    doc.IdleCheck();
    doc.WaitForCalendarFolder();
    const QMap<QString, SFileState> nextDay = States();
    for (const char* name : kFiles)
        EXPECT_NE(nextDay[QString::fromLatin1(name)].m_inode, after[QString::fromLatin1(name)].m_inode)
            << name;

    // A target the alarm server no longer has loses its file.
    m_server.SetReply(QStringLiteral("[GetValue(Setup.Targets)]"),
        QStringLiteral("Anna\tx\tx\tx\tx\r\nService North\tx\tx\tx\tx\r\n"));
    doc.LoadSettings();
    doc.UpdateCalendarFolder();
    doc.WaitForCalendarFolder();
    EXPECT_FALSE(QFile::exists(Calendar("B2.ics")));
    EXPECT_FALSE(Read(Calendar("all-receivers.ics")).contains("Bert"));
}

TEST_F(CalendarFolderTest, TheOptionOverridesTheSetting)
{
    WriteFile("kelvaris.cfg", "[Settings]\r\nCalendarFolder=elsewhere\r\n");
    CKelvarisDoc doc(m_server, m_rights);
    doc.SetCalendarFolderOverride(m_dir.filePath(QStringLiteral("cal")));
    ASSERT_TRUE(doc.Initialise());
    doc.WaitForCalendarFolder();
    EXPECT_TRUE(QFile::exists(Calendar("A1.ics")));
    EXPECT_FALSE(QFile::exists(m_dir.filePath(QStringLiteral("elsewhere"))));
}

// A target that left the list while the program was stopped loses its file at the start; other
// files of the folder stay. The installation's ID is made once, and the engine does not take its
// own write for an outside change.
TEST_F(CalendarFolderTest, AtTheStartFilesOfTargetsNoLongerListedGo)
{
    WriteFile("kelvaris.cfg", "[Settings]\r\nCalendarFolder=cal\r\n");
    ASSERT_TRUE(QDir(m_dir.path()).mkpath(QStringLiteral("cal")));
    ::chmod(QFile::encodeName(m_dir.filePath(QStringLiteral("cal"))).constData(), 0755);
    WriteFile("cal/Z9.ics", "BEGIN:VCALENDAR\r\nEND:VCALENDAR\r\n");
    WriteFile("cal/notes.txt", "kept");
    CKelvarisDoc doc(m_server, m_rights);
    ASSERT_TRUE(doc.Initialise());
    doc.WaitForCalendarFolder();
    EXPECT_FALSE(QFile::exists(Calendar("Z9.ics")));
    EXPECT_TRUE(QFile::exists(Calendar("notes.txt")));
    EXPECT_TRUE(QFile::exists(Calendar("A1.ics")));
    const QByteArray config = Read(m_dir.filePath(QStringLiteral("kelvaris.cfg")));
    const qsizetype at = config.indexOf("InstallationId=");
    ASSERT_GE(at, 0) << config.toStdString();
    const QByteArray id = config.mid(at + 15, 36);
    EXPECT_TRUE(Read(Calendar("A1.ics")).contains("@" + id + ".kelvaris\r\n"));
    EXPECT_FALSE(ConfigLocation().CheckConfigChanged());
}

TEST_F(CalendarFolderTest, AnUnwritableFolderIsAWarningAndTheEngineGoesOn)
{
    // A regular file where a folder on the way should be: even root cannot make the folder.
    WriteFile("blocker", "a file");
    WriteFile("kelvaris.cfg", "[Settings]\r\nCalendarFolder=blocker/cal\r\n");
    const CWarningCapture warnings(lcEngine());
    CKelvarisDoc doc(m_server, m_rights);
    ASSERT_TRUE(doc.Initialise());
    doc.WaitForCalendarFolder();
    ASSERT_TRUE(doc.Activate());
    EXPECT_EQ(warnings.Lines().filter(QStringLiteral("calendar folder")).size(), 1)
        << warnings.Text().toStdString();
    EXPECT_TRUE(warnings.Text().contains(m_dir.filePath(QStringLiteral("blocker/cal"))));
    // The engine answers and cycles; the warning is not repeated within the minute.
    doc.Cycle();
    doc.WaitForCalendarFolder();
    doc.IdleCheck();
    doc.WaitForCalendarFolder();
    EXPECT_EQ(doc.CheckDispatching(QStringLiteral("A1"), QString(), QStringLiteral("2024-03-04 09:00:00")),
        kDispatchSend);
    EXPECT_EQ(warnings.Lines().filter(QStringLiteral("calendar folder")).size(), 1)
        << warnings.Text().toStdString();
    EXPECT_TRUE(doc.IsActive());

    // A file in place of one calendar: that one is warned about, the others are written.
    WriteFile("kelvaris.cfg", "[Settings]\r\nCalendarFolder=cal\r\n");
    ASSERT_TRUE(QDir().mkpath(Calendar("A1.ics")));
    CKelvarisDoc second(m_server, m_rights);
    ASSERT_TRUE(second.Initialise());
    second.WaitForCalendarFolder();
    EXPECT_TRUE(QFile::exists(Calendar("B2.ics")));
    EXPECT_TRUE(Read(Calendar("all-receivers.ics")).contains("SUMMARY:Bert"));
}

// A calendar folder another user could steer is not written into: a planted link, a folder others
// may write to. A target whose ID is a combined calendar's name keeps a file of its own.
TEST_F(CalendarFolderTest, FoldersOthersCouldSteerAreNotUsedAndNamesNeverCollide)
{
    const QString elsewhere = m_dir.filePath(QStringLiteral("elsewhere"));
    ASSERT_TRUE(QDir().mkpath(elsewhere));
    ASSERT_TRUE(QFile::link(elsewhere, m_dir.filePath(QStringLiteral("cal"))));
    WriteFile("kelvaris.cfg", "[Settings]\r\nCalendarFolder=cal\r\n");
    {
        const CWarningCapture warnings(lcEngine());
        CKelvarisDoc doc(m_server, m_rights);
        ASSERT_TRUE(doc.Initialise());
        doc.WaitForCalendarFolder();
        EXPECT_TRUE(QDir(elsewhere).isEmpty());
        EXPECT_TRUE(warnings.Text().contains(QStringLiteral("is a link"))) << warnings.Text().toStdString();
    }
    ASSERT_TRUE(QFile::remove(m_dir.filePath(QStringLiteral("cal"))));
    ASSERT_TRUE(QDir().mkdir(m_dir.filePath(QStringLiteral("cal"))));
    for (const mode_t open : { 0777, 0770, 0707 }) {
        ASSERT_TRUE(::chmod(QFile::encodeName(m_dir.filePath(QStringLiteral("cal"))).constData(), open) == 0);
        const CWarningCapture warnings(lcEngine());
        CKelvarisDoc doc(m_server, m_rights);
        ASSERT_TRUE(doc.Initialise());
        doc.WaitForCalendarFolder();
        EXPECT_FALSE(QFile::exists(Calendar("A1.ics"))) << std::oct << open;
        EXPECT_TRUE(warnings.Text().contains(QStringLiteral("can be written by other users")))
            << warnings.Text().toStdString();
    }
    ASSERT_TRUE(::chmod(QFile::encodeName(m_dir.filePath(QStringLiteral("cal"))).constData(), 0755) == 0);

    // Bert's ID is "all-receivers".
    AddTarget(QStringLiteral("Bert"), QStringLiteral("2"), QStringLiteral("all-receivers"));
    WriteFile("all-receivers.tim", "[Settings]\r\nName=Bert\r\n20240304=16:00-24:00\r\n");
    CKelvarisDoc doc(m_server, m_rights);
    ASSERT_TRUE(doc.Initialise());
    doc.WaitForCalendarFolder();
    EXPECT_EQ(Read(Calendar("all-receivers.ics")).count("BEGIN:VEVENT"), 2);
    EXPECT_TRUE(Read(Calendar("all-receivers..target.ics")).contains("SUMMARY:Bert"));
}
