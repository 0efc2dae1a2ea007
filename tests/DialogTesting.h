#pragma once

// Helpers for tests that drive real dialogs under the offscreen platform.

#include <cstdio>
#include <cstdlib>
#include <functional>

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QString>
#include <QTimer>
#include <QWidget>

// A dialog's control by its object name (the name in its form); a test that asks for one that is
// not there stops at once with the name, instead of crashing on a null pointer later.
template <class T>
T* Named(const QObject* parent, const QByteArray& name)
{
    T* child = parent ? parent->findChild<T*>(QString::fromLatin1(name)) : nullptr;
    if (!child) {
        std::fprintf(stderr, "FAIL: no %s named \"%s\" in %s\n", T::staticMetaObject.className(),
            name.constData(), parent ? parent->metaObject()->className() : "(null)");
        std::abort();
    }
    return child;
}

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
