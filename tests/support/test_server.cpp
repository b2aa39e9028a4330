#include "tests/support/test_server.h"

#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdlib>

namespace zendra::testing {
namespace {

bool SameName(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

// Splits a client's byte stream into request heads, skipping bodies by Content-Length.
void AppendHeads(const std::string& stream, std::vector<std::string>& heads) {
  std::size_t at = 0;
  while (at < stream.size()) {
    const std::size_t end = stream.find("\r\n\r\n", at);
    if (end == std::string::npos) break;
    std::string head = stream.substr(at, end - at);
    std::size_t length = 0;
    std::size_t lineStart = 0;
    while (lineStart < head.size()) {
      std::size_t lineEnd = head.find("\r\n", lineStart);
      if (lineEnd == std::string::npos) lineEnd = head.size();
      const std::string_view line(head.data() + lineStart, lineEnd - lineStart);
      if (line.size() > 15 && SameName(line.substr(0, 15), "content-length:"))
        length = std::strtoul(std::string(line.substr(15)).c_str(), nullptr, 10);
      lineStart = lineEnd + 2;
    }
    heads.push_back(std::move(head));
    at = end + 4 + length;
  }
}

}  // namespace

std::string RecordedRequest::Header(std::string_view name) const {
  for (const auto& [key, value] : headers)
    if (SameName(key, name)) return value;
  return {};
}

std::size_t RecordedRequest::HeaderCount(std::string_view name) const {
  return static_cast<std::size_t>(
      std::count_if(headers.begin(), headers.end(),
                    [&](const auto& header) { return SameName(header.first, name); }));
}

TestServer::TestServer(Scheme scheme) : scheme_(scheme) {
  if (scheme == Scheme::Https) {
    if (!certificate_.IsValid()) return;
    server_ = std::make_unique<httplib::SSLServer>(certificate_.Certificate(), certificate_.Key());
  } else {
    server_ = std::make_unique<httplib::Server>();
  }
  if (!server_->is_valid()) return;
  // Long runs of requests on one connection (the benchmark sends hundreds).
  server_->set_keep_alive_max_count(100000);
  // A busy machine can starve a reader for seconds; the library's 5 s would cut a large
  // answer short.
  server_->set_read_timeout(300, 0);
  server_->set_write_timeout(300, 0);
  // Headers and body go out in separate writes; without this, Nagle's algorithm and the
  // peer's delayed acknowledgement add some 40 ms to every answer.
  server_->set_tcp_nodelay(true);

  const auto handler = [this](const httplib::Request& request, httplib::Response& response) {
    RecordedRequest recorded{request.method, request.path, {}, request.body};
    for (const auto& header : request.headers) recorded.headers.push_back(header);
    {
      std::lock_guard lock(mutex_);
      requests_.push_back(std::move(recorded));
    }
    const Reply reply = ReplyFor(request.path);
    if (reply.delay.count() > 0 && WaitUntilStopping(reply.delay)) return;
    const auto stallLength = reply.stallFor.count() > 0
                                 ? reply.stallFor
                                 : std::chrono::milliseconds(std::chrono::hours(1));
    if (reply.stall == Reply::Stall::BeforeHeaders && WaitUntilStopping(stallLength)) return;
    response.status = reply.status;
    for (const auto& [name, value] : reply.headers) response.headers.emplace(name, value);
    if (reply.stall == Reply::Stall::AfterHeaders) {
      response.set_chunked_content_provider(
          "text/plain", [this, stallLength](std::size_t offset, httplib::DataSink& sink) {
            if (offset == 0) return sink.write("first piece", 11);
            if (WaitUntilStopping(stallLength)) return false;
            sink.done();
            return true;
          });
    } else if (reply.generatedChunkedBytes > 0) {
      const std::size_t total = reply.generatedChunkedBytes;
      response.set_chunked_content_provider(
          "application/octet-stream", [total](std::size_t offset, httplib::DataSink& sink) {
            static const std::string block(256 * 1024, 'x');
            if (offset >= total) {
              sink.done();
              return true;
            }
            return sink.write(block.data(), std::min(block.size(), total - offset));
          });
    } else {
      const auto type = std::find_if(reply.headers.begin(), reply.headers.end(), [](const auto& h) {
        return SameName(h.first, "Content-Type");
      });
      response.set_content(reply.body,
                           type == reply.headers.end() ? "text/plain" : type->second.c_str());
    }
  };
  server_->Get(".*", handler);
  server_->Post(".*", handler);
  server_->Put(".*", handler);
  server_->Delete(".*", handler);
  server_->Options(".*", handler);
  server_->Patch(".*", handler);

  const int backendPort = server_->bind_to_any_port("127.0.0.1");
  if (backendPort <= 0) return;
  relay_ = std::make_unique<RecordingRelay>(backendPort);
  auto listenerDone = std::make_shared<std::atomic<bool>>(false);
  thread_ = std::thread([this, listenerDone] {
    server_->listen_after_bind();
    *listenerDone = true;
  });
  // Until the accept loop runs, stop() is ignored; a loop that failed to start ends the wait too.
  while (!server_->is_running() && !*listenerDone)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

TestServer::~TestServer() { Stop(); }

bool TestServer::IsRunning() const noexcept {
  return server_ && server_->is_running() && relay_ && relay_->IsListening();
}

std::string TestServer::Url(std::string_view path) const {
  return std::string(scheme_ == Scheme::Https ? "https" : "http") +
         "://127.0.0.1:" + std::to_string(Port()) + std::string(path);
}

void TestServer::Answer(const std::string& path, Reply reply) {
  std::lock_guard lock(mutex_);
  replies_[path] = std::move(reply);
}

std::vector<RecordedRequest> TestServer::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

std::vector<std::string> TestServer::RawRequests() const {
  std::vector<std::string> heads;
  if (relay_)
    for (const auto& stream : relay_->ClientStreams()) AppendHeads(stream, heads);
  return heads;
}

void TestServer::Stop() noexcept {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  stopped_.notify_all();
  // The relay goes first: closing its connections ends the server's keep-alive waits.
  if (relay_) relay_->Stop();
  if (server_) server_->stop();
  if (thread_.joinable()) thread_.join();
}

Reply TestServer::ReplyFor(const std::string& path) const {
  std::lock_guard lock(mutex_);
  const auto found = replies_.find(path);
  if (found != replies_.end()) return found->second;
  Reply missing;
  missing.status = 404;
  missing.body = "not found";
  return missing;
}

bool TestServer::WaitUntilStopping(std::chrono::milliseconds limit) const {
  std::unique_lock lock(mutex_);
  return stopped_.wait_for(lock, limit, [this] { return stopping_; });
}

}  // namespace zendra::testing
