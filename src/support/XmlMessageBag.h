#pragma once

#include <memory>

#include <QByteArray>
#include <QString>

namespace pugi {
class xml_document;
class xml_node;
} // namespace pugi

// A small XML document whose root tag is the bag's name: the payload of the pipe protocol and of
// the response queue. Values are the texts of elements below the root or attributes of elements,
// addressed by a path relative to the root: "" is the root itself, "A" the first child element A of
// the root, "A/B" the first element B below that. Longer paths and empty segments address nothing.
//
// Parsing is strict: only a well-formed XML 1.0 document in UTF-8 is taken (names as XML 1.0 in
// its fifth edition defines them). Invalid UTF-8, characters XML forbids (raw or as character
// references), entity references other than the five predefined ones, a repeated attribute, "<"
// or a lone "&" in an attribute value, "--" in a comment, "]]>" in text, an XML declaration that
// does not open the text, a second root element and an empty text are all refused. An encoding
// named in the declaration is not consulted.
//
// Limits, beyond XML: a document type declaration is refused (a message never has one, so no
// entities are ever defined or expanded); a text longer than MaxInputBytes is refused unread; a
// document with elements nested deeper than MaxDepth levels is refused; a text ends at its first
// NUL byte, as a request message does.
//
// What is written is always well-formed: a value ends at a NUL character, and the other characters
// XML forbids (control characters other than tab, line feed and carriage return, U+FFFE, U+FFFF,
// unpaired surrogates) are replaced by U+FFFD when set. Tab, line feed and carriage return read
// back unchanged, in text and in attribute values.
//
// Copying a bag shares its document: a change made through one copy is seen through the other.
// A bag is used by one thread at a time.
class CXmlMessageBag
{
public:
    // Inputs longer than this are refused without being looked at.
    static constexpr qsizetype MaxInputBytes = 1024 * 1024;
    // Documents with elements nested deeper than this (the root counts as level 1) are refused.
    static constexpr int MaxDepth = 64;

    explicit CXmlMessageBag(const QString& name = QString());

    const QString& GetName() const { return m_name; }
    bool HasDocument() const { return m_document != nullptr; }

    // Drops the current document and name, then loads the UTF-8 text. Text that is not a
    // well-formed document, that carries a DOCTYPE, is nested too deeply or is too long leaves the
    // bag empty and gives false.
    bool Parse(const QByteArray& utf8);
    bool Parse(const QString& text);

    // The wire form: UTF-8, no declaration, no line breaks or indentation, and a blank between a
    // quote and a directly following "/>". Empty for a bag without document.
    QByteArray Serialize() const;

    QString GetText(const QString& path, const QString& defaultValue = QString()) const;
    // The text read by ScanLong (support/Scan.h): like strtol with base 0 (decimal, "0x"
    // hexadecimal, leading "0" octal; stops at the first character that does not fit; no digits
    // give 0; saturates at the long range).
    long GetInt(const QString& path, long defaultValue) const;
    QString GetAttribute(
        const QString& path, const QString& name, const QString& defaultValue = QString()) const;

    // Find or create the element at the path (the document first, when there is none) and replace
    // its text content / set its attribute. False when the path or a name is not usable.
    bool SetText(const QString& path, const QString& value);
    bool SetInt(const QString& path, long value);
    bool SetAttribute(const QString& path, const QString& name, const QString& value);

private:
    pugi::xml_node FindElement(const QString& path) const;
    pugi::xml_node FindOrCreateElement(const QString& path);

    QString m_name;
    std::shared_ptr<pugi::xml_document> m_document;
};
