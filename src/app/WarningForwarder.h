#pragma once

#include <QObject>
#include <QString>

// Shows Kelvaris warnings to the operator: a Qt message handler that passes every message on to
// the handler installed before it (standard error, the journal) and hands the warnings of the
// kelvaris.* categories, from any thread, to the thread of this object through a queued call,
// where Warning(text) is emitted. At most kMaxPending wait for delivery at a time; more are
// dropped, and the next one delivered says how many went. Installed while the object lives; the
// previous handler is back afterwards.
class CWarningForwarder : public QObject
{
    Q_OBJECT

public:
    static constexpr int kMaxPending = 16;

    explicit CWarningForwarder(QObject* parent = nullptr);
    ~CWarningForwarder() override;
    CWarningForwarder(const CWarningForwarder&) = delete;
    CWarningForwarder& operator=(const CWarningForwarder&) = delete;

Q_SIGNALS:
    // On the object's thread: the warning's category ("kelvaris.pipe") and text, with the number
    // of those dropped before it.
    void Warning(const QString& category, const QString& text);

private:
    static void Handle(QtMsgType type, const QMessageLogContext& context, const QString& message);
    void Deliver(const QString& category, const QString& text);
};
