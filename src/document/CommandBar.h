#pragma once

#include <QString>

#include <functional>

class QAction;
class QMenuBar;
class QMenu;

// The command bar: the window's only menu, "&Meny", with the seven file
// commands. A chosen command is reported by its tool name ("Nytt", "Öppna", ...).
class CommandBar {
public:
    explicit CommandBar(QMenuBar* bar);

    QMenu* menu() const { return menu_; }
    // The command with tool name `name`, or nullptr.
    QAction* tool(const QString& name) const;

    std::function<void(const QString& toolName)> onClick;

private:
    QMenu* menu_ = nullptr;
};
