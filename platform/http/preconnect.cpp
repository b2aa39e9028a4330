#include "platform/http/preconnect.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

#include "platform/http/curl_library.h"

namespace zendra {

struct Preconnect::State {
  enum class Phase { Resolving, Connecting, Done };

  ~State() {
    if (socket >= 0) ::close(socket);
    for (int fd : stopPipe)
      if (fd >= 0) ::close(fd);
  }

  std::mutex mutex;
  std::condition_variable changed;
  Phase phase = Phase::Resolving;
  sockaddr_storage address{};
  socklen_t addressLength = 0;
  int socket = -1;  // connected and not yet taken
  std::chrono::steady_clock::time_point connectedAt;
  int stopPipe[2] = {-1, -1};
  std::thread worker;
};

namespace {

using Clock = std::chrono::steady_clock;

// A site closes a connection that stays silent for a while; well before that it is no
// longer worth handing over.
constexpr auto kMaxAge = std::chrono::seconds(3);
constexpr int kConnectBoundMs = 15000;

std::mutex activeMutex;
std::shared_ptr<Preconnect::State> active;
// The descriptor handed to the transfer now connecting, so that it is not connected again.
thread_local curl_socket_t handedOver = CURL_SOCKET_BAD;

struct Endpoint {
  std::string host;
  std::string port;
};

bool ParseUrl(const Text& url, Endpoint& endpoint) {
  if (!EnsureCurlInitialised()) return false;
  CURLU* parsed = curl_url();
  if (parsed == nullptr) return false;
  bool ok = curl_url_set(parsed, CURLUPART_URL, url.c_str(), 0) == CURLUE_OK;
  char* scheme = nullptr;
  char* host = nullptr;
  char* port = nullptr;
  ok = ok && curl_url_get(parsed, CURLUPART_SCHEME, &scheme, 0) == CURLUE_OK &&
       curl_url_get(parsed, CURLUPART_HOST, &host, 0) == CURLUE_OK &&
       curl_url_get(parsed, CURLUPART_PORT, &port, CURLU_DEFAULT_PORT) == CURLUE_OK;
  ok = ok && (std::strcmp(scheme, "https") == 0 || std::strcmp(scheme, "http") == 0);
  if (ok) {
    endpoint.host = host;
    // An IPv6 literal comes in brackets, which the resolver does not take.
    if (endpoint.host.size() > 2 && endpoint.host.front() == '[')
      endpoint.host = endpoint.host.substr(1, endpoint.host.size() - 2);
    endpoint.port = port;
  }
  curl_free(scheme);
  curl_free(host);
  curl_free(port);
  curl_url_cleanup(parsed);
  return ok;
}

void Finish(Preconnect::State& state, int socket) {
  {
    std::lock_guard lock(state.mutex);
    state.socket = socket;
    state.connectedAt = Clock::now();
    state.phase = Preconnect::State::Phase::Done;
  }
  state.changed.notify_all();
}

void Connect(const std::shared_ptr<Preconnect::State>& state, const Endpoint& endpoint) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (::getaddrinfo(endpoint.host.c_str(), endpoint.port.c_str(), &hints, &found) != 0 ||
      found == nullptr) {
    Finish(*state, -1);
    return;
  }
  // libcurl tries the first address first: that is the one it will ask for.
  const int fd =
      ::socket(found->ai_family, found->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, found->ai_protocol);
  {
    std::lock_guard lock(state->mutex);
    std::memcpy(&state->address, found->ai_addr, found->ai_addrlen);
    state->addressLength = found->ai_addrlen;
    state->phase = Preconnect::State::Phase::Connecting;
  }
  bool connected = false;
  if (fd >= 0) {
    connected = ::connect(fd, found->ai_addr, found->ai_addrlen) == 0;
    if (!connected && errno == EINPROGRESS) {
      pollfd fds[2] = {{fd, POLLOUT, 0}, {state->stopPipe[0], POLLIN, 0}};
      if (::poll(fds, 2, kConnectBoundMs) > 0 && fds[1].revents == 0 && fds[0].revents != 0) {
        int error = 0;
        socklen_t length = sizeof error;
        connected = ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
      }
    }
  }
  ::freeaddrinfo(found);
  if (!connected && fd >= 0) ::close(fd);
  Finish(*state, connected ? fd : -1);
}

// Still usable: the site has neither closed it nor sent anything (it never speaks first).
bool Fresh(int fd, Clock::time_point connectedAt) {
  if (Clock::now() - connectedAt > kMaxAge) return false;
  pollfd check{fd, POLLIN | POLLRDHUP, 0};
  return ::poll(&check, 1, 0) == 0;
}

bool SameAddress(const Preconnect::State& state, const curl_sockaddr& address) {
  return state.addressLength != 0 && address.addrlen == state.addressLength &&
         std::memcmp(&address.addr, &state.address, state.addressLength) == 0;
}

curl_socket_t OpenSocket(void*, curlsocktype purpose, curl_sockaddr* address) {
  handedOver = CURL_SOCKET_BAD;
  std::shared_ptr<Preconnect::State> state;
  {
    std::lock_guard lock(activeMutex);
    state = active;
  }
  if (state && purpose == CURLSOCKTYPE_IPCXN) {
    std::unique_lock lock(state->mutex);
    if (SameAddress(*state, *address)) {
      state->changed.wait(lock, [&] { return state->phase == Preconnect::State::Phase::Done; });
      const int fd = std::exchange(state->socket, -1);
      if (fd >= 0 && Fresh(fd, state->connectedAt)) {
        handedOver = fd;
        return fd;
      }
      if (fd >= 0) ::close(fd);
    }
  }
  return ::socket(address->family, address->socktype | SOCK_CLOEXEC, address->protocol);
}

int SocketOptions(void*, curl_socket_t fd, curlsocktype) {
  return fd == handedOver ? CURL_SOCKOPT_ALREADY_CONNECTED : CURL_SOCKOPT_OK;
}

}  // namespace

Preconnect::Preconnect(const Text& url) : state_(std::make_shared<State>()) {
  Endpoint endpoint;
  if (!ParseUrl(url, endpoint) || ::pipe2(state_->stopPipe, O_CLOEXEC) != 0) return;
  try {
    state_->worker = std::thread([state = state_, endpoint] { Connect(state, endpoint); });
  } catch (...) {
    return;
  }
  std::lock_guard lock(activeMutex);
  active = state_;
}

Preconnect::~Preconnect() {
  {
    std::lock_guard lock(activeMutex);
    if (active == state_) active.reset();
  }
  if (!state_->worker.joinable()) return;
  const char stop = 0;
  [[maybe_unused]] const ssize_t written = ::write(state_->stopPipe[1], &stop, 1);
  bool resolving = false;
  {
    std::lock_guard lock(state_->mutex);
    resolving = state_->phase == State::Phase::Resolving;
  }
  // A name lookup cannot be interrupted: the thread then finishes on its own, holding
  // its own share of the state.
  if (resolving) {
    state_->worker.detach();
  } else {
    state_->worker.join();
  }
}

void OfferPreconnected(CURL* easy) noexcept {
  {
    std::lock_guard lock(activeMutex);
    if (!active) return;
  }
  curl_easy_setopt(easy, CURLOPT_OPENSOCKETFUNCTION, &OpenSocket);
  curl_easy_setopt(easy, CURLOPT_SOCKOPTFUNCTION, &SocketOptions);
}

}  // namespace zendra
