#include "app/KelvarisApp.h"

#include <tuple>

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

#include "app/AppEditorHost.h"
#include "app/InfoDialogs.h"
#include "app/KelvarisView.h"
#include "app/Language.h"
#include "app/MainFrame.h"
#include "app/PasswordDialogs.h"
#include "app/SingleInstance.h"
#include "app/WarningForwarder.h"
#include "engine/KelvarisDoc.h"
#include "inbound/KelvarisInbound.h"
#include "schedule/ConfigLocation.h"
#include "schedule/Profile.h"
#include "server/DBusServerCommand.h"
#include "support/Trace.h"
#include "webui/WebServer.h"

namespace {
const QString kSettings = QStringLiteral("Settings");
const QString kLanguageKey = QStringLiteral("Language");
const QString kLanguageChosenKey = QStringLiteral("LanguageChosen");
constexpr int kIdleIntervalMs = 30000;
// How often a held-back idle check looks whether the dialogs have closed.
constexpr int kIdleRetryMs = 250;
} // namespace

CKelvarisApp::CKelvarisApp(CServerCommandFactory* server, QObject* parent)
    : QObject(parent)
    , m_server(server)
    , m_prompt(std::make_unique<CDialogPasswordPrompt>())
    , m_rights(m_prompt.get())
{
    m_idleTimer.setInterval(kIdleIntervalMs);
    connect(&m_idleTimer, &QTimer::timeout, this, &CKelvarisApp::IdleCheck);
    m_idleRetry.setInterval(kIdleRetryMs);
    connect(&m_idleRetry, &QTimer::timeout, this, [this] {
        if (IdleCheckHeldBack())
            return;
        m_idleRetry.stop();
        IdleCheck();
        // The next one the full interval later.
        if (m_idleTimer.isActive())
            m_idleTimer.start();
    });
}

CKelvarisApp::~CKelvarisApp()
{
    ExitInstance();
}

bool CKelvarisApp::InitInstance(const CTimeCommandLineInfo& commandLine)
{
    // One Kelvaris per user: a running one shows its window instead.
    if (CSingleInstance::AskRunningInstanceToShow()) {
        m_otherInstance = true;
        return false;
    }
    m_instance = std::make_unique<CSingleInstance>();
    m_instance->Listen();

    // Kelvaris warnings from here on reach the window too (once it is there: they are delivered
    // from the event loop).
    m_warnings = std::make_unique<CWarningForwarder>();
    connect(m_warnings.get(), &CWarningForwarder::Warning, this,
        [this](const QString& category, const QString& text) {
            if (m_frame)
                m_frame->ShowWarning(text);
            if (category == QLatin1String("kelvaris.pipe"))
                ReportSocketProblem();
        });

    const CConfigPaths paths = DetermineConfigPaths(LocationInputFromEnvironment());
    ConfigLocation().SetPaths(paths.configPath, paths.masterPath);
    m_configPath = paths.configPath;
    m_masterPath = paths.masterPath;

    // The language before anything shows a text or takes one as its default (the takeover texts,
    // the holidays' names).
    ApplyStoredLanguage(CProfile(m_configPath));

    if (!m_server) {
        m_ownServer
            = std::make_unique<CDBusServerCommandFactory>(AlarmServerAddressFrom(CProfile(m_configPath)));
        m_server = m_ownServer.get();
    }

    // The document with the automation object and the DDE values on the bus. Without a session bus
    // Kelvaris still keeps the schedule and serves the alarm server on its socket.
    m_editors = std::make_unique<CAppEditorHost>();
    m_doc = std::make_unique<CKelvarisDoc>(*m_server, m_rights);
    m_doc->SetEditorHost(m_editors.get());
    m_doc->EnableJournal(QStringLiteral("window"));
    m_editors->SetDocument(m_doc.get());
    m_inbound = std::make_unique<CKelvarisInbound>(*m_doc, this);
    if (!m_inbound->Start())
        KTRACE(lcApp) << "running without the session bus: no DDE values, no automation";

    const bool opened = commandLine.m_shellCommand == CTimeCommandLineInfo::FileOpen
        ? m_doc->Open(commandLine.m_fileName)
        : m_doc->Initialise();
    if (!opened)
        return false;

    m_frame = std::make_unique<CMainFrame>(*m_doc, m_rights, m_inbound->Publisher());
    m_editors->SetParent(m_frame.get());
    m_inbound->SetActivator(m_frame.get());
    m_doc->SetObserver(&m_frame->View());
    connect(m_frame.get(), &CMainFrame::LanguageRequested, this, &CKelvarisApp::OnLanguage);
    connect(m_frame.get(), &CMainFrame::PasswordRequested, this, &CKelvarisApp::OnPassword);
    connect(m_frame.get(), &CMainFrame::AboutRequested, this, &CKelvarisApp::OnAbout);
    connect(m_frame.get(), &CMainFrame::SystemInfoRequested, this, &CKelvarisApp::OnSystemInfo);
    connect(m_frame.get(), &CMainFrame::NewRequested, this, &CKelvarisApp::OnFileNew);
    connect(m_frame.get(), &CMainFrame::OpenRequested, this, &CKelvarisApp::OnFileOpen);
    connect(m_frame.get(), &CMainFrame::QuitRequested, this, [] { QCoreApplication::quit(); });
    connect(&m_frame->View(), &CKelvarisView::PlanEntryActivated, this, &CKelvarisApp::OnPlanEntry);
    connect(m_instance.get(), &CSingleInstance::ShowRequested, m_frame.get(), &CMainFrame::ShowFromElsewhere);
    // The view's initial update starts the cycle and, with AutoActivate, activates the engine; the
    // password is loaded only afterwards, so the start itself never asks for it.
    m_frame->View().InitialUpdate();
    m_web = StartStatusBoard(*m_doc, commandLine.m_webListen, this);

    CProfile profile(m_configPath);
    m_rights.LoadRights(profile);

    // The first idle check about a second after start, then every 30 seconds.
    QTimer::singleShot(1000, this, [this] {
        IdleCheck();
        m_idleTimer.start();
    });

    if (commandLine.m_minimised)
        m_frame->ShowMinimisedAtStart();
    else
        m_frame->show();
    return true;
}

int CKelvarisApp::ExitInstance()
{
    if (m_exited)
        return 0;
    m_exited = true;
    m_idleTimer.stop();
    m_idleRetry.stop();
    m_fileRecheck.Stop();
    // Editors of setup commands still open are closed first: they save what they changed.
    if (m_editors)
        m_editors->CloseAll();
    if (m_doc) {
        m_doc->SetObserver(nullptr);
        m_doc->Close();
    }
    // The socket's worker and the board call into the document: they go before the document.
    m_web.reset();
    m_inbound.reset();
    m_warnings.reset();
    m_frame.reset();
    m_doc.reset();
    return 0;
}

void CKelvarisApp::ReportSocketProblem()
{
    if (!m_inbound || !m_frame)
        return;
    const QString problem = m_inbound->SocketProblem();
    if (problem.isEmpty() || problem == m_socketProblemShown)
        return;
    m_socketProblemShown = problem;
    // Not modal: the idle check, which takes the connections up again, goes on meanwhile.
    auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Kelvaris"),
        tr("Kelvaris cannot answer the dispatch checks of the alarm server:\n%1").arg(problem),
        QMessageBox::Ok, m_frame.get());
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->show();
}

bool CKelvarisApp::IdleCheckHeldBack() const
{
    return QApplication::activeModalWidget() || (m_editors && m_editors->AnyEditorShown());
}

bool CKelvarisApp::RecheckFiles()
{
    return !m_exited && m_doc && m_doc->IdleCheck(false);
}

void CKelvarisApp::IdleCheck()
{
    if (m_exited)
        return;
    // The timers fire inside a dialog's event loop too; a reload there would replace the targets
    // the dialog is editing.
    if (IdleCheckHeldBack()) {
        if (!m_idleRetry.isActive())
            m_idleRetry.start();
        return;
    }
    m_idleRetry.stop();
    if (m_doc)
        m_fileRecheck.Arm(m_doc->IdleCheck());
}

void CKelvarisApp::ApplyStoredLanguage(const CProfile& profile)
{
    m_languageIndex = profile.ReadInt(kSettings, kLanguageKey, 0);
    // Index 0 is German, but a stored 0 is also what every configuration holds before anyone chose a
    // language: then the system's language is in effect. A choice made with the Language command
    // is marked, so that German chosen there stays German.
    m_languageApplied = m_languageIndex != 0 || profile.ReadInt(kSettings, kLanguageChosenKey, 0) != 0;
    ApplyLanguage(m_languageApplied ? m_languageIndex : -1);
}

int CKelvarisApp::ShownLanguage() const
{
    return m_languageApplied ? m_languageIndex : SystemLanguage();
}

void CKelvarisApp::OnLanguage()
{
    const int shown = ShownLanguage();
    int chosen = shown;
    if (m_chooseLanguage) {
        chosen = m_chooseLanguage(shown);
    } else {
        CLanguageDialog dialog(shown, m_frame.get());
        if (dialog.exec() != QDialog::Accepted)
            return;
        chosen = dialog.SelectedIndex();
    }
    if (chosen == shown)
        return;
    m_languageApplied = true;
    m_languageIndex = chosen;
    CProfile profile(m_configPath);
    const bool written = profile.WriteString(kSettings, kLanguageKey, QString::number(chosen))
        && profile.WriteString(kSettings, kLanguageChosenKey, QStringLiteral("1"));
    if (written)
        ConfigLocation().RecordFileTime();
    else
        qCWarning(lcApp) << "the chosen language could not be stored in" << m_configPath;
    ApplyLanguage(chosen);
    if (m_frame)
        m_frame->View().OnUpdate(CDocObserver::HINT_PLAN);
}

void CKelvarisApp::OnPassword()
{
    // What the password is before, to tell a cancelled command from a change that could not be stored.
    const auto state = [this] {
        const CKelvarisRights* rights = m_rights.Rights();
        return rights ? std::make_tuple(true, rights->Flags(), rights->Password())
                      : std::make_tuple(false, quint32(0), QString());
    };
    const auto before = state();
    CProfile profile(m_configPath);
    if (RunPasswordCommand(m_rights, profile, m_frame.get()) || state() == before)
        return;
    QMessageBox::warning(m_frame.get(), QStringLiteral("Kelvaris"),
        QCoreApplication::translate("CKelvarisApp",
            "The password could not be stored in the configuration file.\n"
            "It protects the program until it ends."));
}

void CKelvarisApp::OnAbout()
{
    CAboutDialog dialog(m_frame.get());
    dialog.exec();
}

void CKelvarisApp::OnSystemInfo()
{
    CSystemInfoDialog dialog(ConfigurationPathText(m_configPath, m_masterPath), m_frame.get());
    dialog.exec();
}

void CKelvarisApp::OnFileNew()
{
    if (m_doc)
        m_doc->Initialise();
    if (m_frame)
        m_frame->View().OnUpdate(CDocObserver::HINT_STATE | CDocObserver::HINT_PLAN);
}

void CKelvarisApp::OnFileOpen()
{
    const QString path = QFileDialog::getOpenFileName(m_frame.get(), QString(), QString(),
        QCoreApplication::translate("CKelvarisApp", "Dispatch plans (*.tim);;All Files (*)"));
    if (path.isEmpty() || !m_doc)
        return;
    m_doc->Open(path);
    if (m_frame)
        m_frame->View().OnUpdate(CDocObserver::HINT_STATE | CDocObserver::HINT_PLAN);
}

void CKelvarisApp::OnPlanEntry(const QString& targetName)
{
    // The document checks the right, brings an open planning dialog to the front instead of a
    // second one, and refreshes the plan afterwards.
    if (m_doc)
        m_doc->PlanOfTarget(targetName);
}
