#include "app/CommandLine.h"

void CTimeCommandLineInfo::ParseParams(const QStringList& params)
{
    for (const QString& param : params) {
        if (param == QLatin1String("--headless")) {
            m_headless = true;
            continue;
        }
        if (param == QLatin1String("--help") || param == QLatin1String("-h")) {
            m_help = true;
            continue;
        }
        if (param == QLatin1String("--version")) {
            m_version = true;
            continue;
        }
        const bool isSwitch = param.startsWith(QLatin1Char('/')) || param.startsWith(QLatin1Char('-'));
        const QString text = isSwitch ? param.mid(1) : param;
        if (isSwitch) {
            const QString name = text.toLower();
            if (name == QLatin1String("register") || name == QLatin1String("regserver"))
                m_shellCommand = AppRegister;
            else if (name == QLatin1String("unregister") || name == QLatin1String("unregserver"))
                m_shellCommand = AppUnregister;
            else if (name == QLatin1String("embedding"))
                m_runEmbedded = true;
            else if (name == QLatin1String("automation"))
                m_runAutomated = true;
            // Other switches are the framework's own (print, DDE) and mean nothing here.
        } else if (!param.isEmpty()) {
            m_fileName = param;
            if (m_shellCommand == FileNew)
                m_shellCommand = FileOpen;
        }
        if (text.left(3).toUpper() == QLatin1String("MIN")) {
            m_minimised = true;
            m_showSplash = false;
        }
    }
}
