// Bad target folders against the real file system (under Wine here): a read-only folder, a
// folder deleted before the press, a drive that does not exist, a file where the folder
// should be, and folders whose paths come near and past MAX_PATH (260). Nothing may crash
// or hang; a folder is made inside the target or not at all; long paths work where
// Windows allows them (the \\?\ form, up to 32,767 characters).
#include "app/folder_creation.h"
#include "app/new_folder_targets.h"
#include "app/win_file_system.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <filesystem>

namespace nestora::reliability {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr wchar_t kDefault[] = L"New Folder";
// No press may take anywhere near this; a hang ends far sooner than the test's limit.
constexpr auto kLongestPress = std::chrono::seconds(5);

void MakeFile(const std::wstring& path) {
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << fs::path(path);
    ::CloseHandle(file);
}

bool IsDirectory(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(app::ExtendedLengthPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

class BadTargets : public ::testing::Test {
protected:
    void SetUp() override {
        root = (fs::temp_directory_path() /
                (L"nestora-targets-" + std::to_wstring(::GetCurrentProcessId())))
                   .wstring();
        fs::create_directories(root);
    }
    void TearDown() override {
        // Folders past MAX_PATH go with the \\?\ form only.
        ::SetFileAttributesW(app::ExtendedLengthPath(root + L"\\read-only").c_str(),
                             FILE_ATTRIBUTE_NORMAL);
        std::error_code ignored;
        fs::remove_all(fs::path(app::ExtendedLengthPath(root + L"\\")), ignored);
    }
    // One press's folder creation, timed.
    std::optional<std::wstring> Create(const std::wstring& target,
                                       const std::wstring& name = L"x") {
        const auto start = Clock::now();
        auto made = app::CreateNewFolder(fileSystem, {target, name, kDefault});
        EXPECT_LT(Clock::now() - start, kLongestPress) << "a press on " << fs::path(target);
        return made;
    }
    std::vector<std::wstring> EntriesOfRoot() const {
        std::vector<std::wstring> names;
        for (const auto& entry : fs::directory_iterator(root))
            names.push_back(entry.path().filename().wstring());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::wstring root;
    app::WindowsFileSystem fileSystem;
};

TEST_F(BadTargets, AReadOnlyFolderGetsItsFolderOrNoneAndNothingElseChanges) {
    const std::wstring target = root + L"\\read-only";
    ASSERT_TRUE(::CreateDirectoryW(target.c_str(), nullptr));
    ASSERT_TRUE(::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY));
    const auto made = Create(target);
    // Windows ignores the read-only flag of a folder (Explorer uses it to mark customised
    // folders), so the folder is made; where the system refuses, there is simply none.
    if (made) {
        EXPECT_EQ(*made, target + L"\\x");
        EXPECT_TRUE(IsDirectory(*made));
    }
    std::printf("[ TARGETS  ] read-only folder: %s\n",
                made ? "the folder was made inside it" : "refused, nothing made");
    EXPECT_EQ(EntriesOfRoot(), std::vector<std::wstring>{L"read-only"});
}

TEST_F(BadTargets, ADeletedFolderOrAMissingDriveGivesNoFolderAndNoHang) {
    const std::wstring deleted = root + L"\\deleted";
    ASSERT_TRUE(::CreateDirectoryW(deleted.c_str(), nullptr));
    ASSERT_TRUE(::RemoveDirectoryW(deleted.c_str()));
    EXPECT_FALSE(Create(deleted));
    EXPECT_FALSE(IsDirectory(deleted)) << "the deleted folder must not come back";
    EXPECT_TRUE(EntriesOfRoot().empty());

    // The first letter no drive has.
    const DWORD drives = ::GetLogicalDrives();
    wchar_t letter = 0;
    for (wchar_t c = L'Z'; c >= L'D'; --c)
        if (!(drives & (1u << (c - L'A'))))
            letter = c;
    ASSERT_NE(letter, 0) << "every drive letter is taken";
    const std::wstring onMissingDrive = std::wstring(1, letter) + L":\\Data";
    EXPECT_FALSE(Create(onMissingDrive));
    EXPECT_FALSE(Create(std::wstring(1, letter) + L":"));

    // A file where the folder should be; and a file bearing the first free name, which
    // the next name steps round.
    const std::wstring file = root + L"\\file";
    MakeFile(file);
    ASSERT_TRUE(fs::is_regular_file(file));
    EXPECT_FALSE(Create(file));
    const std::wstring blocked = root + L"\\blocked";
    ASSERT_TRUE(::CreateDirectoryW(blocked.c_str(), nullptr));
    MakeFile(blocked + L"\\x");
    EXPECT_EQ(Create(blocked), blocked + L"\\x (2)");
    EXPECT_TRUE(IsDirectory(blocked + L"\\x (2)"));
}

TEST_F(BadTargets, DesktopsThatAreGoneGetNoFolderAndNoRename) {
    struct GoneDesktop final : app::DesktopShell {
        std::wstring path;
        int renames = 0;
        std::wstring DesktopPath() override { return path; }
        void AnnounceNewFolder(const std::wstring&) override {}
        bool StartRename(const std::wstring&) override {
            ++renames;
            return true;
        }
    } desktop;
    for (const std::wstring& path : {std::wstring(), root + L"\\no-desktop", std::wstring(L"Z")}) {
        desktop.path = path;
        app::NewFolderTargets targets(fileSystem, desktop, {L"x", kDefault});
        const auto start = Clock::now();
        targets.CreateOnDesktop(app::PressKind::newFolder);
        EXPECT_LT(Clock::now() - start, kLongestPress);
    }
    EXPECT_EQ(desktop.renames, 0);
    EXPECT_TRUE(EntriesOfRoot().empty());
}

// A chain of folders from base (made here too) whose full path is exactly `length`
// characters; empty when one of them could not be made.
std::wstring MakeDeepFolder(const std::wstring& base, std::size_t length) {
    if (!::CreateDirectoryW(base.c_str(), nullptr))
        return {};
    std::wstring path = base;
    int step = 0;
    while (path.size() < length) {
        const std::size_t left = length - path.size() - 1; // one for the backslash
        // Components of at most 60 characters; never leave a remainder of 0.
        std::size_t take = std::min<std::size_t>(60, left);
        if (left > 60 && left - take < 2)
            take -= 2;
        std::wstring component(take, static_cast<wchar_t>(L'a' + step++ % 26));
        path += L"\\" + component;
        if (!::CreateDirectoryW(app::ExtendedLengthPath(path).c_str(), nullptr) &&
            ::GetLastError() != ERROR_ALREADY_EXISTS)
            return {};
    }
    return path;
}

TEST_F(BadTargets, FoldersNearAndPastMaxPathGetTheirFolders) {
    // The full path of the new folder is the target, a backslash and "New Folder" (10).
    const std::vector<std::size_t> lengths = {200, 236, 237, 238, 240, 247, 248,  249,
                                              250, 258, 259, 260, 261, 300, 1000, 4000};
    int made = 0;
    for (const std::size_t length : lengths) {
        if (length <= root.size() + 2)
            continue;
        const std::wstring target =
            MakeDeepFolder(root + L"\\deep" + std::to_wstring(length), length);
        ASSERT_EQ(target.size(), length) << "the target folder could not be made";
        const auto first = Create(target, L"");
        const auto second = Create(target, L"");
        ASSERT_TRUE(first) << "target of " << length << " characters";
        ASSERT_TRUE(second) << "target of " << length << " characters";
        EXPECT_EQ(*first, target + L"\\New Folder");
        EXPECT_EQ(*second, target + L"\\New Folder (2)");
        EXPECT_TRUE(IsDirectory(*first));
        EXPECT_TRUE(IsDirectory(*second));
        made += 2;
    }
    // What the plain form (no \\?\ prefix) does past MAX_PATH, for the record: Windows
    // refuses it unless long paths are enabled for the program; Wine passes it through.
    const std::wstring plainTarget = MakeDeepFolder(root + L"\\plain", 300);
    const std::wstring plain = plainTarget + L"\\plain";
    const bool plainMade = ::CreateDirectoryW(plain.c_str(), nullptr) != 0;
    const DWORD plainError = plainMade ? 0 : ::GetLastError();
    EXPECT_EQ(IsDirectory(plain), plainMade);
    std::printf("[ TARGETS  ] CreateDirectoryW with a plain path of %zu characters: %s (error "
                "%lu)\n",
                plain.size(), plainMade ? "made" : "refused",
                static_cast<unsigned long>(plainError));

    // The longest name a folder takes, deep down: 240 characters and " (2)".
    const std::wstring target = MakeDeepFolder(root + L"\\deepest", 2000);
    const std::wstring longest(240, L'n');
    EXPECT_EQ(Create(target, longest), target + L"\\" + longest);
    EXPECT_EQ(Create(target, longest), target + L"\\" + longest + L" (2)");
    std::printf("[ TARGETS  ] %d folders made in targets of %zu to %zu characters, and a "
                "240-character name twice under a 2000-character path\n",
                made, lengths.front(), lengths.back());
}

} // namespace
} // namespace nestora::reliability
