// A tiny HTTP/1.1 server on 127.0.0.1 for tests of anything that fetches: it serves given paths
// with given bodies, or with raw answers whose head, pieces and pauses the test controls
// (wrong lengths, stalls, split line ends, error pages). Runs on its own thread with plain
// sockets; one connection at a time, each closed after its answer.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <atomic>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

class LoopbackHttpServer {
  public:
    // A raw answer: `head` is sent as it is (status line and headers, ending with an empty line),
    // then each piece of `pieces`, with `pauseMs` between pieces. `silent` accepts the request and
    // never answers (the connection stays open until the client gives up or the server stops).
    struct Reply {
        QByteArray head;
        std::vector<QByteArray> pieces;
        int pauseMs = 0;
        bool silent = false;
    };

    // Starts listening on a free port. Cost: one thread.
    LoopbackHttpServer();
    // Stops the thread and closes every connection.
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    // Serves `body` at `path` with 200 OK and a Content-Length.
    void serve(const QString& path, const QByteArray& body, const QByteArray& contentType = "text/plain");
    // Serves a raw answer at `path`.
    void serveRaw(const QString& path, const Reply& reply);

    // "http://127.0.0.1:<port><path>"; path begins with "/".
    QString url(const QString& path) const;
    int port() const { return port_; }
    // The raw request heads received so far (request line and headers).
    std::vector<QByteArray> requests() const;

    // A port on 127.0.0.1 on which nothing listens (a connection there is refused).
    static int unusedPort();

  private:
    void run();
    void answer(int fd);

    int listenFd_ = -1;
    int wakePipe_[2] = {-1, -1};
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    mutable std::mutex mutex_;
    std::map<QByteArray, Reply> replies_;
    std::vector<QByteArray> requests_;
    std::vector<int> held_; // connections of silent answers, closed when the server stops
    std::thread thread_;
};
