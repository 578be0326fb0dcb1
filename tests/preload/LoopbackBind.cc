// Preloaded into the software TNC the link tests start: it listens on every
// interface and keeps its pseudo-terminal's link at the fixed /tmp/kisstnc,
// which would reach beyond this machine and into other programs' runs. Here
// a listening socket on "any address" is bound to the loopback address
// instead, and the link goes where QUORVEL_KISSTNC_LINK says.
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

template <typename F> F real(const char* name) { return reinterpret_cast<F>(dlsym(RTLD_NEXT, name)); }

const char* redirected(const char* path) {
    const char* link = std::getenv("QUORVEL_KISSTNC_LINK");
    return link && path && std::strcmp(path, "/tmp/kisstnc") == 0 ? link : path;
}

} // namespace

extern "C" int bind(int fd, const sockaddr* addr, socklen_t len) {
    static auto next = real<int (*)(int, const sockaddr*, socklen_t)>("bind");
    if (addr && addr->sa_family == AF_INET && len >= sizeof(sockaddr_in)) {
        sockaddr_in a;
        std::memcpy(&a, addr, sizeof a);
        if (a.sin_addr.s_addr == htonl(INADDR_ANY)) {
            a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            return next(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a);
        }
    }
    if (addr && addr->sa_family == AF_INET6 && len >= sizeof(sockaddr_in6)) {
        sockaddr_in6 a;
        std::memcpy(&a, addr, sizeof a);
        if (std::memcmp(&a.sin6_addr, &in6addr_any, sizeof a.sin6_addr) == 0) {
            a.sin6_addr = in6addr_loopback;
            return next(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a);
        }
    }
    return next(fd, addr, len);
}

extern "C" int symlink(const char* target, const char* path) {
    static auto next = real<int (*)(const char*, const char*)>("symlink");
    return next(target, redirected(path));
}

extern "C" int unlink(const char* path) {
    static auto next = real<int (*)(const char*)>("unlink");
    return next(redirected(path));
}
