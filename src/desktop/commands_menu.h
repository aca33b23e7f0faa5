#pragma once

#include <QMenu>
#include <functional>

namespace brennix {

// Fills the "Commands" menu from the built-in Commands table. Each group becomes a sub-menu
// inserted at the top, so the groups read in reverse table order; items keep table order. run is
// called with the chosen entry's command id.
void BuildCommandsMenu(QMenu& commands, const std::function<void(int id)>& run);

}  // namespace brennix
