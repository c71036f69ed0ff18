#include "builder/DataSetBuilder.h"

#include "builder/AdStoreWriter.h"
#include "builder/CatalogWriter.h"
#include "builder/CodedLinesWriter.h"
#include "builder/FlagFileWriter.h"
#include "builder/HuffmanTableBuilder.h"
#include "builder/ListIndexWriter.h"
#include "builder/OutputFile.h"
#include "builder/PictureFileWriter.h"
#include "builder/RecordStoreWriter.h"
#include "builder/WordIndexWriter.h"
#include "engine/DataFiles.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <random>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// What the build knows of each catalog id, looked up once per record.
struct CatalogIndex {
    std::vector<int32_t> localityProvince; // by locality id; -1 = unknown locality
    std::vector<uint32_t> rubroRank;       // by rubro id: position in name order; UINT32_MAX = unknown
    std::vector<char> rubroKind;
    int32_t maxProvince = 0;
    int32_t maxGuide = 0;

    explicit CatalogIndex(const CatalogWriter::Tables& t)
    {
        int32_t maxLocality = 0, maxRubro = 0;
        for (const auto& l : t.localities)
            maxLocality = std::max(maxLocality, l.id);
        for (const auto& r : t.rubros)
            maxRubro = std::max(maxRubro, r.id);
        for (const auto& p : t.provinces)
            maxProvince = std::max(maxProvince, p.id);
        for (const auto& g : t.guides)
            maxGuide = std::max(maxGuide, g.id);
        localityProvince.assign(static_cast<size_t>(maxLocality) + 1, -1);
        for (const auto& l : t.localities)
            if (l.id > 0)
                localityProvince[static_cast<size_t>(l.id)] = l.province;
        rubroRank.assign(static_cast<size_t>(maxRubro) + 1, UINT32_MAX);
        rubroKind.assign(static_cast<size_t>(maxRubro) + 1, 0);
        std::vector<const CatalogWriter::Rubro*> byName;
        for (const auto& r : t.rubros)
            if (r.id > 0)
                byName.push_back(&r);
        std::stable_sort(byName.begin(), byName.end(), [](const auto* a, const auto* b) { return a->name < b->name; });
        for (size_t i = 0; i < byName.size(); ++i) {
            rubroRank[static_cast<size_t>(byName[i]->id)] = static_cast<uint32_t>(i);
            rubroKind[static_cast<size_t>(byName[i]->id)] = byName[i]->kind;
        }
    }
};

bool fail(std::string* error, const std::string& why)
{
    if (error)
        *error = why;
    return false;
}

// Eight bytes of s from position from, as a number that sorts like the bytes.
uint64_t prefix8(std::string_view s, size_t from)
{
    uint64_t v = 0;
    for (size_t i = from; i < from + 8; ++i)
        v = (v << 8) | (i < s.size() ? static_cast<uint8_t>(s[i]) : 0);
    return v;
}

// Writes the list index of one key over every record (a counting sort by key).
bool writeKeyIndex(const std::string& path, const std::vector<uint16_t>& keys, int32_t keyCount, bool keyZeroIsValue,
                   const std::vector<uint8_t>& present, std::string* error)
{
    std::vector<uint32_t> start(static_cast<size_t>(keyCount) + 2, 0);
    for (size_t i = 0; i < keys.size(); ++i)
        if (present.empty() || present[i])
            ++start[static_cast<size_t>(keys[i]) + 1];
    for (size_t k = 1; k < start.size(); ++k)
        start[k] += start[k - 1];
    std::vector<int32_t> records(start.back());
    std::vector<uint32_t> fill(start.begin(), start.end() - 1);
    for (size_t i = 0; i < keys.size(); ++i)
        if (present.empty() || present[i])
            records[fill[keys[i]]++] = static_cast<int32_t>(i + 1);
    ListIndexWriter w(2);
    w.addKeySpace(keyCount);
    for (int32_t k = keyZeroIsValue ? 0 : 1; k < keyCount; ++k) {
        const uint32_t b = start[static_cast<size_t>(k)], e = start[static_cast<size_t>(k) + 1];
        if (b == e)
            continue;
        if (!w.addList(0, k, std::span<const int32_t>(records.data() + b, e - b)))
            return fail(error, path + ": " + w.error());
    }
    if (!writeFile(path, w.finish()))
        return fail(error, "cannot write " + path);
    return true;
}

// The official-bodies tree as the typed lines of "da2.dat"; texts longer than a column go on in
// continuation lines.
std::vector<std::string> officialBodyLines(const std::vector<OfficialBody>& bodies)
{
    static const char* const kTypes[5] = {"", "PROVINCI", "ALPHAHED", "WSBL", "INDD"};
    std::vector<std::string> lines;
    auto withContinuations = [&](std::string_view name, std::string_view type, std::string_view value) {
        const size_t w = CodedLinesWriter::kNameWidth;
        // The reader drops a field's trailing spaces, so no piece ends in one: the spaces at a cut
        // start the next piece instead.
        const auto piece = [&](size_t p) {
            size_t n = std::min(w, name.size() - p);
            while (n > 1 && p + n < name.size() && name[p + n - 1] == ' ')
                --n;
            return n;
        };
        size_t n = piece(0);
        lines.push_back(CodedLinesWriter::officialBodiesLine(name.substr(0, n), type, value));
        for (size_t p = n; p < name.size(); p += n) {
            n = piece(p);
            lines.push_back(CodedLinesWriter::officialBodiesLine(name.substr(p, n), "*", ""));
        }
    };
    for (const auto& b : bodies) {
        const int level = std::clamp(b.level, 1, 4);
        withContinuations(b.name, kTypes[level], b.value);
        for (const auto& [description, number] : b.phones)
            withContinuations(description, "INDT", number);
    }
    return lines;
}

class Stopwatch {
public:
    [[nodiscard]] double seconds() const
    {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
    }

private:
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};

} // namespace

bool DataSetBuilder::build(const SourceModel& model, const std::string& outDir, BuildSummary* summary,
                           std::string* error)
{
    const Stopwatch clock;
    BuildSummary local;
    BuildSummary& sum = summary ? *summary : local;
    sum = BuildSummary{};
    auto progress = [&](const char* stage, uint64_t done, uint64_t total) {
        if (m_progress)
            m_progress(BuildProgress{stage, done, total});
    };

    const ListingTable& listings = model.listings;
    const size_t n = listings.size();
    if (n > static_cast<size_t>(kMaxRecords))
        return fail(error, "too many listings: " + std::to_string(n) + ", the limit is " + std::to_string(kMaxRecords));

    // Check every reference before anything is written.
    const CatalogIndex cat(model.catalogs);
    for (size_t i = 0; i < n; ++i) {
        const Listing l = listings.at(i);
        const auto which = [i] { return "listing " + std::to_string(i + 1); };
        if (l.localityId <= 0 || static_cast<size_t>(l.localityId) >= cat.localityProvince.size() ||
            cat.localityProvince[static_cast<size_t>(l.localityId)] < 0)
            return fail(error, which() + ": unknown locality " + std::to_string(l.localityId));
        if (l.rubroId != 0 && (l.rubroId < 0 || static_cast<size_t>(l.rubroId) >= cat.rubroRank.size() ||
                               cat.rubroRank[static_cast<size_t>(l.rubroId)] == UINT32_MAX))
            return fail(error, which() + ": unknown rubro " + std::to_string(l.rubroId));
        if (l.guideId < 0 || l.guideId > 0xFFFF)
            return fail(error, which() + ": guide number outside 0..65535");
        if (l.adNumber < 0 || static_cast<size_t>(l.adNumber) > model.ads.size())
            return fail(error, which() + ": unknown ad " + std::to_string(l.adNumber));
        if (l.areaCode < 0 || l.areaCode > 0xFFFF || l.phonePrefix < 0 || l.phonePrefix > 0xFFFF || l.phoneLine < 0 ||
            l.phoneLine > 9999)
            return fail(error, which() + ": telephone outside its fields");
    }

    // Record order: the three guides one after another; commercial and professional by rubro name;
    // then by name and address, keeping the source order of a subscriber's lines.
    // Sixteen bytes of the name in the key settle most comparisons without touching the listings
    // (surnames alone often fill the first eight).
    struct Key {
        uint64_t name;
        uint64_t name2;
        uint32_t group; // guide << 24 | rubro rank
        uint32_t index;
    };
    std::vector<Key> keys(n);
    for (size_t i = 0; i < n; ++i) {
        const Listing l = listings.at(i);
        const uint32_t rank = l.guide == GuideKind::Alphabetical || l.rubroId == 0
                                  ? 0
                                  : 1 + cat.rubroRank[static_cast<size_t>(l.rubroId)];
        keys[i] = {prefix8(l.name, 0), prefix8(l.name, 8), (static_cast<uint32_t>(l.guide) << 24) | rank,
                   static_cast<uint32_t>(i)};
    }
    std::sort(keys.begin(), keys.end(), [&](const Key& a, const Key& b) {
        if (a.group != b.group)
            return a.group < b.group;
        if (a.name != b.name)
            return a.name < b.name;
        if (a.name2 != b.name2)
            return a.name2 < b.name2;
        const Listing la = listings.at(a.index), lb = listings.at(b.index);
        if (la.name != lb.name)
            return la.name < lb.name;
        if (la.address != lb.address)
            return la.address < lb.address;
        return a.index < b.index;
    });
    progress("orden", n, n);

    // Records in their final order, with inheritance marked and texts counted for the code table.
    SymbolCounts counts{};
    // Fills f (reusing its storage) with the record at position r of the final order.
    auto fieldsOf = [&](RecordFields& f, const Listing& l, const Listing* prev) {
        f.name.assign(l.name);
        f.address.assign(l.address);
        f.web.assign(l.web);
        f.mail.assign(l.mail);
        f.localityId = l.localityId;
        f.rubroId = l.rubroId;
        f.areaCode = l.areaCode;
        f.phonePrefix = l.phonePrefix;
        f.phoneLine = l.phoneLine;
        f.adNumber = l.adNumber;
        f.nameInherited = f.addressInherited = false;
        if (prev && prev->guide == l.guide && !l.name.empty() && prev->name == l.name) {
            f.nameInherited = true;
            f.addressInherited = !l.address.empty() && prev->address == l.address;
        }
    };
    RecordFields fields;
    for (size_t r = 0; r < n; ++r) {
        const Listing l = listings.at(keys[r].index);
        const Listing prev = r > 0 ? listings.at(keys[r - 1].index) : Listing{};
        fieldsOf(fields, l, r > 0 ? &prev : nullptr);
        countRecordSymbols(counts, fields);
    }
    const auto recordTable = buildHuffmanTable(counts);
    huffman recordCodes;
    recordCodes.loadBytes(recordTable.data(), recordTable.size());

    // A temporary folder beside the destination, so the final rename stays on one file system.
    const fs::path out(outDir);
    const fs::path parent = out.has_parent_path() ? out.parent_path() : fs::path(".");
    std::error_code ec;
    fs::create_directories(parent, ec);
    const fs::path tmp = parent / (out.filename().string() + ".building-" + std::to_string(::getpid()));
    fs::remove_all(tmp, ec);
    if (!fs::create_directories(tmp, ec))
        return fail(error, "cannot create " + tmp.string());
    struct Cleanup {
        fs::path path;
        bool keep = false;
        ~Cleanup()
        {
            std::error_code e;
            if (!keep)
                fs::remove_all(path, e);
        }
    } cleanup{tmp};
    const auto at = [&](const char* name) { return (tmp / name).string(); };

    RecordStoreWriter store(at(datafiles::kRecords), at(datafiles::kOffsets), recordCodes);
    FlagFileWriter flags(0);
    // The word index needs only the listings in record order: it is built on a second thread while
    // this one writes the records and the key indexes.
    std::string wordError;
    std::thread wordThread([&] {
        WordIndexWriter words;
        for (size_t r = 0; r < n; ++r) {
            const Listing l = listings.at(keys[r].index);
            if (!words.addRecordText(static_cast<int32_t>(r + 1), l.name, l.address)) {
                wordError = "word index: " + words.error();
                return;
            }
        }
        if (!words.finish())
            wordError = "word index: " + words.error();
        else if (!words.writeFiles(at(datafiles::kIndexes[6]), at(datafiles::kWordTable)))
            wordError = "cannot write ixpal.idx / ixpal.hfm";
    });
    struct Joiner {
        std::thread& t;
        ~Joiner()
        {
            if (t.joinable())
                t.join();
        }
    } joiner{wordThread};
    std::vector<uint16_t> keyArea(n), keyPrefix(n), keyLine(n), keyLocality(n), keyProvince(n), keyGuide(n),
        keyRubro(n);
    std::vector<uint8_t> hasPhone(n);
    int32_t guideFirst[3] = {0, 0, 0}, guideLast[3] = {0, 0, 0};
    std::string resolvedName;
    for (size_t r = 0; r < n; ++r) {
        const Listing l = listings.at(keys[r].index);
        const Listing prev = r > 0 ? listings.at(keys[r - 1].index) : Listing{};
        fieldsOf(fields, l, r > 0 ? &prev : nullptr);
        std::string why;
        if (!store.add(fields, &why))
            return fail(error, "listing " + std::to_string(keys[r].index + 1) + ": " + why);
        const auto recno = static_cast<int32_t>(r + 1);
        flags.addRecord({!l.web.empty(), !l.mail.empty(), l.adNumber != 0});
        const int g = static_cast<int>(l.guide);
        if (guideFirst[g] == 0)
            guideFirst[g] = recno;
        guideLast[g] = recno;
        hasPhone[r] = l.areaCode != 0;
        keyArea[r] = static_cast<uint16_t>(l.areaCode);
        keyPrefix[r] = static_cast<uint16_t>(l.phonePrefix);
        keyLine[r] = static_cast<uint16_t>(l.phoneLine);
        keyLocality[r] = static_cast<uint16_t>(l.localityId);
        keyProvince[r] = static_cast<uint16_t>(std::max(0, cat.localityProvince[static_cast<size_t>(l.localityId)]));
        keyGuide[r] = static_cast<uint16_t>(l.guideId);
        keyRubro[r] = static_cast<uint16_t>(l.rubroId);
        if (r % 100000 == 0)
            progress("registros", r, n);
    }
    progress("registros", n, n);
    if (!store.finish())
        return fail(error, "cannot write the record file");
    if (!writeFile(at(datafiles::kRecordTable), {recordTable.begin(), recordTable.end()}))
        return fail(error, "cannot write QD.hfm");
    for (int g = 0; g < 3; ++g) {
        sum.records[g] = guideFirst[g] ? guideLast[g] - guideFirst[g] + 1 : 0;
        if (guideFirst[g])
            flags.setGuideRange(g, guideFirst[g], guideLast[g]);
    }
    if (!flags.save(at(datafiles::kFlags), at(datafiles::kLimits)))
        return fail(error, "cannot write QD.flg / QD.lmt");

    // Key indexes: the key count is one above the largest key in use (at least 1).
    auto keyCount = [](const std::vector<uint16_t>& v, int32_t atLeast) {
        int32_t m = atLeast;
        for (uint16_t k : v)
            m = std::max<int32_t>(m, k + 1);
        return m;
    };
    const std::vector<uint8_t> everyRecord;
    const struct {
        const char* file;
        const std::vector<uint16_t>* keys;
        int32_t count;
        bool zero;
        const std::vector<uint8_t>* present;
    } indexes[] = {
        {datafiles::kIndexes[0], &keyArea, keyCount(keyArea, 1), false, &hasPhone},
        {datafiles::kIndexes[1], &keyPrefix, keyCount(keyPrefix, 1), false, &hasPhone},
        // The line 0000 is entry 0 of a 10000-key space (asked for as 10000).
        {datafiles::kIndexes[2], &keyLine, 10000, true, &hasPhone},
        {datafiles::kIndexes[3], &keyLocality, keyCount(keyLocality, 1), false, &everyRecord},
        {datafiles::kIndexes[4], &keyProvince, keyCount(keyProvince, cat.maxProvince + 1), false, &everyRecord},
        {datafiles::kIndexes[5], &keyGuide, keyCount(keyGuide, cat.maxGuide + 1), false, &everyRecord},
        {datafiles::kIndexes[7], &keyRubro, keyCount(keyRubro, 1), false, &everyRecord},
    };
    int done = 0;
    for (const auto& ix : indexes) {
        if (!writeKeyIndex(at(ix.file), *ix.keys, ix.count, ix.zero, *ix.present, error))
            return false;
        progress("índices", static_cast<uint64_t>(++done), 8);
    }
    keyArea = {}, keyPrefix = {}, keyLine = {}, keyLocality = {}, keyProvince = {}, keyGuide = {}, keyRubro = {};
    wordThread.join();
    if (!wordError.empty())
        return fail(error, wordError);
    progress("índices", 8, 8);

    std::string why;
    if (!CatalogWriter::save(model.catalogs, at(datafiles::kCatalogs), &why))
        return fail(error, "catalogs: " + why);

    AdStoreWriter ads;
    for (size_t i = 0; i < model.ads.size(); ++i) {
        const SourceAd& a = model.ads[i];
        const bool picture = a.kind == 0 || a.kind == 5;
        if (picture && a.pictureId != 0 && !model.pictures.count(a.pictureId))
            return fail(error, "ad " + std::to_string(i + 1) + ": missing picture " + std::to_string(a.pictureId));
        if (!ads.addLines(a.kind, a.reference, picture ? a.pictureId : 0, a.lines))
            return fail(error, "ad " + std::to_string(i + 1) + ": text too long or holding a control byte");
    }
    if (!ads.save(at(datafiles::kAds), at(datafiles::kAdOffsets), at(datafiles::kAdTable), &why))
        return fail(error, "ads: " + why);
    sum.ads = static_cast<int32_t>(model.ads.size());

    CodedLinesWriter bodies;
    for (const std::string& line : officialBodyLines(model.officialBodies))
        if (!bodies.add(line))
            return fail(error, "official bodies: a line longer than 255 characters");
    if (!bodies.save(at(datafiles::kBodies), at(datafiles::kBodiesTable), &why))
        return fail(error, "official bodies: " + why);

    std::vector<uint8_t> pictures;
    if (!picturefile::build(model.pictures, pictures, &why))
        return fail(error, "pictures: " + why);
    if (!writeFile(at(datafiles::kPictures), pictures))
        return fail(error, "cannot write Img.bld");
    sum.pictures = static_cast<int32_t>(model.pictures.size());

    for (const auto& [folder, set] : model.banners) {
        const fs::path dir = tmp / "banners" / std::to_string(folder);
        fs::create_directories(dir, ec);
        for (size_t k = 0; k < set.size(); ++k)
            if (!writeFile((dir / (std::to_string(k + 1) + ".gif")).string(), set[k]))
                return fail(error, "cannot write banner " + std::to_string(folder) + "/" + std::to_string(k + 1));
    }
    fs::create_directories(tmp / "info", ec);
    if (!writeFile((tmp / "info" / "Productos.html").string(),
                   std::vector<uint8_t>(model.productsHtml.begin(), model.productsHtml.end())))
        return fail(error, "cannot write info/Productos.html");

    for (const char* name : datafiles::kAll)
        sum.files.emplace_back(name, fs::file_size(tmp / name, ec));

    // Swap the finished folder in: the old one (if any) is removed only after the new one is there.
    const fs::path old = parent / (out.filename().string() + ".old-" + std::to_string(::getpid()));
    const bool hadOld = fs::exists(out);
    if (hadOld) {
        fs::rename(out, old, ec);
        if (ec)
            return fail(error, "cannot move the old " + out.string() + " aside: " + ec.message());
    }
    fs::rename(tmp, out, ec);
    if (ec) {
        if (hadOld)
            fs::rename(old, out, ec);
        return fail(error, "cannot rename " + tmp.string() + " to " + out.string());
    }
    cleanup.keep = true;
    if (hadOld)
        fs::remove_all(old, ec);
    sum.seconds = clock.seconds();
    return true;
}
