// Opens connections to a Unix-domain socket, says nothing on any of them and holds them until
// it is killed, as a misbehaving process of the same user could.
// Usage: idle_callers <socket path> <connections>; prints "holding <n>" once all are connected.

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

int main(int argc, char *argv[]) {
    sockaddr_un to = {};
    to.sun_family = AF_UNIX;
    if (argc != 3 || std::strlen(argv[1]) >= sizeof to.sun_path) return 2;
    std::strcpy(to.sun_path, argv[1]);
    const int count = std::atoi(argv[2]);
    // The usual soft limit of 1024 descriptors is too low for a flood.
    rlimit files;
    ::getrlimit(RLIMIT_NOFILE, &files);
    files.rlim_cur = std::min<rlim_t>(files.rlim_max, rlim_t(count) + 64);
    ::setrlimit(RLIMIT_NOFILE, &files);

    for (int i = 0; i < count; ++i) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        // A full queue says "try again" until the listener has taken some.
        int tries = 0, result;
        while ((result = ::connect(fd, reinterpret_cast<sockaddr *>(&to), sizeof to)) != 0 &&
               errno == EAGAIN && ++tries < 10000)
            ::poll(nullptr, 0, 1);
        if (result != 0) {
            std::fprintf(stderr, "connection %d: %s\n", i, std::strerror(errno));
            return 1;
        }
    }
    std::printf("holding %d\n", count);
    std::fflush(stdout);
    for (;;)
        ::pause();
}
