#include "gui/core/stream.h"

#include <algorithm>
#include <cstring>

namespace nestora::gui {

std::size_t TBytesStream::Read(std::span<std::uint8_t> buffer) {
    const std::size_t count = std::min(buffer.size(), bytes_.size() - position_);
    if (count > 0)
        std::memcpy(buffer.data(), bytes_.data() + position_, count);
    position_ += count;
    return count;
}

void TBytesStream::Write(std::span<const std::uint8_t> bytes) {
    if (bytes.empty())
        return;
    const std::size_t end = position_ + bytes.size();
    if (end > bytes_.size())
        bytes_.resize(end);
    std::memcpy(bytes_.data() + position_, bytes.data(), bytes.size());
    position_ = end;
}

void TBytesStream::Seek(std::size_t position) noexcept {
    position_ = std::min(position, bytes_.size());
}

} // namespace nestora::gui
