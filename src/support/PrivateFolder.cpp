#include "support/PrivateFolder.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

namespace {

QString Tr(const char* text)
{
    return QCoreApplication::translate("CPrivateFolder", text);
}

void SetReason(QString* reason, const QString& text)
{
    if (reason)
        *reason = text;
}

QString SystemError(int error)
{
    return qt_error_string(error);
}

// Writes all of `data` to `fd`.
bool WriteAll(int fd, const QByteArray& data)
{
    const char* next = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, next, size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        next += written;
        left -= written;
    }
    return true;
}

} // namespace

bool PrivateTempFolder(QString& path, QString* reason, const QString& parent)
{
    const QString base = parent.isEmpty() ? QDir::tempPath() : parent;
    path = QDir(base).filePath(QStringLiteral("kelvaris-%1").arg(::geteuid()));
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST) {
        SetReason(reason,
            Tr(QT_TRANSLATE_NOOP("CPrivateFolder", "the folder \"%1\" cannot be created: %2"))
                .arg(path, SystemError(errno)));
        return false;
    }
    return IsPrivateFolder(path, reason);
}

bool IsPrivateFolder(const QString& path, QString* reason)
{
    const QByteArray native = QFile::encodeName(path);
    // Whatever is there now, made by us a moment ago or planted before: lstat does not follow a
    // link, so a link to a folder is refused rather than used.
    struct stat info = {};
    if (::lstat(native.constData(), &info) != 0) {
        SetReason(reason,
            Tr(QT_TRANSLATE_NOOP("CPrivateFolder", "the folder \"%1\" cannot be used: %2"))
                .arg(path, SystemError(errno)));
        return false;
    }
    if (S_ISLNK(info.st_mode)) {
        SetReason(
            reason, Tr(QT_TRANSLATE_NOOP("CPrivateFolder", "\"%1\" is a link, not a folder")).arg(path));
        return false;
    }
    if (!S_ISDIR(info.st_mode)) {
        SetReason(reason, Tr(QT_TRANSLATE_NOOP("CPrivateFolder", "\"%1\" is not a folder")).arg(path));
        return false;
    }
    if (info.st_uid != ::geteuid()) {
        SetReason(reason,
            Tr(QT_TRANSLATE_NOOP("CPrivateFolder", "the folder \"%1\" belongs to another user")).arg(path));
        return false;
    }
    if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        SetReason(reason,
            Tr(QT_TRANSLATE_NOOP("CPrivateFolder", "the folder \"%1\" can be written by other users"))
                .arg(path));
        return false;
    }
    return true;
}

bool WriteFileReplacing(const QString& path, const QByteArray& data, QString* reason)
{
    const QString folder = QFileInfo(path).path();
    const QByteArray target = QFile::encodeName(path);
    // A fresh name beside the target; O_EXCL | O_NOFOLLOW: never an existing file, never through a
    // link.
    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = QFile::encodeName(QDir(folder).filePath(
            QStringLiteral(".kelvaris-%1.tmp")
                .arg(QRandomGenerator::global()->generate64(), 16, 16, QLatin1Char('0'))));
        do {
            fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        } while (fd < 0 && errno == EINTR);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0) {
        SetReason(reason,
            Tr(QT_TRANSLATE_NOOP("CPrivateFolder", "the file \"%1\" cannot be written: %2"))
                .arg(path, SystemError(errno)));
        return false;
    }
    const bool written = WriteAll(fd, data);
    int error = written ? 0 : errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    // rename() replaces a link at the target as a name; it never follows it.
    if (error == 0 && ::rename(temporary.constData(), target.constData()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.constData());
        SetReason(reason,
            Tr(QT_TRANSLATE_NOOP("CPrivateFolder", "the file \"%1\" cannot be written: %2"))
                .arg(path, SystemError(error)));
        return false;
    }
    return true;
}

bool ExportFolder(QString& path, QString* reason, QString* warning)
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime) && IsPrivateFolder(runtime)) {
        path = QDir(runtime).filePath(QStringLiteral("kelvaris"));
        ::mkdir(QFile::encodeName(path).constData(), 0700);
        if (IsPrivateFolder(path))
            return true;
    }
    QString why;
    if (PrivateTempFolder(path, &why))
        return true;
    // Somebody else's folder under our name: one of ours beside it, made before (exports do not
    // pile up a folder each), or a fresh one.
    const QString prefix = QStringLiteral("kelvaris-%1-").arg(::geteuid());
    const QDir temp(QDir::tempPath());
    for (const QString& name : temp.entryList({ prefix + QStringLiteral("??????") },
             QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name)) {
        if (IsPrivateFolder(temp.filePath(name))) {
            path = temp.filePath(name);
            if (warning)
                *warning = why;
            return true;
        }
    }
    QByteArray pattern = QFile::encodeName(
        QDir(QDir::tempPath()).filePath(QStringLiteral("kelvaris-%1-XXXXXX").arg(::geteuid())));
    if (::mkdtemp(pattern.data()) == nullptr) {
        SetReason(reason,
            Tr(QT_TRANSLATE_NOOP("CPrivateFolder", "the folder \"%1\" cannot be created: %2"))
                .arg(QFile::decodeName(pattern), SystemError(errno)));
        return false;
    }
    path = QFile::decodeName(pattern);
    if (warning)
        *warning = why;
    return true;
}
