#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QTextStream>

// kelvarisctl: the command-line companion of kelvaris. Every verb exits 0 on success, 1 when the
// other side did not answer or refused, 2 on bad usage, with a one-line message on standard error.
enum CtlExit : int { CTL_OK = 0, CTL_FAILED = 1, CTL_USAGE = 2 };

// Standard output and standard error of the process.
QTextStream& CtlOut();
QTextStream& CtlErr();

// Prints "kelvarisctl: <message>" on standard error and returns `code`.
int CtlFail(int code, const QString& message);

// The configuration file a verb works on: the one given with --config, else the one kelvaris
// itself uses (its data folder rules, for the program "kelvaris" beside this one).
QString CtlConfigPath(const QString& given);

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

// Reads "--name value" / "--name=value" options and positional arguments; unknown options and
// missing values are usage errors.
class CCtlArgs
{
public:
    CCtlArgs(const QStringList& args, const QStringList& valueOptions, const QStringList& flagOptions = {});

    bool Ok() const { return m_error.isEmpty(); }
    const QString& Error() const { return m_error; }
    bool Has(const QString& name) const { return m_values.contains(name) || m_flags.contains(name); }
    QString Value(const QString& name) const { return m_values.value(name); }
    const QStringList& Positional() const { return m_positional; }

private:
    QString m_error;
    QHash<QString, QString> m_values;
    QStringList m_flags;
    QStringList m_positional;
};
