#include "schedule/PageTarget.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QSaveFile>
#include <QSet>
#include <QStringBuilder>

#include "schedule/ConfigLocation.h"
#include "schedule/Profile.h"
#include "schedule/TextList.h"
#include "support/Scan.h"
#include "support/TextEncoding.h"
#include "support/Trace.h"

namespace {

constexpr qint64 kMasterMarginNs = 2'000'000'000;
// A dispatch file is read whole; the bound is that of every file the profile functions read.
constexpr qint64 kMaxDispatchFileBytes = CProfile::kMaxFileBytes;

const QString kSettings = QStringLiteral("Settings");
const QString kCurrentTargetId = QStringLiteral("CurrentTargetID");

// Field positions (from 1) in the reply of "[GetTarget3(".
constexpr qsizetype kDetailFields = 17;
constexpr qsizetype kNumberField = 2;
constexpr qsizetype kIdField = 15;
constexpr qsizetype kColourField = 17;
// Fields of a line of the target list.
constexpr qsizetype kTargetLineFields = 5;

bool IsControl(char16_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

// Reads a plain file of at most kMaxDispatchFileBytes. Anything else (missing, a directory, a
// FIFO that would block the reader, too large, a read error) fails; `problem` then says why, and
// stays empty for a missing file.
bool ReadDispatchBytes(const QString& path, QByteArray& bytes, QString& problem)
{
    const QByteArray encoded = QFile::encodeName(path);
    struct stat st
    {
    };
    if (::stat(encoded.constData(), &st) != 0) {
        if (errno != ENOENT)
            problem = QString::fromLocal8Bit(strerror(errno));
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        problem = QStringLiteral("not a plain file");
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        problem = QStringLiteral("cannot be read (%1)").arg(file.errorString());
        return false;
    }
    if (::fstat(file.handle(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kMaxDispatchFileBytes) {
        problem
            = QStringLiteral("not a plain file of at most %1 MB").arg(kMaxDispatchFileBytes / (1024 * 1024));
        return false;
    }
    bytes = file.read(kMaxDispatchFileBytes + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > kMaxDispatchFileBytes) {
        problem = QStringLiteral("cannot be read (%1)").arg(file.errorString());
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

// Automatic base ("0x" hexadecimal, a leading "0" octal), saturating at the ends of int.
int NumberFromText(QStringView text)
{
    return int(
        std::clamp<long>(ScanLong(text), std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// Automatic base into 32 bits as the C library's unsigned conversion does it with a 32-bit
// unsigned long: the magnitude saturates at 0xFFFFFFFF, a minus sign negates modulo 2^32.
quint32 ColourFromText(QStringView text)
{
    const long value = ScanLong(text);
    const unsigned long long magnitude
        = value < 0 ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
    const quint32 saturated = magnitude > 0xFFFFFFFFULL ? 0xFFFFFFFFU : quint32(magnitude);
    return value < 0 ? 0U - saturated : saturated;
}

// Calls lineFn for each line of a server reply: the stretches between CR LF pairs outside double
// quotes. The quotes stay in the line for the split into fields, which removes them per field (a
// quote-aware list split would also take one quote off each end of the line, and a line whose
// first field is quoted would then fall apart).
template <class LineFn>
void ForEachReplyLine(QStringView reply, LineFn lineFn)
{
    bool quoted = false;
    qsizetype start = 0;
    for (qsizetype i = 0; i < reply.size(); ++i) {
        const QChar c = reply[i];
        if (c == u'"') {
            quoted = !quoted;
        } else if (!quoted && c == u'\r' && i + 1 < reply.size() && reply[i + 1] == u'\n') {
            lineFn(reply.sliced(start, i - start));
            start = ++i + 1;
        }
    }
    lineFn(reply.sliced(start));
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

namespace {
// Built in one allocation: the dispatch check asks for the path on every request.
QString DispatchPath(QStringView folder, const QString& id)
{
    if (folder.isEmpty() || !CPageTarget::IsSafeFileId(id))
        return QString();
    if (folder.endsWith(u'/'))
        return folder % id % u".tim";
    return folder % u'/' % id % u".tim";
}
} // namespace

QString CPageTarget::DispatchFilePathIn(const QString& folder, const QString& id)
{
    return DispatchPath(folder, id);
}

QString CPageTarget::DispatchFilePath() const
{
    const QString config = ConfigLocation().ConfigPath();
    if (config.isEmpty())
        return QString();
    const qsizetype slash = config.lastIndexOf(u'/');
    if (slash < 0)
        return DispatchPath(u".", m_id);
    return DispatchPath(QStringView(config).first(slash == 0 ? 1 : slash), m_id);
}

bool CPageTarget::LoadDispatchFile(bool holdUnfinished)
{
    m_fileProblem.clear();
    m_fileUnfinished = false;
    const QString path = DispatchFilePath();
    if (path.isEmpty()) {
        KTRACE(lcConfig) << "no dispatch file for the target ID" << m_id;
        return false;
    }
    QByteArray bytes;
    if (!ReadDispatchBytes(path, bytes, m_fileProblem))
        return false;
    const CTextCheck check = CheckText(bytes);
    if (!check.problem.isEmpty()) {
        m_fileProblem = check.problem;
        return false;
    }
    m_fileUnfinished = check.unfinished;
    if (check.unfinished && holdUnfinished)
        return false;
    m_fileForm = check.form;
    if (check.form == ETextForm::Utf16LE || check.form == ETextForm::Utf16BE)
        bytes = DecodeTextAs(bytes, check.form).toUtf8();

    const bool utf8 = IsValidUtf8(bytes);
    QByteArrayView text(bytes);
    if (utf8 && text.startsWith("\xEF\xBB\xBF"))
        text = text.sliced(3);
    const auto decode
        = [utf8](QByteArrayView line) { return utf8 ? QString::fromUtf8(line) : DecodeWindows1252(line); };

    CDispatchRangeArray ranges;
    bool takeover = m_takeover;
    int coverageRequired = -1;
    ForEachLine(text, [&](QByteArrayView line) {
        if (line.startsWith('['))
            return;
        if (line.startsWith("Takeover=")) {
            takeover = ScanLong(decode(line.sliced(9))) != 0;
            return;
        }
        if (line.startsWith("CoverageRequired=")) {
            bool ok = false;
            const int value = decode(line.sliced(17)).trimmed().toInt(&ok);
            coverageRequired = ok ? std::clamp(value, 0, kMaxCoverageRequired) : -1;
            return;
        }
        ranges.AddFromText(decode(line));
    });
    m_ranges = std::move(ranges);
    m_takeover = takeover;
    m_coverageRequired = coverageRequired;
    return true;
}

bool CPageTarget::SaveDispatchFile(QString* reason)
{
    const auto failed = [reason](const QString& why) {
        if (reason)
            *reason = why;
        return false;
    };
    const QString path = DispatchFilePath();
    if (path.isEmpty()) {
        KTRACE(lcConfig) << "refusing to save a dispatch file for the target ID" << m_id;
        return failed(QStringLiteral("the ID %1 names no dispatch file").arg(m_id));
    }

    // A group in takeover mode keeps the current target ID that the takeover mode stored in the
    // file. The file's profile batch (and with it the file's lock, which other programs' writers
    // take too) is held until the file is replaced, so that the pipe server cannot store a new
    // current target in between and have it overwritten.
    CProfile profile(path);
    // Saved under the targets lock, which the socket's answers wait for: another program's lock on
    // the file is not waited for (the file is then written without it, with a warning).
    const CProfile::CNoLockWait noWait;
    const CProfile::Batch hold(profile, CProfile::EIntent::ReadModifyWrite);
    QString currentTarget;
    if (IsGroup() && m_takeover)
        currentTarget = ReadCurrentTargetId();
    // Settings the plan does not hold (a group's NoticeMembers, keys other programs keep) are
    // kept as the file has them: the file is rewritten from the plan, which would drop them.
    QByteArray kept;
    for (QString line : profile.SectionText(QStringLiteral("Settings")).split(u'\n', Qt::SkipEmptyParts)) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        const QString key = line.section(u'=', 0, 0).trimmed();
        const bool range
            = key.size() == 8 && std::all_of(key.cbegin(), key.cend(), [](QChar c) { return c.isDigit(); });
        if (range || key.isEmpty() || key.compare(QLatin1String("Name"), Qt::CaseInsensitive) == 0
            || key.compare(QLatin1String("Takeover"), Qt::CaseInsensitive) == 0
            || key.compare(QLatin1String("CurrentTargetID"), Qt::CaseInsensitive) == 0
            || key.compare(QLatin1String("CoverageRequired"), Qt::CaseInsensitive) == 0)
            continue;
        kept += line.toUtf8() + "\r\n";
    }

    QByteArray out;
    out.reserve(64 + m_name.size() + currentTarget.size() + kept.size() + m_ranges.size() * 22);
    out += "[Settings]\r\n";
    out += "Name=" + SettingValue(m_name) + "\r\n";
    if (IsGroup())
        out += m_takeover ? "Takeover=1\r\n" : "Takeover=0\r\n";
    if (!currentTarget.isEmpty())
        out += "CurrentTargetID=" + SettingValue(currentTarget) + "\r\n";
    if (IsGroup() && m_coverageRequired >= 0)
        out += "CoverageRequired=" + QByteArray::number(m_coverageRequired) + "\r\n";
    out += kept;
    for (const CDispatchRange& range : std::as_const(m_ranges)) {
        out += range.ToText().toLatin1();
        out += "\r\n";
    }

    // The explicit flush matters: QSaveFile::commit does not notice a failure of the last flush
    // of its write buffer (a full disk, a file size limit) and would put a cut-off file in place.
    if (m_fileForm != ETextForm::Utf8)
        out = EncodeUtf8As(out, m_fileForm);
    if (IsSymbolicLink(path)) {
        const QString why = QStringLiteral("it is a symbolic link, which is not written through");
        WarnSaveFailed(path, why);
        return failed(why);
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(out) != out.size() || !file.flush()
        || !file.commit()) {
        WarnSaveFailed(path, file.errorString());
        return failed(file.errorString());
    }
    if (IsGroup() && m_takeover)
        m_unsavedCurrentTargetId.reset();
    // The profile functions notice the new file by its changed status, so a later read of the
    // current target ID sees this content.
    m_fileTimeMemo = FileTimeNs(path);
    return true;
}

bool CPageTarget::RetryUnsavedWrites()
{
    if (!m_unsavedCurrentTargetId)
        return true;
    // The pending takeover belongs to the takeover mode; a retry leaves it alone.
    const QString pending = m_pendingTakeover;
    const bool written = WriteCurrentTargetId(*m_unsavedCurrentTargetId);
    m_pendingTakeover = pending;
    if (written)
        KTRACE(lcConfig) << "the current target of" << m_id << "is stored now";
    return written;
}

bool CPageTarget::DispatchFileChanged(bool* recheckDue) const
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
            if (!FileTimeSettled(FileTimeNs(masterFile))) {
                KTRACE(lcConfig) << "master dispatch file" << masterFile << "was modified just now";
                if (recheckDue)
                    *recheckDue = true;
            } else {
                KTRACE(lcConfig) << "master dispatch file" << masterFile << "is newer; copying it over"
                                 << local;
                if (CopyFileWithTimes(masterFile, local))
                    localTime = FileTimeNs(local);
            }
        }
    }
    return localTime != m_fileTimeMemo;
}

bool CPageTarget::ReloadIfChanged(bool* recheckDue)
{
    // A mode change leaves the file's time alone: a file taken before that can no longer be read
    // is a fault now, not at the next restart.
    if (const QString path = DispatchFilePath(); m_fileTimeMemo > 0 && !path.isEmpty()
        && ::access(QFile::encodeName(path).constData(), R_OK) != 0 && errno == EACCES) {
        QByteArray bytes;
        if (!ReadDispatchBytes(path, bytes, m_fileProblem))
            return false;
    }
    // A file that could not be taken is looked at again however its time stands: one moved away
    // and back keeps the time it had.
    if (!DispatchFileChanged(recheckDue) && m_fileProblem.isEmpty())
        return false;
    const QString path = DispatchFilePath();
    const qint64 time = FileTimeNs(path);
    if (!FileTimeSettled(time)) {
        // Possibly half written: taken once it has been left alone for a moment.
        KTRACE(lcConfig) << path << "was modified just now; looking again shortly";
        if (recheckDue)
            *recheckDue = true;
        return false;
    }
    if (time == 0 && m_fileTimeMemo > 0 && !QFile::exists(path)) {
        // Gone, perhaps with its folder: the plan in force stays until a file is back.
        m_fileProblem = QStringLiteral("the file is gone");
        return false;
    }
    const bool young = time > 0 && !FileTimeSettled(time, kUnfinishedGraceNs);
    if (!LoadDispatchFile(young)) {
        if (m_fileUnfinished) {
            KTRACE(lcConfig) << path << "ends without a line end; looking again shortly";
            if (recheckDue)
                *recheckDue = true;
            return false;
        }
        if (!m_fileProblem.isEmpty())
            return false; // the memo is left, so the next check looks again
    }
    m_fileTimeMemo = time;
    return true;
}

bool CPageTarget::FetchDetails(const CServerQuery& query)
{
    QString reply;
    if (!query || !query(QStringLiteral("[GetTarget3(") + m_name + QStringLiteral(")]"), reply)) {
        KTRACE(lcServer) << "no details for the target" << m_name;
        return false;
    }
    QStringList fields;
    if (SplitText(reply, fields, u'\t', true) < kDetailFields) {
        KTRACE(lcServer) << "details of the target" << m_name << "have" << fields.size() << "fields";
        return false;
    }
    m_id = fields.at(kIdField - 1);
    m_number = NumberFromText(fields.at(kNumberField - 1));
    m_colour = ColourFromText(fields.at(kColourField - 1));
    if (IsGroup())
        FetchMembers(query);
    // The time first: a change made while the file is read is seen by the next change check.
    m_fileTimeMemo = FileTimeNs(DispatchFilePath());
    // A file that cannot be taken leaves a memo no file has, so every change check looks again.
    if (!LoadDispatchFile() && !m_fileProblem.isEmpty())
        m_fileTimeMemo = kNotTaken;
    return true;
}

bool CPageTarget::FetchMembers(const CServerQuery& query)
{
    QString reply;
    if (!query || !query(QStringLiteral("[GetGroupMembers(") + m_name + QStringLiteral(")]"), reply)) {
        KTRACE(lcServer) << "no members for the group" << m_name;
        return false;
    }
    reply.replace(u'\t', u';');
    m_members = std::move(reply);
    return true;
}

QString CPageTarget::GetReceivers(const CPageTargetArray& targets) const
{
    if (!IsGroup())
        return JoinText(QStringList { m_name }, u';', true);

    QStringList receivers;
    QSet<QString> seen;
    // Groups whose members have been or are being walked, by address. This target need not be
    // in `targets`; when it is a copy, the element of that name is walked once more and adds
    // nothing new.
    QSet<const CPageTarget*> walked { this };
    struct CFrame
    {
        QStringList members;
        qsizetype next = 0;
    };
    QList<CFrame> stack;
    const auto enter = [&stack](const CPageTarget& group) {
        CFrame frame;
        SplitText(group.m_members, frame.members, u';', true);
        stack.append(std::move(frame));
    };
    enter(*this);
    while (!stack.isEmpty()) {
        CFrame& frame = stack.last();
        if (frame.next >= frame.members.size()) {
            stack.removeLast();
            continue;
        }
        const CPageTarget* member = targets.FindByName(frame.members.at(frame.next++));
        if (!member)
            continue;
        if (member->IsGroup()) {
            if (!walked.contains(member)) {
                walked.insert(member);
                enter(*member); // `frame` is not used after this
            }
        } else if (!member->m_name.isEmpty() && !seen.contains(member->m_name)) {
            seen.insert(member->m_name);
            receivers.append(member->m_name);
        }
    }
    return JoinText(receivers, u';', true);
}

const CPageTarget* CPageTarget::CurrentDutyMember(
    const CPageTargetArray& targets, const CDateTime& moment) const
{
    QStringList members;
    SplitText(m_members, members, u';', true);
    for (const QString& name : std::as_const(members)) {
        const CPageTarget* member = targets.FindByName(name);
        if (member && member->IsOnDuty(moment))
            return member;
    }
    return nullptr;
}

bool CPageTarget::HasMember(const QString& name) const
{
    if (name.isEmpty() || !m_members.contains(name))
        return false;
    QStringList members;
    SplitText(m_members, members, u';', true);
    return members.contains(name);
}

QString CPageTarget::ReadCurrentTargetId() const
{
    // A holder whose write failed is the holder until the file takes it.
    if (m_unsavedCurrentTargetId)
        return *m_unsavedCurrentTargetId;
    const QString path = DispatchFilePath();
    if (path.isEmpty())
        return QString();
    return CProfile(path).ReadString(kSettings, kCurrentTargetId, QString());
}

bool CPageTarget::WriteCurrentTargetId(const QString& text)
{
    m_pendingTakeover.clear();
    const QString path = DispatchFilePath();
    if (path.isEmpty()) {
        KTRACE(lcConfig) << "no dispatch file to store the current target of" << m_id;
        return false;
    }
    CProfile profile(path);
    CSection settings(profile, kSettings);
    // Written under the targets lock, which the socket's answers wait for: a file another program
    // holds locked is not waited for; the holder is kept in memory and stored later, as after any
    // failed write.
    const CProfile::CNoLockWait noWait;
    // A null text would delete the key; an empty value says the same and keeps the line.
    const QString value = text.isNull() ? QStringLiteral("") : text;
    const bool written = settings.Write(kCurrentTargetId, value);
    if (written) {
        m_unsavedCurrentTargetId.reset();
    } else {
        // Kept in memory: the dispatch decision goes by it, and the write is tried again.
        KTRACE(lcConfig) << "cannot store the current target in" << path << "; kept until it can be";
        m_unsavedCurrentTargetId = value;
    }
    // The configuration file's time memo is left alone: this write does not touch that file, and
    // recording its time here would swallow a hand edit made since the last change check.
    return written;
}

quint32 TextColourOn(quint32 colour)
{
    // sRGB to linear light, then the luminance weights of WCAG 2.
    const auto linear = [](quint32 channel) {
        const double c = double(channel & 0xFF) / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    const double luminance
        = 0.2126 * linear(colour) + 0.7152 * linear(colour >> 8) + 0.0722 * linear(colour >> 16);
    // Contrast with black (L + 0.05) / 0.05 against with white 1.05 / (L + 0.05).
    const double withBlack = (luminance + 0.05) / 0.05;
    const double withWhite = 1.05 / (luminance + 0.05);
    return withBlack >= withWhite ? 0U : 0x00FFFFFFU;
}

quint32 CPageTarget::TextColour() const
{
    return TextColourOn(m_colour);
}

// CPageTargetArray

bool CPageTargetArray::FetchFromServer(const CServerQuery& query, EFetchOutcome* outcome)
{
    EFetchOutcome result = EFetchOutcome::Fetched;
    if (!outcome)
        outcome = &result;
    clear();
    QString reply;
    if (!query || !query(QStringLiteral("[GetValue(Setup.Targets)]"), reply)) {
        KTRACE(lcServer) << "the alarm server gave no target list";
        *outcome = EFetchOutcome::Unreachable;
        return false;
    }
    if (reply.isEmpty()) {
        KTRACE(lcServer) << "the alarm server knows no targets";
        *outcome = EFetchOutcome::EmptyList;
        return false;
    }
    *outcome = EFetchOutcome::Fetched;
    // A target whose details call failed is missing from the list; one the server does not know
    // (an answer with too few fields) is rightly missing. The members' calls do not count: their
    // failure is no failure of the details.
    static const QString detailsCall = QStringLiteral("[GetTarget3(");
    const CServerQuery details = [&query, outcome](const QString& command, QString& answer) {
        const bool ok = query(command, answer);
        if (!ok && command.startsWith(detailsCall))
            *outcome = EFetchOutcome::Incomplete;
        return ok;
    };
    QStringList fields;
    ForEachReplyLine(reply, [&](QStringView line) {
        fields.clear();
        if (SplitText(line.toString(), fields, u'\t', true) != kTargetLineFields)
            return;
        CPageTarget target;
        target.m_name = fields.first();
        if (target.FetchDetails(details))
            append(std::move(target));
    });
    if (*outcome == EFetchOutcome::Incomplete)
        KTRACE(lcServer) << "the details of some targets could not be asked";
    return true;
}

qsizetype CPageTargetArray::CountRangesInPeriod(
    const CDateTime& first, const CDateTime& last, QStringList* names) const
{
    qsizetype total = 0;
    for (const CPageTarget& target : m_targets) {
        const qsizetype count = target.m_ranges.CountInPeriod(first, last);
        total += count;
        if (count > 0 && names)
            names->append(target.m_name);
    }
    return total;
}

void CPageTargetArray::append(const CPageTarget& target)
{
    m_targets.append(target);
    IndexLast();
}

void CPageTargetArray::append(CPageTarget&& target)
{
    m_targets.append(std::move(target));
    IndexLast();
}

void CPageTargetArray::clear()
{
    m_targets.clear();
    m_byId.clear();
    m_byName.clear();
}

void CPageTargetArray::reserve(qsizetype size)
{
    m_targets.reserve(size);
    m_byId.reserve(size);
    m_byName.reserve(size);
}

void CPageTargetArray::IndexLast()
{
    const qsizetype index = m_targets.size() - 1;
    const CPageTarget& target = m_targets.last();
    // Only the first of equal keys is indexed.
    if (!m_byId.contains(target.m_id))
        m_byId.insert(target.m_id, index);
    if (!m_byName.contains(target.m_name))
        m_byName.insert(target.m_name, index);
}

const CPageTarget* CPageTargetArray::Lookup(
    const QHash<QString, qsizetype>& index, const QString& key, QString CPageTarget::*field) const
{
    const auto found = index.constFind(key);
    if (found == index.cend())
        return nullptr;
    const CPageTarget& target = m_targets.at(*found);
    if (target.*field == key)
        return &target;
    // The ID or name of a target was changed in place, against the rule of the class.
    Q_ASSERT_X(false, "CPageTargetArray", "ID or name changed after insertion");
    for (const CPageTarget& other : m_targets) {
        if (other.*field == key)
            return &other;
    }
    return nullptr;
}
