// A meter mode that answers every command with the next reply of a byte script, whatever the
// command: each reply is a length byte (its low three bits, 0 to 7) followed by that many bytes.
// When the script runs out the meter falls silent. Feeds arbitrary replies to the links.
#pragma once

#include "tests/support/SimMeterMode.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

class SimScriptedReplies final : public SimMeterMode {
public:
    SimScriptedReplies(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::optional<std::string> Answer(const std::string& /*command*/, MeterSimulator& /*meter*/) override
    {
        if (position_ >= size_) return std::nullopt;
        std::size_t length = data_[position_++] & 7u;
        if (length > size_ - position_) length = size_ - position_;
        std::string reply(reinterpret_cast<const char*>(data_ + position_), length);
        position_ += length;
        return reply;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};
