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
    // How many lines the engine saw: only a script of several names the line of an error.
    size_t lineCount = 0;
};

// A line as the engine sees it, and its number in the text as an editor counts them, from 1.
struct ScriptLine {
    std::string text;
    int number = 0;
};

// Turns a script text into statements. Pure: sends nothing, asks nobody.
class ScriptCompiler {
  public:
    CompiledScript Compile(std::string_view text);

    // The lines the engine sees: split at CR and LF runs, comments cut, white space trimmed;
    // a line that held only a comment is dropped.
    static std::vector<ScriptLine> SplitLines(std::string_view text);

  private:
    bool CompileLine(const std::vector<ScriptLine>& lines, size_t& index);
    bool CompileDirective(const DirectiveLine& directive, const std::vector<ScriptLine>& lines,
                          size_t& index);
    bool CompileConditional(const DirectiveLine& directive);
    bool CompileDialogBlock(const std::vector<ScriptLine>& lines, size_t& index);
    bool CompileSendLine(const std::string& line);
    void Add(ScriptStatement statement);
    void Report(ScriptError error);
    bool Fail(ScriptError error);

    CompiledScript result_;
    // The number of the line being compiled.
    int line_ = 0;
};

}  // namespace brennix
