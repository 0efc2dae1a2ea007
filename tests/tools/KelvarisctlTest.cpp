#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <vector>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTimeZone>

#include "engine/Dispatch.h"
#include "engine/JournalKeeper.h"
#include "inbound/KelvarisPipe.h"
#include "inbound/RequestHandler.h"
#include "journal/AnswerJournal.h"
#include "journal/Journal.h"
#include "schedule/DateTime.h"
#include "schedule/DutyTimeline.h"
#include "schedule/Holiday.h"
#include "schedule/PageTarget.h"
#include "schedule/Profile.h"

namespace {

struct CtlRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

CtlRun RunCtl(const QStringList& args)
{
    QProcess process;
    // System error texts in English; no session bus, so that bus verbs fail fast and alike.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
        QStringLiteral("unix:path=/nonexistent/kelvarisctl-test"));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(KELVARISCTL_PATH), args);
    process.closeWriteChannel();
    CtlRun run;
    if (!process.waitForFinished(30000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

class KelvarisctlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_config = m_dir.filePath(QStringLiteral("kelvaris.cfg"));
    }
    void WriteConfig(const QByteArray& text)
    {
        QFile file(m_config);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    QTemporaryDir m_dir;
    QString m_config;
};

const char kSchedule[] = "[Settings]\r\nWorkDays=31\r\n"
                         "[Holiday1]\r\nHolidayName=Feast\r\nHolidayDate=2024-03-08\r\n"
                         "[Shift1]\r\nShiftName=Day\r\nDateType=10\r\nShiftDate=1899-12-30\r\n"
                         "ShiftStartTime=1899-12-30 06:00:00\r\nShiftEndTime=1899-12-30 21:59:59\r\n"
                         "ShiftNumber=2\r\nIsRotatingShift=1\r\nStartingCalenderWeek=9\r\nWeekCycle=3\r\n"
                         "[Barrage1]\r\nBarrageName=Late\r\nDateType=10\r\nBarrageDate=1899-12-30\r\n"
                         "BarrageStartTime=1899-12-30 21:00:00\r\nBarrageEndTime=1899-12-30 23:59:59\r\n"
                         "BarrageType=2\r\nBarragePriority=4\r\n"
                         "[Barrage2]\r\nBarrageName=Early\r\nDateType=10\r\nBarrageDate=1899-12-30\r\n"
                         "BarrageStartTime=1899-12-30 00:00:00\r\nBarrageEndTime=1899-12-30 06:00:00\r\n"
                         "BarrageType=2\r\n";

} // namespace

TEST_F(KelvarisctlTest, EvalPrintsTheDocumentedLinesInOrder)
{
    WriteConfig(kSchedule);
    // Monday 4 March 2024 (ISO week 10) at 21:30: the rotating shift (start week 10, cycle 3)
    // has its own number; the late barrier holds messages until Tuesday 06:00.
    const CtlRun run = RunCtl({ QStringLiteral("eval"), QStringLiteral("--config"), m_config,
        QStringLiteral("--at"), QStringLiteral("2024-03-04 21:30:00") });
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out,
        QStringLiteral("time=2024-03-04 21:30:00\nholiday=0\ndayBeforeHoliday=0\ndayAfterHoliday=0\n"
                       "workingDay=1\nweekend=0\nshift.name=Day\nshift.number=2\nshift.from=06:00:00\n"
                       "shift.to=21:59:59\nshift.remain=1799\nshift.remain2=0\nshift.total=57599\n"
                       "shift.total2=54000\nbarrier.name=Late\nbarrier.type=2\nbarrier.priority=4\n"
                       "barrier.from=21:00:00\nbarrier.to=23:59:59\nbarrier.remain=8999\n"
                       "barrier.total=10799\nbarrier.delay=2024-03-05 06:00:00\n"));

    // The holiday: no record applies; empty texts and zero numbers.
    const CtlRun feast = RunCtl({ QStringLiteral("eval"), QStringLiteral("--config"), m_config,
        QStringLiteral("--at"), QStringLiteral("8.3.2024 12:00") });
    ASSERT_EQ(feast.exitCode, 0);
    EXPECT_TRUE(feast.out.contains(QStringLiteral("\nholiday=1\n")));
    EXPECT_TRUE(feast.out.contains(QStringLiteral("\nshift.name=\nshift.number=0\nshift.from=\n")));
    EXPECT_TRUE(feast.out.endsWith(QStringLiteral("barrier.total=0\nbarrier.delay=\n")));

    // An empty configuration is an empty schedule, not an error.
    WriteConfig(QByteArray());
    const CtlRun empty = RunCtl({ QStringLiteral("eval"), QStringLiteral("--config"), m_config,
        QStringLiteral("--at"), QStringLiteral("2024-03-04 10:00:00") });
    EXPECT_EQ(empty.exitCode, 0);
    EXPECT_TRUE(empty.out.contains(QStringLiteral("workingDay=1")));
}

// eval --as-of evaluates the shifts, barriers and holidays the journal held then, not the file's.
TEST_F(KelvarisctlTest, EvalAsOfReplaysTheScheduleThen)
{
    WriteConfig("[Settings]\r\nTimeZone=Europe/Berlin\r\n");
    qint64 nowMs = QDateTime(QDate(2024, 3, 1), QTime(9, 0), QTimeZone("Europe/Berlin")).toMSecsSinceEpoch();
    CJournalKeeper keeper(QStringLiteral("window"));
    keeper.SetFolder(m_dir.path());
    keeper.SetClock([&nowMs] { return nowMs; });
    const QString schedule = QString::fromLatin1(kSchedule).remove(u'\r');
    const auto part = [&schedule](const char* from, const char* to) {
        const qsizetype start = schedule.indexOf(QLatin1String(from));
        return schedule.mid(start, to ? schedule.indexOf(QLatin1String(to)) - start : -1).trimmed();
    };
    const auto record = [&keeper](const char* kind, const QString& text) {
        keeper.Record({ QString::fromLatin1(kind), QStringLiteral("configuration"), text,
            QStringLiteral("Shifts"), QString(), QString(), false });
    };
    record("settings", part("[Settings]", "[Holiday1]"));
    record("holidays", part("[Holiday1]", "[Shift1]"));
    record("shifts", part("[Shift1]", "[Barrage1]"));
    record("barriers", part("[Barrage1]", nullptr));
    nowMs += 86'400'000LL; // the next day the shift is renamed and the holiday removed
    record("shifts", part("[Shift1]", "[Barrage1]").replace(QStringLiteral("=Day"), QStringLiteral("=Late")));
    record("holidays", QString());

    const auto eval = [this](const char* at, const char* asOf) {
        return RunCtl({ QStringLiteral("eval"), QStringLiteral("--config"), m_config, QStringLiteral("--at"),
            QString::fromLatin1(at), QStringLiteral("--as-of"), QString::fromLatin1(asOf) });
    };
    const struct
    {
        const char* at;
        const char* asOf;
        const char* expected;
    } cases[] = {
        { "2024-03-04 21:30", "2024-03-01 12:00", "\nshift.name=Day\nshift.number=2\n" },
        { "2024-03-04 21:30", "2024-03-01 12:00",
            "\nbarrier.name=Late\nbarrier.type=2\nbarrier.priority=4\n" },
        { "2024-03-04 21:30", "2024-03-02 12:00", "\nshift.name=Late\n" },
        { "2024-03-08 12:00", "2024-03-01 12:00", "\nholiday=1\n" },
        { "2024-03-08 12:00", "2024-03-03 12:00", "\nholiday=0\n" },
    };
    for (const auto& c : cases) {
        const CtlRun run = eval(c.at, c.asOf);
        EXPECT_EQ(run.exitCode, 0) << c.asOf << ": " << run.err.toStdString();
        EXPECT_TRUE(run.out.contains(QString::fromLatin1(c.expected))) << c.asOf << ":\n"
                                                                       << run.out.toStdString();
    }
    // Before the journal began there is nothing to replay: UNKNOWN, saying why.
    const CtlRun early = eval("2024-03-04 21:30", "2024-02-01 12:00");
    EXPECT_EQ(early.exitCode, 3);
    EXPECT_TRUE(early.err.contains(QStringLiteral("the journal begins at"))) << early.err.toStdString();
}

TEST_F(KelvarisctlTest, HolidaysGenerateAndList)
{
    WriteConfig(QByteArray());
    const CtlRun generate = RunCtl({ QStringLiteral("holidays"), QStringLiteral("generate"),
        QStringLiteral("2030"), QStringLiteral("2025"), QStringLiteral("--config"), m_config });
    ASSERT_EQ(generate.exitCode, 0) << generate.err.toStdString();
    CProfile profile(m_config);
    CHolidaysArray holidays;
    holidays.Load(profile);
    ASSERT_EQ(holidays.size(), 66);
    EXPECT_EQ(DateToText(holidays.first().m_date), QStringLiteral("2025-01-01"));
    EXPECT_EQ(DateToText(holidays.last().m_date), QStringLiteral("2030-12-26"));

    const CtlRun list = RunCtl(
        { QStringLiteral("holidays"), QStringLiteral("list"), QStringLiteral("--config"), m_config });
    ASSERT_EQ(list.exitCode, 0);
    EXPECT_EQ(list.out.count(u'\n'), 66);
    EXPECT_TRUE(list.out.startsWith(QStringLiteral("2025-01-01\tNew Year\n2025-04-18\tGood Friday\n")));
    // The edit journal has the change as kelvarisctl's, and a reader of the file (a running
    // Kelvaris) finds nothing left to journal as changed outside.
    const CtlRun history = RunCtl({ QStringLiteral("history"), QStringLiteral("--kind"),
        QStringLiteral("holidays"), QStringLiteral("--config"), m_config });
    EXPECT_TRUE(history.out.contains(
        QStringLiteral("\tkelvarisctl\tholidays\tconfiguration\tholidays generate 2030 2025\t")))
        << history.out.toStdString();
    {
        CJournalKeeper reader(QStringLiteral("windowless"));
        reader.SetFolder(m_dir.path());
        reader.RecordConfig(m_config, QString(), true);
    }
    EXPECT_EQ(RunCtl({ QStringLiteral("history"), QStringLiteral("--kind"), QStringLiteral("holidays"),
                         QStringLiteral("--config"), m_config })
                  .out.count(u'\n'),
        1);

    // Out of the generator's years: refused, nothing written.
    const CtlRun early = RunCtl({ QStringLiteral("holidays"), QStringLiteral("generate"),
        QStringLiteral("1900"), QStringLiteral("1950"), QStringLiteral("--config"), m_config });
    EXPECT_EQ(early.exitCode, 2);
    EXPECT_TRUE(early.err.startsWith(QStringLiteral("kelvarisctl: ")));
    holidays.Load(profile);
    EXPECT_EQ(holidays.size(), 66);
}

// Two programs changing the holiday list at once never lose each other's holidays: each writes under
// the file's lock what the file held under it plus its own change.
TEST_F(KelvarisctlTest, TwoWritersAtOnceKeepBothChanges)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    for (int round = 0; round < 20; ++round) {
        WriteConfig("[Settings]\r\nWorkDays=31\r\n");
        QProcess first;
        QProcess second;
        for (QProcess* process : { &first, &second })
            process->setProcessEnvironment(env);
        first.start(QStringLiteral(KELVARISCTL_PATH),
            { QStringLiteral("holidays"), QStringLiteral("generate"), QStringLiteral("2031"),
                QStringLiteral("2031"), QStringLiteral("--config"), m_config });
        second.start(QStringLiteral(KELVARISCTL_PATH),
            { QStringLiteral("holidays"), QStringLiteral("generate"), QStringLiteral("2032"),
                QStringLiteral("2032"), QStringLiteral("--config"), m_config });
        ASSERT_TRUE(first.waitForFinished(30000) && second.waitForFinished(30000));
        ASSERT_EQ(first.exitCode(), 0) << first.readAllStandardError().toStdString();
        ASSERT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
        CHolidaysArray holidays;
        CProfile profile(m_config);
        holidays.Load(profile);
        ASSERT_EQ(holidays.size(), 22) << "round " << round;
        EXPECT_FALSE(QFile::exists(m_config + QStringLiteral(".lock")));
    }
}

TEST_F(KelvarisctlTest, BadUsageExitsWithTwoAndOneLine)
{
    for (const QStringList& args : { QStringList {}, QStringList { QStringLiteral("nonsense") },
             QStringList { QStringLiteral("eval"), QStringLiteral("--at"), QStringLiteral("13.13.2024") },
             QStringList { QStringLiteral("eval"), QStringLiteral("--at") },
             QStringList { QStringLiteral("eval"), QStringLiteral("--bogus"), QStringLiteral("1") },
             QStringList { QStringLiteral("holidays"), QStringLiteral("generate"), QStringLiteral("x"),
                 QStringLiteral("2025") } }) {
        const CtlRun run = RunCtl(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(u' ').toStdString();
        EXPECT_EQ(run.err.count(u'\n'), 1) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
    EXPECT_EQ(RunCtl({ QStringLiteral("--help") }).exitCode, 0);
}

TEST_F(KelvarisctlTest, EveryVerbDescribesItselfWithHelp)
{
    const QStringList verbs = { QStringLiteral("eval"), QStringLiteral("holidays"),
        QStringLiteral("holidays list"), QStringLiteral("holidays generate"), QStringLiteral("check"),
        QStringLiteral("dispatch"), QStringLiteral("response"), QStringLiteral("send"), QStringLiteral("dde"),
        QStringLiteral("dde get"), QStringLiteral("dde watch"), QStringLiteral("dde exec"),
        QStringLiteral("do"), QStringLiteral("export"), QStringLiteral("history") };
    const CtlRun top = RunCtl({ QStringLiteral("--help") });
    EXPECT_EQ(top.exitCode, 0);
    for (const QString& verb : verbs) {
        const QStringList words = verb.split(u' ');
        // The overview names every verb.
        EXPECT_TRUE(top.out.contains(QRegularExpression(QStringLiteral("\n  %1[ \n]").arg(words.first()))))
            << verb.toStdString();

        const CtlRun help = RunCtl(words + QStringList { QStringLiteral("--help") });
        EXPECT_EQ(help.exitCode, 0) << verb.toStdString() << help.err.toStdString();
        EXPECT_TRUE(help.out.startsWith(QStringLiteral("Usage: kelvarisctl ") + verb))
            << help.out.toStdString();
        EXPECT_TRUE(help.err.isEmpty()) << help.err.toStdString();
        // Every option the verb takes is described.
        EXPECT_TRUE(help.out.contains(QStringLiteral("--version"))) << verb.toStdString();

        const CtlRun version = RunCtl(words + QStringList { QStringLiteral("--version") });
        EXPECT_EQ(version.exitCode, 0) << verb.toStdString();
        EXPECT_TRUE(version.out.startsWith(QStringLiteral("kelvarisctl "))) << version.out.toStdString();

        // An unknown option is named, with the verb it was given to.
        const CtlRun bogus = RunCtl(words + QStringList { QStringLiteral("--bogus-option") });
        EXPECT_EQ(bogus.exitCode, 2) << verb.toStdString();
        EXPECT_EQ(bogus.err.count(u'\n'), 1) << bogus.err.toStdString();
        EXPECT_TRUE(bogus.err.contains(QStringLiteral("'bogus-option'"))) << bogus.err.toStdString();
        EXPECT_TRUE(bogus.err.contains(verb)) << bogus.err.toStdString();
        EXPECT_TRUE(bogus.out.isEmpty());
    }
    const CtlRun options = RunCtl({ QStringLiteral("export"), QStringLiteral("--help") });
    for (const char* option : { "--target", "--all", "--week", "--weeks", "--month", "--config" })
        EXPECT_TRUE(options.out.contains(QLatin1String(option))) << option;

    // A value option at the end has no value: the option is named.
    const CtlRun missing = RunCtl({ QStringLiteral("dispatch"), QStringLiteral("--id") });
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("'--id'"))) << missing.err.toStdString();
}

TEST_F(KelvarisctlTest, ConfigFileThatCannotBeReadIsNamedWithTheReason)
{
    const QString absent = m_dir.filePath(QStringLiteral("typo.cfg"));
    const QStringList verbs[]
        = { { QStringLiteral("eval") }, { QStringLiteral("holidays"), QStringLiteral("list") },
              { QStringLiteral("holidays"), QStringLiteral("generate"), QStringLiteral("2025"),
                  QStringLiteral("2026") },
              { QStringLiteral("export"), QStringLiteral("--all"), QStringLiteral("receivers") } };
    for (const QStringList& verb : verbs) {
        const CtlRun missing = RunCtl(verb + QStringList { QStringLiteral("--config"), absent });
        EXPECT_EQ(missing.exitCode, 2) << verb.join(u' ').toStdString();
        EXPECT_TRUE(missing.out.isEmpty()) << missing.out.toStdString();
        EXPECT_TRUE(missing.err.contains(absent)) << missing.err.toStdString();
        EXPECT_TRUE(missing.err.contains(QStringLiteral("No such file or directory")))
            << missing.err.toStdString();

        const CtlRun folder = RunCtl(verb + QStringList { QStringLiteral("--config"), m_dir.path() });
        EXPECT_EQ(folder.exitCode, 2) << verb.join(u' ').toStdString();
        EXPECT_TRUE(folder.err.contains(m_dir.path() + u'"')) << folder.err.toStdString();
        EXPECT_TRUE(folder.err.contains(QStringLiteral("Is a directory"))) << folder.err.toStdString();
    }
    // Nothing was created under the mistyped name.
    EXPECT_FALSE(QFile::exists(absent));
    // --config before the holidays action counts as well.
    const CtlRun before
        = RunCtl({ QStringLiteral("holidays"), QStringLiteral("--config"), absent, QStringLiteral("list") });
    EXPECT_EQ(before.exitCode, 2);
    EXPECT_TRUE(before.err.contains(absent)) << before.err.toStdString();
}

TEST_F(KelvarisctlTest, TimeFormsInTheHelpAreAllRead)
{
    WriteConfig(kSchedule);
    for (const QString& verb : { QStringLiteral("eval"), QStringLiteral("dispatch") }) {
        const CtlRun help = RunCtl({ verb, QStringLiteral("--help") });
        ASSERT_EQ(help.exitCode, 0);
        const QStringList lines = help.out.split(u'\n');
        const qsizetype header = lines.indexOf(verb == QLatin1String("eval")
                ? QStringLiteral("Forms --at takes, for example:")
                : QStringLiteral("Forms --time takes, for example:"));
        ASSERT_GE(header, 0) << help.out.toStdString();
        int examples = 0;
        for (qsizetype i = header + 1; i < lines.size() && lines[i].startsWith(QStringLiteral("  ")); ++i) {
            const QString example = lines[i].trimmed().section(QStringLiteral("  "), 0, 0);
            if (example.startsWith(u'('))
                continue;
            ++examples;
            if (verb == QLatin1String("dispatch")) {
                // --time goes to the socket as written: the date parser reads each.
                CDateTime value;
                EXPECT_TRUE(DateTimeFromText(example, value) && value.IsValid()) << example.toStdString();
            } else {
                // eval takes each of them, also after "--at=".
                const CtlRun eval = RunCtl({ QStringLiteral("eval"), QStringLiteral("--config"), m_config,
                    QStringLiteral("--at=") + example });
                EXPECT_EQ(eval.exitCode, 0) << example.toStdString() << eval.err.toStdString();
            }
        }
        EXPECT_GE(examples, 10) << help.out.toStdString();
    }
    CDateTime value;
    ASSERT_TRUE(DateTimeFromText(QStringLiteral("4.3.24 21:30:15"), value));
    EXPECT_EQ(DateTimeToText(value), QStringLiteral("2024-03-04 21:30:15"));
}

namespace {
// Answers dispatch checks with 3 and remembers what it was asked.
class CRecordingServices : public CRequestServices
{
public:
    int CheckDispatching(const QString& id, const QString& group, const QString& time) override
    {
        asked = { id, group, time };
        return 3;
    }
    bool AppendResponse(const QString& text) override
    {
        responses << text;
        return true;
    }
    QStringList asked;
    QStringList responses;
};
} // namespace

TEST_F(KelvarisctlTest, SocketVerbsSendOneRequestAndPrintTheReply)
{
    const QByteArray name = "kelvarisctl-test-" + QByteArray::number(QCoreApplication::applicationPid());
    qputenv("KELVARIS_PIPE_NAME", name);
    CRecordingServices services;
    CKelvarisPipe pipe(services, name);
    pipe.Start();

    const CtlRun check = RunCtl({ QStringLiteral("check") });
    EXPECT_EQ(check.exitCode, 0) << check.err.toStdString();
    EXPECT_EQ(check.out, QStringLiteral("<TimeCmd Name=\"Check\"><Active>1</Active></TimeCmd>\n"));

    const CtlRun dispatch = RunCtl(
        { QStringLiteral("dispatch"), QStringLiteral("--id"), QStringLiteral("17"), QStringLiteral("--group"),
            QStringLiteral("40"), QStringLiteral("--time"), QStringLiteral("DT#NOW") });
    EXPECT_EQ(dispatch.out,
        QStringLiteral(
            "<TimeCmd Name=\"CheckDispatching\"><DispatchingResult>3</DispatchingResult></TimeCmd>\n"));
    EXPECT_EQ(services.asked,
        (QStringList { QStringLiteral("17"), QStringLiteral("40"), QStringLiteral("DT#NOW") }));

    const CtlRun response = RunCtl({ QStringLiteral("response"), QStringLiteral("--client"),
        QStringLiteral("Time:40"), QStringLiteral("--target"), QStringLiteral("18"),
        QStringLiteral("--result"), QStringLiteral("1") });
    EXPECT_EQ(response.out, QStringLiteral("<TimeCmd Name=\"HandleResponse\" />\n"));
    ASSERT_EQ(services.responses.size(), 1);
    EXPECT_TRUE(services.responses[0].contains(
        QStringLiteral("<ClientID>Time:40</ClientID><TargetID>18</TargetID><Result>1</Result>")));

    const CtlRun send = RunCtl({ QStringLiteral("send"), QStringLiteral("not xml") });
    EXPECT_EQ(send.exitCode, 0);
    EXPECT_EQ(send.out, QStringLiteral("\n"));

    // "--" ends the options: a text that looks like one goes out as it stands.
    EXPECT_EQ(RunCtl({ QStringLiteral("send"), QStringLiteral("--weird") }).exitCode, 2);
    const CtlRun weird = RunCtl({ QStringLiteral("send"), QStringLiteral("--"), QStringLiteral("--weird") });
    EXPECT_EQ(weird.exitCode, 0) << weird.err.toStdString();
    // Options may follow the "--"-free arguments, and an option value may begin with "-".
    const CtlRun late = RunCtl({ QStringLiteral("response"), QStringLiteral("--client"), QStringLiteral("-x"),
        QStringLiteral("--target"), QStringLiteral("18"), QStringLiteral("--timeout"),
        QStringLiteral("-1") });
    EXPECT_EQ(late.exitCode, 0) << late.err.toStdString();
    ASSERT_EQ(services.responses.size(), 2);
    EXPECT_TRUE(services.responses[1].contains(QStringLiteral("<ClientID>-x</ClientID>")))
        << services.responses[1].toStdString();
    EXPECT_TRUE(services.responses[1].contains(QStringLiteral("<Timeout>-1</Timeout>")));

    pipe.Stop();
    const CtlRun nobody = RunCtl({ QStringLiteral("check") });
    EXPECT_EQ(nobody.exitCode, 1);
    EXPECT_TRUE(nobody.out.isEmpty());
    // The socket is named.
    EXPECT_TRUE(nobody.err.contains(QString::fromUtf8(name))) << nobody.err.toStdString();

    // The bus verbs: after "--" the command is not an option, so the call is made (and finds no bus).
    const CtlRun command = RunCtl({ QStringLiteral("do"), QStringLiteral("--"), QStringLiteral("-[x]") });
    EXPECT_EQ(command.exitCode, 1) << command.err.toStdString();
    EXPECT_EQ(RunCtl({ QStringLiteral("do"), QStringLiteral("-[x]") }).exitCode, 2);
    EXPECT_EQ(RunCtl({ QStringLiteral("dispatch") }).exitCode, 2);
    // A time that does not read is refused before anything is asked, naming the text.
    const CtlRun badTime = RunCtl({ QStringLiteral("dispatch"), QStringLiteral("--id"), QStringLiteral("101"),
        QStringLiteral("--time"), QStringLiteral("garbage") });
    EXPECT_EQ(badTime.exitCode, 2);
    EXPECT_TRUE(badTime.err.contains(QStringLiteral("\"garbage\""))) << badTime.err.toStdString();
    qunsetenv("KELVARIS_PIPE_NAME");
}

// history lists the journal, newest first and filtered, and --verify finds an entry changed with
// the sqlite3 shell; a missing or foreign journal is UNKNOWN.
TEST_F(KelvarisctlTest, HistoryListsTheJournalAndVerifyFindsAChangedEntry)
{
    WriteConfig("[Settings]\r\nTimeZone=Europe/Berlin\r\n");
    const QString path = CJournal::PathIn(m_dir.path());
    const auto verify = [this] {
        return RunCtl(
            { QStringLiteral("history"), QStringLiteral("--verify"), QStringLiteral("--config"), m_config });
    };
    EXPECT_EQ(verify().exitCode, 3);
    {
        CJournal journal(path);
        ASSERT_TRUE(journal.Open(true));
        const char* subjects[] = { "17", "18", "17" };
        for (int i = 0; i < 3; ++i) {
            CJournalEntry entry;
            entry.atMs = 1'795'942'800'000LL + i * 3'600'000LL; // 2026-11-29 10:00 in Berlin, an hour apart
            entry.user = QStringLiteral("anna");
            entry.via = QStringLiteral("window");
            entry.kind = QStringLiteral("plan");
            entry.subject = QString::fromLatin1(subjects[i]);
            entry.after = QStringLiteral("20261208=08:00-16:00\n20261209=22:00-24:00");
            entry.why = QStringLiteral("Plan of action");
            ASSERT_TRUE(journal.Append(entry));
        }
    }
    const CtlRun text = RunCtl({ QStringLiteral("history"), QStringLiteral("--target"), QStringLiteral("17"),
        QStringLiteral("--config"), m_config });
    EXPECT_EQ(text.exitCode, 0) << text.err.toStdString();
    const QStringList lines = text.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << text.out.toStdString();
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("3\t2026-11-29T12:00:00+01:00")));
    EXPECT_TRUE(lines[0].contains(
        QStringLiteral("+01:00\tanna\twindow\tplan\t17\tPlan of action\t\t20261208=08:00-16:00\\n20261209")))
        << lines[0].toStdString();
    const CtlRun json
        = RunCtl({ QStringLiteral("history"), QStringLiteral("--json"), QStringLiteral("--since"),
            QStringLiteral("2026-11-29T11:30"), QStringLiteral("--config"), m_config });
    const QJsonArray array = QJsonDocument::fromJson(json.out.toUtf8()).array();
    ASSERT_EQ(array.size(), 1) << json.out.toStdString();
    EXPECT_EQ(array[0].toObject().value(QStringLiteral("seq")).toInt(), 3);
    EXPECT_EQ(array[0].toObject().value(QStringLiteral("hash")).toString().size(), 64);

    CtlRun check = verify();
    EXPECT_EQ(check.exitCode, 0) << check.err.toStdString();
    EXPECT_TRUE(check.out.startsWith(QStringLiteral("journal intact: 3 entries, head 3:")))
        << check.out.toStdString();
    QProcess sqlite;
    sqlite.start(QStringLiteral("sqlite3"),
        { path, QStringLiteral("UPDATE entries SET after = 'nothing' WHERE seq = 2") });
    ASSERT_TRUE(sqlite.waitForFinished(10000));
    ASSERT_EQ(sqlite.exitCode(), 0) << sqlite.readAllStandardError().toStdString();
    check = verify();
    EXPECT_EQ(check.exitCode, 1);
    EXPECT_TRUE(check.out.startsWith(QStringLiteral("journal broken at entry 2: ")))
        << check.out.toStdString();

    // A journal that cannot shrink unnoticed: its head file (written after every change) or a head
    // kept elsewhere (--expect) names what is gone.
    const auto sql = [&path](const char* statement) {
        QProcess shell;
        shell.start(QStringLiteral("sqlite3"), { path, QString::fromLatin1(statement) });
        return shell.waitForFinished(10000) && shell.exitCode() == 0;
    };
    struct CCase
    {
        const char* what;
        std::function<bool()> fault;
        const char* expect; // --expect, "" none; "2:wrong" the second entry's head with another hash
        int exitCode;
        const char* says; // on standard output or error
    };
    const QList<CCase> cases = {
        { "intact", [] { return true; }, "", 0, "journal intact: 5 entries, head 5:" },
        { "the newest rows deleted", [&] { return sql("DELETE FROM entries WHERE seq > 3"); }, "", 1,
            "journal broken at entry 4: the entries 4 to 5 are missing" },
        { "a row in between deleted", [&] { return sql("DELETE FROM entries WHERE seq = 3"); }, "", 1,
            "journal broken at entry 3: the entry 3 is missing" },
        { "cut to 0 bytes", [&] { return QFile(path).resize(0); }, "", 1,
            "journal broken at entry 1: the entries 1 to 5 are missing" },
        { "removed", [&] { return QFile::remove(path); }, "", 1, "is missing; its head names entry 5:" },
        { "garbage in its place",
            [&] {
                QFile file(path);
                return file.open(QIODevice::WriteOnly) && file.write("not a database at all") > 0;
            },
            "", 1, "journal damaged: " },
        { "a head kept elsewhere names another entry", [] { return true; }, "2:wrong", 1,
            "journal broken at entry 2: it is not the entry the head" },
        { "a head kept elsewhere beyond the journal", [] { return true; }, "9:", 1,
            "journal broken at entry 6: the entries 6 to 9 are missing" },
    };
    for (const CCase& test : cases) {
        SCOPED_TRACE(test.what);
        for (const QString& file : QDir(m_dir.path()).entryList({ QStringLiteral("kelvaris-journal*") }))
            QFile::remove(m_dir.filePath(file));
        QByteArray hash;
        {
            CJournal journal(path);
            ASSERT_TRUE(journal.Open(true));
            for (int i = 0; i < 5; ++i) {
                CJournalEntry entry;
                entry.atMs = 1'795'942'800'000LL + i * 60'000LL;
                entry.kind = QStringLiteral("plan");
                entry.subject = QString::number(17 + i);
                entry.after = QStringLiteral("20261208=08:00-16:00");
                ASSERT_TRUE(journal.Append(entry));
                hash = entry.hash;
            }
        }
        ASSERT_TRUE(test.fault());
        QStringList arguments { QStringLiteral("history"), QStringLiteral("--verify"),
            QStringLiteral("--config"), m_config };
        if (*test.expect)
            arguments << QStringLiteral("--expect")
                      << (QByteArray(test.expect) == "2:wrong"
                                 ? QStringLiteral("2:") + QString(64, u'0')
                                 : QString::fromLatin1(test.expect) + QString::fromLatin1(hash));
        const CtlRun run = RunCtl(arguments);
        EXPECT_EQ(run.exitCode, test.exitCode) << run.out.toStdString() << run.err.toStdString();
        EXPECT_TRUE((run.out + run.err).contains(QString::fromLatin1(test.says))) << run.out.toStdString();
    }
    // A head that is none is bad usage.
    EXPECT_EQ(RunCtl({ QStringLiteral("history"), QStringLiteral("--verify"), QStringLiteral("--expect"),
                         QStringLiteral("five"), QStringLiteral("--config"), m_config })
                  .exitCode,
        2);
}

// history --answers: each check of the receiver with the entry that decided it (the group's
// holder while one held it, otherwise the receiver's plan in force then).
TEST_F(KelvarisctlTest, HistoryAnswersNamesTheEntryThatDecided)
{
    WriteConfig("[Settings]\r\nTimeZone=UTC\r\n");
    const qint64 t0 = QDateTime(QDate(2026, 12, 8), QTime(3, 0), QTimeZone::utc()).toMSecsSinceEpoch();
    qint64 nowMs = t0;
    {
        CJournalKeeper keeper(QStringLiteral("window"));
        keeper.SetFolder(m_dir.path());
        keeper.SetClock([&nowMs] { return nowMs; });
        CPageTarget anna;
        anna.m_id = QStringLiteral("11");
        anna.m_name = QStringLiteral("Anna");
        anna.m_ranges.AddFromText(QStringLiteral("20261208=00:00-06:00"));
        keeper.RecordPlan(anna, QStringLiteral("Plan of action"));
        nowMs = t0 + 600'000; // 03:10 the group gets a holder, at 03:20 loses it
        keeper.Record({ QStringLiteral("holder"), QStringLiteral("40"), QStringLiteral("12"),
            QStringLiteral("takeover of duty"), QStringLiteral("takeover"), QString(), false });
        nowMs = t0 + 1'200'000;
        keeper.Record({ QStringLiteral("holder"), QStringLiteral("40"), QString(),
            QStringLiteral("takeover of duty"), QStringLiteral("takeover"), QString(), false });
    }
    {
        CAnswerJournal answers(CJournal::PathIn(m_dir.path()));
        for (const qint64 minute : { 5, 12, 25 })
            answers.Add({ t0 + minute * 60'000, 1000, QStringLiteral("11"), QStringLiteral("40"),
                minute == 12 ? kDispatchNotDispatched : kDispatchSend, 1'796'000'000 });
    }
    const CtlRun run
        = RunCtl({ QStringLiteral("history"), QStringLiteral("--answers"), QStringLiteral("--target"),
            QStringLiteral("11"), QStringLiteral("--since"), QStringLiteral("2026-12-08T03:00Z"),
            QStringLiteral("--json"), QStringLiteral("--config"), m_config });
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonArray array = QJsonDocument::fromJson(run.out.toUtf8()).array();
    ASSERT_EQ(array.size(), 3) << run.out.toStdString();
    const char* expected[][3]
        = { { "Send", "plan", "11" }, { "NotDispatched", "holder", "40" }, { "Send", "plan", "11" } };
    for (int i = 0; i < 3; ++i) {
        const QJsonObject answer = array[i].toObject();
        const QJsonObject decider = answer.value(QStringLiteral("decidedBy")).toObject();
        EXPECT_EQ(answer.value(QStringLiteral("result")).toString(), QString::fromLatin1(expected[i][0]))
            << i;
        EXPECT_EQ(decider.value(QStringLiteral("kind")).toString(), QString::fromLatin1(expected[i][1])) << i;
        EXPECT_EQ(decider.value(QStringLiteral("subject")).toString(), QString::fromLatin1(expected[i][2]))
            << i;
        EXPECT_EQ(answer.value(QStringLiteral("uid")).toInt(), 1000);
    }
    EXPECT_EQ(array[1].toObject().value(QStringLiteral("at")).toString(),
        QStringLiteral("2026-12-08T03:12:00+00:00"));
    // --answers needs a receiver.
    EXPECT_EQ(RunCtl({ QStringLiteral("history"), QStringLiteral("--answers"), QStringLiteral("--config"),
                         m_config })
                  .exitCode,
        2);
}

// A week of scripted edits (plans and a takeover group's holder), journaled as they happen; at 50
// moments between them oncall answers from the files as they stand, and afterwards oncall --as-of
// each moment answers the same from the journal alone.
TEST_F(KelvarisctlTest, OncallAsOfReplaysWhatOncallSaidThen)
{
    WriteConfig("[Settings]\r\nTimeZone=Europe/Berlin\r\n");
    std::mt19937 random(20261208);
    const auto pick = [&random](int below) { return int(random() % unsigned(below)); };
    const QDate monday(2026, 12, 7);
    struct Plan
    {
        QString id;
        QString name;
        bool group = false;
        QString holder;
        QStringList ranges;
    };
    QList<Plan> plans;
    for (int r = 0; r < 4; ++r)
        plans.append({ QString::number(11 + r), QStringLiteral("Receiver %1").arg(r), false, QString(), {} });
    plans.append({ QStringLiteral("40"), QStringLiteral("North"), true, QStringLiteral("11"), {} });
    const auto randomRange = [&] {
        const int from = pick(20) * 60;
        return monday.addDays(pick(7)).toString(QStringLiteral("yyyyMMdd")) + u'='
            + QStringLiteral("%1:%2-%3:00")
                  .arg(from / 60, 2, 10, QLatin1Char('0'))
                  .arg(from % 60, 2, 10, QLatin1Char('0'))
                  .arg(from / 60 + 1 + pick(4), 2, 10, QLatin1Char('0'));
    };
    for (Plan& plan : plans) {
        for (int i = 0; i < 16; ++i)
            plan.ranges << randomRange();
    }

    qint64 nowMs
        = QDateTime(monday.addDays(-1), QTime(12, 0), QTimeZone("Europe/Berlin")).toMSecsSinceEpoch();
    CJournalKeeper keeper(QStringLiteral("window"));
    keeper.SetFolder(m_dir.path());
    keeper.SetClock([&nowMs] { return nowMs; });
    const auto store = [&](const Plan& plan, bool read) {
        QByteArray text = "[Settings]\r\nName=" + plan.name.toUtf8() + "\r\n";
        if (plan.group)
            text += "Takeover=1\r\nCurrentTargetID=" + plan.holder.toLatin1() + "\r\n";
        for (const QString& range : plan.ranges)
            text += range.toLatin1() + "\r\n";
        QFile file(m_dir.filePath(plan.id + QStringLiteral(".tim")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        file.close();
        CPageTarget target;
        target.m_id = plan.id;
        target.m_name = plan.name;
        target.m_number = plan.group ? -1 : 0;
        target.m_takeover = plan.group;
        for (const QString& range : plan.ranges)
            target.m_ranges.AddFromText(range);
        if (read) {
            target.m_fileTimeMemo = nowMs;
            keeper.RecordPlanRead(target);
        } else {
            keeper.RecordPlan(target, QStringLiteral("Plan of action"));
        }
        if (plan.group)
            keeper.Record({ QStringLiteral("holder"), plan.id, plan.holder,
                QStringLiteral("takeover of duty"), QStringLiteral("takeover"), QString(), false });
    };
    for (const Plan& plan : std::as_const(plans))
        store(plan, true);
    // The starts of receiver 11's duty before the edits, as a calendar writes them.
    QStringList startsBefore;
    {
        CDispatchRangeArray ranges;
        for (const QString& range : std::as_const(plans[0].ranges))
            ranges.AddFromText(range);
        const qint64 from = QDateTime(monday, QTime(0, 0), QTimeZone("Europe/Berlin")).toMSecsSinceEpoch();
        const CZoneOffsets offsets(QTimeZone("Europe/Berlin"), from, from + 7 * 86'400'000LL);
        for (const CDutySpan& span : DutyTimeline(ranges, offsets, from, from + 7 * 86'400'000LL))
            startsBefore << QDateTime::fromMSecsSinceEpoch(span.startMs, QTimeZone::utc())
                                .toString(QStringLiteral("'DTSTART:'yyyyMMdd'T'HHmmss'Z'"));
    }
    const qint64 beforeEdits = nowMs + 1;

    // Who is on duty by an oncall document: receivers, and groups with their holders.
    const auto onDuty = [](const QString& json) {
        const QJsonObject document = QJsonDocument::fromJson(json.toUtf8()).object();
        QStringList found;
        for (const QJsonValue& receiver : document.value(QStringLiteral("receivers")).toArray())
            found << receiver.toObject().value(QStringLiteral("id")).toString();
        for (const QJsonValue& group : document.value(QStringLiteral("groups")).toArray())
            found << group.toObject().value(QStringLiteral("id")).toString() + QStringLiteral("/")
                    + group.toObject()
                          .value(QStringLiteral("holder"))
                          .toObject()
                          .value(QStringLiteral("id"))
                          .toString();
        found.sort();
        return found.join(u' ');
    };
    const auto iso = [](qint64 ms) {
        return QDateTime::fromMSecsSinceEpoch(ms, QTimeZone::utc()).toString(Qt::ISODate);
    };
    QList<std::pair<qint64, QString>> said;
    const qint64 weekEnd = nowMs + 8 * 86'400'000LL;
    while (said.size() < 50) {
        // The next edit 1 to 6 hours on; two moments are asked about before it.
        const qint64 next = nowMs + (1 + pick(6)) * 3'600'000LL;
        for (int i = 0; i < 2; ++i) {
            const qint64 at = nowMs + 1 + qint64(random() % quint64(next - nowMs - 1));
            const CtlRun run = RunCtl({ QStringLiteral("oncall"), QStringLiteral("--at"), iso(at),
                QStringLiteral("--json"), QStringLiteral("--config"), m_config });
            ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
            said.append({ at, onDuty(run.out) });
        }
        nowMs = next;
        ASSERT_LT(nowMs, weekEnd);
        Plan& plan = plans[pick(int(plans.size()))];
        if (plan.group && pick(2) == 0)
            plan.holder = QString::number(11 + pick(4));
        else if (pick(2) == 0 && !plan.ranges.isEmpty())
            plan.ranges.removeAt(pick(int(plan.ranges.size())));
        else
            plan.ranges << randomRange();
        store(plan, false);
    }

    int differing = 0;
    for (const auto& [at, then] : std::as_const(said)) {
        const CtlRun run
            = RunCtl({ QStringLiteral("oncall"), QStringLiteral("--at"), iso(at), QStringLiteral("--as-of"),
                iso(at), QStringLiteral("--json"), QStringLiteral("--config"), m_config });
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(
            QJsonDocument::fromJson(run.out.toUtf8()).object().value(QStringLiteral("source")).toString(),
            QStringLiteral("journal"));
        if (onDuty(run.out) != then)
            ++differing;
        EXPECT_EQ(onDuty(run.out), then) << iso(at).toStdString();
    }
    EXPECT_EQ(differing, 0);
    // The calendar as it stood before the edits: the same starts, from the journal alone.
    const CtlRun before = RunCtl(
        { QStringLiteral("ical"), QStringLiteral("--id"), QStringLiteral("11"), QStringLiteral("--from"),
            QStringLiteral("2026-12-07"), QStringLiteral("--to"), QStringLiteral("2026-12-13"),
            QStringLiteral("--as-of"), iso(beforeEdits), QStringLiteral("--config"), m_config });
    ASSERT_EQ(before.exitCode, 0) << before.err.toStdString();
    QStringList starts
        = before.out.split(QStringLiteral("\r\n")).filter(QRegularExpression(QStringLiteral("^DTSTART:")));
    starts.sort();
    startsBefore.sort();
    EXPECT_EQ(starts, startsBefore);
}

// Four programs writing one file at once, round after round: each waits for the others' locks,
// and a lock a writer gave back as it ended is not reported as broken.
TEST_F(KelvarisctlTest, WritersThatEndNormallyBreakNoLock)
{
    WriteConfig(kSchedule);
    QString errors;
    for (int round = 0; round < 6; ++round) {
        std::vector<std::unique_ptr<QProcess>> writers;
        for (int writer = 0; writer < 4; ++writer) {
            auto process = std::make_unique<QProcess>();
            process->start(QStringLiteral(KELVARISCTL_PATH),
                { QStringLiteral("holidays"), QStringLiteral("generate"), QString::number(2024 + writer),
                    QString::number(2024 + writer), QStringLiteral("--config"), m_config });
            writers.push_back(std::move(process));
        }
        for (const auto& process : writers) {
            ASSERT_TRUE(process->waitForFinished(30000));
            EXPECT_EQ(process->exitCode(), 0);
            errors += QString::fromUtf8(process->readAllStandardError());
        }
    }
    EXPECT_FALSE(errors.contains(QStringLiteral("was broken"))) << errors.toStdString();

    // A lock file a writer that died left behind is broken, and said so.
    QProcess ended;
    ended.start(QStringLiteral("true"), {});
    ASSERT_TRUE(ended.waitForStarted(5000));
    const qint64 pid = ended.processId();
    ASSERT_TRUE(ended.waitForFinished(5000));
    QFile lock(m_config + QStringLiteral(".lock"));
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.write(QByteArray::number(pid) + "\nkelvarisctl\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    lock.close();
    const CtlRun run = RunCtl({ QStringLiteral("holidays"), QStringLiteral("generate"),
        QStringLiteral("2030"), QStringLiteral("2030"), QStringLiteral("--config"), m_config });
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("left by process %1, which has ended, was broken").arg(pid)))
        << run.err.toStdString();
}
