#pragma once

#include <QFont>

namespace brennix {

// The terminal's five font sizes, 0 to 4, cycled by the font button.
inline constexpr int kTerminalFontSizes = 5;

// Sizes outside 0 to 4 fall back to 0.
int NormaliseTerminalFontSize(int size);

// The monospace font of a size, from small to large.
QFont TerminalFontForSize(int size);

}  // namespace brennix
