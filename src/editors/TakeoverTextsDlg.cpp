#include "editors/TakeoverTextsDlg.h"

#include <algorithm>

#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "widgets/WidgetFit.h"

CPlaceholderHint SplitPlaceholderHint(const QString& hint)
{
    const qsizetype tab = hint.indexOf(u'\t');
    if (tab < 0)
        return { hint.trimmed(), QString() };
    return { hint.left(tab).trimmed(), hint.mid(tab + 1).trimmed() };
}

CTakeoverTextsDlg::CTakeoverTextsDlg(
    const QString& request, const QString& confirm, const QString& timeout, QWidget* parent)
    : QDialog(parent)
{
    auto newTextEdit = [this](const QString& text, QLabel*& label) {
        label = new QLabel(this);
        auto* edit = new QLineEdit(this);
        edit->setText(text);
        edit->setCursorPosition(0);
        // Wide enough for the text it opens with (the default texts are a line each) and never
        // narrower than 60 average characters.
        edit->setMinimumWidth(
            std::max(edit->fontMetrics().averageCharWidth() * 60, LineEditWidthFor(edit, text)));
        label->setBuddy(edit);
        return edit;
    };
    m_request = newTextEdit(request, m_requestLabel);
    m_confirm = newTextEdit(confirm, m_confirmLabel);
    m_timeout = newTextEdit(timeout, m_timeoutLabel);

    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    form->addRow(m_requestLabel, m_request);
    form->addRow(m_confirmLabel, m_confirm);
    form->addRow(m_timeoutLabel, m_timeout);

    m_hintsGroup = new QGroupBox(this);
    auto* hints = new QGridLayout(m_hintsGroup);
    for (size_t i = 0; i < m_hintPlaceholders.size(); ++i) {
        m_hintPlaceholders[i] = new QLabel(m_hintsGroup);
        m_hintMeanings[i] = new QLabel(m_hintsGroup);
        // The placeholders can be copied into a text.
        m_hintPlaceholders[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        hints->addWidget(m_hintPlaceholders[i], int(i), 0);
        hints->addWidget(m_hintMeanings[i], int(i), 1);
    }
    hints->setColumnStretch(1, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_hintsGroup);
    layout->addWidget(buttons);

    m_request->setFocus();
    Retranslate();
}

QString CTakeoverTextsDlg::RequestText() const
{
    return m_request->text();
}

QString CTakeoverTextsDlg::ConfirmText() const
{
    return m_confirm->text();
}

QString CTakeoverTextsDlg::TimeoutText() const
{
    return m_timeout->text();
}

void CTakeoverTextsDlg::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        Retranslate();
    QDialog::changeEvent(event);
}

void CTakeoverTextsDlg::Retranslate()
{
    setWindowTitle(tr("Messages used for takeover mode"));
    m_requestLabel->setText(tr("&Request for takeover:"));
    m_confirmLabel->setText(tr("&Confirmation of takeover:"));
    m_timeoutLabel->setText(tr("&No response:"));
    m_request->setToolTip(tr("Sent to the next user, asking to take over the duty"));
    m_confirm->setToolTip(tr("Sent to the previous user when the next one has taken over"));
    m_timeout->setToolTip(tr("Sent to the previous user when the next one did not answer in time"));
    m_hintsGroup->setTitle(tr("Placeholders"));
    const std::array<QString, 3> texts = { tr("{{GROUP}}\tName of the alarm group"),
        tr("{{CURRENT}}\tName of the previous user"), tr("{{NEXT}}\tUser name for takeover") };
    for (size_t i = 0; i < texts.size(); ++i) {
        const CPlaceholderHint hint = SplitPlaceholderHint(texts[i]);
        m_hintPlaceholders[i]->setText(hint.placeholder);
        m_hintMeanings[i]->setText(hint.meaning);
    }
    if (auto* buttons = findChild<QDialogButtonBox*>())
        KeepTitleVisible(this, buttons);
}
