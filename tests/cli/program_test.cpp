// The installed program as a script runs it: no display, real standard streams.
#include <fcntl.h>
#include <pty.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/cli/subcommand.h"
#include "tests/cli/cli_fixture.h"

namespace zendra::cli {
namespace {

std::filesystem::path BinaryDir() {
  return std::filesystem::read_symlink("/proc/self/exe").parent_path();
}

// Everything of the test's environment except what would let the toolkit find a display.
std::vector<std::string> EnvironmentWithoutDisplay() {
  std::vector<std::string> environment;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string variable = *entry;
    const std::string name = variable.substr(0, variable.find('='));
    if (name == "DISPLAY" || name == "WAYLAND_DISPLAY" || name == "QT_QPA_PLATFORM") continue;
    environment.push_back(variable);
  }
  return environment;
}

std::string ReadAll(int fd) {
  std::string text;
  char buffer[4096];
  for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;)
    text.append(buffer, static_cast<std::size_t>(n));
  return text;
}

// Runs the program with its standard output on a pipe and its standard error on a pipe
// or, when asked, on a terminal.
CommandResult RunProgram(const std::vector<std::string>& arguments, bool errOnTerminal = false) {
  const std::string program = (BinaryDir() / "zendra").string();
  std::vector<std::string> storage{program};
  storage.insert(storage.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& argument : storage) argv.push_back(argument.data());
  argv.push_back(nullptr);
  std::vector<std::string> environment = EnvironmentWithoutDisplay();
  std::vector<char*> envp;
  for (std::string& variable : environment) envp.push_back(variable.data());
  envp.push_back(nullptr);

  int out[2];
  int err[2];
  if (pipe(out) != 0) return {};
  if (errOnTerminal) {
    if (openpty(&err[0], &err[1], nullptr, nullptr, nullptr) != 0) return {};
  } else if (pipe(err) != 0) {
    return {};
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  posix_spawn_file_actions_addclose(&actions, err[0]);
  pid_t child = 0;
  const int spawned =
      posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  close(err[1]);
  CommandResult result;
  if (spawned == 0) {
    result.out = ReadAll(out[0]);
    // A terminal reports the writer's end with an error instead of end-of-file.
    result.err = ReadAll(err[0]);
    int status = 0;
    waitpid(child, &status, 0);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  close(out[0]);
  close(err[0]);
  return result;
}

class ProgramTest : public CommandLineTest {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(BinaryDir() / "zendra")) GTEST_SKIP() << "zendra is not built";
    CommandLineTest::SetUp();
  }
};

TEST_F(ProgramTest, SubcommandsRunWithoutADisplay) {
  const CommandResult categories =
      RunProgram({"categories", "--format", "tsv", "--base-url", site_.BaseUrl()});
  EXPECT_EQ(categories.status, 0) << categories.err;
  EXPECT_EQ(categories.out, "1\tc-1\t系统\n2\tc-2\t办公\n3\tc-3\t空类\n");
  EXPECT_EQ(categories.err, "");

  const CommandResult usage = RunProgram({"--format", "tsv"});
  EXPECT_EQ(usage.status, 2);
  EXPECT_EQ(usage.err, "zendra: no command given\nTry 'zendra --help' for more information.\n");

  const CommandResult version = RunProgram({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("zendra 1.", 0), 0u) << version.out;
}

TEST_F(ProgramTest, ProgressGoesToATerminalOnly) {
  const CommandResult terminal = RunProgram({"files", "--base-url", site_.BaseUrl()}, true);
  EXPECT_EQ(terminal.status, 0);
  EXPECT_NE(terminal.err.find("文件详情 3/3"), std::string::npos) << terminal.err;
  const CommandResult piped = RunProgram({"files", "--base-url", site_.BaseUrl()});
  EXPECT_EQ(piped.status, 0);
  EXPECT_EQ(piped.err, "");
  EXPECT_EQ(piped.out, terminal.out);
}

// The completion offers what the command table holds: a new subcommand needs a line there.
TEST(BashCompletion, OffersEverySubcommandAndItsOptions) {
  const std::filesystem::path script =
      std::filesystem::path(ZENDRA_SOURCE_DIR) / "packaging" / "zendra.bash-completion";
  auto complete = [&script](const std::string& words) {
    const std::string command = "bash --norc --noprofile -c 'source \"" + script.string() +
                                "\"; COMP_WORDS=(" + words +
                                "); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); "
                                "_zendra; printf \"%s\\n\" \"${COMPREPLY[@]}\"'";
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
      char buffer[256];
      while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
      pclose(pipe);
    }
    return output;
  };
  const std::string commands = complete("zendra \"\"");
  for (const Subcommand& command : Subcommands()) {
    EXPECT_NE(commands.find(std::string(command.name) + "\n"), std::string::npos) << command.name;
  }
  EXPECT_EQ(complete("zendra --format j"), "json\n");
  EXPECT_EQ(complete("zendra l"), "languages\nlink\n");
  const std::string linkOptions = complete("zendra link --");
  for (const char* option : {"--category", "--product", "--language", "--file", "--format"}) {
    EXPECT_NE(linkOptions.find(std::string(option) + "\n"), std::string::npos) << option;
  }
  EXPECT_EQ(complete("zendra products --").find("--product\n"), std::string::npos);
}

}  // namespace
}  // namespace zendra::cli
