#pragma once

#include <functional>
#include <memory>

#include <QMainWindow>
#include <QTimer>

#include "inbound/TimeDDEServer.h"

class QAction;
class QLabel;
class QMenu;
class QSystemTrayIcon;
class QToolBar;
class CKelvarisDoc;
class CLockKeyReader;
class CKelvarisView;
class CRightsCheck;
class CValuePublisher;

// The main window "Kelvaris": fixed size, minimise but no maximise; the menus File, Setup, View and
// Help with their accelerators, the toolbar, the status bar and the view. Document commands go to
// the document; the application's own commands (Language, Password, About, System information, New,
// Open) are signalled to the application object.
class CMainFrame : public QMainWindow, public CMainWindowActivator
{
    Q_OBJECT

public:
    CMainFrame(
        CKelvarisDoc& doc, CRightsCheck& rights, CValuePublisher* publisher, QWidget* parent = nullptr);
    ~CMainFrame() override;

    CKelvarisView& View() const { return *m_view; }

    // Restores the window (from minimised or hidden), centres it on its screen, raises it and gives
    // it the focus; an open dialog is brought to the front too. Always true.
    bool ActivateMainWindow() override;
    // The same without centring: a second start of the program asks for this.
    void ShowFromElsewhere();
    // The first show of a program started minimised, in a way the window manager honours.
    void ShowMinimisedAtStart();

    // A warning for the operator: a logbook line, and the status bar's message pane shows it until
    // the next one.
    void ShowWarning(const QString& text);
    QString StatusMessage() const;

    // The actions, for the tests and the application ("File/Activate" ...).
    QAction* Action(const QString& key) const;

    // Whether a system tray can take the hidden window's icon (QSystemTrayIcon's answer unless a
    // test sets another). Without one, hiding the window would leave no way back to it.
    void SetTrayAvailability(std::function<bool()> available) { m_trayAvailable = std::move(available); }

    // The status bar's lock indicators "CAP", "NUM" and "SCRL" (null when this window has none):
    // shown where the windowing system reports the lock keys' state (X11 with XKB), blank while a
    // lock is off.
    enum ELockKey { CapsLock, NumLock, ScrollLock };
    const QLabel* LockIndicator(ELockKey key) const { return m_lockLabels[key]; }

Q_SIGNALS:
    void LanguageRequested();
    void PasswordRequested();
    void AboutRequested();
    void SystemInfoRequested();
    void NewRequested();
    void OpenRequested();
    // The window closed with on-close action 0: the program ends.
    void QuitRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateActions();
    void CreateMenus();
    void Retranslate();
    void UpdateActions();
    // "Journal not written since ..." while the edit journal cannot be written.
    void ShowJournalNote();
    void ShowTrayIcon();
    void HideOrMinimise();
    void CreateLockIndicators();
    void UpdateLockIndicators();
    void HideTrayIcon();
    void BringToFront();
    QAction* AddAction(const char* key);
    void ExitProgram();

    CKelvarisDoc& m_doc;
    CRightsCheck& m_rights;
    CKelvarisView* m_view = nullptr;
    QSystemTrayIcon* m_tray = nullptr;
    QMenu* m_trayMenu = nullptr;
    QAction* m_trayShow = nullptr;
    QToolBar* m_toolBar = nullptr;
    QMenu* m_menus[4] = {};
    QLabel* m_readyLabel = nullptr;
    QLabel* m_journalLabel = nullptr; // shown while the edit journal cannot be written
    QString m_lastWarning; // shown in the message pane instead of "Ready"
    bool m_quitting = false;
    std::function<bool()> m_trayAvailable;
    bool m_toldNoTray = false; // the operator was told once that hiding minimises
    std::unique_ptr<CLockKeyReader> m_lockKeys; // null where the lock state is not reported
    QLabel* m_lockLabels[3] = {};
    QTimer m_lockTimer;
    bool m_lockUpdatePending = false;
};
