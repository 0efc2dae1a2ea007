#include "editors/HolidayDialogs.h"

#include <functional>

#include <QApplication>
#include <QCursor>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "DialogTesting.h"

namespace {
CDateTime FixedNow()
{
    return CDateTime(2024, 6, 15, 10, 20, 30);
}

CHoliday Day(const char* name, int year, int month, int day)
{
    return CHoliday(QString::fromUtf8(name), CDateTime(year, month, day, 0, 0, 0));
}

CHolidaysArray Holidays(std::initializer_list<CHoliday> records)
{
    CHolidaysArray holidays;
    for (const CHoliday& h : records)
        holidays.append(h);
    return holidays;
}

QStringList Names(const CHolidaysArray& holidays)
{
    QStringList names;
    for (const CHoliday& h : holidays)
        names.append(h.m_name);
    return names;
}

QStringList RowNames(const QTreeWidget& list)
{
    QStringList names;
    for (int row = 0; row < list.topLevelItemCount(); ++row)
        names.append(list.topLevelItem(row)->text(0));
    return names;
}

// Fills the entry dialog once it is up and closes it with OK (or Cancel).
void AnswerEntry(const QString& name, const QDate& date, bool ok = true)
{
    WhenModal<CHolidayEntry>([name, date, ok](CHolidayEntry* entry) {
        Named<QLineEdit>(entry, "name")->clear();
        QTest::keyClicks(Named<QLineEdit>(entry, "name"), name);
        Named<QDateEdit>(entry, "date")->setDate(date);
        if (ok)
            QTest::mouseClick(
                Named<QDialogButtonBox>(entry, "buttons")->button(QDialogButtonBox::Ok), Qt::LeftButton);
        else
            entry->reject();
    });
}

// Enters two years into the year dialog once it is up and closes it with OK.
void AnswerYears(int from, int to)
{
    WhenModal<CHolidayAuto>([from, to](CHolidayAuto* years) {
        Named<QSpinBox>(years, "from")->setValue(from);
        Named<QSpinBox>(years, "to")->setValue(to);
        years->accept();
    });
}
} // namespace

class HolidayDialogsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { SetCurrentTimeSource(&FixedNow); }
    void cleanup() { SetCurrentTimeSource(nullptr); }

    void entryNeedsAName()
    {
        CHolidayEntry entry;
        SaveScreenshot(entry, QStringLiteral("holiday-entry"));
        QVERIFY(Named<QLineEdit>(&entry, "name")->text().isEmpty());
        QCOMPARE(Named<QDateEdit>(&entry, "date")->date(), QDate(2024, 6, 15));
        QVERIFY(!Named<QDialogButtonBox>(&entry, "buttons")->button(QDialogButtonBox::Ok)->isEnabled());
        QTest::keyClicks(Named<QLineEdit>(&entry, "name"), QStringLiteral("Carnival"));
        QVERIFY(Named<QDialogButtonBox>(&entry, "buttons")->button(QDialogButtonBox::Ok)->isEnabled());
        Named<QLineEdit>(&entry, "name")->clear();
        QVERIFY(!Named<QDialogButtonBox>(&entry, "buttons")->button(QDialogButtonBox::Ok)->isEnabled());
        // Blanks are a name; the record keeps them as typed.
        QTest::keyClicks(Named<QLineEdit>(&entry, "name"), QStringLiteral(" x "));
        QVERIFY(Named<QDialogButtonBox>(&entry, "buttons")->button(QDialogButtonBox::Ok)->isEnabled());
        Named<QDateEdit>(&entry, "date")->setDate(QDate(2025, 2, 28));
        const CHoliday holiday = entry.Holiday();
        QCOMPARE(holiday.m_name, QStringLiteral(" x "));
        QCOMPARE(holiday.m_date, CDateTime(2025, 2, 28, 0, 0, 0));

        CHolidayEntry preset(Day("Boxing Day", 2024, 12, 26));
        QCOMPARE(Named<QLineEdit>(&preset, "name")->text(), QStringLiteral("Boxing Day"));
        QCOMPARE(Named<QDateEdit>(&preset, "date")->date(), QDate(2024, 12, 26));
        QVERIFY(Named<QDialogButtonBox>(&preset, "buttons")->button(QDialogButtonBox::Ok)->isEnabled());
    }

    void yearDialogTakesWholeYearsPresetToThisYear()
    {
        CHolidayAuto years;
        SaveScreenshot(years, QStringLiteral("holiday-years"));
        QCOMPARE(years.FromYear(), 2024);
        QCOMPARE(years.ToYear(), 2024);
        Named<QSpinBox>(&years, "from")->selectAll();
        QTest::keyClicks(Named<QSpinBox>(&years, "from"), QStringLiteral("19x0.5"));
        Named<QSpinBox>(&years, "from")->interpretText();
        QCOMPARE(years.FromYear(), 1905);
        // Years outside the generated span can be entered; the generation ignores them.
        Named<QSpinBox>(&years, "to")->setValue(2100);
        QCOMPARE(years.ToYear(), 2100);
    }

    void listShowsTheHolidaysSortedWithoutChangingThem()
    {
        CHolidaysArray holidays = Holidays(
            { Day("Christmas Day", 2024, 12, 25), Day("New Year", 2024, 1, 1), Day("Second", 2024, 1, 1) });
        CHolidayListDialog dialog(holidays);
        dialog.resize(500, 300);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        SaveScreenshot(dialog, QStringLiteral("holiday-list"));

        QCOMPARE(Names(holidays), QStringList({ "New Year", "Second", "Christmas Day" }));
        QVERIFY(!holidays.IsModified());
        QTreeWidget* list = Named<QTreeWidget>(&dialog, "holidays");
        QCOMPARE(list->headerItem()->text(0), QStringLiteral("Holiday"));
        QCOMPARE(list->headerItem()->text(1), QStringLiteral("Date"));
        QCOMPARE(RowNames(*list), Names(holidays));
        QCOMPARE(list->topLevelItem(2)->text(1),
            FormatDateTime(CDateTime(2024, 12, 25, 0, 0, 0), DTF_DATE | DTF_FULLYEAR));
        QVERIFY(list->columnWidth(0) > list->columnWidth(1));
        // The first row is selected at once, so Return (Edit is the default) edits it.
        QVERIFY(Named<QPushButton>(&dialog, "edit")->isDefault());
        QCOMPARE(dialog.SelectedRow(), 0);
        QVERIFY(Named<QPushButton>(&dialog, "edit")->isEnabled());
        dialog.SelectRow(-1);
        QVERIFY(!Named<QPushButton>(&dialog, "edit")->isEnabled());
        QVERIFY(!Named<QPushButton>(&dialog, "remove")->isEnabled());
        dialog.SelectRow(1);
        QVERIFY(Named<QPushButton>(&dialog, "edit")->isEnabled());
        QVERIFY(Named<QPushButton>(&dialog, "remove")->isEnabled());
    }

    void addInsertsInDateOrderAndSelectsTheNewRow()
    {
        CHolidaysArray holidays
            = Holidays({ Day("A", 2024, 1, 1), Day("B", 2024, 5, 1), Day("C", 2024, 12, 25) });
        CHolidayListDialog dialog(holidays);

        AnswerEntry(QStringLiteral("Cancelled"), QDate(2024, 3, 3), false);
        QTest::mouseClick(Named<QPushButton>(&dialog, "add"), Qt::LeftButton);
        QCOMPARE(holidays.size(), 3);
        QVERIFY(!holidays.IsModified());

        // A second holiday on a day already listed comes after the first.
        AnswerEntry(QStringLiteral("B2"), QDate(2024, 5, 1));
        QTest::mouseClick(Named<QPushButton>(&dialog, "add"), Qt::LeftButton);
        QCOMPARE(Names(holidays), QStringList({ "A", "B", "B2", "C" }));
        QCOMPARE(RowNames(*Named<QTreeWidget>(&dialog, "holidays")), Names(holidays));
        QCOMPARE(dialog.SelectedRow(), 2);
        QVERIFY(holidays.IsModified());
        QCOMPARE(holidays.at(2).m_date, CDateTime(2024, 5, 1, 0, 0, 0));
    }

    void editReplacesTheSelectedHoliday()
    {
        CHolidaysArray holidays
            = Holidays({ Day("A", 2024, 1, 1), Day("B", 2024, 5, 1), Day("C", 2024, 12, 25) });
        CHolidayListDialog dialog(holidays);

        // Nothing selected: nothing opens, nothing changes.
        dialog.SelectRow(-1);
        dialog.EditHoliday();
        QVERIFY(!holidays.IsModified());

        dialog.SelectRow(0);
        AnswerEntry(QStringLiteral("A moved"), QDate(2024, 7, 7));
        QTest::mouseClick(Named<QPushButton>(&dialog, "edit"), Qt::LeftButton);
        QCOMPARE(Names(holidays), QStringList({ "B", "A moved", "C" }));
        QCOMPARE(RowNames(*Named<QTreeWidget>(&dialog, "holidays")), Names(holidays));
        QCOMPARE(dialog.SelectedRow(), 1);
        QVERIFY(holidays.IsModified());

        // A double click on a row edits it as well; Cancel keeps it.
        holidays.SetModified(false);
        QTreeWidgetItem* last = Named<QTreeWidget>(&dialog, "holidays")->topLevelItem(2);
        dialog.SelectRow(2);
        bool opened = false;
        WhenModal<CHolidayEntry>([&opened](CHolidayEntry* entry) {
            opened = Named<QLineEdit>(entry, "name")->text() == QLatin1String("C");
            entry->reject();
        });
        Q_EMIT Named<QTreeWidget>(&dialog, "holidays")->itemDoubleClicked(last, 0);
        QVERIFY(opened);
        QCOMPARE(Names(holidays), QStringList({ "B", "A moved", "C" }));
        QVERIFY(!holidays.IsModified());
    }

    void removeDropsTheRowAndSelectsItsSuccessor()
    {
        CHolidaysArray holidays
            = Holidays({ Day("A", 2024, 1, 1), Day("B", 2024, 5, 1), Day("C", 2024, 12, 25) });
        CHolidayListDialog dialog(holidays);

        dialog.SelectRow(-1);
        dialog.RemoveHoliday();
        QCOMPARE(holidays.size(), 3);
        QVERIFY(!holidays.IsModified());

        dialog.SelectRow(1);
        QTest::mouseClick(Named<QPushButton>(&dialog, "remove"), Qt::LeftButton);
        QCOMPARE(Names(holidays), QStringList({ "A", "C" }));
        QCOMPARE(RowNames(*Named<QTreeWidget>(&dialog, "holidays")), Names(holidays));
        QCOMPARE(dialog.SelectedRow(), 1);
        QVERIFY(holidays.IsModified());

        // Removing the last row leaves nothing selected, so Remove waits for a new selection.
        QTest::mouseClick(Named<QPushButton>(&dialog, "remove"), Qt::LeftButton);
        QCOMPARE(Names(holidays), QStringList({ "A" }));
        QCOMPARE(dialog.SelectedRow(), -1);
        QVERIFY(!Named<QPushButton>(&dialog, "remove")->isEnabled());
        dialog.SelectRow(0);
        QTest::mouseClick(Named<QPushButton>(&dialog, "remove"), Qt::LeftButton);
        QVERIFY(holidays.isEmpty());
        QCOMPARE(Named<QTreeWidget>(&dialog, "holidays")->topLevelItemCount(), 0);
        QCOMPARE(dialog.SelectedRow(), -1);
    }

    void automaticGeneratesTheYearSpan()
    {
        CHolidaysArray holidays = Holidays({ Day("Mine", 2027, 6, 1) });
        CHolidayListDialog dialog(holidays);

        // Reversed years are exchanged; a span under 50 years comes out sorted.
        AnswerYears(2030, 2025);
        QTest::mouseClick(Named<QPushButton>(&dialog, "automatic"), Qt::LeftButton);
        QCOMPARE(holidays.size(), 1 + 6 * 11);
        QVERIFY(holidays.IsModified());
        QCOMPARE(holidays.first().m_date, CDateTime(2025, 1, 1, 0, 0, 0));
        QCOMPARE(holidays.last().m_date, CDateTime(2030, 12, 26, 0, 0, 0));
        QVERIFY(std::is_sorted(holidays.cbegin(), holidays.cend(),
            [](const CHoliday& a, const CHoliday& b) { return a.m_date < b.m_date; }));
        QVERIFY(Names(holidays).contains(QStringLiteral("Mine")));
        QCOMPARE(Named<QTreeWidget>(&dialog, "holidays")->topLevelItemCount(), holidays.size());
        QCOMPARE(RowNames(*Named<QTreeWidget>(&dialog, "holidays")), Names(holidays));
        QVERIFY(!Named<QLabel>(&dialog, "result")->isHidden());
        QVERIFY2(Named<QLabel>(&dialog, "result")->text().contains(QStringLiteral("66")),
            qPrintable(Named<QLabel>(&dialog, "result")->text()));

        // The same years again add nothing and say so.
        AnswerYears(2025, 2030);
        QTest::mouseClick(Named<QPushButton>(&dialog, "automatic"), Qt::LeftButton);
        QCOMPARE(holidays.size(), 1 + 6 * 11);
        QVERIFY2(Named<QLabel>(&dialog, "result")->text().contains(QStringLiteral("2025 to 2030")),
            qPrintable(Named<QLabel>(&dialog, "result")->text()));
    }

    void automaticIgnoresYearsOutsideTheSpan()
    {
        CHolidaysArray holidays = Holidays({ Day("Mine", 2027, 6, 1) });
        CHolidayListDialog dialog(holidays);
        for (const auto& [from, to] :
            { std::pair(1900, 1950), std::pair(2000, 2100), std::pair(1950, 1900) }) {
            AnswerYears(from, to);
            QTest::mouseClick(Named<QPushButton>(&dialog, "automatic"), Qt::LeftButton);
            QCOMPARE(holidays.size(), 1);
            QVERIFY(!holidays.IsModified());
        }
        QCOMPARE(Named<QTreeWidget>(&dialog, "holidays")->topLevelItemCount(), 1);
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void automaticLeavesLongSpansInGenerationOrder()
    {
        CHolidaysArray holidays = Holidays({ Day("Mine", 2027, 6, 1) });
        CHolidayListDialog dialog(holidays);
        AnswerYears(1901, 2099);
        QTest::mouseClick(Named<QPushButton>(&dialog, "automatic"), Qt::LeftButton);
        QCOMPARE(holidays.size(), 1 + 199 * 11);
        // Appended year by year behind the existing holiday, not sorted.
        QCOMPARE(holidays.at(0).m_name, QStringLiteral("Mine"));
        QCOMPARE(holidays.at(1).m_date, CDateTime(1901, 1, 1, 0, 0, 0));
        QCOMPARE(holidays.last().m_date, CDateTime(2099, 12, 26, 0, 0, 0));
        QCOMPARE(Named<QTreeWidget>(&dialog, "holidays")->topLevelItemCount(), holidays.size());
        QCOMPARE(Named<QTreeWidget>(&dialog, "holidays")->topLevelItem(1)->text(1),
            FormatDateTime(holidays.at(1).m_date, DTF_DATE | DTF_FULLYEAR));

        // The boundary: last minus first year 50 stays unsorted, 49 is sorted.
        for (const auto& [to, sorted] : { std::pair(2050, false), std::pair(2049, true) }) {
            CHolidaysArray span = Holidays({ Day("Mine", 2027, 6, 1) });
            CHolidayListDialog spanDialog(span);
            AnswerYears(2000, to);
            QTest::mouseClick(Named<QPushButton>(&spanDialog, "automatic"), Qt::LeftButton);
            QCOMPARE(span.size(), 1 + (to - 2000 + 1) * 11);
            QCOMPARE(span.at(0).m_name == QLatin1String("Mine"), !sorted);
        }
    }

    void automaticShowsTheWaitCursorWhileGenerating()
    {
        CHolidaysArray holidays;
        CHolidayListDialog dialog(holidays);
        int calls = 0;
        Qt::CursorShape shape = Qt::ArrowCursor;
        dialog.SetGenerator([&](CHolidaysArray& list, int first, int last) {
            ++calls;
            if (const QCursor* cursor = QGuiApplication::overrideCursor())
                shape = cursor->shape();
            return GenerateStatutoryHolidays(list, first, last);
        });
        AnswerYears(2024, 2024);
        QTest::mouseClick(Named<QPushButton>(&dialog, "automatic"), Qt::LeftButton);
        QCOMPARE(calls, 1);
        QCOMPARE(shape, Qt::WaitCursor);
        QVERIFY(!QGuiApplication::overrideCursor());
        QCOMPARE(holidays.size(), 11);

        // Cancelling the year dialog generates nothing.
        WhenModal<CHolidayAuto>([](CHolidayAuto* years) { years->reject(); });
        QTest::mouseClick(Named<QPushButton>(&dialog, "automatic"), Qt::LeftButton);
        QCOMPARE(calls, 1);
    }
};

QTEST_MAIN(HolidayDialogsTest)
#include "HolidayDialogsTest.moc"
