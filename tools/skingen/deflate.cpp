#include "deflate.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <vector>

namespace nestora::skingen {

namespace {

constexpr std::size_t kWindow = 32768;
constexpr std::size_t kMinMatch = 3;
constexpr std::size_t kMaxMatch = 258;
constexpr int kHashBits = 15;
constexpr int kMaxChain = 512;
constexpr std::size_t kNone = static_cast<std::size_t>(-1);

class BitWriter {
public:
    // A field, first bit lowest.
    void Field(unsigned value, int bits) {
        for (int i = 0; i < bits; ++i)
            Bit((value >> i) & 1u);
    }
    // A Huffman code, first bit highest.
    void Code(unsigned value, int bits) {
        for (int i = bits - 1; i >= 0; --i)
            Bit((value >> i) & 1u);
    }
    Bytes Take() { return std::move(bytes_); }

private:
    void Bit(unsigned b) {
        if (used_ == 0)
            bytes_.push_back(0);
        bytes_.back() = static_cast<std::uint8_t>(bytes_.back() | (b << used_));
        used_ = (used_ + 1) % 8;
    }
    Bytes bytes_;
    int used_ = 0;
};

// The fixed literal/length code of a symbol 0..287.
void PutLiteralLength(BitWriter& out, unsigned symbol) {
    if (symbol < 144)
        out.Code(0x30 + symbol, 8);
    else if (symbol < 256)
        out.Code(0x190 + symbol - 144, 9);
    else if (symbol < 280)
        out.Code(symbol - 256, 7);
    else
        out.Code(0xC0 + symbol - 280, 8);
}

constexpr std::array<unsigned, 29> kLengthBase = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                                  15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                                  67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<int, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                              2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<unsigned, 30> kDistanceBase = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<int, 30> kDistanceExtra = {0, 0, 0,  0,  1,  1,  2,  2,  3,  3,
                                                4, 4, 5,  5,  6,  6,  7,  7,  8,  8,
                                                9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

// The last entry of a table whose base is at most value.
template <class Table> std::size_t BucketOf(const Table& bases, unsigned value) {
    return static_cast<std::size_t>(std::upper_bound(bases.begin(), bases.end(), value) -
                                    bases.begin()) -
           1;
}

void PutMatch(BitWriter& out, std::size_t length, std::size_t distance) {
    // 258 has its own symbol (285) although 227 + 31 would also reach it.
    const std::size_t l = length == kMaxMatch
                              ? kLengthBase.size() - 1
                              : BucketOf(kLengthBase, static_cast<unsigned>(length));
    PutLiteralLength(out, static_cast<unsigned>(257 + l));
    out.Field(static_cast<unsigned>(length - kLengthBase[l]), kLengthExtra[l]);
    const std::size_t d = BucketOf(kDistanceBase, static_cast<unsigned>(distance));
    out.Code(static_cast<unsigned>(d), 5);
    out.Field(static_cast<unsigned>(distance - kDistanceBase[d]), kDistanceExtra[d]);
}

class Matcher {
public:
    explicit Matcher(std::span<const std::uint8_t> data)
        : data_(data), head_(std::size_t{1} << kHashBits, kNone), previous_(data.size(), kNone) {}

    // Records position pos (which must have kMinMatch bytes from it) in the chains.
    void insert(std::size_t pos) {
        const std::size_t h = hash(pos);
        previous_[pos] = head_[h];
        head_[h] = pos;
    }

    struct Match {
        std::size_t length = 0;
        std::size_t distance = 0;
    };

    // The longest earlier match for the bytes at pos (the nearest among equals).
    Match Longest(std::size_t pos) const {
        Match best;
        if (data_.size() - pos < kMinMatch)
            return best;
        const std::size_t limit = std::min(kMaxMatch, data_.size() - pos);
        int chain = kMaxChain;
        for (std::size_t candidate = head_[hash(pos)];
             candidate != kNone && pos - candidate <= kWindow && chain-- > 0;
             candidate = previous_[candidate]) {
            std::size_t length = 0;
            while (length < limit && data_[candidate + length] == data_[pos + length])
                ++length;
            if (length > best.length) {
                best = {length, pos - candidate};
                if (length == limit)
                    break;
            }
        }
        if (best.length < kMinMatch)
            return {};
        return best;
    }

private:
    std::size_t hash(std::size_t pos) const {
        const unsigned v = static_cast<unsigned>(data_[pos]) << 16 |
                           static_cast<unsigned>(data_[pos + 1]) << 8 | data_[pos + 2];
        return (v * 2654435761u) >> (32 - kHashBits);
    }

    std::span<const std::uint8_t> data_;
    std::vector<std::size_t> head_;
    std::vector<std::size_t> previous_;
};

} // namespace

Bytes Deflate(std::span<const std::uint8_t> data) {
    BitWriter out;
    out.Field(1, 1); // the final block
    out.Field(1, 2); // fixed codes
    Matcher matcher(data);
    const auto insertUpTo = [&](std::size_t& next, std::size_t end) {
        for (; next < end && next + kMinMatch <= data.size(); ++next)
            matcher.insert(next);
    };
    std::size_t inserted = 0;
    std::size_t pos = 0;
    while (pos < data.size()) {
        insertUpTo(inserted, pos);
        Matcher::Match match = matcher.Longest(pos);
        if (match.length > 0 && pos + 1 < data.size()) {
            // Lazy step: a longer match one byte later is worth a literal now.
            insertUpTo(inserted, pos + 1);
            const Matcher::Match later = matcher.Longest(pos + 1);
            if (later.length > match.length) {
                PutLiteralLength(out, data[pos]);
                ++pos;
                continue;
            }
        }
        if (match.length == 0) {
            PutLiteralLength(out, data[pos]);
            ++pos;
            continue;
        }
        PutMatch(out, match.length, match.distance);
        pos += match.length;
    }
    PutLiteralLength(out, 256);
    return out.Take();
}

} // namespace nestora::skingen
