#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>

#include "host.h"

extern char** environ;

namespace kvb::pack {

namespace {

// Both ends of a pipe, closed on destruction; neither is inherited by a started program
// except through the explicit redirections.
class Pipe {
 public:
  Pipe() {
    if (pipe2(fds_, O_CLOEXEC) != 0)
      fds_[0] = fds_[1] = -1;
  }
  ~Pipe() {
    Close(0);
    Close(1);
  }
  Pipe(const Pipe&) = delete;
  Pipe& operator=(const Pipe&) = delete;
  bool Ok() const { return fds_[0] >= 0; }
  int Read() const { return fds_[0]; }
  int Write() const { return fds_[1]; }
  void Close(int end) {
    if (fds_[end] >= 0)
      close(fds_[end]);
    fds_[end] = -1;
  }

 private:
  int fds_[2];
};

void WriteAll(int fd, const std::string& text) {
  // A program that ends without reading its input must not end kvbpack by SIGPIPE.
  struct sigaction ignore = {}, previous = {};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGPIPE, &ignore, &previous);
  for (size_t done = 0; done < text.size();) {
    const ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n <= 0 && errno != EINTR)
      break;
    if (n > 0)
      done += static_cast<size_t>(n);
  }
  sigaction(SIGPIPE, &previous, nullptr);
}

}  // namespace

std::string SelfPath() {
  char buf[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
}

bool IsTerminal(std::FILE* stream) {
  return isatty(fileno(stream)) != 0;
}

ProgramRun RunProgram(const std::vector<std::string>& args, const std::string& input) {
  ProgramRun run;
  Pipe in, out;
  if (args.empty() || !in.Ok() || !out.Ok())
    return run;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in.Read(), 0);
  posix_spawn_file_actions_adddup2(&actions, out.Write(), 1);
  posix_spawn_file_actions_adddup2(&actions, out.Write(), 2);
  std::vector<char*> argv;
  for (const std::string& a : args)
    argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int error = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0)
    return run;
  run.started = true;
  in.Close(0);
  out.Close(1);
  WriteAll(in.Write(), input);
  in.Close(1);
  char buffer[4096];
  for (;;) {
    const ssize_t n = read(out.Read(), buffer, sizeof buffer);
    if (n > 0)
      run.output.append(buffer, static_cast<size_t>(n));
    else if (n == 0 || errno != EINTR)
      break;
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return run;
}

std::string StandardInputName() {
  return "/dev/stdin";
}

}  // namespace kvb::pack
