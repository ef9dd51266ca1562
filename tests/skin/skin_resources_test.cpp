// The built program carries every skin picture as a resource of its own module, the bitmaps
// as BITMAP resources at their fewest bits: each bitmap the frame and the menus load by
// name must load through the framework's loader (the one they use) with the size the frame
// lays itself out by, LoadBitmap and LoadImage must read the same pixels, and a state image
// cut from a strip must be the pixels of that cell. The pictures are linked into this test
// exactly as into nestora.exe.
#include "bmp_file.h"
#include "gui/core/exceptions.h"
#include "gui/win/bitmap.h"
#include "skin/style_table.h"
#include "skin_art_expectations.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <type_traits>
#include <vector>

namespace {

using nestora::skin::StyleElement;
using nestora::testing::kFixedBitmaps;
using nestora::testing::kFrameArtSizes;

struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using OwnedBitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiObjectDeleter>;

struct DcDeleter {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
using OwnedMemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter>;

struct IconDeleter {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
using OwnedIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

// Selects an object into a DC for the life of the scope, then puts the old one back.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~Selection() { SelectObject(dc_, old_); }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

HMODULE ThisModule() {
    return GetModuleHandleW(nullptr);
}

OwnedBitmap LoadSkinBitmap(const std::wstring& name) {
    nestora::gui::TBitmap bitmap;
    try {
        bitmap.LoadFromResourceName(ThisModule(), name);
    } catch (const nestora::gui::Exception&) {
        return OwnedBitmap();
    }
    return OwnedBitmap(bitmap.ReleaseHandle().release());
}

BITMAP SizeOf(HBITMAP bitmap) {
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    return info;
}

std::wstring Wide(const char* s) {
    return std::wstring(s, s + std::char_traits<char>::length(s));
}

// The generated pictures, as the build host wrote them. A Linux host's path is reached
// through Wine's Z: drive; a Windows host's path is used as it is.
std::filesystem::path ArtFile(const std::string& fileName) {
    std::string path = NESTORA_ART_DIR "/" + fileName;
    if (path.front() == '/')
        path = "Z:" + path;
    std::replace(path.begin(), path.end(), '/', '\\');
    return std::filesystem::path(path);
}

BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) {
    auto* names = reinterpret_cast<std::set<std::wstring>*>(param);
    if (!IS_INTRESOURCE(name))
        names->insert(name);
    return TRUE;
}

std::set<std::wstring> BitmapResourceNames() {
    std::set<std::wstring> names;
    EnumResourceNamesW(ThisModule(), RT_BITMAP, CollectName, reinterpret_cast<LONG_PTR>(&names));
    return names;
}

// The resource's own header: bits per pixel and compression.
std::pair<int, DWORD> StoredFormat(const std::wstring& name) {
    HRSRC found = FindResourceW(ThisModule(), name.c_str(), RT_BITMAP);
    HGLOBAL loaded = found ? LoadResource(ThisModule(), found) : nullptr;
    const auto* header =
        loaded ? static_cast<const BITMAPINFOHEADER*>(LockResource(loaded)) : nullptr;
    if (!header || SizeofResource(ThisModule(), found) < sizeof *header)
        return {0, 0};
    return {header->biBitCount, header->biCompression};
}

// Reads a loaded bitmap's pixels [x, x + width) x [0, height) as 32-bit top-down BGRA,
// by copying them into a DIB section the way a state image is cut out of its strip.
std::vector<RGBQUAD> CutCell(HBITMAP strip, int x, int width, int height) {
    OwnedMemoryDc source(CreateCompatibleDC(nullptr));
    OwnedMemoryDc target(CreateCompatibleDC(nullptr));
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height; // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    OwnedBitmap cell(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    std::vector<RGBQUAD> pixels(static_cast<std::size_t>(width * height));
    if (!source || !target || !cell)
        return {};
    {
        Selection fromStrip(source.get(), strip);
        Selection intoCell(target.get(), cell.get());
        if (!BitBlt(target.get(), 0, 0, width, height, source.get(), x, 0, SRCCOPY))
            return {};
    }
    if (GetDIBits(target.get(), cell.get(), 0, static_cast<UINT>(height), pixels.data(), &bi,
                  DIB_RGB_COLORS) != height)
        return {};
    return pixels;
}

TEST(SkinResources, EveryFramePictureOfTheTableLoadsWithItsSize) {
    const std::set<std::wstring> names = BitmapResourceNames();
    for (const auto& f : kFrameArtSizes) {
        const std::pair<StyleElement, std::pair<int, int>> expected[] = {
            {StyleElement::TitleBarButtonImage, {18 * f.cell, f.cell}},
            {StyleElement::TitleBarLeftImage, {f.left[0], f.left[1]}},
            {StyleElement::TitleBarClientImage, {f.client[0], f.client[1]}},
            {StyleElement::TitleBarRightImage, {f.right[0], f.right[1]}},
        };
        for (const auto& [element, size] : expected) {
            const std::wstring name(nestora::skin::StyleBitmapName(f.style, element));
            ASSERT_FALSE(name.empty());
            EXPECT_TRUE(names.count(name)) << std::string(name.begin(), name.end());
            const OwnedBitmap bitmap = LoadSkinBitmap(name);
            ASSERT_TRUE(bitmap) << std::string(name.begin(), name.end()) << " does not load";
            const BITMAP info = SizeOf(bitmap.get());
            EXPECT_EQ(info.bmWidth, size.first) << std::string(name.begin(), name.end());
            EXPECT_EQ(info.bmHeight, size.second) << std::string(name.begin(), name.end());
        }
    }
}

TEST(SkinResources, BitmapsLoadedByFixedNameLoadWithTheirSize) {
    for (const auto& f : kFixedBitmaps) {
        const OwnedBitmap bitmap = LoadSkinBitmap(Wide(f.name));
        ASSERT_TRUE(bitmap) << f.name << " does not load";
        const BITMAP info = SizeOf(bitmap.get());
        EXPECT_EQ(info.bmWidth, f.width) << f.name;
        EXPECT_EQ(info.bmHeight, f.height) << f.name;
        EXPECT_EQ(info.bmBitsPixel, f.bitsPerPixel) << f.name;
    }
}

TEST(SkinResources, EveryBitmapResourceLoadsAndMatchesItsFile) {
    const std::set<std::wstring> names = BitmapResourceNames();
    // Each at 1x and, under its name plus "_2X", at twice the size.
    EXPECT_EQ(names.size(), 2 * (5u * 4u + kFixedBitmaps.size()));
    for (const std::wstring& name : names) {
        const std::string narrow(name.begin(), name.end());
        const OwnedBitmap bitmap = LoadSkinBitmap(name);
        ASSERT_TRUE(bitmap) << narrow << " does not load";
        std::string error;
        const auto file = nestora::testing::DecodeBmp(
            nestora::testing::ReadFileBytes(ArtFile(narrow + ".bmp")), &error);
        ASSERT_TRUE(file) << narrow << ": " << error;
        const BITMAP info = SizeOf(bitmap.get());
        EXPECT_EQ(info.bmWidth, file->width) << narrow;
        EXPECT_EQ(info.bmHeight, file->height) << narrow;
    }
}

// Every loader that matters reads every picture as drawn: the framework's, LoadBitmap and
// LoadImage (a device-dependent bitmap). LoadImage with LR_CREATEDIBSECTION is held only to
// the pictures stored without run-length pixels: Windows makes no DIB section of compressed
// ones (Wine 8 reads them all the same), and nothing of the program loads its pictures so.
TEST(SkinResources, EveryLoaderReadsEveryBitmapAsDrawn) {
    struct Loader {
        const char* what;
        bool readsRunLengths;
        OwnedBitmap (*load)(const std::wstring&);
    };
    const Loader loaders[] = {
        {"the framework", true, [](const std::wstring& n) { return LoadSkinBitmap(n); }},
        {"LoadBitmap", true,
         [](const std::wstring& n) { return OwnedBitmap(LoadBitmapW(ThisModule(), n.c_str())); }},
        {"LoadImage", true,
         [](const std::wstring& n) {
             return OwnedBitmap(
                 static_cast<HBITMAP>(LoadImageW(ThisModule(), n.c_str(), IMAGE_BITMAP, 0, 0, 0)));
         }},
        {"LoadImage(LR_CREATEDIBSECTION)", false,
         [](const std::wstring& n) {
             return OwnedBitmap(static_cast<HBITMAP>(
                 LoadImageW(ThisModule(), n.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
         }},
    };
    std::set<std::pair<int, DWORD>> formats;
    for (const std::wstring& name : BitmapResourceNames()) {
        const std::string narrow(name.begin(), name.end());
        std::string error;
        const auto file = nestora::testing::DecodeBmp(
            nestora::testing::ReadFileBytes(ArtFile(narrow + ".bmp")), &error);
        ASSERT_TRUE(file) << narrow << ": " << error;
        const auto format = StoredFormat(name);
        formats.insert(format);
        const bool runLengths = format.second == BI_RLE8 || format.second == BI_RLE4;
        for (const Loader& loader : loaders) {
            if (runLengths && !loader.readsRunLengths)
                continue;
            const OwnedBitmap bitmap = loader.load(name);
            ASSERT_TRUE(bitmap) << narrow << " does not load by " << loader.what;
            const BITMAP info = SizeOf(bitmap.get());
            ASSERT_EQ(info.bmWidth, file->width) << narrow << " by " << loader.what;
            ASSERT_EQ(info.bmHeight, file->height) << narrow << " by " << loader.what;
            const std::vector<RGBQUAD> pixels = CutCell(bitmap.get(), 0, file->width, file->height);
            ASSERT_EQ(pixels.size(), static_cast<std::size_t>(file->width * file->height));
            int mismatches = 0;
            for (int y = 0; y < file->height; ++y)
                for (int x = 0; x < file->width; ++x) {
                    const RGBQUAD& got = pixels[static_cast<std::size_t>(y * file->width + x)];
                    const auto& want = file->at(x, y);
                    mismatches +=
                        got.rgbRed != want.r || got.rgbGreen != want.g || got.rgbBlue != want.b;
                }
            EXPECT_EQ(mismatches, 0) << narrow << " (" << format.first << " bits, compression "
                                     << format.second << ") by " << loader.what;
        }
    }
    // The pictures really are carried in the compact forms, not all at 24 bits.
    EXPECT_TRUE(formats.count({8, BI_RLE8})) << "no picture is run-length compressed";
    EXPECT_TRUE(formats.count({24, BI_RGB}));
}

// The frame asks for NAME_2X above 1x: the module must find it under that name beside
// NAME, and a strip must cut into the same 18 cells.
TEST(SkinResources, EveryBitmapLoadsAtTwiceItsSizeUnderItsNamePlus2X) {
    const std::set<std::wstring> names = BitmapResourceNames();
    int pairs = 0;
    for (const std::wstring& name : names) {
        if (name.size() > 3 && name.compare(name.size() - 3, 3, L"_2X") == 0)
            continue;
        const std::string narrow(name.begin(), name.end());
        const OwnedBitmap one = LoadSkinBitmap(name);
        const OwnedBitmap two = LoadSkinBitmap(name + L"_2X");
        ASSERT_TRUE(one) << narrow;
        ASSERT_TRUE(two) << narrow << "_2X does not load";
        EXPECT_EQ(SizeOf(two.get()).bmWidth, 2 * SizeOf(one.get()).bmWidth) << narrow;
        EXPECT_EQ(SizeOf(two.get()).bmHeight, 2 * SizeOf(one.get()).bmHeight) << narrow;
        ++pairs;
    }
    EXPECT_EQ(pairs, static_cast<int>(5u * 4u + kFixedBitmaps.size()));
}

#pragma pack(push, 2)
struct GroupIconEntry { // GRPICONDIRENTRY of an RT_GROUP_ICON resource
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

// The sizes an icon group lists, as its resource stores them (0 is 256).
std::vector<int> GroupSizes(const wchar_t* name) {
    HRSRC found = FindResourceW(ThisModule(), name, RT_GROUP_ICON);
    HGLOBAL loaded = found ? LoadResource(ThisModule(), found) : nullptr;
    const auto* bytes = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    const DWORD size = found ? SizeofResource(ThisModule(), found) : 0;
    std::vector<int> sizes;
    if (!bytes || size < 6)
        return sizes;
    const WORD count = static_cast<WORD>(bytes[4] | bytes[5] << 8);
    for (WORD i = 0; i < count && 6 + (i + 1) * sizeof(GroupIconEntry) <= size; ++i) {
        GroupIconEntry entry{};
        std::memcpy(&entry, bytes + 6 + i * sizeof(GroupIconEntry), sizeof entry);
        EXPECT_EQ(entry.width, entry.height);
        EXPECT_EQ(entry.bitCount, 32);
        sizes.push_back(entry.width == 0 ? 256 : entry.width);
    }
    return sizes;
}

// Windows picks the icon image of the size it asks for at the display's scale: the
// program's icon and the tray's each carry the seven sizes, and each loads at its size.
TEST(SkinResources, IconsCarryTheSevenSizesAndLoadAtEachOfThem) {
    const std::vector<int> seven{16, 20, 24, 32, 40, 48, 64};
    for (const wchar_t* name : {L"MAINICON", L"TRAYICON"}) {
        const std::string narrow(name, name + std::char_traits<wchar_t>::length(name));
        std::vector<int> sizes = GroupSizes(name);
        std::sort(sizes.begin(), sizes.end());
        EXPECT_EQ(sizes, seven) << narrow;
        for (int size : seven) {
            OwnedIcon icon(
                static_cast<HICON>(LoadImageW(ThisModule(), name, IMAGE_ICON, size, size, 0)));
            ASSERT_TRUE(icon) << narrow << " " << size;
            ICONINFO info{};
            ASSERT_TRUE(GetIconInfo(icon.get(), &info));
            const OwnedBitmap colour(info.hbmColor), mask(info.hbmMask);
            EXPECT_EQ(SizeOf(colour.get()).bmWidth, size) << narrow;
        }
    }
    // The tray's group lists MAINICON's own images: at every size the same pixels.
    for (int size : seven) {
        OwnedIcon main(
            static_cast<HICON>(LoadImageW(ThisModule(), L"MAINICON", IMAGE_ICON, size, size, 0)));
        OwnedIcon tray(
            static_cast<HICON>(LoadImageW(ThisModule(), L"TRAYICON", IMAGE_ICON, size, size, 0)));
        ASSERT_TRUE(main && tray) << size;
        ICONINFO mainInfo{}, trayInfo{};
        ASSERT_TRUE(GetIconInfo(main.get(), &mainInfo));
        ASSERT_TRUE(GetIconInfo(tray.get(), &trayInfo));
        const OwnedBitmap mainColour(mainInfo.hbmColor), mainMask(mainInfo.hbmMask);
        const OwnedBitmap trayColour(trayInfo.hbmColor), trayMask(trayInfo.hbmMask);
        const std::vector<RGBQUAD> a = CutCell(mainColour.get(), 0, size, size);
        const std::vector<RGBQUAD> b = CutCell(trayColour.get(), 0, size, size);
        ASSERT_EQ(a.size(), static_cast<std::size_t>(size * size));
        ASSERT_EQ(b.size(), a.size());
        int differences = 0;
        for (std::size_t i = 0; i < a.size(); ++i)
            differences += std::memcmp(&a[i], &b[i], sizeof a[i]) != 0;
        EXPECT_EQ(differences, 0) << "TRAYICON " << size;
    }
}

TEST(SkinResources, CuttingTheLastCellOfTheMacStripCopiesItsOwnPixels) {
    // Cell 18 of 18 of the 306-pixel strip is pixels 289 to 305; cell 1 is 0 to 16.
    const OwnedBitmap strip = LoadSkinBitmap(L"MACOS_TITLEBTN");
    ASSERT_TRUE(strip);
    const auto cellRect = nestora::skin::StateCellRect(306, 17, 18, 18);
    ASSERT_TRUE(cellRect);
    ASSERT_EQ(cellRect->left, 289);
    std::string error;
    const auto file = nestora::testing::DecodeBmp(
        nestora::testing::ReadFileBytes(ArtFile("MACOS_TITLEBTN.bmp")), &error);
    ASSERT_TRUE(file) << error;
    for (int firstX : {289, 0}) {
        const std::vector<RGBQUAD> cell = CutCell(strip.get(), firstX, 17, 17);
        ASSERT_EQ(cell.size(), 17u * 17u) << "cutting at " << firstX;
        int mismatches = 0;
        for (int y = 0; y < 17; ++y)
            for (int x = 0; x < 17; ++x) {
                const RGBQUAD& got = cell[static_cast<std::size_t>(y * 17 + x)];
                const auto& want = file->at(firstX + x, y);
                mismatches +=
                    got.rgbRed != want.r || got.rgbGreen != want.g || got.rgbBlue != want.b;
            }
        EXPECT_EQ(mismatches, 0) << "cell at " << firstX;
    }
    // The two cells really are different pictures (the close button and the control box),
    // so a cut from the wrong place could not pass.
    const auto last = CutCell(strip.get(), 289, 17, 17);
    const auto first = CutCell(strip.get(), 0, 17, 17);
    int differences = 0;
    for (std::size_t i = 0; i < last.size() && i < first.size(); ++i)
        differences += last[i].rgbRed != first[i].rgbRed;
    EXPECT_GT(differences, 17 * 17 / 10);
}

} // namespace
