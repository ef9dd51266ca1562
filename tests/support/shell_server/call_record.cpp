#include "tests/support/shell_server/call_record.h"

#include <windows.h>

#include <vector>

namespace nestora::testing {

CallRecord::CallRecord(const std::wstring& path) {
    if (!path.empty())
        file_ = ::_wfopen(path.c_str(), L"wb");
}

CallRecord::~CallRecord() {
    if (file_)
        std::fclose(file_);
}

void CallRecord::Line(const std::wstring& text) {
    if (!file_)
        return;
    const std::wstring line = text + L"\n";
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::vector<char> bytes(static_cast<std::size_t>(size > 0 ? size : 0));
    ::WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), bytes.data(),
                          size, nullptr, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), file_);
    std::fflush(file_);
}

} // namespace nestora::testing
