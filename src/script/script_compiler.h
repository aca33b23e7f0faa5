#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "script/directive_line_parser.h"
#include "script/script_types.h"

namespace brennix {

struct CompiledScript {
    std::vector<ScriptStatement> statements;
    // Every error found, in order; the engine reports them all before deciding to run.
    std::vector<ScriptError> errors;
    // False when an error other than an unparsable directive line stopped compilation.
    bool ok = true;
};

// Turns a script text into statements. Pure: sends nothing, asks nobody.
class ScriptCompiler {
  public:
    CompiledScript Compile(std::string_view text);

    // The lines the engine sees: split at CR and LF runs, comments cut, white space trimmed;
    // a line that held only a comment is dropped.
    static std::vector<std::string> SplitLines(std::string_view text);

  private:
    bool CompileLine(const std::vector<std::string>& lines, size_t& index);
    bool CompileDirective(const DirectiveLine& directive, const std::vector<std::string>& lines,
                          size_t& index);
    bool CompileConditional(const DirectiveLine& directive);
    bool CompileDialogBlock(const std::vector<std::string>& lines, size_t& index);
    bool CompileSendLine(const std::string& line);
    bool Fail(ScriptError error);

    CompiledScript result_;
};

}  // namespace brennix
