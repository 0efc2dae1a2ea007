#include "app/WarningForwarder.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <mutex>

#include <QCoreApplication>

namespace {

// Guards the installed forwarder: a warning on another thread must not reach one being destroyed.
std::recursive_mutex g_mutex; // a warning while one is forwarded comes back on the same thread
CWarningForwarder* g_forwarder = nullptr;
QtMessageHandler g_previous = nullptr;
std::atomic<int> g_pending { 0 };
std::atomic<long long> g_dropped { 0 };
// A message written while this thread forwards one is passed on only.
thread_local bool t_forwarding = false;

bool IsKelvarisWarning(QtMsgType type, const QMessageLogContext& context)
{
    return (type == QtWarningMsg || type == QtCriticalMsg) && context.category
        && std::strncmp(context.category, "kelvaris.", 9) == 0;
}

} // namespace

CWarningForwarder::CWarningForwarder(QObject* parent)
    : QObject(parent)
{
    const std::lock_guard lock(g_mutex);
    g_forwarder = this;
    g_pending = 0;
    g_dropped = 0;
    g_previous = qInstallMessageHandler(&CWarningForwarder::Handle);
}

CWarningForwarder::~CWarningForwarder()
{
    const std::lock_guard lock(g_mutex);
    if (g_forwarder != this)
        return;
    qInstallMessageHandler(g_previous);
    g_forwarder = nullptr;
    g_previous = nullptr;
}

void CWarningForwarder::Handle(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    QtMessageHandler previous = nullptr;
    {
        const std::lock_guard lock(g_mutex);
        previous = g_previous;
        if (g_forwarder && !t_forwarding && IsKelvarisWarning(type, context)) {
            t_forwarding = true;
            if (g_pending.fetch_add(1) < kMaxPending) {
                // Delivered on the forwarder's thread; dropped with the forwarder if it goes first.
                CWarningForwarder* forwarder = g_forwarder;
                QMetaObject::invokeMethod(
                    forwarder,
                    [forwarder, category = QString::fromLatin1(context.category), message] {
                        forwarder->Deliver(category, message);
                    },
                    Qt::QueuedConnection);
            } else {
                g_pending.fetch_sub(1);
                g_dropped.fetch_add(1);
            }
            t_forwarding = false;
        }
    }
    if (previous)
        previous(type, context, message);
    else
        std::fputs(qPrintable(qFormatLogMessage(type, context, message) + u'\n'), stderr);
}

void CWarningForwarder::Deliver(const QString& category, const QString& text)
{
    g_pending.fetch_sub(1);
    const long long dropped = g_dropped.exchange(0);
    if (dropped > 0)
        Q_EMIT Warning(category, text + tr(" (%1 more left out)").arg(dropped));
    else
        Q_EMIT Warning(category, text);
}
