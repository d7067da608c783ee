#pragma once

#include <QWidget>
#include <functional>

#include "UserPrompt.h"

namespace rova {

// Shows messages and questions as message boxes over the main window.
class MessageBoxPrompt final : public QuestionPrompt {
  public:
    // `parent` gives the window the boxes belong to; it may give none.
    explicit MessageBoxPrompt(std::function<QWidget*()> parent) : parent_(std::move(parent)) {}

    void showWarning(const QString& message) override;
    Answer ask(const QString& message, Choices choices) override;

  private:
    std::function<QWidget*()> parent_;
};

}  // namespace rova
