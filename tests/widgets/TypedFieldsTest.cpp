#include "widgets/TypedFields.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

class TypedFieldsTest : public QObject
{
    Q_OBJECT

private slots:
    void timesAsPeopleTypeThem();
    void datesAsPeopleTypeThem();
    void typingOverAFieldAndTabbingOn();
};

void TypedFieldsTest::timesAsPeopleTypeThem()
{
    const struct
    {
        const char* typed;
        QTime time; // invalid: refused
    } cases[] = {
        { "22", QTime(22, 0) },
        { "2200", QTime(22, 0) },
        { "22:00", QTime(22, 0) },
        { "22.00", QTime(22, 0) },
        { " 7 ", QTime(7, 0) },
        { "930", QTime(9, 30) },
        { "0930", QTime(9, 30) },
        { "9:5", QTime(9, 5) },
        { "06:59:00", QTime(6, 59) },
        { "220030", QTime(22, 0, 30) },
        { "23:59:59", QTime(23, 59, 59) },
        { "24", QTime() },
        { "2260", QTime() },
        { "12:61", QTime() },
        { "1234567", QTime() },
        { "22:", QTime() },
        { "ab", QTime() },
        { "", QTime() },
    };
    for (const auto& c : cases) {
        const std::optional<QTime> time = TimeFromTyping(QString::fromLatin1(c.typed));
        QVERIFY2(time.has_value() == c.time.isValid(), c.typed);
        if (time)
            QCOMPARE(*time, c.time);
    }
}

void TypedFieldsTest::datesAsPeopleTypeThem()
{
    const QLocale german(QLocale::German, QLocale::Germany);
    const QLocale american(QLocale::English, QLocale::UnitedStates);
    QCOMPARE(FourDigitYearDateFormat(german), QStringLiteral("dd.MM.yyyy"));
    QCOMPARE(FourDigitYearDateFormat(american), QStringLiteral("M/d/yyyy"));
    const struct
    {
        const QLocale& locale;
        const char* typed;
        QDate date;
    } cases[] = {
        { german, "07.12.2026", QDate(2026, 12, 7) },
        { german, "7.12.2026", QDate(2026, 12, 7) },
        { german, "7.2.26", QDate(2026, 2, 7) },
        { german, "2026-12-07", QDate(2026, 12, 7) },
        { german, "31.02.2026", QDate() },
        { german, "12/7/2026", QDate() },
        { american, "12/7/2026", QDate(2026, 12, 7) },
        { american, "12/7/26", QDate(2026, 12, 7) },
        { american, "07.12.2026", QDate() },
    };
    for (const auto& c : cases) {
        const std::optional<QDate> date
            = DateFromTyping(QString::fromLatin1(c.typed), c.locale, FourDigitYearDateFormat(c.locale));
        QVERIFY2(date.has_value() == c.date.isValid(), c.typed);
        if (date)
            QCOMPARE(*date, c.date);
    }
}

// A whole field is typed over as a person types it, Tab goes on to the next control, and text
// that is no time keeps the time before.
void TypedFieldsTest::typingOverAFieldAndTabbingOn()
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* from = new CTimeField(&window);
    from->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    auto* to = new CTimeField(&window);
    to->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    auto* day = new CDateField(&window);
    day->setLocale(QLocale(QLocale::German, QLocale::Germany));
    day->setDisplayFormat(FourDigitYearDateFormat(day->locale()));
    day->setDate(QDate(2026, 12, 7));
    auto* after = new QLineEdit(&window);
    for (QWidget* widget : { static_cast<QWidget*>(from), static_cast<QWidget*>(to),
             static_cast<QWidget*>(day), static_cast<QWidget*>(after) })
        layout->addWidget(widget);
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));

    const struct
    {
        const char* typed;
        QTime time;
    } cases[] = { { "22", QTime(22, 0) }, { "2200", QTime(22, 0) }, { "22:00", QTime(22, 0) },
        { "06:59:00", QTime(6, 59) }, { "2500", QTime(6, 59) } };
    for (const auto& c : cases) {
        from->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(from->findChild<QLineEdit*>()->selectedText() == from->text()); // all selected
        QTest::keyClicks(from, QString::fromLatin1(c.typed));
        QVERIFY(from->IsTyping());
        QTest::keyClick(from, Qt::Key_Tab);
        QCOMPARE(from->time(), c.time);
        QVERIFY2(to->hasFocus(), c.typed); // the next field, not the next part of the time
    }
    // A click into the focused field places the cursor; what is typed there is read as typed.
    from->setFocus(Qt::TabFocusReason);
    QLineEdit* line = from->findChild<QLineEdit*>();
    QTest::mouseClick(line, Qt::LeftButton, {}, QPoint(line->width() / 2, line->height() / 2));
    QVERIFY(!line->hasSelectedText());
    QTest::keyClicks(from, QStringLiteral("22"));
    QTest::keyClick(from, Qt::Key_Tab);
    QCOMPARE(from->time(), QTime(22, 0));
    // Tab walks the fields one by one and leaves a date as it was.
    from->setFocus(Qt::TabFocusReason);
    for (QWidget* next :
        { static_cast<QWidget*>(to), static_cast<QWidget*>(day), static_cast<QWidget*>(after) }) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
    QCOMPARE(day->date(), QDate(2026, 12, 7));
    QCOMPARE(day->text(), QStringLiteral("07.12.2026"));
    // A date typed over, then Escape puts the date before back; Enter takes a typed one.
    day->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(day->findChild<QLineEdit*>()->selectedText() == day->text());
    QTest::keyClicks(day, QStringLiteral("1.1.27"));
    QTest::keyClick(day, Qt::Key_Escape);
    QCOMPARE(day->text(), QStringLiteral("07.12.2026"));
    QTest::keyClicks(day, QStringLiteral("1.1.27"));
    QTest::keyClick(day, Qt::Key_Return);
    QCOMPARE(day->date(), QDate(2027, 1, 1));
    QCOMPARE(day->text(), QStringLiteral("01.01.2027"));
}

QTEST_MAIN(TypedFieldsTest)
#include "TypedFieldsTest.moc"
