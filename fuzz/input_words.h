#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <vector>

namespace pagelark::fuzz {

// Targets that need numbers besides a file take them from the front of the
// input: little-endian 32-bit words, then the file's bytes. Keeping the layout
// in one place lets the seed maker write inputs the targets read as meant.
class InputWords {
public:
    explicit InputWords(std::span<const std::uint8_t> input) : rest_(input) {}

    // The next word; bytes missing at the end of a short input count as 0, so
    // every input is a valid one.
    std::uint32_t word()
    {
        std::uint32_t value = 0;
        for (int shift = 0; shift < 32 && !rest_.empty(); shift += 8) {
            value |= std::uint32_t{rest_.front()} << shift;
            rest_ = rest_.subspan(1);
        }
        return value;
    }
    std::int32_t signedWord() { return static_cast<std::int32_t>(word()); }

    // What follows the words taken so far.
    std::span<const std::uint8_t> rest() const { return rest_; }

private:
    std::span<const std::uint8_t> rest_;
};

inline std::vector<std::uint8_t> withWords(std::initializer_list<std::uint32_t> words,
                                           std::span<const std::uint8_t> file)
{
    std::vector<std::uint8_t> input;
    for (std::uint32_t value : words)
        for (int shift = 0; shift < 32; shift += 8)
            input.push_back(static_cast<std::uint8_t>(value >> shift));
    input.insert(input.end(), file.begin(), file.end());
    return input;
}

}  // namespace pagelark::fuzz
