// The new folder in an Explorer window's folder or on the desktop: the name checked at
// creation, the free name, and the desktop's announcement and rename only for a folder
// that was really made.
#include "app/new_folder_targets.h"

#include "app/text_case.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace nestora::app {
namespace {

// Directories as full paths; one folder level is enough here.
class MemoryFileSystem final : public FolderFileSystem {
public:
    std::vector<std::wstring> DirectoryNamesStartingWith(const std::wstring& folder,
                                                         const std::wstring& prefix) override {
        std::vector<std::wstring> names;
        for (const auto& path : directories) {
            const std::wstring inFolder = folder + L"\\";
            if (StartsWithIgnoreCase(path, inFolder) &&
                StartsWithIgnoreCase(path.substr(inFolder.size()), prefix))
                names.push_back(path.substr(inFolder.size()));
        }
        return names;
    }
    CreateDirectoryResult MakeDirectory(const std::wstring& path) override {
        if (refuse)
            return CreateDirectoryResult::failed;
        if (std::any_of(directories.begin(), directories.end(),
                        [&](const std::wstring& d) { return EqualsIgnoreCase(d, path); }))
            return CreateDirectoryResult::alreadyExists;
        directories.push_back(path);
        return CreateDirectoryResult::created;
    }
    std::vector<std::wstring> directories;
    bool refuse = false;
};

class FakeDesktop final : public DesktopShell {
public:
    std::wstring DesktopPath() override { return path; }
    void AnnounceNewFolder(const std::wstring& folder) override {
        journal.push_back(L"announce " + folder);
    }
    bool StartRename(const std::wstring& folder) override {
        journal.push_back(L"rename " + folder);
        return true;
    }
    std::vector<std::wstring> SelectedPaths() override {
        journal.push_back(L"selection");
        return selected;
    }
    std::vector<std::wstring> selected;
    std::wstring path = L"C:\\Users\\u\\Desktop";
    std::vector<std::wstring> journal;
};

using Texts = std::vector<std::wstring>;

// Notes the moves asked for in the desktop's journal, so their order shows.
class JournalMover final : public ItemMover {
public:
    explicit JournalMover(std::vector<std::wstring>& journal) : journal_(journal) {}
    void MoveInto(const std::vector<std::wstring>& items, const std::wstring& folder,
                  WindowId owner) override {
        std::wstring line = L"move";
        for (const auto& item : items)
            line += L" " + item;
        journal_.push_back(line + L" into " + folder + L" for " + std::to_wstring(owner));
    }

private:
    std::vector<std::wstring>& journal_;
};

TEST(NewFolderTargetsTest, TheDesktopFolderIsAnnouncedAndPutIntoRenameMode) {
    MemoryFileSystem files;
    FakeDesktop desktop;
    NewFolderTargets targets(files, desktop, {L"Новая папка", L"Новая папка"});
    targets.CreateOnDesktop(PressKind::newFolder);
    targets.CreateOnDesktop(PressKind::newFolder);
    EXPECT_EQ(desktop.journal, (Texts{L"announce C:\\Users\\u\\Desktop\\Новая папка",
                                      L"rename C:\\Users\\u\\Desktop\\Новая папка",
                                      L"announce C:\\Users\\u\\Desktop\\Новая папка (2)",
                                      L"rename C:\\Users\\u\\Desktop\\Новая папка (2)"}));
}

TEST(NewFolderTargetsTest, NothingIsAnnouncedOrRenamedWithoutANewFolder) {
    MemoryFileSystem files;
    FakeDesktop desktop;
    NewFolderTargets targets(files, desktop, {L"New Folder", L"New Folder"});
    files.refuse = true;
    targets.CreateOnDesktop(PressKind::newFolder);
    // No desktop path at all: not a folder in the root of the current drive either.
    files.refuse = false;
    desktop.path.clear();
    targets.CreateOnDesktop(PressKind::newFolder);
    EXPECT_TRUE(desktop.journal.empty());
    EXPECT_TRUE(files.directories.empty());
}

TEST(NewFolderTargetsTest, ABadNameFromTheSettingsGivesTheDefaultNameInsideTheTarget) {
    MemoryFileSystem files;
    FakeDesktop desktop;
    for (const wchar_t* bad : {L"..\\..\\x", L"a/b", L"", L"CON", L"x:y"}) {
        NewFolderTargets targets(files, desktop, {bad, L"New Folder"});
        targets.CreateInFolder(L"D:\\Work", {}, 0);
    }
    EXPECT_EQ(files.directories, (Texts{L"D:\\Work\\New Folder", L"D:\\Work\\New Folder (2)",
                                        L"D:\\Work\\New Folder (3)", L"D:\\Work\\New Folder (4)",
                                        L"D:\\Work\\New Folder (5)"}));
    EXPECT_TRUE(desktop.journal.empty()); // an Explorer window refreshes itself
}

TEST(NewFolderTargetsTest, TheSelectionMovesIntoTheNewFolderOnlyWhenOneWasMade) {
    MemoryFileSystem files;
    FakeDesktop desktop;
    JournalMover mover(desktop.journal);
    NewFolderTargets targets(files, desktop, {L"New Folder", L"New Folder"});
    targets.SetSelectionMover(&mover);
    EXPECT_EQ(targets.CreateInFolder(L"D:\\Work", {L"D:\\Work\\a", L"D:\\Work\\b"}, 0x1010),
              L"D:\\Work\\New Folder");
    // Nothing selected: no move asked at all.
    EXPECT_EQ(targets.CreateInFolder(L"D:\\Work", {}, 0x1010), L"D:\\Work\\New Folder (2)");
    files.refuse = true;
    EXPECT_EQ(targets.CreateInFolder(L"D:\\Work", {L"D:\\Work\\c"}, 0x1010), std::nullopt);
    EXPECT_EQ(desktop.journal,
              (Texts{L"move D:\\Work\\a D:\\Work\\b into D:\\Work\\New Folder for 4112"}));
}

TEST(NewFolderTargetsTest, TheDesktopsSelectionIsReadFirstAndMovedBeforeTheFolderIsAnnounced) {
    MemoryFileSystem files;
    FakeDesktop desktop;
    JournalMover mover(desktop.journal);
    NewFolderTargets targets(files, desktop, {L"New Folder", L"New Folder"});
    targets.SetSelectionMover(&mover);
    desktop.selected = {L"C:\\Users\\u\\Desktop\\a.txt"};
    targets.CreateOnDesktop(PressKind::withSelection);
    EXPECT_EQ(
        desktop.journal,
        (Texts{L"selection",
               L"move C:\\Users\\u\\Desktop\\a.txt into C:\\Users\\u\\Desktop\\New Folder for 0",
               L"announce C:\\Users\\u\\Desktop\\New Folder",
               L"rename C:\\Users\\u\\Desktop\\New Folder"}));

    // A plain press doesn't ask; a folder that can't be made gets nothing moved.
    desktop.journal.clear();
    targets.CreateOnDesktop(PressKind::newFolder);
    files.refuse = true;
    targets.CreateOnDesktop(PressKind::withSelection);
    EXPECT_EQ(desktop.journal,
              (Texts{L"announce C:\\Users\\u\\Desktop\\New Folder (2)",
                     L"rename C:\\Users\\u\\Desktop\\New Folder (2)", L"selection"}));
}

TEST(NewFolderTargetsTest, RenamesInWindowsGoWhereTheyAreSentAndNowhereWithoutOne) {
    MemoryFileSystem files;
    FakeDesktop desktop;
    NewFolderTargets targets(files, desktop, {L"New Folder", L"New Folder"});
    // None set: the view is let go, nothing breaks.
    targets.StartRename(nullptr, L"D:\\Work\\New Folder");
    Texts started;
    targets.SetRenameStarter(
        [&](std::unique_ptr<RenameView>, const std::wstring& path) { started.push_back(path); });
    targets.StartRename(nullptr, L"D:\\Work\\New Folder (2)");
    EXPECT_EQ(started, (Texts{L"D:\\Work\\New Folder (2)"}));
}

} // namespace
} // namespace nestora::app
