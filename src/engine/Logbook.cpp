#include "engine/Logbook.h"

#include <QCoreApplication>

#include "schedule/Barrage.h"
#include "schedule/Shift.h"
#include "schedule/TextList.h"

namespace {
QString Tr(const char* text)
{
    return QCoreApplication::translate("CKelvarisView", text);
}

QString StartedText()
{
    return GetListItem(Tr(QT_TRANSLATE_NOOP("CKelvarisView", "Started")), 1);
}
QString DeactivatedText()
{
    return GetListItem(Tr(QT_TRANSLATE_NOOP("CKelvarisView", "Deactivated")), 1);
}
QString ActivatedText()
{
    return GetListItem(Tr(QT_TRANSLATE_NOOP("CKelvarisView", "Activated")), 1);
}

// The four texts of a line from what it keeps.
CLogbookLine Rendered(CLogbookLine line)
{
    // The logbook is saved to a file that others read: the year in four digits, never ambiguous.
    line.m_date = FormatDateTime(line.m_moment, DTF_DATE | DTF_FULLYEAR);
    line.m_startTime = FormatDateTime(line.m_start, DTF_TIME);
    switch (line.m_kind) {
    case CLogbookLine::Text:
        break;
    case CLogbookLine::Started:
        line.m_name = StartedText();
        line.m_event = DeactivatedText();
        break;
    case CLogbookLine::Activated:
        line.m_name = ActivatedText();
        line.m_event = ActivatedText();
        break;
    case CLogbookLine::Deactivated:
        line.m_name = DeactivatedText();
        line.m_event = DeactivatedText();
        break;
    case CLogbookLine::Barrier: {
        const QString kinds = Tr(QT_TRANSLATE_NOOP(
            "CKelvarisView", "Barrier/Pause with deleting;Barrier/Pause with sending;Pause without barrier"));
        line.m_name = line.m_subject;
        line.m_event = GetListItem(kinds, line.m_type) + QStringLiteral(" (%1)").arg(line.m_priority);
        break;
    }
    case CLogbookLine::Shift:
        line.m_name = line.m_subject;
        line.m_event = GetListItem(Tr(QT_TRANSLATE_NOOP("CKelvarisView", "Shift")), 1) + u' '
            + QString::number(line.m_type);
        break;
    case CLogbookLine::Warning:
        line.m_name = Tr(QT_TRANSLATE_NOOP("CKelvarisView", "Warning"));
        line.m_event = line.m_subject;
        break;
    case CLogbookLine::Notice:
        line.m_name = Tr(QT_TRANSLATE_NOOP("CKelvarisView", "Notice"));
        line.m_event = line.m_subject;
        break;
    }
    return line;
}

CLogbookLine Line(CLogbookLine::EKind kind, const CDateTime& moment, const CDateTime& start,
    const QString& subject = QString(), int type = 0, int priority = 0)
{
    CLogbookLine line;
    line.m_kind = kind;
    line.m_moment = moment;
    line.m_start = start;
    line.m_subject = subject;
    line.m_type = type;
    line.m_priority = priority;
    return Rendered(line);
}
} // namespace

QString CLogbookLine::Joined() const
{
    return m_name + u'\t' + m_date + u'\t' + m_startTime + u'\t' + m_event;
}

CLogbookLine Retranslated(const CLogbookLine& line)
{
    return line.m_kind == CLogbookLine::Text ? line : Rendered(line);
}

bool IsNotEvaluated(const QString& recordName)
{
    return recordName == QLatin1String("first");
}

CLogbookLine StartedLine(const CDateTime& now)
{
    return Line(CLogbookLine::Started, now, now);
}

CLogbookLine ActivatedLine(const CDateTime& now)
{
    return Line(CLogbookLine::Activated, now, now);
}

CLogbookLine DeactivatedLine(const CDateTime& now)
{
    return Line(CLogbookLine::Deactivated, now, now);
}

CLogbookLine WarningLine(const CDateTime& now, const QString& text)
{
    return Line(CLogbookLine::Warning, now, now, text);
}

CLogbookLine NoticeLine(const CDateTime& now, const QString& text)
{
    return Line(CLogbookLine::Notice, now, now, text);
}

QList<CLogbookLine> StateChangeLines(const CBarrage& barrier, const CShift& shift, const CDateTime& today)
{
    QList<CLogbookLine> lines;
    if (!barrier.m_name.isEmpty() && !IsNotEvaluated(barrier.m_name)) {
        lines << Line(CLogbookLine::Barrier, today, barrier.m_startTime, barrier.m_name,
            barrier.m_barrierType, barrier.m_priority);
    }
    if (!shift.m_name.isEmpty() && !IsNotEvaluated(shift.m_name))
        lines << Line(CLogbookLine::Shift, today, shift.m_startTime, shift.m_name, shift.m_shiftNumber);
    return lines;
}
