#include "PreviewWnd.h"

#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

namespace rova {

PreviewWnd::PreviewWnd(SettingsStore& settings, QWidget* parent)
    : QWidget(parent), simulator_(std::make_unique<PreviewSimulator>(clock_, settings)) {
    // Every pixel comes from the simulator's image: no system background, no double erase.
    setAttribute(Qt::WA_OpaquePaintEvent);
    simulator_->setDrawnHandler([this] {
        // On the worker thread: ask the user-interface thread to show the new image. The call is
        // queued by name, so no data of ours crosses the threads; Qt drops it if the pane is
        // gone by then (the destructor stops the worker before that).
        QMetaObject::invokeMethod(this, "update", Qt::QueuedConnection);
    });
    simulator_->startDrawing();
}

PreviewWnd::~PreviewWnd() {
    simulator_->stopWorker();
    simulator_->setDrawnHandler({});
}

void PreviewWnd::togglePreview() {
    simulator_->setPreviewEnabled(!simulator_->previewEnabled());
}

void PreviewWnd::toggleBackground() {
    simulator_->setBackgroundViewed(!simulator_->backgroundViewed());
}

bool PreviewWnd::chooseBackground(const QString& path) {
    return simulator_->chooseBackground(path);
}

void PreviewWnd::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    simulator_->resize({0, 0, width(), height()});
    // The new image starts black: with the preview off no worker drawing will fill it, so the
    // background is painted over the whole pane now.
    simulator_->eraseBackground();
    update();
    emit geometryChanged();
}

void PreviewWnd::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Newly exposed: repaint everything at the next drawing (or now, with the preview off).
    simulator_->eraseBackground();
    update();
}

void PreviewWnd::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    simulator_->withImage([&](const QImage& image) {
        if (image.isNull()) {
            painter.fillRect(event->rect(), Qt::black);
        } else {
            painter.drawImage(event->rect().topLeft(), image, event->rect());
        }
    });
}

}  // namespace rova
