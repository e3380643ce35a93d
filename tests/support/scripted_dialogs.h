#pragma once

#include <deque>
#include <string>
#include <vector>

#include "shell/dialogs.h"

namespace ferrovane::testing {

// Records every message shown and answers questions from a script
// (Yes when the script runs out).
class ScriptedDialogs : public Dialogs {
public:
    Answer show(const Message& message) override {
        shown.push_back(message);
        if (message.buttons == MessageButtons::Ok)
            return Answer::Ok;
        if (answers.empty())
            return Answer::Yes;
        Answer a = answers.front();
        answers.pop_front();
        return a;
    }

    std::vector<std::string> texts() const {
        std::vector<std::string> t;
        for (const auto& m : shown)
            t.push_back(m.text);
        return t;
    }

    std::vector<Message> shown;
    std::deque<Answer> answers;
};

} // namespace ferrovane::testing
