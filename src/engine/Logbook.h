#pragma once

#include <QList>
#include <QString>

#include "schedule/DateTime.h"

class CBarrage;
class CShift;

// One line of the logbook: name, date, start time and event, as the main window shows them and the
// headless program prints them. The line also keeps what it reports, so that it can be written
// again in another language (Retranslated()).
struct CLogbookLine
{
    QString m_name;
    QString m_date;
    QString m_startTime;
    QString m_event;

    enum EKind { Text, Started, Activated, Deactivated, Barrier, Shift, Warning, Notice };
    EKind m_kind = Text;
    CDateTime m_moment; // the date column's moment
    CDateTime m_start; // the start time column's moment
    QString m_subject; // the record's name, or the warning's text
    int m_type = 0; // the barrier type, or the shift number
    int m_priority = 0; // the barrier's priority

    // The four texts separated by tabs.
    QString Joined() const;
};

// The line written anew in the language and formats in effect now; a plain text line stays as it is.
CLogbookLine Retranslated(const CLogbookLine& line);

// The engine's records before the first cycle carry this name.
bool IsNotEvaluated(const QString& recordName);

// "Started" (the event column says "Deactivated"): the first line of every logbook.
CLogbookLine StartedLine(const CDateTime& now);
// "Activated" / "Deactivated" at the moment.
CLogbookLine ActivatedLine(const CDateTime& now);
CLogbookLine DeactivatedLine(const CDateTime& now);
// "Warning" with the moment and the warning's text.
CLogbookLine WarningLine(const CDateTime& now, const QString& text);
// "Notice" with the moment and what became of a duty notice (sent, held, dropped, failed).
CLogbookLine NoticeLine(const CDateTime& now, const QString& text);

// The lines of a state change, in the order they are added: the barrier's line, then the shift's,
// each only for a real record (a name that is neither empty nor the not-evaluated mark). A
// logbook shows the newest on top, so the shift's line ends up above the barrier's.
QList<CLogbookLine> StateChangeLines(const CBarrage& barrier, const CShift& shift, const CDateTime& today);
