#include "script/script_directives.h"

#include <cstdio>
#include <filesystem>
#include <span>
#include <system_error>

#include "instrument/command_file.h"
#include "script/script_engine.h"
#include "script/script_text.h"

namespace brennix {

namespace {

constexpr const char* kDirectiveNames[] = {"WAIT",   "WAIT_PROMPT", "WAIT_OK",     "SENDBREAK",
                                           "WAKEUP", "MSGBOX",      "SETBAUDRATE", "RUNSCRIPT"};
constexpr const char* kFunctionNames[] = {"DATE", "TIME"};
constexpr const char* kPromptToken = ">";
constexpr const char* kOkToken = "OK";
constexpr const char kPathSeparator = '/';

int FirstNumber(const std::vector<std::string>& arguments, int fallback) {
    return arguments.empty() ? fallback : ParseLeadingInt(arguments.front());
}

CSerialLink* LinkOf(CInstrument* instrument) {
    return instrument ? instrument->GetLink() : nullptr;
}

void ShowWaitingInput(CInstrument* instrument) {
    if (CSerialLink* link = LinkOf(instrument)) {
        link->FlushInput(false);
    }
}

bool IsFileNotDirectory(const std::string& path) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    return !error && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

}  // namespace

ScriptDirectives::ScriptDirectives(CScriptEngine& engine, ScriptUiHost& ui, Clock& clock)
    : engine_(engine), ui_(ui), clock_(clock) {}

void ScriptDirectives::RegisterWith(CScriptEngine& engine) {
    for (const char* name : kDirectiveNames) {
        engine.RegisterDirective(name,
                                 [this](CInstrument* instrument, const std::string& called,
                                        const std::vector<std::string>& arguments, bool& handled) {
                                     return HandleDirective(instrument, called, arguments, handled);
                                 });
    }
    for (const char* name : kFunctionNames) {
        engine.RegisterFunction(name, [this](CInstrument* instrument, const std::string& called,
                                             const std::vector<std::string>& arguments,
                                             std::string& result, bool& handled) {
            return HandleFunction(instrument, called, arguments, result, handled);
        });
    }
}

int ScriptDirectives::HandleDirective(CInstrument* instrument, const std::string& name,
                                      const std::vector<std::string>& arguments, bool& handled) {
    handled = true;
    const std::string directive = ToUpperAscii(name);
    if (directive == "WAIT") {
        return Wait(instrument, FirstNumber(arguments, 1));
    }
    if (directive == "WAIT_PROMPT") {
        return WaitForToken(instrument, FirstNumber(arguments, 1), kPromptToken, "No prompt!");
    }
    if (directive == "WAIT_OK") {
        return WaitForToken(instrument, FirstNumber(arguments, 1), kOkToken, "WAIT for OK failed!");
    }
    if (directive == "SENDBREAK") {
        return SendBreak(instrument);
    }
    if (directive == "WAKEUP") {
        return WakeUp(instrument);
    }
    if (directive == "MSGBOX") {
        return MessageBox(arguments.empty() ? "" : arguments.front());
    }
    if (directive == "SETBAUDRATE") {
        return SetBaudRate(instrument, FirstNumber(arguments, kDefaultBaudRate));
    }
    if (directive == "RUNSCRIPT") {
        return RunScript(instrument, arguments);
    }
    handled = false;
    return 1;
}

int ScriptDirectives::HandleFunction(CInstrument*, const std::string& name,
                                     const std::vector<std::string>&, std::string& result,
                                     bool& handled) {
    const std::string function = ToUpperAscii(name);
    const LocalDateTime now = clock_.LocalTime();
    char text[64];
    handled = true;
    if (function == "DATE") {
        std::snprintf(text, sizeof text, "%.04d/%.02d/%.02d", now.year, now.month, now.day);
    } else if (function == "TIME") {
        std::snprintf(text, sizeof text, "%.02d:%.02d:%.02d", now.hour, now.minute, now.second);
    } else {
        handled = false;
        return 1;
    }
    result = text;
    return 1;
}

// One attempt: up to a second for the token, ended early by a full buffer or, with
// stopAtPrompt, by a prompt that arrived without the token.
bool ScriptDirectives::Attempt(CInstrument* instrument, const char* token, bool stopAtPrompt) {
    if (!LinkOf(instrument)) {
        return false;
    }
    std::vector<char> reply(kReplyBufferSize);
    return instrument->WaitFor(std::span<char>(reply), token, kAttemptMs, stopAtPrompt);
}

// A pause of about n seconds that shows whatever the instrument sends; it never fails.
int ScriptDirectives::Wait(CInstrument* instrument, int periods) {
    for (int i = 0; i < periods && LinkOf(instrument); ++i) {
        if (Attempt(instrument, kNeverSentToken, false)) {
            return 1;
        }
        ShowWaitingInput(instrument);
        if (engine_.IsCancelRequested()) {
            return 1;
        }
    }
    return 1;
}

// A cancel request after a failed attempt goes on: the engine stops before the next statement.
int ScriptDirectives::WaitForToken(CInstrument* instrument, int attempts, const char* token,
                                   const char* failure) {
    for (int i = 0; i < attempts; ++i) {
        if (Attempt(instrument, token, true)) {
            return 1;
        }
        if (engine_.IsCancelRequested()) {
            return 1;
        }
    }
    return engine_.ReportError(failure);
}

int ScriptDirectives::SendBreak(CInstrument* instrument) {
    ShowWaitingInput(instrument);
    if (LinkOf(instrument)) {
        instrument->SendBreak();
    }
    return 1;
}

int ScriptDirectives::WakeUp(CInstrument* instrument) {
    if (instrument) {
        instrument->FindInstrument(false, true);
    }
    return 1;
}

int ScriptDirectives::MessageBox(const std::string& text) {
    const MessageResult answer =
        ui_.ShowMessage(text, "Message", MessageButtons::kOkCancel, MessageIcon::kExclamation);
    if (answer == MessageResult::kCancel) {
        return engine_.ReportError("Execution canceled!");
    }
    return 1;
}

// The rate in force is shown whether or not the change took.
int ScriptDirectives::SetBaudRate(CInstrument* instrument, int rate) {
    CSerialLink* link = LinkOf(instrument);
    if (!link) {
        return 1;
    }
    if (rate > 0) {
        link->SetBaudRate(static_cast<uint32_t>(rate));
    }
    link->ShowStatus();
    return 1;
}

std::vector<std::string> ScriptDirectives::RunScriptCandidates(const std::string& name) const {
    return {engine_.FirstScriptFolder() + kPathSeparator + name,
            engine_.SecondScriptFolder() + kPathSeparator + name, name};
}

// The called file runs as a script of its own on the same engine; its result is ours.
int ScriptDirectives::RunScript(CInstrument* instrument,
                                const std::vector<std::string>& arguments) {
    if (arguments.empty()) {
        return engine_.ReportError("Not enough parameters.\nUsage: #RUNSCRIPT scriptfile.ext\n");
    }
    const std::string& name = arguments.front();
    // A file that runs itself would otherwise nest until the stack overflows.
    if (engine_.RunDepth() > kMaxRunScriptNesting) {
        return engine_.ReportError("Too many nested #RUNSCRIPT calls:", name);
    }
    for (const std::string& candidate : RunScriptCandidates(name)) {
        if (IsFileNotDirectory(candidate)) {
            const CommandFile file = ReadCommandFile(candidate);
            if (!file.ok) {
                return engine_.ReportLocalError("Can't run file ", name + ": " + file.error);
            }
            return instrument && engine_.Run(file.text, false) != 0 ? 1 : 0;
        }
    }
    return engine_.ReportLocalError("Can't find file ", name);
}

}  // namespace brennix
