#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <QTimeZone>

#include "schedule/DateTime.h"
#include "schedule/Moment.h"

// kelvarisctl: the command-line companion of kelvaris. Every verb exits 0 on success, 1 when the
// other side did not answer or refused, 2 on bad usage, with a one-line message on standard error.
// (oncall also exits 3 when its data could not be read, the monitoring convention for UNKNOWN.)
enum CtlExit : int { CTL_OK = 0, CTL_FAILED = 1, CTL_USAGE = 2, CTL_UNKNOWN = 3 };

// Standard output and standard error of the process.
QTextStream& CtlOut();
QTextStream& CtlErr();

// Prints "kelvarisctl: <message>" on standard error and returns `code`.
int CtlFail(int code, const QString& message);

// The configuration file a verb works on: the one given with --config, else the one kelvaris
// itself uses (its data folder rules, for the program "kelvaris" beside this one). A file given
// with --config must be a readable file; otherwise `error` names the path and the reason and the
// result is empty.
class CCtlCommand;
QString CtlConfigPath(const CCtlCommand& command, QString& error);
QString CtlConfigPath(bool isGiven, const QString& given, QString& error);
// Adds the --config option to a verb.
void CtlAddConfigOption(CCtlCommand& command);

// The time texts --at and --time take, each with what it means: examples that the date parser
// reads (the help lists them, and the tests read every one back).
const QList<QPair<QString, QString>>& CtlTimeExamples();
// The examples as help lines, indented.
QString CtlTimeExamplesHelp();

// Adds --at TEXT, the moment a verb works at (default now), with the forms it takes in the help.
void CtlAddAtOption(CCtlCommand& command, const QString& description);

// The zone of the site's wall clock: the configuration's Settings/TimeZone, else the system's.
class CProfile;
QTimeZone SiteTimeZoneOf(const CProfile& profile);

using CCtlMoment = CMoment;
// The moment --at gives in the zone (now without it): ISO 8601 with "T" or a blank, minutes with
// or without seconds, with "Z" or an offset, or any form of the date parser; a local time the
// clocks skip in the zone is an error naming the zone, one they repeat is its first pass. Returns
// -1 when it was read; otherwise the exit code, after the usage error was reported.
int CtlReadMoment(const CCtlCommand& command, const QTimeZone& zone, CCtlMoment& moment);
// The same, reading a text; false with `error` set when it does not name a moment.
bool CtlMomentFromText(const QString& text, const QTimeZone& zone, CCtlMoment& moment, QString& error);

// --as-of TEXT: the targets as they stood then, replayed from the edit journal of the
// configuration's data folder. Returns -1 when they were replayed; otherwise the exit code, after
// the problem was reported ("<verb>: the schedule as of ... cannot be replayed: ...", exit 3).
class CPageTargetArray;
void CtlAddAsOfOption(CCtlCommand& command);
int CtlTargetsAsOf(const CCtlCommand& command, const QString& configPath, CPageTargetArray& targets);
// The same for the configuration's schedule (settings, shifts, barriers/pauses, holidays) as the
// text of a configuration file.
int CtlConfigAsOf(const CCtlCommand& command, const QString& configPath, QString& text);

// A verb gets the arguments after its name.
int CtlEval(const QStringList& args);
int CtlHolidays(const QStringList& args);
int CtlCheck(const QStringList& args);
int CtlDispatch(const QStringList& args);
int CtlResponse(const QStringList& args);
int CtlSend(const QStringList& args);
int CtlDde(const QStringList& args);
int CtlDo(const QStringList& args);
int CtlExport(const QStringList& args);
int CtlIcal(const QStringList& args);
int CtlOncall(const QStringList& args);
int CtlCoverage(const QStringList& args);
int CtlHistory(const QStringList& args);
int CtlNotices(const QStringList& args);

// The command line of one verb (or sub-verb such as "holidays list"), read with QCommandLineParser:
// its options, --help (the verb's usage with every option) and --version. Options may come before,
// between or after the arguments; "--" ends the options.
class CCtlCommand
{
public:
    // `name`: the words after "kelvarisctl" ("eval", "dde get"); `synopsis`: the usage after the
    // name; `description`: what the verb does (lines kept as they are).
    CCtlCommand(QString name, QString synopsis, QString description);

    // An option "--name VALUE" (`valueName` given) or a flag "--name".
    void AddOption(const QString& name, const QString& description, const QString& valueName = QString());
    // An argument shown in the help.
    void AddArgument(const QString& name, const QString& description);
    // A line block printed after the options in the help.
    void AddNotes(const QString& notes) { m_notes = notes; }
    // Stops reading options at the first argument: the rest belongs to a sub-verb.
    void StopAtFirstArgument();

    // Reads the arguments. Returns -1 when the verb is to run; otherwise the exit code, after the
    // help or the version was printed or a usage error ("kelvarisctl VERB: Unknown option 'x'.")
    // was reported.
    int Parse(const QStringList& args);

    const QString& Verb() const { return m_name; }
    bool IsSet(const QString& name) const { return m_parser.isSet(name); }
    QString Value(const QString& name) const { return m_parser.value(name); }
    QStringList Arguments() const { return m_parser.positionalArguments(); }
    // A usage error of this verb: "kelvarisctl: VERB: message", exit code 2.
    int Usage(const QString& message) const;
    // The message of the last usage error reported, empty before one.
    const QString& LastUsage() const { return m_lastUsage; }
    QString HelpText() const;

private:
    QString m_name;
    QString m_synopsis;
    QString m_description;
    QString m_notes;
    QCommandLineParser m_parser;
    mutable QString m_lastUsage;
};
