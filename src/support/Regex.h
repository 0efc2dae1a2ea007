#pragma once

#include <memory>
#include <re2/re2.h>
#include <string>
#include <string_view>

class QString;

// A regular expression compiled once, matched in linear time (RE2: no backtracking, no recursion),
// so hostile input can neither hang nor overflow the stack. Patterns are ours and fixed; an
// invalid pattern never matches.
class CRegex
{
public:
    explicit CRegex(std::string_view pattern);
    ~CRegex();
    CRegex(const CRegex&) = delete;
    CRegex& operator=(const CRegex&) = delete;

    bool IsValid() const { return m_re->ok(); }

    // The whole text must match.
    bool FullMatch(std::string_view text) const;
    // Some part of the text matches.
    bool PartialMatch(std::string_view text) const;

    // Whole-text match that stores the capture groups in order (std::string*, int* ...).
    template <typename... Args>
    bool FullMatch(std::string_view text, Args*... captures) const
    {
        return m_re->ok()
            && re2::RE2::FullMatch(re2::StringPiece(text.data(), text.size()), *m_re, captures...);
    }

    const re2::RE2& Engine() const { return *m_re; }

private:
    std::unique_ptr<re2::RE2> m_re;
};
