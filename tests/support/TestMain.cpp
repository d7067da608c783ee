#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

// Gives the whole test process its own home, settings and data folders, so no test reads or
// writes the user's, and removes them when the process ends.
class IsolatedFolders : public ::testing::Environment {
  public:
    void SetUp() override {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "rova-test-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            FAIL() << "cannot create a temporary folder";
        }
        root_ = pattern;
        setenv("HOME", root_.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);
        setenv("XDG_DATA_HOME", (root_ / "data").c_str(), 1);
        setenv("XDG_CACHE_HOME", (root_ / "cache").c_str(), 1);
        // mkdtemp made the folder private to the user, as a runtime folder must be; a running
        // Rova's hand-over socket lives there.
        setenv("XDG_RUNTIME_DIR", root_.c_str(), 1);
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }

  private:
    std::filesystem::path root_;
};

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new IsolatedFolders);
    return RUN_ALL_TESTS();
}
