// Error reporting for project files: every mistake names the file, line and column of
// the text that caused it, so that an editor can jump there.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace kvb::pack {

// A place in a project file (line and column count from 1; 0 = unknown).
struct SourcePos {
  std::string file;
  int line = 0;
  int column = 0;
  bool operator==(const SourcePos&) const = default;
};

// "file:line:column: message" (parts that are unknown are left out).
std::string FormatDiagnostic(const SourcePos& pos, const std::string& message);

// A failed build, dump or project read. what() holds one or more diagnostics, one a line.
class ProjectError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
  ProjectError(const SourcePos& pos, const std::string& message)
      : std::runtime_error(FormatDiagnostic(pos, message)) {}
};

// Collects diagnostics so that one run reports every mistake it can find, not just the
// first. Throw() raises them together as one ProjectError.
class Diagnostics {
 public:
  void Error(const SourcePos& pos, const std::string& message);
  bool HasErrors() const { return !messages_.empty(); }
  // Throws a ProjectError with every collected message when there is any.
  void ThrowIfAny() const;
  const std::vector<std::string>& messages() const { return messages_; }

 private:
  std::vector<std::string> messages_;
};

}  // namespace kvb::pack
