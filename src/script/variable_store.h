#pragma once

#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace brennix {

// Script variables in the order they were first set; names compare case-insensitively. The
// terminal's engine and a job's engine on its worker share one store, so it takes its own lock.
class VariableStore {
  public:
    std::optional<std::string> Find(const std::string& name) const;
    void Set(const std::string& name, const std::string& value);

  private:
    mutable std::mutex mutex_;
    std::vector<std::pair<std::string, std::string>> variables_;
};

}  // namespace brennix
