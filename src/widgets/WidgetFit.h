#pragma once

// Sizes computed from the texts a widget shows, so that no text is cut in any language. Every width
// here is measured with the widget's own font metrics plus the margins its style draws around the
// text.

#include <algorithm>

#include <QAbstractItemView>
#include <QFont>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLayout>
#include <QLineEdit>
#include <QString>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QWidget>

// The text as a button, a tab or a label with a buddy draws it: a single '&' marks the mnemonic and
// is not drawn, "&&" draws one '&'.
inline QString ShownText(const QString& text)
{
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'&' && i + 1 < text.size())
            ++i;
        shown.append(text.at(i));
    }
    return shown;
}

// The advance of the widest line of a text.
inline int TextWidth(const QFontMetrics& metrics, const QString& text)
{
    int widest = 0;
    for (const QString& line : text.split(u'\n'))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

inline int WidestText(const QFontMetrics& metrics, const QStringList& texts)
{
    int widest = 0;
    for (const QString& text : texts)
        widest = std::max(widest, TextWidth(metrics, text));
    return widest;
}

// Window managers draw titles in a bold face of about the application font, beside an icon and up
// to three buttons; the allowance is generous so that the title shows whole under the usual themes.
inline QFont TitleFont(const QWidget* window)
{
    QFont font = window->font();
    font.setBold(true);
    return font;
}

inline int TitleBarAllowance(const QFontMetrics& metrics)
{
    return metrics.height() * 8;
}

// The width a window needs for its title to show whole in the title bar.
inline int TitleWidth(const QWidget* window)
{
    const QFontMetrics metrics(TitleFont(window));
    return metrics.horizontalAdvance(window->windowTitle()) + TitleBarAllowance(metrics);
}

// Keeps a window at least as wide as its title needs. `spanning` is a child that spans the
// window's layout from margin to margin (a button box, a list); it works for fixed-size layouts
// too, which would override a minimum set on the window itself.
inline void KeepTitleVisible(QWidget* window, QWidget* spanning)
{
    int margins = 0;
    if (const QLayout* layout = window->layout()) {
        const QMargins edge = layout->contentsMargins();
        margins = edge.left() + edge.right();
    }
    spanning->setMinimumWidth(std::max(0, TitleWidth(window) - margins));
}

// The width a line edit needs to show a text whole (as QLineEdit::sizeHint measures its text).
inline int LineEditWidthFor(const QLineEdit* edit, const QString& text)
{
    constexpr int kInnerMargin = 2; // QLineEdit's own margin left and right of the text
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.lineWidth
        = edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit) : 0;
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    const QMargins textMargins = edit->textMargins();
    const QFontMetrics metrics = edit->fontMetrics();
    // One more pixel for the cursor behind the last character.
    const int width
        = metrics.horizontalAdvance(text) + 2 * kInnerMargin + textMargins.left() + textMargins.right() + 1;
    return edit->style()
        ->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(width, metrics.height()), edit)
        .width();
}

// The width a view's cell needs around its text (the item delegate's margins, without icon).
inline int CellTextMargins(const QAbstractItemView* view)
{
    // Views lay their texts out with fractional advances and round up: one pixel more.
    return 2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1) + 1;
}

inline int CellWidthFor(const QAbstractItemView* view, const QStringList& texts)
{
    return WidestText(view->fontMetrics(), texts) + CellTextMargins(view);
}

// The width a header section needs for its title (and the sort indicator, when the header shows one).
inline int SectionWidthFor(const QHeaderView* header, const QString& title)
{
    const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    int width = TextWidth(header->fontMetrics(), title) + 2 * margin;
    if (header->isSortIndicatorShown())
        width += header->style()->pixelMetric(QStyle::PM_HeaderMarkSize, nullptr, header) + margin;
    return width;
}
