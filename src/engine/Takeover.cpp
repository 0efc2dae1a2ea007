#include "engine/Takeover.h"

#include <array>
#include <memory>
#include <utility>

#include <QCoreApplication>

#include "schedule/ConfigLocation.h"
#include "schedule/DateTime.h"
#include "schedule/PageTarget.h"
#include "schedule/Profile.h"
#include "server/ServerCommand.h"
#include "support/Trace.h"

namespace {

const QString kSettings = QStringLiteral("Settings");
const QString kRequestKey = QStringLiteral("TakeoverRequest");
const QString kConfirmKey = QStringLiteral("TakeoverConfirm");
const QString kTimeoutKey = QStringLiteral("TakeoverTimeout");
const QString kClientIdPrefix = QStringLiteral("Time:");
// Keeps the alarm server from dispatching and signing the messages to the previous holder.
const QString kNoDispatchPrefix = QStringLiteral("[NODISPATCH:1][NOSIGN:1]");

const CPageTarget* FindByIdOrNull(const CPageTargetArray& targets, const QString& id)
{
    return id.isEmpty() ? nullptr : targets.FindById(id);
}

// Replaces the placeholders in one pass, so a name that itself looks like a placeholder is not
// replaced again. A placeholder without a value (null) stays.
QString FillPlaceholders(
    const QString& text, const CPageTarget& group, const CPageTarget* previous, const CPageTarget* next)
{
    const std::array<std::pair<QLatin1StringView, const QString*>, 3> placeholders { {
        { QLatin1StringView("{{GROUP}}"), &group.m_name },
        { QLatin1StringView("{{CURRENT}}"), previous ? &previous->m_name : nullptr },
        { QLatin1StringView("{{NEXT}}"), next ? &next->m_name : nullptr },
    } };
    QString filled;
    filled.reserve(text.size() + 64);
    qsizetype pos = 0;
    while (pos < text.size()) {
        const qsizetype open = text.indexOf(QLatin1StringView("{{"), pos);
        if (open < 0)
            break;
        filled.append(QStringView(text).sliced(pos, open - pos));
        qsizetype consumed = 2;
        QStringView replacement = QStringView(text).sliced(open, 2);
        for (const auto& [name, value] : placeholders) {
            if (value && QStringView(text).sliced(open).startsWith(name)) {
                consumed = name.size();
                replacement = *value;
                break;
            }
        }
        filled.append(replacement);
        pos = open + consumed;
    }
    filled.append(QStringView(text).sliced(pos));
    return filled;
}

} // namespace

CTakeoverMode::CTakeoverMode()
    : m_requestText(DefaultRequestText())
    , m_confirmText(DefaultConfirmText())
    , m_timeoutText(DefaultTimeoutText())
{ }

QString CTakeoverMode::DefaultRequestText()
{
    return QCoreApplication::translate("CTakeoverMode", "Please confirm the takeover of duty for {{GROUP}}");
}

QString CTakeoverMode::DefaultConfirmText()
{
    return QCoreApplication::translate(
        "CTakeoverMode", "The takeover of duty for {{GROUP}} was confirmed by {{NEXT}}");
}

QString CTakeoverMode::DefaultTimeoutText()
{
    return QCoreApplication::translate(
        "CTakeoverMode", "Attention! - The duty for {{GROUP}} was not accepted by {{NEXT}}");
}

void CTakeoverMode::Load(CProfile& profile)
{
    CProfile::Batch batch(profile);
    const CSection settings(profile, kSettings);
    settings.Read(kRequestKey, m_requestText, DefaultRequestText());
    settings.Read(kConfirmKey, m_confirmText, DefaultConfirmText());
    settings.Read(kTimeoutKey, m_timeoutText, DefaultTimeoutText());
}

bool CTakeoverMode::Save(CProfile& profile) const
{
    // A null text would delete its key; an empty one is stored as such.
    const auto value = [](const QString& text) { return text.isNull() ? QStringLiteral("") : text; };
    bool stored = false;
    {
        CProfile::Batch batch(profile);
        CSection settings(profile, kSettings);
        settings.Write(kRequestKey, value(m_requestText));
        settings.Write(kConfirmKey, value(m_confirmText));
        settings.Write(kTimeoutKey, value(m_timeoutText));
        stored = batch.Commit();
    }
    ConfigLocation().RecordFileTime();
    return stored;
}

void CTakeoverMode::Check(
    CPageTargetArray& targets, const CDateTime& now, CServerCommandFactory& server) const
{
    for (qsizetype i = 0; i < targets.size(); ++i) {
        // The mutable access comes first, so that the pointers taken below stay valid.
        CPageTarget& group = targets[i];
        if (!group.IsGroup() || !group.m_takeover || !group.m_pendingTakeover.isEmpty()
            || !group.IsOnDuty(now))
            continue;
        const QString currentId = group.ReadCurrentTargetId();
        if (currentId.isEmpty())
            continue;
        const CPageTarget* current = targets.FindById(currentId);
        if (!current) {
            // The holder is gone from the server's list; the next dispatch check names a new one.
            KTRACE(lcEngine) << "takeover: clearing the unknown current target" << currentId << "of"
                             << group.m_id;
            group.WriteCurrentTargetId(QStringLiteral(""));
            continue;
        }
        if (current->IsOnDuty(now))
            continue;
        const CPageTarget* next = group.CurrentDutyMember(targets, now);
        if (!next)
            continue;
        if (SendMessage(RequestMessage, group, current, next, server))
            group.m_pendingTakeover = next->m_id;
        else
            KTRACE(lcEngine) << "takeover: request for" << group.m_id << "to" << next->m_id << "not sent";
    }
}

bool CTakeoverMode::SendMessage(int kind, const CPageTarget& group, const CPageTarget* previous,
    const CPageTarget* next, CServerCommandFactory& server) const
{
    const CPageTarget* receiver = nullptr;
    QString text;
    QString clientId;
    switch (kind) {
    case RequestMessage:
        receiver = next;
        text = m_requestText;
        clientId = kClientIdPrefix + group.m_id;
        break;
    case ConfirmMessage:
        receiver = previous;
        text = kNoDispatchPrefix + m_confirmText;
        break;
    case TimeoutMessage:
        receiver = previous;
        text = kNoDispatchPrefix + m_timeoutText;
        break;
    default:
        return false;
    }
    // Nothing goes to a receiver without a name: the alarm server would take it for another.
    if (!receiver || receiver->m_name.trimmed().isEmpty())
        return false;

    // The alarm server takes the arguments as they are: nothing is quoted or escaped inside them.
    const QString command = QStringLiteral("[send2(\"") + receiver->m_name + QStringLiteral("\",\"")
        + FillPlaceholders(text, group, previous, next) + QStringLiteral("\",\"\",0,\"Kelvaris\",\"")
        + clientId + QStringLiteral("\",)]");

    const std::unique_ptr<CServerCommand> object = server.Create();
    if (!object)
        return false;
    QString result;
    return object->ExecuteCommand(command, result);
}

void CTakeoverMode::HandleResponse(
    CPageTargetArray& targets, const CTakeoverResponse& response, CServerCommandFactory& server) const
{
    const QString groupId = QString(response.clientId).remove(kClientIdPrefix);
    if (groupId.isEmpty() || !targets.FindById(groupId))
        return;
    CPageTarget& group = *targets.FindById(groupId);
    // Only a takeover group has a holder to change; an answer naming anything else changes nothing.
    if (!group.IsGroup() || !group.m_takeover) {
        KTRACE(lcEngine) << "takeover: response for" << groupId << "which is no takeover group dropped";
        return;
    }

    const CPageTarget* previous = FindByIdOrNull(targets, group.ReadCurrentTargetId());
    // An answer from an ID the server's list does not hold stands for the member that was asked.
    const QString newHolderId
        = FindByIdOrNull(targets, response.targetId) ? response.targetId : group.m_pendingTakeover;
    const CPageTarget* next = FindByIdOrNull(targets, newHolderId);

    if (response.result != 0) {
        // A confirmation that names nobody (no such member and no open request) must not take the
        // duty away from the present holder.
        if (newHolderId.isEmpty()) {
            KTRACE(lcEngine) << "takeover: confirmation for" << groupId << "names no member; dropped";
            return;
        }
        // Only a member of the group can hold its duty, whoever sent the confirmation.
        if (!next || !group.HasMember(next->m_name)) {
            KTRACE(lcEngine) << "takeover: confirmation for" << groupId << "names" << newHolderId
                             << "which is no member of the group; dropped";
            return;
        }
        group.WriteCurrentTargetId(newHolderId);
        SendMessage(ConfirmMessage, group, previous, next, server);
    } else if (response.timeout != 0) {
        SendMessage(TimeoutMessage, group, previous, next, server);
    }
}
