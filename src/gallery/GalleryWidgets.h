// The panels of the gallery and the palette: caption panels that act as buttons, text panels and
// filled backgrounds, in the colours the program gives as 0x00BBGGRR values.
#pragma once

#include "BgrColor.h"
#include "common/RunMark.h"

#include <QRect>
#include <QString>

#include <cstdint>

class QFont;
class QLabel;
class QPushButton;
class QWidget;

namespace GalleryWidgets {

constexpr uint32_t kButtonColour = 0x204000;
// The run panels wear the run mark's own background.
constexpr uint32_t kRunPanelColour = rgbToBgr(kRunMarkBack);

// "#rrggbb" of a 0x00BBGGRR colour value.
QString cssColour(uint32_t bgr);
// Fills the widget's background with the colour.
void paintBackground(QWidget* widget, uint32_t bgr);
// A caption panel that acts as a button: bold 14 px, no keyboard focus.
QPushButton* makeButton(QWidget* parent, const QString& text, QRect place, uint32_t textColour,
                        const QString& hint = {}, uint32_t background = kButtonColour);
// A text panel.
QLabel* makeLabel(QWidget* parent, const QString& text, QRect place, uint32_t textColour, const QFont& font);
// Sets a button's text and background colours.
void colourButton(QPushButton* button, uint32_t background, uint32_t textColour);

} // namespace GalleryWidgets
