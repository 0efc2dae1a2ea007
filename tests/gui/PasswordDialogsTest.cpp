#include "app/PasswordDialogs.h"

#include <functional>

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "schedule/Profile.h"

#include "ConfigLocationScope.h"
#include "DialogTesting.h"

namespace {
struct CCaughtBox
{
    QString title;
    QString text;
    int count = 0;
};

// Closes the next message box, keeping its title and text.
void CatchMessageBox(CCaughtBox& caught)
{
    WhenModal<QMessageBox>([&caught](QMessageBox* box) {
        caught.title = box->windowTitle();
        caught.text = box->text();
        ++caught.count;
        box->done(QMessageBox::Ok);
    });
}

class CFakePrompt : public CPasswordPrompt
{
public:
    std::optional<QString> answer;
    int asked = 0;
    int wrong = 0;
    std::optional<QString> AskPassword() override
    {
        ++asked;
        return answer;
    }
    void ShowWrongPassword() override { ++wrong; }
};

// The input of the set-up dialog as an editing function.
std::function<int(CKelvarisRights&)> Typing(
    const QString& password, bool setups = true, bool operation = true, bool exitProgram = true)
{
    return [=](CKelvarisRights& rights) {
        return rights.ApplySetup({ password, password, setups, operation, exitProgram });
    };
}
} // namespace

class PasswordDialogsTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_configPath;
    std::unique_ptr<CConfigLocationScope> m_scope;

    QString StoredPassword() const
    {
        CProfile::DropCachedFiles();
        return CProfile(m_configPath)
            .ReadString(QStringLiteral("Settings"), QStringLiteral("Password"), QStringLiteral("<none>"));
    }

    // A rights check holding `password` with all flags, its key stored.
    void InstallPassword(CRightsCheck& check, const QString& password)
    {
        auto rights = std::make_unique<CKelvarisRights>();
        rights->SetPassword(password);
        check.SetRights(std::move(rights));
        CProfile profile(m_configPath);
        QVERIFY(check.StoreRights(profile));
    }

private Q_SLOTS:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_configPath = m_dir.filePath(QStringLiteral("kelvaris.cfg"));
        QFile file(m_configPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Settings]\r\nLanguage=1\r\n");
        file.close();
        CProfile::DropCachedFiles();
        m_scope = std::make_unique<CConfigLocationScope>(m_configPath);
    }
    void cleanup() { m_scope.reset(); }

    void setupDialogShowsPresetAndReturnsInput()
    {
        CSetupPasswordDlg dlg({ QStringLiteral("abc"), false, true, false });
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Password Setup"));
        QCOMPARE(Named<QLineEdit>(&dlg, "enter")->text(), QStringLiteral("abc"));
        QCOMPARE(Named<QLineEdit>(&dlg, "confirm")->text(), QStringLiteral("abc"));
        QCOMPARE(Named<QLineEdit>(&dlg, "enter")->echoMode(), QLineEdit::Password);
        QCOMPARE(Named<QLineEdit>(&dlg, "confirm")->echoMode(), QLineEdit::Password);
        QVERIFY(!Named<QCheckBox>(&dlg, "setups")->isChecked());
        QVERIFY(Named<QCheckBox>(&dlg, "operation")->isChecked());
        QVERIFY(!Named<QCheckBox>(&dlg, "exitProgram")->isChecked());
        QCOMPARE(Named<QCheckBox>(&dlg, "setups")->text(), QStringLiteral("&Setups"));
        QCOMPARE(Named<QCheckBox>(&dlg, "exitProgram")->text(), QStringLiteral("E&xit the program"));
        // The labels carry the mnemonics of the edits.
        int buddies = 0;
        for (QLabel* label : dlg.findChildren<QLabel*>()) {
            if (label->text() == QStringLiteral("&Enter Password:"))
                buddies += label->buddy() == Named<QLineEdit>(&dlg, "enter");
            if (label->text() == QStringLiteral("&Confirm Password:"))
                buddies += label->buddy() == Named<QLineEdit>(&dlg, "confirm");
        }
        QCOMPARE(buddies, 2);
        SaveScreenshot(dlg, QStringLiteral("password-setup"));

        Named<QLineEdit>(&dlg, "enter")->setText(QStringLiteral("new"));
        Named<QLineEdit>(&dlg, "confirm")->setText(QStringLiteral("new2"));
        Named<QCheckBox>(&dlg, "setups")->setChecked(true);
        Named<QCheckBox>(&dlg, "operation")->setChecked(false);
        const CPasswordSetupInput input = dlg.Input();
        QCOMPARE(input.entered, QStringLiteral("new"));
        QCOMPARE(input.confirmed, QStringLiteral("new2"));
        QVERIFY(input.setups && !input.operation && !input.exitProgram);
    }

    void mismatchWarnsAndKeepsTheDialogOpen()
    {
        CSetupPasswordDlg dlg({});
        dlg.show();
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        Named<QLineEdit>(&dlg, "enter")->setText(QStringLiteral("one"));
        Named<QLineEdit>(&dlg, "confirm")->setText(QStringLiteral("two"));
        Named<QLineEdit>(&dlg, "confirm")->setFocus();
        QSignalSpy accepted(&dlg, &QDialog::accepted);

        CCaughtBox box;
        CatchMessageBox(box);
        dlg.accept();
        QCOMPARE(box.count, 1);
        QCOMPARE(box.title, QStringLiteral("Kelvaris"));
        QCOMPARE(box.text,
            QStringLiteral("The password and the confirmed password do not match.\nPlease type them again."));
        QVERIFY(dlg.isVisible());
        QCOMPARE(accepted.count(), 0);
        QCOMPARE(dlg.focusWidget(), static_cast<QWidget*>(Named<QLineEdit>(&dlg, "enter")));

        Named<QLineEdit>(&dlg, "confirm")->setText(QStringLiteral("one"));
        dlg.accept();
        QCOMPARE(accepted.count(), 1);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
    }

    void enterPasswordDialogAndPrompt()
    {
        CEnterPasswordDlg dlg;
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Please enter your password"));
        QCOMPARE(Named<QLineEdit>(&dlg, "password")->echoMode(), QLineEdit::Password);
        auto* ok = dlg.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        QVERIFY(ok && ok->isDefault());
        SaveScreenshot(dlg, QStringLiteral("password-enter"));

        CDialogPasswordPrompt prompt;
        WhenModal<CEnterPasswordDlg>([](CEnterPasswordDlg* asking) {
            QTest::keyClicks(Named<QLineEdit>(asking, "password"), QStringLiteral("s3cret"));
            QTest::keyClick(Named<QLineEdit>(asking, "password"), Qt::Key_Return);
        });
        QCOMPARE(prompt.AskPassword(), std::optional<QString>(QStringLiteral("s3cret")));

        WhenModal<CEnterPasswordDlg>([](CEnterPasswordDlg* asking) {
            Named<QLineEdit>(asking, "password")->setText(QStringLiteral("typed"));
            QTest::keyClick(asking, Qt::Key_Escape);
        });
        QCOMPARE(prompt.AskPassword(), std::nullopt);

        CCaughtBox box;
        CatchMessageBox(box);
        prompt.ShowWrongPassword();
        QCOMPARE(box.count, 1);
        QCOMPARE(box.text, QStringLiteral("The password you typed is incorrect."));
    }

    void editRightsThroughTheDialog()
    {
        CKelvarisRights rights;
        rights.SetPassword(QStringLiteral("old"));

        // Cancel and an emptied password leave the object as it was.
        WhenModal<CSetupPasswordDlg>([](CSetupPasswordDlg* dlg) { dlg->reject(); });
        QCOMPARE(EditRights(rights, nullptr), CKelvarisRights::EDIT_CANCELLED);
        WhenModal<CSetupPasswordDlg>([](CSetupPasswordDlg* dlg) {
            Named<QLineEdit>(dlg, "enter")->clear();
            Named<QLineEdit>(dlg, "confirm")->clear();
            dlg->accept();
        });
        QCOMPARE(EditRights(rights, nullptr), CKelvarisRights::EDIT_CLEARED);
        QCOMPARE(rights.Password(), QStringLiteral("old"));
        QCOMPARE(rights.Flags(), CPassword::kAllFlags);

        QString preset;
        WhenModal<CSetupPasswordDlg>([&preset](CSetupPasswordDlg* dlg) {
            preset = Named<QLineEdit>(dlg, "enter")->text();
            Named<QLineEdit>(dlg, "enter")->setText(QStringLiteral("new"));
            Named<QLineEdit>(dlg, "confirm")->setText(QStringLiteral("new"));
            Named<QCheckBox>(dlg, "exitProgram")->setChecked(false);
            dlg->accept();
        });
        QCOMPARE(EditRights(rights, nullptr), CKelvarisRights::EDIT_CHANGED);
        QCOMPARE(preset, QStringLiteral("old"));
        QCOMPARE(rights.Password(), QStringLiteral("new"));
        QCOMPARE(rights.Flags(), CPassword::kAllFlags & ~RIGHTS_EXIT);
    }

    void newPasswordIsStored()
    {
        CFakePrompt prompt;
        CRightsCheck check(&prompt);
        CProfile profile(m_configPath);

        // Cancelled, or confirmed empty: nothing is installed and the file stays as it was.
        QVERIFY(!RunPasswordCommand(
            check, profile, nullptr, [](CKelvarisRights&) { return CKelvarisRights::EDIT_CANCELLED; }));
        QVERIFY(!RunPasswordCommand(check, profile, nullptr, Typing(QString())));
        QVERIFY(!check.HasPassword());
        QCOMPARE(StoredPassword(), QStringLiteral("<none>"));

        QVERIFY(RunPasswordCommand(check, profile, nullptr, Typing(QStringLiteral("pw"))));
        QCOMPARE(prompt.asked, 0);
        QVERIFY(check.HasPassword());
        QCOMPARE(check.Rights()->Flags(), 0xFFFFFFFFu);
        CPassword stored;
        QVERIFY(stored.Decode(StoredPassword()));
        QCOMPARE(stored.Password(), QStringLiteral("pw"));
        QCOMPARE(stored.Flags(), 0xFFFFFFFFu);
        // The other keys of the file stay.
        QCOMPARE(
            CProfile(m_configPath).ReadInt(QStringLiteral("Settings"), QStringLiteral("Language"), 0), 1);
    }

    void existingPasswordIsCheckedChangedAndCleared()
    {
        CFakePrompt prompt;
        CRightsCheck check(&prompt);
        InstallPassword(check, QStringLiteral("right"));
        const QString before = StoredPassword();
        CProfile profile(m_configPath);
        int edits = 0;
        const auto counting = [&edits](CKelvarisRights& rights) {
            ++edits;
            return rights.ApplySetup({ QStringLiteral("next"), QStringLiteral("next"), false, true, true });
        };

        // A wrong password refuses the command before the dialog.
        prompt.answer = QStringLiteral("wrong");
        QVERIFY(!RunPasswordCommand(check, profile, nullptr, counting));
        QCOMPARE(prompt.wrong, 1);
        prompt.answer.reset();
        QVERIFY(!RunPasswordCommand(check, profile, nullptr, counting));
        QCOMPARE(edits, 0);
        QCOMPARE(StoredPassword(), before);

        // A cancelled edit leaves the password in force, even if the editor touched its object.
        prompt.answer = QStringLiteral("right");
        QVERIFY(!RunPasswordCommand(check, profile, nullptr, [](CKelvarisRights& rights) {
            rights.SetPassword(QStringLiteral("half-typed"));
            rights.SetFlags(0);
            return CKelvarisRights::EDIT_CANCELLED;
        }));
        QCOMPARE(check.Rights()->Password(), QStringLiteral("right"));
        QCOMPARE(check.Rights()->Flags(), CPassword::kAllFlags);
        QCOMPARE(StoredPassword(), before);

        QVERIFY(RunPasswordCommand(check, profile, nullptr, counting));
        QCOMPARE(edits, 1);
        QCOMPARE(check.Rights()->Password(), QStringLiteral("next"));
        QCOMPARE(check.Rights()->Flags(), CPassword::kAllFlags & ~RIGHTS_SETUPS);
        CPassword stored;
        QVERIFY(stored.Decode(StoredPassword()));
        QCOMPARE(stored.Password(), QStringLiteral("next"));

        // Without the set-ups protected, the command no longer asks; an empty password deletes the key.
        const int asked = prompt.asked;
        QVERIFY(RunPasswordCommand(check, profile, nullptr, Typing(QString())));
        QCOMPARE(prompt.asked, asked);
        QVERIFY(!check.HasPassword());
        QCOMPARE(StoredPassword(), QStringLiteral("<none>"));
    }

    void commandWithTheDialogAndAFailedStore()
    {
        CFakePrompt prompt;
        CRightsCheck check(&prompt);
        CProfile profile(m_configPath);
        WhenModal<CSetupPasswordDlg>([](CSetupPasswordDlg* dlg) {
            QVERIFY(Named<QLineEdit>(dlg, "enter")->text().isEmpty());
            QVERIFY(Named<QCheckBox>(dlg, "setups")->isChecked()
                && Named<QCheckBox>(dlg, "operation")->isChecked());
            Named<QLineEdit>(dlg, "enter")->setText(QStringLiteral("dialog"));
            Named<QLineEdit>(dlg, "confirm")->setText(QStringLiteral("dialog"));
            Named<QCheckBox>(dlg, "operation")->setChecked(false);
            dlg->accept();
        });
        QVERIFY(RunPasswordCommand(check, profile, nullptr));
        CPassword stored;
        QVERIFY(stored.Decode(StoredPassword()));
        QCOMPARE(stored.Password(), QStringLiteral("dialog"));
        QCOMPARE(stored.Flags(), CPassword::kAllFlags & ~RIGHTS_OPERATION);

        // A file that cannot be written is reported.
        CRightsCheck fresh(&prompt);
        CProfile missing(m_dir.filePath(QStringLiteral("no-such-folder/kelvaris.cfg")));
        QVERIFY(!RunPasswordCommand(fresh, missing, nullptr, Typing(QStringLiteral("pw"))));
    }
};

QTEST_MAIN(PasswordDialogsTest)
#include "PasswordDialogsTest.moc"
