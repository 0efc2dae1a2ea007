#include "app/PasswordDialogs.h"

#include <memory>

#include <QApplication>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "schedule/Profile.h"
#include "widgets/WidgetFit.h"

#include "ui_EnterPasswordDlg.h"
#include "ui_SetupPasswordDlg.h"

namespace {
// The title of the program's message boxes: its name, which is not translated.
QString MessageTitle()
{
    return QStringLiteral("Kelvaris");
}

// Room for a long password, whatever the language of the label beside it.
void SizePasswordEdit(QLineEdit* edit)
{
    edit->setMinimumWidth(edit->fontMetrics().averageCharWidth() * 28);
}
} // namespace

// --- CEnterPasswordDlg -----------------------------------------------------------------------------

CEnterPasswordDlg::CEnterPasswordDlg(QWidget* parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::CEnterPasswordDlg>())
{
    m_ui->setupUi(this);
    m_ui->buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(m_ui->buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_ui->buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    SizePasswordEdit(m_ui->password);
    KeepTitleVisible(this, m_ui->buttons);
    m_ui->password->setFocus();
}

CEnterPasswordDlg::~CEnterPasswordDlg() = default;

QString CEnterPasswordDlg::Password() const
{
    return m_ui->password->text();
}

void CEnterPasswordDlg::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        m_ui->retranslateUi(this);
        KeepTitleVisible(this, m_ui->buttons);
    }
    QDialog::changeEvent(event);
}

// --- CSetupPasswordDlg -----------------------------------------------------------------------------

CSetupPasswordDlg::CSetupPasswordDlg(const CPasswordSetupPreset& preset, QWidget* parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::CSetupPasswordDlg>())
{
    m_ui->setupUi(this);
    m_ui->enter->setText(preset.password);
    m_ui->confirm->setText(preset.password);
    m_ui->setups->setChecked(preset.setups);
    m_ui->operation->setChecked(preset.operation);
    m_ui->exitProgram->setChecked(preset.exitProgram);
    m_ui->buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(m_ui->buttons, &QDialogButtonBox::accepted, this, &CSetupPasswordDlg::accept);
    connect(m_ui->buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    SizePasswordEdit(m_ui->enter);
    KeepTitleVisible(this, m_ui->buttons);
    m_ui->enter->setFocus();
    m_ui->enter->selectAll();
}

CSetupPasswordDlg::~CSetupPasswordDlg() = default;

CPasswordSetupInput CSetupPasswordDlg::Input() const
{
    CPasswordSetupInput input;
    input.entered = m_ui->enter->text();
    input.confirmed = m_ui->confirm->text();
    input.setups = m_ui->setups->isChecked();
    input.operation = m_ui->operation->isChecked();
    input.exitProgram = m_ui->exitProgram->isChecked();
    return input;
}

void CSetupPasswordDlg::accept()
{
    // The rights object decides what a mismatch is; a scratch object keeps the caller's untouched.
    CKelvarisRights probe;
    if (probe.ApplySetup(Input()) == CKelvarisRights::EDIT_MISMATCH) {
        QMessageBox::warning(this, MessageTitle(),
            tr("The password and the confirmed password do not match.\nPlease type them again."));
        m_ui->enter->setFocus();
        m_ui->enter->selectAll();
        return;
    }
    QDialog::accept();
}

void CSetupPasswordDlg::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        m_ui->retranslateUi(this);
        KeepTitleVisible(this, m_ui->buttons);
    }
    QDialog::changeEvent(event);
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
