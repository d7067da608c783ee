#pragma once

#include <gtest/gtest.h>

#include <QStringList>
#include <deque>
#include <vector>

#include "UserPrompt.h"

namespace rova::test {

// A question that was asked.
struct AskedQuestion {
    QString message;
    Choices choices;
};

// Records every message and question, and answers the questions with the answers queued in
// `answers`, in order. A question nobody expected fails the test and is answered Cancel.
class AnsweringPrompt : public QuestionPrompt {
  public:
    void showWarning(const QString& message) override { messages.append(message); }
    Answer ask(const QString& message, Choices choices) override {
        questions.push_back({message, choices});
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << message.toStdString();
            return Answer::Cancel;
        }
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    QStringList messages;
    std::vector<AskedQuestion> questions;
    std::deque<Answer> answers;
};

}  // namespace rova::test
