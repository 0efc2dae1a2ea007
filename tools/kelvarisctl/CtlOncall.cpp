// kelvarisctl oncall [--at TEXT] [--json] [--config FILE]: the receivers and groups on duty at a
// moment, by the rules of the main window's plan of action, with each takeover group's holder.
// The targets come from the alarm server when it answers, otherwise from the dispatch files of
// the data folder (which then know no numbers and no members).
#include <cstdlib>

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>

#include "engine/KelvarisDoc.h"
#include "schedule/ConfigLocation.h"
#include "schedule/Profile.h"

#include "Ctl.h"
#include "CtlDocument.h"

namespace {

// The targets of the dispatch files in `folder`, in the order of their file names: the name from
// Settings/Name (the ID when missing); a file with a Takeover line belongs to a group.
CPageTargetArray TargetsFromDispatchFiles(const QString& folder)
{
    CPageTargetArray targets;
    if (folder.isEmpty())
        return targets;
    const QStringList files
        = QDir(folder).entryList({ QStringLiteral("*.tim") }, QDir::Files | QDir::Readable, QDir::Name);
    const QString section = QStringLiteral("Settings");
    const QString missing = QStringLiteral("\x01");
    for (const QString& file : files) {
        CPageTarget target;
        target.m_id = file.chopped(4);
        if (!CPageTarget::IsSafeFileId(target.m_id) || targets.FindById(target.m_id))
            continue;
        const CProfile profile(target.DispatchFilePath(folder));
        target.m_name = profile.ReadString(section, QStringLiteral("Name"), target.m_id);
        const bool group = profile.ReadString(section, QStringLiteral("Takeover"), missing) != missing;
        target.m_number = group ? -1 : 0;
        if (!target.LoadDispatchFile())
            continue;
        targets.append(std::move(target));
    }
    return targets;
}

QStringList MemberNames(const CPageTarget& target)
{
    QStringList names;
    for (const QString& name : target.m_members.split(u';', Qt::SkipEmptyParts)) {
        if (!name.trimmed().isEmpty())
            names << name;
    }
    return names;
}

} // namespace

int CtlOncall(const QStringList& args)
{
    CCtlCommand command(QStringLiteral("oncall"), QStringLiteral("[--at TEXT] [--json] [--config FILE]"),
        QStringLiteral(
            "Lists the receivers and groups on duty at a moment (default now) by the rules of the plan\n"
            "of action, with each takeover group's current holder. The targets come from the alarm\n"
            "server when it answers, otherwise from the dispatch files of the data folder; the output\n"
            "says which (source alarm-server or dispatch-files).\n"
            "Text: the lines \"at: TIME\" and \"source: SOURCE\", then one line per target, fields\n"
            "separated by tabs: receiver NAME ID, or group NAME ID with \"holder: NAME (ID)\" for a\n"
            "takeover group that has one.\n"
            "JSON (--json): {\"at\", \"source\", \"receivers\": [{\"name\", \"id\", \"number\"}],\n"
            "\"groups\": [{\"name\", \"id\", \"number\", \"takeover\", \"holder\": {\"name\", \"id\"} or "
            "null,\n"
            "\"members\": [names]}]}; \"number\" is null from dispatch files.\n"));
    CtlAddAtOption(command, QStringLiteral("The moment (default now), in one of the forms below."));
    command.AddOption(QStringLiteral("json"), QStringLiteral("Print one JSON document."));
    CtlAddConfigOption(command);
    if (const int code = command.Parse(args); code >= 0)
        return code;
    if (!command.Arguments().isEmpty())
        return command.Usage(QStringLiteral("unexpected argument \"%1\"").arg(command.Arguments().first()));

    CDateTime at;
    if (const int code = CtlReadAt(command, at); code >= 0)
        return code;

    QString error;
    const QString configPath = CtlConfigPath(command, error);
    if (!error.isEmpty())
        return CtlFail(CTL_USAGE, error);
    CCtlDocument loaded(configPath);
    CKelvarisDoc& doc = loaded.Doc();
    // An alarm server that does not answer is no fault here: the dispatch files answer instead, and
    // the output says so. The engine's warnings about it would only be noise for scripts.
    QLoggingCategory::setFilterRules(QStringLiteral("kelvaris.engine.warning=false"));
    loaded.Load();
    const bool fromServer = doc.TargetListKnown();
    const CPageTargetArray targets
        = fromServer ? doc.PageTargets() : TargetsFromDispatchFiles(ConfigLocation().ConfigFolder());
    const QString source = fromServer ? QStringLiteral("alarm-server") : QStringLiteral("dispatch-files");

    // Local time with its offset, always written as +hh:mm (also +00:00, never Z).
    const QDateTime when = at.ToQDateTime();
    const int offset = when.offsetFromUtc();
    const QString atText = when.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss"))
        + QStringLiteral("%1%2:%3")
              .arg(offset < 0 ? QStringLiteral("-") : QStringLiteral("+"))
              .arg(std::abs(offset) / 3600, 2, 10, QLatin1Char('0'))
              .arg(std::abs(offset) % 3600 / 60, 2, 10, QLatin1Char('0'));

    QJsonArray receivers;
    QJsonArray groups;
    QString lines;
    for (const CPlanEntry& entry : PlanOfActionEntries(targets, at)) {
        const CPageTarget& target = targets.at(entry.m_index);
        QJsonObject item { { QStringLiteral("name"), target.m_name }, { QStringLiteral("id"), target.m_id },
            { QStringLiteral("number"), fromServer ? QJsonValue(target.m_number) : QJsonValue() } };
        if (!target.IsGroup()) {
            receivers.append(item);
            lines += QStringLiteral("receiver\t%1\t%2\n").arg(target.m_name, target.m_id);
            continue;
        }
        QJsonValue holder;
        QString holderText;
        if (target.m_takeover) {
            if (const QString holderId = target.ReadCurrentTargetId(); !holderId.isEmpty()) {
                const CPageTarget* holding = targets.FindById(holderId);
                holder = QJsonObject { { QStringLiteral("name"),
                                           holding ? QJsonValue(holding->m_name) : QJsonValue() },
                    { QStringLiteral("id"), holderId } };
                holderText = QStringLiteral("\tholder: %1 (%2)")
                                 .arg(holding ? holding->m_name : QStringLiteral("?"), holderId);
            }
        }
        item.insert(QStringLiteral("takeover"), target.m_takeover);
        item.insert(QStringLiteral("holder"), holder);
        item.insert(QStringLiteral("members"), QJsonArray::fromStringList(MemberNames(target)));
        groups.append(item);
        lines += QStringLiteral("group\t%1\t%2%3\n").arg(target.m_name, target.m_id, holderText);
    }

    if (command.IsSet(QStringLiteral("json"))) {
        const QJsonObject document { { QStringLiteral("at"), atText }, { QStringLiteral("source"), source },
            { QStringLiteral("receivers"), receivers }, { QStringLiteral("groups"), groups } };
        CtlOut() << QString::fromUtf8(QJsonDocument(document).toJson(QJsonDocument::Indented));
    } else {
        CtlOut() << QStringLiteral("at: %1\nsource: %2\n").arg(atText, source) << lines;
    }
    CtlOut().flush();
    return CTL_OK;
}
