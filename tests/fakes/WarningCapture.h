#pragma once

#include <algorithm>
#include <mutex>

#include <QLoggingCategory>
#include <QStringList>
#include <QtGlobal>

// Collects the warnings of one logging category while it lives (one capture at a time); other
// messages go on to the handler that was installed before.
class CWarningCapture
{
public:
    explicit CWarningCapture(const QLoggingCategory& category)
    {
        s_category = category.categoryName();
        const std::lock_guard lock(s_mutex);
        s_lines.clear();
        s_previous = qInstallMessageHandler(&Handler);
    }
    ~CWarningCapture() { qInstallMessageHandler(s_previous); }
    CWarningCapture(const CWarningCapture&) = delete;
    CWarningCapture& operator=(const CWarningCapture&) = delete;

    // Warnings may come from other threads (the calendar folder's, the socket's).
    static QStringList Lines()
    {
        const std::lock_guard lock(s_mutex);
        return s_lines;
    }
    static QString Text() { return Lines().join(u'\n'); }
    // How many of the warnings start with the text.
    static qsizetype Count(const char* start)
    {
        const QStringList lines = Lines();
        return std::count_if(lines.cbegin(), lines.cend(),
            [start](const QString& line) { return line.startsWith(QLatin1String(start)); });
    }

private:
    static void Handler(QtMsgType type, const QMessageLogContext& context, const QString& text)
    {
        if (type == QtWarningMsg && qstrcmp(context.category, s_category) == 0) {
            const std::lock_guard lock(s_mutex);
            s_lines << text;
        } else if (s_previous)
            s_previous(type, context, text);
    }
    static inline const char* s_category = nullptr;
    static inline std::mutex s_mutex;
    static inline QStringList s_lines;
    static inline QtMessageHandler s_previous = nullptr;
};
