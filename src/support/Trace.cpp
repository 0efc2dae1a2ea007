#include "support/Trace.h"

#include <QStringList>

Q_LOGGING_CATEGORY(lcApp, "kelvaris.app", QtInfoMsg)
Q_LOGGING_CATEGORY(lcConfig, "kelvaris.config", QtInfoMsg)
Q_LOGGING_CATEGORY(lcEngine, "kelvaris.engine", QtInfoMsg)
Q_LOGGING_CATEGORY(lcDispatch, "kelvaris.dispatch", QtInfoMsg)
Q_LOGGING_CATEGORY(lcServer, "kelvaris.server", QtInfoMsg)
Q_LOGGING_CATEGORY(lcPipe, "kelvaris.pipe", QtInfoMsg)
Q_LOGGING_CATEGORY(lcDde, "kelvaris.dde", QtInfoMsg)
Q_LOGGING_CATEGORY(lcAutomation, "kelvaris.automation", QtInfoMsg)
Q_LOGGING_CATEGORY(lcPlanning, "kelvaris.planning", QtInfoMsg)

QString TraceRulesFor(const QString& categories)
{
    QStringList rules { QStringLiteral("kelvaris.*.debug=false") };
    const QStringList names = categories.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (QString name : names) {
        name = name.trimmed().toLower();
        if (name.isEmpty())
            continue;
        // Only plain category names: a value from the environment must not inject other rules.
        bool plain = true;
        for (QChar c : name)
            plain = plain && (c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('*'));
        if (!plain)
            continue;
        if (name == QLatin1String("all") || name == QLatin1String("*"))
            name = QStringLiteral("*");
        rules << QStringLiteral("kelvaris.%1.debug=true").arg(name);
    }
    return rules.join(QLatin1Char('\n'));
}

void InitTrace()
{
    const QString value = qEnvironmentVariable("KELVARIS_TRACE");
    if (value.isEmpty())
        return;
    QLoggingCategory::setFilterRules(TraceRulesFor(value));
    qSetMessagePattern(QStringLiteral("%{time hh:mm:ss.zzz} %{category} %{message}"));
}
