#pragma once

#include <QList>
#include <QRect>

// Where a window whose rectangle was stored shows on the screens of this session, given their
// available geometries in desktop coordinates, the primary screen first:
// - on the screen it overlaps most (any screen, not only the primary one), trimmed to that screen;
// - on no screen at all (its monitor is gone, or the desktop got smaller): moved onto the primary
//   screen, as near as can be, and shrunk to fit it;
// - null when there is no screen or the stored rectangle is empty.
inline QRect PlaceOnScreens(const QRect& stored, const QList<QRect>& screens)
{
    if (stored.isEmpty() || screens.isEmpty())
        return {};
    const QRect* best = nullptr;
    qint64 bestArea = 0;
    for (const QRect& screen : screens) {
        const QRect common = stored.intersected(screen);
        const qint64 area = qint64(common.width()) * common.height();
        if (area > bestArea) {
            best = &screen;
            bestArea = area;
        }
    }
    if (best)
        return stored.intersected(*best);
    const QRect& primary = screens.first();
    if (primary.isEmpty())
        return {};
    QRect moved(stored.topLeft(), stored.size().boundedTo(primary.size()));
    moved.moveLeft(qBound(primary.left(), moved.left(), primary.left() + primary.width() - moved.width()));
    moved.moveTop(qBound(primary.top(), moved.top(), primary.top() + primary.height() - moved.height()));
    return moved;
}
