// Synchronous HTTP(S) fetches of program files, data, pictures and catalogs.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>

// True for a location that is fetched instead of opened ("http:" or "https:", any case).
bool isHttpLocation(const QString& location);

// Reads a text file into lines (cleared first), split at CR, LF, CR LF, LF CR, CR CR, LF LF,
// decoded from code page 932 (or by its byte-order mark). Returns the announced length, 0 after
// any failure, which has then been reported through showCheck. Blocks at most about a second per
// stalled phase (1000 ms connect and receive time-outs).
uint32_t fetchLines(const QString& url, QStringList& lines);

// Reads any file into `data` (announced length + 1 bytes, the last one 0). Returns the announced
// length, or 0 after a reported failure (data then untouched).
uint32_t fetchData(const QString& url, QByteArray& data);

// Largest body that a fetch accepts; a larger announced length is reported as not downloadable.
constexpr uint32_t kFetchLimit = 256u * 1024u * 1024u;
