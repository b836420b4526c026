// A scripted error-report component for tests: records every report and answers from a list.
#pragma once

#include "addin/ComponentRegistry.h"
#include "addin/ErrorReportComponent.h"

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace corvane::test {

// The arguments of one ErrorHandler call.
struct RecordedReport {
    Variant number, application, module, procedure, description, line, variables, version;
};

// Registers a recording component under "HalvexError.Error" while it lives.
class ScriptedReports {
public:
    // Answers in order; once they are used up every answer is "".
    explicit ScriptedReports(std::deque<std::string> answers = {})
        : state_(std::make_shared<State>()),
          registration_(ErrorComponentId, [state = state_] { return std::make_unique<Component>(state); }) {
        state_->answers = std::move(answers);
    }

    // The reports received so far.
    const std::vector<RecordedReport>& reports() const { return state_->reports; }
    // Adds answers at the end of the script.
    void answer(std::string action) { state_->answers.push_back(std::move(action)); }
    // When set, ErrorHandler stores these into its by-reference arguments.
    void changeArguments(Variant number, Variant line) { state_->changed = {{number, line}}; }

private:
    struct State {
        std::deque<std::string> answers;
        std::vector<RecordedReport> reports;
        std::optional<std::pair<Variant, Variant>> changed;
    };

    class Component : public ErrorReportComponent {
    public:
        explicit Component(std::shared_ptr<State> state) : state_(std::move(state)) {}
        void ErrorHandler(Variant& number, const Variant& application, const Variant& module, const Variant& procedure,
                          const Variant& description, Variant& line, const Variant& variables,
                          const Variant& version) override {
            state_->reports.push_back({number, application, module, procedure, description, line, variables, version});
            if (!state_->answers.empty()) {
                action_ = state_->answers.front();
                state_->answers.pop_front();
            }
            if (state_->changed) {
                number = state_->changed->first;
                line = state_->changed->second;
            }
        }
        std::string Action() const override { return action_; }

    private:
        std::shared_ptr<State> state_;
        std::string action_;
    };

    std::shared_ptr<State> state_;
    ScopedComponentRegistration registration_;
};

} // namespace corvane::test
