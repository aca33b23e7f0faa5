#include "script/variable_store.h"

#include "script/script_text.h"

namespace brennix {

std::optional<std::string> VariableStore::Find(const std::string& name) const {
    const std::lock_guard lock(mutex_);
    for (const auto& [key, value] : variables_) {
        if (EqualsIgnoreCase(key, name)) {
            return value;
        }
    }
    return std::nullopt;
}

void VariableStore::Set(const std::string& name, const std::string& value) {
    const std::lock_guard lock(mutex_);
    for (auto& [key, stored] : variables_) {
        if (EqualsIgnoreCase(key, name)) {
            stored = value;
            return;
        }
    }
    variables_.emplace_back(name, value);
}

}  // namespace brennix
