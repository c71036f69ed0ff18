#include "tools/CliSearch.h"

#include "engine/Cp1252.h"
#include "engine/DataFiles.h"
#include "engine/FiltroBits.h"
#include "search/HandOffQueue.h"
#include "search/PhoneSplit.h"
#include "search/ThreadFillList.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <set>

const char* const kSearchUsage =
    "       ortelia-cli DATA search [--guide A|C|P] [--name TEXT] [--address TEXT] [--area N] [--phone DIGITS]\n"
    "                               [--province ID] [--locality ID] [--rubro ID]\n"
    "                               [--filter ad,mail,web,note,selected] [--first K] [--from P]\n";

namespace {

constexpr size_t kMaxText = 255; // the search field's length
constexpr size_t kMaxArea = 5;   // digits of the area-code field
constexpr size_t kMaxPhone = 8;  // digits of the telephone field
constexpr int32_t kMaxList = 1'000'000;

bool digitsOnly(const std::string& s)
{
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool readNumber(const std::string& option, const std::string& value, int32_t& out, std::string& error)
{
    int32_t v = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), v);
    if (!digitsOnly(value) || ec != std::errc() || end != value.data() + value.size()) {
        error = option + " must be a number from 0 up: " + value;
        return false;
    }
    out = v;
    return true;
}

bool readText(const std::string& option, const std::string& utf8, std::string& out, std::string& error)
{
    std::string text;
    size_t bad = 0;
    if (!cp1252::fromUtf8(utf8, text, &bad)) {
        error = option + ": byte " + std::to_string(bad) + " is not UTF-8 text that Windows-1252 can hold";
        return false;
    }
    if (text.size() > kMaxText) {
        error = option + " holds at most " + std::to_string(kMaxText) + " characters";
        return false;
    }
    out = cp1252::upper(text);
    return true;
}

// The search's own calls, run on this thread: the matches handed over by the last pass.
class Collector : public PassListener {
public:
    void PassStarted() override
    {
        ++started;
        matches.clear();
    }
    void MatchFound(int32_t record, int32_t) override { matches.push_back(record); }
    void PassEnded(int32_t) override { ++ended; }

    int started = 0;
    int ended = 0;
    std::vector<int32_t> matches;
};

} // namespace

bool parseSearchOptions(const std::vector<std::string>& args, CliSearchOptions& o, std::string& error)
{
    std::set<std::string> seen;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        static const std::set<std::string> known = {"--guide",  "--name",     "--address",  "--area",
                                                    "--phone",  "--province", "--locality", "--rubro",
                                                    "--filter", "--first",    "--from"};
        if (!known.count(option)) {
            error = "unknown search option: " + option;
            return false;
        }
        if (!seen.insert(option).second) {
            error = option + " given twice";
            return false;
        }
        if (i + 1 >= args.size()) {
            error = option + " needs a value";
            return false;
        }
        const std::string& value = args[++i];
        if (option == "--guide") {
            if (value == "A" || value == "a")
                o.range = 0;
            else if (value == "C" || value == "c")
                o.range = 1;
            else if (value == "P" || value == "p")
                o.range = 2;
            else {
                error = "--guide must be A, C or P: " + value;
                return false;
            }
        } else if (option == "--name" || option == "--address") {
            if (!readText(option, value, option == "--name" ? o.name : o.address, error))
                return false;
        } else if (option == "--area") {
            if (value.size() > kMaxArea || !readNumber(option, value, o.area, error)) {
                if (error.empty())
                    error = "--area holds at most " + std::to_string(kMaxArea) + " digits";
                return false;
            }
        } else if (option == "--phone") {
            if (!digitsOnly(value) || value.size() > kMaxPhone) {
                error = "--phone must be 1 to " + std::to_string(kMaxPhone) + " digits: " + value;
                return false;
            }
            o.phoneGiven = true;
            o.phone = value;
        } else if (option == "--province" || option == "--locality" || option == "--rubro") {
            int32_t& target = option == "--province" ? o.province : option == "--locality" ? o.locality : o.rubro;
            if (!readNumber(option, value, target, error))
                return false;
        } else if (option == "--filter") {
            size_t start = 0;
            for (;;) {
                const size_t comma = value.find(',', start);
                const std::string f =
                    value.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
                static const std::pair<const char*, int> planes[] = {{"ad", plane::kAd},
                                                                     {"mail", plane::kMail},
                                                                     {"web", plane::kWeb},
                                                                     {"note", plane::kNote},
                                                                     {"selected", plane::kSelection}};
                const auto* p =
                    std::find_if(std::begin(planes), std::end(planes), [&](const auto& e) { return f == e.first; });
                if (p == std::end(planes)) {
                    error = "unknown filter \"" + f + "\" (ad, mail, web, note, selected)";
                    return false;
                }
                o.filterPlanes.push_back(p->second);
                if (comma == std::string::npos)
                    break;
                start = comma + 1;
            }
        } else { // --first, --from
            int32_t& target = option == "--first" ? o.first : o.from;
            if (!readNumber(option, value, target, error))
                return false;
            if (option == "--first" && o.first > kMaxList) {
                error = "--first lists at most " + std::to_string(kMaxList) + " records";
                return false;
            }
        }
    }
    return true;
}

std::string runSearch(CliDataSet& data, const CliSearchOptions& o)
{
    // A bit set of this search's own, loaded as start-up loads the window's.
    const std::unique_ptr<FiltroBits> loaded = data.set().freshBits();
    FiltroBits& bits = *loaded;

    Collector collector;
    HandOffQueue queue(collector);
    ThreadFillList worker(bits, *data.store, queue);
    auto requireFilters = [&] {
        auto b = worker.accessBits();
        for (int p : o.filterPlanes)
            b->SetRequired(p, true);
    };
    requireFilters();
    // As the section switch and the search panel do it. The worker waits in PassStarted until this
    // thread runs its calls, so it reads the criteria only once all are set.
    worker.SetRange(o.range);
    worker.ResetCriteria();
    if (!o.name.empty())
        worker.SetNameText(o.name);
    if (!o.address.empty())
        worker.SetAddressText(o.address);
    if (o.area != 0 || o.phoneGiven) {
        const PhoneParts p = SplitPhoneNumber(o.phone);
        worker.SetPhone(o.area, p.prefix, lineCriterion(p.line));
    }
    if (o.province != 0)
        worker.SetPlace(o.province, 0);
    if (o.locality != 0)
        worker.SetPlace(o.province, o.locality);
    if (o.rubro != 0)
        worker.SetRubro(o.rubro);
    while (!(collector.ended > 0 && collector.started == collector.ended && worker.idle() && queue.waiting() == 0))
        queue.runOne(std::chrono::milliseconds(5));

    nlohmann::ordered_json out;
    nlohmann::json records = nlohmann::json::array();
    {
        // A pass that withdraws the selection criterion also drops the selection filter: the
        // filters are switched on again, as their menu items still are, and the result recounted.
        requireFilters();
        auto b = worker.accessBits();
        const int32_t count = b->CountPassing();
        out["count"] = count;
        int32_t r = o.from >= count ? 0 : o.from == 0 ? b->FirstPassing() : b->NthPassing(o.from + 1);
        for (int32_t k = 0; k < o.first && r != 0; ++k, r = b->NextPassing())
            records.push_back(r);
    }
    worker.Stop();
    out["records"] = records;
    out["first_matches"] = collector.matches;
    return out.dump(2);
}

int cliSearch(CliDataSet& data, const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    CliSearchOptions options;
    std::string error;
    if (!parseSearchOptions(args, options, error)) {
        err << "ortelia-cli: " << error << "\nusage:\n" << kSearchUsage;
        return 2;
    }
    out << runSearch(data, options) << '\n';
    return 0;
}
