// Bad settings met by the real main window in this process: each of the four values
// missing, of the wrong type, oversized (64 KiB), with zeros inside or without its
// terminator, and every hostile folder name. For each: the message the program gives for
// it (or none), what the window took, where a press puts the new folder, and what is in
// the registry once the program has ended. Nothing may crash, no folder may land outside
// the desktop folder, and the values that were readable must be there again at the end.
#include "hostile_names.h"
#include "main_window_host.h"

#include <cstdio>
#include <functional>

namespace nestora::reliability {
namespace {

using app::Language;

struct Raw {
    DWORD type;
    std::vector<BYTE> bytes;
};

Raw TextValue(const std::wstring& text, DWORD type = REG_SZ) {
    Raw raw{type, {}};
    const auto* first = reinterpret_cast<const BYTE*>(text.data());
    raw.bytes.assign(first, first + text.size() * sizeof(wchar_t));
    raw.bytes.insert(raw.bytes.end(), sizeof(wchar_t), 0);
    return raw;
}
Raw NumberValue(std::uint32_t value) {
    const auto* first = reinterpret_cast<const BYTE*>(&value);
    return {REG_DWORD, {first, first + sizeof value}};
}
Raw BytesValue(DWORD type, std::size_t size, BYTE fill = 1) {
    return {type, std::vector<BYTE>(size, fill)};
}

// MOD_CONTROL | MOD_NOREPEAT, as registrations record them (modifiers << 16 | key).
constexpr unsigned kCtrl = 0x4002u << 16;

// The settings a case starts from; each case spoils one of them.
struct Expected {
    std::wstring box;                      // the one message shown; empty: none
    bool startUp = true;                   // the menu's check mark
    std::wstring folderMade = L"Mine";     // what a press makes on the desktop
    Language language = Language::english; //
    unsigned registration = kCtrl | 'F';   // modifiers << 16 | key; 0: none
    // Read back after the end.
    std::uint32_t startUpBack = 1;
    std::wstring folderNameBack = L"Mine";
    std::wstring hotKeyBack = L"Ctrl+F";
    std::wstring langBack = L"En";
};

struct SettingCase {
    std::string label;
    const wchar_t* value;
    std::optional<Raw> stored; // nothing: the value is missing
    Expected expected;
};

std::wstring UpToZero(const std::wstring& text) {
    return text.substr(0, text.find(L'\0'));
}

std::vector<SettingCase> SettingCases() {
    std::vector<SettingCase> cases;
    const auto add = [&cases](std::string label, const wchar_t* value, std::optional<Raw> stored,
                              const std::function<void(Expected&)>& change) {
        Expected expected;
        change(expected);
        cases.push_back({std::move(label), value, std::move(stored), std::move(expected)});
    };
    const auto badStartUp = [](const wchar_t* box) {
        return [box](Expected& e) {
            e.box = box;
            e.startUp = false;
            e.startUpBack = 0;
        };
    };
    // A missing value is one a cut write never reached: it takes the window's default.
    add("StartUp missing", L"StartUp", std::nullopt, [](Expected& e) {
        e.startUp = false;
        e.startUpBack = 0;
    });
    add("StartUp as text", L"StartUp", TextValue(L"1"),
        badStartUp(L"Invalid data type for 'StartUp'"));
    add("StartUp as 4 binary bytes", L"StartUp", BytesValue(REG_BINARY, 4),
        badStartUp(L"Invalid data type for 'StartUp'"));
    add("StartUp as a QWORD", L"StartUp", BytesValue(REG_QWORD, 8),
        badStartUp(L"Failed to get data for 'StartUp'"));
    add("StartUp as 64 KiB", L"StartUp", BytesValue(REG_BINARY, 65536),
        badStartUp(L"Failed to get data for 'StartUp'"));
    add("StartUp 0xFFFFFFFF", L"StartUp", NumberValue(0xFFFFFFFFu), [](Expected&) {});

    const auto badName = [](const wchar_t* box) {
        return [box](Expected& e) {
            e.box = box;
            e.folderMade = e.folderNameBack = L"New Folder";
        };
    };
    // Completed with the stored language's default name (English here).
    add("FolderName missing", L"FolderName", std::nullopt,
        [](Expected& e) { e.folderMade = e.folderNameBack = L"New Folder"; });
    add("FolderName as a number", L"FolderName", NumberValue(5),
        badName(L"Invalid data type for 'FolderName'"));
    add("FolderName as a multi-string", L"FolderName",
        TextValue(std::wstring(L"a\0b\0", 4), REG_MULTI_SZ),
        badName(L"Invalid data type for 'FolderName'"));
    add("FolderName as binary text", L"FolderName", Raw{REG_BINARY, TextValue(L"Bin").bytes},
        badName(L"Invalid data type for 'FolderName'"));
    add(
        "FolderName without its terminator, odd length", L"FolderName",
        [] {
            Raw raw = TextValue(L"Mine2");
            raw.bytes.resize(raw.bytes.size() - 1); // one byte of the terminator left
            return raw;
        }(),
        [](Expected& e) { e.folderMade = e.folderNameBack = L"Mine2"; });
    add("FolderName as an expandable text", L"FolderName", TextValue(L"%TEMP%", REG_EXPAND_SZ),
        [](Expected& e) {
            // '%' is no forbidden character; the text is a name, never expanded to a path.
            e.folderMade = e.folderNameBack = L"%TEMP%";
        });
    for (const NamedText& name : HostileFolderNames()) {
        // The registry's text ends at a zero: what comes before it is what is taken.
        const std::wstring kept = UpToZero(name.value);
        const std::wstring made = kept == name.value ? L"New Folder" : kept;
        add(std::string("FolderName ") + name.label, L"FolderName", TextValue(name.value),
            [kept, made](Expected& e) {
                e.folderMade = made;
                e.folderNameBack = kept; // taken as stored, written back as taken
            });
    }

    add("HotKey missing", L"HotKey", std::nullopt, [](Expected& e) {
        e.registration = kCtrl | 0xC0; // the window's own
        e.hotKeyBack = L"Ctrl+`";
    });
    add("HotKey as a number", L"HotKey", NumberValue(0x4046), [](Expected& e) {
        e.box = L"Invalid data type for 'HotKey'";
        e.registration = kCtrl | 0xC0; // the window's own
        e.hotKeyBack = L"Ctrl+`";
    });
    add("HotKey as 64 KiB of binary", L"HotKey", BytesValue(REG_BINARY, 65536, 'x'),
        [](Expected& e) {
            e.box = L"Invalid data type for 'HotKey'";
            e.registration = kCtrl | 0xC0;
            e.hotKeyBack = L"Ctrl+`";
        });
    for (const NamedText& text : UnreadableHotKeyTexts()) {
        // No hotkey; the text no layout reads is kept as it was (up to a zero, where the
        // registry's text ends), never replaced by "none".
        const std::wstring kept = UpToZero(text.value);
        add(std::string("HotKey ") + text.label, L"HotKey", TextValue(text.value),
            [kept](Expected& e) {
                e.registration = 0;
                e.hotKeyBack = kept;
            });
    }
    add("HotKey with junk after a zero", L"HotKey", TextValue(std::wstring(L"Ctrl+F\0junk", 11)),
        [](Expected&) {});

    const auto russian = [](Expected& e) {
        e.language = Language::russian;
        e.langBack = L"Ru";
    };
    add("Lang missing", L"Lang", std::nullopt, russian);
    add("Lang as a number", L"Lang", NumberValue(1), [&russian](Expected& e) {
        russian(e);
        e.box = L"Invalid data type for 'Lang'";
    });
    add("Lang as binary text", L"Lang", Raw{REG_BINARY, TextValue(L"En").bytes},
        [&russian](Expected& e) {
            russian(e);
            e.box = L"Invalid data type for 'Lang'";
        });
    add("Lang as 64 KiB", L"Lang", TextValue(OversizedText()), russian);
    add("Lang with junk after a zero", L"Lang", TextValue(std::wstring(L"En\0junk", 7)),
        [](Expected&) {});
    return cases;
}

class BadSettings : public MainWindowHost {
protected:
    void StoreGoodSettings() {
        user.SetNumber(kSettingsKey, L"StartUp", 1);
        user.SetText(kSettingsKey, L"FolderName", L"Mine");
        user.SetText(kSettingsKey, L"HotKey", L"Ctrl+F");
        user.SetText(kSettingsKey, L"Lang", L"En");
    }
    void Spoil(const wchar_t* value, const std::optional<Raw>& stored) {
        if (!stored) {
            ::RegDeleteKeyValueW(user.get(), kSettingsKey, value);
            return;
        }
        ASSERT_EQ(::RegSetKeyValueW(user.get(), kSettingsKey, value, stored->type,
                                    stored->bytes.data(), static_cast<DWORD>(stored->bytes.size())),
                  ERROR_SUCCESS);
    }
    // The value read back whole, whatever its length.
    std::optional<std::wstring> TextBack(const wchar_t* value) const {
        DWORD size = 0;
        if (::RegGetValueW(user.get(), kSettingsKey, value, RRF_RT_REG_SZ, nullptr, nullptr,
                           &size) != ERROR_SUCCESS)
            return std::nullopt;
        std::wstring text(size / sizeof(wchar_t), L'\0');
        if (::RegGetValueW(user.get(), kSettingsKey, value, RRF_RT_REG_SZ, nullptr, text.data(),
                           &size) != ERROR_SUCCESS)
            return std::nullopt;
        text.resize(std::wcslen(text.c_str()));
        return text;
    }
};

TEST_F(BadSettings, EachValueSpoiledIsReportedOrDefaultedAndTheReadableOnesSurvive) {
    const auto cases = SettingCases();
    int held = 0;
    for (const SettingCase& c : cases) {
        SCOPED_TRACE(c.label);
        boxes.clear();
        registrations.clear();
        desktop->renamed.clear();
        EmptyDesktop();
        ::RegDeleteTreeW(user.get(), kSettingsKey);
        StoreGoodSettings();
        Spoil(c.value, c.stored);
        const Expected& e = c.expected;

        app::TForm1& f = Start();
        EXPECT_EQ(BoxTexts(),
                  e.box.empty() ? std::vector<std::wstring>{} : std::vector<std::wstring>{e.box});
        EXPECT_EQ(f.MenuStartProgs->Checked(), e.startUp);
        EXPECT_EQ(f.CurrentLanguage(), e.language);
        EXPECT_EQ(registrations.empty() ? 0u : registrations.back(), e.registration);
        Press();
        EXPECT_EQ(DesktopEntries(), std::vector<std::wstring>{e.folderMade});
        EXPECT_TRUE(std::filesystem::is_directory(desktopFolder / e.folderMade));
        EXPECT_TRUE(EntriesBesideDesktop().empty());
        const std::size_t boxesBeforeEnd = boxes.size();
        Stop();
        EXPECT_EQ(boxes.size(), boxesBeforeEnd) << "the end wrote without an error";

        EXPECT_EQ(user.Number(kSettingsKey, L"StartUp"), e.startUpBack);
        const auto name = TextBack(L"FolderName");
        ASSERT_TRUE(name);
        EXPECT_EQ(name->size(), e.folderNameBack.size());
        EXPECT_TRUE(*name == e.folderNameBack);
        EXPECT_EQ(TextBack(L"HotKey"), e.hotKeyBack);
        EXPECT_EQ(TextBack(L"Lang"), e.langBack);
        held += ::testing::Test::HasFailure() ? 0 : 1;
    }
    std::printf("[ COUNTS   ] %d spoiled settings started, pressed and ended: %d held "
                "everything\n",
                static_cast<int>(cases.size()), held);
}

TEST_F(BadSettings, SpoiledMachineValuesStartTheUserWithTheReadableOnes) {
    machine.SetText(kSettingsKey, L"StartUp", L"1"); // four bytes: a text where a number belongs
    machine.SetText(kSettingsKey, L"FolderName", L"..\\Machine");
    machine.SetText(kSettingsKey, L"HotKey", OversizedText());
    machine.SetText(kSettingsKey, L"Lang", L"En");
    app::TForm1& f = Start();
    EXPECT_EQ(BoxTexts(), std::vector<std::wstring>{L"Invalid data type for 'StartUp'"});
    EXPECT_EQ(f.CurrentLanguage(), Language::english);
    Press();
    EXPECT_EQ(DesktopEntries(), std::vector<std::wstring>{L"New Folder"});
    EXPECT_TRUE(EntriesBesideDesktop().empty());
    Stop();
    // The user's key now, with what was readable; the machine's is left as it was.
    EXPECT_EQ(user.Number(kSettingsKey, L"StartUp"), 0u);
    EXPECT_EQ(user.Text(kSettingsKey, L"FolderName"), L"..\\Machine");
    EXPECT_TRUE(user.Text(kSettingsKey, L"HotKey") == OversizedText()) << "kept as it was";
    EXPECT_EQ(user.Text(kSettingsKey, L"Lang"), L"En");
    EXPECT_EQ(machine.Text(kSettingsKey, L"StartUp"), L"1");
}

} // namespace
} // namespace nestora::reliability
