#pragma once

#include <array>
#include <cstdint>

namespace zendra::site {

// SHA1's chaining state after each shared part of the image stream (image_content.cpp),
// so that the site never hashes a gigabyte when it starts. The site's tests recompute
// them and print the table again when the stream changes.
struct SharedMidstate {
  std::int64_t length;
  std::array<std::uint32_t, 5> state;
};

inline constexpr std::array<SharedMidstate, 4> kSharedMidstates{{
    {(std::int64_t{1} << 20) - 4096, {0x006aa322, 0x32d550ec, 0xc5ae3092, 0xde19c56c, 0x21ab12ea}},
    {(std::int64_t{16} << 20) - 4096, {0x0f31db20, 0xafbaf488, 0xa574e771, 0xcad8b6bb, 0xeb305b5b}},
    {(std::int64_t{256} << 20) - 4096,
     {0xed784ff3, 0xbee712d5, 0x72137771, 0xf3d87c3f, 0xc81b0d20}},
    {(std::int64_t{1} << 30) - 4096, {0xa1086722, 0xa45804a7, 0x599d6cc1, 0xd224600a, 0x7342d6d7}},
}};

}  // namespace zendra::site
