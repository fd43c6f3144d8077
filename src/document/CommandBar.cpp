#include "document/CommandBar.h"

#include "platform/BuiltinPictures.h"
#include "platform/widgets/ActiveBar.h"

namespace CommandBar {

std::unique_ptr<ActiveBar> build(QMenuBar* bar) {
    const ActiveBar::ToolDesign title{"Meny", 7, "&Meny", 0, QIcon(), false};
    const std::vector<ActiveBar::ToolDesign> commands = {
        {"Nytt", 1, "&Nytt", 14, BuiltinPictures::commandIcon(1), false},
        {"Öppna", 2, "&Öppna", 15, BuiltinPictures::commandIcon(2), false},
        {"Spara", 3, "&Spara", 19, BuiltinPictures::commandIcon(3), true},
        {"SparaSom", 4, "S&para Som", 0, QIcon(), false},
        {"SidaVidSida", 6, "Använd som skrivbordsunderlägg (s&ida vid sida)", 0, QIcon(), true},
        {"Centrerad", 8, "Använd som skrivbordsunderlägg (&centrerad)", 0, QIcon(), false},
        {"Avsluta", 9, "&Avsluta", 0, QIcon(), true},
    };
    return std::make_unique<ActiveBar>(bar, title, commands);
}

} // namespace CommandBar
