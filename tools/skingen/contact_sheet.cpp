#include "contact_sheet.h"

#include "looks.h"
#include "pixel_font.h"
#include "title_buttons.h"

#include <algorithm>
#include <string>
#include <utility>

namespace skingen {

namespace {

using E = nestora::skin::StyleElement;

constexpr Rgba kPage = rgb(0xB9B9B9);
constexpr Rgba kInk = rgb(0x1C1C1C);
constexpr Rgba kFaintInk = rgb(0x4A4A4A);
constexpr int kMargin = 16;
constexpr int kGap = 12;

const Canvas& pictureOf(const std::vector<Artwork>& artwork, const std::string& name) {
    return findArtwork(artwork, name).images.front();
}

// Cell `index` (1-based) of a strip, with the key colour made see-through when the look
// draws its buttons transparently (the frame leaves out the bottom-left pixel's colour).
Canvas buttonCell(const Canvas& strip, int cell, int index, bool transparent) {
    Canvas c = strip.crop(cell * (index - 1), 0, cell, cell);
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
    void label(const std::string& text, int scale = 1, Rgba colour = kInk) {
        labels_.push_back({x_, y_, text, colour, scale});
        advance(textWidth(text, scale), kFontHeight * scale);
    }
    void picture(Canvas image, bool blend = false) {
        const int w = image.width(), h = image.height();
        pictures_.push_back({x_, y_, std::move(image), blend});
        advance(w, h);
    }
    // A picture with a small caption above it, as one unit.
    void captioned(const std::string& caption, Canvas image, bool blend = false) {
        const int startX = x_, startY = y_;
        labels_.push_back({startX, startY, caption, kFaintInk, 1});
        const int w = std::max(image.width(), textWidth(caption));
        const int h = image.height() + kFontHeight + 4;
        pictures_.push_back({startX, startY + kFontHeight + 4, std::move(image), blend});
        x_ = startX;
        y_ = startY;
        advance(w, h);
    }
    void newRow(int extraSpace = 0) {
        width_ = std::max(width_, x_);
        x_ = kMargin;
        y_ += rowHeight_ + kGap + extraSpace;
        rowHeight_ = 0;
    }

    Canvas render() {
        newRow();
        Canvas page(width_ - kGap + kMargin, y_ - kGap + kMargin, kPage);
        for (const auto& p : pictures_) {
            if (p.blend)
                page.draw(p.image, p.x, p.y);
            else
                page.copy(p.image, p.x, p.y);
        }
        for (const auto& l : labels_)
            drawText(page, l.x, l.y, l.text, l.colour, l.scale);
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
Canvas tiled(const Canvas& tile, int across, int down) {
    Canvas c(tile.width() * across, tile.height() * down);
    for (int j = 0; j < down; ++j)
        for (int i = 0; i < across; ++i)
            c.copy(tile, i * tile.width(), j * tile.height());
    return c;
}

} // namespace

Canvas assembleTitleBar(const std::vector<Artwork>& artwork, nestora::skin::TsuiUIStyle style,
                        const SampleBar& sample) {
    const LookInfo& look = lookOf(style);
    const Canvas& left = pictureOf(artwork, bitmapNameOf(style, E::TitleBarLeftImage));
    const Canvas& client = pictureOf(artwork, bitmapNameOf(style, E::TitleBarClientImage));
    const Canvas& right = pictureOf(artwork, bitmapNameOf(style, E::TitleBarRightImage));
    const Canvas& strip = pictureOf(artwork, bitmapNameOf(style, E::TitleBarButtonImage));
    const int w = sample.width, h = left.height();
    Canvas bar(w, h, rgb(0x000000));

    // Sections: left edge L starts at -1 and right edge R at W + 1.
    int l = -1, r = w + 1;
    bar.copy(left, l + 1, 0);
    l += left.width();
    if (w - l >= right.width()) {
        bar.copy(right, r - right.width() - 1, 0);
        r -= right.width();
    }
    if (r - 1 > l + 1)
        bar.copy(client.resized(r - 1 - (l + 1), h), l + 1, 0);

    // Buttons from the right edge, then the control box and the caption from the left.
    const int cell = look.cell;
    auto put = [&](int firstCell, int x) {
        bar.draw(buttonCell(strip, cell, firstCell, look.transparentButtons), x, look.buttonTop);
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
    drawText(bar, textX, textY, sample.caption, look.darkCaption ? rgb(0x000000) : rgb(0xFFFFFF));
    return bar;
}

Canvas contactSheet(const std::vector<Artwork>& artwork) {
    Layout page;
    page.label("Nestora skin artwork", 3);
    page.newRow(6);

    for (const LookInfo& look : allLooks()) {
        const auto style = look.style;
        std::string heading;
        for (wchar_t c : nestora::skin::StyleName(style))
            heading.push_back(static_cast<char>(c));
        page.label(heading, 2);
        page.newRow();

        const std::string stripName = bitmapNameOf(style, E::TitleBarButtonImage);
        const Canvas& strip = pictureOf(artwork, stripName);
        std::string caption = stripName + "  x3   control box, help, maximise, restore, "
                                          "minimise, close: normal, over, pressed";
        if (look.transparentButtons)
            caption += "   (magenta is the key colour the frame leaves out)";
        page.captioned(caption, strip.enlarged(3));
        page.newRow();

        page.captioned("assembled, 480 wide, x2", assembleTitleBar(artwork, style, {}).enlarged(2));
        page.newRow();

        for (E element : {E::TitleBarLeftImage, E::TitleBarClientImage, E::TitleBarRightImage}) {
            const std::string name = bitmapNameOf(style, element);
            const Canvas& picture = pictureOf(artwork, name);
            page.captioned(name + " x2", picture.enlarged(2));
        }
        page.newRow();

        if (style == nestora::skin::TsuiUIStyle::MacOS) {
            SampleBar mainWindow;
            mainWindow.width = 168;
            mainWindow.controlBox = false;
            mainWindow.closeAndMaximise = false;
            mainWindow.help = true;
            mainWindow.caption = " =Nestora=";
            page.captioned("main window, 168 wide, x3",
                           assembleTitleBar(artwork, style, mainWindow).enlarged(3));
            page.captioned("MACOS_FORM_BACKGROUND x3",
                           tiled(pictureOf(artwork, "MACOS_FORM_BACKGROUND"), 6, 3).enlarged(3));
            page.newRow();
        }
        if (style == nestora::skin::TsuiUIStyle::Protein) {
            page.captioned("PROTEIN_FORM_BACKGROUND x3",
                           tiled(pictureOf(artwork, "PROTEIN_FORM_BACKGROUND"), 6, 3).enlarged(3));
            page.newRow();
        }
        page.newRow(8);
    }

    page.label("Menus", 2);
    page.newRow();
    page.captioned("MACOS_MENU_BAR x3",
                   pictureOf(artwork, "MACOS_MENU_BAR").resized(40, 22).enlarged(3));
    page.captioned("MACOS_MENU_SELECT x3",
                   pictureOf(artwork, "MACOS_MENU_SELECT").resized(40, 21).enlarged(3));
    page.captioned("MENU_CHECKED x4", pictureOf(artwork, "MENU_CHECKED").enlarged(4));
    page.newRow(8);

    page.label("Icons and menu pictures", 2);
    page.newRow();
    const Artwork& mainIcon = findArtwork(artwork, "MAINICON");
    for (const Canvas& size : mainIcon.images)
        page.captioned("MAINICON " + std::to_string(size.width()), size, true);
    page.captioned("MAINICON 48 x2", mainIcon.images.back().enlarged(2), true);
    page.captioned("TRAYICON x4", findArtwork(artwork, "TRAYICON").images.front().enlarged(4),
                   true);
    for (const char* name : {"IMG_EXIT", "IMG_SHOWWIN", "IMG_FOLDER"})
        page.captioned(std::string(name) + " x4", pictureOf(artwork, name).enlarged(4), true);
    return page.render();
}

} // namespace skingen
