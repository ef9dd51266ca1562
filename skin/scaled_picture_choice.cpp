#include "skin/scaled_picture_choice.h"

#include "gui/core/dpi_scale.h"
#include "gui/core/exceptions.h"
#include "gui/core/picture_ref.h"

namespace nestora::skin {

PictureScaling ChoosePictureScaling(int dpi, bool hasTwoX) {
    if (dpi <= 0 || dpi == gui::kDesignDpi)
        return {};
    if (dpi < gui::kDesignDpi)
        return {false, true};
    if (!hasTwoX)
        return {false, false};
    return {true, dpi < 2 * gui::kDesignDpi};
}

std::optional<std::wstring> TwoXPictureRef(std::wstring_view ref) {
    gui::PictureRef desc;
    try {
        desc = gui::ParsePictureRef(ref);
    } catch (const gui::EConvertError&) {
        return std::nullopt;
    }
    if (desc.name.empty() || desc.name.front() == L'#')
        return std::nullopt;
    desc.name += kTwoXSuffix;
    return gui::PictureRefText(desc);
}

} // namespace nestora::skin
