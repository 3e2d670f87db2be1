#include "support/misbehaving_worker.h"

#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <set>
#include <stdexcept>

namespace lumivane::testing {

std::vector<unsigned char> Pattern(std::size_t size, unsigned seed) {
  std::vector<unsigned char> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<unsigned char>((i * 31 + seed) & 0xFF);
  return bytes;
}

namespace {

std::string OpenDescriptors() {
  std::set<int> numbers;
  DIR* folder = ::opendir("/proc/self/fd");
  if (folder == nullptr) return "";
  const int own = ::dirfd(folder);
  while (const dirent* entry = ::readdir(folder)) {
    if (entry->d_name[0] != '.' && std::atoi(entry->d_name) != own) numbers.insert(std::atoi(entry->d_name));
  }
  ::closedir(folder);
  std::string text;
  for (const int number : numbers) text += (text.empty() ? "" : " ") + std::to_string(number);
  return text;
}

std::vector<unsigned char> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

}  // namespace

std::vector<unsigned char> MisbehavingWorkerTask(std::span<const unsigned char> request) {
  static int served = 0;
  ++served;
  const std::string text(request.begin(), request.end());
  if (text == "abort") std::abort();
  if (text == "segv") {
    ::signal(SIGSEGV, SIG_DFL);
    ::raise(SIGSEGV);
  }
  if (text == "_exit") ::_exit(0);
  if (text == "exit") std::exit(3);
  if (text == "throw") throw std::runtime_error("no");
  if (text == "hang") {
    for (;;) ::pause();
  }
  if (text == "count") return Bytes(std::to_string(served));
  if (text == "descriptors") return Bytes(OpenDescriptors());
  if (text.starts_with("size:")) return Pattern(std::stoul(text.substr(5)), 7);
  return {request.begin(), request.end()};
}

}  // namespace lumivane::testing
