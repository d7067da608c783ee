#include <gtest/gtest.h>

#include <QDir>

#include "DocumentTestSupport.h"
#include "FilePaths.h"
#include "FilePromptRules.h"

namespace rova {
namespace {

using namespace paths;

TEST(FilePathsTest, QualifiesNamesAgainstTheCurrentFolder) {
    test::TempFolder folder;
    QDir(folder.root()).mkdir("sub");
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder.root()));
    const QString root = QDir::currentPath();
    EXPECT_EQ(qualify("file.rova"), root + "/file.rova");
    EXPECT_EQ(qualify("sub"), root + "/sub/");
    EXPECT_EQ(qualify("sub/../x/./y.bmp"), root + "/x/y.bmp");
    EXPECT_EQ(qualify("/abs/../name"), "/name");
    EXPECT_EQ(qualify(""), "");
    QDir::setCurrent(previous);
}

TEST(FilePromptRulesTest, TakesTheDefaultExtensionFromTheFilterAndAppliesIt) {
    EXPECT_EQ(defaultExtensionOf("Bitmap Files (*.bmp)|*.bmp|"), ".bmp");
    EXPECT_EQ(defaultExtensionOf("Pictures|*.bmp"), ".bmp");
    EXPECT_EQ(defaultExtensionOf("All Files|*|"), "");
    EXPECT_EQ(withDefaultExtension("/home/me/pic", ".bmp"), "/home/me/pic.bmp");
    EXPECT_EQ(withDefaultExtension("/home/me/pic.BMP", ".bmp"), "/home/me/pic.BMP");
    EXPECT_FALSE(withDefaultExtension("/home/me/pic.gif", ".bmp"));
    // A dot in a folder's name is not the file's extension.
    EXPECT_EQ(withDefaultExtension("/home/my.pictures/pic", ".bmp"), "/home/my.pictures/pic.bmp");
}

}  // namespace
}  // namespace rova
