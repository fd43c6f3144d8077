#pragma once

#include "ScriptedDialogs.h"
#include "app/CanvasWidget.h"
#include "app/Form1.h"
#include "document/WallpaperCommands.h"
#include "pickers/PalettePanel.h"
#include "pickers/ScenePanel.h"
#include "pickers/ToolPage.h"
#include "platform/widgets/ActiveBar.h"
#include "platform/widgets/ImageControl.h"
#include "platform/widgets/PictureBoxControl.h"
#include "platform/widgets/TabStrip.h"

#include <QMenu>

#include <QtTest>

#include <memory>

// A shown main window whose dialogs are answered by a script, and the real
// mouse events a child's drawing and choosing are made of.
class FormRig {
    // First, so it outlives the window that keeps its lock there.
    QTemporaryDir stateHome_;

public:
    ScriptedDialogs dialogs;
    std::unique_ptr<Form1> form;

    // The windows keep their recovery copies in a state folder of the rig's
    // own, never in the user's, and a window the rig replaces leaves its
    // copy there as a killed program would.
    FormRig() { qputenv("XDG_STATE_HOME", QFile::encodeName(stateHome_.path())); }
    QString stateFolder() const { return stateHome_.path() + "/pensilo"; }

    // With `realDialogs` the window shows Qt's own dialogs, not the script.
    bool show(bool realDialogs = false) {
        form.reset();
        dialogs = ScriptedDialogs();
        form = std::make_unique<Form1>(realDialogs ? nullptr : &dialogs);
        form->showCentred();
        return QTest::qWaitForWindowExposed(form.get());
    }

    // One window for each test function, shared by its data rows: the
    // tables check hundreds of rows against a window that none of them change.
    bool showOncePerFunction() {
        if (form && shownFor_ == QTest::currentTestFunction())
            return true;
        shownFor_ = QTest::currentTestFunction();
        return show();
    }

    // The window's own state and controls, by their designer names.
    const PictureBox& pictureBox() const { return form->canvas; }
    qint16 currentTool() const { return form->drawing.currentTool; }
    CanvasWidget* canvasWidget() const { return form->Picture1; }
    TabStrip* tabStrip() const { return form->TabStrip1; }
    PictureBoxControl* page(int index) const { return form->Picture2.at(size_t(index)); }
    ImageControl* button(int index) const { return form->Picture3.at(size_t(index)); }
    PictureBoxControl* scenePanel() const { return form->Picture4; }
    PictureBoxControl* palettePanel() const { return form->Picture5; }
    ToolPage& toolPage() const { return *form->toolPage; }
    PalettePanel& palette() const { return *form->palette; }
    ScenePanel& scenes() const { return *form->scenes; }
    ActiveBar& commandBar() const { return *form->ActiveBar1; }
    WallpaperCommands& wallpaper() const { return *form->wallpaper; }
    void setSnapshotFolder(const QString& folder) {
        form->snapshotFolder_ = [folder] { return folder; };
    }

    // The window's inner area, below the menu band: the layout's pixels.
    QWidget* inner() const { return form->centralWidget(); }

    // A click on the tab captioned `caption` (1 to 13).
    void clickTab(int caption) {
        QTest::mouseClick(tabStrip(), Qt::LeftButton, {},
                          tabStrip()->tabRect(caption - 1).center());
    }

    // Presses and releases `button` at a pixel of the inner area, on whatever
    // control lies on top there; false when nothing takes presses there.
    bool pressAt(QPoint pixel, Qt::MouseButton button = Qt::LeftButton) {
        QWidget* target = inner()->childAt(pixel);
        if (!target)
            return false;
        press(target, button, target->mapFrom(inner(), pixel));
        return true;
    }
    // Presses and releases `button` on `widget` at `pos`, its own pixels.
    static void press(QWidget* widget, Qt::MouseButton button = Qt::LeftButton,
                      QPoint pos = QPoint(5, 5)) {
        QTest::mousePress(widget, button, {}, pos);
        QTest::mouseRelease(widget, button, {}, pos);
    }

    // A press on the button of a tool or stamp, and on a scene's thumbnail.
    void chooseTool(int tool) { press(form->Picture3.at(size_t(tool))); }
    void chooseScene(int scene) { press(form->scenes->thumbnail(scene)); }
    // A picture named on the command line.
    void openNamed(const QString& path) { form->openFile(path); }

    // A key pressed and released where the keyboard focus is.
    void key(int key, Qt::KeyboardModifiers modifiers) {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : form.get(), Qt::Key(key), modifiers);
    }

    // Alt+M, then a command's access key in the open menu: N New, P Save As,
    // I and C the wallpaper, A Exit.
    void menu(char accessKey) {
        key(Qt::Key_M, Qt::AltModifier);
        QMenu* open = commandBar().menu();
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

    // A drag with one button on the canvas through the given pixels.
    void drag(Qt::MouseButton button, std::initializer_list<QPoint> points) {
        auto it = points.begin();
        send(QEvent::MouseButtonPress, *it, button, button);
        for (++it; it != points.end(); ++it)
            send(QEvent::MouseMove, *it, Qt::NoButton, button);
        send(QEvent::MouseButtonRelease, *std::prev(points.end()), button, Qt::NoButton);
    }
    void drag(std::initializer_list<QPoint> points) { drag(Qt::LeftButton, points); }
    // Something on the canvas that the white start picture does not have.
    void drawSomething() { drag({{20, 30}, {200, 30}, {200, 150}}); }

    QImage canvas() const { return pictureBox().Image(); }
    QString title() const { return form->windowTitle(); }

    // One mouse event on the canvas at a pixel. Sent directly, since a move
    // from QTest carries no buttons held.
    void send(QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons,
              Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* canvas = canvasWidget();
        QMouseEvent event(type, QPointF(pos), canvas->mapToGlobal(QPointF(pos)), button, buttons,
                          modifiers);
        QApplication::sendEvent(canvas, &event);
    }

private:
    QByteArray shownFor_;
};

// The pixels of a saved picture, for comparing with the canvas.
inline QImage readBack(const QString& path) {
    QImage image(path, "BMP");
    return image.isNull() ? image : image.convertToFormat(QImage::Format_RGB32);
}
