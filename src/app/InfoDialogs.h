#pragma once

#include <memory>

#include <QDialog>

namespace Ui {
class CAboutDialog;
class CSystemInfoDialog;
} // namespace Ui

// "About Kelvaris": the program's name, version and the libraries it uses.
class CAboutDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CAboutDialog(QWidget* parent = nullptr);
    ~CAboutDialog() override;

protected:
    void changeEvent(QEvent* event) override;

private:
    // The texts with numbers in them, and the title's room.
    void ShowTexts();
    const std::unique_ptr<Ui::CAboutDialog> m_ui;
};

// "System information": the configuration file path text and the environment the program runs in
// (in "text"; "copy" puts it on the clipboard).
class CSystemInfoDialog : public QDialog
{
    Q_OBJECT

public:
    CSystemInfoDialog(const QString& configurationText, QWidget* parent = nullptr);
    ~CSystemInfoDialog() override;
    // The text shown (and copied): the configuration text, then the environment.
    QString Text() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    void ShowText();
    const std::unique_ptr<Ui::CSystemInfoDialog> m_ui;
    QString m_configurationText;
};
// The configuration path text of the system information: "Configuration path: " (translated), then
// "\r\n    " and the folder of the configuration file, then, with a master file, "\r\n    " and its
// folder, then "\r\n".
QString ConfigurationPathText(const QString& configPath, const QString& masterPath);
