#include "schedule/TextList.h"

#include <QStringView>

namespace {

QString CleanItem(QStringView item, bool quotes)
{
    if (quotes) {
        if (item.startsWith(u'"'))
            item = item.sliced(1);
        if (item.endsWith(u'"'))
            item.chop(1);
    }
    return item.toString();
}

// Calls visit(item) for each raw item in order until it returns false. With quotes on, double quotes
// open and close stretches in which the separator does not split.
template <typename Visitor>
void ForEachItem(QStringView text, QStringView separator, bool quotes, Visitor visit)
{
    if (separator.isEmpty()) {
        visit(text);
        return;
    }
    const QChar first = separator.front();
    bool quoted = false;
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        if (quotes && c == u'"') {
            quoted = !quoted;
            ++i;
            continue;
        }
        if (!quoted && c == first && text.sliced(i).startsWith(separator)) {
            if (!visit(text.sliced(start, i - start)))
                return;
            i += separator.size();
            start = i;
            continue;
        }
        ++i;
    }
    visit(text.sliced(start));
}

qsizetype SplitInto(const QString& text, QStringList& list, QStringView separator, bool quotes)
{
    if (!text.isEmpty()) {
        ForEachItem(text, separator, quotes, [&](QStringView item) {
            list.append(CleanItem(item, quotes));
            return true;
        });
    }
    return list.size();
}

} // namespace

QString GetListItem(const QString& text, int n, QChar separator, bool quotes)
{
    if (n < 1)
        return {};
    if (separator == u',' && !text.contains(u','))
        separator = u';';
    QString result;
    int index = 0;
    ForEachItem(text, QStringView(&separator, 1), quotes, [&](QStringView item) {
        if (++index < n)
            return true;
        result = CleanItem(item, quotes);
        return false;
    });
    return result;
}

qsizetype SplitText(const QString& text, QStringList& list, QChar separator, bool quotes)
{
    return SplitInto(text, list, QStringView(&separator, 1), quotes);
}

qsizetype SplitText(const QString& text, QStringList& list, const QString& separator, bool quotes)
{
    return SplitInto(text, list, separator, quotes);
}

QString JoinText(const QStringList& list, const QString& separator, bool quotes)
{
    QString text;
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (i > 0)
            text += separator;
        const QString& item = list[i];
        if (quotes && !separator.isEmpty() && item.contains(separator)) {
            const QChar quote = item.contains(u'"') ? u'\'' : u'"';
            text += quote + item + quote;
        } else {
            text += item;
        }
    }
    return text;
}

QString JoinText(const QStringList& list, QChar separator, bool quotes)
{
    return JoinText(list, QString(separator), quotes);
}
