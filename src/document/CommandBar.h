#pragma once

#include <memory>

class ActiveBar;
class QMenuBar;

// The window's command bar: the menu "&Meny" with the seven file commands,
// known by their tool names ("Nytt", "Öppna", "Spara", "SparaSom",
// "SidaVidSida", "Centrerad", "Avsluta").
namespace CommandBar {

std::unique_ptr<ActiveBar> build(QMenuBar* bar);

} // namespace CommandBar
