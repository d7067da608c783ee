#pragma once

#include <QTextStream>

#include <cstdint>

namespace rova {

// A progress bar on one line of a terminal, redrawn only when it changes. Shows nothing when
// the stream is not a terminal, so logs and pipes stay clean.
class ProgressBar {
  public:
    ProgressBar(QTextStream& stream, bool enabled, std::uint64_t total);
    ~ProgressBar();
    void show(std::uint64_t done);

  private:
    QTextStream& stream_;
    bool enabled_;
    std::uint64_t total_;
    int shownPercent_ = -1;
};

}  // namespace rova
