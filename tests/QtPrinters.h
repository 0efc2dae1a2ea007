#pragma once

// Readable GoogleTest output for Qt values; included into every test translation unit by the
// build (tests/CMakeLists.txt), so that all of them print these types the same way.
#include <ostream>

#include <QByteArray>
#include <QString>
#include <QStringList>

inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QByteArray& bytes, std::ostream* os)
{
    *os << '"' << bytes.toStdString() << '"';
}

inline void PrintTo(const QStringList& list, std::ostream* os)
{
    *os << '{';
    for (qsizetype i = 0; i < list.size(); ++i)
        *os << (i ? ", \"" : "\"") << list[i].toStdString() << '"';
    *os << '}';
}
