#include "schedule/Moment.h"

#include <cstdlib>

#include <QDateTime>
#include <QRegularExpression>

#include "schedule/DutyTimeline.h"
#include "schedule/SiteClock.h"

QDateTime CMoment::WallDateTime() const
{
    return QDateTime::fromMSecsSinceEpoch(utcMs + qint64(offsetSeconds) * 1000, Qt::UTC);
}

QString OffsetText(int offsetSeconds)
{
    return QStringLiteral("%1%2:%3")
        .arg(offsetSeconds < 0 ? QStringLiteral("-") : QStringLiteral("+"))
        .arg(std::abs(offsetSeconds) / 3600, 2, 10, QLatin1Char('0'))
        .arg(std::abs(offsetSeconds) % 3600 / 60, 2, 10, QLatin1Char('0'));
}

std::pair<QString, QString> SpanClockTexts(
    const CZoneOffsets& offsets, qint64 startMs, qint64 endMs, int parts)
{
    const int startOffset = offsets.OffsetAt(startMs);
    const int endOffset = offsets.OffsetAt(endMs);
    QString start = FormatDateTime(WallClockAt(offsets, startMs), parts);
    QString end = FormatDateTime(WallClockAt(offsets, endMs), parts);
    if (startOffset != endOffset) {
        start += QStringLiteral(" (%1)").arg(OffsetText(startOffset));
        end += QStringLiteral(" (%1)").arg(OffsetText(endOffset));
    }
    return { start, end };
}

QString CMoment::IsoText() const
{
    return WallDateTime().toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss")) + OffsetText(offsetSeconds);
}

CMoment MomentAt(const QTimeZone& zone, qint64 utcMs)
{
    const CZoneOffsets offsets(zone, utcMs, utcMs);
    CMoment moment;
    moment.utcMs = utcMs;
    moment.offsetSeconds = offsets.OffsetAt(utcMs);
    moment.wall = WallClockAt(offsets, utcMs);
    return moment;
}

CMoment SiteNow()
{
    const QTimeZone zone = SiteClockZone();
    if (!HasCurrentTimeSource())
        return MomentAt(zone, CurrentUtcMs());
    const CDateTime wall = CDateTime::GetCurrentTime();
    const qint64 wallMs = WallClockMs(wall);
    CMoment moment = MomentAt(
        zone, FirstMomentOfWallClock(CZoneOffsets(zone, wallMs - 86'400'000, wallMs + 86'400'000), wall));
    moment.wall = wall;
    return moment;
}

namespace {
QString ZoneName(const QTimeZone& zone)
{
    return QString::fromUtf8(zone.id());
}
} // namespace

bool MomentFromText(const QString& text, const QTimeZone& zone, CMoment& moment, QString& error)
{
    // ISO 8601: a date, then a time with "T" or a blank (seconds and a fraction optional), then
    // optionally "Z" or an offset.
    static const QRegularExpression iso(QStringLiteral(
        "^\\s*(\\d{4})-(\\d{2})-(\\d{2})(?:[T ](\\d{2}):(\\d{2})(?::(\\d{2})(?:[.,]\\d{1,9})?)?)?"
        "\\s*(Z|[+-]\\d{2}(?::?\\d{2})?)?\\s*$"));
    CDateTime wall;
    const QRegularExpressionMatch match = iso.match(text);
    if (match.hasMatch()) {
        const int hour = match.capturedView(4).isEmpty() ? 0 : match.capturedView(4).toInt();
        const int minute = match.capturedView(5).isEmpty() ? 0 : match.capturedView(5).toInt();
        const int second = match.capturedView(6).isEmpty() ? 0 : match.capturedView(6).toInt();
        if (!wall.SetDateTime(match.capturedView(1).toInt(), match.capturedView(2).toInt(),
                match.capturedView(3).toInt(), hour, minute, second)) {
            error = QStringLiteral("cannot read the time \"%1\": no such date or time").arg(text);
            return false;
        }
        const QStringView offsetText = match.capturedView(7);
        if (!offsetText.isEmpty()) {
            int offset = 0;
            if (offsetText != u"Z") {
                const QString digits = offsetText.mid(1).toString().remove(u':');
                offset = digits.left(2).toInt() * 3600 + (digits.size() > 2 ? digits.mid(2).toInt() * 60 : 0);
                if (offsetText.startsWith(u'-'))
                    offset = -offset;
            }
            const qint64 wallMs = WallClockMs(wall);
            moment = MomentAt(zone, wallMs - qint64(offset) * 1000);
            return true;
        }
    } else if (!DateTimeFromText(text, wall) || !wall.IsValid()) {
        error = QStringLiteral("cannot read the time \"%1\"").arg(text);
        return false;
    }
    // A wall-clock time: when it happens in the zone.
    const qint64 wallMs = WallClockMs(wall);
    const CZoneOffsets offsets(zone, wallMs, wallMs);
    const QList<qint64> moments = MomentsOfWallClock(offsets, wall);
    if (moments.isEmpty()) {
        // The change whose gap holds it: the wall clock jumps from the old offset's time to the new.
        QString skip;
        const QList<CZoneOffsets::CPeriod>& periods = offsets.Periods();
        for (qsizetype i = 1; i < periods.size(); ++i) {
            const qint64 from = periods[i].startMs + qint64(periods[i - 1].offsetSeconds) * 1000;
            const qint64 to = periods[i].startMs + qint64(periods[i].offsetSeconds) * 1000;
            if (from <= wallMs && wallMs < to) {
                const auto clock = [](qint64 ms) {
                    return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC).toString(QStringLiteral("HH:mm"));
                };
                skip = QStringLiteral(": the clocks go from %1 to %2 that night").arg(clock(from), clock(to));
            }
        }
        error = QStringLiteral("the time \"%1\" does not exist in %2%3").arg(text, ZoneName(zone), skip);
        return false;
    }
    // In the hour the clocks repeat, the first pass.
    moment = MomentAt(zone, moments.first());
    return true;
}
