// The edit journal's store: the chain of hashes, what a reader finds, and a journal changed
// behind its back.
#include "journal/Journal.h"

#include <algorithm>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>

namespace {

CJournalEntry Change(qint64 atMs, const char* kind, const char* subject, const char* after)
{
    CJournalEntry entry;
    entry.atMs = atMs;
    entry.user = QStringLiteral("anna");
    entry.uid = 1000;
    entry.via = QStringLiteral("window");
    entry.kind = QString::fromLatin1(kind);
    entry.subject = QString::fromLatin1(subject);
    entry.before = QStringLiteral("20261208=08:00-16:00");
    entry.after = QString::fromUtf8(after);
    entry.why = QStringLiteral("Plan of action");
    return entry;
}

void Sql(const QString& path, const char* statement)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, statement, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
}

// Six changes from two programs sharing the journal, the third one marked for the tampering.
void Fill(const QString& path)
{
    CJournal window(path);
    CJournal windowless(path);
    ASSERT_TRUE(window.Open(true)) << window.Error().toStdString();
    ASSERT_TRUE(windowless.Open(true));
    const char* afters[] = { "20261208=08:00-12:00", "20261209=22:00-24:00", "Tamper-me 20261210=00:00-06:00",
        "Name=Early", "20261211=07:00-15:30", "" };
    for (int i = 0; i < 6; ++i) {
        CJournalEntry entry
            = Change(1000 * (i + 1), i == 3 ? "shifts" : "plan", i % 2 ? "18" : "17", afters[i]);
        ASSERT_TRUE((i % 2 ? windowless : window).Append(entry));
        EXPECT_EQ(entry.seq, i + 1);
        EXPECT_EQ(entry.hash.size(), 64);
    }
}

} // namespace

TEST(JournalTest, ReadersFindTheChangesNewestFirstByTimeSubjectAndKind)
{
    QTemporaryDir dir;
    const QString path = CJournal::PathIn(dir.path());
    Fill(path);
    CJournal journal(path);
    ASSERT_TRUE(journal.Open(false));
    const auto seqs = [&journal](const CJournal::CFilter& filter) {
        QList<qint64> found;
        const QList<CJournalEntry> entries = journal.Entries(filter).value();
        for (const CJournalEntry& entry : entries)
            found << entry.seq;
        return found;
    };
    const auto filter = [](qint64 since, qint64 until, const char* subject, const char* kind, int limit) {
        CJournal::CFilter made;
        made.sinceMs = since;
        made.untilMs = until;
        made.subject = QString::fromLatin1(subject);
        made.kind = QString::fromLatin1(kind);
        made.limit = limit;
        return made;
    };
    constexpr qint64 kAll = std::numeric_limits<qint64>::max();
    EXPECT_EQ(seqs({}), (QList<qint64> { 6, 5, 4, 3, 2, 1 }));
    EXPECT_EQ(seqs(filter(2000, 4000, "", "", 0)), (QList<qint64> { 4, 3, 2 }));
    EXPECT_EQ(seqs(filter(0, kAll, "17", "", 0)), (QList<qint64> { 5, 3, 1 }));
    EXPECT_EQ(seqs(filter(0, kAll, "", "shifts", 0)), (QList<qint64> { 4 }));
    EXPECT_EQ(seqs(filter(0, kAll, "", "", 2)), (QList<qint64> { 6, 5 }));
    const CJournalEntry third = journal.Entries(filter(3000, 3000, "", "", 0)).value().value(0);
    EXPECT_EQ(third.after, QStringLiteral("Tamper-me 20261210=00:00-06:00"));
    EXPECT_EQ(third.user, QStringLiteral("anna"));
    EXPECT_EQ(third.uid, 1000);
    const CJournal::CVerification check = journal.Verify();
    EXPECT_TRUE(check.readable);
    EXPECT_EQ(check.count, 6);
    EXPECT_EQ(check.firstBad, 0) << check.reason.toStdString();
}

TEST(JournalTest, VerifyNamesTheFirstEntryChangedBehindItsBack)
{
    struct Case
    {
        const char* what;
        std::function<void(const QString&)> tamper;
        qint64 firstBad;
    };
    const Case cases[] = {
        { "one byte of the file",
            [](const QString& path) {
                QFile file(path);
                ASSERT_TRUE(file.open(QIODevice::ReadWrite));
                QByteArray bytes = file.readAll();
                const qsizetype at = bytes.indexOf("Tamper-me");
                ASSERT_GE(at, 0);
                bytes[at] = 't';
                file.seek(0);
                file.write(bytes);
            },
            3 },
        // Named as missing, not as the next entry that no longer fits.
        { "a row removed", [](const QString& path) { Sql(path, "DELETE FROM entries WHERE seq = 2"); }, 2 },
        { "an entry and its hash changed",
            [](const QString& path) { Sql(path, "UPDATE entries SET after = '', hash = 'x' WHERE seq = 4"); },
            4 },
        { "the last entry changed",
            [](const QString& path) { Sql(path, "UPDATE entries SET why = 'nobody' WHERE seq = 6"); }, 6 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        const QString path = CJournal::PathIn(dir.path());
        Fill(path);
        // Every program closed: the write-ahead log is in the database file.
        ASSERT_FALSE(QFile::exists(path + QStringLiteral("-wal")));
        c.tamper(path);
        CJournal journal(path);
        ASSERT_TRUE(journal.Open(false));
        const CJournal::CVerification check = journal.Verify();
        EXPECT_TRUE(check.readable);
        EXPECT_EQ(check.firstBad, c.firstBad) << check.reason.toStdString();
    }
}

TEST(JournalTest, WhatIsNoJournalIsNotOpened)
{
    QTemporaryDir dir;
    const QString text = dir.filePath(QStringLiteral("notes.txt"));
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, 'x'));
    file.close();
    for (const auto& [path, create] :
        { std::pair { text, true }, std::pair { dir.filePath(QStringLiteral("none.sqlite")), false } }) {
        CJournal journal(path);
        EXPECT_FALSE(journal.Open(create));
        EXPECT_FALSE(journal.Error().isEmpty());
        CJournalEntry entry;
        EXPECT_FALSE(journal.Append(entry));
    }
}

TEST(JournalTest, PruningKeepsWhatEachSubjectSaidAndTheChain)
{
    QTemporaryDir dir;
    const QString path = CJournal::PathIn(dir.path());
    Fill(path);
    CJournal journal(path);
    ASSERT_TRUE(journal.Open(false));
    const auto states = [&journal] {
        QList<QHash<QString, QString>> found;
        for (const qint64 at : { 3200, 4500, 6000 })
            found << journal.StateAt(at).value();
        return found;
    };
    const QList<QHash<QString, QString>> before = states();
    // Each subject's last change before the cut, and when it was made.
    QHash<QString, qint64> changed;
    CJournal::CFilter older;
    older.untilMs = 3499;
    const QList<CJournalEntry> beforeCut = journal.Entries(older).value();
    for (const CJournalEntry& entry : beforeCut)
        changed.insert(entry.subject, std::max(changed.value(entry.subject), entry.atMs));
    CJournalEntry keptAs;
    keptAs.via = QStringLiteral("journal");
    keptAs.why = QStringLiteral("kept");
    // The entries before 3500 (1 to 3) go; subjects 17 and 18 keep what they said then.
    EXPECT_EQ(journal.Prune(3500, keptAs), 3);
    EXPECT_EQ(states(), before);
    // A kept entry keeps the time of the change it stands for.
    int kept = 0;
    const QList<CJournalEntry> afterCut = journal.Entries({}).value();
    for (const CJournalEntry& entry : afterCut) {
        if (entry.why == QLatin1String("kept")) {
            EXPECT_EQ(entry.atMs, changed.value(entry.subject)) << entry.subject.toStdString();
            ++kept;
        }
    }
    EXPECT_EQ(kept, 2);
    const CJournal::CVerification check = journal.Verify();
    EXPECT_EQ(check.firstBad, 0) << check.reason.toStdString();
    EXPECT_EQ(check.count, 5);
    // More entries chain on; nothing older than the cut is left to prune.
    CJournalEntry later = Change(7000, "plan", "17", "20261212=08:00-16:00");
    ASSERT_TRUE(journal.Append(later));
    EXPECT_EQ(later.seq, 9);
    EXPECT_EQ(journal.Prune(3500, keptAs), 0);
    EXPECT_EQ(journal.Verify().firstBad, 0);
}

// Programs killed (SIGKILL) while they append: the chain verifies after every kill, and every
// entry a program was told was written is there. KELVARIS_KILL_ROUNDS sets the number of kills
// (20 here; scripts/check-journal-kills.sh runs 200).
TEST(JournalTest, KilledWritersLoseNothingTheyWereToldWasWritten)
{
    QTemporaryDir dir;
    const QString path = CJournal::PathIn(dir.path());
    const int rounds = qEnvironmentVariableIsSet("KELVARIS_KILL_ROUNDS")
        ? qEnvironmentVariableIntValue("KELVARIS_KILL_ROUNDS")
        : 20;
    std::mt19937 random(20261208);
    qint64 reported = 0;
    for (int round = 0; round < rounds; ++round) {
        int channel[2];
        ASSERT_EQ(::pipe(channel), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(channel[0]);
            CJournal journal(path);
            if (!journal.Open(true))
                ::_exit(2);
            for (qint64 n = 0;; ++n) {
                CJournalEntry entry = Change(n, "plan", "17", "20261208=08:00-16:00");
                entry.why = QStringLiteral("round %1 change %2").arg(round).arg(n);
                if (!journal.Append(entry))
                    ::_exit(3);
                const qint64 seq = entry.seq;
                if (::write(channel[1], &seq, sizeof seq) != sizeof seq)
                    ::_exit(4);
            }
        }
        ::close(channel[1]);
        // Killed after a random number of reported appends (the kill lands mid-append mostly).
        const int wanted = 1 + int(random() % 40);
        qint64 seq = 0;
        for (int i = 0; i < wanted && ::read(channel[0], &seq, sizeof seq) == sizeof seq; ++i)
            reported = std::max(reported, seq);
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ::close(channel[0]);
        ASSERT_TRUE(WIFSIGNALED(status)) << "round " << round << " status " << status;

        CJournal journal(path);
        ASSERT_TRUE(journal.Open(false)) << journal.Error().toStdString();
        const CJournal::CVerification check = journal.Verify();
        ASSERT_TRUE(check.readable) << "round " << round;
        ASSERT_EQ(check.firstBad, 0) << "round " << round << ": " << check.reason.toStdString();
        ASSERT_GE(check.count, reported) << "round " << round;
    }
}
