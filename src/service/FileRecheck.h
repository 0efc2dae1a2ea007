#pragma once

#include <functional>
#include <utility>

#include <QTimer>

#include "schedule/ConfigLocation.h"

// The second look at a configuration or dispatch file that was being written at the idle check.
// When the engine's idle check reports such a file, Arm() starts a single-shot timer; kSettleRecheckMs
// later `check` runs the file check again (without the presence command) and returns whether yet
// another look is due, as long as the file keeps changing. While `heldBack` (optional) says so, the
// look is postponed by the same interval. Both programs, the window and the headless one, use it.
class CFileRecheck
{
public:
    explicit CFileRecheck(std::function<bool()> check, std::function<bool()> heldBack = {})
    {
        m_timer.setSingleShot(true);
        m_timer.setInterval(kSettleRecheckMs);
        // Not a coarse timer: one that fires up to 5 % early finds the file a moment short of its
        // settle time and puts the second look off by another interval.
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer,
            [this, check = std::move(check), heldBack = std::move(heldBack)] {
                if ((heldBack && heldBack()) || check())
                    m_timer.start();
            });
    }
    CFileRecheck(const CFileRecheck&) = delete;
    CFileRecheck& operator=(const CFileRecheck&) = delete;

    // After an idle check: `due` is its result.
    void Arm(bool due)
    {
        if (due && !m_timer.isActive())
            m_timer.start();
    }
    void Stop() { m_timer.stop(); }
    bool IsArmed() const { return m_timer.isActive(); }

private:
    QTimer m_timer;
};
