#pragma once

#include <memory>

#include <QDialog>
#include <QLocale>
#include <QString>

namespace Ui {
class CLanguageDialog;
} // namespace Ui

// The language table: index 0 German, 1 English (United Kingdom), 2 French, 3 Italian, 4 Spanish,
// 5 Dutch, 6 Turkish, 7 Japanese, 8 Russian, 9 Chinese (traditional). The program carries the
// user-interface texts of the languages in kOfferedLanguages (bits 0, 1, 2, 4, 5).
constexpr int kLanguageCount = 10;
constexpr int kOfferedLanguages = 55;

struct CLanguageRow
{
    int m_index;
    const char* m_countryCode; // "D", "GB", ...
    const char* m_code; // "de", "uk", ...
    const char* m_languageCode; // "de", "en", ...
    int m_localeId; // the Windows locale identifier (1031, 2057, ...)
    QLocale::Language m_language;
    QLocale::Territory m_territory;
};

// The row of an index; null outside 0 to 9.
const CLanguageRow* LanguageRow(int index);
// The locale of an index; the system's locale outside 0 to 9.
QLocale LanguageLocale(int index);
// The offered language the system's user interface asks for: the first of its user-interface
// languages (LANGUAGE, LC_ALL, LC_MESSAGES, LANG) that the program carries, English when none is.
int SystemLanguage();
// The language's own name ("Deutsch", "English", "Français", "Español", "Nederlands").
QString LanguageNativeName(int index);

// Applies a language to the running program: installs the translator of the language's texts (the
// program's and Qt's own, replacing the previous ones; English needs none) and makes its locale the
// default. Every widget then gets a LanguageChange event and retranslates itself. An index outside
// 0 to 9 applies the system's locale with the texts of SystemLanguage(). Returns false when the program
// does not carry the language's texts (the locale is applied all the same).
bool ApplyLanguage(int index);
// The index applied last (-1 before the first ApplyLanguage).
int AppliedLanguage();

// "Language": the offered languages in their own names (the list "languages"); OK selects.
class CLanguageDialog : public QDialog
{
    Q_OBJECT

public:
    CLanguageDialog(int currentIndex, QWidget* parent = nullptr);
    ~CLanguageDialog() override;
    // The chosen index.
    int SelectedIndex() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    void FitTexts();
    const std::unique_ptr<Ui::CLanguageDialog> m_ui;
    int m_current = -1;
};
