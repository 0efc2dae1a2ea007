#pragma once

#include <array>
#include <memory>

#include <QByteArray>
#include <QDate>
#include <QString>

#include "webui/Board.h"

class CPageTarget;
class QTranslator;

// The languages of the pages, each with the program's translation: chosen by ?lang= or else by the
// browser's Accept-Language, English otherwise.
class CPageLanguages
{
public:
    CPageLanguages();
    ~CPageLanguages();

    static constexpr std::array<const char*, 5> kCodes { "en", "de", "fr", "nl", "es" };
    // The index into kCodes for a ?lang= value (exact) or an Accept-Language header (by weight).
    static int Choose(const QString& langParameter, const QByteArray& acceptLanguage);
    // A page text (context "BoardPages") in the language.
    QString Text(int language, const char* source) const;

private:
    std::array<std::unique_ptr<QTranslator>, kCodes.size()> m_translators;
};

// The pages as HTML documents (UTF-8), built from a board on the server: readable without
// JavaScript, with no outside resources (the style sheet is /board.css). Every name is escaped.
struct CPageContext
{
    const CPageLanguages* languages = nullptr;
    int language = 0;
    QString tokenQuery; // "token=..." to keep on every link (the wall screen's browser), or empty
    QString path; // the page's own path, for the language links
};

QByteArray BoardPage(const CBoard& board, const CPageContext& context, bool wall);
// A target's week from `monday` with dated headings and links to the weeks before and after.
QByteArray TargetWeekPage(
    const CPageTarget& target, QDate monday, const CMoment& now, const CPageContext& context);
// A page that says what went wrong (404 and such), in the page language.
QByteArray MessagePage(const QString& title, const QString& text, const CPageContext& context);
// The pages' icon (SVG).
QByteArray BoardIcon();
// The style sheet of the pages.
QByteArray BoardStyleSheet();
