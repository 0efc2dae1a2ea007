#include "editors/BarrageDialogs.h"

#include <functional>

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>
#include <QTreeWidget>

#include "schedule/DateType.h"

#include "DialogTesting.h"

namespace {
CDateTime FixedNow()
{
    return CDateTime(2024, 3, 14, 9, 30, 15);
}

CBarrage Barrier(
    const QString& name, int dateType, int startHour, int endHour, int type = 1, int priority = 0)
{
    CBarrage barrier;
    barrier.m_name = name;
    barrier.m_dateType = dateType;
    barrier.m_date = dateType == DATETYPE_SPECIAL ? CDateTime(2024, 5, 1, 0, 0, 0) : CDateTime();
    barrier.m_startTime = CDateTime::TimeOfDay(startHour, 0, 0);
    barrier.m_endTime = CDateTime::TimeOfDay(endHour, 0, 0);
    barrier.m_barrierType = type;
    barrier.m_priority = priority;
    return barrier;
}

void Retype(QComboBox* combo, const QString& text)
{
    combo->lineEdit()->selectAll();
    QTest::keyClick(combo->lineEdit(), Qt::Key_Delete);
    QTest::keyClicks(combo->lineEdit(), text);
}
} // namespace

class BarrageDialogsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { SetCurrentTimeSource(&FixedNow); }
    void cleanup() { SetCurrentTimeSource(nullptr); }

    void dateTypePositionsFollowTheRankOrder()
    {
        const int codes[] = { 1, 2, 12, 13, 3, 4, 5, 6, 7, 8, 9, 10, 11 };
        for (int position = 0; position < 13; ++position) {
            QCOMPARE(DateTypeAtPosition(position), codes[position]);
            QCOMPARE(DateTypePosition(codes[position]), position);
        }
        QCOMPARE(DateTypeAtPosition(-1), int(DATETYPE_NONE));
        QCOMPARE(DateTypeAtPosition(13), int(DATETYPE_NONE));
        QCOMPARE(DateTypePosition(0), -1);
        QCOMPARE(DateTypePosition(14), -1);

        CBarrageEntry entry;
        QCOMPARE(entry.DateTypeCombo()->count(), 13);
        QCOMPARE(entry.DateTypeCombo()->itemText(2), QStringLiteral("Day before holiday"));
        QCOMPARE(entry.DateTypeCombo()->itemText(4), QStringLiteral("Monday"));
        QCOMPARE(entry.DateTypeCombo()->itemText(12), QStringLiteral("Weekend"));
    }

    void listHasTheColumnsAndTheirShares()
    {
        CBarrageArray barriers;
        CBarrageListDialog dialog(barriers);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Barriers/Pauses"));
        const QStringList headers = { "Identification", "Date type", "Date", "Start time", "End time",
            "Type of barrier/pause", "Priority" };
        const int shares[] = { 17, 14, 10, 10, 9, 24, 16 };
        QTreeWidget* list = dialog.List();
        QCOMPARE(list->columnCount(), int(headers.size()));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const int scrollBar = list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list);
        // At its opening size every column is as wide as its texts need and the columns fill the
        // list; widened, the columns share the width by their percentages.
        int inner = list->width() - scrollBar - 2 * list->frameWidth();
        int sum = 0;
        for (int column = 0; column < headers.size(); ++column) {
            QCOMPARE(list->headerItem()->text(column), headers.at(column));
            QVERIFY(list->columnWidth(column) >= list->fontMetrics().horizontalAdvance(headers.at(column)));
            sum += list->columnWidth(column);
        }
        // Where the screen is wide enough the dialog opens showing every column whole; on a
        // smaller screen (the offscreen one is 800 px) the list scrolls sideways instead.
        if (list->horizontalScrollBar()->maximum() == 0) {
            QVERIFY(sum <= inner);
            QVERIFY(sum >= inner - int(headers.size()));
        } else {
            QVERIFY(sum > inner);
        }
        dialog.resize(dialog.width() * 4, dialog.height());
        QCoreApplication::processEvents();
        inner = list->width() - scrollBar - 2 * list->frameWidth();
        for (int column = 0; column < headers.size(); ++column)
            QCOMPARE(list->columnWidth(column), inner * shares[column] / 100);
        QCOMPARE(dialog.AddButton()->text(), QStringLiteral("&Add"));
        QCOMPARE(dialog.EditButton()->text(), QStringLiteral("&Edit"));
        QCOMPARE(dialog.RemoveButton()->text(), QStringLiteral("&Remove"));
        QCOMPARE(dialog.CloseButton()->text(), QStringLiteral("Close"));
        QVERIFY(dialog.EditButton()->isDefault());
    }

    void columnsShareTheWidthButKeepTheirNeeds()
    {
        const int percents[] = { 50, 30, 20 };
        // Room for all: the shares.
        const int small[] = { 10, 10, 10 };
        QCOMPARE(SharedColumnWidths(small, percents, 1000), QList<int>({ 500, 300, 200 }));
        // The last column needs more than its share: it gets its need, the others share the rest
        // by their percentages.
        const int wideLast[] = { 10, 10, 400 };
        QCOMPARE(SharedColumnWidths(wideLast, percents, 1000), QList<int>({ 375, 225, 400 }));
        // A need that only shows after another column was fixed is fixed too.
        const int chained[] = { 10, 280, 400 };
        QCOMPARE(SharedColumnWidths(chained, percents, 1000), QList<int>({ 320, 280, 400 }));
        // Too narrow for the needs: every column its need (the list scrolls).
        QCOMPARE(SharedColumnWidths(chained, percents, 100), QList<int>({ 10, 280, 400 }));
        QCOMPARE(SharedColumnWidths(chained, percents, -5), QList<int>({ 10, 280, 400 }));
        QCOMPARE(SharedColumnWidths({}, {}, 100), QList<int>());
    }

    void listIsFilledAfterSorting()
    {
        CBarrageArray barriers;
        barriers.append(Barrier("Monday late", DATETYPE_MONDAY, 8, 12, 2, 12));
        barriers.append(Barrier("May Day", DATETYPE_SPECIAL, 0, 23, 3, 1));
        barriers.append(Barrier("Monday early", DATETYPE_MONDAY, 6, 7, 1, 0));
        CBarrageListDialog dialog(barriers);
        QVERIFY(!barriers.IsModified());
        QTreeWidget* list = dialog.List();
        QCOMPARE(list->topLevelItemCount(), 3);
        // The array itself is sorted, so a row's index is the record's index.
        for (int row = 0; row < 3; ++row)
            QCOMPARE(list->topLevelItem(row)->text(0), barriers.at(row).m_name);
        QCOMPARE(barriers.at(0).m_name, QStringLiteral("May Day"));
        QCOMPARE(barriers.at(1).m_name, QStringLiteral("Monday early"));

        const QTreeWidgetItem* special = list->topLevelItem(0);
        QCOMPARE(special->text(1), QStringLiteral("Special date"));
        QVERIFY(!special->text(2).isEmpty());
        QCOMPARE(special->text(5), QStringLiteral("No barrier"));
        QCOMPARE(special->text(6), QStringLiteral("1 (Emergency)"));
        const QTreeWidgetItem* late = list->topLevelItem(2);
        QVERIFY(late->text(2).isEmpty()); // the zero date of a weekday barrier
        QCOMPARE(late->text(3), FormatDateTime(CDateTime::TimeOfDay(8, 0, 0), DTF_TIME));
        QCOMPARE(late->text(5), QStringLiteral("With sending after barrier"));
        QCOMPARE(late->text(6), QStringLiteral("12")); // a level without a text
        QCOMPARE(late->toolTip(5), late->text(5));
        // The first row is selected at once, so Return (Edit is the default) edits it.
        QCOMPARE(dialog.SelectedRow(), 0);
        QVERIFY(dialog.EditButton()->isEnabled());
    }

    void addEditAndRemoveChangeTheArray()
    {
        CBarrageArray barriers;
        barriers.append(Barrier("A", DATETYPE_MONDAY, 6, 7));
        barriers.append(Barrier("B", DATETYPE_TUESDAY, 6, 7));
        barriers.append(Barrier("C", DATETYPE_WEDNESDAY, 6, 7));
        CBarrageListDialog dialog(barriers);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTreeWidget* list = dialog.List();

        // Cancel changes nothing.
        WhenModal<CBarrageEntry>([](CBarrageEntry* entry) { entry->reject(); });
        dialog.AddButton()->click();
        QCOMPARE(barriers.size(), 3);
        QVERIFY(!barriers.IsModified());

        // Add: a holiday barrier sorts in front of the weekdays and is selected.
        WhenModal<CBarrageEntry>([](CBarrageEntry* entry) {
            QTest::keyClicks(entry->NameEdit(), "Holiday");
            entry->DateTypeCombo()->setCurrentIndex(1);
            entry->OkButton()->click();
        });
        dialog.AddButton()->click();
        QCOMPARE(barriers.size(), 4);
        QVERIFY(barriers.IsModified());
        QCOMPARE(barriers.at(0).m_name, QStringLiteral("Holiday"));
        QCOMPARE(barriers.at(0).m_dateType, int(DATETYPE_HOLIDAY));
        QCOMPARE(barriers.at(0).m_priority, 0);
        QCOMPARE(barriers.at(0).m_barrierType, 1);
        QCOMPARE(dialog.SelectedRow(), 0);

        // Edit by a double click: the entry is preset from the row's record and replaces it.
        barriers.SetModified(false);
        WhenModal<CBarrageEntry>([](CBarrageEntry* entry) {
            QCOMPARE(entry->NameEdit()->text(), QStringLiteral("C"));
            QCOMPARE(entry->DateTypeCombo()->currentText(), QStringLiteral("Wednesday"));
            entry->NameEdit()->setText(QStringLiteral("C2"));
            entry->OkButton()->click();
        });
        QTreeWidgetItem* row3 = list->topLevelItem(3);
        const QPoint center = list->visualItemRect(row3).center();
        // The first click of a real double click selects the row.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, center);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, center);
        QCOMPARE(barriers.size(), 4);
        QCOMPARE(barriers.at(3).m_name, QStringLiteral("C2"));
        QVERIFY(barriers.IsModified());
        QCOMPARE(dialog.SelectedRow(), 3);

        // Edit is the default button: Return in the list edits the selected row.
        list->setFocus();
        list->setCurrentItem(list->topLevelItem(1));
        bool asked = false;
        WhenModal<CBarrageEntry>([&asked](CBarrageEntry* entry) {
            asked = entry->NameEdit()->text() == QStringLiteral("A");
            entry->reject();
        });
        QTest::keyClick(list, Qt::Key_Return);
        QVERIFY(asked);

        // Remove a middle row: the row that moved up is selected.
        barriers.SetModified(false);
        dialog.RemoveButton()->click();
        QCOMPARE(barriers.size(), 3);
        QVERIFY(barriers.IsModified());
        QCOMPARE(list->topLevelItemCount(), 3);
        QCOMPARE(dialog.SelectedRow(), 1);
        QCOMPARE(list->topLevelItem(1)->text(0), QStringLiteral("B"));

        // Remove the last row: nothing is selected and Edit and Remove are off.
        list->setCurrentItem(list->topLevelItem(2));
        dialog.RemoveButton()->click();
        QCOMPARE(barriers.size(), 2);
        QCOMPARE(dialog.SelectedRow(), -1);
        QVERIFY(!dialog.RemoveButton()->isEnabled());
        dialog.EditRecord(); // nothing selected: nothing happens
        QCOMPARE(barriers.size(), 2);
    }

    void priorityIsTheLeadingNumber()
    {
        CBarrageEntry entry;
        QCOMPARE(entry.PriorityCombo()->currentText(), QStringLiteral("0 (Default)"));
        QCOMPARE(entry.PriorityCombo()->count(), 9);
        Retype(entry.PriorityCombo(), QStringLiteral("7"));
        QCOMPARE(entry.Record().m_priority, 7);
        Retype(entry.PriorityCombo(), QStringLiteral("x"));
        QCOMPARE(entry.Record().m_priority, 0);
        entry.PriorityCombo()->setCurrentIndex(4);
        QCOMPARE(entry.Record().m_priority, 4);
        QCOMPARE(LeadingDecimal(QStringLiteral(" 99999999999")), INT_MAX);

        // An existing level selects its item; a level without one stands as typed text.
        CBarrageEntry known(Barrier("P", DATETYPE_MONDAY, 1, 2, 2, 3));
        QCOMPARE(known.PriorityCombo()->currentIndex(), 3);
        QCOMPARE(known.BarrierTypeCombo()->currentIndex(), 1);
        QCOMPARE(known.Record().m_priority, 3);
        QCOMPARE(known.Record().m_barrierType, 2);
        CBarrageEntry free(Barrier("P", DATETYPE_MONDAY, 1, 2, 3, 12));
        QCOMPARE(free.PriorityCombo()->currentText(), QStringLiteral("12"));
        QCOMPARE(free.Record().m_priority, 12);
    }

    void okNeedsANameAndARisingTimeRange()
    {
        CBarrageEntry entry;
        QCOMPARE(entry.windowTitle(), QStringLiteral("Barrier/Pause"));
        QCOMPARE(entry.FromTimeEdit()->displayFormat(), QStringLiteral("HH:mm:ss"));
        QCOMPARE(entry.ToTimeEdit()->displayFormat(), QStringLiteral("HH:mm:ss"));
        QCOMPARE(entry.FromTimeEdit()->time(), QTime(0, 0, 0));
        QCOMPARE(entry.ToTimeEdit()->time(), QTime(23, 59, 59));
        QVERIFY(!entry.OkButton()->isEnabled());
        QTest::keyClicks(entry.NameEdit(), "Night");
        QVERIFY(entry.OkButton()->isEnabled());

        // A from time past the to time pulls the to time along; equal times cannot be confirmed.
        entry.ToTimeEdit()->setTime(QTime(10, 0, 0));
        QVERIFY(entry.OkButton()->isEnabled());
        entry.FromTimeEdit()->setTime(QTime(11, 0, 0));
        QCOMPARE(entry.ToTimeEdit()->time(), QTime(11, 0, 0));
        QVERIFY(!entry.OkButton()->isEnabled());
        entry.ToTimeEdit()->setTime(QTime(12, 0, 0));
        QVERIFY(entry.OkButton()->isEnabled());
        entry.ToTimeEdit()->setTime(QTime(9, 0, 0));
        QCOMPARE(entry.FromTimeEdit()->time(), QTime(9, 0, 0));
        QVERIFY(!entry.OkButton()->isEnabled());
        entry.FromTimeEdit()->setTime(QTime(8, 0, 0));
        QVERIFY(entry.OkButton()->isEnabled());

        // A valid range does not make up for an empty name.
        entry.NameEdit()->clear();
        QVERIFY(!entry.OkButton()->isEnabled());
        entry.FromTimeEdit()->setTime(QTime(7, 0, 0));
        QVERIFY(!entry.OkButton()->isEnabled());

        // A stored record with equal times opens with OK off.
        CBarrageEntry flat(Barrier("Flat", DATETYPE_MONDAY, 5, 5));
        QVERIFY(!flat.OkButton()->isEnabled());
    }

    void dateIsOnlyForASpecialDate()
    {
        CBarrageEntry entry;
        QTest::keyClicks(entry.NameEdit(), "X");
        QCOMPARE(entry.DateTypeCombo()->currentIndex(), 0);
        QVERIFY(!entry.DateEdit()->isHidden());
        QVERIFY(!entry.DateLabel()->isHidden());
        QCOMPARE(entry.DateEdit()->date(), QDate(2024, 3, 14));

        entry.DateTypeCombo()->setCurrentIndex(11); // Working day
        QVERIFY(entry.DateEdit()->isHidden());
        QVERIFY(entry.DateLabel()->isHidden());
        const CBarrage working = entry.Record();
        QCOMPARE(working.m_dateType, int(DATETYPE_WORKINGDAY));
        QVERIFY(working.m_date.IsZero());

        entry.DateTypeCombo()->setCurrentIndex(0);
        entry.DateEdit()->setDate(QDate(2024, 12, 24));
        const CBarrage special = entry.Record();
        QCOMPARE(special.m_dateType, int(DATETYPE_SPECIAL));
        QCOMPARE(special.m_date, CDateTime(2024, 12, 24, 0, 0, 0));

        CBarrageEntry existing(Barrier("Mon", DATETYPE_MONDAY, 1, 2));
        QVERIFY(existing.DateEdit()->isHidden());
        QCOMPARE(existing.DateTypeCombo()->currentIndex(), 4);
    }

    void textsFollowTheLanguage()
    {
        CBarrageEntry entry;
        Retype(entry.PriorityCombo(), QStringLiteral("6"));
        QEvent change(QEvent::LanguageChange);
        QApplication::sendEvent(&entry, &change);
        QCOMPARE(entry.PriorityCombo()->currentText(), QStringLiteral("6"));
        QCOMPARE(entry.DateTypeCombo()->currentIndex(), 0);
        QCOMPARE(entry.BarrierTypeCombo()->itemText(2), QStringLiteral("No barrier"));
    }

    void screenshot()
    {
        CBarrage barrier = Barrier("Lunch break", DATETYPE_WORKINGDAY, 12, 13, 2, 5);
        CBarrageEntry entry(barrier);
        entry.show();
        QVERIFY(QTest::qWaitForWindowExposed(&entry));
        SaveScreenshot(entry, QStringLiteral("barrier-entry"));
    }
};

QTEST_MAIN(BarrageDialogsTest)
#include "BarrageDialogsTest.moc"
