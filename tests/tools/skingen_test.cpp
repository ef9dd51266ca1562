// The artwork generator's output is what the frame and the menus load by name: every
// picture must exist under its resource name with the size and cell layout the frame
// relies on, the button states must be told apart, transparent buttons must carry their
// key colour where the frame looks for it, and the output must be byte-for-byte
// reproducible (the build embeds it and reviews diff it).
#include "bmp_file.h"
#include "compact_bmp.h"
#include "gui/core/bitmap_format.h"
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

    // scale 2: the picture drawn at twice the size, carried under the name plus "_2X".
    static Picture BitmapOf(TsuiUIStyle style, StyleElement element, int scale = 1) {
        return Bitmap(Narrow(nestora::skin::StyleBitmapName(style, element)) +
                      (scale == 2 ? "_2X" : ""));
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

// At 2x every picture is exactly twice as wide and high, so a strip still cuts into 18
// equal cells and the frame's arithmetic only doubles.
TEST_F(SkingenOutput, EveryFrameBitmapOfTheTableExistsWithItsSize) {
    for (int scale : {1, 2})
        for (const FrameSizes& f : kFrameSizes) {
            const Picture strip = BitmapOf(f.style, StyleElement::TitleBarButtonImage, scale);
            EXPECT_EQ(strip.width, 18 * f.cell * scale) << static_cast<int>(f.style);
            EXPECT_EQ(strip.height, f.cell * scale) << static_cast<int>(f.style);
            const std::pair<StyleElement, const int*> pictures[] = {
                {StyleElement::TitleBarLeftImage, f.left},
                {StyleElement::TitleBarClientImage, f.client},
                {StyleElement::TitleBarRightImage, f.right},
            };
            for (const auto& [element, size] : pictures) {
                const Picture p = BitmapOf(f.style, element, scale);
                const std::string name = Narrow(StyleBitmapName(f.style, element));
                EXPECT_EQ(p.width, size[0] * scale) << name << " at " << scale;
                EXPECT_EQ(p.height, size[1] * scale) << name << " at " << scale;
                EXPECT_EQ(p.bitsPerPixel, 24) << name << " at " << scale;
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
        // 14: RT_GROUP_ICON, a group directory over another icon's images.
        EXPECT_TRUE(type == "BITMAP" || type == "ICON" || type == "14") << name;
        EXPECT_TRUE(fs::exists(*dir_ / file)) << file;
        listedFiles.insert(file);
        if (type == "BITMAP") {
            EXPECT_EQ(file, name + ".compact.bmp");
            // The picture as drawn goes beside it, for review and as the reference.
            EXPECT_TRUE(fs::exists(*dir_ / (name + ".bmp"))) << name;
            listedFiles.insert(name + ".bmp");
        }
    }
    for (const auto& entry : fs::directory_iterator(*dir_)) {
        const std::string file = entry.path().filename().string();
        if (file != "skin_art.rc") {
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
    EXPECT_EQ(entries.at("TRAYICON").first, "14");
}

// The program carries every bitmap as a BITMAP resource at the fewest bits that hold it:
// read back by the framework's decoder it is the picture as drawn, pixel for pixel; an
// opaque picture of at most 256 colours has a colour table of the fewest bits that index
// them, and the run-length forms are chosen where they are smaller.
TEST_F(SkingenOutput, CarriedBitmapsAreThePicturesAsDrawnAtTheirFewestBits) {
    std::size_t drawnBytes = 0, carriedBytes = 0; // of the pictures a colour table can hold
    std::set<int> compressions;
    for (const auto& [name, entry] : ResourceScript()) {
        if (entry.first != "BITMAP")
            continue;
        const std::vector<std::uint8_t> drawnFile = ReadFileBytes(*dir_ / (name + ".bmp"));
        const std::vector<std::uint8_t> carriedFile = ReadFileBytes(*dir_ / entry.second);
        std::string error;
        const auto drawn = DecodeBmp(drawnFile, &error);
        ASSERT_TRUE(drawn) << name << ": " << error;
        const nestora::gui::DecodedBitmap carried = nestora::gui::DecodeBmpFile(carriedFile);
        ASSERT_EQ(carried.width, drawn->width) << name;
        ASSERT_EQ(carried.height, drawn->height) << name;
        std::set<std::uint32_t> colours;
        int mismatches = 0;
        for (int y = 0; y < drawn->height; ++y)
            for (int x = 0; x < drawn->width; ++x) {
                const Pixel& want = drawn->at(x, y);
                const std::uint32_t rgb = std::uint32_t{want.r} << 16 | want.g << 8 | want.b;
                const std::uint32_t got =
                    carried.pixels[static_cast<std::size_t>(y * drawn->width + x)];
                mismatches += drawn->bitsPerPixel == 32 ? got != (rgb | std::uint32_t{want.a} << 24)
                                                        : (got & 0xFFFFFF) != rgb;
                colours.insert(rgb);
            }
        EXPECT_EQ(mismatches, 0) << name;
        const int bits = carriedFile[28] | carriedFile[29] << 8;
        const int compression = carriedFile[30];
        compressions.insert(compression);
        if (drawn->bitsPerPixel == 32) {
            EXPECT_EQ(bits, 32) << name << " keeps its alpha";
        } else if (colours.size() <= 256) {
            const int fewest = colours.size() <= 2 ? 1 : colours.size() <= 16 ? 4 : 8;
            if (bits == 24) {
                // Only where a colour table costs more than it saves (a narrow gradient).
                const std::int64_t table = 54 + 4 * static_cast<std::int64_t>(colours.size()) +
                                           nestora::gui::DibRowBytes(drawn->width, fewest) * drawn->height;
                EXPECT_LT(static_cast<std::int64_t>(carriedFile.size()), table) << name;
            } else {
                EXPECT_TRUE(bits == fewest || (compression != 0 && bits <= 8))
                    << name << ": " << colours.size() << " colours at " << bits << " bits";
            }
        }
        EXPECT_LE(carriedFile.size(), drawnFile.size()) << name;
        if (drawn->bitsPerPixel == 24 && colours.size() <= 256) {
            drawnBytes += drawnFile.size();
            carriedBytes += carriedFile.size();
        }
    }
    // Title sections are runs of one colour per row.
    EXPECT_TRUE(compressions.count(1));
    EXPECT_LT(carriedBytes * 10, drawnBytes) << carriedBytes << " of " << drawnBytes;
}

// The encoder on pictures made for each form it chooses between.
TEST(CompactBmp, EachFormIsChosenWhereItIsSmallestAndReadsBackExactly) {
    using nestora::skingen::Canvas;
    using nestora::skingen::Rgb;
    const auto check = [](const Canvas& c, int wantBits, int wantCompression) {
        const nestora::skingen::Bytes file = nestora::skingen::EncodeCompactBmp(c);
        EXPECT_EQ(file[28] | file[29] << 8, wantBits);
        EXPECT_EQ(file[30], wantCompression);
        const nestora::gui::DecodedBitmap back = nestora::gui::DecodeBmpFile(file);
        ASSERT_EQ(back.width, c.Width());
        ASSERT_EQ(back.height, c.Height());
        for (int y = 0; y < c.Height(); ++y)
            for (int x = 0; x < c.Width(); ++x) {
                const nestora::skingen::Rgba p = c.at(x, y);
                ASSERT_EQ(back.pixels[static_cast<std::size_t>(y * c.Width() + x)] & 0xFFFFFF,
                          std::uint32_t{p.r} << 16 | p.g << 8 | p.b)
                    << x << "," << y << " of " << wantBits << "/" << wantCompression;
            }
    };
    // Two colours in a fine checkerboard: one bit each, no runs to gain from.
    Canvas checker(16, 16, Rgb(0xFFFFFF));
    for (int y = 0; y < 16; ++y)
        for (int x = (y % 2); x < 16; x += 2)
            checker.at(x, y) = Rgb(0x102030);
    check(checker, 1, 0);
    // Three colours in long bands, with a short odd stretch (a literal of three): BI_RLE4.
    Canvas bands(200, 6, Rgb(0xFF0000));
    bands.FillRect(0, 2, 200, 4, Rgb(0x00FF00));
    bands.FillRect(0, 4, 200, 6, Rgb(0x0000FF));
    bands.at(7, 0) = Rgb(0x00FF00);
    bands.at(8, 0) = Rgb(0x0000FF);
    bands.at(9, 0) = Rgb(0x00FF00);
    check(bands, 4, 2);
    // Forty colours, one per row, repeated along it: BI_RLE8.
    Canvas gradient(300, 40);
    for (int y = 0; y < 40; ++y)
        gradient.FillRect(0, y, 300, y + 1, Rgb(static_cast<std::uint32_t>(y * 0x060402)));
    gradient.at(5, 3) = Rgb(0x010101);
    gradient.at(6, 3) = Rgb(0x020202);
    gradient.at(7, 3) = Rgb(0x030303);
    gradient.at(8, 3) = Rgb(0x040404);
    check(gradient, 8, 1);
    // More than 256 colours: true colour.
    Canvas many(20, 20);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            many.at(x, y) = Rgb(static_cast<std::uint32_t>(x * 0x0C0000 + y * 0x000C00 + 1));
    check(many, 24, 0);
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
    for (int scale : {1, 2})
        for (const FrameSizes& f : kFrameSizes) {
            if (!nestora::skin::GetStyleBool(f.style, StyleElement::TitleBarButtonTransparentBool))
                continue;
            const Picture strip = BitmapOf(f.style, StyleElement::TitleBarButtonImage, scale);
            const int n = f.cell * scale;
            const Pixel key = strip.at(0, n - 1);
            for (int cell = 0; cell < 18; ++cell) {
                const int x0 = cell * n;
                EXPECT_EQ(strip.at(x0, n - 1), key) << "cell " << cell + 1 << " at " << scale;
                // The frame leaves out the key colour: the button itself must not contain
                // it, and the corners around a round button must show it.
                EXPECT_FALSE(strip.at(x0 + n / 2, n / 2) == key)
                    << "cell " << cell + 1 << " at " << scale;
                EXPECT_EQ(strip.at(x0, 0), key) << "cell " << cell + 1 << " at " << scale;
                EXPECT_EQ(strip.at(x0 + n - 1, 0), key) << "cell " << cell + 1 << " at " << scale;
            }
        }
}

TEST_F(SkingenOutput, OpaqueButtonsSitOnTheBarWithoutASeam) {
    for (int scale : {1, 2})
        for (const FrameSizes& f : kFrameSizes) {
            if (nestora::skin::GetStyleBool(f.style, StyleElement::TitleBarButtonTransparentBool))
                continue;
            const Picture strip = BitmapOf(f.style, StyleElement::TitleBarButtonImage, scale);
            const Picture client = BitmapOf(f.style, StyleElement::TitleBarClientImage, scale);
            const int top =
                nestora::skin::GetStyleInt(f.style, StyleElement::TitleBarButtonTopInt) * scale;
            const int n = f.cell * scale;
            ASSERT_GE(top, 0);
            for (int cell = 0; cell < 18; ++cell) {
                // The cell's corner pixels are the bar at the rows where the frame puts it.
                const int x0 = cell * n;
                EXPECT_EQ(strip.at(x0, 0), client.at(0, top))
                    << "cell " << cell + 1 << " at " << scale;
                EXPECT_EQ(strip.at(x0, n - 1), client.at(0, top + n - 1))
                    << "cell " << cell + 1 << " at " << scale;
            }
        }
}

TEST_F(SkingenOutput, TitlePicturesStretchAndMeetCleanly) {
    for (int scale : {1, 2})
        for (const FrameSizes& f : kFrameSizes) {
            const Picture left = BitmapOf(f.style, StyleElement::TitleBarLeftImage, scale);
            const Picture client = BitmapOf(f.style, StyleElement::TitleBarClientImage, scale);
            const Picture right = BitmapOf(f.style, StyleElement::TitleBarRightImage, scale);
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
    const auto mainIcon = DecodeIco(ReadFileBytes(*dir_ / "nestora.ico"), &error);
    ASSERT_TRUE(mainIcon) << error;
    ASSERT_EQ(mainIcon->size(), 7u);

    std::vector<Picture> pictures(*mainIcon);
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
    // The tray icon (whose group shows these images) is the yellow folder with a red tick.
    int yellow = 0, red = 0;
    for (const Pixel& px : (*mainIcon)[0].pixels) {
        if (px.a < 200)
            continue;
        yellow += px.r > 200 && px.g > 150 && px.b < 120;
        red += px.r > 150 && px.g < 90 && px.b < 90;
    }
    EXPECT_GT(yellow, 20);
    EXPECT_GT(red, 8);
}

// Every bitmap the program carries has its twice-the-size picture beside it under its name
// plus "_2X" (what the frame looks for above 1x), and no 2x picture is without its 1x one.
TEST_F(SkingenOutput, EveryBitmapHasItsPictureAtTwiceTheSize) {
    const auto entries = ResourceScript();
    int pairs = 0;
    for (const auto& [name, entry] : entries) {
        if (entry.first != "BITMAP")
            continue;
        if (name.size() > 3 && name.compare(name.size() - 3, 3, "_2X") == 0) {
            EXPECT_EQ(entries.count(name.substr(0, name.size() - 3)), 1u) << name;
            continue;
        }
        ASSERT_EQ(entries.count(name + "_2X"), 1u) << name;
        EXPECT_EQ(entries.at(name + "_2X").first, "BITMAP") << name;
        const Picture one = Bitmap(name), two = Bitmap(name + "_2X");
        EXPECT_EQ(two.width, 2 * one.width) << name;
        EXPECT_EQ(two.height, 2 * one.height) << name;
        EXPECT_EQ(two.bitsPerPixel, one.bitsPerPixel) << name;
        ++pairs;
    }
    EXPECT_EQ(pairs, 5 * 4 + static_cast<int>(nestora::testing::kFixedBitmaps.size()));
}

// The 2 by 2 blocks (at even positions) whose four pixels are not all one colour: a picture
// enlarged by repeating its pixels has none.
int MixedBlocks(const Picture& p) {
    int mixed = 0;
    for (int y = 0; y + 1 < p.height; y += 2)
        for (int x = 0; x + 1 < p.width; x += 2) {
            const Pixel& a = p.at(x, y);
            mixed += !(p.at(x + 1, y) == a && p.at(x, y + 1) == a && p.at(x + 1, y + 1) == a);
        }
    return mixed;
}

// The runs of exactly one colour along row y between x0 and x1: (start, length).
std::vector<std::pair<int, int>> RunsOf(const Picture& p, int y, int x0, int x1, Pixel colour) {
    std::vector<std::pair<int, int>> runs;
    for (int x = x0; x < x1; ++x) {
        if (!(p.at(x, y) == colour))
            continue;
        if (!runs.empty() && runs.back().first + runs.back().second == x)
            ++runs.back().second;
        else
            runs.push_back({x, 1});
    }
    return runs;
}

// The 2x pictures are drawn again at the larger size, not enlarged from the 1x ones: the
// buttons' round edges and diagonals are sampled at every pixel (an enlargement repeats
// pixels in 2 by 2 blocks), and a line one pixel wide at 1x is exactly two pixels wide at
// 2x and just as sharp (a smoothing enlargement leaves no pixel of the pure stroke colour,
// or blends its neighbours).
TEST_F(SkingenOutput, TwicePicturesAreDrawnAgainNotEnlarged) {
    for (const FrameSizes& f : kFrameSizes) {
        const Picture strip = BitmapOf(f.style, StyleElement::TitleBarButtonImage, 2);
        const int blocks = (strip.width / 2) * (strip.height / 2);
        EXPECT_GT(MixedBlocks(strip), blocks / 20) << "style " << static_cast<int>(f.style);
    }
    // The sides of the maximise glyph: white strokes one pixel wide on these looks' buttons.
    const Pixel white{255, 255, 255, 255};
    for (const FrameSizes& f : kFrameSizes) {
        if (f.style != TsuiUIStyle::DeepBlue && f.style != TsuiUIStyle::WinXP)
            continue;
        const Picture one = BitmapOf(f.style, StyleElement::TitleBarButtonImage, 1);
        const Picture two = BitmapOf(f.style, StyleElement::TitleBarButtonImage, 2);
        const int maximise = 6; // the maximise glyph's normal state, cell 7
        const int y = f.cell / 2;
        const auto thin = RunsOf(one, y, maximise * f.cell, (maximise + 1) * f.cell, white);
        ASSERT_EQ(thin.size(), 2u) << "style " << static_cast<int>(f.style);
        std::vector<std::pair<int, int>> doubled;
        for (const auto& [start, length] : thin) {
            EXPECT_EQ(length, 1) << "style " << static_cast<int>(f.style);
            doubled.push_back({2 * start, 2 * length});
        }
        for (int row : {2 * y, 2 * y + 1})
            EXPECT_EQ(RunsOf(two, row, 2 * maximise * f.cell, 2 * (maximise + 1) * f.cell, white),
                      doubled)
                << "style " << static_cast<int>(f.style) << " row " << row;
    }
}

// Windows picks the icon image of the size it asks for (the small icon at 125 % is 20, the
// large at 150 % 48 ...): the program's icon carries every size, each drawn at that size,
// and the tray's group lists the same seven images by the numbers the resource compiler
// gives them (1 to 7, MAINICON being the script's first icon), entry for entry as
// MAINICON's directory describes them.
TEST_F(SkingenOutput, BothIconGroupsHoldTheSevenSizesEachDrawnAtItsSize) {
    std::string error;
    const std::vector<std::uint8_t> file = ReadFileBytes(*dir_ / "nestora.ico");
    const auto images = DecodeIco(file, &error);
    ASSERT_TRUE(images) << error;
    std::vector<int> sizes;
    for (const Picture& p : *images) {
        EXPECT_EQ(p.width, p.height);
        sizes.push_back(p.width);
    }
    EXPECT_EQ(sizes, (std::vector<int>{16, 20, 24, 32, 40, 48, 64}));
    // The 64-pixel image is not the 32-pixel one enlarged.
    ASSERT_EQ(images->size(), 7u);
    EXPECT_GT(MixedBlocks(images->back()), 32 * 32 / 4);

    // The numbers hold only while MAINICON is the script's one icon with images.
    std::ifstream script(*dir_ / "skin_art.rc");
    std::vector<std::string> iconsWithImages;
    for (std::string line; std::getline(script, line);) {
        std::istringstream fields(line);
        std::string name, type;
        fields >> name >> type;
        if (type == "ICON")
            iconsWithImages.push_back(name);
    }
    EXPECT_EQ(iconsWithImages, (std::vector<std::string>{"MAINICON"}));
    const auto rc = ResourceScript();
    const std::vector<std::uint8_t> group = ReadFileBytes(*dir_ / rc.at("TRAYICON").second);
    ASSERT_EQ(group.size(), 6u + 7u * 14u);
    EXPECT_EQ(group[2] | group[3] << 8, 1); // icons
    EXPECT_EQ(group[4] | group[5] << 8, 7);
    for (int n = 0; n < 7; ++n) {
        const std::uint8_t* entry = group.data() + 6 + 14 * n;
        const std::uint8_t* fileEntry = file.data() + 6 + 16 * n;
        // Size, colours, planes, bits and the image's byte count as in the file ...
        EXPECT_TRUE(std::equal(entry, entry + 12, fileEntry)) << "entry " << n;
        // ... and the resource number of MAINICON's image in place of its file offset.
        EXPECT_EQ(entry[12] | entry[13] << 8, n + 1) << "entry " << n;
    }
}

std::uint64_t Fnv1a(const std::vector<std::uint8_t>& bytes) {
    std::uint64_t h = 14695981039346656037ull;
    for (std::uint8_t b : bytes)
        h = (h ^ b) * 1099511628211ull;
    return h;
}

// The pictures at 1x are what every display at 100 % shows and what the frame's pixel tests
// were written against; drawing them through the scaled canvas must leave every byte as it
// was. The digests are of the files as drawn; a deliberate change of the artwork changes
// them in the same commit.
TEST_F(SkingenOutput, OneXPicturesAreByteForByteAsBefore) {
    const std::map<std::string, std::uint64_t> pinned = {
        {"BLUEGLASS_TITLEBTN", 0xaed6b0ea6dcd14e2ull},
        {"BLUEGLASS_TITLE_CLIENT", 0x529fe52ddc31eabaull},
        {"BLUEGLASS_TITLE_LEFT", 0xae5c527c86b89f60ull},
        {"BLUEGLASS_TITLE_RIGHT", 0x76c86d514a4a8187ull},
        {"DEEPBLUE_TITLEBTN", 0xd130cf98b4555d71ull},
        {"DEEPBLUE_TITLE_CLIENT", 0x22c21b87b323e91full},
        {"DEEPBLUE_TITLE_LEFT", 0x8ed470f08b585b95ull},
        {"DEEPBLUE_TITLE_RIGHT", 0xd0976d0268bf756aull},
        {"IMG_EXIT", 0x1095d77ff5ab3565ull},
        {"IMG_FOLDER", 0xf542b2b2f4b8cce7ull},
        {"IMG_SHOWWIN", 0x7313712996754731ull},
        {"MACOS_FORM_BACKGROUND", 0x5422bbf8213b362dull},
        {"MACOS_MENU_BAR", 0xc92e37357575905dull},
        {"MACOS_MENU_SELECT", 0x16fcf61b25325955ull},
        {"MACOS_TITLEBTN", 0x4b383d461b0d18baull},
        {"MACOS_TITLE_CLIENT", 0xcd38b8e2d9537e91ull},
        {"MACOS_TITLE_LEFT", 0x7b05e91c34971bdbull},
        {"MACOS_TITLE_RIGHT", 0x2eee645f2b197bb5ull},
        {"MENU_CHECKED", 0x7a2ed3b698616affull},
        {"PROTEIN_FORM_BACKGROUND", 0x97c0b3782575b93dull},
        {"PROTEIN_TITLEBTN", 0x2f32843b1dc24a32ull},
        {"PROTEIN_TITLE_CLIENT", 0x83cc14547868317cull},
        {"PROTEIN_TITLE_LEFT", 0x177b82c8c745c748ull},
        {"PROTEIN_TITLE_RIGHT", 0x83cc14547868317cull},
        {"WINXP_TITLEBTN", 0xb1357a11d8fd093aull},
        {"WINXP_TITLE_CLIENT", 0x3cd3795e1eb93081ull},
        {"WINXP_TITLE_LEFT", 0x0dbc3c773077d5ddull},
        {"WINXP_TITLE_RIGHT", 0x35abda0b48a66662ull},
    };
    std::map<std::string, std::uint64_t> now;
    for (const auto& [name, entry] : ResourceScript())
        if (entry.first == "BITMAP" && name.find("_2X") == std::string::npos)
            now[name] = Fnv1a(ReadFileBytes(*dir_ / (name + ".bmp")));
    EXPECT_EQ(now.size(), pinned.size());
    for (const auto& [name, digest] : pinned)
        EXPECT_EQ(now[name], digest) << name << " is not the picture it was";
}

} // namespace
