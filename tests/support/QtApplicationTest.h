#pragma once

#include <gtest/gtest.h>

#include <QApplication>

namespace rova::test {

// Base of tests that need a QApplication (fonts, widgets, the clipboard). The first such test
// suite creates the application; by then the test main has given the process its own folders
// and chosen the offscreen platform. The application lives until the process ends.
class QtApplicationTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "rova-tests";
        static char* argv[] = {name, nullptr};
        [[maybe_unused]] static QApplication* application =
            QApplication::instance() == nullptr ? new QApplication(argc, argv) : nullptr;
    }
};

}  // namespace rova::test
