#include "bridge/host/framing.h"

#include <algorithm>
#include <cstring>

namespace {

// Fills buffer completely; the number of bytes read, less than size only when
// the input ended.
std::size_t ReadFull(const ReadSome& read, char* buffer, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    const std::size_t got = read(buffer + done, size - done);
    if (got == 0) break;
    done += std::min(got, size - done);
  }
  return done;
}

}  // namespace

Frame ReadFrame(const ReadSome& read) {
  Frame frame;
  char prefix[4];
  const std::size_t got = ReadFull(read, prefix, sizeof prefix);
  if (got == 0) return frame;
  if (got < sizeof prefix) {
    frame.kind = FrameKind::Truncated;
    return frame;
  }
  std::memcpy(&frame.length, prefix, sizeof prefix);
  if (frame.length > kMaxMessageBytes) {
    frame.kind = FrameKind::TooLong;
    return frame;
  }
  frame.body.resize(frame.length);
  if (ReadFull(read, frame.body.data(), frame.length) < frame.length) {
    frame.kind = FrameKind::Truncated;
    frame.body.clear();
    return frame;
  }
  frame.kind = FrameKind::Message;
  return frame;
}

bool SkipBytes(const ReadSome& read, std::uint64_t count) {
  char buffer[65536];
  while (count > 0) {
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(count, sizeof buffer));
    const std::size_t got = ReadFull(read, buffer, want);
    count -= got;
    if (got < want) return false;
  }
  return true;
}

std::string EncodeFrame(std::string_view body) {
  const auto length = static_cast<std::uint32_t>(body.size());
  std::string frame(sizeof length, '\0');
  std::memcpy(frame.data(), &length, sizeof length);
  frame.append(body);
  return frame;
}
