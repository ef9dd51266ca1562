#pragma once
// Byte streams for loading and saving pictures: the small interface the framework reads
// and writes through, and the stream over bytes in memory that serves the tests and any
// caller holding a file's bytes already.
//
// Not the standard library's iostreams on purpose: those bring the whole locale machinery
// into every program that links a picture, several hundred kilobytes of code that reading
// bytes never needs.

#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

namespace nestora::gui {

class TStream {
public:
    virtual ~TStream() = default;
    // Copies up to buffer.size() bytes from the current position and moves past them;
    // returns how many were copied, 0 at the end.
    virtual std::size_t Read(std::span<std::uint8_t> buffer) = 0;
    // Writes all of bytes at the current position and moves past them.
    virtual void Write(std::span<const std::uint8_t> bytes) = 0;
};

// A stream over a growing byte buffer; writing past the end extends it.
class TBytesStream : public TStream {
public:
    TBytesStream() = default;
    explicit TBytesStream(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

    std::size_t Read(std::span<std::uint8_t> buffer) override;
    void Write(std::span<const std::uint8_t> bytes) override;

    const std::vector<std::uint8_t>& Bytes() const noexcept { return bytes_; }
    std::size_t Position() const noexcept { return position_; }
    // Positions past the end are held at the end.
    void Seek(std::size_t position) noexcept;

private:
    std::vector<std::uint8_t> bytes_;
    std::size_t position_ = 0;
};

} // namespace nestora::gui
