// A tiny HTTP server on 127.0.0.1 for the download tests: a GET is answered
// with 200 and the body "payload of " followed by the request path, except
// "/status/<code>/..." (that status code and ErrorPageFor(code)) and
// "/redirect/<rest>" (302 to "/<rest>").
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
  static std::string ErrorPageFor(const std::string& code) {
    return "<html><body>error " + code + "</body></html>";
  }

 private:
  void Serve();
  void Answer(SOCKET client);
  static std::string ResponseFor(const std::string& path);

  SOCKET listener_ = INVALID_SOCKET;
  unsigned short port_ = 0;
  std::atomic<bool> stopping_{false};
  std::thread thread_;
  std::mutex lock_;
  std::vector<std::string> requests_;
};

// A port on 127.0.0.1 that refuses every connection for as long as the
// object lives: it is bound, so nothing else can take it, but never listens.
class RefusingPort {
 public:
  RefusingPort();
  ~RefusingPort();
  RefusingPort(const RefusingPort&) = delete;
  RefusingPort& operator=(const RefusingPort&) = delete;

  bool bound() const { return socket_ != INVALID_SOCKET; }
  // "http://127.0.0.1:<port>"
  std::string BaseUrl() const;

 private:
  SOCKET socket_ = INVALID_SOCKET;
  unsigned short port_ = 0;
};
