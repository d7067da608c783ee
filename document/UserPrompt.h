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

}  // namespace rova
