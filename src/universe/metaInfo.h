// Metadata of a node: one line naming what the node's page shows.
#pragma once

#include <QString>
#include <cstdint>

// Error bits of metaInfo::errors; 0 means valid.
enum MetaError : uint32_t {
    MetaNoWidthComma = 1,
    MetaNoHeightComma = 2,
    MetaNoIdComma = 4,
    MetaNoKindColon = 8,
    MetaNarrow = 16,
    MetaLow = 32,
    MetaUnknownKind = 64,
};

struct metaInfo {
    // Parses "W,H,ID[,N],KIND:DATA"; line breaks inside become spaces, trailing ones are dropped.
    // Cost: linear in the text.
    explicit metaInfo(const QString& source);

    // The mark drawn after the node's name ("_◆" ...), empty when the kind is not determined.
    QString mark() const;

    QString text;
    int32_t width = 0;
    int32_t height = 0;
    uint32_t windowId = 0;
    int32_t dataKind = 0; // 1 http: 2 file: 3 text: 4 html: 5 imag: 6 tbl0: 7 exec:
    qsizetype data = 0;   // start of the KIND field in text
    uint32_t errors = 0; // MetaError bits; 0 means valid
    int32_t dwell = 1;
    QString browser = QStringLiteral("iexplore.exe");
};
