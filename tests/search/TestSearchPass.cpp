// Search passes run on the test's own thread (CallerRuns): criteria setters, the withdraw / recompute
// rules, the word reading of the search texts, the hand-off of the first matches, and incremental
// passes checked against a fresh brute-force search of the decoded records.
#include "search/PhoneSplit.h"
#include "search/ThreadFillList.h"
#include "tests/support/SearchFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>

using namespace searchtest;
using criteria::bit;

namespace {

std::vector<Entry> edgeEntries()
{
    using G = GuideKind;
    std::vector<Entry> e;
    auto add = [&](G g, int32_t loc, int32_t rubro, int32_t area, int32_t prefix, int32_t line, const char* name,
                   const char* address) { e.push_back(Entry::of(g, loc, rubro, area, prefix, line, name, address)); };
    add(G::Alphabetical, 1, 0, 11, 4348, 8000, "JOSÉ ARIAS", "AV. SAN MARTIN 100");
    add(G::Alphabetical, 1, 0, 11, 4348, 0, "JOSEFINA PAZ", "SAN MARTIN 200");
    add(G::Alphabetical, 3, 0, 351, 4220, 1234, "GOMEZ S.A.", "BELGRANO 5");
    add(G::Alphabetical, 3, 0, 351, 4220, 1235, "SANTOS SAN", "PJE. S.A. 12");
    add(G::Alphabetical, 5, 0, 341, 480, 123, "CONSTRUCCIONES DEL SUR", "RIVADAVIA 1");
    add(G::Alphabetical, 5, 0, 341, 480, 124, "CONSTRUCCION NORTE", "RIVADAVIA 2");
    add(G::Alphabetical, 5, 0, 341, 480, 125, "CONSTRUCTORA ESTE", "RIVADAVIA 3");
    add(G::Alphabetical, 2, 0, 221, 4000, 1, "AAA BBB CCC DDD EEE FFF GGG HHH", "CALLE 7 NRO 1");
    add(G::Alphabetical, 2, 0, 221, 4000, 2, "AAA BBB CCC DDD EEE FFF GGG", "CALLE 7 NRO 2");
    add(G::Alphabetical, 1, 0, 11, 4348, 9, "GARCIA LOPEZ", "MARTIN FIERRO 9");
    add(G::Alphabetical, 3, 0, 351, 4220, 9, "GARCIA DIAZ", "BELGRANO 7");
    add(G::Alphabetical, 4, 0, 0, 0, 0, "PEREZ", "SAN JUAN 5");
    add(G::Alphabetical, 1, 0, 11, 4349, 10, "SAN MARTIN S.A.", "CALLE 3");
    add(G::Commercial, 1, 1, 11, 4951, 1, "FARMACIA GARCIA", "AV. CORRIENTES 1");
    add(G::Commercial, 3, 2, 351, 4221, 2, "FERRETERIA PEREZ", "SAN MARTIN 5");
    add(G::Commercial, 3, 1, 351, 4221, 3, "FARMACIA CENTRAL", "COLON 8");
    add(G::Professional, 1, 4, 11, 4300, 4, "GARCIA ABOGADO", "TUCUMAN 10");
    e[9].web = true; // GARCIA LOPEZ
    return e;
}

class EdgeCases : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_data = std::make_unique<BuiltDataSet>(edgeEntries());
        s_all = decodeAll(*s_data);
    }
    static void TearDownTestSuite()
    {
        s_all.clear();
        s_data.reset();
    }
    void SetUp() override
    {
        m_worker = std::make_unique<ThreadFillList>(s_data->bits(), s_data->store(), m_listener,
                                                    ThreadFillList::Threading::CallerRuns);
        m_worker->SetRange(0);
        m_worker->ResetCriteria();
        m_worker->runPending();
    }

    // Runs the asked-for passes and returns the names of the passing records.
    std::vector<std::string> search()
    {
        m_worker->runPending();
        std::vector<std::string> names;
        auto bits = m_worker->accessBits();
        for (int32_t r : passing(bits.bits())) {
            registro rec;
            EXPECT_TRUE(s_data->store().ReadRecord(rec, r));
            names.push_back(cp1252::toUtf8(rec.name));
        }
        EXPECT_EQ(static_cast<int32_t>(names.size()), m_worker->matchCount());
        return names;
    }
    // The result must also be what a fresh search with the same criteria gives.
    void expectFresh()
    {
        auto bits = m_worker->accessBits();
        const auto b = bits->selectedBounds();
        EXPECT_EQ(passing(bits.bits()), reference(s_all, m_worker->values(), b.first, b.last));
    }
    static std::vector<std::string> sorted(std::vector<std::string> v)
    {
        std::sort(v.begin(), v.end());
        return v;
    }

    static std::unique_ptr<BuiltDataSet> s_data;
    static std::vector<Decoded> s_all;
    RecordingListener m_listener;
    std::unique_ptr<ThreadFillList> m_worker;
};

std::unique_ptr<BuiltDataSet> EdgeCases::s_data;
std::vector<Decoded> EdgeCases::s_all;

using Names = std::vector<std::string>;

TEST(SplitPhoneNumber, SplitsTheLastFourDigitsOff)
{
    PhoneParts p = SplitPhoneNumber("43488000");
    EXPECT_EQ(p.prefix, 4348);
    EXPECT_EQ(p.line, 8000);
    p = SplitPhoneNumber("123");
    EXPECT_EQ(p.prefix, 0);
    EXPECT_EQ(p.line, 123);
    p = SplitPhoneNumber("43480000");
    EXPECT_EQ(p.line, 0);
    EXPECT_EQ(lineCriterion(p.line), 10000);
    p = SplitPhoneNumber("");
    EXPECT_EQ(p.prefix, 0);
    EXPECT_EQ(p.line, -1);
    EXPECT_EQ(lineCriterion(p.line), 0);
    p = SplitPhoneNumber("4x488000");
    EXPECT_EQ(p.prefix, -1);
    EXPECT_EQ(p.line, 8000);
    p = SplitPhoneNumber("99999999999999");
    EXPECT_EQ(p.prefix, -1);
    EXPECT_EQ(p.line, 9999);
}

TEST_F(EdgeCases, TelephoneCriteria)
{
    const PhoneParts p = SplitPhoneNumber("43488000");
    m_worker->SetPhone(11, p.prefix, lineCriterion(p.line));
    EXPECT_EQ(search(), Names{"JOSÉ ARIAS"});
    EXPECT_EQ(m_worker->lastPassCodes(), bit(9) | bit(10) | bit(11));

    // 0000 is asked for as 10000.
    m_worker->SetPhone(11, 4348, lineCriterion(SplitPhoneNumber("43480000").line));
    EXPECT_EQ(search(), Names{"JOSEFINA PAZ"});

    const PhoneParts shortNumber = SplitPhoneNumber("123");
    m_worker->SetPhone(0, shortNumber.prefix, lineCriterion(shortNumber.line));
    EXPECT_EQ(search(), Names{"CONSTRUCCIONES DEL SUR"});
    EXPECT_EQ(m_worker->lastPassCodes(), bit(11));

    // Keys outside their index give nothing.
    m_worker->SetPhone(0, 60000, 0);
    EXPECT_TRUE(search().empty());
    m_worker->SetPhone(9999, 0, 0);
    EXPECT_TRUE(search().empty());

    // Empty telephone fields and a province: the province's records, telephone or not.
    m_worker->SetPhone(0, 0, 0);
    m_worker->SetPlace(2, 0);
    EXPECT_EQ(sorted(search()), sorted({"GOMEZ S.A.", "SANTOS SAN", "GARCIA DIAZ", "PEREZ"}));
    EXPECT_EQ(m_worker->lastPassCodes(), bit(3));
    expectFresh();
}

TEST_F(EdgeCases, NameWordsAsTheSearchReadsThem)
{
    // É separates: JOSÉ is the word JOS, which JOSEFINA also starts with.
    m_worker->SetNameText(cp("JOSÉ"));
    EXPECT_EQ(sorted(search()), sorted({"JOSÉ ARIAS", "JOSEFINA PAZ"}));
    m_worker->SetNameText("JOSE");
    EXPECT_EQ(search(), Names{"JOSEFINA PAZ"});

    // "." is a word letter in names and asks for the whole word at the end.
    m_worker->SetNameText("S.A.");
    EXPECT_EQ(sorted(search()), sorted({"GOMEZ S.A.", "SAN MARTIN S.A."}));

    // Only the first eight words of three letters or more count; the short ones are skipped.
    m_worker->SetNameText("AAA BBB CCC DDD EEE FFF GGG HHH ZZZNOPE");
    EXPECT_EQ(search(), Names{"AAA BBB CCC DDD EEE FFF GGG HHH"});
    m_worker->SetNameText("AB AAA BBB CCC DDD EEE FFF GGG HHH ZZZNOPE");
    EXPECT_EQ(search(), Names{"AAA BBB CCC DDD EEE FFF GGG HHH"});
    m_worker->SetNameText("AAA BBB CCC DDD EEE FFF GGG ZZZNOPE HHH");
    EXPECT_TRUE(search().empty());

    // A word of 14 letters is looked up by its first 10: CONSTRUCCI.
    m_worker->SetNameText("CONSTRUCCIZZZZ");
    EXPECT_EQ(sorted(search()), sorted({"CONSTRUCCIONES DEL SUR", "CONSTRUCCION NORTE"}));

    // A text with no word of three letters lets every record through.
    m_worker->SetNameText("DE LA");
    EXPECT_EQ(search().size(), 13u);
    expectFresh();
}

TEST_F(EdgeCases, AddressWordsSplitAtTheFullStop)
{
    m_worker->SetAddressText("AV. SAN MARTIN");
    EXPECT_EQ(sorted(search()), sorted({"JOSÉ ARIAS", "JOSEFINA PAZ"}));
    // In an address S.A. is S and A, both too short: no word, every record.
    m_worker->SetAddressText("S.A.");
    EXPECT_EQ(search().size(), 13u);
    m_worker->SetAddressText("SAN");
    EXPECT_EQ(sorted(search()), sorted({"JOSÉ ARIAS", "JOSEFINA PAZ", "PEREZ"}));
    expectFresh();
}

TEST_F(EdgeCases, NameAndAddressWordsTogether)
{
    // Each text's words are required on their own field; their bits must not mix.
    m_worker->SetNameText("GARCIA");
    m_worker->SetAddressText("MARTIN");
    EXPECT_EQ(search(), Names{"GARCIA LOPEZ"});
    m_worker->SetNameText("JOS");
    m_worker->SetAddressText("SAN MARTIN");
    EXPECT_EQ(sorted(search()), sorted({"JOSÉ ARIAS", "JOSEFINA PAZ"}));
    m_worker->SetAddressText("FIERRO");
    EXPECT_TRUE(search().empty());
    EXPECT_EQ(m_worker->lastPassCodes(), bit(13));
    expectFresh();
}

TEST_F(EdgeCases, MissingSecondWordThenTheFirstAlone)
{
    m_worker->SetPlace(1, 0);
    m_worker->SetNameText("GARCIA ZZZNOPE");
    EXPECT_TRUE(search().empty());
    EXPECT_EQ(m_worker->lastPassCodes(), bit(3) | bit(12));
    // The province computed in the failed pass still restricts the result.
    m_worker->SetNameText("GARCIA");
    EXPECT_EQ(search(), Names{"GARCIA LOPEZ"});
    EXPECT_EQ(m_worker->lastPassCodes(), bit(12));
    expectFresh();
}

TEST_F(EdgeCases, PlaceGuideAndRubroSetters)
{
    m_worker->SetPlace(2, 0);
    m_worker->SetPlace(2, 4); // a locality leaves the province as it is
    EXPECT_EQ(search(), Names{"PEREZ"});
    EXPECT_EQ(m_worker->values().keyOf(criteria::kProvince), 2);
    m_worker->SetGuide(1); // clears province and locality
    EXPECT_EQ(m_worker->values().keyOf(criteria::kProvince), 0);
    EXPECT_EQ(m_worker->values().keyOf(criteria::kLocality), 0);
    EXPECT_EQ(search().size(), 6u);
    expectFresh();

    m_worker->SetRange(1);
    m_worker->ResetCriteria();
    m_worker->SetRubro(1);
    EXPECT_EQ(sorted(search()), sorted({"FARMACIA GARCIA", "FARMACIA CENTRAL"}));
    m_worker->SetNameText("GARCIA");
    EXPECT_EQ(search(), Names{"FARMACIA GARCIA"});
    EXPECT_EQ(m_worker->lastPassCodes(), bit(12));
    expectFresh();
}

TEST_F(EdgeCases, ChangesDuringAPassAreRecomputedByTheNextPass)
{
    // The province changes while the name pass runs: that pass completes, the next one computes
    // the province plane only.
    m_worker->SetNameText("GARCIA");
    bool once = false;
    m_listener.onMatch = [&](int32_t, int32_t) {
        if (!std::exchange(once, true))
            m_worker->SetPlace(2, 0);
    };
    EXPECT_EQ(m_worker->runPending(), 2);
    m_listener.onMatch = nullptr;
    EXPECT_EQ(m_worker->lastPassCodes(), bit(3));
    EXPECT_EQ(search(), Names{"GARCIA DIAZ"});
    expectFresh();
}

TEST_F(EdgeCases, ARequestDuringTheExtraPassStartsAnotherOne)
{
    m_worker->SetNameText("GARCIA");
    int pass = 0;
    bool asked[3] = {};
    m_listener.onStarted = [&] { ++pass; };
    m_listener.onMatch = [&](int32_t, int32_t) {
        if (pass == 1 && !std::exchange(asked[1], true))
            m_worker->SetNameText("JOS");
        else if (pass == 2 && !std::exchange(asked[2], true))
            m_worker->SetAddressText("SAN MARTIN 100");
    };
    EXPECT_EQ(m_worker->runPending(), 3);
    m_listener.onStarted = nullptr;
    m_listener.onMatch = nullptr;
    EXPECT_TRUE(m_worker->idle());
    EXPECT_EQ(search(), Names{"JOSÉ ARIAS"});
}

TEST_F(EdgeCases, ATextChangedDuringItsOwnPassIsNotTakenAsComputed)
{
    m_worker->SetNameText("GARCIA");
    bool once = false;
    m_listener.onMatch = [&](int32_t, int32_t) {
        if (!std::exchange(once, true))
            m_worker->SetNameText("PEREZ");
    };
    m_worker->runPending();
    m_listener.onMatch = nullptr;
    EXPECT_EQ(search(), Names{"PEREZ"});
    EXPECT_EQ(m_worker->cleanMask() & bit(12), bit(12));

    // Clearing the form during a pass withdraws everything in the next one.
    m_worker->SetPlace(1, 0);
    m_worker->SetNameText("GARCIA");
    once = false;
    m_listener.onMatch = [&](int32_t, int32_t) {
        if (!std::exchange(once, true))
            m_worker->ResetCriteria();
    };
    m_worker->runPending();
    m_listener.onMatch = nullptr;
    EXPECT_EQ(search().size(), 13u);
    auto bits = m_worker->accessBits();
    EXPECT_FALSE(bits->IsRequired(3));
    EXPECT_FALSE(bits->IsRequired(12));
}

TEST_F(EdgeCases, RangeChangeWithoutResetRecomputesForTheNewRange)
{
    m_worker->SetNameText("GARCIA");
    EXPECT_EQ(search().size(), 2u);
    // The name plane was computed over range 0 only; after the switch a pass asked for by another
    // criterion must compute it again.
    m_worker->SetRange(1);
    m_worker->SetRubro(1);
    EXPECT_EQ(search(), Names{"FARMACIA GARCIA"});
    EXPECT_EQ(m_worker->lastPassCodes(), bit(1) | bit(12));
    m_worker->SetRange(2, true);
    EXPECT_TRUE(search().empty()); // rubro 1 is commercial
    m_worker->SetRubro(4);
    EXPECT_EQ(search(), Names{"GARCIA ABOGADO"});
}

TEST_F(EdgeCases, ResultFiltersStayRequired)
{
    {
        auto bits = m_worker->accessBits();
        bits->SetRequired(5, true);
    }
    m_worker->SetNameText("GARCIA");
    m_worker->runPending();
    {
        auto bits = m_worker->accessBits();
        EXPECT_TRUE(bits->IsRequired(5));
        const auto b = bits->selectedBounds();
        EXPECT_EQ(passing(bits.bits()), reference(s_all, m_worker->values(), b.first, b.last, bit(5)));
        EXPECT_EQ(passing(bits.bits()).size(), 1u);
        bits->SetRequired(5, false);
    }
}

TEST_F(EdgeCases, EveryPassEndsAndHandsOverItsFirstMatches)
{
    m_worker->SetAddressText("RIVADAVIA");
    m_worker->runPending();
    EXPECT_EQ(m_listener.started(), m_listener.ended());
    EXPECT_EQ(m_listener.lastCount(), 3);
    auto bits = m_worker->accessBits();
    EXPECT_EQ(m_listener.lastMatchRecords(), passing(bits.bits()));
    const auto matches = m_listener.lastMatches();
    for (size_t i = 0; i < matches.size(); ++i)
        EXPECT_EQ(matches[i].count, static_cast<int32_t>(i + 1));
}

// The first 30 matches and every 10,000th are handed over, in record order.
TEST(SearchPassHandOff, FirstThirtyThenEveryTenThousandth)
{
    std::vector<Entry> entries;
    for (int i = 0; i < 20'050; ++i) {
        Entry e;
        e.name = "COMUN " + std::to_string(i);
        e.line = i % 10000;
        entries.push_back(e);
    }
    entries[100].name = "OTRO 100"; // one record without the word
    BuiltDataSet d(entries);
    // The first page, found in quick succession, comes in gathered calls, not one call a match.
    struct Batches : RecordingListener {
        void MatchesFound(std::span<const PassListener::Match> m) override
        {
            ++calls;
            RecordingListener::MatchesFound(m);
        }
        int calls = 0;
    } listener;
    ThreadFillList w(d.bits(), d.store(), listener, ThreadFillList::Threading::CallerRuns);
    w.SetRange(0);
    w.SetNameText("COMUN");
    w.runPending();
    EXPECT_GE(listener.calls, 1);
    EXPECT_LT(listener.calls, 30);
    const auto matches = listener.lastMatches();
    ASSERT_EQ(matches.size(), 32u);
    auto bits = w.accessBits();
    const std::vector<int32_t> all = passing(bits.bits());
    ASSERT_EQ(all.size(), 20'049u);
    for (int i = 0; i < 30; ++i) {
        EXPECT_EQ(matches[static_cast<size_t>(i)].count, i + 1);
        EXPECT_EQ(matches[static_cast<size_t>(i)].record, all[static_cast<size_t>(i)]);
    }
    EXPECT_EQ(matches[30].count, 10'000);
    EXPECT_EQ(matches[30].record, all[9'999]);
    EXPECT_EQ(matches[31].count, 20'000);
    EXPECT_EQ(matches[31].record, all[19'999]);
    EXPECT_EQ(listener.lastCount(), 20'049);
}

// Matches far apart: the first is handed over before the planes are cleared, the others by the
// merge that follows, each once and in order.
TEST(SearchPassHandOff, SparseMatchesAreHandedOverOnce)
{
    std::vector<Entry> entries;
    for (int i = 0; i < 20'050; ++i) {
        Entry e;
        e.name = "COMUN " + std::to_string(i); // sorted as text: COMUN 10005 near the start, COMUN 5 late
        e.line = i % 10000;
        entries.push_back(e);
    }
    BuiltDataSet d(entries);
    RecordingListener listener;
    ThreadFillList w(d.bits(), d.store(), listener, ThreadFillList::Threading::CallerRuns);
    w.SetRange(0);
    w.SetNameText("COMUN");
    w.SetPhone(0, 0, 5);
    w.runPending();
    auto bits = w.accessBits();
    const std::vector<int32_t> all = passing(bits.bits());
    ASSERT_EQ(all.size(), 3u);
    const auto matches = listener.lastMatches();
    ASSERT_EQ(matches.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(matches[i].record, all[i]);
        EXPECT_EQ(matches[i].count, static_cast<int32_t>(i + 1));
    }
    EXPECT_GT(all[1] - all[0], 8192); // farther apart than the early search looks
}

// A plane that has to be swept over the whole range (the province plane, set everywhere by the
// ranges): the first matches are handed over before the sweep, the others by the merge, each once
// and in order, with the counts following on.
TEST(SearchPassHandOff, FirstMatchesBeforeAClearThatSweepsTheRange)
{
    std::vector<Entry> entries;
    for (int i = 0; i < 20'050; ++i) {
        Entry e;
        e.name = "COMUN " + std::to_string(i);
        e.locality = i % 3 == 0 ? 3 : 1; // provinces 2 and 1
        e.line = i % 10000;
        entries.push_back(e);
    }
    BuiltDataSet d(entries);
    for (int variant = 0; variant < 2; ++variant) {
        RecordingListener listener;
        ThreadFillList w(d.bits(), d.store(), listener, ThreadFillList::Threading::CallerRuns);
        w.SetRange(0);
        w.ResetCriteria();
        w.runPending();
        {
            auto bits = w.accessBits();
            ASSERT_GT(bits->clearWork(1u << criteria::kProvince), 4096) << "the plane is not listed";
        }
        w.SetPlace(1, 0);
        if (variant == 1)
            w.SetNameText("COMUN"); // two rows merged
        w.runPending();
        auto bits = w.accessBits();
        const std::vector<int32_t> all = passing(bits.bits());
        ASSERT_EQ(all.size(), 13'366u);
        const auto matches = listener.lastMatches();
        ASSERT_EQ(matches.size(), 31u);
        for (size_t i = 0; i < 30; ++i) {
            EXPECT_EQ(matches[i].count, static_cast<int32_t>(i + 1));
            EXPECT_EQ(matches[i].record, all[i]);
        }
        EXPECT_EQ(matches[30].count, 10'000);
        EXPECT_EQ(matches[30].record, all[9'999]);
        EXPECT_EQ(listener.lastCount(), 13'366);
    }
}

// Damaged index files give short or empty answers, never a crash or a record outside the range.
TEST(SearchPassDamage, DamagedIndexesGiveResultsInsideTheRange)
{
    std::mt19937 rng(11);
    auto scribble = [&](const std::string& path, bool truncate) {
        std::vector<char> bytes;
        {
            std::ifstream in(path, std::ios::binary);
            bytes.assign(std::istreambuf_iterator<char>(in), {});
        }
        if (truncate)
            bytes.resize(bytes.size() / 2);
        for (size_t k = 0; k < bytes.size() / 8 + 1 && !bytes.empty(); ++k)
            bytes[rng() % bytes.size()] = static_cast<char>(rng());
        std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<long>(bytes.size()));
    };
    for (int round = 0; round < 6; ++round) {
        BuiltDataSet d(edgeEntries(), [&](const std::string& folder) {
            for (const char* name : {"ixPrv.idx", "ixpal.idx", "ixTeN.idx", "ixLoc.idx"})
                scribble(folder + "/" + name, round % 2 == 1);
        });
        RecordingListener listener;
        ThreadFillList w(d.bits(), d.store(), listener, ThreadFillList::Threading::CallerRuns);
        w.SetRange(round % 3);
        const auto b = w.accessBits()->selectedBounds();
        for (const char* text : {"GARCIA", "S.A.", "SAN MARTIN", "CONSTRUCCIZZZZ"}) {
            w.SetPlace(1 + round % 3, round % 2 ? 0 : 1);
            w.SetNameText(text);
            w.SetAddressText(text);
            w.SetPhone(0, 0, 1 + round);
            w.runPending();
            auto bits = w.accessBits();
            const std::vector<int32_t> result = passing(bits.bits());
            EXPECT_EQ(static_cast<int32_t>(result.size()), w.matchCount());
            for (int32_t r : result)
                EXPECT_TRUE(r >= b.first && r <= b.last) << r;
            for (const auto& m : listener.lastMatches())
                EXPECT_TRUE(m.record >= b.first && m.record <= b.last) << m.record;
        }
    }
}

// ---- Incremental passes against fresh searches

std::vector<Entry> randomEntries(std::mt19937& rng)
{
    static const char* const surnames[] = {"GARCÍA",   "GARCIA",  "GARCILASO",      "PÉREZ",        "PEREYRA",
                                           "GONZÁLEZ", "GÓMEZ",   "JOSÉ",           "JOSEFINA",     "MARTÍNEZ",
                                           "MARTIN",   "SÁNCHEZ", "FERNÁNDEZ",      "LÓPEZ",        "MUÑOZ",
                                           "DÍAZ",     "o'brien", "CONSTRUCCIONES", "CONSTRUCCIÓN", "SAN"};
    static const char* const extras[] = {"S.A.", "S.R.L.", "HNOS.", "DR.", "E HIJOS", "Y CIA", "de la"};
    static const char* const streets[] = {"AV. SAN MARTÍN", "SAN MARTIN", "SAN JUAN",      "AV.CORRIENTES",
                                          "BELGRANO",       "RIVADAVIA",  "MARTÍN FIERRO", "PJE. S.A."};
    auto pick = [&](const auto& table) { return std::string(table[rng() % (sizeof(table) / sizeof(table[0]))]); };
    std::vector<Entry> out;
    auto make = [&](GuideKind g, int count) {
        for (int i = 0; i < count; ++i) {
            Entry e;
            e.guide = g;
            e.locality = 1 + static_cast<int32_t>(rng() % 5);
            if (g == GuideKind::Commercial)
                e.rubro = 1 + static_cast<int32_t>(rng() % 3);
            else if (g == GuideKind::Professional)
                e.rubro = 4 + static_cast<int32_t>(rng() % 2);
            static const int32_t areas[] = {11, 221, 351, 0};
            e.area = areas[rng() % 4];
            e.prefix = static_cast<int32_t>(4000 + rng() % 4);
            e.line = rng() % 5 == 0 ? 0 : static_cast<int32_t>(rng() % 20);
            e.name = pick(surnames);
            for (unsigned k = rng() % 3; k > 0; --k)
                e.name += " " + pick(surnames);
            if (rng() % 3 == 0)
                e.name += " " + pick(extras);
            e.address = pick(streets) + " " + std::to_string(rng() % 2000);
            e.web = rng() % 4 == 0;
            e.mail = rng() % 3 == 0;
            e.ad = g != GuideKind::Alphabetical && rng() % 5 == 0;
            out.push_back(e);
        }
    };
    make(GuideKind::Alphabetical, 420);
    make(GuideKind::Commercial, 160);
    make(GuideKind::Professional, 70);
    return out;
}

TEST(IncrementalPasses, GiveTheResultOfAFreshSearchWithTheFinalCriteria)
{
    std::mt19937 rng(20240611);
    BuiltDataSet d(randomEntries(rng));
    const std::vector<Decoded> all = decodeAll(d);
    static const char* const texts[] = {"GARCIA",
                                        "GAR",
                                        "GARCÍA",
                                        "JOSÉ",
                                        "JOS",
                                        "MART",
                                        "MARTIN.",
                                        "S.A.",
                                        "S.A",
                                        "SAN MARTIN",
                                        "AV. SAN MARTIN",
                                        "CONSTRUCCIZZZZ",
                                        "ZZZNOPE",
                                        "GARCIA ZZZNOPE",
                                        "AB",
                                        "de la",
                                        "garcia perez",
                                        "PEREZ GOMEZ",
                                        "DR.",
                                        "o'brien",
                                        "SAN",
                                        "MUÑOZ",
                                        "CORRIENTES",
                                        "BELGRANO 1",
                                        "RIVADAVIA",
                                        ""};
    auto text = [&] { return cp(texts[rng() % (sizeof(texts) / sizeof(texts[0]))]); };
    auto small = [&](int32_t n) { return static_cast<int32_t>(rng() % static_cast<unsigned>(n)); };

    RecordingListener listener;
    ThreadFillList w(d.bits(), d.store(), listener, ThreadFillList::Threading::CallerRuns);
    w.SetRange(0);
    w.ResetCriteria();
    uint32_t filters = 0;
    int checks = 0;
    for (int sequence = 0; sequence < 60; ++sequence) {
        if (sequence % 4 == 0) { // a section switch
            w.SetRange(small(3));
            w.ResetCriteria();
        }
        for (int step = 0; step < 12; ++step) {
            for (int ops = 1 + small(3); ops > 0; --ops) {
                switch (small(11)) {
                case 0: w.SetNameText(text()); break;
                case 1: w.SetAddressText(text()); break;
                case 2: w.SetPlace(small(5), 0); break;
                case 3: w.SetPlace(small(4), small(7)); break;
                case 4: w.SetRubro(small(7)); break;
                case 5: w.SetGuide(small(4)); break;
                case 6: {
                    const Decoded& r = all[static_cast<size_t>(small(static_cast<int32_t>(all.size())))];
                    const int32_t line = r.rec.phoneLine == 0 ? 10000 : r.rec.phoneLine;
                    w.SetPhone(small(2) ? r.rec.areaCode : 0, small(2) ? r.rec.phonePrefix : 0, small(2) ? line : 0);
                    break;
                }
                case 7: w.SetNameText(""); break;
                case 8: {
                    static const int planes[] = {5, 6, 7};
                    const int p = planes[small(3)];
                    filters ^= bit(p);
                    auto bits = w.accessBits();
                    bits->SetRequired(p, (filters & bit(p)) != 0);
                    break;
                }
                case 9: w.RequestPass(0); break;
                default: // a range change, then a criterion: the pass must recompute all for the new range
                    w.SetRange(small(3));
                    w.SetRubro(small(7));
                    break;
                }
            }
            const int ran = w.runPending();
            auto bits = w.accessBits();
            const auto b = bits->selectedBounds();
            const std::vector<int32_t> expected = reference(all, w.values(), b.first, b.last, filters);
            ASSERT_EQ(passing(bits.bits()), expected) << "sequence " << sequence << " step " << step;
            if (ran == 0)
                continue; // a filter switched alone runs no pass
            ASSERT_EQ(w.matchCount(), static_cast<int32_t>(expected.size()));
            ASSERT_EQ(listener.lastCount(), w.matchCount());
            // A pass that recomputed something hands over the first matches of the final result;
            // one that only withdrew criteria hands over nothing.
            const size_t handedCount = w.lastPassCodes() != 0 ? std::min<size_t>(expected.size(), 30) : 0;
            const std::vector<int32_t> first(expected.begin(), expected.begin() + static_cast<long>(handedCount));
            ASSERT_EQ(listener.lastMatchRecords(), first) << "sequence " << sequence << " step " << step;
            ++checks;
        }
    }
    EXPECT_GT(checks, 600);
}

// The telephone parts keep in their planes only the records that all parts in use hold. Telephone
// searches with two or three parts, narrowed and widened by place, rubro and name between them (so
// that the planes of one telephone search are reused by the next passes), and parts dropped one at a
// time: every result is the brute-force one.
TEST(IncrementalPasses, TelephonePartsBesideNarrowings)
{
    std::mt19937 rng(2901);
    BuiltDataSet d(randomEntries(rng));
    const std::vector<Decoded> all = decodeAll(d);
    auto small = [&](int32_t n) { return static_cast<int32_t>(rng() % static_cast<unsigned>(n)); };
    RecordingListener listener;
    ThreadFillList w(d.bits(), d.store(), listener, ThreadFillList::Threading::CallerRuns);
    int nonEmpty = 0;
    auto check = [&](int round, const char* what) {
        w.runPending();
        auto bits = w.accessBits();
        const auto b = bits->selectedBounds();
        const std::vector<int32_t> expected = reference(all, w.values(), b.first, b.last);
        ASSERT_EQ(passing(bits.bits()), expected) << "round " << round << ": " << what;
        ASSERT_EQ(w.matchCount(), static_cast<int32_t>(expected.size())) << "round " << round << ": " << what;
        nonEmpty += expected.empty() ? 0 : 1;
    };
    for (int round = 0; round < 120; ++round) {
        if (round % 10 == 0) {
            w.SetRange(small(3));
            w.ResetCriteria();
        }
        const Decoded& r = all[static_cast<size_t>(small(static_cast<int32_t>(all.size())))];
        const int32_t line = r.rec.phoneLine == 0 ? 10000 : r.rec.phoneLine;
        const int drop = small(4); // 3: all three parts, else that part left out
        w.SetPhone(drop == 0 ? 0 : r.rec.areaCode, drop == 1 ? 0 : r.rec.phonePrefix, drop == 2 ? 0 : line);
        if (small(2)) // in the same pass
            w.SetPlace(small(3) ? r.province : small(4), 0);
        check(round, "telephone");
        switch (small(4)) {
        case 0: w.SetPlace(r.province, 0); break;
        case 1: w.SetPlace(small(4), 0); break;
        case 2: w.SetRubro(small(2) ? r.rec.rubroId : 0); break;
        default: w.SetNameText(small(2) ? "GARCIA" : ""); break;
        }
        check(round, "narrowed");
        w.SetPhone(r.rec.areaCode, drop == 3 ? r.rec.phonePrefix : 0, 0);
        check(round, "fewer parts");
        w.SetPlace(0, 0);
        check(round, "place removed");
    }
    EXPECT_GT(nonEmpty, 200);
}

// Texts mixing words that match one indexed word (read in order as the merge goes) with prefixes
// matching several (read into the word map), in either order, repeated or missing: each fresh search
// gives the brute-force result, its count and its first matches in order, over every range and with
// a narrowing criterion or the address row beside it.
TEST(WordRows, OneListWordsBesideMapWordsGiveTheReferenceResult)
{
    std::mt19937 rng(5150);
    BuiltDataSet d(randomEntries(rng));
    const std::vector<Decoded> all = decodeAll(d);
    static const char* const texts[] = {"MART GARCIA",   "GARCIA MART",  "GONZÁLEZ JOS",
                                        "GARCIA GARCIA", "GAR GARCIA",   "PEREZ GARCIA GOMEZ",
                                        "MUÑOZ ZZZNOPE", "JOS MART SAN", "SAN MARTIN"};
    RecordingListener listener;
    ThreadFillList w(d.bits(), d.store(), listener, ThreadFillList::Threading::CallerRuns);
    int nonEmpty = 0;
    for (int32_t range = 0; range < 3; ++range)
        for (int variant = 0; variant < 3; ++variant)
            for (const char* text : texts) {
                w.SetRange(range);
                w.ResetCriteria();
                w.SetNameText(cp(text));
                if (variant == 1)
                    w.SetPlace(0, 1 + range);
                if (variant == 2)
                    w.SetAddressText(cp("SAN MARTIN"));
                w.runPending();
                auto bits = w.accessBits();
                const auto b = bits->selectedBounds();
                const std::vector<int32_t> expected = reference(all, w.values(), b.first, b.last);
                ASSERT_EQ(passing(bits.bits()), expected) << text << " range " << range << " variant " << variant;
                ASSERT_EQ(w.matchCount(), static_cast<int32_t>(expected.size()));
                const std::vector<int32_t> first(
                    expected.begin(), expected.begin() + static_cast<long>(std::min<size_t>(expected.size(), 30)));
                ASSERT_EQ(listener.lastMatchRecords(), first) << text << " range " << range << " variant " << variant;
                nonEmpty += expected.empty() ? 0 : 1;
            }
    EXPECT_GT(nonEmpty, 30);
}

// Selection marks (plane 14) and notes (plane 20) set by the main thread between passes and inside
// the hand-offs of a running pass, with their filters switched on and off: the passing records and
// the count at the end of every pass are those of the brute-force search with the marks applied.
TEST(IncrementalPasses, MarksAndNotesChangedDuringAndBetweenPasses)
{
    std::mt19937 rng(77);
    BuiltDataSet d(randomEntries(rng));
    const std::vector<Decoded> all = decodeAll(d);
    auto small = [&](int32_t n) { return static_cast<int32_t>(rng() % static_cast<unsigned>(n)); };
    static const char* const texts[] = {"GARCIA", "JOS", "MART", "SAN", "S.A.", "ZZZNOPE", ""};

    RecordingListener listener;
    ThreadFillList w(d.bits(), d.store(), listener, ThreadFillList::Threading::CallerRuns);
    std::set<int32_t> marked[2]; // planes 14 and 20
    const int planes[2] = {14, 20};
    // What the main thread does to the marks, through the bit set's own calls.
    auto touchMarks = [&](FiltroBits& bits) {
        const int p = small(2);
        const auto b = bits.selectedBounds();
        switch (small(4)) {
        case 0: bits.SetRequired(planes[p], !bits.IsRequired(planes[p])); break;
        case 1:
            if (p == 0) { // the selection dropped over the range
                bits.SetCodeEverywhere(14, false);
                std::erase_if(marked[0], [&](int32_t r) { return r >= b.first && r <= b.last; });
                break;
            }
            [[fallthrough]];
        default:
            for (int i = 1 + small(8); i > 0; --i) {
                const int32_t r = b.first + small(std::max(1, b.last - b.first + 1));
                const bool on = small(3) != 0;
                if (bits.SetBit(r, planes[p], on)) {
                    if (on)
                        marked[p].insert(r);
                    else
                        marked[p].erase(r);
                }
            }
        }
    };
    bool touchedDuringPass = false;
    listener.onMatch = [&](int32_t, int32_t) {
        if (small(4) == 0) {
            auto bits = w.accessBits(); // free at once inside a hand-off
            touchMarks(bits.bits());
            touchedDuringPass = true;
        }
    };

    w.SetRange(0);
    w.ResetCriteria();
    int checks = 0;
    for (int step = 0; step < 400; ++step) {
        if (step % 40 == 0) {
            w.SetRange(small(3));
            w.ResetCriteria();
        }
        switch (small(5)) {
        case 0: w.SetNameText(cp(texts[small(7)])); break;
        case 1: w.SetAddressText(cp(texts[small(7)])); break;
        case 2: w.SetPlace(small(4), 0); break;
        case 3: w.SetRubro(small(6)); break;
        default: {
            auto bits = w.accessBits();
            touchMarks(bits.bits());
            break;
        }
        }
        touchedDuringPass = false;
        const int ran = w.runPending();
        auto bits = w.accessBits();
        const auto b = bits->selectedBounds();
        std::vector<int32_t> expected;
        for (int32_t r : reference(all, w.values(), b.first, b.last)) {
            bool ok = true;
            for (int p = 0; p < 2; ++p)
                ok = ok && (!bits->IsRequired(planes[p]) || marked[p].count(r) > 0);
            if (ok)
                expected.push_back(r);
        }
        ASSERT_EQ(passing(bits.bits()), expected) << "step " << step;
        ASSERT_EQ(bits->CountPassing(), static_cast<int32_t>(expected.size()));
        if (ran == 0)
            continue;
        ASSERT_EQ(w.matchCount(), static_cast<int32_t>(expected.size())) << "step " << step;
        ASSERT_EQ(listener.lastCount(), w.matchCount());
        if (!touchedDuringPass && w.lastPassCodes() != 0) {
            const size_t handed = std::min<size_t>(expected.size(), 30);
            ASSERT_EQ(listener.lastMatchRecords(),
                      std::vector<int32_t>(expected.begin(), expected.begin() + static_cast<long>(handed)));
        }
        ++checks;
    }
    EXPECT_GT(checks, 200);
}

} // namespace
