#include "online/PostForm.h"

#include "engine/Cp1252.h"
#include "online/SealText.h"
#include "online/UrlEncode.h"

#include <charconv>
#include <cstdio>

namespace {

// The error number when the field is a whole decimal integer (blanks around it allowed).
bool parseErrorNumber(std::string_view field, long long& n)
{
    const std::string_view t = cp1252::trim(field);
    if (t.empty())
        return false;
    std::string_view digits = t;
    if (digits.front() == '+')
        digits.remove_prefix(1);
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
    return ec == std::errc() && end == digits.data() + digits.size();
}

} // namespace

std::string FormPayload(std::string_view fullBody)
{
    return "p=" + UrlEncode(SealText(fullBody));
}

PostOutcome PostForm(HttpClient& client, std::string_view baseUrl, std::string_view script, std::string_view body,
                     std::string_view resultCaption, ErrorText errorText)
{
    PostOutcome out;
    out.url = std::string(baseUrl) + std::string(script);

    client.setHeaderLines({});
    const HttpAnswer head = client.head(out.url);
    std::string contentType, date;
    if (head.headerArrived) {
        contentType = cp1252::upper(head.field("Content-Type"));
        date = cp1252::upper(head.field("Date"));
    }
    if (contentType.compare(0, 9, "TEXT/HTML") != 0) {
        out.stage = PostOutcome::Stage::NoServer;
        out.caption = online::kRecommendCaption;
        out.text = std::string(online::kNoServer) + "\n\nurl:" + out.url + "\nret:" + contentType;
        out.failure = head.failure;
        return out;
    }

    std::string fullBody;
    fullBody.reserve(date.size() + body.size() + 6);
    fullBody.append("Date=").append(date).append("&").append(body);
    out.payload = FormPayload(fullBody);
    client.setHeaderLines(
        {"Content-Type: application/x-www-form-urlencoded", "Content-Length: " + std::to_string(out.payload.size())});
    const HttpAnswer answer = client.post(out.url, out.payload);
    client.setHeaderLines({});
    std::string errorNumber, errorString;
    if (answer.headerArrived) {
        errorNumber = answer.field("Error-Number");
        errorString = cp1252::upper(answer.field("Error-String"));
    }
    out.failure = answer.failure;
    out.caption = resultCaption;
    long long n = 0;
    if (errorNumber.empty()) {
        out.stage = PostOutcome::Stage::NotSent;
        out.text = online::kNotSent;
    } else if (!parseErrorNumber(errorNumber, n)) {
        // A number the server should not send: its text says more than anything made up here.
        out.stage = PostOutcome::Stage::Refused;
        out.text = errorString;
    } else if (n != 0) {
        out.stage = PostOutcome::Stage::Refused;
        out.text = "Error #" + std::to_string(n) + "\n" +
                   (errorText == ErrorText::Fixed ? std::string(online::kFixedError) : errorString);
    } else {
        out.stage = PostOutcome::Stage::Delivered;
        out.text = errorString;
    }
    return out;
}
