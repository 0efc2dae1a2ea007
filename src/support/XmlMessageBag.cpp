#include "support/XmlMessageBag.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <pugixml.hpp>
#include <string>
#include <string_view>

#include <QStringEncoder>
#include <QVarLengthArray>

#include "support/Scan.h"

namespace {

// Names and values are converted to UTF-8 into a stack buffer; only long texts touch the heap.
using Utf8Buffer = QVarLengthArray<char, 256>;

// Fills `out` with the UTF-8 form of the text and a terminating NUL; returns the length without it.
size_t ToUtf8(QStringView text, Utf8Buffer& out)
{
    QStringEncoder encoder(QStringEncoder::Utf8);
    out.resize(encoder.requiredSpace(text.size()) + 1);
    char* end = encoder.appendToBuffer(out.data(), text);
    *end = '\0';
    const auto length = static_cast<size_t>(end - out.data());
    out.resize(static_cast<qsizetype>(length) + 1);
    return length;
}

// Characters XML 1.0 allows in a document: tab, line feed, carriage return and everything from
// U+0020 on except the surrogates, U+FFFE and U+FFFF.
constexpr bool IsXmlChar(char32_t c)
{
    if (c < 0x20)
        return c == 0x9 || c == 0xA || c == 0xD;
    return (c < 0xD800) || (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

constexpr bool IsNameStartChar(char32_t c)
{
    if (c < 0x80)
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':';
    return (c >= 0xC0 && c <= 0xD6) || (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x2FF)
        || (c >= 0x370 && c <= 0x37D) || (c >= 0x37F && c <= 0x1FFF) || (c >= 0x200C && c <= 0x200D)
        || (c >= 0x2070 && c <= 0x218F) || (c >= 0x2C00 && c <= 0x2FEF) || (c >= 0x3001 && c <= 0xD7FF)
        || (c >= 0xF900 && c <= 0xFDCF) || (c >= 0xFDF0 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0xEFFFF);
}

constexpr bool IsNameChar(char32_t c)
{
    return IsNameStartChar(c) || (c >= '0' && c <= '9') || c == '-' || c == '.' || c == 0xB7
        || (c >= 0x300 && c <= 0x36F) || (c >= 0x203F && c <= 0x2040);
}

// The byte tables of the scanner's fast paths, for ASCII.
struct CAsciiTables
{
    bool nameStart[128] = {};
    bool name[128] = {};
    constexpr CAsciiTables()
    {
        for (char32_t c = 0; c < 128; ++c) {
            nameStart[c] = IsNameStartChar(c);
            name[c] = IsNameChar(c);
        }
    }
};
constexpr CAsciiTables kAscii;

// Decodes the UTF-8 sequence at p (whose lead byte is not ASCII) into `c`: its length, or 0 for
// what is not UTF-8 (a stray continuation byte, an overlong form, a surrogate, a value beyond
// U+10FFFF or a sequence cut short).
int DecodeUtf8(const unsigned char* p, const unsigned char* end, char32_t& c)
{
    const unsigned lead = p[0];
    const auto continuation = [&](int i) { return end - p > i && (p[i] & 0xC0) == 0x80; };
    if (lead < 0xC2)
        return 0;
    if (lead < 0xE0) {
        if (!continuation(1))
            return 0;
        c = ((lead & 0x1Fu) << 6) | (p[1] & 0x3Fu);
        return 2;
    }
    if (lead < 0xF0) {
        if (!continuation(1) || !continuation(2))
            return 0;
        c = ((lead & 0x0Fu) << 12) | ((p[1] & 0x3Fu) << 6) | (p[2] & 0x3Fu);
        return c >= 0x800 && (c < 0xD800 || c > 0xDFFF) ? 3 : 0;
    }
    if (lead < 0xF5) {
        if (!continuation(1) || !continuation(2) || !continuation(3))
            return 0;
        c = ((lead & 0x07u) << 18) | ((p[1] & 0x3Fu) << 12) | ((p[2] & 0x3Fu) << 6) | (p[3] & 0x3Fu);
        return c >= 0x10000 && c <= 0x10FFFF ? 4 : 0;
    }
    return 0;
}

// Length of the XML name at the start of the text (0 if none starts there). A character that
// cannot follow a name in any markup ends it too; the caller then refuses what follows.
size_t NameLength(const unsigned char* p, const unsigned char* end)
{
    const unsigned char* const start = p;
    char32_t code = 0;
    if (p == end)
        return 0;
    if (*p < 0x80) {
        if (!kAscii.nameStart[*p])
            return 0;
        ++p;
    } else {
        const int length = DecodeUtf8(p, end, code);
        if (length == 0 || !IsNameStartChar(code))
            return 0;
        p += length;
    }
    for (;;) {
        while (p < end && *p < 0x80 && kAscii.name[*p])
            ++p;
        if (p == end || *p < 0x80)
            break;
        const int length = DecodeUtf8(p, end, code);
        if (length == 0 || !IsNameChar(code))
            break;
        p += length;
    }
    return static_cast<size_t>(p - start);
}

// An XML name, so that what is written can be read again.
bool IsXmlName(std::string_view name)
{
    const auto* begin = reinterpret_cast<const unsigned char*>(name.data());
    return !name.empty() && NameLength(begin, begin + name.size()) == name.size();
}

// What a run of characters stops at: a byte of its own markup (kStop), a character XML forbids
// (kBad) or the lead byte of a multi-byte sequence, to be decoded (kMulti).
enum : uint8_t { kPass, kStop, kBad, kMulti };
struct CCharTable
{
    uint8_t kind[256] = {};
    constexpr explicit CCharTable(std::string_view stops)
    {
        for (int c = 0; c < 256; ++c) {
            if (c >= 0x80)
                kind[c] = kMulti;
            else if (c < 0x20 && c != '\t' && c != '\n' && c != '\r')
                kind[c] = kBad;
        }
        for (const char c : stops)
            kind[static_cast<unsigned char>(c)] = kStop;
    }
};
constexpr CCharTable kText { "<&]" };
constexpr CCharTable kDoubleQuoted { "\"<&" };
constexpr CCharTable kSingleQuoted { "'<&" };
constexpr CCharTable kComment { "-" };
constexpr CCharTable kCData { "]" };
constexpr CCharTable kInstruction { "?" };

// The white space that the parser drops between elements as layout when it is written out raw
// (a carriage return is written as a reference, so it always stays).
constexpr bool IsLayoutSpace(char32_t c)
{
    return c == ' ' || c == '\t' || c == '\n';
}

// Checks that a text is a well-formed XML 1.0 document, read as UTF-8, in one pass over its bytes:
// the characters (valid UTF-8, none that XML forbids, raw or as a character reference), the only
// entity references XML predefines, the markup of tags, attributes, comments, CDATA sections,
// processing instructions and the XML declaration (only at the start), one root element, end tags
// matching their start tags and no attribute twice on an element. It refuses a document type
// declaration (a message never has one, so there are no other entities) and elements nested deeper
// than the limit. The parser behind the bag builds the tree of what passes; it is lenient, so
// everything it would accept that XML does not is refused here.
class CWellFormedCheck
{
public:
    explicit CWellFormedCheck(std::string_view text)
        : m_p(reinterpret_cast<const unsigned char*>(text.data()))
        , m_end(m_p + text.size())
    { }

    // Whether the text holds white space written as a character reference (see DropLayoutSpace).
    bool HasSpaceReference() const { return m_spaceReference; }

    bool Document()
    {
        Literal("\xEF\xBB\xBF"); // a byte order mark
        if (StartsWith("<?xml") && m_end - m_p > 5 && (IsSpace(m_p[5]) || m_p[5] == '?') && !Declaration())
            return false;
        while (m_p < m_end) {
            const unsigned char c = *m_p;
            bool ok = false;
            if (c == '<') {
                if (m_end - m_p < 2)
                    return false;
                switch (m_p[1]) {
                case '/':
                    ok = EndTag();
                    break;
                case '?':
                    ok = ProcessingInstruction();
                    break;
                case '!':
                    // Anything else starting "<!" is a declaration, which is refused.
                    if (StartsWith("<!--"))
                        ok = Comment();
                    else if (m_depth > 0 && StartsWith("<![CDATA["))
                        ok = CData();
                    break;
                default:
                    ok = StartTag();
                }
            } else if (m_depth == 0) {
                ok = Space(); // only white space beside the root element
            } else if (c == '&') {
                ok = Reference();
                m_spaceReference = m_spaceReference || (ok && IsLayoutSpace(m_lastReference));
            } else {
                ok = Text();
            }
            if (!ok)
                return false;
        }
        return m_root && m_depth == 0;
    }

private:
    // Above this many attributes on one element the names are sorted to find a repeated one.
    static constexpr qsizetype kPairwiseAttributes = 16;

    struct COpenElement
    {
        const unsigned char* name;
        size_t length;
    };

    static bool IsSpace(unsigned char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

    bool StartsWith(std::string_view what) const
    {
        return static_cast<size_t>(m_end - m_p) >= what.size()
            && std::memcmp(m_p, what.data(), what.size()) == 0;
    }

    bool Literal(std::string_view what)
    {
        if (!StartsWith(what))
            return false;
        m_p += what.size();
        return true;
    }

    // Skips white space; true if there was some.
    bool Space()
    {
        const unsigned char* const start = m_p;
        while (m_p < m_end && IsSpace(*m_p))
            ++m_p;
        return m_p != start;
    }

    // Skips allowed characters up to a stop byte of the table (or the end).
    bool Chars(const CCharTable& table)
    {
        for (;;) {
            while (m_p < m_end && table.kind[*m_p] == kPass)
                ++m_p;
            if (m_p == m_end)
                return true;
            const uint8_t kind = table.kind[*m_p];
            if (kind != kMulti)
                return kind == kStop;
            char32_t c = 0;
            const int length = DecodeUtf8(m_p, m_end, c);
            if (length == 0 || !IsXmlChar(c))
                return false;
            m_p += length;
        }
    }

    bool Text()
    {
        for (;;) {
            if (!Chars(kText))
                return false;
            if (m_p == m_end || *m_p != ']')
                return true;
            if (StartsWith("]]>"))
                return false;
            ++m_p;
        }
    }

    // "&lt;" and its like, or a character reference to a character XML allows.
    bool Reference()
    {
        ++m_p;
        if (!Literal("#"))
            return Literal("lt;") || Literal("gt;") || Literal("amp;") || Literal("quot;")
                || Literal("apos;");
        const bool hex = Literal("x");
        const unsigned base = hex ? 16 : 10;
        const unsigned char* const digits = m_p;
        char32_t value = 0;
        for (; m_p < m_end; ++m_p) {
            const unsigned c = *m_p;
            unsigned digit = 0;
            if (c >= '0' && c <= '9')
                digit = c - '0';
            else if (hex && (c | 0x20) >= 'a' && (c | 0x20) <= 'f')
                digit = (c | 0x20) - 'a' + 10;
            else
                break;
            value = std::min<char32_t>(value * base + digit, 0x110000); // beyond Unicode stays beyond
        }
        m_lastReference = value;
        return m_p != digits && Literal(";") && IsXmlChar(value);
    }

    bool StartTag()
    {
        if ((m_root && m_depth == 0) || m_depth == CXmlMessageBag::MaxDepth)
            return false; // a second root element, or nested too deeply
        ++m_p;
        const unsigned char* const name = m_p;
        const size_t nameLength = NameLength(m_p, m_end);
        if (nameLength == 0)
            return false;
        m_p += nameLength;
        QVarLengthArray<std::string_view, kPairwiseAttributes> attributes;
        for (;;) {
            const bool space = Space();
            if (m_p == m_end)
                return false;
            if (*m_p == '>') {
                ++m_p;
                m_open[m_depth++] = { name, nameLength };
                break;
            }
            if (*m_p == '/') {
                if (!Literal("/>"))
                    return false;
                break;
            }
            if (!space || !Attribute(attributes))
                return false;
        }
        m_root = true;
        if (attributes.size() <= kPairwiseAttributes)
            return true;
        std::sort(attributes.begin(), attributes.end());
        return std::adjacent_find(attributes.begin(), attributes.end()) == attributes.end();
    }

    bool Attribute(QVarLengthArray<std::string_view, kPairwiseAttributes>& names)
    {
        const size_t length = NameLength(m_p, m_end);
        if (length == 0)
            return false;
        const std::string_view name(reinterpret_cast<const char*>(m_p), length);
        if (names.size() < kPairwiseAttributes && std::find(names.begin(), names.end(), name) != names.end())
            return false;
        names.append(name);
        m_p += length;
        Space();
        if (!Literal("="))
            return false;
        Space();
        if (m_p == m_end || (*m_p != '"' && *m_p != '\''))
            return false;
        const unsigned char quote = *m_p++;
        const CCharTable& table = quote == '"' ? kDoubleQuoted : kSingleQuoted;
        for (;;) {
            if (!Chars(table) || m_p == m_end)
                return false;
            if (*m_p == quote) {
                ++m_p;
                return true;
            }
            if (*m_p != '&' || !Reference()) // '<' is never allowed in a value
                return false;
        }
    }

    bool EndTag()
    {
        m_p += 2;
        if (m_depth == 0)
            return false;
        const COpenElement& open = m_open[m_depth - 1];
        if (static_cast<size_t>(m_end - m_p) < open.length || std::memcmp(m_p, open.name, open.length) != 0)
            return false;
        m_p += open.length;
        Space();
        if (!Literal(">"))
            return false; // also where the end tag's name goes on
        --m_depth;
        return true;
    }

    bool Comment()
    {
        m_p += 4;
        for (;;) {
            if (!Chars(kComment) || m_p == m_end)
                return false;
            if (StartsWith("--"))
                return Literal("-->"); // "--" ends the comment or is not allowed in it
            ++m_p;
        }
    }

    bool CData()
    {
        m_p += 9;
        for (;;) {
            if (!Chars(kCData) || m_p == m_end)
                return false;
            if (Literal("]]>"))
                return true;
            ++m_p;
        }
    }

    bool ProcessingInstruction()
    {
        m_p += 2;
        const size_t length = NameLength(m_p, m_end);
        // The target "xml" (in any case) is reserved: the declaration, which only opens a document.
        if (length == 0
            || (length == 3 && (m_p[0] | 0x20) == 'x' && (m_p[1] | 0x20) == 'm' && (m_p[2] | 0x20) == 'l'))
            return false;
        m_p += length;
        if (Literal("?>"))
            return true;
        if (!Space())
            return false;
        for (;;) {
            if (!Chars(kInstruction) || m_p == m_end)
                return false;
            if (Literal("?>"))
                return true;
            ++m_p;
        }
    }

    // `= "value"` of the XML declaration; its values are ASCII letters, digits and "._-".
    bool DeclarationValue(std::string_view& value)
    {
        Space();
        if (!Literal("="))
            return false;
        Space();
        if (m_p == m_end || (*m_p != '"' && *m_p != '\''))
            return false;
        const unsigned char quote = *m_p++;
        const unsigned char* const start = m_p;
        for (; m_p < m_end && *m_p != quote; ++m_p) {
            const unsigned char c = *m_p;
            if (!((c | 0x20) >= 'a' && (c | 0x20) <= 'z') && !(c >= '0' && c <= '9') && c != '.' && c != '_'
                && c != '-')
                return false;
        }
        if (m_p == m_end)
            return false;
        value = std::string_view(reinterpret_cast<const char*>(start), static_cast<size_t>(m_p - start));
        ++m_p;
        return true;
    }

    // <?xml version="1.n" encoding="name" standalone="yes|no"?>, the last two optional. The
    // encoding named is not consulted: messages are UTF-8.
    bool Declaration()
    {
        m_p += 5;
        std::string_view value;
        if (!Space() || !Literal("version") || !DeclarationValue(value) || value.size() < 3
            || value.substr(0, 2) != "1."
            || value.substr(2).find_first_not_of("0123456789") != std::string_view::npos)
            return false;
        bool space = Space();
        if (space && Literal("encoding")) {
            if (!DeclarationValue(value) || value.empty()
                || !((value[0] | 0x20) >= 'a' && (value[0] | 0x20) <= 'z'))
                return false;
            space = Space();
        }
        if (space && Literal("standalone")) {
            if (!DeclarationValue(value) || (value != "yes" && value != "no"))
                return false;
            Space();
        }
        return Literal("?>");
    }

    const unsigned char* m_p;
    const unsigned char* const m_end;
    COpenElement m_open[CXmlMessageBag::MaxDepth]; // the open elements, outermost first
    int m_depth = 0;
    bool m_root = false; // the root element has started
    char32_t m_lastReference = 0; // the character of the last character reference
    bool m_spaceReference = false;
};

// The parser drops text that is only white space beside other content of its element, as layout,
// but only where the white space is written out raw; white space written as character references
// stays. Written out, it would be dropped on the next parse; dropping it here as well keeps a
// parsed bag and the same bag written and parsed again alike. Text nodes next to each other are
// written as one text, so they count together.
void DropLayoutSpace(pugi::xml_node root)
{
    const auto isLayout = [](pugi::xml_node node) {
        if (node.type() != pugi::node_pcdata)
            return false;
        for (const char* c = node.value(); *c; ++c) {
            if (!IsLayoutSpace(static_cast<unsigned char>(*c)))
                return false;
        }
        return true;
    };
    // Every element, without recursion (the depth is bounded anyway).
    for (pugi::xml_node element = root; element;) {
        for (pugi::xml_node child = element.first_child(); child;) {
            if (child.type() != pugi::node_pcdata) {
                child = child.next_sibling();
                continue;
            }
            pugi::xml_node last = child;
            bool layout = isLayout(child);
            while (last.next_sibling().type() == pugi::node_pcdata) {
                last = last.next_sibling();
                layout = layout && isLayout(last);
            }
            const pugi::xml_node next = last.next_sibling();
            if (layout && !(child == element.first_child() && !next)) {
                for (pugi::xml_node node = child; node != next;) {
                    const pugi::xml_node following = node.next_sibling();
                    element.remove_child(node);
                    node = following;
                }
            }
            child = next;
        }
        // The next element in document order.
        const auto isElement = [](pugi::xml_node n) { return n.type() == pugi::node_element; };
        pugi::xml_node next = element.find_child(isElement);
        while (!next && element != root) {
            for (pugi::xml_node sibling = element.next_sibling(); sibling && !next;
                 sibling = sibling.next_sibling()) {
                if (isElement(sibling))
                    next = sibling;
            }
            if (!next)
                element = element.parent();
        }
        element = next;
    }
}

// A path split into at most two element names, stored NUL-terminated in its own buffer.
struct CPath
{
    Utf8Buffer buffer;
    const char* names[2] = { nullptr, nullptr };
    int levels = 0; // 0 is the root itself

    bool Split(const QString& path)
    {
        if (path.isEmpty())
            return true;
        const size_t length = ToUtf8(path, buffer);
        const std::string_view text(buffer.data(), length);
        const size_t slash = text.find('/');
        if (slash == std::string_view::npos) {
            levels = 1;
            names[0] = buffer.data();
            return IsXmlName(text);
        }
        const std::string_view first = text.substr(0, slash);
        const std::string_view second = text.substr(slash + 1);
        if (!IsXmlName(first) || !IsXmlName(second)) // also refuses a third level (a '/' is no name char)
            return false;
        buffer[static_cast<qsizetype>(slash)] = '\0';
        levels = 2;
        names[0] = buffer.data();
        names[1] = buffer.data() + slash + 1;
        return true;
    }
};

bool IsText(pugi::xml_node node)
{
    return node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata;
}

// The text content of an element: all text below it, in document order. The usual element holds a
// single text node, which is returned without a copy; `storage` takes the text otherwise.
std::string_view TextContent(pugi::xml_node element, std::string& storage)
{
    const pugi::xml_node first = element.first_child();
    if (!first)
        return {};
    if (IsText(first) && !first.next_sibling())
        return first.value();
    // Walks the subtree without recursion; its depth was bounded when it was parsed.
    for (pugi::xml_node node = first; node;) {
        if (IsText(node))
            storage += node.value();
        if (const pugi::xml_node child = node.first_child()) {
            node = child;
            continue;
        }
        while (node != element && !node.next_sibling())
            node = node.parent();
        if (node == element)
            break;
        node = node.next_sibling();
    }
    return storage;
}

class CByteArrayWriter : public pugi::xml_writer
{
public:
    explicit CByteArrayWriter(QByteArray& out)
        : m_out(out)
    { }
    void write(const void* data, size_t size) override
    {
        m_out.append(static_cast<const char*>(data), static_cast<qsizetype>(size));
    }

private:
    QByteArray& m_out;
};

// Brings the serialiser's text into the wire form: a blank between an attribute value's closing
// quote and a directly following "/>" (`<TimeCmd Name="Check" />`, but `<Active/>`), and carriage
// returns in text written as references, since a parser turns a raw one into a line feed. Quotes,
// "/>" and CRs inside attribute values (already escaped by the serialiser) and inside CDATA
// sections are left alone, so no value is changed.
QByteArray ToWireForm(QByteArray text)
{
    const qsizetype size = text.size();
    const char* data = text.constData();
    const auto startsWith = [&](qsizetype i, std::string_view what) {
        return size - i >= static_cast<qsizetype>(what.size())
            && std::string_view(data + i, what.size()) == what;
    };
    if (!text.contains('\r') && !text.contains("\"/>") && !text.contains("'/>"))
        return text;
    QByteArray result;
    result.reserve(size + 16);
    enum class State { Text, Tag, Value, CData } state = State::Text;
    char quote = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const char c = data[i];
        switch (state) {
        case State::Text:
            if (c == '\r') {
                result.append("&#13;");
                continue;
            }
            if (c == '<')
                state = startsWith(i, "<![CDATA[") ? State::CData : State::Tag;
            break;
        case State::Tag:
            if (c == '"' || c == '\'') {
                state = State::Value;
                quote = c;
            } else if (c == '>') {
                state = State::Text;
            }
            break;
        case State::Value:
            if (c == quote) {
                state = State::Tag;
                if (startsWith(i + 1, "/>")) {
                    result.append(c).append(' ');
                    continue;
                }
            }
            break;
        case State::CData:
            if (startsWith(i, "]]>")) {
                result.append("]]>");
                i += 2;
                state = State::Text;
                continue;
            }
            break;
        }
        result.append(c);
    }
    return result;
}

// White space that is an element's whole text is a value (" " must read back as " "); white space
// between elements is layout and dropped.
constexpr unsigned ParseOptions = pugi::parse_default | pugi::parse_ws_pcdata_single | pugi::parse_fragment;

} // namespace

CXmlMessageBag::CXmlMessageBag(const QString& name)
    : m_name(name)
{ }

bool CXmlMessageBag::Parse(const QByteArray& utf8)
{
    m_document.reset();
    m_name.clear();
    if (utf8.size() > MaxInputBytes)
        return false;
    // The text ends at a NUL byte, as a request message does.
    const auto size = static_cast<size_t>(utf8.size());
    const auto* const nul = static_cast<const char*>(std::memchr(utf8.constData(), 0, size));
    const std::string_view text(utf8.constData(), nul ? static_cast<size_t>(nul - utf8.constData()) : size);
    CWellFormedCheck check(text);
    if (!check.Document())
        return false;
    auto document = std::make_shared<pugi::xml_document>();
    if (!document->load_buffer(text.data(), text.size(), ParseOptions, pugi::encoding_utf8))
        return false;
    if (check.HasSpaceReference())
        DropLayoutSpace(document->document_element());
    // Parsed as a fragment: exactly one element at the top, as the check above has made sure.
    pugi::xml_node root;
    for (pugi::xml_node node = document->first_child(); node; node = node.next_sibling()) {
        if (node.type() != pugi::node_element || root)
            return false;
        root = node;
    }
    if (!root)
        return false;
    m_name = QString::fromUtf8(root.name());
    m_document = std::move(document);
    return true;
}

bool CXmlMessageBag::Parse(const QString& text)
{
    if (text.size() > MaxInputBytes) {
        m_document.reset();
        m_name.clear();
        return false;
    }
    return Parse(text.toUtf8());
}

QByteArray CXmlMessageBag::Serialize() const
{
    QByteArray text;
    if (!m_document)
        return text;
    text.reserve(256);
    CByteArrayWriter writer(text);
    m_document->document_element().print(writer, "", pugi::format_raw, pugi::encoding_utf8);
    return ToWireForm(std::move(text));
}

pugi::xml_node CXmlMessageBag::FindElement(const QString& path) const
{
    if (!m_document)
        return {};
    CPath parts;
    if (!parts.Split(path))
        return {};
    pugi::xml_node node = m_document->document_element();
    for (int level = 0; level < parts.levels && node; ++level)
        node = node.child(parts.names[level]);
    return node;
}

pugi::xml_node CXmlMessageBag::FindOrCreateElement(const QString& path)
{
    CPath parts;
    if (!parts.Split(path))
        return {};
    if (!m_document) {
        Utf8Buffer name;
        const size_t nameLength = ToUtf8(m_name, name);
        if (!IsXmlName(std::string_view(name.data(), nameLength)))
            return {};
        auto document = std::make_shared<pugi::xml_document>();
        if (!document->append_child(name.data()))
            return {};
        m_document = std::move(document);
    }
    pugi::xml_node node = m_document->document_element();
    for (int level = 0; level < parts.levels && node; ++level) {
        pugi::xml_node child = node.child(parts.names[level]);
        node = child ? child : node.append_child(parts.names[level]);
    }
    return node;
}

QString CXmlMessageBag::GetText(const QString& path, const QString& defaultValue) const
{
    const pugi::xml_node element = FindElement(path);
    if (!element)
        return defaultValue;
    std::string storage;
    const std::string_view text = TextContent(element, storage);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

long CXmlMessageBag::GetInt(const QString& path, long defaultValue) const
{
    const pugi::xml_node element = FindElement(path);
    if (!element)
        return defaultValue;
    std::string storage;
    return ScanLong(TextContent(element, storage));
}

QString CXmlMessageBag::GetAttribute(
    const QString& path, const QString& name, const QString& defaultValue) const
{
    const pugi::xml_node element = FindElement(path);
    if (!element)
        return defaultValue;
    Utf8Buffer attributeName;
    const size_t nameLength = ToUtf8(name, attributeName);
    if (!IsXmlName(std::string_view(attributeName.data(), nameLength)))
        return defaultValue;
    const pugi::xml_attribute attribute = element.attribute(attributeName.data());
    return attribute ? QString::fromUtf8(attribute.value()) : defaultValue;
}

namespace {

// XML cannot carry a NUL character: a value ends at the first one, as a request text does.
size_t ValueLength(const char* value, size_t length)
{
    const void* nul = std::memchr(value, 0, length);
    return nul ? static_cast<size_t>(static_cast<const char*>(nul) - value) : length;
}

// The first character from `from` on that XML forbids (a control character other than tab, line
// feed and carriage return, U+FFFE, U+FFFF, a surrogate without its partner), or -1.
qsizetype FirstForbidden(QStringView text, qsizetype from)
{
    for (qsizetype i = from; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= 0x20 && c < 0xD800)
            continue;
        if (c < 0x20) {
            if (c == '\t' || c == '\n' || c == '\r')
                continue;
            return i;
        }
        if (c >= 0xE000) {
            if (c >= 0xFFFE)
                return i;
            continue;
        }
        if (QChar::isHighSurrogate(c) && i + 1 < text.size()
            && QChar::isLowSurrogate(text[i + 1].unicode())) {
            ++i;
            continue;
        }
        return i;
    }
    return -1;
}

// The UTF-8 form of a value to be written: it ends at a NUL, and every other character XML
// forbids becomes U+FFFD, so that no reply carries what a parser must refuse.
size_t ValueToUtf8(QStringView value, Utf8Buffer& out)
{
    if (const qsizetype nul = value.indexOf(QChar(0)); nul >= 0)
        value = value.first(nul);
    qsizetype bad = FirstForbidden(value, 0);
    if (bad < 0)
        return ToUtf8(value, out);
    QVarLengthArray<QChar, 256> clean(value.begin(), value.end());
    const QStringView cleanView(clean.data(), clean.size());
    for (; bad >= 0; bad = FirstForbidden(cleanView, bad + 1))
        clean[bad] = QChar::ReplacementCharacter;
    return ToUtf8(cleanView, out);
}

bool ReplaceText(pugi::xml_node element, const char* value, size_t length)
{
    length = ValueLength(value, length);
    pugi::xml_node first = element.first_child();
    if (first.type() == pugi::node_pcdata && !first.next_sibling())
        return length == 0 ? element.remove_child(first) : first.set_value(value, length);
    element.remove_children();
    if (length == 0)
        return true;
    pugi::xml_node text = element.append_child(pugi::node_pcdata);
    return text && text.set_value(value, length);
}

} // namespace

bool CXmlMessageBag::SetText(const QString& path, const QString& value)
{
    const pugi::xml_node element = FindOrCreateElement(path);
    if (!element)
        return false;
    Utf8Buffer text;
    const size_t length = ValueToUtf8(value, text);
    return ReplaceText(element, text.data(), length);
}

bool CXmlMessageBag::SetInt(const QString& path, long value)
{
    const pugi::xml_node element = FindOrCreateElement(path);
    if (!element)
        return false;
    char text[32];
    const int length = std::snprintf(text, sizeof text, "%ld", value);
    return ReplaceText(element, text, static_cast<size_t>(length));
}

bool CXmlMessageBag::SetAttribute(const QString& path, const QString& name, const QString& value)
{
    Utf8Buffer attributeName;
    const size_t nameLength = ToUtf8(name, attributeName);
    if (!IsXmlName(std::string_view(attributeName.data(), nameLength)))
        return false;
    pugi::xml_node element = FindOrCreateElement(path);
    if (!element)
        return false;
    pugi::xml_attribute attribute = element.attribute(attributeName.data());
    if (!attribute)
        attribute = element.append_attribute(attributeName.data());
    Utf8Buffer text;
    const size_t length = ValueToUtf8(value, text);
    return attribute && attribute.set_value(text.data(), length);
}
