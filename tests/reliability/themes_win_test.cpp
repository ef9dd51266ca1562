// Damaged copies of the sample theme (the same cut and bit-flipped copies the pure parser
// meets) through the Windows loader: each written to a file and set as the ThemeFile of a
// TsuiFileTheme whose form has a skinned frame and a skinned popup menu, which then take
// their look from it and are painted. Each copy must be refused with its message (the
// theme loaded before staying in force) or loaded and drawn; a picture that cannot be
// read may be reported as an error, but nothing may crash.
#include "damaged_themes.h"
#include "tests/support/core/round_counts.h"

#include "gui/win/bitmap.h"
#include "gui/win/form.h"
#include "skin/menus/file_theme.h"
#include "skin/menus/sui_popup_menu.h"
#include "skin/sui_form.h"

#include "tests/gui/win/app_test_support.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace nestora::reliability {
namespace {

namespace fs = std::filesystem;
using skin::TsuiUIStyle;

struct Tally {
    int loaded = 0;
    int refused = 0;
    int pictureErrors = 0; // loaded, but a picture in it was reported unreadable
    int painted = 0;
    int reports = 0; // message boxes the application showed while painting
};

class DamagedThemesOnWindows : public gui::testing::AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        folder = fs::temp_directory_path() /
                 (L"nestora-reliability-themes-" + std::to_wstring(::GetCurrentProcessId()));
        fs::create_directories(folder);
        sample = ReadWholeFile(NESTORA_SAMPLE_THEME);
        samplePath = (folder / L"sample.theme").wstring();
        Write(samplePath, sample);

        form = gui::Create<gui::TForm>(app.get());
        form->SetBounds(100, 80, 240, 160);
        frame = gui::Create<skin::TsuiForm>(form);
        popup = gui::Create<skin::TsuiPopupMenu>(form);
        popup->Items().AddItem(L"&Show");
        popup->Items().AddItem(L"-");
        popup->Items().AddItem(L"E&xit")->SetChecked(true);
        theme = gui::Create<skin::TsuiFileTheme>(form);
        frame->SetFileTheme(theme);
        frame->SetUIStyle(TsuiUIStyle::FromThemeFile);
        popup->SetFileTheme(theme);
        popup->SetUIStyle(TsuiUIStyle::FromThemeFile);
        theme->SetThemeFile(samplePath);
        form->Show();
    }
    void TearDown() override {
        if (form)
            form->Free();
        AppTest::TearDown();
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    static void Write(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
        std::ofstream out(fs::path(path), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }

    // One copy through the component; then the form and a menu item are painted.
    void TryCopy(const std::vector<std::uint8_t>& bytes, const std::string& what, Tally& tally) {
        SCOPED_TRACE(what);
        const std::wstring path =
            (folder / (L"copy-" + std::to_wstring(++copies) + L".theme")).wstring();
        Write(path, bytes);
        const std::wstring before = theme->ThemeFile();
        try {
            theme->SetThemeFile(path);
            ++tally.loaded;
            EXPECT_EQ(theme->ThemeFile(), path);
        } catch (const skin::EsuiThemeFileError& error) {
            ++tally.refused;
            EXPECT_EQ(error.FileName(), path);
            EXPECT_NE(error.Message().find(fs::path(path).filename().wstring()),
                      std::wstring::npos);
            EXPECT_EQ(theme->ThemeFile(), before) << "the theme in force stays";
        } catch (const gui::EInvalidGraphic&) {
            // The file's layout was sound, a picture in it was not: reported, as the
            // application's handler would show it.
            ++tally.loaded;
            ++tally.pictureErrors;
        }
        EXPECT_TRUE(theme->ThemeLoaded());
        Paint(tally);
        std::error_code ignored;
        fs::remove(path, ignored);
    }
    void Paint(Tally& tally) {
        const std::size_t boxesBefore = boxes.size();
        ::RedrawWindow(form->Handle(), nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        // Whatever a failed paint left invalid comes back now.
        Pump(5);
        gui::TBitmap row;
        row.SetPixelFormat(gui::TPixelFormat::pf24bit);
        row.SetSize(120, 21);
        try {
            popup->DrawMenuItem(popup->Items().Items(2), row.Canvas(), {0, 0, 120, 21}, true);
        } catch (const gui::EInvalidGraphic&) {
            ++tally.pictureErrors;
        }
        // A picture that fails is reported once, not at every repaint in a storm.
        EXPECT_LE(boxes.size(), boxesBefore + 1);
        tally.reports += static_cast<int>(boxes.size() - boxesBefore);
        boxes.clear();
        ++tally.painted;
    }

    fs::path folder;
    std::vector<std::uint8_t> sample;
    std::wstring samplePath;
    gui::TForm* form = nullptr;
    skin::TsuiForm* frame = nullptr;
    skin::TsuiPopupMenu* popup = nullptr;
    skin::TsuiFileTheme* theme = nullptr;
    int copies = 0;
};

TEST_F(DamagedThemesOnWindows, CutCopiesAreRefusedAndTheSampleStaysInForce) {
    ASSERT_TRUE(theme->ThemeLoaded());
    const std::size_t count = static_cast<std::size_t>(nestora::testing::Rounds({100, 2000}));
    Tally tally;
    for (std::size_t i = 0; i < count; ++i)
        TryCopy(CutCopy(sample, i, count), "cut copy " + std::to_string(i), tally);
    std::printf("[ COUNTS   ] %zu cut copies through TsuiFileTheme: %d loaded, %d refused, "
                "%d painted after\n",
                count, tally.loaded, tally.refused, tally.painted);
    EXPECT_EQ(tally.refused, static_cast<int>(count));
    EXPECT_EQ(theme->ThemeFile(), samplePath);
    EXPECT_EQ(frame->BorderColor(), 0x00204A1Au) << "the sample's look, still";
}

TEST_F(DamagedThemesOnWindows, FlippedCopiesAreLoadedAndDrawnOrRefused) {
    const FlippedCopies flipped(sample);
    const int count = nestora::testing::Rounds({100, 10000});
    Tally tally;
    std::string what;
    for (int i = 0; i < count; ++i) {
        const auto bytes = flipped.copy(static_cast<std::size_t>(i), what);
        TryCopy(bytes, what, tally);
    }
    std::printf("[ COUNTS   ] %d bit-flipped copies through TsuiFileTheme: %d loaded (%d with "
                "a picture reported unreadable), %d refused, %d painted after (%d paint "
                "errors reported)\n",
                count, tally.loaded, tally.pictureErrors, tally.refused, tally.painted,
                tally.reports);
    EXPECT_EQ(tally.loaded + tally.refused, count);
    EXPECT_EQ(tally.painted, count);
    EXPECT_GT(tally.loaded, 0);
    EXPECT_GT(tally.refused, 0);
}

} // namespace
} // namespace nestora::reliability
