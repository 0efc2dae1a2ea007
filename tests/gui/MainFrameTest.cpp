#include "app/MainFrame.h"

#include <optional>
#include <tuple>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QTranslator>

#include "app/KelvarisView.h"
#include "app/Language.h"
#include "engine/Password.h"
#include "journal/Journal.h"
#include "schedule/DateType.h"
#include "schedule/Profile.h"

#include "ConfigLocationScope.h"
#include "fakes/FakeServerCommand.h"

namespace {

CDateTime g_now;
CDateTime Now()
{
    return g_now;
}

class CRefusingPrompt : public CPasswordPrompt
{
public:
    std::optional<QString> AskPassword() override { return std::nullopt; }
    void ShowWrongPassword() override { }
};

// Marks every text of the main window's context, so that a retranslation shows.
class CMarkingTranslator : public QTranslator
{
public:
    QString translate(const char* context, const char* source, const char*, int) const override
    {
        if (qstrcmp(context, "CMainFrame") == 0 || qstrcmp(context, "CKelvarisView") == 0)
            return QStringLiteral("#") + QString::fromUtf8(source);
        return QString();
    }
    bool isEmpty() const override { return false; }
};

// A configuration in a temporary data folder, Monday 4 March 2024 10:30: the shift Early (08:00
// to 16:00, number 3), the barrier Lunch break (10:00 to 11:00, priority 2) and three targets.
class CWorld
{
public:
    CWorld()
        : m_location(m_dir.filePath(QStringLiteral("kelvaris.cfg")))
    {
        g_now = CDateTime(2024, 3, 4, 10, 30, 5);
        SetCurrentTimeSource(&Now);
        CProfile profile(m_dir.filePath(QStringLiteral("kelvaris.cfg")));
        CShiftArray shifts;
        CShift shift(CDateTime(2024, 3, 4, 0, 0, 0));
        shift.m_name = QStringLiteral("Early");
        shift.m_dateType = DATETYPE_WORKINGDAY;
        shift.m_startTime = CDateTime::TimeOfDay(8, 0, 0);
        shift.m_endTime = CDateTime::TimeOfDay(16, 0, 0);
        shift.m_shiftNumber = 3;
        shifts.append(shift);
        shifts.SetModified();
        shifts.Save(profile);
        CBarrageArray barriers;
        CBarrage barrier;
        barrier.m_name = QStringLiteral("Lunch break");
        barrier.m_dateType = DATETYPE_WORKINGDAY;
        barrier.m_startTime = CDateTime::TimeOfDay(10, 0, 0);
        barrier.m_endTime = CDateTime::TimeOfDay(11, 0, 0);
        barrier.m_barrierType = BARRIER_DELETE;
        barrier.m_priority = 2;
        barriers.append(barrier);
        barriers.SetModified();
        barriers.Save(profile);

        m_server.SetReply(QStringLiteral("[GetValue(Setup.Targets)]"),
            QStringLiteral(
                "Anna Berger\tx\tx\tx\tx\r\nBert Lang\tx\tx\tx\tx\r\nService North\tx\tx\tx\tx\r\n"));
        AddTarget("Anna Berger", "1", "A1", "3381759");
        AddTarget("Bert Lang", "2", "B2", "16744448");
        AddTarget("Service North", "-3", "G40", "32768");
        WriteFile("A1.tim", "[Settings]\r\nName=Anna Berger\r\n20240304=08:00-16:00\r\n");
        WriteFile("B2.tim", "[Settings]\r\nName=Bert Lang\r\n20240304=06:00-12:00\r\n");
        WriteFile("G40.tim", "[Settings]\r\nName=Service North\r\nTakeover=1\r\nCurrentTargetID=A1\r\n");
        m_doc.emplace(m_server, m_rights);
        m_doc->Initialise();
    }
    ~CWorld()
    {
        m_doc.reset();
        SetCurrentTimeSource(nullptr);
    }

    void AddTarget(const char* name, const char* number, const char* id, const char* colour)
    {
        QStringList fields;
        for (int i = 1; i <= 17; ++i)
            fields.append(QStringLiteral("f%1").arg(i));
        fields[1] = QString::fromLatin1(number);
        fields[14] = QString::fromLatin1(id);
        fields[16] = QString::fromLatin1(colour);
        m_server.SetReply(
            QStringLiteral("[GetTarget3(%1)]").arg(QString::fromLatin1(name)), fields.join(u'\t'));
    }
    void WriteFile(const char* name, const QByteArray& content)
    {
        QFile file(m_dir.filePath(QString::fromLatin1(name)));
        if (file.open(QIODevice::WriteOnly))
            file.write(content);
    }

    QTemporaryDir m_dir;
    CConfigLocationScope m_location;
    CFakeServerCommandFactory m_server;
    CRightsCheck m_rights;
    std::optional<CKelvarisDoc> m_doc;
};

// The frame of a world, observing its document, started like the program starts it.
struct CFrame
{
    explicit CFrame(CWorld& world)
        : m_world(world)
        , m_frame(*world.m_doc, world.m_rights, nullptr)
    {
        world.m_doc->SetObserver(&m_frame.View());
        m_frame.View().InitialUpdate();
    }
    ~CFrame() { m_world.m_doc->SetObserver(nullptr); }
    CWorld& m_world;
    CMainFrame m_frame;
};

QStringList MenuTexts(const QMenu* menu)
{
    QStringList texts;
    for (const QAction* action : menu->actions())
        texts.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

} // namespace

// The main window in the language applied last, with a shift, a barrier, a few logbook lines and
// the plan of action, as "mainwindow-<code>.png" in $KELVARIS_SCREENSHOT_DIR (nothing when unset).
// Call it after ApplyLanguage(languageIndex).
bool SaveMainWindowScreenshot(int languageIndex)
{
    const QString folder = qEnvironmentVariable("KELVARIS_SCREENSHOT_DIR");
    if (folder.isEmpty())
        return false;
    static const char* const kCodes[] = { "de", "en", "fr", "it", "es", "nl", "tr", "ja", "ru", "zh" };
    const char* code = languageIndex >= 0 && languageIndex < 10 ? kCodes[languageIndex] : "en";
    CWorld world;
    CFrame frame(world);
    world.m_doc->Activate();
    world.m_doc->Cycle();
    frame.m_frame.show();
    if (!QTest::qWaitForWindowExposed(&frame.m_frame))
        return false;
    QDir().mkpath(folder);
    const QString path = QDir(folder).filePath(QStringLiteral("mainwindow-%1.png").arg(QLatin1String(code)));
    return frame.m_frame.grab().save(path);
}

class MainFrameTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void menusAndKeys()
    {
        CWorld world;
        CFrame frame(world);
        CMainFrame& window = frame.m_frame;
        QCOMPARE(window.windowTitle(), QStringLiteral("Kelvaris"));
        QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(window.windowFlags() & Qt::WindowMinimizeButtonHint);

        const QList<QAction*> menus = window.menuBar()->actions();
        QCOMPARE(menus.size(), 4);
        QStringList titles;
        for (const QAction* menu : menus)
            titles.append(menu->text());
        QCOMPARE(titles,
            QStringList({ QStringLiteral("&File"), QStringLiteral("&Setup"), QStringLiteral("&View"),
                QStringLiteral("&Help") }));
        QCOMPARE(MenuTexts(menus.at(0)->menu()),
            QStringList({ QStringLiteral("&Activate"), QStringLiteral("&Deactivate"),
                QStringLiteral("Activate a&utomatically"), QStringLiteral("-"),
                QStringLiteral("&Save logfile..."), QStringLiteral("-"), QStringLiteral("&Exit") }));
        QCOMPARE(MenuTexts(menus.at(1)->menu()),
            QStringList({ QStringLiteral("&General Setup..."), QStringLiteral("Takeover &messages..."),
                QStringLiteral("Duty &notices..."), QStringLiteral("&Language..."), QStringLiteral("-"),
                QStringLiteral("&Plan of action..."), QStringLiteral("&Shifts..."),
                QStringLiteral("&Barriers/Pauses..."), QStringLiteral("&Holidays..."), QStringLiteral("-"),
                QStringLiteral("H&istory..."), QStringLiteral("&Password...") }));

        QCOMPARE(window.Action(QStringLiteral("actionActivate"))->shortcut(),
            QKeySequence(QStringLiteral("Ctrl+A")));
        QCOMPARE(
            window.Action(QStringLiteral("File/Activate")), window.Action(QStringLiteral("actionActivate")));
        QCOMPARE(
            window.Action(QStringLiteral("actionNew"))->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
        // Every shortcut shown is the action's own (Qt shows it in the user's language): "Ctrl+E"
        // opens the plan of action.
        QCOMPARE(window.Action(QStringLiteral("actionPlanOfAction"))->shortcut(),
            QKeySequence(QStringLiteral("Ctrl+E")));
        for (const QAction* action : window.findChildren<QAction*>())
            QVERIFY2(!action->text().contains(u'\t'), qPrintable(action->objectName()));
        for (const QAction* action : window.findChildren<QAction*>(QString(), Qt::FindDirectChildrenOnly))
            QVERIFY2(!action->statusTip().isEmpty(), qPrintable(action->objectName()));

        const QToolBar* toolBar = window.findChild<QToolBar*>();
        QVERIFY(toolBar && toolBar->isMovable());
        QCOMPARE(toolBar->actions().size(), 10);
        QCOMPARE(toolBar->actions().at(3)->toolTip(), QStringLiteral("Plan of action"));
        QVERIFY(!toolBar->actions().at(3)->icon().isNull());

        QSignalSpy newRequested(&window, &CMainFrame::NewRequested);
        window.Action(QStringLiteral("actionNew"))->trigger();
        QCOMPARE(newRequested.count(), 1);
    }

    void activationFollowsTheEngine()
    {
        CWorld world;
        CFrame frame(world);
        CMainFrame& window = frame.m_frame;
        QAction* activate = window.Action(QStringLiteral("actionActivate"));
        QAction* deactivate = window.Action(QStringLiteral("actionDeactivate"));
        QVERIFY(activate->isEnabled());
        QVERIFY(!deactivate->isEnabled());
        activate->trigger();
        QVERIFY(world.m_doc->IsActive());
        QVERIFY(!activate->isEnabled());
        QVERIFY(deactivate->isEnabled());
        // A change the engine makes by itself reaches the commands through the view.
        world.m_doc->Deactivate();
        QVERIFY(activate->isEnabled());
        QVERIFY(!deactivate->isEnabled());

        QAction* automatic = window.Action(QStringLiteral("actionAutoActivate"));
        QVERIFY(!automatic->isChecked());
        automatic->trigger();
        QVERIFY(world.m_doc->m_autoActivate);
        QVERIFY(automatic->isChecked());
    }

    void closingHidesMinimisesOrQuits()
    {
        CWorld world;
        CFrame frame(world);
        CMainFrame& window = frame.m_frame;
        QSignalSpy quit(&window, &CMainFrame::QuitRequested);
        world.m_doc->Activate();

        world.m_doc->m_onClose = 1;
        window.SetTrayAvailability([] { return true; });
        window.show();
        QVERIFY(!window.close());
        QVERIFY(window.isHidden());
        QVERIFY(world.m_doc->IsActive());
        QCOMPARE(quit.count(), 0);

        world.m_doc->m_onClose = 2;
        window.show();
        QVERIFY(!window.close());
        QVERIFY(window.isMinimized());
        QVERIFY(window.ActivateMainWindow());
        QVERIFY(!window.isMinimized());
        QVERIFY(window.isVisible());

        // Exit protected and refused: the window stays and keeps its closing behaviour.
        CRefusingPrompt prompt;
        world.m_rights.SetPrompt(&prompt);
        world.m_rights.SetRights(std::make_unique<CKelvarisRights>());
        world.m_rights.Rights()->SetPassword(QStringLiteral("secret"));
        window.Action(QStringLiteral("actionExit"))->trigger();
        QVERIFY(window.isVisible());
        QCOMPARE(world.m_doc->m_onClose, 2);
        world.m_rights.ClearRights();
        world.m_rights.SetPrompt(nullptr);

        // Exit quits whatever closing the window does otherwise.
        window.Action(QStringLiteral("actionExit"))->trigger();
        QCOMPARE(quit.count(), 1);
        QVERIFY(!window.isVisible());
        QCOMPARE(world.m_doc->m_onClose, 0);
    }

    // Hiding without a tray would leave nothing to bring the window back by: it is minimised, and
    // the first time says why in the status bar and the logbook.
    void hidingWithoutATrayMinimisesAndSaysSoOnce()
    {
        CWorld world;
        CFrame frame(world);
        CMainFrame& window = frame.m_frame;
        world.m_doc->m_onClose = 1;
        window.SetTrayAvailability([] { return false; });
        window.show();
        const qsizetype lines = window.View().Logbook().size();
        QVERIFY(!window.close());
        QVERIFY(window.isVisible());
        QVERIFY(window.isMinimized());
        QVERIFY(window.StatusMessage().contains(QStringLiteral("minimized")));
        QCOMPARE(window.View().Logbook().size(), lines + 1);
        QCOMPARE(window.View().Logbook().first().m_event, window.StatusMessage());

        window.ShowFromElsewhere();
        QVERIFY(!window.isMinimized());
        QVERIFY(!window.close());
        QVERIFY(window.isMinimized());
        QCOMPARE(window.View().Logbook().size(), lines + 1);

        // A tray that turns up later takes the window as usual.
        window.ShowFromElsewhere();
        window.SetTrayAvailability([] { return true; });
        QVERIFY(!window.close());
        QVERIFY(window.isHidden());
    }

    // The lock indicators where the windowing system reports the keys: under X11 (run by
    // scripts/check-gui-indicators.sh) the keys pressed by xdotool show; elsewhere they are hidden.
    void lockIndicators()
    {
        CWorld world;
        CFrame frame(world);
        CMainFrame& window = frame.m_frame;
        const QLabel* caps = window.LockIndicator(CMainFrame::CapsLock);
        const QLabel* num = window.LockIndicator(CMainFrame::NumLock);
        QVERIFY(caps && num && window.LockIndicator(CMainFrame::ScrollLock));
        if (QGuiApplication::platformName() != QLatin1String("xcb")) {
            for (const auto key : { CMainFrame::CapsLock, CMainFrame::NumLock, CMainFrame::ScrollLock })
                QVERIFY(window.LockIndicator(key)->isHidden());
            return;
        }
        const QString xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
        if (xdotool.isEmpty())
            QSKIP("xdotool is not installed");
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(caps->isVisible() && num->isVisible());
        const int width = caps->width();
        for (const auto& [label, key, text] :
            { std::tuple(caps, "Caps_Lock", "CAP"), std::tuple(num, "Num_Lock", "NUM") }) {
            const QString before = label->text();
            QVERIFY(before.isEmpty() || before == QLatin1String(text));
            const QString after = before.isEmpty() ? QString::fromLatin1(text) : QString();
            QCOMPARE(QProcess::execute(xdotool, { QStringLiteral("key"), QString::fromLatin1(key) }), 0);
            QTRY_COMPARE(label->text(), after);
            QCOMPARE(QProcess::execute(xdotool, { QStringLiteral("key"), QString::fromLatin1(key) }), 0);
            QTRY_COMPARE(label->text(), before);
        }
        // Blank or not, the pane keeps its room.
        QCOMPARE(caps->width(), width);
        QVERIFY(width > caps->fontMetrics().horizontalAdvance(QStringLiteral("CAP")));
    }

    // While the edit journal cannot be written the status bar says since when; then it goes.
    void journalNoteWhileItCannotBeWritten()
    {
        CWorld world;
        const QString journal = CJournal::PathIn(world.m_dir.path());
        QVERIFY(QDir().mkpath(journal)); // a folder where the journal's file should be
        world.m_doc->EnableJournal(QStringLiteral("window"));
        CFrame frame(world);
        auto* note = frame.m_frame.findChild<QLabel*>(QStringLiteral("journalNote"));
        QVERIFY(note);
        world.m_doc->JournalConfig(QStringLiteral("General settings"));
        world.m_doc->IdleCheck(false);
        QVERIFY(!note->isHidden());
        QVERIFY2(
            note->text().startsWith(QStringLiteral("Journal not written since ")), qPrintable(note->text()));
        QVERIFY(QDir(journal).removeRecursively());
        world.m_doc->IdleCheck(false);
        QVERIFY(note->isHidden());
    }

    void activateMainWindowRestores()
    {
        CWorld world;
        CFrame frame(world);
        CMainFrame& window = frame.m_frame;
        window.showMinimized();
        QVERIFY(window.ActivateMainWindow());
        QVERIFY(!window.isMinimized());
        QVERIFY(window.isVisible());

        window.hide();
        window.ShowFromElsewhere();
        QVERIFY(window.isVisible());
        window.showMinimized();
        window.ShowFromElsewhere();
        QVERIFY(!window.isMinimized());
    }

    void languageChangeRetranslates()
    {
        CWorld world;
        CFrame frame(world);
        CMainFrame& window = frame.m_frame;
        CMarkingTranslator translator;
        QCoreApplication::installTranslator(&translator);
        QCoreApplication::processEvents();
        QCOMPARE(window.menuBar()->actions().at(0)->text(), QStringLiteral("#&File"));
        QCOMPARE(window.Action(QStringLiteral("actionShifts"))->text(), QStringLiteral("#&Shifts..."));
        QCOMPARE(window.Action(QStringLiteral("actionShifts"))->toolTip(), QStringLiteral("#Shifts"));
        QCOMPARE(window.windowTitle(), QStringLiteral("Kelvaris"));
        QStringList groups;
        for (const QGroupBox* group : window.View().findChildren<QGroupBox*>())
            groups.append(group->title());
        QVERIFY(groups.contains(QStringLiteral("#Current Barrier/Pause")));
        QCOMPARE(window.View().Texts().m_shiftName, QStringLiteral(" #Deactivated"));
        QCoreApplication::removeTranslator(&translator);
        QCoreApplication::processEvents();
        QCOMPARE(window.menuBar()->actions().at(0)->text(), QStringLiteral("&File"));
    }

    void fixedSizeAndScreenshot()
    {
        CWorld world;
        CFrame frame(world);
        frame.m_frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame.m_frame));
        const QSize size = frame.m_frame.size();
        QCOMPARE(frame.m_frame.minimumSize(), size);
        QCOMPARE(frame.m_frame.maximumSize(), size);
        QVERIFY(size.width() >= 700 && size.height() >= 450);
        frame.m_frame.hide();
    }

    // The window in English and in German; the German one shows the shipped translation.
    void screenshotsInEnglishAndGerman()
    {
        QVERIFY(ApplyLanguage(0));
        {
            CWorld world;
            CFrame frame(world);
            QCOMPARE(frame.m_frame.menuBar()->actions().at(0)->text(), QStringLiteral("&Datei"));
        }
        const bool german = SaveMainWindowScreenshot(0);
        QVERIFY(ApplyLanguage(1));
        if (qEnvironmentVariableIsEmpty("KELVARIS_SCREENSHOT_DIR"))
            QSKIP("KELVARIS_SCREENSHOT_DIR is not set");
        QVERIFY(german);
        QVERIFY(SaveMainWindowScreenshot(1));
    }
};

QTEST_MAIN(MainFrameTest)
#include "MainFrameTest.moc"
