#include "service/CommandLine.h"

void CTimeCommandLineInfo::ParseParams(const QStringList& params)
{
    for (qsizetype i = 0; i < params.size(); ++i) {
        const QString& param = params[i];
        if (param == QLatin1String("--calendar-folder")) {
            if (i + 1 >= params.size() || params[i + 1].isEmpty())
                m_usageError = QStringLiteral("--calendar-folder needs a folder");
            else
                m_calendarFolder = params[++i];
            continue;
        }
        if (param.startsWith(QLatin1String("--calendar-folder="))) {
            m_calendarFolder = param.mid(18);
            if (m_calendarFolder.isEmpty())
                m_usageError = QStringLiteral("--calendar-folder needs a folder");
            continue;
        }
        if (param == QLatin1String("--web-listen")) {
            if (i + 1 >= params.size())
                m_usageError
                    = QStringLiteral("--web-listen needs an address such as 127.0.0.1:8470 (empty: off)");
            else
                m_webListen = params[++i].isNull() ? QStringLiteral("") : params[i];
            continue;
        }
        if (param.startsWith(QLatin1String("--web-listen="))) {
            m_webListen = param.mid(13);
            if (m_webListen.isNull())
                m_webListen = QStringLiteral("");
            continue;
        }
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
        // Only the documented switches are switches; anything else, an absolute path such as
        // "/home/op/plan.tim" included, is the file to open. A switch name holds no "/".
        const bool switchForm = param.startsWith(QLatin1Char('/')) || param.startsWith(QLatin1Char('-'));
        const QString text = switchForm ? param.mid(1) : param;
        const QString name = text.toLower();
        bool isSwitch = switchForm && !name.contains(QLatin1Char('/'));
        if (isSwitch) {
            if (name == QLatin1String("register") || name == QLatin1String("regserver"))
                m_shellCommand = AppRegister;
            else if (name == QLatin1String("unregister") || name == QLatin1String("unregserver"))
                m_shellCommand = AppUnregister;
            else if (name == QLatin1String("embedding"))
                m_runEmbedded = true;
            else if (name == QLatin1String("automation"))
                m_runAutomated = true;
            else if (!name.startsWith(QLatin1String("min")))
                isSwitch = false;
        }
        if (!isSwitch && !param.isEmpty()) {
            m_fileName = param;
            if (m_shellCommand == FileNew)
                m_shellCommand = FileOpen;
        }
        if ((isSwitch || !switchForm) && text.left(3).toUpper() == QLatin1String("MIN")) {
            m_minimised = true;
            m_showSplash = false;
        }
    }
    if (!m_calendarFolder.isEmpty() && !m_headless && m_usageError.isEmpty())
        m_usageError = QStringLiteral(
            "--calendar-folder goes with --headless (the window uses the setting CalendarFolder)");
}

void CTimeCommandLineInfo::ParseArguments(int argc, char* argv[])
{
    QStringList params;
    for (int i = 1; i < argc; ++i)
        params << QString::fromLocal8Bit(argv[i]);
    ParseParams(params);
}
