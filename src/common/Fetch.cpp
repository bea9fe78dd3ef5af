#include "Fetch.h"

#include "CurlLibrary.h"
#include "Settings.h"
#include "ShowCheck.h"
#include "TextCodec.h"

#include <QUrl>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <new>

namespace {

using Clock = std::chrono::steady_clock;

constexpr long kConnectMs = 1000;
constexpr auto kReceiveIdle = std::chrono::milliseconds(1000);
// A server that drips a few bytes a second would otherwise hold the user interface for hours.
constexpr long kTransferMs = 300000;
constexpr long kDripBytesPerSecond = 1024;
constexpr long kDripSeconds = 10;
constexpr int kStatusTextMax = 40;

void showDownloadFailure(const QString& url) {
    showCheck(QStringLiteral("ファイル %1 がダウンロードできません！").arg(url),
              QStringLiteral("ネットファイルの確認"), 0);
}

// One transfer: what the callbacks learn and keep. The body is bounded by the announced length,
// so no answer makes it grow beyond kFetchLimit + 1 bytes.
struct Transfer {
    const CurlLibrary* curl = nullptr;
    CURL* easy = nullptr;
    bool zeroFilled = false; // fetchData: the buffer is announced + 1 zero bytes from the start
    bool answered = false;   // a status line arrived
    bool checked = false;
    bool accepted = false;
    bool tooLong = false;
    QByteArray statusText;
    int64_t announced = 0;
    QByteArray body;
    qsizetype received = 0;
    Clock::time_point lastData = Clock::now();

    // The answer's checks, run once the headers are complete: a 2xx status whose text does not
    // begin with 'N', and an announced length of 7 bytes up to kFetchLimit.
    void check() {
        checked = true;
        long status = 0;
        curl_off_t length = -1;
        curl->easyGetinfo(easy, CURLINFO_RESPONSE_CODE, &status);
        curl->easyGetinfo(easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
        if (status < 200 || status > 299 || statusText.startsWith('N')) return;
        if (length < 7 || length > static_cast<curl_off_t>(kFetchLimit)) return;
        announced = length;
        try {
            if (zeroFilled)
                body = QByteArray(static_cast<qsizetype>(announced) + 1, '\0');
            else
                body.reserve(static_cast<qsizetype>(announced));
        } catch (const std::bad_alloc&) {
            memoryError(114);
        }
        accepted = true;
    }
};

size_t onHeader(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    const size_t n = size * count;
    t->lastData = Clock::now();
    const QByteArray line = QByteArray::fromRawData(data, static_cast<qsizetype>(n)).trimmed();
    if (line.startsWith("HTTP/")) {
        // A new answer (after a redirect or an interim 1xx) replaces what the previous one said.
        t->answered = true;
        const qsizetype codeEnd = line.indexOf(' ', line.indexOf(' ') + 1);
        t->statusText = codeEnd < 0 ? QByteArray() : line.mid(codeEnd + 1).left(kStatusTextMax);
    }
    return n;
}

size_t onBody(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    const size_t n = size * count;
    t->lastData = Clock::now();
    if (!t->checked) t->check();
    if (!t->accepted) return 0; // ends the transfer; the answer has been judged already
    if (static_cast<int64_t>(n) > t->announced - t->received) {
        t->tooLong = true;
        return 0;
    }
    if (t->zeroFilled)
        std::memcpy(t->body.data() + t->received, data, n);
    else
        t->body.append(data, static_cast<qsizetype>(n));
    t->received += static_cast<qsizetype>(n);
    return n;
}

// True when the environment names a proxy, so that a second attempt through it can differ from
// the direct one.
bool environmentHasProxy() {
    for (const char* name :
         {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"})
        if (!qEnvironmentVariableIsEmpty(name)) return true;
    return false;
}

// Sets the options of one attempt. A time-out that cannot be set is reported and the attempt
// goes on without it; the other options are quiet (a transfer then simply fails).
void configure(Transfer& t, const QByteArray& url, bool direct, curl_slist* headers) {
    const CurlLibrary* curl = t.curl;
    CURL* e = t.easy;
    if (curl->easySetopt(e, CURLOPT_CONNECTTIMEOUT_MS, kConnectMs) != CURLE_OK)
        showCheck(QStringLiteral("設定できません！"),
                  QStringLiteral("インターネットへの接続のタイムアウト時間を設定"), 0);
    if (curl->easySetopt(e, CURLOPT_LOW_SPEED_LIMIT, kDripBytesPerSecond) != CURLE_OK ||
        curl->easySetopt(e, CURLOPT_LOW_SPEED_TIME, kDripSeconds) != CURLE_OK ||
        curl->easySetopt(e, CURLOPT_TIMEOUT_MS, kTransferMs) != CURLE_OK)
        showCheck(QStringLiteral("設定できません！"),
                  QStringLiteral("インターネットへのデータの受信要求のタイムアウト時間設定"), 0);
    curl->easySetopt(e, CURLOPT_URL, url.constData());
    curl->easySetopt(e, CURLOPT_USERAGENT, "vimoraArt");
    curl->easySetopt(e, CURLOPT_HTTPHEADER, headers);
    curl->easySetopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
    curl->easySetopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl->easySetopt(e, CURLOPT_FOLLOWLOCATION, 1L);
    curl->easySetopt(e, CURLOPT_MAXREDIRS, 8L);
    curl->easySetopt(e, CURLOPT_NOSIGNAL, 1L);
    curl->easySetopt(e, CURLOPT_FORBID_REUSE, 1L);
    if (direct) curl->easySetopt(e, CURLOPT_PROXY, "");
    curl->easySetopt(e, CURLOPT_HEADERFUNCTION, onHeader);
    curl->easySetopt(e, CURLOPT_HEADERDATA, &t);
    curl->easySetopt(e, CURLOPT_WRITEFUNCTION, onBody);
    curl->easySetopt(e, CURLOPT_WRITEDATA, &t);
}

// Runs the transfer, ending it when no byte has arrived for a second after the connection was
// made (the connection itself is bounded by the connect time-out).
CURLcode runTransfer(Transfer& t) {
    const CurlLibrary* curl = t.curl;
    CURLM* multi = curl->multiInit();
    if (!multi) return CURLE_OUT_OF_MEMORY;
    curl->multiAddHandle(multi, t.easy);
    CURLcode result = CURLE_OPERATION_TIMEDOUT;
    const Clock::time_point started = Clock::now();
    bool finished = false;
    bool connected = false;
    for (;;) {
        int running = 0;
        if (curl->multiPerform(multi, &running) != CURLM_OK) {
            result = CURLE_FAILED_INIT;
            break;
        }
        int queued = 0;
        while (CURLMsg* msg = curl->multiInfoRead(multi, &queued)) {
            if (msg->msg == CURLMSG_DONE) {
                result = msg->data.result;
                finished = true;
            }
        }
        if (finished || running == 0) break;
        if (!connected) {
            curl_off_t pretransfer = 0;
            curl->easyGetinfo(t.easy, CURLINFO_PRETRANSFER_TIME_T, &pretransfer);
            if (pretransfer > 0) {
                connected = true;
                t.lastData = std::max(t.lastData, Clock::now());
            }
        }
        const Clock::time_point now = Clock::now();
        if (connected && now - t.lastData > kReceiveIdle) break;
        // Should the moment of the connection never be reported, the two time-outs together
        // still bound the wait.
        if (!connected && now - started > std::chrono::milliseconds(kConnectMs) + kReceiveIdle) break;
        curl->multiPoll(multi, nullptr, 0, 50, nullptr);
    }
    curl->multiRemoveHandle(multi, t.easy);
    curl->multiCleanup(multi);
    return result;
}

enum class Opening { NoHandle, UrlFailed, Opened };

// Fetches `url` into `t` (direct, then through the environment's proxy). Returns the announced
// length, or 0 after the failure has been shown.
uint32_t fetchInto(const QString& url, Transfer& t) {
    const CurlLibrary* curl = curlLibrary();
    if (!curl) {
        // Without the HTTP library no handle can be had, as when the system refuses one.
        showCheck(QStringLiteral("ネットハンドルが取得できませんん！"), QStringLiteral("ネットの確認"), 0);
        return 0;
    }
    const QByteArray encoded = QUrl(url, QUrl::TolerantMode).toEncoded();
    curl_slist* headers = curl->slistAppend(nullptr, "Cache-Control: no-cache");
    headers = curl->slistAppend(headers, "Pragma: no-cache");
    const int attempts = environmentHasProxy() ? 2 : 1;
    Opening last = Opening::NoHandle;
    bool anyHandle = false;
    CURLcode result = CURLE_OK;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        if (t.easy) curl->easyCleanup(t.easy);
        const bool zeroFilled = t.zeroFilled;
        t = Transfer();
        t.curl = curl;
        t.zeroFilled = zeroFilled;
        t.easy = curl->easyInit();
        if (!t.easy) {
            last = Opening::NoHandle;
            continue;
        }
        anyHandle = true;
        configure(t, encoded, attempt == 0, headers);
        result = runTransfer(t);
        last = t.answered ? Opening::Opened : Opening::UrlFailed;
        if (last == Opening::Opened) break;
    }
    curl->slistFreeAll(headers);
    if (t.easy) {
        if (t.answered && !t.checked) t.check(); // an answer without a body
        curl->easyCleanup(t.easy);
        t.easy = nullptr;
    }
    if (last == Opening::NoHandle) {
        if (!anyHandle)
            showCheck(QStringLiteral("ネットハンドルが取得できませんん！"), QStringLiteral("ネットの確認"),
                      0);
        else
            showCheck(QStringLiteral("ネットに接続していません！"), QStringLiteral("ネット接続の確認"), 0);
        return 0;
    }
    // Only a whole body counts: one that ends early (closed, cut or stalled) would pass for a
    // complete program, data or picture, and one that runs past its announced length cannot be
    // trusted at all.
    const bool whole = result == CURLE_OK && t.received == t.announced;
    if (!t.accepted || t.tooLong || !whole) {
        showDownloadFailure(url);
        return 0;
    }
    return static_cast<uint32_t>(t.announced);
}

// Cuts the text at every CR or LF; a line end followed directly by another CR or LF is one
// line end (CR LF, LF CR, CR CR, LF LF), and a non-empty rest is the last line. Working on the
// whole text makes the result independent of how the body arrived in pieces.
QStringList splitFetchedLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    auto isEnd = [](QChar c) { return c == u'\r' || c == u'\n'; };
    for (qsizetype i = 0; i < n; ++i) {
        if (!isEnd(text[i])) continue;
        lines.append(text.mid(start, i - start));
        if (i + 1 < n && isEnd(text[i + 1])) ++i;
        start = i + 1;
    }
    if (start < n) lines.append(text.mid(start));
    return lines;
}

} // namespace

bool isHttpLocation(const QString& location) {
    return startsWithCaseless(location, u"http:") || startsWithCaseless(location, u"https:");
}

uint32_t fetchLines(const QString& url, QStringList& lines) {
    lines.clear();
    Transfer t;
    const uint32_t length = fetchInto(url, t);
    if (length == 0) return 0;
    lines = splitFetchedLines(decodeText(t.body));
    return length;
}

uint32_t fetchData(const QString& url, QByteArray& data) {
    Transfer t;
    t.zeroFilled = true;
    const uint32_t length = fetchInto(url, t);
    if (length == 0) return 0;
    data = std::move(t.body);
    return length;
}
