#include "app/folder_creation.h"

#include "app/folder_name.h"
#include "app/free_folder_name.h"

namespace nestora::app {

namespace {

bool IsSlash(wchar_t c) {
    return c == L'\\' || c == L'/';
}

} // namespace

bool IsAbsoluteFolderPath(std::wstring_view path) {
    if (path.size() >= 3 && IsSlash(path[0]) && IsSlash(path[1]) && !IsSlash(path[2]))
        return true;
    const bool driveLetter =
        path.size() >= 2 && path[1] == L':' &&
        ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z'));
    return driveLetter && (path.size() == 2 || IsSlash(path[2]));
}

std::optional<std::wstring> CreateNewFolder(FolderFileSystem& fileSystem,
                                            const NewFolderRequest& request) {
    if (!IsAbsoluteFolderPath(request.targetFolder))
        return std::nullopt;
    const std::wstring target(request.targetFolder);
    const std::wstring base = UsableFolderName(request.folderName, request.defaultFolderName);

    // Names found taken by the creation itself: a file in the way never shows in a listing
    // of directories, so it is remembered here, or the same name would be picked again.
    std::vector<std::wstring> takenOnCreation;
    for (int attempt = 0; attempt < kMaxCreateAttempts; ++attempt) {
        // The plain name is usually free, and creating it is the cheapest test of that: the
        // folder is read only once the plain name turns out taken.
        std::wstring name = base;
        if (attempt > 0) {
            std::vector<std::wstring> taken = fileSystem.DirectoryNamesStartingWith(target, base);
            taken.insert(taken.end(), takenOnCreation.begin(), takenOnCreation.end());
            name = FirstFreeFolderName(base, taken);
        }
        std::wstring path = JoinPath(target, name);
        switch (fileSystem.MakeDirectory(path)) {
        case CreateDirectoryResult::created:
            return path;
        case CreateDirectoryResult::failed:
            return std::nullopt;
        case CreateDirectoryResult::alreadyExists:
            takenOnCreation.push_back(std::move(name));
            break;
        }
    }
    return std::nullopt;
}

} // namespace nestora::app
