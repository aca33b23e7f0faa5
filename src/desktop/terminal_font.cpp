#include "desktop/terminal_font.h"

#include <QFontDatabase>
#include <array>

namespace brennix {
namespace {

// Point sizes that keep the handheld's steps but read well on a desktop screen.
constexpr std::array<int, kTerminalFontSizes> kPointSizes = {10, 11, 12, 13, 15};

}  // namespace

int NormaliseTerminalFontSize(int size) {
    return size > 0 && size < kTerminalFontSizes ? size : 0;
}

QFont TerminalFontForSize(int size) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPointSize(kPointSizes[static_cast<size_t>(NormaliseTerminalFontSize(size))]);
    return font;
}

}  // namespace brennix
