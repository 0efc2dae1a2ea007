#include "support/Regex.h"

namespace {
re2::RE2::Options RegexOptions()
{
    re2::RE2::Options options;
    options.set_log_errors(false);
    options.set_encoding(re2::RE2::Options::EncodingUTF8);
    return options;
}
} // namespace

CRegex::CRegex(std::string_view pattern)
    : m_re(std::make_unique<re2::RE2>(re2::StringPiece(pattern.data(), pattern.size()), RegexOptions()))
{ }

CRegex::~CRegex() = default;

bool CRegex::FullMatch(std::string_view text) const
{
    return m_re->ok() && re2::RE2::FullMatch(re2::StringPiece(text.data(), text.size()), *m_re);
}

bool CRegex::PartialMatch(std::string_view text) const
{
    return m_re->ok() && re2::RE2::PartialMatch(re2::StringPiece(text.data(), text.size()), *m_re);
}
