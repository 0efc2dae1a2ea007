#include "plandialogs/ExportDlg.h"

#include <algorithm>

#include <QDialogButtonBox>
#include <QEvent>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "widgets/WidgetFit.h"

namespace {
// A name shown in a button text: "&" is not a mnemonic there.
QString Literal(const QString& text)
{
    QString out = text;
    return out.replace(u'&', QLatin1String("&&"));
}
} // namespace

CExportDlg::CExportDlg(const QString& targetName, const QString& weekText, const QString& monthText,
    int period, QWidget* parent, bool groups)
    : QDialog(parent)
    , m_targetName(targetName)
    , m_groups(groups)
    , m_weekText(ShortWeekText(weekText))
    , m_monthText(monthText)
    , m_period(period == 1 ? 1 : 0)
{
    m_membersGroup = new QGroupBox(this);
    m_targetRadio = new QRadioButton(m_membersGroup);
    m_allRadio = new QRadioButton(m_membersGroup);
    auto* members = new QVBoxLayout(m_membersGroup);
    members->addWidget(m_targetRadio);
    members->addWidget(m_allRadio);

    m_periodGroup = new QGroupBox(this);
    m_weekRadio = new QRadioButton(m_periodGroup);
    m_monthRadio = new QRadioButton(m_periodGroup);
    auto* periods = new QVBoxLayout(m_periodGroup);
    periods->addWidget(m_weekRadio);
    periods->addWidget(m_monthRadio);

    if (m_targetName.isEmpty()) {
        m_targetRadio->setEnabled(false);
        m_allRadio->setChecked(true);
    } else {
        m_targetRadio->setChecked(true);
    }
    (m_period == 0 ? m_weekRadio : m_monthRadio)->setChecked(true);

    m_formatGroup = new QGroupBox(this);
    m_htmlRadio = new QRadioButton(m_formatGroup);
    m_calendarRadio = new QRadioButton(m_formatGroup);
    auto* formats = new QVBoxLayout(m_formatGroup);
    formats->addWidget(m_htmlRadio);
    formats->addWidget(m_calendarRadio);
    m_htmlRadio->setChecked(true);
    m_formatGroup->hide();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_membersGroup);
    layout->addWidget(m_periodGroup);
    layout->addWidget(m_formatGroup);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(m_targetRadio, m_allRadio);
    setTabOrder(m_allRadio, m_weekRadio);
    setTabOrder(m_weekRadio, m_monthRadio);
    setTabOrder(m_monthRadio, m_htmlRadio);
    setTabOrder(m_htmlRadio, m_calendarRadio);
    setTabOrder(m_calendarRadio, buttons);
    Retranslate();
}

QString CExportDlg::ShortWeekText(const QString& weekText)
{
    QString text = weekText;
    return text.replace(QLatin1String("    "), QLatin1String(" "));
}

void CExportDlg::OfferCalendar()
{
    m_formatGroup->show();
}

std::pair<QDate, QDate> CExportDlg::PeriodDates(QDate weekStart, int period, int weeks)
{
    if (period == 1) {
        const QDate first(weekStart.year(), weekStart.month(), 1);
        return { first, first.addDays(first.daysInMonth() - 1) };
    }
    return { weekStart, weekStart.addDays(7 * std::clamp(weeks, 1, 2) - 1) };
}

void CExportDlg::accept()
{
    m_allTargets = m_allRadio->isChecked();
    m_period = m_weekRadio->isChecked() ? 0 : 1;
    m_calendar = m_formatGroup->isVisibleTo(this) && m_calendarRadio->isChecked();
    QDialog::accept();
}

void CExportDlg::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        Retranslate();
    QDialog::changeEvent(event);
}

void CExportDlg::Retranslate()
{
    setWindowTitle(tr("Print / export plan of action"));
    // A window at least as wide as its title needs.
    if (auto* buttons = findChild<QDialogButtonBox*>())
        KeepTitleVisible(this, buttons);
    m_membersGroup->setTitle(tr("Members"));
    m_targetRadio->setText(m_targetName.isEmpty()
            ? tr("&Only receiver/group:")
            : tr("&Only receiver/group: %1").arg(Literal(m_targetName)));
    // What "all" writes: the entries of the tab the dialog was opened from.
    m_allRadio->setText(m_groups ? tr("&All groups") : tr("&All receivers"));
    m_periodGroup->setTitle(tr("Period"));
    m_weekRadio->setText(tr("The current &week: %1").arg(Literal(m_weekText)));
    m_monthRadio->setText(tr("The current &month: %1").arg(Literal(m_monthText)));
    m_targetRadio->setToolTip(tr("Only the plan of the selected receiver or group"));
    m_allRadio->setToolTip(tr("The plans of all entries of the list shown (receivers or groups)"));
    m_formatGroup->setTitle(tr("Format"));
    m_htmlRadio->setText(tr("&HTML table"));
    m_calendarRadio->setText(tr("&iCalendar (.ics)"));
    m_calendarRadio->setToolTip(tr("One calendar event per span of duty, for calendar programs"));
}
