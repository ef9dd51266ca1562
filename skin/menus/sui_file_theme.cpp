#include "skin/menus/file_theme.h"

#include "gui/core/class_builder.h"
#include "gui/win/application.h"
#include "gui/win/bitmap.h"
#include "gui/win/form.h"
#include "skin/menus/theme_file_loader.h"
#include "skin/resolve_style.h"
#include "skin/sui_public.h"

#include <filesystem>
#include <system_error>

namespace nestora::skin {

namespace {

bool IsFile(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

} // namespace

const TsuiFileTheme* AsFileTheme(const gui::TComponent* component) {
    return dynamic_cast<const TsuiFileTheme*>(component);
}

// ---------------------------------------------------------------------------------------
// TsuiThemeFileReader, TsuiFileThemeMgr

// The loader reads through the C runtime, which opens files without denying others
// reading or writing them.
TsuiThemeFileReader::TsuiThemeFileReader(const std::wstring& fileName)
    : file_(skin::LoadThemeFile(std::filesystem::path(fileName))) {}

bool TsuiFileThemeMgr::LoadThemeFile(const std::wstring& fileName) {
    if (!IsFile(fileName))
        return false;
    auto reader = std::make_unique<TsuiThemeFileReader>(fileName);
    reader_ = std::move(reader);
    return true;
}

void TsuiFileThemeMgr::Bitmap(StyleElement element, gui::TBitmap& graphic) const {
    if (!reader_)
        return;
    if (const auto bytes = reader_->BitmapStream(KeyNameOfElement(element)))
        graphic.LoadFromMemory(*bytes);
}

// ---------------------------------------------------------------------------------------
// TsuiFileTheme

const gui::ClassInfo& TsuiFileTheme::StaticClassInfo() {
    using T = TsuiFileTheme;
    static const gui::ClassInfo info =
        gui::ClassBuilder<T>("TsuiFileTheme", &gui::TComponent::StaticClassInfo())
            .Creatable()
            .Text("ThemeFile", &T::ThemeFile, &T::SetThemeFile)
            .Build();
    return info;
}

void TsuiFileTheme::SetThemeFile(const std::wstring& name) {
    if (name == themeFile_)
        return;
    std::filesystem::path path(name);
    if (!IsFile(path)) {
        path = std::filesystem::path(gui::TApplication::ExeName()).parent_path() /
               std::filesystem::path(name).filename();
        if (!IsFile(path))
            return;
    }
    const std::wstring resolved = path.wstring();
    try {
        themeLoaded_ = manager_.LoadThemeFile(resolved);
    } catch (const ThemeFileError& error) {
        // The theme that was loaded stays: its path, its flag and its data.
        throw EsuiThemeFileError(resolved, error.Fault(), error.Message());
    }
    themeFile_ = resolved;
    if (themeLoaded_)
        ReapplyToUsers();
}

void TsuiFileTheme::ReapplyToUsers() {
    auto* form = dynamic_cast<gui::TCustomForm*>(Owner());
    if (!form)
        return;
    // Setting a component's FileTheme may make or free components of the form (a menu bar's
    // buttons), so the list is taken first and each entry is checked to be still there.
    std::vector<gui::TComponent*> users;
    for (int i = 0; i < form->ComponentCount(); ++i)
        users.push_back(form->Components(i));
    for (gui::TComponent* c : users) {
        bool present = false;
        for (int i = 0; i < form->ComponentCount() && !present; ++i)
            present = form->Components(i) == c;
        if (!present || !c->GetClassInfo().Name().starts_with("Tsui") ||
            !gui::HasPublishedProperty(*c, "FileTheme"))
            continue;
        const gui::PropertyValue value = gui::GetPropertyValue(*c, "FileTheme");
        const auto* current = std::get_if<gui::TComponent*>(&value);
        if (current && *current == this)
            gui::SetPropertyValue(*c, "FileTheme", static_cast<gui::TComponent*>(this));
    }
}

void TsuiFileTheme::GetFileThemeBitmap(StyleElement element, gui::TBitmap& graphic) const {
    manager_.Bitmap(element, graphic);
}

void TsuiFileTheme::GetFileThemeBitmapCell(StyleElement element, gui::TBitmap& dest, int index,
                                           int count) const {
    gui::TBitmap whole;
    manager_.Bitmap(element, whole);
    if (!whole.Empty())
        CutStateImage(whole, dest, count, index);
}

} // namespace nestora::skin
