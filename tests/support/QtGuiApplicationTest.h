#pragma once

#include <gtest/gtest.h>

#include <QGuiApplication>

namespace rova::test {

// Base of tests that need a QGuiApplication (fonts, text layout, the clipboard) but no widgets;
// tests of widgets use QtApplicationTest. The first such test suite creates the application; by
// then the test main has given the process its own folders and chosen the offscreen platform.
// The application lives until the process ends.
class QtGuiApplicationTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "rova-tests";
        static char* argv[] = {name, nullptr};
        [[maybe_unused]] static QGuiApplication* application =
            QGuiApplication::instance() == nullptr ? new QGuiApplication(argc, argv) : nullptr;
    }
};

}  // namespace rova::test
