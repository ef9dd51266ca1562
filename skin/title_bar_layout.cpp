#include "skin/title_bar_layout.h"

namespace nestora::skin {

std::optional<int> FirstGlyphCell(TsuiTitleBarBtnType type) {
    switch (type) {
    case TsuiTitleBarBtnType::suiControlBox:
        return 1;
    case TsuiTitleBarBtnType::suiHelp:
        return 4;
    case TsuiTitleBarBtnType::suiMax:
        return kMaximiseGlyphCell;
    case TsuiTitleBarBtnType::suiMin:
        return 13;
    case TsuiTitleBarBtnType::suiClose:
        return 16;
    case TsuiTitleBarBtnType::suiCustom:
        break;
    }
    return std::nullopt;
}

std::vector<SectionPlacement> LayoutSections(std::span<const SectionDesc> sections, int barWidth,
                                             int barHeight) {
    std::vector<SectionPlacement> out;
    // The edges start one pixel outside the bar so that the first picture lands on x 0 and
    // the last one ends on the bar's right edge.
    int left = -1;
    int right = barWidth + 1;
    int client = -1;
    for (std::size_t i = 0; i < sections.size(); ++i) {
        const SectionDesc& s = sections[i];
        const int index = static_cast<int>(i);
        switch (s.align) {
        case TsuiTitleBarAlign::suiLeft:
            out.push_back({index, {left + 1, 0, left + s.width + 1, barHeight}, s.stretch});
            left += s.width;
            break;
        case TsuiTitleBarAlign::suiRight:
            // Measured against the left edge, not against earlier right sections: a right
            // section is dropped only when the left ones leave it no room at all.
            if (barWidth - left >= s.width) {
                out.push_back({index, {right - s.width - 1, 0, right - 1, barHeight}, s.stretch});
                right -= s.width;
            }
            break;
        case TsuiTitleBarAlign::suiClient:
            client = index;
            break;
        }
    }
    if (client >= 0)
        out.push_back({client, {left + 1, 0, right - 1, barHeight}, true});
    return out;
}

namespace {

bool Contains(const std::optional<SkinPoint>& mouse, const SkinRect& rect) {
    return mouse && PtInRectInclusive(*mouse, rect);
}

SkinRect ButtonRect(int x, const ButtonDesc& b) {
    return {x, b.top, x + b.width, b.top + b.height};
}

} // namespace

ButtonsLayout LayoutButtons(std::span<const ButtonDesc> buttons, const ButtonBarDesc& bar) {
    ButtonsLayout out;
    int x = bar.barWidth + bar.rightOffset + 1;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const ButtonDesc& b = buttons[i];
        if (!b.visible)
            continue;
        const int index = static_cast<int>(i);
        if (b.controlBox) {
            if (out.controlBoxIndex < 0)
                out.controlBoxIndex = index;
            continue;
        }
        x -= b.width + bar.interval + 1;
        const SkinRect rect = ButtonRect(x, b);
        const bool hot = Contains(bar.mouse, rect);
        if (hot)
            out.hotIndex = index;
        out.buttons.push_back({index, rect, hot});
    }
    out.captionRight = x;

    // Only the last button found under the mouse is hot (buttons may overlap when the
    // interval is negative); the earlier ones are drawn plain.
    for (ButtonPlacement& p : out.buttons)
        p.hot = p.index == out.hotIndex;

    int left = bar.leftOffset;
    if (out.controlBoxIndex >= 0) {
        const ButtonDesc& box = buttons[static_cast<std::size_t>(out.controlBoxIndex)];
        const SkinRect rect = ButtonRect(left, box);
        const bool hot = Contains(bar.mouse, rect);
        if (hot) {
            out.hotIndex = out.controlBoxIndex;
            for (ButtonPlacement& p : out.buttons)
                p.hot = false;
        }
        out.buttons.push_back({out.controlBoxIndex, rect, hot});
        if (bar.drawAppIcon) {
            out.appIconAt = SkinPoint{left + 3, box.top};
            left += 21;
        } else {
            left += box.width + 5;
        }
    }
    if (left == 0)
        left = 6;
    out.captionLeft = left;
    return out;
}

namespace {

bool IsLowSurrogate(wchar_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}
bool IsHighSurrogate(wchar_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

} // namespace

std::wstring FitCaption(std::wstring_view caption, int room,
                        const std::function<int(std::wstring_view)>& textWidth) {
    if (textWidth(caption) <= room)
        return std::wstring(caption);
    std::wstring cut(caption);
    while (!cut.empty()) {
        // One character off the end: both halves of a surrogate pair together.
        const bool pair =
            cut.size() >= 2 && IsLowSurrogate(cut.back()) && IsHighSurrogate(cut[cut.size() - 2]);
        cut.resize(cut.size() - (pair ? 2 : 1));
        const std::wstring candidate = cut + L"...";
        if (textWidth(candidate) <= room)
            return candidate;
    }
    return std::wstring();
}

int CaptionTop(int stripHeight, int textHeight, int topOffset) {
    return (stripHeight - textHeight) / 2 + topOffset;
}

std::optional<int> TitleBarEdgeHitTest(SkinPoint point, int formClientWidth) {
    if (point.y > kResizeGrip - 1)
        return std::nullopt;
    if (point.x <= kResizeGrip - 1)
        return kHtTopLeft;
    if (point.x > formClientWidth - kResizeGrip)
        return kHtTopRight;
    return kHtTop;
}

} // namespace nestora::skin
