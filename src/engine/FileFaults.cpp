#include "engine/FileFaults.h"

#include <algorithm>

#include "support/Trace.h"
#include "support/Warning.h"

void CFileFaults::Report(
    const QString& path, const QString& reason, const QString& kept, Clock::time_point now)
{
    auto found = m_faults.find(path);
    if (found != m_faults.end() && found->reason == reason && now - found->warned < kRepeat) {
        ++found->quiet;
        return;
    }
    const long long quiet = found == m_faults.end() ? 0 : found->quiet;
    m_faults.insert(path, CFault { reason, now, 0 });
    qCWarning(lcConfig).noquote() << QStringLiteral("%1 cannot be taken: %2; %3 until it can%4")
                                         .arg(path, reason, kept, CWarningLimiter::MoreText(quiet));
}

void CFileFaults::Clear(const QString& path)
{
    if (m_faults.remove(path))
        qCWarning(lcConfig).noquote() << QStringLiteral("%1 is readable again and was taken").arg(path);
}

QStringList CFileFaults::Faults() const
{
    QStringList lines;
    lines.reserve(m_faults.size());
    for (auto it = m_faults.cbegin(); it != m_faults.cend(); ++it)
        lines.append(it.key() + QStringLiteral(": ") + it->reason);
    std::sort(lines.begin(), lines.end());
    return lines;
}
