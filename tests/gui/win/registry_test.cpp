// TRegistry against a scratch key (HKCU\Software\NestoraTests\<random>), never real
// settings: opening and creating keys, the values of every kind, the error messages
// exactly, and text data that is damaged in every way Windows allows.
#include "gui/core/exceptions.h"
#include "gui/win/registry.h"

#include "tests/support/win/scratch_key.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace nestora::gui;

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The seam: the program's root (HKEY_LOCAL_MACHINE for the settings) is this key.
        reg.SetRootKey(scratch_.get());
    }
    void TearDown() override { reg.CloseKey(); }
    // Writes raw bytes of any type, as another program might have.
    void Raw(const std::wstring& name, DWORD type, const std::vector<unsigned char>& data) {
        ASSERT_EQ(::RegSetKeyValueW(scratch_.get(), L"Software\\Nestora", name.c_str(), type,
                                    data.data(), static_cast<DWORD>(data.size())),
                  ERROR_SUCCESS);
    }
    static std::wstring ErrorOf(const std::function<void()>& action) {
        try {
            action();
        } catch (const ERegistryException& e) {
            return e.Message();
        }
        return L"(no error)";
    }

    nestora::testing::ScratchKey scratch_;
    TRegistry reg;
};

TEST_F(RegistryTest, KeysAreOpenedCreatedFoundAndDeletedBelowTheRoot) {
    EXPECT_EQ(reg.RootKey(), scratch_.get());
    EXPECT_FALSE(reg.KeyExists(L"Software\\Nestora"));
    EXPECT_FALSE(reg.OpenKey(L"Software\\Nestora", false));
    EXPECT_EQ(reg.CurrentKey(), nullptr);
    EXPECT_TRUE(reg.CreateKey(L"Software\\Nestora"));
    EXPECT_TRUE(reg.KeyExists(L"Software\\Nestora"));
    ASSERT_TRUE(reg.OpenKey(L"Software\\Nestora", false));
    EXPECT_EQ(reg.CurrentPath(), L"Software\\Nestora");
    // Relative to the open key, or absolute with a leading backslash.
    ASSERT_TRUE(reg.OpenKey(L"Deeper\\Still", true));
    EXPECT_EQ(reg.CurrentPath(), L"Software\\Nestora\\Deeper\\Still");
    reg.WriteInteger(L"x", 1);
    ASSERT_TRUE(reg.OpenKey(L"\\Software", false));
    EXPECT_EQ(reg.CurrentPath(), L"Software");
    reg.CloseKey();
    EXPECT_EQ(reg.CurrentPath(), L"");
    EXPECT_TRUE(reg.DeleteKey(L"Software\\Nestora"));
    EXPECT_FALSE(reg.KeyExists(L"Software\\Nestora\\Deeper")); // with everything below it
    EXPECT_FALSE(reg.DeleteKey(L""));                          // never the root itself
    EXPECT_FALSE(reg.DeleteKey(L"Software\\Nestora"));
}

TEST_F(RegistryTest, TheProgramsSettingsRoundTrip) {
    ASSERT_TRUE(reg.OpenKey(L"Software\\Nestora", true));
    reg.WriteInteger(L"StartUp", 1);
    reg.WriteString(L"FolderName", L"Новая папка");
    reg.WriteString(L"HotKey", L"Ctrl+`");
    reg.WriteString(L"Lang", L"Ru");
    reg.WriteExpandString(L"Path", L"%SystemRoot%\\x");
    reg.WriteInteger(L"Negative", -5);
    reg.CloseKey();

    TRegistry reader;
    reader.SetRootKey(scratch_.get());
    ASSERT_TRUE(reader.OpenKeyReadOnly(L"Software\\Nestora"));
    EXPECT_EQ(reader.ReadInteger(L"StartUp"), 1);
    EXPECT_TRUE(reader.ReadBool(L"StartUp"));
    EXPECT_EQ(reader.ReadString(L"FolderName"), L"Новая папка");
    EXPECT_EQ(reader.ReadString(L"HotKey"), L"Ctrl+`");
    EXPECT_EQ(reader.ReadString(L"Path"), L"%SystemRoot%\\x"); // not expanded
    EXPECT_EQ(reader.ReadInteger(L"Negative"), -5);
    EXPECT_EQ(reader.GetDataType(L"FolderName"), TRegDataType::rdString);
    EXPECT_EQ(reader.GetDataType(L"Path"), TRegDataType::rdExpandString);
    EXPECT_EQ(reader.GetDataType(L"StartUp"), TRegDataType::rdInteger);
    EXPECT_EQ(reader.GetDataType(L"Missing"), TRegDataType::rdUnknown);
    EXPECT_EQ(reader.GetDataSize(L"Lang"), 6); // "Ru" and its zero, in UTF-16
    EXPECT_EQ(reader.GetDataSize(L"Missing"), -1);
    EXPECT_TRUE(reader.ValueExists(L"Lang"));
    EXPECT_FALSE(reader.ValueExists(L"lang2"));
    // Read-only: writing fails with its message, and so does deleting.
    EXPECT_EQ(ErrorOf([&] { reader.WriteString(L"Lang", L"En"); }),
              L"Failed to set data for 'Lang'");
    EXPECT_FALSE(reader.DeleteValue(L"Lang"));
    EXPECT_EQ(reader.ReadString(L"Lang"), L"Ru");
}

TEST_F(RegistryTest, AKeyThatCannotBeCreatedIsAnError) {
    // Wine lets a read-only handle create subkeys; a root that is no key fails everywhere.
    TRegistry broken;
    broken.SetRootKey(reinterpret_cast<HKEY>(static_cast<std::intptr_t>(0x7FFF0)));
    EXPECT_EQ(ErrorOf([&] { broken.CreateKey(L"Software\\Nestora"); }),
              L"Failed to create key Software\\Nestora");
    EXPECT_FALSE(broken.OpenKey(L"Software", true));
    EXPECT_FALSE(broken.KeyExists(L"Software"));
}

TEST_F(RegistryTest, EveryFailureHasItsExactMessage) {
    ASSERT_TRUE(reg.OpenKey(L"Software\\Nestora", true));
    Raw(L"Text", REG_SZ, {'a', 0, 'b', 0, 'c', 0, 0, 0});
    Raw(L"Short", REG_SZ, {'a', 0, 0, 0});
    Raw(L"Binary", REG_BINARY, {1, 2, 3});
    Raw(L"LongDword", REG_DWORD, {1, 0, 0, 0, 0, 0, 0, 0});
    Raw(L"Qword", REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(ErrorOf([&] { reg.ReadInteger(L"StartUp"); }), L"Failed to get data for 'StartUp'");
    // More than four bytes: the read itself fails, whatever the type says.
    EXPECT_EQ(ErrorOf([&] { reg.ReadInteger(L"LongDword"); }),
              L"Failed to get data for 'LongDword'");
    EXPECT_EQ(ErrorOf([&] { reg.ReadInteger(L"Qword"); }), L"Failed to get data for 'Qword'");
    EXPECT_EQ(ErrorOf([&] { reg.ReadInteger(L"Text"); }), L"Failed to get data for 'Text'");
    // Four bytes or fewer of another type: the type is wrong.
    EXPECT_EQ(ErrorOf([&] { reg.ReadInteger(L"Short"); }), L"Invalid data type for 'Short'");
    EXPECT_EQ(ErrorOf([&] { reg.ReadInteger(L"Binary"); }), L"Invalid data type for 'Binary'");
    EXPECT_EQ(ErrorOf([&] { reg.ReadString(L"Binary"); }), L"Invalid data type for 'Binary'");
    EXPECT_EQ(ErrorOf([&] { reg.ReadString(L"LongDword"); }), L"Invalid data type for 'LongDword'");
    // A missing text is the empty text, without error.
    EXPECT_EQ(reg.ReadString(L"FolderName"), L"");
    // With no key open (opening failed), reads and writes fail rather than touch the root.
    reg.CloseKey();
    EXPECT_FALSE(reg.OpenKey(L"Software\\Missing", false));
    EXPECT_EQ(ErrorOf([&] { reg.ReadInteger(L"StartUp"); }), L"Failed to get data for 'StartUp'");
    EXPECT_EQ(ErrorOf([&] { reg.ReadString(L"Lang"); }), L"Failed to get data for 'Lang'");
    EXPECT_EQ(ErrorOf([&] { reg.WriteInteger(L"StartUp", 0); }),
              L"Failed to set data for 'StartUp'");
    EXPECT_EQ(ErrorOf([&] { reg.WriteString(L"Lang", L"Ru"); }), L"Failed to set data for 'Lang'");
    EXPECT_FALSE(reg.ValueExists(L"StartUp"));
}

TEST_F(RegistryTest, DamagedTextIsReadWithinItsData) {
    ASSERT_TRUE(reg.OpenKey(L"Software\\Nestora", true));
    Raw(L"NoZero", REG_SZ, {'R', 0, 'u', 0});
    Raw(L"Odd", REG_SZ, {'E', 0, 'n', 0, 'x'});
    Raw(L"Inner", REG_SZ, {'a', 0, 0, 0, 'b', 0, 0, 0});
    Raw(L"Empty", REG_SZ, {});
    Raw(L"OneByte", REG_EXPAND_SZ, {'z'});
    EXPECT_EQ(reg.ReadString(L"NoZero"), L"Ru");
    EXPECT_EQ(reg.ReadString(L"Odd"), L"En");
    EXPECT_EQ(reg.ReadString(L"Inner"), L"a");
    EXPECT_EQ(reg.ReadString(L"Empty"), L"");
    EXPECT_EQ(reg.ReadString(L"OneByte"), L"");
}

TEST_F(RegistryTest, UnterminatedTextsAroundTheFirstReadsSizeAreReadWhole) {
    // Data without a terminator needs room for the one the system adds: at the size of the
    // first read (256 bytes) and next to it, the text is neither cut nor padded.
    ASSERT_TRUE(reg.OpenKey(L"Software\\Nestora", true));
    for (const std::size_t bytes : {253u, 254u, 255u, 256u, 257u, 258u}) {
        std::vector<unsigned char> data(bytes);
        std::wstring expected;
        for (std::size_t i = 0; i + 1 < bytes; i += 2) {
            const auto unit = static_cast<wchar_t>(L'a' + (i / 2) % 26);
            data[i] = static_cast<unsigned char>(unit);
            expected += unit;
        }
        if (bytes % 2)
            data.back() = 'x'; // half a unit: not part of the text
        const std::wstring name = L"Raw" + std::to_wstring(bytes);
        Raw(name, REG_SZ, data);
        EXPECT_EQ(reg.ReadString(name), expected) << bytes << " bytes";
    }
}

TEST_F(RegistryTest, LongTextsRoundTripWhole) {
    ASSERT_TRUE(reg.OpenKey(L"Software\\Nestora", true));
    std::wstring big(32767, L'я'); // 64 KiB of data with its zero
    big[100] = L'!';
    reg.WriteString(L"Big", big);
    EXPECT_EQ(reg.GetDataSize(L"Big"), 65536);
    EXPECT_EQ(reg.ReadString(L"Big"), big);
    std::wstring bigger(70000, L'x');
    reg.WriteString(L"Bigger", bigger);
    EXPECT_EQ(reg.ReadString(L"Bigger"), bigger);
}

TEST_F(RegistryTest, DeletingValuesAndReopening) {
    ASSERT_TRUE(reg.OpenKey(L"Software\\Nestora", true));
    reg.WriteString(L"Lang", L"En");
    EXPECT_TRUE(reg.DeleteValue(L"Lang"));
    EXPECT_FALSE(reg.DeleteValue(L"Lang"));
    EXPECT_EQ(reg.ReadString(L"Lang"), L"");
    // Setting the root closes the open key.
    reg.SetRootKey(scratch_.get());
    EXPECT_EQ(reg.CurrentKey(), nullptr);
}

} // namespace
