#pragma once

#include <QString>

namespace rova {

// Where an operation that handles a whole user action reports to the user. The application
// shows message boxes; tests record what would have been shown.
class UserPrompt {
  public:
    virtual ~UserPrompt() = default;
    // A failure: the message with an exclamation icon and an OK button.
    virtual void showWarning(const QString& message) = 0;
};

// The buttons of a question. Yes/No and Yes/No/Cancel questions carry a question icon; an
// OK/Cancel question warns, with an exclamation icon.
enum class Choices { YesNo, YesNoCancel, OkCancel };
enum class Answer { Yes, No, Cancel, Ok };

// A prompt that can also ask: operations that need the user's decision take this one.
class QuestionPrompt : public UserPrompt {
  public:
    virtual Answer ask(const QString& message, Choices choices) = 0;
};

}  // namespace rova
