#include "support/Trace.h"

#include <cstdio>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>

TEST(Trace, RulesSwitchOnlyNamedCategories)
{
    const QString rules = TraceRulesFor(QStringLiteral(" dispatch, Engine ,,"));
    EXPECT_EQ(rules,
        QStringLiteral("kelvaris.*.debug=false\nkelvaris.dispatch.debug=true\n"
                       "kelvaris.engine.debug=true"));
    EXPECT_TRUE(TraceRulesFor(QStringLiteral("all")).endsWith(QStringLiteral("kelvaris.*.debug=true")));
    // A value that tries to smuggle in other rules is ignored.
    EXPECT_EQ(TraceRulesFor(QStringLiteral("x.debug=true\nqt.*")), QStringLiteral("kelvaris.*.debug=false"));
}

TEST(Trace, CategoriesAreOffByDefault)
{
    EXPECT_FALSE(lcDispatch().isDebugEnabled());
    EXPECT_TRUE(lcDispatch().isInfoEnabled());
}

TEST(Trace, JournalPrioritiesFollowSdDaemon)
{
    EXPECT_STREQ(JournalPriority(QtDebugMsg), "<7>");
    EXPECT_STREQ(JournalPriority(QtInfoMsg), "<6>");
    EXPECT_STREQ(JournalPriority(QtWarningMsg), "<4>");
    EXPECT_STREQ(JournalPriority(QtCriticalMsg), "<2>");
    EXPECT_STREQ(JournalPriority(QtFatalMsg), "<2>");
}

TEST(Trace, EveryLineOfAMessageCarriesThePriority)
{
    EXPECT_EQ(PrefixLines("<4>", "one"), QByteArray("<4>one\n"));
    EXPECT_EQ(PrefixLines("<4>", "one\ntwo\n\nfour"), QByteArray("<4>one\n<4>two\n<4>\n<4>four\n"));
    // A message ending with a newline gets no empty line of its own; an empty message is one line.
    EXPECT_EQ(PrefixLines("<7>", "trace\n"), QByteArray("<7>trace\n"));
    EXPECT_EQ(PrefixLines("<6>", ""), QByteArray("<6>\n"));
}

TEST(Trace, JournalStreamMustNameStandardErrorsFile)
{
    EXPECT_TRUE(JournalStreamNames("2049:131", 2049, 131));
    EXPECT_FALSE(JournalStreamNames("2049:132", 2049, 131));
    EXPECT_FALSE(JournalStreamNames("2050:131", 2049, 131));
    for (const char* malformed :
        { "", "2049", "2049:", ":131", "2049:131:7", "x:131", "2049:131x", "-1:131" })
        EXPECT_FALSE(JournalStreamNames(malformed, 2049, 131)) << malformed;
}

// The handler InitTrace installs when standard error is the journal's stream: a warning of two
// lines, a trace line and an error line written by the program itself, each line with its priority.
TEST(Trace, HandlerUnderTheJournalMarksEveryLine)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("stderr")));
    const int file = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    ASSERT_GE(file, 0);
    struct stat status
    {
    };
    ASSERT_EQ(::fstat(file, &status), 0);
    std::fflush(stderr);
    const int saved = ::dup(STDERR_FILENO);
    ASSERT_GE(::dup2(file, STDERR_FILENO), 0);
    ::close(file);
    qputenv("JOURNAL_STREAM",
        QByteArray::number(static_cast<quint64>(status.st_dev)) + ':'
            + QByteArray::number(static_cast<quint64>(status.st_ino)));
    qputenv("KELVARIS_TRACE", "engine");
    InitTrace();
    qCWarning(lcServer).noquote() << "first line\nsecond line";
    KTRACE(lcEngine) << "traced";
    KTRACE(lcDispatch) << "not switched on";
    WriteStandardError(QtCriticalMsg, QStringLiteral("kelvaris: cannot start"));
    // Back to Qt's own handler and the real standard error.
    qInstallMessageHandler(nullptr);
    qSetMessagePattern(QString());
    QLoggingCategory::setFilterRules(QString());
    qunsetenv("JOURNAL_STREAM");
    qunsetenv("KELVARIS_TRACE");
    std::fflush(stderr);
    ::dup2(saved, STDERR_FILENO);
    ::close(saved);

    QFile written(QFile::decodeName(path));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = written.readAll().split('\n');
    ASSERT_EQ(lines.size(), 5) << written.fileName().toStdString();
    EXPECT_TRUE(lines[0].startsWith("<4>")) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].endsWith("kelvaris.server first line")) << lines[0].toStdString();
    EXPECT_EQ(lines[1], QByteArray("<4>second line"));
    EXPECT_TRUE(lines[2].startsWith("<7>") && lines[2].endsWith("kelvaris.engine traced"))
        << lines[2].toStdString();
    EXPECT_EQ(lines[3], QByteArray("<2>kelvaris: cannot start"));
    EXPECT_TRUE(lines[4].isEmpty());
}
