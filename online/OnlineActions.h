// OnlineActions: the window's side of the two online requests: Recommend and Contact run their
// dialog through the modal seam, post with the wait cursor shown, and report the outcome in a
// message box. Owns the HTTP client and the requests; borrows the record store, catalogs and ad
// store from the main window, which owns this object and outlives it. Main thread only.
#pragma once

#include "online/CurlHttpClient.h"
#include "online/OnlineRequests.h"
#include "online/WaitCursorClient.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class QWidget;

class OnlineActions {
public:
    // parent: the dialogs' and message boxes' parent (the main window).
    OnlineActions(QWidget* parent, QdData& store, const QdLocs& catalogs, aviso* ads, std::string baseUrl,
                  CurlHttpClient::Limits limits = {});

    // Record n, or with n = 0 the marked records (the process-wide list unless one is given).
    void Recommend(int32_t n);
    void Contact(int32_t n);
    void Recommend(int32_t n, const MarkedRecords& marks);
    void Contact(int32_t n, const MarkedRecords& marks);

    // The outcome of the last request; nullopt when it was cancelled.
    [[nodiscard]] const std::optional<PostOutcome>& lastOutcome() const { return m_last; }
    [[nodiscard]] OnlineRequests& requests() { return m_requests; }

private:
    void report();

    QWidget* m_parent;
    CurlHttpClient m_curl;
    WaitCursorClient m_client;
    OnlineRequests m_requests;
    std::optional<PostOutcome> m_last;
};
