#include "tests/harness/host_connection.h"

#include "bridge/host/extension_ids.h"
#include "bridge/host/framing.h"

namespace {

// Ends of an anonymous pipe: the child's end inheritable, ours not.
bool MakePipe(UniqueFile* read, UniqueFile* write, bool childReads) {
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE r = nullptr, w = nullptr;
  if (!CreatePipe(&r, &w, &inherit, 0)) return false;
  read->reset(r);
  write->reset(w);
  return SetHandleInformation(childReads ? w : r, HANDLE_FLAG_INHERIT, 0) != FALSE;
}

}  // namespace

std::string OrbiskOrigin() { return std::string("chrome-extension://") + kChromiumExtensionId + "/"; }

HostConnection::HostConnection(const std::string& hostPath, const std::string& arguments, DWORD jobLimits) {
  const auto fail = [this](const char* step) {
    failure_ = std::string(step) + " failed, error " + std::to_string(GetLastError());
  };
  UniqueFile childInput, childOutput, output;
  if (!MakePipe(&childInput, &input_, true) || !MakePipe(&output, &childOutput, false)) {
    fail("CreatePipe");
    return;
  }
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  UniqueFile nul(CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                             OPEN_EXISTING, 0, nullptr));
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = childInput.get();
  startup.hStdOutput = childOutput.get();
  startup.hStdError = nul.get();
  UniqueProcessInformation info;
  std::string commandLine = "\"" + hostPath + "\" " + arguments;
  job_.reset(CreateJobObjectA(nullptr, nullptr));
  if (!job_) {
    fail("CreateJobObject");
    return;
  }
  if (jobLimits != 0) {
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = jobLimits;
    if (!SetInformationJobObject(job_.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
      fail("SetInformationJobObject");
      return;
    }
  }
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr, nullptr,
                      &startup, info.put())) {
    fail("CreateProcess");
    return;
  }
  AssignProcessToJobObject(job_.get(), info.process());
  ResumeThread(info.thread());
  process_.reset(info.releaseProcess());

  // The reader owns its pipe end and the inbox it shares with us.
  reader_ = std::thread([inbox = inbox_, pipe = std::make_shared<UniqueFile>(std::move(output))] {
    const ReadSome read = [&pipe](char* buffer, std::size_t size) -> std::size_t {
      DWORD got = 0;
      if (!ReadFile(pipe->get(), buffer, static_cast<DWORD>(size), &got, nullptr)) return 0;
      return got;
    };
    for (;;) {
      Frame frame = ReadFrame(read);
      std::lock_guard<std::mutex> guard(inbox->lock);
      if (frame.kind != FrameKind::Message) {
        inbox->ended = true;
        inbox->arrived.notify_all();
        return;
      }
      inbox->messages.push_back(std::move(frame.body));
      inbox->arrived.notify_all();
    }
  });
}

HostConnection::~HostConnection() {
  CloseInput();
  if (process_ && !WaitForExit(15000)) TerminateProcess(process_.get(), 1);
  if (reader_.joinable()) {
    // The output ends with the host; a program that kept it open would hold
    // the reader, which then goes on by itself.
    std::unique_lock<std::mutex> guard(inbox_->lock);
    if (inbox_->arrived.wait_for(guard, std::chrono::seconds(5), [this] { return inbox_->ended; })) {
      guard.unlock();
      reader_.join();
    } else {
      guard.unlock();
      reader_.detach();
    }
  }
}

bool HostConnection::SendRaw(const std::string& bytes) {
  DWORD wrote = 0;
  return input_ && WriteFile(input_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr) &&
         wrote == bytes.size();
}

bool HostConnection::Send(const std::string& body) { return SendRaw(EncodeFrame(body)); }

void HostConnection::CloseInput() { input_.reset(); }

std::optional<nlohmann::json> HostConnection::Receive(DWORD timeoutMs) {
  std::unique_lock<std::mutex> guard(inbox_->lock);
  inbox_->arrived.wait_for(guard, std::chrono::milliseconds(timeoutMs),
                           [this] { return !inbox_->messages.empty() || inbox_->ended; });
  if (inbox_->messages.empty()) return std::nullopt;
  const std::string body = std::move(inbox_->messages.front());
  inbox_->messages.pop_front();
  nlohmann::json message = nlohmann::json::parse(body, nullptr, false);
  if (message.is_discarded()) return nlohmann::json{{"unparsable", body}};
  return message;
}

std::optional<nlohmann::json> HostConnection::Ask(const nlohmann::json& request, DWORD timeoutMs) {
  if (!Send(request.dump())) return std::nullopt;
  return Receive(timeoutMs);
}

bool HostConnection::WaitForExit(DWORD timeoutMs, DWORD* exitCode) {
  if (!process_ || WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0) return false;
  if (exitCode) GetExitCodeProcess(process_.get(), exitCode);
  return true;
}

DWORD HostConnection::ProcessesInJob() const {
  JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting = {};
  if (!job_ || !QueryInformationJobObject(job_.get(), JobObjectBasicAccountingInformation, &accounting,
                                          sizeof accounting, nullptr)) {
    return 0;
  }
  return accounting.TotalProcesses;
}
