#include "gui/core/inflate.h"

#include <array>

namespace nestora::gui {

namespace {

constexpr int kMaxCodeBits = 15;
constexpr int kLiteralLengthSymbols = 288;
constexpr int kDistanceSymbols = 30;
constexpr std::size_t kWindow = 32768;

struct Unsound {}; // thrown inside, turned into "nothing" at the edge

class BitReader {
public:
    explicit BitReader(std::span<const std::uint8_t> in) : in_(in) {}

    // The next n (0..16) bits, first bit lowest.
    unsigned Bits(int n) {
        while (count_ < n) {
            if (pos_ == in_.size())
                throw Unsound{};
            buffer_ |= static_cast<std::uint32_t>(in_[pos_++]) << count_;
            count_ += 8;
        }
        const unsigned value = buffer_ & ((1u << n) - 1);
        buffer_ >>= n;
        count_ -= n;
        return value;
    }

    // Stored blocks start on a byte boundary.
    void SkipToByte() {
        buffer_ = 0;
        count_ = 0;
    }
    std::uint8_t Byte() {
        if (pos_ == in_.size())
            throw Unsound{};
        return in_[pos_++];
    }

private:
    std::span<const std::uint8_t> in_;
    std::size_t pos_ = 0;
    std::uint32_t buffer_ = 0;
    int count_ = 0;
};

// A canonical Huffman code: how many codes of each length, and the symbols in code order.
struct Huffman {
    std::array<std::uint16_t, kMaxCodeBits + 1> counts{};
    std::array<std::uint16_t, kLiteralLengthSymbols> symbols{};

    // Builds the code from each symbol's length (0: unused). An over-subscribed set of
    // lengths is refused; an incomplete one is allowed (a lone distance code is legal) and
    // a code that falls into the gap is refused when met.
    void Build(const std::uint8_t* lengths, int n) {
        counts.fill(0);
        for (int s = 0; s < n; ++s)
            ++counts[lengths[s]];
        if (counts[0] == n)
            return; // no codes: any decoding fails
        int left = 1;
        for (int len = 1; len <= kMaxCodeBits; ++len) {
            left <<= 1;
            left -= counts[static_cast<std::size_t>(len)];
            if (left < 0)
                throw Unsound{};
        }
        std::array<std::uint16_t, kMaxCodeBits + 1> offsets{};
        for (int len = 1; len < kMaxCodeBits; ++len)
            offsets[static_cast<std::size_t>(len) + 1] = static_cast<std::uint16_t>(
                offsets[static_cast<std::size_t>(len)] + counts[static_cast<std::size_t>(len)]);
        for (int s = 0; s < n; ++s)
            if (lengths[s] != 0)
                symbols[offsets[lengths[s]]++] = static_cast<std::uint16_t>(s);
    }

    int Decode(BitReader& in) const {
        int code = 0;  // the bits read so far
        int first = 0; // the first code of the current length
        int index = 0; // where the symbols of the current length start
        for (int len = 1; len <= kMaxCodeBits; ++len) {
            code |= static_cast<int>(in.Bits(1));
            const int count = counts[static_cast<std::size_t>(len)];
            if (code - first < count)
                return symbols[static_cast<std::size_t>(index + code - first)];
            index += count;
            first = (first + count) << 1;
            code <<= 1;
        }
        throw Unsound{}; // a code of the gap of an incomplete set
    }
};

constexpr std::array<std::uint16_t, 29> kLengthBase = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                                       15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                                       67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<std::uint8_t, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                       2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<std::uint16_t, 30> kDistanceBase = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<std::uint8_t, 30> kDistanceExtra = {0, 0, 0,  0,  1,  1,  2,  2,  3,  3,
                                                         4, 4, 5,  5,  6,  6,  7,  7,  8,  8,
                                                         9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

class Inflater {
public:
    Inflater(std::span<const std::uint8_t> in, std::size_t limit) : in_(in), limit_(limit) {}

    std::vector<std::uint8_t> Run() {
        bool last = false;
        while (!last) {
            last = in_.Bits(1) == 1;
            switch (in_.Bits(2)) {
            case 0:
                Stored();
                break;
            case 1:
                Fixed();
                break;
            case 2:
                Dynamic();
                break;
            default:
                throw Unsound{};
            }
        }
        return std::move(out_);
    }

private:
    void Put(std::uint8_t byte) {
        if (out_.size() == limit_)
            throw Unsound{};
        out_.push_back(byte);
    }

    void Stored() {
        in_.SkipToByte();
        const unsigned length = Word();
        const unsigned complement = Word();
        if (length != (~complement & 0xFFFFu))
            throw Unsound{};
        for (unsigned i = 0; i < length; ++i)
            Put(in_.Byte());
    }

    unsigned Word() { // little-endian, low byte first
        const unsigned low = in_.Byte();
        return low | (static_cast<unsigned>(in_.Byte()) << 8);
    }

    void Fixed() {
        if (!fixedBuilt_) {
            std::array<std::uint8_t, kLiteralLengthSymbols + kDistanceSymbols> lengths{};
            for (int s = 0; s < 144; ++s)
                lengths[static_cast<std::size_t>(s)] = 8;
            for (int s = 144; s < 256; ++s)
                lengths[static_cast<std::size_t>(s)] = 9;
            for (int s = 256; s < 280; ++s)
                lengths[static_cast<std::size_t>(s)] = 7;
            for (int s = 280; s < kLiteralLengthSymbols; ++s)
                lengths[static_cast<std::size_t>(s)] = 8;
            for (int s = 0; s < kDistanceSymbols; ++s)
                lengths[static_cast<std::size_t>(kLiteralLengthSymbols + s)] = 5;
            fixedLiterals_.Build(lengths.data(), kLiteralLengthSymbols);
            fixedDistances_.Build(lengths.data() + kLiteralLengthSymbols, kDistanceSymbols);
            fixedBuilt_ = true;
        }
        Codes(fixedLiterals_, fixedDistances_);
    }

    void Dynamic() {
        const int literalCount = static_cast<int>(in_.Bits(5)) + 257;
        const int distanceCount = static_cast<int>(in_.Bits(5)) + 1;
        const int codeLengthCount = static_cast<int>(in_.Bits(4)) + 4;
        if (literalCount > 286 || distanceCount > kDistanceSymbols)
            throw Unsound{};
        static constexpr std::array<std::uint8_t, 19> kOrder = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                                11, 4,  12, 3, 13, 2, 14, 1, 15};
        std::array<std::uint8_t, 19> codeLengthLengths{};
        for (int i = 0; i < codeLengthCount; ++i)
            codeLengthLengths[kOrder[static_cast<std::size_t>(i)]] =
                static_cast<std::uint8_t>(in_.Bits(3));
        Huffman codeLengths;
        codeLengths.Build(codeLengthLengths.data(), 19);

        std::array<std::uint8_t, kLiteralLengthSymbols + kDistanceSymbols> lengths{};
        const int total = literalCount + distanceCount;
        for (int i = 0; i < total;) {
            const int symbol = codeLengths.Decode(in_);
            if (symbol < 16) {
                lengths[static_cast<std::size_t>(i++)] = static_cast<std::uint8_t>(symbol);
                continue;
            }
            std::uint8_t repeated = 0;
            int times = 0;
            if (symbol == 16) {
                if (i == 0)
                    throw Unsound{}; // nothing to repeat
                repeated = lengths[static_cast<std::size_t>(i - 1)];
                times = 3 + static_cast<int>(in_.Bits(2));
            } else if (symbol == 17) {
                times = 3 + static_cast<int>(in_.Bits(3));
            } else {
                times = 11 + static_cast<int>(in_.Bits(7));
            }
            if (i + times > total)
                throw Unsound{};
            while (times-- > 0)
                lengths[static_cast<std::size_t>(i++)] = repeated;
        }
        if (lengths[256] == 0)
            throw Unsound{}; // a block that cannot end
        Huffman literals;
        Huffman distances;
        literals.Build(lengths.data(), literalCount);
        distances.Build(lengths.data() + literalCount, distanceCount);
        Codes(literals, distances);
    }

    void Codes(const Huffman& literals, const Huffman& distances) {
        for (;;) {
            const int symbol = literals.Decode(in_);
            if (symbol < 256) {
                Put(static_cast<std::uint8_t>(symbol));
                continue;
            }
            if (symbol == 256)
                return;
            const int lengthIndex = symbol - 257;
            if (lengthIndex >= static_cast<int>(kLengthBase.size()))
                throw Unsound{};
            const std::size_t length =
                kLengthBase[static_cast<std::size_t>(lengthIndex)] +
                in_.Bits(kLengthExtra[static_cast<std::size_t>(lengthIndex)]);
            const int distanceSymbol = distances.Decode(in_);
            if (distanceSymbol >= kDistanceSymbols)
                throw Unsound{};
            const std::size_t distance =
                kDistanceBase[static_cast<std::size_t>(distanceSymbol)] +
                in_.Bits(kDistanceExtra[static_cast<std::size_t>(distanceSymbol)]);
            if (distance > out_.size() || distance > kWindow)
                throw Unsound{};
            if (length > limit_ - out_.size())
                throw Unsound{};
            // Byte by byte: a copy may overlap what it produces (distance < length).
            for (std::size_t i = 0; i < length; ++i) {
                const std::uint8_t byte = out_[out_.size() - distance];
                out_.push_back(byte);
            }
        }
    }

    BitReader in_;
    std::size_t limit_;
    std::vector<std::uint8_t> out_;
    Huffman fixedLiterals_;
    Huffman fixedDistances_;
    bool fixedBuilt_ = false;
};

} // namespace

std::optional<std::vector<std::uint8_t>> Inflate(std::span<const std::uint8_t> deflated,
                                                 std::size_t limit) {
    try {
        return Inflater(deflated, limit).Run();
    } catch (const Unsound&) {
        return std::nullopt;
    }
}

} // namespace nestora::gui
