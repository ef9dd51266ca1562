// Creating the new folder in a target folder: the name check, the free name and the
// directory itself, over a file-system seam so the logic is tested without Windows.
//
// One press of the hotkey first creates the directory under the plain name; only when that
// name is taken does it list the target folder (once) to pick the free name. When
// creating it finds the name taken after all (another program made a folder of that name
// in between, or a file of that name is in the way), the next free name is taken, a
// bounded number of times, so a press doesn't come to nothing because of a race.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nestora::app {

enum class CreateDirectoryResult { created, alreadyExists, failed };

class FolderFileSystem {
public:
    virtual ~FolderFileSystem() = default;

    // Names (not paths) of the directories in folder whose names start with prefix,
    // compared without regard to case. More names may come back; none are missed. Empty
    // when the folder can't be listed (creating in it then tells what is wrong).
    virtual std::vector<std::wstring> DirectoryNamesStartingWith(const std::wstring& folder,
                                                                 const std::wstring& prefix) = 0;

    // alreadyExists when anything, a directory or a file, bears the path already.
    virtual CreateDirectoryResult MakeDirectory(const std::wstring& path) = 0;

    // The system's error code of the last MakeDirectory that made nothing (the code of
    // ERROR_ALREADY_EXISTS for a name taken); 0 when none failed yet or it isn't known.
    virtual std::uint32_t LastCreateError() const { return 0; }
};

// Attempts at creating the folder before a press gives up on a folder others keep taking.
inline constexpr int kMaxCreateAttempts = 64;

// A drive path ("C:", "C:\Data") or a UNC path ("\\server\share"): the only targets a
// folder is created in. A relative path would land wherever the program's current
// folder happens to be.
bool IsAbsoluteFolderPath(std::wstring_view path);

struct NewFolderRequest {
    std::wstring_view targetFolder;
    std::wstring_view folderName;        // as the settings hold it, unchecked
    std::wstring_view defaultFolderName; // the current language's, used when that is unusable
};

// The full path of the folder created, or nothing when the target is not an absolute
// path, the directory can't be created, or every attempt found its name taken.
std::optional<std::wstring> CreateNewFolder(FolderFileSystem& fileSystem,
                                            const NewFolderRequest& request);

} // namespace nestora::app
