// Feeds arbitrary bytes to what other programs send over the bus: DDE pokes (both text formats) and
// executes, and automation commands. Nothing may crash; answers must stay within their rules.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <QByteArray>
#include <QString>

#include "inbound/KelvarisObj.h"
#include "inbound/TimeDDEServer.h"

namespace {
class CFuzzActivator : public CMainWindowActivator
{
public:
    bool ActivateMainWindow() override { return true; }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static CFuzzActivator activator;
    static CTimeDDEServer* server = [] {
        auto* created = new CTimeDDEServer(&activator);
        if (!created->CreateService(nullptr))
            std::abort();
        return created;
    }();
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));

    // A poke changes a value or is refused; reading it back gives the same text in both formats.
    server->OnPoke(1, QStringLiteral("Barring"), QStringLiteral("Name"), EDDEFormat::Text, bytes);
    server->OnPoke(1, QStringLiteral("Shift"), QStringLiteral("Name"), EDDEFormat::UnicodeText, bytes);
    const auto text = server->OnRequest(QStringLiteral("Shift"), QStringLiteral("Name"), EDDEFormat::Text);
    const auto unicode
        = server->OnRequest(QStringLiteral("Shift"), QStringLiteral("Name"), EDDEFormat::UnicodeText);
    if (!text || !unicode || !text->endsWith('\0')
        || text->chopped(1) != DDETextFromData(EDDEFormat::UnicodeText, *unicode).toUtf8())
        std::abort();

    // Only the exact command activates.
    const bool executed = server->OnExecute(QStringLiteral("System"), bytes);
    if (executed != (DDETextFromData(bytes) == QLatin1String("[activate()]")))
        std::abort();
    server->OnPoke(2, QStringLiteral("System"), QStringLiteral("Command"), EDDEFormat::UnicodeText, bytes);

    // Automation: "", "0" or "1" and nothing else.
    static const CKelvarisObj object;
    const QString result = object.DoCommand(QString::fromUtf8(bytes));
    if (!result.isEmpty() && result != QLatin1String("0") && result != QLatin1String("1"))
        std::abort();
    return 0;
}
