#include "desktop/core/auto_exec_values.h"

#include "gui/core/class_info.h"

namespace nestora::desktop {

namespace {

constexpr std::wstring_view kCurrentVersion = L"Software\\Microsoft\\Windows\\CurrentVersion\\";

bool IsQuoted(std::wstring_view text) {
    return text.size() >= 2 && text.front() == L'"' && text.back() == L'"';
}

} // namespace

std::wstring StartupApprovedKeyPath(TabfAutoExecKind kind) {
    if (kind != TabfAutoExecKind::aekMachineRun && kind != TabfAutoExecKind::aekUserRun)
        return {};
    return std::wstring(kCurrentVersion) + L"Explorer\\StartupApproved\\Run";
}

bool StartupApprovedDisables(std::basic_string_view<unsigned char> data) {
    return !data.empty() && (data.front() & 1U) != 0;
}

const gui::EnumInfo kAutoExecKindInfo{"TabfAutoExecKind",
                                      {"aekMachineRun", "aekMachineRunOnce", "aekUserRun",
                                       "aekUserRunOnce", "aekServiceRun", "aekServiceRunOnce"}};

AutoExecKey AutoExecRegKey(TabfAutoExecKind kind) {
    const auto key = [](AutoExecRoot root, std::wstring_view name) {
        return AutoExecKey{root, std::wstring(kCurrentVersion) + std::wstring(name)};
    };
    switch (kind) {
    case TabfAutoExecKind::aekMachineRun:
        return key(AutoExecRoot::LocalMachine, L"Run");
    case TabfAutoExecKind::aekMachineRunOnce:
        return key(AutoExecRoot::LocalMachine, L"RunOnce");
    case TabfAutoExecKind::aekUserRun:
        return key(AutoExecRoot::CurrentUser, L"Run");
    case TabfAutoExecKind::aekUserRunOnce:
        return key(AutoExecRoot::CurrentUser, L"RunOnce");
    case TabfAutoExecKind::aekServiceRun:
        return key(AutoExecRoot::LocalMachine, L"RunServices");
    case TabfAutoExecKind::aekServiceRunOnce:
        return key(AutoExecRoot::LocalMachine, L"RunServicesOnce");
    }
    return key(AutoExecRoot::LocalMachine, L"Run");
}

bool IsServiceKind(TabfAutoExecKind kind) {
    return kind == TabfAutoExecKind::aekServiceRun || kind == TabfAutoExecKind::aekServiceRunOnce;
}

std::wstring AutoExecValueName(std::wstring_view fileName) {
    if (IsQuoted(fileName))
        fileName = fileName.substr(1, fileName.size() - 2);
    const std::size_t cut = fileName.find_last_of(L"\\:/");
    return std::wstring(cut == std::wstring_view::npos ? fileName : fileName.substr(cut + 1));
}

std::wstring AutoExecValueData(std::wstring_view fileName) {
    const bool hasBlank = fileName.find_first_of(L" \t") != std::wstring_view::npos;
    if (!hasBlank || IsQuoted(fileName))
        return std::wstring(fileName);
    return L"\"" + std::wstring(fileName) + L"\"";
}

bool AutoExecIsExpandable(std::wstring_view fileName) {
    return fileName.find(L'%') != std::wstring_view::npos;
}

} // namespace nestora::desktop
