#pragma once

#include <QString>
#include <QStringList>

// What the command line asks of the program.
struct CTimeCommandLineInfo
{
    enum EShellCommand { FileNew, FileOpen, AppRegister, AppUnregister };

    EShellCommand m_shellCommand = FileNew;
    bool m_runEmbedded = false; // -Embedding
    bool m_runAutomated = false; // -Automation
    bool m_minimised = false; // a parameter whose first three letters are "MIN"
    bool m_showSplash = true;
    QString m_fileName; // FileOpen
    bool m_headless = false; // --headless
    bool m_help = false; // --help
    bool m_version = false; // --version
    QString m_calendarFolder; // --calendar-folder DIR (or --calendar-folder=DIR)
    QString m_webListen; // --web-listen ADDRESS (or =ADDRESS); null when not given, empty turns it off
    QString m_usageError; // a program option without its value

    // Each parameter in turn: a switch ("/" or "-") Register or RegServer, Unregister or UnregServer,
    // Embedding, Automation (any case), otherwise a file name to open (the last one counts). Then,
    // whatever it was, a parameter whose text without its switch character begins with "MIN" (any
    // case) asks for a minimised start, so "MINUTES" is both a file name and the minimised start.
    // The program's own "--headless", "--help", "--version" and "--calendar-folder DIR" are taken
    // first.
    void ParseParams(const QStringList& params);
    // The same for a program's own arguments (argv[1] on, in the local 8-bit encoding).
    void ParseArguments(int argc, char* argv[]);
    bool IsAutomationServer() const { return m_runEmbedded || m_runAutomated; }
};
