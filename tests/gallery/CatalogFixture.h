// Writes catalog files as the gallery meets them: code page 932 with CR LF.
#pragma once

#include "TestSupport.h"
#include "common/ShowCheck.h"
#include "common/TextCodec.h"

#include <QStringList>
#include <stdexcept>

inline QByteArray catalogBytes(const QStringList& lines) { return encodeLines(lines, TextEncoding::Cp932); }

// memoryError ends the program; in a test it throws this instead.
struct ProgramEnded : std::runtime_error {
    ProgramEnded() : std::runtime_error("program ended") {}
};

class ScopedExitThrows {
public:
    ScopedExitThrows() : previous_(setExitHandler([](int) { throw ProgramEnded(); })) {}
    ~ScopedExitThrows() { setExitHandler(std::move(previous_)); }

private:
    ExitHandler previous_;
};
