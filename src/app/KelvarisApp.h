#pragma once

#include <functional>
#include <memory>

#include <QObject>
#include <QString>
#include <QTimer>

#include "engine/Password.h"
#include "service/CommandLine.h"
#include "service/FileRecheck.h"

class CAppEditorHost;
class CProfile;
class CDialogPasswordPrompt;
class CKelvarisDoc;
class CKelvarisInbound;
class CMainFrame;
class CServerCommandFactory;
class CSingleInstance;
class CWarningForwarder;
class CWebServer;

// The application object of the desktop program: start-up, the idle check every 30 seconds, and the
// commands Language, Password, About, System information, New and Open.
class CKelvarisApp : public QObject
{
    Q_OBJECT

public:
    // The server factory is owned by the caller and must outlive the application object; null
    // makes one for the alarm server named by the configuration file.
    explicit CKelvarisApp(CServerCommandFactory* server = nullptr, QObject* parent = nullptr);
    ~CKelvarisApp() override;

    // The start-up sequence: a running instance is asked to show itself (false: this process ends),
    // the configuration location, the document with the main window, the automation object and the
    // DDE values on the bus, the operator password, the stored language, and the window shown
    // (minimised when asked). False ends the process.
    bool InitInstance(const CTimeCommandLineInfo& commandLine);
    // Program end: the document closes (which deactivates the engine).
    int ExitInstance();

    // The commands.
    void OnLanguage();
    void OnPassword();
    void OnAbout();
    void OnSystemInfo();
    void OnFileNew();
    void OnFileOpen();
    // A double click in the plan of action: the planning dialog for the target (right 9).
    void OnPlanEntry(const QString& targetName);

    // The idle check: the configuration file's changes, the presence command. It waits while a
    // dialog of Kelvaris is open (a modal one, or an editor an automation command opened) and runs
    // as soon as the last one has closed: a reload must not change the targets under an editor.
    void IdleCheck();
    // Whether the idle check waits now.
    bool IdleCheckHeldBack() const;
    // The socket cannot be served: a message box with the reason (once per reason).
    void ReportSocketProblem();
    // The second look at a file that was being written at the idle check; true when another is due.
    bool RecheckFiles();

    // Replaces the language choice dialog (tests): gets the current index, returns the chosen one.
    void SetLanguageChooser(std::function<int(int)> chooser) { m_chooseLanguage = std::move(chooser); }

    // InitInstance() ended because a running instance showed itself.
    bool OtherInstanceShown() const { return m_otherInstance; }
    CMainFrame* MainFrame() const { return m_frame.get(); }
    CKelvarisDoc* Document() const { return m_doc.get(); }
    CAppEditorHost* Editors() const { return m_editors.get(); }
    CRightsCheck& Rights() { return m_rights; }
    int LanguageIndex() const { return m_languageIndex; }
    // The language showing: the stored one once applied, else the system's (SystemLanguage()).
    int ShownLanguage() const;
    const QString& ConfigPath() const { return m_configPath; }
    const QString& MasterPath() const { return m_masterPath; }

private:
    void ApplyStoredLanguage(const CProfile& profile);

    std::unique_ptr<CServerCommandFactory> m_ownServer;
    CServerCommandFactory* m_server = nullptr;
    std::unique_ptr<CDialogPasswordPrompt> m_prompt;
    CRightsCheck m_rights;
    std::unique_ptr<CAppEditorHost> m_editors;
    std::unique_ptr<CKelvarisDoc> m_doc;
    std::unique_ptr<CMainFrame> m_frame;
    std::unique_ptr<CKelvarisInbound> m_inbound;
    std::unique_ptr<CWebServer> m_web;
    std::unique_ptr<CSingleInstance> m_instance;
    std::unique_ptr<CWarningForwarder> m_warnings;
    QString m_socketProblemShown;
    QTimer m_idleTimer;
    // Looks whether a held-back idle check can run now.
    QTimer m_idleRetry;
    // A file being written at the idle check is looked at again shortly (not inside a dialog).
    CFileRecheck m_fileRecheck { [this] { return RecheckFiles(); }, [this] { return IdleCheckHeldBack(); } };
    QString m_configPath;
    QString m_masterPath;
    int m_languageIndex = 0;
    std::function<int(int)> m_chooseLanguage;
    bool m_exited = false;
    bool m_otherInstance = false;
    bool m_languageApplied = false; // the stored index's language is in effect, not the system's
};
