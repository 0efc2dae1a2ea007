#include "engine/Dispatch.h"

#include <utility>

#include "schedule/DateTime.h"
#include "schedule/PageTarget.h"
#include "support/Trace.h"

QString DispatchResultWord(int code)
{
    switch (code) {
    case kDispatchSend:
        return QStringLiteral("Send");
    case kDispatchDiscard:
        return QStringLiteral("Discard");
    case kDispatchDelay:
        return QStringLiteral("Delay");
    case kDispatchNotDispatched:
        return QStringLiteral("NotDispatched");
    default:
        return QString();
    }
}

int CheckDispatching(CPageTargetArray& targets, const QString& dispatchingId, const QString& groupId,
    const QString& timeText, CDispatchOutcome* outcome)
{
    int result = kDispatchSend;

    CPageTarget* takeoverGroup = nullptr;
    bool groupDecided = false;
    if (!groupId.isEmpty()) {
        CPageTarget* group = targets.FindById(groupId);
        if (group && group->IsGroup() && group->m_takeover) {
            takeoverGroup = group;
            // Read from the dispatch file every time: the takeover mode or an operator may have
            // changed it since the last check.
            const QString current = group->ReadCurrentTargetId();
            if (!current.isEmpty()) {
                groupDecided = true;
                if (current != dispatchingId)
                    result = kDispatchNotDispatched;
            }
        }
    }

    // The receiver and the time matter only when no group decided (and for the trace); a group
    // that decides spares their cost, since this runs for every message of the alarm server.
    const bool tracing = lcDispatch().isDebugEnabled();
    const CPageTarget* receiver = nullptr;
    CDateTime time;
    // An empty ID names nobody, even if some target were listed without an ID.
    if ((!groupDecided || tracing || (outcome && outcome->findReceiver)) && !dispatchingId.isEmpty())
        receiver = std::as_const(targets).FindById(dispatchingId);
    // The parse's success flag does not matter: unreadable text leaves an invalid moment, which
    // lies in no range.
    if (!groupDecided || tracing)
        DateTimeFromText(timeText, time);

    if (!groupDecided && receiver) {
        if (!receiver->IsOnDuty(time))
            result = kDispatchNotDispatched;
        else if (takeoverGroup && takeoverGroup->HasMember(receiver->m_name)) {
            takeoverGroup->WriteCurrentTargetId(dispatchingId);
            if (outcome)
                outcome->holderSetIn = takeoverGroup;
        }
    }
    if (outcome)
        outcome->receiver = receiver;

    if (tracing) {
        KTRACE(lcDispatch) << QStringLiteral("Dispatch: Check ") + dispatchingId + QLatin1Char(' ')
                + (receiver ? receiver->m_name : QString()) + QStringLiteral(", ")
                + FormatDateTime(time, DTF_DATETIME);
        KTRACE(lcDispatch) << QStringLiteral("\nDispatch:     Result=") + DispatchResultWord(result)
                + QLatin1Char('\n');
    }
    return result;
}
