#pragma once

#include <QString>
#include <QWidget>

namespace rova::test {

// The descendant of `root` of the given type with the accessible name; null when there is none.
// Forms are found the way assistive technology finds them.
template <typename Widget>
Widget* named(const QWidget& root, const QString& name) {
    for (Widget* widget : root.findChildren<Widget*>()) {
        if (widget->accessibleName() == name) {
            return widget;
        }
    }
    return nullptr;
}

}  // namespace rova::test
