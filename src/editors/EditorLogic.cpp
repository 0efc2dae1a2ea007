#include "editors/EditorLogic.h"

#include <algorithm>
#include <array>
#include <climits>

#include <QComboBox>
#include <QCoreApplication>
#include <QSignalBlocker>

#include "schedule/DateType.h"
#include "schedule/Profile.h"
#include "support/Scan.h"

namespace {

// Date type at each combo position, in rank order.
constexpr std::array<int, kDateTypePositions> kPositionToType
    = { DATETYPE_SPECIAL, DATETYPE_HOLIDAY, DATETYPE_DAYBEFORE, DATETYPE_DAYAFTER, DATETYPE_MONDAY,
          DATETYPE_TUESDAY, DATETYPE_WEDNESDAY, DATETYPE_THURSDAY, DATETYPE_FRIDAY, DATETYPE_SATURDAY,
          DATETYPE_SUNDAY, DATETYPE_WORKINGDAY, DATETYPE_WEEKEND };

// 0-based combo position of date types 0 to 13 (-1 for none).
constexpr std::array<int, DATETYPE_LAST + 1> kTypeToPosition
    = { -1, 0, 1, 4, 5, 6, 7, 8, 9, 10, 11, 12, 2, 3 };

const char* const kBarrierTypes[] = {
    QT_TRANSLATE_NOOP("CBarrageEntry", "With deleting the message"),
    QT_TRANSLATE_NOOP("CBarrageEntry", "With sending after barrier"),
    QT_TRANSLATE_NOOP("CBarrageEntry", "No barrier"),
};

const char* const kPriorities[] = {
    QT_TRANSLATE_NOOP("CBarrageEntry", "0 (Default)"),
    QT_TRANSLATE_NOOP("CBarrageEntry", "1 (Emergency)"),
    QT_TRANSLATE_NOOP("CBarrageEntry", "2 (very very high)"),
    QT_TRANSLATE_NOOP("CBarrageEntry", "3 (very high)"),
    QT_TRANSLATE_NOOP("CBarrageEntry", "4 (high)"),
    QT_TRANSLATE_NOOP("CBarrageEntry", "5 (normal)"),
    QT_TRANSLATE_NOOP("CBarrageEntry", "6 (low)"),
    QT_TRANSLATE_NOOP("CBarrageEntry", "7 (very low)"),
    QT_TRANSLATE_NOOP("CBarrageEntry", "8 (very very low)"),
};

constexpr CListColumn kBarrageColumns[] = {
    { QT_TRANSLATE_NOOP("CBarrageListDialog", "Identification"), 17 },
    { QT_TRANSLATE_NOOP("CBarrageListDialog", "Date type"), 14 },
    { QT_TRANSLATE_NOOP("CBarrageListDialog", "Date"), 10 },
    { QT_TRANSLATE_NOOP("CBarrageListDialog", "Start time"), 10 },
    { QT_TRANSLATE_NOOP("CBarrageListDialog", "End time"), 9 },
    { QT_TRANSLATE_NOOP("CBarrageListDialog", "Type of barrier/pause"), 24 },
    { QT_TRANSLATE_NOOP("CBarrageListDialog", "Priority"), 16 },
};

constexpr CListColumn kShiftColumns[] = {
    { QT_TRANSLATE_NOOP("CShiftListDialog", "Identification"), 20 },
    { QT_TRANSLATE_NOOP("CShiftListDialog", "Date type"), 18 },
    { QT_TRANSLATE_NOOP("CShiftListDialog", "Date"), 14 },
    { QT_TRANSLATE_NOOP("CShiftListDialog", "Start time"), 16 },
    { QT_TRANSLATE_NOOP("CShiftListDialog", "End time"), 14 },
    { QT_TRANSLATE_NOOP("CShiftListDialog", "Shift no."), 18 },
};

CDateTime DateForType(int dateType, const CDateTime& date)
{
    // Only a special date uses its date; every other type keeps the zero date.
    if (dateType == DATETYPE_SPECIAL && date.IsValid())
        return date.DatePart();
    return CDateTime();
}

QString Translated(const char* context, const char* text)
{
    return QCoreApplication::translate(context, text);
}

} // namespace

// --- Date types --------------------------------------------------------------------------------------

int DateTypeAtPosition(int position)
{
    if (position < 0 || position >= kDateTypePositions)
        return DATETYPE_NONE;
    return kPositionToType[size_t(position)];
}

int DateTypePosition(int dateType)
{
    if (dateType < 0 || dateType > DATETYPE_LAST)
        return -1;
    return kTypeToPosition[size_t(dateType)];
}

QStringList DateTypeItems()
{
    QStringList items;
    items.reserve(kDateTypePositions);
    for (const int dateType : kPositionToType)
        items.append(DateTypeText(dateType));
    return items;
}

bool RotationAllowed(int dateType, int shiftNumber)
{
    switch (dateType) {
    case DATETYPE_SPECIAL:
    case DATETYPE_HOLIDAY:
    case DATETYPE_DAYBEFORE:
    case DATETYPE_DAYAFTER:
        return false;
    default:
        return shiftNumber != 0;
    }
}

// --- Numbers -----------------------------------------------------------------------------------------

int LeadingDecimal(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    int value = 0;
    return ScanNumbers(std::string_view(bytes.constData(), size_t(bytes.size())), "%d", &value, 1) == 1
        ? value
        : 0;
}

int LeadingNumberAutoBase(const QString& text)
{
    return int(std::clamp<long>(ScanLong(text), INT_MIN, INT_MAX));
}

int ShiftNumberFromText(const QString& text)
{
    return std::max(0, LeadingNumberAutoBase(text));
}

int FindItemStartingWith(const QStringList& items, const QString& text)
{
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (items.at(i).startsWith(text, Qt::CaseInsensitive))
            return int(i);
    }
    return -1;
}

// --- Item lists --------------------------------------------------------------------------------------

QStringList BarrierTypeItems()
{
    QStringList items;
    for (const char* text : kBarrierTypes)
        items.append(Translated("CBarrageEntry", text));
    return items;
}

QStringList PriorityItems()
{
    QStringList items;
    for (const char* text : kPriorities)
        items.append(Translated("CBarrageEntry", text));
    return items;
}

QString BarrierTypeText(int barrierType)
{
    if (barrierType < 1 || barrierType > int(std::size(kBarrierTypes)))
        return QString();
    return Translated("CBarrageEntry", kBarrierTypes[barrierType - 1]);
}

QString PriorityText(int priority)
{
    if (priority < 0 || priority >= int(std::size(kPriorities)))
        return QString::number(priority);
    return Translated("CBarrageEntry", kPriorities[priority]);
}

QString NoShiftText()
{
    return QCoreApplication::translate("CShiftEntry", "No Shift");
}

QStringList ShiftNumberItems()
{
    QStringList items;
    for (int n = 1; n <= 9; ++n)
        items.append(QString::number(n));
    items.append(NoShiftText());
    return items;
}

QStringList StartWeekItems()
{
    QStringList items;
    items.reserve(kStartWeekCount);
    //: A calendar week in the rotation's start week list: W1 is week 1.
    const QString picture = QCoreApplication::translate("CShiftEntry", "W%1");
    for (int week = 1; week <= kStartWeekCount; ++week)
        items.append(picture.arg(week));
    return items;
}

QStringList CycleItems()
{
    return { QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4") };
}

void SetComboItems(QComboBox* combo, const QStringList& items)
{
    const int current = combo->currentIndex();
    const QString text = combo->currentText();
    const bool typed = combo->isEditable() && (current < 0 || combo->itemText(current) != text);
    const QSignalBlocker blocker(combo);
    if (combo->count() == items.size()) {
        for (int i = 0; i < combo->count(); ++i)
            combo->setItemText(i, items.at(i));
    } else {
        combo->clear();
        combo->addItems(items);
        combo->setCurrentIndex(current < combo->count() ? current : -1);
    }
    if (typed)
        combo->setEditText(text);
}

// --- List dialogs ----------------------------------------------------------------------------------

std::span<const CListColumn> BarrageColumns()
{
    return kBarrageColumns;
}

std::span<const CListColumn> ShiftColumns()
{
    return kShiftColumns;
}

int ColumnWidth(int percent, int listWidth, int scrollBarWidth, int frameWidth)
{
    const int inner = std::max(0, listWidth - scrollBarWidth - 2 * frameWidth);
    return int(qint64(inner) * percent / 100);
}

QList<int> SharedColumnWidths(std::span<const int> needs, std::span<const int> percents, int innerWidth)
{
    const qsizetype count = qsizetype(std::min(needs.size(), percents.size()));
    QList<int> widths(count, 0);
    QList<bool> atNeed(count, false);
    qint64 remaining = std::max(0, innerWidth);
    // Columns whose share falls short take their need; the others share what is left. Each pass
    // fixes at least one more column or ends, so this ends after at most `count` passes.
    for (bool changed = true; changed;) {
        changed = false;
        qint64 percentSum = 0;
        for (qsizetype c = 0; c < count; ++c)
            percentSum += atNeed[c] ? 0 : std::max(0, percents[size_t(c)]);
        for (qsizetype c = 0; c < count; ++c) {
            if (atNeed[c])
                continue;
            const qint64 share
                = percentSum > 0 ? remaining * std::max(0, percents[size_t(c)]) / percentSum : 0;
            if (share < needs[size_t(c)]) {
                atNeed[c] = true;
                widths[c] = needs[size_t(c)];
                remaining = std::max<qint64>(0, remaining - needs[size_t(c)]);
                changed = true;
                break;
            }
        }
    }
    qint64 percentSum = 0;
    for (qsizetype c = 0; c < count; ++c)
        percentSum += atNeed[c] ? 0 : std::max(0, percents[size_t(c)]);
    for (qsizetype c = 0; c < count; ++c) {
        if (!atNeed[c])
            widths[c] = percentSum > 0 ? int(remaining * std::max(0, percents[size_t(c)]) / percentSum) : 0;
    }
    return widths;
}

namespace {
QList<QStringList> CommonColumnSamples()
{
    // Two-digit days and months and the widest hours, as every locale's form shows them.
    const QStringList times = { FormatDateTime(CDateTime::TimeOfDay(23, 59, 59), DTF_TIME),
        FormatDateTime(CDateTime::TimeOfDay(12, 0, 0), DTF_TIME) };
    return { { QString(30, u'n') }, DateTypeItems(),
        { FormatDateTime(CDateTime(2028, 12, 28, 0, 0, 0), DTF_DATE | DTF_FULLYEAR),
            FormatDateTime(CDateTime(2028, 10, 30, 0, 0, 0), DTF_DATE | DTF_FULLYEAR) },
        times, times };
}
} // namespace

QList<QStringList> BarrageColumnSamples()
{
    QList<QStringList> samples = CommonColumnSamples();
    samples.append(BarrierTypeItems());
    samples.append(PriorityItems());
    return samples;
}

QList<QStringList> ShiftColumnSamples()
{
    QList<QStringList> samples = CommonColumnSamples();
    QStringList numbers = ShiftNumberItems();
    numbers.append(QStringLiteral("8 - 11"));
    samples.append(numbers);
    return samples;
}

QString ShiftNumberText(const CShift& shift)
{
    if (shift.m_shiftNumber == 0)
        return NoShiftText();
    QString text = QString::number(shift.m_shiftNumber);
    // A rotation without a positive cycle does not advance the number (see CShift::EffectiveNumber).
    if (shift.m_rotating && shift.m_weekCycle > 0)
        text += QStringLiteral(" - ") + QString::number(qint64(shift.m_shiftNumber) + shift.m_weekCycle - 1);
    return text;
}

QStringList BarrageRowTexts(const CBarrage& barrier)
{
    return { barrier.m_name, DateTypeText(barrier.m_dateType),
        FormatDateTime(barrier.m_date, DTF_DATE | DTF_FULLYEAR),
        FormatDateTime(barrier.m_startTime, DTF_TIME), FormatDateTime(barrier.m_endTime, DTF_TIME),
        BarrierTypeText(barrier.m_barrierType), PriorityText(barrier.m_priority) };
}

QStringList ShiftRowTexts(const CShift& shift)
{
    return { shift.m_name, DateTypeText(shift.m_dateType),
        FormatDateTime(shift.m_date, DTF_DATE | DTF_FULLYEAR), FormatDateTime(shift.m_startTime, DTF_TIME),
        FormatDateTime(shift.m_endTime, DTF_TIME), ShiftNumberText(shift) };
}

bool SameStoredFields(const CBarrage& a, const CBarrage& b)
{
    return a.m_name == b.m_name && a.m_dateType == b.m_dateType && a.m_date == b.m_date
        && a.m_startTime == b.m_startTime && a.m_endTime == b.m_endTime && a.m_barrierType == b.m_barrierType
        && a.m_priority == b.m_priority;
}

bool SameStoredFields(const CShift& a, const CShift& b)
{
    return a.m_name == b.m_name && a.m_dateType == b.m_dateType && a.m_date == b.m_date
        && a.m_startTime == b.m_startTime && a.m_endTime == b.m_endTime && a.m_shiftNumber == b.m_shiftNumber
        && a.m_rotating == b.m_rotating && a.m_startingWeek == b.m_startingWeek
        && a.m_weekCycle == b.m_weekCycle;
}

// --- Entry dialogs -----------------------------------------------------------------------------------

CBarrageFields NewBarrageFields(const CDateTime& now)
{
    CBarrageFields fields;
    fields.date = now;
    fields.priorityText = PriorityText(0);
    return fields;
}

CShiftFields NewShiftFields(const CDateTime& now)
{
    CShiftFields fields;
    fields.date = now;
    fields.numberText = ShiftNumberItems().constFirst();
    fields.cycleText = CycleItems().constFirst();
    return fields;
}

CBarrage BarrageFromFields(const CBarrageFields& fields)
{
    CBarrage barrier;
    barrier.m_name = fields.name;
    barrier.m_dateType = DateTypeAtPosition(fields.dateTypePosition);
    barrier.m_date = DateForType(barrier.m_dateType, fields.date);
    barrier.m_startTime = fields.fromTime.TimePart();
    barrier.m_endTime = fields.toTime.TimePart();
    barrier.m_barrierType = fields.barrierTypeIndex < 0 ? 0 : fields.barrierTypeIndex + 1;
    barrier.m_priority = LeadingDecimal(fields.priorityText);
    return barrier;
}

CBarrageFields FieldsFromBarrage(const CBarrage& barrier)
{
    CBarrageFields fields;
    fields.name = barrier.m_name;
    fields.dateTypePosition = DateTypePosition(barrier.m_dateType);
    fields.date = barrier.m_date;
    fields.fromTime = barrier.m_startTime.TimePart();
    fields.toTime = barrier.m_endTime.TimePart();
    const bool knownType
        = barrier.m_barrierType >= 1 && barrier.m_barrierType <= int(std::size(kBarrierTypes));
    fields.barrierTypeIndex = knownType ? barrier.m_barrierType - 1 : -1;
    fields.priorityText = QString::number(barrier.m_priority);
    return fields;
}

CShift ShiftFromFields(const CShiftFields& fields)
{
    CShift shift(CDateTime {});
    shift.m_name = fields.name;
    shift.m_dateType = DateTypeAtPosition(fields.dateTypePosition);
    shift.m_date = DateForType(shift.m_dateType, fields.date);
    shift.m_startTime = fields.fromTime.TimePart();
    shift.m_endTime = fields.toTime.TimePart();
    shift.m_shiftNumber = ShiftNumberFromText(fields.numberText);
    shift.m_rotating = fields.rotating && RotationAllowed(shift.m_dateType, shift.m_shiftNumber);
    shift.m_startingWeek = std::clamp(fields.startWeekIndex, 0, kStartWeekCount - 1);
    shift.m_weekCycle = LeadingNumberAutoBase(fields.cycleText);
    return shift;
}

CShiftFields FieldsFromShift(const CShift& shift)
{
    CShiftFields fields;
    fields.name = shift.m_name;
    fields.dateTypePosition = DateTypePosition(shift.m_dateType);
    fields.date = shift.m_date;
    fields.fromTime = shift.m_startTime.TimePart();
    fields.toTime = shift.m_endTime.TimePart();
    fields.numberText = shift.m_shiftNumber <= 0 ? NoShiftText() : QString::number(shift.m_shiftNumber);
    fields.rotating = shift.m_rotating;
    // The list offers weeks 1 to 52 only.
    fields.startWeekIndex = std::clamp(shift.m_startingWeek, 0, kStartWeekCount - 1);
    // A shift that does not rotate and has no cycle offers the first cycle should the rotation be
    // switched on.
    fields.cycleText = (!shift.m_rotating && shift.m_weekCycle <= 0) ? CycleItems().constFirst()
                                                                     : QString::number(shift.m_weekCycle);
    return fields;
}

bool EntryAcceptable(const QString& name, const CDateTime& fromTime, const CDateTime& toTime)
{
    return !name.isEmpty() && toTime.SecondOfDay() > fromTime.SecondOfDay();
}

CTimeRange AfterFromTimeChanged(const CTimeRange& range)
{
    CTimeRange result = range;
    if (result.toTime.SecondOfDay() <= result.fromTime.SecondOfDay())
        result.toTime = result.fromTime;
    return result;
}

CTimeRange AfterToTimeChanged(const CTimeRange& range)
{
    CTimeRange result = range;
    if (result.fromTime.SecondOfDay() >= result.toTime.SecondOfDay())
        result.fromTime = result.toTime;
    return result;
}

CRotationState RotationState(int dateType, int shiftNumber, bool checked)
{
    CRotationState state;
    state.boxEnabled = RotationAllowed(dateType, shiftNumber);
    state.boxChecked = state.boxEnabled && checked;
    state.controlsEnabled = state.boxChecked;
    return state;
}
