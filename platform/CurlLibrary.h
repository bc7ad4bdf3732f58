// libcurl, loaded when the first request or URL needs it rather than when the program starts:
// libcurl brings some twenty-five libraries of its own (TLS, LDAP, Kerberos, SSH, ...), whose
// loading is a good part of a start-up that makes no request before its window shows. The
// functions the programs call, resolved once; the library stays loaded for the life of the process.
#pragma once

#include <curl/curl.h>

struct CurlLibrary {
    // libcurl with its global set-up done, or null when it cannot be loaded. Thread-safe.
    static const CurlLibrary* Get();

    CURL* (*easy_init)();
    void (*easy_cleanup)(CURL*);
    void (*easy_reset)(CURL*);
    CURLcode (*easy_setopt)(CURL*, CURLoption, ...);
    CURLcode (*easy_getinfo)(CURL*, CURLINFO, ...);
    const char* (*easy_strerror)(CURLcode);
    curl_slist* (*slist_append)(curl_slist*, const char*);
    void (*slist_free_all)(curl_slist*);
    CURLM* (*multi_init)();
    CURLMcode (*multi_cleanup)(CURLM*);
    CURLMcode (*multi_add_handle)(CURLM*, CURL*);
    CURLMcode (*multi_remove_handle)(CURLM*, CURL*);
    CURLMcode (*multi_perform)(CURLM*, int*);
    CURLMcode (*multi_poll)(CURLM*, curl_waitfd*, unsigned int, int, int*);
    CURLMsg* (*multi_info_read)(CURLM*, int*);
    CURLU* (*url)();
    void (*url_cleanup)(CURLU*);
    CURLUcode (*url_set)(CURLU*, CURLUPart, const char*, unsigned int);
    CURLUcode (*url_get)(const CURLU*, CURLUPart, char**, unsigned int);
    void (*free)(void*);
};
