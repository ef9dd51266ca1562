#include "gui/core/bitmap_format.h"

#include "gui/core/text.h"

#include <bit>
#include <string>

namespace nestora::gui {

namespace {

constexpr std::uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3, kBiJpeg = 4,
                        kBiPng = 5, kBiAlphaBitfields = 6;
constexpr std::size_t kFileHeaderSize = 14;

[[noreturn]] void Refuse(const std::wstring& why) {
    throw EInvalidGraphic(L"Invalid bitmap: " + why);
}

// Little-endian reads that refuse to step outside the bytes.
class Bytes {
public:
    explicit Bytes(std::span<const std::uint8_t> data) : data_(data) {}
    std::size_t Size() const { return data_.size(); }
    std::uint8_t U8(std::uint64_t at) const {
        Need(at, 1);
        return data_[static_cast<std::size_t>(at)];
    }
    std::uint16_t U16(std::uint64_t at) const {
        Need(at, 2);
        const auto i = static_cast<std::size_t>(at);
        return static_cast<std::uint16_t>(data_[i] | (data_[i + 1] << 8));
    }
    std::uint32_t U32(std::uint64_t at) const {
        Need(at, 4);
        const auto i = static_cast<std::size_t>(at);
        return static_cast<std::uint32_t>(data_[i]) |
               (static_cast<std::uint32_t>(data_[i + 1]) << 8) |
               (static_cast<std::uint32_t>(data_[i + 2]) << 16) |
               (static_cast<std::uint32_t>(data_[i + 3]) << 24);
    }
    std::int32_t I32(std::uint64_t at) const { return static_cast<std::int32_t>(U32(at)); }

private:
    void Need(std::uint64_t at, std::uint64_t count) const {
        if (at > data_.size() || count > data_.size() - at)
            Refuse(L"the data ends too early");
    }
    std::span<const std::uint8_t> data_;
};

struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    static Channel FromMask(std::uint32_t mask) {
        Channel c;
        c.mask = mask;
        if (mask == 0)
            return c;
        c.shift = std::countr_zero(mask);
        c.bits = std::countr_one(mask >> c.shift);
        return c;
    }
    std::uint32_t Extract(std::uint32_t pixel) const {
        if (bits == 0)
            return 0;
        const std::uint32_t v =
            (pixel >> shift) & ((bits >= 32) ? 0xFFFFFFFFu : ((1u << bits) - 1));
        if (bits >= 8)
            return v >> (bits - 8);
        return v * 255u / ((1u << bits) - 1);
    }
};

struct DibLayout {
    int width = 0;
    int height = 0;
    bool topDown = false;
    int bitsPerPixel = 0;
    std::uint32_t compression = kBiRgb;
    Channel red, green, blue, alpha;
    bool bitfields = false;
    std::uint64_t paletteOffset = 0;
    std::uint32_t paletteCount = 0;
    int paletteEntrySize = 4;
    std::uint64_t tablesEnd = 0; // first byte after header, masks and colour table
};

DibLayout ReadLayout(const Bytes& dib) {
    DibLayout l;
    const std::uint32_t headerSize = dib.U32(0);
    std::uint32_t colorsUsed = 0;
    std::uint64_t afterHeader = headerSize;
    std::int64_t width = 0, height = 0;
    if (headerSize == 12) {
        width = dib.U16(4);
        height = dib.U16(6);
        if (dib.U16(8) != 1)
            Refuse(L"it has more than one plane");
        l.bitsPerPixel = dib.U16(10);
        l.paletteEntrySize = 3;
    } else if (headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 108 ||
               headerSize == 124) {
        width = dib.I32(4);
        height = dib.I32(8);
        if (dib.U16(12) != 1)
            Refuse(L"it has more than one plane");
        l.bitsPerPixel = dib.U16(14);
        l.compression = dib.U32(16);
        colorsUsed = dib.U32(32);
    } else {
        Refuse(L"its header size " + IntToStr(headerSize) + L" is unknown");
    }

    switch (l.compression) {
    case kBiRgb:
        break;
    case kBiBitfields:
    case kBiAlphaBitfields:
        l.bitfields = true;
        break;
    case kBiRle8:
    case kBiRle4:
        if (l.bitsPerPixel != (l.compression == kBiRle8 ? 8 : 4))
            Refuse(L"its run-length compression does not suit " + IntToStr(l.bitsPerPixel) +
                   L" bits per pixel");
        break;
    case kBiJpeg:
    case kBiPng:
        Refuse(L"embedded JPEG or PNG pictures are not supported");
    default:
        Refuse(L"compression " + IntToStr(l.compression) + L" is unknown");
    }

    switch (l.bitsPerPixel) {
    case 1:
    case 4:
    case 8:
    case 24:
        if (l.bitfields)
            Refuse(L"colour masks need 16 or 32 bits per pixel");
        break;
    case 16:
    case 32:
        break;
    default:
        Refuse(IntToStr(l.bitsPerPixel) + L" bits per pixel are not supported");
    }

    if (height < 0) {
        if (l.compression == kBiRle8 || l.compression == kBiRle4)
            Refuse(L"compressed pixels must be stored bottom-up");
        l.topDown = true;
        height = -height;
    }
    if (width <= 0 || height <= 0)
        Refuse(L"it has no pixels");
    if (width > kMaxBitmapSide || height > kMaxBitmapSide || width * height > kMaxBitmapPixels)
        Refuse(L"it is too large");
    l.width = static_cast<int>(width);
    l.height = static_cast<int>(height);

    if (l.bitfields) {
        std::uint64_t maskAt = 40;
        const bool masksFollowHeader = headerSize == 40;
        const bool withAlpha = l.compression == kBiAlphaBitfields || headerSize >= 56;
        l.red = Channel::FromMask(dib.U32(maskAt));
        l.green = Channel::FromMask(dib.U32(maskAt + 4));
        l.blue = Channel::FromMask(dib.U32(maskAt + 8));
        if (withAlpha)
            l.alpha = Channel::FromMask(dib.U32(maskAt + 12));
        if (masksFollowHeader)
            afterHeader += withAlpha ? 16 : 12;
    } else if (l.bitsPerPixel == 16) {
        l.red = Channel::FromMask(0x7C00);
        l.green = Channel::FromMask(0x03E0);
        l.blue = Channel::FromMask(0x001F);
    }

    if (l.bitsPerPixel <= 8) {
        const std::uint32_t most = 1u << l.bitsPerPixel;
        if (colorsUsed > most)
            Refuse(L"its colour table is larger than its pixels can use");
        l.paletteCount = colorsUsed == 0 ? most : colorsUsed;
    } else {
        // A colour table beside true-colour pixels is only a display hint: skipped.
        l.paletteCount = colorsUsed;
    }
    l.paletteOffset = afterHeader;
    l.tablesEnd = afterHeader + std::uint64_t{l.paletteCount} * l.paletteEntrySize;
    if (l.tablesEnd > dib.Size())
        Refuse(L"its colour table ends outside the data");
    return l;
}

// BI_RLE8 / BI_RLE4 pixels as colour-table indices, top row first. Runs that go past the
// right edge are cut there and a jump past the last row ends the picture, as GDI draws
// them; pixels the data never reaches are black (kUnreached).
constexpr std::uint32_t kUnreached = 0xFFFFFFFFu;

std::vector<std::uint32_t> DecodeRunLengths(const DibLayout& l, const Bytes& data) {
    std::vector<std::uint32_t> indices(
        static_cast<std::size_t>(l.width) * static_cast<std::size_t>(l.height), kUnreached);
    const bool four = l.compression == kBiRle4;
    std::int64_t x = 0, row = 0; // row 0 is the bottom one
    const auto put = [&](std::uint32_t index) {
        if (x < l.width && row < l.height)
            indices[static_cast<std::size_t>(l.height - 1 - row) * l.width +
                    static_cast<std::size_t>(x)] = index;
        ++x;
    };
    std::uint64_t at = 0;
    while (row < l.height) {
        const std::uint8_t count = data.U8(at);
        const std::uint8_t value = data.U8(at + 1);
        at += 2;
        if (count > 0) {
            for (int i = 0; i < count; ++i)
                put(four ? ((i % 2) ? value & 0x0F : value >> 4) : value);
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            ++row;
        } else if (value == 1) { // end of bitmap
            break;
        } else if (value == 2) { // jump right and up
            x += data.U8(at);
            row += data.U8(at + 1);
            at += 2;
        } else { // `value` indices as they are, padded to 16 bits
            const std::uint64_t bytes = four ? (value + 1u) / 2 : value;
            for (int i = 0; i < value; ++i) {
                const std::uint8_t b = data.U8(at + (four ? i / 2 : i));
                put(four ? ((i % 2) ? b & 0x0F : b >> 4) : b);
            }
            at += bytes + bytes % 2;
        }
    }
    return indices;
}

DecodedBitmap DecodePixels(const DibLayout& l, const Bytes& dib, const Bytes& pixels) {
    const bool runLengths = l.compression == kBiRle8 || l.compression == kBiRle4;
    const std::int64_t rowBytes = DibRowBytes(l.width, l.bitsPerPixel);
    const std::int64_t lastRowBytes = (std::int64_t{l.width} * l.bitsPerPixel + 7) / 8;
    // The last row's padding may be missing; everything else must be there.
    const std::int64_t needed = rowBytes * (l.height - 1) + lastRowBytes;
    if (!runLengths && static_cast<std::uint64_t>(needed) > pixels.Size())
        Refuse(L"its pixels end outside the data");

    std::vector<std::uint32_t> palette;
    if (l.bitsPerPixel <= 8) {
        palette.resize(l.paletteCount);
        for (std::uint32_t i = 0; i < l.paletteCount; ++i) {
            const std::uint64_t at = l.paletteOffset + std::uint64_t{i} * l.paletteEntrySize;
            palette[i] = dib.U8(at) | (dib.U8(at + 1) << 8) | (dib.U8(at + 2) << 16);
        }
    }

    DecodedBitmap out;
    out.width = l.width;
    out.height = l.height;
    out.bitsPerPixel = l.bitsPerPixel == 32 ? 32 : 24;
    out.pixels.resize(static_cast<std::size_t>(l.width) * static_cast<std::size_t>(l.height));

    if (runLengths) {
        const std::vector<std::uint32_t> indices = DecodeRunLengths(l, pixels);
        for (std::size_t i = 0; i < indices.size(); ++i)
            out.pixels[i] = indices[i] < palette.size() ? palette[indices[i]] : 0;
        return out;
    }

    for (int y = 0; y < l.height; ++y) {
        const int sourceRow = l.topDown ? y : l.height - 1 - y;
        const std::uint64_t row = static_cast<std::uint64_t>(sourceRow) * rowBytes;
        std::uint32_t* dest = out.pixels.data() + static_cast<std::size_t>(y) * l.width;
        for (int x = 0; x < l.width; ++x) {
            std::uint32_t px = 0;
            switch (l.bitsPerPixel) {
            case 1:
            case 4:
            case 8: {
                const std::uint64_t bit = std::uint64_t(x) * l.bitsPerPixel;
                const std::uint8_t byte = pixels.U8(row + bit / 8);
                const int shift = 8 - l.bitsPerPixel - static_cast<int>(bit % 8);
                const std::uint32_t index = (byte >> shift) & ((1u << l.bitsPerPixel) - 1);
                // An index past the table shows black, as GDI draws it.
                px = index < palette.size() ? palette[index] : 0;
                break;
            }
            case 16: {
                const std::uint32_t v = pixels.U16(row + std::uint64_t(x) * 2);
                px = l.red.Extract(v) << 16 | l.green.Extract(v) << 8 | l.blue.Extract(v) |
                     l.alpha.Extract(v) << 24;
                break;
            }
            case 24: {
                const std::uint64_t at = row + std::uint64_t(x) * 3;
                px = pixels.U8(at) | (pixels.U8(at + 1) << 8) | (pixels.U8(at + 2) << 16);
                break;
            }
            case 32: {
                const std::uint32_t v = pixels.U32(row + std::uint64_t(x) * 4);
                px = l.bitfields ? (l.red.Extract(v) << 16 | l.green.Extract(v) << 8 |
                                    l.blue.Extract(v) | l.alpha.Extract(v) << 24)
                                 : v;
                break;
            }
            }
            dest[x] = px;
        }
    }
    return out;
}

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

} // namespace

std::int64_t DibRowBytes(std::int64_t width, int bitsPerPixel) {
    return (width * bitsPerPixel + 31) / 32 * 4;
}

DecodedBitmap DecodePackedDib(std::span<const std::uint8_t> dib) {
    const Bytes bytes(dib);
    const DibLayout layout = ReadLayout(bytes);
    return DecodePixels(layout, bytes,
                        Bytes(dib.subspan(static_cast<std::size_t>(layout.tablesEnd))));
}

DecodedBitmap DecodeBmpFile(std::span<const std::uint8_t> file) {
    const Bytes bytes(file);
    if (file.size() < kFileHeaderSize || file[0] != 'B' || file[1] != 'M')
        Refuse(L"it does not start with a bitmap file header");
    const std::uint32_t pixelOffset = bytes.U32(10);
    const std::span<const std::uint8_t> dib = file.subspan(kFileHeaderSize);
    const Bytes dibBytes(dib);
    const DibLayout layout = ReadLayout(dibBytes);
    if (pixelOffset < kFileHeaderSize + layout.tablesEnd)
        Refuse(L"its pixels overlap its header");
    if (pixelOffset > file.size())
        Refuse(L"its pixels start outside the data");
    return DecodePixels(layout, dibBytes, Bytes(file.subspan(pixelOffset)));
}

std::vector<std::uint8_t> EncodeBmpFile(const DecodedBitmap& bitmap) {
    if (bitmap.width <= 0 || bitmap.height <= 0 || bitmap.width > kMaxBitmapSide ||
        bitmap.height > kMaxBitmapSide ||
        bitmap.pixels.size() !=
            static_cast<std::size_t>(bitmap.width) * static_cast<std::size_t>(bitmap.height))
        throw EInvalidGraphic(L"Invalid bitmap: nothing to write");
    const int bpp = bitmap.bitsPerPixel == 32 ? 32 : 24;
    const auto rowBytes = static_cast<std::uint32_t>(DibRowBytes(bitmap.width, bpp));
    const std::uint32_t imageBytes = rowBytes * static_cast<std::uint32_t>(bitmap.height);
    const std::uint32_t offset = kFileHeaderSize + 40;

    std::vector<std::uint8_t> out;
    out.reserve(offset + imageBytes);
    out.push_back('B');
    out.push_back('M');
    Put32(out, offset + imageBytes);
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(bitmap.width));
    Put32(out, static_cast<std::uint32_t>(bitmap.height));
    Put16(out, 1);
    Put16(out, static_cast<std::uint32_t>(bpp));
    Put32(out, kBiRgb);
    Put32(out, imageBytes);
    Put32(out, 2835); // 72 dots per inch, as most writers put it
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = bitmap.height - 1; y >= 0; --y) {
        const std::uint32_t* row =
            bitmap.pixels.data() + static_cast<std::size_t>(y) * bitmap.width;
        std::uint32_t written = 0;
        for (int x = 0; x < bitmap.width; ++x) {
            const std::uint32_t px = row[x];
            out.push_back(static_cast<std::uint8_t>(px));
            out.push_back(static_cast<std::uint8_t>(px >> 8));
            out.push_back(static_cast<std::uint8_t>(px >> 16));
            written += 3;
            if (bpp == 32) {
                out.push_back(static_cast<std::uint8_t>(px >> 24));
                ++written;
            }
        }
        for (; written < rowBytes; ++written)
            out.push_back(0);
    }
    return out;
}

} // namespace nestora::gui
