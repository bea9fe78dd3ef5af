// The frame stream: every frame written in order with its own picture (the producer reuses one
// picture), both formats, and a failed file that stops the stream and is named.
#include "TestSupport.h"
#include "common/FrameSequenceWriter.h"

#include <QDir>
#include <QImage>
#include <gtest/gtest.h>

namespace {

TEST(FrameSequenceWriterTest, WritesEachFrameAsItWasWhenPushed) {
    for (const auto format : {FrameSequenceWriter::Format::Png, FrameSequenceWriter::Format::Bmp}) {
        TempFolder folder;
        const QString ext = FrameSequenceWriter::extension(format);
        {
            FrameSequenceWriter writer(folder.path(), format);
            QImage picture(8, 4, QImage::Format_RGB32);
            // More frames than the queue holds, each drawn into the same picture right after its push.
            for (int i = 0; i < int(FrameSequenceWriter::kQueueLimit) * 3; ++i) {
                picture.fill(qRgb(i, 255 - i, 7));
                ASSERT_TRUE(writer.push(picture));
            }
            ASSERT_TRUE(writer.finish());
        }
        const QStringList written = QDir(folder.path()).entryList(QDir::Files, QDir::Name);
        ASSERT_EQ(written.size(), int(FrameSequenceWriter::kQueueLimit) * 3) << ext.toStdString();
        EXPECT_EQ(written.first(), "000001." + ext);
        for (int i = 0; i < written.size(); ++i)
            EXPECT_EQ(QImage(folder.file(written[i])).pixel(3, 2), qRgb(i, 255 - i, 7)) << written[i].toStdString();
    }
}

TEST(FrameSequenceWriterTest, OwnPngEncoderReadsBackPixelForPixel) {
    for (const QSize size : {QSize(1, 1), QSize(3, 2), QSize(641, 17)}) {
        QImage picture(size, QImage::Format_RGB32);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x) picture.setPixel(x, y, qRgb(x * 7, y * 13, (x ^ y) & 0xFF));
        QImage back;
        ASSERT_TRUE(back.loadFromData(FrameSequenceWriter::encodePng(picture), "PNG")) << size.width();
        EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), picture) << size.width();
    }
    EXPECT_TRUE(FrameSequenceWriter::encodePng(QImage()).isEmpty());
}

TEST(FrameSequenceWriterTest, AFileThatCannotBeWrittenStopsTheStreamAndIsNamed) {
    TempFolder folder;
    QDir(folder.path()).mkdir("000003.png"); // a folder where the third frame should go
    FrameSequenceWriter writer(folder.path(), FrameSequenceWriter::Format::Png);
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    bool refused = false;
    for (int i = 0; i < 40 && !refused; ++i) refused = !writer.push(picture);
    EXPECT_FALSE(writer.finish());
    EXPECT_EQ(writer.failedPath(), folder.file("000003.png"));
    EXPECT_FALSE(writer.push(picture)) << "nothing is accepted after a failed frame";
    EXPECT_TRUE(QFile::exists(folder.file("000002.png")));
}

} // namespace
