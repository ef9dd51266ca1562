// Damaged copies of a good theme file, made the same way on every run and platform, so
// the pure parser (natively, under the sanitizers) and the Windows loader (under Wine)
// meet the very same bytes.
//
// Cut copies end at lengths spread evenly over the file. Flipped copies have one to four
// bits flipped; every other copy takes its places from the headers of the file's bitmaps
// (the BMP file and info headers: sizes, widths, heights, bit counts, offsets), since
// flips in pixel bytes load as they are and teach nothing, while a bitmap header that
// lies is what a picture loader must survive.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace nestora::reliability {

std::vector<std::uint8_t> ReadWholeFile(const std::string& path);

// Copy `index` of `count` cut copies: the first `index * size / count` bytes.
std::vector<std::uint8_t> CutCopy(const std::vector<std::uint8_t>& original, std::size_t index,
                                  std::size_t count);

class FlippedCopies {
public:
    // original must be a theme file the parser loads, with at least one bitmap.
    explicit FlippedCopies(std::vector<std::uint8_t> original);
    // Copy number index; `what` gets the flipped places, for messages.
    std::vector<std::uint8_t> copy(std::size_t index, std::string& what) const;
    const std::vector<std::uint8_t>& Original() const { return original_; }

private:
    std::vector<std::uint8_t> original_;
    std::vector<std::size_t> bitmapHeaderOffsets_; // the first byte of each bitmap's data
};

} // namespace nestora::reliability
