#include "app/Language.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTest>
#include <QTranslator>

#include "app/InfoDialogs.h"
#include "app/PasswordDialogs.h"

#include "DialogTesting.h"

namespace {
// Counts the language changes a top-level widget is told about.
class CLanguageWatcher : public QWidget
{
public:
    int changes = 0;

protected:
    void changeEvent(QEvent* event) override
    {
        if (event->type() == QEvent::LanguageChange)
            ++changes;
        QWidget::changeEvent(event);
    }
};

// A language in which every text reads "#" and the English text.
class CMarkingTranslator : public QTranslator
{
public:
    QString translate(const char*, const char* source, const char*, int) const override
    {
        return QStringLiteral("#") + QString::fromUtf8(source);
    }
    bool isEmpty() const override { return false; }
};

QStringList LabelTexts(const QWidget& widget)
{
    QStringList texts;
    for (const QLabel* label : widget.findChildren<QLabel*>())
        texts << label->text();
    return texts;
}
} // namespace

class LanguageTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { ApplyLanguage(1); }

    void languageTable()
    {
        QCOMPARE(LanguageRow(-1), nullptr);
        QCOMPARE(LanguageRow(kLanguageCount), nullptr);
        const char* const country[] = { "D", "GB", "F", "I", "E", "NL", "TR", "J", "RUS", "RC" };
        const char* const code[] = { "de", "uk", "fr", "it", "es", "nl", "tr", "jp", "ru", "cn" };
        const int localeIds[] = { 1031, 2057, 1036, 1040, 3082, 1043, 1055, 1041, 1049, 1028 };
        const char* const locales[]
            = { "de_DE", "en_GB", "fr_FR", "it_IT", "es_ES", "nl_NL", "tr_TR", "ja_JP", "ru_RU", "zh_TW" };
        for (int index = 0; index < kLanguageCount; ++index) {
            const CLanguageRow* row = LanguageRow(index);
            QVERIFY(row);
            QCOMPARE(row->m_index, index);
            QCOMPARE(row->m_countryCode, country[index]);
            QCOMPARE(row->m_code, code[index]);
            QCOMPARE(row->m_localeId, localeIds[index]);
            QCOMPARE(LanguageLocale(index).name(), QString::fromLatin1(locales[index]));
            QVERIFY(!LanguageNativeName(index).isEmpty());
        }
        QCOMPARE(LanguageRow(1)->m_languageCode, "en");
        QCOMPARE(LanguageLocale(9).script(), QLocale::TraditionalChineseScript);
        QCOMPARE(LanguageLocale(-1), QLocale::system());
        QCOMPARE(LanguageNativeName(2), QStringLiteral("Français"));
        QCOMPARE(LanguageNativeName(9), QStringLiteral("中文（繁體）"));
    }

    void applyLanguageSetsLocaleAndTellsTheWidgets()
    {
        // The program's translations are compiled in under this path.
        for (const char* code : { "de", "en", "fr", "es", "nl" })
            QVERIFY2(QFile::exists(QStringLiteral(":/i18n/kelvaris_%1.qm").arg(QLatin1String(code))), code);

        CLanguageWatcher watcher;
        QVERIFY(ApplyLanguage(0));
        QCOMPARE(AppliedLanguage(), 0);
        QCOMPARE(QLocale().name(), QStringLiteral("de_DE"));
        QCoreApplication::processEvents();
        QVERIFY(watcher.changes > 0);

        watcher.changes = 0;
        QVERIFY(ApplyLanguage(1));
        QCOMPARE(AppliedLanguage(), 1);
        QCOMPARE(QLocale().name(), QStringLiteral("en_GB"));
        QCoreApplication::processEvents();
        QVERIFY(watcher.changes > 0);

        // Italian is in the table but its texts are not shipped: the locale applies, the texts do not.
        QVERIFY(!ApplyLanguage(3));
        QCOMPARE(QLocale().name(), QStringLiteral("it_IT"));
        QCOMPARE(AppliedLanguage(), 3);

        ApplyLanguage(-1);
        QCOMPARE(AppliedLanguage(), -1);
        QCOMPARE(QLocale(), QLocale::system());
    }

    void languageDialogListsTheOfferedLanguages()
    {
        CLanguageDialog dlg(4);
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Language"));
        QVERIFY(LabelTexts(dlg).contains(QStringLiteral("Choose the language of the user interface:")));
        QListWidget* list = Named<QListWidget>(&dlg, "languages");
        QCOMPARE(list->count(), 5);
        const int expected[] = { 0, 1, 2, 4, 5 };
        for (int row = 0; row < 5; ++row) {
            QCOMPARE(list->item(row)->data(Qt::UserRole).toInt(), expected[row]);
            QCOMPARE(list->item(row)->text(), LanguageNativeName(expected[row]));
        }
        QCOMPARE(list->currentRow(), 3);
        QVERIFY(list->item(3)->isSelected());
        QCOMPARE(dlg.SelectedIndex(), 4);
        SaveScreenshot(dlg, QStringLiteral("language"));

        list->setCurrentRow(0);
        QCOMPARE(dlg.SelectedIndex(), 0);

        // A double click chooses.
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QSignalSpy accepted(&dlg, &QDialog::accepted);
        const QRect rect = list->visualItemRect(list->item(4));
        QVERIFY(list->viewport()->rect().contains(rect.center()));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        QCOMPARE(accepted.count(), 1);
        QCOMPARE(dlg.SelectedIndex(), 5);

        // A language without shipped texts is kept when nothing is chosen.
        CLanguageDialog italian(3);
        QCOMPARE(Named<QListWidget>(&italian, "languages")->selectedItems().size(), 0);
        QCOMPARE(italian.SelectedIndex(), 3);
    }

    void dialogsRetranslateInPlace()
    {
        CLanguageDialog language(1);
        CSetupPasswordDlg setup({});
        CEnterPasswordDlg enter;
        CAboutDialog about;
        CSystemInfoDialog info(QStringLiteral("Configuration path: \r\n    /x\r\n"));

        CMarkingTranslator marking;
        QVERIFY(QCoreApplication::installTranslator(&marking));
        QCoreApplication::processEvents();
        QCOMPARE(language.windowTitle(), QStringLiteral("#Language"));
        QCOMPARE(setup.windowTitle(), QStringLiteral("#Password Setup"));
        QCOMPARE(Named<QCheckBox>(&setup, "setups")->text(), QStringLiteral("#&Setups"));
        QVERIFY(LabelTexts(setup).contains(QStringLiteral("#&Confirm Password:")));
        QVERIFY(LabelTexts(setup).contains(QStringLiteral("#(All functions in the File menu)")));
        QCOMPARE(enter.windowTitle(), QStringLiteral("#Please enter your password"));
        QVERIFY(LabelTexts(enter).contains(QStringLiteral("#&Password:")));
        QCOMPARE(about.windowTitle(), QStringLiteral("#About Kelvaris"));
        QVERIFY(
            LabelTexts(about).contains(QStringLiteral("#Version %1").arg(QStringLiteral(KELVARIS_VERSION))));
        QCOMPARE(info.windowTitle(), QStringLiteral("#System information"));
        QVERIFY(info.Text().contains(QStringLiteral("#Qt version: ")));
        QCOMPARE(ConfigurationPathText(QStringLiteral("/a/b.cfg"), QString()),
            QStringLiteral("#Configuration path: \r\n    /a\r\n"));

        QVERIFY(QCoreApplication::removeTranslator(&marking));
        QCoreApplication::processEvents();
        QCOMPARE(language.windowTitle(), QStringLiteral("Language"));
        QCOMPARE(Named<QCheckBox>(&setup, "setups")->text(), QStringLiteral("&Setups"));
    }

    void aboutDialog()
    {
        CAboutDialog about;
        QCOMPARE(about.windowTitle(), QStringLiteral("About Kelvaris"));
        const QStringList texts = LabelTexts(about);
        QVERIFY(texts.contains(QStringLiteral("Kelvaris")));
        QVERIFY(texts.contains(QStringLiteral("Version %1").arg(QStringLiteral(KELVARIS_VERSION))));
        QVERIFY(texts.contains(QStringLiteral(
            "Keeps the duty schedule of an alarm and paging installation and drives its alarm server.")));
        const QString libraries = texts.filter(QStringLiteral("pugixml")).value(0);
        QVERIFY2(libraries.contains(QString::fromLatin1(qVersion())), qPrintable(libraries));
        QVERIFY(libraries.contains(QStringLiteral("RE2")));
        QVERIFY(libraries.contains(QStringLiteral("D-Bus")));
        SaveScreenshot(about, QStringLiteral("about"));
    }

    void systemInformation()
    {
        QCOMPARE(ConfigurationPathText(QStringLiteral("/home/op/.config/kelvaris/kelvaris.cfg"), QString()),
            QStringLiteral("Configuration path: \r\n    /home/op/.config/kelvaris\r\n"));
        const QString both = ConfigurationPathText(
            QStringLiteral("/srv/local/kelvaris.cfg"), QStringLiteral("/net/master/kelvaris.cfg"));
        QCOMPARE(both, QStringLiteral("Configuration path: \r\n    /srv/local\r\n    /net/master\r\n"));

        CSystemInfoDialog info(both);
        QCOMPARE(info.windowTitle(), QStringLiteral("System information"));
        QVERIFY(Named<QPlainTextEdit>(&info, "text")->isReadOnly());
        const QStringList lines = info.Text().split(QLatin1Char('\n'));
        // The CR LF line ends of the path text become single lines.
        QCOMPARE(lines.mid(0, 3),
            QStringList({ QStringLiteral("Configuration path: "), QStringLiteral("    /srv/local"),
                QStringLiteral("    /net/master") }));
        QVERIFY(lines.contains(QStringLiteral("Qt version: %1").arg(QString::fromLatin1(qVersion()))));
        QVERIFY(lines.contains(QStringLiteral("Operating system: %1").arg(QSysInfo::prettyProductName())));
        QVERIFY(lines.contains(QStringLiteral("Locale: %1").arg(QLocale().name())));

        QCOMPARE(Named<QPushButton>(&info, "copy")->text(), QStringLiteral("&Copy"));
        SaveScreenshot(info, QStringLiteral("system-information"));
        Named<QPushButton>(&info, "copy")->click();
        QCOMPARE(QApplication::clipboard()->text(), info.Text());
    }
};

QTEST_MAIN(LanguageTest)
#include "LanguageTest.moc"
