#include "tests/harness/http_server.h"

#include <ws2tcpip.h>

namespace {

struct WinsockStartup {
  WinsockStartup() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
  }
};

void EnsureWinsock() { static WinsockStartup startup; }

SOCKET BoundLoopbackSocket(unsigned short* port) {
  EnsureWinsock();
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return s;
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;  // any free port
  int length = sizeof address;
  if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    closesocket(s);
    return INVALID_SOCKET;
  }
  *port = ntohs(address.sin_port);
  return s;
}

}  // namespace

LocalHttpServer::LocalHttpServer() {
  unsigned short port = 0;
  listener_ = BoundLoopbackSocket(&port);
  if (listener_ == INVALID_SOCKET || listen(listener_, 8) != 0) return;
  port_ = port;
  thread_ = std::thread([this] { Serve(); });
}

LocalHttpServer::~LocalHttpServer() {
  stopping_ = true;
  if (listener_ != INVALID_SOCKET) closesocket(listener_);
  if (thread_.joinable()) thread_.join();
}

std::string LocalHttpServer::BaseUrl() const { return "http://127.0.0.1:" + std::to_string(port_); }

std::vector<std::string> LocalHttpServer::Requests() {
  std::lock_guard<std::mutex> guard(lock_);
  return requests_;
}

void LocalHttpServer::Serve() {
  while (!stopping_) {
    SOCKET client = accept(listener_, nullptr, nullptr);
    if (client == INVALID_SOCKET) continue;
    Answer(client);
    closesocket(client);
  }
}

void LocalHttpServer::Answer(SOCKET client) {
  std::string request;
  char chunk[4096];
  while (request.find("\r\n\r\n") == std::string::npos) {
    const int got = recv(client, chunk, sizeof chunk, 0);
    if (got <= 0) return;
    request.append(chunk, got);
  }
  // "GET <path> HTTP/1.1"
  const auto first = request.find(' ');
  const auto second = request.find(' ', first + 1);
  const std::string path = request.substr(first + 1, second - first - 1);
  {
    std::lock_guard<std::mutex> guard(lock_);
    requests_.push_back(path);
  }
  const std::string response = ResponseFor(path);
  send(client, response.data(), static_cast<int>(response.size()), 0);
  shutdown(client, SD_SEND);
  // Let the client read everything before the socket goes.
  while (recv(client, chunk, sizeof chunk, 0) > 0) {
  }
}

std::string LocalHttpServer::ResponseFor(const std::string& path) {
  // "/status/<code>/..." answers with that code and a small error page,
  // "/redirect/<rest>" sends the client on to "/<rest>".
  std::string status = "200 OK";
  std::string extra;
  std::string body = BodyFor(path);
  const std::string statusPrefix = "/status/", redirectPrefix = "/redirect/";
  if (path.compare(0, statusPrefix.size(), statusPrefix) == 0) {
    const std::string code = path.substr(statusPrefix.size(), 3);
    status = code + " Status " + code;
    body = ErrorPageFor(code);
  } else if (path.compare(0, redirectPrefix.size(), redirectPrefix) == 0) {
    status = "302 Found";
    extra = "Location: /" + path.substr(redirectPrefix.size()) + "\r\n";
    body = ErrorPageFor("302");
  }
  return "HTTP/1.1 " + status +
         "\r\nContent-Type: application/octet-stream\r\nContent-Length: " + std::to_string(body.size()) +
         "\r\n" + extra + "Cache-Control: no-store\r\nConnection: close\r\n\r\n" + body;
}

RefusingPort::RefusingPort() { socket_ = BoundLoopbackSocket(&port_); }

RefusingPort::~RefusingPort() {
  if (socket_ != INVALID_SOCKET) closesocket(socket_);
}

std::string RefusingPort::BaseUrl() const { return "http://127.0.0.1:" + std::to_string(port_); }
