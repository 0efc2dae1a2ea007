#include "app/PasswordDialogs.h"

#include <memory>

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "schedule/Profile.h"
#include "widgets/WidgetFit.h"

namespace {
// The title of the program's message boxes: its name, which is not translated.
QString MessageTitle()
{
    return QStringLiteral("Kelvaris");
}

QLineEdit* NewPasswordEdit(QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setEchoMode(QLineEdit::Password);
    // A password field offers no completion, no drag and no context menu copy of its text.
    edit->setInputMethodHints(
        Qt::ImhHiddenText | Qt::ImhSensitiveData | Qt::ImhNoPredictiveText | Qt::ImhNoAutoUppercase);
    return edit;
}
} // namespace

// --- CEnterPasswordDlg -----------------------------------------------------------------------------

CEnterPasswordDlg::CEnterPasswordDlg(QWidget* parent)
    : QDialog(parent)
{
    m_label = new QLabel(this);
    m_password = NewPasswordEdit(this);
    m_label->setBuddy(m_password);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* form = new QFormLayout;
    form->addRow(m_label, m_password);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_password->setMinimumWidth(m_password->fontMetrics().averageCharWidth() * 28);
    m_password->setFocus();

    Retranslate();
}

QString CEnterPasswordDlg::Password() const
{
    return m_password->text();
}

void CEnterPasswordDlg::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        Retranslate();
    QDialog::changeEvent(event);
}

void CEnterPasswordDlg::Retranslate()
{
    setWindowTitle(tr("Please enter your password"));
    m_label->setText(tr("&Password:"));
    if (auto* buttons = findChild<QDialogButtonBox*>())
        KeepTitleVisible(this, buttons);
}

// --- CSetupPasswordDlg -----------------------------------------------------------------------------

CSetupPasswordDlg::CSetupPasswordDlg(const CPasswordSetupPreset& preset, QWidget* parent)
    : QDialog(parent)
{
    // Created in tab order: the two edits, the three boxes, then the buttons.
    m_enterLabel = new QLabel(this);
    m_enter = NewPasswordEdit(this);
    m_enterLabel->setBuddy(m_enter);
    m_confirmLabel = new QLabel(this);
    m_confirm = NewPasswordEdit(this);
    m_confirmLabel->setBuddy(m_confirm);
    m_enter->setText(preset.password);
    m_confirm->setText(preset.password);
    m_enter->setMinimumWidth(m_enter->fontMetrics().averageCharWidth() * 28);

    m_setups = new QCheckBox(this);
    m_setupsNote = new QLabel(this);
    m_operation = new QCheckBox(this);
    m_operationNote = new QLabel(this);
    m_exit = new QCheckBox(this);
    m_setups->setChecked(preset.setups);
    m_operation->setChecked(preset.operation);
    m_exit->setChecked(preset.exitProgram);
    // Clicking a note toggles its box, as clicking the box's own text does.
    m_setupsNote->setBuddy(m_setups);
    m_operationNote->setBuddy(m_operation);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSetupPasswordDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* form = new QFormLayout;
    form->addRow(m_enterLabel, m_enter);
    form->addRow(m_confirmLabel, m_confirm);

    auto* boxes = new QGridLayout;
    boxes->addWidget(m_setups, 0, 0);
    boxes->addWidget(m_setupsNote, 0, 1);
    boxes->addWidget(m_operation, 1, 0);
    boxes->addWidget(m_operationNote, 1, 1);
    boxes->addWidget(m_exit, 2, 0, 1, 2);
    boxes->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(boxes);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_enter->setFocus();
    m_enter->selectAll();
    Retranslate();
}

CPasswordSetupInput CSetupPasswordDlg::Input() const
{
    CPasswordSetupInput input;
    input.entered = m_enter->text();
    input.confirmed = m_confirm->text();
    input.setups = m_setups->isChecked();
    input.operation = m_operation->isChecked();
    input.exitProgram = m_exit->isChecked();
    return input;
}

void CSetupPasswordDlg::accept()
{
    // The rights object decides what a mismatch is; a scratch object keeps the caller's untouched.
    CKelvarisRights probe;
    if (probe.ApplySetup(Input()) == CKelvarisRights::EDIT_MISMATCH) {
        QMessageBox::warning(this, MessageTitle(),
            tr("The password and the confirmed password do not match.\nPlease type them again."));
        m_enter->setFocus();
        m_enter->selectAll();
        return;
    }
    QDialog::accept();
}

void CSetupPasswordDlg::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        Retranslate();
    QDialog::changeEvent(event);
}

void CSetupPasswordDlg::Retranslate()
{
    setWindowTitle(tr("Password Setup"));
    m_enterLabel->setText(tr("&Enter Password:"));
    m_confirmLabel->setText(tr("&Confirm Password:"));
    m_setups->setText(tr("&Setups"));
    m_setupsNote->setText(tr("(All functions in the Setup menu)"));
    m_operation->setText(tr("&Operation"));
    m_operationNote->setText(tr("(All functions in the File menu)"));
    m_exit->setText(tr("E&xit the program"));
    m_enter->setToolTip(tr("An empty password removes the password protection"));
    if (auto* buttons = findChild<QDialogButtonBox*>())
        KeepTitleVisible(this, buttons);
}

// --- CDialogPasswordPrompt -------------------------------------------------------------------------

std::optional<QString> CDialogPasswordPrompt::AskPassword()
{
    CEnterPasswordDlg dialog(QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Password();
}

void CDialogPasswordPrompt::ShowWrongPassword()
{
    QMessageBox::warning(QApplication::activeWindow(), MessageTitle(),
        QCoreApplication::translate("CDialogPasswordPrompt", "The password you typed is incorrect."));
}

// --- The password command --------------------------------------------------------------------------

int EditRights(CKelvarisRights& rights, QWidget* parent)
{
    CSetupPasswordDlg dialog(rights.SetupPreset(), parent);
    if (dialog.exec() != QDialog::Accepted)
        return CKelvarisRights::EDIT_CANCELLED;
    const int result = rights.ApplySetup(dialog.Input());
    // The dialog does not close on a mismatch; should one get here, nothing was changed.
    return result == CKelvarisRights::EDIT_MISMATCH ? CKelvarisRights::EDIT_CANCELLED : result;
}

bool RunPasswordCommand(CRightsCheck& rights, CProfile& profile, QWidget* parent,
    const std::function<int(CKelvarisRights&)>& edit)
{
    const auto runEdit
        = [&](CKelvarisRights& target) { return edit ? edit(target) : EditRights(target, parent); };

    if (rights.HasPassword()) {
        if (!rights.Check(RIGHT_PASSWORD))
            return false;
        // The set-up works on a copy: the password in force stays intact until a change is confirmed.
        auto edited = std::make_unique<CKelvarisRights>(*rights.Rights());
        switch (runEdit(*edited)) {
        case CKelvarisRights::EDIT_CHANGED:
            rights.SetRights(std::move(edited));
            break;
        case CKelvarisRights::EDIT_CLEARED:
            rights.ClearRights();
            break;
        default:
            return false;
        }
    } else {
        auto created = std::make_unique<CKelvarisRights>();
        if (runEdit(*created) != CKelvarisRights::EDIT_CHANGED)
            return false;
        rights.SetRights(std::move(created));
    }
    return rights.StoreRights(profile);
}
