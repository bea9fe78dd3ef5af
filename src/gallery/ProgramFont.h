// Fonts named as the program names them ("ＭＳ ゴシック", "Tahoma", ...) mapped to fonts that
// this system has and that draw Japanese text.
#pragma once

#include <QFont>
#include <QString>

// A font of `pixelSize` pixels for a program font name; Japanese faces and Latin faces without a
// Japanese fallback map to "Noto Sans CJK JP". Cost: constant.
QFont programFont(const QString& name, int pixelSize, bool bold = false, bool italic = false);
