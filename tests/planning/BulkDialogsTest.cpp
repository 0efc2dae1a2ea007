#include "plandialogs/BulkDialogs.h"

#include <memory>

#include <QApplication>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include "engine/KelvarisDoc.h"
#include "engine/Password.h"
#include "plandialogs/PlannerWidget.h"
#include "planning/PlannerModel.h"
#include "planning/TimePlanner.h"

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

CDateTime Day(int year, int month, int day)
{
    return CDateTime(year, month, day, 0, 0, 0);
}

CPageTarget Target(const QString& name, int number)
{
    CPageTarget target;
    target.m_name = name;
    target.m_id = name;
    target.m_number = number;
    target.m_colour = 0x00FF00;
    return target;
}

QListWidgetItem* Entry(QListWidget* list, const QString& name)
{
    const QList<QListWidgetItem*> items = list->findItems(name, Qt::MatchExactly);
    return items.size() == 1 ? items.first() : nullptr;
}

} // namespace

class BulkDialogsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { SetCurrentTimeSource(&Now); }
    void cleanupTestCase() { SetCurrentTimeSource(nullptr); }
    void init()
    {
        QVERIFY(m_folder.isValid());
        m_config = std::make_unique<CConfigLocationScope>(m_folder.filePath(QStringLiteral("kelvaris.ini")));
        m_doc = std::make_unique<CKelvarisDoc>(m_server, m_rights);
    }
    void cleanup()
    {
        m_doc.reset();
        m_config.reset();
    }

    void summariesSpansAndCopies();
    void duplicateWalkRepeatsTheSourceAndCutsAtTheEnd();
    void weekOntoTwoWeeksGivesTwoCopies();
    void overlappingOrInvalidSpansKeepOkDisabled();
    void sourceCheckStateFollowsIntoTheDestination();
    void removePresetsAndRemoval();
    void removeDialogRunsModally();
    void duplicateReachesATargetNoLongerListed();
    void selectAllAndNoneCheckEveryEntry();
    void aWholeTypedDateIsTaken();
    void anIncompleteTypedDateIsReportedNotUsed();
    void removePreviewsOpenAtTheWorkTime();

private:
    QTemporaryDir m_folder;
    CFakeServerCommandFactory m_server;
    CRightsCheck m_rights;
    std::unique_ptr<CConfigLocationScope> m_config;
    std::unique_ptr<CKelvarisDoc> m_doc;
};

void BulkDialogsTest::summariesSpansAndCopies()
{
    const CDateTime monday = Day(2024, 3, 4);
    QCOMPARE(BulkSpanDays(monday, Day(2024, 3, 10)), 7);
    QCOMPARE(BulkSpanDays(monday, monday), 1);
    QCOMPARE(BulkSpanDays(monday, Day(2024, 3, 3)), 0);
    QCOMPARE(BulkSpanDays(CDateTime::Invalid(), monday), 0);
    // Only the date counts.
    QCOMPARE(BulkSpanDays(CDateTime(2024, 3, 4, 23, 0, 0), CDateTime(2024, 3, 5, 1, 0, 0)), 2);

    QCOMPARE(BulkMondayOnOrBefore(Now()), monday);
    QCOMPARE(BulkMondayOnOrBefore(monday), monday);
    QCOMPARE(BulkMondayOnOrBefore(Day(2024, 3, 10)), monday); // Sunday

    QCOMPARE(BulkSpanSummary(monday, Day(2024, 3, 10), 0, true),
        QStringLiteral("Monday,  1 week,  no dispatching"));
    QCOMPARE(BulkSpanSummary(Day(2024, 3, 10), Day(2024, 3, 19), 1, true),
        QStringLiteral("Sunday,  1 week, 3 days,  one dispatching"));
    QCOMPARE(BulkSpanSummary(monday, monday, 12, false), QStringLiteral("1 day,  12 dispatches"));
    QCOMPARE(BulkSpanSummary(monday, Day(2024, 3, 3), 5, true), QStringLiteral("invalid time interval"));
    QCOMPARE(BulkSpanSummary(monday, Day(2024, 3, 3), 5, false), QStringLiteral("invalid time interval"));

    QCOMPARE(BulkCopiesText(7, 14), QStringLiteral("2.0 copies"));
    QCOMPARE(BulkCopiesText(7, 10), QStringLiteral("1.4 copies"));
    QCOMPARE(BulkCopiesText(0, 10), QString());
    QCOMPARE(BulkCopiesText(7, 0), QString());

    const CDuplicateSpans spans = DuplicateDefaultSpans(Now());
    QCOMPARE(spans.m_sourceFrom, monday);
    QCOMPARE(spans.m_sourceTo, Day(2024, 3, 10));
    QCOMPARE(spans.m_destinationFrom, Day(2024, 3, 11));
    QCOMPARE(spans.m_destinationTo, Day(2024, 3, 17));
}

void BulkDialogsTest::duplicateWalkRepeatsTheSourceAndCutsAtTheEnd()
{
    CDispatchRangeArray ranges;
    for (int day = 4; day <= 10; ++day)
        ranges.append(Range(2024, 3, day, day * 10, day * 10 + 5)); // one range a day, told apart by times
    ranges.append(Range(2024, 3, 20, 0, 60)); // outside the source: never copied

    // 7 source days over 10 destination days: the first three source days come twice.
    const CDuplicateSpans spans { Day(2024, 3, 4), Day(2024, 3, 10), Day(2024, 3, 11), Day(2024, 3, 20) };
    QCOMPARE(DuplicateSpan(ranges, spans), 10);
    for (int day = 11; day <= 20; ++day) {
        const int sourceDay = 4 + (day - 11) % 7;
        QVERIFY2(ranges.contains(Range(2024, 3, day, sourceDay * 10, sourceDay * 10 + 5)),
            qPrintable(QString::number(day)));
    }
    QCOMPARE(ranges.size(), 18);

    // An invalid span copies nothing.
    const CDuplicateSpans invalid { Day(2024, 3, 10), Day(2024, 3, 4), Day(2024, 3, 11), Day(2024, 3, 20) };
    QCOMPARE(DuplicateSpan(ranges, invalid), 0);
    QCOMPARE(ranges.size(), 18);
}

void BulkDialogsTest::weekOntoTwoWeeksGivesTwoCopies()
{
    CPageTarget receiver = Target(QStringLiteral("North"), 1);
    receiver.m_ranges.append(Range(2024, 3, 4, 420, 930)); // Monday
    receiver.m_ranges.append(Range(2024, 3, 9, 0, 1440)); // Saturday
    receiver.m_ranges.append(Range(2024, 3, 12, 600, 660)); // in the destination: replaced
    m_doc->PageTargets().append(receiver);
    m_doc->PageTargets().append(Target(QStringLiteral("Empty"), 2));

    CDispDuplicateDlg dialog(*m_doc);
    SaveScreenshot(dialog, QStringLiteral("duplicate"));
    QCOMPARE(dialog.Spans().m_sourceFrom, Day(2024, 3, 4));
    QCOMPARE(dialog.SourceSummary(), QStringLiteral("Monday,  1 week,  2 dispatches"));
    QCOMPARE(dialog.SourceList()->count(), 1);
    QCOMPARE(dialog.SourceList()->item(0)->checkState(), Qt::Checked);

    dialog.SetSpans({ Day(2024, 3, 4), Day(2024, 3, 10), Day(2024, 3, 11), Day(2024, 3, 24) });
    QCOMPARE(dialog.DestinationSummary(), QStringLiteral("Monday,  2 weeks,  one dispatching,  2.0 copies"));
    QCOMPARE(dialog.DestinationList()->count(), 1);
    QCOMPARE(Entry(dialog.DestinationList(), QStringLiteral("North"))->checkState(), Qt::Checked);
    QVERIFY(dialog.IsOkEnabled());

    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    const CDispatchRangeArray& ranges = m_doc->PageTargets()[0].m_ranges;
    QCOMPARE(ranges.size(), 6);
    QVERIFY(!ranges.contains(Range(2024, 3, 12, 600, 660)));
    for (const int monday : { 4, 11, 18 }) {
        QVERIFY(ranges.contains(Range(2024, 3, monday, 420, 930)));
        QVERIFY(ranges.contains(Range(2024, 3, monday + 5, 0, 1440)));
    }
    QCOMPARE(ranges.CountInPeriod(Day(2024, 3, 11), Day(2024, 3, 24)), 4);

    // The changed target's dispatch file holds the copies; the untouched one has none.
    QFile file(m_doc->PageTargets()[0].DispatchFilePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray content = file.readAll();
    QVERIFY(content.contains("20240318=07:00-15:30"));
    QVERIFY(content.contains("20240323=00:00-24:00"));
    QVERIFY(!QFile::exists(m_doc->PageTargets()[1].DispatchFilePath()));
}

void BulkDialogsTest::overlappingOrInvalidSpansKeepOkDisabled()
{
    CDispDuplicateDlg dialog(*m_doc);
    QVERIFY(dialog.IsOkEnabled()); // the default weeks

    const CDateTime monday = Day(2024, 3, 4);
    const CDateTime sunday = Day(2024, 3, 10);
    // Sharing the last source day.
    dialog.SetSpans({ monday, sunday, sunday, Day(2024, 3, 17) });
    QVERIFY(!dialog.IsOkEnabled());
    QVERIFY(
        dialog.DestinationSummary().startsWith(QStringLiteral("Sunday,  1 week, 1 day,  no dispatching,  ")));
    // Enclosing the source.
    dialog.SetSpans({ monday, sunday, Day(2024, 3, 1), Day(2024, 3, 31) });
    QVERIFY(!dialog.IsOkEnabled());
    // Destination before the source, touching: allowed.
    dialog.SetSpans({ monday, sunday, Day(2024, 2, 26), Day(2024, 3, 3) });
    QVERIFY(dialog.IsOkEnabled());
    // Invalid spans: no copies text either.
    dialog.SetSpans({ sunday, monday, Day(2024, 3, 11), Day(2024, 3, 17) });
    QVERIFY(!dialog.IsOkEnabled());
    QCOMPARE(dialog.SourceSummary(), QStringLiteral("invalid time interval"));
    QVERIFY(!dialog.DestinationSummary().contains(QStringLiteral("copies")));
    dialog.SetSpans({ monday, sunday, Day(2024, 3, 17), Day(2024, 3, 11) });
    QVERIFY(!dialog.IsOkEnabled());
    QCOMPARE(dialog.DestinationSummary(), QStringLiteral("invalid time interval"));

    // Picking a date in the picker re-checks the rule.
    dialog.SetSpans({ monday, sunday, Day(2024, 3, 11), Day(2024, 3, 17) });
    QVERIFY(dialog.IsOkEnabled());
    dialog.findChildren<QDateEdit*>().at(2)->setDate(QDate(2024, 3, 8));
    QCOMPARE(dialog.Spans().m_destinationFrom, Day(2024, 3, 8));
    QVERIFY(!dialog.IsOkEnabled());

    // Not allowed means nothing happens, also when asked directly.
    CPageTargetArray& targets = m_doc->PageTargets();
    CPageTarget receiver = Target(QStringLiteral("R"), 1);
    receiver.m_ranges.append(Range(2024, 3, 5, 0, 60));
    targets.append(receiver);
    QVERIFY(PerformDuplicate(targets, { monday, sunday, sunday, Day(2024, 3, 17) }, { QStringLiteral("R") },
        { QStringLiteral("R") })
                .isEmpty());
    QCOMPARE(targets[0].m_ranges.size(), 1);
}

void BulkDialogsTest::sourceCheckStateFollowsIntoTheDestination()
{
    CPageTarget both = Target(QStringLiteral("Both"), 1);
    both.m_ranges.append(Range(2024, 3, 5, 0, 60));
    both.m_ranges.append(Range(2024, 3, 12, 120, 180));
    CPageTarget destinationOnly = Target(QStringLiteral("Later"), -1);
    destinationOnly.m_ranges.append(Range(2024, 3, 13, 60, 90));
    destinationOnly.m_ranges.append(Range(2024, 3, 1, 60, 90)); // outside both spans
    m_doc->PageTargets().append(both);
    m_doc->PageTargets().append(destinationOnly);

    CDispDuplicateDlg dialog(*m_doc);
    QListWidget* source = dialog.SourceList();
    QListWidget* destination = dialog.DestinationList();
    QCOMPARE(source->count(), 1);
    QCOMPARE(destination->count(), 2);
    QCOMPARE(destination->item(0)->text(), QStringLiteral("Both")); // target order
    QCOMPARE(Entry(destination, QStringLiteral("Both"))->checkState(), Qt::Checked);
    QCOMPARE(Entry(destination, QStringLiteral("Later"))->checkState(), Qt::Unchecked);

    Entry(source, QStringLiteral("Both"))->setCheckState(Qt::Unchecked);
    QCOMPARE(Entry(destination, QStringLiteral("Both"))->checkState(), Qt::Unchecked);
    Entry(source, QStringLiteral("Both"))->setCheckState(Qt::Checked);
    QCOMPARE(Entry(destination, QStringLiteral("Both"))->checkState(), Qt::Checked);
    Entry(source, QStringLiteral("Both"))->setCheckState(Qt::Unchecked);

    // A new destination span keeps an unchecked source's destination unchecked.
    dialog.SetSpans({ Day(2024, 3, 4), Day(2024, 3, 10), Day(2024, 3, 11), Day(2024, 3, 18) });
    QCOMPARE(Entry(destination, QStringLiteral("Both"))->checkState(),
        Qt::Checked); // source refilled: checked again
    Entry(source, QStringLiteral("Both"))->setCheckState(Qt::Unchecked);
    dialog.findChildren<QDateEdit*>().at(3)->setDate(QDate(2024, 3, 17));
    QCOMPARE(Entry(destination, QStringLiteral("Both"))->checkState(), Qt::Unchecked);

    // "Both" is neither cleared nor filled; checking "Later" clears its destination days only.
    Entry(destination, QStringLiteral("Later"))->setCheckState(Qt::Checked);
    dialog.accept();
    const CPageTargetArray& targets = m_doc->PageTargets();
    QCOMPARE(targets[0].m_ranges.size(), 2);
    QVERIFY(targets[0].m_ranges.contains(Range(2024, 3, 12, 120, 180)));
    QCOMPARE(targets[1].m_ranges.size(), 1);
    QVERIFY(targets[1].m_ranges.contains(Range(2024, 3, 1, 60, 90)));
    QVERIFY(QFile::exists(targets[1].DispatchFilePath()));
    QVERIFY(!QFile::exists(targets[0].DispatchFilePath()));
}

void BulkDialogsTest::removePresetsAndRemoval()
{
    CPageTarget receiver = Target(QStringLiteral("South"), 3);
    receiver.m_ranges.append(Range(2024, 3, 20, 0, 60));
    receiver.m_ranges.append(Range(2024, 3, 8, 0, 60));
    receiver.m_ranges.append(Range(2024, 4, 2, 0, 60));
    m_doc->PageTargets().append(Target(QStringLiteral("Other"), 1));
    m_doc->PageTargets().append(receiver);

    CDispRemoveDlg dialog(*m_doc, QStringLiteral("South"));
    SaveScreenshot(dialog, QStringLiteral("remove"));
    QCOMPARE(dialog.From(), Day(2024, 3, 6));
    QCOMPARE(dialog.To(), Day(2024, 3, 6));
    QCOMPARE(dialog.Summary(), QStringLiteral("1 day,  no dispatching"));
    QVERIFY(!dialog.IsOkEnabled());

    // Only future ranges: the past is an invalid span.
    dialog.ApplyPreset(RemovePreset::Past);
    QCOMPARE(dialog.From(), Day(2024, 3, 8));
    QCOMPARE(dialog.To(), Day(2024, 3, 5));
    QCOMPARE(dialog.Summary(), QStringLiteral("invalid time interval"));
    QVERIFY(!dialog.IsOkEnabled());

    dialog.ApplyPreset(RemovePreset::All);
    QCOMPARE(dialog.From(), Day(2024, 3, 8));
    QCOMPARE(dialog.To(), Day(2024, 4, 2));
    QCOMPARE(dialog.Summary(), QStringLiteral("3 weeks, 5 days,  3 dispatches"));
    QVERIFY(dialog.IsOkEnabled());
    // The planners show the Mondays on or before both ends, the span highlighted.
    QCOMPARE(dialog.FirstPlanner().FirstDate(), Day(2024, 3, 4));
    QCOMPARE(dialog.LastPlanner().FirstDate(), Day(2024, 4, 1));
    QVERIFY(!dialog.FirstPlanner().HolidayColumns());
    const int friday = dialog.FirstPlanner().ColumnOfDate(Day(2024, 3, 8));
    QVERIFY(dialog.FirstPlanner().Model().ColumnHighlighted(friday));
    QVERIFY(!dialog.FirstPlanner().Model().ColumnHighlighted(friday - 1));
    QVERIFY(dialog.FirstPlanner().Model().CellMarked(friday, 0));

    dialog.ApplyPreset(RemovePreset::Future);
    QCOMPARE(dialog.From(), Day(2024, 3, 7));
    QCOMPARE(dialog.To(), Day(2024, 4, 2));
    dialog.ApplyPreset(RemovePreset::Today);
    QCOMPARE(dialog.From(), Day(2024, 3, 6));
    QCOMPARE(dialog.To(), Day(2024, 3, 6));

    // A target without ranges: the presets fall back on today.
    CDateTime from;
    CDateTime to;
    RemovePresetSpan(CDispatchRangeArray(), RemovePreset::All, Now(), from, to);
    QVERIFY(from == Day(2024, 3, 6) && to == Day(2024, 3, 6));
    RemovePresetSpan(CDispatchRangeArray(), RemovePreset::Past, Now(), from, to);
    QCOMPARE(BulkSpanDays(from, to), 0);

    // OK removes the span's ranges and writes the file.
    dialog.SetSpan(Day(2024, 3, 1), Day(2024, 3, 31));
    QCOMPARE(dialog.Summary(), QStringLiteral("1 month, 1 day,  2 dispatches"));
    dialog.accept();
    const CDispatchRangeArray& ranges = m_doc->PageTargets()[1].m_ranges;
    QCOMPARE(ranges.size(), 1);
    QVERIFY(ranges.contains(Range(2024, 4, 2, 0, 60)));
    QFile file(m_doc->PageTargets()[1].DispatchFilePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray content = file.readAll();
    QVERIFY(content.contains("20240402=00:00-01:00") && !content.contains("20240308"));

    // An index outside the list removes nothing.
    QCOMPARE(PerformRemove(m_doc->PageTargets(), 7, Day(2024, 1, 1), Day(2025, 1, 1)), 0);
}

void BulkDialogsTest::removeDialogRunsModally()
{
    CPageTarget receiver = Target(QStringLiteral("East"), 4);
    receiver.m_ranges.append(Range(2024, 3, 6, 0, 60));
    m_doc->PageTargets().append(receiver);

    CDispRemoveDlg dialog(*m_doc, QStringLiteral("East"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Remove dispatching"));
    WhenModal<CDispRemoveDlg>([](CDispRemoveDlg* shown) { QTest::keyClick(shown, Qt::Key_Escape); });
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QCOMPARE(m_doc->PageTargets()[0].m_ranges.size(), 1);

    WhenModal<CDispRemoveDlg>([](CDispRemoveDlg* shown) {
        QVERIFY(shown->IsOkEnabled());
        QTest::keyClick(shown, Qt::Key_Return);
    });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QVERIFY(m_doc->PageTargets()[0].m_ranges.isEmpty());
}

// A reload while the dialog is open drops North from the list: the duplication still goes into
// North's own dispatch file, and the operator is told; the target still listed is saved as usual.
void BulkDialogsTest::duplicateReachesATargetNoLongerListed()
{
    CPageTarget north = Target(QStringLiteral("North"), 1);
    north.m_ranges.append(Range(2024, 3, 4, 420, 930)); // Monday
    m_doc->PageTargets().append(north);
    CPageTarget south = Target(QStringLiteral("South"), 2);
    south.m_ranges.append(Range(2024, 3, 5, 0, 60)); // Tuesday
    m_doc->PageTargets().append(south);

    CDispDuplicateDlg dialog(*m_doc);
    dialog.SetSpans({ Day(2024, 3, 4), Day(2024, 3, 10), Day(2024, 3, 11), Day(2024, 3, 17) });
    QCOMPARE(dialog.SourceList()->count(), 2);
    m_doc->PageTargets().clear();
    m_doc->PageTargets().append(Target(QStringLiteral("Dora"), 3));
    m_doc->PageTargets().append(south);

    QString message;
    WhenModal<QMessageBox>([&message](QMessageBox* box) {
        message = box->text();
        box->close();
    });
    dialog.accept();
    QVERIFY2(message.contains(QStringLiteral("North")) && !message.contains(QStringLiteral("South")),
        qPrintable(message));
    QFile file(QDir(m_folder.path()).filePath(QStringLiteral("North.tim")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    QVERIFY2(
        text.contains("20240304=07:00-15:30") && text.contains("20240311=07:00-15:30"), text.constData());
    QVERIFY(m_doc->PageTargets()[1].m_ranges.contains(Range(2024, 3, 12, 0, 60)));
    QVERIFY(m_doc->PageTargets()[0].m_ranges.isEmpty());
    QVERIFY(!QFile::exists(QDir(m_folder.path()).filePath(QStringLiteral("Dora.tim"))));
}

void BulkDialogsTest::selectAllAndNoneCheckEveryEntry()
{
    for (const QString& name : { QStringLiteral("North"), QStringLiteral("South") }) {
        CPageTarget target = Target(name, 1);
        target.m_ranges.append(Range(2024, 3, 5, 0, 60)); // source week
        target.m_ranges.append(Range(2024, 3, 12, 0, 60)); // destination week
        m_doc->PageTargets().append(target);
    }
    CPageTarget west = Target(QStringLiteral("West"), 3);
    west.m_ranges.append(Range(2024, 3, 13, 0, 60)); // only in the destination: unchecked
    m_doc->PageTargets().append(west);

    CDispDuplicateDlg dialog(*m_doc);
    QListWidget* source = dialog.SourceList();
    QListWidget* destination = dialog.DestinationList();
    QCOMPARE(source->count(), 2);
    QCOMPARE(destination->count(), 3);
    QCOMPARE(Entry(destination, QStringLiteral("West"))->checkState(), Qt::Unchecked);
    const auto states = [](QListWidget* list) {
        QList<Qt::CheckState> out;
        for (int row = 0; row < list->count(); ++row)
            out << list->item(row)->checkState();
        return out;
    };

    // None on the source unchecks its destination entries too: those days are left alone.
    dialog.SelectNoneButton(false)->click();
    QCOMPARE(states(source), QList<Qt::CheckState>(2, Qt::Unchecked));
    QCOMPARE(states(destination), QList<Qt::CheckState>(3, Qt::Unchecked));
    dialog.SelectAllButton(false)->click();
    QCOMPARE(states(source), QList<Qt::CheckState>(2, Qt::Checked));
    QCOMPARE(Entry(destination, QStringLiteral("North"))->checkState(), Qt::Checked);
    QCOMPARE(Entry(destination, QStringLiteral("West"))->checkState(), Qt::Unchecked);
    // The destination's own buttons leave the source as it is.
    dialog.SelectAllButton(true)->click();
    QCOMPARE(states(destination), QList<Qt::CheckState>(3, Qt::Checked));
    dialog.SelectNoneButton(true)->click();
    QCOMPARE(states(destination), QList<Qt::CheckState>(3, Qt::Unchecked));
    QCOMPARE(states(source), QList<Qt::CheckState>(2, Qt::Checked));

    // With West checked it is cleared in the destination; the others copied, nothing cleared.
    dialog.SelectAllButton(true)->click();
    Entry(destination, QStringLiteral("North"))->setCheckState(Qt::Unchecked);
    dialog.accept();
    const CPageTargetArray& targets = m_doc->PageTargets();
    QCOMPARE(targets[2].m_ranges.size(), 0);
    QVERIFY(targets[0].m_ranges.contains(Range(2024, 3, 12, 0, 60))); // kept and copied onto
    QCOMPARE(targets[0].m_ranges.size(), 3);
    QCOMPARE(targets[1].m_ranges.size(), 2);
}

void BulkDialogsTest::aWholeTypedDateIsTaken()
{
    const QLocale before;
    const auto restore = qScopeGuard([&before] { QLocale::setDefault(before); });
    QCOMPARE(BulkDateFormat(QLocale(QLocale::German, QLocale::Germany)), QStringLiteral("dd.MM.yyyy"));
    QCOMPARE(BulkDateFormat(QLocale(QLocale::English, QLocale::UnitedStates)), QStringLiteral("M/d/yyyy"));

    struct SCase
    {
        QLocale m_locale;
        QString m_typed;
    };
    const QList<SCase> cases { { QLocale(QLocale::German, QLocale::Germany), QStringLiteral("28.12.2026") },
        { QLocale(QLocale::English, QLocale::UnitedKingdom), QStringLiteral("28/12/2026") },
        { QLocale(QLocale::English, QLocale::UnitedStates), QStringLiteral("12/28/2026") },
        { QLocale(QLocale::Dutch, QLocale::Netherlands), QStringLiteral("28-12-2026") },
        { QLocale::c(), QStringLiteral("28 Dec 2026") } };
    for (const SCase& test : cases) {
        QLocale::setDefault(test.m_locale);
        CDispDuplicateDlg dialog(*m_doc);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QDateEdit* edit = dialog.DestinationToEdit();
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, test.m_typed);
        QTest::keyClick(edit, Qt::Key_Tab);
        QVERIFY2(edit->date() == QDate(2026, 12, 28), qPrintable(test.m_locale.name() + u' ' + edit->text()));
        QVERIFY(!edit->hasFocus()); // Tab went on to the next control
        QCOMPARE(dialog.Spans().m_destinationTo, Day(2026, 12, 28));
        QVERIFY(dialog.DestinationSummary().contains(QStringLiteral("copies")));
    }
}

void BulkDialogsTest::anIncompleteTypedDateIsReportedNotUsed()
{
    const QLocale before;
    const auto restore = qScopeGuard([&before] { QLocale::setDefault(before); });
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    CPageTarget north = Target(QStringLiteral("North"), 1);
    north.m_ranges.append(Range(2024, 3, 5, 0, 60));
    m_doc->PageTargets().append(north);

    CDispDuplicateDlg dialog(*m_doc);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QDateEdit* edit = dialog.DestinationToEdit();
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("28.12.20")); // the year cut short
    QVERIFY(!edit->hasAcceptableInput());
    // Leaving the field puts a valid date back (not the one typed); OK then tells, and does
    // nothing (also when the field still holds the incomplete text).
    dialog.SourceList()->setFocus();
    QString message;
    WhenModal<QMessageBox>([&message](QMessageBox* box) {
        message = box->text();
        box->accept();
    });
    dialog.accept();
    QVERIFY2(message.contains(QStringLiteral("28.12.20")) && message.contains(QStringLiteral("dd.MM.yyyy")),
        qPrintable(message));
    QVERIFY(dialog.isVisible());
    QTRY_COMPARE(dialog.focusWidget(), static_cast<QWidget*>(edit));
    QCOMPARE(m_doc->PageTargets()[0].m_ranges.size(), 1);

    // The date typed again in full is taken and used.
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("24.03.2024"));
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.Spans().m_destinationTo, Day(2024, 3, 24));
    const CDispatchRangeArray& ranges = m_doc->PageTargets()[0].m_ranges;
    QCOMPARE(ranges.size(), 3);
    QVERIFY(ranges.contains(Range(2024, 3, 19, 0, 60)));
}

void BulkDialogsTest::removePreviewsOpenAtTheWorkTime()
{
    m_doc->m_workTimeFrom = 7 * 60;
    m_doc->m_workTimeTo = 17 * 60;
    CPageTarget receiver = Target(QStringLiteral("East"), 4);
    receiver.m_ranges.append(Range(2024, 3, 6, 420, 480));
    m_doc->PageTargets().append(receiver);

    CDispRemoveDlg dialog(*m_doc, QStringLiteral("East"));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QList<CPlannerWidget*> views = dialog.findChildren<CPlannerWidget*>();
    QCOMPARE(views.size(), 2);
    for (CPlannerWidget* view : views) {
        QTRY_COMPARE(view->FirstShownRow(), 7 * 4);
        QCOMPARE(view->CellRect(1, 28).top(), view->HeaderHeight());
    }
}

QTEST_MAIN(BulkDialogsTest)
#include "BulkDialogsTest.moc"
