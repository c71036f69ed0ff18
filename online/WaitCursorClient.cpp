#include "online/WaitCursorClient.h"

#include <QCursor>
#include <QGuiApplication>

namespace {

// The override cursor for one request, restored however the request ends.
class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

HttpAnswer WaitCursorClient::head(const std::string& url)
{
    const WaitCursor wait;
    return m_inner.head(url);
}

HttpAnswer WaitCursorClient::post(const std::string& url, std::string_view body)
{
    const WaitCursor wait;
    return m_inner.post(url, body);
}
