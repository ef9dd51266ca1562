#include "damaged_themes.h"

#include "skin/menus/theme_file_parser.h"

#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace nestora::reliability {

namespace {

// A BMP file header (14 bytes) and a BITMAPINFOHEADER (40).
constexpr std::size_t kBmpHeadersSize = 54;

} // namespace

std::vector<std::uint8_t> ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot open " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::uint8_t> CutCopy(const std::vector<std::uint8_t>& original, std::size_t index,
                                  std::size_t count) {
    const std::size_t length = count == 0 ? 0 : index * original.size() / count;
    return {original.begin(), original.begin() + static_cast<std::ptrdiff_t>(length)};
}

FlippedCopies::FlippedCopies(std::vector<std::uint8_t> original) : original_(std::move(original)) {
    const skin::ThemeFile theme = skin::ParseThemeFile(original_, L"original.theme");
    for (const skin::ThemeEntry& entry : theme.Bitmaps())
        bitmapHeaderOffsets_.push_back(entry.dataAt);
    if (bitmapHeaderOffsets_.empty())
        throw std::invalid_argument("the original theme holds no bitmap");
}

std::vector<std::uint8_t> FlippedCopies::copy(std::size_t index, std::string& what) const {
    // mt19937's raw output is fixed by the standard (its distributions are not).
    std::mt19937 random(static_cast<std::uint32_t>(0x5EED0000u + index));
    std::vector<std::uint8_t> bytes = original_;
    const bool inBitmapHeaders = index % 2 == 1;
    const unsigned flips = 1 + random() % 4;
    what = (inBitmapHeaders ? "bitmap header flips at" : "flips at");
    for (unsigned n = 0; n < flips; ++n) {
        std::size_t at = random() % bytes.size();
        if (inBitmapHeaders) {
            const std::size_t start = bitmapHeaderOffsets_[random() % bitmapHeaderOffsets_.size()];
            at = std::min(bytes.size() - 1, start + random() % kBmpHeadersSize);
        }
        const unsigned bit = random() % 8;
        bytes[at] ^= static_cast<std::uint8_t>(1u << bit);
        what += " " + std::to_string(at) + "." + std::to_string(bit);
    }
    return bytes;
}

} // namespace nestora::reliability
