// Theme files on the skin's side: TsuiThemeFileReader (one parsed file), TsuiFileThemeMgr
// (element numbers to key names, over the reader) and TsuiFileTheme, the component a form
// holds and skinned components name in their FileTheme property.
//
// This header has no windows.h: the style resolution (skin/resolve_style.cpp, plain C++)
// asks a theme whether it has loaded a file through it. Everything that touches files,
// bitmaps or window descriptions is defined in sui_file_theme.cpp.
//
// TsuiFileTheme's life story:
//   created   no file, ThemeLoaded false.
//   ThemeFile set to a name: a name that is no file is looked for beside the executable;
//             a name found nowhere changes nothing. Otherwise the file is read whole,
//             parsed, its numbers checked against their ranges and every picture in it
//             decoded, all before it takes effect; on success ThemeFile reads back as the
//             path used, ThemeLoaded is true, and every "Tsui" component of the owner form
//             that uses this theme gets its FileTheme set again, so it reads its look from
//             the new file. A file with any part that cannot be read, is damaged or is out
//             of bounds keeps the theme that was loaded before (path, flag, data and every
//             component's look) and raises EsuiThemeFileError naming the file and the entry
//             at fault. So a theme is applied whole or not at all.
//   destroyed the components that use it hear of it (free notification) and go DeepBlue.
//
// Components never copy a theme's data: they read it each time they apply their style or
// draw, so they see the file that is loaded at that moment. Pictures are handed out as
// copies of the ones decoded at load, so reading one cannot fail halfway through a restyle.
#pragma once

#include "gui/core/color.h"
#include "gui/core/component.h"
#include "gui/core/exceptions.h"
#include "skin/menus/theme_file.h"
#include "skin/menus/theme_file_error.h"
#include "skin/style_table.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace nestora::gui {
class TBitmap;
}

namespace nestora::skin {

// A theme file that could not be loaded: which file, and what is wrong with it.
class EsuiThemeFileError : public gui::Exception {
public:
    EsuiThemeFileError(std::wstring fileName, ThemeFileFault fault, const std::wstring& message)
        : gui::Exception(message), fileName_(std::move(fileName)), fault_(fault) {}
    const std::wstring& FileName() const noexcept { return fileName_; }
    ThemeFileFault Fault() const noexcept { return fault_; }

private:
    std::wstring fileName_;
    ThemeFileFault fault_;
};

// One theme file, read completely (others may read and write it meanwhile), parsed, and
// every picture in it decoded.
class TsuiThemeFileReader {
public:
    // Throws ThemeFileError when the file cannot be read, breaks the format, holds a number
    // out of its range or a picture that does not decode (PictureUnreadable, naming the
    // entry).
    explicit TsuiThemeFileReader(const std::wstring& fileName);
    // Decodes the pictures of a file already parsed, as the constructor does.
    explicit TsuiThemeFileReader(ThemeFile file);
    ~TsuiThemeFileReader();
    TsuiThemeFileReader(const TsuiThemeFileReader&) = delete;
    TsuiThemeFileReader& operator=(const TsuiThemeFileReader&) = delete;

    // The BMP file stored under the key (first in chain order, any letter case), or none.
    std::optional<std::span<const std::uint8_t>> BitmapStream(std::wstring_view key) const {
        return file_.Bitmap(key);
    }
    // -1 when there is none.
    std::int32_t Integer(std::wstring_view key) const { return file_.Integer(key); }
    // False when there is none; any non-zero byte is true.
    bool Flag(std::wstring_view key) const { return file_.Flag(key); }
    const ThemeFile& File() const noexcept { return file_; }
    // The decoded picture stored under the key (first in chain order), or null.
    const gui::TBitmap* Picture(std::wstring_view key) const;

private:
    struct DecodedPicture;
    void DecodePictures();

    ThemeFile file_;
    std::vector<DecodedPicture> pictures_; // the first entry of each key, in chain order
};

// Style elements (1..42) read from the loaded file by their key names.
class TsuiFileThemeMgr {
public:
    // False, and nothing changed, when no file of that name exists. Otherwise the file is
    // read into a new reader, which replaces the old one only once it has been read whole:
    // a failure (ThemeFileError) leaves the loaded file as it was.
    bool LoadThemeFile(const std::wstring& fileName);
    bool HasReader() const noexcept { return reader_ != nullptr; }
    const TsuiThemeFileReader* Reader() const noexcept { return reader_.get(); }

    // The element's bitmap into graphic; left unchanged without a reader or when the file
    // has no such bitmap.
    void Bitmap(StyleElement element, gui::TBitmap& graphic) const;
    // False without a reader.
    bool Flag(StyleElement element) const {
        return reader_ && reader_->Flag(KeyNameOfElement(element));
    }
    // 0 without a reader; -1 when the file lacks the key.
    TColor Color(StyleElement element) const { return static_cast<TColor>(Int(element)); }
    int Int(StyleElement element) const {
        return reader_ ? reader_->Integer(KeyNameOfElement(element)) : 0;
    }

private:
    std::unique_ptr<TsuiThemeFileReader> reader_;
};

class TsuiFileTheme : public gui::TComponent {
public:
    explicit TsuiFileTheme(gui::TComponent* owner) : gui::TComponent(owner) {}
    ~TsuiFileTheme() override = default;

    static const gui::ClassInfo& StaticClassInfo();
    const gui::ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }

    const std::wstring& ThemeFile() const noexcept { return themeFile_; }
    void SetThemeFile(const std::wstring& name);
    bool ThemeLoaded() const noexcept { return themeLoaded_; }
    const TsuiFileThemeMgr& Manager() const noexcept { return manager_; }

    void GetFileThemeBitmap(StyleElement element, gui::TBitmap& graphic) const;
    // Cell index (1-based) of count equal cells of the element's bitmap into dest.
    void GetFileThemeBitmapCell(StyleElement element, gui::TBitmap& dest, int index,
                                int count) const;
    bool GetFileThemeBool(StyleElement element) const { return manager_.Flag(element); }
    TColor GetFileThemeColor(StyleElement element) const { return manager_.Color(element); }
    int GetFileThemeInt(StyleElement element) const { return manager_.Int(element); }

private:
    // Sets "FileTheme" of the owner form's Tsui components that use this theme again.
    void ReapplyToUsers();

    TsuiFileThemeMgr manager_;
    std::wstring themeFile_;
    bool themeLoaded_ = false;
};

} // namespace nestora::skin
