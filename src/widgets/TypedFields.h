#pragma once

#include <functional>
#include <memory>
#include <optional>

#include <QDate>
#include <QDateEdit>
#include <QLocale>
#include <QString>
#include <QTime>
#include <QTimeEdit>

// A time as people type it: "22", "2200", "22:00", "22.00", "930" (9:30), "22:00:30", "220030".
// Nothing for text that is no time of day (hours 0-23, minutes and seconds 0-59).
std::optional<QTime> TimeFromTyping(const QString& typed);

// A date as people type it in the locale's order: the display format (four-digit year), the same
// with one-digit day and month, with a two-digit year (taken in 2000-2099), or ISO "2026-12-07".
std::optional<QDate> DateFromTyping(const QString& typed, const QLocale& locale, const QString& format);

// The locale's short date format with a four-digit year ("dd.MM.yyyy" for "dd.MM.yy", "M/d/yyyy"
// for "M/d/yy"); a format without a year gets one at the end.
QString FourDigitYearDateFormat(const QLocale& locale);

class CTypedEntry;

// The typing of a time or date field on top of Qt's edit (QTimeEdit, QDateEdit): it selects its
// whole text when it gets the focus; digits and separators typed over the whole text (or after a
// click that placed the cursor) are collected as they stand ("2200") and read when the field is
// left, Enter is pressed or another key is used; text that is no value is refused with a beep and
// a tooltip and the value before is kept. Keys typed into a selected part go to the edit as
// usual. Tab and Shift+Tab go to the next and previous control, not to the next part of the value.
template <class TEdit>
class TTypedField : public TEdit
{
public:
    // `take` reads typed text into the field and says whether it was a value.
    TTypedField(QWidget* parent, std::function<bool(const QString&)> take);
    ~TTypedField() override;

    // Whether typed text waits to be read.
    bool IsTyping() const;

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    std::unique_ptr<CTypedEntry> m_typed;
};

// A time field that takes "22", "2200", "22:00" (TimeFromTyping).
class CTimeField : public TTypedField<QTimeEdit>
{
    Q_OBJECT

public:
    explicit CTimeField(QWidget* parent = nullptr);
};

// A date field in the locale's order with a four-digit year (DateFromTyping).
class CDateField : public TTypedField<QDateEdit>
{
    Q_OBJECT

public:
    explicit CDateField(QWidget* parent = nullptr);
};
