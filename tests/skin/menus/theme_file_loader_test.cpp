// Reading theme files from disk, and the holder of the loaded theme: a load that fails,
// for whatever reason, leaves the theme in force as it was.
#include "skin/menus/theme_file_error.h"
#include "skin/menus/theme_file_loader.h"
#include "skin/menus/theme_file_slot.h"

#include "theme_file_cases.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

using namespace nestora::theme_test;
using nestora::skin::ThemeFileError;
using nestora::skin::ThemeFileFault;

class ThemeFileOnDisk : public testing::Test {
protected:
    void SetUp() override {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        folder_ = fs::temp_directory_path() / (std::string("nestora-theme-") + info->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    fs::path Write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        const fs::path path = folder_ / name;
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    fs::path folder_;
};

TEST_F(ThemeFileOnDisk, LoadsAWholeFile) {
    const fs::path path = Write("green.theme", RichTheme());
    const nestora::skin::ThemeFile theme = nestora::skin::LoadThemeFile(path);
    EXPECT_EQ(theme.Color(L"MenuBarColor"), 0x00CFE3D2);
    EXPECT_EQ(theme.FileSize(), RichTheme().size());
    EXPECT_EQ(theme.FileName(), path.wstring());
}

TEST_F(ThemeFileOnDisk, ReadsEmptyFilesAsEmptyAndTheParserRefusesThem) {
    const fs::path path = Write("empty.theme", {});
    EXPECT_TRUE(nestora::skin::ReadThemeFileBytes(path).empty());
    try {
        nestora::skin::LoadThemeFile(path);
        FAIL() << "an empty file loaded";
    } catch (const ThemeFileError& e) {
        EXPECT_EQ(e.Fault(), ThemeFileFault::Empty);
        EXPECT_EQ(e.Message(),
                  L"Theme file '" + path.wstring() + L"' is damaged: the file is empty");
    }
}

TEST_F(ThemeFileOnDisk, AMissingFileIsReportedAsUnreadable) {
    const fs::path path = folder_ / "absent.theme";
    try {
        nestora::skin::LoadThemeFile(path);
        FAIL() << "a missing file loaded";
    } catch (const ThemeFileError& e) {
        EXPECT_EQ(e.Fault(), ThemeFileFault::Unreadable);
        EXPECT_EQ(e.Message(),
                  L"Theme file '" + path.wstring() + L"' cannot be read: it cannot be opened");
    }
}

TEST_F(ThemeFileOnDisk, AFolderIsNotATheme) {
    // Whether opening a folder fails at once or only its reading does depends on the
    // system; either way it must come out as a ThemeFileError, never as a theme.
    fs::create_directories(folder_ / "folder.theme");
    EXPECT_THROW(nestora::skin::LoadThemeFile(folder_ / "folder.theme"), ThemeFileError);
}

TEST_F(ThemeFileOnDisk, FilesOverTheSizeLimitAreRefusedBeforeReading) {
    const auto bytes = RichTheme();
    const fs::path path = Write("big.theme", bytes);
    EXPECT_NO_THROW(nestora::skin::LoadThemeFile(path, bytes.size()));
    try {
        nestora::skin::LoadThemeFile(path, bytes.size() - 1);
        FAIL() << "a file over the limit loaded";
    } catch (const ThemeFileError& e) {
        EXPECT_EQ(e.Fault(), ThemeFileFault::TooLarge);
        EXPECT_EQ(e.Message(), L"Theme file '" + path.wstring() + L"' is too large: " +
                                   std::to_wstring(bytes.size()) + L" bytes, more than the " +
                                   std::to_wstring(bytes.size() - 1) + L" a theme may have");
    }
}

TEST(ThemeFileSlot, GivesTheNoThemeDefaultsUntilAFileLoads) {
    nestora::skin::ThemeFileSlot slot;
    EXPECT_FALSE(slot.Loaded());
    EXPECT_EQ(slot.Current(), nullptr);
    EXPECT_EQ(slot.Color(L"MenuBarColor"), 0);
    EXPECT_EQ(slot.Integer(L"FormMinWidthInt"), 0);
    EXPECT_FALSE(slot.Flag(L"TitleBarButtonTransparentBool"));
    EXPECT_FALSE(slot.Bitmap(L"TitleBarLeftImage").has_value());
}

TEST(ThemeFileSlot, GivesTheFilesValuesAndMinusOneForMissingKeysOnceLoaded) {
    nestora::skin::ThemeFileSlot slot;
    slot.Load(RichTheme(), L"rich.theme");
    ASSERT_TRUE(slot.Loaded());
    EXPECT_EQ(slot.Color(L"MenuBarColor"), 0x00CFE3D2);
    EXPECT_EQ(slot.Integer(L"TitleBarButtonTopInt"), -4);
    EXPECT_TRUE(slot.Flag(L"TitleBarButtonTransparentBool"));
    EXPECT_TRUE(slot.Bitmap(L"TitleBarLeftImage").has_value());
    EXPECT_EQ(slot.Color(L"NoSuchKey"), -1);
    EXPECT_EQ(slot.Integer(L"NoSuchKey"), -1);
    EXPECT_FALSE(slot.Flag(L"NoSuchKey"));
    slot.Clear();
    EXPECT_FALSE(slot.Loaded());
    EXPECT_EQ(slot.Color(L"MenuBarColor"), 0);
}

TEST(ThemeFileSlot, ADamagedFileLeavesThePreviousThemeInForce) {
    nestora::skin::ThemeFileSlot slot;
    slot.Load(RichTheme(), L"good.theme");
    for (const DamagedCase& c : DamagedCases()) {
        EXPECT_THROW(slot.Load(c.bytes, L"bad.theme"), ThemeFileError) << c.name;
        ASSERT_TRUE(slot.Loaded()) << c.name;
        EXPECT_EQ(slot.Current()->FileName(), L"good.theme") << c.name;
        EXPECT_EQ(slot.Color(L"MenuBarColor"), 0x00CFE3D2) << c.name;
    }
}

TEST_F(ThemeFileOnDisk, AnUnreadableFileLeavesThePreviousThemeInForce) {
    nestora::skin::ThemeFileSlot slot;
    slot.LoadFile(Write("good.theme", RichTheme()));
    EXPECT_THROW(slot.LoadFile(folder_ / "absent.theme"), ThemeFileError);
    ASSERT_TRUE(slot.Loaded());
    EXPECT_EQ(slot.Color(L"MenuBarColor"), 0x00CFE3D2);
}

TEST(ThemeFileSlot, AGoodFileReplacesTheTheme) {
    nestora::skin::ThemeFileSlot slot;
    slot.Load(RichTheme(), L"first.theme");
    slot.Load(ChainedTheme({IntegerEntry("MenuBarColor", 0x00010203)}), L"second.theme");
    EXPECT_EQ(slot.Current()->FileName(), L"second.theme");
    EXPECT_EQ(slot.Color(L"MenuBarColor"), 0x00010203);
    EXPECT_FALSE(slot.Bitmap(L"TitleBarLeftImage").has_value());
}

} // namespace
