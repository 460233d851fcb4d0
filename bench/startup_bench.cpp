// Start-up time and memory of the program against the minimal Qt Widgets program, side by side:
// the time from starting the process until its window is mapped on the X display, and the
// resident memory once it has settled. Runs the two alternately and prints the medians and
// their ratios. Needs an X display without a window manager (tools/startup_bench.sh gives it
// one). Usage: startup_bench [rounds]

#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;

struct Sample {
    double startMs;
    long rssKiB;
};

long ResidentKiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return -1;
}

// Starts the program and waits for a top-level window to be mapped.
Sample Run(xcb_connection_t *x, const char *program) {
    const Clock::time_point start = Clock::now();
    pid_t pid = 0;
    char *argv[] = {const_cast<char *>(program), nullptr};
    if (posix_spawn(&pid, program, nullptr, nullptr, argv, environ) != 0) {
        std::perror(program);
        std::exit(1);
    }
    double startMs = -1;
    while (startMs < 0) {
        xcb_generic_event_t *event = xcb_wait_for_event(x);
        if (!event) {
            std::fprintf(stderr, "X connection lost\n");
            std::exit(1);
        }
        if ((event->response_type & 0x7F) == XCB_MAP_NOTIFY)
            startMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        std::free(event);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const long rss = ResidentKiB(pid);
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    return {startMs, rss};
}

template <typename T> T Median(std::vector<T> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char **argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 15;
    xcb_connection_t *x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x)) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(x);

    const char *programs[] = {TARVO_EXE, MINIMAL_EXE};
    std::vector<double> times[2];
    std::vector<long> memory[2];
    Run(x, TARVO_EXE); // warms the file cache and writes the settings once
    Run(x, MINIMAL_EXE);
    for (int round = 0; round < rounds; ++round)
        for (int i = 0; i < 2; ++i) {
            const Sample sample = Run(x, programs[i]);
            times[i].push_back(sample.startMs);
            memory[i].push_back(sample.rssKiB);
        }
    const double t[2] = {Median(times[0]), Median(times[1])};
    const long m[2] = {Median(memory[0]), Median(memory[1])};
    std::printf("%-14s %18s %18s\n", "", "start to map (ms)", "resident (KiB)");
    std::printf("%-14s %18.1f %18ld\n", "tarvo", t[0], m[0]);
    std::printf("%-14s %18.1f %18ld\n", "minimal Qt", t[1], m[1]);
    std::printf("%-14s %18.2f %18.2f\n", "ratio", t[0] / t[1], double(m[0]) / double(m[1]));
    std::printf("(medians of %d rounds each, run alternately)\n", rounds);
    xcb_disconnect(x);
    return 0;
}
