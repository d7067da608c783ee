#pragma once

#include <QImage>
#include <QRect>
#include <QString>

#include <cstdint>
#include <vector>

#include "GifPalette.h"

struct GifFileType;

namespace rova {

// Writes an animated GIF that loops for ever through Debian's giflib. Each image after the
// first is stored as the rectangle in which it differs from the one before, drawn over it, so
// a rotor on a still background costs little.
class GifWriter {
  public:
    GifWriter(const QSize& size, GifPalette::Kind palette);
    ~GifWriter();
    GifWriter(const GifWriter&) = delete;
    GifWriter& operator=(const GifWriter&) = delete;

    // Creates the file and writes the screen and the loop. False when it cannot.
    bool open(const QString& path);
    // Adds the image (of the writer's size) shown from `startMs` to `endMs` after the start.
    bool add(const QImage& image, std::uint64_t startMs, std::uint64_t endMs);
    // Finishes the file. False when the file could not be written completely.
    bool close();

  private:
    bool writeLoop();
    bool writeDelay(int centiseconds);
    bool writeRect(const QRect& rect);
    QRect changedRect() const;

    QSize size_;
    GifPalette palette_;
    GifFileType* gif_ = nullptr;
    bool first_ = true;
    std::vector<std::uint8_t> indices_;
    std::vector<std::uint8_t> previous_;
};

}  // namespace rova
