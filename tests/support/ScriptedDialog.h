#pragma once

#include <deque>
#include <optional>
#include <vector>

#include "FilePrompt.h"

namespace rova::test {

// Plays the user at the file dialog: answers each dialog with the next scripted choice (cancels
// when none is left) and remembers the requests.
struct ScriptedDialog {
    std::deque<std::optional<FilePrompt::DialogResult>> choices;
    std::vector<FilePrompt::DialogRequest> requests;

    FilePrompt::ShowDialog show() {
        return [this](const FilePrompt::DialogRequest& request) {
            requests.push_back(request);
            std::optional<FilePrompt::DialogResult> choice;
            if (!choices.empty()) {
                choice.swap(choices.front());
                choices.pop_front();
            }
            return choice;
        };
    }
};

}  // namespace rova::test
