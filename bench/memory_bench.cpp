// Memory of the program with the document screen of the sample disc open: the main process's
// maximum resident size (from the kernel, at its end) and the most its helper processes (the web
// engine's) held together while it ran, resident and as their proportional share, sampled every
// 20 ms. A plain harness.
//
//   memory_bench [SAMPLE_DISC]      (runs the program under xvfb-run when there is no display)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "bench_support.h"

namespace {

// A kilobyte figure of a process from one of its /proc files, 0 when it is gone.
long ProcKb(int pid, const char* file, const std::string& field) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/" + file);
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(field, 0) == 0) return std::atol(line.c_str() + field.size());
    return 0;
}

// Resident kilobytes; the proportional share counts a page shared by n processes as 1/n, so
// that the helpers' sum does not count the engine's library pages once per helper.
long RssKb(int pid) { return ProcKb(pid, "status", "VmRSS:"); }
long PssKb(int pid) { return ProcKb(pid, "smaps_rollup", "Pss:"); }

// Every process's parent.
std::map<int, int> Parents() {
    std::map<int, int> parents;
    DIR* proc = ::opendir("/proc");
    if (!proc) return parents;
    while (const dirent* e = ::readdir(proc)) {
        const int pid = std::atoi(e->d_name);
        if (pid <= 0) continue;
        std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
        std::string text;
        std::getline(stat, text);
        const auto close = text.rfind(')');
        if (close == std::string::npos) continue;
        std::istringstream rest(text.substr(close + 1));
        char state = 0;
        int ppid = 0;
        if (rest >> state >> ppid) parents[pid] = ppid;
    }
    ::closedir(proc);
    return parents;
}

struct THelpers {
    long rssKb = 0;
    long pssKb = 0;
};

// The resident and proportional kilobytes of the descendants of root other than program itself.
THelpers HelpersKb(int root, int program) {
    const auto parents = Parents();
    THelpers total;
    for (const auto& [pid, ppid] : parents) {
        if (pid == program) continue;
        for (int up = ppid, depth = 0; up > 1 && depth < 16; ++depth) {
            if (up == program) {
                total.rssKb += RssKb(pid);
                total.pssKb += PssKb(pid);
                break;
            }
            const auto it = parents.find(up);
            if (it == parents.end()) break;
            up = it->second;
        }
    }
    return total;
}

struct TRun {
    long mainMaxKb = 0;
    long helpersMaxKb = 0;
    long helpersPssMaxKb = 0;
    int status = -1;
};

TRun RunOnce(const std::string& disc, const std::string& home, const std::string& shot) {
    TRun run;
    const int child = ::fork();
    if (child == 0) {
        ::setenv("VITRINA_HOME", home.c_str(), 1);
        ::execl(VITRINA_PROGRAM, VITRINA_PROGRAM, "--disc", disc.c_str(), "--screenshot", shot.c_str(), "--command",
                "screen2=dv_obzor.htm", "--settle-ms", "1000", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    for (;;) {
        int status = 0;
        rusage usage{};
        const int done = ::wait4(child, &status, WNOHANG, &usage);
        if (done == child) {
            run.mainMaxKb = usage.ru_maxrss;
            run.status = status;
            return run;
        }
        const THelpers helpers = HelpersKb(child, child);
        run.helpersMaxKb = std::max(run.helpersMaxKb, helpers.rssKb);
        run.helpersPssMaxKb = std::max(run.helpersPssMaxKb, helpers.pssKb);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::string disc = argc > 1 ? argv[1] : VITRINA_SAMPLE_DISC;
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM")) {
        // A real X server, as a reader would have: re-run this harness under xvfb-run.
        std::vector<char*> args{const_cast<char*>("xvfb-run"), const_cast<char*>("-a")};
        for (int i = 0; i < argc; ++i) args.push_back(argv[i]);
        args.push_back(nullptr);
        ::execvp("xvfb-run", args.data());
        std::fprintf(stderr, "memory_bench: no display and no xvfb-run\n");
        return 1;
    }
    vitrina::bench::TScratchFolder scratch("memory-bench");
    std::vector<long> main, helpers, helpersPss;
    constexpr int kRuns = 3;
    for (int i = 0; i < kRuns; ++i) {
        const TRun run = RunOnce(disc, (scratch.Path() / ("home" + std::to_string(i))).string(),
                                 (scratch.Path() / "shot.png").string());
        if (!WIFEXITED(run.status) || WEXITSTATUS(run.status) != 0) {
            std::fprintf(stderr, "memory_bench: the program failed\n");
            return 1;
        }
        main.push_back(run.mainMaxKb);
        helpers.push_back(run.helpersMaxKb);
        helpersPss.push_back(run.helpersPssMaxKb);
    }
    const long m = *std::max_element(main.begin(), main.end());
    const long h = *std::max_element(helpers.begin(), helpers.end());
    std::printf("document screen open (screen2=dv_obzor.htm, %d runs): main process max RSS %.1f MB (runs:", kRuns,
                m / 1024.0);
    for (long v : main) std::printf(" %.1f", v / 1024.0);
    std::printf(") -> %s (aim <= 150 MB)\n", m <= 150 * 1024 ? "MET" : "MISSED");
    std::printf("engine helper processes together, most seen: %.1f MB (runs:", h / 1024.0);
    for (long v : helpers) std::printf(" %.1f", v / 1024.0);
    std::printf("); their proportional share (PSS): %.1f MB (runs:",
                *std::max_element(helpersPss.begin(), helpersPss.end()) / 1024.0);
    for (long v : helpersPss) std::printf(" %.1f", v / 1024.0);
    std::printf(")\n");
    return 0;
}
