// bench_user_wait: what the user waits for, measured from outside the real program.
//
// Starts `zendra` (and, for comparison, more builds of it) on the X display of $DISPLAY
// against the sample site, reached through a relay that gives every connection a network's
// round trip. For each round trip and file count it reports, as medians over the runs:
// process start to window mapped, to the first request, to start-up done (the wait cursor
// cleared), and a product pick until its file list is shown (wait cursor cleared again);
// with the floors of one connection and the ratios. A blank Qt window of the same size is
// started in the same runs: its time to map is the window-ready baseline.
//
// The programs must be built with the catalogue address https://127.0.0.1:PORT/ where PORT
// is --port (default: this build's own address). scripts/bench_user_wait sets up a display
// with a window manager and runs this.
//
// Options: --program PATH (repeatable; default bin/zendra beside this), --blank PATH,
// --port N, --runs N (5), --rtt-ms 0,20,50, --files 10,50, --no-pick.
// The site's header first: Xlib defines macros (None, Status) that its names would meet.
#include "bench/support/delay_proxy.h"
#include "site/sample_site.h"
// clang-format off
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xfixes.h>
#include <X11/keysym.h>
// clang-format on
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

struct Options {
  std::vector<std::string> programs;
  std::string blank;
  int port = 0;
  int runs = 5;
  std::vector<int> rtts{0, 20, 50};
  std::vector<int> files{10, 50};
  bool pick = true;
};

std::vector<int> NumberList(const char* text) {
  std::vector<int> numbers;
  std::stringstream stream(text);
  std::string item;
  while (std::getline(stream, item, ',')) numbers.push_back(std::atoi(item.c_str()));
  return numbers;
}

int PortOf(const std::string& url) {
  const auto colon = url.rfind(':');
  return colon == std::string::npos ? 0 : std::atoi(url.c_str() + colon + 1);
}

// --- the X side: map notifications, cursor changes and synthetic input ---

class Desktop {
 public:
  bool Open() {
    display_ = XOpenDisplay(nullptr);
    if (display_ == nullptr) return false;
    root_ = DefaultRootWindow(display_);
    int error = 0;
    if (!XFixesQueryExtension(display_, &fixesEvent_, &error)) return false;
    XSelectInput(display_, root_, SubstructureNotifyMask);
    XFixesSelectCursorInput(display_, root_, XFixesDisplayCursorNotifyMask);
    wmState_ = XInternAtom(display_, "WM_STATE", False);
    XSync(display_, False);
    return true;
  }
  ~Desktop() {
    if (display_ != nullptr) XCloseDisplay(display_);
  }

  struct Event {
    enum Kind { Nothing, Mapped, PopupMapped, Cursor } kind = Nothing;
    Window window = 0;
  };

  void Drain() {
    XSync(display_, False);
    while (XPending(display_) > 0) {
      XEvent event;
      XNextEvent(display_, &event);
    }
  }

  // The next event of interest, or Nothing once `until` has passed.
  Event Next(Clock::time_point until) {
    for (;;) {
      while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        if (event.type == MapNotify && event.xmap.event == root_) {
          return {event.xmap.override_redirect ? Event::PopupMapped : Event::Mapped,
                  event.xmap.window};
        }
        if (event.type == fixesEvent_ + XFixesCursorNotify) return {Event::Cursor, 0};
      }
      const auto left = std::chrono::ceil<milliseconds>(until - Clock::now()).count();
      if (left <= 0) return {};
      pollfd fd{ConnectionNumber(display_), POLLIN, 0};
      ::poll(&fd, 1, static_cast<int>(std::min<long>(left, 100)));
    }
  }

  void PointerTo(int x, int y) {
    XTestFakeMotionEvent(display_, -1, x, y, CurrentTime);
    XSync(display_, False);
  }
  void Click(int x, int y) {
    PointerTo(x, y);
    XTestFakeButtonEvent(display_, 1, True, CurrentTime);
    XTestFakeButtonEvent(display_, 1, False, CurrentTime);
    XSync(display_, False);
  }
  void Key(KeySym symbol) {
    const KeyCode code = XKeysymToKeycode(display_, symbol);
    XTestFakeKeyEvent(display_, code, True, CurrentTime);
    XTestFakeKeyEvent(display_, code, False, CurrentTime);
    XSync(display_, False);
  }

  // The client area's top-left corner on the screen, below the window manager's frame.
  std::optional<std::pair<int, int>> ClientOrigin(Window frame) {
    const Window client = FindClient(frame);
    if (client == 0) return std::nullopt;
    int x = 0;
    int y = 0;
    Window child = 0;
    XTranslateCoordinates(display_, client, root_, 0, 0, &x, &y, &child);
    return std::pair{x, y};
  }

 private:
  Window FindClient(Window window) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(display_, window, wmState_, 0, 0, False, AnyPropertyType, &type, &format,
                       &count, &after, &data);
    if (data != nullptr) XFree(data);
    if (type != None) return window;
    Window rootReturn = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int childCount = 0;
    if (!XQueryTree(display_, window, &rootReturn, &parent, &children, &childCount)) return 0;
    Window found = 0;
    for (unsigned int i = 0; i < childCount && found == 0; ++i) found = FindClient(children[i]);
    if (children != nullptr) XFree(children);
    return found;
  }

  Display* display_ = nullptr;
  Window root_ = 0;
  int fixesEvent_ = 0;
  Atom wmState_ = 0;
};

// --- the measured process ---

pid_t Spawn(const std::string& path) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  char* argv[] = {const_cast<char*>(path.c_str()), nullptr};
  pid_t pid = -1;
  if (posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

void End(pid_t pid) {
  if (pid <= 0) return;
  ::kill(pid, SIGTERM);
  int status = 0;
  ::waitpid(pid, &status, 0);
}

// User plus system CPU time of the process so far.
double CpuMs(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  const auto close = text.rfind(')');
  if (close == std::string::npos) return 0;
  std::istringstream fields(text.substr(close + 2));
  std::string field;
  double ticks = 0;
  for (int i = 3; i <= 15 && fields >> field; ++i) {
    if (i == 14 || i == 15) ticks += std::atof(field.c_str());
  }
  return ticks * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double MemoryKb(pid_t pid, const char* key) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(key, 0) == 0) return std::atof(line.c_str() + std::strlen(key) + 1);
  }
  return 0;
}

int CountPath(const std::vector<zendra::site::LoggedRequest>& log, const char* path) {
  return static_cast<int>(std::count_if(log.begin(), log.end(),
                                        [&](const auto& request) { return request.path == path; }));
}

struct Run {
  double mapped = 0;
  double firstRequest = 0;
  double done = 0;
  int requests = 0;
  double pick = -1;
  int pickRequests = 0;
  double pickCpuMs = -1;
  double rssKb = 0;
};

// Waits for the wait cursor to clear once the site has seen every details query of the list.
std::optional<Clock::time_point> WaitForList(Desktop& screen, zendra::site::SampleSite& site,
                                             int files, Clock::time_point until) {
  for (;;) {
    const auto event = screen.Next(until);
    if (event.kind == Desktop::Event::Nothing) return std::nullopt;
    if (event.kind != Desktop::Event::Cursor) continue;
    const auto now = Clock::now();
    if (CountPath(site.Log(), "/Category/GetProduct") >= files) return now;
  }
}

std::optional<Run> MeasureProgram(Desktop& screen, zendra::site::SampleSite& site,
                                  const std::string& program, int files, int rttMs, bool pick) {
  site.ClearLog();
  screen.PointerTo(450, 300);  // inside the window-to-be: its cursor is the one shown
  screen.Drain();
  Run run;
  const auto start = Clock::now();
  const auto until = start + std::chrono::seconds(60);
  const pid_t pid = Spawn(program);
  if (pid <= 0) return std::nullopt;
  Window frame = 0;
  while (frame == 0) {
    const auto event = screen.Next(until);
    if (event.kind == Desktop::Event::Nothing) {
      End(pid);
      return std::nullopt;
    }
    if (event.kind == Desktop::Event::Mapped) {
      frame = event.window;
      run.mapped = Ms(Clock::now() - start);
    }
  }
  const auto done = WaitForList(screen, site, files, until);
  if (!done) {
    End(pid);
    return std::nullopt;
  }
  run.done = Ms(*done - start);
  const auto log = site.Log();
  run.requests = static_cast<int>(log.size());
  run.firstRequest = Ms(log.front().received - start) - rttMs / 2.0;

  if (pick) {
    // The catalogue page, then the product list; Return picks its current item again,
    // which loads that product's languages and the same files.
    const auto origin = screen.ClientOrigin(frame);
    if (origin) {
      screen.Click(origin->first + 120, origin->second + 12);
      std::this_thread::sleep_for(milliseconds(150));
      screen.Drain();
      screen.Click(origin->first + 387, origin->second + 40);
      bool popup = false;
      while (!popup) {
        const auto event = screen.Next(Clock::now() + std::chrono::seconds(5));
        if (event.kind == Desktop::Event::Nothing) break;
        popup = event.kind == Desktop::Event::PopupMapped;
      }
      std::this_thread::sleep_for(milliseconds(100));
      if (popup) {
        site.ClearLog();
        screen.Drain();
        const double cpuBefore = CpuMs(pid);
        const auto pickStart = Clock::now();
        screen.Key(XK_Return);
        const auto listed =
            WaitForList(screen, site, files, pickStart + std::chrono::seconds(60));
        if (listed) {
          run.pick = Ms(*listed - pickStart);
          run.pickRequests = static_cast<int>(site.LogSize());
          run.pickCpuMs = CpuMs(pid) - cpuBefore;
        }
      }
    }
  }
  std::this_thread::sleep_for(milliseconds(200));
  run.rssKb = MemoryKb(pid, "VmRSS:");
  End(pid);
  return run;
}

std::optional<double> MeasureBlank(Desktop& screen, const std::string& blank) {
  screen.Drain();
  const auto start = Clock::now();
  const pid_t pid = Spawn(blank);
  if (pid <= 0) return std::nullopt;
  std::optional<double> mapped;
  for (;;) {
    const auto event = screen.Next(start + std::chrono::seconds(30));
    if (event.kind == Desktop::Event::Nothing) break;
    if (event.kind == Desktop::Event::Mapped) {
      mapped = Ms(Clock::now() - start);
      break;
    }
  }
  End(pid);
  return mapped;
}

double Median(std::vector<double> values) {
  values.erase(std::remove(values.begin(), values.end(), -1.0), values.end());
  if (values.empty()) return -1;
  std::sort(values.begin(), values.end());
  const auto n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::string Label(const std::string& program) {
  // The build directory's name tells builds apart: .../<build>/bin/zendra.
  const std::filesystem::path path(program);
  return path.parent_path().parent_path().filename().string();
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  const std::filesystem::path here = std::filesystem::canonical("/proc/self/exe").parent_path();
  options.blank = (here / "bench_blank_window").string();
  options.port = PortOf(ZENDRA_BASE_URL);
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    if (option == "--no-pick") {
      options.pick = false;
      continue;
    }
    if (value == nullptr) {
      std::fprintf(stderr, "%s needs a value\n", option.c_str());
      return 2;
    }
    ++i;
    if (option == "--program") {
      options.programs.push_back(value);
    } else if (option == "--blank") {
      options.blank = value;
    } else if (option == "--port") {
      options.port = std::atoi(value);
    } else if (option == "--runs") {
      options.runs = std::max(1, std::atoi(value));
    } else if (option == "--rtt-ms") {
      options.rtts = NumberList(value);
    } else if (option == "--files") {
      options.files = NumberList(value);
    } else {
      std::fprintf(stderr, "unknown option %s\n", option.c_str());
      return 2;
    }
  }
  if (options.programs.empty()) options.programs.push_back((here / "zendra").string());

  Desktop screen;
  if (!screen.Open()) {
    std::fprintf(stderr, "bench_user_wait: needs an X display with XFIXES and XTEST ($DISPLAY)\n");
    return 1;
  }

  std::printf("%5s %5s %-14s %8s %8s %8s %8s %8s %7s %8s %8s %7s %8s %8s\n", "rtt", "files",
              "program", "ready", "mapped", "1st req", "done", "floor", "ratio", "pick",
              "floor", "ratio", "cpu/row", "rss MB");
  for (const int files : options.files) {
    auto catalogue = zendra::site::BundledCatalogue();
    zendra::site::SetFirstFileCount(catalogue, static_cast<std::size_t>(files));
    zendra::site::SampleSite site(std::move(catalogue));
    if (!site.Start()) {
      std::fprintf(stderr, "bench_user_wait: the sample site did not start\n");
      return 1;
    }
    for (const int rtt : options.rtts) {
      zendra::bench::DelayProxy proxy(site.Port(), milliseconds(rtt));
      if (!proxy.Start(options.port)) {
        std::fprintf(stderr, "bench_user_wait: port %d is taken\n", options.port);
        return 1;
      }
      std::vector<double> ready;
      std::map<std::string, std::vector<Run>> runs;
      for (int r = 0; r < options.runs; ++r) {
        if (const auto blank = MeasureBlank(screen, options.blank)) ready.push_back(*blank);
        for (const auto& program : options.programs) {
          if (const auto run = MeasureProgram(screen, site, program, files, rtt, options.pick)) {
            runs[program].push_back(*run);
          } else {
            std::fprintf(stderr, "%s: a run did not finish; left out\n", program.c_str());
          }
        }
      }
      const double readyMs = Median(ready);
      for (const auto& program : options.programs) {
        const auto& kept = runs[program];
        if (kept.empty()) continue;
        const auto median = [&](auto field) {
          std::vector<double> values;
          for (const auto& run : kept) values.push_back(field(run));
          return Median(values);
        };
        const double requests = median([](const Run& run) { return run.requests; });
        const double floor = (2 + requests) * rtt;
        const double done = median([](const Run& run) { return run.done; });
        const double pick = median([](const Run& run) { return run.pick; });
        const double pickFloor = median([](const Run& run) { return run.pickRequests; }) * rtt;
        const double cpuPerRow =
            median([&](const Run& run) { return run.pickCpuMs < 0 ? -1 : run.pickCpuMs / files; });
        std::printf("%5d %5d %-14s %8.0f %8.0f %8.0f %8.0f %8.0f %7.2f %8.0f %8.0f %7.2f %8.2f %8.1f\n",
                    rtt, files, Label(program).c_str(), readyMs,
                    median([](const Run& run) { return run.mapped; }),
                    median([](const Run& run) { return run.firstRequest; }), done, floor,
                    done / (readyMs + floor), pick, pickFloor,
                    pickFloor > 0 ? pick / pickFloor : 0.0, cpuPerRow,
                    median([](const Run& run) { return run.rssKb; }) / 1024);
        std::fflush(stdout);
      }
      proxy.Stop();
    }
    site.Stop();
  }
  std::printf("times in ms, medians of %d runs; start-up floor (2 + requests) x rtt, pick floor "
              "requests x rtt; ratio = done / (ready + floor) and pick / floor; cpu/row = the "
              "program's CPU during the pick per file row\n",
              options.runs);
  return 0;
}
