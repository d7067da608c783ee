#pragma once

#include <QImage>
#include <QString>

#include <cstdint>
#include <memory>

#include "GifPalette.h"
#include "GifWriter.h"

namespace rova {

// Where `render` puts the images it draws, each with the time it is shown for.
class ImageSink {
  public:
    virtual ~ImageSink() = default;
    virtual bool add(const QImage& image, std::uint64_t startMs, std::uint64_t endMs) = 0;
    // False when what was added could not be written completely.
    virtual bool finish() = 0;
};

// Numbered PNG images in an existing folder: frame-00000.png, frame-00001.png, ...
class PngFolderSink final : public ImageSink {
  public:
    explicit PngFolderSink(QString folder) : folder_(std::move(folder)) {}
    bool add(const QImage& image, std::uint64_t startMs, std::uint64_t endMs) override;
    bool finish() override { return true; }

  private:
    QString folder_;
    int next_ = 0;
};

// One animated GIF.
class GifSink final : public ImageSink {
  public:
    GifSink(const QSize& size, GifPalette::Kind palette) : writer_(size, palette) {}
    bool open(const QString& path) { return writer_.open(path); }
    bool add(const QImage& image, std::uint64_t startMs, std::uint64_t endMs) override {
        return writer_.add(image, startMs, endMs);
    }
    bool finish() override { return writer_.close(); }

  private:
    GifWriter writer_;
};

}  // namespace rova
