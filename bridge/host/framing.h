// The browsers' native messaging frames: a 4-byte length in the machine's own
// byte order, then that many bytes of UTF-8 JSON.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// The largest message the host reads; a longer one is refused unread.
inline constexpr std::uint32_t kMaxMessageBytes = 1024 * 1024;

// Reads up to size bytes into buffer and returns how many it read; 0 at the
// end of the input or on a read error.
using ReadSome = std::function<std::size_t(char* buffer, std::size_t size)>;

enum class FrameKind {
  Message,    // body holds the whole message
  TooLong,    // the length is beyond kMaxMessageBytes; the body is not read
  Truncated,  // the input ended within the frame
  End,        // the input ended before the frame's first byte
};

struct Frame {
  FrameKind kind = FrameKind::End;
  std::string body;
  std::uint32_t length = 0;  // the length the frame declared
};

// Reads the next frame.
Frame ReadFrame(const ReadSome& read);

// Reads and drops count bytes (a refused message's body); false when the
// input ends first.
bool SkipBytes(const ReadSome& read, std::uint64_t count);

// The length prefix and the body, ready to be written.
std::string EncodeFrame(std::string_view body);
