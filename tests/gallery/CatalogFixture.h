// Writes catalog files as the gallery meets them: code page 932 with CR LF.
#pragma once

#include "TestSupport.h"
#include "common/ShowCheck.h"
#include "common/TextCodec.h"
#include "gallery/Catalog.h"

#include <QStringList>
#include <new>
#include <set>
#include <stdexcept>

inline QByteArray catalogBytes(const QStringList& lines) { return encodeLines(lines, TextEncoding::Cp932); }

// Two local sources ("local" and a relative folder) of two groups with three works each; the
// second work of each group is hidden, the second group of the first source and of the second
// source ("x" flag) are left out of the tour. Returns the home folder (ending with "/").
inline QString writeTwoSourceHome(const TempFolder& folder) {
    folder.write("url.txt", catalogBytes({u"': sources"_qs, u"館,local"_qs, u"別館,more\\sub"_qs}));
    const auto writeSource = [&](const QString& at, const QStringList& groupLines) {
        folder.write(at + "group.txt", catalogBytes(groupLines));
        for (const QString& line : groupLines) {
            const QString sub = line.section(u',', 0, 0).remove(u'\\');
            folder.write(at + sub + "/anime.txt", catalogBytes({sub + u"の一,one.acmd"_qs, sub + u"の二,two.acmd,0"_qs,
                                                                sub + u"の三,three.acmd,"_qs}));
        }
    };
    writeSource("", {u"set1,第一集"_qs, u"set2\\,第二集,0"_qs});
    writeSource("more/sub/", {u"a,Ａ"_qs, u"b,Ｂ,x"_qs});
    return folder.path() + u'/';
}

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

// Makes the catalog's allocations at `site` fail (none fail for a site the catalog does not have,
// such as 0) and records every site reached.
class ScopedAllocationFailure {
public:
    explicit ScopedAllocationFailure(int site)
        : previous_(Catalog::setAllocationProbe([this, site](int at) {
              reached.insert(at);
              if (at == site) throw std::bad_alloc();
          })) {}
    ~ScopedAllocationFailure() { Catalog::setAllocationProbe(std::move(previous_)); }
    ScopedAllocationFailure(const ScopedAllocationFailure&) = delete;
    ScopedAllocationFailure& operator=(const ScopedAllocationFailure&) = delete;

    std::set<int> reached;

private:
    Catalog::AllocationProbe previous_;
};

inline QString memoryErrorText(int site) {
    return QStringLiteral("メモリーエラーが発生しました！ ( %1 )　再起動してください。").arg(site);
}
