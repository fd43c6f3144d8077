#include "app/FirstFrame.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <cstdio>

namespace {

class FirstFrameWatch : public QObject {
public:
    FirstFrameWatch(QWidget* window, std::function<void()> painted)
        : QObject(window), window_(window), painted_(std::move(painted)) {
        qApp->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint || seen_)
            return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || widget->window() != window_)
            return false;
        seen_ = true;
        qApp->removeEventFilter(this);
        // Queued, so it runs once this paint pass has been flushed to the screen.
        QMetaObject::invokeMethod(
            this,
            [this] {
                painted_();
                deleteLater();
            },
            Qt::QueuedConnection);
        return false;
    }

private:
    QWidget* window_;
    std::function<void()> painted_;
    bool seen_ = false;
};

} // namespace

void watchFirstFrame(QWidget* window, std::function<void()> painted) {
    new FirstFrameWatch(window, std::move(painted));
}

void reportFirstFrameIfAsked(QWidget* window) {
    if (!qEnvironmentVariableIsSet("PENSILO_FIRST_FRAME"))
        return;
    watchFirstFrame(window, [] {
        std::fputs("first-frame\n", stderr);
        std::fflush(stderr);
    });
}
