#include "WorkWindowLink.h"

#include "ListLayout.h"
#include "work/KestoGeometry.h"
#include "work/KestoTitlePlate.h"

bool WorkWindowLink::plateVisible() const {
    const KestoTitlePlate* plate = window_->titlePlate();
    return plate && plate->isVisible();
}

void WorkWindowLink::hidePlate() {
    if (KestoTitlePlate* plate = window_->titlePlate()) plate->hide();
}

void WorkWindowLink::placeCentred(bool clearOfWorks) {
    const QWidget* area = window_->parentWidget();
    if (!area || window_->isFloating()) return;
    const KestoTitlePlate* plate = window_->titlePlate();
    QPoint at = ListLayout::growPlace(area->size(), window_->size(), kesto::kLeftOffset, plate ? plate->height() : 0);
    if (clearOfWorks)
        at.setX(kesto::clearOfWorksPanel(at.x(), window_->width(), area->width(), window_->host().worksPanelRect()));
    window_->move(at);
}
