#pragma once

#include "canvas/CanvasDispatch.h"
#include "canvas/DrawingState.h"
#include "canvas/PictureBox.h"
#include "canvas/UndoHistory.h"
#include "pickers/ControlArrays.h"
#include "platform/CommonDialog.h"
#include "platform/SnapshotFolder.h"
#include "platform/widgets/ActiveBar.h"
#include "platform/widgets/MouseArgs.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class CanvasWidget;
class Dialogs;
class Document;
class PalettePanel;
class PrintCommand;
class Recovery;
class ScenePanel;
class TabStrip;
class ToolPage;
class WallpaperCommands;

// The one window. It builds every control from the design data, owns the
// drawing state, and routes each control's events to its handler.
class Form1 : public QMainWindow {
    // First, so the file dialog component can be given them.
    std::unique_ptr<Dialogs> ownDialogs_;
    Dialogs& dialogs_;

public:
    // The window shows its dialogs through `dialogs`; without any it shows
    // Qt's own.
    explicit Form1(Dialogs* dialogs = nullptr);
    ~Form1() override;

    // Event handlers, named after the control and the event.
    void Form_Load();
    void TabStrip1_Click();
    void Picture3_MouseDown(qint16 Index, const MouseArgs& args);
    void Picture6_MouseDown(qint16 Index, const MouseArgs& args);
    void Image2_MouseDown(qint16 Index, const MouseArgs& args);
    void Picture1_MouseDown(const MouseArgs& args);
    void Picture1_MouseMove(const MouseArgs& args);
    void Picture1_MouseUp(const MouseArgs& args);
    void ActiveBar1_Click(const ActiveBar::Tool& tool);
    void ActiveBar1_MouseEnter(const ActiveBar::Tool& tool);
    void ActiveBar1_PreCustomizeMenu(bool& Cancel);
    void Form_KeyDown(qint16& KeyCode, qint16& Shift);
    void Form_KeyUp(qint16& KeyCode, qint16& Shift);
    void Form_QueryUnload(qint16& Cancel, qint16 UnloadMode);

    // The file commands of the menu.
    void Nytt();
    void öppna();
    void spara();
    void SparaSom();
    void SidaVidSida();
    void centrerat();
    void avsluta();

    // Opens a picture named on the command line, as Open does.
    void openFile(const QString& path);
    // What the window shows first, before it takes any other input: a
    // picture that a program ended before it was saved, if the child keeps
    // it, otherwise `file` (from the command line) when one is given.
    void startWith(const QString& file);

    // Ends the program at once: the window hides, takes no more input and
    // closes without a question, and `onStop` ends the event loop.
    void stopProgram();
    bool stopped() const { return stopped_; }
    void setOnStop(std::function<void()> onStop) { onStop_ = std::move(onStop); }

    // Shows the window centred on its screen.
    void showCentred();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    QMenu* createPopupMenu() override { return nullptr; }

private:
    // The tests' rig reads the controls and points the snapshot folder at a
    // folder of its own.
    friend class FormRig;

    void buildControls(QWidget* form);
    bool forwardKey(QWidget* receiver, QKeyEvent* event);
    // Ctrl+Z, and Ctrl+Y or Ctrl+Shift+Z: true when the key was one of them.
    bool undoKey(const QKeyEvent& event);
    // Ctrl+P, likewise.
    bool printKey(const QKeyEvent& event);
    // A drag the window takes: one local file, never while a button is held on the canvas.
    bool takesDrag(QDropEvent* event) const;
    // After every change to the picture that a step records.
    void pictureChanged();

    // Where the shape tools keep temp.bmp, asked on every press.
    std::function<QString()> snapshotFolder_ = &SnapshotFolder::current;
    std::function<void()> onStop_;
    bool stopped_ = false;

    // The drawing state and the canvas's picture box.
    DrawingState drawing;
    Module1 module1;
    PictureBox canvas;
    CanvasDispatch dispatch{canvas, drawing, module1};
    UndoHistory history{canvas};
    // The buttons held on the canvas since their press.
    qint16 canvasButtons_ = 0;

    // The controls, by their designer names.
    CanvasWidget* Picture1 = nullptr;
    TabStrip* TabStrip1 = nullptr;
    Pages Picture2{};
    ToolButtons Picture3{};
    PictureBoxControl* Picture4 = nullptr;
    PictureBoxControl* Picture5 = nullptr;
    std::unique_ptr<ToolPage> toolPage;
    std::unique_ptr<PalettePanel> palette;
    std::unique_ptr<ScenePanel> scenes;
    std::unique_ptr<ActiveBar> ActiveBar1;
    CommonDialog Cmdialog;
    std::unique_ptr<Document> document;
    std::unique_ptr<Recovery> recovery;
    std::unique_ptr<WallpaperCommands> wallpaper;
    std::unique_ptr<PrintCommand> printing;
};
