// What the Atelier's windows share in drawing their panels: colours are stored as 0x00BBGGRR
// values, as in the Atelier's data files.
#pragma once

#include "gallery/BgrColor.h"

#include <QColor>
#include <cstdint>

class QWidget;

// The colour of a 0x00BBGGRR value. Cost: constant.
inline QColor colourOf(uint32_t bgr) { return QColor(bgrToRgb(bgr)); }

// Fills the widget's background with the colour. Cost: constant.
void fillBackground(QWidget* widget, uint32_t bgr);
