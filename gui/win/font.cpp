#include "gui/win/font.h"

#include "gui/core/class_builder.h"
#include "gui/core/exceptions.h"
#include "gui/core/text.h"

#include <algorithm>
#include <cwchar>

namespace nestora::gui {

const EnumInfo kFontStyleInfo{"TFontStyle", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}};
const EnumInfo kFontPitchInfo{"TFontPitch", {"fpDefault", "fpVariable", "fpFixed"}};

namespace {

constexpr std::size_t kMaxFaceName = LF_FACESIZE - 1;

BYTE PitchBits(TFontPitch pitch) {
    switch (pitch) {
    case TFontPitch::fpVariable:
        return VARIABLE_PITCH;
    case TFontPitch::fpFixed:
        return FIXED_PITCH;
    case TFontPitch::fpDefault:
        break;
    }
    return DEFAULT_PITCH;
}

TFontPitch PitchFromBits(BYTE bits) {
    switch (bits & 0x03) {
    case VARIABLE_PITCH:
        return TFontPitch::fpVariable;
    case FIXED_PITCH:
        return TFontPitch::fpFixed;
    default:
        return TFontPitch::fpDefault;
    }
}

} // namespace

int ScreenPixelsPerInch() {
    static const int ppi = [] {
        const WindowDC screen = WindowDC::Client(nullptr);
        const int value = screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
        return value > 0 ? value : 96;
    }();
    return ppi;
}

const ClassInfo& TFont::StaticClassInfo() {
    static const ClassInfo info =
        ClassBuilder<TFont>("TFont", &TPersistent::StaticClassInfo())
            .Int("Charset", &TFont::Charset, &TFont::SetCharset)
            .Color("Color", &TFont::Color, &TFont::SetColor)
            .Int("Height", &TFont::Height, &TFont::SetHeight)
            .Text("Name", &TFont::Name, &TFont::SetName)
            .Enum("Pitch", kFontPitchInfo, &TFont::Pitch, &TFont::SetPitch)
            .Int("Size", &TFont::Size, &TFont::SetSize)
            .Set("Style", kFontStyleInfo, &TFont::Style, &TFont::SetStyle)
            .Build();
    return info;
}

// The designed default is 8 points: -11 pixels at 96 pixels per inch.
TFont::TFont() : name_(L"MS Sans Serif"), pixelsPerInch_(ScreenPixelsPerInch()) {
    height_ = -::MulDiv(8, pixelsPerInch_, 72);
}

TFont::~TFont() = default;

void TFont::SetName(const std::wstring& name) {
    std::wstring cut = name.substr(0, std::min(name.size(), kMaxFaceName));
    if (cut == name_)
        return;
    name_ = std::move(cut);
    Changed(true);
}

int TFont::Size() const {
    return -::MulDiv(height_, 72, pixelsPerInch_);
}

void TFont::SetSize(int points) {
    SetHeight(-::MulDiv(points, pixelsPerInch_, 72));
}

void TFont::SetHeight(int pixels) {
    if (pixels == height_)
        return;
    height_ = pixels;
    Changed(true);
}

void TFont::SetStyle(TFontStyles style) {
    style &= fsBold | fsItalic | fsUnderline | fsStrikeOut;
    if (style == style_)
        return;
    style_ = style;
    weight_ = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
    Changed(true);
}

void TFont::SetColor(TColor color) {
    if (color == color_)
        return;
    color_ = color;
    Changed(false);
}

void TFont::SetCharset(int charset) {
    if (charset < 0 || charset > 255)
        throw EConvertError(FormatText(L"%s is not a character set", {IntToStr(charset)}));
    if (charset == charset_)
        return;
    charset_ = charset;
    Changed(true);
}

void TFont::SetPitch(TFontPitch pitch) {
    if (pitch == pitch_)
        return;
    pitch_ = pitch;
    Changed(true);
}

void TFont::SetPixelsPerInch(int pixelsPerInch) {
    if (pixelsPerInch <= 0)
        throw EConvertError(L"Pixels per inch must be positive");
    // Height is what the font is made from; only Size reads through this.
    pixelsPerInch_ = pixelsPerInch;
}

LOGFONTW TFont::LogFont() const {
    LOGFONTW lf{};
    lf.lfHeight = height_;
    lf.lfWeight = weight_;
    lf.lfItalic = (style_ & fsItalic) ? TRUE : FALSE;
    lf.lfUnderline = (style_ & fsUnderline) ? TRUE : FALSE;
    lf.lfStrikeOut = (style_ & fsStrikeOut) ? TRUE : FALSE;
    lf.lfCharSet = static_cast<BYTE>(charset_);
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = quality_;
    lf.lfPitchAndFamily = PitchBits(pitch_);
    std::wcsncpy(lf.lfFaceName, name_.c_str(), kMaxFaceName);
    return lf;
}

HFONT TFont::Handle() const {
    if (!handle_) {
        const LOGFONTW lf = LogFont();
        handle_.reset(::CreateFontIndirectW(&lf));
        if (!handle_)
            throw EOutOfResources(FormatText(L"Cannot create the font %s", {name_}));
    }
    return handle_.get();
}

void TFont::SetHandle(UniqueFont font) {
    LOGFONTW lf{};
    if (font && ::GetObjectW(font.get(), sizeof lf, &lf) == sizeof lf) {
        lf.lfFaceName[kMaxFaceName] = L'\0';
        name_ = lf.lfFaceName;
        height_ = lf.lfHeight;
        weight_ = lf.lfWeight == 0 ? FW_NORMAL : static_cast<int>(lf.lfWeight);
        style_ = (weight_ >= FW_BOLD ? fsBold : 0u) | (lf.lfItalic ? fsItalic : 0u) |
                 (lf.lfUnderline ? fsUnderline : 0u) | (lf.lfStrikeOut ? fsStrikeOut : 0u);
        charset_ = lf.lfCharSet;
        pitch_ = PitchFromBits(lf.lfPitchAndFamily);
        quality_ = lf.lfQuality;
    }
    // The old handle lives until those who hold it have heard of the change.
    CountedFont old = std::move(handle_);
    handle_.reset(font.release());
    if (onChange_)
        onChange_(this);
}

bool TFont::SameAs(const TFont& other) const {
    return name_ == other.name_ && height_ == other.height_ && style_ == other.style_ &&
           weight_ == other.weight_ && color_ == other.color_ && charset_ == other.charset_ &&
           pitch_ == other.pitch_ && quality_ == other.quality_;
}

void TFont::Assign(const TPersistent& source) {
    const auto* other = dynamic_cast<const TFont*>(&source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    if (other == this || SameAs(*other))
        return;
    const bool shape =
        !(name_ == other->name_ && height_ == other->height_ && style_ == other->style_ &&
          weight_ == other->weight_ && charset_ == other->charset_ && pitch_ == other->pitch_ &&
          quality_ == other->quality_);
    name_ = other->name_;
    height_ = other->height_;
    style_ = other->style_;
    weight_ = other->weight_;
    color_ = other->color_;
    charset_ = other->charset_;
    pitch_ = other->pitch_;
    quality_ = other->quality_;
    pixelsPerInch_ = other->pixelsPerInch_;
    Changed(shape);
}

void TFont::Changed(bool shapeChanged) {
    CountedFont old;
    if (shapeChanged)
        old = std::move(handle_);
    if (onChange_)
        onChange_(this);
}

UniqueFont CreateSystemMenuFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        return UniqueFont();
    return UniqueFont(::CreateFontIndirectW(&metrics.lfMenuFont));
}

} // namespace nestora::gui
