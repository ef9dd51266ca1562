// The artwork generator's output is what the frame and the menus load by name: every
// picture must exist under its resource name with the size and cell layout the frame
// relies on, the button states must be told apart, transparent buttons must carry their
// key colour where the frame looks for it, and the output must be byte-for-byte
// reproducible (the build embeds it and reviews diff it).
#include "bmp_file.h"
#include "gui/core/inflate.h"
#include "skin/style_table.h"
#include "skin_art_expectations.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using nestora::skin::StyleElement;
using nestora::skin::TsuiUIStyle;
using nestora::testing::DecodeBmp;
using nestora::testing::DecodeIco;
using nestora::testing::Picture;
using nestora::testing::Pixel;
using nestora::testing::ReadFileBytes;

namespace {

fs::path FreshDir(const std::string& name) {
    fs::path dir =
        fs::temp_directory_path() / ("nestora-skingen-" + name + "-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

int RunSkingen(const std::string& arguments) {
    const std::string cmd = std::string(SKINGEN_PATH) + " " + arguments + " 2>/dev/null";
    const int status = std::system(cmd.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Narrow(std::wstring_view w) {
    std::string s;
    for (wchar_t c : w)
        s.push_back(static_cast<char>(c));
    return s;
}

using FrameSizes = nestora::testing::FrameArtSizes;
constexpr const auto& kFrameSizes = nestora::testing::kFrameArtSizes;

int DifferingPixels(const Picture& p, int cellA, int cellB, int cell) {
    int n = 0;
    for (int y = 0; y < cell; ++y)
        for (int x = 0; x < cell; ++x)
            if (!(p.at(cellA * cell + x, y) == p.at(cellB * cell + x, y)))
                ++n;
    return n;
}

class SkingenOutput : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new fs::path(FreshDir("out"));
        ASSERT_EQ(RunSkingen("'" + dir_->string() + "'"), 0);
    }
    static void TearDownTestSuite() {
        fs::remove_all(*dir_);
        delete dir_;
        dir_ = nullptr;
    }

    static Picture Bitmap(const std::string& name) {
        std::string error;
        const auto p = DecodeBmp(ReadFileBytes(*dir_ / (name + ".bmp")), &error);
        if (!p) {
            ADD_FAILURE() << name << ": " << error;
            return {};
        }
        return *p;
    }

    static Picture BitmapOf(TsuiUIStyle style, StyleElement element) {
        return Bitmap(Narrow(nestora::skin::StyleBitmapName(style, element)));
    }

    // Resource name -> (type, file name), from the generated .rc fragment.
    static std::map<std::string, std::pair<std::string, std::string>>
    ResourceScript(const char* script = "skin_art.rc") {
        std::ifstream rc(*dir_ / script);
        std::map<std::string, std::pair<std::string, std::string>> entries;
        std::string line;
        while (std::getline(rc, line)) {
            if (line.empty() || line.rfind("//", 0) == 0)
                continue;
            std::istringstream fields(line);
            std::string name, type, file;
            fields >> name >> type >> file;
            EXPECT_TRUE(entries.count(name) == 0) << "listed twice: " << name;
            EXPECT_GE(file.size(), 2u) << line;
            entries[name] = {type, file.substr(1, file.size() - 2)};
        }
        return entries;
    }

    static fs::path* dir_;
};

fs::path* SkingenOutput::dir_ = nullptr;

TEST(Skingen, OutputIsByteForByteReproducible) {
    const fs::path a = FreshDir("a"), b = FreshDir("b");
    ASSERT_EQ(RunSkingen("'" + a.string() + "'"), 0);
    ASSERT_EQ(RunSkingen("'" + b.string() + "'"), 0);
    std::size_t files = 0;
    for (const auto& entry : fs::directory_iterator(a)) {
        ++files;
        const fs::path twin = b / entry.path().filename();
        ASSERT_TRUE(fs::exists(twin)) << twin;
        EXPECT_EQ(ReadFileBytes(entry.path()), ReadFileBytes(twin)) << entry.path().filename();
    }
    EXPECT_GE(files, 30u);
    fs::remove_all(a);
    fs::remove_all(b);
}

TEST(Skingen, RefusesBadArgumentsAndReportsUnwritableFolders) {
    EXPECT_EQ(RunSkingen(""), 2);
    EXPECT_EQ(RunSkingen("--contact-sheet"), 2);
    EXPECT_EQ(RunSkingen("--bogus x"), 2);
    EXPECT_EQ(RunSkingen("/nonexistent-folder/for-skingen"), 1);
    EXPECT_EQ(RunSkingen("--contact-sheet /nonexistent-folder/sheet.bmp"), 1);
}

TEST(Skingen, ContactSheetIsAPicture) {
    const fs::path dir = FreshDir("sheet");
    ASSERT_EQ(RunSkingen("--contact-sheet '" + (dir / "sheet.bmp").string() + "'"), 0);
    std::string error;
    const auto sheet = DecodeBmp(ReadFileBytes(dir / "sheet.bmp"), &error);
    ASSERT_TRUE(sheet) << error;
    // Wide enough for the widest strip enlarged three times (378 x 3).
    EXPECT_GT(sheet->width, 3 * 378);
    EXPECT_GT(sheet->height, 1000);
    fs::remove_all(dir);
}

TEST_F(SkingenOutput, EveryFrameBitmapOfTheTableExistsWithItsSize) {
    for (const FrameSizes& f : kFrameSizes) {
        const Picture strip = BitmapOf(f.style, StyleElement::TitleBarButtonImage);
        EXPECT_EQ(strip.width, 18 * f.cell) << static_cast<int>(f.style);
        EXPECT_EQ(strip.height, f.cell) << static_cast<int>(f.style);
        const std::pair<StyleElement, const int*> pictures[] = {
            {StyleElement::TitleBarLeftImage, f.left},
            {StyleElement::TitleBarClientImage, f.client},
            {StyleElement::TitleBarRightImage, f.right},
        };
        for (const auto& [element, size] : pictures) {
            const Picture p = BitmapOf(f.style, element);
            EXPECT_EQ(p.width, size[0]) << Narrow(StyleBitmapName(f.style, element));
            EXPECT_EQ(p.height, size[1]) << Narrow(StyleBitmapName(f.style, element));
            EXPECT_EQ(p.bitsPerPixel, 24) << Narrow(StyleBitmapName(f.style, element));
        }
    }
}

TEST_F(SkingenOutput, FixedBitmapsExistWithTheirSizes) {
    for (const auto& f : nestora::testing::kFixedBitmaps) {
        const Picture p = Bitmap(f.name);
        EXPECT_EQ(p.width, f.width) << f.name;
        EXPECT_EQ(p.height, f.height) << f.name;
        EXPECT_EQ(p.bitsPerPixel, f.bitsPerPixel) << f.name;
    }
}

TEST_F(SkingenOutput, ResourceScriptListsExactlyTheFilesWritten) {
    const auto entries = ResourceScript();
    std::set<std::string> listedFiles;
    for (const auto& [name, entry] : entries) {
        const auto& [type, file] = entry;
        EXPECT_TRUE(type == "BITMAP" || type == "ICON") << name;
        EXPECT_TRUE(fs::exists(*dir_ / file)) << file;
        listedFiles.insert(file);
        if (type == "BITMAP") {
            EXPECT_EQ(file, name + ".bmp");
        }
    }
    for (const auto& [name, entry] : ResourceScript("skin_art_packed.rc"))
        listedFiles.insert(entry.second);
    for (const auto& entry : fs::directory_iterator(*dir_)) {
        const std::string file = entry.path().filename().string();
        if (file != "skin_art.rc" && file != "skin_art_packed.rc") {
            EXPECT_TRUE(listedFiles.count(file)) << "written but not listed: " << file;
        }
    }
    // What the program loads by name must be in the script.
    for (const FrameSizes& f : kFrameSizes)
        for (StyleElement e : {StyleElement::TitleBarButtonImage, StyleElement::TitleBarLeftImage,
                               StyleElement::TitleBarClientImage, StyleElement::TitleBarRightImage})
            EXPECT_EQ(entries.count(Narrow(StyleBitmapName(f.style, e))), 1u);
    for (const char* name : {"MAINICON", "TRAYICON", "MENU_CHECKED", "MACOS_MENU_BAR",
                             "MACOS_MENU_SELECT", "MACOS_FORM_BACKGROUND",
                             "PROTEIN_FORM_BACKGROUND", "IMG_EXIT", "IMG_SHOWWIN", "IMG_FOLDER"})
        EXPECT_EQ(entries.count(name), 1u) << name;
    EXPECT_EQ(entries.at("MAINICON").first, "ICON");
    EXPECT_EQ(entries.at("TRAYICON").first, "ICON");
}

// The program embeds the packed script: the same names, the icons as they are, every bitmap
// deflated to its BITMAP resource's bytes (the .bmp file after its 14-byte header).
TEST_F(SkingenOutput, PackedScriptHoldsEveryBitmapDeflatedToTheSameBytes) {
    const auto plain = ResourceScript();
    const auto packed = ResourceScript("skin_art_packed.rc");
    ASSERT_EQ(packed.size(), plain.size());
    std::size_t plainBytes = 0, packedBytes = 0;
    for (const auto& [name, entry] : plain) {
        ASSERT_EQ(packed.count(name), 1u) << name;
        const auto& [type, file] = packed.at(name);
        if (entry.first == "ICON") {
            EXPECT_EQ(packed.at(name), entry) << name;
            continue;
        }
        EXPECT_EQ(type, "PACKEDDIB") << name;
        EXPECT_EQ(file, name + ".dibz");
        const std::vector<std::uint8_t> bmp = ReadFileBytes(*dir_ / entry.second);
        const std::vector<std::uint8_t> deflated = ReadFileBytes(*dir_ / file);
        const auto inflated = nestora::gui::Inflate(deflated, bmp.size());
        ASSERT_TRUE(inflated.has_value()) << name;
        ASSERT_EQ(inflated->size() + 14, bmp.size()) << name;
        EXPECT_TRUE(std::equal(inflated->begin(), inflated->end(), bmp.begin() + 14, bmp.end()))
            << name;
        plainBytes += bmp.size();
        packedBytes += deflated.size();
    }
    // The point of packing: the artwork is 226 KB plain and about 31 KB packed.
    EXPECT_LT(packedBytes * 5, plainBytes);
}

TEST_F(SkingenOutput, TheThreeStatesOfEveryButtonAreVisiblyDifferent) {
    for (const FrameSizes& f : kFrameSizes) {
        const Picture strip = BitmapOf(f.style, StyleElement::TitleBarButtonImage);
        ASSERT_EQ(strip.width, 18 * f.cell);
        const int cellArea = f.cell * f.cell;
        for (int glyph = 0; glyph < 6; ++glyph) {
            const int normal = glyph * 3, over = normal + 1, pressed = normal + 2;
            // A tenth of the cell at least: a few stray pixels don't make a visible change.
            EXPECT_GT(DifferingPixels(strip, normal, over, f.cell), cellArea / 10)
                << "style " << static_cast<int>(f.style) << " glyph " << glyph;
            EXPECT_GT(DifferingPixels(strip, normal, pressed, f.cell), cellArea / 10)
                << "style " << static_cast<int>(f.style) << " glyph " << glyph;
            EXPECT_GT(DifferingPixels(strip, over, pressed, f.cell), cellArea / 10)
                << "style " << static_cast<int>(f.style) << " glyph " << glyph;
        }
        // And the six glyphs differ from each other in their normal state.
        for (int a = 0; a < 6; ++a)
            for (int b = a + 1; b < 6; ++b)
                EXPECT_GT(DifferingPixels(strip, a * 3, b * 3, f.cell), 4)
                    << "style " << static_cast<int>(f.style) << " glyphs " << a << ", " << b;
    }
}

TEST_F(SkingenOutput, TransparentButtonsCarryOneKeyColourAtEveryCellsBottomLeft) {
    for (const FrameSizes& f : kFrameSizes) {
        if (!nestora::skin::GetStyleBool(f.style, StyleElement::TitleBarButtonTransparentBool))
            continue;
        const Picture strip = BitmapOf(f.style, StyleElement::TitleBarButtonImage);
        const Pixel key = strip.at(0, f.cell - 1);
        for (int cell = 0; cell < 18; ++cell) {
            const int x0 = cell * f.cell;
            EXPECT_EQ(strip.at(x0, f.cell - 1), key) << "cell " << cell + 1;
            // The frame leaves out the key colour: the button itself must not contain it,
            // and the corners around a round button must show it.
            EXPECT_FALSE(strip.at(x0 + f.cell / 2, f.cell / 2) == key) << "cell " << cell + 1;
            EXPECT_EQ(strip.at(x0, 0), key) << "cell " << cell + 1;
            EXPECT_EQ(strip.at(x0 + f.cell - 1, 0), key) << "cell " << cell + 1;
        }
    }
}

TEST_F(SkingenOutput, OpaqueButtonsSitOnTheBarWithoutASeam) {
    for (const FrameSizes& f : kFrameSizes) {
        if (nestora::skin::GetStyleBool(f.style, StyleElement::TitleBarButtonTransparentBool))
            continue;
        const Picture strip = BitmapOf(f.style, StyleElement::TitleBarButtonImage);
        const Picture client = BitmapOf(f.style, StyleElement::TitleBarClientImage);
        const int top = nestora::skin::GetStyleInt(f.style, StyleElement::TitleBarButtonTopInt);
        ASSERT_GE(top, 0);
        for (int cell = 0; cell < 18; ++cell) {
            // The cell's corner pixels are the bar at the rows where the frame puts it.
            const int x0 = cell * f.cell;
            EXPECT_EQ(strip.at(x0, 0), client.at(0, top)) << "cell " << cell + 1;
            EXPECT_EQ(strip.at(x0, f.cell - 1), client.at(0, top + f.cell - 1))
                << "cell " << cell + 1;
        }
    }
}

TEST_F(SkingenOutput, TitlePicturesStretchAndMeetCleanly) {
    for (const FrameSizes& f : kFrameSizes) {
        const Picture left = BitmapOf(f.style, StyleElement::TitleBarLeftImage);
        const Picture client = BitmapOf(f.style, StyleElement::TitleBarClientImage);
        const Picture right = BitmapOf(f.style, StyleElement::TitleBarRightImage);
        ASSERT_EQ(left.height, client.height);
        ASSERT_EQ(right.height, client.height);
        for (int y = 0; y < client.height; ++y) {
            // Stretched horizontally: every row one colour.
            for (int x = 1; x < client.width; ++x)
                ASSERT_EQ(client.at(x, y), client.at(0, y))
                    << "style " << static_cast<int>(f.style);
            // The left picture's inner end and the right picture's inner end are the bar.
            EXPECT_EQ(left.at(left.width - 1, y), client.at(0, y))
                << "style " << static_cast<int>(f.style) << " row " << y;
            EXPECT_EQ(right.at(0, y), client.at(0, y))
                << "style " << static_cast<int>(f.style) << " row " << y;
        }
    }
}

// WCAG contrast ratio between two opaque colours (1 to 21).
double Contrast(const Pixel& a, const Pixel& b) {
    auto linear = [](std::uint8_t c) {
        const double v = c / 255.0;
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    auto luminance = [&](const Pixel& p) {
        return 0.2126 * linear(p.r) + 0.7152 * linear(p.g) + 0.0722 * linear(p.b);
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST_F(SkingenOutput, CaptionTextStandsOutFromTheBar) {
    // The program draws the caption in black on MacOS and in white on the other looks,
    // over the rows of the buttons, starting just right of the control box. Bold caption
    // text needs a contrast of 3 at least.
    const Pixel black{0, 0, 0, 255}, white{255, 255, 255, 255};
    for (const FrameSizes& f : kFrameSizes) {
        const Pixel ink = f.style == TsuiUIStyle::MacOS ? black : white;
        const int top = nestora::skin::GetStyleInt(f.style, StyleElement::TitleBarButtonTopInt);
        const Picture left = BitmapOf(f.style, StyleElement::TitleBarLeftImage);
        const Picture client = BitmapOf(f.style, StyleElement::TitleBarClientImage);
        for (int y = top + 2; y < top + f.cell - 2; ++y) {
            EXPECT_GE(Contrast(ink, left.at(30, y)), 3.0)
                << "style " << static_cast<int>(f.style) << " row " << y;
            // Protein's bar is light: its caption runs on the red ribbon of the left picture.
            if (f.style != TsuiUIStyle::Protein) {
                EXPECT_GE(Contrast(ink, client.at(0, y)), 3.0)
                    << "style " << static_cast<int>(f.style) << " row " << y;
            }
        }
    }
}

TEST_F(SkingenOutput, MenuBitmapsHaveTheirStripes) {
    const Picture bar = Bitmap("MACOS_MENU_BAR");
    ASSERT_EQ(bar.height, 22);
    for (int y = 1; y < 20; ++y)
        EXPECT_FALSE(bar.at(0, y) == bar.at(0, y - 1)) << "stripe " << y;
    // The two bottom rows are darker than everything above them.
    for (int y = 0; y < 20; ++y) {
        EXPECT_LT(bar.at(0, 20).r, bar.at(0, y).r);
        EXPECT_LT(bar.at(0, 21).r, bar.at(0, 20).r);
    }
    const Picture select = Bitmap("MACOS_MENU_SELECT");
    for (int y = 0; y < select.height; ++y) {
        EXPECT_GT(select.at(0, y).b, select.at(0, y).r + 60) << "blue at row " << y;
        if (y > 0) {
            EXPECT_FALSE(select.at(0, y) == select.at(0, y - 1)) << "stripe " << y;
        }
    }
}

TEST_F(SkingenOutput, CheckMarkIsGreenOnTheWhiteMaskColour) {
    const Picture tick = Bitmap("MENU_CHECKED");
    const Pixel white{255, 255, 255, 255};
    int green = 0, mask = 0;
    for (const Pixel& p : tick.pixels) {
        if (p == white)
            ++mask;
        else if (p.g > p.r + 40 && p.g > p.b + 40)
            ++green;
    }
    EXPECT_EQ(tick.at(0, 0), white);
    EXPECT_EQ(tick.at(15, 15), white);
    EXPECT_GT(mask, 256 / 2);
    EXPECT_GT(green, 12);
}

TEST_F(SkingenOutput, IconsAndMenuPicturesHaveAlpha) {
    std::string error;
    const auto tray = DecodeIco(ReadFileBytes(*dir_ / "tray.ico"), &error);
    ASSERT_TRUE(tray) << error;
    ASSERT_EQ(tray->size(), 1u);
    const auto mainIcon = DecodeIco(ReadFileBytes(*dir_ / "nestora.ico"), &error);
    ASSERT_TRUE(mainIcon) << error;
    ASSERT_EQ(mainIcon->size(), 3u);
    EXPECT_EQ((*mainIcon)[0].width, 16);
    EXPECT_EQ((*mainIcon)[1].width, 32);
    EXPECT_EQ((*mainIcon)[2].width, 48);

    std::vector<Picture> pictures(*tray);
    pictures.insert(pictures.end(), mainIcon->begin(), mainIcon->end());
    for (const char* name : {"IMG_EXIT", "IMG_SHOWWIN", "IMG_FOLDER"})
        pictures.push_back(Bitmap(name));
    for (const Picture& p : pictures) {
        EXPECT_EQ(p.bitsPerPixel, 32);
        EXPECT_EQ(p.width, p.height);
        int clear = 0, solid = 0, soft = 0;
        for (const Pixel& px : p.pixels) {
            clear += px.a == 0;
            solid += px.a == 255;
            soft += px.a > 0 && px.a < 255;
        }
        EXPECT_GT(clear, 0) << p.width;
        EXPECT_GT(solid, p.width * p.height / 4) << p.width;
        EXPECT_GT(soft, 0) << "anti-aliased edges, " << p.width;
    }
    // The tray icon is the yellow folder with a red tick.
    int yellow = 0, red = 0;
    for (const Pixel& px : (*tray)[0].pixels) {
        if (px.a < 200)
            continue;
        yellow += px.r > 200 && px.g > 150 && px.b < 120;
        red += px.r > 150 && px.g < 90 && px.b < 90;
    }
    EXPECT_GT(yellow, 20);
    EXPECT_GT(red, 8);
}

} // namespace
