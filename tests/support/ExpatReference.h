#pragma once

// A strict XML parser written by others (expat), as the reference for what is well-formed and for
// what a document says: the tests hold the message bag's verdicts and replies against it.

#include <expat.h>
#include <map>
#include <string>
#include <string_view>

struct CExpatDocument
{
    bool wellFormed = false;
    std::string error;
    std::string rootName;
    std::map<std::string, std::string> rootAttributes;
    // The text of each element directly below the root, by tag (the last one wins).
    std::map<std::string, std::string> childTexts;
};

namespace expat_reference_detail {

struct CState
{
    CExpatDocument* document;
    int depth = 0;
    std::string text;
};

inline void Start(void* data, const XML_Char* name, const XML_Char** attributes)
{
    auto* state = static_cast<CState*>(data);
    if (++state->depth == 1) {
        state->document->rootName = name;
        for (const XML_Char** a = attributes; *a; a += 2)
            state->document->rootAttributes[a[0]] = a[1];
    }
    state->text.clear();
}

inline void End(void* data, const XML_Char* name)
{
    auto* state = static_cast<CState*>(data);
    if (state->depth-- == 2)
        state->document->childTexts[name] = state->text;
}

inline void Characters(void* data, const XML_Char* text, int length)
{
    static_cast<CState*>(data)->text.append(text, static_cast<size_t>(length));
}

} // namespace expat_reference_detail

// Parses the UTF-8 text as a whole document (no namespace processing: XML 1.0 alone).
inline CExpatDocument ExpatParse(std::string_view text)
{
    CExpatDocument document;
    expat_reference_detail::CState state { &document, 0, {} };
    XML_Parser parser = XML_ParserCreate("UTF-8");
    XML_SetUserData(parser, &state);
    XML_SetElementHandler(parser, expat_reference_detail::Start, expat_reference_detail::End);
    XML_SetCharacterDataHandler(parser, expat_reference_detail::Characters);
    document.wellFormed
        = XML_Parse(parser, text.data(), static_cast<int>(text.size()), XML_TRUE) == XML_STATUS_OK;
    if (!document.wellFormed)
        document.error = XML_ErrorString(XML_GetErrorCode(parser));
    XML_ParserFree(parser);
    return document;
}

inline bool ExpatWellFormed(std::string_view text)
{
    return ExpatParse(text).wellFormed;
}
