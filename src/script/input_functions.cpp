#include "script/input_functions.h"

#include "script/script_text.h"

namespace brennix {

std::optional<InputKind> InputFunctionKind(std::string_view name) {
    if (EqualsIgnoreCase(name, "input")) {
        return InputKind::kInput;
    }
    if (EqualsIgnoreCase(name, "select")) {
        return InputKind::kSelect;
    }
    if (EqualsIgnoreCase(name, "check")) {
        return InputKind::kCheck;
    }
    return std::nullopt;
}

InputRow MakeInputRow(InputKind kind, std::vector<std::string> arguments) {
    const size_t minimum = kind == InputKind::kCheck ? 4 : 2;
    if (arguments.size() < minimum) {
        arguments.resize(minimum);
    }
    return InputRow{kind, std::move(arguments)};
}

}  // namespace brennix
