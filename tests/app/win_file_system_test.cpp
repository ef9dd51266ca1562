// Creating new folders in real folders: the listing, the names taken, files in the way,
// long paths and a name taken in between by another program.
#include "app/win_file_system.h"

#include "app/free_folder_name.h"
#include "app/location_path.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>

namespace nestora::app {
namespace {

bool IsDirectory(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(ExtendedLengthPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(ExtendedLengthPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void MakeDirectory(const std::wstring& path) {
    ASSERT_TRUE(CreateDirectoryW(ExtendedLengthPath(path).c_str(), nullptr))
        << "error " << GetLastError();
}

void MakeFile(const std::wstring& path) {
    const HANDLE file = CreateFileW(ExtendedLengthPath(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << "error " << GetLastError();
    CloseHandle(file);
}

void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW data{};
    const HANDLE find = FindFirstFileW(ExtendedLengthPath(JoinPath(path, L"*")).c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring child = JoinPath(path, name);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                DeleteFileW(ExtendedLengthPath(child).c_str());
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(ExtendedLengthPath(path).c_str());
}

// A fresh folder under the temporary folder for each test, removed with all it holds.
class WinFileSystemTest : public testing::Test {
protected:
    void SetUp() override {
        std::array<wchar_t, MAX_PATH + 1> temp{};
        ASSERT_GT(GetTempPathW(static_cast<DWORD>(temp.size()), temp.data()), 0u);
        const auto* test = testing::UnitTest::GetInstance()->current_test_info();
        root_ = JoinPath(temp.data(),
                         L"nestora-app-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                             std::wstring(test->name(), test->name() + std::strlen(test->name())));
        RemoveTree(root_);
        MakeDirectory(root_);
    }
    void TearDown() override {
        RemoveTree(root_);
        EXPECT_FALSE(IsDirectory(root_));
    }

    std::optional<std::wstring> Press(const std::wstring& target,
                                      std::wstring_view name = L"New Folder") {
        return CreateNewFolder(fileSystem_, {target, name, L"New Folder"});
    }

    std::wstring root_;
    WindowsFileSystem fileSystem_;
};

TEST_F(WinFileSystemTest, ThreePressesNumberTheFolders) {
    EXPECT_EQ(Press(root_), JoinPath(root_, L"New Folder"));
    EXPECT_EQ(Press(root_), JoinPath(root_, L"New Folder (2)"));
    EXPECT_EQ(Press(root_ + L"\\"), JoinPath(root_, L"New Folder (3)"));
    for (const auto* name : {L"New Folder", L"New Folder (2)", L"New Folder (3)"})
        EXPECT_TRUE(IsDirectory(JoinPath(root_, name))) << testing::PrintToString(name);
}

TEST_F(WinFileSystemTest, ListsOnlyDirectoriesWhoseNamesStartWithThePrefix) {
    MakeDirectory(JoinPath(root_, L"New Folder"));
    MakeDirectory(JoinPath(root_, L"new folder (2)"));
    MakeDirectory(JoinPath(root_, L"Old Folder"));
    MakeFile(JoinPath(root_, L"New Folder (3)"));
    auto names = fileSystem_.DirectoryNamesStartingWith(root_, L"New Folder");
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::wstring>{L"New Folder", L"new folder (2)"}));
    EXPECT_TRUE(fileSystem_.DirectoryNamesStartingWith(root_, L"Nothing").empty());
    EXPECT_TRUE(
        fileSystem_.DirectoryNamesStartingWith(JoinPath(root_, L"missing"), L"New").empty());
}

TEST_F(WinFileSystemTest, TakenDirectoriesGapsAndCase) {
    MakeDirectory(JoinPath(root_, L"NEW FOLDER"));
    MakeDirectory(JoinPath(root_, L"new folder (2)"));
    MakeDirectory(JoinPath(root_, L"New Folder (4)"));
    EXPECT_EQ(Press(root_), JoinPath(root_, L"New Folder (3)"));
    EXPECT_EQ(Press(root_), JoinPath(root_, L"New Folder (5)"));
}

TEST_F(WinFileSystemTest, AFileInTheWayIsPassedOver) {
    MakeFile(JoinPath(root_, L"New Folder"));
    EXPECT_EQ(Press(root_), JoinPath(root_, L"New Folder (2)"));
    EXPECT_TRUE(IsFile(JoinPath(root_, L"New Folder")));
    EXPECT_TRUE(IsDirectory(JoinPath(root_, L"New Folder (2)")));
}

TEST_F(WinFileSystemTest, NumbersPastNineAndNinetyNine) {
    MakeDirectory(JoinPath(root_, L"New Folder"));
    for (unsigned k = 2; k <= 100; ++k)
        MakeDirectory(JoinPath(root_, NumberedFolderName(L"New Folder", k)));
    EXPECT_EQ(Press(root_), JoinPath(root_, L"New Folder (101)"));
    RemoveDirectoryW(JoinPath(root_, L"New Folder (10)").c_str());
    EXPECT_EQ(Press(root_), JoinPath(root_, L"New Folder (10)"));
}

TEST_F(WinFileSystemTest, NamesOutsideAsciiAndUnusableNames) {
    EXPECT_EQ(Press(root_, L"Новая папка"), JoinPath(root_, L"Новая папка"));
    EXPECT_EQ(Press(root_, L"НОВАЯ ПАПКА"), JoinPath(root_, L"НОВАЯ ПАПКА (2)"));
    EXPECT_EQ(Press(root_, L"..\\..\\escape"), JoinPath(root_, L"New Folder"));
    EXPECT_EQ(Press(root_, L"con"), JoinPath(root_, L"New Folder (2)"));
}

TEST_F(WinFileSystemTest, NothingWhenTheTargetIsMissing) {
    const std::wstring missing = JoinPath(root_, L"missing");
    EXPECT_EQ(Press(missing), std::nullopt);
    EXPECT_FALSE(IsDirectory(missing));
}

// Wine (measured, 8.0) creates such folders even without the \\?\ prefix, where Windows
// documents a limit; here this proves the prefixed calls work, and ExtendedLengthPath
// below that the prefix is added.
TEST_F(WinFileSystemTest, FoldersDeepInALongPath) {
    std::wstring deep = root_;
    while (deep.size() < MAX_PATH + 40) {
        deep = JoinPath(deep, std::wstring(40, L'd'));
        MakeDirectory(deep);
    }
    EXPECT_EQ(Press(deep), JoinPath(deep, L"New Folder"));
    EXPECT_EQ(Press(deep), JoinPath(deep, L"New Folder (2)"));
    EXPECT_TRUE(IsDirectory(JoinPath(deep, L"New Folder (2)")));
}

TEST_F(WinFileSystemTest, AFolderFromAnExplorerLocation) {
    const std::wstring shown = JoinPath(root_, L"a b%41");
    MakeDirectory(shown);
    std::wstring url = L"file:///";
    for (const wchar_t c : shown) {
        if (c == L'\\')
            url += L'/';
        else if (c == L' ')
            url += L"%20";
        else if (c == L'%')
            url += L"%25";
        else
            url += c;
    }
    const auto target = FolderPathFromLocation(url);
    ASSERT_EQ(target, shown) << testing::PrintToString(url);
    EXPECT_EQ(Press(*target), JoinPath(shown, L"New Folder"));
}

// Another program makes the picked folder just before this one creates it.
class RacingFileSystem final : public FolderFileSystem {
public:
    std::vector<std::wstring> DirectoryNamesStartingWith(const std::wstring& folder,
                                                         const std::wstring& prefix) override {
        return real.DirectoryNamesStartingWith(folder, prefix);
    }
    CreateDirectoryResult MakeDirectory(const std::wstring& path) override {
        if (racesLeft > 0) {
            --racesLeft;
            CreateDirectoryW(path.c_str(), nullptr);
        }
        return real.MakeDirectory(path);
    }
    WindowsFileSystem real;
    int racesLeft = 2;
};

TEST_F(WinFileSystemTest, ANameTakenInBetweenGivesTheNextName) {
    RacingFileSystem racing;
    EXPECT_EQ(CreateNewFolder(racing, {root_, L"New Folder", L"New Folder"}),
              JoinPath(root_, L"New Folder (3)"));
    EXPECT_EQ(racing.racesLeft, 0);
    for (const auto* name : {L"New Folder", L"New Folder (2)", L"New Folder (3)"})
        EXPECT_TRUE(IsDirectory(JoinPath(root_, name))) << testing::PrintToString(name);
}

TEST(ExtendedLengthPath, PrefixesOnlyPathsTooLongForThePlainCalls) {
    const std::wstring shortPath = L"C:\\Data\\New Folder";
    EXPECT_EQ(ExtendedLengthPath(shortPath), shortPath);
    const std::wstring longest = L"C:\\" + std::wstring(MAX_PATH - 12 - 1 - 3, L'x');
    EXPECT_EQ(ExtendedLengthPath(longest), longest);
    EXPECT_EQ(ExtendedLengthPath(longest + L"x"), L"\\\\?\\" + longest + L"x");
    EXPECT_EQ(ExtendedLengthPath(L"C:/" + std::wstring(300, L'y')),
              L"\\\\?\\C:\\" + std::wstring(300, L'y'));
    EXPECT_EQ(ExtendedLengthPath(L"\\\\server\\share\\" + std::wstring(300, L'z')),
              L"\\\\?\\UNC\\server\\share\\" + std::wstring(300, L'z'));
    const std::wstring prefixed = L"\\\\?\\C:\\" + std::wstring(300, L'p');
    EXPECT_EQ(ExtendedLengthPath(prefixed), prefixed);
}

} // namespace
} // namespace nestora::app
