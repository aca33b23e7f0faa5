#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "script/script_ui_host.h"

namespace brennix {

// The kind of input row a function name asks for: input, select or check (any case).
std::optional<InputKind> InputFunctionKind(std::string_view name);

// One input-dialog row, with missing trailing arguments filled with empty strings: input and
// select take at least two, check four.
InputRow MakeInputRow(InputKind kind, std::vector<std::string> arguments);

}  // namespace brennix
