// Hashing throughput of the image check against sha1sum, on one file in the same run:
//   bench_verify_file_sha1 [--size-mib N] [--runs R] [--file PATH] [--block-kib K]
// Each round runs both tools, in alternating order, once with the file in the page cache
// and once after evicting it (drop_caches when allowed, else posix_fadvise DONTNEED).
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "app/verify/file_hasher.h"
#include "app/verify/file_sha1.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Options {
  std::uint64_t sizeMib = 2048;
  int runs = 3;
  std::string file = "/var/tmp/zendra-sha1-bench.bin";
  std::size_t blockKib = zendra::verify::kHashBlockSize / 1024;
};

std::string LoadAverage() {
  std::ifstream in("/proc/loadavg");
  std::string one, five, fifteen;
  in >> one >> five >> fifteen;
  return one + " " + five + " " + fifteen;
}

bool MakeFile(const std::string& path, std::uint64_t bytes) {
  struct stat status {};
  if (::stat(path.c_str(), &status) == 0 && static_cast<std::uint64_t>(status.st_size) == bytes) {
    return true;
  }
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) return false;
  std::mt19937_64 random(20231105);
  std::vector<std::uint64_t> block(1 << 17);  // 1 MiB
  for (std::uint64_t written = 0; written < bytes; written += 1 << 20) {
    for (auto& word : block) word = random();
    std::fwrite(block.data(), 1, std::min<std::uint64_t>(1 << 20, bytes - written), out);
  }
  return std::fclose(out) == 0;
}

// Share of the file's pages in the page cache, in percent.
double Resident(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return -1;
  struct stat status {};
  ::fstat(fd, &status);
  const auto size = static_cast<std::size_t>(status.st_size);
  void* map = ::mmap(nullptr, size, PROT_READ, MAP_SHARED, fd, 0);
  double share = -1;
  if (map != MAP_FAILED) {
    const long page = ::sysconf(_SC_PAGESIZE);
    std::vector<unsigned char> pages((size + page - 1) / page);
    if (::mincore(map, size, pages.data()) == 0) {
      const auto in =
          std::count_if(pages.begin(), pages.end(), [](unsigned char p) { return p & 1; });
      share = 100.0 * static_cast<double>(in) / static_cast<double>(pages.size());
    }
    ::munmap(map, size);
  }
  ::close(fd);
  return share;
}

bool Evict(const std::string& path) {
  if (std::FILE* drop = std::fopen("/proc/sys/vm/drop_caches", "w")) {
    ::sync();
    const bool done = std::fputs("3\n", drop) >= 0;
    if (std::fclose(drop) == 0 && done) return true;
  }
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return false;
  ::fdatasync(fd);
  const bool done = ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED) == 0;
  ::close(fd);
  return done;
}

void Warm(const std::string& path) {
  zendra::verify::HashControl control;
  zendra::verify::HashFileSha1(path, control);
}

struct Timing {
  double seconds = 0;
  std::string digest;
};

Timing RunSha1sum(const std::string& path) {
  const std::string command = "sha1sum '" + path + "'";
  const auto start = Clock::now();
  std::FILE* pipe = ::popen(command.c_str(), "r");
  char line[256] = {};
  if (pipe) {
    if (!std::fgets(line, sizeof line, pipe)) line[0] = 0;
    ::pclose(pipe);
  }
  const std::chrono::duration<double> took = Clock::now() - start;
  std::string digest(line, strnlen(line, 40));
  for (auto& c : digest) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return {took.count(), digest};
}

Timing RunOurs(const std::string& path, std::size_t blockSize) {
  zendra::verify::HashControl control;
  const auto start = Clock::now();
  const auto result = zendra::verify::HashFileSha1(path, control, blockSize);
  const std::chrono::duration<double> took = Clock::now() - start;
  return {took.count(), result.sha1};
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--size-mib") == 0)
      options.sizeMib = std::strtoull(argv[i + 1], nullptr, 10);
    if (std::strcmp(argv[i], "--runs") == 0) options.runs = std::atoi(argv[i + 1]);
    if (std::strcmp(argv[i], "--file") == 0) options.file = argv[i + 1];
    if (std::strcmp(argv[i], "--block-kib") == 0)
      options.blockKib = std::strtoull(argv[i + 1], nullptr, 10);
  }
  std::setvbuf(stdout, nullptr, _IOLBF, 0);  // each run's line as soon as it is measured
  const std::uint64_t bytes = options.sizeMib << 20;
  if (!MakeFile(options.file, bytes)) {
    std::fprintf(stderr, "cannot write %s\n", options.file.c_str());
    return 1;
  }
  const double mib = static_cast<double>(bytes) / (1 << 20);
  std::printf("file %s, %.0f MiB, block %zu KiB, %d round(s); load average %s\n",
              options.file.c_str(), mib, options.blockKib, options.runs, LoadAverage().c_str());

  bool digestsAgree = true;
  for (const bool cold : {false, true}) {
    std::vector<double> theirs, ours;
    if (!cold) Warm(options.file);
    for (int run = 0; run < options.runs; ++run) {
      for (int turn = 0; turn < 2; ++turn) {
        const bool oursNow = (turn + run) % 2 == 0;
        if (cold && !Evict(options.file)) std::fprintf(stderr, "cannot evict the file\n");
        const double resident = Resident(options.file);
        const auto timing =
            oursNow ? RunOurs(options.file, options.blockKib << 10) : RunSha1sum(options.file);
        (oursNow ? ours : theirs).push_back(mib / timing.seconds);
        std::printf("  %-6s %-8s run %d: %7.1f MiB/s  (%.0f%% cached before)  %s\n",
                    cold ? "cold" : "cached", oursNow ? "ours" : "sha1sum", run + 1,
                    mib / timing.seconds, resident, timing.digest.c_str());
        static std::string firstDigest;
        if (firstDigest.empty()) firstDigest = timing.digest;
        digestsAgree = digestsAgree && timing.digest == firstDigest;
      }
    }
    std::printf("| %.0f MiB | %s | %.1f MiB/s | %.1f MiB/s | %.2f |\n", mib,
                cold ? "cold" : "cached", Median(theirs), Median(ours),
                Median(ours) / Median(theirs));
  }
  // How long a cancel takes to stop the worker, from the request to the joined thread.
  for (const bool cold : {false, true}) {
    if (cold)
      Evict(options.file);
    else
      Warm(options.file);
    zendra::verify::FileHasher hasher(options.file, {}, options.blockKib << 10);
    while (hasher.BytesDone() < (std::uint64_t{64} << 20) &&
           !hasher.WaitFor(std::chrono::milliseconds(1))) {
    }
    const auto start = Clock::now();
    hasher.Cancel();
    const auto result = hasher.Wait();
    const std::chrono::duration<double, std::milli> took = Clock::now() - start;
    std::printf("cancel (%s) stopped the worker in %.2f ms, after %.0f MiB\n",
                cold ? "cold" : "cached", took.count(),
                static_cast<double>(result.bytes) / (1 << 20));
  }
  std::printf("digests agree: %s; load average %s\n", digestsAgree ? "yes" : "NO",
              LoadAverage().c_str());
  return digestsAgree ? 0 : 1;
}
