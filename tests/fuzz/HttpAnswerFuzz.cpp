// The download of a program, data or picture on arbitrary answers of a loopback server: status
// lines, headers, lengths, chunking and encodings as a server may send them, then the end of the
// connection. Any crash, hang or sanitizer report, or a body other than the announced length, is
// a fault.
#include "LoopbackHttpServer.h"
#include "common/Fetch.h"
#include "common/ShowCheck.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

class QuietSink : public CheckSink {
public:
    int show(const QString&, const QString&, int) override { return 0; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QuietSink sink;
    static LoopbackHttpServer server;
    setCheckSink(&sink);
    LoopbackHttpServer::Reply reply;
    reply.head = QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    server.serveRaw(QStringLiteral("/answer"), reply);
    QByteArray body;
    const uint32_t length = fetchData(server.url(QStringLiteral("/answer")), body);
    if (length != 0 && body.size() != qsizetype(length) + 1) std::abort();
    QStringList lines;
    fetchLines(server.url(QStringLiteral("/answer")), lines);
    return 0;
}
