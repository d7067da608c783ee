#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <optional>
#include <string>
#include <tuple>

#include "DocumentMessages.h"
#include "ParameterFormTestSupport.h"
#include "TextFileSequence.h"
#include "ValueText.h"

namespace rova {
namespace {

using test::ParameterFormTest;
using test::pictureCommand;
using test::plainCommand;
using test::textCommand;

TEST_F(ParameterFormTest, KeywordsDecideSoloKillsAndWhichCommandsTouchNoPlayer) {
    auto first = textCommand(Keyword::New, "A");
    first->parameters().commandFlags = CommandFlags::Solo;
    auto second = textCommand(Keyword::New, "B");
    ASSERT_TRUE(run(first));
    ASSERT_TRUE(run(second));
    ASSERT_EQ(players().size(), 2u);
    EXPECT_FALSE(players()[1].parameters.hasCommandFlag(CommandFlags::Solo));
    const std::vector<ContentColumn> shown = players()[1].columns;
    auto mark = plainCommand(Keyword::Mark);
    auto repeat = plainCommand(Keyword::Repeat);
    repeat->parameters().origin = 12.0;
    EXPECT_TRUE(run(mark));
    EXPECT_TRUE(run(repeat));
    ASSERT_EQ(players().size(), 2u);
    EXPECT_EQ(players()[1].columns, shown);
    EXPECT_EQ(form.working().parameters.origin, 12.0);

    auto kill = plainCommand(Keyword::Kill);
    kill->parameters().origin = 33.0;
    ASSERT_TRUE(run(kill));
    EXPECT_EQ(players().size(), 1u);
    EXPECT_EQ(form.working().parameters.origin, 33.0);  // the KILL command's own values
    ASSERT_TRUE(run(plainCommand(Keyword::KillAll)));
    EXPECT_TRUE(players().empty());

    // A SOLO player kills the others at once; its decimating death starts at once too.
    ASSERT_TRUE(run(first));
    auto solo = textCommand(Keyword::Solo, "F");
    solo->parameters().deathType = static_cast<std::uint32_t>(DeathType::DecimateFast);
    ASSERT_TRUE(run(solo));
    ASSERT_EQ(players().size(), 1u);
    EXPECT_TRUE(top().parameters.hasCommandFlag(CommandFlags::Solo));
    EXPECT_TRUE(form.working().parameters.hasCommandFlag(CommandFlags::Solo));
    ASSERT_TRUE(run(kill));
    ASSERT_EQ(players().size(), 1u);
    EXPECT_TRUE(top().decimating);
}

TEST_F(ParameterFormTest, ChangeKeepsTheDeathSettingsOfThePlayerItChanges) {
    auto solo = textCommand(Keyword::Solo, "Hi", 4.0);
    solo->parameters().deathAfter = 7.0;
    solo->parameters().deathType = 2;
    solo->parameters().commandFlags = CommandFlags::DeathAfterEnabled;
    ASSERT_TRUE(run(solo));
    auto change = textCommand(Keyword::Change, "Ho", 3.0);
    PlayerParameters& own = change->parameters();
    std::tie(own.deathAfter, own.deathType, own.commandFlags, own.origin) =
        std::tuple(1.0, 0u, 0u, 200.0);
    ASSERT_TRUE(run(change));

    const auto deathAndOrigin = [](const PlayerParameters& p) {
        return std::tuple(p.deathAfter, p.deathType, p.commandFlags, p.origin);
    };
    ASSERT_EQ(players().size(), 1u);
    EXPECT_EQ(deathAndOrigin(top().parameters),
              std::tuple(7.0, 2u, CommandFlags::DeathAfterEnabled | CommandFlags::Solo, 200.0));
    // Only the time to the next command is the CHNG command's own.
    EXPECT_EQ(form.working().parameters.nextCommandAfter, 3.0);
    EXPECT_EQ(form.working().parameters.deathAfter, 7.0);
    // The command itself keeps its own timing and flags when it takes its packed content.
    EXPECT_FALSE(change->packedContent().empty());
    EXPECT_EQ(deathAndOrigin(change->parameters()), std::tuple(1.0, 0u, 0u, 200.0));
}

TEST_F(ParameterFormTest, PackedContentIsCachedInTheCommandAndUsedAsItStands) {
    auto command = textCommand(Keyword::Solo, "Cached");
    ASSERT_TRUE(run(command));
    const ParameterSet& working = form.working();
    ASSERT_GT(working.content.columnCount(), 0u);
    const auto built = working.content.columns();
    const auto cached = command->packedContent().columns();
    EXPECT_TRUE(std::equal(built.begin(), built.end(), cached.begin(), cached.end()));
    EXPECT_EQ(command->packedContent().rowCount(), working.content.rowCount());
    // The command took the working record as the form shows it.
    EXPECT_EQ(command->parameters().toBytes(), working.parameters.toBytes());
    EXPECT_EQ(top().columns.size(), working.content.columnCount());
    // The loaded text is all selected.
    EXPECT_EQ(richText.selection(), (RichTextDocument::Selection{0, 6}));

    // A second run takes the cached columns without building anything.
    const std::vector<ContentColumn> marked{
        {0x80000000u, 0, 0}, {0, 0x80000000u, 0}, {0, 0, 0x80000000u}};
    const auto storage = command->packedContent().allocate(3, 1);
    ASSERT_EQ(storage.size(), 3u);
    std::copy(marked.begin(), marked.end(), storage.begin());
    ASSERT_TRUE(run(command));
    EXPECT_EQ(top().columns, marked);
    EXPECT_TRUE(form.contentBuilt());
    // Stored without content, a command takes the record only.
    Command record;
    EXPECT_TRUE(form.storeInto(record, false));
    EXPECT_EQ(record.parameters().toBytes(), working.parameters.toBytes());
    EXPECT_TRUE(record.packedContent().empty());
}

TEST_F(ParameterFormTest, EveryValuePairShowsItsFieldWithItsSignAndDirection) {
    auto command = plainCommand(Keyword::Mark);
    PlayerParameters& record = command->parameters();
    for (double PlayerParameters::*field :
         {&PlayerParameters::origin, &PlayerParameters::originSpeed, &PlayerParameters::originAccel,
          &PlayerParameters::width, &PlayerParameters::widthSpeed, &PlayerParameters::widthAccel,
          &PlayerParameters::clipStart, &PlayerParameters::clipEnd, &PlayerParameters::yShift,
          &PlayerParameters::verticalSpeed, &PlayerParameters::flashing,
          &PlayerParameters::flashingAccel}) {
        record.*field = 0.5;
    }
    record.heightAdjustment = 2;
    record.playerFlags &= ~(PlayerFlags::AutoWidth | PlayerFlags::Fit);
    ASSERT_TRUE(run(command));
    // In the order of FormValue; Y-Shift and the vertical speed show the field negated.
    const char* const shown[] = {"0.5", "+0.5", "+0.5", "0.5",  "+0.5", "+0.5", "0.5",
                                 "0.5", "+2",   "-0.5", "-0.5", "0.5",  "+0.5"};
    for (int pair = 0; pair < static_cast<int>(kFormValueCount); ++pair) {
        EXPECT_EQ(form.valueText(static_cast<FormValue>(pair)).text(), shown[pair]) << pair;
    }
}

TEST_F(ParameterFormTest, ValuesTakeTheirShownPrecisionAndTypedTextReachesTheRecord) {
    auto command = textCommand(Keyword::Solo, "V");
    PlayerParameters& record = command->parameters();
    std::tie(record.origin, record.clipEnd, record.yShift, record.flashing) =
        std::tuple(90.04, 300.26, -2.34, 1.0 / 3.0);
    ASSERT_TRUE(run(command));
    const PlayerParameters& working = form.working().parameters;
    EXPECT_EQ(std::tuple(working.origin, working.clipEnd, working.yShift, working.flashing),
              std::tuple(90.0, double{300.3f}, -double{2.3f}, double{0.3f}));
    EXPECT_EQ(form.valueText(FormValue::YShift).text(), "+2.3");
    EXPECT_EQ(top().parameters.clipEnd, double{300.3f});
    EXPECT_EQ(command->parameters().clipEnd, double{300.3f});

    host.selectedRows.clear();
    form.editValue(FormValue::Origin, "123.4");
    form.editValue(FormValue::Origin, "abc");  // no number: nothing changes
    EXPECT_EQ(working.origin, double{123.4f});
    EXPECT_EQ(top().parameters.origin, double{123.4f});
    EXPECT_EQ(host.storedCount, 1);
    EXPECT_EQ(host.selectedRows, std::vector<int>{-1});
}

// Engine players that remember how the top player was asked to change, or that never have
// memory for a player.
class RecordingPlayers : public Players {
  public:
    explicit RecordingPlayers(Players& players) : players_(players) {}
    bool addPlayer(const ParameterSet& set, bool resetLag) override {
        return !failing && players_.addPlayer(set, resetLag);
    }
    bool changeTopPlayer(const ParameterSet& set, bool contentToo, bool restart,
                         bool resetLag) override {
        changes.push_back({contentToo, restart});
        return !failing && players_.changeTopPlayer(set, contentToo, restart, resetLag);
    }
    void killTopPlayer(bool resetLag) override { players_.killTopPlayer(resetLag); }
    void killAllPlayers(bool resetLag) override { players_.killAllPlayers(resetLag); }
    double degreesPerLampColumn() const override { return 2.0; }

    std::vector<std::pair<bool, bool>> changes;  // content too, restart
    bool failing = false;

  private:
    Players& players_;
};

TEST_F(ParameterFormTest, OnlyPresetsResetsAndAutoUpdateRestartTheTopPlayerAndNoMemoryIsReported) {
    using Changes = std::vector<std::pair<bool, bool>>;
    RecordingPlayers recording(enginePlayers);
    ParameterFormController recorded(recording, richText, picture, presets, prompt, host);
    addPreset("Static", PlayerParameters{});
    ASSERT_TRUE(recorded.execute(*textCommand(Keyword::Solo, "R"), true));

    recording.changes.clear();
    recorded.editValue(FormValue::Origin, "100");
    EXPECT_EQ(recording.changes, (Changes{{false, false}}));
    recording.changes.clear();
    recorded.setAutoUpdate(false);
    recorded.editValue(FormValue::Origin, "110");
    recorded.setAutoUpdate(true);
    EXPECT_EQ(recording.changes, (Changes{{true, true}}));
    recording.changes.clear();
    // The preset goes to the player, then the reset does.
    recorded.resetParameters();
    EXPECT_EQ(recording.changes, (Changes{{true, true}, {true, true}}));

    // Without memory for a player nothing is cached in the command.
    recording.failing = true;
    auto solo = textCommand(Keyword::Solo, "X");
    EXPECT_FALSE(recorded.execute(*solo, true));
    EXPECT_TRUE(solo->packedContent().empty());
    auto change = textCommand(Keyword::Change, "Y");
    EXPECT_FALSE(recorded.execute(*change, true));
    EXPECT_TRUE(change->packedContent().empty());
    EXPECT_EQ(prompt.messages,
              (QStringList{"There is not enough memory to create a player object.",
                           "There is not enough memory to update a player object."}));
}

TEST_F(ParameterFormTest, PicturesShowAtTheirRowsAndThoseThatCannotBeShownFailOrShowNothing) {
    ASSERT_TRUE(run(pictureCommand(24, 12, 6)));
    EXPECT_EQ(form.contentKind(), content_kind::Picture);
    EXPECT_EQ(picture.rows(), 6);
    // 24 × 12 shown at 6 rows is 12 columns wide, every lamp of the six red (plane 2).
    EXPECT_EQ(top().rows, 6u);
    EXPECT_EQ(top().columns, std::vector<ContentColumn>(12, ContentColumn{0, 0, 0xFC000000u}));

    ASSERT_TRUE(run(plainCommand(Keyword::KillAll)));
    auto broken = plainCommand(Keyword::Solo);
    const std::string record = std::string("x.bmp") + '\0' +
                               std::string("\x0c\0\0\0\x01\0\0\0\x08\0\0\0", 12) + "no bitmap";
    broken->assignContent(content_kind::Picture,
                          std::vector<std::uint8_t>(record.begin(), record.end()));
    EXPECT_FALSE(run(broken));
    EXPECT_TRUE(players().empty());
    EXPECT_TRUE(prompt.messages.isEmpty());
    EXPECT_EQ(std::pair(picture.rows(), picture.workingPicture().width()), std::pair(16, 16));

    // Stored rows that no editor could show give no working picture; the command shows
    // nothing, and fails nothing.
    for (const auto& [width, rows] :
         {std::pair{24, 0}, std::pair{24, -3}, std::pair{24, INT32_MAX}, std::pair{16000, 4}}) {
        SCOPED_TRACE(rows);
        ASSERT_TRUE(run(pictureCommand(width, 2, rows)));
        EXPECT_EQ(picture.rows(), rows);
        EXPECT_FALSE(picture.workingPicture().hasPixels());
        ASSERT_EQ(players().size(), 1u);
        EXPECT_TRUE(top().columns.empty());
    }
}

TEST_F(ParameterFormTest, PresetsKeepTheCommandsTimingAndResetStartsFromTheDefaults) {
    PlayerParameters slow;
    std::tie(slow.nextCommandAfter, slow.deathAfter, slow.deathType) = std::tuple(9.0, 9.0, 2u);
    std::tie(slow.origin, slow.originSpeed) = std::pair(45.0, -20.0);
    addPreset("Slow", slow);
    PlayerParameters fixed;
    fixed.origin = 10.0;
    addPreset("Static", fixed);
    auto command = textCommand(Keyword::Solo, "T", 4.0);
    command->parameters().deathAfter = 6.0;
    command->parameters().originSpeed = 30.0;
    ASSERT_TRUE(run(command));

    form.applyPreset(0);
    const PlayerParameters& working = form.working().parameters;
    EXPECT_EQ(std::tuple(working.origin, working.originSpeed), std::tuple(45.0, -20.0));
    EXPECT_EQ(std::tuple(working.nextCommandAfter, working.deathAfter, working.deathType),
              std::tuple(4.0, 6.0, 0u));
    EXPECT_EQ(presets.currentIndex(), 0);
    // The preset's Auto width runs, though the command's load kept its width.
    EXPECT_EQ(working.width, 2.0 * static_cast<double>(form.working().content.columnCount()));
    // Auto Update is on: the top player took the preset at once.
    EXPECT_EQ(top().parameters.origin, 45.0);

    host.selectedRows.clear();
    form.resetParameters();
    PlayerParameters expected;
    expected.origin = 10.0;
    expected.width = working.width;  // Auto width of the text
    EXPECT_EQ(working.toBytes(), expected.toBytes());
    EXPECT_EQ(host.selectedRows.back(), 1);
    EXPECT_EQ(host.timingRefreshCount, 1);
    EXPECT_EQ(top().parameters.originSpeed, 0.0);

    form.resetWithPreset("no such preset");
    EXPECT_EQ(working.origin, 90.0);
    EXPECT_EQ(host.selectedRows.back(), -1);
    EXPECT_EQ(top().parameters.origin, 90.0);
}

TEST_F(ParameterFormTest, TypedHeightIsTruncatedAndSkipsTheFitSearchUntilFitIsCheckedAgain) {
    auto command = textCommand(Keyword::Solo, "Fit");
    command->parameters().playerFlags |= PlayerFlags::Fit;
    ASSERT_TRUE(run(command));
    // A loaded command keeps its height: the text stands 9 rows tall.
    ASSERT_EQ(top().rows, 9u);
    form.setAutoUpdate(false);
    form.editValue(FormValue::Height, "77.9");
    EXPECT_EQ(form.working().parameters.heightAdjustment, 77);
    EXPECT_FALSE(form.contentBuilt());
    EXPECT_EQ(form.working().keep & KeepFlags::Height, KeepFlags::Height);
    // Auto Update is off: the command stores the edit, the rotor does not show it yet.
    EXPECT_EQ(host.storedCount, 1);
    EXPECT_EQ(top().rows, 9u);

    form.setAutoUpdate(true);
    // Built 77 rows taller than it is, without the search that would fit it into 16 rows:
    // the middle 32 rows are packed.
    EXPECT_EQ(top().rows, 32u);
    EXPECT_EQ(form.working().parameters.heightAdjustment, 77);
    EXPECT_EQ(form.working().keep & KeepFlags::Height, 0u);

    // With Auto Update off nothing is built in between: a typed height is still kept when Fit
    // is checked, which searches again all the same.
    form.setAutoUpdate(false);
    form.editValue(FormValue::Height, "3");
    ASSERT_NE(form.working().keep & KeepFlags::Height, 0u);
    form.setFit(true);
    EXPECT_EQ(form.working().keep & KeepFlags::Height, 0u);
    form.setAutoUpdate(true);
    EXPECT_NE(form.working().parameters.heightAdjustment, 3);
    EXPECT_GE(top().rows, 14u);
    EXPECT_LE(top().rows, 16u);

    // An unchecked Fit is neither stored nor shown until the next change.
    const int stored = host.storedCount;
    form.setFit(false);
    EXPECT_EQ(form.working().parameters.playerFlags & PlayerFlags::Fit, 0u);
    EXPECT_EQ(host.storedCount, stored);
    EXPECT_TRUE(top().parameters.fitsToLamps());
    form.setFlip(false);
    EXPECT_FALSE(top().parameters.fitsToLamps());
    EXPECT_EQ(host.storedCount, stored + 1);
}

TEST_F(ParameterFormTest, FitSearchRunsForAPresetAppliedAfterAnUnbuiltCommand) {
    PlayerParameters fitted;
    fitted.playerFlags |= PlayerFlags::Fit;
    addPreset("Fitted", fitted);
    // A KILL command leaves the keep bits of its load unused.
    ASSERT_TRUE(run(plainCommand(Keyword::Kill)));
    const std::string tall = R"({\rtf1\fs96 Tall})";
    form.showRichText({reinterpret_cast<const std::uint8_t*>(tall.data()), tall.size()}, "Fitted");
    EXPECT_EQ(richText.selection(), (RichTextDocument::Selection{0, 4}));
    // 48-point text stands far more than 16 rows tall; the search shrank it to the lamps.
    EXPECT_LT(form.working().parameters.heightAdjustment, -16);
    ASSERT_EQ(players().size(), 1u);
    EXPECT_LE(top().rows, 16u);
    EXPECT_GE(top().rows, 14u);
}

TEST_F(ParameterFormTest, OnlyChangesGivenByHandResetTheFrameClocksLag) {
    auto command = textCommand(Keyword::Solo, "L");
    ASSERT_TRUE(run(command));
    FrameClock& frameClock = engine.frameClock();
    const auto fallBehind = [&] {
        frameClock.begin();
        clock.advance(1000);
        frameClock.readNow();
        frameClock.tick([] {});
        ASSERT_GT(frameClock.lag(), 0u);
    };
    fallBehind();
    host.running = true;
    form.editValue(FormValue::Origin, "100");
    EXPECT_GT(frameClock.lag(), 0u);
    ASSERT_TRUE(form.execute(*command, false));
    EXPECT_GT(frameClock.lag(), 0u);

    host.running = false;
    form.editValue(FormValue::Origin, "110");
    EXPECT_EQ(frameClock.lag(), 0u);
    fallBehind();
    ASSERT_TRUE(run(command));
    EXPECT_EQ(frameClock.lag(), 0u);
}

TEST_F(ParameterFormTest, StartTextIsShownInBoldRedWithThePresetStatic) {
    PlayerParameters fixed;
    fixed.origin = 30.0;
    addPreset("Static", fixed);
    form.initialise(false);
    EXPECT_EQ(richText.document().toPlainText(), "ROVA");
    EXPECT_EQ(form.working().parameters.origin, 30.0);
    ASSERT_EQ(players().size(), 1u);
    const std::vector<ContentColumn> columns = top().columns;
    EXPECT_TRUE(std::any_of(columns.begin(), columns.end(), [](auto c) { return c[2] != 0; }));
    EXPECT_TRUE(
        std::all_of(columns.begin(), columns.end(), [](auto c) { return c[0] == 0 && c[1] == 0; }));
    const CharacterFormat defaults = richText.defaultFormat();
    EXPECT_EQ(std::tuple(defaults.face, defaults.height, defaults.effects),
              std::tuple(QStringLiteral("Arial"), 240, CharacterFormat::kBold));
}

TEST_F(ParameterFormTest, FlipRebuildsTheContentUpsideDown) {
    ASSERT_TRUE(run(textCommand(Keyword::Solo, "Up")));
    const std::vector<ContentColumn> upright = top().columns;
    form.setFlip(true);
    EXPECT_TRUE(top().parameters.hasPlayerFlag(PlayerFlags::Flip));
    EXPECT_NE(top().columns, upright);
    EXPECT_EQ(top().columns.size(), upright.size());
    form.setFlip(false);
    EXPECT_EQ(top().columns, upright);
}

TEST_F(ParameterFormTest, ReadCheckBoxesTakesWhatTheControlsShow) {
    constexpr std::uint32_t kBoxFlags =
        PlayerFlags::OriginSpring | PlayerFlags::WidthSpring | PlayerFlags::OriginSync |
        PlayerFlags::BounceAtStart | PlayerFlags::BounceAtEnd | PlayerFlags::WrapAround |
        PlayerFlags::VerticalBounce | PlayerFlags::VerticalBounceCopy;
    constexpr std::uint32_t kVertical =
        PlayerFlags::VerticalBounce | PlayerFlags::VerticalBounceCopy;
    const FormChecks all{true, true, true, true, true, true, true, true, 5, true};
    const struct {
        const char* what;
        FormChecks checks;
        std::uint32_t anchor;
        std::uint32_t flags;  // of those the boxes edit
        std::uint32_t projections;
    } cases[] = {
        {"everything", all, 0, kBoxFlags, 6},
        {"middle", {.anchorMiddle = true, .projectionIndex = 3}, 1, 0, 4},
        {"nothing", {.projectionIndex = -1}, 2, 0, 1},
        {"vertical bounce", {.verticalBounce = true}, 2, kVertical, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(run(textCommand(Keyword::Solo, "C")));
        const std::uint32_t untouched = form.working().parameters.playerFlags & ~kBoxFlags;
        const int stored = host.storedCount;
        form.readCheckBoxes(c.checks);
        const PlayerParameters& working = form.working().parameters;
        EXPECT_EQ(working.originAnchor, c.anchor);
        EXPECT_EQ(working.playerFlags & kBoxFlags, c.flags);
        EXPECT_EQ(working.playerFlags & ~kBoxFlags, untouched);
        EXPECT_EQ(working.projections, c.projections);
        EXPECT_EQ(top().parameters.originAnchor, c.anchor);
        EXPECT_EQ(host.storedCount, stored + 1);
    }
}

TEST_F(ParameterFormTest, AutoWidthFollowsAutoWrapAroundAndProjections) {
    enum class Action { AutoOn, AutoOff, SixProjections, WrapAround, ResetProjections };
    // A loaded command keeps its width of 20 until Auto width runs after a change. "Hello
    // world" is far wider than the 50 degrees six projections leave it.
    const struct {
        const char* what;
        bool autoWidth;  // the command's
        Action action;
        double width;  // 0: two degrees for each column of the content
    } cases[] = {
        {"Auto on", false, Action::AutoOn, 0},
        {"Auto off", true, Action::AutoOff, 20},
        {"six projections", true, Action::SixProjections, 50},
        {"six projections without Auto", false, Action::SixProjections, 20},
        {"wrap around", true, Action::WrapAround, 0},
        {"projections reset", true, Action::ResetProjections, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto command = textCommand(Keyword::Solo, "Hello world");
        PlayerParameters& record = command->parameters();
        record.width = 20;
        record.projections = 6;
        record.playerFlags &= ~PlayerFlags::AutoWidth;
        record.playerFlags |= c.autoWidth ? PlayerFlags::AutoWidth : 0;
        ASSERT_TRUE(run(command));
        const double natural = 2.0 * static_cast<double>(form.working().content.columnCount());
        ASSERT_GT(natural, 60.0);

        FormChecks checks;
        checks.anchorMiddle = true;
        checks.projectionIndex = c.action == Action::SixProjections ? 5 : 0;
        checks.wrapAround = c.action == Action::WrapAround;
        if (c.action == Action::AutoOn || c.action == Action::AutoOff) {
            form.setAutoWidth(c.action == Action::AutoOn, checks);
        } else if (c.action == Action::ResetProjections) {
            checks.projectionIndex = 5;
            form.resetProjections(checks);
            EXPECT_EQ(form.working().parameters.projections, 1u);
        } else {
            form.readCheckBoxesAndAutoWidth(checks);
        }
        const double expected = c.width != 0 ? c.width : natural;
        EXPECT_EQ(form.working().parameters.width, expected);
        EXPECT_EQ(form.valueText(FormValue::Width).currentValue(), expected);
        EXPECT_EQ(top().parameters.width, expected);
    }
}

// ---- the value fields ----

// Rounding to the shown decimals, single precision and the plus sign reach the record in the
// parameter form controller's tests.
TEST(ValueTextTest, OnlyANumberOtherThanTheCurrentValueIsHandedOver) {
    ValueText field(1, false);
    EXPECT_EQ(field.show(90.0), std::optional<double>(90.0));
    // "90" gives the current value again: the data keeps its own, unrounded value.
    EXPECT_EQ(field.show(90.02), std::nullopt);
    EXPECT_EQ(field.currentValue(), 90.02);
    // Now the current value is the unrounded one, so the same text hands the rounded one over.
    EXPECT_EQ(field.show(90.02), std::optional<double>(90.0));
    EXPECT_EQ(field.show(0.0), std::optional<double>(0.0));
}

TEST(ValueTextTest, TypedTextHandsOverTheNumberItStartsWith) {
    ValueText field(1, false);
    EXPECT_EQ(field.edited("3.5abc"), std::optional<double>(3.5));
    EXPECT_EQ(field.currentValue(), 3.5);
    EXPECT_EQ(field.edited("abc"), std::nullopt);
    EXPECT_EQ(field.text(), "abc");
    EXPECT_EQ(field.currentValue(), 3.5);
    EXPECT_EQ(field.edited("  3.5"), std::nullopt);
    // Typed text is not rounded to the shown decimals, only read in single precision.
    EXPECT_EQ(field.edited("2.25"), std::optional<double>(2.25));
    EXPECT_EQ(field.edited("0.1"), std::optional<double>(static_cast<double>(0.1f)));
}

// ---- text files opened as a sequence ----

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
        EXPECT_EQ(std::pair(command->keyword(), command->contentKind()),
                  std::pair(CommandKeyword(Keyword::Solo), content_kind::Rich));
        EXPECT_EQ(form.scrollDuration(), 12);
        // The command took the preset with the scroll duration as its times; so did the rotor.
        const PlayerParameters& record = command->parameters();
        EXPECT_EQ(std::tuple(record.nextCommandAfter, record.deathAfter, record.deathType),
                  std::tuple(12.0, 12.0, 0u));
        EXPECT_EQ(std::tuple(record.origin, record.originSpeed, record.width),
                  std::tuple(360.0, -40.0, 50.0));
        EXPECT_EQ(top().parameters.originSpeed, -40.0);
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
    EXPECT_EQ(textFileKind("folder.txt/file"), std::nullopt);
    EXPECT_EQ(host.shownCount, shown);
    EXPECT_TRUE(players().empty());
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
}

TEST(PlainTextTest, BlanksAreTrimmedAndEachInsideOneBecomesASpace) {
    EXPECT_EQ(normalisedPlainText(u"\t\n\r x \t y\r\n"), "x   y");
    EXPECT_EQ(normalisedPlainText(u" \t\r\n "), "");
    // Other control characters are text.
    EXPECT_EQ(normalisedPlainText(u"\va\fb"), "\va\fb");
}

// ---- the presets file ----

using Names = std::vector<std::string>;

// The presets file the form's fixture keeps in its fresh folder.
class PresetsTest : public ParameterFormTest {
  protected:
    static PlayerParameters record(double origin) {
        PlayerParameters parameters;
        parameters.origin = origin;
        return parameters;
    }
    static std::unique_ptr<Command> preset(const std::string& name, double origin = 0.0) {
        auto command = std::make_unique<Command>();
        command->setKeyword(Keyword::Change);
        command->parameters() = record(origin);
        command->setName(name, false);
        return command;
    }
    static Names names(const Presets& list) {
        Names result;
        for (int i = 0; i < static_cast<int>(list.size()); ++i) {
            result.push_back(list.at(i)->name());
        }
        return result;
    }
    // The presets as a fresh list reads them back from the file.
    Presets reloaded() {
        Presets again(folder.path("Presets.rova"), prompt);
        again.load(folder.path("Presets.rova"));
        return again;
    }
};

TEST_F(PresetsTest, InsertSortedAndFindIgnoreCaseAndPutTheNewestFirstAmongEqualNames) {
    EXPECT_EQ(presets.insertSorted(preset("beta")), 0);
    EXPECT_EQ(presets.insertSorted(preset("Alpha", 1.0)), 0);
    EXPECT_EQ(presets.insertSorted(preset("alpha", 2.0)), 0);
    EXPECT_EQ(presets.insertSorted(preset("Gamma")), 3);
    EXPECT_EQ(names(presets), (Names{"alpha", "Alpha", "beta", "Gamma"}));
    EXPECT_EQ(presets.find("ALPHA"), 0);
    EXPECT_EQ(presets.find("gamma"), 3);
    EXPECT_EQ(presets.find("Gamm"), -1);
    EXPECT_EQ(presets.find(""), -1);
    // The asterisks of a new preset sort before letters and digits.
    EXPECT_EQ(presets.storeNew(record(1.0)), 0);
    EXPECT_EQ(presets.at(0)->name(), "*** new preset ***");
    EXPECT_EQ(std::pair(presets.at(0)->keyword(), presets.at(0)->contentKind()),
              std::pair(CommandKeyword(Keyword::Change), content_kind::None));
    // Every insertion saved the list. Reading sorts the presets in again in file order, so of
    // two equal names the later one in the file comes first.
    EXPECT_EQ(names(reloaded()), (Names{"*** new preset ***", "Alpha", "alpha", "beta", "Gamma"}));
}

TEST_F(PresetsTest, StoreOverwritesTheCurrentPresetWhichFollowsItsPlaceAndKeepsEveryByte) {
    presets.insertSorted(preset("a", 1.0));
    presets.insertSorted(preset("c", 3.0));
    presets.setCurrent(1);
    // A new preset sorts in before the current one; the current preset is still "c".
    EXPECT_EQ(presets.storeNew(record(9.0)), 0);
    EXPECT_EQ(presets.currentIndex(), 2);
    PlayerParameters slow = record(45.0);
    std::tie(slow.originSpeed, slow.deathType, slow.reserved116) = std::tuple(-20.0, 2u, 99u);
    EXPECT_EQ(presets.store(slow), 2);
    EXPECT_EQ(names(presets), (Names{"*** new preset ***", "a", "c"}));
    EXPECT_EQ(presets.at(1)->parameters().origin, 1.0);
    const Presets again = reloaded();
    EXPECT_EQ(again.at(2)->parameters().toBytes(), slow.toBytes());
    EXPECT_EQ(again.at(2)->keyword(), CommandKeyword(Keyword::Change));
    EXPECT_TRUE(prompt.messages.isEmpty());

    // Without a current preset, Store makes a new one.
    presets.setCurrent(-1);
    EXPECT_EQ(presets.store(record(5.0)), 0);
    EXPECT_EQ(presets.size(), 4u);
    EXPECT_EQ(presets.at(0)->parameters().origin, 5.0);
    EXPECT_EQ(presets.currentIndex(), -1);
}

TEST_F(PresetsTest, RenameSortsThePresetInAgainAndDeleteLeavesNoCurrentPresetBothSaving) {
    for (const char* name : {"a", "b", "c"}) {
        presets.insertSorted(preset(name));
    }
    presets.setCurrent(0);
    EXPECT_EQ(presets.rename(0, "zeta"), 2);
    EXPECT_EQ(names(presets), (Names{"b", "c", "zeta"}));
    EXPECT_EQ(presets.currentIndex(), 2);
    EXPECT_FALSE(presets.at(2)->nameFollowsContent());
    EXPECT_EQ(names(reloaded()), (Names{"b", "c", "zeta"}));
    // A cancelled edit has no text and is refused.
    EXPECT_EQ(presets.rename(0, ""), -1);
    EXPECT_EQ(presets.rename(3, "x"), -1);
    EXPECT_FALSE(presets.remove(-1));
    EXPECT_FALSE(presets.remove(3));
    EXPECT_EQ(names(presets), (Names{"b", "c", "zeta"}));
    EXPECT_EQ(presets.currentIndex(), 2);

    EXPECT_TRUE(presets.remove(0));
    EXPECT_EQ(names(presets), (Names{"c", "zeta"}));
    EXPECT_EQ(presets.currentIndex(), -1);
    EXPECT_EQ(names(reloaded()), (Names{"c", "zeta"}));
}

TEST_F(PresetsTest, MissingFileGivesNoPresetsAndADamagedOneIsReported) {
    presets.insertSorted(preset("a"));
    presets.setCurrent(0);
    presets.load(folder.path("none.rova"));
    EXPECT_EQ(presets.size(), 0u);
    EXPECT_EQ(presets.currentIndex(), -1);
    EXPECT_TRUE(prompt.messages.isEmpty());

    const QString damaged = folder.path("damaged.rova");
    test::writeBytes(damaged, "this is no sequence file at all");
    presets.load(damaged);
    EXPECT_EQ(presets.size(), 0u);
    EXPECT_EQ(prompt.messages,
              QStringList{DocumentMessages::readFailure(FileResult::BadFormat, damaged)});
}

}  // namespace
}  // namespace rova
