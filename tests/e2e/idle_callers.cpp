// Opens a number of connections to a Unix-domain socket, says nothing on any of them and holds
// them until it is killed, the way a misbehaving process of the same user could.
// Usage: idle_callers <socket path> <connections>. Prints "holding <n>" once all are connected.

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

double secondsSince(const timespec &start) {
    timespec now;
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec - start.tv_sec) + double(now.tv_nsec - start.tv_nsec) / 1e9;
}

} // namespace

int main(int argc, char *argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <socket path> <connections>\n", argv[0]);
        return 2;
    }
    sockaddr_un to = {};
    to.sun_family = AF_UNIX;
    if (std::strlen(argv[1]) >= sizeof to.sun_path) return 2;
    std::strcpy(to.sun_path, argv[1]);
    const int count = std::atoi(argv[2]);

    // The default soft limit of 1024 descriptors is below what a flood needs.
    rlimit files;
    ::getrlimit(RLIMIT_NOFILE, &files);
    const rlim_t wanted = rlim_t(count) + 64;
    if (files.rlim_cur < wanted && wanted <= files.rlim_max) {
        files.rlim_cur = wanted;
        ::setrlimit(RLIMIT_NOFILE, &files);
    }

    timespec start;
    ::clock_gettime(CLOCK_MONOTONIC, &start);
    for (int i = 0; i < count; ++i) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0) {
            std::fprintf(stderr, "socket %d: %s\n", i, std::strerror(errno));
            return 1;
        }
        // A full queue of waiting callers says "try again" until the listener takes some.
        while (::connect(fd, reinterpret_cast<sockaddr *>(&to), sizeof to) != 0) {
            if (errno != EAGAIN || secondsSince(start) > 30) {
                std::fprintf(stderr, "connect %d: %s\n", i, std::strerror(errno));
                return 1;
            }
            ::poll(nullptr, 0, 1);
        }
    }
    std::printf("holding %d\n", count);
    std::fflush(stdout);
    for (;;)
        ::pause();
}
