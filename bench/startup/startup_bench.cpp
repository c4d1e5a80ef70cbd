// Start-up to the first frame of the main menu, against a bare FLTK window showing one JPEG,
// measured in the same run under the same X server.
//
//   startup_bench CD_DIR BARE_WINDOW HEADLESS_STARTUP [RUNS]
//
// Each program is started RUNS times (default 15), interleaved so that a busy moment of the
// machine falls on all of them alike; each reports "first-frame-ms N", counted from the
// launcher's clock just before the fork (QUILLON_START_NS). The medians and their ratios to the
// bare window are printed; the exit code is 1 when the real window misses the target ratio.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace {

constexpr double kTargetRatio = 1.5;

struct Program {
  std::string name;
  std::vector<std::string> argv;
  std::string workdir;
  std::vector<std::string> env;
  std::vector<double> samples;
};

// Runs one program to its end and returns the first-frame time it printed, or -1.
double RunOnce(const Program& program) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
  posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
  if (!program.workdir.empty())
    posix_spawn_file_actions_addchdir_np(&actions, program.workdir.c_str());

  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) env.emplace_back(*e);
  env.insert(env.end(), program.env.begin(), program.env.end());
  using namespace std::chrono;
  const long long start =
      duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
  env.push_back("QUILLON_START_NS=" + std::to_string(start));

  std::vector<char*> argv, envp;
  for (const auto& a : program.argv) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  for (const auto& e : env) envp.push_back(const_cast<char*>(e.c_str()));
  envp.push_back(nullptr);

  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(pipeFds[1]);
  if (spawned != 0) {
    close(pipeFds[0]);
    return -1;
  }
  std::string out;
  char buffer[512];
  for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;) out.append(buffer, n);
  close(pipeFds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  const auto at = out.find("first-frame-ms ");
  if (at == std::string::npos || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
  return std::atof(out.c_str() + at + 15);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? -1 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s CD_DIR BARE_WINDOW HEADLESS_STARTUP [RUNS]\n", argv[0]);
    return 2;
  }
  const std::string cd = argv[1];
  const int runs = argc > 4 ? std::atoi(argv[4]) : 15;
  char runtime[] = "/tmp/quillon-bench-XXXXXX";
  if (!mkdtemp(runtime)) return 2;
  const std::string lock = std::string("XDG_RUNTIME_DIR=") + runtime;

  std::vector<Program> programs = {
      {"bare FLTK window, one JPEG",
       {argv[2], "--exit-after-first-frame", cd + "/Language/English/mainmenu.jpg"},
       "",
       {},
       {}},
      {"wizard, real window",
       {cd + "/quillon"},
       cd,
       {"QUILLON_EXIT_AFTER_FIRST_FRAME=1", lock},
       {}},
      {"wizard, headless backend", {argv[3], cd}, "", {lock}, {}},
  };
  for (int i = 0; i < runs; ++i) {
    for (auto& p : programs) {
      const double ms = RunOnce(p);
      if (ms < 0) {
        std::fprintf(stderr, "%s did not report its first frame\n", p.name.c_str());
        return 2;
      }
      p.samples.push_back(ms);
    }
  }
  rmdir(runtime);

  const double reference = Median(programs[0].samples);
  std::printf("start-up to the first frame, median of %d runs\n", runs);
  for (const auto& p : programs)
    std::printf("  %-28s %8.1f ms  ratio %.2f\n", p.name.c_str(), Median(p.samples),
                Median(p.samples) / reference);
  const double ratio = Median(programs[1].samples) / reference;
  std::printf("real window ratio %.2f (target <= %.1f): %s\n", ratio, kTargetRatio,
              ratio <= kTargetRatio ? "met" : "MISSED");
  return ratio <= kTargetRatio ? 0 : 1;
}
