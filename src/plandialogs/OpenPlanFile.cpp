#include "plandialogs/OpenPlanFile.h"

#include <QDesktopServices>
#include <QUrl>

#include "support/DesktopEntry.h"

namespace {
const char kSpreadsheetMimeType[] = "application/vnd.ms-excel";
} // namespace

bool OpenPlanFile(const QString& path, EPlanOutput output)
{
    if (path.isEmpty())
        return false;
    if (output == EPlanOutput::Export && StartDesktopProgramFor(QLatin1String(kSpreadsheetMimeType), path))
        return true;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
