#include "CurlLibrary.h"

#include <QLibrary>

#include <optional>

#include <mutex>

namespace {

template <class F> bool resolve(QLibrary& library, F& function, const char* name) {
    function = reinterpret_cast<F>(library.resolve(name));
    return function != nullptr;
}

std::optional<CurlLibrary> load() {
    QLibrary library(QStringLiteral("curl"), 4); // never unloaded: its functions stay in use
    if (!library.load()) return std::nullopt;
    CurlLibrary c{};
    const bool all = resolve(library, c.globalInit, "curl_global_init") && resolve(library, c.easyInit, "curl_easy_init") &&
                     resolve(library, c.easyCleanup, "curl_easy_cleanup") && resolve(library, c.easySetopt, "curl_easy_setopt") &&
                     resolve(library, c.easyGetinfo, "curl_easy_getinfo") && resolve(library, c.multiInit, "curl_multi_init") &&
                     resolve(library, c.multiAddHandle, "curl_multi_add_handle") &&
                     resolve(library, c.multiPerform, "curl_multi_perform") &&
                     resolve(library, c.multiInfoRead, "curl_multi_info_read") && resolve(library, c.multiPoll, "curl_multi_poll") &&
                     resolve(library, c.multiRemoveHandle, "curl_multi_remove_handle") &&
                     resolve(library, c.multiCleanup, "curl_multi_cleanup") && resolve(library, c.slistAppend, "curl_slist_append") &&
                     resolve(library, c.slistFreeAll, "curl_slist_free_all");
    if (!all || c.globalInit(CURL_GLOBAL_DEFAULT) != CURLE_OK) return std::nullopt;
    return c;
}

} // namespace

const CurlLibrary* curlLibrary() {
    static std::once_flag once;
    static std::optional<CurlLibrary> library;
    std::call_once(once, [] { library = load(); });
    return library ? &*library : nullptr;
}
