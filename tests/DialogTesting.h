#pragma once

// Helpers for tests that drive real dialogs under the offscreen platform.

#include <functional>

#include <QApplication>
#include <QDir>
#include <QString>
#include <QTimer>
#include <QWidget>

// Runs `handle` on the first modal widget of type T once it is up (polling from the event loop the
// dialog under test runs), so no test ever blocks on a modal dialog.
template <class T>
void WhenModal(std::function<void(T*)> handle, int attempts = 200, int delayMs = 0)
{
    QTimer::singleShot(delayMs, [handle, attempts] {
        if (auto* widget = qobject_cast<T*>(QApplication::activeModalWidget())) {
            handle(widget);
            return;
        }
        if (attempts > 0)
            WhenModal<T>(handle, attempts - 1, 10);
    });
}

// Saves a picture of a dialog for review when KELVARIS_SCREENSHOT_DIR names a folder.
inline void SaveScreenshot(QWidget& widget, const QString& name)
{
    const QString folder = qEnvironmentVariable("KELVARIS_SCREENSHOT_DIR");
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return;
    widget.adjustSize();
    widget.grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
}
