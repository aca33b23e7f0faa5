#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace brennix {

// Script variables in the order they were first set; names compare case-insensitively.
class VariableStore {
  public:
    std::optional<std::string> Find(const std::string& name) const;
    void Set(const std::string& name, const std::string& value);

  private:
    std::vector<std::pair<std::string, std::string>> variables_;
};

}  // namespace brennix
