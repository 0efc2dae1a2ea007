#include "engine/JournalReplay.h"

#include <QDateTime>
#include <QStringList>
#include <QTimeZone>

#include "journal/Journal.h"
#include "schedule/PageTarget.h"

bool TargetsAsOf(CJournal& journal, qint64 atMs, CPageTargetArray& targets, QString& error)
{
    const std::optional<QHash<QString, QString>> state = journal.StateAt(atMs);
    if (!state) {
        error = journal.Error();
        return false;
    }
    const auto list = state->constFind(QStringLiteral("targets\talarm server"));
    // Without a list from the alarm server: the targets whose plans the journal holds, as the
    // dispatch files name them (a group by its takeover flag; members unknown).
    QString fromPlans;
    if (list == state->cend()) {
        for (auto it = state->cbegin(); it != state->cend(); ++it) {
            if (!it.key().startsWith(QLatin1String("plan\t")))
                continue;
            const QString id = it.key().mid(5);
            const QString name = it->section(u'\n', 0, 0).startsWith(QLatin1String("Name="))
                ? it->section(u'\n', 0, 0).mid(5)
                : id;
            const bool group = it->contains(QLatin1String("\nTakeover="));
            fromPlans
                += QStringList { id, name, group ? QStringLiteral("-1") : QStringLiteral("0"), QString() }
                       .join(u'\t')
                + u'\n';
        }
    }
    if (list == state->cend() && fromPlans.isEmpty()) {
        const std::optional<qint64> first = journal.FirstTime();
        error = first
            ? QStringLiteral("the journal begins at %1, after that moment")
                  .arg(QDateTime::fromMSecsSinceEpoch(*first, QTimeZone::utc()).toString(Qt::ISODate))
            : QStringLiteral("the journal holds no target list");
        return false;
    }
    CPageTargetArray replayed;
    QStringList lines = (list != state->cend() ? *list : fromPlans).split(u'\n', Qt::SkipEmptyParts);
    lines.sort();
    for (const QString& line : std::as_const(lines)) {
        const QStringList fields = line.split(u'\t');
        if (fields.size() < 4)
            continue;
        CPageTarget target;
        target.m_id = fields[0];
        target.m_name = fields[1];
        target.m_number = fields[2].toInt();
        target.m_members = fields[3];
        for (const QString& planLine :
            state->value(QStringLiteral("plan\t") + target.m_id).split(u'\n', Qt::SkipEmptyParts)) {
            if (planLine.startsWith(QLatin1String("Takeover=")))
                target.m_takeover = planLine.endsWith(u'1');
            else if (!planLine.startsWith(QLatin1String("Name=")))
                target.m_ranges.AddFromText(planLine);
        }
        if (target.IsGroup() && target.m_takeover) {
            if (const auto holder = state->constFind(QStringLiteral("holder\t") + target.m_id);
                holder != state->cend())
                target.m_unsavedCurrentTargetId = *holder;
            else
                target.m_unsavedCurrentTargetId = QString();
        }
        replayed.append(std::move(target));
    }
    targets = std::move(replayed);
    return true;
}

bool ConfigTextAsOf(CJournal& journal, qint64 atMs, QString& text, QString& error)
{
    const std::optional<QHash<QString, QString>> state = journal.StateAt(atMs);
    if (!state) {
        error = journal.Error();
        return false;
    }
    QString joined;
    bool found = false;
    for (const char* kind : { "settings", "shifts", "barriers", "holidays" }) {
        const auto part = state->constFind(QString::fromLatin1(kind) + QStringLiteral("\tconfiguration"));
        if (part == state->cend())
            continue;
        found = true;
        joined += *part + u'\n';
    }
    if (!found) {
        const std::optional<qint64> first = journal.FirstTime();
        error = first && *first > atMs
            ? QStringLiteral("the journal begins at %1, after that moment")
                  .arg(QDateTime::fromMSecsSinceEpoch(*first, QTimeZone::utc()).toString(Qt::ISODate))
            : QStringLiteral("the journal holds no configuration before that moment");
        return false;
    }
    text = joined;
    return true;
}
