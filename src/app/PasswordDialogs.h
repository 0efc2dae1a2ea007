#pragma once

#include <functional>
#include <optional>

#include <QDialog>

#include "engine/Password.h"

class QCheckBox;
class QLineEdit;
class QWidget;
class CProfile;

// "Please enter your password": one masked field and OK; Escape cancels.
class CEnterPasswordDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CEnterPasswordDlg(QWidget* parent = nullptr);
    QString Password() const;
    QLineEdit* PasswordEdit() const { return m_password; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void Retranslate();
    QLineEdit* m_password = nullptr;
    class QLabel* m_label = nullptr;
};

// "Password Setup": the password twice (masked), the three protected groups, OK and Cancel. OK with
// two different texts shows the mismatch message and keeps the dialog open.
class CSetupPasswordDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CSetupPasswordDlg(const CPasswordSetupPreset& preset, QWidget* parent = nullptr);
    CPasswordSetupInput Input() const;

    QLineEdit* EnterEdit() const { return m_enter; }
    QLineEdit* ConfirmEdit() const { return m_confirm; }
    QCheckBox* SetupsBox() const { return m_setups; }
    QCheckBox* OperationBox() const { return m_operation; }
    QCheckBox* ExitBox() const { return m_exit; }

public Q_SLOTS:
    void accept() override;

protected:
    void changeEvent(QEvent* event) override;

private:
    void Retranslate();
    QLineEdit* m_enter = nullptr;
    QLineEdit* m_confirm = nullptr;
    QCheckBox* m_setups = nullptr;
    QCheckBox* m_operation = nullptr;
    QCheckBox* m_exit = nullptr;
    class QLabel* m_enterLabel = nullptr;
    class QLabel* m_confirmLabel = nullptr;
    class QLabel* m_setupsNote = nullptr;
    class QLabel* m_operationNote = nullptr;
};

// The rights check's prompt: the enter-password dialog over the active window, and the message
// "The password you typed is incorrect." after a wrong one.
class CDialogPasswordPrompt : public CPasswordPrompt
{
public:
    std::optional<QString> AskPassword() override;
    void ShowWrongPassword() override;
};

// The editing operation of the operator's password with the set-up dialog: CKelvarisRights::
// EDIT_CHANGED, EDIT_CANCELLED or EDIT_CLEARED.
int EditRights(CKelvarisRights& rights, QWidget* parent);

// The "&Password..." command: with a password set, right 11 first; then the set-up dialog (through
// `edit`, EditRights when empty); a changed password is stored, a cleared one deletes the key.
// Returns true when the configuration file was written.
bool RunPasswordCommand(CRightsCheck& rights, CProfile& profile, QWidget* parent,
    const std::function<int(CKelvarisRights&)>& edit = {});
