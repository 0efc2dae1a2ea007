#include <memory>

#include <QApplication>
#include <QLocale>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

#include "engine/KelvarisDoc.h"
#include "engine/Password.h"
#include "journal/Journal.h"
#include "plandialogs/PlannerWidget.h"
#include "planning/PlannerModel.h"
#include "planning/TimePlanner.h"

#include "ConfigLocationScope.h"
#include "DialogTesting.h"
#include "PlanningTesting.h"
#include "fakes/FakeServerCommand.h"

namespace {

// Wednesday 6 March 2024, noon.
CDateTime Now()
{
    return CDateTime(2024, 3, 6, 12, 0, 0);
}

const CDateTime kMonday(2024, 3, 4, 0, 0, 0);
// One-week and two-week control sizes (8 columns of 100 and of 121 pixels).
const QSize kOneWeek(800, 600);
const QSize kTwoWeeks(968, 600);

} // namespace

class PlannerTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { SetCurrentTimeSource(&Now); }
    void cleanupTestCase() { SetCurrentTimeSource(nullptr); }
    void init()
    {
        m_doc = std::make_unique<CKelvarisDoc>(m_server, m_rights);
        m_model = std::make_unique<CPlannerModel>();
        m_planner = std::make_unique<CTimePlanner>(*m_doc, *m_model);
    }
    void cleanup()
    {
        m_planner.reset();
        m_model.reset();
        m_doc.reset();
    }

    void marksAreSavedAsRuns();
    void widthDecidesTheWeeksAndTheSeparatorIsNeverUsed();
    void groupShowsMembersAndSavesOnlyItsOwnMarks();
    void resetColoursLabelsAndHeadings();
    void modelBoundsAndUserEdits();
    void widgetKeyboardMarking();
    void widgetMouseMarking();
    void headingsCarryWeekdayAndDate();
    void dragPastTheEdgeKeepsScrollingAndMarking();
    void gridSetUpBeforeItIsShownOpensAtTheWorkTime();
    void textColourFollowsTheBackground();
    void cellsSayWhoLastChangedThem();

private:
    CFakeServerCommandFactory m_server;
    CRightsCheck m_rights;
    std::unique_ptr<CKelvarisDoc> m_doc;
    std::unique_ptr<CPlannerModel> m_model;
    std::unique_ptr<CTimePlanner> m_planner;
};

void PlannerTest::marksAreSavedAsRuns()
{
    CPageTarget receiver = Target(QStringLiteral("R"), 1, 0x0000FF);
    receiver.m_ranges.append(Range(2024, 3, 4, 600, 660)); // shown: replaced by the marks
    receiver.m_ranges.append(Range(2024, 2, 1, 60, 120)); // not shown: kept
    m_doc->PageTargets().append(receiver);

    m_planner->SetUp(kMonday, false, kOneWeek);
    QVERIFY(m_planner->LoadPlan(0));
    QVERIFY(m_model->CellMarked(1, 40) && m_model->CellMarked(1, 43) && !m_model->CellMarked(1, 44));
    QCOMPARE(m_model->MarkColor(), CColour(255, 0, 0));

    m_model->ClearMarks();
    m_model->SetCellMarked(1, 32, true); // Monday 8:00
    for (int row = 90; row < 96; ++row)
        m_model->SetCellMarked(7, row, true); // Sunday 22:30 to the end of the day
    m_model->SetCellMarked(3, 0, true); // Wednesday: two runs
    m_model->SetCellMarked(3, 2, true);
    m_model->SetCellMarked(3, 3, true);
    QVERIFY(m_planner->SavePlan(0));

    const CDispatchRangeArray& ranges = m_doc->PageTargets()[0].m_ranges;
    QVERIFY(ranges.IsModified());
    QCOMPARE(ranges.size(), 5);
    QVERIFY(ranges.contains(Range(2024, 2, 1, 60, 120)));
    QVERIFY(ranges.contains(Range(2024, 3, 4, 480, 495)));
    QVERIFY(ranges.contains(Range(2024, 3, 10, 1350, 1440)));
    QVERIFY(ranges.contains(Range(2024, 3, 6, 0, 15)));
    QVERIFY(ranges.contains(Range(2024, 3, 6, 30, 60)));

    // Loading back gives the same marks; out-of-range numbers from an edited file are clipped.
    m_doc->PageTargets()[0].m_ranges.append(Range(2024, 3, 5, -30, 5000));
    QVERIFY(m_planner->LoadPlan(0));
    QVERIFY(m_model->CellMarked(1, 32) && !m_model->CellMarked(1, 33) && !m_model->CellMarked(1, 31));
    QVERIFY(m_model->CellMarked(2, 0) && m_model->CellMarked(2, 95));
    QVERIFY(m_model->CellMarked(7, 95));

    // An index outside the list is refused.
    QVERIFY(!m_planner->SavePlan(5));
    QVERIFY(!m_planner->LoadPlan(-1));
}

void PlannerTest::widthDecidesTheWeeksAndTheSeparatorIsNeverUsed()
{
    m_planner->SetUp(kMonday, false, QSize(960, 600)); // exactly 120 per column
    QCOMPARE(m_planner->Weeks(), 1);
    QCOMPARE(m_model->ColumnCount(), 8);
    QCOMPARE(m_model->RowCount(), 96);
    QCOMPARE(m_model->VisibleRows(), 600 / 14);
    QCOMPARE(m_model->FirstVisibleRow(), 480 / 15);
    QVERIFY(!m_planner->Caption().contains(u'/'));

    m_planner->SetUp(kMonday, false, kTwoWeeks);
    QCOMPARE(m_planner->Weeks(), 2);
    QCOMPARE(m_model->ColumnCount(), 16);
    QCOMPARE(m_model->ColumnHeading(8), QString());
    QCOMPARE(m_model->ColumnHeading(9), CTimePlanner::DayHeading(CDateTime(2024, 3, 11, 0, 0, 0)));
    QCOMPARE(m_model->ColumnHeading(15), CTimePlanner::DayHeading(CDateTime(2024, 3, 17, 0, 0, 0)));
    QVERIFY(m_planner->ColumnDate(8).IsNull());
    QCOMPARE(m_planner->ColumnDate(9), CDateTime(2024, 3, 11, 0, 0, 0));
    QCOMPARE(m_planner->ColumnOfDate(CDateTime(2024, 3, 17, 0, 0, 0)), 15);
    QCOMPARE(m_planner->ColumnOfDate(CDateTime(2024, 3, 18, 0, 0, 0)), -1);
    QVERIFY(!m_model->ColumnMarkable(0) && !m_model->ColumnMarkable(8) && m_model->ColumnMarkable(9));
    QCOMPARE(m_planner->Caption(),
        QStringLiteral("Week 10:  %1 - %2    /    Week 11:  %3 - %4")
            .arg(FormatDateTime(kMonday, DTF_DATE | DTF_FULLYEAR),
                FormatDateTime(CDateTime(2024, 3, 10, 0, 0, 0), DTF_DATE | DTF_FULLYEAR),
                FormatDateTime(CDateTime(2024, 3, 11, 0, 0, 0), DTF_DATE | DTF_FULLYEAR),
                FormatDateTime(CDateTime(2024, 3, 17, 0, 0, 0), DTF_DATE | DTF_FULLYEAR)));
    // Today (Wednesday of the first week) is highlighted, nothing else.
    for (int column = 0; column < 16; ++column)
        QCOMPARE(m_model->ColumnHighlighted(column), column == 3);

    // Ranges of the second week land in its columns, never in the separator.
    CPageTarget receiver = Target(QStringLiteral("R"), 1, 0xFF0000);
    receiver.m_ranges.append(Range(2024, 3, 11, 0, 1440));
    m_doc->PageTargets().append(receiver);
    QVERIFY(m_planner->LoadPlan(0));
    for (int row = 0; row < 96; ++row) {
        QVERIFY(m_model->CellMarked(9, row));
        QVERIFY(!m_model->CellMarked(8, row) && !m_model->CellMarked(7, row));
    }

    // A mark in the separator column (set directly; the user cannot) is not saved.
    m_model->SetCellMarked(8, 10, true);
    QVERIFY(m_planner->SavePlan(0));
    const CDispatchRangeArray& ranges = m_doc->PageTargets()[0].m_ranges;
    QCOMPARE(ranges.size(), 1);
    QCOMPARE(ranges[0], Range(2024, 3, 11, 0, 1440));

    // The user cannot mark the time or the separator column.
    m_model->SetEditMode(CPlannerModel::EditMarking);
    m_model->ClearMarks();
    m_model->UserSetMarked(0, 0, 9, 0, true);
    QVERIFY(!m_model->CellMarked(0, 0) && !m_model->CellMarked(8, 0));
    QVERIFY(m_model->CellMarked(1, 0) && m_model->CellMarked(9, 0));

    // The holiday columns keep a single week.
    m_planner->SetUp(kMonday, true, QSize(4000, 600));
    QCOMPARE(m_planner->Weeks(), 1);
    QCOMPARE(m_model->ColumnCount(), 12);
    QCOMPARE(m_model->ColumnHeading(10), QStringLiteral("Holiday"));
    QVERIFY(m_planner->ColumnDate(9).IsNull());
    QCOMPARE(m_model->CellColor(10, 40), CTimePlanner::OtherTimeColor());
}

void PlannerTest::groupShowsMembersAndSavesOnlyItsOwnMarks()
{
    CPageTarget a = Target(QStringLiteral("Anna"), 1, 0x00FF00); // green: black text
    a.m_ranges.append(Range(2024, 3, 5, 480, 540));
    CPageTarget b = Target(QStringLiteral("Ben"), 2, 0x800000); // dark blue: white text
    b.m_ranges.append(Range(2024, 3, 5, 510, 600));
    b.m_ranges.append(Range(2023, 12, 24, 0, 60));
    CPageTarget group = Target(QStringLiteral("North"), -1, 0x0000FF, QStringLiteral("Anna;Ben;Nobody"));
    group.m_ranges.append(Range(2024, 3, 5, 600, 660));
    group.m_ranges.append(Range(2024, 3, 5, 720, 780));
    m_doc->PageTargets().append(a);
    m_doc->PageTargets().append(b);
    m_doc->PageTargets().append(group);

    m_planner->SetUp(kMonday, false, kOneWeek);
    QVERIFY(m_planner->LoadPlan(2));
    // Tuesday is column 2: Anna 8:00-9:00, Ben 8:30-10:00.
    QCOMPARE(m_planner->CellText(2, 32), QStringLiteral("Anna"));
    QCOMPARE(m_model->CellColor(2, 32), CColour(0, 255, 0));
    QCOMPARE(m_model->CellTextColor(2, 32), CColour::Black());
    QCOMPARE(m_model->CellHint(2, 32), QStringLiteral("8:00 - 8:15\nAnna"));
    QCOMPARE(m_planner->CellText(2, 34), QStringLiteral("Anna;Ben"));
    QCOMPARE(m_model->CellHint(2, 35), QStringLiteral("8:45 - 9:00\nAnna\nBen"));
    QCOMPARE(m_planner->CellText(2, 36), QStringLiteral("Ben"));
    QCOMPARE(m_model->CellTextColor(2, 36), CColour::White());
    QCOMPARE(m_planner->CellText(2, 40), QString());
    // Only the group's own ranges are marked.
    for (int row = 0; row < 96; ++row)
        QCOMPARE(m_model->CellMarked(2, row), (row >= 40 && row < 44) || (row >= 48 && row < 52));
    QCOMPARE(m_planner->CellText(2, 48), QString());
    // The group is on duty 10:00-11:00 and 12:00-13:00, and none of its members then: two gaps,
    // inside its own hours, hatched and saying so; the hours it is off duty have none.
    QCOMPARE(m_planner->Gaps().size(), 2);
    QCOMPARE(m_planner->Gaps()[0].from, CDateTime(2024, 3, 5, 10, 0, 0));
    QCOMPARE(m_planner->Gaps()[0].to, CDateTime(2024, 3, 5, 11, 0, 0));
    for (const auto& [row, gap] : { std::pair { 31, false }, { 32, false }, { 39, false }, { 40, true },
             { 43, true }, { 44, false }, { 48, true }, { 52, false } }) {
        QCOMPARE(m_model->CellGap(2, row), gap);
        QCOMPARE(m_model->CellHint(2, row).endsWith(QStringLiteral("Nobody in the group is on duty")), gap);
    }

    {
        CPlannerWidget widget(m_model.get());
        SaveScreenshot(widget, QStringLiteral("planner_group"));
    }

    // Saving writes the group's marks only and leaves the members alone.
    m_model->SetCellMarked(2, 36, true);
    QVERIFY(m_planner->SavePlan(2));
    const CPageTargetArray& targets = m_doc->PageTargets();
    QCOMPARE(targets[2].m_ranges.size(), 3);
    QVERIFY(targets[2].m_ranges.contains(Range(2024, 3, 5, 540, 555)));
    QVERIFY(targets[2].m_ranges.contains(Range(2024, 3, 5, 600, 660)));
    QVERIFY(targets[2].m_ranges.contains(Range(2024, 3, 5, 720, 780)));
    QCOMPARE(targets[0].m_ranges.size(), 1);
    QCOMPARE(targets[1].m_ranges.size(), 2);
    QVERIFY(!targets[0].m_ranges.IsModified() && !targets[1].m_ranges.IsModified());

    // A later reset removes the member texts and colours again.
    m_planner->Reset();
    QCOMPARE(m_planner->CellText(2, 34), QString());
    QCOMPARE(m_model->CellColor(2, 34), CTimePlanner::WorkTimeColor());
    QVERIFY(!m_model->HasMarks());

    // Nearest schedules over the group and its members.
    CDateTime previous;
    CDateTime next;
    m_planner->SetUp(CDateTime(2024, 1, 8, 0, 0, 0), false, kOneWeek);
    QVERIFY(!m_planner->LoadPlan(2));
    m_planner->NearestSchedules(2, previous, next);
    QCOMPARE(previous, CDateTime(2023, 12, 24, 0, 0, 0));
    QCOMPARE(next, CDateTime(2024, 3, 5, 0, 0, 0));
    m_planner->NearestSchedules(0, previous, next);
    QVERIFY(previous.IsNull());
    QCOMPARE(next, CDateTime(2024, 3, 5, 0, 0, 0));
}

void PlannerTest::resetColoursLabelsAndHeadings()
{
    m_doc->m_holidays.append(CHoliday(QStringLiteral("Feast"), CDateTime(2024, 3, 7, 15, 0, 0)));
    m_doc->m_workDays = kWorkDaysMonToFri;
    m_doc->m_workTimeFrom = 480;
    m_doc->m_workTimeTo = 1020;
    m_planner->SetUp(kMonday, false, kOneWeek);

    QCOMPARE(m_model->ColumnHeading(0), QStringLiteral("Time"));
    QCOMPARE(m_model->ColumnHeading(1), CTimePlanner::DayHeading(kMonday));
    QCOMPARE(m_model->CellColor(0, 0), CTimePlanner::TimeColumnColor());
    QCOMPARE(m_model->CellText(0, 0), QStringLiteral("0:00"));
    QCOMPARE(m_model->CellText(0, 33), QStringLiteral("8:15"));
    QCOMPARE(m_model->CellText(0, 95), QStringLiteral("23:45"));
    QCOMPARE(CTimePlanner::TimeLabel(96), QStringLiteral("24:00"));
    QCOMPARE(m_model->CellHint(1, 32), QStringLiteral("8:00 - 8:15"));
    QCOMPARE(m_model->CellHint(1, 95), QStringLiteral("23:45 - 24:00"));

    QCOMPARE(m_model->CellColor(1, 31), CTimePlanner::OtherTimeColor()); // 7:45
    QCOMPARE(m_model->CellColor(1, 32), CTimePlanner::WorkTimeColor()); // 8:00
    QCOMPARE(m_model->CellColor(1, 67), CTimePlanner::WorkTimeColor()); // 16:45
    QCOMPARE(m_model->CellColor(1, 68), CTimePlanner::OtherTimeColor()); // 17:00
    QCOMPARE(m_model->CellColor(4, 40), CTimePlanner::HolidayColor()); // Thursday, a holiday
    QCOMPARE(m_model->CellColor(4, 0), CTimePlanner::HolidayColor());
    QCOMPARE(m_model->CellColor(6, 40), CTimePlanner::OtherTimeColor()); // Saturday

    // Saturday as a working day (bit 5 of the Monday-based mask).
    m_doc->m_workDays = kWorkDaysMonToFri | (1 << 5);
    m_planner->Reset();
    QCOMPARE(m_model->CellColor(6, 40), CTimePlanner::WorkTimeColor());
    QCOMPARE(m_model->CellColor(7, 40), CTimePlanner::OtherTimeColor());

    // A first date that is not a Monday still names each column by its weekday.
    m_planner->SetUp(CDateTime(2024, 3, 6, 9, 30, 0), false, kOneWeek);
    QCOMPARE(m_planner->FirstDate(), CDateTime(2024, 3, 6, 0, 0, 0));
    QCOMPARE(m_model->ColumnHeading(1), CTimePlanner::DayHeading(CDateTime(2024, 3, 6, 0, 0, 0)));
    QCOMPARE(m_model->ColumnHeading(7), CTimePlanner::DayHeading(CDateTime(2024, 3, 12, 0, 0, 0)));
    QCOMPARE(CTimePlanner::WeekdayName(CDateTime(2024, 3, 12, 0, 0, 0)), QStringLiteral("Tuesday"));
}

void PlannerTest::modelBoundsAndUserEdits()
{
    CPlannerModel model;
    QSignalSpy marking(&model, &CPlannerModel::MarkingChanged);
    QSignalSpy changed(&model, &CPlannerModel::GridChanged);
    model.SetColumnCount(1000);
    model.SetRowCount(-5);
    QCOMPARE(model.ColumnCount(), CPlannerModel::kMaxColumns);
    QCOMPARE(model.RowCount(), 0);
    model.SetColumnCount(3);
    model.SetRowCount(4);
    model.SetCellText(2, 3, QStringLiteral("x"));
    model.SetCellText(3, 0, QStringLiteral("outside")); // ignored
    QCOMPARE(model.CellText(3, 0), QString());
    model.SetRowCount(6); // cells inside keep their content
    QCOMPARE(model.CellText(2, 3), QStringLiteral("x"));

    // Updates are batched; programmatic marks do not count as user edits.
    changed.clear();
    model.BeginUpdate();
    model.SetCellMarked(1, 1, true);
    model.SetCellColor(1, 1, CColour(255, 0, 0));
    QCOMPARE(changed.count(), 0);
    model.EndUpdate();
    QCOMPARE(changed.count(), 1);
    QCOMPARE(marking.count(), 0);

    // Read-only: the user changes nothing; activation still works.
    QSignalSpy activated(&model, &CPlannerModel::CellActivated);
    model.UserToggle(1, 2);
    QVERIFY(!model.CellMarked(1, 2));
    model.UserActivate(2, 5);
    model.UserActivate(9, 9);
    QCOMPARE(activated.count(), 1);
    QCOMPARE(activated.at(0).at(0).toInt(), 2);

    model.SetEditMode(CPlannerModel::EditMarking);
    model.UserSetMarked(2, 4, 1, 1, true); // corners in any order; (1,1) was marked already
    QCOMPARE(marking.count(), 1);
    QCOMPARE(marking.at(0), QList<QVariant>({ 1, 1, 2, 4 }));
    model.UserSetMarked(1, 1, 2, 4, true); // nothing changes: no event
    QCOMPARE(marking.count(), 1);
    model.UserToggle(1, 1);
    QVERIFY(!model.CellMarked(1, 1));
    QCOMPARE(marking.count(), 2);
}

void PlannerTest::widgetKeyboardMarking()
{
    m_planner->SetUp(kMonday, false, kOneWeek);
    CPlannerWidget widget(m_model.get());
    widget.resize(kOneWeek);
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    widget.setFocus();
    QCOMPARE(widget.FirstShownRow(), 32); // the work time start

    QSignalSpy marking(m_model.get(), &CPlannerModel::MarkingChanged);
    QSignalSpy activated(m_model.get(), &CPlannerModel::CellActivated);

    // Read-only: Space changes nothing.
    widget.SetCurrentCell(1, 32);
    QTest::keyClick(&widget, Qt::Key_Space);
    QVERIFY(!m_model->HasMarks());

    m_model->SetEditMode(CPlannerModel::EditMarking);
    QTest::keyClick(&widget, Qt::Key_Space);
    QVERIFY(m_model->CellMarked(1, 32));
    QCOMPARE(marking.count(), 1);
    QTest::keyClick(&widget, Qt::Key_Space);
    QVERIFY(!m_model->CellMarked(1, 32));

    // Shift+arrows extend the selection, Space marks all of it.
    QTest::keyClick(&widget, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(&widget, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(&widget, Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(widget.CurrentColumn(), 2);
    QCOMPARE(widget.CurrentRow(), 34);
    QTest::keyClick(&widget, Qt::Key_Space);
    for (int column = 1; column <= 2; ++column)
        for (int row = 32; row <= 34; ++row)
            QVERIFY(m_model->CellMarked(column, row));
    QVERIFY(!m_model->CellMarked(1, 35) && !m_model->CellMarked(3, 32));

    // Plain arrows move without extending; the time column cannot be reached.
    QTest::keyClick(&widget, Qt::Key_Left);
    QTest::keyClick(&widget, Qt::Key_Left);
    QCOMPARE(widget.CurrentColumn(), 1);
    QTest::keyClick(&widget, Qt::Key_Down);
    QTest::keyClick(&widget, Qt::Key_Space);
    QVERIFY(m_model->CellMarked(1, 35) && !m_model->CellMarked(2, 35));

    // End scrolls the last row into view; Enter activates the current cell.
    QTest::keyClick(&widget, Qt::Key_End);
    QCOMPARE(widget.CurrentRow(), 95);
    QVERIFY(widget.CellRect(1, 95).bottom() <= widget.viewport()->height());
    QTest::keyClick(&widget, Qt::Key_Return);
    QCOMPARE(activated.count(), 1);
    QCOMPARE(activated.at(0), QList<QVariant>({ 1, 95 }));

    // The separator is skipped in the two-week view.
    m_planner->SetUp(kMonday, false, kTwoWeeks);
    widget.SetCurrentCell(7, 40);
    QTest::keyClick(&widget, Qt::Key_Right);
    QCOMPARE(widget.CurrentColumn(), 9);
}

void PlannerTest::widgetMouseMarking()
{
    m_planner->SetUp(kMonday, false, kOneWeek);
    m_model->SetEditMode(CPlannerModel::EditMarking);
    m_model->SetCellMarked(2, 33, true);
    CPlannerWidget widget(m_model.get());
    widget.resize(kOneWeek);
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    QSignalSpy marking(m_model.get(), &CPlannerModel::MarkingChanged);

    QWidget* viewport = widget.viewport();
    const QPoint start = widget.CellRect(1, 32).center();
    const QPoint far = widget.CellRect(3, 35).center();
    const QPoint near = widget.CellRect(2, 34).center();
    QTest::mousePress(viewport, Qt::LeftButton, {}, start);
    QVERIFY(m_model->CellMarked(1, 32));
    QMouseEvent moveFar(QEvent::MouseMove, far, viewport->mapToGlobal(far), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(viewport, &moveFar);
    for (int column = 1; column <= 3; ++column)
        for (int row = 32; row <= 35; ++row)
            QVERIFY(m_model->CellMarked(column, row));
    // Dragging back gives the cells left behind their earlier state.
    QMouseEvent moveNear(
        QEvent::MouseMove, near, viewport->mapToGlobal(near), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(viewport, &moveNear);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, near);
    for (int column = 1; column <= 3; ++column)
        for (int row = 32; row <= 35; ++row)
            QCOMPARE(m_model->CellMarked(column, row), column <= 2 && row <= 34);
    QVERIFY(marking.count() >= 1);

    // A press on a marked cell unmarks; a press in the time column marks nothing.
    QTest::mouseClick(viewport, Qt::LeftButton, {}, widget.CellRect(2, 33).center());
    QVERIFY(!m_model->CellMarked(2, 33));
    QTest::mouseClick(viewport, Qt::LeftButton, {}, widget.CellRect(0, 40).center());
    QVERIFY(!m_model->CellMarked(0, 40));

    // The heading row is no cell; a double click on a cell activates it.
    int column = -1;
    int row = -1;
    QVERIFY(!widget.CellAt(QPoint(start.x(), 2), column, row));
    QSignalSpy activated(m_model.get(), &CPlannerModel::CellActivated);
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, widget.CellRect(5, 40).center());
    QCOMPARE(activated.count(), 1);
    QCOMPARE(activated.at(0), QList<QVariant>({ 5, 40 }));

    // Read-only: clicks change nothing.
    m_model->SetEditMode(CPlannerModel::EditReadOnly);
    QTest::mouseClick(viewport, Qt::LeftButton, {}, widget.CellRect(6, 40).center());
    QVERIFY(!m_model->CellMarked(6, 40));
}

void PlannerTest::headingsCarryWeekdayAndDate()
{
    const QLocale before;
    const auto restore = qScopeGuard([&before] { QLocale::setDefault(before); });

    // Day and month of the locale's short date, the year cut with its separator.
    const auto format = [](QLocale::Language language, QLocale::Territory territory) {
        return CTimePlanner::DayMonthFormat(QLocale(language, territory));
    };
    QCOMPARE(format(QLocale::German, QLocale::Germany), QStringLiteral("d.M."));
    QCOMPARE(format(QLocale::English, QLocale::UnitedStates), QStringLiteral("M/d"));
    QCOMPARE(format(QLocale::English, QLocale::UnitedKingdom), QStringLiteral("d/M"));
    QCOMPARE(format(QLocale::Dutch, QLocale::Netherlands), QStringLiteral("d-M"));
    QCOMPARE(format(QLocale::Swedish, QLocale::Sweden), QStringLiteral("M-d")); // year first

    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    m_planner->SetUp(kMonday, false, kOneWeek);
    QCOMPARE(m_model->ColumnHeading(1), QStringLiteral("Mon 3/4"));
    QCOMPARE(m_model->ColumnHeading(7), QStringLiteral("Sun 3/10"));
    // Both Mondays of the two-week view are told apart by their dates.
    m_planner->SetUp(kMonday, false, kTwoWeeks);
    QCOMPARE(m_model->ColumnHeading(1), QStringLiteral("Mon 3/4"));
    QCOMPARE(m_model->ColumnHeading(8), QString());
    QCOMPARE(m_model->ColumnHeading(9), QStringLiteral("Mon 3/11"));

    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    m_planner->Retranslate();
    const QString mondayShort = QLocale().dayName(1, QLocale::ShortFormat);
    QCOMPARE(m_model->ColumnHeading(9), mondayShort + QStringLiteral(" 11.3."));

    // The widget asks for room for its headings.
    CPlannerWidget widget(m_model.get());
    const int narrow = widget.minimumSizeHint().width();
    m_model->SetColumnHeading(3, QString(40, u'W'));
    QVERIFY(widget.minimumSizeHint().width() > narrow);
    const int wide = widget.fontMetrics().horizontalAdvance(QString(40, u'W'));
    QVERIFY(widget.minimumSizeHint().width() >= 7 * wide);
}

void PlannerTest::dragPastTheEdgeKeepsScrollingAndMarking()
{
    m_planner->SetUp(kMonday, false, kOneWeek);
    m_model->SetEditMode(CPlannerModel::EditMarking);
    CPlannerWidget widget(m_model.get());
    widget.resize(400, 300); // far fewer rows than a day
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    QCOMPARE(widget.FirstShownRow(), 32);
    QVERIFY(widget.statusTip().contains(QStringLiteral("Shift+arrow")));

    QWidget* viewport = widget.viewport();
    QTest::mousePress(viewport, Qt::LeftButton, {}, widget.CellRect(2, 33).center());
    QVERIFY(m_model->CellMarked(2, 33));
    // One move below the grid, then the pointer rests: the grid scrolls on by itself and the
    // marking follows down to the last quarter hour.
    const QPoint below(widget.CellRect(2, 33).center().x(), viewport->height() + 3 * widget.RowHeight());
    QMouseEvent move(
        QEvent::MouseMove, below, viewport->mapToGlobal(below), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(viewport, &move);
    QVERIFY(widget.IsAutoScrolling());
    QTRY_VERIFY_WITH_TIMEOUT(m_model->CellMarked(2, 95), 10000);
    for (int row = 33; row <= 95; ++row)
        QVERIFY(m_model->CellMarked(2, row));
    QVERIFY(!m_model->CellMarked(2, 32) && !m_model->CellMarked(1, 60) && !m_model->CellMarked(3, 60));
    QTRY_VERIFY(!widget.IsAutoScrolling()); // the last row reached
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, below);

    // Upwards above the grid, then back inside: scrolling stops with the pointer inside.
    QTest::mousePress(viewport, Qt::LeftButton, {}, widget.CellRect(4, 90).center());
    const QPoint above(widget.CellRect(4, 90).center().x(), widget.HeaderHeight() - 2);
    QMouseEvent up(QEvent::MouseMove, above, viewport->mapToGlobal(above), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(viewport, &up);
    const int start = widget.FirstShownRow();
    QTRY_VERIFY(widget.FirstShownRow() <= start - 3);
    const QPoint inside = widget.CellRect(4, widget.FirstShownRow() + 2).center();
    QMouseEvent back(
        QEvent::MouseMove, inside, viewport->mapToGlobal(inside), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(viewport, &back);
    QVERIFY(!widget.IsAutoScrolling());
    const int top = widget.CurrentRow();
    for (int row = top; row <= 90; ++row)
        QVERIFY(m_model->CellMarked(4, row));
    QVERIFY(!m_model->CellMarked(4, top - 1));
    // Release ends it all.
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, inside);
    QVERIFY(!widget.IsAutoScrolling());
}

void PlannerTest::gridSetUpBeforeItIsShownOpensAtTheWorkTime()
{
    // As in the remove dialog: the widget exists, the planner is set up, then it is laid out.
    CPlannerWidget widget(m_model.get());
    m_planner->SetUp(kMonday, false, widget.viewport()->size());
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(&widget);
    window.resize(500, 400);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_COMPARE(widget.FirstShownRow(), 32);
    QVERIFY(widget.CellRect(1, 32).top() == widget.HeaderHeight());
    layout->removeWidget(&widget);
    widget.setParent(nullptr);
}

void PlannerTest::textColourFollowsTheBackground()
{
    // The same decision as the list images and the exports: the higher contrast by WCAG luminance.
    const quint32 colours[]
        = { 0x000000U, 0x800000U, 0x0000FFU, 0x00FFFFU, 0xFFFFFFU, 0x7F7F7FU, 0x808080U, 0xFF0000U };
    for (const quint32 colour : colours) {
        CPageTarget target = Target(QStringLiteral("T"), 1, colour);
        QCOMPARE(PlannerTextColorOn(CTimePlanner::ColorFromValue(colour)),
            CTimePlanner::ColorFromValue(target.TextColour()));
    }
    // A member's cell in a group's plan: dark and light members.
    CPageTarget dark = Target(QStringLiteral("Dark"), 1, 0x800000);
    CPageTarget light = Target(QStringLiteral("Light"), 2, 0x80FFFF);
    dark.m_ranges.append(Range(2024, 3, 4, 0, 15));
    light.m_ranges.append(Range(2024, 3, 4, 15, 30));
    m_doc->PageTargets().append(dark);
    m_doc->PageTargets().append(light);
    m_doc->PageTargets().append(Target(QStringLiteral("G"), -1, 0xFFFFFF, QStringLiteral("Dark;Light")));
    m_planner->SetUp(kMonday, false, kOneWeek);
    QVERIFY(m_planner->LoadPlan(2));
    QCOMPARE(m_model->CellTextColor(1, 0), CColour::White());
    QCOMPARE(m_model->CellTextColor(1, 1), CColour::Black());
}

QTEST_MAIN(PlannerTest)
#include "PlannerTest.moc"

// A cell's hint names who last changed that quarter hour of the plan: the newest journal entry
// whose removed or added lines touch it.
void PlannerTest::cellsSayWhoLastChangedThem()
{
    QTemporaryDir dir;
    const CConfigLocationScope location(dir.filePath(QStringLiteral("kelvaris.cfg")));
    {
        CJournal journal(CJournal::PathIn(dir.path()));
        QVERIFY(journal.Open(true));
        const struct
        {
            const char* user;
            const char* before;
            const char* after;
        } changes[] = {
            { "anna", "", "Name=Anna\n20240305=08:00-09:00\n20240306=08:00-09:00" },
            { "bert", "20240305=08:00-09:00", "20240305=08:30-08:45" },
        };
        for (const auto& change : changes) {
            CJournalEntry entry;
            entry.atMs = QDateTime(QDate(2024, 3, 1), QTime(12, 0)).toMSecsSinceEpoch();
            entry.user = QString::fromLatin1(change.user);
            entry.kind = QStringLiteral("plan");
            entry.subject = QStringLiteral("Anna");
            entry.before = QString::fromLatin1(change.before);
            entry.after = QString::fromLatin1(change.after);
            entry.form = *change.before ? QStringLiteral("lines") : QString();
            QVERIFY(journal.Append(entry));
        }
    }
    CPageTarget anna = Target(QStringLiteral("Anna"), 1, 0x00FF00);
    anna.m_ranges.append(Range(2024, 3, 5, 510, 525));
    anna.m_ranges.append(Range(2024, 3, 6, 480, 540));
    m_doc->PageTargets().append(anna);
    m_planner->SetUp(kMonday, false, kOneWeek);
    QVERIFY(m_planner->LoadPlan(0));
    // Tuesday 8:00-9:00 was Bert's change (the removed hour and the quarter added), Wednesday's
    // hour is as Anna's entry left it, Tuesday 9:00 nobody touched.
    for (const auto& [column, row, who] : { std::tuple { 2, 32, "bert" }, { 2, 34, "bert" },
             { 2, 35, "bert" }, { 3, 33, "anna" }, { 2, 36, "" } }) {
        const QString hint = m_model->CellHint(column, row);
        QCOMPARE(hint.contains(QStringLiteral("Last changed by")), *who != 0);
        QVERIFY2(hint.contains(QString::fromLatin1(who)), qPrintable(hint));
    }
}
