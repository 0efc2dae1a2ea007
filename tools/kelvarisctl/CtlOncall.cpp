// kelvarisctl oncall [--at TEXT] [--json] [--config FILE]: the receivers and groups on duty at a
// moment, by the rules of the main window's plan of action, with each takeover group's holder.
// The targets come from the alarm server when it answers, otherwise from the dispatch files of
// the data folder (which then know no numbers and no members).
#include <algorithm>
#include <cstdlib>

#include <QDir>
#include <QFileInfo>
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

// A dispatch file that could not be read, and why.
struct CUnreadable
{
    QString file;
    QString reason;
};

// The targets of the dispatch files in `folder`, in the order of their file names: the name from
// Settings/Name (the ID when missing); a file with a Takeover line belongs to a group. Files that
// cannot be read (a folder of that name, no right to read, not text) are listed in `unreadable`.
CPageTargetArray TargetsFromDispatchFiles(const QString& folder, QList<CUnreadable>& unreadable)
{
    CPageTargetArray targets;
    if (folder.isEmpty())
        return targets;
    const QFileInfoList files = QDir(folder).entryInfoList({ QStringLiteral("*.tim") },
        QDir::Files | QDir::Dirs | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    const QString section = QStringLiteral("Settings");
    const QString missing = QStringLiteral("\x01");
    for (const QFileInfo& file : files) {
        CPageTarget target;
        target.m_id = file.fileName().chopped(4);
        if (!CPageTarget::IsSafeFileId(target.m_id) || targets.FindById(target.m_id))
            continue;
        if (!file.isFile()) {
            unreadable.append({ file.fileName(), QStringLiteral("not a plain file") });
            continue;
        }
        if (!target.LoadDispatchFile()) {
            unreadable.append({ file.fileName(),
                target.m_fileProblem.isEmpty() ? QStringLiteral("cannot be read") : target.m_fileProblem });
            continue;
        }
        const CProfile profile(target.DispatchFilePath(folder));
        target.m_name = profile.ReadString(section, QStringLiteral("Name"), target.m_id);
        const bool group = profile.ReadString(section, QStringLiteral("Takeover"), missing) != missing;
        target.m_number = group ? -1 : 0;
        targets.append(std::move(target));
    }
    return targets;
}

// Why a data folder cannot answer for the plans (missing, unreadable, or without its
// configuration file, as a folder made afresh is); empty when it can.
QString FolderProblem(const QString& folder, const QString& configPath)
{
    if (folder.isEmpty())
        return QStringLiteral("no data folder is set");
    const QFileInfo info(folder);
    if (!info.exists())
        return QStringLiteral("the data folder %1 does not exist").arg(folder);
    if (!info.isDir() || !info.isReadable() || !info.isExecutable())
        return QStringLiteral("the data folder %1 cannot be read").arg(folder);
    const QFileInfo config(configPath);
    if (!config.isFile() || !config.isReadable())
        return QStringLiteral("the data folder %1 holds no readable configuration file").arg(folder);
    return QString();
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

// Prints who is on duty at `at` among the targets, as text or JSON (the command's --json).
int PrintOncall(const CCtlCommand& command, const CPageTargetArray& targets, const CDateTime& at,
    const QString& atText, const QString& source, bool withNumbers, const QJsonArray& unreadableJson)
{
    QJsonArray receivers;
    QJsonArray groups;
    QString lines;
    // The plan of action, and the receivers without any range: the socket answers "on duty" for
    // them at every moment.
    QList<qsizetype> listed;
    for (const CPlanEntry& entry : PlanOfActionEntries(targets, at))
        listed.append(entry.m_index);
    for (qsizetype i = 0; i < targets.size(); ++i) {
        if (!targets.at(i).IsGroup() && targets.at(i).m_ranges.isEmpty() && !listed.contains(i))
            listed.append(i);
    }
    std::sort(listed.begin(), listed.end());
    for (const qsizetype index : std::as_const(listed)) {
        const CPageTarget& target = targets.at(index);
        QJsonObject item { { QStringLiteral("name"), target.m_name }, { QStringLiteral("id"), target.m_id },
            { QStringLiteral("number"), withNumbers ? QJsonValue(target.m_number) : QJsonValue() } };
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
            { QStringLiteral("receivers"), receivers }, { QStringLiteral("groups"), groups },
            { QStringLiteral("unreadable"), unreadableJson } };
        CtlOut() << QString::fromUtf8(QJsonDocument(document).toJson(QJsonDocument::Indented));
    } else {
        CtlOut() << QStringLiteral("at: %1\nsource: %2\n").arg(atText, source) << lines;
    }
    CtlOut().flush();
    return CTL_OK;
}

} // namespace

int CtlOncall(const QStringList& args)
{
    CCtlCommand command(QStringLiteral("oncall"),
        QStringLiteral("[--at TEXT] [--as-of TEXT] [--json] [--config FILE]"),
        QStringLiteral(
            "Lists the receivers and groups on duty at a moment (default now) by the rules of the plan\n"
            "of action (and the receivers without any range, on duty at every moment), with each\n"
            "takeover group's current holder. The targets come from the alarm\n"
            "server when it answers, otherwise from the dispatch files of the data folder; the output\n"
            "says which (source alarm-server or dispatch-files).\n"
            "Text: the lines \"at: TIME\" and \"source: SOURCE\", then one line per target, fields\n"
            "separated by tabs: receiver NAME ID, or group NAME ID with \"holder: NAME (ID)\" for a\n"
            "takeover group that has one.\n"
            "JSON (--json): {\"at\", \"source\", \"receivers\": [{\"name\", \"id\", \"number\"}],\n"
            "\"groups\": [{\"name\", \"id\", \"number\", \"takeover\", \"holder\": {\"name\", \"id\"} or "
            "null,\n"
            "\"members\": [names]}], \"unreadable\": [{\"file\", \"reason\"}]}; \"number\" is null from\n"
            "dispatch files. \"at\" is ISO 8601 with the site's true offset.\n"
            "Exit status: 0 when it answered (also when nobody is on duty), 2 for bad usage or a\n"
            "local time the clocks skip, 3 when no alarm server answered and the data folder cannot\n"
            "be read. Dispatch files that cannot be read are named on standard error and left out.\n"
            "--as-of TEXT answers from the schedule as it stood then, replayed from the edit journal\n"
            "(source journal): the target list, the plans and the holders last journaled before it.\n"));
    CtlAddAtOption(command, QStringLiteral("The moment (default now), in one of the forms below."));
    CtlAddAsOfOption(command);
    command.AddOption(QStringLiteral("json"), QStringLiteral("Print one JSON document."));
    CtlAddConfigOption(command);
    if (const int code = command.Parse(args); code >= 0)
        return code;
    if (!command.Arguments().isEmpty())
        return command.Usage(QStringLiteral("unexpected argument \"%1\"").arg(command.Arguments().first()));

    QString error;
    const QString configPath = CtlConfigPath(command, error);
    if (!error.isEmpty())
        return CtlFail(CTL_USAGE, error);
    CCtlMoment moment;
    if (const int code = CtlReadMoment(command, SiteTimeZoneOf(CProfile(configPath)), moment); code >= 0)
        return code;
    const CDateTime at = moment.wall;
    if (command.IsSet(QStringLiteral("as-of"))) {
        CPageTargetArray targets;
        if (const int code = CtlTargetsAsOf(command, configPath, targets); code >= 0)
            return code;
        return PrintOncall(
            command, targets, at, moment.IsoText(), QStringLiteral("journal"), true, QJsonArray());
    }
    CCtlDocument loaded(configPath);
    CKelvarisDoc& doc = loaded.Doc();
    // An alarm server that does not answer is no fault here: the dispatch files answer instead, and
    // the output says so. The engine's warnings about it would only be noise for scripts.
    QLoggingCategory::setFilterRules(QStringLiteral("kelvaris.engine.warning=false"));
    loaded.Load();
    const bool fromServer = doc.TargetListKnown();
    QList<CUnreadable> unreadable;
    const QString folder = ConfigLocation().ConfigFolder();
    if (!fromServer) {
        // Nothing to answer from: a monitoring check must not take this for a gap in cover.
        if (const QString problem = FolderProblem(folder, ConfigLocation().ConfigPath()); !problem.isEmpty())
            return CtlFail(
                CTL_UNKNOWN, QStringLiteral("oncall: no alarm server answered and %1").arg(problem));
    }
    const CPageTargetArray targets
        = fromServer ? doc.PageTargets() : TargetsFromDispatchFiles(folder, unreadable);
    if (fromServer) {
        for (const CPageTarget& target : targets) {
            if (!target.m_fileProblem.isEmpty())
                unreadable.append({ target.m_id + QStringLiteral(".tim"), target.m_fileProblem });
        }
    }
    QJsonArray unreadableJson;
    for (const CUnreadable& file : std::as_const(unreadable)) {
        CtlErr() << QStringLiteral("kelvarisctl: oncall: cannot read %1: %2 (its plan is left out)\n")
                        .arg(QDir(folder).filePath(file.file), file.reason);
        unreadableJson.append(
            QJsonObject { { QStringLiteral("file"), file.file }, { QStringLiteral("reason"), file.reason } });
    }
    CtlErr().flush();
    const QString source = fromServer ? QStringLiteral("alarm-server") : QStringLiteral("dispatch-files");

    // The site's wall clock with its true offset, always written as +hh:mm (also +00:00, never Z).
    return PrintOncall(command, targets, at, moment.IsoText(), source, fromServer, unreadableJson);
}
