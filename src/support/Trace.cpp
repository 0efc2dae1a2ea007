#include "support/Trace.h"

#include <cstdio>
#include <sys/stat.h>

#include <QStringList>

#include "support/Metrics.h"

Q_LOGGING_CATEGORY(lcApp, "kelvaris.app", QtInfoMsg)
Q_LOGGING_CATEGORY(lcConfig, "kelvaris.config", QtInfoMsg)
Q_LOGGING_CATEGORY(lcEngine, "kelvaris.engine", QtInfoMsg)
Q_LOGGING_CATEGORY(lcDispatch, "kelvaris.dispatch", QtInfoMsg)
Q_LOGGING_CATEGORY(lcServer, "kelvaris.server", QtInfoMsg)
Q_LOGGING_CATEGORY(lcPipe, "kelvaris.pipe", QtInfoMsg)
Q_LOGGING_CATEGORY(lcDde, "kelvaris.dde", QtInfoMsg)
Q_LOGGING_CATEGORY(lcAutomation, "kelvaris.automation", QtInfoMsg)
Q_LOGGING_CATEGORY(lcPlanning, "kelvaris.planning", QtInfoMsg)
Q_LOGGING_CATEGORY(lcWeb, "kelvaris.web", QtInfoMsg)

QString TraceRulesFor(const QString& categories)
{
    QStringList rules { QStringLiteral("kelvaris.*.debug=false") };
    const QStringList names = categories.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (QString name : names) {
        name = name.trimmed().toLower();
        if (name.isEmpty())
            continue;
        // Only plain category names: a value from the environment must not inject other rules.
        bool plain = true;
        for (QChar c : name)
            plain = plain && (c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('*'));
        if (!plain)
            continue;
        if (name == QLatin1String("all") || name == QLatin1String("*"))
            name = QStringLiteral("*");
        rules << QStringLiteral("kelvaris.%1.debug=true").arg(name);
    }
    return rules.join(QLatin1Char('\n'));
}

namespace {

// Decided once by InitTrace: standard error does not change under a running program.
bool g_journal = false;

void WriteLines(QtMsgType type, const QString& text)
{
    const QByteArray bytes
        = g_journal ? PrefixLines(JournalPriority(type), text.toLocal8Bit()) : text.toLocal8Bit() + '\n';
    // One write for the whole message, so that lines of other threads do not come in between.
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
    std::fflush(stderr);
}

// As Qt's own handler, with the priority in front of every line.
void JournalMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    const QString formatted = qFormatLogMessage(type, context, message);
    // Nothing when the message pattern left nothing (an empty message is still a line).
    if (formatted.isNull())
        return;
    WriteLines(type, formatted);
}

} // namespace

namespace {
QtMessageHandler g_nextHandler = nullptr;

// Qt's own format, without a priority.
void PlainMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    const QString formatted = qFormatLogMessage(type, context, message);
    if (!formatted.isNull())
        WriteLines(type, formatted);
}

// Counts warnings and worse by their category for monitoring, then writes them as before.
void CountingMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg || type == QtCriticalMsg)
        Metrics().CountWarning(context.category);
    g_nextHandler(type, context, message);
}
} // namespace

bool JournalStreamNames(const QByteArray& value, quint64 device, quint64 inode)
{
    const QList<QByteArray> parts = value.split(':');
    if (parts.size() != 2)
        return false;
    bool deviceOk = false;
    bool inodeOk = false;
    const quint64 named = parts[0].toULongLong(&deviceOk);
    const quint64 namedInode = parts[1].toULongLong(&inodeOk);
    return deviceOk && inodeOk && named == device && namedInode == inode;
}

bool StandardErrorIsJournal()
{
    const QByteArray value = qgetenv("JOURNAL_STREAM");
    if (value.isEmpty())
        return false;
    struct stat status
    {
    };
    if (::fstat(fileno(stderr), &status) != 0)
        return false;
    return JournalStreamNames(value, status.st_dev, status.st_ino);
}

const char* JournalPriority(QtMsgType type)
{
    switch (type) {
    case QtDebugMsg:
        return "<7>"; // SD_DEBUG
    case QtInfoMsg:
        return "<6>"; // SD_INFO
    case QtWarningMsg:
        return "<4>"; // SD_WARNING
    case QtCriticalMsg:
    case QtFatalMsg:
        return "<2>"; // SD_CRIT
    }
    return "<4>";
}

QByteArray PrefixLines(const char* prefix, const QByteArray& text)
{
    QByteArray out;
    const QList<QByteArray> lines = text.split('\n');
    // A message that ends with a newline has no empty last line of its own.
    const qsizetype count = lines.size() > 1 && lines.last().isEmpty() ? lines.size() - 1 : lines.size();
    for (qsizetype i = 0; i < count; ++i)
        out += prefix + lines[i] + '\n';
    return out;
}

void WriteStandardError(QtMsgType type, const QString& text)
{
    WriteLines(type, text);
}

void InitTrace()
{
    g_journal = StandardErrorIsJournal();
    // Handlers installed later (the window's logbook) hand on to this one.
    g_nextHandler = qInstallMessageHandler(&CountingMessageHandler);
    if (g_journal)
        g_nextHandler = &JournalMessageHandler;
    else if (!g_nextHandler || g_nextHandler == &CountingMessageHandler)
        g_nextHandler = &PlainMessageHandler;
    const QString value = qEnvironmentVariable("KELVARIS_TRACE");
    if (value.isEmpty())
        return;
    QLoggingCategory::setFilterRules(TraceRulesFor(value));
    qSetMessagePattern(QStringLiteral("%{time hh:mm:ss.zzz} %{category} %{message}"));
}
