#pragma once

#include "schedule/Barrage.h"
#include "schedule/DayContext.h"
#include "schedule/Shift.h"

class CHolidaysArray;

// The schedule as the engine sees it at one moment: the classified day, the current shift with
// its effective number and the current barrier, with the second counts the engine publishes.
struct CEvaluation
{
    CDayContext m_context;

    bool m_hasShift = false;
    CShift m_shift;
    int m_shiftNumber = 0; // effective (rotation applied); 0 when no shift applies
    qint64 m_shiftRemain = 0; // from now to the shift's end time
    qint64 m_shiftRemain2 = 0; // the same less the barrier seconds in that window
    qint64 m_shiftTotal = 0; // from the shift's start to its end time
    qint64 m_shiftTotal2 = 0; // the same less the barrier seconds in that window

    bool m_hasBarrier = false;
    CBarrage m_barrier;
    qint64 m_barrierRemain = 0; // from now to the barrier's end time
    qint64 m_barrierTotal = 0; // from the barrier's start to its end time
};

// The parts of the schedule an evaluation reads.
struct CScheduleLists
{
    const CHolidaysArray& holidays;
    int workDays;
    const CShiftArray& shifts;
    const CBarrageArray& barriers;
};

// Classifies the moment (holiday, day before and after a holiday, working day), finds the shift
// that applies with its effective number, clears the markers the shift lookup left, then finds
// the barrier that applies; all second counts use times of day only, so a record that runs past
// midnight gives negative counts.
CEvaluation EvaluateSchedule(const CScheduleLists& lists, const CDateTime& now);

// The moment up to which a barrier that holds messages (kind 2) holds them: starting with t =
// today's date at the barrier's end time, it probes t + 1 second (its day classified for holiday
// and working day only); while a kind-2 barrier applies there, t becomes that day at that
// barrier's end time and the walk goes on. So a chain of such barriers (22:00:00-23:59:59, then
// 00:00:00-06:00:00 the next day) holds messages until the chain's end. Returns false when the
// first probe already finds no kind-2 barrier, or when the chain is longer than 200 links (a
// barrier that never ends); `until` then holds today at the barrier's end time, which is what
// the alarm server is told in that case.
bool BarrierDelayUntil(
    const CScheduleLists& lists, const CBarrage& barrier, const CDateTime& now, CDateTime& until);

// The text System.BarringDelay carries for a delay-until moment: "11.12.2026 23:59:59" (day,
// month, four-digit year, 24-hour time with seconds), the form installed alarm servers read,
// whatever the locale the program runs under. Empty for an invalid moment.
QString BarringDelayText(const CDateTime& until);

// The barrier kind that holds messages and sends them after the barrier.
constexpr int kBarrierSendAfter = 2;
