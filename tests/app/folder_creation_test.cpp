#include "app/folder_creation.h"

#include "app/free_folder_name.h"
#include "app/text_case.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace nestora::app {
namespace {

// A file system in memory: paths compare without regard to case, like Windows'.
class FakeFileSystem final : public FolderFileSystem {
public:
    struct Entry {
        std::wstring path;
        bool directory;
    };

    void AddDirectory(std::wstring path) { entries.push_back({std::move(path), true}); }
    void AddFile(std::wstring path) { entries.push_back({std::move(path), false}); }
    bool Exists(std::wstring_view path) const {
        return std::any_of(entries.begin(), entries.end(),
                           [&](const Entry& e) { return EqualsIgnoreCase(e.path, path); });
    }

    std::vector<std::wstring> DirectoryNamesStartingWith(const std::wstring& folder,
                                                         const std::wstring& prefix) override {
        ++listings;
        const std::wstring inFolder = JoinPath(folder, L"");
        std::vector<std::wstring> names;
        for (const auto& entry : entries) {
            if (!entry.directory || !StartsWithIgnoreCase(entry.path, inFolder))
                continue;
            const std::wstring name = entry.path.substr(inFolder.size());
            if (name.find(L'\\') == std::wstring::npos && StartsWithIgnoreCase(name, prefix))
                names.push_back(name);
        }
        return names;
    }

    CreateDirectoryResult MakeDirectory(const std::wstring& path) override {
        created.push_back(path);
        if (beforeCreate)
            beforeCreate(path);
        if (Exists(path))
            return CreateDirectoryResult::alreadyExists;
        if (failCreation)
            return CreateDirectoryResult::failed;
        AddDirectory(path);
        return CreateDirectoryResult::created;
    }

    std::vector<Entry> entries;
    std::function<void(const std::wstring&)> beforeCreate;
    bool failCreation = false;
    int listings = 0;
    std::vector<std::wstring> created; // every path creation was tried at
};

std::optional<std::wstring> Press(FakeFileSystem& fs, std::wstring_view target,
                                  std::wstring_view name = L"New Folder") {
    return CreateNewFolder(fs, {target, name, L"New Folder"});
}

TEST(CreateNewFolder, ThreePressesNumberTheFolders) {
    FakeFileSystem fs;
    EXPECT_EQ(Press(fs, L"C:\\Data"), L"C:\\Data\\New Folder");
    EXPECT_EQ(Press(fs, L"C:\\Data"), L"C:\\Data\\New Folder (2)");
    EXPECT_EQ(Press(fs, L"C:\\Data"), L"C:\\Data\\New Folder (3)");
    // A free plain name is created at once, without reading the folder; a taken one costs
    // one listing and a second creation.
    EXPECT_EQ(fs.listings, 2);
    EXPECT_EQ(fs.created,
              (std::vector<std::wstring>{L"C:\\Data\\New Folder", L"C:\\Data\\New Folder",
                                         L"C:\\Data\\New Folder (2)", L"C:\\Data\\New Folder",
                                         L"C:\\Data\\New Folder (3)"}));
}

TEST(CreateNewFolder, OnlyTheTargetFolderCounts) {
    FakeFileSystem fs;
    fs.AddDirectory(L"C:\\Other\\New Folder");
    fs.AddDirectory(L"C:\\Data\\Sub\\New Folder");
    EXPECT_EQ(Press(fs, L"C:\\Data"), L"C:\\Data\\New Folder");
}

TEST(CreateNewFolder, DriveRootAndUncTargets) {
    FakeFileSystem fs;
    EXPECT_EQ(Press(fs, L"C:\\"), L"C:\\New Folder");
    EXPECT_EQ(Press(fs, L"C:"), L"C:\\New Folder (2)");
    EXPECT_EQ(Press(fs, L"\\\\server\\share"), L"\\\\server\\share\\New Folder");
}

TEST(CreateNewFolder, TakenNamesCompareWithoutRegardToCase) {
    FakeFileSystem fs;
    fs.AddDirectory(L"C:\\Data\\NEW FOLDER");
    fs.AddDirectory(L"C:\\Data\\new folder (2)");
    EXPECT_EQ(Press(fs, L"C:\\Data"), L"C:\\Data\\New Folder (3)");
    EXPECT_EQ(fs.created.size(), 2u); // the plain name, then the free one
}

TEST(CreateNewFolder, AFileInTheWayMovesOnToTheNextName) {
    FakeFileSystem fs;
    fs.AddFile(L"C:\\Data\\New Folder");
    fs.AddFile(L"C:\\Data\\New Folder (2)");
    EXPECT_EQ(Press(fs, L"C:\\Data"), L"C:\\Data\\New Folder (3)");
    EXPECT_EQ(fs.created,
              (std::vector<std::wstring>{L"C:\\Data\\New Folder", L"C:\\Data\\New Folder (2)",
                                         L"C:\\Data\\New Folder (3)"}));
}

TEST(CreateNewFolder, ANameTakenInBetweenMovesOnToTheNextName) {
    FakeFileSystem fs;
    fs.AddDirectory(L"C:\\Data\\New Folder");
    // Another program makes the folder this press picked just before it is created.
    fs.beforeCreate = [&fs](const std::wstring& path) {
        if (path == L"C:\\Data\\New Folder (2)")
            fs.AddDirectory(path);
    };
    EXPECT_EQ(Press(fs, L"C:\\Data"), L"C:\\Data\\New Folder (3)");
    EXPECT_EQ(fs.listings, 2);
}

TEST(CreateNewFolder, GivesUpWhenEveryNameIsTakenInBetween) {
    FakeFileSystem fs;
    fs.beforeCreate = [&fs](const std::wstring& path) { fs.AddFile(path); };
    EXPECT_EQ(Press(fs, L"C:\\Data"), std::nullopt);
    EXPECT_EQ(fs.created.size(), static_cast<std::size_t>(kMaxCreateAttempts));
    EXPECT_EQ(fs.created.back(), NumberedFolderName(L"C:\\Data\\New Folder", kMaxCreateAttempts));
}

TEST(CreateNewFolder, AFailedCreationIsNotRetried) {
    FakeFileSystem fs;
    fs.failCreation = true;
    EXPECT_EQ(Press(fs, L"C:\\Data"), std::nullopt);
    EXPECT_EQ(fs.created.size(), 1u);
}

TEST(CreateNewFolder, NothingOutsideAnAbsoluteTarget) {
    for (const wchar_t* target :
         {L"", L"Data", L"\\Data", L"/", L"\\\\", L"1:\\x", L"CC:\\x", L"C:Data"}) {
        FakeFileSystem fs;
        EXPECT_EQ(Press(fs, target), std::nullopt) << testing::PrintToString(target);
        EXPECT_EQ(fs.listings, 0);
        EXPECT_TRUE(fs.created.empty());
    }
}

TEST(CreateNewFolder, AnUnusableNameGivesTheDefaultInsideTheTarget) {
    FakeFileSystem fs;
    EXPECT_EQ(Press(fs, L"C:\\Data\\Deep", L"..\\..\\x"), L"C:\\Data\\Deep\\New Folder");
    EXPECT_EQ(Press(fs, L"C:\\Data\\Deep", L"CON"), L"C:\\Data\\Deep\\New Folder (2)");
    EXPECT_EQ(Press(fs, L"C:\\Data\\Deep", L""), L"C:\\Data\\Deep\\New Folder (3)");
    EXPECT_EQ(Press(fs, L"C:\\Data\\Deep", L"Photos  "), L"C:\\Data\\Deep\\Photos");
}

} // namespace
} // namespace nestora::app
