#include "support/XmlMessageBag.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <pugixml.hpp>
#include <string>
#include <string_view>

#include <QStringEncoder>
#include <QVarLengthArray>

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

bool IsNameStart(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':' || c >= 0x80;
}

bool IsNameChar(unsigned char c)
{
    return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

// An XML name, so that what is written can be read again (non-ASCII bytes are taken as name
// characters, as the parser does).
bool IsXmlName(std::string_view name)
{
    if (name.empty() || !IsNameStart(static_cast<unsigned char>(name.front())))
        return false;
    for (const char c : name.substr(1)) {
        if (!IsNameChar(static_cast<unsigned char>(c)))
            return false;
    }
    return true;
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

// True if no element lies deeper than maxDepth levels (the root is level 1).
bool DepthWithin(pugi::xml_node root, int maxDepth)
{
    pugi::xml_node node = root;
    int depth = 1;
    for (;;) {
        if (const pugi::xml_node child = node.first_child()) {
            node = child;
            ++depth;
        } else {
            while (node != root && !node.next_sibling()) {
                node = node.parent();
                --depth;
            }
            if (node == root)
                return true;
            node = node.next_sibling();
        }
        if (depth > maxDepth && node.type() == pugi::node_element)
            return false;
    }
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

// strtol with base 0 on a text that need not be NUL-terminated, saturating at the long range.
long Utf8ToLong(std::string_view text)
{
    const size_t size = text.size();
    const auto at = [&](size_t i) -> unsigned { return i < size ? static_cast<unsigned char>(text[i]) : 0u; };
    size_t p = 0;
    while (p < size && (at(p) == ' ' || (at(p) >= '\t' && at(p) <= '\r')))
        ++p;
    bool negative = false;
    if (at(p) == '+' || at(p) == '-') {
        negative = at(p) == '-';
        ++p;
    }
    const auto digitValue = [](unsigned c) -> unsigned {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'z')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'Z')
            return c - 'A' + 10;
        return 99;
    };
    unsigned base = 10;
    if (at(p) == '0') {
        base = 8;
        if ((at(p + 1) == 'x' || at(p + 1) == 'X') && digitValue(at(p + 2)) < 16) {
            base = 16;
            p += 2;
        }
    }
    const unsigned long limit
        = negative ? static_cast<unsigned long>(LONG_MAX) + 1 : static_cast<unsigned long>(LONG_MAX);
    unsigned long value = 0;
    bool overflow = false;
    for (; p < size; ++p) {
        const unsigned digit = digitValue(at(p));
        if (digit >= base)
            break;
        if (value > (limit - digit) / base)
            overflow = true;
        else
            value = value * base + digit;
    }
    if (overflow)
        return negative ? LONG_MIN : LONG_MAX;
    if (negative)
        return value == limit ? LONG_MIN : -static_cast<long>(value);
    return static_cast<long>(value);
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
    // A DOCTYPE is never part of a message; refusing it keeps internal subsets (and the entity
    // tricks they carry) away from the parser. Entities other than the predefined ones and
    // character references are never expanded.
    if (utf8.size() > MaxInputBytes || utf8.contains("<!DOCTYPE"))
        return false;
    auto document = std::make_shared<pugi::xml_document>();
    if (!document->load_buffer(
            utf8.constData(), static_cast<size_t>(utf8.size()), ParseOptions, pugi::encoding_utf8))
        return false;
    // Parsed as a fragment, so that text beside the root and a second root show up here and can
    // be refused: a well-formed document has exactly one root element and nothing else.
    pugi::xml_node root;
    for (pugi::xml_node node = document->first_child(); node; node = node.next_sibling()) {
        if (node.type() != pugi::node_element || root)
            return false;
        root = node;
    }
    if (!root || !DepthWithin(root, MaxDepth))
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
    return Utf8ToLong(TextContent(element, storage));
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
    const size_t length = ToUtf8(value, text);
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
    const size_t length = ToUtf8(value, text);
    return attribute && attribute.set_value(text.data(), ValueLength(text.data(), length));
}
