// The one loop that reads a text of any length from a Win32 call: every way
// a call reports a cut, at and around the capacity where the text just fits.
#include "common/growing_buffer.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "common/sjis_chars.h"

namespace {

// A stand-in for a Win32 call that holds text and answers as report says.
// It scribbles over the whole capacity it is given first, as a real call may,
// so that a result that is not cut to the reported length shows.
template <typename Char>
struct FakeCall {
  std::basic_string<Char> text;
  CutReport report;
  std::vector<std::size_t> capacities;

  std::size_t operator()(Char* buffer, std::size_t capacity) {
    capacities.push_back(capacity);
    for (std::size_t i = 0; i < capacity; ++i) buffer[i] = Char('#');
    const std::size_t length = text.size();
    if (length < capacity) return Write(buffer, length);
    switch (report) {
      case CutReport::NeededSize:
        return length + 1;
      case CutReport::FilledWhole:
        Write(buffer, capacity - 1);
        return capacity;
      case CutReport::FilledLessNul:
        return Write(buffer, capacity - 1);
      case CutReport::FilledLessNulOrHalfChar:
        return Write(buffer, LastWholeCharEnd(capacity - 1));
    }
    return 0;
  }

  std::size_t Write(Char* buffer, std::size_t length) {
    text.copy(buffer, length);
    buffer[length] = Char();
    return length;
  }

  // Where the last character that fits whole in limit units ends: a
  // double-byte character is never cut in two.
  std::size_t LastWholeCharEnd(std::size_t limit) const {
    std::size_t end = 0;
    if constexpr (sizeof(Char) == 1) {
      for (std::size_t i = 0; i < text.size(); i = NextSjisChar(text, i)) {
        if (NextSjisChar(text, i) > limit) break;
        end = NextSjisChar(text, i);
      }
    } else {
      end = limit;
    }
    return end;
  }
};

constexpr CutReport kReports[] = {CutReport::NeededSize, CutReport::FilledWhole, CutReport::FilledLessNul,
                                  CutReport::FilledLessNulOrHalfChar};

TEST(GrowingBuffer, NextCapacityAtTheBoundaries) {
  constexpr std::size_t kLargest = 100;
  constexpr std::size_t kGiveUp = kLargest + 1;
  struct Case {
    CutReport report;
    std::size_t result, capacity, next;
  } cases[] = {
      {CutReport::NeededSize, 0, 16, 0},
      {CutReport::NeededSize, 15, 16, 0},
      {CutReport::NeededSize, 16, 16, 32},  // the text changed between two calls
      {CutReport::NeededSize, 17, 16, 17},
      {CutReport::NeededSize, 100, 16, 100},
      {CutReport::NeededSize, 101, 16, kGiveUp},
      {CutReport::FilledWhole, 15, 16, 0},
      {CutReport::FilledWhole, 16, 16, 32},
      {CutReport::FilledWhole, 17, 16, kGiveUp},
      {CutReport::FilledWhole, 50, 50, 100},
      {CutReport::FilledWhole, 51, 51, kGiveUp},
      {CutReport::FilledLessNul, 14, 16, 0},
      {CutReport::FilledLessNul, 15, 16, 32},
      {CutReport::FilledLessNul, 16, 16, 32},
      {CutReport::FilledLessNulOrHalfChar, 13, 16, 0},
      {CutReport::FilledLessNulOrHalfChar, 14, 16, 32},
      {CutReport::FilledLessNulOrHalfChar, 15, 16, 32},
      {CutReport::FilledLessNulOrHalfChar, 1, 2, 4},
      {CutReport::FilledLessNulOrHalfChar, 0, 2, 4},
      // A negative int result reads as a huge one.
      {CutReport::FilledLessNul, static_cast<std::size_t>(-1), 16, kGiveUp},
      {CutReport::NeededSize, static_cast<std::size_t>(-1), 16, kGiveUp},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NextTextCapacity(c.report, c.result, c.capacity, kLargest), c.next)
        << static_cast<int>(c.report) << " result " << c.result << " capacity " << c.capacity;
  }
}

TEST(GrowingBuffer, EveryLengthAroundTheExpectedOneIsReadWhole) {
  constexpr std::size_t kExpected = 8;
  for (const CutReport report : kReports) {
    for (std::size_t length = 0; length <= 40; ++length) {
      FakeCall<char> call{std::string(length, 'a') + std::string(length % 3, 'b'), report, {}};
      const std::string text = call.text;
      EXPECT_EQ(GrowingBufferCall<char>(report, std::ref(call), kExpected), text)
          << static_cast<int>(report) << " length " << text.size();
      ASSERT_FALSE(call.capacities.empty());
      // The expected length and anything shorter takes one call; one more
      // character takes a second.
      EXPECT_EQ(call.capacities.front(), CapacityFor(report, kExpected));
      EXPECT_EQ(call.capacities.size() == 1, text.size() <= kExpected)
          << static_cast<int>(report) << " length " << text.size() << " calls " << call.capacities.size();
      if (report == CutReport::NeededSize && text.size() > kExpected) {
        EXPECT_EQ(call.capacities, (std::vector<std::size_t>{kExpected + 1, text.size() + 1}));
      }
    }
  }
}

TEST(GrowingBuffer, DoubleByteCharactersCutBeforeTheirLastByte) {
  // "あ" is 0x82 0xA0; after "a" every character ends on an odd offset, so
  // half of all capacities cut one in two and the call stops a byte short.
  std::string text = "a";
  for (int i = 0; i < 20; ++i) text += "\x82\xA0";
  for (std::size_t expected = 0; expected <= text.size(); ++expected) {
    FakeCall<char> call{text, CutReport::FilledLessNulOrHalfChar, {}};
    EXPECT_EQ(GrowingBufferCall<char>(CutReport::FilledLessNulOrHalfChar, std::ref(call), expected), text)
        << expected;
  }
}

TEST(GrowingBuffer, WideTextAsNarrow) {
  for (const CutReport report : kReports) {
    FakeCall<wchar_t> call{std::wstring(300, L'\x3042'), report, {}};
    EXPECT_EQ(GrowingBufferCall<wchar_t>(report, std::ref(call)), call.text) << static_cast<int>(report);
  }
}

TEST(GrowingBuffer, FailureAndRunawayCallsGiveNothing) {
  int calls = 0;
  const auto failing = [&](char*, std::size_t) {
    ++calls;
    return 0u;
  };
  EXPECT_EQ(GrowingBufferCall<char>(CutReport::NeededSize, failing), "");
  EXPECT_EQ(calls, 1);

  // A call that never stops reporting a cut is given up on at the largest
  // capacity, never handed more.
  for (const CutReport report : kReports) {
    std::vector<std::size_t> capacities;
    const auto alwaysCut = [&](char*, std::size_t capacity) {
      capacities.push_back(capacity);
      return capacity;
    };
    EXPECT_EQ(GrowingBufferCall<char>(report, alwaysCut, 3, 64), "") << static_cast<int>(report);
    ASSERT_FALSE(capacities.empty());
    for (const std::size_t capacity : capacities) EXPECT_LE(capacity, 64u);
  }

  // A needed size past the largest capacity is never tried.
  FakeCall<char> huge{std::string(100, 'x'), CutReport::NeededSize, {}};
  EXPECT_EQ(GrowingBufferCall<char>(CutReport::NeededSize, std::ref(huge), 8, 64), "");
  EXPECT_EQ(huge.capacities, std::vector<std::size_t>{9});

  // A negative int (GetWindowText's failure) is no length.
  EXPECT_EQ(GrowingBufferCall<char>(CutReport::FilledLessNul, [](char*, std::size_t) { return -1; }), "");
}

}  // namespace
