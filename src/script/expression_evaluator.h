#pragma once

#include <optional>
#include <string>
#include <vector>

#include "script/handler_table.h"
#include "script/script_types.h"
#include "script/script_ui_host.h"

namespace brennix {

class CScriptEngine;

// Gives tokens, terms and expressions their values at run time. Every failure has been reported
// through the engine when a result is empty.
class ExpressionEvaluator {
  public:
    ExpressionEvaluator(CScriptEngine& engine, ScriptUiHost& ui, const HandlerTable& handlers);

    std::optional<std::string> Evaluate(const ScriptExpression& expression);
    std::optional<std::string> EvaluateToken(const ArgToken& token);
    std::optional<std::vector<std::string>> EvaluateArguments(const std::vector<ArgToken>& tokens);
    std::optional<std::string> LookUpVariable(const std::string& name);

  private:
    std::optional<std::string> EvaluateTerm(const ExprTerm& term);
    std::optional<std::string> AskInputFunction(InputKind kind, const ExprTerm& term);
    std::optional<std::string> CallTableFunction(const ExprTerm& term);

    CScriptEngine& engine_;
    ScriptUiHost& ui_;
    const HandlerTable& handlers_;
};

}  // namespace brennix
