#include "script/expression_evaluator.h"

#include "script/input_functions.h"
#include "script/script_engine.h"
#include "script/script_text.h"

namespace brennix {

ExpressionEvaluator::ExpressionEvaluator(CScriptEngine& engine, ScriptUiHost& ui,
                                         const HandlerTable& handlers)
    : engine_(engine), ui_(ui), handlers_(handlers) {}

std::optional<std::string> ExpressionEvaluator::LookUpVariable(const std::string& name) {
    auto value = engine_.FindVariable(name);
    if (!value) {
        engine_.ReportError("Variable not found:", name);
    }
    return value;
}

std::optional<std::string> ExpressionEvaluator::EvaluateToken(const ArgToken& token) {
    if (token.isVariable) {
        return LookUpVariable(token.text);
    }
    return token.text;
}

std::optional<std::vector<std::string>> ExpressionEvaluator::EvaluateArguments(
    const std::vector<ArgToken>& tokens) {
    std::vector<std::string> values;
    values.reserve(tokens.size());
    for (const ArgToken& token : tokens) {
        auto value = EvaluateToken(token);
        if (!value) {
            return std::nullopt;
        }
        values.push_back(std::move(*value));
    }
    return values;
}

// An assignment stores the value and is worth the value as well.
std::optional<std::string> ExpressionEvaluator::Evaluate(const ScriptExpression& expression) {
    auto value = EvaluateTerm(expression.term);
    if (value && expression.isAssignment) {
        engine_.SetVariable(expression.target, *value);
    }
    return value;
}

std::optional<std::string> ExpressionEvaluator::EvaluateTerm(const ExprTerm& term) {
    switch (term.kind) {
        case TermKind::kVariable:
            return LookUpVariable(term.text);
        case TermKind::kLiteral:
            return term.text;
        case TermKind::kFunctionCall:
            if (auto kind = InputFunctionKind(term.text)) {
                return AskInputFunction(*kind, term);
            }
            return CallTableFunction(term);
    }
    return std::nullopt;
}

std::optional<std::string> ExpressionEvaluator::AskInputFunction(InputKind kind,
                                                                 const ExprTerm& term) {
    auto arguments = EvaluateArguments(term.arguments);
    if (!arguments) {
        return std::nullopt;
    }
    std::vector<std::string> results;
    if (!ui_.AskInput({MakeInputRow(kind, std::move(*arguments))}, results)) {
        engine_.ReportError("Error evaluating expression:", term.text);
        return std::nullopt;
    }
    return results.empty() ? std::string() : results.front();
}

std::optional<std::string> ExpressionEvaluator::CallTableFunction(const ExprTerm& term) {
    for (const auto& row : handlers_.Functions()) {
        if (!EqualsIgnoreCase(row.name, term.text)) {
            continue;
        }
        auto arguments = EvaluateArguments(term.arguments);
        if (!arguments) {
            return std::nullopt;
        }
        std::string result;
        bool handled = true;
        if (!row.handler(engine_.GetInstrument(), term.text, *arguments, result, handled)) {
            return std::nullopt;
        }
        if (handled) {
            return result;
        }
    }
    engine_.ReportError("Unknown function:", term.text);
    return std::nullopt;
}

}  // namespace brennix
