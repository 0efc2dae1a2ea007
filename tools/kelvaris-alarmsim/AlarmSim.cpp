#include "AlarmSim.h"

#include <cerrno>

#include <QFile>
#include <QFileInfo>
#include <QSet>

#include "schedule/Profile.h"
#include "schedule/TextList.h"

namespace {

const QString kTargetSection = QStringLiteral("Target");
const QString kTakeoverPrefix = QStringLiteral("Time:");
constexpr int kDetailFields = 17;
constexpr int kNumberField = 2;
constexpr int kKindField = 3;
constexpr int kIdField = 15;
constexpr int kColourField = 17;
constexpr int kSend2Arguments = 7;

// Kelvaris splits the replies at tabs and line breaks and treats double quotes as grouping, so
// none of these may occur inside a name or an ID.
bool TravelsInReplies(const QString& text)
{
    for (QChar c : text) {
        if (c == u'\t' || c == u'\r' || c == u'\n' || c == u'"')
            return false;
    }
    return true;
}

// "0x" hexadecimal or decimal, 0 to 0xFFFFFFFF; an empty text is 0.
std::optional<quint32> ColourFromText(QString text)
{
    text = text.trimmed();
    if (text.isEmpty())
        return 0u;
    int base = 10;
    QStringView digits = text;
    if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        base = 16;
        digits = digits.sliced(2);
    }
    if (digits.isEmpty() || digits.size() > 10)
        return std::nullopt;
    for (QChar c : digits) {
        const char16_t u = c.unicode();
        const bool decimal = u >= u'0' && u <= u'9';
        const bool hex = (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F');
        if (!decimal && !(base == 16 && hex))
            return std::nullopt;
    }
    bool ok = false;
    const qulonglong value = digits.toULongLong(&ok, base);
    if (!ok || value > 0xFFFFFFFFull)
        return std::nullopt;
    return quint32(value);
}

QString KindText(const CSimTarget& target)
{
    return target.IsGroup() ? QStringLiteral("Group") : QStringLiteral("Receiver");
}

bool NameIs(const QString& name, QLatin1String expected)
{
    return name.compare(expected, Qt::CaseInsensitive) == 0;
}

// One argument of a send2 command: its value and where its raw text lies in the argument text.
struct CArgument
{
    qsizetype start = 0;
    qsizetype end = 0;
    QStringView value;
};

// Splits the argument text at commas; see CAlarmSimReplies::ParseSend2. Linear in the text.
QList<CArgument> SplitArguments(QStringView text)
{
    QList<CArgument> arguments;
    qsizetype pos = 0;
    for (;;) {
        CArgument argument;
        argument.start = pos;
        qsizetype next = -1; // start of the next argument, -1 at the end
        if (pos < text.size() && text[pos] == u'"') {
            qsizetype close = text.indexOf(u'"', pos + 1);
            while (close >= 0 && close + 1 < text.size() && text[close + 1] != u',')
                close = text.indexOf(u'"', close + 1);
            if (close < 0) {
                // No closing quote: the rest of the text, without the opening quote.
                argument.end = text.size();
                argument.value = text.sliced(pos + 1);
            } else {
                argument.end = close + 1;
                argument.value = text.sliced(pos + 1, close - pos - 1);
                if (close + 1 < text.size())
                    next = close + 2;
            }
        } else {
            const qsizetype comma = text.indexOf(u',', pos);
            argument.end = comma < 0 ? text.size() : comma;
            argument.value = text.sliced(pos, argument.end - pos);
            if (comma >= 0)
                next = comma + 1;
        }
        arguments.append(argument);
        if (next < 0)
            break;
        pos = next;
    }
    return arguments;
}

} // namespace

bool CAlarmSimReplies::LoadTargets(const QString& path, QStringList& warnings, QString* error)
{
    const auto fail = [error](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    const QFileInfo info(path);
    if (info.isDir())
        return fail(qt_error_string(EISDIR));
    if (info.exists() && !info.isFile())
        return fail(QStringLiteral("not a regular file"));
    if (QFile file(path); !file.open(QIODevice::ReadOnly))
        return fail(file.errorString());
    if (info.size() > CProfile::kMaxFileBytes)
        return fail(QStringLiteral("larger than %1 bytes").arg(CProfile::kMaxFileBytes));

    CProfile profile(path);
    CProfile::Batch batch(profile);
    QList<CSimTarget> targets;
    QSet<QString> names;
    for (int index = 1;; ++index) {
        const CSection section(profile, kTargetSection, index);
        CSimTarget target;
        section.Read(QStringLiteral("Name"), target.name, QString());
        if (target.name.isEmpty())
            break;
        if (index > kMaxTargets) {
            warnings << QStringLiteral("only the first %1 targets are read").arg(kMaxTargets);
            break;
        }
        const QString where = QStringLiteral("[%1]").arg(section.Name());
        section.Read(QStringLiteral("Number"), target.number, 0);
        section.Read(QStringLiteral("ID"), target.id, QString());
        if (!TravelsInReplies(target.name) || !TravelsInReplies(target.id)) {
            warnings << where + QStringLiteral(" left out: a tab or double quote in the name or ID");
            continue;
        }
        if (target.id.isEmpty()) {
            warnings << where + QStringLiteral(" left out: no ID");
            continue;
        }
        if (names.contains(target.name)) {
            warnings << where + QStringLiteral(" left out: the name \"%1\" is taken").arg(target.name);
            continue;
        }
        QString text;
        section.Read(QStringLiteral("Colour"), text, QString());
        if (const std::optional<quint32> colour = ColourFromText(text)) {
            target.colour = *colour;
        } else {
            warnings << where + QStringLiteral(" colour \"%1\" is not a number; 0 taken").arg(text);
        }
        section.Read(QStringLiteral("Members"), text, QString());
        QStringList members;
        SplitText(text, members, u';', true);
        for (QString& member : members) {
            member = member.trimmed();
            if (member.isEmpty())
                continue;
            if (!TravelsInReplies(member)) {
                warnings << where + QStringLiteral(" member \"%1\" left out").arg(member);
                continue;
            }
            target.members.append(member);
        }
        if (!target.IsGroup() && !target.members.isEmpty()) {
            warnings << where + QStringLiteral(" is a receiver; its members are ignored");
            target.members.clear();
        }
        names.insert(target.name);
        targets.append(std::move(target));
    }
    SetTargets(targets);
    return true;
}

void CAlarmSimReplies::SetTargets(const QList<CSimTarget>& targets)
{
    m_targets = targets;
    m_byName.clear();
    QStringList lines;
    lines.reserve(m_targets.size());
    for (qsizetype i = 0; i < m_targets.size(); ++i) {
        const CSimTarget& target = m_targets[i];
        if (!m_byName.contains(target.name))
            m_byName.insert(target.name, i); // the first of a name wins, as in Kelvaris
        lines << (QStringList { target.name, QString::number(target.number), target.id, KindText(target),
                      QString::number(target.colour) })
                     .join(u'\t');
    }
    m_targetList = lines.join(QStringLiteral("\r\n"));
}

const CSimTarget* CAlarmSimReplies::FindByName(const QString& name) const
{
    const auto found = m_byName.constFind(name);
    return found == m_byName.cend() ? nullptr : &m_targets[*found];
}

bool CAlarmSimReplies::SplitCommand(const QString& command, QString& name, QString& arguments)
{
    if (!command.startsWith(u'[') || !command.endsWith(QLatin1String(")]")))
        return false;
    const qsizetype open = command.indexOf(u'(');
    const qsizetype close = command.size() - 2;
    if (open <= 1 || open >= close)
        return false;
    for (qsizetype i = 1; i < open; ++i) {
        const QChar c = command[i];
        if (!(c.isLetterOrNumber() || c == u'_' || c == u'.'))
            return false;
    }
    name = command.mid(1, open - 1);
    arguments = command.mid(open + 1, close - open - 1);
    return true;
}

CSimReply CAlarmSimReplies::Execute(const QString& command) const
{
    if (command.size() > kMaxCommandLength)
        return { true, QStringLiteral("command too long") };
    QString name;
    QString arguments;
    if (!SplitCommand(command, name, arguments))
        return {};
    if (NameIs(name, QLatin1String("GetValue"))) {
        if (NameIs(arguments, QLatin1String("Setup.Targets")))
            return { false, m_targetList };
        return {};
    }
    if (NameIs(name, QLatin1String("GetTarget3"))) {
        const CSimTarget* target = FindByName(arguments);
        if (!target)
            return {};
        QStringList fields(kDetailFields, QStringLiteral("0"));
        fields[0] = target->name;
        fields[kNumberField - 1] = QString::number(target->number);
        fields[kKindField - 1] = KindText(*target);
        fields[kIdField - 1] = target->id;
        fields[kColourField - 1] = QString::number(target->colour);
        return { false, fields.join(u'\t') };
    }
    if (NameIs(name, QLatin1String("GetGroupMembers"))) {
        const CSimTarget* target = FindByName(arguments);
        if (!target)
            return { true, QStringLiteral("no target named \"%1\"").arg(arguments) };
        return { false, target->members.join(u'\t') };
    }
    if (NameIs(name, QLatin1String("check")))
        return { false, QStringLiteral("1") };
    return {};
}

std::optional<CSend2Request> CAlarmSimReplies::ParseSend2(const QString& command)
{
    QString name;
    QString text;
    if (command.size() > kMaxCommandLength || !SplitCommand(command, name, text)
        || !NameIs(name, QLatin1String("send2")))
        return std::nullopt;
    const QList<CArgument> arguments = SplitArguments(text);
    const qsizetype count = arguments.size();
    if (count < kSend2Arguments)
        return std::nullopt;
    CSend2Request request;
    request.receiver = arguments[0].value.toString();
    request.clientId = arguments[count - 2].value.toString();
    if (count == kSend2Arguments) {
        request.text = arguments[1].value.toString();
    } else {
        // The message text held separators: everything from the second argument to the one
        // before the last five, without its enclosing quotes.
        QStringView raw
            = QStringView(text).sliced(arguments[1].start, arguments[count - 6].end - arguments[1].start);
        if (raw.size() >= 2 && raw.startsWith(u'"') && raw.endsWith(u'"'))
            raw = raw.sliced(1, raw.size() - 2);
        request.text = raw.toString();
    }
    return request;
}

bool CAlarmSimReplies::IsTakeoverClientId(const QString& clientId)
{
    return clientId.size() > kTakeoverPrefix.size() && clientId.startsWith(kTakeoverPrefix);
}

QByteArray CAlarmSimReplies::TakeoverAnswer(const CSend2Request& request, TakeoverMode mode) const
{
    if (mode == TakeoverMode::Ignore)
        return {};
    const CSimTarget* receiver = FindByName(request.receiver);
    QString xml = QStringLiteral("<TimeCmd Name=\"HandleResponse\"><ClientID>") + XmlEscaped(request.clientId)
        + QStringLiteral("</ClientID><TargetID>") + XmlEscaped(receiver ? receiver->id : QString())
        + QStringLiteral("</TargetID>")
        + (mode == TakeoverMode::Confirm ? QStringLiteral("<Result>1</Result>")
                                         : QStringLiteral("<Timeout>1</Timeout>"))
        + QStringLiteral("</TimeCmd>");
    return xml.toUtf8();
}

QString XmlEscaped(const QString& text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (QChar c : text) {
        if (c == u'&')
            escaped += QLatin1String("&amp;");
        else if (c == u'<')
            escaped += QLatin1String("&lt;");
        else if (c == u'>')
            escaped += QLatin1String("&gt;");
        else
            escaped += c;
    }
    return escaped;
}
