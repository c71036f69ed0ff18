#include "online/CurlHttpClient.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>

namespace {

struct EasyDeleter {
    void operator()(CURL* h) const { curl_easy_cleanup(h); }
};
struct ListDeleter {
    void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};
using EasyHandle = std::unique_ptr<CURL, EasyDeleter>;
using HeaderList = std::unique_ptr<curl_slist, ListDeleter>;

void initialiseOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// What the callbacks fill while a request runs.
struct Transfer {
    HttpAnswer answer;
    size_t headerBytes = 0;
    size_t bodyBytes = 0;
    size_t maxHeaderBytes = 0;
    size_t maxBodyBytes = 0;
    bool headerTooLarge = false;
    bool bodyCut = false;
};

size_t onHeader(char* data, size_t size, size_t count, void* user)
{
    auto* t = static_cast<Transfer*>(user);
    const size_t n = size * count;
    t->headerBytes += n;
    if (t->headerBytes > t->maxHeaderBytes) {
        t->headerTooLarge = true;
        return 0; // stops the transfer
    }
    std::string_view line(data, n);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);
    if (line.substr(0, 5) == "HTTP/") {
        // A new response begins (after a 100 Continue, for one): only the last block counts.
        t->answer.fields.clear();
        t->answer.headerArrived = true;
        return n;
    }
    const size_t colon = line.find(':');
    if (colon != std::string_view::npos && colon > 0)
        t->answer.fields.emplace_back(std::string(line.substr(0, colon)), std::string(line.substr(colon + 1)));
    return n;
}

size_t onBody(char*, size_t size, size_t count, void* user)
{
    auto* t = static_cast<Transfer*>(user);
    const size_t n = size * count;
    t->bodyBytes += n;
    if (t->bodyBytes > t->maxBodyBytes) {
        t->bodyCut = true;
        return 0;
    }
    return n; // the body is not used: read and dropped
}

} // namespace

CurlHttpClient::CurlHttpClient() : CurlHttpClient(Limits{}) {}

CurlHttpClient::CurlHttpClient(Limits limits) : m_limits(limits)
{
    initialiseOnce();
}

void CurlHttpClient::setHeaderLines(std::vector<std::string> lines)
{
    m_lines = std::move(lines);
}

HttpAnswer CurlHttpClient::head(const std::string& url)
{
    return perform(url, true, {});
}

HttpAnswer CurlHttpClient::post(const std::string& url, std::string_view body)
{
    return perform(url, false, body);
}

HttpAnswer CurlHttpClient::perform(const std::string& url, bool isHead, std::string_view body)
{
    Transfer t;
    t.maxHeaderBytes = m_limits.maxHeaderBytes;
    t.maxBodyBytes = m_limits.maxBodyBytes;
    EasyHandle h(curl_easy_init());
    if (!h) {
        t.answer.failure = "cannot create an HTTP handle";
        return t.answer;
    }
    HeaderList headers;
    for (const std::string& line : m_lines) {
        curl_slist* grown = curl_slist_append(headers.get(), line.c_str());
        if (!grown) {
            t.answer.failure = "out of memory";
            return t.answer;
        }
        (void)headers.release();
        headers.reset(grown);
    }
    char error[CURL_ERROR_SIZE] = {};
    CURL* c = h.get();
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, m_limits.connectTimeoutMs);
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, m_limits.requestTimeoutMs);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, error);
    curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, onHeader);
    curl_easy_setopt(c, CURLOPT_HEADERDATA, &t);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, onBody);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &t);
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
    if (isHead) {
        curl_easy_setopt(c, CURLOPT_NOBODY, 1L);
    } else {
        curl_easy_setopt(c, CURLOPT_POST, 1L);
        curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
        curl_easy_setopt(c, CURLOPT_POSTFIELDS, body.data());
    }
    const CURLcode rc = curl_easy_perform(c);
    long status = 0;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
    t.answer.status = static_cast<int>(status);
    if (rc == CURLE_OK || (rc == CURLE_WRITE_ERROR && t.bodyCut && !t.headerTooLarge))
        return t.answer;
    // No usable answer: a time-out or a broken exchange is treated as no answer at all.
    HttpAnswer none;
    none.failure = t.headerTooLarge ? std::string("response header too large")
                                    : (error[0] ? std::string(error) : std::string(curl_easy_strerror(rc)));
    return none;
}
