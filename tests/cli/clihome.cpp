#include "clihome.h"

#include <fcntl.h>
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstring>
#include <filesystem>

extern char** environ;

namespace folivant::test {

namespace {

#if defined(__x86_64__)
constexpr uint32_t kAuditArch = AUDIT_ARCH_X86_64;
#elif defined(__aarch64__)
constexpr uint32_t kAuditArch = AUDIT_ARCH_AARCH64;
#else
constexpr uint32_t kAuditArch = 0;  // confinement is not built for this machine
#endif

// The system calls besides creating opens that change files.
std::vector<uint32_t> FileChangingCalls() {
  std::vector<uint32_t> calls = {__NR_write,     __NR_writev,   __NR_linkat, __NR_renameat,
                                 __NR_renameat2, __NR_unlinkat, __NR_mkdirat};
#ifdef __NR_rename
  calls.insert(calls.end(), {__NR_rename, __NR_link, __NR_unlink, __NR_mkdir});
#endif
  return calls;
}

// A seccomp filter that asks the supervisor (SECCOMP_RET_USER_NOTIF) about
// every call that changes files and, for `fat`, answers an O_TMPFILE open with
// EOPNOTSUPP and fchown with ENOSYS. Jumps count instructions from the next one.
std::vector<sock_filter> ConfinementFilter(bool fat) {
  const std::vector<uint32_t> calls = FileChangingCalls();
  const auto allow = static_cast<uint8_t>(11 + calls.size());
  const auto notify = static_cast<uint8_t>(allow + 1);
  const uint32_t unnamed = O_TMPFILE & ~O_DIRECTORY;
  const uint32_t flags_offset = offsetof(seccomp_data, args) + 2 * sizeof(uint64_t);  // openat's, low half
  std::vector<sock_filter> filter = {
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, arch)),                          // 0
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, kAuditArch, 1, 0),                                     // 1
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),                                              // 2
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),                            // 3
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_openat, 0, 4),                                    // 4: openat, else 9
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, flags_offset),                                          // 5
      BPF_JUMP(BPF_JMP | BPF_JSET | BPF_K, unnamed, 0, 1),                                       // 6
      BPF_STMT(BPF_RET | BPF_K, fat ? SECCOMP_RET_ERRNO | EOPNOTSUPP : SECCOMP_RET_USER_NOTIF),  // 7
      BPF_JUMP(BPF_JMP | BPF_JSET | BPF_K, O_CREAT, static_cast<uint8_t>(notify - 9),
               static_cast<uint8_t>(allow - 9)),                                        // 8
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_fchown, 0, 1),                           // 9
      BPF_STMT(BPF_RET | BPF_K, fat ? SECCOMP_RET_ERRNO | ENOSYS : SECCOMP_RET_ALLOW),  // 10
  };
  for (size_t i = 0; i < calls.size(); ++i)
    filter.push_back(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, calls[i], static_cast<uint8_t>(notify - 12 - i), 0));
  filter.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
  filter.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_USER_NOTIF));
  return filter;
}

// One byte of message with room beside it for the descriptor SCM_RIGHTS passes.
struct TDescriptorMessage {
  char data = 0;
  iovec part{&data, 1};
  alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
  msghdr message{};

  TDescriptorMessage() {
    message.msg_iov = &part;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
  }
  TDescriptorMessage(const TDescriptorMessage&) = delete;
  TDescriptorMessage& operator=(const TDescriptorMessage&) = delete;
};

void SendDescriptor(int socket, int descriptor) {
  TDescriptorMessage sent;
  cmsghdr* header = CMSG_FIRSTHDR(&sent.message);
  header->cmsg_level = SOL_SOCKET;
  header->cmsg_type = SCM_RIGHTS;
  header->cmsg_len = CMSG_LEN(sizeof(int));
  std::memcpy(CMSG_DATA(header), &descriptor, sizeof(int));
  ::sendmsg(socket, &sent.message, 0);
}

// -1 when the other end closed without sending one.
int ReceiveDescriptor(int socket) {
  TDescriptorMessage received;
  if (::recvmsg(socket, &received.message, 0) <= 0) return -1;
  const cmsghdr* header = CMSG_FIRSTHDR(&received.message);
  if (!header || header->cmsg_type != SCM_RIGHTS) return -1;
  int descriptor = -1;
  std::memcpy(&descriptor, CMSG_DATA(header), sizeof(int));
  return descriptor;
}

// Lets the run's file changes go on one by one, counting them, until the
// KillAt-th, which it answers with SIGKILL; returns when the run has ended.
void Supervise(int listener, pid_t run, int kill_at, TResult& result) {
  seccomp_notif_sizes sizes{};
  ::syscall(SYS_seccomp, SECCOMP_GET_NOTIF_SIZES, 0, &sizes);
  std::vector<char> request(std::max<size_t>(sizes.seccomp_notif, sizeof(seccomp_notif)));
  std::vector<char> response(std::max<size_t>(sizes.seccomp_notif_resp, sizeof(seccomp_notif_resp)));
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
  for (;;) {
    pollfd ready{listener, POLLIN, 0};
    if (::poll(&ready, 1, 100) <= 0) {
      siginfo_t ended{};  // looked at, not reaped
      if (::waitid(P_PID, static_cast<id_t>(run), &ended, WEXITED | WNOHANG | WNOWAIT) == 0 && ended.si_pid == run)
        return;
      if (std::chrono::steady_clock::now() < deadline) continue;
      ADD_FAILURE() << "the run took more than two minutes";
      ::kill(run, SIGKILL);
      return;
    }
    if (!(ready.revents & POLLIN)) return;  // every thread of the run has ended
    std::fill(request.begin(), request.end(), 0);
    if (::ioctl(listener, SECCOMP_IOCTL_NOTIF_RECV, request.data()) != 0) continue;
    const auto* call = reinterpret_cast<const seccomp_notif*>(request.data());
    if (++result.file_changes == kill_at) {
      ::kill(run, SIGKILL);
      return;
    }
    std::fill(response.begin(), response.end(), 0);
    auto* answer = reinterpret_cast<seccomp_notif_resp*>(response.data());
    answer->id = call->id;
    answer->flags = SECCOMP_USER_NOTIF_FLAG_CONTINUE;
    ::ioctl(listener, SECCOMP_IOCTL_NOTIF_SEND, answer);
  }
}

std::vector<std::string> Environment(const TCliHome& home) {
  const std::vector<std::pair<std::string, std::string>> own = {{"HOME", home.Path()},
                                                                {"XDG_CONFIG_HOME", home.File("config")},
                                                                {"XDG_CACHE_HOME", home.File("cache")},
                                                                {"FOLIVANT_CONFIG_DIR", home.File("config/folivant")},
                                                                {"XDG_DESKTOP_DIR", ""}};
  std::vector<std::string> environment;
  for (char** variable = environ; *variable; ++variable) {
    const std::string entry = *variable;
    bool replaced = false;
    for (const auto& [name, value] : own) replaced = replaced || entry.starts_with(name + "=");
    if (!replaced) environment.push_back(entry);
  }
  for (const auto& [name, value] : own) environment.push_back(name + "=" + value);
  return environment;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace

TResult TCliHome::Run(const std::vector<std::string>& arguments) const { return Spawn(arguments, nullptr); }

TResult TCliHome::RunConfined(const std::vector<std::string>& arguments, const TConfinement& confinement) const {
  return Spawn(arguments, &confinement);
}

pid_t TCliHome::Start(const std::vector<std::string>& arguments) const { return Launch(arguments, nullptr, -1); }

pid_t TCliHome::Launch(const std::vector<std::string>& arguments, const TConfinement* confinement,
                       int listener_socket) const {
  std::vector<std::string> argv_texts = {FOLIVANT_CLI};
  argv_texts.insert(argv_texts.end(), arguments.begin(), arguments.end());
  std::vector<std::string> environment = Environment(*this);
  const std::vector<char*> argv = Pointers(argv_texts);
  const std::vector<char*> envp = Pointers(environment);
  const std::vector<sock_filter> filter = ConfinementFilter(confinement && confinement->FatFileSystem);
  const sock_fprog program{static_cast<unsigned short>(filter.size()), const_cast<sock_filter*>(filter.data())};
  const int input = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
  const int output = ::open(File("stdout.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  const int error = ::open(File("stderr.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);

  const pid_t run = ::fork();
  if (run == 0) {  // only calls that are safe after fork
    if (::chdir(Path().c_str()) != 0 || ::dup2(input, 0) < 0 || ::dup2(output, 1) < 0 || ::dup2(error, 2) < 0)
      ::_exit(126);
    if (confinement) {
      const long listener =
          kAuditArch == 0 || ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0
              ? -1
              : ::syscall(SYS_seccomp, SECCOMP_SET_MODE_FILTER, SECCOMP_FILTER_FLAG_NEW_LISTENER, &program);
      if (listener < 0) ::_exit(kCannotConfine);
      SendDescriptor(listener_socket, static_cast<int>(listener));
    }
    ::execve(argv[0], argv.data(), envp.data());
    ::_exit(127);
  }
  const int fork_error = errno;
  for (const int descriptor : {input, output, error}) ::close(descriptor);
  if (run < 0) ADD_FAILURE() << "cannot start folivant-cli: " << std::strerror(fork_error);
  return run;
}

TResult TCliHome::Spawn(const std::vector<std::string>& arguments, const TConfinement* confinement) const {
  int sockets[2] = {-1, -1};
  if (confinement) ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sockets);
  const pid_t run = Launch(arguments, confinement, sockets[1]);
  ::close(sockets[1]);
  TResult result;
  if (confinement && run > 0) {
    if (const int listener = ReceiveDescriptor(sockets[0]); listener >= 0) {
      Supervise(listener, run, confinement->KillAt, result);
      ::close(listener);
    }
  }
  ::close(sockets[0]);
  if (run < 0) return result;
  int status = 0;
  ::waitpid(run, &status, 0);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
  result.out = ReadFile(File("stdout.txt"));
  result.err = ReadFile(File("stderr.txt"));
  return result;
}

void TCliHome::WritePhotos(const std::string& folder, const std::vector<samples::TSamplePicture>& pictures) const {
  std::filesystem::create_directories(File(folder));
  for (const samples::TSamplePicture& picture : pictures)
    Write(folder + "/" + picture.FileName,
          samples::MakeSamplePhoto(picture.Scene, picture.Width, picture.Height, picture.Metadata));
}

}  // namespace folivant::test
