// The HTTP library, loaded when the first "http:" location is fetched rather than with the
// program: it brings some thirty libraries of its own (TLS, Kerberos, LDAP, ...) that every
// start would otherwise map and relocate before the gallery is first drawn.
#pragma once

#include <curl/curl.h>

struct CurlLibrary {
    CURLcode (*globalInit)(long flags);
    CURL* (*easyInit)();
    void (*easyCleanup)(CURL* easy);
    CURLcode (*easySetopt)(CURL* easy, CURLoption option, ...);
    CURLcode (*easyGetinfo)(CURL* easy, CURLINFO info, ...);
    CURLM* (*multiInit)();
    CURLMcode (*multiAddHandle)(CURLM* multi, CURL* easy);
    CURLMcode (*multiPerform)(CURLM* multi, int* running);
    CURLMsg* (*multiInfoRead)(CURLM* multi, int* queued);
    CURLMcode (*multiPoll)(CURLM* multi, struct curl_waitfd* extra, unsigned int count, int timeoutMs, int* ready);
    CURLMcode (*multiRemoveHandle)(CURLM* multi, CURL* easy);
    CURLMcode (*multiCleanup)(CURLM* multi);
    curl_slist* (*slistAppend)(curl_slist* list, const char* text);
    void (*slistFreeAll)(curl_slist* list);
};

// The library's functions, loaded and initialised (curl_global_init) on the first call; null when
// the library or one of its functions cannot be found, then and on every later call. Thread-safe.
// Cost: the load once, then constant.
const CurlLibrary* curlLibrary();
