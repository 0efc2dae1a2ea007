#pragma once

#include <sqlite3.h>

#include <QByteArray>
#include <QString>

// A prepared SQLite statement, finalised with its scope (for the journal's own sources).
class CSqliteStatement
{
public:
    CSqliteStatement(sqlite3* db, const char* sql)
    {
        if (sqlite3_prepare_v2(db, sql, -1, &m_statement, nullptr) != SQLITE_OK)
            m_statement = nullptr;
    }
    ~CSqliteStatement() { sqlite3_finalize(m_statement); }
    CSqliteStatement(const CSqliteStatement&) = delete;
    CSqliteStatement& operator=(const CSqliteStatement&) = delete;

    explicit operator bool() const { return m_statement != nullptr; }
    sqlite3_stmt* get() const { return m_statement; }

    void Bind(int index, qint64 value) { sqlite3_bind_int64(m_statement, index, value); }
    void Bind(int index, const QString& text)
    {
        const QByteArray bytes = text.toUtf8();
        sqlite3_bind_text(m_statement, index, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
    }
    // NULL for a value the caller marks as none.
    void BindOrNull(int index, qint64 value, bool isNull)
    {
        if (isNull)
            sqlite3_bind_null(m_statement, index);
        else
            sqlite3_bind_int64(m_statement, index, value);
    }
    QString Text(int column) const
    {
        const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
        return QString::fromUtf8(bytes, sqlite3_column_bytes(m_statement, column));
    }
    qint64 Number(int column) const { return sqlite3_column_int64(m_statement, column); }
    bool IsNull(int column) const { return sqlite3_column_type(m_statement, column) == SQLITE_NULL; }

private:
    sqlite3_stmt* m_statement = nullptr;
};
