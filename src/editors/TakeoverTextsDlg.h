#pragma once

#include <memory>

#include <QDialog>
#include <QString>

namespace Ui {
class CTakeoverTextsDlg;
} // namespace Ui

// A placeholder hint ("{{GROUP}}<tab>Name of the alarm group") as its two columns: the placeholder
// and its meaning. A hint without a tab is all placeholder.
struct CPlaceholderHint
{
    QString placeholder;
    QString meaning;
};
CPlaceholderHint SplitPlaceholderHint(const QString& hint);

// "Messages used for takeover mode": the texts of the request to the next member ("request"), of
// the confirmation ("confirm") and of the no-response message to the previous holder ("timeout"),
// with the hints for the placeholders the texts may hold ("placeholder0" to "placeholder2" beside
// "meaning0" to "meaning2": {{GROUP}}, {{CURRENT}}, {{NEXT}}). The caller stores the texts on OK.
class CTakeoverTextsDlg : public QDialog
{
    Q_OBJECT

public:
    CTakeoverTextsDlg(
        const QString& request, const QString& confirm, const QString& timeout, QWidget* parent = nullptr);
    ~CTakeoverTextsDlg() override;

    QString RequestText() const;
    QString ConfirmText() const;
    QString TimeoutText() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    // The hints (one translated text each, split at its tab) and the title's room.
    void ShowHints();

    const std::unique_ptr<Ui::CTakeoverTextsDlg> m_ui;
};
