#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "instrument/instrument.h"
#include "platform/clock.h"
#include "platform/stop_event.h"
#include "script/handler_table.h"
#include "script/script_types.h"
#include "script/script_ui_host.h"

namespace brennix {

struct CompiledScript;

// The interpreter of the command language: compiles a text into statements, then executes them
// against the instrument. One engine lives for the whole program; its variables live as long.
class CScriptEngine {
  public:
    CScriptEngine(ScriptUiHost& ui, Clock& clock);
    ~CScriptEngine();

    void SetInstrument(CInstrument* instrument);
    CInstrument* GetInstrument() const;

    // Nonzero when the script ran to its end.
    int Run(const std::string& text, bool quiet);

    // The Stop button of the script-running window.
    void RequestCancel();
    bool IsRunning() const;
    // How many runs are nested now: 1 inside a script, 2 inside a file it called, ...
    int RunDepth() const;
    bool IsCancelRequested() const;
    // A run on a job's thread also counts as cancelled once the job's stop event is set; null
    // forgets the event.
    void CancelWith(const StopEvent* stop);

    std::optional<std::string> FindVariable(const std::string& name) const;
    void SetVariable(const std::string& name, const std::string& value);
    // From now on this engine reads and sets the other's variables: a job's engine sees what the
    // terminal's scripts set, as a typed command would.
    void ShareVariablesOf(const CScriptEngine& other);

    // Folders tried by #RUNSCRIPT before the name itself; both empty by default.
    void SetScriptFolders(const std::string& first, const std::string& second);
    const std::string& FirstScriptFolder() const;
    const std::string& SecondScriptFolder() const;

    // Appends a row to the directive or function table; rows are tried in registration order.
    void RegisterDirective(const std::string& name, DirectiveHandler handler);
    void RegisterFunction(const std::string& name, FunctionHandler handler);

    // Prints "\r\nERROR: message detail1 detail2", sends CR LF to the instrument, returns 0. In
    // a script of several lines that the technician runs (not quiet), the error ends with the
    // line it was found in, " (line 3)", as the text's editor counts them.
    int ReportError(const std::string& message,
                    const std::optional<std::string>& detail1 = std::nullopt,
                    const std::optional<std::string>& detail2 = std::nullopt);
    // The same for a failure that never reached the instrument (a command file that cannot be
    // read): prints the error and returns 0, but sends nothing, so no stray line end wakes or
    // confuses the instrument in the middle of a sequence.
    int ReportLocalError(const std::string& message, const std::string& detail);

    // The line of the statement running now, which an error is reported against.
    void SetErrorLine(int line);

  private:
    void PrintError(const std::string& message, const std::optional<std::string>& detail1,
                    const std::optional<std::string>& detail2);
    int RunCompiled(const CompiledScript& script, bool quiet);
    int RunQuiet(const std::vector<ScriptStatement>& statements);
    int RunWithWindow(const std::vector<ScriptStatement>& statements);
    CSerialLink* Link() const;

    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace brennix
