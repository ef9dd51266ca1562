// Bad input where no Windows is needed: hostile folder names and hotkey texts as the
// settings may hold them, through the very functions a press and the start-up use, and
// damaged copies of the sample theme through the theme parser. Natively this runs under
// AddressSanitizer and UBSan, so a read outside a buffer fails here too.
#include "damaged_themes.h"
#include "hostile_names.h"
#include "tests/support/core/round_counts.h"

#include "app/folder_creation.h"
#include "app/shortcut.h"
#include "gui/core/bitmap_format.h"
#include "skin/menus/theme_file_parser.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <set>

namespace nestora::reliability {
namespace {

constexpr wchar_t kTarget[] = L"C:\\Users\\u\\Desktop";
constexpr wchar_t kDefault[] = L"New Folder";

// A folder in memory: the names it holds, and every directory asked for.
class MemoryFolder final : public app::FolderFileSystem {
public:
    std::vector<std::wstring> DirectoryNamesStartingWith(const std::wstring& folder,
                                                         const std::wstring&) override {
        listedFolders.push_back(folder);
        return {held.begin(), held.end()};
    }
    app::CreateDirectoryResult MakeDirectory(const std::wstring& path) override {
        created.push_back(path);
        const std::wstring name = path.substr(path.find_last_of(L'\\') + 1);
        return held.count(name) ? app::CreateDirectoryResult::alreadyExists
                                : app::CreateDirectoryResult::created;
    }
    std::set<std::wstring> held;
    std::vector<std::wstring> listedFolders;
    std::vector<std::wstring> created;
};

std::string Narrow(const std::wstring& text) {
    std::string out;
    for (const wchar_t c : text.substr(0, 60))
        out += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
    return out;
}

TEST(BadFolderNames, EveryHostileNameGivesTheDefaultNameInsideTheTarget) {
    const auto names = HostileFolderNames();
    int checked = 0;
    for (const NamedText& name : names) {
        for (const bool defaultTaken : {false, true}) {
            MemoryFolder folder;
            if (defaultTaken)
                folder.held = {kDefault, L"New Folder (2)"};
            const auto made = app::CreateNewFolder(folder, {kTarget, name.value, kDefault});
            ASSERT_TRUE(made) << name.label;
            const std::wstring expected =
                std::wstring(kTarget) + L"\\" + (defaultTaken ? L"New Folder (3)" : kDefault);
            EXPECT_EQ(*made, expected) << name.label;
            // The plain default name is tried first; taken, the free one follows.
            std::vector<std::wstring> tried{std::wstring(kTarget) + L"\\" + kDefault};
            if (defaultTaken)
                tried.push_back(expected);
            EXPECT_EQ(folder.created, tried) << name.label;
            // Only the target was ever looked into.
            for (const auto& listed : folder.listedFolders)
                EXPECT_EQ(listed, kTarget) << name.label;
            ++checked;
        }
    }
    std::printf("[ COUNTS   ] %d hostile names, each with the default free and taken: %d "
                "creations, all inside the target under the default name\n",
                static_cast<int>(names.size()), checked);
}

TEST(BadFolderNames, OddButHarmlessNamesAreKeptAsTheUserMeantThem) {
    const struct {
        const wchar_t* stored;
        const wchar_t* made;
    } cases[] = {
        {L"Папка", L"Папка"},
        {L"name with trailing blanks   ", L"name with trailing blanks"},
        {L"  leading blanks", L"  leading blanks"},
        {L"COM10", L"COM10"},     // not a device
        {L"CONSOLE", L"CONSOLE"}, // nor is this
        {L"a'b;c,d=e[f]g", L"a'b;c,d=e[f]g"},
    };
    for (const auto& c : cases) {
        MemoryFolder folder;
        const auto made = app::CreateNewFolder(folder, {kTarget, c.stored, kDefault});
        ASSERT_TRUE(made) << Narrow(c.stored);
        EXPECT_EQ(*made, std::wstring(kTarget) + L"\\" + c.made);
    }
    // 240 units are still the user's name; 241 are not.
    MemoryFolder folder;
    const std::wstring longest(240, L'n');
    EXPECT_EQ(app::CreateNewFolder(folder, {kTarget, longest, kDefault}),
              std::wstring(kTarget) + L"\\" + longest);
}

TEST(BadFolderNames, ATargetThatIsNoAbsolutePathGetsNoFolderAtAll) {
    for (const wchar_t* target : {L"", L"relative\\folder", L"\\rooted", L"C:", L"::", L"\\\\"}) {
        MemoryFolder folder;
        const auto made = app::CreateNewFolder(folder, {target, L"x", kDefault});
        if (std::wstring_view(target) == L"C:") {
            // A drive alone is the root of that drive: allowed.
            EXPECT_EQ(made, std::wstring(L"C:\\x"));
            continue;
        }
        EXPECT_FALSE(made) << Narrow(target);
        EXPECT_TRUE(folder.created.empty()) << Narrow(target);
    }
}

TEST(BadHotKeyTexts, UnreadableTextsGiveNoHotKeyQuickly) {
    const app::KeyNameSource layout = [](unsigned key) {
        return key == 0xC0 ? std::wstring(L"`") : std::wstring();
    };
    const auto texts = UnreadableHotKeyTexts();
    for (const NamedText& text : texts) {
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(app::ShortcutFromText(text.value, layout), 0) << text.label;
        const auto took = std::chrono::steady_clock::now() - start;
        // Bounded work: a 64 KiB text is read in one pass, not once per modifier.
        EXPECT_LT(took, std::chrono::milliseconds(500)) << text.label;
    }
    // Still readable after a pile of modifiers: they all fold into the one flag.
    std::wstring many;
    for (int i = 0; i < 6000; ++i)
        many += L"ctrl+";
    EXPECT_EQ(app::ShortcutFromText(many + L"`", layout), 0x40C0);
    std::printf("[ COUNTS   ] %d unreadable hotkey texts, all read as no hotkey\n",
                static_cast<int>(texts.size()));
}

// --- damaged copies of the sample theme through the parser ---------------------------------

const std::wstring kThemeName = L"sample-copy.theme";

// Where the bytes a loaded copy hands out are summed, so that reading them isn't optimised
// away.
volatile std::uint64_t bytesSeen = 0;

struct Tally {
    int loaded = 0;
    int refused = 0;
    int picturesDecoded = 0;
    int picturesRefused = 0;
};

// Loads or refuses one copy; a load must hand out only bytes inside the file (all of
// them are read, so AddressSanitizer sees any that are not), a refusal must name the file.
void ParseOne(const std::vector<std::uint8_t>& bytes, const std::string& what, Tally& tally) {
    try {
        const skin::ThemeFile theme = skin::ParseThemeFile(bytes, kThemeName);
        ++tally.loaded;
        std::uint64_t sum = 0;
        for (const auto* list :
             {&theme.Bitmaps(), &theme.Integers(), &theme.Flags(), &theme.Texts()}) {
            for (const skin::ThemeEntry& entry : *list) {
                ASSERT_LE(std::uint64_t{entry.dataAt} + entry.dataSize, bytes.size()) << what;
                for (const std::uint8_t b : theme.Data(entry))
                    sum += b;
                sum += theme.Key(entry).size();
            }
        }
        bytesSeen = bytesSeen + sum;
        // A loaded copy's pictures go to the picture decoder, as the skin hands them on:
        // a lying BMP header must be refused there, never read past.
        for (const skin::ThemeEntry& entry : theme.Bitmaps()) {
            try {
                const gui::DecodedBitmap picture = gui::DecodeBmpFile(theme.Data(entry));
                ASSERT_EQ(picture.pixels.size(),
                          static_cast<std::size_t>(picture.width) * picture.height)
                    << what;
                ++tally.picturesDecoded;
            } catch (const gui::EInvalidGraphic&) {
                ++tally.picturesRefused;
            }
        }
    } catch (const skin::ThemeFileError& error) {
        ++tally.refused;
        EXPECT_NE(error.Message().find(kThemeName), std::wstring::npos) << what;
    }
}

class SampleThemeDamage : public ::testing::Test {
protected:
    static void SetUpTestSuite() { sample = ReadWholeFile(NESTORA_SAMPLE_THEME); }
    static inline std::vector<std::uint8_t> sample;
};

TEST_F(SampleThemeDamage, CutCopiesAreAllRefusedWithTheirMessage) {
    ASSERT_GT(sample.size(), 1000u);
    // The full count cuts the file at every length.
    const std::size_t count =
        static_cast<std::size_t>(nestora::testing::Rounds({100, static_cast<int>(sample.size())}));
    Tally tally;
    for (std::size_t i = 0; i < count; ++i)
        ParseOne(CutCopy(sample, i, count), "cut copy " + std::to_string(i), tally);
    std::printf("[ COUNTS   ] %zu cut copies of the %zu-byte sample theme: %d loaded, %d "
                "refused\n",
                count, sample.size(), tally.loaded, tally.refused);
    // The terminator lies last: no cut copy is whole.
    EXPECT_EQ(tally.loaded, 0);
    EXPECT_EQ(tally.refused, static_cast<int>(count));
}

TEST_F(SampleThemeDamage, FlippedCopiesLoadOrAreRefusedWithTheirMessage) {
    const FlippedCopies copies(sample);
    const int count = nestora::testing::Rounds({100, 10000});
    Tally tally;
    std::string what;
    for (int i = 0; i < count; ++i) {
        const auto bytes = copies.copy(static_cast<std::size_t>(i), what);
        ParseOne(bytes, what, tally);
    }
    std::printf("[ COUNTS   ] %d bit-flipped copies of the sample theme: %d loaded, %d "
                "refused; of the loaded copies' pictures %d decoded, %d refused\n",
                count, tally.loaded, tally.refused, tally.picturesDecoded, tally.picturesRefused);
    EXPECT_EQ(tally.loaded + tally.refused, count);
    // Both ways are taken: flips in pictures load, flips in offsets and signatures don't.
    EXPECT_GT(tally.loaded, 0);
    EXPECT_GT(tally.refused, 0);
    EXPECT_GT(tally.picturesRefused, 0) << "no flip reached a picture's header";
}

} // namespace
} // namespace nestora::reliability
