// Feeds arbitrary bytes to the message bag. Whether a text parses is what expat, a strict parser
// written by others, says it is (apart from the bag's own limits and where expat follows an older
// edition of XML 1.0). What parses must serialise to a text that expat accepts and that parses to
// the same name and values and serialises the same again; setting values on it must keep it
// writable and well-formed.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <expat.h>
#include <string_view>

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QStringList>

#include "support/XmlMessageBag.h"

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

struct CExpatVerdict
{
    bool wellFormed = false;
    XML_Error error = XML_ERROR_NONE;
    XML_Index errorIndex = 0;
    // The root element's name and attributes (name, value, name, value, ...), as expat reads them.
    QString rootName;
    QStringList rootAttributes;
};

void StartElement(void* data, const XML_Char* name, const XML_Char** attributes)
{
    auto* verdict = static_cast<CExpatVerdict*>(data);
    if (!verdict->rootName.isEmpty())
        return;
    verdict->rootName = QString::fromUtf8(name);
    for (const XML_Char** a = attributes; *a; ++a)
        verdict->rootAttributes.append(QString::fromUtf8(*a));
}

CExpatVerdict Expat(std::string_view text)
{
    static XML_Parser parser = XML_ParserCreate("UTF-8");
    XML_ParserReset(parser, "UTF-8");
    CExpatVerdict verdict;
    XML_SetUserData(parser, &verdict);
    XML_SetStartElementHandler(parser, StartElement);
    verdict.wellFormed
        = XML_Parse(parser, text.data(), static_cast<int>(text.size()), XML_TRUE) == XML_STATUS_OK;
    verdict.error = XML_GetErrorCode(parser);
    verdict.errorIndex = XML_GetCurrentByteIndex(parser);
    return verdict;
}

// expat's names are those of the fourth edition of XML 1.0; the bag's those of the fifth, which
// allows more characters. A text that only expat refuses must be refused for a character that is
// valid UTF-8 but not ASCII, where a name is read.
bool ExpatRefusesANameCharacter(std::string_view text, const CExpatVerdict& verdict)
{
    if (verdict.error != XML_ERROR_INVALID_TOKEN || verdict.errorIndex < 0
        || static_cast<size_t>(verdict.errorIndex) >= text.size())
        return false;
    const std::string_view rest = text.substr(static_cast<size_t>(verdict.errorIndex));
    // expat points at the markup that holds the name or at the character itself.
    size_t nonAscii = 0;
    while (nonAscii < rest.size() && static_cast<unsigned char>(rest[nonAscii]) < 0x80)
        ++nonAscii;
    if (nonAscii == rest.size())
        return false;
    // Only a name may lie between: "<", "</", "<?" and name characters.
    for (const char c : rest.substr(0, nonAscii)) {
        const bool nameChar = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
            || c == '_' || c == ':' || c == '-' || c == '.' || c == '<' || c == '/' || c == '?' || c == '&';
        if (!nameChar && !(c == ' ' || c == '\t' || c == '\n' || c == '\r'))
            return false;
    }
    // The character there must be one Qt decodes as UTF-8 too (a byte order mark included).
    const unsigned char lead = static_cast<unsigned char>(rest[nonAscii]);
    const size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    const std::string_view character = rest.substr(nonAscii, length);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    const QString decoded
        = decoder(QByteArrayView(character.data(), static_cast<qsizetype>(character.size())));
    return character.size() == length && !decoder.hasError() && !decoded.isEmpty()
        && !decoded.contains(QChar::ReplacementCharacter);
}

// What the bag writes: expat reads it (names aside, as above).
bool ExpatTakes(const QByteArray& written)
{
    const std::string_view text(written.constData(), static_cast<size_t>(written.size()));
    const CExpatVerdict verdict = Expat(text);
    return verdict.wellFormed || ExpatRefusesANameCharacter(text, verdict);
}

// Where the bag refuses what expat takes, by design.
bool BagLimitApplies(std::string_view text)
{
    if (text.find("<!DOCTYPE") != std::string_view::npos)
        return true;
    // expat takes any version number; XML 1.0 writes "1." and digits.
    if (text.starts_with("<?xml") || text.starts_with("\xEF\xBB\xBF<?xml"))
        return true;
    int depth = 0;
    int deepest = 0;
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '<')
            continue;
        if (text[i + 1] == '/')
            --depth;
        else if (text[i + 1] != '!' && text[i + 1] != '?')
            deepest = std::max(deepest, ++depth);
    }
    return deepest > CXmlMessageBag::MaxDepth;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input
        = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    CXmlMessageBag bag;
    const bool parsed = bag.Parse(input);
    // The bag reads up to the first NUL, as a request message ends there.
    const qsizetype nul = input.indexOf('\0');
    const std::string_view text(input.constData(), static_cast<size_t>(nul >= 0 ? nul : input.size()));
    const CExpatVerdict expat = Expat(text);
    if (parsed && !expat.wellFormed)
        Require(ExpatRefusesANameCharacter(text, expat));
    if (!parsed && expat.wellFormed)
        Require(BagLimitApplies(text));
    if (!parsed) {
        Require(!bag.HasDocument() && bag.GetName().isEmpty() && bag.Serialize().isEmpty());
        return 0;
    }
    // The bag reads the root's name and attribute values as expat does.
    if (expat.wellFormed) {
        Require(bag.GetName() == expat.rootName);
        for (qsizetype i = 0; i + 1 < expat.rootAttributes.size(); i += 2)
            Require(bag.GetAttribute("", expat.rootAttributes[i], "-") == expat.rootAttributes[i + 1]);
    }
    const QByteArray wire = bag.Serialize();
    CXmlMessageBag again;
    Require(again.Parse(wire));
    Require(again.GetName() == bag.GetName());
    Require(ExpatTakes(wire));
    // From the first writing on the wire form is a fixed point.
    const QByteArray normal = again.Serialize();
    Require(normal == wire);
    static const char* const paths[] = { "", "A", "B", "A/B", "DispatchingID", "ClientID" };
    for (const char* path : paths) {
        Require(again.GetText(path, "-") == bag.GetText(path, "-"));
        Require(again.GetInt(path, -1) == bag.GetInt(path, -1));
        Require(again.GetAttribute(path, "Name", "-") == bag.GetAttribute(path, "Name", "-"));
        Require(again.GetAttribute(path, "a", "-") == bag.GetAttribute(path, "a", "-"));
    }

    // Values taken from the input go back in through the setters and must read back as set: up
    // to a NUL character, with every other character XML forbids replaced by U+FFFD.
    const QString raw = QString::fromUtf8(input.left(64));
    QString text2 = raw;
    if (const qsizetype nulChar = text2.indexOf(QChar(0)); nulChar >= 0)
        text2.truncate(nulChar);
    for (QChar& c : text2) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != '\t' && u != '\n' && u != '\r') || u >= 0xFFFE)
            c = QChar::ReplacementCharacter;
    }
    Require(bag.SetText("A/B", raw) && bag.GetText("A/B") == text2);
    Require(bag.SetAttribute("", "Name", raw) && bag.GetAttribute("", "Name") == text2);
    Require(bag.SetInt("DispatchingID", static_cast<long>(size) - 100));
    Require(bag.GetInt("DispatchingID", 0) == static_cast<long>(size) - 100);
    Require(!bag.SetText("A/B/C", text2));
    const QByteArray written = bag.Serialize();
    Require(ExpatTakes(written));
    CXmlMessageBag third;
    Require(third.Parse(written));
    Require(third.GetText("A/B") == text2 && third.GetAttribute("", "Name") == text2);
    return 0;
}
