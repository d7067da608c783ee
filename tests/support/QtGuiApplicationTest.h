#pragma once

#include <gtest/gtest.h>

#include <QGuiApplication>

namespace rova::test {

// Base of tests that need a Qt application object of the type `Application`. The first such test
// suite creates the application; by then the test main has given the process its own folders
// and chosen the offscreen platform. The application lives until the process ends.
template <typename Application>
class QtApplicationTestOf : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "rova-tests";
        static char* argv[] = {name, nullptr};
        [[maybe_unused]] static Application* application =
            Application::instance() == nullptr ? new Application(argc, argv) : nullptr;
    }
};

// Tests that need fonts, text layout or the clipboard but no widgets.
using QtGuiApplicationTest = QtApplicationTestOf<QGuiApplication>;

}  // namespace rova::test
