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

CLogbookLine At(const QString& name, const CDateTime& moment, const CDateTime& start, const QString& event)
{
    // The logbook is saved to a file that others read: the year in four digits, never ambiguous.
    return { name, FormatDateTime(moment, DTF_DATE | DTF_FULLYEAR), FormatDateTime(start, DTF_TIME), event };
}
} // namespace

QString CLogbookLine::Joined() const
{
    return m_name + u'\t' + m_date + u'\t' + m_startTime + u'\t' + m_event;
}

bool IsNotEvaluated(const QString& recordName)
{
    return recordName == QLatin1String("first");
}

CLogbookLine StartedLine(const CDateTime& now)
{
    return At(StartedText(), now, now, DeactivatedText());
}

CLogbookLine ActivatedLine(const CDateTime& now)
{
    return At(ActivatedText(), now, now, ActivatedText());
}

CLogbookLine DeactivatedLine(const CDateTime& now)
{
    return At(DeactivatedText(), now, now, DeactivatedText());
}

QList<CLogbookLine> StateChangeLines(const CBarrage& barrier, const CShift& shift, const CDateTime& today)
{
    QList<CLogbookLine> lines;
    if (!barrier.m_name.isEmpty() && !IsNotEvaluated(barrier.m_name)) {
        const QString kinds = Tr(QT_TRANSLATE_NOOP(
            "CKelvarisView", "Barrier/Pause with deleting;Barrier/Pause with sending;Pause without barrier"));
        lines << At(barrier.m_name, today, barrier.m_startTime,
            GetListItem(kinds, barrier.m_barrierType) + QStringLiteral(" (%1)").arg(barrier.m_priority));
    }
    if (!shift.m_name.isEmpty() && !IsNotEvaluated(shift.m_name)) {
        lines << At(shift.m_name, today, shift.m_startTime,
            GetListItem(Tr(QT_TRANSLATE_NOOP("CKelvarisView", "Shift")), 1) + u' '
                + QString::number(shift.m_shiftNumber));
    }
    return lines;
}
