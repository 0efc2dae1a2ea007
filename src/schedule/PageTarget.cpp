#include "schedule/PageTarget.h"

#include <optional>
#include <sys/stat.h>

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QSaveFile>

#include "schedule/ConfigLocation.h"
#include "schedule/Profile.h"
#include "support/TextEncoding.h"
#include "support/Trace.h"

namespace {

constexpr qint64 kMasterMarginNs = 2'000'000'000;
// A dispatch file is read whole; the bound is that of every file the profile functions read.
constexpr qint64 kMaxDispatchFileBytes = CProfile::kMaxFileBytes;

const QString kSettings = QStringLiteral("Settings");
const QString kCurrentTargetId = QStringLiteral("CurrentTargetID");

bool IsControl(char16_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

// Reads a plain file of at most kMaxDispatchFileBytes. Anything else (missing, a directory, a
// FIFO that would block the reader, too large, a read error) fails.
bool ReadDispatchBytes(const QString& path, QByteArray& bytes)
{
    const QByteArray encoded = QFile::encodeName(path);
    struct stat st
    {
    };
    if (::stat(encoded.constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    if (::fstat(file.handle(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kMaxDispatchFileBytes) {
        KTRACE(lcConfig) << "dispatch file is not a plain file of bounded size:" << path;
        return false;
    }
    bytes = file.read(kMaxDispatchFileBytes + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > kMaxDispatchFileBytes) {
        KTRACE(lcConfig) << "cannot read the dispatch file" << path;
        return false;
    }
    return true;
}

bool IsLineEnd(char c)
{
    // LF as well, so that a file saved by a Unix editor keeps its lines; in the files the program
    // writes an LF only follows a CR, where it is skipped at the start of the next line anyway.
    return c == '\r' || c == '\n' || c == '\f' || c == '\0';
}

// Splits the file into lines: from the current position at most kMaxLineBytes are examined;
// line feeds at the start are skipped; a line ends at the first CR, LF, form feed or NUL, and
// reading goes on after that character. When none occurs within the bytes examined, they form the
// line and reading goes on after them.
template <class LineFn>
void ForEachLine(QByteArrayView bytes, LineFn lineFn)
{
    qsizetype pos = 0;
    const qsizetype size = bytes.size();
    while (pos < size) {
        const qsizetype windowEnd = pos + std::min(size - pos, CPageTarget::kMaxLineBytes);
        qsizetype start = pos;
        while (start < windowEnd && bytes[start] == '\n')
            ++start;
        qsizetype end = start;
        while (end < windowEnd && !IsLineEnd(bytes[end]))
            ++end;
        pos = end < windowEnd ? end + 1 : windowEnd;
        if (end > start)
            lineFn(bytes.sliced(start, end - start));
    }
}

// A settings value as one line that reads back unchanged: characters that end a line become
// blanks, and a value with blanks at either end or enclosing quotes goes inside double quotes.
QByteArray SettingValue(const QString& text)
{
    QString value = text;
    for (QChar& c : value) {
        if (c == u'\r' || c == u'\n' || c == u'\f' || c == QChar(0))
            c = u' ';
    }
    const auto isBlank = [](QChar c) { return c == u' ' || c == u'\t'; };
    const bool quote = !value.isEmpty()
        && (isBlank(value.front()) || isBlank(value.back())
            || (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'')
                && value.back() == value.front()));
    if (quote)
        value = u'"' + value + u'"';
    return EncodeText(value);
}

} // namespace

bool CPageTarget::IsSafeFileId(const QString& id)
{
    if (id.isEmpty() || id.contains(QStringLiteral("..")))
        return false;
    for (const QChar c : id) {
        if (c == u'/' || c == u'\\' || IsControl(c.unicode()))
            return false;
    }
    return true;
}

QString CPageTarget::DispatchFilePathIn(const QString& folder, const QString& id)
{
    if (folder.isEmpty() || !IsSafeFileId(id))
        return QString();
    return JoinPath(folder, id + QStringLiteral(".tim"));
}

QString CPageTarget::DispatchFilePath() const
{
    const QString config = ConfigLocation().ConfigPath();
    if (config.isEmpty())
        return QString();
    return DispatchFilePathIn(FolderOf(config), m_id);
}

bool CPageTarget::LoadDispatchFile()
{
    const QString path = DispatchFilePath();
    if (path.isEmpty()) {
        KTRACE(lcConfig) << "no dispatch file for the target ID" << m_id;
        return false;
    }
    QByteArray bytes;
    if (!ReadDispatchBytes(path, bytes))
        return false;

    const bool utf8 = IsValidUtf8(bytes);
    QByteArrayView text(bytes);
    if (utf8 && text.startsWith("\xEF\xBB\xBF"))
        text = text.sliced(3);
    const auto decode
        = [utf8](QByteArrayView line) { return utf8 ? QString::fromUtf8(line) : DecodeWindows1252(line); };

    CDispatchRangeArray ranges;
    bool takeover = m_takeover;
    ForEachLine(text, [&](QByteArrayView line) {
        if (line.startsWith('['))
            return;
        if (line.startsWith("Takeover=")) {
            takeover = TextToLongAutoBase(decode(line.sliced(9))) != 0;
            return;
        }
        ranges.AddFromText(decode(line));
    });
    m_ranges = std::move(ranges);
    m_takeover = takeover;
    return true;
}

bool CPageTarget::SaveDispatchFile()
{
    const QString path = DispatchFilePath();
    if (path.isEmpty()) {
        KTRACE(lcConfig) << "refusing to save a dispatch file for the target ID" << m_id;
        return false;
    }

    // A group in takeover mode keeps the current target ID that the takeover mode stored in the
    // file. The file's profile batch is held until the file is replaced, so that the pipe server
    // cannot store a new current target in between and have it overwritten.
    std::optional<CProfile> profile;
    std::optional<CProfile::Batch> hold;
    QString currentTarget;
    if (IsGroup() && m_takeover) {
        profile.emplace(path);
        hold.emplace(*profile);
        currentTarget = profile->ReadString(kSettings, kCurrentTargetId, QString());
    }

    QByteArray out;
    out.reserve(64 + m_name.size() + currentTarget.size() + m_ranges.size() * 22);
    out += "[Settings]\r\n";
    out += "Name=" + SettingValue(m_name) + "\r\n";
    if (IsGroup())
        out += m_takeover ? "Takeover=1\r\n" : "Takeover=0\r\n";
    if (!currentTarget.isEmpty())
        out += "CurrentTargetID=" + SettingValue(currentTarget) + "\r\n";
    for (const CDispatchRange& range : std::as_const(m_ranges)) {
        out += range.ToText().toLatin1();
        out += "\r\n";
    }

    // The explicit flush matters: QSaveFile::commit does not notice a failure of the last flush
    // of its write buffer (a full disk, a file size limit) and would put a cut-off file in place.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(out) != out.size() || !file.flush()
        || !file.commit()) {
        KTRACE(lcConfig) << "cannot write the dispatch file" << path << file.errorString();
        return false;
    }
    // The profile functions notice the new file by its changed status, so a later read of the
    // current target ID sees this content.
    m_fileTimeMemo = FileTimeNs(path);
    return true;
}

bool CPageTarget::DispatchFileChanged() const
{
    const QString local = DispatchFilePath();
    if (local.isEmpty())
        return false;
    qint64 localTime = FileTimeNs(local);
    const QString master = ConfigLocation().MasterPath();
    if (!master.isEmpty()) {
        const QString masterFile = DispatchFilePathIn(FolderOf(master), m_id);
        if (!masterFile.isEmpty() && masterFile != local && FileExists(masterFile)
            && (!FileExists(local) || FileTimeNs(masterFile) > localTime + kMasterMarginNs)) {
            KTRACE(lcConfig) << "master dispatch file" << masterFile << "is newer; copying it over" << local;
            if (CopyFileWithTimes(masterFile, local))
                localTime = FileTimeNs(local);
        }
    }
    return localTime != m_fileTimeMemo;
}

bool CPageTarget::ReloadIfChanged()
{
    if (!DispatchFileChanged())
        return false;
    m_fileTimeMemo = FileTimeNs(DispatchFilePath());
    LoadDispatchFile();
    return true;
}
