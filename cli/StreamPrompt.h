#pragma once

#include <QTextStream>

#include "UserPrompt.h"

namespace rova {

// Shows the messages meant for message boxes as lines on a stream (the tool's standard error).
class StreamPrompt final : public UserPrompt {
  public:
    explicit StreamPrompt(QTextStream& stream) : stream_(stream) {}
    void showWarning(const QString& message) override {
        stream_ << message << '\n';
        stream_.flush();
        ++warnings_;
    }
    int warnings() const { return warnings_; }

  private:
    QTextStream& stream_;
    int warnings_ = 0;
};

}  // namespace rova
