#include "editors/GeneralSettingsDialog.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "widgets/TypedFields.h"
#include "widgets/WidgetFit.h"

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
{
    // Created in tab order: the days, the two times, the close behaviour, then the buttons.
    m_daysGroup = new QGroupBox(this);
    auto* daysRow = new QHBoxLayout(m_daysGroup);
    const CWorkDayFlags flags = WorkDayFlagsFromMask(settings.m_workDays);
    for (size_t day = 0; day < m_days.size(); ++day) {
        m_days[day] = new QCheckBox(m_daysGroup);
        m_days[day]->setChecked(flags[day]);
        daysRow->addWidget(m_days[day]);
    }

    const QString timeFormat = TimeFormatWithoutSeconds(QLocale().timeFormat(QLocale::ShortFormat));
    auto newTimeEdit = [&timeFormat](int minutes, QWidget* owner) {
        auto* edit = new CTimeField(owner);
        edit->setDisplayFormat(timeFormat);
        edit->setTime(TimeFromWorkMinutes(minutes));
        return edit;
    };
    m_timeGroup = new QGroupBox(this);
    m_fromLabel = new QLabel(m_timeGroup);
    m_from = newTimeEdit(settings.m_workTimeFrom, m_timeGroup);
    m_fromLabel->setBuddy(m_from);
    m_toLabel = new QLabel(m_timeGroup);
    m_to = newTimeEdit(settings.m_workTimeTo, m_timeGroup);
    m_toLabel->setBuddy(m_to);
    auto* timeRow = new QHBoxLayout(m_timeGroup);
    timeRow->addWidget(m_fromLabel);
    timeRow->addWidget(m_from);
    timeRow->addSpacing(m_from->fontMetrics().averageCharWidth() * 2);
    timeRow->addWidget(m_toLabel);
    timeRow->addWidget(m_to);
    timeRow->addStretch(1);

    m_onCloseLabel = new QLabel(this);
    m_onClose = new QComboBox(this);
    m_onClose->addItems({ QString(), QString(), QString() });
    // The items are translated texts: the box follows the longest of the language shown.
    m_onClose->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_onClose->setCurrentIndex(OnCloseChoice(settings.m_onClose));
    m_onCloseLabel->setBuddy(m_onClose);
    auto* closeForm = new QFormLayout;
    closeForm->addRow(m_onCloseLabel, m_onClose);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_daysGroup);
    layout->addWidget(m_timeGroup);
    layout->addLayout(closeForm);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_days[0]->setFocus();
    Retranslate();
}

CGeneralSettings CGeneralSettingsDialog::Settings() const
{
    CWorkDayFlags flags {};
    for (size_t day = 0; day < m_days.size(); ++day)
        flags[day] = m_days[day]->isChecked();
    CGeneralSettings settings;
    settings.m_workDays = WorkDaysMaskFromFlags(flags);
    settings.m_workTimeFrom = WorkMinutesFromTime(m_from->time());
    settings.m_workTimeTo = WorkMinutesFromTime(m_to->time());
    settings.m_onClose = OnCloseChoice(m_onClose->currentIndex());
    return settings;
}

void CGeneralSettingsDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        Retranslate();
    QDialog::changeEvent(event);
}

void CGeneralSettingsDialog::Retranslate()
{
    setWindowTitle(tr("General Setup"));
    // A window at least as wide as its title needs.
    if (auto* buttons = findChild<QDialogButtonBox*>())
        KeepTitleVisible(this, buttons);
    m_daysGroup->setTitle(tr("Working days"));
    const std::array<QString, 7> dayTexts
        = { tr("Mo"), tr("Tu"), tr("We"), tr("Th"), tr("Fr"), tr("Sa"), tr("Su") };
    const std::array<QString, 7> dayTips = { tr("Monday is a working day"), tr("Tuesday is a working day"),
        tr("Wednesday is a working day"), tr("Thursday is a working day"), tr("Friday is a working day"),
        tr("Saturday is a working day"), tr("Sunday is a working day") };
    for (size_t day = 0; day < m_days.size(); ++day) {
        m_days[day]->setText(dayTexts[day]);
        m_days[day]->setToolTip(dayTips[day]);
    }
    m_daysGroup->setToolTip(tr("Days that are not checked and are no holidays count as weekend days"));
    m_timeGroup->setTitle(tr("Work time"));
    m_fromLabel->setText(tr("&From:"));
    m_toLabel->setText(tr("&To:"));
    m_onCloseLabel->setText(tr("&When the window is closed:"));
    m_onClose->setItemText(kOnCloseQuit, tr("Quit Kelvaris"));
    m_onClose->setItemText(kOnCloseHide, tr("Hide window"));
    m_onClose->setItemText(kOnCloseMinimize, tr("Minimize window"));
}
