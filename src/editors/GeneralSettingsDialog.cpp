#include "editors/GeneralSettingsDialog.h"

#include <algorithm>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpression>

#include "widgets/TypedFields.h"
#include "widgets/WidgetFit.h"

#include "ui_GeneralSettingsDialog.h"

namespace {
constexpr int kMinutesPerDay = 24 * 60;
} // namespace

// --- Deciding logic --------------------------------------------------------------------------------

CWorkDayFlags WorkDayFlagsFromMask(int workDays)
{
    CWorkDayFlags flags {};
    for (size_t day = 0; day < flags.size(); ++day)
        flags[day] = (workDays & (1 << day)) != 0;
    return flags;
}

int WorkDaysMaskFromFlags(const CWorkDayFlags& flags)
{
    int mask = 0;
    for (size_t day = 0; day < flags.size(); ++day) {
        if (flags[day])
            mask |= 1 << day;
    }
    return mask;
}

QTime TimeFromWorkMinutes(int minutes)
{
    const int clamped = std::clamp(minutes, 0, kMinutesPerDay - 1);
    return QTime(clamped / 60, clamped % 60, 0);
}

int WorkMinutesFromTime(const QTime& time)
{
    if (!time.isValid())
        return 0;
    return time.hour() * 60 + time.minute();
}

int OnCloseChoice(int onClose)
{
    return (onClose == kOnCloseHide || onClose == kOnCloseMinimize) ? onClose : kOnCloseQuit;
}

QString TimeFormatWithoutSeconds(const QString& format)
{
    // Seconds with the separator before them, and any fraction after them.
    static const QRegularExpression seconds(QStringLiteral("[:.]?s{1,2}(?:[.,]z{1,3})?"));
    QString result = format;
    result.remove(seconds);
    result = result.trimmed();
    const bool hasHours = result.contains(u'h') || result.contains(u'H');
    if (!hasHours || !result.contains(u'm'))
        return QStringLiteral("HH:mm");
    return result;
}

// --- CGeneralSettingsDialog ------------------------------------------------------------------------

CGeneralSettingsDialog::CGeneralSettingsDialog(const CGeneralSettings& settings, QWidget* parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::CGeneralSettingsDialog>())
{
    m_ui->setupUi(this);
    const CWorkDayFlags flags = WorkDayFlagsFromMask(settings.m_workDays);
    const std::array<QCheckBox*, 7> days = DayBoxes();
    for (size_t day = 0; day < days.size(); ++day)
        days[day]->setChecked(flags[day]);

    const QString timeFormat = TimeFormatWithoutSeconds(QLocale().timeFormat(QLocale::ShortFormat));
    m_ui->from->setDisplayFormat(timeFormat);
    m_ui->from->setTime(TimeFromWorkMinutes(settings.m_workTimeFrom));
    m_ui->to->setDisplayFormat(timeFormat);
    m_ui->to->setTime(TimeFromWorkMinutes(settings.m_workTimeTo));
    m_ui->timeGap->changeSize(
        m_ui->from->fontMetrics().averageCharWidth() * 2, 0, QSizePolicy::Fixed, QSizePolicy::Minimum);
    m_ui->onClose->setCurrentIndex(OnCloseChoice(settings.m_onClose));

    m_ui->buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(m_ui->buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_ui->buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // A window at least as wide as its title needs.
    KeepTitleVisible(this, m_ui->buttons);
    m_ui->monday->setFocus();
}

CGeneralSettingsDialog::~CGeneralSettingsDialog() = default;

std::array<QCheckBox*, 7> CGeneralSettingsDialog::DayBoxes() const
{
    return { m_ui->monday, m_ui->tuesday, m_ui->wednesday, m_ui->thursday, m_ui->friday, m_ui->saturday,
        m_ui->sunday };
}

CGeneralSettings CGeneralSettingsDialog::Settings() const
{
    CWorkDayFlags flags {};
    const std::array<QCheckBox*, 7> days = DayBoxes();
    for (size_t day = 0; day < days.size(); ++day)
        flags[day] = days[day]->isChecked();
    CGeneralSettings settings;
    settings.m_workDays = WorkDaysMaskFromFlags(flags);
    settings.m_workTimeFrom = WorkMinutesFromTime(m_ui->from->time());
    settings.m_workTimeTo = WorkMinutesFromTime(m_ui->to->time());
    settings.m_onClose = OnCloseChoice(m_ui->onClose->currentIndex());
    return settings;
}

void CGeneralSettingsDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        // The close behaviour's items are retranslated in place: the choice stays.
        m_ui->retranslateUi(this);
        KeepTitleVisible(this, m_ui->buttons);
    }
    QDialog::changeEvent(event);
}
