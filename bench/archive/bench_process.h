// Peak memory of an extraction, measured in a child process of the benchmark so that
// the parent's own buffers do not count.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <functional>
#include <string>

#ifdef _WIN32
#include <windows.h>

#include <process.h>
#include <psapi.h>
#endif

namespace kvb::bench {

inline constexpr const char* kChildFlag = "--extract-and-measure";

struct MemoryUse {
  unsigned long long baseline_kib = 0;  // peak before the extraction
  unsigned long long peak_kib = 0;      // peak after it
};

// CPU time of this process (user and system), in seconds. On a machine shared with other
// work, CPU time compares two single-threaded runs better than wall time.
inline double CpuSeconds() {
#ifdef _WIN32
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto seconds = [](const FILETIME& f) {
    return ((static_cast<uint64_t>(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 1e7;
  };
  return seconds(kernel) + seconds(user);
#else
  return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
#endif
}

inline unsigned long long PeakKib() {
#ifdef _WIN32
  PROCESS_MEMORY_COUNTERS pmc{};
  GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
  return pmc.PeakWorkingSetSize / 1024;
#else
  std::ifstream status("/proc/self/status");
  std::string key;
  unsigned long long value = 0;
  while (status >> key) {
    if (key == "VmHWM:" && status >> value)
      return value;
  }
  return 0;
#endif
}

// The child's side: extracts `block` into `dir` and writes both peaks to `result`.
inline int ChildExtract(
    const std::string& block,
    const std::string& dir,
    const std::string& result,
    const std::function<bool(const std::string&, const std::string&)>& extract) {
  const unsigned long long baseline = PeakKib();
  if (!extract(block, dir))
    return 1;
  std::ofstream(result) << baseline << " " << PeakKib() << "\n";
  return 0;
}

inline MemoryUse MeasureChild(const std::string& self,
                              const std::string& block,
                              const std::string& dir,
                              const std::string& result) {
#ifdef _WIN32
  const intptr_t status = _spawnl(_P_WAIT, self.c_str(), self.c_str(), kChildFlag, block.c_str(),
                                  dir.c_str(), result.c_str(), nullptr);
#else
  const std::string command =
      "'" + self + "' " + kChildFlag + " '" + block + "' '" + dir + "' '" + result + "'";
  const int status = std::system(command.c_str());
#endif
  MemoryUse use;
  if (status != 0) {
    std::printf("measuring child failed\n");
    return use;
  }
  std::ifstream(result) >> use.baseline_kib >> use.peak_kib;
  return use;
}

}  // namespace kvb::bench
