#pragma once

// A named pipe in place of a file, for code that must never wait on one. A
// reader that waits on the pipe would wait for ever: the trap lets it go after
// a while by opening the pipe for writing (the reader then sees an empty
// file), and says so. Without GoogleTest, so that the window tests use it too.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>

namespace folivant::test {

class TPipeTrap {
 public:
  explicit TPipeTrap(std::string path, std::chrono::milliseconds patience = std::chrono::seconds(5))
      : path_(std::move(path)) {
    if (::mkfifo(path_.c_str(), 0644) != 0) throw std::runtime_error("cannot make the named pipe " + path_);
    watcher_ = std::thread([this, patience] { Watch(patience); });
  }
  ~TPipeTrap() { Release(); }
  TPipeTrap(const TPipeTrap&) = delete;
  TPipeTrap& operator=(const TPipeTrap&) = delete;

  /// Stops watching; true when something was still reading the pipe after the patience ran out.
  bool Release() {
    released_ = true;
    if (watcher_.joinable()) watcher_.join();
    return waited_on_;
  }

 private:
  void Watch(std::chrono::milliseconds patience) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (!released_ && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    // Opening for writing without waiting succeeds only while a reader has the pipe open.
    while (!released_) {
      const int writer = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
      if (writer >= 0) {
        waited_on_ = true;
        ::close(writer);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }

  std::string path_;
  std::atomic<bool> released_{false};
  std::atomic<bool> waited_on_{false};
  std::thread watcher_;
};

}  // namespace folivant::test
