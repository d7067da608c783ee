#include "RtfTokenizer.h"

#include <algorithm>

namespace rova {

namespace {

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int hexValue(char c) {
    if (isDigit(c)) {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Characters that end a run of plain text. Line breaks are not text in RTF: writers put them
// anywhere to keep lines short.
bool endsText(char c) {
    return c == '\\' || c == '{' || c == '}' || c == '\r' || c == '\n';
}

}  // namespace

RtfToken RtfTokenizer::next() {
    while (position_ < input_.size()) {
        const char c = input_[position_];
        if (c == '\r' || c == '\n') {
            ++position_;
            continue;
        }
        RtfToken token;
        if (c == '{' || c == '}') {
            ++position_;
            token.kind = c == '{' ? RtfToken::Kind::GroupStart : RtfToken::Kind::GroupEnd;
            return token;
        }
        if (c == '\\') {
            ++position_;
            return controlSequence();
        }
        const std::size_t start = position_;
        while (position_ < input_.size() && !endsText(input_[position_])) {
            ++position_;
        }
        token.kind = RtfToken::Kind::Text;
        token.text = input_.substr(start, position_ - start);
        return token;
    }
    return {};
}

void RtfTokenizer::skipBytes(std::size_t count) {
    position_ += std::min(count, input_.size() - position_);
}

RtfToken RtfTokenizer::controlSequence() {
    RtfToken token;
    if (position_ >= input_.size()) {
        return token;
    }
    const char first = input_[position_];
    if (!isLetter(first)) {
        ++position_;
        if (first == '\'') {
            const int high = position_ < input_.size() ? hexValue(input_[position_]) : -1;
            if (high < 0) {
                token.kind = RtfToken::Kind::ControlSymbol;
                token.symbol = first;
                return token;
            }
            ++position_;
            const int low = position_ < input_.size() ? hexValue(input_[position_]) : -1;
            position_ += low >= 0 ? 1 : 0;
            token.kind = RtfToken::Kind::HexCharacter;
            token.byte = static_cast<std::uint8_t>(low >= 0 ? high * 16 + low : high);
            return token;
        }
        token.kind = RtfToken::Kind::ControlSymbol;
        token.symbol = first;
        return token;
    }

    const std::size_t start = position_;
    while (position_ < input_.size() && isLetter(input_[position_])) {
        ++position_;
    }
    token.kind = RtfToken::Kind::ControlWord;
    token.word = input_.substr(start, std::min(position_ - start, kMaxWordLength));
    const bool negative =
        position_ + 1 < input_.size() && input_[position_] == '-' && isDigit(input_[position_ + 1]);
    position_ += negative ? 1 : 0;
    if (position_ < input_.size() && isDigit(input_[position_])) {
        token.hasParameter = true;
        token.parameter = parameter(negative);
    }
    if (position_ < input_.size() && input_[position_] == ' ') {
        ++position_;
    }
    return token;
}

int RtfTokenizer::parameter(bool negative) {
    long long value = 0;
    while (position_ < input_.size() && isDigit(input_[position_])) {
        value = std::min<long long>(value * 10 + (input_[position_] - '0'), kMaxParameter);
        ++position_;
    }
    return static_cast<int>(negative ? -value : value);
}

}  // namespace rova
