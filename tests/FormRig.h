#pragma once

#include "ScriptedDialogs.h"
#include "app/CanvasWidget.h"
#include "app/Form1.h"
#include "platform/widgets/ActiveBar.h"

#include <QMenu>

#include <QtTest>

#include <memory>

// A shown main window whose dialogs are answered by a script, and the real
// mouse events a child's drawing is made of.
class FormRig {
public:
    ScriptedDialogs dialogs;
    std::unique_ptr<Form1> form;

    bool show() {
        form.reset();
        dialogs = ScriptedDialogs();
        form = std::make_unique<Form1>(&dialogs);
        form->showCentred();
        return QTest::qWaitForWindowExposed(form.get());
    }

    // A key pressed and released where the keyboard focus is.
    void key(int key, Qt::KeyboardModifiers modifiers) {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : form.get(), Qt::Key(key), modifiers);
    }

    // Alt+M, then a command's access key in the open menu: N New, P Save As,
    // I and C the wallpaper, A Exit.
    void menu(char accessKey) {
        key(Qt::Key_M, Qt::AltModifier);
        QMenu* open = form->ActiveBar1->menu();
        QTRY_VERIFY(open->isVisible());
        QTest::keyClick(open, Qt::Key(accessKey));
    }
    // Save As from the menu, the dialog answered with `file`.
    void saveAs(const QString& file) {
        dialogs.files.push_back(file);
        menu('P');
    }

    // The left button going down, moving and coming up on the canvas, at
    // canvas pixels.
    void press(QPoint pos) { send(QEvent::MouseButtonPress, pos, Qt::LeftButton, Qt::LeftButton); }
    void moveHeld(QPoint pos) { send(QEvent::MouseMove, pos, Qt::NoButton, Qt::LeftButton); }
    void release(QPoint pos) {
        send(QEvent::MouseButtonRelease, pos, Qt::LeftButton, Qt::NoButton);
    }

    // A drag with the left button on the canvas through the given pixels.
    void drag(std::initializer_list<QPoint> points) {
        auto it = points.begin();
        press(*it);
        for (++it; it != points.end(); ++it)
            moveHeld(*it);
        release(*std::prev(points.end()));
    }
    // Something on the canvas that the white start picture does not have.
    void drawSomething() { drag({{20, 30}, {200, 30}, {200, 150}}); }

    QImage canvas() const { return form->canvas.Image(); }
    QString title() const { return form->windowTitle(); }

private:
    void send(QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QWidget* canvas = form->Picture1;
        QMouseEvent event(type, QPointF(pos), canvas->mapToGlobal(QPointF(pos)), button, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(canvas, &event);
    }
};

// The pixels of a saved picture, for comparing with the canvas.
inline QImage readBack(const QString& path) {
    QImage image(path, "BMP");
    return image.isNull() ? image : image.convertToFormat(QImage::Format_RGB32);
}
