#include "inbound/KelvarisObj.h"

#include <atomic>
#include <string>

#include <QMetaObject>
#include <QObject>

#include "engine/KelvarisDoc.h"
#include "support/Regex.h"

std::optional<CParsedCommand> ParseCommand(const QString& text)
{
    // Greedy groups: the name runs to the last "(" that is followed by arguments and ")]" at the end.
    static const CRegex pattern(R"(\[(.*)\((.*)\)\])");
    const QByteArray bytes = text.toUtf8();
    std::string name;
    std::string arguments;
    if (!pattern.FullMatch(std::string_view(bytes.constData(), size_t(bytes.size())), &name, &arguments))
        return std::nullopt;
    return CParsedCommand { QString::fromStdString(name), QString::fromStdString(arguments) };
}

namespace {
std::atomic<int> g_automationEditors { 0 };
}

void CAutomationSetup::Enter()
{
    ++g_automationEditors;
}

void CAutomationSetup::Leave()
{
    --g_automationEditors;
}

bool CAutomationSetup::IsRunning()
{
    return g_automationEditors.load() > 0;
}

QString CKelvarisObj::DoCommand(const QString& timeCmd) const
{
    if (timeCmd.size() > kMaxCommandLength)
        return QStringLiteral("");
    const std::optional<CParsedCommand> command = ParseCommand(timeCmd);
    if (!command || command->m_name.toLower() != QLatin1String("setup"))
        return QStringLiteral("");
    static const QStringList editors
        = { QStringLiteral("TP"), QStringLiteral("TS"), QStringLiteral("TB"), QStringLiteral("TH") };
    if (!editors.contains(command->m_arguments))
        return QStringLiteral("0");
    if (m_launcher)
        m_launcher->OpenEditor(command->m_arguments.at(1).toLatin1());
    return QStringLiteral("1");
}

namespace {
// The editor a setup command's letter opens; nothing for any other letter.
std::optional<CEditorHost::EKind> EditorOfLetter(char letter)
{
    switch (letter) {
    case 'B':
        return CEditorHost::EKind::Barriers;
    case 'H':
        return CEditorHost::EKind::Holidays;
    case 'P':
        return CEditorHost::EKind::Plan;
    case 'S':
        return CEditorHost::EKind::Shifts;
    default:
        return std::nullopt;
    }
}
} // namespace

CDocEditorLauncher::CDocEditorLauncher(QObject* context, CKelvarisDoc* doc)
    : m_context(context)
    , m_doc(doc)
    , m_pending(std::make_shared<std::atomic<unsigned>>(0))
{ }

void CDocEditorLauncher::OpenEditor(char letter)
{
    const std::optional<CEditorHost::EKind> kind = EditorOfLetter(letter);
    if (!m_context || !m_doc || !kind)
        return;
    const unsigned bit = 1u << unsigned(*kind);
    // Waiting already: the queued request serves this one too.
    if (m_pending->fetch_or(bit) & bit)
        return;
    QMetaObject::invokeMethod(
        m_context,
        [doc = m_doc, letter, bit, pending = m_pending] {
            pending->fetch_and(~bit);
            RunEditor(doc, letter);
        },
        Qt::QueuedConnection);
}

void CDocEditorLauncher::RunEditor(CKelvarisDoc* doc, char letter)
{
    const std::optional<CEditorHost::EKind> kind = EditorOfLetter(letter);
    if (!doc || !kind)
        return;
    // Raised from here until this editor closes (or at once again when none opens).
    CAutomationSetup::Enter();
    doc->OpenEditorWithoutWaiting(*kind, [] { CAutomationSetup::Leave(); });
}
