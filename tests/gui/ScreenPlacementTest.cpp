#include "widgets/ScreenPlacement.h"

#include <QTest>

// Where a stored window rectangle shows, for desktops of one and two monitors.
class ScreenPlacementTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keptOnTheScreenItWasOn()
    {
        const QRect primary(0, 0, 1920, 1050); // a panel takes the bottom 30 pixels
        const QRect right(1920, 0, 1280, 1024);
        const QRect left(-1280, 100, 1280, 1024); // a monitor left of the primary one
        const QList<QRect> screens { primary, right, left };

        const QRect onPrimary(100, 80, 800, 600);
        QCOMPARE(PlaceOnScreens(onPrimary, screens), onPrimary);
        // The second monitor's rectangle is no longer lost to the primary screen.
        const QRect onRight(2300, 200, 800, 600);
        QCOMPARE(PlaceOnScreens(onRight, screens), onRight);
        const QRect onLeft(-1200, 150, 800, 600);
        QCOMPARE(PlaceOnScreens(onLeft, screens), onLeft);

        // Hanging over an edge: trimmed to the screen it overlaps most.
        QCOMPARE(PlaceOnScreens(QRect(1800, 100, 800, 600), screens), QRect(1920, 100, 680, 600));
        QCOMPARE(PlaceOnScreens(QRect(3000, 900, 800, 600), screens), QRect(3000, 900, 200, 124));
        QCOMPARE(PlaceOnScreens(QRect(100, 800, 800, 600), { primary }), QRect(100, 800, 800, 250));
    }

    void movedOntoThePrimaryScreenWhenOnNone()
    {
        const QRect primary(0, 0, 1280, 1024);
        // The second monitor is gone: the rectangle comes to the nearest place on the primary one.
        QCOMPARE(PlaceOnScreens(QRect(2300, 200, 800, 600), { primary }), QRect(480, 200, 800, 600));
        QCOMPARE(PlaceOnScreens(QRect(-900, -700, 800, 600), { primary }), QRect(0, 0, 800, 600));
        // In the gap of two monitors of different heights.
        const QList<QRect> screens { primary, QRect(1280, 0, 1920, 1200) };
        QCOMPARE(PlaceOnScreens(QRect(200, 1100, 400, 300), screens), QRect(200, 724, 400, 300));
        // Larger than the primary screen: shrunk to it.
        QCOMPARE(PlaceOnScreens(QRect(5000, 5000, 2000, 1500), { primary }), primary);
        // A primary screen that does not start at the origin.
        QCOMPARE(PlaceOnScreens(QRect(0, 0, 300, 200), { QRect(1000, 500, 800, 600) }),
            QRect(1000, 500, 300, 200));
    }

    void nothingToPlace()
    {
        QVERIFY(PlaceOnScreens(QRect(0, 0, 300, 200), {}).isNull());
        QVERIFY(PlaceOnScreens(QRect(), { QRect(0, 0, 1280, 1024) }).isNull());
        QVERIFY(
            PlaceOnScreens(QRect(QPoint(100, 100), QPoint(50, 50)), { QRect(0, 0, 1280, 1024) }).isEmpty());
    }
};

QTEST_GUILESS_MAIN(ScreenPlacementTest)
#include "ScreenPlacementTest.moc"
