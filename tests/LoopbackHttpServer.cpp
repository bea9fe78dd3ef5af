#include "LoopbackHttpServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <chrono>
#include <cstring>

namespace {

int listenOn(int port, int* boundPort) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    const int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(static_cast<uint16_t>(port));
    socklen_t len = sizeof addr;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(fd, 16) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
        ::close(fd);
        return -1;
    }
    *boundPort = ntohs(addr.sin_port);
    return fd;
}

bool sendAll(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::send(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done), MSG_NOSIGNAL);
        if (n <= 0) return false;
        done += n;
    }
    return true;
}

} // namespace

LoopbackHttpServer::LoopbackHttpServer() {
    listenFd_ = listenOn(0, &port_);
    if (listenFd_ < 0 || ::pipe2(wakePipe_, O_CLOEXEC) != 0) return;
    thread_ = std::thread([this] { run(); });
}

LoopbackHttpServer::~LoopbackHttpServer() {
    stopping_ = true;
    if (wakePipe_[1] >= 0) (void)!::write(wakePipe_[1], "x", 1);
    if (thread_.joinable()) thread_.join();
    for (int fd : held_)
        ::close(fd);
    for (int fd : {listenFd_, wakePipe_[0], wakePipe_[1]})
        if (fd >= 0) ::close(fd);
}

void LoopbackHttpServer::serve(const QString& path, const QByteArray& body, const QByteArray& contentType) {
    Reply reply;
    reply.head = "HTTP/1.1 200 OK\r\nContent-Type: " + contentType +
                 "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n";
    reply.pieces = {body};
    serveRaw(path, reply);
}

void LoopbackHttpServer::serveRaw(const QString& path, const Reply& reply) {
    std::lock_guard lock(mutex_);
    replies_[path.toUtf8()] = reply;
}

QString LoopbackHttpServer::url(const QString& path) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(port_).arg(path);
}

std::vector<QByteArray> LoopbackHttpServer::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

int LoopbackHttpServer::unusedPort() {
    int port = 0;
    const int fd = listenOn(0, &port);
    if (fd >= 0) ::close(fd); // nothing listens there any more
    return port;
}

void LoopbackHttpServer::run() {
    while (!stopping_) {
        pollfd fds[2] = {{listenFd_, POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) continue;
        if (fds[1].revents || stopping_) return;
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd >= 0) answer(fd);
    }
}

void LoopbackHttpServer::answer(int fd) {
    // A client that stops reading must not hold the server (and the test's end) forever.
    const timeval sendLimit{5, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &sendLimit, sizeof sendLimit);
    // Read the request head (at most 64 KiB; the rest of a larger one is ignored).
    QByteArray head;
    char buf[4096];
    while (!head.contains("\r\n\r\n") && head.size() < 65536) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 2000) <= 0) break;
        const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
        if (n <= 0) break;
        head.append(buf, n);
    }
    const qsizetype lineEnd = head.indexOf("\r\n");
    const QList<QByteArray> words = head.left(lineEnd < 0 ? head.size() : lineEnd).split(' ');
    const QByteArray path = words.size() >= 2 ? words[1] : QByteArray();
    Reply reply;
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(head.left(head.indexOf("\r\n\r\n")));
        const auto it = replies_.find(path);
        if (it != replies_.end()) {
            reply = it->second;
        } else {
            const QByteArray body = "<html>missing</html>";
            reply.head = "HTTP/1.1 404 Not Found\r\nContent-Length: " + QByteArray::number(body.size()) +
                         "\r\nConnection: close\r\n\r\n";
            reply.pieces = {body};
        }
    }
    if (reply.silent) {
        std::lock_guard lock(mutex_);
        held_.push_back(fd);
        return;
    }
    bool ok = sendAll(fd, reply.head);
    for (size_t i = 0; ok && i < reply.pieces.size(); ++i) {
        if (i > 0 && reply.pauseMs > 0) {
            // Pause, but wake at once when the server stops.
            pollfd p{wakePipe_[0], POLLIN, 0};
            if (::poll(&p, 1, reply.pauseMs) > 0) break;
        }
        ok = sendAll(fd, reply.pieces[i]);
    }
    ::shutdown(fd, SHUT_WR);
    ::close(fd);
}
