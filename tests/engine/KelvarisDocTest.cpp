#include "engine/KelvarisDoc.h"

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <functional>
#include <future>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <variant>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMap>
#include <QTemporaryDir>

#include "engine/Dispatch.h"
#include "engine/Password.h"
#include "journal/AnswerJournal.h"
#include "journal/Journal.h"
#include "schedule/ConfigLocation.h"
#include "schedule/DateType.h"
#include "schedule/Profile.h"
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

CDateTime T(int hour, int minute = 0, int second = 0)
{
    return CDateTime::TimeOfDay(hour, minute, second);
}

CBarrage Barrier(const char* name, int dateType, CDateTime start, CDateTime end, int type, int priority)
{
    CBarrage barrier;
    barrier.m_name = QString::fromLatin1(name);
    barrier.m_dateType = dateType;
    barrier.m_date = CDateTime(2024, 3, 4, 0, 0, 0);
    barrier.m_startTime = start;
    barrier.m_endTime = end;
    barrier.m_barrierType = type;
    barrier.m_priority = priority;
    return barrier;
}

CShift Shift(const char* name, int dateType, CDateTime start, CDateTime end, int number)
{
    CShift shift(CDateTime(2024, 3, 4, 0, 0, 0));
    shift.m_name = QString::fromLatin1(name);
    shift.m_dateType = dateType;
    shift.m_startTime = start;
    shift.m_endTime = end;
    shift.m_shiftNumber = number;
    return shift;
}

QString SetValue(const char* name, const QString& value)
{
    return QStringLiteral("[setvalue(") + QString::fromLatin1(name) + QLatin1Char(',') + value
        + QStringLiteral(")]");
}

class CRecordingObserver : public CDocObserver
{
public:
    void OnUpdate(unsigned hint) override { hints.append(hint); }
    void OnSaveFailed(const QString& path, const QString& reason) override
    {
        saveFailures.append(path);
        saveReasons.append(reason);
    }
    void OnNotice(const QString& text) override { notices.append(text); }
    QList<unsigned> hints;
    QStringList saveFailures;
    QStringList saveReasons;
    QStringList notices;
};

// The last value of every topic/item, a text or a number.
class CRecordingPublisher : public CValuePublisher
{
public:
    using Value = std::variant<QString, qint64>;
    void PublishText(const QString& topic, const QString& item, const QString& value) override
    {
        values.insert(topic + QLatin1Char('/') + item, value);
    }
    void PublishNumber(const QString& topic, const QString& item, qint64 value) override
    {
        values.insert(topic + QLatin1Char('/') + item, value);
    }
    Value At(const char* key) const
    {
        return values.value(QString::fromLatin1(key), QStringLiteral("<unset>"));
    }
    QMap<QString, Value> values;
};

class CRecordingInbound : public CInboundServer
{
public:
    void Start() override { ++starts; }
    void Stop() override { ++stops; }
    QString Problem() const override { return problem; }
    int starts = 0;
    int stops = 0;
    QString problem;
};

class CFixedPrompt : public CPasswordPrompt
{
public:
    std::optional<QString> AskPassword() override { return answer; }
    void ShowWrongPassword() override { }
    std::optional<QString> answer;
};

// A server in front of the fake one whose send2 commands wait, once armed, until the test lets
// them go: a takeover request that is slow to come back.
class CSlowServer : public CServerCommandFactory
{
public:
    class CCommand : public CServerCommand
    {
    public:
        CCommand(CSlowServer& server, std::unique_ptr<CServerCommand> inner)
            : m_server(server)
            , m_inner(std::move(inner))
        { }
        bool ExecuteCommand(const QString& command, QString& result) override
        {
            if (m_server.armed && command.startsWith(QStringLiteral("[send2("))) {
                m_server.armed = false;
                m_server.inFlight.set_value();
                m_server.releasedInTime = m_server.release.get_future().wait_for(std::chrono::seconds(10))
                    == std::future_status::ready;
            }
            return m_inner->ExecuteCommand(command, result);
        }

    private:
        CSlowServer& m_server;
        std::unique_ptr<CServerCommand> m_inner;
    };

    explicit CSlowServer(CFakeServerCommandFactory& inner)
        : m_inner(inner)
    { }
    std::unique_ptr<CServerCommand> Create() override
    {
        auto inner = m_inner.Create();
        if (!inner)
            return nullptr;
        return std::make_unique<CCommand>(*this, std::move(inner));
    }

    bool armed = false;
    std::promise<void> inFlight;
    std::promise<void> release;
    bool releasedInTime = false;

private:
    CFakeServerCommandFactory& m_inner;
};

// Monday 4 March 2024 in a temporary data folder, with the receivers Anna (A1, on duty 08:00 to
// 16:00) and Bert (B2, from 16:00) in the takeover group Service North (G40), held by Anna.
class KelvarisDocTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_location.emplace(ConfigPath());
        g_now = CDateTime(2024, 3, 4, 10, 0, 5);
        SetCurrentTimeSource(&Now);

        m_server.SetReply(QStringLiteral("[GetValue(Setup.Targets)]"),
            QStringLiteral("Anna\tx\tx\tx\tx\r\nBert\tx\tx\tx\tx\r\nService North\tx\tx\tx\tx\r\n"));
        AddTarget(QStringLiteral("Anna"), QStringLiteral("1"), QStringLiteral("A1"));
        AddTarget(QStringLiteral("Bert"), QStringLiteral("2"), QStringLiteral("B2"));
        AddTarget(QStringLiteral("Service North"), QStringLiteral("-3"), QStringLiteral("G40"));
        m_server.SetReply(QStringLiteral("[GetGroupMembers(Service North)]"), QStringLiteral("Anna\tBert"));
        WriteFile("A1.tim", "[Settings]\r\nName=Anna\r\n20240304=08:00-16:00\r\n");
        WriteFile("B2.tim", "[Settings]\r\nName=Bert\r\n20240304=16:00-24:00\r\n");
        WriteFile("G40.tim", "[Settings]\r\nName=Service North\r\nTakeover=1\r\nCurrentTargetID=A1\r\n");
    }
    void TearDown() override { SetCurrentTimeSource(nullptr); }

    QString ConfigPath() const { return m_dir.filePath(QStringLiteral("kelvaris.cfg")); }
    void WriteFile(
        const char* name, const QByteArray& content, QIODevice::OpenMode mode = QIODevice::WriteOnly)
    {
        QFile file(m_dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(mode));
        file.write(content);
    }
    static QByteArray ReadFile(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // Moves the file's modification time ten seconds back: as if written a while ago.
    void AgeFile(const char* name)
    {
        QFile file(m_dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(
            file.setFileTime(QDateTime::currentDateTime().addSecs(-10), QFileDevice::FileModificationTime));
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
    void SaveSchedule(const QList<CShift>& shifts, const QList<CBarrage>& barriers)
    {
        CProfile profile(ConfigPath());
        CShiftArray shiftList;
        for (const CShift& shift : shifts)
            shiftList.append(shift);
        shiftList.SetModified();
        ASSERT_TRUE(shiftList.Save(profile));
        CBarrageArray barrierList;
        for (const CBarrage& barrier : barriers)
            barrierList.append(barrier);
        barrierList.SetModified();
        ASSERT_TRUE(barrierList.Save(profile));
    }
    // Initialises and activates the document, then forgets what was sent and told so far.
    void Start(CKelvarisDoc& doc)
    {
        ASSERT_TRUE(doc.Initialise());
        ASSERT_TRUE(doc.Activate());
        m_server.ClearCommands();
        m_observer.hints.clear();
    }
    QStringList Send2Commands() const { return m_server.Commands().filter(QStringLiteral("[send2(")); }

    QTemporaryDir m_dir;
    std::optional<CConfigLocationScope> m_location;
    CFakeServerCommandFactory m_server;
    CRightsCheck m_rights;
    CRecordingObserver m_observer;
    CRecordingPublisher m_publisher;
    CRecordingInbound m_inbound;
};

const QStringList kKind1Priority4
    = { QStringLiteral("[setshift(3)]"), SetValue("System.BarringActive", QStringLiteral("1")),
          SetValue("System.BarringLevel", QStringLiteral("4")), SetValue("System.BarringDelay", QString()) };

TEST_F(KelvarisDocTest, BarrierBecomingCurrentIsPushedAndRepeatedEachNewMinute)
{
    SaveSchedule({ Shift("Early", DATETYPE_MONDAY, T(8), T(16), 3) },
        { Barrier("Lock", DATETYPE_MONDAY, T(10), T(11), BARRIER_DELETE, 4) });
    CKelvarisDoc doc(m_server, m_rights, &m_observer, &m_publisher, &m_inbound);
    Start(doc);
    EXPECT_EQ(m_inbound.starts, 1);
    const int createdBefore = m_server.CreatedCount();
    const int reusedBefore = m_server.ReusedObjectCount();

    doc.Cycle();
    EXPECT_EQ(m_server.Commands(), kKind1Priority4);
    EXPECT_EQ(m_observer.hints, QList<unsigned>({ CDocObserver::HINT_STATE | CDocObserver::HINT_PLAN }));
    EXPECT_EQ(doc.CurrentBarrier().m_name, QStringLiteral("Lock"));
    EXPECT_EQ(doc.CurrentShift().m_name, QStringLiteral("Early"));

    // Same minute, nothing changed: nothing is sent and nothing told.
    m_server.ClearCommands();
    m_observer.hints.clear();
    g_now = CDateTime(2024, 3, 4, 10, 0, 59);
    doc.Cycle();
    EXPECT_TRUE(m_server.Commands().isEmpty());
    EXPECT_TRUE(m_observer.hints.isEmpty());

    // First cycle of the next minute: the same state again, then silence.
    g_now = CDateTime(2024, 3, 4, 10, 1, 0);
    doc.Cycle();
    EXPECT_EQ(m_server.Commands(), kKind1Priority4);
    EXPECT_EQ(m_observer.hints, QList<unsigned>({ CDocObserver::HINT_PLAN }));
    m_server.ClearCommands();
    g_now = CDateTime(2024, 3, 4, 10, 1, 1);
    doc.Cycle();
    EXPECT_TRUE(m_server.Commands().isEmpty());

    // Every command went through an object of its own.
    EXPECT_EQ(m_server.CreatedCount() - createdBefore, 8);
    EXPECT_EQ(m_server.ReusedObjectCount(), reusedBefore);

    // The last push is the last one the alarm server took: not one it missed, even in part.
    const qint64 taken = doc.LastPushMs();
    EXPECT_GT(taken, 0);
    for (const bool all : { true, false }) {
        if (all)
            m_server.SetAllCommandsFail();
        else
            m_server.SetCommandFails(SetValue("System.BarringLevel", QStringLiteral("4")));
        g_now = CDateTime(2024, 3, 4, 10, all ? 2 : 3, 0);
        doc.Cycle();
        EXPECT_EQ(doc.LastPushMs(), taken);
        m_server.SetAllCommandsFail(false);
        m_server.SetCommandFails(SetValue("System.BarringLevel", QStringLiteral("4")), false);
    }
}

TEST_F(KelvarisDocTest, PauseAndHoldingBarrierValues)
{
    // A pause: BarringActive 0, its level, no delay.
    SaveSchedule({},
        { Barrier("Pause", DATETYPE_MONDAY, T(10), T(11), BARRIER_PAUSE, 6),
            Barrier("Night", DATETYPE_MONDAY, T(22), T(23, 59, 59), BARRIER_SEND_AFTER, 2),
            Barrier("Early", DATETYPE_TUESDAY, T(0), T(6), BARRIER_SEND_AFTER, 2) });
    CKelvarisDoc doc(m_server, m_rights, &m_observer, &m_publisher, &m_inbound);
    Start(doc);
    doc.Cycle();
    EXPECT_EQ(m_server.Commands(),
        QStringList({ QStringLiteral("[setshift(0)]"), SetValue("System.BarringActive", QStringLiteral("0")),
            SetValue("System.BarringLevel", QStringLiteral("6")),
            SetValue("System.BarringDelay", QString()) }));

    // A holding barrier followed by another one the next morning: messages are held until 06:00.
    m_server.ClearCommands();
    g_now = CDateTime(2024, 3, 4, 22, 0, 10);
    doc.Cycle();
    const CDateTime until(2024, 3, 5, 6, 0, 0);
    EXPECT_EQ(m_server.Commands().filter(QStringLiteral("[set")),
        QStringList({ QStringLiteral("[setshift(0)]"), SetValue("System.BarringActive", QStringLiteral("1")),
            SetValue("System.BarringLevel", QStringLiteral("2")),
            SetValue("System.BarringDelay", QStringLiteral("05.03.2024 06:00:00")) }));
    EXPECT_EQ(doc.CurrentBarrier().m_delayUntil, until);

    // The alarm server parses the delay: one form whatever the locale the service runs under.
    const QLocale previous;
    for (const char* locale : { "C", "en_US", "de_DE", "fr_FR", "nl_NL", "es_ES" }) {
        SCOPED_TRACE(locale);
        QLocale::setDefault(QLocale(QString::fromLatin1(locale)));
        m_server.ClearCommands();
        CBarrage holding = doc.CurrentBarrier();
        doc.PushBarrier(holding, true, g_now);
        EXPECT_EQ(m_server.Commands().filter(QStringLiteral("System.BarringDelay")),
            QStringList { SetValue("System.BarringDelay", QStringLiteral("05.03.2024 06:00:00")) });
    }
    QLocale::setDefault(previous);
}

TEST_F(KelvarisDocTest, PublishedValuesOfShiftAndNone)
{
    SaveSchedule({ Shift("Early", DATETYPE_MONDAY, T(8), T(16), 3) },
        { Barrier("Lunch", DATETYPE_MONDAY, T(12), T(12, 30), BARRIER_DELETE, 4) });
    CKelvarisDoc doc(m_server, m_rights, &m_observer, &m_publisher, &m_inbound);
    ASSERT_TRUE(doc.Initialise());
    // Start values.
    EXPECT_EQ(m_publisher.values.size(), 12);
    EXPECT_EQ(m_publisher.At("Shift/Name"), CRecordingPublisher::Value(QString()));
    EXPECT_EQ(m_publisher.At("Shift/Remain"), CRecordingPublisher::Value(qint64(0)));
    EXPECT_EQ(m_publisher.At("Barring/Total"), CRecordingPublisher::Value(qint64(0)));
    EXPECT_EQ(doc.CurrentShift().m_name, QStringLiteral("first"));
    EXPECT_EQ(doc.CurrentBarrier().m_name, QStringLiteral("first"));

    g_now = CDateTime(2024, 3, 4, 10, 0, 0);
    doc.Cycle();
    using V = CRecordingPublisher::Value;
    EXPECT_EQ(m_publisher.At("Shift/Name"), V(QStringLiteral("Early")));
    EXPECT_EQ(m_publisher.At("Shift/From"), V(FormatDateTime(T(8), DTF_TIME)));
    EXPECT_EQ(m_publisher.At("Shift/To"), V(FormatDateTime(T(16), DTF_TIME)));
    EXPECT_EQ(m_publisher.At("Shift/Remain"), V(QStringLiteral("21600")));
    EXPECT_EQ(m_publisher.At("Shift/Remain2"), V(qint64(21600 - 1800)));
    EXPECT_EQ(m_publisher.At("Shift/Total"), V(QStringLiteral("28800")));
    EXPECT_EQ(m_publisher.At("Shift/Total2"), V(qint64(28800 - 1800)));
    EXPECT_EQ(m_publisher.At("Barring/Name"), V(QString()));
    EXPECT_EQ(m_publisher.At("Barring/Remain"), V(qint64(0)));

    g_now = CDateTime(2024, 3, 4, 12, 10, 0);
    doc.Cycle();
    EXPECT_EQ(m_publisher.At("Barring/Name"), V(QStringLiteral("Lunch")));
    EXPECT_EQ(m_publisher.At("Barring/Remain"), V(QStringLiteral("1200")));
    EXPECT_EQ(m_publisher.At("Barring/Total"), V(QStringLiteral("1800")));
}

TEST_F(KelvarisDocTest, DeactivationTellsTheServerNoShiftAndNoBarrier)
{
    SaveSchedule({ Shift("Early", DATETYPE_MONDAY, T(8), T(16), 3) },
        { Barrier("Lock", DATETYPE_MONDAY, T(10), T(11), BARRIER_DELETE, 4) });
    CKelvarisDoc doc(m_server, m_rights, &m_observer, &m_publisher, &m_inbound);
    Start(doc);
    doc.Cycle();
    m_server.ClearCommands();
    m_observer.hints.clear();

    EXPECT_TRUE(doc.Deactivate());
    EXPECT_EQ(m_server.Commands(),
        QStringList(
            { QStringLiteral("[setshift(0)]"), SetValue("System.BarringActive", QStringLiteral("0")) }));
    EXPECT_EQ(m_observer.hints, QList<unsigned>({ CDocObserver::HINT_DEACTIVATED }));
    EXPECT_EQ(m_inbound.stops, 1);
    EXPECT_FALSE(doc.IsActive());
    EXPECT_TRUE(doc.CurrentShift().m_name.isEmpty());
    EXPECT_TRUE(doc.CurrentBarrier().m_name.isEmpty());
    EXPECT_EQ(m_publisher.At("Shift/Name"), CRecordingPublisher::Value(QString()));
    EXPECT_EQ(m_publisher.At("Shift/Total2"), CRecordingPublisher::Value(qint64(0)));

    // Already inactive: nothing more.
    m_server.ClearCommands();
    EXPECT_FALSE(doc.Deactivate());
    doc.Close();
    EXPECT_TRUE(m_server.Commands().isEmpty());
}

TEST_F(KelvarisDocTest, CloseDeactivatesEvenWhenThePasswordIsRefused)
{
    CFixedPrompt prompt;
    prompt.answer = QStringLiteral("secret");
    auto password = std::make_unique<CKelvarisRights>();
    password->SetPassword(QStringLiteral("secret"));
    m_rights.SetRights(std::move(password));
    m_rights.SetPrompt(&prompt);

    CKelvarisDoc doc(m_server, m_rights, &m_observer, &m_publisher, &m_inbound);
    Start(doc);
    EXPECT_TRUE(doc.IsActive());
    doc.Cycle();
    m_server.ClearCommands();

    prompt.answer.reset();
    EXPECT_FALSE(doc.Deactivate());
    EXPECT_TRUE(doc.IsActive());
    EXPECT_TRUE(m_server.Commands().isEmpty());

    doc.Close();
    EXPECT_FALSE(doc.IsActive());
    EXPECT_EQ(m_server.Commands(),
        QStringList(
            { QStringLiteral("[setshift(0)]"), SetValue("System.BarringActive", QStringLiteral("0")) }));
    EXPECT_EQ(m_inbound.stops, 1);
    m_rights.SetPrompt(nullptr);
}

TEST_F(KelvarisDocTest, IdleCheckReloadsAHandEditedConfigurationAlsoWhileInactive)
{
    CKelvarisDoc doc(m_server, m_rights, &m_observer, &m_publisher, &m_inbound);
    ASSERT_TRUE(doc.Initialise());
    doc.IdleCheck();
    EXPECT_TRUE(m_server.Commands().filter(QStringLiteral("[set")).isEmpty());
    m_server.ClearCommands();

    // A barrier typed into the file by another program.
    WriteFile("kelvaris.cfg",
        "[Barrage1]\r\nBarrageName=Typed\r\nDateType=3\r\nBarrageDate=2024-03-04\r\n"
        "BarrageStartTime=1899-12-30 09:00:00\r\nBarrageEndTime=1899-12-30 11:00:00\r\n"
        "BarrageType=1\r\nBarragePriority=4\r\n",
        QIODevice::Append);
    ConfigLocation().SetFileTimeMemo(ConfigLocation().FileTimeMemo() - 1);
    // Modified just now, perhaps still being written: not taken yet, a second look is asked for.
    EXPECT_TRUE(doc.IdleCheck());
    EXPECT_TRUE(doc.m_barriers.isEmpty());
    EXPECT_TRUE(m_server.Commands().isEmpty());
    // The second look, once the file has been left alone: taken.
    AgeFile("kelvaris.cfg");
    EXPECT_FALSE(doc.IdleCheck(false));
    EXPECT_EQ(doc.m_barriers.size(), 1);
    EXPECT_EQ(m_server.Commands().filter(QStringLiteral("[set")),
        QStringList({ QStringLiteral("[setshift(0)]"), SetValue("System.BarringActive", QStringLiteral("1")),
            SetValue("System.BarringLevel", QStringLiteral("4")),
            SetValue("System.BarringDelay", QString()) }));
    EXPECT_FALSE(m_server.Commands().contains(QStringLiteral("[check(Kelvaris)]")));
    EXPECT_TRUE(m_observer.hints.contains(CDocObserver::HINT_PLAN));
    EXPECT_FALSE(doc.IsActive());

    // Nothing changed since: no push; while active the presence command goes out.
    m_server.ClearCommands();
    ASSERT_TRUE(doc.Activate());
    m_server.ClearCommands();
    doc.IdleCheck();
    EXPECT_EQ(m_server.Commands(), QStringList({ QStringLiteral("[check(Kelvaris)]") }));

    // A dispatch file edited by hand is reloaded and the state pushed again.
    m_server.ClearCommands();
    WriteFile("A1.tim", "[Settings]\r\nName=Anna\r\n20240304=09:00-16:00\r\n");
    {
        const std::lock_guard<std::mutex> lock(doc.TargetsMutex());
        doc.PageTargets().FindById(QStringLiteral("A1"))->m_fileTimeMemo -= 1;
    }
    EXPECT_TRUE(doc.IdleCheck());
    EXPECT_TRUE(m_server.Commands().filter(QStringLiteral("[setshift(")).isEmpty());
    m_server.ClearCommands();
    AgeFile("A1.tim");
    EXPECT_FALSE(doc.IdleCheck());
    EXPECT_EQ(m_server.Commands().filter(QStringLiteral("[setshift(")).size(), 1);
    EXPECT_TRUE(m_server.Commands().contains(QStringLiteral("[check(Kelvaris)]")));
    // The second look goes without the presence command.
    m_server.ClearCommands();
    EXPECT_FALSE(doc.IdleCheck(false));
    EXPECT_TRUE(m_server.Commands().isEmpty());
}

TEST_F(KelvarisDocTest, AHolderTheFileDidNotTakeDecidesAndIsStoredAtALaterIdleCheck)
{
    WriteFile("G40.tim", "[Settings]\r\nName=Service North\r\nTakeover=1\r\n");
    CKelvarisDoc doc(m_server, m_rights, &m_observer, &m_publisher, &m_inbound);
    Start(doc);
    const QString path = m_dir.filePath(QStringLiteral("G40.tim"));
    // The dispatch file cannot be written: a folder stands where it was.
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QDir().mkdir(path));

    const CWarningCapture warnings(lcConfig());
    // Anna, on duty, becomes the holder; the file does not take it, memory keeps it.
    EXPECT_EQ(doc.CheckDispatching(
                  QStringLiteral("A1"), QStringLiteral("G40"), QStringLiteral("2024-03-04 09:00:00")),
        kDispatchSend);
    EXPECT_TRUE(warnings.Text().contains(QStringLiteral("cannot save"))) << warnings.Text().toStdString();
    EXPECT_TRUE(warnings.Text().contains(path)) << warnings.Text().toStdString();
    // The holder in memory decides, not the file: Bert, on duty at 17:00, is not the holder.
    EXPECT_EQ(doc.CheckDispatching(
                  QStringLiteral("B2"), QStringLiteral("G40"), QStringLiteral("2024-03-04 17:00:00")),
        kDispatchNotDispatched);

    // Still not writable: kept. A new target list keeps it too.
    doc.IdleCheck();
    doc.LoadSettings();
    {
        const std::lock_guard<std::mutex> lock(doc.TargetsMutex());
        ASSERT_TRUE(doc.PageTargets().FindById(QStringLiteral("G40")));
        EXPECT_TRUE(doc.PageTargets().FindById(QStringLiteral("G40"))->HasUnsavedWrites());
    }

    // Writable again: the next idle check stores it, and memory and file agree.
    ASSERT_TRUE(QDir().rmdir(path));
    WriteFile("G40.tim", "[Settings]\r\nName=Service North\r\nTakeover=1\r\n");
    AgeFile("G40.tim");
    doc.IdleCheck();
    EXPECT_TRUE(ReadFile(path).contains("CurrentTargetID=A1\r\n")) << ReadFile(path).toStdString();
    {
        const std::lock_guard<std::mutex> lock(doc.TargetsMutex());
        const CPageTarget* group = doc.PageTargets().FindById(QStringLiteral("G40"));
        ASSERT_TRUE(group);
        EXPECT_FALSE(group->HasUnsavedWrites());
        EXPECT_EQ(group->ReadCurrentTargetId(), QStringLiteral("A1"));
    }
}

TEST_F(KelvarisDocTest, SettingsAndListsTheFileDidNotTakeAreReportedAndStoredLater)
{
    CKelvarisDoc doc(m_server, m_rights, &m_observer, &m_publisher, &m_inbound);
    Start(doc);
    const QString path = ConfigPath();
    // The configuration file cannot be written: a folder stands where it was.
    QFile::remove(path);
    ASSERT_TRUE(QDir().mkdir(path));

    const CWarningCapture warnings(lcConfig());
    const bool before = doc.m_autoActivate;
    doc.ToggleAutoActivate();
    EXPECT_NE(doc.m_autoActivate, before);
    EXPECT_EQ(doc.UnsavedSettings(), CKelvarisDoc::UNSAVED_AUTO_ACTIVATE);
    ASSERT_EQ(m_observer.saveFailures, QStringList({ path }));
    EXPECT_FALSE(m_observer.saveReasons[0].isEmpty());
    EXPECT_TRUE(warnings.Text().contains(path)) << warnings.Text().toStdString();
    // A list whose save failed stays modified.
    doc.m_barriers.append(Barrier("Kept", DATETYPE_MONDAY, T(9), T(11), BARRIER_DELETE, 4));
    doc.m_barriers.SetModified();
    doc.IdleCheck();
    EXPECT_TRUE(doc.m_barriers.IsModified());
    EXPECT_EQ(doc.UnsavedSettings(), CKelvarisDoc::UNSAVED_AUTO_ACTIVATE);
    // The retries warn on standard error only; the operator was told once, when the save failed.
    EXPECT_EQ(m_observer.saveFailures.size(), 1);

    // Writable again: the next idle check stores both; the file is then read back as it is.
    ASSERT_TRUE(QDir().rmdir(path));
    WriteFile("kelvaris.cfg", "[Settings]\r\n");
    AgeFile("kelvaris.cfg");
    doc.IdleCheck();
    EXPECT_EQ(doc.UnsavedSettings(), 0u);
    EXPECT_FALSE(doc.m_barriers.IsModified());
    const QByteArray stored = ReadFile(path);
    EXPECT_TRUE(stored.contains(before ? "AutoActivate=0" : "AutoActivate=1")) << stored.toStdString();
    EXPECT_TRUE(stored.contains("BarrageName=Kept")) << stored.toStdString();
    AgeFile("kelvaris.cfg");
    doc.IdleCheck(false);
    EXPECT_NE(doc.m_autoActivate, before);
    ASSERT_EQ(doc.m_barriers.size(), 1);
    EXPECT_EQ(doc.m_barriers[0].m_name, QStringLiteral("Kept"));
}

TEST_F(KelvarisDocTest, QueuedResponsesAreHandledOldestFirst)
{
    CKelvarisDoc doc(m_server, m_rights, &m_observer, &m_publisher, &m_inbound);
    Start(doc);
    doc.AppendResponse(QStringLiteral("<HandleResponse><ClientID>Time:G40</ClientID><TargetID>B2</TargetID>"
                                      "<Timeout>1</Timeout></HandleResponse>"));
    doc.AppendResponse(QStringLiteral("<not a bag"));
    doc.AppendResponse(QStringLiteral("<HandleResponse><ClientID>Time:G40</ClientID><TargetID>B2</TargetID>"
                                      "<Result>1</Result></HandleResponse>"));
    EXPECT_EQ(doc.PendingResponseCount(), 3);
    doc.Cycle();
    EXPECT_EQ(doc.PendingResponseCount(), 0);
    EXPECT_EQ(Send2Commands(),
        QStringList(
            { QStringLiteral("[send2(\"Anna\",\"[NODISPATCH:1][NOSIGN:1]Attention! - The duty for Service "
                             "North was not accepted by Bert\",\"\",0,\"Kelvaris\",\"\",)]"),
                QStringLiteral(
                    "[send2(\"Anna\",\"[NODISPATCH:1][NOSIGN:1]The takeover of duty for Service North was "
                    "confirmed by Bert\",\"\",0,\"Kelvaris\",\"\",)]") }));
    {
        const std::lock_guard<std::mutex> lock(doc.TargetsMutex());
        EXPECT_EQ(
            doc.PageTargets().FindById(QStringLiteral("G40"))->ReadCurrentTargetId(), QStringLiteral("B2"));
    }

    // A flood between two cycles is bounded; the cycle empties the queue.
    for (qsizetype i = 0; i < CKelvarisDoc::kMaxQueuedResponses; ++i)
        ASSERT_TRUE(doc.AppendResponse(QStringLiteral("<x/>")));
    EXPECT_FALSE(doc.AppendResponse(QStringLiteral("<x/>")));
    doc.Cycle();
    EXPECT_EQ(doc.PendingResponseCount(), 0);
    EXPECT_TRUE(doc.AppendResponse(QStringLiteral("<x/>")));
}

TEST_F(KelvarisDocTest, DispatchCheckCompletesWhileATakeoverRequestIsInFlight)
{
    CSlowServer slow(m_server);
    CKelvarisDoc doc(slow, m_rights, &m_observer, &m_publisher, &m_inbound);
    Start(doc);

    // 16:30: Anna is off duty, Bert on duty: the takeover check asks Bert, and the server takes its
    // time while the alarm server asks us for a dispatch decision.
    g_now = CDateTime(2024, 3, 4, 16, 30, 0);
    slow.armed = true;
    std::future<void> inFlight = slow.inFlight.get_future();
    int decision = -1;
    std::thread pipe([&] {
        if (inFlight.wait_for(std::chrono::seconds(10)) != std::future_status::ready)
            return;
        decision = doc.CheckDispatching(QStringLiteral("B2"), QStringLiteral("G40"), QString());
        slow.release.set_value();
    });
    doc.Cycle();
    pipe.join();

    EXPECT_TRUE(slow.releasedInTime);
    // Anna still holds the duty until Bert confirms.
    EXPECT_EQ(decision, kDispatchNotDispatched);
    EXPECT_EQ(Send2Commands().size(), 1);
    const std::lock_guard<std::mutex> lock(doc.TargetsMutex());
    EXPECT_EQ(doc.PageTargets().FindById(QStringLiteral("G40"))->m_pendingTakeover, QStringLiteral("B2"));
}

TEST_F(KelvarisDocTest, DecisionsRunSafelyAgainstCyclesReloadsAndListReplacements)
{
    // The socket thread decides and queues responses while this thread cycles through minutes,
    // reloads hand-edited dispatch files and replaces the whole target list. Run under the thread
    // sanitizer this must report nothing; everywhere it must neither crash nor deadlock.
    CKelvarisDoc doc(m_server, m_rights, &m_observer, &m_publisher, &m_inbound);
    Start(doc);
    std::atomic<bool> stop { false };
    std::atomic<int> decisions { 0 };
    std::thread pipe([&] {
        const QString times[]
            = { QStringLiteral("2024-03-04 10:00:00"), QStringLiteral("2024-03-04 17:00:00") };
        for (int i = 0; !stop.load(); ++i) {
            const int result = doc.CheckDispatching(
                i % 2 ? QStringLiteral("B2") : QStringLiteral("A1"), QStringLiteral("G40"), times[i % 2]);
            EXPECT_TRUE(result == kDispatchSend || result == kDispatchNotDispatched);
            doc.CheckDispatching(QStringLiteral("A1"), QString(), times[i % 2]);
            if (i % 50 == 0)
                doc.AppendResponse(QStringLiteral(
                    "<TimeCmd Name=\"HandleResponse\"><ClientID>Time:G40</ClientID><TargetID>B2</TargetID>"
                    "<Timeout>1</Timeout></TimeCmd>"));
            decisions.fetch_add(1);
        }
    });
    // The main loop and the decisions must overlap: wait for the socket thread's first decisions
    // (on a busy machine it can start after a short main loop has ended), then run on until it
    // has decided throughout.
    const auto waitFor = [&decisions](int count) {
        for (int spin = 0; decisions.load() < count && spin < 10'000; ++spin)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
    waitFor(1);
    for (int round = 0; round < 40; ++round) {
        g_now = CDateTime(2024, 3, 4, 15 + round % 3, round, 0);
        doc.Cycle();
        if (round % 5 == 0)
            doc.LoadSettings(); // a new target list swapped in
        if (round % 7 == 0) {
            WriteFile("A1.tim", "[Settings]\r\nName=Anna\r\n20240304=08:00-17:00\r\n");
            doc.IdleCheck();
        }
    }
    waitFor(decisions.load() + 10);
    stop.store(true);
    pipe.join();
    EXPECT_GT(decisions.load(), 10);
}

// Editors that make a fixed change, recording what they were asked to open.
class CScriptedEditors : public CEditorHost
{
public:
    bool EditGeneralSettings(CGeneralSettings& settings) override
    {
        opened << QStringLiteral("general");
        settings.m_workDays = 0x3F;
        settings.m_workTimeFrom = 450;
        settings.m_onClose = 1;
        return true;
    }
    void EditBarriers(CBarrageArray& barriers) override
    {
        opened << QStringLiteral("barriers");
        if (change) {
            barriers.append(Barrier("Night", DATETYPE_WORKINGDAY, T(22), T(23, 59, 59), 2, 4));
            barriers.SetModified();
        }
    }
    void EditShifts(CShiftArray&) override { opened << QStringLiteral("shifts"); }
    void EditHolidays(CHolidaysArray&) override { opened << QStringLiteral("holidays"); }
    void EditPlan(const QString& target) override { opened << QStringLiteral("plan:") + target; }
    bool EditTakeoverTexts(QString& request, QString&, QString&) override
    {
        opened << QStringLiteral("texts");
        request = QStringLiteral("Take over {{GROUP}}, please");
        return true;
    }

    bool change = true;
    QStringList opened;
};

// Under partial protection each command asks for the password exactly when the one group that
// is protected holds its right: operation (activate, deactivate, activate automatically, save the
// logfile), exit, or the set-ups (general set-up, barriers, shifts, holidays, the plan of action,
// the password itself).
TEST_F(KelvarisDocTest, EachCommandAsksUnderItsProtectionGroupAlone)
{
    CKelvarisDoc doc(m_server, m_rights, &m_observer, &m_publisher, &m_inbound);
    CScriptedEditors editors;
    doc.SetEditorHost(&editors);
    ASSERT_TRUE(doc.Initialise());
    class CCountingPrompt : public CPasswordPrompt
    {
    public:
        std::optional<QString> AskPassword() override
        {
            ++asked;
            return std::nullopt; // refused: nothing changes
        }
        void ShowWrongPassword() override { }
        int asked = 0;
    } prompt;
    // The state a command needs, set up without a password.
    const auto unprotected = [&](bool active) {
        m_rights.SetRights(nullptr);
        if (active)
            doc.Activate();
        else
            doc.Deactivate(false);
    };
    const struct
    {
        const char* name;
        quint32 group;
        bool active; // the state the command is offered in
        std::function<void()> run;
    } commands[] = {
        { "Activate", RIGHTS_OPERATION, false, [&] { doc.Activate(); } },
        { "Deactivate", RIGHTS_OPERATION, true, [&] { doc.Deactivate(); } },
        { "Activate automatically", RIGHTS_OPERATION, false, [&] { doc.ToggleAutoActivate(); } },
        { "Save logfile", RIGHTS_OPERATION, false, [&] { m_rights.Check(RIGHT_SAVE_LOGFILE); } },
        { "Exit", RIGHTS_EXIT, false, [&] { m_rights.Check(RIGHT_EXIT); } },
        { "General Setup", RIGHTS_SETUPS, false, [&] { doc.GeneralSetup(); } },
        { "Barriers/Pauses", RIGHTS_SETUPS, false, [&] { doc.EditBarriers(); } },
        { "Shifts", RIGHTS_SETUPS, false, [&] { doc.EditShifts(); } },
        { "Holidays", RIGHTS_SETUPS, false, [&] { doc.EditHolidays(); } },
        { "Plan of action", RIGHTS_SETUPS, false, [&] { doc.PlanOfAction(); } },
        { "Password", RIGHTS_SETUPS, false, [&] { m_rights.Check(RIGHT_PASSWORD); } },
    };
    for (const quint32 group : { RIGHTS_OPERATION, RIGHTS_EXIT, RIGHTS_SETUPS }) {
        for (const auto& command : commands) {
            unprotected(command.active);
            auto rights = std::make_unique<CKelvarisRights>();
            rights->SetPassword(QStringLiteral("secret"));
            rights->SetFlags(group);
            m_rights.SetRights(std::move(rights));
            m_rights.SetPrompt(&prompt);
            prompt.asked = 0;
            editors.opened.clear();
            command.run();
            const bool protectedHere = command.group == group;
            EXPECT_EQ(prompt.asked, protectedHere ? 1 : 0)
                << command.name << " under group " << std::hex << group;
            if (protectedHere) {
                EXPECT_TRUE(editors.opened.isEmpty()) << command.name;
            }
        }
    }
    m_rights.SetRights(nullptr);
    m_rights.SetPrompt(nullptr);
}

TEST_F(KelvarisDocTest, SetupCommandsCheckRightsAndSaveWhatChanged)
{
    CKelvarisDoc doc(m_server, m_rights, &m_observer, &m_publisher, &m_inbound);
    CScriptedEditors editors;
    doc.SetEditorHost(&editors);
    ASSERT_TRUE(doc.Initialise());
    CProfile profile(ConfigPath());

    // A protected command asks; a refused password leaves everything as it was.
    CFixedPrompt refuse;
    refuse.answer = QStringLiteral("wrong");
    auto rights = std::make_unique<CKelvarisRights>();
    rights->SetPassword(QStringLiteral("secret"));
    m_rights.SetRights(std::move(rights));
    m_rights.SetPrompt(&refuse);
    doc.EditBarriers();
    doc.ToggleAutoActivate();
    EXPECT_TRUE(editors.opened.isEmpty());
    EXPECT_EQ(
        profile.ReadString(QStringLiteral("Barrage1"), QStringLiteral("BarrageName"), QString()), QString());
    m_rights.SetRights(nullptr);

    // A changed list is saved when its editor closes, as the program's own write.
    doc.EditBarriers();
    EXPECT_EQ(profile.ReadString(QStringLiteral("Barrage1"), QStringLiteral("BarrageName"), QString()),
        QStringLiteral("Night"));
    EXPECT_FALSE(doc.m_barriers.IsModified());
    EXPECT_FALSE(ConfigLocation().CheckConfigChanged());

    doc.ToggleAutoActivate();
    EXPECT_EQ(profile.ReadInt(QStringLiteral("Settings"), QStringLiteral("AutoActivate"), -1), 1);
    doc.GeneralSetup();
    EXPECT_EQ(profile.ReadInt(QStringLiteral("Settings"), QStringLiteral("WorkDays"), -1), 0x3F);
    EXPECT_EQ(profile.ReadInt(QStringLiteral("Settings"), QStringLiteral("WorkTimeFrom"), -1), 450);
    EXPECT_EQ(profile.ReadInt(QStringLiteral("Settings"), QStringLiteral("OnClose"), -1), 1);
    EXPECT_EQ(doc.m_workDays, 0x3F);
    doc.TakeoverMessages();
    EXPECT_EQ(profile.ReadString(QStringLiteral("Settings"), QStringLiteral("TakeoverRequest"), QString()),
        QStringLiteral("Take over {{GROUP}}, please"));
    EXPECT_FALSE(ConfigLocation().CheckConfigChanged());

    // The plan of action fetches the targets again and refreshes the plan afterwards.
    m_server.ClearCommands();
    m_observer.hints.clear();
    doc.PlanOfAction();
    EXPECT_TRUE(m_server.Commands().contains(QStringLiteral("[GetValue(Setup.Targets)]")));
    EXPECT_EQ(editors.opened.last(), QStringLiteral("plan:"));
    EXPECT_TRUE(m_observer.hints.contains(CDocObserver::HINT_PLAN));

    // Opening a file of one section shows that target's plan.
    WriteFile("Anna.tim", "[Anna]\r\nx=1\r\n");
    EXPECT_TRUE(doc.Open(m_dir.filePath(QStringLiteral("Anna.tim"))));
    EXPECT_EQ(editors.opened.last(), QStringLiteral("plan:Anna"));
}

} // namespace

namespace {
const QString kTargetList = QStringLiteral("[GetValue(Setup.Targets)]");
} // namespace

TEST_F(KelvarisDocTest, TargetListThatDidNotComeIsAskedForAtEveryPresenceCheck)
{
    const CWarningCapture warnings(lcEngine());
    CKelvarisDoc doc(m_server, m_rights, &m_observer, &m_publisher, &m_inbound);
    // The alarm server is not up yet when Kelvaris starts.
    m_server.SetAllCommandsFail();
    Start(doc);
    EXPECT_FALSE(doc.TargetListKnown());
    EXPECT_FALSE(doc.ServerReached());
    // Unknown targets: every check answers as the empty list does (the message goes out), Bert's
    // evening duty notwithstanding.
    EXPECT_EQ(doc.CheckDispatching(QStringLiteral("B2"), QString(), QString()), kDispatchSend);

    // Still away: the presence command fails, and the list is not asked for in vain.
    doc.IdleCheck();
    EXPECT_EQ(m_server.Commands(), QStringList({ QStringLiteral("[check(Kelvaris)]") }));

    // Back: the list is fetched at the presence check and the state pushed right after.
    m_server.SetAllCommandsFail(false);
    m_server.ClearCommands();
    doc.IdleCheck();
    const QStringList commands = m_server.Commands();
    ASSERT_GE(commands.size(), 3);
    EXPECT_EQ(commands.at(0), QStringLiteral("[check(Kelvaris)]"));
    EXPECT_EQ(commands.at(1), kTargetList);
    EXPECT_LT(commands.indexOf(kTargetList), commands.indexOf(QStringLiteral("[setshift(0)]")));
    EXPECT_TRUE(doc.TargetListKnown());
    EXPECT_TRUE(doc.ServerReached());
    EXPECT_TRUE(m_observer.hints.contains(CDocObserver::HINT_PLAN));
    EXPECT_EQ(doc.CheckDispatching(QStringLiteral("B2"), QString(), QString()), kDispatchNotDispatched);

    // Known now: the next presence checks do not ask again.
    m_server.ClearCommands();
    doc.IdleCheck();
    EXPECT_EQ(m_server.Commands(), QStringList({ QStringLiteral("[check(Kelvaris)]") }));

    // One warning per outage and one when it ended; one for the list that could not be fetched.
    EXPECT_EQ(warnings.Count("The alarm server is not reachable"), 1) << warnings.Text().toStdString();
    EXPECT_EQ(warnings.Count("The alarm server is reachable again after "), 1);
    EXPECT_EQ(warnings.Count("The target list could not be fetched from the alarm server (no answer)"), 1);
}

TEST_F(KelvarisDocTest, TargetListOutagesKeepWhatTheServerLastSaid)
{
    CKelvarisDoc doc(m_server, m_rights, &m_observer, &m_publisher, &m_inbound);
    Start(doc);
    ASSERT_TRUE(doc.TargetListKnown());

    // A reload while the server is away keeps the targets the checks are answered from, and the
    // list is asked for again once the server answers.
    m_server.SetCommandFails(kTargetList);
    doc.LoadSettings();
    EXPECT_FALSE(doc.TargetListKnown());
    EXPECT_EQ(doc.PageTargets().size(), 3);
    EXPECT_EQ(doc.CheckDispatching(QStringLiteral("B2"), QString(), QString()), kDispatchNotDispatched);
    m_server.SetCommandFails(kTargetList, false);
    m_server.ClearCommands();
    doc.IdleCheck();
    EXPECT_EQ(m_server.Commands().count(kTargetList), 1);
    EXPECT_TRUE(doc.TargetListKnown());

    // A target whose details call failed leaves the list incomplete: asked for again.
    m_server.SetCommandFails(QStringLiteral("[GetTarget3(Bert)]"));
    doc.LoadSettings();
    EXPECT_FALSE(doc.TargetListKnown());
    EXPECT_EQ(doc.PageTargets().size(), 3); // the whole list stays
    m_server.SetCommandFails(QStringLiteral("[GetTarget3(Bert)]"), false);
    doc.IdleCheck();
    EXPECT_TRUE(doc.TargetListKnown());

    // A server that answers with no targets has none: that list is known, and not asked again.
    m_server.SetReply(kTargetList, QString());
    doc.LoadSettings();
    EXPECT_TRUE(doc.TargetListKnown());
    EXPECT_TRUE(doc.PageTargets().isEmpty());
    m_server.ClearCommands();
    doc.IdleCheck();
    EXPECT_FALSE(m_server.Commands().contains(kTargetList));

    // No command object at all counts as an unreachable server.
    m_server.SetCreateFails();
    doc.LoadSettings();
    EXPECT_FALSE(doc.TargetListKnown());
    EXPECT_FALSE(doc.ServerReached());
}

// An alarm server back from an outage may be another one, or the same with other targets: its
// list is fetched again at once, and changes are named.
TEST_F(KelvarisDocTest, TargetListIsFetchedAgainWhenTheServerIsBack)
{
    const CWarningCapture warnings(lcEngine());
    CKelvarisDoc doc(m_server, m_rights, &m_observer, &m_publisher, &m_inbound);
    Start(doc);
    // The outage counts from the last call that went through, not from the first that failed.
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    m_server.SetAllCommandsFail();
    doc.IdleCheck();
    EXPECT_FALSE(doc.ServerReached());

    // Back without Bert and with Carla, off duty by her plan.
    m_server.SetAllCommandsFail(false);
    m_server.SetReply(kTargetList, QStringLiteral("Anna\tx\tx\tx\tx\r\nCarla\tx\tx\tx\tx\r\n"));
    AddTarget(QStringLiteral("Carla"), QStringLiteral("4"), QStringLiteral("C4"));
    WriteFile("C4.tim", "[Settings]\r\nName=Carla\r\n20240304=20:00-22:00\r\n");
    m_server.ClearCommands();
    doc.IdleCheck();
    EXPECT_EQ(m_server.Commands().count(kTargetList), 1);
    EXPECT_EQ(doc.CheckDispatching(QStringLiteral("C4"), QString(), QString()), kDispatchNotDispatched);
    EXPECT_EQ(warnings.Count("The alarm server's target list changed: added C4; removed B2, G40"), 1)
        << warnings.Text().toStdString();
    EXPECT_EQ(warnings.Count("The alarm server is reachable again after 1 s"), 1)
        << warnings.Text().toStdString();

    // Not again while the server stays reachable, until the list is ten minutes old.
    m_server.ClearCommands();
    doc.IdleCheck();
    EXPECT_EQ(m_server.Commands().count(kTargetList), 0);
}

TEST_F(KelvarisDocTest, PlanOfActionIsPublishedWhileActive)
{
    CKelvarisDoc doc(m_server, m_rights, &m_observer, &m_publisher, &m_inbound);
    ASSERT_TRUE(doc.Initialise());
    doc.PublishPlanOfAction();
    EXPECT_EQ(m_publisher.At("Dispatching/Current"), CRecordingPublisher::Value(QString()));
    ASSERT_TRUE(doc.Activate());
    doc.PublishPlanOfAction();
    // Anna by her plan; the takeover group with its holder.
    EXPECT_EQ(m_publisher.At("Dispatching/Current"),
        CRecordingPublisher::Value(QStringLiteral("Anna;Service North/Anna")));
    ASSERT_TRUE(doc.Deactivate());
    doc.PublishPlanOfAction();
    EXPECT_EQ(m_publisher.At("Dispatching/Current"), CRecordingPublisher::Value(QString()));
}

// A socket that cannot be served leaves the engine running (the window shows why), and the
// alarm server's unanswered checks are a warning.
TEST_F(KelvarisDocTest, ActivationWithoutItsSocketIsAWarning)
{
    CKelvarisDoc doc(m_server, m_rights, &m_observer, &m_publisher, &m_inbound);
    ASSERT_TRUE(doc.Initialise());
    m_inbound.problem = QStringLiteral("cannot serve the socket @Kelvaris: Address already in use");
    const CWarningCapture warnings(lcPipe());
    EXPECT_TRUE(doc.Activate());
    EXPECT_TRUE(doc.IsActive());
    EXPECT_EQ(warnings.Lines(), QStringList { m_inbound.problem });
}

// A configuration or dispatch file that cannot be taken never changes what the alarm server is told:
// the plan read before stays, the file is named in a warning, and the file is taken once it is
// readable again.
TEST_F(KelvarisDocTest, FilesThatCannotBeTakenKeepThePlanInForce)
{
    const QByteArray barrierConfig
        = "[Barrage1]\r\nBarrageName=Night\r\nDateType=3\r\nBarrageDate=2024-03-04\r\n"
          "BarrageStartTime=1899-12-30 09:00:00\r\nBarrageEndTime=1899-12-30 11:00:00\r\n"
          "BarrageType=1\r\nBarragePriority=4\r\n";
    // What an editor's "Unicode" save writes: UTF-16 little endian with a byte order mark.
    const auto toUtf16 = [](const QString& p) {
        QFile f(p);
        f.open(QIODevice::ReadOnly);
        const QString text = QString::fromUtf8(f.readAll());
        f.close();
        QByteArray utf16("\xFF\xFE");
        for (const QChar c : text)
            utf16 += char(c.unicode() & 0xFF), utf16 += char(c.unicode() >> 8);
        f.open(QIODevice::WriteOnly);
        f.write(utf16);
    };
    QByteArray garbage(4096, '\0');
    for (int i = 0; i < garbage.size(); ++i)
        garbage[i] = char((i * 7919) % 251);
    const bool root = ::geteuid() == 0;

    struct CCase
    {
        const char* what;
        std::function<void(const QString& path)> fault;
        const char* reason; // in the warning; null: the file is taken
    };
    const QList<CCase> cases = {
        { "random bytes",
            [&](const QString& p) {
                QFile f(p);
                f.open(QIODevice::WriteOnly);
                f.write(garbage);
            },
            "not text" },
        { "a folder in its place",
            [](const QString& p) {
                QFile::remove(p);
                QDir().mkdir(p);
            },
            "not a plain file" },
        { "gone", [](const QString& p) { QFile::remove(p); }, "the file is gone" },
        { "over the size limit", [](const QString& p) { QFile(p).resize(CProfile::kMaxFileBytes + 1); },
            "larger than 64 MB" },
        { "mode 000",
            [root](const QString& p) {
                QFile(p).setPermissions({});
                if (root) // root reads it anyway: the fault is then a file of another kind
                    QFile::remove(p), QDir().mkdir(p);
            },
            "" },
        { "UTF-16 with a byte order mark", toUtf16, nullptr },
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(ConfigPath());
        QDir(ConfigPath()).removeRecursively();
        WriteFile("kelvaris.cfg", barrierConfig);
        CKelvarisDoc doc(m_server, m_rights, &m_observer, &m_publisher, &m_inbound);
        Start(doc);
        doc.Cycle();
        ASSERT_TRUE(m_server.Commands().contains(SetValue("System.BarringActive", QStringLiteral("1"))));

        for (const QString& path : { ConfigPath(), m_dir.filePath(QStringLiteral("A1.tim")) }) {
            c.fault(path);
            // Changed a while ago, so not taken for a file still being written.
            const timespec times[2] = { { 0, UTIME_OMIT }, { ::time(nullptr) - 10, 0 } };
            ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0);
        }
        ConfigLocation().SetFileTimeMemo(ConfigLocation().FileTimeMemo() - 1);
        m_server.ClearCommands();
        const CWarningCapture warnings(lcConfig());
        doc.IdleCheck();
        doc.Cycle();
        EXPECT_FALSE(m_server.Commands().contains(SetValue("System.BarringActive", QStringLiteral("0"))));
        EXPECT_EQ(doc.m_barriers.size(), 1);
        EXPECT_EQ(CheckDispatching(doc.PageTargets(), QStringLiteral("A1"), QString(),
                      QStringLiteral("2024-03-04 17:00:00")),
            kDispatchNotDispatched);
        if (!c.reason) {
            EXPECT_TRUE(doc.FileFaults().isEmpty()) << doc.FileFaults().join(u'\n').toStdString();
            continue;
        }
        EXPECT_EQ(doc.FileFaults().size(), 2) << doc.FileFaults().join(u'\n').toStdString();
        EXPECT_TRUE(warnings.Text().contains(ConfigPath())) << warnings.Text().toStdString();
        EXPECT_TRUE(warnings.Text().contains(QLatin1String(c.reason))) << warnings.Text().toStdString();
        // Looked at again at every check, warned again only after ten minutes.
        const qsizetype warned = warnings.Lines().size();
        doc.IdleCheck();
        EXPECT_EQ(warnings.Lines().size(), warned);

        // Repaired: taken, and said so.
        for (const QString& path : { ConfigPath(), m_dir.filePath(QStringLiteral("A1.tim")) }) {
            QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
            QFile::remove(path);
            QDir(path).removeRecursively();
        }
        WriteFile("kelvaris.cfg", "[Settings]\r\nAutoActivate=1\r\n");
        WriteFile("A1.tim", "[Settings]\r\nName=Anna\r\n20240304=17:00-18:00\r\n");
        AgeFile("kelvaris.cfg");
        AgeFile("A1.tim");
        doc.IdleCheck();
        EXPECT_TRUE(doc.m_barriers.isEmpty());
        EXPECT_TRUE(doc.FileFaults().isEmpty()) << doc.FileFaults().join(u'\n').toStdString();
        EXPECT_TRUE(warnings.Text().contains(QLatin1String("readable again")))
            << warnings.Text().toStdString();
        WriteFile("A1.tim", "[Settings]\r\nName=Anna\r\n20240304=08:00-16:00\r\n");
    }
}

// The data folder moved away for longer than the target list's refresh: the plans in force stay
// (Bert is off duty now), the fault is warned once and lasts until the folder is back, which is
// said.
TEST_F(KelvarisDocTest, AFolderMovedAwayIsAFaultUntilItIsBack)
{
    CKelvarisDoc doc(m_server, m_rights, &m_observer, &m_publisher, &m_inbound);
    Start(doc);
    doc.SetTargetRefetchInterval(std::chrono::milliseconds(0));
    const QString folder = m_dir.path();
    const QString away = folder + QStringLiteral(".away");
    ASSERT_TRUE(QDir().rename(folder, away));
    const CWarningCapture warnings(lcConfig());
    for (int look = 0; look < 3; ++look) {
        doc.IdleCheck();
        doc.Cycle();
        EXPECT_EQ(
            doc.CheckDispatching(QStringLiteral("B2"), QString(), QString(), 0), kDispatchNotDispatched);
    }
    EXPECT_FALSE(warnings.Text().contains(QLatin1String("readable again"))) << warnings.Text().toStdString();
    EXPECT_EQ(warnings.Count(QFile::encodeName(m_dir.filePath(QStringLiteral("B2.tim"))).constData()), 1)
        << warnings.Text().toStdString();
    EXPECT_TRUE(doc.FileFaults().join(u'\n').contains(QStringLiteral("B2.tim: the file is gone")))
        << doc.FileFaults().join(u'\n').toStdString();

    ASSERT_TRUE(QDir().rename(away, folder));
    doc.IdleCheck();
    EXPECT_TRUE(doc.FileFaults().isEmpty()) << doc.FileFaults().join(u'\n').toStdString();
    EXPECT_TRUE(warnings.Text().contains(
        m_dir.filePath(QStringLiteral("B2.tim")) + QStringLiteral(" is readable again")))
        << warnings.Text().toStdString();
    EXPECT_EQ(doc.CheckDispatching(QStringLiteral("B2"), QString(), QString(), 0), kDispatchNotDispatched);

    // The file alone moved away and back, its time unchanged: taken again at the next check.
    doc.SetTargetRefetchInterval(std::chrono::hours(1));
    const QString file = m_dir.filePath(QStringLiteral("B2.tim"));
    AgeFile("B2.tim");
    doc.IdleCheck();
    ASSERT_TRUE(QFile::rename(file, away));
    doc.IdleCheck();
    EXPECT_EQ(doc.FileFaults().size(), 1);
    ASSERT_TRUE(QFile::rename(away, file));
    doc.IdleCheck();
    EXPECT_TRUE(doc.FileFaults().isEmpty()) << doc.FileFaults().join(u'\n').toStdString();
}

// A mode change without a change of time: the configuration and a dispatch file that can no
// longer be read are faults at the next check (the schedule and plan in force stay), and over once
// they can be read again.
TEST_F(KelvarisDocTest, FilesThatCannotBeTakenAfterAModeChangeAreSeenAtOnce)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads a file of mode 000 (CI runs this as another user)";
    WriteFile("kelvaris.cfg", "[Settings]\r\nAutoActivate=1\r\n");
    AgeFile("kelvaris.cfg");
    AgeFile("B2.tim");
    CKelvarisDoc doc(m_server, m_rights, &m_observer, &m_publisher, &m_inbound);
    Start(doc);
    doc.IdleCheck();
    ASSERT_TRUE(doc.FileFaults().isEmpty()) << doc.FileFaults().join(u'\n').toStdString();
    const QStringList paths { ConfigPath(), m_dir.filePath(QStringLiteral("B2.tim")) };
    for (const QString& path : paths)
        ASSERT_TRUE(QFile(path).setPermissions({}));
    doc.IdleCheck();
    EXPECT_EQ(doc.FileFaults().size(), 2) << doc.FileFaults().join(u'\n').toStdString();
    EXPECT_EQ(doc.CheckDispatching(QStringLiteral("B2"), QString(), QString(), 0), kDispatchNotDispatched);
    for (const QString& path : paths)
        ASSERT_TRUE(QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner));
    doc.IdleCheck();
    EXPECT_TRUE(doc.FileFaults().isEmpty()) << doc.FileFaults().join(u'\n').toStdString();
}

// A file being written in place (no line end at its end yet) is looked at again; after a minute
// unchanged it is taken as it stands, with a warning.
TEST_F(KelvarisDocTest, AFileWithoutItsLastLineEndIsTakenOnlyAfterAMinute)
{
    WriteFile("kelvaris.cfg", "[Settings]\r\nAutoActivate=0\r\n");
    CKelvarisDoc doc(m_server, m_rights, &m_observer, &m_publisher, &m_inbound);
    Start(doc);
    WriteFile("kelvaris.cfg", "[Settings]\r\nAutoActivate=1\r\n[Barrage1]\r\nBarrageName=Ha");
    AgeFile("kelvaris.cfg"); // ten seconds old: settled, but not yet a minute
    const CWarningCapture warnings(lcConfig());
    EXPECT_TRUE(doc.IdleCheck());
    EXPECT_FALSE(doc.m_autoActivate);
    QFile file(ConfigPath());
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(
        file.setFileTime(QDateTime::currentDateTime().addSecs(-61), QFileDevice::FileModificationTime));
    file.close();
    EXPECT_FALSE(doc.IdleCheck());
    EXPECT_TRUE(doc.m_autoActivate);
    EXPECT_EQ(warnings.Count(qPrintable(ConfigPath() + QStringLiteral(" ends without a line end"))), 1);
}

// With the journal kept, the plans and the configuration are journaled as found at the start, and
// a dispatch file or a configuration changed by hand at the idle check that reads it in; the
// password is never in it. Without it nothing is written.
TEST_F(KelvarisDocTest, TheJournalRecordsThePlansAsFoundAndAsChangedOutside)
{
    const QString journal = CJournal::PathIn(m_dir.path());
    CPassword password;
    password.SetFlags(0x41);
    password.SetPassword(QStringLiteral("sesame"));
    WriteFile("kelvaris.cfg",
        "[Settings]\r\nWorkTimeFrom=420\r\nPassword=" + password.Encode().toLatin1() + "\r\n");
    {
        CKelvarisDoc reader(m_server, m_rights, &m_observer, &m_publisher, &m_inbound);
        Start(reader);
        EXPECT_FALSE(QFile::exists(journal));
    }
    CKelvarisDoc doc(m_server, m_rights, &m_observer, &m_publisher, &m_inbound);
    doc.EnableJournal(QStringLiteral("windowless"));
    Start(doc);
    WriteFile("A1.tim", "[Settings]\r\nName=Anna\r\n20240304=08:00-12:00\r\n");
    AgeFile("A1.tim");
    doc.IdleCheck();
    WriteFile("kelvaris.cfg", "[Barrage1]\r\nBarrageName=Typed\r\n", QIODevice::Append);
    AgeFile("kelvaris.cfg");
    ConfigLocation().SetFileTimeMemo(ConfigLocation().FileTimeMemo() - 1);
    doc.IdleCheck();

    CJournal read(journal);
    ASSERT_TRUE(read.Open(false));
    QList<CJournalEntry> entries = read.Entries({}).value_or(QList<CJournalEntry>());
    QStringList kinds;
    for (const CJournalEntry& entry : std::as_const(entries)) {
        kinds << entry.kind;
        EXPECT_FALSE(entry.after.contains(QStringLiteral("Password"))) << entry.after.toStdString();
    }
    // Newest first: the typed barrier, Anna's edit, the activation; as found at the start: six parts
    // of the configuration, the holder, the target list, three plans.
    EXPECT_EQ(kinds.join(u','),
        QStringLiteral(
            "barriers,plan,activation,holidays,barriers,shifts,takeover texts,protection,settings,holder,"
            "targets,plan,plan,plan"));
    EXPECT_EQ(entries[0].kind, QStringLiteral("barriers"));
    EXPECT_EQ(entries[0].after, QStringLiteral("[Barrage1]\nBarrageName=Typed"));
    EXPECT_EQ(entries[0].via, QStringLiteral("outside"));
    const auto protection = std::find_if(entries.cbegin(), entries.cend(),
        [](const CJournalEntry& entry) { return entry.kind == QLatin1String("protection"); });
    ASSERT_NE(protection, entries.cend());
    EXPECT_EQ(protection->after, QStringLiteral("rights protected: 0x00000041\npassword: set"));
    entries.removeIf([](const CJournalEntry& entry) { return entry.kind != QLatin1String("plan"); });
    ASSERT_EQ(entries.size(), 4); // three plans as found, Anna's edit
    EXPECT_EQ(entries[0].subject, QStringLiteral("A1"));
    EXPECT_EQ(entries[0].before, QStringLiteral("20240304=08:00-16:00"));
    EXPECT_EQ(entries[0].after, QStringLiteral("20240304=08:00-12:00"));
    EXPECT_TRUE(entries[0].why.startsWith(QStringLiteral("changed outside Kelvaris")))
        << entries[0].why.toStdString();
    EXPECT_EQ(entries[3].why, QStringLiteral("as found when the journal began"));
}

// With AnswerJournal=1 every check is kept with the asking process's user, and a holder the
// alarm server's check made is journaled as that user's change through the alarm server.
TEST_F(KelvarisDocTest, AnswersAndHoldersTheAlarmServerMadeNameTheAskingUser)
{
    WriteFile("kelvaris.cfg", "[Settings]\r\nAnswerJournal=1\r\n");
    WriteFile("G40.tim", "[Settings]\r\nName=Service North\r\nTakeover=1\r\n");
    CKelvarisDoc doc(m_server, m_rights, &m_observer, &m_publisher, &m_inbound);
    doc.EnableJournal(QStringLiteral("windowless"));
    Start(doc);
    const qint64 before = QDateTime::currentMSecsSinceEpoch();
    EXPECT_EQ(doc.CheckDispatching(
                  QStringLiteral("A1"), QStringLiteral("G40"), QStringLiteral("2024-03-04 09:00:00"), 4242),
        kDispatchSend);
    EXPECT_EQ(doc.CheckDispatching(
                  QStringLiteral("B2"), QStringLiteral("G40"), QStringLiteral("2024-03-04 17:00:00"), 4243),
        kDispatchNotDispatched);
    doc.FlushAnswerJournal();
    g_now = CDateTime(2024, 3, 4, 10, 1, 5); // the next minute's cycle journals the holder
    doc.Cycle();

    const QString path = CJournal::PathIn(m_dir.path());
    QString error;
    const auto anna = CAnswerJournal::Read(path, QStringLiteral("A1"), before, before + 60'000, 10, error);
    ASSERT_TRUE(anna && anna->size() == 1) << error.toStdString();
    EXPECT_EQ(anna->first().uid, 4242);
    EXPECT_EQ(anna->first().group, QStringLiteral("G40"));
    EXPECT_EQ(anna->first().result, kDispatchSend);
    EXPECT_GT(anna->first().revision, 1'500'000'000); // the plan's file time in seconds
    const auto bert = CAnswerJournal::Read(path, QStringLiteral("B2"), before, before + 60'000, 10, error);
    ASSERT_TRUE(bert && bert->size() == 1);
    EXPECT_EQ(bert->first().result, kDispatchNotDispatched);

    CJournal journal(path);
    ASSERT_TRUE(journal.Open(false));
    CJournal::CFilter holders;
    holders.kind = QStringLiteral("holder");
    const QList<CJournalEntry> entries = journal.Entries(holders).value_or(QList<CJournalEntry>());
    ASSERT_FALSE(entries.isEmpty());
    EXPECT_EQ(entries[0].after, QStringLiteral("A1"));
    EXPECT_EQ(entries[0].uid, 4242);
    EXPECT_EQ(entries[0].via, QStringLiteral("alarm server"));

    // A change made after the password was typed names the rights group it was typed for.
    CFixedPrompt prompt;
    prompt.answer = QStringLiteral("secret");
    auto password = std::make_unique<CKelvarisRights>();
    password->SetPassword(QStringLiteral("secret"));
    password->SetFlags(0x1fff);
    m_rights.SetRights(std::move(password));
    m_rights.SetPrompt(&prompt);
    ASSERT_TRUE(doc.Deactivate());
    m_rights.SetRights(nullptr);
    CJournal::CFilter activations;
    activations.kind = QStringLiteral("activation");
    const QList<CJournalEntry> switched = journal.Entries(activations).value_or(QList<CJournalEntry>());
    ASSERT_FALSE(switched.isEmpty());
    EXPECT_EQ(switched[0].after, QStringLiteral("inactive"));
    EXPECT_EQ(switched[0].rights, QStringLiteral("operation"));
}

// The engine's duty notices: Bert's duty at 16:00 is announced once, half an hour before, also
// across a restart; a barrier/pause in force at that moment holds it until it ends.
TEST_F(KelvarisDocTest, ADutyIsAnnouncedOnceAcrossARestartAndABarrierHoldsTheNotice)
{
    WriteFile("kelvaris.cfg", "[Settings]\r\nNoticeLeadMinutes=30\r\n");
    const auto runMinutes = [this](CKelvarisDoc& doc, int fromMinute, int toMinute) {
        for (int minute = fromMinute; minute <= toMinute; ++minute) {
            g_now = CDateTime(2024, 3, 4, minute / 60, minute % 60, 5);
            doc.Cycle();
        }
    };
    {
        CKelvarisDoc doc(m_server, m_rights, &m_observer, &m_publisher, &m_inbound);
        doc.EnableJournal(QStringLiteral("windowless"));
        Start(doc);
        runMinutes(doc, 15 * 60 + 20, 15 * 60 + 35);
    }
    {
        // Journaled too.
        CJournal journal(CJournal::PathIn(m_dir.path()));
        ASSERT_TRUE(journal.Open(false));
        CJournal::CFilter notices;
        notices.kind = QStringLiteral("notice");
        const QList<CJournalEntry> entries = journal.Entries(notices).value_or(QList<CJournalEntry>());
        ASSERT_EQ(entries.size(), 1);
        EXPECT_EQ(entries[0].subject, QStringLiteral("B2"));
        EXPECT_TRUE(entries[0].after.startsWith(QStringLiteral("Notice sent to Bert: Reminder")));
    }
    QStringList reminders = Send2Commands().filter(QStringLiteral("Reminder"));
    ASSERT_EQ(reminders.size(), 1) << m_observer.notices.join(u'\n').toStdString();
    EXPECT_TRUE(reminders.first().startsWith(
        QStringLiteral("[send2(\"Bert\",\"[NODISPATCH:1][NOSIGN:1]Reminder: duty for Bert")));
    {
        CKelvarisDoc doc(m_server, m_rights, &m_observer, &m_publisher, &m_inbound);
        Start(doc);
        runMinutes(doc, 15 * 60 + 36, 15 * 60 + 50);
    }
    EXPECT_TRUE(Send2Commands().filter(QStringLiteral("Reminder")).isEmpty());
    EXPECT_EQ(m_observer.notices.filter(QStringLiteral("Notice sent to Bert")).size(), 1);

    // The next day: a pause over 15:20-15:45 holds Bert's reminder; it goes at the pause's end.
    WriteFile("B2.tim", "[Settings]\r\nName=Bert\r\n20240305=16:00-24:00\r\n");
    WriteFile("kelvaris.cfg",
        "[Settings]\r\nNoticeLeadMinutes=30\r\n[Barrage1]\r\nBarrageName=Quiet\r\nDateType=10\r\n"
        "BarrageDate=1899-12-30\r\nBarrageStartTime=1899-12-30 15:20:00\r\n"
        "BarrageEndTime=1899-12-30 15:45:00\r\nBarrageType=1\r\n");
    m_server.ClearCommands();
    CKelvarisDoc doc(m_server, m_rights, &m_observer, &m_publisher, &m_inbound);
    g_now = CDateTime(2024, 3, 5, 15, 0, 5);
    Start(doc);
    for (int minute = 15 * 60; minute <= 15 * 60 + 50; ++minute) {
        g_now = CDateTime(2024, 3, 5, minute / 60, minute % 60, 5);
        doc.Cycle();
        if (minute == 15 * 60 + 40) {
            EXPECT_TRUE(Send2Commands().filter(QStringLiteral("Reminder")).isEmpty());
        }
    }
    EXPECT_EQ(Send2Commands().filter(QStringLiteral("Reminder")).size(), 1);
    EXPECT_EQ(m_observer.notices.filter(QStringLiteral("held by the barrier/pause")).size(), 1);
}
