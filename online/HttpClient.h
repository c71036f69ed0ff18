// HttpClient: the few operations the exchange with the publisher's server needs from an HTTP/1.0
// client: replace the extra request header lines, HEAD or POST a URL and wait, then tell whether
// response header data arrived and give header fields by name. Each request releases what it kept
// when it returns. An implementation is used by one request at a time, on one thread.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The answer to one request, as far as the exchange reads it (the response body is never used).
class HttpAnswer {
public:
    // True when response header data arrived (a status line at least).
    bool headerArrived = false;
    int status = 0;
    // Fields in arrival order, names as sent. Only the header block of the final response is kept.
    std::vector<std::pair<std::string, std::string>> fields;
    // Why there was no answer (connection refused, time-out, certificate...): for the command line
    // and tests; the user sees the program's own messages.
    std::string failure;

    // The value of the first field of that name (compared without case), surrounding blanks
    // removed; empty when absent.
    [[nodiscard]] std::string field(std::string_view name) const;
};

class HttpClient {
public:
    virtual ~HttpClient() = default;

    // Replaces the extra header lines ("Name: value") sent with the following requests.
    virtual void setHeaderLines(std::vector<std::string> lines) = 0;
    virtual HttpAnswer head(const std::string& url) = 0;
    virtual HttpAnswer post(const std::string& url, std::string_view body) = 0;
};
