#pragma once
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace lumatrim::test {

// Root ignores folder permissions, so as root the attempt runs in a child
// process that has given up its rights; returns the attempt's own result.
inline int WithoutRootRights(const std::function<int()>& attempt) {
  if (::geteuid() != 0) return attempt();
  const pid_t child = ::fork();
  if (child == 0) {
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(98);
    ::_exit(attempt());
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 97;
}

}  // namespace lumatrim::test
