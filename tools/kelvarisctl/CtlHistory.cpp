// kelvarisctl history [--since T] [--until T] [--target ID] [--kind K] [--json] [--verify]
// [--config FILE]: the edit journal, newest first, or the check of its chain.
#include <functional>

#include <QDateTime>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "engine/Dispatch.h"
#include "engine/JournalKeeper.h"
#include "engine/JournalReplay.h"
#include "journal/AnswerJournal.h"
#include "journal/Journal.h"
#include "schedule/ConfigLocation.h"
#include "schedule/PageTarget.h"
#include "schedule/Profile.h"

#include "Ctl.h"

namespace {

constexpr qsizetype kMaxAnswersListed = 10000;

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

// The newest of `entries` (newest first) at or before the moment; null for none.
const CJournalEntry* InForceAt(const QList<CJournalEntry>& entries, qint64 atMs)
{
    const auto found = std::lower_bound(entries.cbegin(), entries.cend(), atMs,
        [](const CJournalEntry& entry, qint64 at) { return entry.atMs > at; });
    return found == entries.cend() ? nullptr : &*found;
}

QJsonObject JsonOfDecider(const CJournalEntry* entry, const QTimeZone& zone)
{
    if (!entry)
        return {};
    return { { QStringLiteral("seq"), entry->seq }, { QStringLiteral("at"), IsoAt(entry->atMs, zone) },
        { QStringLiteral("user"), entry->user }, { QStringLiteral("via"), entry->via },
        { QStringLiteral("kind"), entry->kind }, { QStringLiteral("subject"), entry->subject },
        { QStringLiteral("why"), entry->why } };
}

// history --answers: each answer for the receiver in the span with the journal entry that decided
// it (the group's holder when one held the group then, otherwise the receiver's plan).
int ListAnswers(
    const CCtlCommand& command, CJournal& journal, const CJournal::CFilter& span, const QTimeZone& zone)
{
    const QString receiver = command.Value(QStringLiteral("target"));
    QString error;
    const std::optional<QList<CAnswerRecord>> answers = CAnswerJournal::Read(
        journal.Path(), receiver, span.sinceMs, span.untilMs, kMaxAnswersListed, error);
    if (!answers)
        return CtlFail(CTL_UNKNOWN, error);
    // The entries that can decide, read once: the receiver's plan and each group's holder.
    QHash<QString, QList<CJournalEntry>> deciders;
    const auto entriesOf = [&](const QString& kind, const QString& subject) -> const QList<CJournalEntry>* {
        const QString key = kind + u'\t' + subject;
        if (auto known = deciders.constFind(key); known != deciders.cend())
            return &*known;
        CJournal::CFilter filter;
        filter.kind = kind;
        filter.subject = subject;
        std::optional<QList<CJournalEntry>> entries = journal.Entries(filter);
        if (!entries)
            return nullptr;
        return &*deciders.insert(key, std::move(*entries));
    };
    QJsonArray array;
    for (const CAnswerRecord& answer : *answers) {
        const CJournalEntry* decider = nullptr;
        if (!answer.group.isEmpty()) {
            const QList<CJournalEntry>* holders = entriesOf(QStringLiteral("holder"), answer.group);
            if (!holders)
                return CtlFail(CTL_UNKNOWN, journal.Error());
            decider = InForceAt(*holders, answer.atMs);
            if (decider && decider->after.isEmpty())
                decider = nullptr; // nobody held the group: the receiver's plan decided
        }
        if (!decider) {
            const QList<CJournalEntry>* plans = entriesOf(QStringLiteral("plan"), answer.receiver);
            if (!plans)
                return CtlFail(CTL_UNKNOWN, journal.Error());
            decider = InForceAt(*plans, answer.atMs);
        }
        const QString user = answer.uid >= 0 ? CJournalKeeper::UserName(answer.uid) : QString();
        if (command.IsSet(QStringLiteral("json"))) {
            array.append(QJsonObject { { QStringLiteral("at"), IsoAt(answer.atMs, zone) },
                { QStringLiteral("uid"), answer.uid }, { QStringLiteral("user"), user },
                { QStringLiteral("receiver"), answer.receiver }, { QStringLiteral("group"), answer.group },
                { QStringLiteral("result"), DispatchResultWord(answer.result) },
                { QStringLiteral("revision"), answer.revision },
                { QStringLiteral("decidedBy"), JsonOfDecider(decider, zone) } });
            continue;
        }
        CtlOut() << IsoAt(answer.atMs, zone) << u'\t' << Field(user) << u'\t' << Field(answer.receiver)
                 << u'\t' << Field(answer.group) << u'\t' << DispatchResultWord(answer.result) << u'\t'
                 << answer.revision << u'\t';
        if (decider)
            CtlOut() << decider->seq << u'\t' << IsoAt(decider->atMs, zone) << u'\t' << Field(decider->kind)
                     << u'\t' << Field(decider->subject) << u'\t' << Field(decider->user) << u'\t'
                     << Field(decider->via) << u'\t' << Field(decider->why) << u'\n';
        else
            CtlOut() << QStringLiteral("-\tthe journal holds no plan of it then\n");
    }
    if (command.IsSet(QStringLiteral("json")))
        CtlOut() << QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Indented));
    CtlOut().flush();
    return CTL_OK;
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
            "[--since TEXT] [--until TEXT] [--target ID] [--kind KIND] [--json] [--verify [--expect "
            "SEQ:HASH]]\n"
            "       [--config FILE]\n"
            "       history --answers --target ID [--since TEXT] [--until TEXT] [--json] [--config FILE]"),
        QStringLiteral(
            "Lists the edit journal of the data folder (kelvaris-journal.sqlite), newest first: one\n"
            "line per change, tab-separated: seq, time (ISO 8601 with the site's offset), user,\n"
            "through what, kind, subject, why, then the content before and after (tabs and line\n"
            "ends as \\t and \\n). --json prints an array of objects with the keys seq, at, user, uid,\n"
            "via, rights, kind, subject, before, after, why, form and hash. A plan's entries after its\n"
            "first have the form \"lines\": before and after hold the lines removed and added.\n"
            "--verify checks the journal instead: SQLite's integrity check, the chain of hashes over\n"
            "the whole journal, and that it holds the head kept in kelvaris-journal.head (the newest\n"
            "entry's SEQ:HASH, written after each change) and the one --expect gives. Exit 0 when it\n"
            "is intact (with its head, and the journal it continues when one was moved aside), 1\n"
            "naming the first entry that does not fit or is missing, or when the journal is damaged\n"
            "or gone while its head file is there, 3 when it cannot be read.\n"
            "--answers lists the alarm server's checks of the receiver --target instead (kept with\n"
            "AnswerJournal=1), oldest first, at most 10000: time, the asking user, receiver, group,\n"
            "result, the plan's revision (its file time), then the journal entry that decided it\n"
            "(seq, time, kind, subject, user, through what, why): the group's holder when one held\n"
            "the group, otherwise the receiver's plan. --json keys: at, uid, user, receiver, group,\n"
            "result, revision, decidedBy.\n"));
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
    command.AddOption(QStringLiteral("expect"),
        QStringLiteral(
            "With --verify: the journal must hold this head, kept elsewhere (as the head file and the "
            "daily line give it)."),
        QStringLiteral("SEQ:HASH"));
    command.AddOption(QStringLiteral("answers"), QStringLiteral("List the answers to a receiver's checks."));
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
    CJournal journal(path);
    // The heads the journal must hold: the head file's, and one kept elsewhere.
    QList<CJournal::CHead> heads;
    if (const std::optional<CJournal::CHead> head = journal.ReadHead())
        heads << *head;
    if (command.IsSet(QStringLiteral("expect"))) {
        const std::optional<CJournal::CHead> expected
            = CJournal::CHead::FromText(command.Value(QStringLiteral("expect")));
        if (!expected)
            return command.Usage(
                QStringLiteral("--expect takes SEQ:HASH (a number, a colon and 64 hex digits), not \"%1\"")
                    .arg(command.Value(QStringLiteral("expect"))));
        heads << *expected;
    }
    const bool verify = command.IsSet(QStringLiteral("verify"));
    if (!QFileInfo::exists(path)) {
        // A journal whose head is known cannot just be gone.
        if (verify && !heads.isEmpty())
            return CtlFail(CTL_FAILED,
                QStringLiteral("the journal %1 is missing; its head names entry %2")
                    .arg(path, heads.first().Text()));
        return CtlFail(CTL_UNKNOWN, QStringLiteral("there is no journal at %1").arg(path));
    }
    if (!journal.Open(false)) {
        if (verify && journal.IsDamaged())
            return CtlFail(CTL_FAILED, QStringLiteral("journal damaged: %1").arg(journal.Error()));
        return CtlFail(CTL_UNKNOWN, journal.Error());
    }

    if (command.IsSet(QStringLiteral("answers"))) {
        if (filter.subject.isEmpty())
            return command.Usage(QStringLiteral("--answers needs --target ID"));
        if (command.IsSet(QStringLiteral("verify")) || !filter.kind.isEmpty())
            return command.Usage(QStringLiteral("--answers goes with neither --verify nor --kind"));
        return ListAnswers(command, journal, filter, zone);
    }
    if (verify) {
        const CJournal::CVerification check = journal.Verify(heads);
        if (!check.readable)
            return CtlFail(CTL_UNKNOWN, check.reason);
        if (check.firstBad < 0) {
            CtlOut() << QStringLiteral("journal damaged: %1\n").arg(check.reason);
            CtlOut().flush();
            return CTL_FAILED;
        }
        if (check.firstBad != 0) {
            CtlOut() << QStringLiteral("journal broken at entry %1: %2 (%3 entries)\n")
                            .arg(check.firstBad)
                            .arg(check.reason)
                            .arg(check.count);
            CtlOut().flush();
            return CTL_FAILED;
        }
        CtlOut() << QStringLiteral("journal intact: %1 entries").arg(check.count);
        if (check.last)
            CtlOut() << QStringLiteral(", head %1").arg(check.last->Text());
        // A journal that took over from one moved aside says which.
        CJournal::CFilter first;
        first.kind = QStringLiteral("journal");
        for (const CJournalEntry& entry : journal.Entries(first).value_or(QList<CJournalEntry>()))
            CtlOut() << QStringLiteral("; it continues %1").arg(QString(entry.after).replace(u'\n', u' '));
        CtlOut() << '\n';
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
