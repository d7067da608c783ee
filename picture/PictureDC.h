#pragma once

#include <QImage>
#include <QPainter>

#include <memory>

namespace rova {

class Picture;

// A painter session over a Picture. open() makes an RGB32 canvas of the picture's colours and a
// QPainter on it (one unit = one pixel, y downwards); release() stores the canvas back into the
// picture: changed pixels take their packed colour or, in a picture with a colour table, the
// nearest table entry, while untouched pixels keep their stored values. Destroying an open
// session releases it with notification.
class PictureDC {
  public:
    PictureDC() = default;
    ~PictureDC();
    PictureDC(const PictureDC&) = delete;
    PictureDC& operator=(const PictureDC&) = delete;

    // Fails when a session is already open, the picture has no pixels or memory runs out.
    bool open(Picture& picture);
    bool isOpen() const { return picture_ != nullptr; }
    // The painter of the open session.
    QPainter& painter() { return *painter_; }
    // Ends the session and stores the drawing; with `notify` returns the picture's
    // changed(true), otherwise true. Does nothing (true) when no session is open.
    bool release(bool notify);

  private:
    Picture* picture_ = nullptr;
    QImage canvas_;
    std::unique_ptr<QPainter> painter_;
};

}  // namespace rova
