#pragma once

// Page targets and dispatch ranges for the planning tests.

#include <QString>

#include "schedule/DispatchRange.h"
#include "schedule/PageTarget.h"

// A receiver (number >= 0) or a group (negative) whose ID is its name.
inline CPageTarget Target(const QString& name, int number, quint32 colour, const QString& members = {})
{
    CPageTarget target;
    target.m_name = name;
    target.m_id = name;
    target.m_number = number;
    target.m_colour = colour;
    target.m_members = members;
    return target;
}

// A range on a date from one minute of the day to another.
inline CDispatchRange Range(int year, int month, int day, int from, int to)
{
    CDispatchRange range;
    range.m_year = year;
    range.m_month = month;
    range.m_day = day;
    range.m_from = from;
    range.m_to = to;
    return range;
}
