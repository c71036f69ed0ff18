// Search test fixtures: small data sets built with the real builder from listings made up in the
// test, opened the way the viewer opens them, a listener that records what the worker hands over,
// and a brute-force reference that decodes every record of the range and applies the criteria to
// the decoded fields with the shared word splitter.
#pragma once

#include "builder/DataSetBuilder.h"
#include "engine/Cp1252.h"
#include "engine/DataFiles.h"
#include "engine/FiltroBits.h"
#include "engine/QdData.h"
#include "engine/WordFold.h"
#include "search/DataSet.h"
#include "search/PassListener.h"
#include "search/QdLocs.h"
#include "search/SearchCriteria.h"
#include "search/ThreadFillList.h"
#include "tests/support/TempDir.h"

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace searchtest {

inline std::string cp(const std::string& utf8)
{
    std::string out;
    if (!cp1252::fromUtf8(utf8, out))
        throw std::runtime_error("not Windows-1252: " + utf8);
    return out;
}

// The catalog every fixture uses: three provinces, two regional guides, five localities, rubros of
// both guides. Each locality belongs to one regional guide, so a record's guide follows from its
// locality.
inline CatalogWriter::Tables fixtureCatalogs()
{
    CatalogWriter::Tables t;
    t.provinces = {{1, cp("BUENOS AIRES")}, {2, cp("CÓRDOBA")}, {3, cp("SANTA FE")}};
    t.guides = {{1, cp("GUÍA BUENOS AIRES")}, {2, cp("GUÍA CENTRO")}};
    t.localities = {{1, "CAPITAL", 1, {1}, 11},
                    {2, "LA PLATA", 1, {1}, 221},
                    {3, cp("CÓRDOBA"), 2, {2}, 351},
                    {4, "VILLA MARIA", 2, {2}, 353},
                    {5, "ROSARIO", 3, {2}, 341}};
    t.rubros = {{1, "FARMACIAS", 'C', {}, 0},
                {2, cp("FERRETERÍAS"), 'C', {}, 0},
                {3, "KIOSCOS", 'C', {}, 0},
                {4, "ABOGADOS", 'P', {}, 0},
                {5, cp("MÉDICOS"), 'P', {}, 0}};
    return t;
}

inline int32_t guideOfLocality(int32_t locality)
{
    return locality == 1 || locality == 2 ? 1 : locality >= 3 && locality <= 5 ? 2 : 0;
}

// Listings spelled out by a test (UTF-8 texts).
struct Entry {
    GuideKind guide = GuideKind::Alphabetical;
    int32_t locality = 1;
    int32_t rubro = 0;
    int32_t area = 11;
    int32_t prefix = 4348;
    int32_t line = 1;
    std::string name;
    std::string address = "CALLE 1";
    bool web = false;
    bool mail = false;
    bool ad = false;

    static Entry of(GuideKind g, int32_t loc, int32_t rubro, int32_t area, int32_t prefix, int32_t line,
                    const char* name, const char* address, bool web = false)
    {
        Entry x;
        x.guide = g;
        x.locality = loc;
        x.rubro = rubro;
        x.area = area;
        x.prefix = prefix;
        x.line = line;
        x.name = name;
        x.address = address;
        x.web = web;
        return x;
    }
};

// A data set in a temporary folder, opened like the viewer opens it.
class BuiltDataSet {
public:
    // damage, when given, may change the built files before they are opened.
    explicit BuiltDataSet(const std::vector<Entry>& entries,
                          const std::function<void(const std::string& folder)>& damage = {})
    {
        SourceModel model;
        model.catalogs = fixtureCatalogs();
        std::vector<std::string> texts; // the table copies the texts; these only feed it
        texts.reserve(entries.size() * 4);
        for (const Entry& e : entries) {
            Listing l;
            l.guide = e.guide;
            l.localityId = e.locality;
            l.guideId = guideOfLocality(e.locality);
            l.rubroId = e.rubro;
            l.areaCode = e.area;
            l.phonePrefix = e.area ? e.prefix : 0;
            l.phoneLine = e.area ? e.line : 0;
            texts.push_back(cp(e.name));
            l.name = texts.back();
            texts.push_back(cp(e.address));
            l.address = texts.back();
            if (e.web) {
                texts.push_back("WWW.EJEMPLO.COM.AR");
                l.web = texts.back();
            }
            if (e.mail) {
                texts.push_back("INFO@EJEMPLO.COM.AR");
                l.mail = texts.back();
            }
            if (e.ad) {
                model.ads.push_back(SourceAd{8, 0, 0, {"AVISO"}});
                l.adNumber = static_cast<int32_t>(model.ads.size());
            }
            model.listings.add(l);
        }
        std::string error;
        if (!DataSetBuilder().build(model, m_dir / "data", &m_summary, &error))
            throw std::runtime_error("build failed: " + error);
        if (damage)
            damage(m_dir / "data");
        open(m_dir / "data");
    }

    QdData& store() { return m_set->store(); }
    FiltroBits& bits() { return m_set->bits(); }
    const QdLocs& catalogs() const { return m_set->catalogs(); }
    [[nodiscard]] const BuildSummary& summary() const { return m_summary; }
    [[nodiscard]] std::string folder() const { return m_dir / "data"; }

private:
    void open(const std::string& folder)
    {
        m_set = DataSet::open(folder);
        if (!m_set)
            throw std::runtime_error("cannot open " + folder);
    }

    TempDir m_dir{"search"};
    BuildSummary m_summary;
    std::unique_ptr<DataSet> m_set;
};

// The decoded fields a criterion looks at, read once per data set.
struct Decoded {
    int32_t recno = 0;
    registro rec;
    int32_t province = 0;
    int32_t guide = 0;
    std::vector<std::string> nameKeys, addressKeys;
};

inline std::vector<Decoded> decodeAll(BuiltDataSet& d)
{
    std::vector<Decoded> out;
    for (int32_t n = 1; n <= d.store().RecordCount(); ++n) {
        Decoded x;
        x.recno = n;
        if (!d.store().ReadRecord(x.rec, n))
            throw std::runtime_error("record " + std::to_string(n) + " unreadable");
        x.province = d.catalogs().LocalityProvince(x.rec.localityId);
        x.guide = guideOfLocality(x.rec.localityId);
        wordfold::indexKeys(x.rec.name, wordfold::kName, x.nameKeys);
        wordfold::indexKeys(x.rec.address, wordfold::kAddress, x.addressKeys);
        out.push_back(std::move(x));
    }
    return out;
}

// Does a record with these stored keys hold every word of text as the search reads it: the first
// eight words of three letters or more, each cut to ten, a final "." asking for the whole word?
inline bool wordsMatch(const std::string& text, int kind, const std::vector<std::string>& keys)
{
    size_t position = 0;
    for (int taken = 0; taken < ThreadFillList::kMaxWords; ++taken) {
        std::string w = wordfold::NextWord(text, kind, position);
        if (w.empty())
            break;
        w.resize(std::min(w.size(), ThreadFillList::kWordKeyLength));
        const wordfold::SearchKey sk = wordfold::normaliseKey(w);
        bool found = false;
        for (const std::string& k : keys)
            found = found || (sk.wholeWord ? k == sk.key : k.compare(0, sk.key.size(), sk.key) == 0);
        if (!found)
            return false;
    }
    return true;
}

// The records of range [first, last] that a fresh search with these values gives, with the
// result-filter planes in filters (5 web, 6 mail, 7 ad) required as well.
inline std::vector<int32_t> reference(const std::vector<Decoded>& all, const criteria::Values& v, int32_t first,
                                      int32_t last, uint32_t filters = 0)
{
    using namespace criteria;
    std::vector<int32_t> out;
    for (const Decoded& d : all) {
        if (d.recno < first || d.recno > last)
            continue;
        const registro& r = d.rec;
        auto keyOk = [&](int code, int32_t have, bool listed = true) {
            const int32_t want = v.keyOf(code);
            return want == 0 || (listed && have == want);
        };
        const bool phone = r.areaCode != 0;
        bool ok = keyOk(kRubro, r.rubroId) && keyOk(kLocality, r.localityId) && keyOk(kProvince, d.province) &&
                  keyOk(kGuide, d.guide) && keyOk(kArea, r.areaCode, phone) && keyOk(kPrefix, r.phonePrefix, phone) &&
                  keyOk(kLine, r.phoneLine == 0 ? 10000 : r.phoneLine, phone);
        if (ok && !v.textOf(kNameWords).empty())
            ok = wordsMatch(v.textOf(kNameWords), wordfold::kName, d.nameKeys);
        if (ok && !v.textOf(kAddressWords).empty())
            ok = wordsMatch(v.textOf(kAddressWords), wordfold::kAddress, d.addressKeys);
        if ((filters & (1u << 5)) && !(r.flags & registro::kHasWeb))
            ok = false;
        if ((filters & (1u << 6)) && !(r.flags & registro::kHasMail))
            ok = false;
        if ((filters & (1u << 7)) && !(r.flags & registro::kHasAd))
            ok = false;
        if (ok)
            out.push_back(d.recno);
    }
    return out;
}

// The passing records of the bit set's selected range, walked in order.
inline std::vector<int32_t> passing(FiltroBits& bits)
{
    std::vector<int32_t> out;
    for (int32_t r = bits.FirstPassing(); r != 0; r = bits.NextPassing())
        out.push_back(r);
    return out;
}

// Records the calls in order; optional hooks run inside the calls (on the caller's thread).
class RecordingListener : public PassListener {
public:
    struct Match {
        int32_t record;
        int32_t count;
    };

    void PassStarted() override
    {
        std::function<void()> hook;
        {
            std::lock_guard lock(m_mutex);
            ++m_started;
            m_matches.clear();
            hook = onStarted;
        }
        if (hook)
            hook();
    }
    void MatchFound(int32_t record, int32_t count) override
    {
        std::function<void(int32_t, int32_t)> hook;
        {
            std::lock_guard lock(m_mutex);
            m_matches.push_back({record, count});
            hook = onMatch;
        }
        if (hook)
            hook(record, count);
    }
    void PassEnded(int32_t count) override
    {
        std::function<void(int32_t)> hook;
        {
            std::lock_guard lock(m_mutex);
            ++m_ended;
            m_lastCount = count;
            m_passMatches.push_back(m_matches);
            hook = onEnded;
        }
        if (hook)
            hook(count);
    }

    [[nodiscard]] int started() const
    {
        std::lock_guard lock(m_mutex);
        return m_started;
    }
    [[nodiscard]] int ended() const
    {
        std::lock_guard lock(m_mutex);
        return m_ended;
    }
    [[nodiscard]] int32_t lastCount() const
    {
        std::lock_guard lock(m_mutex);
        return m_lastCount;
    }
    // The matches handed over by the last pass that ended.
    [[nodiscard]] std::vector<Match> lastMatches() const
    {
        std::lock_guard lock(m_mutex);
        return m_passMatches.empty() ? std::vector<Match>{} : m_passMatches.back();
    }
    [[nodiscard]] std::vector<int32_t> lastMatchRecords() const
    {
        std::vector<int32_t> out;
        for (const Match& m : lastMatches())
            out.push_back(m.record);
        return out;
    }

    std::function<void()> onStarted;
    std::function<void(int32_t, int32_t)> onMatch;
    std::function<void(int32_t)> onEnded;

private:
    mutable std::mutex m_mutex;
    int m_started = 0;
    int m_ended = 0;
    int32_t m_lastCount = -1;
    std::vector<Match> m_matches;
    std::vector<std::vector<Match>> m_passMatches;
};

} // namespace searchtest
