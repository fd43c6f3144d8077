#pragma once

#include <QString>

#include <functional>

class QMenuBar;

// The command bar: the window's only menu, "&Meny", with the seven file
// commands. A chosen command is reported by its tool name ("Nytt", "Öppna", ...).
class CommandBar {
public:
    explicit CommandBar(QMenuBar* bar);

    std::function<void(const QString& toolName)> onClick;
};
