#pragma once

// Shared helpers of the parameter form tests: a parameter form controller on a real engine in
// virtual time with a recording host and prompt, commands with text or picture content, and a
// look at the players on the rotor.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Clock.h"
#include "Command.h"
#include "CommandContent.h"
#include "DocumentTestSupport.h"
#include "ParameterFormController.h"
#include "Picture.h"
#include "PictureEditorModel.h"
#include "PictureRecord.h"
#include "Player.h"
#include "PlayerEngine.h"
#include "Players.h"
#include "Presets.h"
#include "QtGuiApplicationTest.h"
#include "RichTextDocument.h"
#include "TestCommands.h"

namespace rova::test {

// An engine whose lamp columns are 2 degrees apart.
class FixedAngleEngine : public PlayerEngine {
  public:
    using PlayerEngine::PlayerEngine;
    ~FixedAngleEngine() override { stopWorker(); }
    double degreesPerLampColumn() const override { return 2.0; }
};

// What the forms around the controller were asked to do.
class RecordingHost : public ParameterFormHost {
  public:
    void showParameters() override { ++shownCount; }
    void selectPresetRow(int row) override { selectedRows.push_back(row); }
    void storeIntoSelectedCommand() override { ++storedCount; }
    void refreshTimingControls() override { ++timingRefreshCount; }
    bool isSequenceRunning() const override { return running; }

    int shownCount = 0;
    int storedCount = 0;
    int timingRefreshCount = 0;
    std::vector<int> selectedRows;
    bool running = false;
};

// One player as the rotor has it.
struct PlayerView {
    PlayerParameters parameters;
    std::vector<ContentColumn> columns;
    std::uint32_t rows = 0;
    bool decimating = false;
};

// The players on the engine's rotor, the top one first.
inline std::vector<PlayerView> playersOn(const PlayerEngine& engine) {
    std::vector<PlayerView> views;
    engine.forEachPlayer([&views](const Player& player) {
        const auto columns = player.content().columns();
        views.push_back({player.parameters(),
                         {columns.begin(), columns.end()},
                         player.content().rowCount(),
                         (player.state().bits & PlayerStateBits::Decimating) != 0});
    });
    return views;
}

// A SOLO command showing a red picture of width × height pixels at `rows` rows.
inline std::unique_ptr<Command> pictureCommand(int width, int height, int rows) {
    Picture red;
    EXPECT_TRUE(red.createLampFilled(width, height, 0x0000FF));
    auto command = plainCommand(Keyword::Solo);
    PictureState state;
    state.rows = rows;
    EXPECT_TRUE(takePicture(*command, "red.bmp", state, red));
    return command;
}

// A parameter form controller with everything it works with, its presets in a fresh folder.
class ParameterFormTest : public QtGuiApplicationTest {
  protected:
    void SetUp() override { form.initialise(true); }

    std::vector<PlayerView> players() const { return playersOn(engine); }
    // The top player; a test without one fails on the exception.
    PlayerView top() const { return players().at(0); }
    // Runs `command` as the sequence would, resetting the lag.
    bool run(const std::unique_ptr<Command>& command) { return form.execute(*command, true); }

    // Stores a preset the way the form's "Store New" and renaming do.
    void addPreset(const std::string& name, const PlayerParameters& record) {
        presets.setCurrent(presets.storeNew(record));
        presets.rename(presets.currentIndex(), name);
        presets.setCurrent(-1);
    }

    TempFolder folder;
    VirtualClock clock;
    FixedAngleEngine engine{clock};
    EnginePlayers enginePlayers{engine};
    RichTextDocument richText;
    PictureEditorModel picture;
    RecordingPrompt prompt;
    RecordingHost host;
    Presets presets{folder.path("Presets.rova"), prompt};
    ParameterFormController form{enginePlayers, richText, picture, presets, prompt, host};
};

}  // namespace rova::test
