// What the engine writes into the edit journal: plans as found, as saved and as changed outside,
// and a journal that cannot be written for a while.
#include "engine/JournalKeeper.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "schedule/PageTarget.h"
#include "support/Trace.h"

#include "fakes/WarningCapture.h"

namespace {

CPageTarget Anna(const QStringList& lines)
{
    CPageTarget target;
    target.m_id = QStringLiteral("17");
    target.m_name = QStringLiteral("Anna");
    for (const QString& line : lines)
        target.m_ranges.AddFromText(line);
    return target;
}

QList<CJournalEntry> Entries(const QString& folder)
{
    CJournal journal(CJournal::PathIn(folder));
    if (!journal.Open(false))
        return {};
    QList<CJournalEntry> entries = journal.Entries({}).value_or(QList<CJournalEntry>());
    std::reverse(entries.begin(), entries.end());
    return entries;
}

} // namespace

TEST(JournalKeeperTest, PlansAreRecordedAsFoundAsSavedAndAsChangedOutsideOnlyWhenTheyChanged)
{
    QTemporaryDir dir;
    CJournalKeeper keeper(QStringLiteral("window"));
    keeper.SetFolder(dir.path());
    CPageTarget anna
        = Anna({ QStringLiteral("20261209=22:00-24:00"), QStringLiteral("20261208=08:00-16:00") });
    anna.m_fileTimeMemo = 1;
    keeper.RecordPlanRead(anna);
    keeper.RecordPlanRead(anna); // the same file: nothing new
    anna.m_ranges.AddFromText(QStringLiteral("20261210=06:00-14:00"));
    keeper.RecordPlan(anna, QStringLiteral("Plan of action"));
    anna.m_fileTimeMemo = 2; // saved: read back unchanged, nothing new
    keeper.RecordPlanRead(anna);
    anna.m_ranges.RemoveDate(8, 12, 2026);
    anna.m_fileTimeMemo = 3; // changed by hand
    keeper.RecordPlanRead(anna);

    const QList<CJournalEntry> entries = Entries(dir.path());
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(entries[0].why, QStringLiteral("as found when the journal began"));
    EXPECT_EQ(entries[0].via, QStringLiteral("outside"));
    EXPECT_EQ(entries[0].before, QString());
    EXPECT_EQ(entries[0].after, QStringLiteral("Name=Anna\n20261208=08:00-16:00\n20261209=22:00-24:00"));
    EXPECT_EQ(entries[1].via, QStringLiteral("window"));
    EXPECT_EQ(entries[1].why, QStringLiteral("Plan of action"));
    // After the first, a plan's entries keep the lines removed and added.
    EXPECT_EQ(entries[1].form, QStringLiteral("lines"));
    EXPECT_EQ(entries[1].before, QString());
    EXPECT_EQ(entries[1].after, QStringLiteral("20261210=06:00-14:00"));
    EXPECT_EQ(entries[2].via, QStringLiteral("outside"));
    EXPECT_TRUE(entries[2].why.startsWith(QStringLiteral("changed outside Kelvaris")))
        << entries[2].why.toStdString();
    EXPECT_EQ(entries[2].before, QStringLiteral("20261208=08:00-16:00"));
    EXPECT_EQ(entries[2].after, QString());
    CJournal journal(CJournal::PathIn(dir.path()));
    ASSERT_TRUE(journal.Open(false));
    EXPECT_EQ(journal.LastAfter(QStringLiteral("plan"), QStringLiteral("17")),
        QStringLiteral("Name=Anna\n20261209=22:00-24:00\n20261210=06:00-14:00"));
    for (const CJournalEntry& entry : entries) {
        EXPECT_EQ(entry.kind, QStringLiteral("plan"));
        EXPECT_EQ(entry.subject, QStringLiteral("17"));
        EXPECT_FALSE(entry.user.isEmpty());
    }

    // Another program on the same data starts from the journal's last record.
    CJournalKeeper other(QStringLiteral("windowless"));
    other.SetFolder(dir.path());
    other.RecordPlan(anna, QStringLiteral("Plan of action"));
    EXPECT_EQ(Entries(dir.path()).size(), 3);
}

TEST(JournalKeeperTest, AJournalThatCannotBeWrittenKeepsTheChangesAndRecordsTheGap)
{
    QTemporaryDir dir;
    const QString path = CJournal::PathIn(dir.path());
    // A folder where the journal's file should be: it cannot be opened.
    ASSERT_TRUE(QDir().mkpath(path));
    CWarningCapture warnings(lcEngine());
    CJournalKeeper keeper(QStringLiteral("windowless"));
    keeper.SetFolder(dir.path());
    CPageTarget anna = Anna({ QStringLiteral("20261208=08:00-16:00") });
    keeper.RecordPlan(anna, QStringLiteral("Plan of action"));
    anna.m_ranges.AddFromText(QStringLiteral("20261209=08:00-16:00"));
    keeper.RecordPlan(anna, QStringLiteral("Plan of action"));
    EXPECT_NE(keeper.FailingSinceMs(), 0);
    EXPECT_FALSE(keeper.Retry());
    EXPECT_EQ(warnings.Count("journal: "), 1) << warnings.Text().toStdString();

    ASSERT_TRUE(QDir(path).removeRecursively());
    EXPECT_TRUE(keeper.Retry());
    EXPECT_EQ(keeper.FailingSinceMs(), 0);
    // In the order of their times: the two changes kept, then the entry that names the gap (written
    // first).
    const QList<CJournalEntry> entries = Entries(dir.path());
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(entries[0].after, QStringLiteral("Name=Anna\n20261208=08:00-16:00"));
    EXPECT_EQ(entries[1].after, QStringLiteral("20261209=08:00-16:00"));
    EXPECT_EQ(entries[2].kind, QStringLiteral("journal"));
    EXPECT_EQ(entries[2].seq, 1);
    EXPECT_TRUE(entries[2].after.startsWith(QStringLiteral("not written from ")))
        << entries[2].after.toStdString();

    // A journal SQLite cannot read is moved aside and a new one begun.
    keeper.SetFolder(QString());
    QFile damaged(path);
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray(8192, '\x5a'));
    damaged.close();
    CJournalKeeper restarted(QStringLiteral("windowless"));
    restarted.SetFolder(dir.path());
    restarted.RecordPlan(anna, QStringLiteral("Plan of action"));
    // Its first entry names the journal moved aside and the head that journal had.
    const auto predecessor = [&dir] {
        for (const CJournalEntry& entry : Entries(dir.path())) {
            if (entry.kind == QLatin1String("journal") && entry.subject == QLatin1String("predecessor"))
                return entry;
        }
        return CJournalEntry();
    };
    EXPECT_EQ(Entries(dir.path()).size(), 2);
    EXPECT_EQ(predecessor().seq, 1);
    EXPECT_TRUE(predecessor().after.contains(QStringLiteral(".damaged-"))
        && predecessor().after.contains(QStringLiteral("(head 3:")))
        << predecessor().after.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList({ QStringLiteral("*.damaged-*") }).size(), 2); // with its head file
    EXPECT_EQ(warnings.Text().count(QStringLiteral("is moved to")), 1) << warnings.Text().toStdString();

    // The new journal is whole with its head.
    CJournal journal(path);
    ASSERT_TRUE(journal.Open(false));
    ASSERT_TRUE(journal.ReadHead());
    EXPECT_EQ(journal.Verify({ *journal.ReadHead() }).firstBad, 0);
}
