// Fonts as programs and windows name them ("ＭＳ ゴシック", "ＭＳ 明朝", "Times New Roman", "Tahoma", ...)
// mapped to families this system has that also draw Japanese text.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

// The families to ask for, best first: the Windows Japanese gothic faces (and an empty name) map to
// "Noto Sans CJK JP", the mincho faces and "Times New Roman" to "Noto Serif CJK JP"; any other
// name is kept, with the Japanese sans face behind it for the characters it lacks. Cost: constant.
QStringList programFontFamilies(const QString& name);

// A font of `pixelSize` pixels (at least 1) for a program font name. Cost: constant.
QFont programFont(const QString& name, int pixelSize, bool bold = false, bool italic = false);
