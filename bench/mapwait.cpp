// Starts a program on the X display of $DISPLAY and prints the milliseconds from the start
// until its first top-level window is mapped, then ends the program (SIGTERM, and SIGKILL
// when it has not gone within five seconds). The map is seen as the server's MapNotify on
// the root window, so no polling blurs the figure. Then, on the same line, the processor
// time the program had used by then, all its threads together (from Linux's
// /proc/PID/task/*/schedstat; "-" where that cannot be read): on a machine busy with other
// work the time to the window varies with the load, its processor time much less. A thread
// that has already ended is not counted: Linux keeps no exact time of it. Used by
// bench/startup.sh.
//
//   tavlon_mapwait PROGRAM [ARGUMENTS...]
#include <xcb/xcb.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

bool WaitForExit(pid_t pid, int seconds) {
    const auto until = Clock::now() + std::chrono::seconds(seconds);
    while (Clock::now() < until) {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return true;
        usleep(2000);
    }
    return false;
}

// Milliseconds of processor time that the threads of `pid` have run, or a negative number.
double ProcessorTime(pid_t pid) {
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    DIR* dir = opendir(tasks.c_str());
    if (!dir)
        return -1;
    unsigned long long total = 0;
    bool read = false;
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        const std::string path = tasks + '/' + entry->d_name + "/schedstat";
        if (std::FILE* f = std::fopen(path.c_str(), "r")) {
            unsigned long long ns = 0;
            if (std::fscanf(f, "%llu", &ns) == 1) {
                total += ns;
                read = true;
            }
            std::fclose(f);
        }
    }
    closedir(dir);
    return read ? static_cast<double>(total) / 1e6 : -1;
}

void End(pid_t pid) {
    kill(pid, SIGTERM);
    if (!WaitForExit(pid, 5)) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PROGRAM [ARGUMENTS...]\n", argv[0]);
        return 2;
    }
    // An X server resets when its last client goes, and refuses connections meanwhile:
    // the program of the last start has just ended.
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    for (int tries = 1; xcb_connection_has_error(x) != 0; ++tries) {
        xcb_disconnect(x);
        if (tries == 100) {
            std::fprintf(stderr, "cannot open the display\n");
            return 2;
        }
        usleep(20000);
        x = xcb_connect(nullptr, nullptr);
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    // Without a window manager every top-level window is a child of the root: its map is
    // reported to whoever listens for the root's substructure.
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_request_check(x, xcb_change_window_attributes_checked(x, root, XCB_CW_EVENT_MASK, &mask));

    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[1], argv + 1);
        std::perror(argv[1]);
        _exit(127);
    }
    if (pid < 0) {
        std::perror("fork");
        return 2;
    }
    pollfd watch{xcb_get_file_descriptor(x), POLLIN, 0};
    const auto deadline = start + std::chrono::seconds(30);
    for (;;) {
        while (xcb_generic_event_t* e = xcb_poll_for_event(x)) {
            const bool mapped = (e->response_type & 0x7F) == XCB_MAP_NOTIFY &&
                                reinterpret_cast<xcb_map_notify_event_t*>(e)->event == root;
            std::free(e);
            if (mapped) {
                const std::chrono::duration<double, std::milli> took = Clock::now() - start;
                const double cpu = ProcessorTime(pid);
                if (cpu >= 0)
                    std::printf("%.2f %.2f\n", took.count(), cpu);
                else
                    std::printf("%.2f -\n", took.count());
                End(pid);
                xcb_disconnect(x);
                return 0;
            }
        }
        if (waitpid(pid, nullptr, WNOHANG) == pid) {
            std::fprintf(stderr, "%s ended without showing a window\n", argv[1]);
            return 1;
        }
        if (Clock::now() > deadline) {
            std::fprintf(stderr, "%s showed no window within 30 s\n", argv[1]);
            End(pid);
            return 1;
        }
        poll(&watch, 1, 5);
    }
}
