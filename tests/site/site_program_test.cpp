#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <regex>
#include <string>

#include "tests/site/site_client.h"

namespace zendra::site {
namespace {

// The program is built beside the test binary.
std::filesystem::path ProgramPath() {
  return std::filesystem::read_symlink("/proc/self/exe").parent_path() / "zendra-site";
}

TEST(SiteProgram, PrintsItsAddressServesAndStopsOnTerm) {
  const auto program = ProgramPath();
  if (!std::filesystem::exists(program)) GTEST_SKIP() << "zendra-site is not built";

  int pipeEnds[2];
  ASSERT_EQ(pipe(pipeEnds), 0);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
  const std::string path = program.string();
  char* argv[] = {const_cast<char*>(path.c_str()), const_cast<char*>("--port"),
                  const_cast<char*>("0"), nullptr};
  pid_t child = 0;
  const int spawned = posix_spawn(&child, path.c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[1]);
  ASSERT_EQ(spawned, 0);

  std::FILE* output = fdopen(pipeEnds[0], "r");
  char line[128] = {};
  const bool read = std::fgets(line, sizeof line, output) != nullptr;
  std::smatch match;
  const std::string text = line;
  const bool matched =
      std::regex_match(text, match, std::regex("listening on https://127\\.0\\.0\\.1:(\\d+)/\n"));
  if (matched) {
    httplib::SSLClient client("127.0.0.1", std::stoi(match[1]));
    client.enable_server_certificate_verification(false);
    auto page = client.Get("/");
    // No ASSERT before the child is stopped: it would leave the program running.
    EXPECT_TRUE(page && page->body.find("<title>302 Found</title>") != std::string::npos);
  }
  kill(child, SIGTERM);
  int status = 0;
  waitpid(child, &status, 0);
  std::fclose(output);
  EXPECT_TRUE(read);
  EXPECT_TRUE(matched) << text;
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

}  // namespace
}  // namespace zendra::site
