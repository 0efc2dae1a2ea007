#include "app/MainFrame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDialog>
#include <QLabel>
#include <QLayout>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QToolBar>

#include "app/KelvarisView.h"
#include "editors/HistoryDialog.h"
#include "engine/KelvarisDoc.h"
#include "engine/Password.h"
#include "journal/Journal.h"
#include "schedule/ConfigLocation.h"
#include "schedule/SiteClock.h"

#ifdef KELVARIS_HAVE_XKB
#include <cstdlib>
#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>
// The header names a member "explicit", a keyword of C++.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit
#endif

// Reads the state of the lock keys from the X server's keyboard extension, over the connection
// that Qt uses, by the indicators' names ("Caps Lock" ...): their positions depend on the keymap.
class CLockKeyReader
{
public:
    // Null where the windowing system does not report the lock keys: offscreen, Wayland, an X
    // server without the keyboard extension or a build without its library.
    static std::unique_ptr<CLockKeyReader> ForThisPlatform();

    // Whether the keymap has the indicator of that key (CMainFrame::ELockKey).
    bool Knows(int key) const { return m_index[key] >= 0; }
    // The lock keys that are on, one bit per CMainFrame::ELockKey; 0 when the server did not answer.
    unsigned Read() const;

private:
#ifdef KELVARIS_HAVE_XKB
    xcb_connection_t* m_connection = nullptr;
#endif
    int m_index[3] = { -1, -1, -1 };
};

#ifdef KELVARIS_HAVE_XKB
namespace {
template <typename T>
using CXcbReply = std::unique_ptr<T, decltype(&std::free)>;
template <typename T>
CXcbReply<T> Reply(T* reply)
{
    return CXcbReply<T>(reply, &std::free);
}
} // namespace

std::unique_ptr<CLockKeyReader> CLockKeyReader::ForThisPlatform()
{
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return nullptr;
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection, &xcb_xkb_id);
    if (!extension || !extension->present)
        return nullptr;
    const auto use = Reply(xcb_xkb_use_extension_reply(connection,
        xcb_xkb_use_extension(connection, XCB_XKB_MAJOR_VERSION, XCB_XKB_MINOR_VERSION), nullptr));
    if (!use || !use->supported)
        return nullptr;

    auto reader = std::make_unique<CLockKeyReader>();
    reader->m_connection = connection;
    static const char* const kNames[3] = { "Caps Lock", "Num Lock", "Scroll Lock" };
    bool any = false;
    for (int key = 0; key < 3; ++key) {
        const auto atom = Reply(xcb_intern_atom_reply(connection,
            xcb_intern_atom(connection, 1, uint16_t(qstrlen(kNames[key])), kNames[key]), nullptr));
        if (!atom || atom->atom == XCB_ATOM_NONE)
            continue;
        const auto named = Reply(xcb_xkb_get_named_indicator_reply(connection,
            xcb_xkb_get_named_indicator(connection, XCB_XKB_ID_USE_CORE_KBD, XCB_XKB_LED_CLASS_DFLT_XI_CLASS,
                XCB_XKB_ID_DFLT_XI_ID, atom->atom),
            nullptr));
        if (named && named->found && named->ndx < 32) {
            reader->m_index[key] = named->ndx;
            any = true;
        }
    }
    return any ? std::move(reader) : nullptr;
}

unsigned CLockKeyReader::Read() const
{
    const auto reply = Reply(xcb_xkb_get_indicator_state_reply(
        m_connection, xcb_xkb_get_indicator_state(m_connection, XCB_XKB_ID_USE_CORE_KBD), nullptr));
    if (!reply)
        return 0;
    unsigned on = 0;
    for (int key = 0; key < 3; ++key) {
        if (m_index[key] >= 0 && (reply->state >> m_index[key]) & 1u)
            on |= 1u << key;
    }
    return on;
}
#else
std::unique_ptr<CLockKeyReader> CLockKeyReader::ForThisPlatform()
{
    return nullptr;
}

unsigned CLockKeyReader::Read() const
{
    return 0;
}
#endif

// The icons live in the program's static library: their resource is registered by hand.
static void InitIconResources()
{
    Q_INIT_RESOURCE(icons);
}

namespace {

constexpr const char* kContext = "CMainFrame";

// One command of the window: its object name, its menu text (the part after a tab is the
// shortcut shown), its status tip, its icon and its key.
struct CActionInfo
{
    const char* m_key;
    const char* m_text;
    const char* m_statusTip;
    const char* m_icon; // file in :/icons, or null
    const char* m_shortcut; // portable key text, or null
    bool m_checkable;
};

const CActionInfo kActions[] = {
    { "actionActivate", QT_TRANSLATE_NOOP("CMainFrame", "&Activate\tCtrl+A"),
        QT_TRANSLATE_NOOP(
            "CMainFrame", "Activate the schedule: the alarm server is told the current shift and barrier"),
        "activate.svg", "Ctrl+A", false },
    { "actionDeactivate", QT_TRANSLATE_NOOP("CMainFrame", "&Deactivate\tCtrl+D"),
        QT_TRANSLATE_NOOP("CMainFrame", "Deactivate the schedule: no shift and no barrier apply"),
        "deactivate.svg", "Ctrl+D", false },
    { "actionAutoActivate", QT_TRANSLATE_NOOP("CMainFrame", "Activate a&utomatically"),
        QT_TRANSLATE_NOOP("CMainFrame", "Activate the schedule whenever the program starts"), nullptr,
        nullptr, true },
    { "actionSaveLogfile", QT_TRANSLATE_NOOP("CMainFrame", "&Save logfile..."),
        QT_TRANSLATE_NOOP("CMainFrame", "Save the logbook in a text file"), "savelog.svg", nullptr, false },
    { "actionExit", QT_TRANSLATE_NOOP("CMainFrame", "&Exit"),
        QT_TRANSLATE_NOOP("CMainFrame", "Quit the program"), "exit.svg", nullptr, false },
    { "actionGeneralSetup", QT_TRANSLATE_NOOP("CMainFrame", "&General Setup..."),
        QT_TRANSLATE_NOOP(
            "CMainFrame", "Edit the working days, the working time and what closing the window does"),
        "setup.svg", nullptr, false },
    { "actionTakeoverMessages", QT_TRANSLATE_NOOP("CMainFrame", "Takeover &messages..."),
        QT_TRANSLATE_NOOP("CMainFrame", "Edit the texts of the takeover messages"), "messages.svg", nullptr,
        false },
    { "actionNotices", QT_TRANSLATE_NOOP("CMainFrame", "Duty &notices..."),
        QT_TRANSLATE_NOOP("CMainFrame", "Choose when people are paged about their duty, and the texts"),
        nullptr, nullptr, false },
    { "actionLanguage", QT_TRANSLATE_NOOP("CMainFrame", "&Language..."),
        QT_TRANSLATE_NOOP("CMainFrame", "Choose the language of the program"), "language.svg", nullptr,
        false },
    { "actionPlanOfAction", QT_TRANSLATE_NOOP("CMainFrame", "&Plan of action...\tCtrl+E"),
        QT_TRANSLATE_NOOP("CMainFrame", "Plan when the receivers and groups are on duty"), "plan.svg",
        "Ctrl+E", false },
    { "actionShifts", QT_TRANSLATE_NOOP("CMainFrame", "&Shifts...\tCtrl+S"),
        QT_TRANSLATE_NOOP("CMainFrame", "Edit the shifts"), "shifts.svg", "Ctrl+S", false },
    { "actionBarriers", QT_TRANSLATE_NOOP("CMainFrame", "&Barriers/Pauses...\tCtrl+P"),
        QT_TRANSLATE_NOOP("CMainFrame", "Edit the barriers and pauses"), "barriers.svg", "Ctrl+P", false },
    { "actionHolidays", QT_TRANSLATE_NOOP("CMainFrame", "&Holidays...\tCtrl+F"),
        QT_TRANSLATE_NOOP("CMainFrame", "Edit the holidays"), "holidays.svg", "Ctrl+F", false },
    { "actionHistory", QT_TRANSLATE_NOOP("CMainFrame", "H&istory..."),
        QT_TRANSLATE_NOOP("CMainFrame", "Show who changed the plans and settings, and when"), nullptr,
        nullptr, false },
    { "actionPassword", QT_TRANSLATE_NOOP("CMainFrame", "&Password..."),
        QT_TRANSLATE_NOOP("CMainFrame", "Set or change the password that protects the commands"),
        "password.svg", nullptr, false },
    { "actionToolbar", QT_TRANSLATE_NOOP("CMainFrame", "&Toolbar"),
        QT_TRANSLATE_NOOP("CMainFrame", "Show or hide the toolbar"), nullptr, nullptr, true },
    { "actionStatusbar", QT_TRANSLATE_NOOP("CMainFrame", "&Statusbar"),
        QT_TRANSLATE_NOOP("CMainFrame", "Show or hide the status bar"), nullptr, nullptr, true },
    { "actionSystemInfo", QT_TRANSLATE_NOOP("CMainFrame", "&System information..."),
        QT_TRANSLATE_NOOP("CMainFrame", "Show information about the system and the configuration files"),
        "sysinfo.svg", nullptr, false },
    { "actionAbout", QT_TRANSLATE_NOOP("CMainFrame", "&About Kelvaris..."),
        QT_TRANSLATE_NOOP("CMainFrame", "Show the program's version and copyright"), "about.svg", nullptr,
        false },
    // Keys of the window without a menu entry.
    { "actionNew", QT_TRANSLATE_NOOP("CMainFrame", "New"),
        QT_TRANSLATE_NOOP("CMainFrame", "Start again from the configuration file"), nullptr, "Ctrl+N",
        false },
    { "actionOpen", QT_TRANSLATE_NOOP("CMainFrame", "Open"),
        QT_TRANSLATE_NOOP("CMainFrame", "Open a dispatch plan"), nullptr, "Ctrl+O", false },
};

// The menus: title and the object names of their entries (null: a separator).
struct CMenuInfo
{
    const char* m_title;
    std::initializer_list<const char*> m_entries;
};

const CMenuInfo kMenus[] = {
    { QT_TRANSLATE_NOOP("CMainFrame", "&File"),
        { "actionActivate", "actionDeactivate", "actionAutoActivate", nullptr, "actionSaveLogfile", nullptr,
            "actionExit" } },
    { QT_TRANSLATE_NOOP("CMainFrame", "&Setup"),
        { "actionGeneralSetup", "actionTakeoverMessages", "actionNotices", "actionLanguage", nullptr,
            "actionPlanOfAction", "actionShifts", "actionBarriers", "actionHolidays", nullptr,
            "actionHistory", "actionPassword" } },
    { QT_TRANSLATE_NOOP("CMainFrame", "&View"), { "actionToolbar", "actionStatusbar" } },
    { QT_TRANSLATE_NOOP("CMainFrame", "&Help"), { "actionSystemInfo", "actionAbout" } },
};

const std::initializer_list<const char*> kToolBar
    = { "actionActivate", "actionDeactivate", nullptr, "actionPlanOfAction", "actionShifts", "actionBarriers",
          "actionHolidays", nullptr, "actionLanguage", "actionAbout" };

QString Translate(const char* text)
{
    return QCoreApplication::translate(kContext, text);
}

// A menu text without its mnemonics, its shown shortcut and a trailing "...": "Barriers/Pauses".
QString PlainText(QString text)
{
    if (const qsizetype tab = text.indexOf(u'\t'); tab >= 0)
        text.truncate(tab);
    text.remove(QStringLiteral("..."));
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(u'&');
    text.replace(u'\x01', u'&');
    return text.trimmed();
}

} // namespace

CMainFrame::CMainFrame(CKelvarisDoc& doc, CRightsCheck& rights, CValuePublisher* publisher, QWidget* parent)
    : QMainWindow(parent)
    , m_doc(doc)
    , m_rights(rights)
{
    InitIconResources();
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
        | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("Kelvaris"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/kelvaris.svg")));
    setContextMenuPolicy(Qt::NoContextMenu);

    m_view = new CKelvarisView(doc, rights, publisher, this);
    setCentralWidget(m_view);

    CreateActions();
    CreateMenus();

    // A window of fixed size has nothing to resize.
    statusBar()->setSizeGripEnabled(false);
    m_readyLabel = new QLabel(statusBar());
    statusBar()->addWidget(m_readyLabel, 1);
    m_journalLabel = new QLabel(statusBar());
    m_journalLabel->setObjectName(QStringLiteral("journalNote"));
    m_journalLabel->setVisible(false);
    statusBar()->addPermanentWidget(m_journalLabel);
    CreateLockIndicators();
    m_trayAvailable = [] { return QSystemTrayIcon::isSystemTrayAvailable(); };

    connect(m_view, &CKelvarisView::Updated, this, &CMainFrame::UpdateActions);
    // The session or the application ends: the window does not hold it up.
    connect(
        QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, [this] { m_quitting = true; });

    Retranslate();
    UpdateActions();
    // A fixed window: the layout gives it the size its content asks for.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

CMainFrame::~CMainFrame()
{
    delete m_trayMenu;
}

void CMainFrame::CreateLockIndicators()
{
    // The texts are the keys' own abbreviations, the same in every language.
    static const char* const kTexts[3] = { "CAP", "NUM", "SCRL" };
    static const char* const kNames[3] = { "capsLockIndicator", "numLockIndicator", "scrollLockIndicator" };
    m_lockKeys = CLockKeyReader::ForThisPlatform();
    for (int key = 0; key < 3; ++key) {
        auto* label = new QLabel(statusBar());
        label->setObjectName(QString::fromLatin1(kNames[key]));
        label->setAlignment(Qt::AlignCenter);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        // A lock that is off leaves its pane blank but keeps its room.
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QString::fromLatin1(kTexts[key]))
            + 4 * label->frameWidth() + 8);
        label->setProperty("lockText", QString::fromLatin1(kTexts[key]));
        statusBar()->addPermanentWidget(label);
        label->setVisible(m_lockKeys && m_lockKeys->Knows(key));
        m_lockLabels[key] = label;
    }
    if (!m_lockKeys)
        return;
    // The keys this program sees change the state at once; those pressed in other programs show
    // within a second.
    qApp->installEventFilter(this);
    m_lockTimer.setInterval(1000);
    connect(&m_lockTimer, &QTimer::timeout, this, &CMainFrame::UpdateLockIndicators);
    m_lockTimer.start();
    UpdateLockIndicators();
}

void CMainFrame::UpdateLockIndicators()
{
    if (!m_lockKeys)
        return;
    const unsigned on = m_lockKeys->Read();
    for (int key = 0; key < 3; ++key) {
        QLabel* label = m_lockLabels[key];
        const QString text = on & (1u << key) ? label->property("lockText").toString() : QString();
        if (label->text() != text)
            label->setText(text);
    }
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event)
{
    // Key events reach the application once per widget they pass: the update waits for the event
    // loop, so that one key is read once.
    if ((event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) && m_lockKeys
        && !m_lockUpdatePending) {
        m_lockUpdatePending = true;
        QTimer::singleShot(0, this, [this] {
            m_lockUpdatePending = false;
            UpdateLockIndicators();
        });
    }
    return QMainWindow::eventFilter(watched, event);
}

QAction* CMainFrame::AddAction(const char* key)
{
    for (const CActionInfo& info : kActions) {
        if (qstrcmp(info.m_key, key) != 0)
            continue;
        auto* action = new QAction(this);
        action->setObjectName(QString::fromLatin1(info.m_key));
        if (info.m_icon)
            action->setIcon(QIcon(QStringLiteral(":/icons/") + QString::fromLatin1(info.m_icon)));
        if (info.m_shortcut)
            action->setShortcut(QKeySequence(QString::fromLatin1(info.m_shortcut)));
        action->setCheckable(info.m_checkable);
        return action;
    }
    Q_ASSERT_X(false, "CMainFrame::AddAction", key);
    return nullptr;
}

void CMainFrame::CreateActions()
{
    for (const CActionInfo& info : kActions)
        AddAction(info.m_key);

    // The document's commands; the state of Activate/Deactivate follows every command.
    auto onTrigger = [this](const char* key, auto&& command) {
        connect(Action(QString::fromLatin1(key)), &QAction::triggered, this, [this, command] {
            command();
            UpdateActions();
        });
    };
    onTrigger("actionActivate", [this] { m_doc.Activate(); });
    onTrigger("actionDeactivate", [this] { m_doc.Deactivate(); });
    onTrigger("actionAutoActivate", [this] { m_doc.ToggleAutoActivate(); });
    onTrigger("actionSaveLogfile", [this] { m_view->SaveLogfile(); });
    onTrigger("actionExit", [this] { ExitProgram(); });
    onTrigger("actionGeneralSetup", [this] { m_doc.GeneralSetup(); });
    onTrigger("actionTakeoverMessages", [this] { m_doc.TakeoverMessages(); });
    onTrigger("actionNotices", [this] { m_doc.NoticeSetup(); });
    onTrigger("actionPlanOfAction", [this] { m_doc.PlanOfAction(); });
    onTrigger("actionShifts", [this] { m_doc.EditShifts(); });
    onTrigger("actionBarriers", [this] { m_doc.EditBarriers(); });
    onTrigger("actionHolidays", [this] { m_doc.EditHolidays(); });
    onTrigger("actionHistory", [this] {
        CHistoryDialog dialog(CJournal::PathIn(ConfigLocation().ConfigFolder()), this);
        dialog.exec();
    });

    // The application's commands.
    connect(
        Action(QStringLiteral("actionLanguage")), &QAction::triggered, this, &CMainFrame::LanguageRequested);
    connect(
        Action(QStringLiteral("actionPassword")), &QAction::triggered, this, &CMainFrame::PasswordRequested);
    connect(Action(QStringLiteral("actionAbout")), &QAction::triggered, this, &CMainFrame::AboutRequested);
    connect(Action(QStringLiteral("actionSystemInfo")), &QAction::triggered, this,
        &CMainFrame::SystemInfoRequested);
    connect(Action(QStringLiteral("actionNew")), &QAction::triggered, this, &CMainFrame::NewRequested);
    connect(Action(QStringLiteral("actionOpen")), &QAction::triggered, this, &CMainFrame::OpenRequested);
    addAction(Action(QStringLiteral("actionNew")));
    addAction(Action(QStringLiteral("actionOpen")));
}

void CMainFrame::CreateMenus()
{
    for (int i = 0; i < 4; ++i) {
        m_menus[i] = menuBar()->addMenu(QString());
        for (const char* key : kMenus[i].m_entries) {
            if (key)
                m_menus[i]->addAction(Action(QString::fromLatin1(key)));
            else
                m_menus[i]->addSeparator();
        }
    }

    m_toolBar = addToolBar(QString());
    m_toolBar->setObjectName(QStringLiteral("mainToolBar"));
    m_toolBar->setMovable(true);
    // Floating would change the fixed window's size under the operator's hands.
    m_toolBar->setFloatable(false);
    m_toolBar->setIconSize(QSize(24, 24));
    for (const char* key : kToolBar) {
        if (key)
            m_toolBar->addAction(Action(QString::fromLatin1(key)));
        else
            m_toolBar->addSeparator();
    }

    QAction* toolbar = Action(QStringLiteral("actionToolbar"));
    toolbar->setChecked(true);
    connect(toolbar, &QAction::toggled, m_toolBar, &QToolBar::setVisible);
    connect(m_toolBar, &QToolBar::visibilityChanged, toolbar, [this, toolbar](bool visible) {
        // A minimised or hidden window hides its toolbar too; only the operator's choice counts.
        if (isVisible() && !isMinimized())
            toolbar->setChecked(visible);
    });
    QAction* statusbar = Action(QStringLiteral("actionStatusbar"));
    statusbar->setChecked(true);
    connect(statusbar, &QAction::toggled, statusBar(), &QStatusBar::setVisible);
}

QAction* CMainFrame::Action(const QString& key) const
{
    if (auto* action = findChild<QAction*>(key, Qt::FindDirectChildrenOnly))
        return action;
    // "File/Activate": a menu and an entry by their texts without mnemonics and dots.
    const qsizetype slash = key.indexOf(u'/');
    if (slash < 0)
        return nullptr;
    const QString menuText = key.left(slash);
    const QString entryText = key.mid(slash + 1);
    for (QMenu* menu : m_menus) {
        if (!menu || PlainText(menu->title()).compare(menuText, Qt::CaseInsensitive) != 0)
            continue;
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator()
                && PlainText(action->text()).compare(entryText, Qt::CaseInsensitive) == 0)
                return action;
        }
    }
    return nullptr;
}

void CMainFrame::Retranslate()
{
    for (const CActionInfo& info : kActions) {
        QAction* action = Action(QString::fromLatin1(info.m_key));
        QString text = Translate(info.m_text);
        // The shortcut shown beside the text is the action's own, in the user's language
        // (QKeySequence::NativeText, "Strg+E" in German): the texts' "\tCtrl+E" is left out.
        if (const qsizetype tab = text.indexOf(u'\t'); tab >= 0 && !action->shortcut().isEmpty())
            text.truncate(tab);
        action->setText(text);
        action->setToolTip(PlainText(text));
        action->setStatusTip(Translate(info.m_statusTip));
    }
    for (int i = 0; i < 4; ++i)
        m_menus[i]->setTitle(Translate(kMenus[i].m_title));
    m_toolBar->setWindowTitle(tr("Toolbar"));
    m_readyLabel->setText(m_lastWarning.isEmpty() ? tr("Ready") : m_lastWarning);
    ShowJournalNote();
    if (m_trayShow)
        m_trayShow->setText(tr("&Show Kelvaris"));
    setWindowTitle(QStringLiteral("Kelvaris"));
}

void CMainFrame::ShowWarning(const QString& text)
{
    m_view->AddWarningLine(text);
    m_lastWarning = text;
    m_readyLabel->setText(text);
    m_readyLabel->setToolTip(text);
}

QString CMainFrame::StatusMessage() const
{
    return m_readyLabel->text();
}

void CMainFrame::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        Retranslate();
    QMainWindow::changeEvent(event);
}

void CMainFrame::UpdateActions()
{
    const bool active = m_doc.IsActive();
    Action(QStringLiteral("actionActivate"))->setEnabled(!active);
    Action(QStringLiteral("actionDeactivate"))->setEnabled(active);
    Action(QStringLiteral("actionAutoActivate"))->setChecked(m_doc.m_autoActivate);
    ShowJournalNote();
}

void CMainFrame::ShowJournalNote()
{
    const qint64 failing = m_doc.JournalFailingSinceMs();
    m_journalLabel->setVisible(failing != 0);
    if (failing == 0)
        return;
    const QDateTime since = QDateTime::fromMSecsSinceEpoch(failing, SiteClockZone());
    m_journalLabel->setText(
        tr("Journal not written since %1").arg(QLocale().toString(since.time(), QLocale::ShortFormat)));
    m_journalLabel->setToolTip(tr("The edit journal cannot be written since %1. The changes are kept and "
                                  "written as soon as it can be again.")
                                   .arg(QLocale().toString(since, QLocale::ShortFormat)));
}

void CMainFrame::ExitProgram()
{
    // Exit always ends the program, whatever closing the window does otherwise; when the close is
    // refused (password) the window keeps its usual behaviour.
    const int onClose = m_doc.m_onClose;
    m_doc.m_onClose = 0;
    if (!close())
        m_doc.m_onClose = onClose;
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (m_quitting) {
        event->accept();
        return;
    }
    if (!m_rights.Check(RIGHT_EXIT)) {
        event->ignore();
        return;
    }
    switch (m_doc.m_onClose) {
    case 1:
        event->ignore();
        HideOrMinimise();
        return;
    case 2:
        event->ignore();
        showMinimized();
        return;
    default:
        event->accept();
        m_quitting = true;
        Q_EMIT QuitRequested();
        return;
    }
}

void CMainFrame::HideOrMinimise()
{
    if (m_trayAvailable && m_trayAvailable()) {
        hide();
        ShowTrayIcon();
        return;
    }
    // Without a tray a hidden window leaves nothing on the screen to bring it back by: the window
    // goes to the task bar instead, and the operator is told why, once.
    showMinimized();
    if (!m_toldNoTray) {
        m_toldNoTray = true;
        ShowWarning(tr("There is no system tray to hide the window in: it is minimized instead"));
    }
}

void CMainFrame::ShowTrayIcon()
{
    if (!m_tray) {
        m_tray = new QSystemTrayIcon(windowIcon(), this);
        // A menu without a parent: a popup of its own, deleted with the window.
        m_trayMenu = new QMenu();
        m_trayShow = m_trayMenu->addAction(windowIcon(), tr("&Show Kelvaris"));
        connect(m_trayShow, &QAction::triggered, this, &CMainFrame::ShowFromElsewhere);
        m_tray->setContextMenu(m_trayMenu);
        connect(m_tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
            if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
                ShowFromElsewhere();
        });
    }
    m_tray->setToolTip(QStringLiteral("Kelvaris"));
    m_tray->show();
}

void CMainFrame::HideTrayIcon()
{
    if (m_tray)
        m_tray->hide();
}

void CMainFrame::BringToFront()
{
    HideTrayIcon();
    raise();
    activateWindow();
    // Editors open beside the window (automation setup commands) come along; a modal dialog last,
    // on top of them all.
    for (QDialog* dialog : findChildren<QDialog*>(Qt::FindDirectChildrenOnly)) {
        if (dialog->isVisible())
            dialog->raise();
    }
    if (QWidget* modal = QApplication::activeModalWidget()) {
        modal->raise();
        modal->activateWindow();
    }
}

bool CMainFrame::ActivateMainWindow()
{
    showNormal();
    if (const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    BringToFront();
    return true;
}

void CMainFrame::ShowFromElsewhere()
{
    if (isMinimized())
        showNormal();
    else if (isHidden())
        show();
    BringToFront();
}

void CMainFrame::ShowMinimisedAtStart()
{
    // X11 window managers ignore a request to iconify a window that is not mapped yet, which is all
    // that showMinimized() on a fresh window sends: the window is mapped first, and the request
    // that follows at once (with the initial state in its hints) makes it an icon.
    show();
    setWindowState(windowState() | Qt::WindowMinimized);
}
