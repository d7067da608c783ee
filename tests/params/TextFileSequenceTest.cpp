#include <gtest/gtest.h>

#include <memory>

#include "ParameterFormTestSupport.h"
#include "TextFileSequence.h"

namespace rova {
namespace {

class TextFileSequenceTest : public test::ParameterFormTest {
  protected:
    void SetUp() override {
        ParameterFormTest::SetUp();
        scrolling.origin = 360.0;
        scrolling.originSpeed = -40.0;
        scrolling.projections = 1;
        // A fixed width: the text takes floor((360 + 50) / 40 + 2) = 12 s to scroll past.
        scrolling.width = 50.0;
        scrolling.playerFlags &= ~PlayerFlags::AutoWidth;
        addPreset("Scrolling - very long text", scrolling);
    }

    std::unique_ptr<Command> open(const QString& name, const QByteArray& bytes) {
        const QString path = folder.path(name);
        test::writeBytes(path, bytes);
        return sequenceFromTextFile(path, form);
    }

    PlayerParameters scrolling;
};

TEST_F(TextFileSequenceTest, PlainTextIsTidiedAndRichTextReadAsRtfAndBothScrollWithThePreset) {
    const struct {
        const char* name;
        QByteArray bytes;
        const char* text;
    } cases[] = {{"note.txt", "  a\r\nb\n", "a  b"},
                 {"story.RTF", R"({\rtf1\ansi Hello {\b world}})", "Hello world"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto command = open(c.name, c.bytes);
        ASSERT_TRUE(command);
        EXPECT_EQ(richText.document().toPlainText(), c.text);
        EXPECT_EQ(command->name(), c.text);
        EXPECT_EQ(command->keyword(), CommandKeyword(Keyword::Solo));
        EXPECT_EQ(command->contentKind(), content_kind::Rich);
        const PlayerParameters& working = form.working().parameters;
        EXPECT_EQ(working.origin, 360.0);
        EXPECT_EQ(working.originSpeed, -40.0);
        EXPECT_EQ(working.width, 50.0);
        EXPECT_EQ(form.scrollDuration(), 12);
        EXPECT_EQ(command->parameters().nextCommandAfter, 12.0);
        EXPECT_EQ(command->parameters().deathAfter, 12.0);
        EXPECT_EQ(command->parameters().origin, 360.0);
        EXPECT_EQ(command->parameters().deathType, 0u);
        // The preset went to the rotor at once.
        ASSERT_EQ(players().size(), 1u);
        EXPECT_EQ(players()[0].parameters.originSpeed, -40.0);
    }
    const auto blank = open("blank.TXT", "\t \r\n  \n");
    ASSERT_TRUE(blank);
    EXPECT_EQ(richText.document().toPlainText(), "");
    EXPECT_EQ(blank->name(), "");
    EXPECT_TRUE(form.working().content.empty());
}

TEST_F(TextFileSequenceTest, TextThatDoesNotScrollKeepsTheDefaultTimes) {
    scrolling.originSpeed = 0.0;
    presets.remove(presets.find("Scrolling - very long text"));
    addPreset("Scrolling - very long text", scrolling);
    const auto command = open("still.txt", "still");
    ASSERT_TRUE(command);
    EXPECT_EQ(form.scrollDuration(), 0);
    EXPECT_EQ(command->parameters().nextCommandAfter, 5.0);
    EXPECT_EQ(command->parameters().deathAfter, 5.0);

    // Moving to the right, the text has no scroll duration either.
    form.editValue(FormValue::OriginSpeed, "25");
    EXPECT_EQ(form.scrollDuration(), 0);
}

TEST_F(TextFileSequenceTest, FilesThatCannotBeReadLeaveTheFormAlone) {
    const int shown = host.shownCount;
    EXPECT_FALSE(sequenceFromTextFile(folder.path("missing.txt"), form));
    EXPECT_FALSE(open("picture.bmp", "BM"));
    EXPECT_FALSE(open("noextension", "text"));
    EXPECT_EQ(host.shownCount, shown);
    EXPECT_TRUE(players().empty());
}

TEST(TextFileKindTest, ExtensionDecidesInAnyCase) {
    EXPECT_EQ(textFileKind("a.txt"), TextFileKind::Plain);
    EXPECT_EQ(textFileKind("/x/b.TxT"), TextFileKind::Plain);
    EXPECT_EQ(textFileKind("c.Rtf"), TextFileKind::Rich);
    EXPECT_EQ(textFileKind("d.rova"), std::nullopt);
    EXPECT_EQ(textFileKind("noext"), std::nullopt);
    EXPECT_EQ(textFileKind("folder.txt/file"), std::nullopt);
}

TEST(PlainTextTest, DecodesUtf8OrElseWindows1252UpToTheFirstNul) {
    const auto decode = [](const QByteArray& bytes) {
        return decodePlainText({reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                static_cast<std::size_t>(bytes.size())});
    };
    EXPECT_EQ(decode("caf\xC3\xA9"), QString::fromUtf8("caf\xC3\xA9"));
    EXPECT_EQ(decode("caf\xE9 \x80"), QString::fromUtf8("caf\xC3\xA9 \xE2\x82\xAC"));
    EXPECT_EQ(decode("\xEF\xBB\xBFx"), "x");
    EXPECT_EQ(decode(QByteArray("a\0b", 3)), "a");
    EXPECT_EQ(decode(""), "");
}

TEST(PlainTextTest, BlanksAreTrimmedAndEachInsideOneBecomesASpace) {
    EXPECT_EQ(normalisedPlainText(u"\t\n\r x \t y\r\n"), "x   y");
    EXPECT_EQ(normalisedPlainText(u"  a\r\nb\n"), "a  b");
    EXPECT_EQ(normalisedPlainText(u" \t\r\n "), "");
    EXPECT_EQ(normalisedPlainText(u""), "");
    // Other control characters are text.
    EXPECT_EQ(normalisedPlainText(u"\va\fb"), "\va\fb");
}

}  // namespace
}  // namespace rova
