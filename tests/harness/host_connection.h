// OrbiskHost.exe started as a browser starts it: its standard input and
// output on pipes, the caller named on its command line. The host and
// everything it starts run in a job, so that a test can tell whether the
// host started any program at all.
#pragma once

#include <windows.h>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <thread>

#include "common/win_handles.h"

class HostConnection {
 public:
  // hostPath: the program; arguments: what follows it on the command line;
  // jobLimits: JOB_OBJECT_LIMIT_* flags of the job, as a browser may set
  // them (Firefox: kill on close, breakaway allowed).
  HostConnection(const std::string& hostPath, const std::string& arguments, DWORD jobLimits = 0);
  // Closes the host's input and waits for it to end.
  ~HostConnection();
  HostConnection(const HostConnection&) = delete;
  HostConnection& operator=(const HostConnection&) = delete;

  bool Started() const { return static_cast<bool>(process_); }
  // Why the host could not be started, when it could not.
  const std::string& Failure() const { return failure_; }

  // Writes a framed message, or raw bytes.
  bool Send(const std::string& body);
  bool SendRaw(const std::string& bytes);
  // Ends the host's input, as a browser closing the port.
  void CloseInput();

  // The next message the host wrote, waiting up to timeoutMs; none when
  // nothing came in time or the output ended.
  std::optional<nlohmann::json> Receive(DWORD timeoutMs = 10000);
  std::optional<nlohmann::json> Ask(const nlohmann::json& request, DWORD timeoutMs = 10000);

  // True once the host ended within timeoutMs; its exit code in *exitCode.
  bool WaitForExit(DWORD timeoutMs, DWORD* exitCode = nullptr);

  // How many processes ever ran in the host's job: 1 when the host started
  // nothing.
  DWORD ProcessesInJob() const;

  // Closes the job, as a browser does when it quits: with kill on close,
  // every process still in it ends.
  void CloseJob() { job_.reset(); }

 private:
  struct Inbox {
    std::mutex lock;
    std::condition_variable arrived;
    std::deque<std::string> messages;
    bool ended = false;
  };

  UniqueHandle job_, process_;
  UniqueFile input_;
  std::shared_ptr<Inbox> inbox_ = std::make_shared<Inbox>();
  std::thread reader_;
  std::string failure_;
};

// "chrome-extension://<the Orbisk extension's id>/".
std::string OrbiskOrigin();
