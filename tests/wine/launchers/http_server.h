// A tiny HTTP server on 127.0.0.1 for the download tests: every GET is
// answered with 200 and the body "payload of " followed by the request path.
#pragma once

#include <winsock2.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class LocalHttpServer {
 public:
  LocalHttpServer();
  ~LocalHttpServer();
  LocalHttpServer(const LocalHttpServer&) = delete;
  LocalHttpServer& operator=(const LocalHttpServer&) = delete;

  bool running() const { return port_ != 0; }
  // "http://127.0.0.1:<port>"
  std::string BaseUrl() const;
  // Request paths served so far, in order.
  std::vector<std::string> Requests();

  static std::string BodyFor(const std::string& path) { return "payload of " + path; }

 private:
  void Serve();
  void Answer(SOCKET client);

  SOCKET listener_ = INVALID_SOCKET;
  unsigned short port_ = 0;
  std::atomic<bool> stopping_{false};
  std::thread thread_;
  std::mutex lock_;
  std::vector<std::string> requests_;
};

// A URL on 127.0.0.1 where nothing listens, for failed downloads.
std::string UnreachableBaseUrl();
