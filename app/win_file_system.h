// The folder-creation seam over the Windows file system.
//
// Lists a folder once per attempt with a "Name*" pattern (FindFirstFileExW, basic
// information, large fetch) and creates directories with CreateDirectoryW. Paths too long
// for the plain calls get the \\?\ prefix, so folders deep in a tree are handled too.
#pragma once

#include "app/folder_creation.h"

#include <string>
#include <string_view>

namespace nestora::app {

// path as the wide file calls take it: with \\?\ (or \\?\UNC\ for a UNC path) when it is
// longer than CreateDirectoryW allows without it, forward slashes turned into backslashes
// since the prefixed form takes the path literally.
std::wstring ExtendedLengthPath(std::wstring_view path);

class WindowsFileSystem final : public FolderFileSystem {
public:
    std::vector<std::wstring> DirectoryNamesStartingWith(const std::wstring& folder,
                                                         const std::wstring& prefix) override;
    CreateDirectoryResult MakeDirectory(const std::wstring& path) override;
    std::uint32_t LastCreateError() const override { return lastCreateError_; }

private:
    std::uint32_t lastCreateError_ = 0;
};

} // namespace nestora::app
