#pragma once

#include <vector>

#include "script/expression_evaluator.h"
#include "script/handler_table.h"
#include "script/script_types.h"
#include "script/script_ui_host.h"

namespace brennix {

class CScriptEngine;

// Runs one compiled statement list against the engine's instrument. Every method returns nonzero
// to go on and 0 when the script stops (its error, if any, already reported).
class ScriptExecutor {
  public:
    ScriptExecutor(CScriptEngine& engine, ScriptUiHost& ui, const HandlerTable& handlers);

    int Execute(const std::vector<ScriptStatement>& statements);

  private:
    struct ConditionFrame {
        bool parentActive = true;
        bool branchDone = false;
        bool branchActive = true;
    };

    bool IsActive() const;
    int ApplyConditional(const ScriptStatement& statement);
    int EnterIf(const Condition& condition);
    int EnterNextBranch(const ScriptStatement& statement);
    int EvaluateCondition(const Condition& condition, bool& result);
    int ExecuteStatement(const ScriptStatement& statement);
    int ExecuteSendLine(const ScriptStatement& statement);
    int ExecuteDirective(const ScriptStatement& statement);
    int ExecuteDialogBlock(const ScriptStatement& statement);
    // Keeps the window alive for 1 ms; false (after reporting) when Stop was pressed.
    bool PumpAndCheckCancel();

    CScriptEngine& engine_;
    ScriptUiHost& ui_;
    const HandlerTable& handlers_;
    ExpressionEvaluator evaluator_;
    std::vector<ConditionFrame> frames_;
};

}  // namespace brennix
