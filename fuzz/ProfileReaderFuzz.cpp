// Reads arbitrary bytes as a configuration file: every section and key must be readable, and a
// write followed by a read must give the written value back without disturbing other sections.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <QDir>
#include <QFile>
#include <QStringList>

#include "schedule/Profile.h"

namespace {
QString FuzzFile()
{
    static const QString path = QDir::tempPath() + QStringLiteral("/kelvaris-fuzz-%1.cfg").arg(getpid());
    return path;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = FuzzFile();
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    CProfile::DropCachedFiles();
    CProfile profile(path);
    QStringList names;
    const int count = profile.GetSectionNames(names);
    if (count != names.size())
        std::abort();
    for (const QString& name : names) {
        (void)profile.ReadString(name, QStringLiteral("Name"), QString());
        (void)profile.ReadInt(name, QStringLiteral("DateType"), 0);
    }
    if (size % 4 == 0) {
        const QString section = names.isEmpty() ? QStringLiteral("Settings") : names.first();
        const QString before
            = names.size() > 1 ? profile.ReadString(names.last(), QStringLiteral("k"), QString()) : QString();
        if (profile.WriteString(section, QStringLiteral("FuzzKey"), QStringLiteral("v 1"))) {
            if (profile.ReadString(section, QStringLiteral("FuzzKey"), QString()) != QStringLiteral("v 1"))
                std::abort();
            if (names.size() > 1 && names.last().compare(section, Qt::CaseInsensitive) != 0
                && profile.ReadString(names.last(), QStringLiteral("k"), QString()) != before)
                std::abort();
        }
    }
    return 0;
}
