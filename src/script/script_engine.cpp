#include "script/script_engine.h"

#include <atomic>
#include <utility>

#include "link/link_lease.h"
#include "script/script_compiler.h"
#include "script/script_directives.h"
#include "script/script_executor.h"
#include "script/variable_store.h"

namespace brennix {

namespace {

constexpr uint32_t kPumpMs = 1;
constexpr uint32_t kEmptyLineTimeoutMs = 1000;

}  // namespace

struct CScriptEngine::Impl {
    Impl(CScriptEngine& engine, ScriptUiHost& host, Clock& clock)
        : ui(host), directives(engine, host, clock) {}

    ScriptUiHost& ui;
    CInstrument* instrument = nullptr;
    std::shared_ptr<VariableStore> variables = std::make_shared<VariableStore>();
    HandlerTable handlers;
    ScriptDirectives directives;
    // Runs nest through #RUNSCRIPT; the engine is running while any of them is. A worker's
    // engine is told to stop from the owner's thread.
    std::atomic<int> runDepth = 0;
    std::atomic<bool> cancelRequested = false;
    const StopEvent* cancelEvent = nullptr;
    std::string firstScriptFolder;
    std::string secondScriptFolder;
    // Whether the run in progress names the line of its errors, and the line it is at.
    bool namesLines = false;
    int errorLine = 0;
};

CScriptEngine::CScriptEngine(ScriptUiHost& ui, Clock& clock)
    : impl_(std::make_unique<Impl>(*this, ui, clock)) {
    impl_->directives.RegisterWith(*this);
}

CScriptEngine::~CScriptEngine() = default;

void CScriptEngine::SetInstrument(CInstrument* instrument) {
    impl_->instrument = instrument;
}

CInstrument* CScriptEngine::GetInstrument() const {
    return impl_->instrument;
}

CSerialLink* CScriptEngine::Link() const {
    return impl_->instrument ? impl_->instrument->GetLink() : nullptr;
}

void CScriptEngine::RequestCancel() {
    if (IsRunning()) {
        impl_->cancelRequested = true;
    }
}

bool CScriptEngine::IsRunning() const {
    return impl_->runDepth > 0;
}

int CScriptEngine::RunDepth() const {
    return impl_->runDepth;
}

bool CScriptEngine::IsCancelRequested() const {
    return impl_->cancelRequested || (impl_->cancelEvent != nullptr && impl_->cancelEvent->IsSet());
}

void CScriptEngine::CancelWith(const StopEvent* stop) {
    impl_->cancelEvent = stop;
}

std::optional<std::string> CScriptEngine::FindVariable(const std::string& name) const {
    return impl_->variables->Find(name);
}

void CScriptEngine::SetVariable(const std::string& name, const std::string& value) {
    impl_->variables->Set(name, value);
}

void CScriptEngine::ShareVariablesOf(const CScriptEngine& other) {
    impl_->variables = other.impl_->variables;
}

void CScriptEngine::SetScriptFolders(const std::string& first, const std::string& second) {
    impl_->firstScriptFolder = first;
    impl_->secondScriptFolder = second;
}

const std::string& CScriptEngine::FirstScriptFolder() const {
    return impl_->firstScriptFolder;
}

const std::string& CScriptEngine::SecondScriptFolder() const {
    return impl_->secondScriptFolder;
}

void CScriptEngine::RegisterDirective(const std::string& name, DirectiveHandler handler) {
    impl_->handlers.AddDirective(name, std::move(handler));
}

void CScriptEngine::RegisterFunction(const std::string& name, FunctionHandler handler) {
    impl_->handlers.AddFunction(name, std::move(handler));
}

int CScriptEngine::ReportError(const std::string& message,
                               const std::optional<std::string>& detail1,
                               const std::optional<std::string>& detail2) {
    PrintError(message, detail1, detail2);
    if (CSerialLink* link = Link()) {
        link->Write("", 0, true);
    }
    return 0;
}

int CScriptEngine::ReportLocalError(const std::string& message, const std::string& detail) {
    PrintError(message, detail, std::nullopt);
    return 0;
}

void CScriptEngine::PrintError(const std::string& message,
                               const std::optional<std::string>& detail1,
                               const std::optional<std::string>& detail2) {
    CSerialLink* link = Link();
    if (!link) {
        return;
    }
    std::string text = "\r\nERROR: " + message;
    if (detail1) {
        text += " " + *detail1;
    }
    if (detail2) {
        text += " " + *detail2;
    }
    if (impl_->namesLines && impl_->errorLine > 0) {
        text += " (line " + std::to_string(impl_->errorLine) + ")";
    }
    link->Tap().Print(text);
}

// A script ends at its first NUL byte, as the text of a file read whole ends there.
// A nested run names the lines of its own text; its caller's come back after it.
int CScriptEngine::Run(const std::string& text, bool quiet) {
    const CompiledScript script =
        ScriptCompiler().Compile(std::string_view(text).substr(0, text.find('\0')));
    const bool callerNamesLines = std::exchange(impl_->namesLines, !quiet && script.lineCount > 1);
    const int callerLine = impl_->errorLine;
    const int result = RunCompiled(script, quiet);
    impl_->namesLines = callerNamesLines;
    impl_->errorLine = callerLine;
    return result;
}

void CScriptEngine::SetErrorLine(int line) {
    impl_->errorLine = line;
}

int CScriptEngine::RunCompiled(const CompiledScript& script, bool quiet) {
    for (const ScriptError& error : script.errors) {
        SetErrorLine(error.line);
        ReportError(error.message, error.detail1, error.detail2);
    }
    SetErrorLine(0);
    if (!script.ok) {
        return 0;
    }

    ++impl_->runDepth;
    impl_->cancelRequested = false;
    const int result = quiet ? RunQuiet(script.statements) : RunWithWindow(script.statements);
    // The outer run stays cancellable after a nested one returns.
    if (--impl_->runDepth == 0) {
        impl_->cancelRequested = false;
    }
    return result;
}

// No window and no message pumping in the link's waits; an empty script sends an empty line.
int CScriptEngine::RunQuiet(const std::vector<ScriptStatement>& statements) {
    if (!statements.empty()) {
        return ScriptExecutor(*this, impl_->ui, impl_->handlers).Execute(statements);
    }
    if (CSerialLink* link = Link()) {
        link->Write("", kEmptyLineTimeoutMs, true);
    }
    return 1;
}

// While the script runs it holds the link, and every wait of the link keeps the window alive,
// so Stop can be pressed.
int CScriptEngine::RunWithWindow(const std::vector<ScriptStatement>& statements) {
    ScriptUiHost& ui = impl_->ui;
    CSerialLink* link = Link();
    std::optional<LinkLease> lease;
    if (link) {
        lease.emplace(*link, nullptr, &ui);
    }
    ui.OpenScriptWindow(statements.size() > 1, [this] { RequestCancel(); });

    int result = 0;
    ui.PumpMessages(kPumpMs);
    if (IsCancelRequested()) {
        ReportError("Execution cancelled!");
    } else {
        result = ScriptExecutor(*this, ui, impl_->handlers).Execute(statements);
        if (link) {
            link->FlushInput(false);
        }
    }

    ui.CloseScriptWindow();
    return result;
}

}  // namespace brennix
