#include "gui/win/window_class.h"

#include "gui/core/exceptions.h"

namespace gui {

HINSTANCE FrameworkInstance() {
    // The module this code is linked into (the program or a test executable).
    HMODULE module = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                             GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCWSTR>(&FrameworkInstance), &module);
    return module;
}

WNDPROC EnsureWindowClass(const WindowClassSpec& spec) {
    const HINSTANCE instance = FrameworkInstance();
    WNDCLASSEXW base{};
    base.cbSize = sizeof base;
    WNDPROC defaultProc = ::DefWindowProcW;
    if (spec.baseClass) {
        // Asked afresh each time: cheap, and always the class the system has now (the
        // Common Controls 6 version where the manifest asks for it).
        if (!::GetClassInfoExW(nullptr, spec.baseClass, &base))
            throw EOutOfResources(
                FormatText(L"The window class %s does not exist", {spec.baseClass}));
        defaultProc = base.lpfnWndProc;
    }
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (::GetClassInfoExW(instance, spec.name.c_str(), &existing))
        return defaultProc;

    WNDCLASSEXW wc{};
    if (spec.baseClass) {
        wc = base; // styles, extra bytes, cursor and brush of the system class
    } else {
        wc.style = spec.style;
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hIcon = spec.icon;
    }
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = spec.procedure;
    wc.hInstance = instance;
    wc.lpszClassName = spec.name.c_str();
    wc.lpszMenuName = nullptr;
    if (!::RegisterClassExW(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw EOutOfResources(
            FormatText(L"The window class %s cannot be registered", {spec.name}));
    return defaultProc;
}

} // namespace gui
