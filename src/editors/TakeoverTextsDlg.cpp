#include "editors/TakeoverTextsDlg.h"

#include <algorithm>
#include <array>

#include <QDialogButtonBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "widgets/WidgetFit.h"

#include "ui_TakeoverTextsDlg.h"

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
    , m_ui(std::make_unique<Ui::CTakeoverTextsDlg>())
{
    m_ui->setupUi(this);
    const auto show = [](QLineEdit* edit, const QString& text) {
        edit->setText(text);
        edit->setCursorPosition(0);
        // Wide enough for the text it opens with (the default texts are a line each) and never
        // narrower than 60 average characters.
        edit->setMinimumWidth(
            std::max(edit->fontMetrics().averageCharWidth() * 60, LineEditWidthFor(edit, text)));
    };
    show(m_ui->request, request);
    show(m_ui->confirm, confirm);
    show(m_ui->timeout, timeout);
    m_ui->buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(m_ui->buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_ui->buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    m_ui->request->setFocus();
    ShowHints();
}

CTakeoverTextsDlg::~CTakeoverTextsDlg() = default;

QString CTakeoverTextsDlg::RequestText() const
{
    return m_ui->request->text();
}

QString CTakeoverTextsDlg::ConfirmText() const
{
    return m_ui->confirm->text();
}

QString CTakeoverTextsDlg::TimeoutText() const
{
    return m_ui->timeout->text();
}

void CTakeoverTextsDlg::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        m_ui->retranslateUi(this);
        ShowHints();
    }
    QDialog::changeEvent(event);
}

void CTakeoverTextsDlg::ShowHints()
{
    const std::array<QString, 3> texts = { tr("{{GROUP}}\tName of the alarm group"),
        tr("{{CURRENT}}\tName of the previous user"), tr("{{NEXT}}\tUser name for takeover") };
    const std::array<QLabel*, 3> placeholders
        = { m_ui->placeholder0, m_ui->placeholder1, m_ui->placeholder2 };
    const std::array<QLabel*, 3> meanings = { m_ui->meaning0, m_ui->meaning1, m_ui->meaning2 };
    for (size_t i = 0; i < texts.size(); ++i) {
        const CPlaceholderHint hint = SplitPlaceholderHint(texts[i]);
        placeholders[i]->setText(hint.placeholder);
        meanings[i]->setText(hint.meaning);
    }
    KeepTitleVisible(this, m_ui->buttons);
}
