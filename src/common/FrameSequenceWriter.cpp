#include "FrameSequenceWriter.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>

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
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, extension(format_));
        if (format_ == Format::Png) writer.setQuality(kPngQuality);
        if (!writer.write(frame)) return false;
    }
    QFile file(pathOf(number));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    const bool written = file.write(bytes) == bytes.size();
    file.close();
    return written && file.error() == QFileDevice::NoError;
}
