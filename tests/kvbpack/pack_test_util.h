// Helpers of the builder tests: a scratch folder and whole-file reads and writes.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <string>

namespace kvb::pack::test {

class Scratch {
 public:
  Scratch() {
    static int counter = 0;
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() /
            ("kvbpack-test-" + std::to_string(rd()) + "-" + std::to_string(++counter));
    std::filesystem::create_directories(path_);
  }
  ~Scratch() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;

  std::string operator/(const std::string& name) const { return (path_ / name).string(); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// Bytes that do not compress much, so that archives get several pieces of each kind.
inline std::string Noise(size_t size, uint32_t seed) {
  std::string out(size, '\0');
  for (size_t i = 0; i < size; ++i) {
    seed = seed * 1103515245u + 12345u;
    out[i] = static_cast<char>(i % 3 == 0 ? 'a' : seed >> 24);
  }
  return out;
}

// The files in a folder (names only, sorted), to see what a failed build left behind.
inline std::string Listing(const std::filesystem::path& dir) {
  std::set<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(dir))
    names.insert(e.path().filename().string());
  std::string out;
  for (const std::string& n : names)
    out += n + " ";
  return out;
}

}  // namespace kvb::pack::test
