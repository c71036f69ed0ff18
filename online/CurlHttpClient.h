// CurlHttpClient: HttpClient on libcurl, speaking HTTP/1.0 to http and https addresses only, with
// the certificate and host checks of https left on, redirects not followed, and limits so that a
// server that never answers or answers without end cannot hold the program: a connection time-out,
// a whole-request time-out and caps on the header and body bytes. A request that fails (no
// connection, time-out, bad certificate, header too large) is an answer without header data; a
// body past its cap is cut off and the header data already read is kept. One handle per request,
// released when it returns. One thread at a time.
#pragma once

#include "online/HttpClient.h"

#include <cstddef>
#include <string>
#include <vector>

class CurlHttpClient final : public HttpClient {
public:
    struct Limits {
        long connectTimeoutMs = 5'000;
        long requestTimeoutMs = 20'000;
        size_t maxHeaderBytes = 64 * 1024;
        size_t maxBodyBytes = 1024 * 1024;
    };

    CurlHttpClient();
    explicit CurlHttpClient(Limits limits);

    void setHeaderLines(std::vector<std::string> lines) override;
    HttpAnswer head(const std::string& url) override;
    HttpAnswer post(const std::string& url, std::string_view body) override;

    [[nodiscard]] const Limits& limits() const { return m_limits; }

private:
    HttpAnswer perform(const std::string& url, bool isHead, std::string_view body);

    Limits m_limits;
    std::vector<std::string> m_lines;
};
