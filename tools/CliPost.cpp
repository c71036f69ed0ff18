#include "tools/CliPost.h"

#include "engine/Cp1252.h"
#include "online/CurlHttpClient.h"
#include "online/OnlineRequests.h"
#include "online/SealText.h"
#include "online/UrlEncode.h"
#include "search/MarkedRecords.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <optional>

const char* const kPostUsage =
    "       ortelia-cli DATA post recommend --server URL --to MAIL [--from MAIL] [--name NAME] [--subject TEXT]\n"
    "                   [--note TEXT] [--timeout MS] (--record N | --records N,N,...)\n"
    "       ortelia-cli DATA post contact --server URL [--from MAIL] [--name NAME] [--note TEXT] [--timeout MS]\n"
    "                   (--record N | --records N,N,...)\n"
    "       ortelia-cli seal TEXT\n"
    "       ortelia-cli unseal SEALED\n";

namespace {

struct PostOptions {
    bool recommend = false;
    std::string server;
    std::optional<std::string> to, from, name, subject, note;
    int32_t record = 0;
    std::vector<int32_t> records;
    long timeoutMs = 0;
};

// Text options arrive in UTF-8 and travel in Windows-1252.
bool toData(const std::string& utf8, std::string& out, const std::string& option, std::string& error)
{
    if (cp1252::fromUtf8(utf8, out))
        return true;
    error = option + " holds a character Windows-1252 cannot hold";
    return false;
}

bool parseNumber(std::string_view s, int64_t& v)
{
    const auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    return ec == std::errc() && p == s.data() + s.size();
}

bool parseRecord(std::string_view s, int32_t& n)
{
    int64_t v = 0;
    if (!parseNumber(s, v) || v < 1 || v > 12'000'000)
        return false;
    n = static_cast<int32_t>(v);
    return true;
}

bool parsePost(const std::vector<std::string>& args, PostOptions& o, std::string& error)
{
    if (args.empty() || (args[0] != "recommend" && args[0] != "contact")) {
        error = "post needs recommend or contact";
        return false;
    }
    o.recommend = args[0] == "recommend";
    bool recordGiven = false, recordsGiven = false;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (i + 1 >= args.size()) {
            error = option + " needs a value";
            return false;
        }
        const std::string& value = args[++i];
        std::string text;
        if (option == "--server") {
            o.server = value;
        } else if (option == "--to" || option == "--from" || option == "--name" || option == "--subject" ||
                   option == "--note") {
            if (!toData(value, text, option, error))
                return false;
            if (option == "--to")
                o.to = text;
            else if (option == "--from")
                o.from = text;
            else if (option == "--name")
                o.name = text;
            else if (option == "--subject")
                o.subject = text;
            else
                o.note = text;
        } else if (option == "--record") {
            if (!parseRecord(value, o.record)) {
                error = "--record needs a record number: " + value;
                return false;
            }
            recordGiven = true;
        } else if (option == "--records") {
            size_t from = 0;
            while (from <= value.size()) {
                const size_t comma = std::min(value.find(',', from), value.size());
                int32_t n = 0;
                if (!parseRecord(std::string_view(value).substr(from, comma - from), n)) {
                    error = "--records needs record numbers separated by commas: " + value;
                    return false;
                }
                o.records.push_back(n);
                from = comma + 1;
            }
            if (o.records.size() > static_cast<size_t>(MarkedRecords::kSlots)) {
                error = "--records takes at most " + std::to_string(MarkedRecords::kSlots) + " records";
                return false;
            }
            recordsGiven = true;
        } else if (option == "--timeout") {
            int64_t ms = 0;
            if (!parseNumber(value, ms) || ms < 1 || ms > 600'000) {
                error = "--timeout needs milliseconds from 1 to 600000: " + value;
                return false;
            }
            o.timeoutMs = static_cast<long>(ms);
        } else {
            error = "unknown option " + option;
            return false;
        }
    }
    if (o.server.empty()) {
        error = "--server URL is required";
        return false;
    }
    if (recordGiven == recordsGiven) {
        error = "give either --record N or --records N,N,...";
        return false;
    }
    if (o.recommend && (!o.to || cp1252::trim(*o.to).empty())) {
        error = "a recommendation needs --to MAIL";
        return false;
    }
    if (!o.recommend && (o.to || o.subject)) {
        error = "a contact request goes to the records' addresses under a fixed subject: no --to or --subject";
        return false;
    }
    return true;
}

// The comment's lines joined by CR LF, as the dialog's memo gives them.
std::string memoText(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            out.push_back('\r');
        out.push_back(text[i]);
    }
    return out;
}

} // namespace

int cliPost(CliDataSet& data, const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    PostOptions o;
    std::string error;
    if (!parsePost(args, o, error)) {
        err << "ortelia-cli: " << error << "\nusage:\n" << kPostUsage;
        return 2;
    }
    for (const int32_t n : o.record ? std::vector<int32_t>{o.record} : o.records) {
        if (n > data.store->RecordCount()) {
            err << "ortelia-cli: record " << n << " outside 1.." << data.store->RecordCount() << '\n';
            return 2;
        }
    }
    CurlHttpClient::Limits limits;
    if (o.timeoutMs)
        limits.requestTimeoutMs = o.timeoutMs;
    CurlHttpClient client(limits);
    OnlineRequests requests(*data.store, data.catalogs(), data.ads.get(), client, o.server);
    MarkedRecords marks;
    for (const int32_t n : o.records)
        marks.AddMarked(n);

    std::optional<PostOutcome> outcome;
    if (o.recommend) {
        outcome = requests.Recommend(o.record, marks, [&] {
            RecommendFields f;
            f.from = o.from.value_or("");
            f.fromName = o.name.value_or("");
            f.to = *o.to;
            f.subject = o.subject ? *o.subject : OnlineRequests::recommendSubject(f.fromName);
            f.note = memoText(o.note.value_or(""));
            return std::optional(f);
        });
    } else {
        outcome = requests.Contact(o.record, marks, [&](const ContactTargets&) {
            ContactFields f;
            f.from = o.from.value_or("");
            f.fromName = o.name.value_or("");
            f.subject = online::kContactSubject;
            f.note = memoText(o.note.value_or(""));
            return std::optional(f);
        });
    }
    nlohmann::ordered_json j;
    j["caption"] = cp1252::toUtf8(outcome->caption);
    j["text"] = cp1252::toUtf8(outcome->text);
    if (!outcome->failure.empty())
        j["failure"] = outcome->failure;
    out << j.dump(2) << '\n';
    return outcome->stage == PostOutcome::Stage::Delivered ? 0 : 1;
}

int cliSeal(bool seal, const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() != 1) {
        err << "ortelia-cli: " << (seal ? "seal TEXT" : "unseal SEALED") << " takes one argument\nusage:\n"
            << kPostUsage;
        return 2;
    }
    nlohmann::ordered_json j;
    if (seal) {
        std::string text;
        std::string error;
        if (!toData(args[0], text, "TEXT", error)) {
            err << "ortelia-cli: " << error << '\n';
            return 2;
        }
        const std::string sealed = SealText(text);
        j["text"] = args[0];
        j["sealed"] = sealed;
        j["url_encoded"] = UrlEncode(sealed);
    } else {
        // Taken as copied from a request or a link: with or without "p=", URL-encoded or not.
        std::string_view given = args[0];
        if (given.substr(0, 2) == "p=")
            given.remove_prefix(2);
        const std::string sealed = PercentDecode(given);
        const std::optional<std::string> text = UnsealText(sealed);
        if (!text) {
            err << "ortelia-cli: not a sealed text (Base64 of the program's sealing): " << args[0] << '\n';
            return 2;
        }
        j["sealed"] = sealed;
        j["text"] = cp1252::toUtf8(*text);
    }
    out << j.dump(2) << '\n';
    return 0;
}
