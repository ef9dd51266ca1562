#include "skin/menus/file_theme.h"

#include "gui/core/class_builder.h"
#include "gui/win/application.h"
#include "gui/win/bitmap.h"
#include "gui/win/form.h"
#include "gui/win/handles.h"
#include "skin/menus/theme_file_loader.h"
#include "skin/menus/theme_file_parser.h"
#include "skin/resolve_style.h"
#include "skin/sui_style_win.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace nestora::skin {

namespace {

bool IsFile(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::size_t LastSeparator(const std::wstring& path) {
    return path.find_last_of(L"\\/");
}

// The whole file, opened without denying others reading, writing or renaming it, and
// refused before anything is allocated when it is larger than any theme has reason to be.
std::vector<std::uint8_t> ReadWholeFile(const std::wstring& name) {
    const HANDLE opened = ::CreateFileW(name.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE)
        throw UnreadableThemeFile(name, L"it cannot be opened");
    const gui::UniqueKernelHandle file(opened);
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart < 0)
        throw UnreadableThemeFile(name, L"its size cannot be found");
    const auto bytesInFile = static_cast<std::uintmax_t>(size.QuadPart);
    if (bytesInFile > kMaxThemeFileSize)
        throw ThemeFileTooLarge(name, bytesInFile, kMaxThemeFileSize);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(bytesInFile));
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        DWORD got = 0;
        if (!::ReadFile(file.get(), bytes.data() + filled,
                        static_cast<DWORD>(std::min<std::size_t>(bytes.size() - filled, 1u << 20)),
                        &got, nullptr))
            throw UnreadableThemeFile(name, L"reading it failed");
        if (got == 0)
            break; // shrank meanwhile: the parser judges what is there
        filled += got;
    }
    bytes.resize(filled);
    return bytes;
}

} // namespace

const TsuiFileTheme* AsFileTheme(const gui::TComponent* component) {
    return dynamic_cast<const TsuiFileTheme*>(component);
}

// ---------------------------------------------------------------------------------------
// TsuiThemeFileReader, TsuiFileThemeMgr

struct TsuiThemeFileReader::DecodedPicture {
    ThemeEntry entry;
    std::unique_ptr<gui::TBitmap> bitmap;
};

TsuiThemeFileReader::TsuiThemeFileReader(const std::wstring& fileName)
    : TsuiThemeFileReader(ParseThemeFile(ReadWholeFile(fileName), fileName)) {}

TsuiThemeFileReader::TsuiThemeFileReader(ThemeFile file) : file_(std::move(file)) {
    DecodePictures();
}

TsuiThemeFileReader::~TsuiThemeFileReader() = default;

void TsuiThemeFileReader::DecodePictures() {
    // Every picture, also those a later lookup would never reach (a second entry of the same
    // key): a file with any damaged part is refused. The parser has bounded their sizes.
    for (const ThemeEntry& entry : file_.Bitmaps()) {
        auto bitmap = std::make_unique<gui::TBitmap>();
        try {
            bitmap->LoadFromMemory(file_.Data(entry));
        } catch (const gui::Exception& error) {
            throw ThemeFileError(
                ThemeFileFault::PictureUnreadable,
                L"Theme file '" + file_.FileName() + L"' is damaged: the bitmap entry '" +
                    PrintableThemeKey(file_.Key(entry)) + L"' cannot be read: " + error.Message());
        }
        const std::wstring key = file_.Key(entry);
        if (!Picture(key)) // the first of its key is the one lookups find
            pictures_.push_back({entry, std::move(bitmap)});
    }
}

const gui::TBitmap* TsuiThemeFileReader::Picture(std::wstring_view key) const {
    for (const DecodedPicture& picture : pictures_) {
        if (KeyEqualsIgnoringCase(file_.KeyBytes(picture.entry), key))
            return picture.bitmap.get();
    }
    return nullptr;
}

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
    if (const gui::TBitmap* picture = reader_->Picture(KeyNameOfElement(element)))
        graphic.Assign(*picture);
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
    std::wstring resolved = name;
    if (!IsFile(resolved)) {
        // A name not found as given is looked for beside the executable.
        const std::wstring bareName = name.substr(LastSeparator(name) + 1);
        const std::wstring exe = gui::TApplication::ExeName();
        const std::size_t exeSeparator = LastSeparator(exe);
        if (bareName.empty() || exeSeparator == std::wstring::npos)
            return;
        resolved = exe.substr(0, exeSeparator + 1) + bareName;
        if (!IsFile(resolved))
            return;
    }
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
