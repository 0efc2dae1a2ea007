#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// "About Kelvaris": the program's name, version and the libraries it uses.
class CAboutDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CAboutDialog(QWidget* parent = nullptr);

protected:
    void changeEvent(QEvent* event) override;

private:
    void Retranslate();
    QLabel* m_version = nullptr;
    QLabel* m_description = nullptr;
    QLabel* m_libraries = nullptr;
};

// "System information": the configuration file path text and the environment the program runs in.
class CSystemInfoDialog : public QDialog
{
    Q_OBJECT

public:
    CSystemInfoDialog(const QString& configurationText, QWidget* parent = nullptr);
    // The text shown (and copied): the configuration text, then the environment.
    QString Text() const;
    QPlainTextEdit* TextEdit() const { return m_text; }
    QPushButton* CopyButton() const { return m_copy; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void Retranslate();
    QString m_configurationText;
    QPlainTextEdit* m_text = nullptr;
    QPushButton* m_copy = nullptr;
};

// The configuration path text of the system information: "Configuration path: " (translated), then
// "\r\n    " and the folder of the configuration file, then, with a master file, "\r\n    " and its
// folder, then "\r\n".
QString ConfigurationPathText(const QString& configPath, const QString& masterPath);
