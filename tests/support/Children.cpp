#include "support/Children.h"

#include <grp.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <thread>

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
    std::string said;
    try {
      said = works[i]();
    } catch (const std::exception& e) {
      said = std::string("threw ") + e.what();
    }
    std::strncpy(answers + i * kRoom, said.c_str(), kRoom - 1);
    ::_exit(0);
  }
  const auto deadline = std::chrono::steady_clock::now() + limit;
  std::vector<std::string> said;
  for (size_t i = 0; i < works.size(); ++i) {
    int status = -1;
    bool late = false;  // then killed, and waited for
    while (children[i] > 0 && ::waitpid(children[i], &status, late ? 0 : WNOHANG) == 0)
      if ((late = std::chrono::steady_clock::now() > deadline)) ::kill(children[i], SIGKILL);
      else std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const std::string ending = late ? " [child killed: still running at the deadline]"
                               : status ? " [child failed, status " + std::to_string(status) + "]" : "";
    said.push_back(answers + i * kRoom + ending);
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

int OpenDescriptors() {
  auto entries = std::filesystem::directory_iterator("/proc/self/fd");
  return static_cast<int>(std::distance(begin(entries), end(entries)));
}

}  // namespace jotwell::test
