#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "sim/simulated_instrument.h"

namespace brennix::sim {

// The model for a name like "Mirovan" or "mirovanadv", in any case: KTX, LMR, Mirovan, Fendrel,
// MirovanAdv, Corvex, Pelorin.
std::optional<Model> ParseModelName(std::string_view name);
// The names ParseModelName knows, for a message: "KTX, LMR, Mirovan, ...".
std::string ModelNameList();

}  // namespace brennix::sim
