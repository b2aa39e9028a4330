#include "site/sample_site.h"

#include <httplib.h>
#include <openssl/ssl.h>
#include <sys/socket.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <random>
#include <string_view>
#include <thread>

#include "site/catalogue_answers.h"
#include "site/connection_sockets.h"
#include "site/form_body.h"
#include "site/home_page.h"
#include "site/image_content.h"
#include "site/tls/self_signed_certificate.h"

namespace zendra::site {
namespace {

constexpr const char* kJson = "application/json; charset=utf-8";
constexpr const char* kHtml = "text/html; charset=utf-8";
// Enough workers for a browser, a benchmark client and a few stalled connections at once.
constexpr std::size_t kWorkers = 16;
constexpr std::size_t kMaxRequestBody = 1 << 20;

bool EqualsIgnoringCase(std::string_view a, std::string_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

std::string_view Trim(std::string_view text) noexcept {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// True when one of the Cookie headers carries a non-empty `zd_visit`: the mark of a
// client that took the cookies of the redirect page.
bool HasVisitCookie(const httplib::Request& request) {
  const auto count = request.get_header_value_count("Cookie");
  for (std::size_t i = 0; i < count; ++i) {
    const std::string header = request.get_header_value("Cookie", i);
    std::string_view items = header;
    while (!items.empty()) {
      const auto end = items.find(';');
      const auto item = Trim(items.substr(0, end));
      if (item.size() > 9 && item.substr(0, 9) == "zd_visit=") return true;
      if (end == std::string_view::npos) break;
      items.remove_prefix(end + 1);
    }
  }
  return false;
}

std::string ScriptAnswer() {
  return "{\"result\":(function(){return {\"FileName\":\"injected.exe\"};})()}";
}

void DropConnectionOf(const httplib::Request& request) noexcept {
  if (request.ssl) DropConnection(SSL_get_fd(request.ssl));
}

// The image's bytes, made while they are sent; ranges (a resumed download) are the
// library's work.
void ServeImage(const CatalogueFile& file, httplib::Response& response) {
  response.set_header("Content-Disposition", "attachment; filename=\"" + file.fileName + "\"");
  response.set_content_provider(
      static_cast<std::size_t>(file.size), "application/octet-stream",
      [name = file.fileName, size = file.size](std::size_t offset, std::size_t length,
                                               httplib::DataSink& sink) {
        static constexpr std::size_t kChunk = 1 << 16;
        unsigned char chunk[kChunk];
        const std::size_t take = std::min(length, kChunk);
        ImageBytes(name, size, static_cast<std::int64_t>(offset), take, chunk);
        return sink.write(reinterpret_cast<const char*>(chunk), take);
      });
}

}  // namespace

std::string LoggedRequest::Header(const std::string& name) const {
  for (const auto& [key, value] : headers) {
    if (EqualsIgnoringCase(key, name)) return value;
  }
  return {};
}

struct SampleSite::State {
  explicit State(Catalogue content)
      : catalogue(std::move(content)),
        homePage(HomePage(catalogue)),
        random(std::random_device{}()) {}

  void Handle(const httplib::Request& request, httplib::Response& response);
  void Answer(const httplib::Request& request, httplib::Response& response, DetailsFault fault);
  // Sends the reply's body a byte at a time; stops when the site stops.
  void Trickle(httplib::Response& response, Reply reply);
  std::string RandomToken();
  std::string BaseUrl() const { return "https://127.0.0.1:" + std::to_string(port.load()) + "/"; }

  const Catalogue catalogue;
  const std::string homePage;
  SelfSignedCertificate certificate;

  mutable std::mutex mutex;
  std::condition_variable wake;  // releases latency waits and stalls when the site stops
  bool stopping = false;
  std::chrono::milliseconds latency{0};
  int faultAt = 0;
  DetailsFault fault = DetailsFault::None;
  int detailsSeen = 0;
  bool silent = false;
  bool stall = false;
  Responder responder;
  std::vector<LoggedRequest> log;
  std::mt19937_64 random;

  std::unique_ptr<httplib::SSLServer> server;
  std::thread listener;
  std::atomic<bool> listenerDone{false};
  std::atomic<int> port{0};
};

std::string SampleSite::State::RandomToken() {
  std::lock_guard lock(mutex);
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string token;
  for (int i = 0; i < 24; ++i) token += kDigits[random() & 15];
  return token;
}

void SampleSite::State::Handle(const httplib::Request& request, httplib::Response& response) {
  LoggedRequest logged{request.method, request.path, request.body, {}, request.remote_port,
                       std::chrono::steady_clock::now()};
  for (const auto& header : request.headers) logged.headers.push_back(header);

  Responder ask;
  DetailsFault answerFault = DetailsFault::None;
  bool drop = false;
  {
    std::unique_lock lock(mutex);
    log.push_back(logged);
    ask = responder;
    if (request.method == "POST" && request.path == "/Category/GetProduct" &&
        ++detailsSeen == faultAt) {
      answerFault = fault;
    }
    if (latency.count() > 0) wake.wait_for(lock, latency, [&] { return stopping; });
    // A stalled request is never answered, even when the stall is lifted meanwhile.
    const bool stalled = stall;
    if (stalled) wake.wait(lock, [&] { return stopping || !stall; });
    drop = stopping || silent || stalled;
  }
  if (drop) {
    DropConnectionOf(request);
    return;
  }
  if (ask) {
    if (auto reply = ask(logged)) {
      if (reply->dropConnection) {
        DropConnectionOf(request);
        return;
      }
      response.status = reply->status;
      for (const auto& [name, value] : reply->headers) response.set_header(name, value);
      if (reply->trickle.count() > 0) {
        Trickle(response, std::move(*reply));
      } else if (reply->contentType.empty()) {
        response.body = std::move(reply->body);
      } else {
        response.set_content(std::move(reply->body), reply->contentType.c_str());
      }
      return;
    }
  }
  Answer(request, response, answerFault);
}

void SampleSite::State::Trickle(httplib::Response& response, Reply reply) {
  auto body = std::make_shared<std::string>(std::move(reply.body));
  const auto pause = reply.trickle;
  response.set_content_provider(
      body->size(), reply.contentType.empty() ? "text/plain" : reply.contentType.c_str(),
      [this, body, pause](std::size_t offset, std::size_t, httplib::DataSink& sink) {
        {
          std::unique_lock lock(mutex);
          if (wake.wait_for(lock, pause, [&] { return stopping; })) return false;
        }
        return sink.write(body->data() + offset, 1);
      });
}

void SampleSite::State::Answer(const httplib::Request& request, httplib::Response& response,
                               DetailsFault answerFault) {
  const auto& path = request.path;
  const bool get = request.method == "GET" || request.method == "HEAD";
  if (get && path == "/") {
    if (HasVisitCookie(request)) {
      response.set_header("Set-Cookie", "zd_session=" + RandomToken() + "; path=/; HttpOnly");
      response.set_header("Set-Cookie",
                          "zd_probe=deleted; path=/; expires=Thu, 01 Jan 1970 00:00:00 GMT");
      response.set_content(homePage, kHtml);
    } else {
      response.status = 302;
      response.set_header("Location", "/");
      response.set_header("Set-Cookie", "zd_visit=" + RandomToken() + "; path=/");
      response.set_header("Set-Cookie", "zd_probe=1; path=/");
      response.set_content(RedirectPage(), kHtml);
    }
    return;
  }
  if (get && path.rfind("/download/", 0) == 0) {
    const auto* file = catalogue.FindFileByName(std::string_view(path).substr(10));
    if (file && IsServedSize(file->size)) {
      ServeImage(*file, response);
      return;
    }
    if (!file) response.status = 404;
    response.set_content(DownloadPage(file), kHtml);
    return;
  }
  if (get && path.rfind("/sponsor/", 0) == 0) {
    response.set_content(SponsorPage(path.substr(9)), kHtml);
    return;
  }
  if (request.method == "POST") {
    const auto id = FormValue(request.body, "id");
    if (path == "/Category/Index") {
      response.set_content(ProductsAnswer(catalogue.FindCategory(id)), kJson);
      return;
    }
    if (path == "/Category/GetLang") {
      response.set_content(LanguagesAnswer(catalogue.FindProduct(id)), kJson);
      return;
    }
    if (path == "/Category/GetList") {
      const auto* product = catalogue.FindProduct(id);
      const auto* language =
          product ? catalogue.FindLanguage(*product, FormValue(request.body, "lang")) : nullptr;
      response.set_content(FilesAnswer(language), kJson);
      return;
    }
    if (path == "/Category/GetProduct") {
      switch (answerFault) {
        case DetailsFault::Fail:
          response.status = 500;
          return;
        case DetailsFault::Script:
          response.set_content(ScriptAnswer(), kJson);
          return;
        case DetailsFault::Truncate: {
          auto answer = DetailsAnswer(catalogue.FindFile(id), BaseUrl());
          answer.resize(answer.size() / 2);
          response.set_content(answer, kJson);
          return;
        }
        case DetailsFault::None:
          response.set_content(DetailsAnswer(catalogue.FindFile(id), BaseUrl()), kJson);
          return;
      }
    }
  }
  response.status = 404;
  response.set_content(DownloadPage(nullptr), kHtml);
}

SampleSite::SampleSite(Catalogue catalogue)
    : state_(std::make_unique<State>(std::move(catalogue))) {}

SampleSite::~SampleSite() { Stop(); }

bool SampleSite::Start(int port) {
  if (IsRunning()) return true;
  IgnoreBrokenPipes();
  if (!state_->certificate.IsValid()) return false;
  auto server = std::make_unique<httplib::SSLServer>(state_->certificate.Certificate(),
                                                     state_->certificate.Key());
  if (!server->is_valid()) return false;

  // Let the browser resume TLS sessions across its connections.
  SSL_CTX* context = server->ssl_context();
  static constexpr unsigned char kSessionContext[] = "zendra-site";
  SSL_CTX_set_session_cache_mode(context, SSL_SESS_CACHE_SERVER);
  SSL_CTX_set_session_id_context(context, kSessionContext, sizeof kSessionContext - 1);
  SSL_CTX_clear_options(context, SSL_OP_NO_TICKET);

  // The library's default adds SO_REUSEPORT, which would let a second site bind the
  // same port silently; address reuse alone is what a restart needs.
  server->set_socket_options([](socket_t socket) {
    int yes = 1;
    setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  });
  server->new_task_queue = [] { return new httplib::ThreadPool(kWorkers); };
  // Headers and body leave in separate writes; without this each answer waits for a
  // delayed acknowledgement.
  server->set_tcp_nodelay(true);
  server->set_keep_alive_max_count(1'000'000);
  // A busy machine can starve a reader for seconds; the library's 5 s would cut a large
  // answer short. Stop() cuts every connection anyway.
  server->set_read_timeout(300, 0);
  server->set_write_timeout(300, 0);
  server->set_payload_max_length(kMaxRequestBody);
  const auto handler = [state = state_.get()](const httplib::Request& request,
                                              httplib::Response& response) {
    state->Handle(request, response);
  };
  server->Get(".*", handler);
  server->Post(".*", handler);
  server->Put(".*", handler);
  server->Delete(".*", handler);
  server->Options(".*", handler);
  server->Patch(".*", handler);

  int bound = port;
  if (port == 0) {
    bound = server->bind_to_any_port("127.0.0.1");
  } else if (!server->bind_to_port("127.0.0.1", port)) {
    bound = -1;
  }
  if (bound <= 0) return false;

  {
    std::lock_guard lock(state_->mutex);
    state_->stopping = false;
  }
  state_->port = bound;
  state_->listenerDone = false;
  auto* listening = server.get();
  state_->listener = std::thread([this, listening] {
    listening->listen_after_bind();
    state_->listenerDone = true;
  });
  // The library ignores stop() until its accept loop runs: wait for it, so that a Stop()
  // right after Start() cannot leave the loop running.
  while (!listening->is_running() && !state_->listenerDone) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  state_->server = std::move(server);
  if (state_->listenerDone) {
    Stop();
    return false;
  }
  return true;
}

void SampleSite::Stop() {
  if (!state_->server) return;
  {
    std::lock_guard lock(state_->mutex);
    state_->stopping = true;
  }
  state_->wake.notify_all();
  state_->server->stop();
  // Workers wait on idle kept-alive connections; cut those until the accept loop has
  // shut its pool down.
  while (!state_->listenerDone) {
    DropConnectionsOnPort(state_->port);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  state_->listener.join();
  state_->server.reset();
  state_->port = 0;
}

bool SampleSite::IsRunning() const { return state_->server != nullptr; }

int SampleSite::Port() const { return state_->port; }

std::string SampleSite::BaseUrl() const { return state_->BaseUrl(); }

const Catalogue& SampleSite::Content() const { return state_->catalogue; }

void SampleSite::SetLatency(std::chrono::milliseconds perRequest) {
  std::lock_guard lock(state_->mutex);
  state_->latency = perRequest;
}

void SampleSite::FailDetails(int n, DetailsFault fault) {
  std::lock_guard lock(state_->mutex);
  state_->detailsSeen = 0;
  state_->faultAt = fault == DetailsFault::None ? 0 : n;
  state_->fault = fault;
}

void SampleSite::SetSilent(bool silent) {
  std::lock_guard lock(state_->mutex);
  state_->silent = silent;
}

void SampleSite::SetStall(bool stall) {
  {
    std::lock_guard lock(state_->mutex);
    state_->stall = stall;
  }
  state_->wake.notify_all();
}

void SampleSite::SetResponder(Responder responder) {
  std::lock_guard lock(state_->mutex);
  state_->responder = std::move(responder);
}

std::vector<LoggedRequest> SampleSite::Log() const {
  std::lock_guard lock(state_->mutex);
  return state_->log;
}

std::size_t SampleSite::LogSize() const {
  std::lock_guard lock(state_->mutex);
  return state_->log.size();
}

void SampleSite::ClearLog() {
  std::lock_guard lock(state_->mutex);
  state_->log.clear();
}

}  // namespace zendra::site
