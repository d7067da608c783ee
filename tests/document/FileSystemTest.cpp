#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include "DocumentTestSupport.h"
#include "FileSystem.h"

namespace rova {
namespace {

using test::TempFolder;
using test::writeBytes;

TEST(FileSystemTest, CreatesFoldersWithTheirParents) {
    TempFolder folder;
    const QString deep = folder.path("x/y/z");
    EXPECT_FALSE(createFolder(deep, false));
    EXPECT_FALSE(QFileInfo::exists(folder.path("x")));

    EXPECT_TRUE(createFolder(deep, true));
    EXPECT_TRUE(QFileInfo(folder.path("x")).isDir());
    EXPECT_TRUE(QFileInfo(folder.path("x/y")).isDir());
    EXPECT_TRUE(QFileInfo(deep).isDir());

    EXPECT_FALSE(createFolder(deep, true));  // exists already
    EXPECT_FALSE(createFolder("", true));
    EXPECT_TRUE(createFolder(folder.path("x/w/"), false));
}

TEST(FileSystemTest, ExistsForFilesAndFolders) {
    TempFolder folder;
    writeBytes(folder.path("a.rova"), "x");
    EXPECT_TRUE(exists(folder.path("a.rova")));
    EXPECT_TRUE(exists(folder.root()));
    EXPECT_TRUE(exists(folder.root() + "/"));
    EXPECT_TRUE(exists("/"));
    EXPECT_TRUE(exists(folder.path("a.rova/")));
    EXPECT_FALSE(exists(folder.path("b.rova")));
    EXPECT_FALSE(exists(""));
    // Names are literal: wildcard characters are ordinary characters of a name here.
    EXPECT_FALSE(exists(folder.path("*.rova")));
    writeBytes(folder.path("odd [1]*?.rova"), "x");
    EXPECT_TRUE(exists(folder.path("odd [1]*?.rova")));
}

TEST(FileSystemTest, FindsEntriesOfAFolderInNameOrder) {
    TempFolder folder;
    writeBytes(folder.path("b.rova"), "12345");
    writeBytes(folder.path("a.rova"), "1");
    writeBytes(folder.path("noext"), "");
    QDir(folder.root()).mkdir("sub");

    FileFinder finder;
    QStringList names;
    for (bool found = finder.findFirst(folder.root() + "/", true); found;
         found = finder.findNext()) {
        names.append(finder.entry().name);
    }
    EXPECT_EQ(names, QStringList({"a.rova", "b.rova", "noext", "sub/"}));
    EXPECT_FALSE(finder.isOpen());

    ASSERT_TRUE(finder.findFirst(folder.path("*.rova"), true));
    EXPECT_EQ(finder.entry().name, "a.rova");
    EXPECT_EQ(finder.entry().size, 1);
    EXPECT_FALSE(finder.entry().isFolder);
    ASSERT_TRUE(finder.findNext());
    EXPECT_EQ(finder.entry().name, "b.rova");
    EXPECT_EQ(finder.entry().size, 5);
    EXPECT_FALSE(finder.findNext());

    ASSERT_TRUE(finder.findFirst(folder.path("sub/"), false));
    EXPECT_EQ(finder.entry().name, "sub/");
    EXPECT_TRUE(finder.entry().isFolder);
    EXPECT_FALSE(finder.findNext());
}

TEST(FileSystemTest, MovesFilesReplacingOnlyWhenAsked) {
    TempFolder folder;
    const QString source = folder.path("source");
    const QString target = folder.path("target");
    writeBytes(source, "new");
    writeBytes(target, "old");

    EXPECT_FALSE(moveFile(source, target, false));
    EXPECT_EQ(test::readBytes(target), "old");
    EXPECT_TRUE(moveFile(source, target, true));
    EXPECT_EQ(test::readBytes(target), "new");
    EXPECT_FALSE(QFileInfo::exists(source));

    EXPECT_TRUE(moveFile(target, folder.path("moved"), false));
    EXPECT_FALSE(moveFile(folder.path("nothing"), target, true));
    EXPECT_TRUE(deleteFile(folder.path("moved")));
    EXPECT_FALSE(deleteFile(folder.path("moved")));
    EXPECT_TRUE(folder.entries().isEmpty());
}

}  // namespace
}  // namespace rova
