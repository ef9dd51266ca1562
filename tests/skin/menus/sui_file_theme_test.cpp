// Theme files on the Windows side: the reader and the manager over files on disk (first
// entry wins, flags and integers in their own lists, missing keys), the theme component
// (a bare name found beside the executable and read back as the full path, the same name
// twice reloading nothing, a name found nowhere changing nothing, a damaged file keeping
// the theme loaded before and naming file and fault), the four cases of ResolveStyle,
// the skinned frame and menus reading their look from a loaded theme and again after a new
// load, their fall back to DeepBlue when the theme goes, and the sample form's picture in
// the sample theme.
#include "skin/menus/file_theme.h"

#include "gui/win/application.h"
#include "gui/win/bitmap.h"
#include "gui/win/canvas.h"
#include "gui/win/form.h"
#include "gui/win/tool_bar.h"
#include "skin/menus/sui_main_menu.h"
#include "skin/menus/sui_popup_menu.h"
#include "skin/resolve_style.h"
#include "skin/sui_form.h"

#include "../../gui/win/app_test_support.h"
#include "../../gui/win/graphics_test_support.h"
#include "theme_file_cases.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace nestora::skin {
namespace {

using S = TsuiUIStyle;
using theme_test::ChainedTheme;
using theme_test::FlagEntry;
using theme_test::IntegerEntry;

namespace fs = std::filesystem;

void WriteFile(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path.string();
}

std::vector<std::uint8_t> GreenishTheme(std::int32_t selected) {
    return ChainedTheme(
        {IntegerEntry("MenuBarColor", 0x00A04A44), IntegerEntry("menubarcolor", 0x00010203),
         IntegerEntry("FormBorderColor", 0x00204A1A), IntegerEntry("FormBorderWidthInt", 2),
         IntegerEntry("FormBackgroundColor", 0x00E2EEE4),
         IntegerEntry("MenuSelectedBackgroundColor", selected),
         IntegerEntry("MenuSelectedBorderColor", 0x00306E2A),
         IntegerEntry("MenuSelectedFontColor", 0x00FFFFFF),
         IntegerEntry("MenuBackgroundColor", 0x00F2F9F3), IntegerEntry("MenuFontColor", 0x00183018),
         FlagEntry("TitleBarButtonTransparentBool", 2), FlagEntry("ButtonTransparentBool", 0)});
}

class FileThemeTest : public gui::testing::AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        folder = fs::temp_directory_path() / "nestora-theme-tests";
        fs::create_directories(folder);
        good = folder / "good.theme";
        WriteFile(good, GreenishTheme(0x004CA044));
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
        AppTest::TearDown();
    }
    fs::path folder;
    fs::path good;
};

TEST_F(FileThemeTest, TheManagerReadsElementsByKeyFirstEntryWinningListsApart) {
    TsuiFileThemeMgr manager;
    EXPECT_FALSE(manager.HasReader());
    EXPECT_EQ(manager.Color(StyleElement::MenuBarColor), 0u);
    EXPECT_FALSE(manager.Flag(StyleElement::TitleBarButtonTransparentBool));
    ASSERT_TRUE(manager.LoadThemeFile(good.wstring()));
    // The first of "MenuBarColor" and "menubarcolor" in chain order.
    EXPECT_EQ(manager.Color(StyleElement::MenuBarColor), 0x00A04A44u);
    EXPECT_EQ(manager.Int(StyleElement::FormBorderWidthInt), 2);
    // A flag byte of 2 is true, 0 false; an integer key asked as a flag is not found.
    EXPECT_TRUE(manager.Flag(StyleElement::TitleBarButtonTransparentBool));
    EXPECT_FALSE(manager.Flag(StyleElement::ButtonTransparentBool));
    EXPECT_FALSE(manager.Flag(StyleElement::MenuBarColor));
    // A key the file lacks.
    EXPECT_EQ(manager.Int(StyleElement::FormMinWidthInt), -1);
    gui::TBitmap untouched;
    untouched.SetSize(3, 4);
    manager.Bitmap(StyleElement::TitleBarLeftImage, untouched);
    EXPECT_EQ(untouched.Width(), 3);

    // No such file: false, and the loaded one stays.
    EXPECT_FALSE(manager.LoadThemeFile((folder / "missing.theme").wstring()));
    EXPECT_EQ(manager.Color(StyleElement::MenuBarColor), 0x00A04A44u);
}

TEST_F(FileThemeTest, ABitmapEntryLoadsIntoTheGraphic) {
    const fs::path withBitmap = folder / "bitmap.theme";
    WriteFile(withBitmap, ChainedTheme({theme_test::BitmapEntry(
                              "TitleBarLeftImage", theme_test::TinyBmp(0x000000FF, 0x0000FF00))}));
    TsuiFileThemeMgr manager;
    ASSERT_TRUE(manager.LoadThemeFile(withBitmap.wstring()));
    gui::TBitmap picture;
    manager.Bitmap(StyleElement::TitleBarLeftImage, picture);
    ASSERT_EQ(picture.Width(), 2);
    EXPECT_EQ(gui::testing::PixelOf(picture, 0, 0), 0x000000FFu);
    EXPECT_EQ(gui::testing::PixelOf(picture, 1, 0), 0x0000FF00u);
}

TEST_F(FileThemeTest, ResolveStyleInItsFourCases) {
    const gui::ComponentPtr<TsuiFileTheme> theme = gui::MakeComponent<TsuiFileTheme>();
    S resolved = S::WinXP;
    EXPECT_FALSE(ResolveStyle(nullptr, S::FromThemeFile, resolved));
    EXPECT_EQ(resolved, S::DeepBlue);
    EXPECT_FALSE(ResolveStyle(theme.get(), S::FromThemeFile, resolved)); // not loaded
    EXPECT_EQ(resolved, S::DeepBlue);
    theme->SetThemeFile(good.wstring());
    ASSERT_TRUE(theme->ThemeLoaded());
    EXPECT_TRUE(ResolveStyle(theme.get(), S::FromThemeFile, resolved));
    EXPECT_EQ(resolved, S::FromThemeFile);
    EXPECT_FALSE(ResolveStyle(theme.get(), S::MacOS, resolved));
    EXPECT_EQ(resolved, S::MacOS);
    EXPECT_EQ(AsFileTheme(theme.get()), theme.get());
    EXPECT_EQ(AsFileTheme(nullptr), nullptr);
    const gui::ComponentPtr<TsuiPopupMenu> notATheme = gui::MakeComponent<TsuiPopupMenu>();
    EXPECT_EQ(AsFileTheme(notATheme.get()), nullptr);
}

TEST_F(FileThemeTest, TheSameNameTwiceReloadsNothingAndAMissingNameChangesNothing) {
    const gui::ComponentPtr<TsuiFileTheme> theme = gui::MakeComponent<TsuiFileTheme>();
    theme->SetThemeFile(good.wstring());
    EXPECT_EQ(theme->ThemeFile(), good.wstring());
    EXPECT_EQ(theme->GetFileThemeColor(StyleElement::MenuSelectedBackgroundColor), 0x004CA044u);
    WriteFile(good, GreenishTheme(0x00112233));
    theme->SetThemeFile(good.wstring());
    EXPECT_EQ(theme->GetFileThemeColor(StyleElement::MenuSelectedBackgroundColor), 0x004CA044u);

    theme->SetThemeFile(L"no-such-nestora.theme");
    EXPECT_EQ(theme->ThemeFile(), good.wstring());
    EXPECT_TRUE(theme->ThemeLoaded());
    EXPECT_EQ(theme->GetFileThemeColor(StyleElement::MenuSelectedBackgroundColor), 0x004CA044u);
}

TEST_F(FileThemeTest, ABareNameIsFoundBesideTheExecutableAndReadBackAsTheFullPath) {
    const fs::path besideExe =
        fs::path(gui::TApplication::ExeName()).parent_path() / "nestora-beside-exe-test.theme";
    WriteFile(besideExe, GreenishTheme(0x00445566));
    ASSERT_FALSE(fs::exists("nestora-beside-exe-test.theme")) << "must not lie in the folder "
                                                                 "the test runs in";
    const gui::ComponentPtr<TsuiFileTheme> theme = gui::MakeComponent<TsuiFileTheme>();
    theme->SetThemeFile(L"nestora-beside-exe-test.theme");
    std::error_code ignored;
    fs::remove(besideExe, ignored);
    EXPECT_TRUE(theme->ThemeLoaded());
    EXPECT_EQ(theme->ThemeFile(), besideExe.wstring());
    EXPECT_EQ(theme->GetFileThemeColor(StyleElement::MenuSelectedBackgroundColor), 0x00445566u);
}

TEST_F(FileThemeTest, ADamagedFileKeepsTheThemeLoadedBeforeAndNamesFileAndFault) {
    const gui::ComponentPtr<TsuiFileTheme> theme = gui::MakeComponent<TsuiFileTheme>();
    theme->SetThemeFile(good.wstring());
    const fs::path damaged = folder / "damaged.theme";
    std::vector<std::uint8_t> bytes = GreenishTheme(0x00998877);
    theme_test::PutU32(bytes, 12, 99); // the header length
    WriteFile(damaged, bytes);
    try {
        theme->SetThemeFile(damaged.wstring());
        ADD_FAILURE() << "a damaged file loaded";
    } catch (const EsuiThemeFileError& error) {
        EXPECT_EQ(error.FileName(), damaged.wstring());
        EXPECT_EQ(error.Fault(), ThemeFileFault::HeaderLength);
        EXPECT_FALSE(error.Message().empty());
    }
    EXPECT_EQ(theme->ThemeFile(), good.wstring());
    EXPECT_TRUE(theme->ThemeLoaded());
    EXPECT_EQ(theme->GetFileThemeColor(StyleElement::MenuSelectedBackgroundColor), 0x004CA044u);

    // From a window description's or a handler's point of view it is an ordinary error:
    // the application's handler shows its text.
    WriteFile(damaged, {1, 2, 3});
    EXPECT_THROW(theme->SetThemeFile(damaged.wstring()), gui::Exception);
}

// --- components reading their look from the theme ----------------------------------------------

class ThemedForm : public FileThemeTest {
protected:
    void SetUp() override {
        FileThemeTest::SetUp();
        form = gui::Create<gui::TForm>(app.get());
        form->SetBorderStyle(gui::TFormBorderStyle::bsSingle);
        form->SetBounds(120, 90, 320, 200);
        form->SetCaption(L"Sample");
        frame = gui::Create<TsuiForm>(form);
        menu = gui::Create<TsuiMainMenu>(form);
        gui::TMenuItem* file = menu->Items().AddItem(L"&File");
        file->AddItem(L"&New");
        file->AddItem(L"&Open...")->SetShortCut(VK_F5);
        file->AddItem(L"-");
        file->AddItem(L"E&xit")->SetEnabled(false);
        menu->Items().AddItem(L"&View")->AddItem(L"&Status bar")->SetChecked(true);
        menu->Loaded();
        popup = gui::Create<TsuiPopupMenu>(form);
        theme = gui::Create<TsuiFileTheme>(form);
        frame->SetFileTheme(theme);
        frame->SetUIStyle(S::FromThemeFile);
        popup->SetFileTheme(theme);
        popup->SetUIStyle(S::FromThemeFile);
    }
    gui::TForm* form = nullptr;
    TsuiForm* frame = nullptr;
    TsuiMainMenu* menu = nullptr;
    TsuiPopupMenu* popup = nullptr;
    TsuiFileTheme* theme = nullptr;
};

TEST_F(ThemedForm, ALoadGivesTheFramesAndMenusTheThemesLookAndANewLoadGivesItAgain) {
    // Not loaded yet: DeepBlue.
    EXPECT_EQ(frame->BorderColor(), 0x00000000u);
    EXPECT_EQ(menu->SelectedColor(), 0x00A04A44u);
    EXPECT_EQ(menu->UIStyle(), S::FromThemeFile);

    theme->SetThemeFile(good.wstring());
    EXPECT_EQ(frame->BorderColor(), 0x00204A1Au);
    EXPECT_EQ(frame->BorderWidth(), 2);
    EXPECT_EQ(frame->Color(), 0x00E2EEE4u);
    EXPECT_EQ(frame->MenuBarColor(), 0x00E2EEE4u);
    EXPECT_EQ(menu->SelectedColor(), 0x004CA044u);
    EXPECT_EQ(menu->BarColor(), 0x00A04A44u);
    EXPECT_EQ(menu->FontColor(), 0x00183018u);
    EXPECT_EQ(popup->SelectedColor(), 0x004CA044u);
    EXPECT_EQ(popup->Color(), 0x00F2F9F3u);

    const fs::path other = folder / "other.theme";
    WriteFile(other, GreenishTheme(0x00112233));
    theme->SetThemeFile(other.wstring());
    EXPECT_EQ(menu->SelectedColor(), 0x00112233u);
    EXPECT_EQ(popup->SelectedColor(), 0x00112233u);
}

TEST_F(ThemedForm, RemovingTheThemeSwitchesItsUsersToDeepBlue) {
    theme->SetThemeFile(good.wstring());
    ASSERT_EQ(menu->SelectedColor(), 0x004CA044u);
    theme->Free();
    EXPECT_EQ(frame->FileTheme(), nullptr);
    EXPECT_EQ(frame->UIStyle(), S::DeepBlue);
    EXPECT_EQ(menu->FileTheme(), nullptr);
    EXPECT_EQ(menu->UIStyle(), S::DeepBlue);
    EXPECT_EQ(menu->SelectedColor(), 0x00A04A44u);
    EXPECT_EQ(popup->FileTheme(), nullptr);
    EXPECT_EQ(popup->UIStyle(), S::DeepBlue);
}

// A picture whose header passes for a BMP but which does not decode (13 bits per pixel):
// found while the file is read, before anything takes it up, so the frame keeps the whole
// look it had (its sections, its border, its menu colours) and the error names the file
// and the entry.
TEST_F(ThemedForm, AFileWithAPictureThatDoesNotDecodeIsRefusedAndTheLookStaysWhole) {
    const auto themeWith = [](std::uint32_t left, std::vector<std::uint8_t> right,
                              std::int32_t selected) {
        auto entries = std::vector<theme_test::RawEntry>{
            theme_test::BitmapEntry("TitleBarLeftImage", theme_test::TinyBmp(left, left)),
            theme_test::BitmapEntry("TitleBarRightImage", std::move(right)),
            IntegerEntry("FormBorderColor", 0x00204A1A),
            IntegerEntry("MenuSelectedBackgroundColor", selected)};
        return ChainedTheme(entries);
    };
    WriteFile(good, themeWith(0x000000FF, theme_test::TinyBmp(0x0000FF00, 0), 0x004CA044));
    theme->SetThemeFile(good.wstring());
    TsuiTitleBar& bar = frame->TitleBar();
    ASSERT_EQ(bar.Sections().Count(), 3);
    ASSERT_EQ(gui::testing::PixelOf(bar.Sections().Items(0)->Picture().Bitmap(), 0, 0),
              0x000000FFu);

    auto broken = theme_test::TinyBmp(0, 0);
    broken[28] = 13; // bits per pixel
    const fs::path damaged = folder / "broken-picture.theme";
    WriteFile(damaged, themeWith(0x00FF0000, broken, 0x00112233));
    try {
        theme->SetThemeFile(damaged.wstring());
        ADD_FAILURE() << "a file with a picture that does not decode loaded";
    } catch (const EsuiThemeFileError& error) {
        EXPECT_EQ(error.FileName(), damaged.wstring());
        EXPECT_EQ(error.Fault(), ThemeFileFault::PictureUnreadable);
        EXPECT_NE(error.Message().find(L"broken-picture.theme"), std::wstring::npos);
        EXPECT_NE(error.Message().find(L"'TitleBarRightImage'"), std::wstring::npos)
            << error.what();
    }
    EXPECT_EQ(theme->ThemeFile(), good.wstring());
    ASSERT_EQ(bar.Sections().Count(), 3);
    EXPECT_EQ(gui::testing::PixelOf(bar.Sections().Items(0)->Picture().Bitmap(), 0, 0),
              0x000000FFu);
    EXPECT_EQ(gui::testing::PixelOf(bar.Sections().Items(1)->Picture().Bitmap(), 0, 0),
              0x0000FF00u);
    EXPECT_EQ(frame->BorderColor(), 0x00204A1Au);
    EXPECT_EQ(menu->SelectedColor(), 0x004CA044u);
    EXPECT_EQ(popup->SelectedColor(), 0x004CA044u);
}

// The sample form in the committed sample theme ("green"), its File button pressed. With
// NESTORA_MAIN_MENU_PICTURES set, the screen's picture is written there.
TEST_F(ThemedForm, TheSampleFormInTheSampleTheme) {
    const std::string sample = NESTORA_SAMPLE_THEME;
    theme->SetThemeFile(std::wstring(sample.begin(), sample.end()));
    ASSERT_TRUE(theme->ThemeLoaded()) << NESTORA_SAMPLE_THEME;
    EXPECT_EQ(frame->BorderColor(), 0x00204A1Au);
    EXPECT_EQ(frame->BorderWidth(), 2);
    form->Show();
    gui::TToolBar* bar = frame->MenuBar();
    ASSERT_NE(bar, nullptr);
    const int command = bar->Buttons(0)->Command();
    ::SendMessageW(bar->Handle(), TB_PRESSBUTTON, static_cast<WPARAM>(command), TRUE);
    Pump(80);
    ::RedrawWindow(form->Handle(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump(150);
    gui::TBitmap shot;
    gui::testing::CopyFromScreen(form->Handle(), shot);
    const int h = shot.Height();
    RECT r{};
    ::GetWindowRect(form->Handle(), &r);
    // The theme's border on the left, its pressed-button fill under the File caption.
    EXPECT_EQ(shot.Canvas().Pixel(0, h / 2), 0x00204A1Au);
    const gui::TRect b = bar->Buttons(0)->BoundsRect();
    POINT p{b.Left + 1, b.Top + 1};
    ::ClientToScreen(bar->Handle(), &p);
    EXPECT_EQ(shot.Canvas().Pixel(p.x - r.left, p.y - r.top), 0x004CA044u);
    if (const char* dir = std::getenv("NESTORA_MAIN_MENU_PICTURES")) {
        const std::vector<std::uint8_t> bytes = shot.SaveToMemory();
        std::ofstream out(std::string(dir) + "\\main-menu-theme.bmp", std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        EXPECT_TRUE(out.good());
    }
}

} // namespace
} // namespace nestora::skin
