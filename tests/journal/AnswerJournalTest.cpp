// The answer journal: answers from many threads come back in time order with what they said; a
// journal that cannot be written keeps them until it can; old answers go.
#include "journal/AnswerJournal.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <thread>
#include <vector>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "support/Trace.h"

#include "WarningCapture.h"

namespace {

qint64 RowCount(const QString& path)
{
    sqlite3* db = nullptr;
    qint64 count = -1;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT count(*) FROM answers", -1, &statement, nullptr) == SQLITE_OK
            && sqlite3_step(statement) == SQLITE_ROW)
            count = sqlite3_column_int64(statement, 0);
        sqlite3_finalize(statement);
    }
    sqlite3_close_v2(db);
    return count;
}

} // namespace

TEST(AnswerJournalTest, AnswersFromManyThreadsComeBackInOrder)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kelvaris-journal.sqlite"));
    const qint64 base = QDateTime::currentMSecsSinceEpoch();
    {
        CAnswerJournal journal(path);
        std::vector<std::thread> askers;
        // Four askers, all within one millisecond: each answer keeps its place and its time.
        for (int t = 0; t < 4; ++t) {
            askers.emplace_back([&journal, base, t] {
                for (int i = 0; i < 30; ++i)
                    journal.Add({ base, 1000 + t, QStringLiteral("R%1").arg(t),
                        t % 2 ? QStringLiteral("G1") : QString(), i % 4, 1'796'000'000 + i });
            });
        }
        for (std::thread& asker : askers)
            asker.join();
        journal.Flush();
        // One more after a flush, and the rest is written when the journal goes.
        journal.Add({ base + 10, 77, QStringLiteral("R0"), QString(), 3, 0 });
    }
    QString error;
    for (int t = 0; t < 4; ++t) {
        const auto answers
            = CAnswerJournal::Read(path, QStringLiteral("R%1").arg(t), base, base + 100, 100000, error);
        ASSERT_TRUE(answers) << error.toStdString();
        ASSERT_EQ(answers->size(), t == 0 ? 31 : 30);
        for (qsizetype i = 0; i < 30; ++i) {
            const CAnswerRecord& answer = answers->at(i);
            EXPECT_EQ(answer.atMs, base) << i;
            EXPECT_EQ(answer.uid, 1000 + t);
            EXPECT_EQ(answer.group, t % 2 ? QStringLiteral("G1") : QString());
            EXPECT_EQ(answer.result, int(i % 4));
            EXPECT_EQ(answer.revision, 1'796'000'000 + i);
        }
    }
    const auto last = CAnswerJournal::Read(path, QStringLiteral("R0"), base + 10, base + 10, 10, error);
    ASSERT_TRUE(last && last->size() == 1);
    EXPECT_EQ(last->first().uid, 77);
    // Nothing for a receiver never asked for, nor outside the span.
    EXPECT_TRUE(CAnswerJournal::Read(path, QStringLiteral("R9"), base, base + 100, 10, error)->isEmpty());
    EXPECT_TRUE(CAnswerJournal::Read(path, QStringLiteral("R1"), base + 5, base + 100, 10, error)->isEmpty());
}

// A folder that cannot be written: one warning, the answers kept, written once it can be; and an
// answer older than the days kept is removed.
TEST(AnswerJournalTest, KeepsAnswersWhileItCannotWriteAndRemovesOldOnes)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("data"));
    const QString path = folder + QStringLiteral("/kelvaris-journal.sqlite");
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const CWarningCapture warnings(lcEngine());
    {
        CAnswerJournal journal(path, 2);
        journal.Add({ now - 3 * 86'400'000LL, 1000, QStringLiteral("R1"), QString(), 0, 0 });
        for (int i = 0; i < 3; ++i)
            journal.Add({ now + i, 1000, QStringLiteral("R1"), QString(), 0, 0 });
        journal.Flush();
        EXPECT_EQ(CWarningCapture::Count("The answer journal"), 1) << CWarningCapture::Text().toStdString();
        EXPECT_TRUE(CWarningCapture::Text().contains(QStringLiteral("cannot be written")));
        ASSERT_TRUE(QDir().mkdir(folder));
        journal.Flush();
        journal.Flush();
        EXPECT_TRUE(CWarningCapture::Text().contains(QStringLiteral("is written again")));
        EXPECT_EQ(journal.Dropped(), 0);
    }
    // The answer older than the two days kept went at the first round that could write.
    EXPECT_EQ(RowCount(path), 3);
    QString error;
    EXPECT_EQ(CAnswerJournal::Read(path, QStringLiteral("R1"), 0, now + 10, 10, error)->size(), 3);
}

// Answers beyond what it keeps while it cannot write are dropped and counted, and the count is a
// warning once it writes again.
TEST(AnswerJournalTest, AnswersLostWhileItCouldNotWriteAreTold)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("data"));
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const CWarningCapture warnings(lcEngine());
    CAnswerJournal journal(folder + QStringLiteral("/kelvaris-journal.sqlite"), 2);
    for (qsizetype i = 0; i < CAnswerJournal::kMaxQueued + 7; ++i)
        journal.Add({ now, 1000, QStringLiteral("R1"), QString(), 0, 0 });
    journal.Flush();
    EXPECT_EQ(journal.Dropped(), 7);
    ASSERT_TRUE(QDir().mkdir(folder));
    journal.Flush();
    journal.Flush();
    EXPECT_EQ(CWarningCapture::Count("The answer journal"), 3) << CWarningCapture::Text().toStdString();
    EXPECT_TRUE(CWarningCapture::Text().contains(QStringLiteral("lost 7 answers")))
        << CWarningCapture::Text().toStdString();
}
