#include "PictureDC.h"

#include "Picture.h"

namespace rova {

PictureDC::~PictureDC() {
    release(true);
}

bool PictureDC::open(Picture& picture) {
    if (isOpen() || !picture.hasPixels()) {
        return false;
    }
    canvas_ = picture.toImage();
    if (canvas_.isNull()) {
        return false;
    }
    painter_ = std::make_unique<QPainter>(&canvas_);
    if (!painter_->isActive()) {
        painter_.reset();
        canvas_ = QImage();
        return false;
    }
    picture_ = &picture;
    return true;
}

bool PictureDC::release(bool notify) {
    if (!isOpen()) {
        return true;
    }
    painter_->end();
    painter_.reset();
    Picture* picture = picture_;
    picture_ = nullptr;
    picture->storeImage(canvas_);
    canvas_ = QImage();
    return notify ? picture->changed(true) : true;
}

}  // namespace rova
