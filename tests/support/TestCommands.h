#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Command.h"

namespace rova::test {

// The bytes of `text`, as a command's content holds them.
inline std::vector<std::uint8_t> bytesOf(std::string_view text) {
    return {text.begin(), text.end()};
}

// A command with `keyword` showing `text` (plain ASCII) as its rich text, in the text editor's
// default format, running for `seconds` before the next command.
inline std::unique_ptr<Command> textCommand(Keyword keyword, const std::string& text,
                                            double seconds = 5.0) {
    auto command = std::make_unique<Command>();
    command->setKeyword(keyword);
    const std::string content = text + std::string(1, '\0') + "{\\rtf1 " + text + "}";
    command->assignContent(content_kind::Rich, bytesOf(content));
    command->parameters().nextCommandAfter = seconds;
    return command;
}

// A command that shows nothing, running for `seconds` before the next command.
inline std::unique_ptr<Command> plainCommand(Keyword keyword, double seconds = 5.0) {
    auto command = std::make_unique<Command>();
    command->setKeyword(keyword);
    command->parameters().nextCommandAfter = seconds;
    return command;
}

}  // namespace rova::test
