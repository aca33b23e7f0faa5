#include "script/script_executor.h"

#include <optional>

#include "script/input_functions.h"
#include "script/script_engine.h"
#include "script/script_text.h"

namespace brennix {

namespace {

constexpr uint32_t kPumpMs = 1;
constexpr uint32_t kPauseAfterSendMs = 400;
constexpr uint8_t kCarriageReturn = 0x0D;

bool IsInputItem(const ScriptExpression& item) {
    return item.term.kind == TermKind::kFunctionCall && InputFunctionKind(item.term.text);
}

}  // namespace

ScriptExecutor::ScriptExecutor(CScriptEngine& engine, ScriptUiHost& ui,
                               const HandlerTable& handlers)
    : engine_(engine), ui_(ui), handlers_(handlers), evaluator_(engine, ui, handlers) {}

bool ScriptExecutor::PumpAndCheckCancel() {
    ui_.PumpMessages(kPumpMs);
    if (!engine_.IsCancelRequested()) {
        return true;
    }
    engine_.ReportError("Execution cancelled!");
    return false;
}

int ScriptExecutor::Execute(const std::vector<ScriptStatement>& statements) {
    frames_.assign(1, ConditionFrame{});
    for (const ScriptStatement& statement : statements) {
        engine_.SetErrorLine(statement.line);
        if (!PumpAndCheckCancel()) {
            return 0;
        }
        const bool runs = statement.kind == StatementKind::kConditional || IsActive();
        if (runs && !ExecuteStatement(statement)) {
            return 0;
        }
    }
    return 1;
}

bool ScriptExecutor::IsActive() const {
    return frames_.back().parentActive && frames_.back().branchActive;
}

// Conditions inside code that does not run are never evaluated.
int ScriptExecutor::ApplyConditional(const ScriptStatement& statement) {
    switch (statement.conditional) {
        case ConditionalKind::kIf:
            return EnterIf(statement.condition);
        case ConditionalKind::kElseIf:
        case ConditionalKind::kElse:
            return EnterNextBranch(statement);
        case ConditionalKind::kEndIf:
            if (frames_.size() == 1) {
                return engine_.ReportError("#ENDIF without matching #IF");
            }
            frames_.pop_back();
            return 1;
    }
    return 1;
}

int ScriptExecutor::EnterIf(const Condition& condition) {
    const bool parentActive = IsActive();
    frames_.push_back(ConditionFrame{parentActive, false, true});
    return parentActive ? EvaluateCondition(condition, frames_.back().branchActive) : 1;
}

// After a taken branch every further branch is skipped; otherwise #ELSE is taken and #ELSEIF
// tests its condition. Without an open #IF this acts on the outermost frame.
int ScriptExecutor::EnterNextBranch(const ScriptStatement& statement) {
    ConditionFrame& top = frames_.back();
    if (!top.parentActive || top.branchDone) {
        return 1;
    }
    if (top.branchActive) {
        top.branchActive = false;
        top.branchDone = true;
        return 1;
    }
    if (statement.conditional == ConditionalKind::kElse) {
        top.branchActive = true;
        return 1;
    }
    return EvaluateCondition(statement.condition, top.branchActive);
}

// Text comparison without case and without numeric conversion: "5" and "05" differ.
int ScriptExecutor::EvaluateCondition(const Condition& condition, bool& result) {
    const auto left = evaluator_.EvaluateToken(condition.left);
    if (!left) {
        return 0;
    }
    const auto right = evaluator_.EvaluateToken(condition.right);
    if (!right) {
        return 0;
    }
    const bool equal = EqualsIgnoreCase(*left, *right);
    result = condition.op == ConditionOperator::kEqual ? equal : !equal;
    return 1;
}

int ScriptExecutor::ExecuteStatement(const ScriptStatement& statement) {
    switch (statement.kind) {
        case StatementKind::kSendLine:
            return ExecuteSendLine(statement);
        case StatementKind::kDirective:
            return ExecuteDirective(statement);
        case StatementKind::kDialogBlock:
            return ExecuteDialogBlock(statement);
        case StatementKind::kConditional:
            return ApplyConditional(statement);
    }
    return 0;
}

// A failed write stops the script without a message: the link has already shown the state.
int ScriptExecutor::ExecuteSendLine(const ScriptStatement& statement) {
    std::string text;
    for (const LineSegment& segment : statement.segments) {
        std::optional<std::string> value;
        switch (segment.kind) {
            case SegmentKind::kText:
                value = segment.text;
                break;
            case SegmentKind::kVariable:
                value = evaluator_.LookUpVariable(segment.text);
                break;
            case SegmentKind::kExpression:
                value = evaluator_.Evaluate(segment.expression);
                break;
        }
        if (!value) {
            return 0;
        }
        text += *value;
    }

    CInstrument* instrument = engine_.GetInstrument();
    CSerialLink* link = instrument ? instrument->GetLink() : nullptr;
    if (!link) {
        return 0;
    }
    link->FlushInput(false);
    if (!link->Write(text, 0, false) || !link->WriteChar(kCarriageReturn, 0)) {
        return 0;
    }
    link->Waits().Wait(kPauseAfterSendMs);
    return 1;
}

int ScriptExecutor::ExecuteDirective(const ScriptStatement& statement) {
    for (const auto& row : handlers_.Directives()) {
        if (!EqualsIgnoreCase(row.name, statement.name)) {
            continue;
        }
        const auto arguments = evaluator_.EvaluateArguments(statement.arguments);
        if (!arguments) {
            return 0;
        }
        bool handled = true;
        if (!row.handler(engine_.GetInstrument(), statement.name, *arguments, handled)) {
            return 0;
        }
        if (handled) {
            return 1;
        }
    }
    return engine_.ReportError("Unknown preprocessor directive:", statement.name);
}

// Input-function items become rows of one dialog; every other item is evaluated at once.
// After OK the rows' results go to the items' target variables.
int ScriptExecutor::ExecuteDialogBlock(const ScriptStatement& statement) {
    std::vector<InputRow> rows;
    for (const ScriptExpression& item : statement.dialogItems) {
        if (!PumpAndCheckCancel()) {
            return 0;
        }
        if (!IsInputItem(item)) {
            if (!evaluator_.Evaluate(item)) {
                return 0;
            }
            continue;
        }
        auto arguments = evaluator_.EvaluateArguments(item.term.arguments);
        if (!arguments) {
            return 0;
        }
        rows.push_back(MakeInputRow(*InputFunctionKind(item.term.text), std::move(*arguments)));
    }

    std::vector<std::string> results;
    if (!ui_.AskInput(rows, results)) {
        return 0;
    }
    results.resize(rows.size());

    size_t row = 0;
    for (const ScriptExpression& item : statement.dialogItems) {
        if (!PumpAndCheckCancel()) {
            return 0;
        }
        if (!IsInputItem(item)) {
            continue;
        }
        if (item.isAssignment) {
            engine_.SetVariable(item.target, results[row]);
        }
        ++row;
    }
    return 1;
}

}  // namespace brennix
