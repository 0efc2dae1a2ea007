// kelvaris --headless and the windowless automation server, reached over a private session bus
// from this process and from kelvarisctl.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "PrivateBus.h"

namespace {

const QString kPath = QStringLiteral("/com/ondrevi/Kelvaris/DDE");
const QString kInterface = QStringLiteral("com.ondrevi.Kelvaris.DDE");
const QString kObjPath = QStringLiteral("/com/ondrevi/Kelvaris/KelvarisObj");
const QString kObjInterface = QStringLiteral("com.ondrevi.Kelvaris.IKelvarisObj");

// A whole-day shift and barrier on every kind of day, so the values do not depend on the date.
QByteArray Schedule()
{
    QByteArray text = "[Settings]\r\nWorkDays=127\r\n";
    const int types[] = { 2, 10, 11 };
    for (int i = 0; i < 3; ++i) {
        const QByteArray n = QByteArray::number(i + 1);
        const QByteArray type = QByteArray::number(types[i]);
        text += "[Shift" + n + "]\r\nShiftName=Day duty\r\nDateType=" + type
            + "\r\nShiftDate=1899-12-30\r\nShiftStartTime=1899-12-30 00:00:00\r\n"
              "ShiftEndTime=1899-12-30 23:59:59\r\nShiftNumber=3\r\n";
        text += "[Barrage" + n + "]\r\nBarrageName=Quiet\r\nDateType=" + type
            + "\r\nBarrageDate=1899-12-30\r\nBarrageStartTime=1899-12-30 00:00:00\r\n"
              "BarrageEndTime=1899-12-30 23:59:59\r\nBarrageType=1\r\nBarragePriority=4\r\n";
    }
    return text;
}

// Collects the Advise signals this process receives.
class CAdviseRecorder : public QObject
{
    Q_OBJECT

public:
    QStringList m_values; // "topic!item=text"

public Q_SLOTS:
    void Advise(const QString& topic, const QString& item, const QString& format, const QByteArray& data)
    {
        QByteArray text = data;
        if (format == QLatin1String("TEXT") && text.endsWith('\0'))
            text.chop(1);
        m_values << topic + QLatin1Char('!') + item + QLatin1Char('=') + QString::fromUtf8(text);
    }
};

void ProcessEventsFor(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(10);
    }
}

class InboundBusTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { s_suite = new CBusTestSuite("test_e2e_inbound"); }
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
        m_service = QStringLiteral("com.ondrevi.KelvarisTest.p%1").arg(pid);
        m_env = QProcessEnvironment::systemEnvironment();
        m_env.insert(QStringLiteral("KELVARIS_BUS_NAME"), m_service);
        m_env.insert(QStringLiteral("KELVARIS_ALARMSERVER_BUS_NAME"), m_service + QStringLiteral(".Nobody"));
        m_env.insert(QStringLiteral("KELVARIS_DATA"), m_dir.path());
        m_env.insert(
            QStringLiteral("KELVARIS_PIPE_NAME"), QStringLiteral("kelvaris-inbound-test-%1").arg(pid));
        m_env.insert(QStringLiteral("XDG_DATA_HOME"), m_dir.filePath(QStringLiteral("share")));
        QFile config(m_dir.filePath(QStringLiteral("kelvaris.cfg")));
        ASSERT_TRUE(config.open(QIODevice::WriteOnly));
        config.write(Schedule());
    }

    void TearDown() override
    {
        if (m_kelvaris.state() != QProcess::NotRunning) {
            m_kelvaris.terminate();
            if (!m_kelvaris.waitForFinished(5000))
                m_kelvaris.kill();
        }
    }

    // Starts kelvaris with the arguments and waits until it owns its bus name.
    void StartKelvaris(const QStringList& arguments)
    {
        m_kelvaris.setProcessEnvironment(m_env);
        m_kelvaris.start(QStringLiteral(KELVARIS_PATH), arguments);
        ASSERT_TRUE(m_kelvaris.waitForStarted(5000));
        ASSERT_TRUE(WaitForBusName(m_service, 10000)) << m_kelvaris.readAllStandardError().toStdString();
    }

    QDBusMessage Call(const QString& method, const QVariantList& arguments, const QString& path = kPath,
        const QString& interface = kInterface) const
    {
        QDBusMessage call = QDBusMessage::createMethodCall(m_service, path, interface, method);
        call.setArguments(arguments);
        return QDBusConnection::sessionBus().call(call, QDBus::Block, 5000);
    }

    // The data of a request ("served" false gives a null array).
    QByteArray Request(
        const QString& topic, const QString& item, const QString& format = QStringLiteral("TEXT"))
    {
        const QDBusMessage reply = Call(QStringLiteral("Request"), { topic, item, format });
        if (reply.type() != QDBusMessage::ReplyMessage || !reply.arguments().value(0).toBool())
            return QByteArray();
        return reply.arguments().value(1).toByteArray();
    }

    bool BoolCall(const QString& method, const QVariantList& arguments) const
    {
        const QDBusMessage reply = Call(method, arguments);
        return reply.type() == QDBusMessage::ReplyMessage && reply.arguments().value(0).toBool();
    }

    QString DoCommand(const QString& command) const
    {
        const QDBusMessage reply = Call(QStringLiteral("DoCommand"), { command }, kObjPath, kObjInterface);
        return reply.type() == QDBusMessage::ReplyMessage
            ? reply.arguments().value(0).toString()
            : QStringLiteral("<error %1>").arg(reply.errorName());
    }

    // Runs kelvarisctl; returns its exit code and fills its standard output.
    int Ctl(const QStringList& arguments, QString* output = nullptr, QString* error = nullptr)
    {
        QProcess ctl;
        ctl.setProcessEnvironment(m_env);
        ctl.start(QStringLiteral(KELVARISCTL_PATH), arguments);
        if (!ctl.waitForFinished(10000))
            return -1;
        if (output)
            *output = QString::fromUtf8(ctl.readAllStandardOutput());
        if (error)
            *error = QString::fromUtf8(ctl.readAllStandardError());
        return ctl.exitStatus() == QProcess::NormalExit ? ctl.exitCode() : -1;
    }

    static inline CBusTestSuite* s_suite = nullptr;
    QTemporaryDir m_dir;
    QString m_service;
    QProcessEnvironment m_env;
    QProcess m_kelvaris;
};

} // namespace

TEST_F(InboundBusTest, TopicsFormatsAndValuesAreServed)
{
    StartKelvaris({ QStringLiteral("--headless") });
    // The first cycle has published the schedule's values.
    QDeadlineTimer deadline(5000);
    while (Request(QStringLiteral("Shift"), QStringLiteral("Name")) != QByteArray("Day duty\0", 9)
        && !deadline.hasExpired())
        QThread::msleep(50);

    EXPECT_EQ(Request(QStringLiteral("System"), QStringLiteral("Topics")),
        QByteArray("System\tBarring\tShift\tDispatching\0", 33));
    EXPECT_EQ(
        Request(QStringLiteral("shift"), QStringLiteral("FORMATS")), QByteArray("TEXT\tUNICODETEXT\0", 17));
    EXPECT_EQ(Request(QStringLiteral("Barring"), QStringLiteral("Name")), QByteArray("Quiet\0", 6));
    EXPECT_EQ(Request(QStringLiteral("Shift"), QStringLiteral("From")), QByteArray("00:00:00\0", 9));

    // Remain in both formats: the same decimal text.
    const QByteArray text = Request(QStringLiteral("Shift"), QStringLiteral("Remain"));
    const QByteArray unicode
        = Request(QStringLiteral("Shift"), QStringLiteral("Remain"), QStringLiteral("UNICODETEXT"));
    ASSERT_TRUE(text.endsWith('\0'));
    ASSERT_TRUE(unicode.endsWith(QByteArray(2, '\0')));
    const QString fromText = QString::fromUtf8(text.chopped(1));
    const QString fromUnicode = QString::fromUtf16(
        reinterpret_cast<const char16_t*>(unicode.constData()), (unicode.size() - 2) / 2);
    EXPECT_GT(fromText.toLongLong(), 0);
    // The engine may have written the next second between the two requests.
    EXPECT_LE(std::abs(fromText.toLongLong() - fromUnicode.toLongLong()), 1) << fromText.toStdString();

    // What is not served gets nothing: a missing topic or item, another format.
    EXPECT_TRUE(Request(QStringLiteral("Nothing"), QStringLiteral("Current")).isNull());
    EXPECT_TRUE(Request(QStringLiteral("Shift"), QStringLiteral("Colour")).isNull());
    EXPECT_TRUE(Request(QStringLiteral("Shift"), QStringLiteral("Name"), QStringLiteral("BITMAP")).isNull());
    EXPECT_FALSE(BoolCall(QStringLiteral("Connect"), { QStringLiteral("Weather") }));
    EXPECT_TRUE(BoolCall(QStringLiteral("Connect"), { QStringLiteral("BARRING") }));

    // kelvarisctl reads the same.
    QString output;
    EXPECT_EQ(Ctl({ QStringLiteral("dde"), QStringLiteral("get"), QStringLiteral("System"),
                      QStringLiteral("Topics") },
                  &output),
        0);
    EXPECT_EQ(output, QStringLiteral("System\tBarring\tShift\tDispatching\n"));
    EXPECT_EQ(Ctl({ QStringLiteral("dde"), QStringLiteral("get"), QStringLiteral("Barring"),
                      QStringLiteral("Name"), QStringLiteral("--unicode") },
                  &output),
        0);
    EXPECT_EQ(output, QStringLiteral("Quiet\n"));
    EXPECT_EQ(Ctl({ QStringLiteral("dde"), QStringLiteral("get"), QStringLiteral("Barring"),
                  QStringLiteral("Colour") }),
        1);
}

TEST_F(InboundBusTest, AdviseLinkGetsASignalOnlyWhenTheValueChanges)
{
    StartKelvaris({ QStringLiteral("--headless") });
    CAdviseRecorder recorder;
    ASSERT_TRUE(QDBusConnection::sessionBus().connect(m_service, kPath, kInterface, QStringLiteral("Advise"),
        &recorder, SLOT(Advise(QString, QString, QString, QByteArray))));
    ASSERT_TRUE(BoolCall(QStringLiteral("AdviseStart"),
        { QStringLiteral("Barring"), QStringLiteral("Name"), QStringLiteral("TEXT") }));
    EXPECT_FALSE(BoolCall(QStringLiteral("AdviseStart"),
        { QStringLiteral("Barring"), QStringLiteral("Name"), QStringLiteral("BITMAP") }));

    // The engine writes the unchanged name every second: no signal.
    ProcessEventsFor(2500);
    EXPECT_TRUE(recorder.m_values.isEmpty()) << recorder.m_values.join(u',').toStdString();

    // A poke changes the value until the engine writes it again: two changes, two signals.
    ASSERT_TRUE(BoolCall(QStringLiteral("Poke"),
        { QStringLiteral("Barring"), QStringLiteral("Name"), QStringLiteral("TEXT"),
            QByteArray("Drill\0", 6) }));
    ProcessEventsFor(2500);
    EXPECT_EQ(recorder.m_values,
        QStringList({ QStringLiteral("Barring!Name=Drill"), QStringLiteral("Barring!Name=Quiet") }));

    // After AdviseStop nothing arrives.
    ASSERT_TRUE(
        BoolCall(QStringLiteral("AdviseStop"), { QStringLiteral("Barring"), QStringLiteral("Name") }));
    recorder.m_values.clear();
    ASSERT_TRUE(BoolCall(QStringLiteral("Poke"),
        { QStringLiteral("Barring"), QStringLiteral("Name"), QStringLiteral("TEXT"),
            QByteArray("Again\0", 6) }));
    ProcessEventsFor(1500);
    EXPECT_TRUE(recorder.m_values.isEmpty());

    // kelvarisctl watch prints the current value, then each change.
    QString output;
    EXPECT_EQ(Ctl({ QStringLiteral("dde"), QStringLiteral("watch"), QStringLiteral("Shift"),
                      QStringLiteral("Name"), QStringLiteral("--count"), QStringLiteral("1") },
                  &output),
        0);
    EXPECT_EQ(output, QStringLiteral("Day duty\n"));
}

TEST_F(InboundBusTest, ActivateIsNotProcessedWithoutAWindow)
{
    StartKelvaris({ QStringLiteral("--headless") });
    const QByteArray activate("[activate()]\0", 13);
    EXPECT_FALSE(BoolCall(QStringLiteral("Execute"), { QStringLiteral("System"), activate }));
    EXPECT_FALSE(BoolCall(QStringLiteral("Execute"), { QStringLiteral("Shift"), activate }));
    EXPECT_FALSE(BoolCall(QStringLiteral("Poke"),
        { QStringLiteral("System"), QStringLiteral("Command"), QStringLiteral("TEXT"), activate }));
    // The lists of the System topic are read-only.
    EXPECT_FALSE(BoolCall(QStringLiteral("Poke"),
        { QStringLiteral("System"), QStringLiteral("Topics"), QStringLiteral("TEXT"),
            QByteArray("x\0", 2) }));
    EXPECT_EQ(Ctl({ QStringLiteral("dde"), QStringLiteral("exec"), QStringLiteral("[activate()]") }), 1);
}

TEST_F(InboundBusTest, DoCommandAnswersAtOnce)
{
    StartKelvaris({ QStringLiteral("--headless") });
    EXPECT_EQ(DoCommand(QStringLiteral("[SETUP(TP)]")), QStringLiteral("1"));
    EXPECT_EQ(DoCommand(QStringLiteral("[setup(TB)]")), QStringLiteral("1"));
    EXPECT_EQ(DoCommand(QStringLiteral("[setup(tp)]")), QStringLiteral("0"));
    EXPECT_EQ(DoCommand(QStringLiteral("[setup()]")), QStringLiteral("0"));
    EXPECT_EQ(DoCommand(QStringLiteral("[check(x)]")), QString());
    EXPECT_EQ(DoCommand(QStringLiteral("[setup(TP)] ")), QString());
    EXPECT_EQ(DoCommand(QStringLiteral("[a(b)(TP)]")), QString());
    QString output;
    EXPECT_EQ(Ctl({ QStringLiteral("do"), QStringLiteral("[setup(TH)]") }, &output), 0);
    EXPECT_EQ(output, QStringLiteral("1\n"));
    // A command Kelvaris does not know is a failure, named.
    QString error;
    EXPECT_EQ(Ctl({ QStringLiteral("do"), QStringLiteral("[bogus]") }, &output, &error), 1);
    EXPECT_TRUE(error.contains(QStringLiteral("[bogus]"))) << error.toStdString();
    // The headless program keeps serving after the setup commands (they open nothing there).
    EXPECT_EQ(Request(QStringLiteral("System"), QStringLiteral("Topics")),
        QByteArray("System\tBarring\tShift\tDispatching\0", 33));
}

TEST_F(InboundBusTest, WindowlessServerAndItsActivationFile)
{
    // -Register writes the activation file, -Unregister removes it.
    QProcess registration;
    registration.setProcessEnvironment(m_env);
    registration.start(QStringLiteral(KELVARIS_PATH), { QStringLiteral("/Register") });
    ASSERT_TRUE(registration.waitForFinished(10000));
    EXPECT_EQ(registration.exitCode(), 0);
    QFile file(m_dir.filePath(QStringLiteral("share/dbus-1/services/%1.service").arg(m_service)));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString content = QString::fromUtf8(file.readAll());
    file.close();
    EXPECT_TRUE(content.startsWith(QStringLiteral("[D-BUS Service]\nName=") + m_service + QLatin1Char('\n')));
    EXPECT_TRUE(content.contains(QStringLiteral("KELVARIS_BUS_NAME=") + m_service));
    EXPECT_TRUE(content.trimmed().endsWith(QStringLiteral("/kelvaris -Embedding"))) << content.toStdString();
    registration.start(QStringLiteral(KELVARIS_PATH), { QStringLiteral("-UNREGSERVER") });
    ASSERT_TRUE(registration.waitForFinished(10000));
    EXPECT_EQ(registration.exitCode(), 0);
    EXPECT_FALSE(file.exists());

    // The windowless server answers DoCommand and has no document: no DDE values.
    StartKelvaris({ QStringLiteral("-Embedding") });
    EXPECT_EQ(DoCommand(QStringLiteral("[setup(TS)]")), QStringLiteral("1"));
    EXPECT_EQ(DoCommand(QStringLiteral("[setup(XX)]")), QStringLiteral("0"));
    EXPECT_EQ(Call(QStringLiteral("Request"),
                  { QStringLiteral("System"), QStringLiteral("Topics"), QStringLiteral("TEXT") })
                  .type(),
        QDBusMessage::ErrorMessage);
    m_kelvaris.terminate();
    ASSERT_TRUE(m_kelvaris.waitForFinished(5000));
    EXPECT_EQ(m_kelvaris.exitCode(), 0);
}

#include "InboundBusTest.moc"
