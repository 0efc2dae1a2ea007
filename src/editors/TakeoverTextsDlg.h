#pragma once

#include <array>

#include <QDialog>
#include <QString>

class QGroupBox;
class QLabel;
class QLineEdit;

// A placeholder hint ("{{GROUP}}<tab>Name of the alarm group") as its two columns: the placeholder
// and its meaning. A hint without a tab is all placeholder.
struct CPlaceholderHint
{
    QString placeholder;
    QString meaning;
};
CPlaceholderHint SplitPlaceholderHint(const QString& hint);

// "Messages used for takeover mode": the texts of the request to the next member, of the
// confirmation and of the no-response message to the previous holder, with the hints for the
// placeholders the texts may hold. The caller stores the texts on OK.
class CTakeoverTextsDlg : public QDialog
{
    Q_OBJECT

public:
    CTakeoverTextsDlg(
        const QString& request, const QString& confirm, const QString& timeout, QWidget* parent = nullptr);

    QString RequestText() const;
    QString ConfirmText() const;
    QString TimeoutText() const;

    QLineEdit* RequestEdit() const { return m_request; }
    QLineEdit* ConfirmEdit() const { return m_confirm; }
    QLineEdit* TimeoutEdit() const { return m_timeout; }
    // The hints as shown: placeholder and meaning of {{GROUP}}, {{CURRENT}} and {{NEXT}}.
    QLabel* HintPlaceholderLabel(int hint) const { return m_hintPlaceholders.at(size_t(hint)); }
    QLabel* HintMeaningLabel(int hint) const { return m_hintMeanings.at(size_t(hint)); }

protected:
    void changeEvent(QEvent* event) override;

private:
    void Retranslate();

    QLineEdit* m_request = nullptr;
    QLineEdit* m_confirm = nullptr;
    QLineEdit* m_timeout = nullptr;
    QLabel* m_requestLabel = nullptr;
    QLabel* m_confirmLabel = nullptr;
    QLabel* m_timeoutLabel = nullptr;
    QGroupBox* m_hintsGroup = nullptr;
    std::array<QLabel*, 3> m_hintPlaceholders {};
    std::array<QLabel*, 3> m_hintMeanings {};
};
