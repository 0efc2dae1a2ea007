#include "Ctl.h"

#include <cstdio>

#include <QHash>

#include "schedule/ConfigLocation.h"

QTextStream& CtlOut()
{
    static QTextStream out(stdout);
    return out;
}

QTextStream& CtlErr()
{
    static QTextStream err(stderr);
    return err;
}

int CtlFail(int code, const QString& message)
{
    CtlOut().flush();
    CtlErr() << "kelvarisctl: " << message << Qt::endl;
    return code;
}

QString CtlConfigPath(const QString& given)
{
    if (!given.isEmpty())
        return given;
    CLocationInput input = LocationInputFromEnvironment();
    input.programPath = JoinPath(FolderOf(input.programPath), QStringLiteral("kelvaris"));
    return DetermineConfigPaths(input).configPath;
}

CCtlArgs::CCtlArgs(const QStringList& args, const QStringList& valueOptions, const QStringList& flagOptions)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (!arg.startsWith(QLatin1String("--")) || arg == QLatin1String("--")) {
            m_positional << arg;
            continue;
        }
        QString name = arg.mid(2);
        QString value;
        bool inlineValue = false;
        if (const qsizetype eq = name.indexOf(u'='); eq >= 0) {
            value = name.mid(eq + 1);
            name = name.left(eq);
            inlineValue = true;
        }
        if (flagOptions.contains(name) && !inlineValue) {
            m_flags << name;
        } else if (valueOptions.contains(name)) {
            if (!inlineValue) {
                if (i + 1 >= args.size()) {
                    m_error = QStringLiteral("option --%1 needs a value").arg(name);
                    return;
                }
                value = args[++i];
            }
            m_values.insert(name, value);
        } else {
            m_error = QStringLiteral("unknown option --%1").arg(name);
            return;
        }
    }
}
