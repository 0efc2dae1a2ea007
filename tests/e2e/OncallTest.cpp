// kelvarisctl oncall against kelvaris-alarmsim on a private session bus, and without it (the
// dispatch files of the data folder): who is on duty at a moment, with a takeover group's holder.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "PrivateBus.h"

namespace {

class OncallTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { s_suite = new CBusTestSuite("test_e2e_oncall"); }
    static void TearDownTestSuite()
    {
        delete s_suite;
        s_suite = nullptr;
    }

    void SetUp() override
    {
        ASSERT_TRUE(s_suite->Bus().IsRunning());
        ASSERT_TRUE(m_dir.isValid());
        m_service = QStringLiteral("com.ondrevi.AlarmServerTest.o%1").arg(QCoreApplication::applicationPid());
        m_env = QProcessEnvironment::systemEnvironment();
        m_env.insert(QStringLiteral("KELVARIS_ALARMSERVER_BUS_NAME"), m_service);
        m_env.insert(QStringLiteral("KELVARIS_DATA"), m_dir.path());
        Write("kelvaris.cfg", "[Settings]\r\nWorkDays=31\r\n");
        Write("targets.cfg",
            "[Target1]\r\nName=Duty desk\r\nNumber=4\r\nID=17\r\nColour=255\r\n"
            "[Target2]\r\nName=Nacht \xC3\xBC\r\nNumber=5\r\nID=18\r\nColour=65280\r\n"
            "[Target3]\r\nName=Service\r\nNumber=-1\r\nID=30\r\nColour=0\r\nMembers=Duty desk;Nacht "
            "\xC3\xBC\r\n"
            "[Target4]\r\nName=Spare\r\nNumber=6\r\nID=19\r\nColour=0\r\n");
        Write("17.tim", "[Settings]\r\nName=Duty desk\r\n20240131=08:00-09:00\r\n");
        Write("18.tim", "[Settings]\r\nName=Nacht \xC3\xBC\r\n20240131=08:30-10:00\r\n");
        Write("19.tim", "[Settings]\r\nName=Spare\r\n20240201=08:00-09:00\r\n");
        Write("30.tim",
            "[Settings]\r\nName=Service\r\nTakeover=1\r\nCurrentTargetID=18\r\n20240131=00:00-24:00\r\n");
    }

    void TearDown() override
    {
        if (m_sim.state() != QProcess::NotRunning) {
            m_sim.terminate();
            if (!m_sim.waitForFinished(5000))
                m_sim.kill();
        }
    }

    void StartSimulator()
    {
        m_sim.setProcessEnvironment(m_env);
        m_sim.start(QStringLiteral(ALARMSIM_PATH),
            { QStringLiteral("--targets"), m_dir.filePath(QStringLiteral("targets.cfg")) });
        ASSERT_TRUE(m_sim.waitForStarted(5000));
        ASSERT_TRUE(WaitForBusName(m_service));
    }

    void Write(const char* name, const QByteArray& text)
    {
        QFile file(m_dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    // Runs a kelvarisctl verb; its exit code, standard output and (when asked) standard error.
    int Ctl(const QString& verb, const QStringList& arguments, QString* out, QString* error = nullptr)
    {
        QProcess ctl;
        ctl.setProcessEnvironment(m_env);
        ctl.start(QStringLiteral(KELVARISCTL_PATH), QStringList { verb } + arguments);
        if (!ctl.waitForFinished(30000))
            return -1;
        *out = QString::fromUtf8(ctl.readAllStandardOutput());
        if (error)
            *error = QString::fromUtf8(ctl.readAllStandardError());
        return ctl.exitStatus() == QProcess::NormalExit ? ctl.exitCode() : -1;
    }
    int Oncall(const QStringList& arguments, QString* out, QString* error = nullptr)
    {
        return Ctl(QStringLiteral("oncall"), arguments, out, error);
    }

    QJsonObject OncallJson(const QString& at)
    {
        QString out;
        EXPECT_EQ(Oncall({ QStringLiteral("--json"), QStringLiteral("--at"), at }, &out), 0);
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(out.toUtf8(), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << out.toStdString();
        return document.object();
    }

    static inline CBusTestSuite* s_suite = nullptr;
    QTemporaryDir m_dir;
    QString m_service;
    QProcessEnvironment m_env;
    QProcess m_sim;
};

QStringList Names(const QJsonArray& array)
{
    QStringList names;
    for (const QJsonValue& value : array)
        names << value.toObject().value(QStringLiteral("name")).toString();
    return names;
}

} // namespace

TEST_F(OncallTest, FromTheAlarmServerTextAndJson)
{
    StartSimulator();
    QString out;
    ASSERT_EQ(Oncall({ QStringLiteral("--at"), QStringLiteral("2024-01-31 08:45:00") }, &out), 0);
    const QStringList lines = out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 5) << out.toStdString();
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("at: 2024-01-31T08:45:00"))) << out.toStdString();
    EXPECT_EQ(lines[1], QStringLiteral("source: alarm-server"));
    EXPECT_EQ(lines[2], QStringLiteral("receiver\tDuty desk\t17"));
    EXPECT_EQ(lines[3], QStringLiteral("receiver\tNacht \u00FC\t18"));
    EXPECT_EQ(lines[4], QStringLiteral("group\tService\t30\tholder: Nacht \u00FC (18)"));

    const QJsonObject json = OncallJson(QStringLiteral("2024-01-31 09:30:00"));
    EXPECT_EQ(json.value(QStringLiteral("source")).toString(), QStringLiteral("alarm-server"));
    // Local time with its offset.
    const QString at = json.value(QStringLiteral("at")).toString();
    EXPECT_TRUE(QDateTime::fromString(at, Qt::ISODate).isValid()) << at.toStdString();
    // The offset of that moment here, "+00:00" for UTC (never "-00:00" or "Z").
    const int offset = QDateTime(QDate(2024, 1, 31), QTime(9, 30)).offsetFromUtc();
    EXPECT_EQ(at,
        QStringLiteral("2024-01-31T09:30:00%1%2:%3")
            .arg(offset < 0 ? QStringLiteral("-") : QStringLiteral("+"))
            .arg(std::abs(offset) / 3600, 2, 10, QLatin1Char('0'))
            .arg(std::abs(offset) % 3600 / 60, 2, 10, QLatin1Char('0')));
    const QJsonArray receivers = json.value(QStringLiteral("receivers")).toArray();
    ASSERT_EQ(receivers.size(), 1);
    EXPECT_EQ(receivers[0].toObject(),
        (QJsonObject { { QStringLiteral("name"), QStringLiteral("Nacht \u00FC") },
            { QStringLiteral("id"), QStringLiteral("18") }, { QStringLiteral("number"), 5 } }));
    const QJsonArray groups = json.value(QStringLiteral("groups")).toArray();
    ASSERT_EQ(groups.size(), 1);
    const QJsonObject group = groups[0].toObject();
    EXPECT_EQ(group.value(QStringLiteral("number")).toInt(), -1);
    EXPECT_TRUE(group.value(QStringLiteral("takeover")).toBool());
    EXPECT_EQ(group.value(QStringLiteral("holder")).toObject(),
        (QJsonObject { { QStringLiteral("name"), QStringLiteral("Nacht \u00FC") },
            { QStringLiteral("id"), QStringLiteral("18") } }));
    EXPECT_EQ(group.value(QStringLiteral("members")).toArray(),
        QJsonArray::fromStringList({ QStringLiteral("Duty desk"), QStringLiteral("Nacht \u00FC") }));

    // Nobody on duty: empty lists, not missing keys.
    const QJsonObject night = OncallJson(QStringLiteral("2024-02-02 03:00:00"));
    EXPECT_TRUE(night.value(QStringLiteral("receivers")).isArray());
    EXPECT_TRUE(night.value(QStringLiteral("receivers")).toArray().isEmpty());
    EXPECT_TRUE(night.value(QStringLiteral("groups")).toArray().isEmpty());
}

TEST_F(OncallTest, WithoutTheAlarmServerFromTheDispatchFiles)
{
    QString out;
    {
        // The missing alarm server is said on the output, not warned about.
        QProcess ctl;
        ctl.setProcessEnvironment(m_env);
        ctl.start(QStringLiteral(KELVARISCTL_PATH), { QStringLiteral("oncall") });
        ASSERT_TRUE(ctl.waitForFinished(30000));
        EXPECT_EQ(ctl.exitCode(), 0);
        // Kelvaris's own messages only: Qt D-Bus now and then reports a reply arriving while the
        // process ends ("Trying to construct an instance of an invalid type"), which says nothing
        // about the alarm server.
        for (const QByteArray& line : ctl.readAllStandardError().split('\n')) {
            EXPECT_TRUE(
                line.isEmpty() || line.startsWith("Trying to construct an instance of an invalid type"))
                << line.toStdString();
        }
    }
    ASSERT_EQ(Oncall({ QStringLiteral("--at"), QStringLiteral("2024-01-31 08:45:00") }, &out), 0);
    EXPECT_TRUE(out.contains(QStringLiteral("\nsource: dispatch-files\n"))) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("\nreceiver\tDuty desk\t17\n")));
    EXPECT_TRUE(out.contains(QStringLiteral("\ngroup\tService\t30\tholder: Nacht \u00FC (18)\n")));
    EXPECT_FALSE(out.contains(QStringLiteral("Spare")));

    const QJsonObject json = OncallJson(QStringLiteral("2024-02-01 08:30:00"));
    EXPECT_EQ(json.value(QStringLiteral("source")).toString(), QStringLiteral("dispatch-files"));
    EXPECT_EQ(
        Names(json.value(QStringLiteral("receivers")).toArray()), QStringList { QStringLiteral("Spare") });
    EXPECT_TRUE(json.value(QStringLiteral("receivers"))
                    .toArray()[0]
                    .toObject()
                    .value(QStringLiteral("number"))
                    .isNull());
    // The group's only range is over; a takeover group is listed outside its ranges only without any.
    EXPECT_TRUE(json.value(QStringLiteral("groups")).toArray().isEmpty());

    // A handed-on duty shows at once: the holder is read from the dispatch file.
    Write("30.tim", "[Settings]\r\nName=Service\r\nTakeover=1\r\nCurrentTargetID=17\r\n");
    const QJsonObject handed = OncallJson(QStringLiteral("2024-02-01 08:30:00"));
    const QJsonArray groups = handed.value(QStringLiteral("groups")).toArray();
    ASSERT_EQ(groups.size(), 1);
    EXPECT_EQ(groups[0]
                  .toObject()
                  .value(QStringLiteral("holder"))
                  .toObject()
                  .value(QStringLiteral("name"))
                  .toString(),
        QStringLiteral("Duty desk"));
    EXPECT_TRUE(groups[0].toObject().value(QStringLiteral("members")).toArray().isEmpty());
}

// Every form people write a time in, read in the site's zone; the clock-change nights of Berlin.
TEST_F(OncallTest, ReadsTheTimesPeopleWriteInTheSitesZone)
{
    m_env.insert(QStringLiteral("TZ"), QStringLiteral("Europe/Berlin"));
    struct CCase
    {
        const char* at;
        int exit;
        const char* expected; // the JSON "at", or a part of the error
    };
    const CCase cases[] = {
        { "2027-03-28T03:30:00", 0, "2027-03-28T03:30:00+02:00" },
        { "2027-03-28 03:30", 0, "2027-03-28T03:30:00+02:00" },
        { "2027-03-28T01:30:00Z", 0, "2027-03-28T03:30:00+02:00" },
        { "2027-03-28T01:30+0000", 0, "2027-03-28T03:30:00+02:00" },
        { "2027-03-28T01:59:59", 0, "2027-03-28T01:59:59+01:00" },
        // The hour the clocks repeat: its first pass, or the pass the offset names.
        { "2027-10-31 02:30", 0, "2027-10-31T02:30:00+02:00" },
        { "2027-10-31T02:30:00+01:00", 0, "2027-10-31T02:30:00+01:00" },
        { "2026-12-24 18:00", 0, "2026-12-24T18:00:00+01:00" },
        { "24.12.2026 18:00", 0, "2026-12-24T18:00:00+01:00" },
        { "2027-03-28 02:30:00", 2, "does not exist in Europe/Berlin: the clocks go from 02:00 to 03:00" },
        { "2027-03-28T02:00", 2, "does not exist in Europe/Berlin" },
        { "2027-02-30 10:00", 2, "cannot read the time" },
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.at);
        QString out;
        QString error;
        EXPECT_EQ(Oncall({ QStringLiteral("--json"), QStringLiteral("--at"), QString::fromUtf8(c.at) }, &out,
                      &error),
            c.exit);
        if (c.exit == 0) {
            const QJsonObject json = QJsonDocument::fromJson(out.toUtf8()).object();
            EXPECT_EQ(json.value(QStringLiteral("at")).toString(), QString::fromUtf8(c.expected));
        } else {
            EXPECT_TRUE(error.contains(QString::fromUtf8(c.expected))) << error.toStdString();
        }
    }
}

// A check from monitoring must tell a broken installation from a gap in cover: no alarm server
// and no data is UNKNOWN (3); files that cannot be read are named, and the answer stands (0).
TEST_F(OncallTest, SaysWhenItsDataCannotBeRead)
{
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("501.tim")));
    // A receiver without any range is on duty at every moment, as the socket answers.
    Write("20.tim", "[Settings]\r\nName=Always\r\n");
    Write("77.tim", QByteArray("\x01\x02\x10 not a plan", 13));
    QString out;
    QString error;
    EXPECT_EQ(Oncall({ QStringLiteral("--json"), QStringLiteral("--at"), QStringLiteral("2024-01-31 08:45") },
                  &out, &error),
        0);
    const QJsonObject json = QJsonDocument::fromJson(out.toUtf8()).object();
    QStringList files;
    for (const QJsonValue& file : json.value(QStringLiteral("unreadable")).toArray())
        files << file.toObject().value(QStringLiteral("file")).toString();
    EXPECT_EQ(files, (QStringList { QStringLiteral("501.tim"), QStringLiteral("77.tim") }));
    EXPECT_TRUE(error.contains(QStringLiteral("501.tim: not a plain file"))) << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("77.tim: not text"))) << error.toStdString();
    EXPECT_EQ(Names(json.value(QStringLiteral("receivers")).toArray()),
        (QStringList {
            QStringLiteral("Duty desk"), QStringLiteral("Nacht \u00FC"), QStringLiteral("Always") }));

    // A data folder that is missing (made afresh, without its configuration) answers nothing.
    QTemporaryDir empty;
    m_env.insert(QStringLiteral("KELVARIS_DATA"), empty.filePath(QStringLiteral("missing")));
    EXPECT_EQ(Oncall({ QStringLiteral("--json") }, &out), 3);
    EXPECT_TRUE(out.isEmpty()) << out.toStdString();
}

// The coverage check against the simulator's groups, in Berlin: a gap planted across the night the
// clocks go back (its two real hours), a takeover group without a holder, a gap closed by a later
// edit, and every exit code of a monitoring check.
TEST_F(OncallTest, CoverageFindsThePlantedGapsAsAMonitoringCheck)
{
    m_env.insert(QStringLiteral("TZ"), QStringLiteral("Europe/Berlin"));
    const auto coverage = [this](const QStringList& arguments, QString* out) {
        return Ctl(QStringLiteral("coverage"), arguments, out);
    };
    const QStringList night { QStringLiteral("--from"), QStringLiteral("2027-10-30T12:00"),
        QStringLiteral("--days"), QStringLiteral("2") };
    QString out;
    // No alarm server: the members are not known.
    EXPECT_EQ(coverage(night, &out), 3);
    EXPECT_TRUE(out.startsWith(QStringLiteral("KELVARIS COVERAGE UNKNOWN - "))) << out.toStdString();

    StartSimulator();
    // Duty desk until 02:00 summer time and again from 03:00 winter time; Nacht never.
    Write("17.tim",
        "[Settings]\r\nName=Duty desk\r\n20271030=00:00-24:00\r\n20271031=00:00-02:00;03:00-24:00\r\n"
        "20271101=00:00-24:00\r\n");
    // The takeover group's holder covers it.
    EXPECT_EQ(coverage(night, &out), 0);
    EXPECT_TRUE(out.startsWith(QStringLiteral("KELVARIS COVERAGE OK - no gap in 1 group(s)")))
        << out.toStdString();

    // Without a holder the members' own plans count: the gap is both passes of the repeated hour.
    Write("30.tim", "[Settings]\r\nName=Service\r\nTakeover=1\r\n");
    EXPECT_EQ(coverage(night, &out), 2);
    EXPECT_TRUE(out.startsWith(QStringLiteral("KELVARIS COVERAGE CRITICAL - 1 gap(s)"))) << out.toStdString();
    EXPECT_TRUE(out.contains(
        QStringLiteral("\ngroup\tService\t30\t2027-10-31T02:00:00+02:00\t2027-10-31T03:00:00+01:00\n")))
        << out.toStdString();
    EXPECT_EQ(coverage(night + QStringList { QStringLiteral("--critical"), QStringLiteral("6") }, &out), 1);
    EXPECT_TRUE(out.startsWith(QStringLiteral("KELVARIS COVERAGE WARNING"))) << out.toStdString();
    ASSERT_EQ(coverage(night + QStringList { QStringLiteral("--json") }, &out), 2);
    const QJsonObject json = QJsonDocument::fromJson(out.toUtf8()).object();
    EXPECT_EQ(json.value(QStringLiteral("status")).toString(), QStringLiteral("CRITICAL"));
    EXPECT_EQ(json.value(QStringLiteral("at")).toString(), QStringLiteral("2027-10-30T12:00:00+02:00"));
    EXPECT_EQ(json.value(QStringLiteral("days")).toInt(), 2);
    const QJsonObject group = json.value(QStringLiteral("groups")).toArray().at(0).toObject();
    EXPECT_EQ(group.value(QStringLiteral("members")).toArray(),
        QJsonArray::fromStringList({ QStringLiteral("Duty desk"), QStringLiteral("Nacht \u00FC") }));
    EXPECT_TRUE(group.value(QStringLiteral("holder")).isNull());
    EXPECT_EQ(group.value(QStringLiteral("gaps")).toArray(),
        (QJsonArray { QJsonObject { { QStringLiteral("start"), QStringLiteral("2027-10-31T02:00:00+02:00") },
            { QStringLiteral("end"), QStringLiteral("2027-10-31T03:00:00+01:00") } } }));

    // Two members wanted: a takeover group still needs one; a plain group is short of one all the
    // time (Nacht is never on duty), one gap from now on to the same time two calendar days later,
    // 49 hours across the change.
    const QStringList two = night + QStringList { QStringLiteral("--min-members"), QStringLiteral("2") };
    EXPECT_EQ(coverage(two, &out), 2);
    EXPECT_TRUE(out.contains(
        QStringLiteral("\ngroup\tService\t30\t2027-10-31T02:00:00+02:00\t2027-10-31T03:00:00+01:00\n")))
        << out.toStdString();
    Write("30.tim", "[Settings]\r\nName=Service\r\nTakeover=0\r\n");
    EXPECT_EQ(coverage(two, &out), 2);
    EXPECT_TRUE(out.contains(
        QStringLiteral("\ngroup\tService\t30\t2027-10-30T12:00:00+02:00\t2027-11-01T12:00:00+01:00\n")))
        << out.toStdString();
    // Left out of the guard by its own setting.
    Write("30.tim", "[Settings]\r\nName=Service\r\nTakeover=0\r\nCoverageRequired=0\r\n");
    EXPECT_EQ(coverage(two, &out), 0) << out.toStdString();
    Write("30.tim", "[Settings]\r\nName=Service\r\nTakeover=1\r\n");

    // A later edit closes the gap.
    Write("17.tim",
        "[Settings]\r\nName=Duty desk\r\n20271030=00:00-24:00\r\n20271031=00:00-24:00\r\n"
        "20271101=00:00-24:00\r\n");
    EXPECT_EQ(coverage(night, &out), 0);

    // Bad usage is UNKNOWN, not CRITICAL, with the plugin line first; an unknown group too.
    for (const QStringList& bad : { QStringList { QStringLiteral("--days"), QStringLiteral("0") },
             QStringList { QStringLiteral("--no-such-option") }, QStringList { QStringLiteral("extra") },
             QStringList { QStringLiteral("--from"), QStringLiteral("never") },
             QStringList { QStringLiteral("--group"), QStringLiteral("17") } }) {
        EXPECT_EQ(coverage(bad, &out), 3) << bad.join(u' ').toStdString();
        EXPECT_TRUE(out.startsWith(QStringLiteral("KELVARIS COVERAGE UNKNOWN - "))) << out.toStdString();
    }
}

TEST_F(OncallTest, BadUsage)
{
    QString out;
    EXPECT_EQ(Oncall({ QStringLiteral("--at"), QStringLiteral("yesterday-ish") }, &out), 2);
    EXPECT_EQ(Oncall({ QStringLiteral("extra") }, &out), 2);
    EXPECT_EQ(Oncall({ QStringLiteral("--config"), m_dir.filePath(QStringLiteral("none.cfg")) }, &out), 2);
    ASSERT_EQ(Oncall({ QStringLiteral("--help") }, &out), 0);
    EXPECT_TRUE(out.contains(QStringLiteral("--json")) && out.contains(QStringLiteral("DT#NOW")));
}

// notices lists the reminders before each duty and the daily summary in the order they are due,
// by the settings as they stand; without an alarm server it is UNKNOWN.
TEST_F(OncallTest, NoticesListsTheRemindersAndSummariesToCome)
{
    Write("kelvaris.cfg",
        "[Settings]\r\nWorkDays=31\r\nTimeZone=Europe/Berlin\r\nNoticeLeadMinutes=30\r\n"
        "NoticeSummaryTargets=19\r\nNoticeSummaryTime=07:00\r\n");
    Write("30.tim", "[Settings]\r\nName=Service\r\nNoticeMembers=1\r\n20240131=12:00-13:00\r\n");
    QString out;
    const QStringList span { QStringLiteral("--from"), QStringLiteral("2024-01-31 00:00"),
        QStringLiteral("--json") };
    EXPECT_EQ(Ctl(QStringLiteral("notices"), span, &out), 3);
    StartSimulator();
    ASSERT_EQ(Ctl(QStringLiteral("notices"), span, &out), 0) << out.toStdString();
    QStringList listed;
    for (const QJsonValue& value : QJsonDocument::fromJson(out.toUtf8()).array()) {
        const QJsonObject notice = value.toObject();
        listed << notice.value(QStringLiteral("at")).toString().mid(11, 5) + u' '
                + notice.value(QStringLiteral("kind")).toString() + u' '
                + notice.value(QStringLiteral("id")).toString();
    }
    EXPECT_EQ(listed,
        QStringList({ QStringLiteral("07:00 summary 19"), QStringLiteral("07:30 reminder 17"),
            QStringLiteral("08:00 reminder 18"), QStringLiteral("11:30 reminder 17"),
            QStringLiteral("11:30 reminder 18") }))
        << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("Service: Duty desk, Nacht"))) << out.toStdString();
}
