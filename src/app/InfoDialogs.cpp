#include "app/InfoDialogs.h"

#include <pugixml.hpp>

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSysInfo>
#include <QVBoxLayout>

#include "schedule/ConfigLocation.h"
#include "widgets/WidgetFit.h"

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
{
    auto* icon = new QLabel(this);
    if (QFile::exists(QString::fromLatin1(kProgramIcon))) {
        const QPixmap pixmap = QIcon(QString::fromLatin1(kProgramIcon)).pixmap(64, 64);
        if (!pixmap.isNull())
            icon->setPixmap(pixmap);
    }
    icon->setVisible(!icon->pixmap().isNull());
    icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto* name = new QLabel(QStringLiteral("Kelvaris"), this);
    QFont nameFont = name->font();
    nameFont.setBold(true);
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.6);
    name->setFont(nameFont);

    m_version = new QLabel(this);
    m_description = new QLabel(this);
    m_description->setWordWrap(true);
    m_libraries = new QLabel(this);
    m_libraries->setWordWrap(true);
    for (QLabel* label : { name, m_version, m_description, m_libraries })
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    buttons->button(QDialogButtonBox::Close)->setDefault(true);

    auto* texts = new QVBoxLayout;
    texts->addWidget(name);
    texts->addWidget(m_version);
    texts->addSpacing(name->fontMetrics().height() / 2);
    texts->addWidget(m_description);
    texts->addWidget(m_libraries);
    texts->addStretch(1);

    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addLayout(texts, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    // Wide enough for the description on two lines at most.
    m_description->setMinimumWidth(m_description->fontMetrics().averageCharWidth() * 48);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    Retranslate();
}

void CAboutDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        Retranslate();
    QDialog::changeEvent(event);
}

void CAboutDialog::Retranslate()
{
    setWindowTitle(tr("About Kelvaris"));
    // A window at least as wide as its title needs.
    if (auto* buttons = findChild<QDialogButtonBox*>())
        KeepTitleVisible(this, buttons);
    m_version->setText(tr("Version %1").arg(QStringLiteral(KELVARIS_VERSION)));
    m_description->setText(
        tr("Keeps the duty schedule of an alarm and paging installation and drives its alarm server."));
    m_libraries->setText(
        tr("Uses Qt %1, pugixml %2, RE2 and D-Bus (Qt D-Bus %3).")
            .arg(QString::fromLatin1(qVersion()), PugixmlVersion(), QString::fromLatin1(qVersion())));
}

// --- CSystemInfoDialog -----------------------------------------------------------------------------

CSystemInfoDialog::CSystemInfoDialog(const QString& configurationText, QWidget* parent)
    : QDialog(parent)
    , m_configurationText(configurationText)
{
    m_text = new QPlainTextEdit(this);
    m_text->setReadOnly(true);
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    const QFontMetrics metrics = m_text->fontMetrics();
    m_text->setMinimumSize(metrics.averageCharWidth() * 72, metrics.lineSpacing() * 12);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    m_copy = buttons->addButton(QString(), QDialogButtonBox::ActionRole);
    m_copy->setAutoDefault(false);
    buttons->button(QDialogButtonBox::Close)->setDefault(true);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_copy, &QPushButton::clicked, this, [this] { QApplication::clipboard()->setText(Text()); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(buttons);
    Retranslate();
}

QString CSystemInfoDialog::Text() const
{
    return m_text->toPlainText();
}

void CSystemInfoDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        Retranslate();
    QDialog::changeEvent(event);
}

void CSystemInfoDialog::Retranslate()
{
    setWindowTitle(tr("System information"));
    m_text->setAccessibleName(windowTitle());
    // A window at least as wide as its title needs.
    if (auto* buttons = findChild<QDialogButtonBox*>())
        KeepTitleVisible(this, buttons);
    m_copy->setText(tr("&Copy"));
    m_copy->setToolTip(tr("Copy the system information to the clipboard"));

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
    m_text->setPlainText(text + lines.join(QLatin1Char('\n')));
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
