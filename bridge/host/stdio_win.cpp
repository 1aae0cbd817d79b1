#include "bridge/host/stdio_win.h"

ReadSome StandardInputReader() {
  const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  return [input](char* buffer, std::size_t size) -> std::size_t {
    if (input == nullptr || input == INVALID_HANDLE_VALUE) return 0;
    DWORD got = 0;
    const DWORD want = size > 65536 ? 65536 : static_cast<DWORD>(size);
    if (!ReadFile(input, buffer, want, &got, nullptr)) return 0;
    return got;
  };
}

StandardOutputWriter::StandardOutputWriter() : output_(GetStdHandle(STD_OUTPUT_HANDLE)) {}

bool StandardOutputWriter::Write(const std::string& body) {
  const std::string frame = EncodeFrame(body);
  std::lock_guard<std::mutex> guard(lock_);
  if (output_ == nullptr || output_ == INVALID_HANDLE_VALUE) return false;
  std::size_t done = 0;
  while (done < frame.size()) {
    DWORD wrote = 0;
    if (!WriteFile(output_, frame.data() + done, static_cast<DWORD>(frame.size() - done), &wrote, nullptr) ||
        wrote == 0) {
      return false;
    }
    done += wrote;
  }
  return true;
}
