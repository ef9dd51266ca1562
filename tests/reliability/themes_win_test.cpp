// Damaged copies of the sample theme (the same cut and bit-flipped copies the pure parser
// meets) through the Windows loader: each written to a file and set as the ThemeFile of a
// TsuiFileTheme whose form has a skinned frame and a skinned popup menu, which then take
// their look from it and are painted. A theme is applied whole or not at all: each copy must
// be refused with its message, the look in force staying exactly as it was, or loaded, the
// look then being exactly the one a new form gets from that file alone. Nothing may be
// reported while painting, and nothing may crash.
#include "damaged_themes.h"
#include "tests/support/core/round_counts.h"

#include "gui/win/bitmap.h"
#include "gui/win/canvas.h"
#include "gui/win/form.h"
#include "skin/menus/file_theme.h"
#include "skin/menus/sui_popup_menu.h"
#include "skin/sui_form.h"

#include "tests/gui/win/app_test_support.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <vector>

namespace nestora::reliability {
namespace {

namespace fs = std::filesystem;
using gui::TColor;
using skin::TsuiUIStyle;

struct Tally {
    int loaded = 0;
    int refused = 0;
    int painted = 0;
    int reports = 0; // message boxes the application showed while painting
};

// What a skinned form and its popup menu look like: the frame's numbers, the title bar
// drawn whole and a menu item drawn, as pixels. Two looks compare equal only when every
// part of them does, so a half-applied theme cannot pass for either the old or the new.
struct Look {
    TColor border = 0;
    int borderWidth = 0;
    TColor background = 0;
    int minWidth = 0;
    int barHeight = 0;
    std::vector<TColor> barPixels;
    std::vector<TColor> itemPixels;
    friend bool operator==(const Look&, const Look&) = default;
};

std::vector<TColor> PixelsOf(gui::TBitmap& bitmap) {
    std::vector<TColor> pixels;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            pixels.push_back(bitmap.Canvas().Pixel(x, y));
    return pixels;
}

// The form is put back to one size first: a theme's FormMinWidthInt may have widened it.
Look LookOf(gui::TForm& form, skin::TsuiForm& frame, skin::TsuiPopupMenu& popup) {
    form.SetBounds(100, 80, 240, 160);
    Look look;
    look.border = frame.BorderColor();
    look.borderWidth = frame.BorderWidth();
    look.background = frame.Color();
    look.minWidth = form.Constraints().MinWidth();
    skin::TsuiTitleBar& bar = frame.TitleBar();
    look.barHeight = bar.Height();
    bar.SetCursorSource([] { return std::optional<gui::TPoint>(); });
    bar.SetFormActive(true);
    gui::TBitmap drawn;
    drawn.SetPixelFormat(gui::TPixelFormat::pf24bit);
    drawn.SetSize(bar.Width(), bar.Height());
    bar.DrawTo(drawn.Canvas());
    look.barPixels = PixelsOf(drawn);
    gui::TBitmap row;
    row.SetPixelFormat(gui::TPixelFormat::pf24bit);
    row.SetSize(120, 21);
    popup.DrawMenuItem(popup.Items().Items(2), row.Canvas(), {0, 0, 120, 21}, true);
    look.itemPixels = PixelsOf(row);
    return look;
}

// A form with a skinned frame and popup menu, both in the theme of one file.
struct ThemedForm {
    gui::TForm* form = nullptr;
    skin::TsuiForm* frame = nullptr;
    skin::TsuiPopupMenu* popup = nullptr;
    skin::TsuiFileTheme* theme = nullptr;

    explicit ThemedForm(gui::TComponent* owner) {
        form = gui::Create<gui::TForm>(owner);
        form->SetBounds(100, 80, 240, 160);
        form->SetCaption(L"Themes");
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
    }
    Look CurrentLook() { return LookOf(*form, *frame, *popup); }
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

        themed = std::make_unique<ThemedForm>(app.get());
        form = themed->form;
        frame = themed->frame;
        popup = themed->popup;
        theme = themed->theme;
        theme->SetThemeFile(samplePath);
        form->Show();
        sampleLook = themed->CurrentLook();
        lookInForce = sampleLook;
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

    // The look a new form takes from the file alone.
    Look FreshLook(const std::wstring& path) {
        ThemedForm fresh(app.get());
        fresh.theme->SetThemeFile(path);
        Look look = fresh.CurrentLook();
        fresh.form->Free();
        return look;
    }

    // One copy through the component: refused with the look in force kept whole, or loaded
    // with the look a new form gets from it; then the form and a menu item are painted.
    void TryCopy(const std::vector<std::uint8_t>& bytes, const std::string& what, Tally& tally) {
        SCOPED_TRACE(what);
        const std::wstring path =
            (folder / (L"copy-" + std::to_wstring(++copies) + L".theme")).wstring();
        Write(path, bytes);
        const std::wstring before = theme->ThemeFile();
        bool loaded = false;
        try {
            theme->SetThemeFile(path);
            loaded = true;
        } catch (const skin::EsuiThemeFileError& error) {
            ++tally.refused;
            EXPECT_EQ(error.FileName(), path);
            EXPECT_NE(error.Message().find(fs::path(path).filename().wstring()),
                      std::wstring::npos);
            EXPECT_EQ(theme->ThemeFile(), before) << "the theme in force stays";
            EXPECT_TRUE(themed->CurrentLook() == lookInForce) << "a refused file changed the look";
        }
        if (loaded) {
            ++tally.loaded;
            EXPECT_EQ(theme->ThemeFile(), path);
            const Look look = themed->CurrentLook();
            EXPECT_TRUE(look == FreshLook(path)) << "the look is not the file's whole look";
            lookInForce = look;
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
        EXPECT_EQ(boxes.size(), boxesBefore) << "painting a theme that loaded reported an error";
        tally.reports += static_cast<int>(boxes.size() - boxesBefore);
        boxes.clear();
        ++tally.painted;
    }

    fs::path folder;
    std::unique_ptr<ThemedForm> themed;
    Look sampleLook;
    Look lookInForce;
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
    EXPECT_TRUE(themed->CurrentLook() == sampleLook);
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
    std::printf("[ COUNTS   ] %d bit-flipped copies through TsuiFileTheme: %d loaded whole, "
                "%d refused whole, %d painted after (%d paint errors reported)\n",
                count, tally.loaded, tally.refused, tally.painted, tally.reports);
    EXPECT_EQ(tally.loaded + tally.refused, count);
    EXPECT_EQ(tally.painted, count);
    EXPECT_GT(tally.loaded, 0);
    EXPECT_GT(tally.refused, 0);
    EXPECT_EQ(tally.reports, 0);
}

} // namespace
} // namespace nestora::reliability
