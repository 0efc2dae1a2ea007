// kelvarisctl history [--since T] [--until T] [--target ID] [--kind K] [--json] [--verify]
// [--config FILE]: the edit journal, newest first, or the check of its chain.
#include <functional>

#include <QDateTime>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "engine/JournalReplay.h"
#include "schedule/ConfigLocation.h"
#include "schedule/PageTarget.h"
#include "schedule/Profile.h"

#include "Ctl.h"
#include "journal/Journal.h"

namespace {

QString IsoAt(qint64 utcMs, const QTimeZone& zone)
{
    return QDateTime::fromMSecsSinceEpoch(utcMs, zone).toString(Qt::ISODate);
}

QJsonObject JsonOf(const CJournalEntry& entry, const QTimeZone& zone)
{
    return { { QStringLiteral("seq"), entry.seq }, { QStringLiteral("at"), IsoAt(entry.atMs, zone) },
        { QStringLiteral("user"), entry.user }, { QStringLiteral("uid"), entry.uid },
        { QStringLiteral("via"), entry.via }, { QStringLiteral("rights"), entry.rights },
        { QStringLiteral("kind"), entry.kind }, { QStringLiteral("subject"), entry.subject },
        { QStringLiteral("before"), entry.before }, { QStringLiteral("after"), entry.after },
        { QStringLiteral("why"), entry.why }, { QStringLiteral("form"), entry.form },
        { QStringLiteral("hash"), QString::fromLatin1(entry.hash) } };
}

// One field of a text line: tabs and line ends as \t and \n.
QString Field(QString text)
{
    return text.replace(u'\\', QStringLiteral("\\\\"))
        .replace(u'\t', QStringLiteral("\\t"))
        .replace(u'\r', QStringLiteral("\\r"))
        .replace(u'\n', QStringLiteral("\\n"));
}

} // namespace

void CtlAddAsOfOption(CCtlCommand& command)
{
    command.AddOption(QStringLiteral("as-of"),
        QStringLiteral("Answer from the schedule as it stood then (the edit journal)."),
        QStringLiteral("TEXT"));
}

namespace {
// Opens the journal beside the configuration and replays what `replay` takes from it as of
// --as-of: -1 when it did, otherwise the exit code after the problem was reported.
int ReplayAsOf(const CCtlCommand& command, const QString& configPath,
    const std::function<bool(CJournal&, qint64, QString&)>& replay)
{
    QString error;
    CCtlMoment asOf;
    if (!CtlMomentFromText(
            command.Value(QStringLiteral("as-of")), SiteTimeZoneOf(CProfile(configPath)), asOf, error))
        return command.Usage(error);
    const QString path = CJournal::PathIn(FolderOf(configPath));
    CJournal journal(path);
    if (!QFileInfo::exists(path))
        error = QStringLiteral("there is no journal at %1").arg(path);
    else if (!journal.Open(false))
        error = journal.Error();
    else if (replay(journal, asOf.utcMs, error))
        return -1;
    return CtlFail(CTL_UNKNOWN,
        QStringLiteral("%1: the schedule as of %2 cannot be replayed: %3")
            .arg(command.Verb(), asOf.IsoText(), error));
}
} // namespace

int CtlTargetsAsOf(const CCtlCommand& command, const QString& configPath, CPageTargetArray& targets)
{
    return ReplayAsOf(command, configPath, [&targets](CJournal& journal, qint64 atMs, QString& error) {
        return TargetsAsOf(journal, atMs, targets, error);
    });
}

int CtlConfigAsOf(const CCtlCommand& command, const QString& configPath, QString& text)
{
    return ReplayAsOf(command, configPath, [&text](CJournal& journal, qint64 atMs, QString& error) {
        return ConfigTextAsOf(journal, atMs, text, error);
    });
}

int CtlHistory(const QStringList& args)
{
    CCtlCommand command(QStringLiteral("history"),
        QStringLiteral(
            "[--since TEXT] [--until TEXT] [--target ID] [--kind KIND] [--json] [--verify] [--config FILE]"),
        QStringLiteral(
            "Lists the edit journal of the data folder (kelvaris-journal.sqlite), newest first: one\n"
            "line per change, tab-separated: seq, time (ISO 8601 with the site's offset), user,\n"
            "through what, kind, subject, why, then the content before and after (tabs and line\n"
            "ends as \\t and \\n). --json prints an array of objects with the keys seq, at, user, uid,\n"
            "via, rights, kind, subject, before, after, why, form and hash. A plan's entries after its\n"
            "first have the form \"lines\": before and after hold the lines removed and added.\n"
            "--verify checks the chain of hashes over the whole journal instead: exit 0 when it is\n"
            "intact, 1 naming the first entry that does not fit, 3 when the journal cannot be read.\n"));
    command.AddOption(QStringLiteral("since"), QStringLiteral("Only changes at or after this time."),
        QStringLiteral("TEXT"));
    command.AddOption(QStringLiteral("until"), QStringLiteral("Only changes at or before this time."),
        QStringLiteral("TEXT"));
    command.AddOption(QStringLiteral("target"),
        QStringLiteral("Only changes of this target ID (or section)."), QStringLiteral("ID"));
    command.AddOption(QStringLiteral("kind"),
        QStringLiteral("Only changes of this kind (plan, settings, ...)."), QStringLiteral("KIND"));
    command.AddOption(QStringLiteral("json"), QStringLiteral("Print one JSON array."));
    command.AddOption(QStringLiteral("verify"), QStringLiteral("Check the chain of hashes."));
    CtlAddConfigOption(command);
    if (const int code = command.Parse(args); code >= 0)
        return code;
    if (!command.Arguments().isEmpty())
        return command.Usage(QStringLiteral("unexpected argument \"%1\"").arg(command.Arguments().first()));

    QString error;
    const QString configPath = CtlConfigPath(command, error);
    if (!error.isEmpty())
        return CtlFail(CTL_USAGE, error);
    const QTimeZone zone = SiteTimeZoneOf(CProfile(configPath));
    CJournal::CFilter filter;
    for (const auto& [name, bound] : { std::pair { QStringLiteral("since"), &filter.sinceMs },
             std::pair { QStringLiteral("until"), &filter.untilMs } }) {
        if (!command.IsSet(name))
            continue;
        CCtlMoment moment;
        if (!CtlMomentFromText(command.Value(name), zone, moment, error))
            return command.Usage(error);
        *bound = moment.utcMs;
    }
    filter.subject = command.Value(QStringLiteral("target"));
    filter.kind = command.Value(QStringLiteral("kind"));

    const QString path = CJournal::PathIn(FolderOf(configPath));
    if (!QFileInfo::exists(path))
        return CtlFail(CTL_UNKNOWN, QStringLiteral("there is no journal at %1").arg(path));
    CJournal journal(path);
    if (!journal.Open(false))
        return CtlFail(CTL_UNKNOWN, journal.Error());

    if (command.IsSet(QStringLiteral("verify"))) {
        const CJournal::CVerification check = journal.Verify();
        if (!check.readable)
            return CtlFail(CTL_UNKNOWN, check.reason);
        if (check.firstBad != 0) {
            CtlOut() << QStringLiteral("journal broken at entry %1: %2 (%3 entries)\n")
                            .arg(check.firstBad)
                            .arg(check.reason)
                            .arg(check.count);
            CtlOut().flush();
            return CTL_FAILED;
        }
        CtlOut() << QStringLiteral("journal intact: %1 entries\n").arg(check.count);
        CtlOut().flush();
        return CTL_OK;
    }

    const std::optional<QList<CJournalEntry>> entries = journal.Entries(filter);
    if (!entries)
        return CtlFail(CTL_UNKNOWN, journal.Error());
    if (command.IsSet(QStringLiteral("json"))) {
        QJsonArray array;
        for (const CJournalEntry& entry : *entries)
            array.append(JsonOf(entry, zone));
        CtlOut() << QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Indented));
    } else {
        for (const CJournalEntry& entry : *entries) {
            CtlOut() << entry.seq << u'\t' << IsoAt(entry.atMs, zone) << u'\t' << Field(entry.user) << u'\t'
                     << Field(entry.via) << u'\t' << Field(entry.kind) << u'\t' << Field(entry.subject)
                     << u'\t' << Field(entry.why) << u'\t' << Field(entry.before) << u'\t'
                     << Field(entry.after) << u'\n';
        }
    }
    CtlOut().flush();
    return CTL_OK;
}
