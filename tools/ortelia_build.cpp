// ortelia-build: the data-set compiler. Turns a publisher's source folder (docs/source-format.md)
// into a data folder, or generates a deterministic sample directory of N listings and builds it.
// Progress goes to standard error; a summary to standard output. Exit status 0, or 2 with the
// reason (file, line and cause for source errors).
#include "builder/DataSetBuilder.h"
#include "builder/OutputFolder.h"
#include "builder/SampleGenerator.h"
#include "builder/SourceReader.h"
#include "tools/BuildPictures.h"

#include <charconv>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <string_view>
#include <unistd.h>

namespace {

const char* const kUsage = "usage: ortelia-build SOURCE_FOLDER OUT_FOLDER\n"
                           "       ortelia-build --sample N [--seed S] OUT_FOLDER\n";

bool parse(std::string_view s, uint64_t& v)
{
    const auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    return ec == std::errc() && p == s.data() + s.size();
}

// One status line, rewritten in place on a terminal; on a pipe, a line per stage and per tenth.
class ProgressPrinter {
public:
    void operator()(const BuildProgress& p)
    {
        const double now = clock();
        const bool tty = ::isatty(2) != 0;
        const int tenth = p.total ? static_cast<int>(10 * p.done / p.total) : 10;
        if (p.stage != m_stage) {
            if (tty && !m_stage.empty())
                std::fputc('\n', stderr);
            m_stage = p.stage;
            m_stageStart = now;
            m_tenth = -1;
        }
        if (!tty && tenth == m_tenth)
            return;
        m_tenth = tenth;
        const double elapsed = now - m_stageStart;
        const double rate = elapsed > 0 ? static_cast<double>(p.done) / elapsed : 0;
        const double left = rate > 0 ? static_cast<double>(p.total - p.done) / rate : 0;
        std::fprintf(stderr, "%s%-10s %10llu / %-10llu %9.0f/s  faltan %4.0f s%s", tty ? "\r" : "", p.stage.c_str(),
                     static_cast<unsigned long long>(p.done), static_cast<unsigned long long>(p.total), rate, left,
                     tty ? "" : "\n");
        std::fflush(stderr);
    }
    void finish()
    {
        if (::isatty(2) && !m_stage.empty())
            std::fputc('\n', stderr);
    }

private:
    static double clock()
    {
        return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
    }
    std::string m_stage;
    double m_stageStart = 0;
    int m_tenth = -1;
};

int fail(const std::string& why)
{
    std::cerr << "ortelia-build: " << why << (why.empty() || why.back() != '\n' ? "\n" : "");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::string_view> args(argv + 1, argv + argc);
    uint64_t sample = 0, seed = 1;
    bool isSample = false;
    std::vector<std::string_view> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--sample" || args[i] == "--seed") {
            if (i + 1 >= args.size() || !parse(args[i + 1], args[i] == "--sample" ? sample : seed))
                return fail(std::string(args[i]) + " needs a number\n" + kUsage);
            isSample = isSample || args[i] == "--sample";
            ++i;
        } else if (args[i] == "--help" || args[i] == "-h") {
            std::cout << kUsage;
            return 0;
        } else if (!args[i].empty() && args[i][0] == '-') {
            return fail("unknown option " + std::string(args[i]) + "\n" + kUsage);
        } else {
            positional.push_back(args[i]);
        }
    }
    if (positional.size() != (isSample ? 1u : 2u))
        return fail(kUsage);
    if (isSample && (sample < 1 || sample > static_cast<uint64_t>(DataSetBuilder::kMaxRecords)))
        return fail("--sample must be 1 to " + std::to_string(DataSetBuilder::kMaxRecords));

    // A refused destination is said before the source is read or a sample drawn.
    const std::string source = isSample ? std::string() : std::string(positional[0]);
    if (const std::string why = OutputFolder::refusal(std::string(positional.back()), source); !why.empty())
        return fail(why + "; nothing was changed");

    // Owns the application object that drawing needs, for the rest of main.
    const BuildPictures pictures;
    SourceModel model;
    std::string error;
    ProgressPrinter printer;
    if (isSample) {
        SampleOptions options;
        options.listings = static_cast<int32_t>(sample);
        options.seed = seed;
        options.progress = [&](int32_t done, int32_t total) {
            printer(BuildProgress{"abonados", static_cast<uint64_t>(done), static_cast<uint64_t>(total)});
        };
        if (!generateSample(options, &pictures, model, &error))
            return fail(error);
    } else {
        SourceReader reader;
        reader.setPictureConverter(
            [&](const std::vector<uint8_t>& in, std::vector<uint8_t>& png) { return pictures.toPng(in, png); });
        if (!reader.read(std::string(positional[0]), model, &error))
            return fail(error);
    }

    DataSetBuilder builder;
    builder.setSourceFolder(source);
    builder.setProgress([&](const BuildProgress& p) { printer(p); });
    BuildSummary summary;
    const bool ok = builder.build(model, std::string(positional.back()), &summary, &error);
    printer.finish();
    if (!ok)
        return fail(error);

    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("Guía telefónica:  %d registros\nGuía comercial:   %d registros\nGuía profesional: %d registros\n",
                summary.records[0], summary.records[1], summary.records[2]);
    std::printf("Avisos: %d, imágenes: %d\n", summary.ads, summary.pictures);
    for (const auto& [name, size] : summary.files)
        std::printf("  %-11s %12llu bytes\n", name.c_str(), static_cast<unsigned long long>(size));
    std::printf("Listo en %.1f s: %s\n", seconds, std::string(positional.back()).c_str());
    return 0;
}
