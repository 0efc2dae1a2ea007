#pragma once

#include <optional>

#include <QList>
#include <QString>

#include "schedule/Coverage.h"

class CPageTargetArray;
class CServerCommandFactory;
class CDateTime;

// The engine's watch over the groups' cover for the next 24 hours: every gap that appears is a
// warning (the journal; with a window, its logbook), and so is one that an edit closes before its
// end; the gaps are published as one text. The targets named in the setting CoverageNotify (IDs,
// ";"-separated) are paged through the alarm server ("send2", as the takeover messages) once per
// gap, also across restarts: the gaps told of are remembered in the data folder
// (kelvaris-notified.cfg, kept to the gaps still open).
//
// The cover is kept for a span of whole days, from a week back (so a running gap keeps its start
// as time moves on) to two days ahead, and recomputed for every group at each new day, otherwise
// only for the groups an edit, a reload or a new holder touched. A gap is the same gap as long as
// it overlaps the one seen before in the same group: an edit that moves its end or start does not
// make it news, one that closes it does.
class CCoverageWatch
{
public:
    static constexpr qint64 kWindowMs = 24 * 3'600'000LL;

    struct CGap
    {
        QString groupId;
        QString groupName;
        CDutySpan span;
        bool operator==(const CGap&) const = default;
    };

    // Looks at the cover at `now` (the site's wall clock). Returns true when the published text
    // changed (Text() gives it).
    bool Update(const CPageTargetArray& targets, const CDateTime& now, const QString& configPath,
        CServerCommandFactory& server);
    // The gaps within 24 hours: "<group> <date> <from>-<to>" each, joined with ";".
    const QString& Text() const { return m_text; }
    // The gaps that have not ended and begin within 24 hours, the earliest first.
    const QList<CGap>& Gaps() const { return m_gaps; }
    // How a gap reads from `nowMs` on: "2026-12-15 02:00-06:00", with both dates when it ends on
    // another day; a running gap from `nowMs`.
    QString SpanText(const CDutySpan& span) const;
    // The groups recomputed at the last look.
    int Recomputed() const { return m_recomputed; }

private:
    // Pages the gaps not yet told of; false when a page could not be sent.
    bool Page(const CPageTargetArray& targets, const QString& configPath, const QStringList& notify,
        CServerCommandFactory& server) const;

    CCoverageCache m_cache;
    QList<CGap> m_gaps;
    QString m_text;
    qint64 m_nowMs = 0;
    int m_recomputed = 0;
    bool m_first = true;
    bool m_pagesDue = false;
};
