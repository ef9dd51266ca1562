#include "app/folder_creation.h"

#include "app/folder_name.h"
#include "app/free_folder_name.h"

namespace nestora::app {

namespace {

bool isSlash(wchar_t c) {
    return c == L'\\' || c == L'/';
}

} // namespace

bool isAbsoluteFolderPath(std::wstring_view path) {
    if (path.size() >= 3 && isSlash(path[0]) && isSlash(path[1]) && !isSlash(path[2]))
        return true;
    const bool driveLetter =
        path.size() >= 2 && path[1] == L':' &&
        ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z'));
    return driveLetter && (path.size() == 2 || isSlash(path[2]));
}

std::optional<std::wstring> createNewFolder(FolderFileSystem& fileSystem,
                                            const NewFolderRequest& request) {
    if (!isAbsoluteFolderPath(request.targetFolder))
        return std::nullopt;
    const std::wstring target(request.targetFolder);
    const std::wstring base = usableFolderName(request.folderName, request.defaultFolderName);

    // Names found taken by the creation itself: a file in the way never shows in a listing
    // of directories, so it is remembered here, or the same name would be picked again.
    std::vector<std::wstring> takenOnCreation;
    for (int attempt = 0; attempt < kMaxCreateAttempts; ++attempt) {
        std::vector<std::wstring> taken = fileSystem.directoryNamesStartingWith(target, base);
        taken.insert(taken.end(), takenOnCreation.begin(), takenOnCreation.end());
        std::wstring name = firstFreeFolderName(base, taken);
        std::wstring path = joinPath(target, name);
        switch (fileSystem.createDirectory(path)) {
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
