#include "editors/ShiftDialogs.h"

#include <functional>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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

CShift Shift(
    const QString& name, int dateType, int number, bool rotating = false, int startWeek = 0, int cycle = 0)
{
    CShift shift { CDateTime {} };
    shift.m_name = name;
    shift.m_dateType = dateType;
    shift.m_startTime = CDateTime::TimeOfDay(6, 0, 0);
    shift.m_endTime = CDateTime::TimeOfDay(13, 59, 59);
    shift.m_shiftNumber = number;
    shift.m_rotating = rotating;
    shift.m_startingWeek = startWeek;
    shift.m_weekCycle = cycle;
    return shift;
}

void Retype(QComboBox* combo, const QString& text)
{
    combo->lineEdit()->selectAll();
    QTest::keyClick(combo->lineEdit(), Qt::Key_Delete);
    QTest::keyClicks(combo->lineEdit(), text);
}

bool RotationControlsEnabled(const CShiftEntry& entry)
{
    return entry.StartWeekCombo()->isEnabled() && entry.CycleCombo()->isEnabled()
        && entry.CycleLabel()->isEnabled() && entry.WeeksLabel()->isEnabled();
}

bool RotationControlsDisabled(const CShiftEntry& entry)
{
    return !entry.StartWeekCombo()->isEnabled() && !entry.CycleCombo()->isEnabled()
        && !entry.CycleLabel()->isEnabled() && !entry.WeeksLabel()->isEnabled();
}
} // namespace

class ShiftDialogsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { SetCurrentTimeSource(&FixedNow); }
    void cleanup() { SetCurrentTimeSource(nullptr); }

    void listShowsShiftNumbersAndColumns()
    {
        CShiftArray shifts;
        shifts.append(Shift("Rotating", DATETYPE_MONDAY, 3, true, 0, 2));
        shifts.append(Shift("Off", DATETYPE_HOLIDAY, 0));
        shifts.append(Shift("Plain", DATETYPE_SUNDAY, 5));
        shifts.append(Shift("No cycle", DATETYPE_WEEKEND, 4, true, 0, 0));
        CShiftListDialog dialog(shifts);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Shifts"));
        QTreeWidget* list = dialog.List();
        const QStringList headers
            = { "Identification", "Date type", "Date", "Start time", "End time", "Shift no." };
        const int shares[] = { 20, 18, 14, 16, 14, 18 };
        QCOMPARE(list->columnCount(), int(headers.size()));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const int scrollBar = list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list);
        for (int column = 0; column < headers.size(); ++column)
            QCOMPARE(list->headerItem()->text(column), headers.at(column));
        // Widened beyond what the texts need, the columns share the width by their percentages.
        dialog.resize(dialog.width() * 4, dialog.height());
        QCoreApplication::processEvents();
        const int inner = list->width() - scrollBar - 2 * list->frameWidth();
        for (int column = 0; column < headers.size(); ++column)
            QCOMPARE(list->columnWidth(column), inner * shares[column] / 100);

        // Sorted: Holiday, Monday, Sunday, Weekend.
        QCOMPARE(list->topLevelItemCount(), 4);
        QCOMPARE(list->topLevelItem(0)->text(0), QStringLiteral("Off"));
        QCOMPARE(list->topLevelItem(0)->text(5), QStringLiteral("No Shift"));
        QCOMPARE(list->topLevelItem(1)->text(5), QStringLiteral("3 - 4"));
        QCOMPARE(list->topLevelItem(2)->text(5), QStringLiteral("5"));
        QCOMPARE(list->topLevelItem(3)->text(5), QStringLiteral("4")); // a cycle of 0 does not rotate
        QCOMPARE(list->topLevelItem(1)->text(1), QStringLiteral("Monday"));
        QVERIFY(list->topLevelItem(1)->text(2).isEmpty());
    }

    void addAndRemoveSetTheModifiedFlag()
    {
        CShiftArray shifts;
        shifts.append(Shift("Early", DATETYPE_MONDAY, 1));
        shifts.append(Shift("Late", DATETYPE_TUESDAY, 2));
        CShiftListDialog dialog(shifts);
        WhenModal<CShiftEntry>([](CShiftEntry* entry) {
            QVERIFY(!entry->OkButton()->isEnabled());
            QTest::keyClicks(entry->NameEdit(), "Weekend");
            entry->DateTypeCombo()->setCurrentIndex(12);
            Retype(entry->NumberCombo(), QStringLiteral("7"));
            entry->OkButton()->click();
        });
        dialog.AddButton()->click();
        QVERIFY(shifts.IsModified());
        QCOMPARE(shifts.size(), 3);
        QCOMPARE(shifts.at(2).m_name, QStringLiteral("Weekend"));
        QCOMPARE(shifts.at(2).m_shiftNumber, 7);
        QCOMPARE(shifts.at(2).m_dateType, int(DATETYPE_WEEKEND));
        QCOMPARE(dialog.SelectedRow(), 2);

        shifts.SetModified(false);
        dialog.List()->setCurrentItem(dialog.List()->topLevelItem(0));
        dialog.RemoveButton()->click();
        QVERIFY(shifts.IsModified());
        QCOMPARE(shifts.size(), 2);
        QCOMPARE(shifts.at(0).m_name, QStringLiteral("Late"));
        QCOMPARE(dialog.SelectedRow(), 0);
    }

    void shiftNumberIsReadWithAutomaticBase()
    {
        QCOMPARE(ShiftNumberFromText(QStringLiteral("7")), 7);
        QCOMPARE(ShiftNumberFromText(QStringLiteral("0x1A")), 26);
        QCOMPARE(ShiftNumberFromText(QStringLiteral("017")), 15);
        QCOMPARE(ShiftNumberFromText(QStringLiteral("09")), 0); // octal ends at the 9
        QCOMPARE(ShiftNumberFromText(QStringLiteral("0x")), 0);
        QCOMPARE(ShiftNumberFromText(QStringLiteral(" 12 (night)")), 12);
        QCOMPARE(ShiftNumberFromText(QStringLiteral("-3")), 0);
        QCOMPARE(ShiftNumberFromText(QStringLiteral("No Shift")), 0);
        QCOMPARE(ShiftNumberFromText(QStringLiteral("99999999999999")), INT_MAX);

        CShiftEntry entry;
        QCOMPARE(entry.NumberCombo()->count(), 10);
        QCOMPARE(entry.NumberCombo()->itemText(9), QStringLiteral("No Shift"));
        QCOMPARE(entry.NumberCombo()->currentText(), QStringLiteral("1"));
        Retype(entry.NumberCombo(), QStringLiteral("0x10"));
        QCOMPARE(entry.Record().m_shiftNumber, 16);
        Retype(entry.NumberCombo(), QStringLiteral("-4"));
        QCOMPARE(entry.Record().m_shiftNumber, 0);
        entry.NumberCombo()->setCurrentIndex(9);
        QCOMPARE(entry.Record().m_shiftNumber, 0);
        entry.NumberCombo()->setCurrentIndex(2);
        QCOMPARE(entry.Record().m_shiftNumber, 3);

        // A stored number 0 opens as "No Shift"; a number without an item as typed text.
        CShiftEntry none(Shift("N", DATETYPE_MONDAY, 0));
        QCOMPARE(none.NumberCombo()->currentText(), QStringLiteral("No Shift"));
        CShiftEntry twelve(Shift("T", DATETYPE_MONDAY, 12));
        QCOMPARE(twelve.NumberCombo()->currentText(), QStringLiteral("12"));
        QCOMPARE(twelve.Record().m_shiftNumber, 12);
    }

    void rotationIsOnlyForNumberedRecurringDays()
    {
        CShiftEntry entry;
        // A new shift is a special date: no rotation.
        QVERIFY(!entry.RotationBox()->isEnabled());
        QVERIFY(RotationControlsDisabled(entry));
        QCOMPARE(entry.StartWeekCombo()->count(), 52);
        QCOMPARE(entry.StartWeekCombo()->itemText(51), QStringLiteral("W52"));

        entry.DateTypeCombo()->setCurrentIndex(4); // Monday
        QVERIFY(entry.RotationBox()->isEnabled());
        QVERIFY(RotationControlsDisabled(entry));
        QTest::mouseClick(entry.RotationBox(), Qt::LeftButton, {}, entry.RotationBox()->rect().center());
        QVERIFY(entry.RotationBox()->isChecked());
        QVERIFY(RotationControlsEnabled(entry));
        entry.StartWeekCombo()->setCurrentIndex(9);
        Retype(entry.CycleCombo(), QStringLiteral("3"));
        CShift rotating = entry.Record();
        QVERIFY(rotating.m_rotating);
        QCOMPARE(rotating.m_startingWeek, 9);
        QCOMPARE(rotating.m_weekCycle, 3);

        // Holiday clears and disables the rotation, and the record does not rotate.
        entry.DateTypeCombo()->setCurrentIndex(1);
        QVERIFY(!entry.RotationBox()->isEnabled());
        QVERIFY(!entry.RotationBox()->isChecked());
        QVERIFY(RotationControlsDisabled(entry));
        QVERIFY(!entry.Record().m_rotating);

        // Back on a weekday the operator's choice returns; "No Shift" takes it away again.
        entry.DateTypeCombo()->setCurrentIndex(11);
        QVERIFY(entry.RotationBox()->isChecked());
        QVERIFY(RotationControlsEnabled(entry));
        entry.NumberCombo()->setCurrentIndex(9);
        QVERIFY(!entry.RotationBox()->isEnabled());
        QVERIFY(RotationControlsDisabled(entry));
        QVERIFY(!entry.Record().m_rotating);
        Retype(entry.NumberCombo(), QStringLiteral("2"));
        QVERIFY(entry.RotationBox()->isEnabled());
        QVERIFY(entry.Record().m_rotating);

        // Unchecking disables the controls.
        entry.RotationBox()->click();
        QVERIFY(RotationControlsDisabled(entry));
        QVERIFY(!entry.Record().m_rotating);

        // The record-level rule alone, for a flag that was set before the type changed.
        CShiftFields fields = FieldsFromShift(Shift("R", DATETYPE_MONDAY, 2, true, 0, 2));
        fields.dateTypePosition = DateTypePosition(DATETYPE_DAYAFTER);
        QVERIFY(!ShiftFromFields(fields).m_rotating);
    }

    void existingShiftIsPresetFromTheRecord()
    {
        const CShift stored = Shift("Rota", DATETYPE_WORKINGDAY, 2, true, 5, 3);
        CShiftEntry entry(stored);
        QCOMPARE(entry.windowTitle(), QStringLiteral("Shift"));
        QCOMPARE(entry.DateTypeCombo()->currentText(), QStringLiteral("Working day"));
        QVERIFY(entry.DateEdit()->isHidden());
        QVERIFY(entry.RotationBox()->isChecked());
        QVERIFY(RotationControlsEnabled(entry));
        QCOMPARE(entry.StartWeekCombo()->currentText(), QStringLiteral("W6"));
        QCOMPARE(entry.CycleCombo()->currentText(), QStringLiteral("3"));
        QCOMPARE(entry.FromTimeEdit()->displayFormat(), QStringLiteral("HH:mm:ss"));
        QCOMPARE(entry.ToTimeEdit()->time(), QTime(13, 59, 59));
        QVERIFY(entry.OkButton()->isEnabled());
        QVERIFY(SameStoredFields(entry.Record(), stored));

        // A plain shift keeps its rotation controls off.
        CShiftEntry plain(Shift("Plain", DATETYPE_FRIDAY, 4));
        QVERIFY(plain.RotationBox()->isEnabled());
        QVERIFY(!plain.RotationBox()->isChecked());
        QVERIFY(RotationControlsDisabled(plain));
    }

    void dateAndTimesFollowTheCommonRules()
    {
        CShiftEntry entry;
        QVERIFY(!entry.DateEdit()->isHidden());
        QCOMPARE(entry.DateEdit()->date(), QDate(2024, 3, 14));
        QCOMPARE(entry.FromTimeEdit()->time(), QTime(0, 0, 0));
        QCOMPARE(entry.ToTimeEdit()->time(), QTime(23, 59, 59));
        QTest::keyClicks(entry.NameEdit(), "Day");
        QVERIFY(entry.OkButton()->isEnabled());
        entry.ToTimeEdit()->setTime(QTime(0, 0, 0));
        QVERIFY(!entry.OkButton()->isEnabled());
        entry.DateTypeCombo()->setCurrentIndex(2);
        QVERIFY(entry.DateEdit()->isHidden());
        QVERIFY(entry.DateLabel()->isHidden());
        QVERIFY(entry.Record().m_date.IsZero());
    }

    void screenshot()
    {
        CShiftEntry entry(Shift("Early shift", DATETYPE_WORKINGDAY, 1, true, 0, 2));
        entry.show();
        QVERIFY(QTest::qWaitForWindowExposed(&entry));
        SaveScreenshot(entry, QStringLiteral("shift-entry"));
    }
};

QTEST_MAIN(ShiftDialogsTest)
#include "ShiftDialogsTest.moc"
