#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include "schedule/Coverage.h"

class CPageTargetArray;
class CServerCommandFactory;
class CDateTime;

// The engine's watch over the groups' cover for the next 24 hours: every gap that appears is a
// warning (the journal; with a window, its logbook), and so is one that an edit closes before its
// end; the gaps are published as one text. The targets named in the setting CoverageNotify (IDs,
// ";"-separated) are paged through the alarm server ("send2", as the takeover messages) once per
// gap, also across restarts: the gaps told of are remembered in the data folder
// (kelvaris-notified.cfg, kept to the gaps still in the window).
//
// A gap's identity is its group and its start; a gap already running when it is first seen is the
// group's open gap (its start lies before the window), so it keeps its identity as time moves on.
class CCoverageWatch
{
public:
    static constexpr qint64 kWindowMs = 24 * 3'600'000LL;

    // Looks at the cover at `now` (the site's wall clock). Returns true when the published text
    // changed (Text() gives it).
    bool Update(const CPageTargetArray& targets, const CDateTime& now, const QString& configPath,
        CServerCommandFactory& server);
    // The gaps within 24 hours: "<group> <date> <from>-<to>" each, joined with ";".
    const QString& Text() const { return m_text; }

private:
    QHash<QString, CDutySpan> m_known; // by identity: the gaps seen at the last look
    QString m_text;
    bool m_first = true;
};
