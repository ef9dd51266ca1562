#include "tests/support/win/window_picture.h"

#include "gui/win/bitmap.h"
#include "gui/win/canvas.h"
#include "gui/win/handles.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace nestora::testing {

bool SaveWindowPicture(HWND window, const std::wstring& path) {
    RECT r{};
    if (!::GetWindowRect(window, &r))
        return false;
    gui::TBitmap shot;
    shot.SetPixelFormat(gui::TPixelFormat::pf24bit);
    shot.SetSize(r.right - r.left, r.bottom - r.top);
    const gui::WindowDC screen = gui::WindowDC::Client(nullptr);
    ::BitBlt(shot.Canvas().Handle(), 0, 0, r.right - r.left, r.bottom - r.top, screen.get(), r.left,
             r.top, SRCCOPY);
    const std::vector<std::uint8_t> bytes = shot.SaveToMemory();
    FILE* file = ::_wfopen(path.c_str(), L"wb");
    if (!file)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    std::fclose(file);
    return written;
}

void KeepScreenshot(const gui::TBitmap& shot, const std::string& name) {
    const char* folder = std::getenv("NESTORA_SCREENSHOTS");
    if (!folder || !*folder)
        return;
    const std::string path = std::string(folder) + "\\" + name + ".bmp";
    const std::vector<std::uint8_t> bytes = shot.SaveToMemory();
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        std::printf("[ PICTURE  ] %s\n", path.c_str());
    }
}

} // namespace nestora::testing
