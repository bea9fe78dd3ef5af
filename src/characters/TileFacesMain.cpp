// vimora-tiles FILE: writes the tile-matching game's faces as a 24-bit BMP (the sample works'
// "img/majyan.bmp").
#include "TileFaces.h"
#include "common/Platform.h"

#include <QBuffer>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: vimora-tiles FILE.bmp\n", stderr);
        return 2;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!drawTileFaces().save(&buffer, "BMP") || !writeFileAtomic(QString::fromLocal8Bit(argv[1]), bytes)) {
        std::fprintf(stderr, "vimora-tiles: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
