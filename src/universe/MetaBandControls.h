// The controls both metadata bands show, the tree window's and the database view's: the signal
// panel, PanelMus, PanelTour, ▲, PanelTm, ▼ and ■ in a row, and the tour's progress box. Built
// here once, so that their texts, colours and hints are one copy; each band connects them.
#pragma once

#include <QMargins>

class QLabel;
class QPushButton;
class QWidget;

struct MetaBandControls {
    // The tour's progress box, centred over its parent's top at this size.
    static constexpr int kBoxWidth = 400, kBoxHeight = 40;

    QLabel* PanelSignal = nullptr;
    QLabel* PanelMus = nullptr;
    QLabel* PanelTour = nullptr;
    QLabel* PanelTm = nullptr; // the tour's speed, empty until the band shows it
    QPushButton* btnSlower = nullptr;
    QPushButton* btnFaster = nullptr;
    QPushButton* btnStop = nullptr;
    QWidget* tourBox = nullptr; // hidden, a child of the box's parent
    QLabel* PanelMsg = nullptr;
    QLabel* PanelCount = nullptr;

    // Lays the row out in `band` (controls `height` pixels high, the row's `margins`) and makes
    // the hidden tour box a child of `boxParent`. Cost: the widgets.
    static MetaBandControls build(QWidget& band, int height, QMargins margins, QWidget& boxParent);
};
