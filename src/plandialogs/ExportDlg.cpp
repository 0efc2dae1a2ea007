#include "plandialogs/ExportDlg.h"

#include <algorithm>

#include <QDialogButtonBox>
#include <QEvent>
#include <QPushButton>
#include <QRadioButton>

#include "widgets/WidgetFit.h"

#include "ui_ExportDlg.h"

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
    , m_ui(std::make_unique<Ui::CExportDlg>())
    , m_targetName(targetName)
    , m_groups(groups)
    , m_weekText(ShortWeekText(weekText))
    , m_monthText(monthText)
    , m_period(period == 1 ? 1 : 0)
{
    m_ui->setupUi(this);
    if (m_targetName.isEmpty()) {
        m_ui->target->setEnabled(false);
        m_ui->all->setChecked(true);
    } else {
        m_ui->target->setChecked(true);
    }
    (m_period == 0 ? m_ui->week : m_ui->month)->setChecked(true);
    m_ui->html->setChecked(true);
    m_ui->format->hide();
    m_ui->buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(m_ui->buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_ui->buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    ShowTexts();
}

CExportDlg::~CExportDlg() = default;

QString CExportDlg::ShortWeekText(const QString& weekText)
{
    QString text = weekText;
    return text.replace(QLatin1String("    "), QLatin1String(" "));
}

void CExportDlg::OfferCalendar()
{
    m_ui->format->show();
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
    m_allTargets = m_ui->all->isChecked();
    m_period = m_ui->week->isChecked() ? 0 : 1;
    m_calendar = m_ui->format->isVisibleTo(this) && m_ui->calendar->isChecked();
    QDialog::accept();
}

void CExportDlg::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        m_ui->retranslateUi(this);
        ShowTexts();
    }
    QDialog::changeEvent(event);
}

void CExportDlg::ShowTexts()
{
    // A window at least as wide as its title needs.
    KeepTitleVisible(this, m_ui->buttons);
    m_ui->target->setText(m_targetName.isEmpty() ? tr("&Only receiver/group:")
                                                 : tr("&Only receiver/group: %1").arg(Literal(m_targetName)));
    // What "all" writes: the entries of the tab the dialog was opened from.
    m_ui->all->setText(m_groups ? tr("&All groups") : tr("&All receivers"));
    m_ui->week->setText(tr("The current &week: %1").arg(Literal(m_weekText)));
    m_ui->month->setText(tr("The current &month: %1").arg(Literal(m_monthText)));
}
