#include "looks.h"

#include <stdexcept>

namespace nestora::skingen {

namespace {

using nestora::skin::GetStyleBool;
using nestora::skin::GetStyleInt;
using E = nestora::skin::StyleElement;

LookInfo MakeLook(TsuiUIStyle style, const char* prefix, int cell, Size left, Size client,
                  Size right) {
    return {style,
            prefix,
            cell,
            left,
            client,
            right,
            GetStyleInt(style, E::TitleBarButtonTopInt),
            GetStyleInt(style, E::TitleBarButtonLeftOffsetInt),
            GetStyleInt(style, E::TitleBarButtonRightOffsetInt),
            GetStyleBool(style, E::TitleBarButtonTransparentBool),
            GetStyleInt(style, E::FormRoundCornerInt),
            style == TsuiUIStyle::MacOS};
}

} // namespace

const std::array<LookInfo, 5>& AllLooks() {
    static const std::array<LookInfo, 5> looks{
        MakeLook(TsuiUIStyle::MacOS, "MACOS", 17, {48, 23}, {49, 23}, {48, 23}),
        MakeLook(TsuiUIStyle::WinXP, "WINXP", 21, {35, 29}, {37, 29}, {35, 29}),
        MakeLook(TsuiUIStyle::DeepBlue, "DEEPBLUE", 19, {97, 32}, {98, 32}, {97, 32}),
        MakeLook(TsuiUIStyle::Protein, "PROTEIN", 19, {441, 23}, {1, 23}, {1, 23}),
        MakeLook(TsuiUIStyle::BlueGlass, "BLUEGLASS", 19, {162, 33}, {179, 33}, {101, 33}),
    };
    return looks;
}

const LookInfo& LookOf(TsuiUIStyle style) {
    for (const LookInfo& look : AllLooks())
        if (look.style == style)
            return look;
    throw std::invalid_argument("no built-in look for this style");
}

std::string BitmapNameOf(TsuiUIStyle style, nestora::skin::StyleElement element) {
    std::string name;
    for (wchar_t c : nestora::skin::StyleBitmapName(style, element))
        name.push_back(static_cast<char>(c)); // resource names are ASCII
    if (name.empty())
        throw std::invalid_argument("the element is not a bitmap");
    return name;
}

} // namespace nestora::skingen
