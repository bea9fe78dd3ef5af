#include "ProgressStrip.h"

void ProgressStrip::start(const QString& message, int alignment, int hostWidth) {
    breakFlag_ = false;
    message_ = message;
    alignment_ = Qt::AlignVCenter | (alignment == 0 ? Qt::AlignHCenter : alignment == 1 ? Qt::AlignLeft : Qt::AlignRight);
    rect_ = QRect((hostWidth - kWidth) / 2, kTop, kWidth, kHeight);
}
