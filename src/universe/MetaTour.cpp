#include "MetaTour.h"

#include <algorithm>
#include <climits>

void MetaTour::toggle(MetaTourView& view) {
    if (state_ != 0) {
        stop(view);
        return;
    }
    state_ = 2;
    countdown_ = kFirstStepTicks;
    view.beginTour();
    view.showTourBox(true);
}

void MetaTour::stop(MetaTourView& view) {
    view.showTourBox(false);
    view.closePage();
    state_ = 0;
    view.tourEnded(false);
}

void MetaTour::tick(MetaTourView& view) {
    if (state_ != 0) step(view);
    if (hover_ > 1) --hover_;
}

void MetaTour::step(MetaTourView& view) {
    if (countdown_ < 1) return;
    if (--countdown_ == 0) {
        view.closePage();
        if (view.atLast()) {
            view.showTourBox(false);
            state_ = 0;
            view.tourEnded(true);
            return;
        }
        // The first step shows the node where the tour began.
        view.moveOn(state_ == 1);
        state_ = 1;
        const metaInfo* meta = view.currentMeta();
        if (!meta || meta->errors != 0) {
            countdown_ = kPassTicks;
        } else {
            // A huge dwell factor keeps the page open as long as a count can.
            countdown_ = dwellCounts_ ? int(std::min<int64_t>(int64_t(meta->dwell) * speed_, INT_MAX)) : speed_;
            view.openCurrentPage();
        }
    }
    view.tourProgress(QStringLiteral("　　メタデータのツアー...%1...").arg(countdown_ / 10, 2), view.currentName());
}
