// The real program started on a free loopback port with a settings file of the test's own; the
// test target defines QUILLFERN_BINARY.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "support/gbk.h"
#include "support/raw_client.h"

extern char** environ;

namespace qf::testing {

using namespace std::chrono_literals;

class QuillfernProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("quillfern-test-" + std::to_string(getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
    settingsPath_ = (dir_ / "gzh.ini").string();
    WriteSettings("token", Gbk("欢迎关注"), "");
  }

  void TearDown() override {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (out_ != nullptr) fclose(out_);
    std::filesystem::remove_all(dir_);
  }

  // The setting section, then `more` (further sections, in code page 936) as it stands.
  void WriteSettings(std::string_view token, std::string_view welcome, std::string_view word,
                     std::string_view more = "") {
    std::ofstream(settingsPath_, std::ios::binary | std::ios::trunc)
        << "[setting]\r\nToken=" << token << "\r\n"
        << Gbk("关注回复") << "=" << welcome << "\r\n"
        << Gbk("搜索词") << "=" << word << "\r\n"
        << more;
  }

  // Starts the program; returns the port it listens on, or 0.
  int Start(std::vector<std::string> extra = {}) {
    if (out_ != nullptr) fclose(out_);
    out_ = nullptr;
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return 0;
    std::vector<std::string> args = {QUILLFERN_BINARY, "--headless", "--listen",   "127.0.0.1",
                                     "--port",         "0",          "--settings", settingsPath_};
    args.insert(args.end(), extra.begin(), extra.end());
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, (dir_ / "stderr").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    const int rc = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (rc != 0) return 0;
    out_ = fdopen(pipeFds[0], "r");
    pollfd p{pipeFds[0], POLLIN, 0};
    if (poll(&p, 1, 10000) <= 0) return 0;
    char line[128] = {};
    if (fgets(line, sizeof line, out_) == nullptr) return 0;
    int port = 0;
    std::sscanf(line, "listening on 127.0.0.1:%d", &port);
    return port;
  }

  // Waits (bounded) for the program to exit; its status, or -1.
  int WaitForExit() {
    for (int i = 0; i < 200; ++i) {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      }
      std::this_thread::sleep_for(50ms);
    }
    return -1;
  }

  std::string Ask(int port, std::string_view request) {
    Client client(port);
    client.Send(request);
    return client.ReadToClose();
  }

  std::filesystem::path dir_;
  std::string settingsPath_;
  pid_t pid_ = -1;
  FILE* out_ = nullptr;
};

}  // namespace qf::testing
