#include <gtest/gtest.h>

#include "FilePromptRules.h"

namespace rova {
namespace {

TEST(FilePromptRulesTest, TakesTheDefaultExtensionFromTheFilter) {
    EXPECT_EQ(defaultExtensionOf("Bitmap Files (*.bmp)|*.bmp|"), ".bmp");
    EXPECT_EQ(defaultExtensionOf("Rova Files (*.rova)|*.rova|"), ".rova");
    EXPECT_EQ(defaultExtensionOf("Pictures|*.bmp"), ".bmp");
    EXPECT_EQ(defaultExtensionOf("All Files|*|"), "");
}

TEST(FilePromptRulesTest, AppliesTheDefaultExtension) {
    EXPECT_EQ(withDefaultExtension("/home/me/pic", ".bmp"), "/home/me/pic.bmp");
    EXPECT_EQ(withDefaultExtension("/home/me/pic.BMP", ".bmp"), "/home/me/pic.BMP");
    EXPECT_EQ(withDefaultExtension("/home/me/pic.bmp", ".bmp"), "/home/me/pic.bmp");
    EXPECT_FALSE(withDefaultExtension("/home/me/pic.gif", ".bmp"));
    // A dot in a folder's name is not the file's extension.
    EXPECT_EQ(withDefaultExtension("/home/my.pictures/pic", ".bmp"), "/home/my.pictures/pic.bmp");
}

}  // namespace
}  // namespace rova
