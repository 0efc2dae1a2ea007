#pragma once

#include <functional>
#include <memory>
#include <optional>

#include <QDialog>

#include "engine/Password.h"

class QWidget;
class CProfile;

namespace Ui {
class CEnterPasswordDlg;
class CSetupPasswordDlg;
} // namespace Ui

// "Please enter your password": one masked field ("password") and OK; Escape cancels.
class CEnterPasswordDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CEnterPasswordDlg(QWidget* parent = nullptr);
    ~CEnterPasswordDlg() override;
    QString Password() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    const std::unique_ptr<Ui::CEnterPasswordDlg> m_ui;
};

// "Password Setup": the password twice (masked: "enter", "confirm"), the three protected groups
// ("setups", "operation", "exitProgram"), OK and Cancel. OK with two different texts shows the
// mismatch message and keeps the dialog open.
class CSetupPasswordDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CSetupPasswordDlg(const CPasswordSetupPreset& preset, QWidget* parent = nullptr);
    ~CSetupPasswordDlg() override;
    CPasswordSetupInput Input() const;

public Q_SLOTS:
    void accept() override;

protected:
    void changeEvent(QEvent* event) override;

private:
    const std::unique_ptr<Ui::CSetupPasswordDlg> m_ui;
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
