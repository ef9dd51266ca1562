#include "contact_sheet.h"

#include "looks.h"
#include "pixel_font.h"
#include "title_buttons.h"

#include <algorithm>
#include <string>
#include <utility>

namespace nestora::skingen {

namespace {

using E = nestora::skin::StyleElement;

constexpr Rgba kPage = Rgb(0xB9B9B9);
constexpr Rgba kInk = Rgb(0x1C1C1C);
constexpr Rgba kFaintInk = Rgb(0x4A4A4A);
constexpr int kMargin = 16;
constexpr int kGap = 12;

const Canvas& PictureOf(const std::vector<Artwork>& artwork, const std::string& name) {
    return FindArtwork(artwork, name).images.front();
}

// Cell `index` (1-based) of a strip, with the key colour made see-through when the look
// draws its buttons transparently (the frame leaves out the bottom-left pixel's colour).
Canvas ButtonCell(const Canvas& strip, int cell, int index, bool transparent) {
    Canvas c = strip.Crop(cell * (index - 1), 0, cell, cell);
    if (transparent) {
        const Rgba key = c.at(0, cell - 1);
        for (int y = 0; y < cell; ++y)
            for (int x = 0; x < cell; ++x)
                if (c.at(x, y) == key)
                    c.at(x, y).a = 0;
    }
    return c;
}

// Places pictures and labels row by row, then paints them onto one page.
class Layout {
public:
    void AddLabel(const std::string& text, int scale = 1, Rgba colour = kInk) {
        labels_.push_back({x_, y_, text, colour, scale});
        advance(TextWidth(text, scale), kFontHeight * scale);
    }
    void AddPicture(Canvas image, bool blend = false) {
        const int w = image.Width(), h = image.Height();
        pictures_.push_back({x_, y_, std::move(image), blend});
        advance(w, h);
    }
    // A picture with a small caption above it, as one unit.
    void Captioned(const std::string& caption, Canvas image, bool blend = false) {
        const int startX = x_, startY = y_;
        labels_.push_back({startX, startY, caption, kFaintInk, 1});
        const int w = std::max(image.Width(), TextWidth(caption));
        const int h = image.Height() + kFontHeight + 4;
        pictures_.push_back({startX, startY + kFontHeight + 4, std::move(image), blend});
        x_ = startX;
        y_ = startY;
        advance(w, h);
    }
    void NewRow(int extraSpace = 0) {
        width_ = std::max(width_, x_);
        x_ = kMargin;
        y_ += rowHeight_ + kGap + extraSpace;
        rowHeight_ = 0;
    }

    Canvas Render() {
        NewRow();
        Canvas page(width_ - kGap + kMargin, y_ - kGap + kMargin, kPage);
        for (const auto& p : pictures_) {
            if (p.blend)
                page.Draw(p.image, p.x, p.y);
            else
                page.copy(p.image, p.x, p.y);
        }
        for (const auto& l : labels_)
            DrawPixelText(page, l.x, l.y, l.text, l.colour, l.scale);
        return page;
    }

private:
    void advance(int w, int h) {
        x_ += w + kGap;
        rowHeight_ = std::max(rowHeight_, h);
    }

    struct Placed {
        int x, y;
        Canvas image;
        bool blend;
    };
    struct Label {
        int x, y;
        std::string text;
        Rgba colour;
        int scale;
    };
    std::vector<Placed> pictures_;
    std::vector<Label> labels_;
    int x_ = kMargin, y_ = kMargin, rowHeight_ = 0, width_ = 0;
};

// An 8 by 8 tile repeated as a brush repeats it.
Canvas Tiled(const Canvas& tile, int across, int down) {
    Canvas c(tile.Width() * across, tile.Height() * down);
    for (int j = 0; j < down; ++j)
        for (int i = 0; i < across; ++i)
            c.copy(tile, i * tile.Width(), j * tile.Height());
    return c;
}

} // namespace

Canvas AssembleTitleBar(const std::vector<Artwork>& artwork, nestora::skin::TsuiUIStyle style,
                        const SampleBar& sample) {
    const LookInfo& look = LookOf(style);
    const Canvas& left = PictureOf(artwork, BitmapNameOf(style, E::TitleBarLeftImage));
    const Canvas& client = PictureOf(artwork, BitmapNameOf(style, E::TitleBarClientImage));
    const Canvas& right = PictureOf(artwork, BitmapNameOf(style, E::TitleBarRightImage));
    const Canvas& strip = PictureOf(artwork, BitmapNameOf(style, E::TitleBarButtonImage));
    const int w = sample.width, h = left.Height();
    Canvas bar(w, h, Rgb(0x000000));

    // Sections: left edge L starts at -1 and right edge R at W + 1.
    int l = -1, r = w + 1;
    bar.copy(left, l + 1, 0);
    l += left.Width();
    if (w - l >= right.Width()) {
        bar.copy(right, r - right.Width() - 1, 0);
        r -= right.Width();
    }
    if (r - 1 > l + 1)
        bar.copy(client.Resized(r - 1 - (l + 1), h), l + 1, 0);

    // Buttons from the right edge, then the control box and the caption from the left.
    const int cell = look.cell;
    auto put = [&](int firstCell, int x) {
        bar.Draw(ButtonCell(strip, cell, firstCell, look.transparentButtons), x, look.buttonTop);
    };
    int x = w + look.rightOffset + 1;
    std::vector<int> fromRight;
    if (sample.closeAndMaximise) {
        fromRight = {16, 7, 13};
    } else {
        fromRight = {13};
    }
    if (sample.help)
        fromRight.push_back(4);
    for (int first : fromRight) {
        x -= cell + 1;
        put(first, x);
    }
    int textX = look.leftOffset;
    if (sample.controlBox) {
        put(1, textX);
        textX += cell + 5;
    }
    if (textX == 0)
        textX = 6;
    const int textY = (cell - kFontHeight) / 2 + look.buttonTop;
    DrawPixelText(bar, textX, textY, sample.caption,
                  look.darkCaption ? Rgb(0x000000) : Rgb(0xFFFFFF));
    return bar;
}

Canvas ContactSheet(const std::vector<Artwork>& artwork) {
    Layout page;
    page.AddLabel("Nestora skin artwork", 3);
    page.NewRow(6);

    for (const LookInfo& look : AllLooks()) {
        const auto style = look.style;
        std::string heading;
        for (wchar_t c : nestora::skin::StyleName(style))
            heading.push_back(static_cast<char>(c));
        page.AddLabel(heading, 2);
        page.NewRow();

        const std::string stripName = BitmapNameOf(style, E::TitleBarButtonImage);
        const Canvas& strip = PictureOf(artwork, stripName);
        std::string caption = stripName + "  x3   control box, help, maximise, restore, "
                                          "minimise, close: normal, over, pressed";
        if (look.transparentButtons)
            caption += "   (magenta is the key colour the frame leaves out)";
        page.Captioned(caption, strip.Enlarged(3));
        page.NewRow();

        page.Captioned("assembled, 480 wide, x2", AssembleTitleBar(artwork, style, {}).Enlarged(2));
        page.NewRow();

        for (E element : {E::TitleBarLeftImage, E::TitleBarClientImage, E::TitleBarRightImage}) {
            const std::string name = BitmapNameOf(style, element);
            const Canvas& picture = PictureOf(artwork, name);
            page.Captioned(name + " x2", picture.Enlarged(2));
        }
        page.NewRow();

        if (style == nestora::skin::TsuiUIStyle::MacOS) {
            SampleBar mainWindow;
            mainWindow.width = 168;
            mainWindow.controlBox = false;
            mainWindow.closeAndMaximise = false;
            mainWindow.help = true;
            mainWindow.caption = " =Nestora=";
            page.Captioned("main window, 168 wide, x3",
                           AssembleTitleBar(artwork, style, mainWindow).Enlarged(3));
            page.Captioned("MACOS_FORM_BACKGROUND x3",
                           Tiled(PictureOf(artwork, "MACOS_FORM_BACKGROUND"), 6, 3).Enlarged(3));
            page.NewRow();
        }
        if (style == nestora::skin::TsuiUIStyle::Protein) {
            page.Captioned("PROTEIN_FORM_BACKGROUND x3",
                           Tiled(PictureOf(artwork, "PROTEIN_FORM_BACKGROUND"), 6, 3).Enlarged(3));
            page.NewRow();
        }
        page.NewRow(8);
    }

    page.AddLabel("Menus", 2);
    page.NewRow();
    page.Captioned("MACOS_MENU_BAR x3",
                   PictureOf(artwork, "MACOS_MENU_BAR").Resized(40, 22).Enlarged(3));
    page.Captioned("MACOS_MENU_SELECT x3",
                   PictureOf(artwork, "MACOS_MENU_SELECT").Resized(40, 21).Enlarged(3));
    page.Captioned("MENU_CHECKED x4", PictureOf(artwork, "MENU_CHECKED").Enlarged(4));
    page.NewRow(8);

    page.AddLabel("Icons and menu pictures", 2);
    page.NewRow();
    const Artwork& mainIcon = FindArtwork(artwork, "MAINICON");
    for (const Canvas& size : mainIcon.images)
        page.Captioned("MAINICON " + std::to_string(size.Width()), size, true);
    page.Captioned("MAINICON " + std::to_string(mainIcon.images.back().Width()) + " x2",
                   mainIcon.images.back().Enlarged(2), true);
    page.Captioned("TRAYICON x4", FindArtwork(artwork, "TRAYICON").images.front().Enlarged(4),
                   true);
    for (const char* name : {"IMG_EXIT", "IMG_SHOWWIN", "IMG_FOLDER"})
        page.Captioned(std::string(name) + " x4", PictureOf(artwork, name).Enlarged(4), true);
    return page.Render();
}

} // namespace nestora::skingen
