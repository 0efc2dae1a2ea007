#include "app/Language.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QEvent>
#include <QLibraryInfo>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTranslator>

#include "widgets/WidgetFit.h"

#include "ui_LanguageDialog.h"

namespace {
constexpr CLanguageRow kLanguages[kLanguageCount] = {
    { 0, "D", "de", "de", 1031, QLocale::German, QLocale::Germany },
    { 1, "GB", "uk", "en", 2057, QLocale::English, QLocale::UnitedKingdom },
    { 2, "F", "fr", "fr", 1036, QLocale::French, QLocale::France },
    { 3, "I", "it", "it", 1040, QLocale::Italian, QLocale::Italy },
    { 4, "E", "es", "es", 3082, QLocale::Spanish, QLocale::Spain },
    { 5, "NL", "nl", "nl", 1043, QLocale::Dutch, QLocale::Netherlands },
    { 6, "TR", "tr", "tr", 1055, QLocale::Turkish, QLocale::Turkey },
    { 7, "J", "jp", "jp", 1041, QLocale::Japanese, QLocale::Japan },
    { 8, "RUS", "ru", "ru", 1049, QLocale::Russian, QLocale::Russia },
    { 9, "RC", "cn", "cn", 1028, QLocale::Chinese, QLocale::Taiwan },
};

constexpr int kEnglish = 1;

bool IsOffered(int index)
{
    return index >= 0 && index < kLanguageCount && (kOfferedLanguages & (1 << index)) != 0;
}

// The offered language of a locale (by its language alone), or -1.
int OfferedIndexOf(const QLocale& locale)
{
    for (const CLanguageRow& row : kLanguages) {
        if (row.m_language == locale.language() && IsOffered(row.m_index))
            return row.m_index;
    }
    return -1;
}

// The translators installed by the last ApplyLanguage; owned by the application object, so they
// go with it.
QPointer<QTranslator> s_programTranslator;
QPointer<QTranslator> s_qtTranslator;
int s_appliedLanguage = -1;

// Removes an installed translator; true when that told the widgets about the change.
bool RemoveTranslator(QPointer<QTranslator>& translator)
{
    bool notified = false;
    if (translator) {
        notified = QCoreApplication::removeTranslator(translator);
        delete translator.data();
    }
    translator = nullptr;
    return notified;
}

// Loads and installs a translator; `installed` tells whether installing it notified the widgets.
// Returns whether the file was loaded.
bool InstallTranslator(
    QPointer<QTranslator>& slot, const QString& fileName, const QString& directory, bool& notified)
{
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(fileName, directory)) {
        delete translator;
        return false;
    }
    slot = translator;
    // An empty translation file installs without telling anyone; the caller sees to that.
    if (QCoreApplication::installTranslator(translator))
        notified = true;
    return true;
}
} // namespace

const CLanguageRow* LanguageRow(int index)
{
    if (index < 0 || index >= kLanguageCount)
        return nullptr;
    return &kLanguages[index];
}

QLocale LanguageLocale(int index)
{
    const CLanguageRow* row = LanguageRow(index);
    if (!row)
        return QLocale::system();
    return QLocale(row->m_language, row->m_territory);
}

int SystemLanguage()
{
    const QLocale system = QLocale::system();
    for (const QString& name : system.uiLanguages()) {
        const int index = OfferedIndexOf(QLocale(name));
        if (index >= 0)
            return index;
    }
    const int index = OfferedIndexOf(system);
    return index >= 0 ? index : kEnglish;
}

QString LanguageNativeName(int index)
{
    switch (index) {
    case 0:
        return QStringLiteral("Deutsch");
    case 1:
        return QStringLiteral("English");
    case 2:
        return QStringLiteral("Français");
    case 3:
        return QStringLiteral("Italiano");
    case 4:
        return QStringLiteral("Español");
    case 5:
        return QStringLiteral("Nederlands");
    case 6:
        return QStringLiteral("Türkçe");
    case 7:
        return QStringLiteral("日本語");
    case 8:
        return QStringLiteral("Русский");
    case 9:
        return QStringLiteral("中文（繁體）");
    default:
        return QString();
    }
}

bool ApplyLanguage(int index)
{
    const QLocale locale = LanguageLocale(index);
    // Outside the table the system's language decides which texts to show, when the program has them.
    const int textIndex = LanguageRow(index) ? index : SystemLanguage();
    QLocale::setDefault(locale);
    s_appliedLanguage = index;

    bool notified = RemoveTranslator(s_programTranslator);
    notified = RemoveTranslator(s_qtTranslator) || notified;

    bool loaded = false;
    if (IsOffered(textIndex) && QCoreApplication::instance()) {
        const QString code = QString::fromLatin1(kLanguages[textIndex].m_languageCode);
        loaded = InstallTranslator(
            s_programTranslator, QStringLiteral("kelvaris_") + code, QStringLiteral(":/i18n"), notified);
        // Qt's own texts (the standard buttons, the file dialogs); optional.
        if (textIndex != kEnglish) {
            InstallTranslator(s_qtTranslator, QStringLiteral("qtbase_") + code,
                QLibraryInfo::path(QLibraryInfo::TranslationsPath), notified);
        }
    }
    // The locale changed in any case: the widgets re-apply their texts and formats.
    if (!notified && QCoreApplication::instance()) {
        QEvent change(QEvent::LanguageChange);
        QCoreApplication::sendEvent(QCoreApplication::instance(), &change);
    }
    // The source texts are English.
    return loaded || textIndex == kEnglish;
}

int AppliedLanguage()
{
    return s_appliedLanguage;
}

// --- CLanguageDialog -------------------------------------------------------------------------------

CLanguageDialog::CLanguageDialog(int currentIndex, QWidget* parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::CLanguageDialog>())
    , m_current(currentIndex)
{
    m_ui->setupUi(this);
    for (const CLanguageRow& row : kLanguages) {
        if (!IsOffered(row.m_index))
            continue;
        auto* item = new QListWidgetItem(LanguageNativeName(row.m_index), m_ui->languages);
        item->setData(Qt::UserRole, row.m_index);
        if (row.m_index == currentIndex)
            m_ui->languages->setCurrentItem(item);
    }
    connect(m_ui->languages, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    m_ui->buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(m_ui->buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_ui->buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    m_ui->languages->setFocus();
    FitTexts();
}

CLanguageDialog::~CLanguageDialog() = default;

int CLanguageDialog::SelectedIndex() const
{
    const QListWidgetItem* item = m_ui->languages->currentItem();
    if (!item || !item->isSelected())
        return m_current;
    return item->data(Qt::UserRole).toInt();
}

void CLanguageDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        m_ui->retranslateUi(this);
        FitTexts();
    }
    QDialog::changeEvent(event);
}

void CLanguageDialog::FitTexts()
{
    // A window at least as wide as its title needs.
    KeepTitleVisible(this, m_ui->buttons);
    m_ui->languages->setAccessibleName(m_ui->languagesLabel->text().remove(u':').trimmed());
}
