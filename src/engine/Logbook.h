#pragma once

#include <QList>
#include <QString>

class CBarrage;
class CDateTime;
class CShift;

// One line of the logbook: name, date, start time and event, as the main window shows them and the
// headless program prints them.
struct CLogbookLine
{
    QString m_name;
    QString m_date;
    QString m_startTime;
    QString m_event;

    // The four texts separated by tabs.
    QString Joined() const;
};

// The engine's records before the first cycle carry this name.
bool IsNotEvaluated(const QString& recordName);

// "Started" (the event column says "Deactivated"): the first line of every logbook.
CLogbookLine StartedLine(const CDateTime& now);
// "Activated" / "Deactivated" at the moment.
CLogbookLine ActivatedLine(const CDateTime& now);
CLogbookLine DeactivatedLine(const CDateTime& now);

// The lines of a state change, in the order they are added: the barrier's line, then the shift's,
// each only for a real record (a name that is neither empty nor the not-evaluated mark). A
// logbook shows the newest on top, so the shift's line ends up above the barrier's.
QList<CLogbookLine> StateChangeLines(const CBarrage& barrier, const CShift& shift, const CDateTime& today);
