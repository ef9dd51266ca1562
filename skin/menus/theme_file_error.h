#pragma once
// The one error a theme file can cause: it could not be read, or it breaks the layout.
// The message names the file and the fault in words a skin author can act on; the fault
// code lets callers and tests tell the cases apart without parsing text.

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

namespace nestora::skin {

enum class ThemeFileFault {
    Unreadable,        // the file cannot be opened or read
    TooLarge,          // bigger than any theme has reason to be
    Empty,             // no bytes at all
    TooShort,          // shorter than its header
    HeaderLength,      // the header length field is not 24
    RecordBeyondEnd,   // a record offset lies at or past the end of the file
    RecordPastEnd,     // a record starts inside the file but does not fit in it
    ChainLoop,         // a next-record offset leads back to a record already read
    ChainTooLong,      // more records than the file has room for
    DataPastEnd,       // a data block (offset plus size) runs past the end of the file
    IntegerSize,       // an integer entry whose data is not 4 bytes
    FlagSize,          // a flag entry whose data is not 1 byte
    NotBitmap,         // a bitmap entry whose data does not start like a BMP file
    ValueOutOfRange,   // an integer or colour outside what the skin accepts for its key
    PictureTooLarge,   // a picture wider or higher than a theme's pictures may be
    PicturesTooLarge,  // all pictures together have more pixels than a theme may hold
    PictureUnreadable, // a picture whose header looked right but which does not decode
};

class ThemeFileError : public std::exception {
public:
    ThemeFileError(ThemeFileFault fault, std::wstring message);

    ThemeFileFault Fault() const noexcept { return fault_; }
    const std::wstring& Message() const noexcept { return message_; }
    // UTF-8 form of the message, for logs and test output.
    const char* what() const noexcept override { return narrow_.c_str(); }

private:
    ThemeFileFault fault_;
    std::wstring message_;
    std::string narrow_;
};

// The errors of reading a theme file, worded alike by every way of reading one.
ThemeFileError UnreadableThemeFile(std::wstring_view fileName, std::wstring_view why);
ThemeFileError ThemeFileTooLarge(std::wstring_view fileName, std::uintmax_t size,
                                 std::uintmax_t maxSize);

// A key as a message shows it: control characters in a damaged key would garble a message
// box, so they are shown as '?'.
std::wstring PrintableThemeKey(std::wstring_view key);

// Unpaired surrogates (where wchar_t is 16 bits) and values past U+10FFFF become U+FFFD.
std::string ThemeWideToUtf8(std::wstring_view wide);

} // namespace nestora::skin
