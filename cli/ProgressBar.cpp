#include "ProgressBar.h"

#include <QString>

#include <algorithm>

namespace rova {

namespace {

constexpr int kWidth = 40;

}  // namespace

ProgressBar::ProgressBar(QTextStream& stream, bool enabled, std::uint64_t total)
    : stream_(stream), enabled_(enabled && total > 0), total_(total) {}

ProgressBar::~ProgressBar() {
    if (enabled_ && shownPercent_ >= 0) {
        stream_ << '\n';
        stream_.flush();
    }
}

void ProgressBar::show(std::uint64_t done) {
    if (!enabled_) {
        return;
    }
    const auto percent = static_cast<int>(std::min<std::uint64_t>(done, total_) * 100 / total_);
    if (percent == shownPercent_) {
        return;
    }
    shownPercent_ = percent;
    const int filled = percent * kWidth / 100;
    stream_ << '\r' << '[' << QString(filled, u'#') << QString(kWidth - filled, u'.') << "] "
            << percent << '%';
    stream_.flush();
}

}  // namespace rova
