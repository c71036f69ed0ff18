// The online requests: building, sealing and encoding a recommendation of 200 records (the most the
// marked list holds), and one whole post (HEAD, sealed POST, answer) to PHP's built-in server
// running the server scripts on this machine. Built on a generated sample of 5,000 listings.
#include "online/CurlHttpClient.h"
#include "online/OnlineRequests.h"
#include "online/PostForm.h"
#include "search/MarkedRecords.h"
#include "tests/support/LocalServers.h"
#include "tests/support/SampleDataSet.h"
#include "tools/CliDataSet.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

struct Setting {
    SampleDataSet sample;
    CliDataSet data;
    MarkedRecords marks;
    RecommendFields fields;
};

Setting& setting()
{
    static Setting* s = [] {
        auto* made = new Setting;
        if (!made->sample.make(5000, 9) || !made->data.open(made->sample.folder()))
            std::abort();
        for (int i = 1; i <= MarkedRecords::kSlots; ++i)
            made->marks.AddMarked(i * 17);
        made->fields.from = "ana@example.org";
        made->fields.fromName = "Ana N\xFA\xF1"
                                "ez";
        made->fields.to = "amigo@example.net";
        made->fields.subject = OnlineRequests::recommendSubject(made->fields.fromName);
        made->fields.note = "Te paso los datos que te coment\xE9.\r\nAtienden las 24 horas & hacen env\xEDos.";
        return made;
    }();
    return *s;
}

void BM_Recommendation200SealedAndEncoded(benchmark::State& state)
{
    Setting& s = setting();
    CurlHttpClient unused;
    OnlineRequests requests(*s.data.store, s.data.catalogs(), s.data.ads.get(), unused, "http://127.0.0.1/");
    size_t bytes = 0;
    for (auto _ : state) {
        const std::string payload =
            FormPayload("Date=WED, 09 DEC 2026 10:00:00 GMT&" + requests.recommendBody(s.fields, 0, s.marks));
        bytes = payload.size();
        benchmark::DoNotOptimize(payload.data());
    }
    state.counters["payload_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_Recommendation200SealedAndEncoded)->Unit(benchmark::kMillisecond);

void BM_PostToLocalPhpServer(benchmark::State& state)
{
    if (!localservers::PhpServer::available()) {
        state.SkipWithError("php is not installed");
        return;
    }
    Setting& s = setting();
    TempDir spool("bench-spool");
    localservers::PhpServer server(ORTELIA_SERVER_DIR, {"ORTELIA_SPOOL=" + spool / "s.jsonl"});
    if (!server.ready()) {
        state.SkipWithError("PHP's built-in server did not start");
        return;
    }
    CurlHttpClient client;
    OnlineRequests requests(*s.data.store, s.data.catalogs(), s.data.ads.get(), client, server.base());
    MarkedRecords marks;
    for (int i = 1; i <= state.range(0); ++i)
        marks.AddMarked(i * 17);
    for (auto _ : state) {
        const auto out = requests.Recommend(0, marks, [&] { return std::optional(s.fields); });
        if (!out || out->stage != PostOutcome::Stage::Delivered) {
            state.SkipWithError("the server did not accept the request");
            return;
        }
    }
}
BENCHMARK(BM_PostToLocalPhpServer)->Arg(1)->Arg(200)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
