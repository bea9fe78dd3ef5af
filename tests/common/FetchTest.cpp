#include "common/Fetch.h"
#include "LoopbackHttpServer.h"
#include "common/ShowCheck.h"
#include "common/TextCodec.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

class FetchTest : public testing::Test {
  protected:
    void SetUp() override {
        for (const char* name :
             {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"})
            qunsetenv(name);
    }

    // The one message a failed fetch shows.
    void expectDownloadFailure(const QString& url) {
        ASSERT_EQ(sink.records.size(), 1u);
        EXPECT_EQ(sink.records[0].text, QStringLiteral("ファイル %1 がダウンロードできません！").arg(url));
        EXPECT_EQ(sink.records[0].caption, QStringLiteral("ネットファイルの確認"));
        EXPECT_EQ(sink.records[0].style, 0);
    }

    static LoopbackHttpServer::Reply raw(const QByteArray& head, std::vector<QByteArray> pieces,
                                         int pauseMs = 0) {
        LoopbackHttpServer::Reply r;
        r.head = head;
        r.pieces = std::move(pieces);
        r.pauseMs = pauseMs;
        return r;
    }

    static double secondsSince(Clock::time_point start) {
        return std::chrono::duration<double>(Clock::now() - start).count();
    }

    RecordingCheckSink sink;
    ScopedCheckSink scoped{&sink};
    LoopbackHttpServer server;
};

TEST_F(FetchTest, ReadsCodePage932LinesAndAsksWithoutCache) {
    const QByteArray body = encodeCp932(QStringLiteral("ヴィモラ\\作品\r\n二行目"));
    server.serve("/anime.txt", body);
    QStringList lines{"stale"};
    EXPECT_EQ(fetchLines(server.url("/anime.txt"), lines), static_cast<uint32_t>(body.size()));
    EXPECT_EQ(lines, QStringList({QStringLiteral("ヴィモラ\\作品"), QStringLiteral("二行目")}));
    EXPECT_TRUE(sink.records.empty());
    ASSERT_EQ(server.requests().size(), 1u);
    const QByteArray request = server.requests()[0].toLower();
    EXPECT_TRUE(request.contains("user-agent: vimoraart")) << request.constData();
    EXPECT_TRUE(request.contains("cache-control: no-cache")) << request.constData();
}

TEST_F(FetchTest, LineEndsDoNotDependOnHowTheBodyArrives) {
    const struct {
        std::vector<QByteArray> pieces;
        QStringList lines;
    } cases[] = {
        {{"aaa\r\n\r\nbbb"}, {"aaa", "", "bbb"}},
        {{"aaa\n\nbbb"}, {"aaa", "bbb"}},
        {{"aaa\n\rbbb\r\r"}, {"aaa", "bbb"}},
        {{"aaa\r\nbbb\r\n"}, {"aaa", "bbb"}},
        {{"aaa\r\nlast line"}, {"aaa", "last line"}},
        // A CR LF pair split between two pieces is still one line end.
        {{"aaa\r", "\nbbb\r", "\n\r", "\nccc"}, {"aaa", "bbb", "", "ccc"}},
        {{"aaaa\n", "\nbbb"}, {"aaaa", "bbb"}},
    };
    int n = 0;
    for (const auto& c : cases) {
        const QString path = QStringLiteral("/lines%1.txt").arg(n++);
        QByteArray whole;
        for (const QByteArray& p : c.pieces)
            whole += p;
        server.serveRaw(
            path, raw("HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(whole.size()) + "\r\n\r\n",
                      c.pieces, 30));
        QStringList lines;
        EXPECT_EQ(fetchLines(server.url(path), lines), static_cast<uint32_t>(whole.size()))
            << whole.constData();
        EXPECT_EQ(lines, c.lines) << whole.constData();
    }
    EXPECT_TRUE(sink.records.empty());
}

TEST_F(FetchTest, ByteOrderMarkSelectsTheEncoding) {
    server.serve("/utf8.txt", "\xEF\xBB\xBF" + QStringLiteral("한국\r\nzwei").toUtf8());
    QStringList lines;
    ASSERT_GT(fetchLines(server.url("/utf8.txt"), lines), 0u);
    EXPECT_EQ(lines, QStringList({QStringLiteral("한국"), QStringLiteral("zwei")}));

    QByteArray utf16("\xFF\xFE", 2);
    for (QChar c : QStringLiteral("あ\ni\n")) {
        utf16.append(static_cast<char>(c.unicode() & 0xFF));
        utf16.append(static_cast<char>(c.unicode() >> 8));
    }
    server.serve("/utf16.txt", utf16);
    ASSERT_GT(fetchLines(server.url("/utf16.txt"), lines), 0u);
    EXPECT_EQ(lines, QStringList({QStringLiteral("あ"), QStringLiteral("i")}));
}

TEST_F(FetchTest, AnswersThatAreNotContentAreNotDownloadable) {
    const QByteArray page = "<html>an error page that is long enough</html>";
    const QByteArray length = "Content-Length: " + QByteArray::number(page.size()) + "\r\n\r\n";
    const struct {
        const char* name;
        QByteArray head;
        QByteArray body;
    } cases[] = {
        {"not found", "HTTP/1.1 404 Not Found\r\n" + length, page},
        {"forbidden", "HTTP/1.1 403 Forbidden\r\n" + length, page},
        {"server error", "HTTP/1.1 500 Internal Server Error\r\n" + length, page},
        {"'N' status text", "HTTP/1.1 203 Non-Authoritative Information\r\n" + length, page},
        {"six bytes", "HTTP/1.1 200 OK\r\nContent-Length: 6\r\n\r\n", "abcdef"},
        {"no length", "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n", page},
        {"chunked", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n", "8\r\nabcdefgh\r\n0\r\n\r\n"},
        {"above the limit", "HTTP/1.1 200 OK\r\nContent-Length: 300000000\r\n\r\n", page},
        {"absurd length", "HTTP/1.1 200 OK\r\nContent-Length: 99999999999999999999\r\n\r\n", page},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sink.records.clear();
        server.serveRaw("/x.txt", raw(c.head, {c.body}));
        QStringList lines{"stale"};
        EXPECT_EQ(fetchLines(server.url("/x.txt"), lines), 0u);
        EXPECT_TRUE(lines.isEmpty());
        expectDownloadFailure(server.url("/x.txt"));

        sink.records.clear();
        QByteArray data("untouched");
        EXPECT_EQ(fetchData(server.url("/x.txt"), data), 0u);
        EXPECT_EQ(data, "untouched");
        expectDownloadFailure(server.url("/x.txt"));
    }
}

TEST_F(FetchTest, DataEndsWithAZeroByte) {
    const QByteArray bmp("BM\x00\x01\x02\xFF\x00zz", 10);
    server.serve("/a.bmp", bmp, "image/bmp");
    QByteArray data;
    ASSERT_EQ(fetchData(server.url("/a.bmp"), data), 10u);
    EXPECT_EQ(data, bmp + QByteArray(1, '\0'));
}

TEST_F(FetchTest, LongBodyIsCutOrRefused) {
    QByteArray data;
    // Either the announced bytes alone or a refusal; never more than was announced.
    const struct {
        const char* path;
        QByteArray head;
        QByteArray body;
    } longer[] = {
        {"/long.bin", "HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n", "0123456789ABCDEFGHIJ"},
        {"/chunked.bin", "HTTP/1.1 200 OK\r\nContent-Length: 10\r\nTransfer-Encoding: chunked\r\n\r\n",
         "14\r\n0123456789ABCDEFGHIJ\r\n0\r\n\r\n"},
    };
    for (const auto& c : longer) {
        sink.records.clear();
        server.serveRaw(c.path, raw(c.head, {c.body}));
        data = "untouched";
        const uint32_t length = fetchData(server.url(c.path), data);
        if (length != 0) {
            EXPECT_EQ(length, 10u) << c.path;
            EXPECT_EQ(data, QByteArray("0123456789") + QByteArray(1, '\0')) << c.path;
        } else {
            EXPECT_EQ(data, "untouched") << c.path;
            expectDownloadFailure(server.url(c.path));
        }
    }
}

TEST_F(FetchTest, FollowsRedirects) {
    server.serve("/new.txt", "moved here\r\n");
    server.serveRaw("/old.txt",
                    raw("HTTP/1.1 302 Found\r\nLocation: /new.txt\r\nContent-Length: 0\r\n\r\n", {}));
    QStringList lines;
    EXPECT_EQ(fetchLines(server.url("/old.txt"), lines), 12u);
    EXPECT_EQ(lines, QStringList({"moved here"}));
}

TEST_F(FetchTest, ServerThatNeverAnswersEndsAfterAboutASecond) {
    LoopbackHttpServer::Reply silent;
    silent.silent = true;
    server.serveRaw("/never.txt", silent);
    const auto start = Clock::now();
    QStringList lines;
    EXPECT_EQ(fetchLines(server.url("/never.txt"), lines), 0u);
    const double took = secondsSince(start);
    EXPECT_GE(took, 0.9);
    EXPECT_LT(took, 2.5);
    expectDownloadFailure(server.url("/never.txt"));
}

// A body that ends before its announced length, stalls, or is dripped and then cut is no whole
// file: the fetch fails with the download message instead of passing a part for the whole.
TEST_F(FetchTest, BodyThatEndsEarlyOrStallsFails) {
    const struct {
        const char* path;
        LoopbackHttpServer::Reply reply;
    } cases[] = {
        {"/short.txt", raw("HTTP/1.1 200 OK\r\nContent-Length: 20\r\n\r\n", {"$a=1\r\n"})},
        {"/stall.txt", raw("HTTP/1.1 200 OK\r\nContent-Length: 16\r\n\r\n", {"$a=1\r\n", "never seen"}, 4000)},
        {"/drip.txt", raw("HTTP/1.1 200 OK\r\nContent-Length: 40\r\n\r\n", {"$", "a", "=", "1", "\r\n"}, 400)},
        {"/cut-chunks.txt", raw("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n", {"6\r\n$a=1\r\n\r\n"})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        sink.records.clear();
        server.serveRaw(c.path, c.reply);
        const auto start = Clock::now();
        QStringList lines{"untouched"};
        EXPECT_EQ(fetchLines(server.url(c.path), lines), 0u);
        EXPECT_LT(secondsSince(start), 4.5);
        EXPECT_TRUE(lines.isEmpty());
        expectDownloadFailure(server.url(c.path));
    }
}

TEST_F(FetchTest, RefusedConnectionIsReported) {
    const QString url = QStringLiteral("http://127.0.0.1:%1/a.txt").arg(LoopbackHttpServer::unusedPort());
    const auto start = Clock::now();
    QStringList lines;
    EXPECT_EQ(fetchLines(url, lines), 0u);
    EXPECT_LT(secondsSince(start), 1.5);
    expectDownloadFailure(url);
}

TEST(FetchLocation, HttpAndHttpsInAnyCase) {
    const struct {
        const char* location;
        bool fetched;
    } cases[] = {
        {"http://a/b", true},   {"HTTPS://a/b", true}, {"Http:x", true},     {"ftp://a/b", false},
        {"/home/http:", false}, {"htt", false},        {"file:///x", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isHttpLocation(c.location), c.fetched) << c.location;
}

} // namespace
