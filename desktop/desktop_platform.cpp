#include "desktop/desktop_platform.h"

namespace nestora::desktop {

namespace {

struct VersionFacts {
    bool nt = false;
    bool nt5OrLater = false;
};

VersionFacts ReadVersion() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    // BODGY: GetVersionExW reports 6.2 to programs without a compatibility manifest on
    // Windows 8.1 and later; it still reports NT and a major version past 5, which is all
    // that is asked here.
    if (!::GetVersionExW(&info))
        return {true, true}; // only ever refused on a system this program cannot run on
    const bool nt = info.dwPlatformId == VER_PLATFORM_WIN32_NT;
    return {nt, nt && info.dwMajorVersion >= 5};
}

const VersionFacts& Version() {
    static const VersionFacts facts = ReadVersion();
    return facts;
}

} // namespace

bool IsWinNT() {
    return Version().nt;
}

bool IsWinNT5OrLater() {
    return Version().nt5OrLater;
}

UINT TaskbarCreatedMessage() {
    static const UINT message = ::RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

} // namespace nestora::desktop
