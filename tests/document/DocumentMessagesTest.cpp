#include <gtest/gtest.h>

#include "DocumentMessages.h"

namespace rova {
namespace {

TEST(DocumentMessagesTest, ReadFailuresNameThePathAsGiven) {
    const QString path = "dir/My %2 file.rova";
    EXPECT_TRUE(DocumentMessages::readFailure(FileResult::Ok, path).isEmpty());
    EXPECT_EQ(DocumentMessages::readFailure(FileResult::OutOfMemory, path),
              "There is not enough memory to open \"dir/My %2 file.rova\"");
    EXPECT_EQ(DocumentMessages::readFailure(FileResult::OpenFailed, path),
              "\"dir/My %2 file.rova\" could not be opened.");
    EXPECT_EQ(DocumentMessages::readFailure(FileResult::BadFormat, path),
              "\"dir/My %2 file.rova\" is not a valid Rova file.");
    EXPECT_EQ(DocumentMessages::readFailure(FileResult::ReadFailed, path),
              "\"dir/My %2 file.rova\" could not be read.");
    // Codes a reader never gives still get the read message.
    EXPECT_EQ(DocumentMessages::readFailure(static_cast<FileResult>(2), path),
              "\"dir/My %2 file.rova\" could not be read.");
    EXPECT_EQ(DocumentMessages::readFailure(FileResult::WriteFailed, path),
              "\"dir/My %2 file.rova\" could not be read.");
}

TEST(DocumentMessagesTest, WriteFailuresNameThePathAsGiven) {
    const QString path = "/tmp/%1.rova";
    EXPECT_TRUE(DocumentMessages::writeFailure(FileResult::Ok, path).isEmpty());
    EXPECT_EQ(DocumentMessages::writeFailure(FileResult::CreateFailed, path),
              "\"/tmp/%1.rova\" could not be created.");
    EXPECT_EQ(DocumentMessages::writeFailure(FileResult::WriteFailed, path),
              "\"/tmp/%1.rova\" could not be written.");
    EXPECT_EQ(DocumentMessages::writeFailure(FileResult::OutOfMemory, path),
              "\"/tmp/%1.rova\" could not be written.");
}

TEST(DocumentMessagesTest, DocumentTextsAndQuestions) {
    EXPECT_EQ(DocumentMessages::untitled(), "Untitled");
    EXPECT_EQ(DocumentMessages::demoPathName(), "DemoVariation.rova");
    EXPECT_EQ(DocumentMessages::saveChangesQuestion("/home/a/%1 b.rova"),
              "Save changes to /home/a/%1 b.rova?");
    EXPECT_EQ(DocumentMessages::noCommandsQuestion(),
              "The current document has no commands.  Would you like to create a command from "
              "the current parameters before saving?  (say \"yes\")");
    EXPECT_EQ(DocumentMessages::reopenQuestion("/x/My %2.rova"),
              "Would you like to re-open \"/x/My %2.rova\", discarding the changes you've made?");
}

}  // namespace
}  // namespace rova
