// Setup > History: the journal's entries filtered by day, kind and target, and an entry's view of
// its content before and after.
#include "editors/HistoryDialog.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

#include "journal/Journal.h"

#include "DialogTesting.h"

class HistoryDialogTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void filtersAndOpensAnEntry()
    {
        QTemporaryDir dir;
        const QString path = CJournal::PathIn(dir.path());
        CHistoryDialog missing(path);
        QCOMPARE(missing.VisibleRowCount(), 0);
        QVERIFY(Named<QLabel>(&missing, "status")->text().contains(QStringLiteral("No edit journal")));
        {
            CJournal journal(path);
            QVERIFY(journal.Open(true));
            const qint64 now = QDateTime::currentMSecsSinceEpoch();
            const struct
            {
                qint64 daysAgo;
                const char* kind;
                const char* subject;
                const char* after;
            } changes[] = {
                { 40, "plan", "101", "Name=Anna\n20261208=08:00-16:00" },
                { 3, "plan", "102", "Name=Bert\n20261208=16:00-24:00" },
                { 2, "holder", "300", "102" },
                { 1, "plan", "101", "Name=Anna\n20261208=08:00-12:00" },
            };
            for (const auto& change : changes) {
                CJournalEntry entry;
                entry.atMs = now - change.daysAgo * 86'400'000LL;
                entry.user = QStringLiteral("anna");
                entry.kind = QString::fromLatin1(change.kind);
                entry.subject = QString::fromLatin1(change.subject);
                entry.after = QString::fromLatin1(change.after);
                QVERIFY(journal.Append(entry));
            }
        }
        CHistoryDialog dialog(path);
        // The entry of 40 days ago is before the first day shown (30 days back).
        QCOMPARE(dialog.VisibleRowCount(), 3);
        auto* since = Named<QDateEdit>(&dialog, "since");
        since->setDate(since->date().addDays(-30));
        QCOMPARE(dialog.VisibleRowCount(), 4);
        auto* kind = Named<QComboBox>(&dialog, "kind");
        kind->setCurrentIndex(kind->findData(QStringLiteral("holder")));
        QCOMPARE(dialog.VisibleRowCount(), 1);
        kind->setCurrentIndex(0);
        // Targets are offered by the names their plans give.
        auto* target = Named<QComboBox>(&dialog, "target");
        QCOMPARE(target->itemText(target->findData(QStringLiteral("101"))), QStringLiteral("Anna (101)"));
        target->setCurrentIndex(target->findData(QStringLiteral("101")));
        QCOMPARE(dialog.VisibleRowCount(), 2);

        // The newest of Anna's entries opens with its content as a person reads it.
        QString shown;
        WhenModal<CHistoryEntryDialog>([&shown](CHistoryEntryDialog* view) {
            for (auto* box : view->findChildren<QGroupBox*>())
                shown += box->title() + u':' + box->findChild<QPlainTextEdit*>()->toPlainText() + u'\n';
            view->reject();
        });
        dialog.ShowCurrent();
        QVERIFY2(shown.startsWith(QStringLiteral("Before:\nAfter:Name=Anna\n")), qPrintable(shown));
        QVERIFY2(shown.contains(QStringLiteral("08:00-12:00")) && !shown.contains(QStringLiteral("20261208")),
            qPrintable(shown));
    }
};

QTEST_MAIN(HistoryDialogTest)
#include "HistoryDialogTest.moc"
