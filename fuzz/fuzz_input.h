// Splitting one fuzz input into several texts: the parts are separated by
// zero bytes; missing parts are empty.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

template <std::size_t N>
std::array<std::string, N> Parts(const std::uint8_t* data, std::size_t size) {
    std::array<std::string, N> parts;
    std::size_t part = 0;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0 && part + 1 < N)
            ++part;
        else
            parts[part] += static_cast<char>(data[i]);
    }
    return parts;
}
