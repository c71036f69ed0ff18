// WaitCursorClient: an HttpClient that shows the wait cursor over the whole program while the
// client it wraps waits for the server. Borrows the wrapped client. Main thread.
#pragma once

#include "online/HttpClient.h"

class WaitCursorClient final : public HttpClient {
public:
    explicit WaitCursorClient(HttpClient& inner) : m_inner(inner) {}

    void setHeaderLines(std::vector<std::string> lines) override { m_inner.setHeaderLines(std::move(lines)); }
    HttpAnswer head(const std::string& url) override;
    HttpAnswer post(const std::string& url, std::string_view body) override;

private:
    HttpClient& m_inner;
};
