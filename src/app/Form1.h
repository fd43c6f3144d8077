#pragma once

#include "canvas/CanvasDispatch.h"
#include "canvas/DrawingState.h"
#include "canvas/PictureBox.h"
#include "platform/widgets/MouseArgs.h"

#include <QMainWindow>

#include <array>
#include <memory>

class CanvasWidget;
class CommandBar;
class ImageControl;
class PalettePanel;
class PictureBoxControl;
class ScenePanel;
class TabStrip;
class ToolPage;

// The one window. It builds every control from the design data, owns the
// drawing state, and routes each control's events to its handler.
class Form1 : public QMainWindow {
public:
    explicit Form1(QWidget* parent = nullptr);
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

    // Shows the window centred on its screen.
    void showCentred();

    // The drawing state and the canvas's picture box.
    DrawingState drawing;
    Module1 module1;
    PictureBox canvas;
    CanvasDispatch dispatch{canvas, drawing, module1};

    // The controls, by their designer names.
    CanvasWidget* Picture1 = nullptr;
    TabStrip* TabStrip1 = nullptr;
    std::array<PictureBoxControl*, 13> Picture2{};
    std::array<ImageControl*, 195> Picture3{};
    PictureBoxControl* Picture4 = nullptr;
    PictureBoxControl* Picture5 = nullptr;
    std::unique_ptr<ToolPage> toolPage;
    std::unique_ptr<PalettePanel> palette;
    std::unique_ptr<ScenePanel> scenes;
    std::unique_ptr<CommandBar> ActiveBar1;

    static constexpr int kInnerWidth = 721;
    static constexpr int kInnerHeight = 515;

private:
    void buildControls(QWidget* form);
};
