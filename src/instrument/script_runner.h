#pragma once

#include <string>

namespace brennix {

// What the instrument object needs of the script engine: run a command text.
class CScriptRunner {
  public:
    virtual ~CScriptRunner() = default;
    // Nonzero when the script ran to its end.
    virtual int Run(const std::string& text, bool quiet) = 0;
};

}  // namespace brennix
