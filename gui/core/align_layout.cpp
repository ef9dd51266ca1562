#include "gui/core/align_layout.h"

#include <algorithm>

namespace nestora::gui {

const EnumInfo kAlignInfo{"TAlign", {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"}};

std::vector<TRect> ArrangeAligned(const TRect& client, const std::vector<AlignRequest>& controls) {
    std::vector<TRect> out;
    out.reserve(controls.size());
    for (const AlignRequest& c : controls)
        out.push_back(c.bounds);
    TRect room = client;
    room.Right = std::max(room.Right, room.Left);
    room.Bottom = std::max(room.Bottom, room.Top);
    constexpr TAlign kOrder[] = {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight,
                                 TAlign::alClient};
    for (TAlign pass : kOrder) {
        for (std::size_t i = 0; i < controls.size(); ++i) {
            if (controls[i].align != pass)
                continue;
            const int height = std::clamp(controls[i].bounds.Height(), 0, room.Height());
            const int width = std::clamp(controls[i].bounds.Width(), 0, room.Width());
            TRect& r = out[i];
            switch (pass) {
            case TAlign::alTop:
                r = TRect{room.Left, room.Top, room.Right, room.Top + height};
                room.Top += height;
                break;
            case TAlign::alBottom:
                r = TRect{room.Left, room.Bottom - height, room.Right, room.Bottom};
                room.Bottom -= height;
                break;
            case TAlign::alLeft:
                r = TRect{room.Left, room.Top, room.Left + width, room.Bottom};
                room.Left += width;
                break;
            case TAlign::alRight:
                r = TRect{room.Right - width, room.Top, room.Right, room.Bottom};
                room.Right -= width;
                break;
            case TAlign::alClient:
                r = room;
                break;
            case TAlign::alNone:
                break;
            }
        }
    }
    return out;
}

} // namespace nestora::gui
