#include "support/CrashHandler.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <execinfo.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>

namespace {

constexpr int kSignals[] = { SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT };
constexpr int kMaxFrames = 64;
constexpr size_t kPathSize = 4096;
constexpr size_t kAltStackSize = 64 * 1024;
constexpr qsizetype kKeptReports = 20;

// Prepared at install; the handler only reads them.
char g_folder[kPathSize]; // "<data folder>/crash", NUL-terminated; empty: no file
size_t g_folderLength = 0;
char g_header[512]; // "Kelvaris <version>"
size_t g_headerLength = 0;
// Standard error is the journal's stream (JOURNAL_STREAM names it): one entry per line, with the
// priority in a "<N>" prefix.
bool g_journal = false;
alignas(16) char g_altStack[kAltStackSize];
QString g_folderText;

// Bounded text building without the C library's formatting (which may allocate or take locks).
struct CBuffer
{
    char* m_data;
    size_t m_size;
    size_t m_length = 0;

    void Append(const char* text, size_t length)
    {
        for (size_t i = 0; i < length && m_length + 1 < m_size; ++i)
            m_data[m_length++] = text[i];
        m_data[m_length] = '\0';
    }
    void Append(const char* text) { Append(text, strlen(text)); }
    void AppendNumber(long long value, int minDigits = 1)
    {
        char digits[24];
        int count = 0;
        const bool negative = value < 0;
        unsigned long long rest = negative ? 0ULL - static_cast<unsigned long long>(value)
                                           : static_cast<unsigned long long>(value);
        do {
            digits[count++] = char('0' + rest % 10);
            rest /= 10;
        } while (rest != 0 && count < 20);
        while (count < minDigits && count < 20)
            digits[count++] = '0';
        if (negative)
            Append("-", 1);
        while (count > 0)
            Append(&digits[--count], 1);
    }
};

const char* SignalName(int signal)
{
    switch (signal) {
    case SIGSEGV:
        return "SIGSEGV";
    case SIGBUS:
        return "SIGBUS";
    case SIGFPE:
        return "SIGFPE";
    case SIGILL:
        return "SIGILL";
    case SIGABRT:
        return "SIGABRT";
    default:
        return "signal";
    }
}

void WriteAll(int fd, const char* data, size_t length)
{
    while (length > 0) {
        const ssize_t written = ::write(fd, data, length);
        if (written <= 0)
            return;
        data += written;
        length -= size_t(written);
    }
}

void OnCrash(int signal, siginfo_t* info, void*)
{
    const int savedErrno = errno;
    timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const long long pid = ::getpid();
    // A signal another process sent (kill, the service manager's watchdog) is no crash of ours.
    const bool sent = info && info->si_code <= 0 && info->si_pid > 0 && info->si_pid != pid;

    char reportText[1024];
    CBuffer report { reportText, sizeof reportText };
    report.Append(g_header, g_headerLength);
    if (sent) {
        report.Append(" was ended by a signal that process ");
        report.AppendNumber(info->si_pid);
        report.Append(" (user ");
        report.AppendNumber(info->si_uid);
        report.Append(") sent\n");
    } else {
        report.Append(" crashed\n");
    }
    report.Append("signal: ");
    report.AppendNumber(signal);
    report.Append(" (");
    report.Append(SignalName(signal));
    report.Append(")\ntime: ");
    char timeText[64];
    report.Append(timeText, size_t(FormatCrashTime(now.tv_sec, timeText)));
    report.Append("\nprocess: ");
    report.AppendNumber(pid);
    report.Append("\nbacktrace:\n");

    void* frames[kMaxFrames];
    const int frameCount = ::backtrace(frames, kMaxFrames);

    int file = -1;
    char pathText[kPathSize + 64];
    if (g_folderLength > 0) {
        CBuffer path { pathText, sizeof pathText };
        path.Append(g_folder, g_folderLength);
        path.Append("/kelvaris-");
        path.AppendNumber(pid);
        path.Append("-");
        path.AppendNumber(now.tv_sec);
        path.Append(".txt");
        file = ::open(pathText, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    }
    if (file >= 0) {
        WriteAll(file, report.m_data, report.m_length);
        ::backtrace_symbols_fd(frames, frameCount, file);
    }
    if (g_journal) {
        // One journal entry at priority "crit": the report's lines joined, and its path; the
        // backtrace stays in the file.
        char lineText[1024 + kPathSize];
        CBuffer line { lineText, sizeof lineText };
        line.Append("<2>");
        for (size_t i = 0; i < report.m_length; ++i) {
            if (report.m_data[i] != '\n')
                line.Append(report.m_data + i, 1);
            else if (i + 1 < report.m_length && std::strncmp(report.m_data + i + 1, "backtrace:", 10) != 0)
                line.Append("; ");
            else
                break;
        }
        if (file >= 0) {
            line.Append("; report: ");
            line.Append(pathText);
        }
        line.Append("\n");
        WriteAll(STDERR_FILENO, line.m_data, line.m_length);
    } else {
        WriteAll(STDERR_FILENO, report.m_data, report.m_length);
        ::backtrace_symbols_fd(frames, frameCount, STDERR_FILENO);
        if (file >= 0) {
            WriteAll(STDERR_FILENO, "report: ", 8);
            WriteAll(STDERR_FILENO, pathText, strlen(pathText));
            WriteAll(STDERR_FILENO, "\n", 1);
        }
    }
    if (file >= 0)
        ::close(file);

    // The action is back to the default (SA_RESETHAND): the signal, pending until the handler
    // returns, ends the process as it would have without the handler. A fault raised by the
    // faulting instruction would also come again on return; a signal sent by another process
    // would not, hence the raise.
    errno = savedErrno;
    ::raise(signal);
}

} // namespace

namespace {
// Keeps the newest kKeptReports reports of the crash folder (by modification time).
void PruneReports()
{
    if (g_folderText.isEmpty())
        return;
    QDir folder(g_folderText);
    const QStringList reports
        = folder.entryList({ QStringLiteral("kelvaris-*.txt") }, QDir::Files | QDir::NoSymLinks, QDir::Time);
    for (qsizetype i = kKeptReports; i < reports.size(); ++i)
        folder.remove(reports.at(i));
}
} // namespace

int FormatCrashTime(long long seconds, char* out)
{
    CBuffer text { out, 64 };
    text.AppendNumber(seconds);
    // The civil date in UTC from the day count (proleptic Gregorian calendar).
    long long days = seconds / 86400;
    long long rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long dayOfEra = days - era * 146097;
    const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long monthIndex = (5 * dayOfYear + 2) / 153;
    const long long day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    const long long month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    const long long year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    text.Append(" (");
    text.AppendNumber(year, 4);
    text.Append("-");
    text.AppendNumber(month, 2);
    text.Append("-");
    text.AppendNumber(day, 2);
    text.Append(" ");
    text.AppendNumber(rest / 3600, 2);
    text.Append(":");
    text.AppendNumber(rest % 3600 / 60, 2);
    text.Append(":");
    text.AppendNumber(rest % 60, 2);
    text.Append(" UTC)");
    return int(text.m_length);
}

QString CrashReportFolder()
{
    return g_folderText;
}

void InstallCrashHandler(const QString& dataFolder, const QString& version)
{
    // The handler must not write while the texts change.
    for (const int signal : kSignals)
        ::signal(signal, SIG_DFL);

    g_folder[0] = '\0';
    g_folderLength = 0;
    g_folderText.clear();
    if (!dataFolder.isEmpty()) {
        const QString folder = QDir(dataFolder).filePath(QStringLiteral("crash"));
        const QByteArray encoded = QFile::encodeName(folder);
        if (QDir().mkpath(folder) && size_t(encoded.size()) < sizeof g_folder) {
            std::memcpy(g_folder, encoded.constData(), size_t(encoded.size()) + 1);
            g_folderLength = size_t(encoded.size());
            g_folderText = folder;
        }
    }
    CBuffer header { g_header, sizeof g_header };
    header.Append("Kelvaris ");
    const QByteArray versionText = version.toUtf8().left(200);
    header.Append(versionText.constData(), size_t(versionText.size()));
    g_headerLength = header.m_length;
    g_journal = false;
    const QByteArray stream = qgetenv("JOURNAL_STREAM");
    struct stat err
    {
    };
    if (!stream.isEmpty() && ::fstat(STDERR_FILENO, &err) == 0)
        g_journal = stream
            == QByteArray::number(quint64(err.st_dev)) + ':' + QByteArray::number(quint64(err.st_ino));
    PruneReports();

    // The first backtrace() loads the unwinder (it allocates); in the handler it must not.
    void* frames[2];
    ::backtrace(frames, 2);

    stack_t stack {};
    stack.ss_sp = g_altStack;
    stack.ss_size = sizeof g_altStack;
    ::sigaltstack(&stack, nullptr);

    struct sigaction action
    {
    };
    action.sa_sigaction = OnCrash;
    action.sa_flags = SA_RESETHAND | SA_ONSTACK | SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    for (const int signal : kSignals)
        ::sigaction(signal, &action, nullptr);
}
