#pragma once

#include <functional>
#include <string>
#include <vector>

#include "instrument/instrument.h"

namespace brennix {

// A directive handler returns nonzero to let the script go on and 0 to stop it; it clears
// handled when the name is not one it serves. The handler's context is whatever it captured.
using DirectiveHandler =
    std::function<int(CInstrument* instrument, const std::string& name,
                      const std::vector<std::string>& arguments, bool& handled)>;
// A function handler also returns the function's value in result.
using FunctionHandler = std::function<int(CInstrument* instrument, const std::string& name,
                                          const std::vector<std::string>& arguments,
                                          std::string& result, bool& handled)>;

// The engine's directive and function tables, in registration order.
class HandlerTable {
  public:
    struct DirectiveRow {
        std::string name;
        DirectiveHandler handler;
    };
    struct FunctionRow {
        std::string name;
        FunctionHandler handler;
    };

    void AddDirective(std::string name, DirectiveHandler handler) {
        directives_.push_back({std::move(name), std::move(handler)});
    }
    void AddFunction(std::string name, FunctionHandler handler) {
        functions_.push_back({std::move(name), std::move(handler)});
    }
    const std::vector<DirectiveRow>& Directives() const { return directives_; }
    const std::vector<FunctionRow>& Functions() const { return functions_; }

  private:
    std::vector<DirectiveRow> directives_;
    std::vector<FunctionRow> functions_;
};

}  // namespace brennix
