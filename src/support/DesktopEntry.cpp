#include "support/DesktopEntry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include "support/Trace.h"

namespace {
// Bounds of what is read from outside: the answer of xdg-mime and a desktop file.
constexpr qsizetype kMaxDesktopIdLength = 255;
constexpr qint64 kMaxDesktopFileBytes = 256 * 1024;
constexpr int kXdgMimeTimeoutMs = 5000;
} // namespace

QString DefaultDesktopEntryFor(const QString& mimeType, const QString& xdgMime)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(
        xdgMime, { QStringLiteral("query"), QStringLiteral("default"), mimeType }, QIODevice::ReadOnly);
    if (!process.waitForStarted(kXdgMimeTimeoutMs))
        return QString();
    if (!process.waitForFinished(kXdgMimeTimeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
        return QString();
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return QString();
    const QString id = QString::fromUtf8(process.read(kMaxDesktopIdLength + 2)).trimmed();
    // The first line only; it must be a plain file name of a desktop entry.
    const QString first = id.section(u'\n', 0, 0).trimmed();
    if (first.isEmpty() || first.size() > kMaxDesktopIdLength || !first.endsWith(QLatin1String(".desktop"))
        || first.contains(u'/') || first.contains(u'\\') || first.startsWith(u'.'))
        return QString();
    for (const QChar c : first) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return QString();
    }
    return first;
}

QString LocateDesktopEntry(const QString& desktopId)
{
    if (desktopId.isEmpty() || desktopId.contains(u'/') || desktopId.startsWith(u'.'))
        return QString();
    if (QString path = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, desktopId);
        !path.isEmpty())
        return path;
    // "kde-foo.desktop" may be kde/foo.desktop: try each "-" as a folder separator, left to right.
    QString candidate = desktopId;
    for (qsizetype dash = candidate.indexOf(u'-'); dash > 0; dash = candidate.indexOf(u'-', dash + 1)) {
        candidate[dash] = u'/';
        if (QString path = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, candidate);
            !path.isEmpty())
            return path;
    }
    return QString();
}

QString DesktopEntryExec(const QByteArray& content)
{
    bool inEntry = false;
    const QString text = QString::fromUtf8(content);
    for (QStringView line : QStringView(text).split(u'\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[')) {
            inEntry = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        if (!inEntry)
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0 || line.left(eq).trimmed() != QLatin1String("Exec"))
            continue;
        // The string escapes of a desktop file's values.
        const QStringView value = line.mid(eq + 1).trimmed();
        QString exec;
        exec.reserve(value.size());
        for (qsizetype i = 0; i < value.size(); ++i) {
            if (value[i] != u'\\' || i + 1 >= value.size()) {
                exec += value[i];
                continue;
            }
            const QChar next = value[++i];
            switch (next.unicode()) {
            case u's':
                exec += u' ';
                break;
            case u'n':
                exec += u'\n';
                break;
            case u't':
                exec += u'\t';
                break;
            case u'r':
                exec += u'\r';
                break;
            case u'\\':
                exec += u'\\';
                break;
            default: // kept for the quoting rules of the Exec key
                exec += u'\\';
                exec += next;
                break;
            }
        }
        return exec;
    }
    return QString();
}

QStringList DesktopExecCommand(const QString& exec, const QString& filePath)
{
    // Split into arguments: blanks separate, double quotes enclose, and inside quotes a
    // backslash takes the next character literally.
    QStringList words;
    QList<bool> quoted;
    QString word;
    bool inWord = false;
    bool inQuotes = false;
    bool wordQuoted = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (inQuotes) {
            if (c == u'"') {
                inQuotes = false;
            } else if (c == u'\\' && i + 1 < exec.size()) {
                word += exec[++i];
            } else {
                word += c;
            }
        } else if (c == u'"') {
            inQuotes = true;
            inWord = true;
            wordQuoted = true;
        } else if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r') {
            if (inWord) {
                words << word;
                quoted << wordQuoted;
            }
            word.clear();
            inWord = false;
            wordQuoted = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inQuotes)
        return {};
    if (inWord) {
        words << word;
        quoted << wordQuoted;
    }
    if (words.isEmpty())
        return {};

    // Field codes: %f %F %u %U take the file (an URL for %u/%U), %% is a percent sign, every
    // other code is dropped; a word that was only a dropped code goes away.
    const QString url = QUrl::fromLocalFile(filePath).toString(QUrl::FullyEncoded);
    bool placed = false;
    QStringList command;
    for (qsizetype w = 0; w < words.size(); ++w) {
        const QString& in = words[w];
        QString out;
        bool hadCode = false;
        for (qsizetype i = 0; i < in.size(); ++i) {
            if (in[i] != u'%' || i + 1 >= in.size()) {
                out += in[i];
                continue;
            }
            const QChar code = in[++i];
            if (code == u'%') {
                out += u'%';
                continue;
            }
            hadCode = true;
            if (code == u'f' || code == u'F') {
                if (!placed)
                    out += filePath;
                placed = true;
            } else if (code == u'u' || code == u'U') {
                if (!placed)
                    out += url;
                placed = true;
            }
        }
        if (w == 0 && out.isEmpty())
            return {};
        if (out.isEmpty() && hadCode && !quoted[w])
            continue;
        command << out;
    }
    if (!placed)
        command << filePath;
    return command;
}

bool StartDesktopProgramFor(const QString& mimeType, const QString& filePath)
{
    const QString desktopFile = LocateDesktopEntry(DefaultDesktopEntryFor(mimeType));
    QFile file(desktopFile);
    if (desktopFile.isEmpty() || !file.open(QIODevice::ReadOnly))
        return false;
    const QStringList command
        = DesktopExecCommand(DesktopEntryExec(file.read(kMaxDesktopFileBytes)), filePath);
    if (!command.isEmpty()
        && QProcess::startDetached(command.first(), command.mid(1), QFileInfo(filePath).absolutePath()))
        return true;
    KTRACE(lcPlanning) << "cannot start the program of" << desktopFile;
    return false;
}
