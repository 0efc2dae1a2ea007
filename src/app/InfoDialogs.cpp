#include "app/InfoDialogs.h"

#include <algorithm>
#include <pugixml.hpp>

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFile>
#include <QIcon>
#include <QLocale>
#include <QPushButton>
#include <QSysInfo>

#include "schedule/ConfigLocation.h"
#include "widgets/WidgetFit.h"

#include "ui_AboutDialog.h"
#include "ui_SystemInfoDialog.h"

namespace {
const char* const kProgramIcon = ":/icons/kelvaris.svg";

// "1.13" from the pugixml version number (major * 1000 + minor * 10 since 1.10, major * 100 +
// minor * 10 before).
QString PugixmlVersion()
{
    const int version = PUGIXML_VERSION;
    const int major = version >= 1000 ? version / 1000 : version / 100;
    const int minor = version >= 1000 ? (version % 1000) / 10 : (version % 100) / 10;
    return QStringLiteral("%1.%2").arg(major).arg(minor);
}
} // namespace

// --- CAboutDialog ----------------------------------------------------------------------------------

CAboutDialog::CAboutDialog(QWidget* parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::CAboutDialog>())
{
    m_ui->setupUi(this);
    if (QFile::exists(QString::fromLatin1(kProgramIcon))) {
        const QPixmap pixmap = QIcon(QString::fromLatin1(kProgramIcon)).pixmap(64, 64);
        if (!pixmap.isNull())
            m_ui->icon->setPixmap(pixmap);
    }
    m_ui->icon->setVisible(!m_ui->icon->pixmap().isNull());
    QFont nameFont = m_ui->name->font();
    nameFont.setBold(true);
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.6);
    m_ui->name->setFont(nameFont);
    m_ui->gap->changeSize(
        0, m_ui->name->fontMetrics().height() / 2, QSizePolicy::Minimum, QSizePolicy::Fixed);
    // Wide enough for the description on two lines at most.
    m_ui->description->setMinimumWidth(m_ui->description->fontMetrics().averageCharWidth() * 48);
    m_ui->buttons->button(QDialogButtonBox::Close)->setDefault(true);
    connect(m_ui->buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    ShowTexts();
}

CAboutDialog::~CAboutDialog() = default;

void CAboutDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        m_ui->retranslateUi(this);
        ShowTexts();
    }
    QDialog::changeEvent(event);
}

void CAboutDialog::ShowTexts()
{
    KeepTitleVisible(this, m_ui->buttons);
    m_ui->version->setText(tr("Version %1").arg(QStringLiteral(KELVARIS_VERSION)));
    m_ui->libraries->setText(
        tr("Uses Qt %1, pugixml %2, RE2 and D-Bus (Qt D-Bus %3).")
            .arg(QString::fromLatin1(qVersion()), PugixmlVersion(), QString::fromLatin1(qVersion())));
}

// --- CSystemInfoDialog -----------------------------------------------------------------------------

CSystemInfoDialog::CSystemInfoDialog(const QString& configurationText, QWidget* parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::CSystemInfoDialog>())
    , m_configurationText(configurationText)
{
    m_ui->setupUi(this);
    m_ui->buttons->button(QDialogButtonBox::Close)->setDefault(true);
    connect(m_ui->buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_ui->copy, &QPushButton::clicked, this, [this] { QApplication::clipboard()->setText(Text()); });
    ShowText();
}

CSystemInfoDialog::~CSystemInfoDialog() = default;

QString CSystemInfoDialog::Text() const
{
    return m_ui->text->toPlainText();
}

void CSystemInfoDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        m_ui->retranslateUi(this);
        ShowText();
    }
    QDialog::changeEvent(event);
}

void CSystemInfoDialog::ShowText()
{
    m_ui->text->setAccessibleName(windowTitle());
    // A window at least as wide as its title needs, and room for 72 characters on 12 lines.
    KeepTitleVisible(this, m_ui->text);
    const QFontMetrics metrics = m_ui->text->fontMetrics();
    m_ui->text->setMinimumSize(
        std::max(m_ui->text->minimumWidth(), metrics.averageCharWidth() * 72), metrics.lineSpacing() * 12);

    // The text widget takes LF line ends (a CR would start a paragraph of its own).
    QString text = m_configurationText;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (!text.isEmpty() && !text.endsWith(QLatin1Char('\n')))
        text += QLatin1Char('\n');
    QStringList lines;
    lines << tr("Operating system: %1").arg(QSysInfo::prettyProductName())
          << tr("Kernel: %1 %2").arg(QSysInfo::kernelType(), QSysInfo::kernelVersion())
          << tr("Qt version: %1").arg(QString::fromLatin1(qVersion()))
          << tr("Locale: %1").arg(QLocale().name());
    m_ui->text->setPlainText(text + lines.join(QLatin1Char('\n')));
}

QString ConfigurationPathText(const QString& configPath, const QString& masterPath)
{
    const QString indent = QStringLiteral("\r\n    ");
    QString text
        = QCoreApplication::translate("CKelvarisApp", "Configuration path: ") + indent + FolderOf(configPath);
    if (!masterPath.isEmpty())
        text += indent + FolderOf(masterPath);
    return text + QStringLiteral("\r\n");
}
