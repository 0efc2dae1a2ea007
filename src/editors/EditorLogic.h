#pragma once

#include <span>

#include <QList>
#include <QString>
#include <QStringList>

#include "schedule/Barrage.h"
#include "schedule/DateTime.h"
#include "schedule/Shift.h"

class QComboBox;

// The deciding rules of the barrier and shift editors, kept apart from the widgets so that they
// can be read and tested on their own.

// --- Date types in the editors' order ----------------------------------------------------------------

// The date-type combo boxes list the types in rank order (Special date, Holiday, Day before
// holiday, Day after Holiday, Monday to Sunday, Working day, Weekend), not in code order.
inline constexpr int kDateTypePositions = 13;

// The date type at a 0-based combo position; DATETYPE_NONE for a position outside the list.
int DateTypeAtPosition(int position);
// The 0-based combo position of a date type; -1 for a type that is not 1 to 13.
int DateTypePosition(int dateType);
// The translated date type texts in combo order.
QStringList DateTypeItems();

// Whether a record of this date type may rotate weekly: not for a fixed date or the holiday types
// (Special date, Holiday, Day before holiday, Day after Holiday), and only with a shift number.
bool RotationAllowed(int dateType, int shiftNumber);

// --- Numbers typed into the editable combo boxes -----------------------------------------------------

// The leading decimal number of a text, after blanks and an optional sign: "7 (very low)" gives 7,
// "x" gives 0. Saturates at the int range.
int LeadingDecimal(const QString& text);
// The leading number with automatic base: "0x1A" is hexadecimal, "017" octal, anything else
// decimal; 0 when the text does not begin with a number. Saturates at the int range.
int LeadingNumberAutoBase(const QString& text);
// A typed or chosen shift number: the leading number with automatic base; "No Shift" and
// negative numbers give 0 (no shift).
int ShiftNumberFromText(const QString& text);
// The index of the first item that begins with the text (ignoring case), or -1.
int FindItemStartingWith(const QStringList& items, const QString& text);

// --- Fixed item lists ----------------------------------------------------------------------------------

// "With deleting the message", "With sending after barrier", "No barrier": item n - 1 is type n.
QStringList BarrierTypeItems();
// "0 (Default)" to "8 (very very low)": item n is priority level n.
QStringList PriorityItems();
// The barrier type's text; empty for a type without one.
QString BarrierTypeText(int barrierType);
// The priority level's text, or the level as a decimal number when there is no such level.
QString PriorityText(int priority);
// "1" to "9" and "No Shift" (the last item stands for number 0).
QStringList ShiftNumberItems();
QString NoShiftText();
// "W1" to "W52": item n is starting week index n.
QStringList StartWeekItems();
inline constexpr int kStartWeekCount = 52;
// "1" to "4".
QStringList CycleItems();

// Replaces the items of a combo box with translated ones, keeping the selection and, for an
// editable box, a typed text that is not one of the items.
void SetComboItems(QComboBox* combo, const QStringList& items);

// --- The list dialogs --------------------------------------------------------------------------------

struct CListColumn
{
    const char* text; // untranslated header, translated in the list dialog's context
    int percent; // share of the list's inner width
};

// Identification, Date type, Date, Start time, End time, Type of barrier/pause, Priority.
std::span<const CListColumn> BarrageColumns();
// Identification, Date type, Date, Start time, End time, Shift no.
std::span<const CListColumn> ShiftColumns();
// The width of a column: its share of the list's width less the vertical scroll bar and the two
// frame edges.
int ColumnWidth(int percent, int listWidth, int scrollBarWidth, int frameWidth);
// The widths of columns that share an inner width by percent but must each be at least as wide as
// its texts need: a column whose share is smaller than its need gets its need, and the width left
// is shared by the other columns' percentages. When everything fits, the columns are exactly their
// shares; when the width is less than the sum of the needs, every column gets its need.
QList<int> SharedColumnWidths(std::span<const int> needs, std::span<const int> percents, int innerWidth);

// Texts typical of each list column, in column order, that its width is measured by: a name of 30
// characters, every date type, a date, times to the second, every barrier type and priority
// (barriers) or shift numbers with a rotation (shifts).
QList<QStringList> BarrageColumnSamples();
QList<QStringList> ShiftColumnSamples();

// The shift number as shown in the list: the number, "No Shift" for 0, and for a rotating shift
// the range of numbers it runs through ("3 - 4" for shift 3 rotating over 2 weeks).
QString ShiftNumberText(const CShift& shift);
// The cells of a list row, in column order.
QStringList BarrageRowTexts(const CBarrage& barrier);
QStringList ShiftRowTexts(const CShift& shift);

// Field by field equality of the stored fields, to find a record again after the list is sorted.
bool SameStoredFields(const CBarrage& a, const CBarrage& b);
bool SameStoredFields(const CShift& a, const CShift& b);

// --- The entry dialogs -----------------------------------------------------------------------------

// The values of the barrier entry dialog's controls.
struct CBarrageFields
{
    QString name;
    int dateTypePosition = 0; // 0-based combo position, -1 for none
    CDateTime date; // used only for a special date
    CDateTime fromTime = CDateTime::TimeOfDay(0, 0, 0);
    CDateTime toTime = CDateTime::TimeOfDay(23, 59, 59);
    int barrierTypeIndex = 0; // 0-based combo index, -1 for none
    QString priorityText;
};

// The values of the shift entry dialog's controls.
struct CShiftFields
{
    QString name;
    int dateTypePosition = 0;
    CDateTime date;
    CDateTime fromTime = CDateTime::TimeOfDay(0, 0, 0);
    CDateTime toTime = CDateTime::TimeOfDay(23, 59, 59);
    QString numberText;
    bool rotating = false;
    int startWeekIndex = 0; // 0 is week 1
    QString cycleText;
};

// The presets of a new record: the current date, 00:00:00 to 23:59:59, the first item of every
// combo box.
CBarrageFields NewBarrageFields(const CDateTime& now);
CShiftFields NewShiftFields(const CDateTime& now);

// Record <-> controls. A date is kept only for a special date; other types store the zero date.
CBarrage BarrageFromFields(const CBarrageFields& fields);
CBarrageFields FieldsFromBarrage(const CBarrage& barrier);
// The rotation flag is stored only where rotation is allowed (see RotationAllowed).
CShift ShiftFromFields(const CShiftFields& fields);
CShiftFields FieldsFromShift(const CShift& shift);

// OK is offered exactly when the record has a name and the to time is after the from time.
bool EntryAcceptable(const QString& name, const CDateTime& fromTime, const CDateTime& toTime);

// The times after one of them was changed: a to time not after the from time is pulled to it
// (and the other way round), so that the range never runs backwards.
struct CTimeRange
{
    CDateTime fromTime;
    CDateTime toTime;
};
CTimeRange AfterFromTimeChanged(const CTimeRange& range);
CTimeRange AfterToTimeChanged(const CTimeRange& range);

// Which rotation controls of the shift entry are enabled: the check box where rotation is allowed,
// the start week, the cycle and their labels where it is also checked.
struct CRotationState
{
    bool boxEnabled = false;
    bool boxChecked = false;
    bool controlsEnabled = false;
};
CRotationState RotationState(int dateType, int shiftNumber, bool checked);
