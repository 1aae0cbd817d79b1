// Names for the temporary files that are written beside a file and then moved
// over it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// A temporary file name for a file named finalName, drawn from seed: "~",
// base-36 digits and, when there is room, ".tmp". It is never longer than
// finalName (in bytes), so that a path that fits the platform's limit with the
// final name fits it with the temporary one too, and it holds only ASCII
// letters, digits, "~" and ".", so it needs no care in any code page.
std::string TemporaryNameFor(std::string_view finalName, uint64_t seed);
