// The automation setup commands open the real editors, after the command has been answered.
#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/AppEditorHost.h"
#include "editors/BarrageDialogs.h"
#include "editors/HolidayDialogs.h"
#include "editors/ShiftDialogs.h"
#include "engine/KelvarisDoc.h"
#include "engine/Password.h"
#include "inbound/KelvarisObj.h"

#include "ConfigLocationScope.h"
#include "FakeServerCommand.h"

class AutomationEditorsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void SetupCommandsOpenTheirEditorAfterAnswering_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("dialogClass");
        QTest::newRow("TB") << QStringLiteral("[setup(TB)]") << QStringLiteral("CBarrageListDialog");
        QTest::newRow("TS") << QStringLiteral("[SETUP(TS)]") << QStringLiteral("CShiftListDialog");
        QTest::newRow("TH") << QStringLiteral("[setup(TH)]") << QStringLiteral("CHolidayListDialog");
        QTest::newRow("TP") << QStringLiteral("[setup(TP)]") << QStringLiteral("CDispatchingDlg");
    }

    void SetupCommandsOpenTheirEditorAfterAnswering()
    {
        QFETCH(QString, command);
        QFETCH(QString, dialogClass);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const CConfigLocationScope location(dir.filePath(QStringLiteral("kelvaris.cfg")));
        CFakeServerCommandFactory server;
        CRightsCheck rights;
        CKelvarisDoc doc(server, rights);
        QWidget window;
        CAppEditorHost editors(&window);
        doc.SetEditorHost(&editors);
        editors.SetDocument(&doc);
        CDocEditorLauncher launcher(&window, &doc);
        const CKelvarisObj object(&launcher);

        QCOMPARE(object.DoCommand(command), QStringLiteral("1"));
        // Answered; nothing is open yet.
        QVERIFY(!QApplication::activeModalWidget());

        QString opened;
        bool countRaised = false;
        QTimer::singleShot(0, this, [&] {
            if (QWidget* dialog = QApplication::activeModalWidget()) {
                opened = QString::fromLatin1(dialog->metaObject()->className());
                countRaised = CAutomationSetup::IsRunning();
                dialog->close();
            }
        });
        // The queued editor opens now, runs modally until the timer above closes it.
        QTRY_COMPARE(opened, dialogClass);
        QVERIFY(countRaised);
        QTRY_VERIFY(!CAutomationSetup::IsRunning());
    }
};

QTEST_MAIN(AutomationEditorsTest)
#include "AutomationEditorsTest.moc"
