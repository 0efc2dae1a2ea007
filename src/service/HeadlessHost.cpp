#include "service/HeadlessHost.h"

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTextStream>

#include "inbound/KelvarisInbound.h"
#include "schedule/DateTime.h"
#include "schedule/Moment.h"
#include "service/ServiceNotifier.h"
#include "webui/WebServer.h"

namespace {
int g_signalPipe[2] = { -1, -1 };

void SignalHandler(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_signalPipe[1], &byte, 1);
}
} // namespace

void OnTerminationSignal(QObject* context, std::function<void()> handler)
{
    if (g_signalPipe[0] < 0 && ::pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, context);
    QObject::connect(notifier, &QSocketNotifier::activated, context, [handler = std::move(handler)] {
        char buffer[16];
        while (::read(g_signalPipe[0], buffer, sizeof buffer) > 0) { }
        handler();
    });
    struct sigaction action
    {
    };
    action.sa_handler = SignalHandler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

CHeadlessHost::CHeadlessHost(CServerCommandFactory& server, CServiceNotifier* notifier, QObject* parent)
    : QObject(parent)
    , m_notifier(notifier)
    , m_doc(std::make_unique<CKelvarisDoc>(server, m_rights, this))
    , m_inbound(std::make_unique<CKelvarisInbound>(*m_doc, this))
{
    m_cycleTimer.setInterval(1000);
    connect(&m_cycleTimer, &QTimer::timeout, this, &CHeadlessHost::Tick);
    m_idleTimer.setInterval(30000);
    connect(&m_idleTimer, &QTimer::timeout, this, &CHeadlessHost::Idle);
}

CHeadlessHost::~CHeadlessHost()
{
    // The socket's worker and the board call into the document: end them before anything goes.
    m_web.reset();
    m_inbound.reset();
}

bool CHeadlessHost::Start()
{
    // Before the socket's thread can ask the document anything.
    m_doc->EnableJournal(QStringLiteral("windowless"));
    m_inbound->Start();
    if (!m_doc->Initialise()) {
        m_startProblem = QStringLiteral("the document could not be initialised");
        return false;
    }
    // Without its socket the alarm server cannot ask this Kelvaris anything: it does not start, and
    // so does not tell the alarm server a state that another Kelvaris may be keeping.
    if (!m_inbound->StartSocket()) {
        m_startProblem = m_inbound->SocketProblem();
        return false;
    }
    Print(StartedLine(CDateTime::GetCurrentTime()));
    m_doc->Activate();
    m_web = StartStatusBoard(*m_doc, m_webListen, this);
    // Ready before the first cycle: that one asks the alarm server, which may keep it waiting. A
    // configuration that could not be read is said in the status, where systemctl status shows it.
    if (m_notifier) {
        m_status = StatusText();
        m_notifier->Ready(m_status);
    }
    // The first cycle at once, so the alarm server hears the state without waiting a second; the
    // first idle check about a second after start.
    Tick();
    m_cycleTimer.start();
    QTimer::singleShot(1000, this, [this] {
        Idle();
        m_idleTimer.start();
    });
    return true;
}

void CHeadlessHost::Stop()
{
    if (m_stopped)
        return;
    m_stopped = true;
    // Deactivating asks the alarm server, which may take a while: the service manager hears first.
    if (m_notifier)
        m_notifier->Stopping(QStringLiteral("Deactivating the engine"));
    m_cycleTimer.stop();
    m_idleTimer.stop();
    m_fileRecheck.Stop();
    m_doc->Close();
    QCoreApplication::quit();
}

QString CHeadlessHost::StatusText() const
{
    QString text = QStringLiteral("The engine is active and the socket is served");
    if (const QStringList faults = m_doc->FileFaults(); !faults.isEmpty())
        text += QStringLiteral(", but files cannot be read: %1").arg(faults.join(QStringLiteral("; ")));
    if (const qint64 lost = m_doc->ServerLostSinceMs(); lost != 0)
        text += QStringLiteral("; the alarm server is not reachable since %1")
                    .arg(MomentAt(m_doc->SiteZone(), lost).IsoText());
    return text;
}

void CHeadlessHost::Tick()
{
    if (m_doc->IsActive())
        m_doc->Cycle();
    // systemctl status says what the engine lives with now, told when it changes.
    if (m_notifier && !m_status.isEmpty()) {
        if (QString status = StatusText(); status != m_status) {
            m_status = std::move(status);
            m_notifier->Status(m_status);
        }
    }
    // After the cycle, not on a timer of its own: an engine stuck in its cycle feeds no watchdog.
    // A deactivated engine (by a DDE or automation command) still runs this loop and is alive.
    if (m_notifier)
        m_notifier->CycleDone();
}

void CHeadlessHost::Idle()
{
    m_fileRecheck.Arm(m_doc->IdleCheck());
}

void CHeadlessHost::OnUpdate(unsigned hint)
{
    const CDateTime now = CDateTime::GetCurrentTime();
    if (hint & HINT_STATE) {
        for (const CLogbookLine& line : StateChangeLines(m_doc->CurrentBarrier(), m_doc->CurrentShift(), now))
            Print(line);
    }
    if (hint & HINT_ACTIVATED)
        Print(ActivatedLine(now));
    if (hint & HINT_DEACTIVATED)
        Print(DeactivatedLine(now));
    // Who is on duty, refreshed when the window's plan of action would be.
    if (hint & (HINT_ACTIVATED | HINT_DEACTIVATED | HINT_PLAN))
        m_doc->PublishPlanOfAction();
}

void CHeadlessHost::OnNotice(const QString& text)
{
    Print(NoticeLine(CDateTime::GetCurrentTime(), text));
}

void CHeadlessHost::Print(const CLogbookLine& line)
{
    static QTextStream out(stdout);
    out << line.Joined() << '\n';
    out.flush();
}
