#include "app/Form1.h"

#include "app/CanvasWidget.h"
#include "app/DroppedFile.h"
#include "app/FirstFrame.h"
#include "document/CommandBar.h"
#include "document/Document.h"
#include "document/PrintCommand.h"
#include "document/Recovery.h"
#include "document/WallpaperCommands.h"
#include "pickers/PalettePanel.h"
#include "pickers/ScenePanel.h"
#include "pickers/StampPages.h"
#include "pickers/ToolPage.h"
#include "platform/BuiltinPictures.h"
#include "platform/ControlCodes.h"
#include "platform/Units.h"
#include "platform/widgets/ImageControl.h"
#include "platform/widgets/KeyArgs.h"
#include "platform/widgets/LineControl.h"
#include "platform/widgets/PictureBoxControl.h"
#include "platform/widgets/QtDialogs.h"
#include "platform/widgets/ShapeControl.h"
#include "platform/widgets/TabStrip.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDropEvent>
#include <QLayout>
#include <QMenuBar>
#include <QScreen>

namespace {

// The window's inner area, below the menu band.
constexpr int kInnerWidth = 721;
constexpr int kInnerHeight = 515;

PictureBoxControl* makePanel(QWidget* parent, const QString& name, QRect geometry, QRgb colour) {
    auto* panel = new PictureBoxControl(parent);
    panel->setObjectName(name);
    panel->setGeometry(geometry);
    panel->setBackColor(colour);
    return panel;
}

} // namespace

// A top-level window with a title, a system menu and a close button only: the
// layout is fixed, so there is nothing to maximise or resize.
Form1::Form1(Dialogs* dialogs)
    : QMainWindow(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      dialogs_(dialogs ? *dialogs : *(ownDialogs_ = std::make_unique<QtDialogs>(this))),
      canvas(BuiltinPictures::canvasStartPicture()), Cmdialog(dialogs_) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("[Namnlös] - Pensilo"));
    setWindowIcon(BuiltinPictures::windowIcon());

    auto* form = new QWidget(this);
    form->setObjectName(QStringLiteral("Form1.inner"));
    form->setFixedSize(kInnerWidth, kInnerHeight);
    form->setAutoFillBackground(true);
    QPalette colours = form->palette();
    colours.setColor(QPalette::Window, QColor::fromRgb(kLightGrey));
    form->setPalette(colours);
    setCentralWidget(form);
    ActiveBar1 = CommandBar::build(menuBar());
    ActiveBar1->Click = [this](const ActiveBar::Tool& tool) { ActiveBar1_Click(tool); };
    ActiveBar1->MouseEnter = [this](const ActiveBar::Tool& tool) { ActiveBar1_MouseEnter(tool); };
    ActiveBar1->PreCustomizeMenu = [this](bool& Cancel) { ActiveBar1_PreCustomizeMenu(Cancel); };
    buildControls(form);
    document = std::make_unique<Document>(*this, canvas, Cmdialog, dialogs_);
    document->canvasReplaced = [this] {
        canvas.takeChangedRect();
        Picture1->update();
        history.end();
        pictureChanged();
    };
    document->canvasReplacing = [this] { history.beginWhole(); };
    document->stopProgram = [this] { stopProgram(); };
    history.documentNow = [this] { return document->undoState(); };
    history.restoreDocument = [this](const UndoHistory::Document& state) {
        document->restore(state);
    };
    recovery = std::make_unique<Recovery>(*document, canvas, dialogs_);
    recovery->canvasShown = [this] { Picture1->update(); };
    document->pictureSafe = [this] { recovery->pictureSafe(); };
    wallpaper = std::make_unique<WallpaperCommands>(*document, dialogs_);
    printing = std::make_unique<PrintCommand>(dialogs_);
    // The window sees every key before the control with the focus does.
    qApp->installEventFilter(this);
    // A picture file dropped anywhere on the window opens.
    setAcceptDrops(true);

    // No resizing: the window is exactly the menu bar over the inner area.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    Form_Load();
}

Form1::~Form1() {
    qApp->removeEventFilter(this);
}

void Form1::buildControls(QWidget* form) {
    // Stacking on the window, top first: Picture5, Picture2(0), Picture2(1..12),
    // Picture1, Picture4, TabStrip1. Qt stacks later siblings above earlier
    // ones, so they are created bottom first.
    QStringList captions;
    for (int tab = 1; tab <= kPageCount; ++tab)
        captions << QString::number(tab);
    TabStrip1 = new TabStrip(captions, form);
    TabStrip1->setObjectName(QStringLiteral("TabStrip1"));
    TabStrip1->setGeometry(twipsRect(7320, 0, 3375, 6615));
    TabStrip1->onClick = [this] { TabStrip1_Click(); };
    // Like the canvas, the strip takes the keyboard focus when clicked.
    TabStrip1->setFocusPolicy(Qt::ClickFocus);

    Picture4 =
        makePanel(form, QStringLiteral("Picture4"), twipsRect(7440, 3960, 3135, 2535), kLightGrey);
    scenes = std::make_unique<ScenePanel>(Picture4);
    for (int index = 0; index < BuiltinPictures::kSceneCount; ++index)
        scenes->thumbnail(index)->onMouseDown = [this, index](const MouseArgs& args) {
            Image2_MouseDown(static_cast<qint16>(index), args);
        };

    Picture1 = new CanvasWidget(canvas, form);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setFocusPolicy(Qt::ClickFocus);
    Picture1->setGeometry(twipsRect(120, 120, 7065, 6435));
    Picture1->onMouseDown = [this](const MouseArgs& args) { Picture1_MouseDown(args); };
    Picture1->onMouseMove = [this](const MouseArgs& args) { Picture1_MouseMove(args); };
    Picture1->onMouseUp = [this](const MouseArgs& args) { Picture1_MouseUp(args); };
    dispatch.stampPicture = [](qint16 tool) -> const Icon& { return BuiltinPictures::stamp(tool); };
    dispatch.update = [this](const QRect& rect) { Picture1->update(rect); };
    dispatch.Refresh = [this] { Picture1->repaint(); };
    dispatch.gestureBegins = [this] { history.begin(); };
    dispatch.gestureEnds = [this] {
        history.end();
        pictureChanged();
    };

    for (int page = kPageCount - 1; page >= 0; --page) {
        const QRect geometry =
            page == 0 ? twipsRect(7440, 480, 3135, 3855) : twipsRect(7440, 600, 3135, 2535);
        Picture2.at(page) =
            makePanel(form, QStringLiteral("Picture2(%1)").arg(page), geometry, kLightGrey);
        // Only the tool page and, beneath it, the last stamp page are visible at start.
        Picture2.at(page)->setVisible(page == 0 || page == kPageCount - 1);
    }
    toolPage = std::make_unique<ToolPage>(Picture2[0], Picture3);
    StampPages::build(Picture2, Picture3);
    for (int index = 0; index < static_cast<int>(Picture3.size()); ++index)
        Picture3.at(index)->onMouseDown = [this, index](const MouseArgs& args) {
            Picture3_MouseDown(static_cast<qint16>(index), args);
        };
    Picture3.at(ToolId::kFirstPen)->setBorderStyle(BorderStyle::kFixedSingle);

    Picture5 = makePanel(form, QStringLiteral("Picture5"), twipsRect(120, 6720, 10575, 735),
                         QGuiApplication::palette().color(QPalette::Button).rgb());
    palette = std::make_unique<PalettePanel>(Picture5);
    palette->onCellMouseDown = [this](qint16 index, const MouseArgs& args) {
        Picture6_MouseDown(index, args);
    };
}

void Form1::Form_Load() {
    drawing.currentTool = ToolId::kFirstPen;
}

void Form1::showCentred() {
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        // A screen smaller than the window keeps the title bar reachable.
        move(std::max(frame.left(), screen->availableGeometry().left()),
             std::max(frame.top(), screen->availableGeometry().top()));
    }
    show();
}

void Form1::TabStrip1_Click() {
    for (PictureBoxControl* page : Picture2)
        page->setVisible(false);
    const int page = roundToInt16(TabStrip1->selectedCaption().toDouble() - 1);
    Picture2.at(static_cast<size_t>(page))->setVisible(true);
}

void Form1::Picture3_MouseDown(qint16 Index, const MouseArgs&) {
    drawing.currentTool = Index;
    for (ImageControl* button : Picture3)
        button->setBorderStyle(BorderStyle::kNone);
    Picture3.at(static_cast<size_t>(Index))->setBorderStyle(BorderStyle::kFixedSingle);
}

void Form1::Picture6_MouseDown(qint16 Index, const MouseArgs& args) {
    const QRgb colour = palette->cell(Index)->backColor();
    if (args.Button == MouseButton::kLeft) {
        toolPage->Line1->setBorderColor(colour);
        toolPage->Shape1->setBorderColor(colour);
        toolPage->Shape3->setBorderColor(colour);
        toolPage->Shape2->setBorderColor(colour);
        toolPage->Shape4->setBorderColor(colour);
        palette->Picture8->setBackColor(colour);
    }
    if (args.Button == MouseButton::kRight) {
        toolPage->Shape2->setFillColor(colour);
        toolPage->Shape4->setFillColor(colour);
        palette->Picture9->setBackColor(colour);
    }
}

void Form1::Image2_MouseDown(qint16 Index, const MouseArgs&) {
    history.beginWhole();
    // The scene is shared, never drawn on: drawing goes to the persistent image.
    canvas.Cls();
    canvas.setPicture(BuiltinPictures::scene(Index));
    document->sceneChosen();
    canvas.takeChangedRect();
    Picture1->update();
    history.end();
    pictureChanged();
}

void Form1::Picture1_MouseDown(const MouseArgs& args) {
    canvasButtons_ |= args.Button;
    dispatch.mouseDown(args.Button, args.Shift, args.X, args.Y, snapshotFolder_());
}

void Form1::Picture1_MouseMove(const MouseArgs& args) {
    dispatch.mouseMove(args.Button, args.Shift, args.X, args.Y,
                       rgbToBgr(palette->Picture8->backColor()),
                       rgbToBgr(palette->Picture9->backColor()));
}

void Form1::Picture1_MouseUp(const MouseArgs& args) {
    canvasButtons_ &= ~args.Button;
    dispatch.mouseUp(args.Button, args.Shift, args.X, args.Y);
}

void Form1::pictureChanged() {
    recovery->pictureChanged();
}

void Form1::ActiveBar1_Click(const ActiveBar::Tool& tool) {
    // Whole names, in this order: "spara" must not run Save As.
    static const std::pair<const char*, void (Form1::*)()> kDispatch[] = {
        {"nytt", &Form1::Nytt},
        {"sparasom", &Form1::SparaSom},
        {"spara", &Form1::spara},
        {"öppna", &Form1::öppna},
        {"sidavidsida", &Form1::SidaVidSida},
        {"centrerad", &Form1::centrerat},
        {"avsluta", &Form1::avsluta},
    };
    const QString name = tool.Name().toLower();
    for (const auto& [key, procedure] : kDispatch) {
        if (name == QString::fromUtf8(key)) {
            (this->*procedure)();
            return;
        }
    }
}

// Whichever tool the pointer entered; a menu opened from the keyboard keeps
// what the last hover decided.
void Form1::ActiveBar1_MouseEnter(const ActiveBar::Tool&) {
    const bool untitled = document->isUntitled();
    ActiveBar1->Tools(QStringLiteral("SidaVidSida")).setEnabled(!untitled);
    ActiveBar1->Tools(QStringLiteral("Centrerad")).setEnabled(!untitled);
}

void Form1::ActiveBar1_PreCustomizeMenu(bool& Cancel) {
    Cancel = true;
}

void Form1::Form_KeyDown(qint16& KeyCode, qint16& Shift) {
    ActiveBar1->OnKeyDown(KeyCode, Shift);
}

void Form1::Form_KeyUp(qint16& KeyCode, qint16& Shift) {
    ActiveBar1->OnKeyUp(KeyCode, Shift);
}

void Form1::Form_QueryUnload(qint16& Cancel, qint16) {
    document->queryUnload(Cancel);
}

void Form1::Nytt() {
    document->Nytt();
}

void Form1::öppna() {
    document->öppna();
}

void Form1::spara() {
    document->spara();
}

void Form1::SparaSom() {
    document->SparaSom();
}

void Form1::SidaVidSida() {
    wallpaper->SidaVidSida();
}

void Form1::centrerat() {
    wallpaper->centrerat();
}

void Form1::openFile(const QString& path) {
    document->openFile(path);
}

void Form1::startWith(const QString& file) {
    // Once the window is on the screen, so that neither the first frame nor
    // the first gesture waits for the lock to reach the disk; queued once
    // more, behind whatever else waits for that frame.
    watchFirstFrame(this, [this] {
        QMetaObject::invokeMethod(
            this, [this] { recovery->takeLock(); }, Qt::QueuedConnection);
    });
    if (!recovery->offerLeftCopies(file) && !file.isEmpty())
        openFile(file);
}

void Form1::avsluta() {
    document->avsluta();
}

void Form1::stopProgram() {
    stopped_ = true;
    hide();
    if (onStop_)
        onStop_();
}

namespace {

// Shift, Ctrl, Alt and Meta as held for a key, without the keypad's flag.
Qt::KeyboardModifiers heldWith(const QKeyEvent& event) {
    return event.modifiers() &
           (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
}

bool isInput(QEvent::Type type) {
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

} // namespace

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (!isInput(type))
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this)
        return false;
    // Once stopped, no handler of the window runs again.
    if (stopped_)
        return true;
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease)
        return false;
    return forwardKey(widget, static_cast<QKeyEvent*>(event));
}

// A key that a child ignores travels up to its parents; it is passed on once,
// where it first arrives.
bool Form1::forwardKey(QWidget* receiver, QKeyEvent* event) {
    const QWidget* focus = QApplication::focusWidget();
    if (focus && focus != receiver && receiver->isAncestorOf(focus))
        return false;
    const qint16 original = virtualKeyCode(event->key());
    qint16 KeyCode = original;
    qint16 Shift = shiftMask(event->modifiers());
    if (event->type() == QEvent::KeyPress)
        Form_KeyDown(KeyCode, Shift);
    else
        Form_KeyUp(KeyCode, Shift);
    // The bar took the key: nothing else sees it.
    if (original != 0 && KeyCode == 0) {
        event->accept();
        return true;
    }
    if (event->type() == QEvent::KeyPress && (undoKey(*event) || printKey(*event))) {
        event->accept();
        return true;
    }
    return false;
}

bool Form1::undoKey(const QKeyEvent& event) {
    const Qt::KeyboardModifiers held = heldWith(event);
    const bool undo = event.key() == Qt::Key_Z && held == Qt::ControlModifier;
    const bool redo =
        (event.key() == Qt::Key_Y && held == Qt::ControlModifier) ||
        (event.key() == Qt::Key_Z && held == (Qt::ControlModifier | Qt::ShiftModifier));
    if (!undo && !redo)
        return false;
    // Mid-stroke the keys do nothing: the gesture is not a step yet.
    if (canvasButtons_ != 0)
        return true;
    // A release that never came (the pointer grabbed away) still ends its step.
    history.end();
    if (undo ? history.undo() : history.redo()) {
        Picture1->update(canvas.takeChangedRect());
        pictureChanged();
    }
    return true;
}

bool Form1::takesDrag(QDropEvent* event) const {
    if (canvasButtons_ != 0 || !droppedFile(event->mimeData()))
        return false;
    // Copied, never moved: a move would have the file manager delete the file.
    if (event->possibleActions() & Qt::CopyAction)
        event->setDropAction(Qt::CopyAction);
    else if (event->possibleActions() & Qt::LinkAction)
        event->setDropAction(Qt::LinkAction);
    else
        return false;
    return true;
}

void Form1::dragEnterEvent(QDragEnterEvent* event) {
    event->setAccepted(takesDrag(event));
}

void Form1::dragMoveEvent(QDragMoveEvent* event) {
    event->setAccepted(takesDrag(event));
}

// As Open does, by the same road: no question, and the earlier picture one undo away.
void Form1::dropEvent(QDropEvent* event) {
    if (!takesDrag(event)) {
        event->ignore();
        return;
    }
    event->accept();
    openFile(*droppedFile(event->mimeData()));
}

// The bar has no command on Ctrl+P; printing is not on the menu.
bool Form1::printKey(const QKeyEvent& event) {
    if (event.key() != Qt::Key_P || heldWith(event) != Qt::ControlModifier)
        return false;
    // Mid-stroke the dialog would take the release away from the stroke.
    // The whole picture, as a save would write it, beyond the canvas too.
    if (canvasButtons_ == 0)
        printing->print(document->wholePicture().value_or(canvas.Image()), document->name(),
                        document->isUntitled());
    return true;
}

void Form1::closeEvent(QCloseEvent* event) {
    if (stopped_) {
        event->accept();
        return;
    }
    qint16 Cancel = 0;
    Form_QueryUnload(Cancel, 0);
    if (Cancel != 0)
        event->ignore();
    else
        event->accept();
}
