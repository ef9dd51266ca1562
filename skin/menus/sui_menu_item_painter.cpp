#include "skin/menus/sui_menu_item_painter.h"

#include "gui/core/dpi_scale.h"
#include "gui/win/bitmap.h"
#include "gui/win/canvas.h"
#include "gui/win/dpi.h"
#include "gui/win/font.h"
#include "gui/win/image_list.h"
#include "gui/win/key_names.h"
#include "gui/win/menu.h"
#include "skin/menus/file_theme.h"
#include "skin/menus/sui_popup_menu.h"
#include "skin/resolve_style.h"
#include "skin/sui_scaled_picture.h"

namespace nestora::skin {

namespace {

constexpr TColor kBlack = 0x00000000;

// Stretches the top `rows` rows of one of the MacOS striped bitmaps over rect. Loaded from
// the resources for every call, as the skin's bitmaps always are.
void DrawMacStrip(gui::TCanvas& canvas, const wchar_t* name, int rows, const gui::TRect& rect) {
    gui::TBitmap strip;
    strip.LoadFromResourceName(::GetModuleHandleW(nullptr), name);
    const int height = rows < strip.Height() ? rows : strip.Height();
    if (strip.Empty() || height <= 0)
        return;
    const DWORD mode = canvas.CopyMode();
    canvas.SetCopyMode(SRCCOPY);
    ::SetStretchBltMode(canvas.Handle(), COLORONCOLOR);
    canvas.CopyRect(rect, strip.Canvas(), gui::MakeRect(0, 0, strip.Width(), height));
    canvas.SetCopyMode(mode);
}

void FillWith(gui::TCanvas& canvas, const gui::TRect& rect, TColor color) {
    if (rect.IsEmpty())
        return;
    canvas.Brush().SetStyle(gui::TBrushStyle::bsSolid);
    canvas.Brush().SetColor(color);
    canvas.FillRect(rect);
}

void FrameWith(gui::TCanvas& canvas, const gui::TRect& rect, TColor color) {
    canvas.Brush().SetStyle(gui::TBrushStyle::bsSolid);
    canvas.Brush().SetColor(color);
    canvas.FrameRect(rect);
}

// The font the item's texts are measured and drawn in: the system's menu font (made by the
// system at its DPI), or the look's own, whose point size the font turns into pixels at the
// screen's DPI.
void SetItemFont(const SkinnedMenuLook& look, gui::TFont& font) {
    if (look.useSystemFont) {
        SetSystemMenuFont(font);
    } else {
        font.SetName(look.fontName);
        font.SetSize(look.fontSize);
        font.SetCharset(look.fontCharset);
    }
}

void PaintBackground(const SkinnedMenuLook& look, gui::TCanvas& canvas, const gui::TRect& rect,
                     bool separator, bool highlighted, int dpi) {
    if (look.IsMacOS()) {
        if (separator)
            DrawMacStrip(canvas, L"MACOS_MENU_BAR", kMacMenuSeparatorRows, rect);
        else if (highlighted)
            DrawMacStrip(canvas, L"MACOS_MENU_SELECT", kMacMenuItemRows, rect);
        else
            DrawMacStrip(canvas, L"MACOS_MENU_BAR", kMacMenuItemRows, rect);
        return;
    }
    if (highlighted && !separator) {
        // No bar under the highlight.
        FillWith(canvas, rect, look.selectedColor);
        FrameWith(canvas, rect, look.selectedBorderColor);
        return;
    }
    const MenuItemLayout layout = LayOutMenuItem(rect, look.barWidth, dpi);
    FillWith(canvas, layout.bar, look.barColor);
    FillWith(canvas, layout.background, look.color);
    if (separator && layout.lineLeft < layout.lineRight) {
        canvas.Pen().SetStyle(gui::TPenStyle::psSolid);
        canvas.Pen().SetWidth(gui::ScaleToDpi(1, dpi));
        canvas.Pen().SetColor(look.separatorColor);
        canvas.MoveTo(layout.lineLeft, layout.lineY);
        canvas.LineTo(layout.lineRight, layout.lineY);
    }
}

void PaintGlyphs(const SkinnedMenuLook& look, gui::TMenuItem& item, gui::TCanvas& canvas,
                 const gui::TRect& rect, gui::TImageList* images, gui::TImageList* checkMarks,
                 int dpi) {
    const MenuItemLayout layout = LayOutMenuItem(rect, look.barWidth, dpi);
    const bool imageDrawn =
        MenuImageDrawn(item.ImageIndex(), images != nullptr, images ? images->Count() : 0);
    if (item.Checked()) {
        if (imageDrawn) {
            FrameWith(canvas, layout.boxFrame, kBlack);
            FillWith(canvas, layout.boxFill, look.selectedColor);
        } else if (checkMarks && checkMarks->Count() > 0) {
            DrawImageAtDpi(canvas, *checkMarks, layout.glyph.X, layout.glyph.Y, layout.glyphSize, 0,
                           item.Enabled(), dpi);
        }
    }
    if (imageDrawn)
        DrawImageAtDpi(canvas, *images, layout.glyph.X, layout.glyph.Y, layout.glyphSize,
                       item.ImageIndex(), item.Enabled(), dpi);
}

void PaintItem(const SkinnedMenuLook& look, gui::TMenuItem& item, gui::TCanvas& canvas,
               const gui::TRect& rect, bool selected, gui::TImageList* images,
               gui::TImageList* checkMarks, int dpi) {
    const bool separator = IsSeparatorCaption(item.Caption());
    const bool enabled = item.Enabled();
    PaintBackground(look, canvas, rect, separator, MenuItemHighlighted(selected, enabled), dpi);
    if (separator)
        return;

    gui::TFont& font = canvas.Font();
    SetItemFont(look, font);
    canvas.Brush().SetStyle(gui::TBrushStyle::bsClear);
    font.SetColor(MenuItemTextColor(enabled, selected, look.selectedFontColor, look.fontColor));
    if (item.Default())
        font.SetStyle(font.Style() | gui::fsBold);

    const MenuItemLayout layout = LayOutMenuItem(rect, look.barWidth, dpi);
    gui::TRect captionRect = layout.caption;
    canvas.DrawText(item.DisplayCaption(), captionRect, DT_SINGLELINE);
    const std::wstring shortcut = gui::ShortCutText(item.ShortCut());
    canvas.TextOut(ShortcutLeft(rect, canvas.TextWidth(shortcut), dpi), layout.textTop, shortcut);

    PaintGlyphs(look, item, canvas, rect, images, checkMarks, dpi);
}

void DrawFlatBorderFor(const SkinnedMenuLook& look, HDC dc) {
    HWND window = dc ? ::WindowFromDC(dc) : nullptr;
    if (!window)
        return;
    TsuiUIStyle resolved = look.uiStyle;
    const TsuiFileTheme* theme = AsFileTheme(look.fileTheme);
    TColor line = 0;
    if (ResolveStyle(theme, look.uiStyle, resolved)) {
        line = theme->GetFileThemeColor(StyleElement::FormBackgroundColor);
    } else {
        line = MenuFlatBorderLineColor(resolved);
    }
    DrawFlatMenuBorder(window, kBlack, line);
}

} // namespace

void ApplySkinnedMenuStyle(SkinnedMenuLook& look, TsuiUIStyle style) {
    look.uiStyle = style;
    TsuiUIStyle resolved = style;
    const TsuiFileTheme* theme = AsFileTheme(look.fileTheme);
    const bool fromTheme = ResolveStyle(theme, style, resolved);
    const MenuStyleValues values = MenuStyleValuesFor(style, resolved);
    look.barWidth = values.barWidth;
    look.menuItemHeight = values.menuItemHeight;
    look.separatorHeight = values.separatorHeight;
    look.separatorColor = values.separatorColor;
    look.barColor = values.barColor;
    look.color = values.color;
    look.fontColor = values.fontColor;
    look.selectedBorderColor = values.selectedBorderColor;
    look.selectedColor = values.selectedColor;
    look.selectedFontColor = values.selectedFontColor;
    if (fromTheme) {
        // In this order, as the theme gives them.
        look.barColor = theme->GetFileThemeColor(StyleElement::MenuBarColor);
        look.color = theme->GetFileThemeColor(StyleElement::MenuBackgroundColor);
        look.fontColor = theme->GetFileThemeColor(StyleElement::MenuFontColor);
        look.selectedBorderColor = theme->GetFileThemeColor(StyleElement::MenuSelectedBorderColor);
        look.selectedColor = theme->GetFileThemeColor(StyleElement::MenuSelectedBackgroundColor);
        look.selectedFontColor = theme->GetFileThemeColor(StyleElement::MenuSelectedFontColor);
    }
}

void MeasureSkinnedMenuItem(const SkinnedMenuLook& look, const gui::TMenuItem& item,
                            gui::TCanvas& canvas, int& width, int& height) {
    const int dpi = gui::DeviceDpi(canvas.Handle());
    // The caption as the menu holds it, ampersands and all, in the plain font the platform
    // gives.
    const int captionWidth = canvas.TextWidth(item.DisplayCaption());
    const std::wstring shortcut = gui::ShortCutText(item.ShortCut());
    const int shortcutWidth = shortcut.empty() ? 0 : canvas.TextWidth(shortcut);
    width = MenuItemWidth(captionWidth, shortcutWidth, look.barWidth, dpi);
    // The height of the font the item is drawn in, which may not be the measuring one.
    gui::TFont measuring;
    measuring.Assign(canvas.Font());
    SetItemFont(look, canvas.Font());
    const int textHeight = canvas.TextHeight(L"Ag");
    canvas.Font().Assign(measuring);
    height = MenuItemHeightAtDpi(IsSeparatorCaption(item.Caption()), look.menuItemHeight,
                                 look.separatorHeight, textHeight, dpi);
}

void DrawSkinnedMenuItem(const SkinnedMenuLook& look, gui::TMenuItem& item, gui::TCanvas& canvas,
                         const gui::TRect& rect, bool selected, gui::TImageList* images,
                         gui::TImageList* checkMarks) {
    if (rect.IsEmpty())
        return;
    // The menu's DC tells the DPI the system draws the menu at; the buffer's memory DC
    // may not.
    const int dpi = gui::DeviceDpi(canvas.Handle());
    if (look.flatMenu)
        DrawFlatBorderFor(look, canvas.Handle());
    // Off-screen and copied in one block, so an open menu never shows a half-drawn item.
    gui::TBitmap buffer;
    buffer.SetSize(rect.Width(), rect.Height());
    const gui::TRect whole = gui::MakeRect(0, 0, rect.Width(), rect.Height());
    gui::TCanvas& target = buffer.Canvas();
    target.Font().Assign(canvas.Font());
    PaintItem(look, item, target, whole, selected, images, checkMarks, dpi);
    ::BitBlt(canvas.Handle(), rect.Left, rect.Top, rect.Width(), rect.Height(), target.Handle(), 0,
             0, SRCCOPY);
}

} // namespace nestora::skin
