#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zendra {

// Program text: code page 936 bytes. Lengths and positions count bytes.
using Text = std::string;

// Raw bytes: response bodies, pictures.
using Bytes = std::vector<std::uint8_t>;

// A text array. The system's arrays count from 1; element k+1 lives at index k here.
using TextArray = std::vector<Text>;

}  // namespace zendra
