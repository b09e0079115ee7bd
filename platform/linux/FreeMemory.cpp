#include "platform/linux/FreeMemory.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>

#include <sys/resource.h>

namespace {

// The value of `key` in a /proc file of "Key:   value kB" lines, in bytes.
std::optional<uint64_t> KilobytesOf(const char* file, const std::string& key) {
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line))
    if (line.compare(0, key.size(), key) == 0) return std::strtoull(line.c_str() + key.size(), nullptr, 10) * 1024;
  return std::nullopt;
}

// What the limit `resource` leaves beyond `used`, when it is set.
std::optional<uint64_t> LeftUnder(int resource, std::optional<uint64_t> used) {
  rlimit limit{};
  if (getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY || !used) return std::nullopt;
  return limit.rlim_cur > *used ? limit.rlim_cur - *used : 0;
}

}  // namespace

std::optional<uint64_t> FreeMemory() {
  std::optional<uint64_t> free = KilobytesOf("/proc/meminfo", "MemAvailable:");
  for (const std::optional<uint64_t> left : {LeftUnder(RLIMIT_AS, KilobytesOf("/proc/self/status", "VmSize:")),
                                             LeftUnder(RLIMIT_DATA, KilobytesOf("/proc/self/status", "VmData:"))})
    if (left) free = free ? std::min(*free, *left) : *left;
  return free;
}
