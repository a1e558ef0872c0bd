#pragma once
// How large a file the program reads: the limits keep a huge file from taking all memory.
#include <cstddef>

namespace obrel {

// A larger subtitle file is refused unread. The program's own files of 9999 entries take a
// few megabytes.
constexpr std::size_t kLargestSubtitleFile = std::size_t{256} * 1024 * 1024;

// A recovery copy holds what a subtitle file held, escaped (which at most doubles a text),
// and a little more.
constexpr std::size_t kLargestRecoveryCopy = 2 * kLargestSubtitleFile + std::size_t{1024} * 1024;

}  // namespace obrel
