// kelvarisctl notices [--days N] [--from TEXT] [--json] [--config FILE]: the reminders and daily
// summaries Kelvaris will send, to check the settings before they are switched on.
#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>

#include "engine/DutyNotices.h"
#include "engine/KelvarisDoc.h"
#include "schedule/Profile.h"
#include "schedule/SiteClock.h"

#include "Ctl.h"
#include "CtlDocument.h"

namespace {
constexpr int kMaxDays = 31;

QString KindWord(CNotice::EKind kind)
{
    switch (kind) {
    case CNotice::Lead:
        return QStringLiteral("reminder");
    case CNotice::Change:
        return QStringLiteral("change");
    case CNotice::Holder:
        return QStringLiteral("holder");
    case CNotice::Summary:
        return QStringLiteral("summary");
    }
    return QString();
}
} // namespace

int CtlNotices(const QStringList& args)
{
    CCtlCommand command(QStringLiteral("notices"),
        QStringLiteral("[--days N] [--from TEXT] [--json] [--config FILE]"),
        QStringLiteral(
            "Lists the duty notices Kelvaris will send in the next N days (default 1) by the settings\n"
            "as they stand: the reminders before each duty (NoticeLeadMinutes) and the daily\n"
            "summaries (NoticeSummaryTargets at NoticeSummaryTime), in the order they are due. The\n"
            "notices of a change or of a new holder come only with the change and are not listed.\n"
            "Text: one line per notice, tab-separated: when (ISO 8601 with the site's offset), kind,\n"
            "recipient NAME, its ID, the text.\n"
            "JSON (--json): an array of {\"at\", \"kind\", \"name\", \"id\", \"text\"}.\n"
            "The targets come from the alarm server; exit 3 when it does not answer.\n"));
    command.AddOption(QStringLiteral("days"), QStringLiteral("Days to look ahead (1 to 31, default 1)."),
        QStringLiteral("N"));
    command.AddOption(QStringLiteral("from"),
        QStringLiteral("Where to start (default now), as --at of eval."), QStringLiteral("TEXT"));
    command.AddOption(QStringLiteral("json"), QStringLiteral("Print one JSON array."));
    CtlAddConfigOption(command);
    if (const int code = command.Parse(args); code >= 0)
        return code;
    if (!command.Arguments().isEmpty())
        return command.Usage(QStringLiteral("unexpected argument \"%1\"").arg(command.Arguments().first()));
    bool ok = true;
    const int days
        = command.IsSet(QStringLiteral("days")) ? command.Value(QStringLiteral("days")).toInt(&ok) : 1;
    if (!ok || days < 1 || days > kMaxDays)
        return command.Usage(QStringLiteral("--days takes 1 to %1").arg(kMaxDays));

    QString error;
    const QString configPath = CtlConfigPath(command, error);
    if (!error.isEmpty())
        return CtlFail(CTL_USAGE, error);
    const QTimeZone zone = SiteTimeZoneOf(CProfile(configPath));
    CCtlMoment from;
    if (command.IsSet(QStringLiteral("from"))
        && !CtlMomentFromText(command.Value(QStringLiteral("from")), zone, from, error))
        return command.Usage(error);
    const qint64 fromMs = command.IsSet(QStringLiteral("from")) ? from.utcMs : CurrentUtcMs();
    const qint64 toMs = fromMs + qint64(days) * 86'400'000;

    CCtlDocument loaded(configPath);
    QLoggingCategory::setFilterRules(QStringLiteral("kelvaris.engine.warning=false"));
    loaded.Load();
    CKelvarisDoc& doc = loaded.Doc();
    if (!doc.TargetListKnown())
        return CtlFail(CTL_UNKNOWN,
            QStringLiteral("notices: the targets are not known: %1").arg(loaded.NoTargetsMessage()));
    const CNoticeSettings settings = CNoticeSettings::Read(CProfile(configPath));
    const CZoneOffsets offsets(zone, fromMs, toMs + 8 * 86'400'000LL);
    QList<CNotice> notices = DueReminders(doc.PageTargets(), settings, offsets, fromMs, toMs);
    notices += DueSummaries(doc.PageTargets(), settings, offsets, fromMs, toMs);
    std::stable_sort(
        notices.begin(), notices.end(), [](const CNotice& a, const CNotice& b) { return a.dueMs < b.dueMs; });

    const auto iso = [&offsets](qint64 ms) {
        CCtlMoment moment;
        moment.utcMs = ms;
        moment.offsetSeconds = offsets.OffsetAt(ms);
        return moment.IsoText();
    };
    QJsonArray array;
    for (const CNotice& notice : std::as_const(notices)) {
        if (command.IsSet(QStringLiteral("json"))) {
            array.append(QJsonObject { { QStringLiteral("at"), iso(notice.dueMs) },
                { QStringLiteral("kind"), KindWord(notice.kind) },
                { QStringLiteral("name"), notice.targetName }, { QStringLiteral("id"), notice.targetId },
                { QStringLiteral("text"), notice.text } });
            continue;
        }
        CtlOut() << iso(notice.dueMs) << u'\t' << KindWord(notice.kind) << u'\t' << notice.targetName << u'\t'
                 << notice.targetId << u'\t' << notice.text << u'\n';
    }
    if (command.IsSet(QStringLiteral("json")))
        CtlOut() << QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Indented));
    CtlOut().flush();
    return CTL_OK;
}
