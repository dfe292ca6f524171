#include "support/Children.h"

#include <grp.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <filesystem>

namespace jotwell::test {

std::vector<std::string> InChildren(const std::vector<std::function<std::string()>>& works,
                                    std::chrono::seconds limit) {
  constexpr size_t kRoom = 1 << 16;  // for each child's answer
  auto* answers = static_cast<char*>(::mmap(nullptr, kRoom * works.size(), PROT_READ | PROT_WRITE,
                                            MAP_SHARED | MAP_ANONYMOUS, -1, 0));
  std::vector<pid_t> children;
  for (size_t i = 0; i < works.size(); ++i) {
    std::fflush(nullptr);
    if (children.emplace_back(::fork()) != 0) continue;
    ::alarm(static_cast<unsigned>(limit.count()));  // ends the child should it hang
    std::string said;
    try {
      said = works[i]();
    } catch (const std::exception& e) {
      said = std::string("threw ") + e.what();
    }
    std::strncpy(answers + i * kRoom, said.c_str(), kRoom - 1);
    ::_exit(0);
  }
  std::vector<std::string> said;
  for (size_t i = 0; i < works.size(); ++i) {
    int status = -1;
    if (children[i] > 0) ::waitpid(children[i], &status, 0);
    const bool late = WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM;
    said.push_back(answers + i * kRoom + std::string(late     ? " [child killed: still running at the deadline]"
                                                     : status ? " [child failed, status " + std::to_string(status) + "]"
                                                              : ""));
  }
  ::munmap(answers, kRoom * works.size());
  return said;
}

std::string InChild(const std::function<std::string()>& work, std::chrono::seconds limit) {
  return InChildren({work}, limit)[0];
}

bool Limit(int resource, rlim_t to) {
  rlimit limit{};
  return ::getrlimit(resource, &limit) == 0 && (limit.rlim_cur = to, ::setrlimit(resource, &limit) == 0);
}

bool BecomeNobody() {
  return ::geteuid() != 0 || (::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0);
}

}  // namespace jotwell::test
