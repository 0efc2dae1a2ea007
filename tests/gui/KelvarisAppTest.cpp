// The desktop program's start-up, its command line, the language command and the second start.
#include "app/KelvarisApp.h"

#include <thread>
#include <unistd.h>
#include <utility>

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QLocalSocket>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include "app/AppEditorHost.h"
#include "app/KelvarisView.h"
#include "app/Language.h"
#include "app/MainFrame.h"
#include "app/PasswordDialogs.h"
#include "app/SingleInstance.h"
#include "app/WarningForwarder.h"
#include "engine/KelvarisDoc.h"
#include "schedule/ConfigLocation.h"
#include "schedule/Profile.h"
#include "service/CommandLine.h"
#include "support/Trace.h"

#include "DialogTesting.h"
#include "FakeServerCommand.h"

class KelvarisAppTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir* m_dir = nullptr;
    CFakeServerCommandFactory m_server;
    QString m_configPath;

    // A data folder of its own and names no other program uses; the configuration file holds
    // `settings` in its section Settings.
    void PrepareData(const QByteArray& settings)
    {
        delete m_dir;
        m_dir = new QTemporaryDir;
        QVERIFY(m_dir->isValid());
        const QByteArray pid = QByteArray::number(QCoreApplication::applicationPid());
        qputenv("KELVARIS_DATA", m_dir->path().toUtf8());
        qputenv("KELVARIS_INSTANCE_NAME", "kelvaris-app-test-" + pid);
        qputenv("KELVARIS_PIPE_NAME", "kelvaris-app-test-pipe-" + pid);
        qputenv("KELVARIS_BUS_NAME", "com.ondrevi.KelvarisAppTest.p" + pid);
        qputenv("KELVARIS_ALARMSERVER_BUS_NAME", "com.ondrevi.KelvarisAppTest.Nobody");
        // The file the program finds there (named after the program).
        m_configPath = DetermineConfigPaths(LocationInputFromEnvironment()).configPath;
        QFile config(m_configPath);
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write("[Settings]\r\n" + settings);
    }

    static CTimeCommandLineInfo Parse(const QStringList& params)
    {
        CTimeCommandLineInfo info;
        info.ParseParams(params);
        return info;
    }

private Q_SLOTS:
    void cleanupTestCase() { delete m_dir; }

    void CommandLineRules()
    {
        for (const char* min : { "/min", "-Minimized", "/MINIMISE" }) {
            const CTimeCommandLineInfo info = Parse({ QString::fromLatin1(min) });
            QVERIFY2(info.m_minimised && !info.m_showSplash, min);
            QCOMPARE(info.m_shellCommand, CTimeCommandLineInfo::FileNew);
        }
        // A parameter without a switch is a file, and "MIN..." asks for a minimised start too.
        const CTimeCommandLineInfo minutes = Parse({ QStringLiteral("MINUTES") });
        QVERIFY(minutes.m_minimised);
        QCOMPARE(minutes.m_shellCommand, CTimeCommandLineInfo::FileOpen);
        QCOMPARE(minutes.m_fileName, QStringLiteral("MINUTES"));

        QCOMPARE(Parse({ QStringLiteral("/Register") }).m_shellCommand, CTimeCommandLineInfo::AppRegister);
        QCOMPARE(Parse({ QStringLiteral("-RegServer") }).m_shellCommand, CTimeCommandLineInfo::AppRegister);
        QCOMPARE(
            Parse({ QStringLiteral("-unregserver") }).m_shellCommand, CTimeCommandLineInfo::AppUnregister);
        QVERIFY(Parse({ QStringLiteral("/Embedding") }).IsAutomationServer());
        QVERIFY(Parse({ QStringLiteral("-AUTOMATION") }).IsAutomationServer());
        // Anything but the documented switches is the file: an absolute path, or an unknown switch.
        const CTimeCommandLineInfo path = Parse({ QStringLiteral("/home/op/plan.tim") });
        QCOMPARE(path.m_shellCommand, CTimeCommandLineInfo::FileOpen);
        QCOMPARE(path.m_fileName, QStringLiteral("/home/op/plan.tim"));
        QVERIFY(!path.m_minimised);
        const CTimeCommandLineInfo minPath
            = Parse({ QStringLiteral("/min"), QStringLiteral("/minutes/plan.tim") });
        QVERIFY(minPath.m_minimised);
        QCOMPARE(minPath.m_fileName, QStringLiteral("/minutes/plan.tim"));
        const CTimeCommandLineInfo unknown = Parse({ QStringLiteral("/dde") });
        QVERIFY(!unknown.IsAutomationServer());
        QCOMPARE(unknown.m_fileName, QStringLiteral("/dde"));

        const CTimeCommandLineInfo files = Parse({ QStringLiteral("a.tim"), QStringLiteral("b.tim") });
        QCOMPARE(files.m_fileName, QStringLiteral("b.tim"));
        QVERIFY(!files.m_minimised);
        QVERIFY(Parse({ QStringLiteral("--headless") }).m_headless);
    }

    void MinStartsMinimisedAndAutoActivates()
    {
        PrepareData("AutoActivate=1\r\n");
        CKelvarisApp app(&m_server);
        QVERIFY(app.InitInstance(Parse({ QStringLiteral("/min") })));
        // Shown, and minimised: not hidden, and not turned normal by the show.
        QVERIFY(app.MainFrame()->isVisible());
        QCoreApplication::processEvents();
        QVERIFY(app.MainFrame()->windowState() & Qt::WindowMinimized);
        QVERIFY(app.Document()->IsActive());
        const QList<CLogbookLine>& logbook = app.MainFrame()->View().Logbook();
        QVERIFY(logbook.size() >= 2);
        QCOMPARE(logbook.last().m_event, QStringLiteral("Deactivated"));
        QCOMPARE(logbook.last().m_name, QStringLiteral("Started"));
        app.ExitInstance();
        QVERIFY(!app.Document() || !app.Document()->IsActive());
    }

    // Every new configuration stores 0, which is also German's index: it shows the system's
    // language. The ctest entry test_gui_app_system_german runs this under LANG=de_DE.UTF-8.
    void StoredLanguageZeroShowsTheSystemLanguage()
    {
        PrepareData("Language=0\r\n");
        CKelvarisApp app(&m_server);
        QVERIFY(app.InitInstance(Parse({})));
        QCOMPARE(app.LanguageIndex(), 0);
        QCOMPARE(AppliedLanguage(), -1);
        QCOMPARE(app.ShownLanguage(), SystemLanguage());
        QCOMPARE(QLocale().name(), QLocale::system().name());
        int offered = -2;
        app.SetLanguageChooser([&offered](int current) {
            offered = current;
            return current;
        });
        app.OnLanguage();
        // The choice offers the language showing; keeping it changes nothing.
        QCOMPARE(offered, SystemLanguage());
        QCOMPARE(CProfile(m_configPath)
                     .ReadString(QStringLiteral("Settings"), QStringLiteral("LanguageChosen"),
                         QStringLiteral("none")),
            QStringLiteral("none"));

        QMenu* file = app.MainFrame()->menuBar()->actions().at(0)->menu();
        QVERIFY(file);
        CLanguageDialog dialog(app.ShownLanguage(), app.MainFrame());
        const QString cancel
            = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->text();
        if (SystemLanguage() != 0) {
            QCOMPARE(file->title(), QStringLiteral("&File"));
            QCOMPARE(cancel, QStringLiteral("Cancel"));
            return;
        }
        // German texts, Qt's own included.
        QCOMPARE(file->title(), QStringLiteral("&Datei"));
        QCOMPARE(cancel, QStringLiteral("Abbrechen"));
        QCOMPARE(dialog.SelectedIndex(), 0);
        QCOMPARE(app.MainFrame()->View().Logbook().last().m_name, QStringLiteral("Gestartet"));
    }

    void LanguageCommandSwitchesInPlaceAndKeepsTheLogbook()
    {
        if (SystemLanguage() == 0)
            QSKIP("switches from English to German");
        PrepareData("AutoActivate=1\r\n");
        QStringList englishDates;
        {
            CKelvarisApp app(&m_server);
            QVERIFY(app.InitInstance(Parse({})));
            const QList<CLogbookLine> before = app.MainFrame()->View().Logbook();
            QVERIFY(before.size() >= 2);
            QCOMPARE(before.last().m_name, QStringLiteral("Started"));

            // German is index 0, which a stored 0 does not apply; choosing it does.
            app.SetLanguageChooser([](int) { return 0; });
            app.OnLanguage();
            QCOMPARE(AppliedLanguage(), 0);
            QCOMPARE(QLocale().language(), QLocale::German);
            const CProfile profile(m_configPath);
            QCOMPARE(profile.ReadInt(QStringLiteral("Settings"), QStringLiteral("Language"), -1), 0);
            QCOMPARE(profile.ReadInt(QStringLiteral("Settings"), QStringLiteral("LanguageChosen"), -1), 1);

            // The lines kept so far are shown in German, dates in German forms with four-digit years
            // (once the widgets had their language change event).
            QTRY_COMPARE(app.MainFrame()->View().Logbook().last().m_name, QStringLiteral("Gestartet"));
            const QList<CLogbookLine> after = app.MainFrame()->View().Logbook();
            QVERIFY(after.size() >= before.size());
            QCOMPARE(after.last().m_name, QStringLiteral("Gestartet"));
            QCOMPARE(after.last().m_event, QStringLiteral("Deaktiviert"));
            const QTreeWidget* list = app.MainFrame()->View().LogbookList();
            const QRegularExpression german(QStringLiteral("^\\d\\d\\.\\d\\d\\.\\d{4}$"));
            for (int row = 0; row < list->topLevelItemCount(); ++row) {
                const QString date = list->topLevelItem(row)->text(1);
                QVERIFY2(german.match(date).hasMatch(), qPrintable(date));
            }
            QCOMPARE(list->topLevelItem(list->topLevelItemCount() - 1)->text(0), QStringLiteral("Gestartet"));
            QCOMPARE(app.MainFrame()->windowTitle(), QStringLiteral("Kelvaris"));
            app.ExitInstance();
        }
        {
            // Chosen German stays German at the next start, although it is stored as 0.
            CKelvarisApp app(&m_server);
            QVERIFY(app.InitInstance(Parse({})));
            QCOMPARE(AppliedLanguage(), 0);
            QCOMPARE(app.ShownLanguage(), 0);
            app.SetLanguageChooser([](int) { return 1; });
            app.OnLanguage();
            QCOMPARE(AppliedLanguage(), 1);
            const QTreeWidget* list = app.MainFrame()->View().LogbookList();
            QTRY_COMPARE(
                list->topLevelItem(list->topLevelItemCount() - 1)->text(0), QStringLiteral("Started"));
            const QRegularExpression british(QStringLiteral("^\\d\\d/\\d\\d/\\d{4}$"));
            QVERIFY2(british.match(list->topLevelItem(0)->text(1)).hasMatch(),
                qPrintable(list->topLevelItem(0)->text(1)));
        }
    }

    void PasswordThatCannotBeStoredIsReported()
    {
        PrepareData("");
        CKelvarisApp app(&m_server);
        QVERIFY(app.InitInstance(Parse({})));
        // The data folder goes away: the configuration file cannot be replaced any more.
        QVERIFY(QDir(m_dir->path()).removeRecursively());

        QString message;
        WhenModal<CSetupPasswordDlg>([](CSetupPasswordDlg* dialog) {
            Named<QLineEdit>(dialog, "enter")->setText(QStringLiteral("secret"));
            Named<QLineEdit>(dialog, "confirm")->setText(QStringLiteral("secret"));
            dialog->accept();
        });
        WhenModal<QMessageBox>(
            [&message](QMessageBox* box) {
                message = box->text();
                box->close();
            },
            400);
        app.OnPassword();
        QVERIFY(message.startsWith(QStringLiteral("The password could not be stored")));
        QVERIFY(app.Rights().HasPassword());

        // Cancelling says nothing.
        message.clear();
        WhenModal<QDialog>([](QDialog* dialog) { dialog->reject(); });
        app.OnPassword();
        QVERIFY(message.isEmpty());
    }

    void HiddenWindowComesBackOnASecondStart()
    {
        PrepareData("AutoActivate=1\r\n");
        CKelvarisApp app(&m_server);
        QVERIFY(app.InitInstance(Parse({})));
        QVERIFY(app.MainFrame()->isVisible());
        app.Document()->m_onClose = 1;
        // Hidden, as with a tray: without one it would only be minimised.
        app.MainFrame()->SetTrayAvailability([] { return true; });
        app.MainFrame()->close();
        QVERIFY(!app.MainFrame()->isVisible());
        QVERIFY(app.Document()->IsActive());

        // The second start finds this one, asks it to show its window and ends with 0.
        QProcess second;
        second.start(QStringLiteral(KELVARIS_PATH), {});
        QVERIFY(second.waitForStarted(5000));
        QElapsedTimer timer;
        timer.start();
        while (second.state() != QProcess::NotRunning && timer.elapsed() < 10000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            second.waitForFinished(10);
        }
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QTRY_VERIFY(app.MainFrame()->isVisible());
    }

    // SIGTERM (shutdown, the service manager, kill) ends the program even when closing the window
    // only hides or minimises it.
    void TerminationEndsTheProgramWhateverClosingDoes()
    {
        PrepareData("");
        for (const char* onClose : { "1", "2" }) {
            QFile config(QFileInfo(m_configPath).dir().filePath(QStringLiteral("kelvaris.cfg")));
            QVERIFY(config.open(QIODevice::WriteOnly | QIODevice::Truncate));
            config.write(QByteArray("[Settings]\r\nOnClose=") + onClose + "\r\n");
            config.close();
            QProcess program;
            program.start(QStringLiteral(KELVARIS_PATH), {});
            QVERIFY(program.waitForStarted(5000));
            // Running its event loop once it answers a later start's request.
            QTRY_VERIFY_WITH_TIMEOUT(
                [] {
                    QLocalSocket socket;
                    socket.connectToServer(CSingleInstance::SocketName());
                    if (!socket.waitForConnected(200))
                        return false;
                    socket.write("show\n");
                    return socket.waitForReadyRead(1000) && socket.readAll() == "ok\n";
                }(),
                10000);
            program.terminate();
            QVERIFY2(program.waitForFinished(5000), onClose);
            QCOMPARE(program.exitStatus(), QProcess::NormalExit);
            QCOMPARE(program.exitCode(), 0);
        }
    }

    void IdleCheckWaitsWhileADialogIsOpen()
    {
        PrepareData("AutoActivate=1\r\n");
        CKelvarisApp app(&m_server);
        QVERIFY(app.InitInstance(Parse({})));
        QVERIFY(app.Document()->IsActive());
        QTest::qWait(1200); // the first check after start is over
        const QString presence = QStringLiteral("[check(Kelvaris)]");
        m_server.ClearCommands();
        app.IdleCheck();
        QCOMPARE(m_server.Commands().count(presence), 1);

        // Inside a modal dialog the check waits, also when its timers fire there.
        m_server.ClearCommands();
        bool heldBack = false;
        qsizetype during = -1;
        WhenModal<QMessageBox>([&](QMessageBox* box) {
            app.IdleCheck();
            heldBack = app.IdleCheckHeldBack();
            QTest::qWait(600);
            during = m_server.Commands().count(presence);
            box->close();
        });
        QMessageBox::information(app.MainFrame(), QStringLiteral("Kelvaris"), QStringLiteral("modal"));
        QVERIFY(heldBack);
        QCOMPARE(during, 0);
        // It runs once the dialog has closed, once.
        QTRY_COMPARE_WITH_TIMEOUT(m_server.Commands().count(presence), 1, 2000);
        QTest::qWait(400);
        QCOMPARE(m_server.Commands().count(presence), 1);

        // An editor that an automation command opened without waiting holds it back as well.
        m_server.ClearCommands();
        app.Editors()->OpenPlan(QString(), [] {});
        QVERIFY(app.IdleCheckHeldBack());
        app.IdleCheck();
        QTest::qWait(600);
        QCOMPARE(m_server.Commands().count(presence), 0);
        app.Editors()->CloseAll();
        QTRY_COMPARE_WITH_TIMEOUT(m_server.Commands().count(presence), 1, 2000);
        QVERIFY(!app.IdleCheckHeldBack());
    }

    void WarningsOfAnyThreadReachLogbookAndStatusBar()
    {
        PrepareData("");
        CKelvarisApp app(&m_server);
        QVERIFY(app.InitInstance(Parse({})));
        const CKelvarisView& view = app.MainFrame()->View();
        const QString text = QStringLiteral("the alarm server is not reachable");
        std::thread([&text] { qCWarning(lcServer).noquote() << text; }).join();
        QTRY_VERIFY(!view.Logbook().isEmpty() && view.Logbook().first().m_event == text);
        QCOMPARE(view.Logbook().first().m_name, QStringLiteral("Warning"));
        QVERIFY(!view.Logbook().first().m_date.isEmpty());
        QCOMPARE(app.MainFrame()->StatusMessage(), text);

        // Only Kelvaris's warnings: other messages stay on standard error.
        const qsizetype lines = view.Logbook().size();
        qWarning("a warning of Qt's own");
        qCDebug(lcServer) << "a trace line";
        QTest::qWait(50);
        QCOMPARE(view.Logbook().size(), lines);

        // A flood is cut down; the first line delivered says how many were left out.
        for (int i = 0; i < 100; ++i)
            qCWarning(lcPipe).noquote() << QStringLiteral("flood %1").arg(i);
        QTest::qWait(50);
        QList<CLogbookLine> flood;
        for (const CLogbookLine& line : view.Logbook()) {
            if (line.m_event.startsWith(QStringLiteral("flood ")))
                flood.prepend(line);
        }
        QCOMPARE(flood.size(), qsizetype(CWarningForwarder::kMaxPending));
        QVERIFY2(
            flood.first().m_event.contains(QStringLiteral("84 more")), qPrintable(flood.first().m_event));
        QVERIFY(app.MainFrame()->StatusMessage().startsWith(QStringLiteral("flood 15")));
    }

    void InstanceSocketIsInAFolderOfTheUsersOwn()
    {
        const QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR");
        const QByteArray savedTmp = qgetenv("TMPDIR");
        const QByteArray savedName = qgetenv("KELVARIS_INSTANCE_NAME");
        const auto restore = qScopeGuard([&] {
            for (const auto& [name, value] : { std::pair { "XDG_RUNTIME_DIR", savedRuntime },
                     std::pair { "TMPDIR", savedTmp }, std::pair { "KELVARIS_INSTANCE_NAME", savedName } }) {
                if (value.isNull())
                    qunsetenv(name);
                else
                    qputenv(name, value);
            }
        });
        qunsetenv("KELVARIS_INSTANCE_NAME");
        QTemporaryDir shared;
        QTemporaryDir runtime;
        QVERIFY(shared.isValid() && runtime.isValid());
        qputenv("TMPDIR", QFile::encodeName(shared.path()));

        // The runtime folder when there is one.
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        QCOMPARE(CSingleInstance::SocketName(), runtime.filePath(QStringLiteral("KelvarisAppClass")));
        qputenv("KELVARIS_INSTANCE_NAME", "kelvaris-instance-test");
        QCOMPARE(CSingleInstance::SocketName(), runtime.filePath(QStringLiteral("kelvaris-instance-test")));

        // Without one, or with one that others may write, this user's own folder inside the
        // temporary folder, never that folder itself; a later start finds the instance there.
        QVERIFY(QFile::setPermissions(runtime.path(), QFileDevice::Permissions(0x7777)));
        const QString fallback = CSingleInstance::SocketName();
        QVERIFY(QFile::setPermissions(runtime.path(), QFileDevice::Permissions(0x7700)));
        qunsetenv("XDG_RUNTIME_DIR");
        const QString path = CSingleInstance::SocketName();
        QCOMPARE(fallback, path);
        const QString folder = QFileInfo(path).path();
        QVERIFY2(folder != QDir::tempPath(), qPrintable(path));
        QCOMPARE(folder, QDir(shared.path()).filePath(QStringLiteral("kelvaris-%1").arg(::geteuid())));
        QCOMPARE(
            QFileInfo(folder).permissions() & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteOther), 0);
        {
            CSingleInstance instance;
            QSignalSpy shown(&instance, &CSingleInstance::ShowRequested);
            QVERIFY(instance.Listen());
            QVERIFY(QFileInfo::exists(path));
            bool found = false;
            std::thread later([&found] { found = CSingleInstance::AskRunningInstanceToShow(); });
            QTRY_COMPARE(shown.size(), 1);
            later.join();
            QVERIFY(found);
        }

        // A folder planted under that name (here a link) is not used: no socket, the reason names it.
        QVERIFY(QDir(folder).removeRecursively());
        QVERIFY(QFile::link(runtime.path(), folder));
        QString reason;
        QCOMPARE(CSingleInstance::SocketName(&reason), QString());
        QVERIFY2(reason.contains(folder), qPrintable(reason));
        CSingleInstance refused;
        QVERIFY(!refused.Listen());
        QVERIFY(!CSingleInstance::AskRunningInstanceToShow(100));
        QVERIFY(QDir(runtime.path()).isEmpty());
    }
};

QTEST_MAIN(KelvarisAppTest)
#include "KelvarisAppTest.moc"
