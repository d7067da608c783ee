#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <memory>

#include "CommandContent.h"
#include "ParameterFormTestSupport.h"
#include "Picture.h"
#include "PictureRecord.h"

namespace rova {
namespace {

using test::ParameterFormTest;
using test::plainCommand;
using test::textCommand;

// A SOLO command showing a red picture of width × height pixels at `rows` rows.
std::unique_ptr<Command> pictureCommand(int width, int height, int rows) {
    Picture red;
    EXPECT_TRUE(red.createLampFilled(width, height, 0x0000FF));
    auto command = plainCommand(Keyword::Solo);
    PictureState state;
    state.rows = rows;
    EXPECT_TRUE(takePicture(*command, "red.bmp", state, red));
    return command;
}

TEST_F(ParameterFormTest, SoloBitComesFromTheKeyword) {
    auto first = textCommand(Keyword::New, "A");
    first->parameters().commandFlags = CommandFlags::Solo;
    auto second = textCommand(Keyword::New, "B");
    ASSERT_TRUE(form.execute(*first, true));
    ASSERT_TRUE(form.execute(*second, true));
    ASSERT_EQ(players().size(), 2u);
    EXPECT_FALSE(players()[1].parameters.hasCommandFlag(CommandFlags::Solo));

    auto solo = textCommand(Keyword::Solo, "C");
    solo->parameters().commandFlags = 0;
    ASSERT_TRUE(form.execute(*solo, true));
    // The solo player killed the two others, whose death is immediate.
    ASSERT_EQ(players().size(), 1u);
    EXPECT_TRUE(players()[0].parameters.hasCommandFlag(CommandFlags::Solo));
    EXPECT_TRUE(form.working().parameters.hasCommandFlag(CommandFlags::Solo));
}

TEST_F(ParameterFormTest, ChangeKeepsTheDeathSettingsOfThePlayerItChanges) {
    auto solo = textCommand(Keyword::Solo, "Hi", 4.0);
    solo->parameters().deathAfter = 7.0;
    solo->parameters().deathType = 2;
    solo->parameters().commandFlags = CommandFlags::DeathAfterEnabled;
    ASSERT_TRUE(form.execute(*solo, true));
    auto change = textCommand(Keyword::Change, "Ho", 3.0);
    change->parameters().deathAfter = 1.0;
    change->parameters().deathType = 0;
    change->parameters().commandFlags = 0;
    change->parameters().origin = 200.0;
    ASSERT_TRUE(form.execute(*change, true));

    ASSERT_EQ(players().size(), 1u);
    const PlayerParameters top = players()[0].parameters;
    EXPECT_EQ(top.origin, 200.0);
    EXPECT_EQ(top.deathAfter, 7.0);
    EXPECT_EQ(top.deathType, 2u);
    EXPECT_TRUE(top.hasCommandFlag(CommandFlags::DeathAfterEnabled));
    // Only the time to the next command is the CHNG command's own.
    EXPECT_EQ(form.working().parameters.nextCommandAfter, 3.0);
    EXPECT_EQ(form.working().parameters.deathAfter, 7.0);
    // The command itself keeps its own timing and flags when it takes its packed content.
    EXPECT_FALSE(change->packedContent().empty());
    EXPECT_EQ(change->parameters().deathAfter, 1.0);
    EXPECT_EQ(change->parameters().deathType, 0u);
    EXPECT_EQ(change->parameters().commandFlags, 0u);
    EXPECT_EQ(change->parameters().origin, 200.0);
}

TEST_F(ParameterFormTest, KillCommandsActAtOnceAndMarkAndRepeatTouchNoPlayer) {
    auto a = textCommand(Keyword::New, "A");
    auto b = textCommand(Keyword::New, "B");
    ASSERT_TRUE(form.execute(*a, true));
    ASSERT_TRUE(form.execute(*b, true));
    const std::vector<ContentColumn> shown = players()[1].columns;
    auto mark = plainCommand(Keyword::Mark);
    auto repeat = plainCommand(Keyword::Repeat);
    repeat->parameters().origin = 12.0;
    EXPECT_TRUE(form.execute(*mark, true));
    EXPECT_TRUE(form.execute(*repeat, true));
    ASSERT_EQ(players().size(), 2u);
    EXPECT_EQ(players()[1].columns, shown);
    EXPECT_EQ(form.working().parameters.origin, 12.0);

    auto kill = plainCommand(Keyword::Kill);
    kill->parameters().origin = 33.0;
    ASSERT_TRUE(form.execute(*kill, true));
    EXPECT_EQ(players().size(), 1u);
    EXPECT_EQ(form.working().parameters.origin, 33.0);  // the KILL command's own values
    auto killAll = plainCommand(Keyword::KillAll);
    ASSERT_TRUE(form.execute(*killAll, true));
    EXPECT_TRUE(players().empty());

    // A decimating death starts at once too, without waiting for a frame.
    auto fading = textCommand(Keyword::Solo, "F");
    fading->parameters().deathType = static_cast<std::uint32_t>(DeathType::DecimateFast);
    ASSERT_TRUE(form.execute(*fading, true));
    ASSERT_TRUE(form.execute(*kill, true));
    ASSERT_EQ(players().size(), 1u);
    EXPECT_TRUE(players()[0].decimating);
}

TEST_F(ParameterFormTest, PackedContentIsCachedInTheCommandAndUsedAsItStands) {
    auto command = textCommand(Keyword::Solo, "Cached");
    ASSERT_TRUE(form.execute(*command, true));
    const ParameterSet& working = form.working();
    ASSERT_GT(working.content.columnCount(), 0u);
    const auto built = working.content.columns();
    const auto cached = command->packedContent().columns();
    EXPECT_TRUE(std::equal(built.begin(), built.end(), cached.begin(), cached.end()));
    EXPECT_EQ(command->packedContent().rowCount(), working.content.rowCount());
    // The command took the working record as the form shows it.
    EXPECT_EQ(command->parameters().toBytes(), working.parameters.toBytes());
    EXPECT_EQ(players()[0].columns.size(), working.content.columnCount());
    // The loaded text is all selected.
    EXPECT_EQ(richText.selection(), (RichTextDocument::Selection{0, 6}));

    // A second run takes the cached columns without building anything.
    const std::vector<ContentColumn> marked{
        {0x80000000u, 0, 0}, {0, 0x80000000u, 0}, {0, 0, 0x80000000u}};
    const auto storage = command->packedContent().allocate(3, 1);
    ASSERT_EQ(storage.size(), 3u);
    std::copy(marked.begin(), marked.end(), storage.begin());
    ASSERT_TRUE(form.execute(*command, true));
    EXPECT_EQ(players()[0].columns, marked);
    EXPECT_TRUE(form.contentBuilt());
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
    ASSERT_TRUE(form.execute(*command, true));
    // Y-Shift and the vertical speed show the field negated.
    const struct {
        FormValue pair;
        const char* shown;
    } cases[] = {
        {FormValue::Origin, "0.5"},         {FormValue::OriginSpeed, "+0.5"},
        {FormValue::OriginAccel, "+0.5"},   {FormValue::Width, "0.5"},
        {FormValue::WidthSpeed, "+0.5"},    {FormValue::WidthAccel, "+0.5"},
        {FormValue::ClipStart, "0.5"},      {FormValue::ClipEnd, "0.5"},
        {FormValue::Height, "+2"},          {FormValue::YShift, "-0.5"},
        {FormValue::VerticalSpeed, "-0.5"}, {FormValue::Flashing, "0.5"},
        {FormValue::FlashingAccel, "+0.5"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(form.valueText(c.pair).text(), c.shown) << static_cast<int>(c.pair);
    }
}

TEST_F(ParameterFormTest, LoadedValuesCarryTheirShownPrecision) {
    auto command = textCommand(Keyword::Solo, "V");
    PlayerParameters& record = command->parameters();
    record.origin = 90.04;
    record.clipEnd = 300.26;
    record.yShift = -2.34;
    record.flashing = 1.0 / 3.0;
    ASSERT_TRUE(form.execute(*command, true));

    const PlayerParameters& working = form.working().parameters;
    EXPECT_EQ(working.origin, 90.0);
    EXPECT_EQ(working.clipEnd, static_cast<double>(300.3f));
    EXPECT_EQ(working.yShift, -static_cast<double>(2.3f));
    EXPECT_EQ(working.flashing, static_cast<double>(0.3f));
    EXPECT_EQ(form.valueText(FormValue::YShift).text(), "+2.3");
    EXPECT_EQ(players()[0].parameters.clipEnd, static_cast<double>(300.3f));
    EXPECT_EQ(command->parameters().clipEnd, static_cast<double>(300.3f));
}

TEST_F(ParameterFormTest, EditedValuesReachTheRecordThroughTheirText) {
    auto command = textCommand(Keyword::Solo, "E");
    ASSERT_TRUE(form.execute(*command, true));
    host.selectedRows.clear();
    form.editValue(FormValue::Origin, "123.4");
    form.editValue(FormValue::Origin, "abc");  // no number: nothing changes
    EXPECT_EQ(form.working().parameters.origin, static_cast<double>(123.4f));
    EXPECT_EQ(players()[0].parameters.origin, static_cast<double>(123.4f));
    EXPECT_EQ(host.storedCount, 1);
    EXPECT_EQ(host.selectedRows, std::vector<int>{-1});
}

// Engine players that remember how the top player was asked to change, or that never have
// memory for a player.
class RecordingPlayers : public Players {
  public:
    explicit RecordingPlayers(Players& players, bool failing = false)
        : players_(players), failing_(failing) {}
    bool addPlayer(const ParameterSet& set, bool resetLag) override {
        return !failing_ && players_.addPlayer(set, resetLag);
    }
    bool changeTopPlayer(const ParameterSet& set, bool contentToo, bool restart,
                         bool resetLag) override {
        changes.push_back({contentToo, restart});
        return !failing_ && players_.changeTopPlayer(set, contentToo, restart, resetLag);
    }
    void killTopPlayer(bool resetLag) override { players_.killTopPlayer(resetLag); }
    void killAllPlayers(bool resetLag) override { players_.killAllPlayers(resetLag); }
    double degreesPerLampColumn() const override { return 2.0; }

    std::vector<std::pair<bool, bool>> changes;  // content too, restart

  private:
    Players& players_;
    bool failing_;
};

TEST_F(ParameterFormTest, OnlyPresetsResetsAndAutoUpdateRestartTheTopPlayer) {
    using Changes = std::vector<std::pair<bool, bool>>;
    RecordingPlayers recording(enginePlayers);
    ParameterFormController recorded(recording, richText, picture, presets, prompt, host);
    addPreset("Static", PlayerParameters{});
    auto command = textCommand(Keyword::Solo, "R");
    ASSERT_TRUE(recorded.execute(*command, true));

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
}

TEST_F(ParameterFormTest, PictureCommandsAreBuiltFromThePictureAtItsRows) {
    auto command = pictureCommand(24, 12, 6);
    ASSERT_TRUE(form.execute(*command, true));
    EXPECT_EQ(form.contentKind(), content_kind::Picture);
    EXPECT_EQ(picture.rows(), 6);
    ASSERT_EQ(players().size(), 1u);
    EXPECT_EQ(players()[0].rows, 6u);
    // 24 × 12 shown at 6 rows is 12 columns wide, every lamp of the six red (plane 2).
    EXPECT_EQ(players()[0].columns,
              std::vector<ContentColumn>(12, ContentColumn{0, 0, 0xFC000000u}));
}

TEST_F(ParameterFormTest, PicturesThatCannotBeShownFailSilentlyOrShowNothing) {
    auto broken = plainCommand(Keyword::Solo);
    const std::string record = std::string("x.bmp") + '\0' +
                               std::string("\x0c\0\0\0\x01\0\0\0\x08\0\0\0", 12) + "no bitmap";
    broken->assignContent(content_kind::Picture,
                          std::vector<std::uint8_t>(record.begin(), record.end()));
    EXPECT_FALSE(form.execute(*broken, true));
    EXPECT_TRUE(players().empty());
    EXPECT_TRUE(prompt.messages.isEmpty());
    EXPECT_EQ(picture.rows(), 16);
    EXPECT_EQ(picture.workingPicture().width(), 16);

    // Stored rows that no editor could show give no working picture; the command shows
    // nothing, and fails nothing.
    for (const auto& [width, rows] :
         {std::pair{24, 0}, std::pair{24, -3}, std::pair{24, INT32_MAX}, std::pair{16000, 4}}) {
        SCOPED_TRACE(rows);
        auto command = pictureCommand(width, 2, rows);
        ASSERT_TRUE(form.execute(*command, true));
        EXPECT_EQ(picture.rows(), rows);
        EXPECT_FALSE(picture.workingPicture().hasPixels());
        ASSERT_EQ(players().size(), 1u);
        EXPECT_TRUE(players()[0].columns.empty());
    }
}

TEST_F(ParameterFormTest, PlayersWithoutMemoryAreReportedAndNothingIsCached) {
    RecordingPlayers failing(enginePlayers, true);
    ParameterFormController failingForm(failing, richText, picture, presets, prompt, host);
    auto solo = textCommand(Keyword::Solo, "X");
    EXPECT_FALSE(failingForm.execute(*solo, true));
    EXPECT_TRUE(solo->packedContent().empty());
    auto change = textCommand(Keyword::Change, "Y");
    EXPECT_FALSE(failingForm.execute(*change, true));
    EXPECT_TRUE(change->packedContent().empty());
    EXPECT_EQ(prompt.messages,
              (QStringList{"There is not enough memory to create a player object.",
                           "There is not enough memory to update a player object."}));
}

TEST_F(ParameterFormTest, AppliedPresetKeepsTheCommandsTimingAndDeath) {
    PlayerParameters slow;
    slow.nextCommandAfter = 9.0;
    slow.deathAfter = 9.0;
    slow.deathType = 2;
    slow.origin = 45.0;
    slow.originSpeed = -20.0;
    addPreset("Slow", slow);
    auto command = textCommand(Keyword::Solo, "T", 4.0);
    command->parameters().deathAfter = 6.0;
    ASSERT_TRUE(form.execute(*command, true));
    form.applyPreset(0);

    const PlayerParameters& working = form.working().parameters;
    EXPECT_EQ(working.origin, 45.0);
    EXPECT_EQ(working.originSpeed, -20.0);
    EXPECT_EQ(working.nextCommandAfter, 4.0);
    EXPECT_EQ(working.deathAfter, 6.0);
    EXPECT_EQ(working.deathType, 0u);
    EXPECT_EQ(presets.currentIndex(), 0);
    // Auto Update is on: the top player took the preset at once.
    ASSERT_EQ(players().size(), 1u);
    EXPECT_EQ(players()[0].parameters.origin, 45.0);
}

TEST_F(ParameterFormTest, ResetWithPresetStartsFromTheDefaults) {
    PlayerParameters fixed;
    fixed.origin = 10.0;
    fixed.deathAfter = 20.0;
    addPreset("Static", fixed);
    auto command = textCommand(Keyword::Solo, "S");
    command->parameters().originSpeed = 30.0;
    command->parameters().deathAfter = 3.0;
    ASSERT_TRUE(form.execute(*command, true));

    host.selectedRows.clear();
    form.resetParameters();
    PlayerParameters expected;
    expected.origin = 10.0;
    expected.width = form.working().parameters.width;  // Auto width of the text
    EXPECT_EQ(form.working().parameters.toBytes(), expected.toBytes());
    EXPECT_EQ(host.selectedRows.back(), 0);
    EXPECT_EQ(host.timingRefreshCount, 1);
    EXPECT_EQ(players()[0].parameters.originSpeed, 0.0);

    form.resetWithPreset("no such preset");
    EXPECT_EQ(form.working().parameters.origin, 90.0);
    EXPECT_EQ(host.selectedRows.back(), -1);
    EXPECT_EQ(players()[0].parameters.origin, 90.0);
}

TEST_F(ParameterFormTest, TypedHeightIsTruncatedAndSkipsTheFitSearch) {
    auto command = textCommand(Keyword::Solo, "Fit");
    command->parameters().playerFlags |= PlayerFlags::Fit;
    ASSERT_TRUE(form.execute(*command, true));
    form.setAutoUpdate(false);
    form.editValue(FormValue::Height, "77.9");
    EXPECT_EQ(form.working().parameters.heightAdjustment, 77);
    EXPECT_FALSE(form.contentBuilt());
    EXPECT_EQ(form.working().keep & KeepFlags::Height, KeepFlags::Height);
    // Auto Update is off: the command stores the edit, the rotor does not show it yet.
    EXPECT_EQ(host.storedCount, 1);
    EXPECT_LE(players()[0].rows, 16u);

    form.setAutoUpdate(true);
    // Built 77 rows taller than it is, without the search that would fit it into 16 rows:
    // the middle 32 rows are packed.
    EXPECT_EQ(players()[0].rows, 32u);
    EXPECT_EQ(form.working().parameters.heightAdjustment, 77);
    EXPECT_EQ(form.working().keep & KeepFlags::Height, 0u);
}

TEST_F(ParameterFormTest, FitSearchRunsForAPresetAppliedAfterAnUnbuiltCommand) {
    PlayerParameters fitted;
    fitted.playerFlags |= PlayerFlags::Fit;
    addPreset("Fitted", fitted);
    // A KILL command leaves the keep bits of its load unused.
    auto kill = plainCommand(Keyword::Kill);
    ASSERT_TRUE(form.execute(*kill, true));
    const std::string tall = R"({\rtf1\fs96 Tall})";
    form.showRichText({reinterpret_cast<const std::uint8_t*>(tall.data()), tall.size()}, "Fitted");
    EXPECT_EQ(richText.selection(), (RichTextDocument::Selection{0, 4}));
    // 48-point text stands far more than 16 rows tall; the search shrank it to the lamps.
    EXPECT_LT(form.working().parameters.heightAdjustment, -16);
    ASSERT_EQ(players().size(), 1u);
    EXPECT_LE(players()[0].rows, 16u);
    EXPECT_GE(players()[0].rows, 14u);
}

TEST_F(ParameterFormTest, OnlyChangesGivenByHandResetTheFrameClocksLag) {
    auto command = textCommand(Keyword::Solo, "L");
    ASSERT_TRUE(form.execute(*command, true));
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
    ASSERT_TRUE(form.execute(*command, true));
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
    const std::vector<ContentColumn> columns = players()[0].columns;
    EXPECT_TRUE(std::any_of(columns.begin(), columns.end(), [](auto c) { return c[2] != 0; }));
    EXPECT_TRUE(
        std::all_of(columns.begin(), columns.end(), [](auto c) { return c[0] == 0 && c[1] == 0; }));
    const CharacterFormat defaults = richText.defaultFormat();
    EXPECT_EQ(defaults.face, "Arial");
    EXPECT_EQ(defaults.height, 240);
    EXPECT_EQ(defaults.effects, CharacterFormat::kBold);
}

TEST_F(ParameterFormTest, ExclusiveBoxesClearEachOtherAndAlignmentSetsTheYShift) {
    constexpr std::uint32_t kZero = PlayerFlags::MirrorAtZero | PlayerFlags::BounceAtZero;
    using C = ParameterFormController;
    constexpr auto mirror = &C::setMirrorAtZero, bounce = &C::setBounceAtZero,
                   top = &C::setAlignTop, bottom = &C::setAlignBottom, fit = &C::setFit;
    // Which box wins when two are checked in turn the widget test covers; these rows check
    // unchecking, the Y-Shift and what reaches the player.
    const struct {
        const char* what;
        std::vector<std::pair<void (C::*)(bool), bool>> clicks;
        std::uint32_t bits;  // among the zero and alignment bits
        double yShift;
        std::uint32_t rows;  // of the content the top player shows
    } cases[] = {
        {"Bounce, Mirror", {{bounce, true}, {mirror, true}}, PlayerFlags::MirrorAtZero, 0, 8},
        {"Mirror, Bounce off", {{mirror, true}, {bounce, false}}, 0, 0, 8},
        // An 8-row picture: Top and Bottom shift its 8 rows to the lamps' ends; Fit stretches
        // it to the 16 lamps, which need no shift.
        {"Top", {{top, true}}, PlayerFlags::AlignTop, -4, 8},
        {"Bottom", {{bottom, true}}, PlayerFlags::AlignBottom, 4, 8},
        {"Top, Top off", {{top, true}, {top, false}}, 0, 0, 8},
        {"Fit, Top", {{fit, true}, {top, true}}, PlayerFlags::AlignTop, 0, 16},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto command = pictureCommand(8, 8, 8);
        command->parameters().playerFlags &= ~kZero;
        ASSERT_TRUE(form.execute(*command, true));
        const int stored = host.storedCount;
        for (const auto& [box, checked] : c.clicks) {
            (form.*box)(checked);
        }
        const PlayerParameters& working = form.working().parameters;
        EXPECT_EQ(working.playerFlags & (PlayerFlags::Fit | kZero), c.bits);
        EXPECT_EQ(working.yShift, c.yShift);
        EXPECT_EQ(form.valueText(FormValue::YShift).currentValue(), -c.yShift);
        ASSERT_EQ(players().size(), 1u);
        EXPECT_EQ(players()[0].parameters.playerFlags & kZero, c.bits & kZero);
        EXPECT_EQ(players()[0].parameters.yShift, c.yShift);
        EXPECT_EQ(players()[0].rows, c.rows);
        EXPECT_EQ(host.storedCount, stored + static_cast<int>(c.clicks.size()));
    }
}

TEST_F(ParameterFormTest, UncheckedFitWaitsForTheNextChange) {
    auto command = pictureCommand(8, 8, 8);
    ASSERT_TRUE(form.execute(*command, true));
    form.setFit(true);
    ASSERT_EQ(players()[0].rows, 16u);
    const int stored = host.storedCount;
    form.setFit(false);
    EXPECT_EQ(form.working().parameters.playerFlags & PlayerFlags::Fit, 0u);
    EXPECT_EQ(host.storedCount, stored);
    EXPECT_TRUE(players()[0].parameters.fitsToLamps());
    form.setFlip(false);
    EXPECT_FALSE(players()[0].parameters.fitsToLamps());
    EXPECT_EQ(host.storedCount, stored + 1);
}

TEST_F(ParameterFormTest, FitSearchesAgainDespiteAKeptHeight) {
    auto command = pictureCommand(8, 8, 8);
    command->parameters().heightAdjustment = 2;
    ASSERT_TRUE(form.execute(*command, true));
    ASSERT_EQ(players()[0].rows, 10u);
    // With Auto Update off nothing is built in between: the typed height is still kept when
    // Fit is checked.
    form.setAutoUpdate(false);
    form.editValue(FormValue::Height, "3");
    ASSERT_NE(form.working().keep & KeepFlags::Height, 0u);
    form.setFit(true);
    EXPECT_EQ(form.working().keep & KeepFlags::Height, 0u);
    form.setAutoUpdate(true);
    EXPECT_EQ(form.working().parameters.heightAdjustment, 8);
    EXPECT_EQ(players()[0].rows, 16u);
}

TEST_F(ParameterFormTest, FlipRebuildsTheContentUpsideDown) {
    auto command = textCommand(Keyword::Solo, "Up");
    ASSERT_TRUE(form.execute(*command, true));
    const std::vector<ContentColumn> upright = players()[0].columns;
    form.setFlip(true);
    EXPECT_TRUE(players()[0].parameters.hasPlayerFlag(PlayerFlags::Flip));
    EXPECT_NE(players()[0].columns, upright);
    EXPECT_EQ(players()[0].columns.size(), upright.size());
    form.setFlip(false);
    EXPECT_EQ(players()[0].columns, upright);
}

TEST_F(ParameterFormTest, ReadCheckBoxesTakesWhatTheControlsShow) {
    constexpr std::uint32_t kBoxFlags =
        PlayerFlags::OriginSpring | PlayerFlags::WidthSpring | PlayerFlags::OriginSync |
        PlayerFlags::BounceAtStart | PlayerFlags::BounceAtEnd | PlayerFlags::WrapAround |
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
        {"vertical bounce",
         {.verticalBounce = true},
         2,
         PlayerFlags::VerticalBounce | PlayerFlags::VerticalBounceCopy,
         1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto command = textCommand(Keyword::Solo, "C");
        ASSERT_TRUE(form.execute(*command, true));
        const std::uint32_t untouched = form.working().parameters.playerFlags & ~kBoxFlags;
        const int stored = host.storedCount;
        form.readCheckBoxes(c.checks);
        const PlayerParameters& working = form.working().parameters;
        EXPECT_EQ(working.originAnchor, c.anchor);
        EXPECT_EQ(working.playerFlags & kBoxFlags, c.flags);
        EXPECT_EQ(working.playerFlags & ~kBoxFlags, untouched);
        EXPECT_EQ(working.projections, c.projections);
        EXPECT_EQ(players()[0].parameters.originAnchor, c.anchor);
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
        ASSERT_TRUE(form.execute(*command, true));
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
        EXPECT_EQ(players()[0].parameters.width, expected);
    }
}

TEST_F(ParameterFormTest, ContentKindSwitchRebuildsFromTheOtherEditor) {
    auto command = pictureCommand(8, 8, 8);
    ASSERT_TRUE(form.execute(*command, true));
    const std::vector<ContentColumn> red = players()[0].columns;
    ASSERT_EQ(red.size(), 8u);
    richText.document().setPlainText(QStringLiteral("Text"));
    const int stored = host.storedCount;
    form.setContentKind(content_kind::Rich);
    EXPECT_EQ(form.contentKind(), content_kind::Rich);
    const std::vector<ContentColumn> text = players()[0].columns;
    EXPECT_NE(text, red);
    EXPECT_FALSE(text.empty());
    // The picture editor still holds its picture, which comes back as it was.
    form.setContentKind(content_kind::Picture);
    EXPECT_EQ(form.contentKind(), content_kind::Picture);
    EXPECT_EQ(players()[0].columns, red);
    EXPECT_EQ(host.storedCount, stored + 2);
}

TEST_F(ParameterFormTest, ContentChangesReachThePlayerOnlyWithAutoUpdate) {
    for (const bool autoUpdate : {true, false}) {
        SCOPED_TRACE(autoUpdate ? "Auto Update on" : "Auto Update off");
        form.setAutoUpdate(true);
        auto command = textCommand(Keyword::Solo, "A");
        ASSERT_TRUE(form.execute(*command, true));
        const std::vector<ContentColumn> before = players()[0].columns;
        form.setAutoUpdate(autoUpdate);
        const int stored = host.storedCount;
        richText.document().setPlainText(QStringLiteral("Changed"));
        form.contentChanged();
        EXPECT_EQ(host.storedCount, stored + 1);
        EXPECT_EQ(players()[0].columns != before, autoUpdate);
        EXPECT_EQ(form.contentBuilt(), autoUpdate);
    }
}

}  // namespace
}  // namespace rova
