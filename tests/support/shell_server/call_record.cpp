#include "tests/support/shell_server/call_record.h"

#include "gui/core/utf.h"

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
    const std::string bytes = gui::WideToUtf8(text + L"\n");
    std::fwrite(bytes.data(), 1, bytes.size(), file_);
    std::fflush(file_);
}

} // namespace nestora::testing
