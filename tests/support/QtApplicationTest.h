#pragma once

#include <QApplication>

#include "QtGuiApplicationTest.h"

namespace rova::test {

// Tests of widgets.
using QtApplicationTest = QtApplicationTestOf<QApplication>;

}  // namespace rova::test
