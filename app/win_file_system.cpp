#include "app/win_file_system.h"

#include "app/free_folder_name.h"

#include <windows.h>

namespace nestora::app {

namespace {

// A find handle and its FindClose.
class FindHandle {
public:
    explicit FindHandle(HANDLE handle) : handle_(handle) {}
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    ~FindHandle() {
        if (Valid())
            FindClose(handle_);
    }
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

bool IsDotEntry(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

} // namespace

std::wstring ExtendedLengthPath(std::wstring_view path) {
    // CreateDirectoryW leaves room for an 8.3 name: MAX_PATH - 12 with the terminator.
    constexpr std::size_t kLongestPlainPath = MAX_PATH - 12 - 1;
    std::wstring result(path);
    if (result.size() <= kLongestPlainPath || result.starts_with(L"\\\\?\\"))
        return result;
    for (auto& c : result) {
        if (c == L'/')
            c = L'\\';
    }
    if (result.starts_with(L"\\\\"))
        return L"\\\\?\\UNC\\" + result.substr(2);
    return L"\\\\?\\" + result;
}

std::vector<std::wstring>
WindowsFileSystem::DirectoryNamesStartingWith(const std::wstring& folder,
                                              const std::wstring& prefix) {
    std::vector<std::wstring> names;
    const std::wstring pattern = ExtendedLengthPath(JoinPath(folder, prefix + L"*"));
    WIN32_FIND_DATAW data{};
    FindHandle find(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                     nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find.Valid())
        return names;
    do {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !IsDotEntry(data.cFileName))
            names.emplace_back(data.cFileName);
    } while (FindNextFileW(find.get(), &data));
    return names;
}

CreateDirectoryResult WindowsFileSystem::MakeDirectory(const std::wstring& path) {
    if (CreateDirectoryW(ExtendedLengthPath(path).c_str(), nullptr))
        return CreateDirectoryResult::created;
    lastCreateError_ = GetLastError();
    return lastCreateError_ == ERROR_ALREADY_EXISTS ? CreateDirectoryResult::alreadyExists
                                                    : CreateDirectoryResult::failed;
}

} // namespace nestora::app
