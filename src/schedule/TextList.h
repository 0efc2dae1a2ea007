#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

// Delimited text lists: resource lists ("Monday;Tuesday;..."), member lists, server replies.
//
// Items are the stretches between separators. With quotes on, a separator inside double quotes
// does not split, and one double quote at the start and one at the end of an item are removed.

// The n-th item (counted from 1) of the text; empty past the end. A comma separator falls back to
// the semicolon when the text holds no comma.
QString GetListItem(const QString& text, int n, QChar separator = u';', bool quotes = false);

// Appends every item to the list, an empty item after a final separator included; an empty text
// appends nothing. Returns the list's count.
qsizetype SplitText(const QString& text, QStringList& list, QChar separator, bool quotes = false);
// The same with a separator text, compared character by character at each position. An empty
// separator does not split.
qsizetype SplitText(const QString& text, QStringList& list, const QString& separator, bool quotes = false);

// The items joined with the separator. With quotes on, an item that contains the separator is
// enclosed in double quotes, or in single quotes when it already holds a double quote.
QString JoinText(const QStringList& list, const QString& separator, bool quotes = false);
QString JoinText(const QStringList& list, QChar separator, bool quotes = false);
