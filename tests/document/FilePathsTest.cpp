#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include "DocumentTestSupport.h"
#include "FilePaths.h"

namespace rova {
namespace {

using namespace paths;

TEST(FilePathsTest, SplitsPathsIntoTheirParts) {
    EXPECT_EQ(extension("/a.b/name"), ".b/name");
    EXPECT_EQ(extension("/a/name"), "");
    EXPECT_EQ(extension("/a/pic.tar.bmp"), ".bmp");
    EXPECT_EQ(fileName("/a/b/pic.bmp"), "pic.bmp");
    EXPECT_EQ(fileName("pic.bmp"), "pic.bmp");
    EXPECT_EQ(fileName("/a/b/"), "");
    EXPECT_EQ(folder("/a/b/pic.bmp"), "/a/b/");
    EXPECT_EQ(folder("pic.bmp"), "");
}

TEST(FilePathsTest, AddsAndRemovesFinalSeparators) {
    EXPECT_TRUE(endsWithSeparator("/a/"));
    EXPECT_FALSE(endsWithSeparator("/a"));
    EXPECT_FALSE(endsWithSeparator(""));
    EXPECT_EQ(ensureSeparator("/a"), "/a/");
    EXPECT_EQ(ensureSeparator("/a/"), "/a/");
    EXPECT_EQ(ensureSeparator(""), "");
    EXPECT_EQ(removeSeparator("/a/"), "/a");
    EXPECT_EQ(removeSeparator("/a//"), "/a/");
    EXPECT_EQ(removeSeparator("/a"), "/a");
}

TEST(FilePathsTest, FindsParentsNoHigherThanTheRoot) {
    EXPECT_EQ(rootLength("/a/b"), 1);
    EXPECT_EQ(rootLength("a/b"), 0);
}

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

}  // namespace
}  // namespace rova
