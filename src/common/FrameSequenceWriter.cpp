#include "FrameSequenceWriter.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>

#include <zlib.h>

#include <array>
#include <vector>

namespace {

void putBigEndian(QByteArray& out, uint32_t v) {
    const char bytes[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    out.append(bytes, 4);
}

void putChunk(QByteArray& out, const char* type, const QByteArray& data) {
    putBigEndian(out, uint32_t(data.size()));
    const qsizetype start = out.size();
    out.append(type, 4);
    out.append(data);
    putBigEndian(out, uint32_t(crc32(0, reinterpret_cast<const Bytef*>(out.constData() + start), uInt(out.size() - start))));
}

} // namespace

QByteArray FrameSequenceWriter::encodePng(const QImage& frame) {
    const QImage rgb = frame.format() == QImage::Format_RGB32 ? frame : frame.convertToFormat(QImage::Format_RGB32);
    const int width = rgb.width(), height = rgb.height();
    if (width <= 0 || height <= 0) return {};
    // Each row with the "Sub" filter (the difference to the pixel on the left): runs of one colour,
    // which frames are mostly made of, become runs of zeros that the fastest level packs well.
    const size_t rowBytes = 1 + size_t(width) * 3;
    std::vector<unsigned char> raw(rowBytes * size_t(height));
    for (int y = 0; y < height; ++y) {
        const QRgb* source = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        unsigned char* out = raw.data() + size_t(y) * rowBytes;
        *out++ = 1;
        std::array<unsigned char, 3> left{0, 0, 0};
        for (int x = 0; x < width; ++x) {
            const std::array<unsigned char, 3> c{uchar(qRed(source[x])), uchar(qGreen(source[x])), uchar(qBlue(source[x]))};
            for (int j = 0; j < 3; ++j) *out++ = uchar(c[j] - left[j]);
            left = c;
        }
    }
    uLongf packedSize = compressBound(uLong(raw.size()));
    QByteArray packed(qsizetype(packedSize), Qt::Uninitialized);
    if (compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize, raw.data(), uLong(raw.size()), kPngLevel) != Z_OK)
        return {};
    packed.truncate(qsizetype(packedSize));
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    QByteArray header;
    putBigEndian(header, uint32_t(width));
    putBigEndian(header, uint32_t(height));
    header.append("\x08\x02\x00\x00\x00", 5); // 8 bits, truecolour, deflate, filtered, not interlaced
    putChunk(png, "IHDR", header);
    putChunk(png, "IDAT", packed);
    putChunk(png, "IEND", {});
    return png;
}

FrameSequenceWriter::FrameSequenceWriter(QString folder, Format format)
    : folder_(std::move(folder)), format_(format), worker_([this] { work(); }) {}

FrameSequenceWriter::~FrameSequenceWriter() {
    finish();
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    worker_.join();
}

const char* FrameSequenceWriter::extension(Format format) { return format == Format::Png ? "png" : "bmp"; }

QString FrameSequenceWriter::pathOf(int number) const {
    return QStringLiteral("%1/%2.%3").arg(folder_).arg(number, 6, 10, QChar(u'0')).arg(extension(format_));
}

bool FrameSequenceWriter::push(const QImage& frame) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return queue_.size() < kQueueLimit || !failedPath_.isEmpty(); });
    if (!failedPath_.isEmpty()) return false;
    // A deep copy: the producer draws the next frame into the same picture at once.
    queue_.emplace_back(++pushed_, frame.copy());
    changed_.notify_all();
    return true;
}

bool FrameSequenceWriter::finish() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return (queue_.empty() && !busy_) || !failedPath_.isEmpty(); });
    return failedPath_.isEmpty();
}

QString FrameSequenceWriter::failedPath() const {
    std::lock_guard lock(mutex_);
    return failedPath_;
}

void FrameSequenceWriter::work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
        if (queue_.empty()) return; // stopping with nothing left
        auto [number, frame] = std::move(queue_.front());
        queue_.pop_front();
        busy_ = true;
        changed_.notify_all(); // room in the queue
        lock.unlock();
        const bool ok = writeOne(number, frame);
        lock.lock();
        busy_ = false;
        if (!ok && failedPath_.isEmpty()) {
            failedPath_ = pathOf(number);
            queue_.clear(); // nothing after a failed frame is worth writing
        }
        changed_.notify_all();
    }
}

bool FrameSequenceWriter::writeOne(int number, const QImage& frame) {
    QByteArray bytes;
    if (format_ == Format::Png) {
        bytes = encodePng(frame);
    } else {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!QImageWriter(&buffer, "bmp").write(frame)) return false;
    }
    if (bytes.isEmpty()) return false;
    QFile file(pathOf(number));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    const bool written = file.write(bytes) == bytes.size();
    file.close();
    return written && file.error() == QFileDevice::NoError;
}
