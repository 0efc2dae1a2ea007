#include "plandialogs/DispatchingDlg.h"

#include <memory>

#include <QAccessible>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

#include "engine/KelvarisDoc.h"
#include "engine/Password.h"
#include "plandialogs/BulkDialogs.h"
#include "plandialogs/PlannerWidget.h"
#include "planning/PlannerModel.h"
#include "planning/TimePlanner.h"
#include "schedule/Profile.h"
#include "widgets/TargetListIcon.h"

#include "DialogTesting.h"
#include "PlanningTesting.h"
#include "fakes/ConfigLocationScope.h"
#include "fakes/FakeServerCommand.h"

namespace {

// Wednesday 6 March 2024, noon.
CDateTime Now()
{
    return CDateTime(2024, 3, 6, 12, 0, 0);
}

const CDateTime kMonday(2024, 3, 4, 0, 0, 0);

// Shows the dialog at a size and waits until its layout has settled.
void ShowAt(CDispatchingDlg& dialog, const QSize& size)
{
    dialog.resize(size);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCoreApplication::processEvents();
}

void Screenshot(CDispatchingDlg& dialog, const QString& name)
{
    const QString folder = qEnvironmentVariable("KELVARIS_SCREENSHOT_DIR");
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return;
    QCoreApplication::processEvents();
    dialog.grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

} // namespace

class DispatchingDlgTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { SetCurrentTimeSource(&Now); }
    void cleanupTestCase() { SetCurrentTimeSource(nullptr); }
    void init();
    void cleanup();

    void listImagesShowThePlan();
    void wideGridShowsTwoWeeksAndMovesByTwo();
    void scheduleButtonsForATargetWithoutDutyInTheWeek();
    void groupEntryMembersTakeoverAndJump();
    void singleMarkedCellIsSavedOnNavigationAndClose();
    void removeReloadsThePlanAndEmptyDocument();
    void editsStayWithTheirTargetWhenTheListChanges();
    void aWorkingWeekMorningTakesElevenKeys();
    void theGridReadsAsATableToAScreenReader();
    void screenshots();

private:
    CFakeServerCommandFactory m_server;
    CRightsCheck m_rights;
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<CConfigLocationScope> m_config;
    std::unique_ptr<CKelvarisDoc> m_doc;
};

void DispatchingDlgTest::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
    m_config = std::make_unique<CConfigLocationScope>(m_folder->filePath(QStringLiteral("kelvaris.cfg")));
    m_doc = std::make_unique<CKelvarisDoc>(m_server, m_rights);

    CPageTargetArray& targets = m_doc->PageTargets();
    CPageTarget a = Target(QStringLiteral("Anna"), 1, 0x0000FF); // red
    a.m_ranges.append(Range(2024, 3, 5, 480, 540)); // Tuesday 8:00 - 9:00
    targets.append(a);
    CPageTarget b = Target(QStringLiteral("Bert"), 2, 0xFF0000); // blue
    b.m_ranges.append(Range(2024, 2, 14, 600, 660));
    b.m_ranges.append(Range(2024, 4, 10, 600, 660));
    targets.append(b);
    targets.append(Target(QStringLiteral("Carl"), 3, 0x00FFFF)); // yellow, no plan
    targets.append(Target(QStringLiteral("Service"), -1, 0x808080, QStringLiteral("Anna;Bert")));
}

void DispatchingDlgTest::cleanup()
{
    m_doc.reset();
    m_config.reset();
    m_folder.reset();
}

void DispatchingDlgTest::listImagesShowThePlan()
{
    const CPageTargetArray& targets = m_doc->PageTargets();
    // A receiver with a plan: its colour inside a black frame.
    const QImage anna = TargetListImage(targets.at(0), targets);
    QCOMPARE(anna.size(), QSize(16, 16));
    QCOMPARE(anna.pixel(0, 0), qRgb(0, 0, 0));
    QCOMPARE(anna.pixel(15, 7), qRgb(0, 0, 0));
    QCOMPARE(anna.pixel(1, 1), qRgb(255, 0, 0));
    QCOMPARE(anna.pixel(14, 1), qRgb(255, 0, 0));
    // Without a plan: crossed by a band in the text colour (black on light yellow).
    const QImage carl = TargetListImage(targets.at(2), targets);
    QCOMPARE(carl.pixel(7, 7), qRgb(0, 0, 0));
    QCOMPARE(carl.pixel(8, 7), qRgb(0, 0, 0));
    QCOMPARE(carl.pixel(10, 7), qRgb(255, 255, 0));
    // A group: white field with one full-height bar per member with a plan, in list order.
    const QImage group = TargetListImage(targets.at(3), targets);
    QCOMPARE(group.pixel(1, 1), qRgb(255, 0, 0));
    QCOMPARE(group.pixel(2, 14), qRgb(255, 0, 0));
    QCOMPARE(group.pixel(3, 1), qRgb(0, 0, 255));
    QCOMPARE(group.pixel(5, 1), qRgb(255, 255, 255));
    QCOMPARE(group.pixel(14, 14), qRgb(255, 255, 255));
    // A group whose members have no plan looks like a receiver: own colour, crossed (no own plan).
    CPageTarget empty = Target(QStringLiteral("Empty"), -2, 0x000000, QStringLiteral("Carl;Nobody"));
    const QImage emptyImage = TargetListImage(empty, targets);
    QCOMPARE(emptyImage.pixel(10, 3), qRgb(0, 0, 0));
    QCOMPARE(emptyImage.pixel(7, 7), qRgb(255, 255, 255));

    QCOMPARE(CDispatchingDlg::MondayOnOrBefore(CDateTime(2024, 3, 10, 23, 0, 0)), kMonday);
    QCOMPARE(CDispatchingDlg::MondayOnOrBefore(kMonday), kMonday);
}

void DispatchingDlgTest::wideGridShowsTwoWeeksAndMovesByTwo()
{
    CDispatchingDlg dialog(*m_doc, QString());
    ShowAt(dialog, QSize(1500, 700));
    QVERIFY(dialog.PlannerWidget()->width() / 8 > CTimePlanner::kTwoWeekColumnWidth);
    QTRY_COMPARE(dialog.Planner().Weeks(), 2);
    QCOMPARE(dialog.Model().ColumnCount(), 16);
    QCOMPARE(dialog.WeekStart(), kMonday);
    QVERIFY(dialog.CaptionEdit()->text().contains(QStringLiteral("    /    ")));
    // The first receiver is selected and its plan is shown and editable.
    QCOMPARE(dialog.CurrentTarget(), 0);
    QVERIFY(dialog.Model().CellMarked(2, 32));
    QCOMPARE(dialog.Model().EditMode(), int(CPlannerModel::EditMarking));

    QTest::mouseClick(dialog.ForwardButton(), Qt::LeftButton);
    QCOMPARE(dialog.WeekStart(), CDateTime(2024, 3, 18, 0, 0, 0));
    QTest::mouseClick(dialog.BackButton(), Qt::LeftButton);
    QTest::mouseClick(dialog.BackButton(), Qt::LeftButton);
    QCOMPARE(dialog.WeekStart(), CDateTime(2024, 2, 19, 0, 0, 0));
    QTest::mouseClick(dialog.TodayButton(), Qt::LeftButton);
    QCOMPARE(dialog.WeekStart(), kMonday);

    // Narrower: one week, steps of seven days; the shown plan stays.
    dialog.resize(700, 500);
    QTRY_VERIFY(dialog.PlannerWidget()->width() / 8 <= CTimePlanner::kTwoWeekColumnWidth);
    QTRY_COMPARE(dialog.Planner().Weeks(), 1);
    QCOMPARE(dialog.Model().ColumnCount(), 8);
    QVERIFY(dialog.Model().CellMarked(2, 32));
    QTest::mouseClick(dialog.ForwardButton(), Qt::LeftButton);
    QCOMPARE(dialog.WeekStart(), CDateTime(2024, 3, 11, 0, 0, 0));
    QVERIFY(!dialog.CaptionEdit()->text().contains(u'/'));
}

void DispatchingDlgTest::scheduleButtonsForATargetWithoutDutyInTheWeek()
{
    {
        CDispatchingDlg dialog(*m_doc, QStringLiteral("Anna"));
        ShowAt(dialog, QSize(700, 500));
        // Duty in the week: no schedule buttons; Remove needs a plan.
        QVERIFY(!dialog.PreviousScheduleButton()->isVisible());
        QVERIFY(!dialog.NextScheduleButton()->isVisible());
        QVERIFY(dialog.RemoveButton()->isEnabled());
        QVERIFY(!dialog.CopyButton()->isVisible());
    }
    {
        CDispatchingDlg dialog(*m_doc, QStringLiteral("Bert"));
        ShowAt(dialog, QSize(700, 500));
        QCOMPARE(dialog.CurrentTarget(), 1);
        QVERIFY(dialog.PreviousScheduleButton()->isVisible());
        QVERIFY(dialog.NextScheduleButton()->isVisible());
        QVERIFY(dialog.PreviousScheduleButton()->isEnabled());
        QVERIFY(dialog.NextScheduleButton()->isEnabled());
        QCOMPARE(dialog.PreviousSchedule(), CDateTime(2024, 2, 14, 0, 0, 0));
        QTest::mouseClick(dialog.NextScheduleButton(), Qt::LeftButton);
        QCOMPARE(dialog.WeekStart(), CDateTime(2024, 4, 8, 0, 0, 0));
        QVERIFY(dialog.Model().CellMarked(3, 40));
        QVERIFY(!dialog.NextScheduleButton()->isVisible());
    }
    {
        CDispatchingDlg dialog(*m_doc, QStringLiteral("Carl"));
        ShowAt(dialog, QSize(700, 500));
        QCOMPARE(dialog.CurrentTarget(), 2);
        QVERIFY(dialog.PreviousScheduleButton()->isVisible());
        QVERIFY(!dialog.PreviousScheduleButton()->isEnabled());
        QVERIFY(!dialog.NextScheduleButton()->isEnabled());
        QVERIFY(!dialog.RemoveButton()->isEnabled());
    }
    {
        // An unknown name is dropped: the first receiver is selected.
        CDispatchingDlg dialog(*m_doc, QStringLiteral("Nobody"));
        QCOMPARE(dialog.CurrentTarget(), 0);
        QCOMPARE(dialog.Tabs()->currentIndex(), int(CDispatchingDlg::TabReceivers));
    }
}

void DispatchingDlgTest::groupEntryMembersTakeoverAndJump()
{
    CDispatchingDlg dialog(*m_doc, QStringLiteral("Service"));
    ShowAt(dialog, QSize(700, 500));
    QCOMPARE(dialog.Tabs()->currentIndex(), int(CDispatchingDlg::TabGroups));
    QCOMPARE(dialog.TargetList()->count(), 1);
    QCOMPARE(dialog.TargetList()->item(0)->text(), QStringLiteral("Service (Anna, Bert)"));
    QVERIFY(dialog.TakeoverCheck()->isVisible());
    QCOMPARE(dialog.CurrentTarget(), 3);
    // The member's duty is shown as a named cell in its colour, not as a mark.
    QCOMPARE(dialog.Model().CellText(2, 32), QStringLiteral("Anna"));
    QCOMPARE(dialog.Model().CellColor(2, 32), CColour(255, 0, 0));
    QVERIFY(!dialog.Model().CellMarked(2, 32));

    // The group's own mark, the takeover flag and the members it needs are saved; the member
    // keeps its plan.
    auto* coverage = Named<QSpinBox>(&dialog, "coverageRequired");
    QVERIFY(coverage->isVisible());
    QCOMPARE(coverage->value(), 1);
    coverage->setValue(0);
    QCOMPARE(coverage->text(), QStringLiteral("Not watched"));
    dialog.Model().UserToggle(4, 40);
    QTest::mouseClick(dialog.TakeoverCheck(), Qt::LeftButton);
    QVERIFY(dialog.IsModified());
    dialog.Model().UserActivate(2, 33);
    const CPageTargetArray& targets = m_doc->PageTargets();
    QVERIFY(targets.at(3).m_takeover);
    QCOMPARE(targets.at(3).m_ranges.size(), 1);
    QVERIFY(targets.at(3).m_ranges.contains(Range(2024, 3, 7, 600, 615)));
    QCOMPARE(targets.at(0).m_ranges.size(), 1);
    const QByteArray file = [this] {
        QFile dispatch(m_folder->filePath(QStringLiteral("Service.tim")));
        return dispatch.open(QIODevice::ReadOnly) ? dispatch.readAll() : QByteArray();
    }();
    QVERIFY(file.contains("Takeover=1"));
    QVERIFY(file.contains("CoverageRequired=0"));
    QVERIFY(file.contains("20240307=10:00-10:15"));
    QCOMPARE(targets.at(3).m_coverageRequired, 0);

    // The activation jumped to the member on the receiver tab.
    QCOMPARE(dialog.Tabs()->currentIndex(), int(CDispatchingDlg::TabReceivers));
    QCOMPARE(dialog.CurrentTarget(), 0);
    QCOMPARE(dialog.TargetList()->currentItem()->text(), QStringLiteral("Anna"));
    QCOMPARE(dialog.JumpOrigin(), QStringLiteral("Service"));
    QVERIFY(!dialog.TakeoverCheck()->isVisible());
    QVERIFY(dialog.Model().CellMarked(2, 32));

    // An empty cell does not jump.
    dialog.Tabs()->setCurrentIndex(CDispatchingDlg::TabGroups);
    QCOMPARE(dialog.CurrentTarget(), -1); // the previous receiver is not on this tab
    QCOMPARE(dialog.Model().EditMode(), int(CPlannerModel::EditReadOnly));
    // Picked with the mouse, as an operator does: the plan is editable at once.
    QListWidget* list = dialog.TargetList();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
    QCOMPARE(dialog.CurrentTarget(), 3);
    QCOMPARE(dialog.Model().EditMode(), int(CPlannerModel::EditMarking));
    dialog.Model().UserActivate(1, 0);
    QCOMPARE(dialog.Tabs()->currentIndex(), int(CDispatchingDlg::TabGroups));
}

// Keyboard planning starts where the work time shows (today's column, or the week's first day),
// follows the week, and marks Monday to Friday 8:00 to 12:00 in eleven keys.
void DispatchingDlgTest::aWorkingWeekMorningTakesElevenKeys()
{
    CDispatchingDlg dialog(*m_doc, QStringLiteral("Carl"));
    ShowAt(dialog, QSize(700, 500));
    CPlannerWidget* grid = dialog.PlannerWidget();
    const int workRow = 480 / 15; // 8:00
    QCOMPARE(grid->CurrentRow(), workRow);
    QCOMPARE(grid->CurrentColumn(), dialog.Planner().ColumnOfDate(Now()));
    QTest::mouseClick(dialog.ForwardButton(), Qt::LeftButton); // a week without today: its Monday
    QCOMPARE(grid->CurrentColumn(), 1);
    QCOMPARE(grid->CurrentRow(), workRow);
    grid->setFocus();
    int keys = 0;
    const auto press = [&](Qt::Key key, Qt::KeyboardModifiers modifiers, int times) {
        for (int i = 0; i < times; ++i, ++keys)
            QTest::keyClick(grid, key, modifiers);
    };
    press(Qt::Key_Right, Qt::ShiftModifier, 4);
    press(Qt::Key_Down, Qt::ShiftModifier | Qt::ControlModifier, 3);
    press(Qt::Key_Down, Qt::ShiftModifier, 3);
    press(Qt::Key_Space, Qt::NoModifier, 1);
    QVERIFY(keys <= 15);
    int marked = 0;
    for (int column = 1; column <= 7; ++column) {
        for (int row = 0; row < 96; ++row)
            marked += dialog.Model().CellMarked(column, row) ? 1 : 0;
    }
    QCOMPARE(marked, 5 * 16);
    QVERIFY(dialog.Model().CellMarked(1, workRow) && dialog.Model().CellMarked(5, workRow + 15));
    // Delete unmarks the selection again.
    press(Qt::Key_Delete, Qt::NoModifier, 1);
    QVERIFY(!dialog.Model().CellMarked(3, workRow + 8));
    dialog.reject();
}

// A screen reader meets a table of quarter hours by days whose cells name their day and time, tell
// their mark, and follow the keyboard.
void DispatchingDlgTest::theGridReadsAsATableToAScreenReader()
{
    CDispatchingDlg dialog(*m_doc, QStringLiteral("Service"));
    ShowAt(dialog, QSize(700, 500));
    CPlannerWidget* grid = dialog.PlannerWidget();
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(grid);
    QVERIFY(iface && iface->tableInterface());
    QCOMPARE(iface->role(), QAccessible::Table);
    QAccessibleTableInterface* table = iface->tableInterface();
    QCOMPARE(table->rowCount(), 96);
    QCOMPARE(table->columnCount(), 7);
    QCOMPARE(iface->childCount(), 96 * 7);

    const QString tuesday = QLocale().toString(QDate(2024, 3, 5), QLocale::LongFormat);
    QAccessibleInterface* cell = table->cellAt(33, 1); // Tuesday 8:15, Anna's duty in the group
    QVERIFY(cell && cell->tableCellInterface());
    QCOMPARE(cell->role(), QAccessible::Cell);
    QCOMPARE(cell->text(QAccessible::Name), tuesday + QStringLiteral(", 8:15 to 8:30"));
    QCOMPARE(cell->text(QAccessible::Value), QStringLiteral("Anna"));
    QCOMPARE(cell->tableCellInterface()->columnIndex(), 1);
    QCOMPARE(cell->tableCellInterface()->rowIndex(), 33);
    QCOMPARE(iface->indexOfChild(cell), 33 * 7 + 1);
    QVERIFY(!cell->state().checked);
    QCOMPARE(table->cellAt(0, 0)->text(QAccessible::Value), QStringLiteral("no duty"));
    QCOMPARE(iface->childAt(cell->rect().center().x(), cell->rect().center().y()), cell);
    QVERIFY(cell->state().offscreen == cell->rect().isEmpty());

    // The keyboard moves the focus child and marks (that a screen reader is told of each step is
    // checked under AT-SPI: the offscreen platform has no accessibility bridge to tell).
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Left); // from Wednesday, today, to Tuesday 8:00
    QCOMPARE(iface->focusChild(), table->cellAt(32, 1));
    QVERIFY(iface->focusChild()->state().focused);
    QTest::keyClick(grid, Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(iface->focusChild(), cell);
    QCOMPARE(table->selectedCellCount(), 2);
    QVERIFY(cell->state().selected);
    QTest::keyClick(grid, Qt::Key_Space);
    QVERIFY(cell->state().checked);
    QCOMPARE(cell->text(QAccessible::Value), QStringLiteral("Service, Anna"));
    dialog.reject();
}

void DispatchingDlgTest::singleMarkedCellIsSavedOnNavigationAndClose()
{
    const QString cfg = m_folder->filePath(QStringLiteral("kelvaris.cfg"));
    {
        CDispatchingDlg dialog(*m_doc, QStringLiteral("Carl"));
        ShowAt(dialog, QSize(700, 500));
        dialog.Model().UserToggle(1, 32); // Monday 8:00
        QVERIFY(dialog.IsModified());
        QTest::mouseClick(dialog.ForwardButton(), Qt::LeftButton);
        QVERIFY(!dialog.IsModified());
        const CDispatchRangeArray& ranges = m_doc->PageTargets().at(2).m_ranges;
        QCOMPARE(ranges.size(), 1);
        QVERIFY(ranges.contains(Range(2024, 3, 4, 480, 495)));
        QFile dispatch(m_folder->filePath(QStringLiteral("Carl.tim")));
        QVERIFY(dispatch.open(QIODevice::ReadOnly));
        QVERIFY(dispatch.readAll().contains("20240304=08:00-08:15"));
        // With a plan elsewhere, the empty week offers the way back.
        QVERIFY(dialog.PreviousScheduleButton()->isEnabled());

        // A run to the end of the day; closing saves it (Escape included) and ends with Accepted.
        for (int row = 94; row < 96; ++row)
            dialog.Model().UserToggle(7, row);
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(ranges.contains(Range(2024, 3, 17, 1410, 1440)));
    }
    CProfile::DropCachedFiles();
    CProfile profile(cfg);
    QVERIFY(profile.ReadInt(QStringLiteral("Window"), QStringLiteral("WindowR"), 0) > 0);
    QVERIFY(profile.ReadInt(QStringLiteral("Window"), QStringLiteral("WindowB"), 0) > 0);
}

void DispatchingDlgTest::removeReloadsThePlanAndEmptyDocument()
{
    {
        CDispatchingDlg dialog(*m_doc, QStringLiteral("Anna"));
        ShowAt(dialog, QSize(700, 500));
        // An unsaved mark goes into the plan before the remove dialog sees it.
        dialog.Model().UserToggle(1, 0);
        bool opened = false;
        WhenModal<CDispRemoveDlg>([&opened](CDispRemoveDlg* remove) {
            opened = true;
            remove->ApplyPreset(RemovePreset::All);
            remove->accept();
        });
        QTest::mouseClick(dialog.RemoveButton(), Qt::LeftButton);
        QVERIFY(opened);
        QVERIFY(m_doc->PageTargets().at(0).m_ranges.isEmpty());
        QVERIFY(!dialog.Model().CellMarked(2, 32));
        QVERIFY(!dialog.RemoveButton()->isEnabled());
        QVERIFY(dialog.PreviousScheduleButton()->isVisible());
        QVERIFY(!dialog.PreviousScheduleButton()->isEnabled());
    }
    {
        CKelvarisDoc empty(m_server, m_rights);
        CDispatchingDlg dialog(empty, QString());
        ShowAt(dialog, QSize(700, 500));
        QCOMPARE(dialog.CurrentTarget(), -1);
        QCOMPARE(dialog.Model().EditMode(), int(CPlannerModel::EditReadOnly));
        QVERIFY(!dialog.RemoveButton()->isEnabled());
        QVERIFY(!dialog.PreviousScheduleButton()->isVisible());
        QTest::mouseClick(dialog.ForwardButton(), Qt::LeftButton);
        dialog.Tabs()->setCurrentIndex(CDispatchingDlg::TabGroups);
        QCOMPARE(dialog.TargetList()->count(), 0);
        dialog.done(QDialog::Rejected);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }
}

// A reload builds the list again: a new receiver listed first, or the target gone.
void DispatchingDlgTest::editsStayWithTheirTargetWhenTheListChanges()
{
    const QDir folder(m_folder->path());
    const auto readFile = [&folder](const char* name) {
        QFile file(folder.filePath(QString::fromLatin1(name)));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const auto relist = [this](const QStringList& names) {
        CPageTargetArray before = m_doc->PageTargets();
        CPageTargetArray& targets = m_doc->PageTargets();
        targets.clear();
        for (const QString& name : names) {
            const CPageTarget* old = std::as_const(before).FindByName(name);
            targets.append(old ? *old : Target(name, 9, 0x00FF00));
        }
    };
    QString message;
    {
        CDispatchingDlg dialog(*m_doc, QStringLiteral("Bert"));
        ShowAt(dialog, QSize(700, 500));
        QCOMPARE(dialog.CurrentTarget(), 1);
        dialog.Model().UserToggle(1, 32); // Monday 4 March, 8:00

        relist({ QStringLiteral("Dora"), QStringLiteral("Anna"), QStringLiteral("Bert"),
            QStringLiteral("Carl"), QStringLiteral("Service") });
        QCOMPARE(dialog.CurrentTarget(), 2);
        QTest::mouseClick(dialog.ForwardButton(), Qt::LeftButton); // saves
        QVERIFY(m_doc->PageTargets().at(2).m_ranges.contains(Range(2024, 3, 4, 480, 495)));
        QVERIFY(m_doc->PageTargets().at(0).m_ranges.isEmpty());
        QCOMPARE(m_doc->PageTargets().at(1).m_ranges.size(), 1);
        QVERIFY(readFile("Bert.tim").contains("20240304=08:00-08:15"));
        QCOMPARE(folder.entryList({ QStringLiteral("*.tim") }), QStringList { QStringLiteral("Bert.tim") });

        // The alarm server no longer lists Bert: the next edit still goes to his file, and the
        // operator is told.
        dialog.Model().UserToggle(2, 40); // Tuesday 12 March, 10:00
        relist({ QStringLiteral("Dora"), QStringLiteral("Anna"), QStringLiteral("Carl") });
        WhenModal<QMessageBox>([&message](QMessageBox* box) {
            message = box->text();
            box->close();
        });
        dialog.done(QDialog::Accepted);
    }
    QVERIFY2(message.contains(QStringLiteral("Bert")), qPrintable(message));
    const QByteArray bert = readFile("Bert.tim");
    for (const char* line :
        { "20240214=10:00-11:00", "20240304=08:00-08:15", "20240312=10:00-10:15", "20240410=10:00-11:00" })
        QVERIFY2(bert.contains(line), bert.constData());
    QCOMPARE(folder.entryList({ QStringLiteral("*.tim") }), QStringList { QStringLiteral("Bert.tim") });
    for (const CPageTarget& target : std::as_const(m_doc->PageTargets()))
        QVERIFY2(
            target.m_name == QStringLiteral("Anna") || target.m_ranges.isEmpty(), qPrintable(target.m_name));

    // The remove dialog holds its target the same way.
    m_doc->PageTargets().clear();
    CPageTarget anna = Target(QStringLiteral("Anna"), 1, 0x0000FF);
    anna.m_ranges.append(Range(2024, 3, 6, 480, 540));
    m_doc->PageTargets().append(anna);
    QVERIFY(m_doc->PageTargets()[0].SaveDispatchFile());
    message.clear();
    {
        CDispRemoveDlg remove(*m_doc, QStringLiteral("Anna"));
        remove.ApplyPreset(RemovePreset::Today);
        QVERIFY(remove.IsOkEnabled());
        relist({ QStringLiteral("Dora") });
        WhenModal<QMessageBox>([&message](QMessageBox* box) {
            message = box->text();
            box->close();
        });
        remove.accept();
    }
    QVERIFY(message.contains(QStringLiteral("Anna")));
    QVERIFY(!readFile("Anna.tim").contains("20240306="));
    QVERIFY(!folder.exists(QStringLiteral("Dora.tim")));
}

void DispatchingDlgTest::screenshots()
{
    {
        CDispatchingDlg dialog(*m_doc, QStringLiteral("Anna"));
        ShowAt(dialog, QSize(1000, 640));
        Screenshot(dialog, QStringLiteral("planning-receiver"));
        QVERIFY(!Named<QLabel>(&dialog, "gapList")->isVisible());
    }
    {
        CDispatchingDlg dialog(*m_doc, QStringLiteral("Service"));
        ShowAt(dialog, QSize(1000, 640));
        Screenshot(dialog, QStringLiteral("planning-group"));
        // A group's gaps are listed; a receiver has no such list. Two are all listed at once.
        QCOMPARE(Named<QLabel>(&dialog, "gapList")->text(),
            QStringLiteral(
                "Gaps in cover: Mon 4 Mar 00:00 - Tue 5 Mar 08:00; Tue 5 Mar 09:00 - Mon 11 Mar 00:00"));
        QVERIFY(!Named<QPushButton>(&dialog, "allGaps")->isVisible());
    }
    {
        // Eight gaps: six in the line, every one behind "All gaps...".
        CPageTarget& anna = m_doc->PageTargets()[0];
        for (int day = 5; day <= 10; ++day)
            anna.m_ranges.AddFromText(
                QStringLiteral("202403%1=12:00-13:00").arg(day, 2, 10, QLatin1Char('0')));
        CDispatchingDlg dialog(*m_doc, QStringLiteral("Service"));
        ShowAt(dialog, QSize(1000, 640));
        QVERIFY(Named<QLabel>(&dialog, "gapList")->text().endsWith(QStringLiteral(" and 2 more")));
        auto* all = Named<QPushButton>(&dialog, "allGaps");
        QVERIFY(all->isVisible());
        int listed = 0;
        WhenModal<QDialog>([&listed](QDialog* list) {
            listed = Named<QListWidget>(list, "gapTexts")->count();
            list->reject();
        });
        QTest::mouseClick(all, Qt::LeftButton);
        QCOMPARE(listed, 8);
    }
}

QTEST_MAIN(DispatchingDlgTest)
#include "DispatchingDlgTest.moc"
