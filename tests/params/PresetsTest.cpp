#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "DocumentMessages.h"
#include "DocumentTestSupport.h"
#include "Presets.h"

namespace rova {
namespace {

using Names = std::vector<std::string>;

class PresetsTest : public ::testing::Test {
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
        Presets again(path, prompt);
        again.load(path);
        return again;
    }

    test::TempFolder folder;
    test::RecordingPrompt prompt;
    QString path = folder.path("Presets.rova");
    Presets presets{path, prompt};
};

TEST_F(PresetsTest, InsertSortedIgnoresCaseAndPutsTheNewestFirstAmongEqualNames) {
    EXPECT_EQ(presets.insertSorted(preset("beta")), 0);
    EXPECT_EQ(presets.insertSorted(preset("Alpha")), 0);
    EXPECT_EQ(presets.insertSorted(preset("alpha")), 0);
    EXPECT_EQ(presets.insertSorted(preset("Gamma")), 3);
    EXPECT_EQ(names(presets), (Names{"alpha", "Alpha", "beta", "Gamma"}));
    // The asterisks of a new preset sort before letters and digits.
    EXPECT_EQ(presets.storeNew(record(1.0)), 0);
    EXPECT_EQ(presets.at(0)->name(), "*** new preset ***");
    EXPECT_EQ(presets.at(0)->keyword(), CommandKeyword(Keyword::Change));
    EXPECT_EQ(presets.at(0)->contentKind(), content_kind::None);
    // Every insertion saved the list. Reading sorts the presets in again in file order, so of
    // two equal names the later one in the file comes first.
    EXPECT_EQ(names(reloaded()), (Names{"*** new preset ***", "Alpha", "alpha", "beta", "Gamma"}));
}

TEST_F(PresetsTest, FindGivesTheFirstPresetOfTheNameApartFromCase) {
    presets.insertSorted(preset("Static", 1.0));
    presets.insertSorted(preset("static", 2.0));
    presets.insertSorted(preset("Scrolling - very long text"));
    EXPECT_EQ(presets.find("STATIC"), 1);
    EXPECT_EQ(presets.at(presets.find("STATIC"))->parameters().origin, 2.0);
    EXPECT_EQ(presets.find("scrolling - VERY long text"), 0);
    EXPECT_EQ(presets.find("Stat"), -1);
    EXPECT_EQ(presets.find(""), -1);
}

TEST_F(PresetsTest, StoreOverwritesTheCurrentPresetWhichFollowsItsPlace) {
    presets.insertSorted(preset("a", 1.0));
    presets.insertSorted(preset("c", 3.0));
    presets.setCurrent(1);
    // A new preset sorts in before the current one; the current preset is still "c".
    EXPECT_EQ(presets.storeNew(record(9.0)), 0);
    EXPECT_EQ(presets.currentIndex(), 2);
    EXPECT_EQ(presets.store(record(7.0)), 2);
    EXPECT_EQ(names(presets), (Names{"*** new preset ***", "a", "c"}));
    EXPECT_EQ(presets.at(2)->parameters().origin, 7.0);
    EXPECT_EQ(presets.at(1)->parameters().origin, 1.0);
    EXPECT_EQ(reloaded().at(2)->parameters().origin, 7.0);

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

TEST_F(PresetsTest, SavedPresetsReloadWithTheirRecords) {
    auto slow = preset("Slow", 45.0);
    slow->parameters().originSpeed = -20.0;
    slow->parameters().deathType = 2;
    slow->parameters().reserved116 = 99;
    presets.insertSorted(std::move(slow));
    presets.insertSorted(preset("Fast", 10.0));

    const Presets again = reloaded();
    ASSERT_EQ(names(again), (Names{"Fast", "Slow"}));
    EXPECT_EQ(again.at(1)->parameters().toBytes(), presets.at(1)->parameters().toBytes());
    EXPECT_EQ(again.at(0)->parameters().origin, 10.0);
    EXPECT_EQ(again.at(1)->keyword(), CommandKeyword(Keyword::Change));
    EXPECT_TRUE(prompt.messages.isEmpty());
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
