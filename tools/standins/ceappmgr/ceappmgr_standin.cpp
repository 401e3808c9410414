// A stand-in for ActiveSync's CE Application Manager ("CEAPPMGR.EXE"), used by the tests
// and the device demo. It records what the real one would receive: its command line and
// the contents of every description file named on it, appended to the log file named by
// KVB_STANDIN_APPMGR_LOG (else "ceappmgr.log" beside the program):
//   ARGS <command line after the program>
//   FILE <path>
//   <the file's lines>
//   END
#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string LogPath() {
  char buffer[MAX_PATH];
  const DWORD length = GetEnvironmentVariableA("KVB_STANDIN_APPMGR_LOG", buffer, MAX_PATH);
  if (length > 0 && length < MAX_PATH)
    return buffer;
  GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  std::string path = buffer;
  return path.substr(0, path.find_last_of('\\') + 1) + "ceappmgr.log";
}

// The command line behind the program's own (quoted or plain) name.
std::string Arguments() {
  const std::string line = GetCommandLineA();
  size_t at = 0;
  if (!line.empty() && line[0] == '"') {
    at = line.find('"', 1);
    at = at == std::string::npos ? line.size() : at + 1;
  } else {
    at = line.find(' ');
    at = at == std::string::npos ? line.size() : at;
  }
  while (at < line.size() && line[at] == ' ')
    ++at;
  return line.substr(at);
}

// The quoted paths of the arguments.
std::vector<std::string> QuotedPaths(const std::string& arguments) {
  std::vector<std::string> paths;
  for (size_t at = arguments.find('"'); at != std::string::npos;) {
    const size_t end = arguments.find('"', at + 1);
    if (end == std::string::npos)
      break;
    paths.push_back(arguments.substr(at + 1, end - at - 1));
    at = arguments.find('"', end + 1);
  }
  return paths;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const std::string arguments = Arguments();
  std::ofstream log(LogPath(), std::ios::app | std::ios::binary);
  log << "ARGS " << arguments << "\n";
  for (const std::string& path : QuotedPaths(arguments)) {
    log << "FILE " << path << "\n";
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    log << text.str() << "END\n";
  }
  return 0;
}
