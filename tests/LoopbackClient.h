#pragma once

// Plain blocking loopback clients for the service's tests and benchmarks: many
// connections cost a socket each and no thread.

#include <QByteArray>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace LoopbackClient {

// Opens up to `count` connections that send `start` and then wait. Connecting needs
// only the kernel, not the server's accepting.
inline std::vector<int> openConnections(quint16 port, int count, const QByteArray &start)
{
    std::vector<int> fds;
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    for (int i = 0; i < count; ++i) {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0)
            break;
        fds.push_back(fd);
        if (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0
            || ::send(fd, start.constData(), size_t(start.size()), MSG_NOSIGNAL) != start.size())
            break;
    }
    return fds;
}

// Reads until the server closes, or nothing came for 20 s.
inline QByteArray readToEnd(int fd)
{
    timeval limit = { 20, 0 };
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    QByteArray bytes;
    char buffer[65536];
    for (ssize_t got; (got = ::recv(fd, buffer, sizeof buffer, 0)) > 0;)
        bytes.append(buffer, qsizetype(got));
    return bytes;
}

} // namespace LoopbackClient
