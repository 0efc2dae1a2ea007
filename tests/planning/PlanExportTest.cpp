#include "planning/PlanExport.h"

#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include "engine/KelvarisDoc.h"
#include "engine/Password.h"
#include "plandialogs/ExportDlg.h"
#include "plandialogs/OpenPlanFile.h"
#include "planning/PlannerModel.h"
#include "planning/TimePlanner.h"
#include "support/DesktopEntry.h"
#include "support/PrivateFolder.h"

#include "DialogTesting.h"
#include "FakeServerCommand.h"

namespace {
CDateTime Day(int year, int month, int day)
{
    return CDateTime(year, month, day, 0, 0, 0);
}

CPageTarget Receiver(const QString& name, quint32 colour)
{
    CPageTarget target;
    target.m_number = 1;
    target.m_id = name;
    target.m_name = name;
    target.m_colour = colour;
    return target;
}

void AddRange(CPageTarget& target, const CDateTime& date, int from, int to)
{
    CDispatchRange range;
    range.SetDate(date);
    range.m_from = from;
    range.m_to = to;
    target.m_ranges.append(range);
}

QString ReadAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

// A document with page targets and a planner on it.
struct SPlanFixture
{
    CFakeServerCommandFactory server;
    CRightsCheck rights;
    CKelvarisDoc doc { server, rights };
    CPlannerModel model;
    CTimePlanner planner { doc, model };

    CPageTargetArray& Targets() { return doc.PageTargets(); }
    SPlanTable Build(const SPlanExportRequest& request)
    {
        SPlanTable table;
        if (!BuildPlanTable(planner, Targets(), request, table))
            table.m_title = QStringLiteral("(nothing)");
        return table;
    }
};

SPlanExportRequest WeekRequest(qsizetype target, const CDateTime& weekStart, int weeks = 1)
{
    SPlanExportRequest request;
    request.m_currentTarget = target;
    request.m_weekStart = weekStart;
    request.m_weeks = weeks;
    return request;
}
} // namespace

class PlanExportTest : public QObject
{
    Q_OBJECT

private slots:
    void fileNamesNameTheTargetAndTheWeeks();
    void plansGoToAPrivateFolderAndNeverThroughALink();
    void unsafeCharactersLeaveNoTraceInTheFileName();
    void monthStartingOnWednesdayBeginsWithFiveDays();
    void overlappingReceiversShareACellWithTheLaterColour();
    void groupsShowTheirOwnAndTheirMembersDuty();
    void namesAreEscapedAndTheFileIsUtf8();
    void htmlTextOfASmallTable();
    void nothingIsBuiltWithoutTarget();
    void desktopEntryCommandLines();
    void registeredProgramLookup();
    void exportDialogChoices();
    void monthEndingOnSundayHasItsBlankColumn();
    void namesOnDarkColoursAreWhite();
    void timeColumnHasOneColour();
};

void PlanExportTest::fileNamesNameTheTargetAndTheWeeks()
{
    SPlanFixture fixture;
    fixture.Targets().append(Receiver(QStringLiteral("Duty desk"), 0x0000FF));
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/plan export XXXXXX"));
    QVERIFY(dir.isValid());

    // Week 5 of 2024 begins on 29 January; the folder's blank stays, the name's becomes "_".
    const SPlanTable one = fixture.Build(WeekRequest(0, Day(2024, 1, 29)));
    QCOMPARE(one.m_title, QStringLiteral("Duty desk"));
    QCOMPARE(WritePlanFile(one, dir.path()), dir.filePath(QStringLiteral("Kelvaris_Duty_desk_KW05.htm")));
    QCOMPARE(one.m_columns.size(), 8);
    QVERIFY(one.m_subtitle.startsWith(QStringLiteral("Week 5:")));

    const SPlanTable two = fixture.Build(WeekRequest(0, Day(2024, 1, 29), 2));
    QCOMPARE(WritePlanFile(two, dir.path()), dir.filePath(QStringLiteral("Kelvaris_Duty_desk_KW05-06.htm")));
    // Two weeks: the separator column is a blank column between them.
    QCOMPARE(two.m_columns.size(), 16);
    QVERIFY(two.m_columns[8].IsBlank());
    QVERIFY(!two.m_columns[9].IsBlank());
    QVERIFY(two.m_subtitle.contains(QStringLiteral("    /    ")));

    // The week after the last one of a year is the first of the next.
    QCOMPARE(PlanWeekFilePart(Day(2024, 12, 23), 2), QStringLiteral("KW52-01"));
    // A file written again replaces the old one.
    QVERIFY(!WritePlanFile(one, dir.path()).isEmpty());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2);
    // The default folder is this user's own inside the temporary folder (without a runtime folder).
    const QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR");
    qunsetenv("XDG_RUNTIME_DIR");
    const auto restoreRuntime = qScopeGuard([&] {
        if (!savedRuntime.isNull())
            qputenv("XDG_RUNTIME_DIR", savedRuntime);
    });
    QString privateFolder;
    QVERIFY(PrivateTempFolder(privateFolder));
    QCOMPARE(QFileInfo(privateFolder).path(), QDir::tempPath());
    const QString inTemp = WritePlanFile(one);
    QCOMPARE(inTemp, QDir(privateFolder).filePath(QStringLiteral("Kelvaris_Duty_desk_KW05.htm")));
    QFile::remove(inTemp);
    // A folder that cannot be written gives no path, and a reason that names the file.
    QString reason;
    const QString missing = dir.filePath(QStringLiteral("missing/folder"));
    QCOMPARE(WritePlanFile(one, missing, &reason), QString());
    QVERIFY2(reason.contains(missing + QStringLiteral("/Kelvaris_Duty_desk_KW05.htm")), qPrintable(reason));
}

void PlanExportTest::plansGoToAPrivateFolderAndNeverThroughALink()
{
    SPlanFixture fixture;
    fixture.Targets().append(Receiver(QStringLiteral("Anna Berger"), 0x0000FF));
    const SPlanTable table = fixture.Build(WeekRequest(0, Day(2024, 1, 1)));
    // A shared folder like /tmp (anybody may create names in it), and a file of the test's that a
    // planted link points to.
    QTemporaryDir shared;
    QTemporaryDir mine;
    QVERIFY(shared.isValid() && mine.isValid());
    QVERIFY(::chmod(QFile::encodeName(shared.path()).constData(), 01777) == 0);
    const QString victim = mine.filePath(QStringLiteral("victim"));
    {
        QFile file(victim);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("untouched");
    }
    const QByteArray savedTmp = qgetenv("TMPDIR");
    const QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("TMPDIR", QFile::encodeName(shared.path()));
    qunsetenv("XDG_RUNTIME_DIR");
    const auto restore = qScopeGuard([&] {
        for (const auto& [name, value] :
            { std::pair { "TMPDIR", savedTmp }, std::pair { "XDG_RUNTIME_DIR", savedRuntime } }) {
            if (value.isNull())
                qunsetenv(name);
            else
                qputenv(name, value);
        }
    });
    const QString folder = QDir(shared.path()).filePath(QStringLiteral("kelvaris-%1").arg(::geteuid()));
    const QString name = QStringLiteral("Kelvaris_Anna_Berger_KW01.htm");
    const auto victimText = [&victim] { return ReadAll(victim); };

    // Made on first use, for this user only.
    const QString written = WritePlanFile(table);
    QCOMPARE(written, QDir(folder).filePath(name));
    struct stat info = {};
    QVERIFY(::lstat(QFile::encodeName(folder).constData(), &info) == 0);
    QVERIFY(S_ISDIR(info.st_mode));
    QCOMPARE(info.st_mode & 07777, mode_t(0700));
    QCOMPARE(info.st_uid, ::geteuid());

    // A link at the file's name (in the private folder, or in a folder given) is replaced by the
    // file; what it pointed to stays as it was.
    for (const QString& at : { QDir(folder).filePath(name), mine.filePath(name) }) {
        QFile::remove(at);
        QVERIFY(QFile::link(victim, at));
        const QString path = WritePlanFile(table, QFileInfo(at).path());
        QCOMPARE(path, at);
        QCOMPARE(victimText(), QStringLiteral("untouched"));
        QVERIFY(!QFileInfo(at).isSymLink());
        QVERIFY(ReadAll(at).contains(QStringLiteral("Anna Berger")));
    }
    QVERIFY(QDir(folder).entryList(QDir::Files | QDir::Hidden).size() == 1); // no temporary left

    // A planted folder is not used, nor does it block the export: a link to a folder, a folder of
    // another user, one others may write, a file. The plan goes into a fresh private folder beside
    // it, and a warning names the planted one and why.
    const QString elsewhere = mine.filePath(QStringLiteral("elsewhere"));
    QVERIFY(QDir().mkpath(elsewhere));
    const auto refused = [&](const char* why) {
        QTest::ignoreMessage(QtWarningMsg,
            QRegularExpression(QStringLiteral("Exports go to .*%1-.* instead: .*\"%1\".*%2")
                                   .arg(QRegularExpression::escape(folder), QLatin1String(why))));
        const QString path = WritePlanFile(table);
        const QString used = QFileInfo(path).path();
        const bool fresh = used.startsWith(folder + QLatin1Char('-')) && IsPrivateFolder(used)
            && ReadAll(path).contains(QStringLiteral("Anna Berger"));
        QDir(used).removeRecursively();
        return fresh;
    };
    QVERIFY(QDir(folder).removeRecursively());
    QVERIFY(QFile::link(elsewhere, folder));
    QVERIFY(refused("link"));
    QVERIFY(QDir(elsewhere).isEmpty());
    QVERIFY(QFile::remove(folder));

    QVERIFY(QDir().mkdir(folder));
    // Writable by the group alone is as open as writable by everyone.
    for (const mode_t open : { 0777, 0770, 0730, 0707, 0703 }) {
        QVERIFY(::chmod(QFile::encodeName(folder).constData(), open) == 0);
        QVERIFY2(refused("other users"), qPrintable(QString::number(open, 8)));
    }
    if (::geteuid() == 0) {
        QVERIFY(::chmod(QFile::encodeName(folder).constData(), 0700) == 0);
        QVERIFY(::chown(QFile::encodeName(folder).constData(), 65534, 65534) == 0);
        QVERIFY(refused("another user"));
    }
    QVERIFY(QDir(folder).removeRecursively());
    {
        QFile file(folder);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    // Export after export, the same folder of ours beside it serves.
    const auto usedFolder = [&] {
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("Exports go to ")));
        return QFileInfo(WritePlanFile(table)).path();
    };
    const QString first = usedFolder();
    QCOMPARE(usedFolder(), first);
    QVERIFY(QDir(first).removeRecursively());
    QVERIFY(refused("not a folder"));
    QCOMPARE(victimText(), QStringLiteral("untouched"));

    // With a usable runtime folder, plans go into "kelvaris" there.
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(mine.path()));
    QVERIFY(::chmod(QFile::encodeName(mine.path()).constData(), 0700) == 0);
    QCOMPARE(WritePlanFile(table), QDir(mine.filePath(QStringLiteral("kelvaris"))).filePath(name));
}

void PlanExportTest::unsafeCharactersLeaveNoTraceInTheFileName()
{
    QCOMPARE(PlanFileName(QStringLiteral("../etc/passwd"), QStringLiteral("KW01")),
        QStringLiteral("Kelvaris__._etc_passwd_KW01.htm"));
    QCOMPARE(PlanFileName(QStringLiteral("a\\b\tc\nd\x01"
                                         "e"),
                 QStringLiteral("May 2024")),
        QStringLiteral("Kelvaris_a_b_c_d_e_May_2024.htm"));
    QCOMPARE(PlanFileName(QStringLiteral(".hidden"), QStringLiteral("KW01")),
        QStringLiteral("Kelvaris__hidden_KW01.htm"));
    QCOMPARE(PlanFileName(QStringLiteral("Müller"), QStringLiteral("KW01")),
        QStringLiteral("Kelvaris_Müller_KW01.htm"));
    // An overlong name is cut so that the file name stays a valid one.
    const QString longName = PlanFileName(QString(1000, u'ä'), QStringLiteral("KW01"));
    QVERIFY(longName.toUtf8().size() <= 255);
    QVERIFY(longName.endsWith(QStringLiteral("_KW01.htm")));
}

void PlanExportTest::monthStartingOnWednesdayBeginsWithFiveDays()
{
    SPlanFixture fixture;
    CPageTarget desk = Receiver(QStringLiteral("Desk"), 0x00FF00);
    AddRange(desk, Day(2024, 5, 1), 480, 495); // Wednesday 1 May, 8:00
    AddRange(desk, Day(2024, 5, 6), 0, 15); // Monday of the second block
    AddRange(desk, Day(2024, 4, 30), 480, 1440); // April: not shown
    fixture.Targets().append(desk);

    const CDateTime shown = fixture.planner.FirstDate();
    // The month of the week start.
    SPlanExportRequest request = WeekRequest(0, Day(2024, 5, 6));
    request.m_period = PlanPeriodMonth;
    const SPlanTable table = fixture.Build(request);
    QCOMPARE(table.m_subtitle, QStringLiteral("May 2024"));
    QCOMPARE(table.m_filePart, QStringLiteral("May 2024"));

    const QList<SPlanColumn>& columns = table.m_columns;
    // Time, Wednesday to Sunday, blank, three full weeks with a blank after each, Monday to Friday.
    QCOMPARE(columns.size(), 1 + 5 + 1 + 3 * 8 + 5);
    QCOMPARE(columns[0].m_heading, QStringList { QStringLiteral("Time") });
    QCOMPARE(columns[1].m_heading.first(), QStringLiteral("Wednesday"));
    QCOMPARE(columns[1].m_heading.last(), FormatDateTime(Day(2024, 5, 1), DTF_DAYMONTH));
    QCOMPARE(columns[5].m_heading.first(), QStringLiteral("Sunday"));
    QVERIFY(columns[6].IsBlank());
    QCOMPARE(columns[7].m_heading.first(), QStringLiteral("Monday"));
    QVERIFY(!columns.last().IsBlank());
    QCOMPARE(columns.last().m_heading.first(), QStringLiteral("Friday"));
    for (const SPlanColumn& column : columns)
        QCOMPARE(column.m_items.size(), CTimePlanner::kRows);

    // The duty lands in the columns of its dates; April's range is nowhere.
    QCOMPARE(columns[1].m_items[32].m_lines, QStringList { QStringLiteral("Desk") });
    QCOMPARE(columns[1].m_items[32].m_color, CColour(0, 255, 0));
    QVERIFY(columns[1].m_items[33].m_lines.isEmpty());
    QCOMPARE(columns[7].m_items[0].m_lines, QStringList { QStringLiteral("Desk") });
    int named = 0;
    for (const SPlanColumn& column : columns) {
        for (const SPlanRowItem& item : column.m_items)
            named += item.m_lines.contains(QStringLiteral("Desk")) ? 1 : 0;
    }
    QCOMPARE(named, 2);

    // A month ending on a Sunday: its last block, too, is followed by a blank column, and no
    // block of the next month comes after it.
    request.m_weekStart = Day(2024, 3, 25);
    const SPlanTable march = fixture.Build(request);
    QVERIFY(march.m_columns.last().IsBlank());
    const SPlanColumn& lastDay = march.m_columns[march.m_columns.size() - 2];
    QCOMPARE(lastDay.m_heading.last(), FormatDateTime(Day(2024, 3, 31), DTF_DAYMONTH));
    // 1 to 3 March (Friday to Sunday), then four full weeks, each block with its blank column.
    QCOMPARE(march.m_columns.size(), 1 + (3 + 1) + 4 * (7 + 1));

    // The planner shows the week it showed before.
    QCOMPARE(fixture.planner.FirstDate(), shown);
}

void PlanExportTest::overlappingReceiversShareACellWithTheLaterColour()
{
    SPlanFixture fixture;
    CPageTarget first = Receiver(QStringLiteral("First"), 0x0000FF); // red
    CPageTarget second = Receiver(QStringLiteral("Second"), 0xFF0000); // blue
    CPageTarget group = Receiver(QStringLiteral("Group"), 0x00FF00);
    group.m_number = -1;
    AddRange(first, Day(2024, 1, 30), 480, 510);
    AddRange(second, Day(2024, 1, 30), 495, 525);
    AddRange(group, Day(2024, 1, 30), 480, 525);
    fixture.Targets().append(first);
    fixture.Targets().append(group);
    fixture.Targets().append(second);

    // The planner shows Second's week; the export leaves it so.
    fixture.planner.SetUp(Day(2024, 1, 29), false, QSize(0, 140));
    fixture.planner.LoadPlan(2);
    SPlanExportRequest request = WeekRequest(2, Day(2024, 1, 29));
    request.m_allTargets = true;
    const SPlanTable table = fixture.Build(request);
    QCOMPARE(table.m_title, QStringLiteral("All Receiver"));
    const QList<SPlanRowItem>& tuesday = table.m_columns[2].m_items;
    QCOMPARE(tuesday[32].m_lines, QStringList { QStringLiteral("First") });
    QCOMPARE(tuesday[32].m_color, CColour(255, 0, 0));
    QCOMPARE(tuesday[33].m_lines, (QStringList { QStringLiteral("First"), QStringLiteral("Second") }));
    QCOMPARE(tuesday[33].m_color, CColour(0, 0, 255));
    QCOMPARE(tuesday[34].m_lines, QStringList { QStringLiteral("Second") });
    QVERIFY(tuesday[35].m_lines.isEmpty());
    // Names on pure blue are white: the higher contrast (8.6:1 against 2.4:1 for black).
    QVERIFY(PlanHtml(table).contains(
        "<td bgcolor='#0000ff'><font color='#ffffff'>First<br/>Second</font>&nbsp;</td>"));

    QCOMPARE(fixture.planner.FirstDate(), Day(2024, 1, 29));
    QVERIFY(fixture.model.CellMarked(2, 33));
    QVERIFY(!fixture.model.CellMarked(2, 32));
}

void PlanExportTest::groupsShowTheirOwnAndTheirMembersDuty()
{
    SPlanFixture fixture;
    CPageTarget member = Receiver(QStringLiteral("Member"), 0x0000FF);
    CPageTarget group = Receiver(QStringLiteral("Group"), 0x00FF00);
    group.m_number = -1;
    group.m_members = QStringLiteral("Member");
    AddRange(member, Day(2024, 1, 29), 0, 15);
    AddRange(group, Day(2024, 1, 29), 15, 30);
    fixture.Targets().append(member);
    fixture.Targets().append(group);

    SPlanExportRequest request = WeekRequest(-1, Day(2024, 1, 29));
    request.m_allTargets = true;
    request.m_groups = true;
    const SPlanTable table = fixture.Build(request);
    QCOMPARE(table.m_title, QStringLiteral("All Groups"));
    const QList<SPlanRowItem>& monday = table.m_columns[1].m_items;
    QCOMPARE(monday[0].m_lines, QStringList { QStringLiteral("Member") });
    QCOMPARE(monday[0].m_color, CColour(255, 0, 0));
    QCOMPARE(monday[1].m_lines, QStringList { QStringLiteral("Group") });
    QCOMPARE(monday[1].m_color, CColour(0, 255, 0));
    // Cells without duty keep the planner's colours.
    QCOMPARE(monday[2].m_color, CTimePlanner::OtherTimeColor());
    QCOMPARE(monday[40].m_color, CTimePlanner::WorkTimeColor());
}

void PlanExportTest::namesAreEscapedAndTheFileIsUtf8()
{
    SPlanFixture fixture;
    CPageTarget bold = Receiver(QStringLiteral("<b>Müller & Co</b>"), 0x00FFFF);
    AddRange(bold, Day(2024, 1, 29), 0, 15);
    fixture.Targets().append(bold);
    const SPlanTable table = fixture.Build(WeekRequest(0, Day(2024, 1, 29)));
    QTemporaryDir dir;
    const QString path = WritePlanFile(table, dir.path());
    QVERIFY(!path.isEmpty());
    QCOMPARE(QFileInfo(path).fileName(), QStringLiteral("Kelvaris__b_Müller_&_Co__b__KW05.htm"));
    const QString html = ReadAll(path);
    QVERIFY(!html.contains(QStringLiteral("<b>")));
    QVERIFY(html.contains(QStringLiteral("<title>&lt;b&gt;Müller &amp; Co&lt;/b&gt; - Week 5:")));
    QVERIFY(html.contains(
        QStringLiteral("<h2 style='font-family: Arial' >&lt;b&gt;Müller &amp; Co&lt;/b&gt;</h2>")));
    QVERIFY(html.contains(QStringLiteral("'>&lt;b&gt;Müller &amp; Co&lt;/b&gt;&nbsp;</td>")));
    QVERIFY(
        html.contains(QStringLiteral("<meta http-equiv='Content-Type' content='text/html; charset=utf-8'>")));
}

void PlanExportTest::htmlTextOfASmallTable()
{
    SPlanTable table;
    table.m_title = QStringLiteral("T");
    table.m_subtitle = QStringLiteral("S");
    SPlanColumn time;
    time.m_heading << QStringLiteral("Time");
    time.m_items = { { CColour(240, 240, 240), { QStringLiteral("0:00") } } };
    SPlanColumn day;
    day.m_heading << QStringLiteral("Monday") << QStringLiteral("05.02.");
    day.m_items = { { CColour(0x12, 0x34, 0x56), { QStringLiteral("A"), QStringLiteral("B") } } };
    SPlanColumn blank;
    blank.m_items.resize(1);
    table.m_columns = { time, blank, day };
    QCOMPARE(PlanHtml(table),
        QByteArray(
            "<html>\r\n<head>\r\n"
            "<meta http-equiv='Content-Type' content='text/html; charset=utf-8'>\r\n"
            "<title>T - S</title>\r\n</head>\r\n<body>\r\n"
            "<h2 style='font-family: Arial' >T</h2>\r\n"
            "<h3 style='font-family: Arial' >S</h3>\r\n"
            "<font size='6pt'><table style='font-family: Arial; font-size: 6pt;  border-collapse:collapse;' "
            "border='1' cellspacing='0' >"
            "<td bgcolor='#E0E0E0' width='33%'>Time</td><td width='33%'></td>"
            "<td bgcolor='#E0E0E0' width='33%'>Monday<br/>05.02.</td>\r\n"
            "<tr><td bgcolor='#f0f0f0'>0:00&nbsp;</td><td>&nbsp;</td>"
            "<td bgcolor='#123456'><font color='#ffffff'>A<br/>B</font>&nbsp;</td></tr>\r\n"
            "</table>\r\n</font>\r\n</body></html>\r\n"));
    // No columns: no division by zero, an empty table.
    QVERIFY(PlanHtml(SPlanTable()).contains("<table"));
}

void PlanExportTest::nothingIsBuiltWithoutTarget()
{
    SPlanFixture fixture;
    fixture.Targets().append(Receiver(QStringLiteral("Desk"), 0));
    SPlanTable table;
    QVERIFY(!BuildPlanTable(fixture.planner, fixture.Targets(), WeekRequest(-1, Day(2024, 1, 29)), table));
    QVERIFY(!BuildPlanTable(fixture.planner, fixture.Targets(), WeekRequest(5, Day(2024, 1, 29)), table));
    QVERIFY(table.m_columns.isEmpty());
    QVERIFY(!OpenPlanFile(QString(), EPlanOutput::Print));
}

void PlanExportTest::desktopEntryCommandLines()
{
    const QByteArray desktop = "[Desktop Action new]\nExec=wrong\n"
                               "[Desktop Entry]\nName=Calc\nExec[de]=falsch\n"
                               "Exec=\"/opt/My Office/calc\" --calc\\s--nologo %U\nIcon=calc\n";
    const QString exec = DesktopEntryExec(desktop);
    QCOMPARE(exec, QStringLiteral("\"/opt/My Office/calc\" --calc --nologo %U"));
    const QString file = QStringLiteral("/tmp/a b/Kelvaris_x_KW05.htm");
    QCOMPARE(DesktopExecCommand(exec, file),
        (QStringList { QStringLiteral("/opt/My Office/calc"), QStringLiteral("--calc"),
            QStringLiteral("--nologo"), QStringLiteral("file:///tmp/a%20b/Kelvaris_x_KW05.htm") }));
    QCOMPARE(
        DesktopExecCommand(QStringLiteral("calc %f"), file), (QStringList { QStringLiteral("calc"), file }));
    // No field code: the file is appended; other codes are dropped, "%%" is a percent sign.
    QCOMPARE(DesktopExecCommand(QStringLiteral("calc %i --x=100%% %c"), file),
        (QStringList { QStringLiteral("calc"), QStringLiteral("--x=100%"), file }));
    // Quoted arguments keep their backslash escapes and are never split or interpreted by a shell.
    QCOMPARE(DesktopExecCommand(QStringLiteral("calc \"a;b \\\"c\\\"\" %F"), file),
        (QStringList { QStringLiteral("calc"), QStringLiteral("a;b \"c\""), file }));
    QCOMPARE(DesktopExecCommand(QStringLiteral("calc \"open"), file), QStringList());
    QCOMPARE(DesktopExecCommand(QString(), file), QStringList());
    QCOMPARE(DesktopEntryExec("[Desktop Entry]\nName=x\n"), QString());
}

void PlanExportTest::registeredProgramLookup()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    auto fakeXdgMime = [&dir](const QByteArray& answer) {
        const QString path = dir.filePath(QStringLiteral("xdg-mime"));
        QFile script(path);
        script.open(QIODevice::WriteOnly | QIODevice::Truncate);
        script.write(
            "#!/bin/sh\n[ \"$3\" = application/vnd.ms-excel ] || exit 1\nprintf '%s\\n' '" + answer + "'\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    };
    const QString mime = QStringLiteral("application/vnd.ms-excel");
    QCOMPARE(
        DefaultDesktopEntryFor(mime, fakeXdgMime("fake-calc.desktop")), QStringLiteral("fake-calc.desktop"));
    QCOMPARE(DefaultDesktopEntryFor(mime, fakeXdgMime("../../evil.desktop")), QString());
    QCOMPARE(DefaultDesktopEntryFor(mime, fakeXdgMime("notadesktopfile")), QString());
    QCOMPARE(
        DefaultDesktopEntryFor(QStringLiteral("text/plain"), fakeXdgMime("fake-calc.desktop")), QString());
    QCOMPARE(DefaultDesktopEntryFor(mime, dir.filePath(QStringLiteral("missing"))), QString());

    // Desktop files are found in the applications folder of the data folders, "-" standing for a
    // subfolder where needed.
    const QByteArray savedHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.path()));
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("applications/vendor")));
    QFile entry(dir.filePath(QStringLiteral("applications/vendor/calc.desktop")));
    QVERIFY(entry.open(QIODevice::WriteOnly));
    entry.write("[Desktop Entry]\nExec=calc %U\n");
    entry.close();
    QCOMPARE(LocateDesktopEntry(QStringLiteral("vendor-calc.desktop")), entry.fileName());
    QCOMPARE(LocateDesktopEntry(QStringLiteral("../vendor/calc.desktop")), QString());
    QCOMPARE(LocateDesktopEntry(QStringLiteral("nothing-here.desktop")), QString());
    if (savedHome.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", savedHome);
}

void PlanExportTest::exportDialogChoices()
{
    const QString week
        = QStringLiteral("Week 5:  29.01.2024 - 04.02.2024    /    Week 6:  05.02.2024 - 11.02.2024");
    QCOMPARE(CExportDlg::ShortWeekText(week),
        QStringLiteral("Week 5:  29.01.2024 - 04.02.2024 / Week 6:  05.02.2024 - 11.02.2024"));

    // Without a target only all targets can be chosen; the preset period is checked.
    CExportDlg none(QString(), week, QStringLiteral("January 2024"), 1);
    QVERIFY(!Named<QRadioButton>(&none, "target")->isEnabled());
    QVERIFY(Named<QRadioButton>(&none, "all")->isChecked());
    QVERIFY(Named<QRadioButton>(&none, "month")->isChecked());
    QVERIFY(Named<QRadioButton>(&none, "month")->text().endsWith(QStringLiteral(" January 2024")));
    none.accept();
    QVERIFY(none.AllTargets());
    QCOMPARE(none.Period(), 1);

    // A target's name is shown as it is ("&" is no mnemonic); the week is preset for printing.
    CExportDlg dlg(QStringLiteral("R&D"), week, QStringLiteral("January 2024"), 0);
    QVERIFY(Named<QRadioButton>(&dlg, "target")->isEnabled());
    QVERIFY(Named<QRadioButton>(&dlg, "target")->isChecked());
    QVERIFY(Named<QRadioButton>(&dlg, "target")->text().endsWith(QStringLiteral(" R&&D")));
    QVERIFY(Named<QRadioButton>(&dlg, "week")->isChecked());
    QVERIFY(Named<QRadioButton>(&dlg, "week")->text().contains(CExportDlg::ShortWeekText(week)));
    WhenModal<CExportDlg>([](CExportDlg* shown) {
        SaveScreenshot(*shown, QStringLiteral("ExportDlg"));
        Named<QRadioButton>(shown, "month")->setChecked(true);
        shown->accept();
    });
    QCOMPARE(dlg.exec(), int(QDialog::Accepted));
    QVERIFY(!dlg.AllTargets());
    QCOMPARE(dlg.Period(), 1);

    // Cancel keeps the defaults.
    CExportDlg cancelled(QStringLiteral("Desk"), week, QStringLiteral("January 2024"), 0);
    WhenModal<CExportDlg>([](CExportDlg* shown) { shown->reject(); });
    QCOMPARE(cancelled.exec(), int(QDialog::Rejected));
    QVERIFY(!cancelled.AllTargets());
    QCOMPARE(cancelled.Period(), 0);
}

void PlanExportTest::monthEndingOnSundayHasItsBlankColumn()
{
    SPlanFixture fixture;
    CPageTarget desk = Receiver(QStringLiteral("Desk"), 0x00FF00);
    AddRange(desk, Day(2026, 5, 31), 0, 1440); // Sunday, the last day of May 2026
    AddRange(desk, Day(2026, 6, 1), 0, 1440); // June: not shown
    fixture.Targets().append(desk);

    SPlanExportRequest request = WeekRequest(0, Day(2026, 5, 25));
    request.m_period = PlanPeriodMonth;
    const SPlanTable table = fixture.Build(request);
    QCOMPARE(table.m_subtitle, QStringLiteral("May 2026"));
    const QList<SPlanColumn>& columns = table.m_columns;
    // Time; Friday 1 to Sunday 3 and a blank; four full weeks, each with a blank after it.
    QCOMPARE(columns.size(), 1 + (3 + 1) + 4 * (7 + 1));
    QVERIFY(columns[4].IsBlank());
    QVERIFY(columns.last().IsBlank());
    const SPlanColumn& sunday = columns[columns.size() - 2];
    QCOMPARE(sunday.m_heading,
        (QStringList { QStringLiteral("Sunday"), FormatDateTime(Day(2026, 5, 31), DTF_DAYMONTH) }));
    QCOMPARE(sunday.m_items[0].m_lines, QStringList { QStringLiteral("Desk") });
    QCOMPARE(sunday.m_items[95].m_lines, QStringList { QStringLiteral("Desk") });
    for (const SPlanColumn& column : columns)
        QCOMPARE(column.m_items.size(), CTimePlanner::kRows);

    // The HTML ends with that blank column: an uncoloured cell at the end of every row.
    const QByteArray html = PlanHtml(table);
    QVERIFY(html.contains("&nbsp;</td><td>&nbsp;</td></tr>\r\n"));
    QVERIFY(!html.contains(FormatDateTime(Day(2026, 6, 1), DTF_DAYMONTH).toUtf8()));
}

void PlanExportTest::namesOnDarkColoursAreWhite()
{
    SPlanFixture fixture;
    CPageTarget dark = Receiver(QStringLiteral("Dark"), 0x800000); // navy
    CPageTarget light = Receiver(QStringLiteral("Light"), 0x80FFFF); // light yellow
    AddRange(dark, Day(2024, 1, 29), 0, 15);
    AddRange(light, Day(2024, 1, 29), 15, 30);
    fixture.Targets().append(dark);
    fixture.Targets().append(light);
    SPlanExportRequest request = WeekRequest(-1, Day(2024, 1, 29));
    request.m_allTargets = true;
    const QByteArray html = PlanHtml(fixture.Build(request));
    QVERIFY(html.contains("<td bgcolor='#000080'><font color='#ffffff'>Dark</font>&nbsp;</td>"));
    QVERIFY(html.contains("<td bgcolor='#ffff80'>Light&nbsp;</td>"));
    // The time labels and empty cells stay as they were.
    QVERIFY(html.contains("<td bgcolor='#f0f0f0'>0:00&nbsp;</td>"));
    QCOMPARE(html.count("<font color="), 1);

    // The decision is the planner's: the colour the planner gives a member's name on that cell.
    CPageTarget group = Receiver(QStringLiteral("Group"), 0xFFFFFF);
    group.m_number = -1;
    group.m_members = QStringLiteral("Dark;Light");
    fixture.Targets().append(group);
    fixture.planner.SetUp(Day(2024, 1, 29), false, QSize(0, 140));
    fixture.planner.LoadPlan(2);
    QCOMPARE(fixture.model.CellTextColor(1, 0), PlannerTextColorOn(fixture.model.CellColor(1, 0)));
    QCOMPARE(fixture.model.CellTextColor(1, 0), CColour::White());
    QCOMPARE(fixture.model.CellTextColor(1, 1), CColour::Black());
}

void PlanExportTest::timeColumnHasOneColour()
{
    // In a program with a palette (the dialog) the time column has the fixed colour that the
    // command-line export, without a palette, writes too.
    QVERIFY(qobject_cast<QGuiApplication*>(QCoreApplication::instance()));
    SPlanFixture fixture;
    fixture.Targets().append(Receiver(QStringLiteral("Desk"), 0));
    const SPlanTable table = fixture.Build(WeekRequest(0, Day(2024, 1, 29)));
    QCOMPARE(table.m_columns[0].m_items[5].m_color, CTimePlanner::TimeColumnColor());
    QCOMPARE(CTimePlanner::TimeColumnColor().Name(), QStringLiteral("#f0f0f0"));
    QVERIFY(PlanHtml(table).contains("<td bgcolor='#f0f0f0'>1:15&nbsp;</td>"));
}

QTEST_MAIN(PlanExportTest)
#include "PlanExportTest.moc"
