// Reading a text of any length from a Win32 call that fills a buffer the
// caller provides. Every such call goes through GrowingBufferCall, which
// gives the call a larger buffer until the whole text fits, so that no text
// is ever cut short and no call is ever handed a capacity larger than its
// buffer. OS-free, so that its rules are tested natively.
#pragma once

#include <climits>
#include <cstddef>
#include <string>

// How a call says that the text did not fit. Capacities count characters,
// the NUL included; lengths count them without it.
enum class CutReport {
  // A text that fitted returns its length; one that did not returns the
  // capacity it needs: GetEnvironmentVariable, GetFullPathName,
  // GetLongPathName, GetTempPath.
  NeededSize,
  // As much as fits is written and the capacity returned: GetModuleFileName.
  FilledWhole,
  // As much as fits is written with a NUL after it and its length returned,
  // capacity - 1: GetWindowText, DragQueryFile.
  FilledLessNul,
  // As FilledLessNul, or one byte shorter still when the last double-byte
  // character did not fit (capacity - 2): GetPrivateProfileString; and
  // GetPrivateProfileSection, which returns capacity - 2 for any cut.
  FilledLessNulOrHalfChar,
};

// The capacity every call may be given at most: the calls take it as a DWORD
// or an int.
inline constexpr std::size_t kLargestTextCapacity = INT_MAX;

// How many characters at the end of the buffer a cut text may leave unused:
// a result that reaches into them may have been cut.
constexpr std::size_t CutMargin(CutReport report) {
  switch (report) {
    case CutReport::FilledLessNul:
      return 1;
    case CutReport::FilledLessNulOrHalfChar:
      return 2;
    case CutReport::NeededSize:
    case CutReport::FilledWhole:
      break;
  }
  return 0;
}

// The smallest capacity in which a text of the given length is seen whole.
constexpr std::size_t CapacityFor(CutReport report, std::size_t length) {
  return length + 1 + CutMargin(report);
}

// What one call's result means for a buffer of the given capacity: 0 when
// the text was read whole (result is then its length), else the capacity to
// try next. A call that reports more than it can have written (a filled
// buffer's length past its capacity, a needed size past largest) or needs a
// buffer past largest gives up: that is largest + 1.
constexpr std::size_t NextTextCapacity(CutReport report, std::size_t result, std::size_t capacity,
                                       std::size_t largest) {
  const std::size_t giveUp = largest + 1;
  if (result > capacity) {
    // Only a needed size may pass the capacity; a filled buffer never can.
    return report == CutReport::NeededSize && result <= largest ? result : giveUp;
  }
  if (result + CutMargin(report) < capacity) return 0;
  // Cut; or, for NeededSize, needing just the capacity it had, which happens
  // only when the text changed between two calls. Either way: twice as much.
  return capacity <= largest / 2 ? capacity * 2 : giveUp;
}

// The whole text that call writes, "" when the call fails (returns 0) or
// would need a buffer past largestCapacity. call(Char* buffer, std::size_t
// capacity) writes at most capacity characters, NUL included, into buffer
// and returns what report describes. expectedLength is the length the text
// is likely to have: a text that long or shorter is read in one call.
template <typename Char, typename Call>
std::basic_string<Char> GrowingBufferCall(CutReport report, Call call, std::size_t expectedLength = 259,
                                          std::size_t largestCapacity = kLargestTextCapacity) {
  std::basic_string<Char> buffer;
  std::size_t capacity = CapacityFor(report, expectedLength);
  while (capacity <= largestCapacity) {
    buffer.assign(capacity, Char());
    const auto result = static_cast<std::size_t>(call(buffer.data(), capacity));
    const std::size_t next = NextTextCapacity(report, result, capacity, largestCapacity);
    if (next == 0) {
      buffer.resize(result);
      return buffer;
    }
    capacity = next;
  }
  return {};
}
