#include <gtest/gtest.h>

#include "Clock.h"
#include "CommandKeyword.h"
#include "DefaultPresets.h"
#include "FrameClock.h"
#include "QtGuiApplicationTest.h"
#include "SequenceRunner.h"
#include "ShippedData.h"
#include "SimulationGeometry.h"

namespace rova {
namespace {

// The fixture records the keywords the runner executes and notices the end of the sequence.
class ShippedDataTest : public test::QtGuiApplicationTest,
                        protected CommandExecutor,
                        protected SequenceRunnerView {
  protected:
    bool execute(Command& command, bool) override {
        executed.push_back(command.keyword().code().value());
        return true;
    }
    void killAllPlayers() override {}
    void resetParameters() override {}
    void selectRow(int) override {}
    void makeCurrent(int) override {}
    void showRunButtonText(const QString&) override {}
    void sequenceEnded() override { ended = true; }

    std::vector<std::uint32_t> executed;
    bool ended = false;
};

TEST_F(ShippedDataTest, TheDemoRunsAboutAMinuteWithItsBracketRepeated) {
    NodeList<Command> demo = makeDemoSequence();
    VirtualClock clock;
    FrameClock frameClock(clock);
    frameClock.begin();
    SequenceRunner runner(demo, frameClock, *this, *this);
    runner.startFromSelection(-1);
    std::uint32_t now = 0;
    while (!ended && now < 600000) {
        now += 10;
        clock.set(now);
        frameClock.readNow();
        runner.tick();
    }
    ASSERT_TRUE(ended);
    EXPECT_GE(now, 50000u);
    EXPECT_LE(now, 70000u);

    const auto count = [&](Keyword keyword) {
        return std::count(executed.begin(), executed.end(), CommandKeyword(keyword).code().value());
    };
    EXPECT_EQ(count(Keyword::Repeat), 1) << "the bracket's last pass runs the RPET";
    EXPECT_EQ(count(Keyword::KillAll), 1);
    EXPECT_GE(count(Keyword::Solo), 10) << "bracketed commands ran more than once";
}

TEST_F(ShippedDataTest, TheDemoShowsTextAndAPictureNamedAfterTheirContent) {
    NodeList<Command> demo = makeDemoSequence();
    int texts = 0;
    int pictures = 0;
    const double spacing = SimulationGeometry().degreesPerLampColumn();
    for (const Command& command : demo) {
        texts += command.contentKind() == content_kind::Rich;
        if (command.contentKind() == content_kind::Picture) {
            // Stored as the form would have built it: one lamp spacing per column.
            ++pictures;
            EXPECT_NEAR(command.parameters().width, 16 * spacing, 1e-9);
        }
        if (command.contentKind() != content_kind::None) {
            EXPECT_FALSE(command.name().empty()) << "the name follows the content";
        }
    }
    EXPECT_GE(texts, 7);
    EXPECT_EQ(pictures, 1);
    // The fitted title is scaled up from its natural height.
    EXPECT_GT(demo.at(0)->parameters().heightAdjustment, 0);
    EXPECT_NE(demo.at(0)->parameters().width, PlayerParameters{}.width);
}

TEST_F(ShippedDataTest, ThePresetsHoldTheTwoTheProgramUsesInNameOrder) {
    const NodeList<Command> presets = makeDefaultPresets();
    std::vector<QString> names;
    for (const Command& preset : presets) {
        names.push_back(QString::fromStdString(preset.name()));
        EXPECT_EQ(preset.keyword(), CommandKeyword(Keyword::Change));
        EXPECT_FALSE(preset.nameFollowsContent());
        EXPECT_EQ(preset.contentKind(), content_kind::None);
    }
    EXPECT_NE(std::find(names.begin(), names.end(), "Static"), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), "Scrolling - very long text"), names.end());
    EXPECT_GE(names.size(), 5u);
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    }));
}

}  // namespace
}  // namespace rova
