#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "inbound/KelvarisPipe.h"
#include "inbound/RequestHandler.h"
#include "schedule/Holiday.h"
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

    // A missing configuration is an empty schedule, not an error.
    const CtlRun empty = RunCtl(
        { QStringLiteral("eval"), QStringLiteral("--config"), m_dir.filePath(QStringLiteral("none.cfg")),
            QStringLiteral("--at"), QStringLiteral("2024-03-04 10:00:00") });
    EXPECT_EQ(empty.exitCode, 0);
    EXPECT_TRUE(empty.out.contains(QStringLiteral("workingDay=1")));
}

TEST_F(KelvarisctlTest, HolidaysGenerateAndList)
{
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

    // Out of the generator's years: refused, nothing written.
    const CtlRun early = RunCtl({ QStringLiteral("holidays"), QStringLiteral("generate"),
        QStringLiteral("1900"), QStringLiteral("1950"), QStringLiteral("--config"), m_config });
    EXPECT_EQ(early.exitCode, 2);
    EXPECT_TRUE(early.err.startsWith(QStringLiteral("kelvarisctl: ")));
    holidays.Load(profile);
    EXPECT_EQ(holidays.size(), 66);
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

    pipe.Stop();
    const CtlRun nobody = RunCtl({ QStringLiteral("check") });
    EXPECT_EQ(nobody.exitCode, 1);
    EXPECT_TRUE(nobody.out.isEmpty());
    EXPECT_EQ(RunCtl({ QStringLiteral("dispatch") }).exitCode, 2);
    qunsetenv("KELVARIS_PIPE_NAME");
}
