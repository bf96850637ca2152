// Small helpers of the reliability tests: a private directory per test, file
// contents in and out, and running a piece of a test as an ordinary user.
#pragma once

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

namespace reltest {

namespace fs = std::filesystem;

// A fresh directory for one test, removed with everything in it afterwards.
class TempDir {
 public:
  explicit TempDir(const std::string& tag) {
    static int serial = 0;
    path_ = fs::temp_directory_path() /
            ("velm-rel-" + tag + "-" + std::to_string(::getpid()) + "-" + std::to_string(++serial));
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    // A directory made read-only for a test must become writable again to go.
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  std::string str() const { return path_.string(); }
  std::string slash() const { return path_.string() + "/"; }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

 private:
  fs::path path_;
};

inline void WriteText(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Runs body in a child process and returns its exit status (-1 when the
// child did not exit normally). When the tests run as root the child first
// becomes the unprivileged user "nobody" (65534), since root writes into any
// directory whatever its permissions. fileSizeLimit > 0 also caps the size of
// every file the child writes, as a full file system would.
inline int RunAsOrdinaryUser(const std::function<int()>& body, long fileSizeLimit = 0) {
  std::fflush(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (fileSizeLimit > 0) {
      ::signal(SIGXFSZ, SIG_IGN);  // a write beyond the limit then fails with EFBIG
      struct rlimit lim = {static_cast<rlim_t>(fileSizeLimit), static_cast<rlim_t>(fileSizeLimit)};
      if (::setrlimit(RLIMIT_FSIZE, &lim) != 0) ::_exit(120);
    }
    if (::geteuid() == 0) {
      if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(121);
    }
    const int code = body();
    std::fflush(nullptr);
    ::_exit(code);
  }
  int status = 0;
  if (pid < 0 || ::waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A directory that the ordinary user of RunAsOrdinaryUser may read and enter
// but not write into, holding what the test put there first.
inline void MakeReadOnlyDir(const std::string& dir) {
  fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                           fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
}

// The temporary directory's parents must let the ordinary user through.
inline bool OrdinaryUserCanEnter(const std::string& dir) {
  const int code = RunAsOrdinaryUser([&] { return ::access(dir.c_str(), R_OK | X_OK) == 0 ? 0 : 1; });
  return code == 0;
}

}  // namespace reltest
