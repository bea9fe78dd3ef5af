// Deleting one file for good only while it is still the file a listing saw.
#pragma once

#include <QString>
#include <cstdint>

// Deletes the file or link at `path` for good (not to the trash) when it is not a folder, is
// `size` bytes long and has the packed modification stamp `stamp` (fileTimeNumber) — that is,
// when it is still what the tree recorded. Returns 0 when deleted; ESTALE when it is there but
// changed (nothing deleted); otherwise the errno value of the failure (ENOENT when gone). A folder
// is never removed, even if one took the file's place between the check and the deletion.
// Cost: an open of the parent folder, one stat and one unlink.
int eraseUnchangedFile(const QString& path, uint64_t size, uint64_t stamp);
