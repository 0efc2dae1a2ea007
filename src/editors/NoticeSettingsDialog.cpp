#include "editors/NoticeSettingsDialog.h"

#include <algorithm>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTime>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace {
const char* const kTextNames[] = { "leadText", "changeText", "holderText", "summaryText" };
} // namespace

CNoticeSettingsDialog::CNoticeSettingsDialog(const CNoticeSettings& settings, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("NoticeSettingsDialog"));
    const auto spin = [this](const char* name, int most, int value) {
        auto* box = new QSpinBox(this);
        box->setObjectName(QString::fromLatin1(name));
        box->setRange(0, most);
        box->setValue(value);
        return box;
    };
    m_lead = spin("lead", 7 * 24 * 60, settings.leadMinutes);
    m_change = spin("change", 31 * 24, settings.changeHours);
    m_late = spin("late", 24 * 60, settings.lateMinutes);
    m_summary = new QCheckBox(this);
    m_summary->setObjectName(QStringLiteral("summary"));
    m_summary->setChecked(settings.summaryMinute >= 0);
    m_summaryTime = new QTimeEdit(settings.summaryMinute >= 0
            ? QTime(settings.summaryMinute / 60, settings.summaryMinute % 60)
            : QTime(7, 0),
        this);
    m_summaryTime->setObjectName(QStringLiteral("summaryTime"));
    m_summaryTime->setDisplayFormat(QStringLiteral("HH:mm"));
    m_summaryTargets = new QLineEdit(settings.summaryTargets.join(u';'), this);
    m_summaryTargets->setObjectName(QStringLiteral("summaryTargets"));
    m_leadLabel = new QLabel(this);
    m_changeLabel = new QLabel(this);
    m_lateLabel = new QLabel(this);
    m_summaryTargetsLabel = new QLabel(this);

    auto* when = new QFormLayout;
    when->addRow(m_leadLabel, m_lead);
    when->addRow(m_changeLabel, m_change);
    when->addRow(m_lateLabel, m_late);
    auto* summaryRow = new QHBoxLayout;
    summaryRow->addWidget(m_summary);
    summaryRow->addWidget(m_summaryTime);
    summaryRow->addStretch(1);
    when->addRow(summaryRow);
    when->addRow(m_summaryTargetsLabel, m_summaryTargets);

    m_textsGroup = new QGroupBox(this);
    auto* texts = new QFormLayout(m_textsGroup);
    const QString values[]
        = { settings.leadText, settings.changeText, settings.holderText, settings.summaryText };
    for (int i = 0; i < 4; ++i) {
        m_texts[i] = new QLineEdit(values[i], this);
        m_texts[i]->setObjectName(QString::fromLatin1(kTextNames[i]));
        // Wide enough for the text as it stands (the default texts are long in some languages).
        m_texts[i]->setMinimumWidth(
            std::clamp(m_texts[i]->fontMetrics().horizontalAdvance(values[i]) + 24, 420, 720));
        m_textLabels[i] = new QLabel(this);
        m_textLabels[i]->setBuddy(m_texts[i]);
        texts->addRow(m_textLabels[i], m_texts[i]);
    }
    m_leadLabel->setBuddy(m_lead);
    m_changeLabel->setBuddy(m_change);
    m_lateLabel->setBuddy(m_late);
    m_summaryTargetsLabel->setBuddy(m_summaryTargets);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_summary, &QCheckBox::toggled, m_summaryTime, &QWidget::setEnabled);
    connect(m_summary, &QCheckBox::toggled, m_summaryTargets, &QWidget::setEnabled);
    m_summaryTime->setEnabled(m_summary->isChecked());
    m_summaryTargets->setEnabled(m_summary->isChecked());

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(when);
    layout->addWidget(m_textsGroup);
    layout->addWidget(buttons);
    Retranslate();
}

void CNoticeSettingsDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        Retranslate();
    QDialog::changeEvent(event);
}

void CNoticeSettingsDialog::Retranslate()
{
    setWindowTitle(tr("Duty Notices"));
    m_textsGroup->setTitle(tr("Texts of the notices"));
    m_leadLabel->setText(tr("&Remind before a duty begins:"));
    m_lead->setSuffix(tr(" min"));
    m_lead->setSpecialValueText(tr("no reminders"));
    m_lead->setToolTip(tr("Each person is paged this long before a duty of theirs begins"));
    m_changeLabel->setText(tr("Tell &changes of the duty within:"));
    m_change->setSuffix(tr(" h"));
    m_change->setSpecialValueText(tr("no change notices"));
    m_change->setToolTip(
        tr("An edit that adds, removes or moves a duty within this time is paged to the person"));
    m_lateLabel->setText(tr("After a stop, &send notices late by up to:"));
    m_late->setSuffix(tr(" min"));
    m_late->setToolTip(
        tr("A notice whose moment passed while Kelvaris was stopped is dropped when it is later"));
    m_summary->setText(tr("&Daily summary at"));
    m_summary->setToolTip(tr("Who is on duty today in each group, and the day's gaps in cover"));
    m_summaryTime->setAccessibleName(tr("Time of the daily summary"));
    m_summaryTargetsLabel->setText(tr("Summary &to (target IDs, separated by \";\"):"));
    const char* labels[] = { QT_TR_NOOP("Re&minder text:"), QT_TR_NOOP("Chan&ge text:"),
        QT_TR_NOOP("&Holder text:"), QT_TR_NOOP("S&ummary text:") };
    const QString placeholders = tr("Placeholders: {{PERSON}}, {{GROUP}}, {{DATE}}, {{START}}, {{END}}, "
                                    "{{CHANGES}}, {{SUMMARY}}");
    for (int i = 0; i < 4; ++i) {
        m_textLabels[i]->setText(tr(labels[i]));
        m_texts[i]->setToolTip(placeholders);
    }
}

CNoticeSettings CNoticeSettingsDialog::Settings() const
{
    CNoticeSettings settings;
    settings.leadMinutes = m_lead->value();
    settings.changeHours = m_change->value();
    settings.lateMinutes = m_late->value();
    settings.summaryMinute
        = m_summary->isChecked() ? m_summaryTime->time().hour() * 60 + m_summaryTime->time().minute() : -1;
    for (const QString& id : m_summaryTargets->text().split(u';', Qt::SkipEmptyParts)) {
        if (!id.trimmed().isEmpty())
            settings.summaryTargets << id.trimmed();
    }
    settings.leadText = m_texts[0]->text();
    settings.changeText = m_texts[1]->text();
    settings.holderText = m_texts[2]->text();
    settings.summaryText = m_texts[3]->text();
    return settings;
}
