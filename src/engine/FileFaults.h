#pragma once

#include <chrono>

#include <QHash>
#include <QString>
#include <QStringList>

// The files the engine could not take (a configuration or dispatch file that is unreadable, not
// text, not a plain file, gone): while a fault lasts the plan read before stays in force, and the
// operator is told once at once and then at most every kRepeat, with a line when the file is
// taken again. Warnings go out on the configuration category (standard error, the journal, the
// window's logbook and status bar). User-interface thread only.
class CFileFaults
{
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::minutes kRepeat { 10 };

    // `path` could not be taken for `reason`; `kept` says what stays in force meanwhile.
    void Report(const QString& path, const QString& reason, const QString& kept,
        Clock::time_point now = Clock::now());
    // `path` was taken: a fault reported before is over.
    void Clear(const QString& path);
    bool HasFault(const QString& path) const { return m_faults.contains(path); }
    // "path: reason" of every lasting fault, sorted by path.
    QStringList Faults() const;

private:
    struct CFault
    {
        QString reason;
        Clock::time_point warned;
        long long quiet = 0; // reports left out since the last warning
    };
    QHash<QString, CFault> m_faults;
};
