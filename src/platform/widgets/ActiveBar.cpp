#include "platform/widgets/ActiveBar.h"

#include "platform/ControlCodes.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>

namespace {

QString fromUtf8(const char* text) {
    return QString::fromUtf8(text);
}

// The key code of a caption's access key ("&Meny" gives 'M'), 0 for none.
qint16 accessKey(const QString& caption) {
    const int amp = caption.indexOf(QLatin1Char('&'));
    if (amp < 0 || amp + 1 >= caption.size())
        return 0;
    const QChar key = caption.at(amp + 1).toUpper();
    return key.unicode() < 0x8000 ? static_cast<qint16>(key.unicode()) : 0;
}

} // namespace

QString ActiveBar::Tool::Name() const {
    return action_ ? action_->objectName() : QString();
}

int ActiveBar::Tool::ID() const {
    return action_ ? action_->data().toInt() : 0;
}

bool ActiveBar::Tool::Enabled() const {
    return action_ && action_->isEnabled();
}

void ActiveBar::Tool::setEnabled(bool enabled) {
    if (action_)
        action_->setEnabled(enabled);
}

ActiveBar::ActiveBar(QMenuBar* bar, const ToolDesign& menuTitle,
                     const std::vector<ToolDesign>& commands)
    : bar_(bar) {
    menu_ = bar->addMenu(fromUtf8(menuTitle.caption));
    menu_->setObjectName(fromUtf8(menuTitle.name));
    QAction* title = menu_->menuAction();
    title->setObjectName(fromUtf8(menuTitle.name));
    title->setData(menuTitle.id);
    tools_.push_back(title);
    shortcuts_.push_back(0);

    for (const ToolDesign& command : commands) {
        if (command.separatorAbove)
            menu_->addSeparator();
        QString text = fromUtf8(command.caption);
        // The shortcut is only written beside the caption: the keys reach the
        // bar through OnKeyDown, never through Qt's own shortcuts.
        if (command.shortcut > 0)
            text += QLatin1Char('\t') +
                    QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_A + command.shortcut - 1))
                        .toString(QKeySequence::NativeText);
        QAction* action = menu_->addAction(command.icon, text);
        action->setObjectName(fromUtf8(command.name));
        action->setData(command.id);
        connect(action, &QAction::triggered, this, [this, action] {
            if (Click)
                Click(Tool(action));
        });
        tools_.push_back(action);
        shortcuts_.push_back(command.shortcut);
    }
    // Choosing the title drops the commands down; it is a click on the title too.
    connect(menu_, &QMenu::aboutToShow, this, [this, title] {
        if (Click)
            Click(Tool(title));
    });
    // A pointer resting where the menu was counts as entering anew.
    connect(menu_, &QMenu::aboutToHide, this, [this] { hovered_ = nullptr; });
    bar->installEventFilter(this);
    menu_->installEventFilter(this);
}

ActiveBar::Tool ActiveBar::Tools(const QString& name) const {
    for (QAction* action : tools_)
        if (action->objectName() == name)
            return Tool(action);
    return Tool();
}

void ActiveBar::OnKeyDown(qint16& KeyCode, qint16& Shift) {
    if (KeyCode == 0)
        return;
    if (Shift == ShiftKey::kCtrl) {
        for (size_t i = 0; i < tools_.size(); ++i) {
            if (shortcuts_[i] == 0 || KeyCode != 'A' + shortcuts_[i] - 1)
                continue;
            KeyCode = 0;
            if (tools_[i]->isEnabled() && Click)
                Click(Tool(tools_[i]));
            return;
        }
    }
    // Qt's menu bar usually takes Alt and the title's access key before the
    // window sees it; this covers a key that reaches the bar all the same.
    if (Shift == ShiftKey::kAlt && KeyCode == accessKey(menu_->title())) {
        KeyCode = 0;
        bar_->setActiveAction(menu_->menuAction());
    }
}

void ActiveBar::OnKeyUp(qint16&, qint16&) {
    // Every command runs as its key goes down; a key coming up starts nothing.
}

bool ActiveBar::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseMove: {
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        if (watched == bar_)
            pointerOver(bar_->actionAt(at));
        else if (watched == menu_)
            pointerOver(menu_->actionAt(at));
        break;
    }
    case QEvent::Leave:
        pointerOver(nullptr);
        break;
    case QEvent::ContextMenu:
        if (watched == bar_) {
            bool Cancel = false;
            if (PreCustomizeMenu)
                PreCustomizeMenu(Cancel);
            if (Cancel)
                return true;
        }
        break;
    default:
        break;
    }
    return false;
}

// Only the pointer moving onto a tool counts, never a tool highlighted from
// the keyboard.
void ActiveBar::pointerOver(QAction* action) {
    if (action && action->isSeparator())
        action = nullptr;
    if (action == hovered_)
        return;
    hovered_ = action;
    if (action && MouseEnter)
        MouseEnter(Tool(action));
}
