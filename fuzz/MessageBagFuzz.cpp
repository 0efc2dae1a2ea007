// Feeds arbitrary bytes to the message bag. What parses must serialise to a text that parses to the
// same name and values and serialises the same again; setting values on it must keep it writable.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <QByteArray>
#include <QString>

#include "support/XmlMessageBag.h"

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input
        = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    CXmlMessageBag bag;
    if (!bag.Parse(input)) {
        Require(!bag.HasDocument() && bag.GetName().isEmpty() && bag.Serialize().isEmpty());
        return 0;
    }
    const QByteArray wire = bag.Serialize();
    CXmlMessageBag again;
    Require(again.Parse(wire));
    Require(again.GetName() == bag.GetName());
    // The first writing may normalise (a character reference to NUL ends its text); from then on
    // the wire form is a fixed point.
    const QByteArray normal = again.Serialize();
    CXmlMessageBag fixed;
    Require(fixed.Parse(normal) && fixed.Serialize() == normal);
    static const char* const paths[] = { "", "A", "B", "A/B", "DispatchingID", "ClientID" };
    for (const char* path : paths) {
        Require(again.GetText(path, "-") == bag.GetText(path, "-"));
        Require(again.GetInt(path, -1) == bag.GetInt(path, -1));
        Require(again.GetAttribute(path, "Name", "-") == bag.GetAttribute(path, "Name", "-"));
        Require(again.GetAttribute(path, "a", "-") == bag.GetAttribute(path, "a", "-"));
    }

    // Values taken from the input go back in through the setters and must read back unchanged.
    // A value ends at a NUL character, which XML cannot carry.
    const QString raw = QString::fromUtf8(input.left(64));
    QString text = raw;
    if (const qsizetype nul = text.indexOf(QChar(0)); nul >= 0)
        text.truncate(nul);
    Require(bag.SetText("A/B", raw) && bag.GetText("A/B") == text);
    Require(bag.SetAttribute("", "Name", raw) && bag.GetAttribute("", "Name") == text);
    Require(bag.SetInt("DispatchingID", static_cast<long>(size) - 100));
    Require(bag.GetInt("DispatchingID", 0) == static_cast<long>(size) - 100);
    Require(!bag.SetText("A/B/C", text));
    CXmlMessageBag third;
    Require(third.Parse(bag.Serialize()));
    Require(third.GetText("A/B") == text && third.GetAttribute("", "Name") == text);
    return 0;
}
