#pragma once

#include <QIcon>

namespace brennix {

// The terminal's artwork, drawn rather than loaded so that it scales to any screen.
enum class ToolBarImage { kPlug, kSpark, kLetters, kQuestionMark };

QIcon ToolBarIcon(ToolBarImage image);
// The window icon: a terminal prompt.
QIcon ApplicationIcon();

}  // namespace brennix
