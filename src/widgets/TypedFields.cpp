#include "widgets/TypedFields.h"

#include <functional>

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolTip>

std::optional<QTime> TimeFromTyping(const QString& typed)
{
    QString text = typed.trimmed();
    text.replace(u'.', u':');
    int parts[3] = { 0, 0, 0 };
    if (text.contains(u':')) {
        static const QRegularExpression form(QStringLiteral("^(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?$"));
        const QRegularExpressionMatch match = form.match(text);
        if (!match.hasMatch())
            return std::nullopt;
        for (int i = 0; i < 3; ++i)
            parts[i] = match.captured(i + 1).toInt();
    } else {
        static const QRegularExpression digits(QStringLiteral("^\\d{1,6}$"));
        if (!digits.match(text).hasMatch())
            return std::nullopt;
        // One or two digits are the hour; then the minutes and the seconds take two each from the
        // right of the hour: "930" is 9:30, "2200" 22:00, "220030" 22:00:30.
        const qsizetype size = text.size();
        const qsizetype hourDigits = size <= 2 ? size : 2 - size % 2;
        parts[0] = text.left(hourDigits).toInt();
        if (size > 2)
            parts[1] = text.mid(hourDigits, 2).toInt();
        if (size > 4)
            parts[2] = text.mid(hourDigits + 2, 2).toInt();
    }
    if (parts[0] > 23 || parts[1] > 59 || parts[2] > 59)
        return std::nullopt;
    return QTime(parts[0], parts[1], parts[2]);
}

std::optional<QDate> DateFromTyping(const QString& typed, const QLocale& locale, const QString& format)
{
    const QString text = typed.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    // One digit or two for the day and the month.
    QString narrow = format;
    narrow.replace(QStringLiteral("dd"), QStringLiteral("d"))
        .replace(QStringLiteral("MM"), QStringLiteral("M"));
    for (const QString& form : { format, narrow }) {
        const QDate date = locale.toDate(text, form);
        if (date.isValid())
            return date;
    }
    QString shortYear = narrow;
    shortYear.replace(QStringLiteral("yyyy"), QStringLiteral("yy"));
    if (shortYear != narrow) {
        const QDate date = locale.toDate(text, shortYear);
        if (date.isValid())
            return QDate(2000 + date.year() % 100, date.month(), date.day());
    }
    const QDate iso = QDate::fromString(text, Qt::ISODate);
    if (iso.isValid())
        return iso;
    return std::nullopt;
}

QString FourDigitYearDateFormat(const QLocale& locale)
{
    QString format = locale.dateFormat(QLocale::ShortFormat);
    // A year of one to three digits would cut a typed "2026"; four digits take it whole.
    static const QRegularExpression shortYear(QStringLiteral("(?<!y)y{1,3}(?!y)"));
    format.replace(shortYear, QStringLiteral("yyyy"));
    if (!format.contains(u'y'))
        format += QStringLiteral(" yyyy");
    return format;
}

// What the two fields share: the text typed over the field, read when the field is left.
class CTypedEntry
{
    Q_DECLARE_TR_FUNCTIONS(CTypedEntry)

public:
    // `take` reads the typed text into the field and says whether it was a value.
    CTypedEntry(QDateTimeEdit& edit, std::function<bool(const QString&)> take)
        : m_edit(edit)
        , m_take(std::move(take))
    { }

    bool IsTyping() const { return m_typing; }

    // A click places the cursor anew: what is typed next is read as typed.
    void MousePress() { m_fieldTyping = false; }

    void FocusIn()
    {
        // After the mouse press that gave the focus has placed the cursor, unless keys came first.
        m_selectPending = true;
        m_fieldTyping = false;
        QTimer::singleShot(0, &m_edit, [this] {
            if (m_selectPending && m_edit.hasFocus())
                m_edit.selectAll();
            m_selectPending = false;
        });
    }

    // Handles a key; false leaves it to the field.
    bool KeyPress(QKeyEvent* event)
    {
        m_selectPending = false;
        QLineEdit* line = m_edit.findChild<QLineEdit*>();
        if (!line)
            return false;
        const QString text = event->text();
        const bool typable = text.size() == 1
            && (text.front().isDigit() || QStringLiteral(":./- ").contains(text.front()))
            && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
        if (typable) {
            if (!m_typing) {
                // Only over the whole text or where no part is selected; a selected part is typed
                // into as the field does, and so are the keys after it.
                const bool whole = line->hasSelectedText() && line->selectedText() == line->text();
                if (!whole && (line->hasSelectedText() || m_fieldTyping)) {
                    m_fieldTyping = true;
                    return false;
                }
                m_typing = true;
                m_text.clear();
            }
            m_text += text;
            Show(line, m_text);
            return true;
        }
        if (!m_typing)
            return false;
        switch (event->key()) {
        case Qt::Key_Backspace:
            m_text.chop(1);
            Show(line, m_text);
            return true;
        case Qt::Key_Escape:
            m_typing = false;
            Show(line, m_edit.locale().toString(m_edit.dateTime(), m_edit.displayFormat()));
            m_edit.selectAll();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // A refused text keeps the dialog open.
            return !Commit();
        default:
            Commit();
            return false;
        }
    }

    // Reads the typed text; false (with a beep and a tooltip) when it is no value.
    bool Commit()
    {
        if (!m_typing)
            return true;
        m_typing = false;
        const QString typed = m_text;
        QLineEdit* line = m_edit.findChild<QLineEdit*>();
        const bool taken = !typed.trimmed().isEmpty() && m_take(typed);
        const QString shown = m_edit.locale().toString(m_edit.dateTime(), m_edit.displayFormat());
        if (line && line->text() != shown)
            Show(line, shown);
        if (!taken && !typed.trimmed().isEmpty()) {
            QApplication::beep();
            QToolTip::showText(m_edit.mapToGlobal(QPoint(0, m_edit.height())),
                tr("\"%1\" is not understood; %2 is kept.").arg(typed, shown), &m_edit);
        }
        return taken || typed.trimmed().isEmpty();
    }

private:
    // The text shown while typing goes past the field's own reading of it.
    static void Show(QLineEdit* line, const QString& text)
    {
        const QSignalBlocker blocker(line);
        line->setText(text);
        line->setCursorPosition(int(text.size()));
    }

    QDateTimeEdit& m_edit;
    std::function<bool(const QString&)> m_take;
    bool m_typing = false;
    bool m_selectPending = false;
    // Keys typed into a selected part of the field, which it reads itself.
    bool m_fieldTyping = false;
    QString m_text;
};

// --- TTypedField --------------------------------------------------------------------------------

template <class TEdit>
TTypedField<TEdit>::TTypedField(QWidget* parent, std::function<bool(const QString&)> take)
    : TEdit(parent)
    , m_typed(std::make_unique<CTypedEntry>(*this, std::move(take)))
{
    this->lineEdit()->installEventFilter(this);
}

template <class TEdit>
TTypedField<TEdit>::~TTypedField() = default;

template <class TEdit>
bool TTypedField<TEdit>::IsTyping() const
{
    return m_typed->IsTyping();
}

template <class TEdit>
void TTypedField<TEdit>::focusInEvent(QFocusEvent* event)
{
    TEdit::focusInEvent(event);
    m_typed->FocusIn();
}

template <class TEdit>
void TTypedField<TEdit>::focusOutEvent(QFocusEvent* event)
{
    m_typed->Commit();
    TEdit::focusOutEvent(event);
}

template <class TEdit>
void TTypedField<TEdit>::keyPressEvent(QKeyEvent* event)
{
    if (m_typed->KeyPress(event))
        event->accept();
    else
        TEdit::keyPressEvent(event);
}

template <class TEdit>
bool TTypedField<TEdit>::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == this->lineEdit() && event->type() == QEvent::MouseButtonPress)
        m_typed->MousePress();
    return TEdit::eventFilter(watched, event);
}

template <class TEdit>
bool TTypedField<TEdit>::focusNextPrevChild(bool next)
{
    m_typed->Commit();
    return QWidget::focusNextPrevChild(next);
}

template class TTypedField<QTimeEdit>;
template class TTypedField<QDateEdit>;

// --- CTimeField, CDateField ----------------------------------------------------------------------

CTimeField::CTimeField(QWidget* parent)
    : TTypedField(parent, [this](const QString& typed) {
        const std::optional<QTime> time = TimeFromTyping(typed);
        if (!time || *time < minimumTime() || *time > maximumTime())
            return false;
        setTime(*time);
        return true;
    })
{ }

CDateField::CDateField(QWidget* parent)
    : TTypedField(parent, [this](const QString& typed) {
        const std::optional<QDate> date = DateFromTyping(typed, locale(), displayFormat());
        if (!date || *date < minimumDate() || *date > maximumDate())
            return false;
        setDate(*date);
        return true;
    })
{
    setDisplayFormat(FourDigitYearDateFormat(locale()));
}
