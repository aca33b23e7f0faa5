// Feeds arbitrary text to the script compiler. Compiling never sends or asks anything, so any
// input must come back as statements or errors, never as a crash or an overrun.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "script/script_compiler.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const brennix::CompiledScript script = brennix::ScriptCompiler().Compile(text);
    // A script that failed to compile runs nothing and has said why.
    if (!script.ok && (!script.statements.empty() || script.errors.empty())) {
        __builtin_trap();
    }
    return 0;
}
