#include "platform/atomicfile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string* error) {
  auto fail = [&](const std::string& what, int err) {
    if (error) *error = "Cannot write " + path + ": " + what + " (" + std::strerror(err) + ")";
    return false;
  };
  std::string tmpl = path + ".tmpXXXXXX";
  int fd = mkstemp(tmpl.data());
  if (fd < 0) return fail("cannot create a temporary file", errno);
  // Keep the permissions of the file being replaced, else the usual 0644.
  struct stat st;
  mode_t mode = 0644;
  if (stat(path.c_str(), &st) == 0) mode = st.st_mode & 07777;
  fchmod(fd, mode);
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      int err = errno;
      ::close(fd);
      ::unlink(tmpl.c_str());
      return fail("write failed", err);
    }
    done += static_cast<size_t>(n);
  }
  if (::fsync(fd) != 0) {
    int err = errno;
    ::close(fd);
    ::unlink(tmpl.c_str());
    return fail("flush failed", err);
  }
  if (::close(fd) != 0) {
    int err = errno;
    ::unlink(tmpl.c_str());
    return fail("close failed", err);
  }
  if (std::rename(tmpl.c_str(), path.c_str()) != 0) {
    int err = errno;
    ::unlink(tmpl.c_str());
    return fail("rename failed", err);
  }
  return true;
}

bool ReadWholeFile(const std::string& path, std::string* bytes) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  std::string out;
  char buf[65536];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
  bool ok = !std::ferror(f);
  std::fclose(f);
  if (ok) *bytes = std::move(out);
  return ok;
}

}  // namespace platform
