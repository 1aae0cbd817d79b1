#include "tests/harness/child_process.h"

ChildProcess::ChildProcess(const std::string& commandLine, const std::string& workingDir)
    : job_(CreateJobObjectA(nullptr, nullptr)),
      port_(CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1)) {
  if (!job_ || !port_) return;
  JOBOBJECT_ASSOCIATE_COMPLETION_PORT association = {};
  association.CompletionKey = job_.get();
  association.CompletionPort = port_.get();
  if (!SetInformationJobObject(job_.get(), JobObjectAssociateCompletionPortInformation, &association,
                               sizeof association)) {
    return;
  }
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  UniqueProcessInformation process;
  std::string mutableLine = commandLine;
  // Suspended until it is in the job, so that nothing it starts escapes it.
  if (!CreateProcessA(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                      workingDir.empty() ? nullptr : workingDir.c_str(), &startup, process.put())) {
    return;
  }
  if (!AssignProcessToJobObject(job_.get(), process.process())) {
    TerminateProcess(process.process(), 1);
    return;
  }
  ResumeThread(process.thread());
  id_ = process.processId();
  process_.reset(process.releaseProcess());
}

bool ChildProcess::EndsWithin(DWORD timeoutMs) const {
  return process_ && WaitForSingleObject(process_.get(), timeoutMs) == WAIT_OBJECT_0;
}

ChildProcess::~ChildProcess() {
  if (job_) TerminateJobObject(job_.get(), 1);
}

int ChildProcess::Wait(DWORD timeoutMs) {
  if (!process_) return -1;
  const DWORD start = GetTickCount();
  const auto remaining = [&] {
    const DWORD spent = GetTickCount() - start;
    return spent < timeoutMs ? timeoutMs - spent : 0;
  };
  bool ended = WaitForSingleObject(process_.get(), timeoutMs) == WAIT_OBJECT_0;
  // The job reports when its last process has ended; other notices (a
  // process started, one ended) are passed over.
  while (ended) {
    DWORD message = 0;
    ULONG_PTR key = 0;
    LPOVERLAPPED detail = nullptr;
    if (!GetQueuedCompletionStatus(port_.get(), &message, &key, &detail, remaining())) {
      ended = false;
    } else if (message == JOB_OBJECT_MSG_ACTIVE_PROCESS_ZERO) {
      break;
    }
  }
  if (!ended) {
    TerminateJobObject(job_.get(), 1);
    WaitForSingleObject(process_.get(), 5000);
    return -1;
  }
  DWORD exitCode = 0;
  GetExitCodeProcess(process_.get(), &exitCode);
  return static_cast<int>(exitCode);
}
