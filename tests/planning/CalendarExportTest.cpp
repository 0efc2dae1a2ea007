// The planning dialog's export as an iCalendar file: the format choice of the export dialog, the
// period's days, and the file the operator picks (written, or an error naming it).
#include <memory>

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include "engine/KelvarisDoc.h"
#include "engine/Password.h"
#include "plandialogs/DispatchingDlg.h"
#include "plandialogs/ExportDlg.h"

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

// The path typed into the file name field, as the operator would: selectFile() does not always
// take while the dialog is still reading its folder, and cannot go to a missing folder.
void TypeFileNameAndAccept(QFileDialog* dialog, const QString& path)
{
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    QVERIFY(name);
    name->setText(path);
    QMetaObject::invokeMethod(dialog, "accept");
}

} // namespace

class CalendarExportTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { SetCurrentTimeSource(&Now); }
    void cleanupTestCase() { SetCurrentTimeSource(nullptr); }

    void formatChoiceAndPeriodDates();
    void exportWritesTheChosenFileOrNamesIt();
};

void CalendarExportTest::formatChoiceAndPeriodDates()
{
    const QString week = QStringLiteral("Week 10:  04.03.2024 - 10.03.2024");
    // Printing offers no format: the table it is.
    CExportDlg print(QStringLiteral("Desk"), week, QStringLiteral("March 2024"), 0);
    QVERIFY(!Named<QRadioButton>(&print, "calendar")->isVisibleTo(&print));
    Named<QRadioButton>(&print, "calendar")->setChecked(true);
    print.accept();
    QVERIFY(!print.Calendar());
    // "All" names what it writes: the entries of the tab the dialog was opened from.
    QCOMPARE(Named<QRadioButton>(&print, "all")->text(), QStringLiteral("&All receivers"));
    CExportDlg groups(QStringLiteral("North"), week, QStringLiteral("March 2024"), 0, nullptr, true);
    QCOMPARE(Named<QRadioButton>(&groups, "all")->text(), QStringLiteral("&All groups"));

    CExportDlg exporting(QStringLiteral("Desk"), week, QStringLiteral("March 2024"), 1);
    exporting.OfferCalendar();
    QVERIFY(Named<QRadioButton>(&exporting, "calendar")->isVisibleTo(&exporting));
    QVERIFY(Named<QRadioButton>(&exporting, "html")->isChecked());
    QCOMPARE(Named<QRadioButton>(&exporting, "calendar")->text(), QStringLiteral("&iCalendar (.ics)"));
    WhenModal<CExportDlg>([](CExportDlg* shown) {
        SaveScreenshot(*shown, QStringLiteral("ExportDlgCalendar"));
        Named<QRadioButton>(shown, "calendar")->setChecked(true);
        shown->accept();
    });
    QCOMPARE(exporting.exec(), int(QDialog::Accepted));
    QVERIFY(exporting.Calendar());

    // The shown weeks from their Monday; the month the week start lies in (February of a leap year).
    using Span = std::pair<QDate, QDate>;
    QCOMPARE(CExportDlg::PeriodDates(QDate(2024, 3, 4), 0, 1), Span(QDate(2024, 3, 4), QDate(2024, 3, 10)));
    QCOMPARE(CExportDlg::PeriodDates(QDate(2024, 3, 4), 0, 2), Span(QDate(2024, 3, 4), QDate(2024, 3, 17)));
    QCOMPARE(CExportDlg::PeriodDates(QDate(2024, 2, 26), 1, 2), Span(QDate(2024, 2, 1), QDate(2024, 2, 29)));
}

void CalendarExportTest::exportWritesTheChosenFileOrNamesIt()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    CConfigLocationScope config(folder.filePath(QStringLiteral("kelvaris.cfg")));
    CFakeServerCommandFactory server;
    CRightsCheck rights;
    CKelvarisDoc doc(server, rights);
    CPageTargetArray& targets = doc.PageTargets();
    CPageTarget anna = Target(QStringLiteral("Anna"), 1, 0x0000FF);
    anna.m_ranges.append(Range(2024, 3, 5, 22 * 60, 24 * 60)); // until 6:00 the next day
    anna.m_ranges.append(Range(2024, 3, 6, 0, 6 * 60));
    anna.m_ranges.append(Range(2024, 3, 20, 480, 540)); // in the month, not in the week
    targets.append(anna);
    CPageTarget bert = Target(QStringLiteral("Bert"), 2, 0xFF0000);
    bert.m_ranges.append(Range(2024, 3, 7, 600, 660));
    targets.append(bert);
    CPageTarget service = Target(QStringLiteral("Service"), -1, 0x808080, QStringLiteral("Anna;Bert"));
    service.m_ranges.append(Range(2024, 3, 8, 600, 660));
    targets.append(service);

    // The proposed file lies in the home folder: the temporary folder here.
    const QByteArray savedHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(folder.path()));
    const auto restoreHome = qScopeGuard([&savedHome] { qputenv("HOME", savedHome); });
    CDispatchingDlg dialog(doc, QStringLiteral("Anna"));
    QPushButton* exportButton = nullptr;
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->text() == QStringLiteral("&Export..."))
            exportButton = button;
    }
    QVERIFY(exportButton);

    // All receivers of the shown week, into the file picked.
    const QString path = folder.filePath(QStringLiteral("duty.ics"));
    QString filter;
    WhenModal<CExportDlg>([](CExportDlg* shown) {
        Named<QRadioButton>(shown, "all")->setChecked(true);
        Named<QRadioButton>(shown, "week")->setChecked(true);
        Named<QRadioButton>(shown, "calendar")->setChecked(true);
        shown->accept();
    });
    WhenModal<QFileDialog>([&path, &filter](QFileDialog* shown) {
        filter = shown->selectedNameFilter();
        TypeFileNameAndAccept(shown, path);
    });
    exportButton->click();
    QCOMPARE(filter, QStringLiteral("iCalendar (*.ics)"));
    QFile file(path);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(QDir(folder.path()).entryList().join(u' ')));
    const QByteArray calendar = file.readAll();
    file.close();
    QVERIFY(calendar.startsWith("BEGIN:VCALENDAR\r\n"));
    QVERIFY(calendar.contains("X-WR-CALNAME:All receivers\r\n"));
    QCOMPARE(calendar.count("BEGIN:VEVENT"), 2); // Anna across midnight, Bert
    // The tests run in UTC; the UID carries the installation's ID.
    const QRegularExpression uid(
        QStringLiteral("\r\nUID:Anna-20240305T220000Z@[0-9a-f-]{36}\\.kelvaris\r\n"));
    QVERIFY2(uid.match(QString::fromUtf8(calendar)).hasMatch(), calendar.constData());
    QVERIFY(calendar.contains("DTEND:20240306T060000Z\r\n"));
    QVERIFY(calendar.contains("SUMMARY:Bert\r\n"));
    QVERIFY(!calendar.contains("Service"));

    // A file that cannot be written: a message naming it; nothing is left there.
    const QString unwritable = folder.filePath(QStringLiteral("missing/duty.ics"));
    QString message;
    WhenModal<CExportDlg>([](CExportDlg* shown) {
        Named<QRadioButton>(shown, "calendar")->setChecked(true);
        shown->accept();
    });
    WhenModal<QFileDialog>([&unwritable](QFileDialog* shown) { TypeFileNameAndAccept(shown, unwritable); });
    WhenModal<QMessageBox>([&message](QMessageBox* box) {
        message = box->text();
        box->accept();
    });
    exportButton->click();
    QVERIFY2(message.contains(unwritable), qPrintable(message + QStringLiteral(" | ") + unwritable));
    QVERIFY(!QFile::exists(unwritable));
    // Beside the configuration (which took the installation's ID at the first calendar), only the
    // calendar written: no temporary file is left.
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
        (QStringList { QStringLiteral("duty.ics"), QStringLiteral("kelvaris.cfg") }));
}

QTEST_MAIN(CalendarExportTest)
#include "CalendarExportTest.moc"
