#pragma once

#include <string_view>

namespace brennix {

// The model that the "Ver" banner names, by its first token in order of precedence ("KTX", "PLR",
// "MRV", "Fndl", "Crv", "LMR"), or kFailToWakeUpInstrument5 when it names none. "MRV" gives
// kMirovan; whether it is a kMirovanAdv only the instrument's "systemtype" answer tells.
int ModelFromBanner(std::string_view banner);

}  // namespace brennix
