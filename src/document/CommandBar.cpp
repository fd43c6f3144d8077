#include "document/CommandBar.h"

#include "platform/BuiltinPictures.h"

#include <QMenu>
#include <QMenuBar>

namespace {

struct CommandDesign {
    const char* name; // the key of the click dispatch
    int id;
    const char* caption;
    QKeyCombination shortcut;
    int icon; // 0: none
    bool separatorAbove;
};

const CommandDesign kCommands[] = {
    {"Nytt", 1, "&Nytt", Qt::CTRL | Qt::Key_N, 1, false},
    {"Öppna", 2, "&Öppna", Qt::CTRL | Qt::Key_O, 2, false},
    {"Spara", 3, "&Spara", Qt::CTRL | Qt::Key_S, 3, true},
    {"SparaSom", 4, "S&para Som", QKeyCombination(), 0, false},
    {"SidaVidSida", 6, "Använd som skrivbordsunderlägg (s&ida vid sida)", QKeyCombination(), 0,
     true},
    {"Centrerad", 8, "Använd som skrivbordsunderlägg (&centrerad)", QKeyCombination(), 0, false},
    {"Avsluta", 9, "&Avsluta", QKeyCombination(), 0, true},
};

} // namespace

CommandBar::CommandBar(QMenuBar* bar) {
    QMenu* menu = bar->addMenu(QStringLiteral("&Meny"));
    menu->setObjectName(QStringLiteral("Meny"));
    for (const CommandDesign& command : kCommands) {
        if (command.separatorAbove)
            menu->addSeparator();
        QAction* action = menu->addAction(QString::fromUtf8(command.caption));
        const QString name = QString::fromUtf8(command.name);
        action->setObjectName(name);
        action->setData(command.id);
        if (command.shortcut != QKeyCombination())
            action->setShortcut(QKeySequence(command.shortcut));
        if (command.icon != 0)
            action->setIcon(BuiltinPictures::commandIcon(command.icon));
        QObject::connect(action, &QAction::triggered, bar, [this, name] {
            if (onClick)
                onClick(name);
        });
    }
}
