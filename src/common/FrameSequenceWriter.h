// A stream of numbered pictures written to a folder while the producer goes on drawing: frames
// are encoded and written on a worker thread. Frames are a stream, not the user's documents, so
// each file is written in place without the atomic save's temporary file, rename and fsync.
#pragma once

#include <QImage>
#include <QString>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

class FrameSequenceWriter {
public:
    enum class Format { Png, Bmp };
    // Frames the producer may run ahead of the writer: bounds memory to this many pictures.
    static constexpr size_t kQueueLimit = 8;
    // The deflate level of PNG frames: the fastest, several times quicker than the image
    // library's default writer and still small for pictures of flat colour.
    static constexpr int kPngLevel = 1;

    // Writes frames as folder/000001.png, 000002.png, ... (or .bmp). The folder must exist.
    FrameSequenceWriter(QString folder, Format format);
    // Waits for the frames still queued (as finish()).
    ~FrameSequenceWriter();
    FrameSequenceWriter(const FrameSequenceWriter&) = delete;
    FrameSequenceWriter& operator=(const FrameSequenceWriter&) = delete;

    // Queues a copy of the next frame; blocks while kQueueLimit frames wait. False once a write
    // has failed (the frame is dropped). Cost: one picture copy.
    bool push(const QImage& frame);
    // Waits until every queued frame is written. True when all were; otherwise failedPath()
    // names the first file that could not be written. Cost: the queued frames' encoding.
    bool finish();
    // The first file that could not be written (empty while none failed). Thread-safe.
    QString failedPath() const;
    // A 24-bit PNG of the picture at kPngLevel; empty when it cannot be encoded. Cost: linear.
    static QByteArray encodePng(const QImage& frame);
    // The file name extension of a format ("png" or "bmp").
    static const char* extension(Format format);

private:
    void work();
    QString pathOf(int number) const;
    bool writeOne(int number, const QImage& frame);

    const QString folder_;
    const Format format_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::pair<int, QImage>> queue_;
    int pushed_ = 0;
    bool busy_ = false;    // the worker holds a frame taken from the queue
    bool stopping_ = false;
    QString failedPath_;
    std::thread worker_;
};
