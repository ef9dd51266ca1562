#pragma once
// TFont: the description of a font (name, size or height, style, colour, character set,
// pitch) and the HFONT made from it on demand.
//
// Life story:
//   created   "MS Sans Serif", height -11 (8 points at 96 pixels per inch), no style,
//             clWindowText, DEFAULT_CHARSET, default pitch. Nothing is allocated yet.
//   changed   through its setters or a window description ("Font.Name", "Font.Style =
//             [fsBold]", "Font.Height = -11"). A setter that changes nothing does nothing;
//             otherwise OnChange runs and only then is the old HFONT freed, so whoever
//             holds it (a canvas that selected it, a control that got it by WM_SETFONT)
//             can put the new one — Handle() inside OnChange — or a stock font in its place.
//   used      Handle() creates the HFONT the first time it is asked for; it stays owned by
//             the font. SetHandle() takes over an HFONT made elsewhere (the system menu
//             font): the font owns it from then on and its properties describe it.
//   copied    Assign copies the description, never the handle.
//
// Size is in points and Height in pixels: a negative Height is the character height, a
// positive one the cell height; Size = -Height * 72 / PixelsPerInch, rounded.

#include "gui/win/graphics_win32.h"

#include "gui/core/class_info.h"
#include "gui/core/color.h"
#include "gui/core/events.h"
#include "gui/core/object.h"
#include "gui/win/graphics_counters.h"

#include <string>

namespace nestora::gui {

enum TFontStyle : unsigned {
    fsBold = 1u << 0,
    fsItalic = 1u << 1,
    fsUnderline = 1u << 2,
    fsStrikeOut = 1u << 3,
};
using TFontStyles = unsigned;

enum class TFontPitch { fpDefault, fpVariable, fpFixed };

extern const EnumInfo kFontStyleInfo;
extern const EnumInfo kFontPitchInfo;

// Logical pixels per inch of the screen, read once.
int ScreenPixelsPerInch();

class TFont : public TPersistent {
public:
    TFont();
    ~TFont() override;
    TFont(const TFont&) = delete;
    TFont& operator=(const TFont&) = delete;

    static const ClassInfo& StaticClassInfo();
    const ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }

    const std::wstring& Name() const { return name_; }
    // Longer names than Windows keeps (31 characters) are cut.
    void SetName(const std::wstring& name);
    int Size() const;
    void SetSize(int points);
    int Height() const { return height_; }
    void SetHeight(int pixels);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    int Charset() const { return charset_; }
    void SetCharset(int charset); // 0..255; other values are refused with EConvertError
    TFontPitch Pitch() const { return pitch_; }
    void SetPitch(TFontPitch pitch);
    int PixelsPerInch() const { return pixelsPerInch_; }
    void SetPixelsPerInch(int pixelsPerInch);

    // The font's HFONT, created now if there is none; owned by the font. Fails with
    // EOutOfResources when GDI cannot make it.
    HFONT Handle() const;
    bool HandleAllocated() const { return static_cast<bool>(handle_); }
    // Takes over font (empty: just free the current one). The properties then describe it.
    void SetHandle(UniqueFont font);

    // The same description (name, height, style, charset, pitch; colour too).
    bool SameAs(const TFont& other) const;
    void Assign(const TPersistent& source) override;

    void SetOnChange(TNotifyEvent handler) { onChange_ = std::move(handler); }
    const TNotifyEvent& OnChange() const { return onChange_; }

    // The LOGFONTW the handle is (or would be) made from.
    LOGFONTW LogFont() const;

private:
    // shapeChanged: the HFONT no longer fits the description and is freed after OnChange.
    void Changed(bool shapeChanged);

    std::wstring name_;
    int height_ = -11;
    TFontStyles style_ = 0;
    TColor color_ = clWindowText;
    int charset_ = DEFAULT_CHARSET;
    TFontPitch pitch_ = TFontPitch::fpDefault;
    int pixelsPerInch_;
    int weight_ = FW_NORMAL; // finer than fsBold for fonts taken over
    BYTE quality_ = DEFAULT_QUALITY;
    mutable CountedFont handle_;
    TNotifyEvent onChange_;
};

// A new HFONT of the system's menu font (SPI_GETNONCLIENTMETRICS, lfMenuFont), or an
// empty handle when the system cannot tell it. TFont::SetHandle takes it over.
UniqueFont CreateSystemMenuFont();

} // namespace nestora::gui
