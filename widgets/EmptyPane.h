#pragma once

#include <QSize>
#include <QWidget>

namespace rova {

// A pane that holds a place for a form still to come: empty, with the form's natural size.
class EmptyPane final : public QWidget {
  public:
    EmptyPane(QSize naturalSize, QWidget* parent = nullptr)
        : QWidget(parent), naturalSize_(naturalSize) {
        setFocusPolicy(Qt::StrongFocus);
    }
    QSize sizeHint() const override { return naturalSize_; }
    QSize minimumSizeHint() const override { return {0, 0}; }

  private:
    QSize naturalSize_;
};

}  // namespace rova
