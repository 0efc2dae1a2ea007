// The automation setup commands open the real editors, after the command has been answered, without
// a modal loop of their own: one editor per kind, side by side, each saving its own list.
#include <memory>
#include <unistd.h>

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "app/AppEditorHost.h"
#include "editors/BarrageDialogs.h"
#include "editors/HolidayDialogs.h"
#include "editors/ShiftDialogs.h"
#include "engine/KelvarisDoc.h"
#include "engine/Password.h"
#include "inbound/KelvarisObj.h"
#include "plandialogs/DispatchingDlg.h"
#include "schedule/DateType.h"
#include "schedule/Profile.h"

#include "ConfigLocationScope.h"
#include "DialogTesting.h"
#include "FakeServerCommand.h"

namespace {

// The document with the real editors over a window, and the automation object on top.
struct SAutomationFixture
{
    QTemporaryDir dir;
    CConfigLocationScope location { dir.filePath(QStringLiteral("kelvaris.cfg")) };
    CFakeServerCommandFactory server;
    CRightsCheck rights;
    CKelvarisDoc doc { server, rights };
    QWidget window;
    std::unique_ptr<CAppEditorHost> editors = std::make_unique<CAppEditorHost>(&window);
    CDocEditorLauncher launcher { &window, &doc };
    CKelvarisObj object { &launcher };

    SAutomationFixture()
    {
        doc.SetEditorHost(editors.get());
        editors->SetDocument(&doc);
        window.show();
    }
    ~SAutomationFixture()
    {
        // The editors go before the document they edit.
        editors.reset();
    }
    CProfile Profile() const { return CProfile(dir.filePath(QStringLiteral("kelvaris.cfg"))); }
};

// The top-level dialogs of a class that are shown.
template <class T>
int ShownDialogs()
{
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<T*>(widget) && widget->isVisible())
            ++count;
    }
    return count;
}

template <class T>
T* ShownDialog()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<T*>(widget); dialog && dialog->isVisible())
            return dialog;
    }
    return nullptr;
}

// The resident set of this process in bytes.
qint64 ResidentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toLongLong() * ::sysconf(_SC_PAGESIZE) : -1;
}

// Stores a list as the configuration file's, unmodified afterwards.
template <class List>
bool Store(List& list, CProfile profile)
{
    list.SetModified(true);
    const bool stored = list.Save(profile);
    list.SetModified(false);
    return stored;
}

CHolidaysArray LoadHolidays(CProfile profile)
{
    CHolidaysArray holidays;
    holidays.Load(profile);
    return holidays;
}

// Selects the first row of a list and clicks Remove as the operator would: through the window
// system, so a click on a window that a modal one blocks is not delivered.
void RemoveFirstRow(QTreeWidget* list, QPushButton* remove)
{
    list->setCurrentItem(list->topLevelItem(0));
    QWidget* window = remove->window();
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier,
        remove->mapTo(window, remove->rect().center()));
}

} // namespace

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
        SAutomationFixture f;

        QCOMPARE(f.object.DoCommand(command), QStringLiteral("1"));
        // Answered; nothing is open yet.
        for (QWidget* widget : QApplication::topLevelWidgets())
            QVERIFY(!widget->isVisible() || widget == &f.window);
        QCoreApplication::processEvents();

        // Open now, without a modal loop: the event loop here goes on.
        QDialog* opened = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->isVisible() && QString::fromLatin1(widget->metaObject()->className()) == dialogClass)
                opened = qobject_cast<QDialog*>(widget);
        }
        QVERIFY(opened);
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(CAutomationSetup::IsRunning());
        opened->close();
        QTRY_VERIFY(!CAutomationSetup::IsRunning());
    }

    void ManySetupCommandsLeaveOneEditorPerKind()
    {
        SAutomationFixture f;
        // A first round opens one of each; what later rounds cost is measured from there.
        const QStringList commands = { QStringLiteral("[setup(TH)]"), QStringLiteral("[setup(TB)]"),
            QStringLiteral("[setup(TS)]"), QStringLiteral("[setup(TP)]") };
        for (const QString& command : commands)
            QCOMPARE(f.object.DoCommand(command), QStringLiteral("1"));
        QCoreApplication::processEvents();
        const qint64 before = ResidentBytes();
        QVERIFY(before > 0);

        // 1,000 commands in bursts, the loop running between them as it would between bus calls.
        for (int i = 0; i < 1000; ++i) {
            QCOMPARE(f.object.DoCommand(commands.at(i % 4)), QStringLiteral("1"));
            if (i % 50 == 49)
                QCoreApplication::processEvents();
        }
        QCoreApplication::processEvents();

        QCOMPARE(ShownDialogs<CHolidayListDialog>(), 1);
        QCOMPARE(ShownDialogs<CBarrageListDialog>(), 1);
        QCOMPARE(ShownDialogs<CShiftListDialog>(), 1);
        QCOMPARE(ShownDialogs<CDispatchingDlg>(), 1);
        QVERIFY(!QApplication::activeModalWidget());
        // An editor with its modal loop cost about half a megabyte, so 1,000 of them would cost
        // hundreds; the bound leaves room for allocator caches (and a sanitizer's quarantine).
        const qint64 growth = ResidentBytes() - before;
        QVERIFY2(growth < 64 * 1024 * 1024, qPrintable(QString::number(growth)));

        // All the same commands with no loop turn in between: each kind waits once in the queue.
        for (int i = 0; i < 1000; ++i)
            f.object.DoCommand(commands.at(i % 4));
        QCoreApplication::processEvents();
        QCOMPARE(ShownDialogs<CHolidayListDialog>(), 1);
        QCOMPARE(ShownDialogs<CDispatchingDlg>(), 1);

        // Closing all four: the count drops to none.
        for (QDialog* dialog : std::initializer_list<QDialog*> { ShownDialog<CHolidayListDialog>(),
                 ShownDialog<CBarrageListDialog>(), ShownDialog<CShiftListDialog>(),
                 ShownDialog<CDispatchingDlg>() }) {
            QVERIFY(CAutomationSetup::IsRunning());
            dialog->close();
        }
        QTRY_VERIFY(!CAutomationSetup::IsRunning());
        QTRY_COMPARE(ShownDialogs<CHolidayListDialog>(), 0);
    }

    void TwoEditorsAreUsableAndEachSavesItsOwnList()
    {
        SAutomationFixture f;
        f.doc.m_holidays.append(CHoliday(QStringLiteral("New Year"), CDateTime(2024, 1, 1, 0, 0, 0)));
        f.doc.m_holidays.append(CHoliday(QStringLiteral("Labour Day"), CDateTime(2024, 5, 1, 0, 0, 0)));
        CBarrage night;
        night.m_name = QStringLiteral("Night");
        night.m_dateType = DATETYPE_WORKINGDAY;
        night.m_date = CDateTime(2024, 3, 4, 0, 0, 0);
        night.m_startTime = CDateTime::TimeOfDay(22, 0, 0);
        night.m_endTime = CDateTime::TimeOfDay(23, 0, 0);
        night.m_barrierType = 1;
        f.doc.m_barriers.append(night);
        QVERIFY(Store(f.doc.m_holidays, f.Profile()));
        QVERIFY(Store(f.doc.m_barriers, f.Profile()));
        QCOMPARE(LoadHolidays(f.Profile()).size(), 2);

        QCOMPARE(f.object.DoCommand(QStringLiteral("[setup(TB)]")), QStringLiteral("1"));
        QCOMPARE(f.object.DoCommand(QStringLiteral("[setup(TH)]")), QStringLiteral("1"));
        QCoreApplication::processEvents();
        auto* barriers = ShownDialog<CBarrageListDialog>();
        auto* holidays = ShownDialog<CHolidayListDialog>();
        QVERIFY(barriers && holidays);
        QVERIFY(!QApplication::activeModalWidget());
        SaveScreenshot(*holidays, QStringLiteral("automation-two-editors"));

        // The first opened takes input while the second is open, and the other way round.
        RemoveFirstRow(barriers->List(), barriers->RemoveButton());
        QCOMPARE(f.doc.m_barriers.size(), 0);
        RemoveFirstRow(Named<QTreeWidget>(holidays, "holidays"), Named<QPushButton>(holidays, "remove"));
        QCOMPARE(f.doc.m_holidays.size(), 1);

        // Each list is saved when its own editor closes, not before.
        holidays->close();
        QTRY_COMPARE(LoadHolidays(f.Profile()).size(), 1);
        QVERIFY(f.doc.m_barriers.IsModified());
        QCOMPARE(f.Profile().ReadString(QStringLiteral("Barrage1"), QStringLiteral("BarrageName"), QString()),
            QStringLiteral("Night"));
        QVERIFY(CAutomationSetup::IsRunning());
        barriers->close();
        QTRY_VERIFY(!CAutomationSetup::IsRunning());
        QVERIFY(!f.doc.m_barriers.IsModified());
        QCOMPARE(f.Profile().ReadString(QStringLiteral("Barrage1"), QStringLiteral("BarrageName"), QString()),
            QString());
    }

    void TheMenuBringsAnOpenEditorToTheFront()
    {
        SAutomationFixture f;
        QCOMPARE(f.object.DoCommand(QStringLiteral("[setup(TH)]")), QStringLiteral("1"));
        QCoreApplication::processEvents();
        auto* holidays = ShownDialog<CHolidayListDialog>();
        QVERIFY(holidays);
        f.window.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &f.window);

        // The menu command returns at once and the open editor is active again; no second one.
        f.doc.EditHolidays();
        QCOMPARE(ShownDialogs<CHolidayListDialog>(), 1);
        QTRY_COMPARE(QApplication::activeWindow(), holidays);
        holidays->close();
        QTRY_VERIFY(!CAutomationSetup::IsRunning());

        // The other way round: a setup command while the menu's modal editor runs brings that one
        // to the front and opens no other.
        int shownMeanwhile = -1;
        QString answer;
        WhenModal<CHolidayListDialog>([&](CHolidayListDialog* modal) {
            answer = f.object.DoCommand(QStringLiteral("[setup(TH)]"));
            QCoreApplication::processEvents();
            shownMeanwhile = ShownDialogs<CHolidayListDialog>();
            modal->close();
        });
        f.doc.EditHolidays();
        QCOMPARE(answer, QStringLiteral("1"));
        QCOMPARE(shownMeanwhile, 1);
        QCoreApplication::processEvents();
        QCOMPARE(ShownDialogs<CHolidayListDialog>(), 0);
        QVERIFY(!CAutomationSetup::IsRunning());
    }

    void PlanningFromAutomationDoesNotRefreshOnClosing()
    {
        SAutomationFixture f;
        struct : CDocObserver
        {
            void OnUpdate(unsigned hint) override { hints |= hint; }
            unsigned hints = 0;
        } observer;
        f.doc.SetObserver(&observer);
        QCOMPARE(f.object.DoCommand(QStringLiteral("[setup(TP)]")), QStringLiteral("1"));
        QCoreApplication::processEvents();
        auto* plan = ShownDialog<CDispatchingDlg>();
        QVERIFY(plan);
        // The menu's plan command while it is open: brought to the front, no second dialog.
        f.doc.PlanOfAction();
        QCOMPARE(ShownDialogs<CDispatchingDlg>(), 1);
        plan->close();
        QTRY_VERIFY(!CAutomationSetup::IsRunning());
        QCOMPARE(observer.hints & CDocObserver::HINT_PLAN, 0u);
        f.doc.SetObserver(nullptr);
    }

    void EditorsStillOpenAtTheEndSaveAndLeave()
    {
        SAutomationFixture f;
        f.doc.m_holidays.append(CHoliday(QStringLiteral("New Year"), CDateTime(2024, 1, 1, 0, 0, 0)));
        QVERIFY(Store(f.doc.m_holidays, f.Profile()));
        QCOMPARE(LoadHolidays(f.Profile()).size(), 1);
        QCOMPARE(f.object.DoCommand(QStringLiteral("[setup(TH)]")), QStringLiteral("1"));
        QCOMPARE(f.object.DoCommand(QStringLiteral("[setup(TP)]")), QStringLiteral("1"));
        QCoreApplication::processEvents();
        auto* holidays = ShownDialog<CHolidayListDialog>();
        QVERIFY(holidays);
        QVERIFY(ShownDialog<CDispatchingDlg>());
        RemoveFirstRow(Named<QTreeWidget>(holidays, "holidays"), Named<QPushButton>(holidays, "remove"));
        QCOMPARE(f.doc.m_holidays.size(), 0);

        // The program ends with the editors open: they close as if the operator closed them, the
        // list is saved and the count drops.
        f.editors.reset();
        f.doc.SetEditorHost(nullptr);
        QVERIFY(!CAutomationSetup::IsRunning());
        QCOMPARE(ShownDialogs<CDispatchingDlg>(), 0);
        QCOMPARE(LoadHolidays(f.Profile()).size(), 0);
        QVERIFY(!f.doc.IsEditorOpen(CEditorHost::EKind::Holidays));
    }
};

QTEST_MAIN(AutomationEditorsTest)
#include "AutomationEditorsTest.moc"
