// The layout and break state of the progress strip (TFormDoing) of long file operations,
// without any window: the form applies what this computes.
#pragma once

#include <QRect>
#include <QString>
#include <qnamespace.h>
#include <utility>

class ProgressStrip {
public:
    static constexpr int kWidth = 600;
    static constexpr int kHeight = 40;
    static constexpr int kTop = 32;
    static constexpr int kRightWidth = 160; // count and break button
    static constexpr int kCountWidth = 100;

    // Starts showing a message: break flag cleared, the strip centred horizontally in a host of
    // `hostWidth` pixels at top 32. Alignment 0 centres the message, 1 puts it left, any other
    // value right. Cost: constant.
    void start(const QString& message, int alignment, int hostWidth);

    // A click on "中断".
    void requestBreak() { breakFlag_ = true; }
    // True once after each break request (the request is consumed).
    bool takeBreak() { return std::exchange(breakFlag_, false); }

    const QString& message() const { return message_; }
    Qt::Alignment alignment() const { return alignment_; }
    QRect rect() const { return rect_; }

private:
    QString message_;
    Qt::Alignment alignment_ = Qt::AlignCenter;
    QRect rect_{0, kTop, kWidth, kHeight};
    bool breakFlag_ = false;
};
