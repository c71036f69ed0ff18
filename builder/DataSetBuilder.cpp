#include "builder/DataSetBuilder.h"

#include "builder/AdStoreWriter.h"
#include "builder/CatalogWriter.h"
#include "builder/CodedLinesWriter.h"
#include "builder/FlagFileWriter.h"
#include "builder/HuffmanTableBuilder.h"
#include "builder/ListIndexWriter.h"
#include "builder/OutputFile.h"
#include "builder/OutputFolder.h"
#include "builder/PictureFileWriter.h"
#include "builder/RecordStoreWriter.h"
#include "builder/WordIndexWriter.h"
#include "engine/DataFiles.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <thread>

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

// "file:line" of entry index when the model was read from a source folder, else "noun number".
std::string where(const std::vector<int32_t>& lines, size_t index, const char* file, const char* noun)
{
    if (index < lines.size())
        return std::string(file) + ":" + std::to_string(lines[index]);
    return std::string(noun) + " " + std::to_string(index + 1);
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

// One node of the official-bodies tree as the typed lines of "da2.dat"; texts longer than a column go on in
// continuation lines.
std::vector<std::string> officialBodyLines(const OfficialBody& b)
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
    const int level = std::clamp(b.level, 1, 4);
    withContinuations(b.name, kTypes[level], b.value);
    for (const auto& [description, number] : b.phones)
        withContinuations(description, "INDT", number);
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

// One build, stage by stage; each stage returns false with error set.
class DataSetBuilder::Run {
public:
    Run(const SourceModel& model, BuildSummary& sum, std::string* error, const ProgressFn& progress)
        : m_model(model), m_listings(model.listings), m_n(model.listings.size()), m_cat(model.catalogs), m_sum(sum),
          m_error(error), m_progressFn(progress)
    {}

    // Every reference of every listing, before anything is written.
    bool checkListings();
    // The final record order and the record code table from the texts in that order.
    void orderRecords();
    void buildRecordCodes();
    // Records, flags, guide ranges and key indexes; the word index on a second thread meanwhile.
    bool writeRecordsAndIndexes(const fs::path& dir);
    bool writeCatalogs(const fs::path& dir);
    bool writeAds(const fs::path& dir);
    bool writeOfficialBodies(const fs::path& dir);
    bool writePictures(const fs::path& dir);
    bool writeBannersAndPages(const fs::path& dir);

private:
    struct Key {
        uint64_t name;
        uint64_t name2;
        uint32_t group; // guide << 24 | rubro rank
        uint32_t index;
    };

    void progress(const char* stage, uint64_t done, uint64_t total) const
    {
        if (m_progressFn)
            m_progressFn(BuildProgress{stage, done, total});
    }
    [[nodiscard]] std::string listing(size_t index) const
    {
        return where(m_model.origin.listings, index, "abonados.tsv", "listing");
    }
    // Fills f (reusing its storage) with listing l, marking what it inherits from prev.
    static void fieldsOf(RecordFields& f, const Listing& l, const Listing* prev);
    bool writeWordIndex(const fs::path& dir, std::string& wordError) const;

    const SourceModel& m_model;
    const ListingTable& m_listings;
    const size_t m_n;
    const CatalogIndex m_cat;
    BuildSummary& m_sum;
    std::string* m_error;
    const ProgressFn& m_progressFn;
    std::vector<Key> m_keys;
    std::vector<uint8_t> m_recordTable;
};

bool DataSetBuilder::Run::checkListings()
{
    if (m_n > static_cast<size_t>(kMaxRecords))
        return fail(m_error,
                    "too many listings: " + std::to_string(m_n) + ", the limit is " + std::to_string(kMaxRecords));
    for (size_t i = 0; i < m_n; ++i) {
        const Listing l = m_listings.at(i);
        const auto which = [&] { return listing(i); };
        if (l.localityId <= 0 || static_cast<size_t>(l.localityId) >= m_cat.localityProvince.size() ||
            m_cat.localityProvince[static_cast<size_t>(l.localityId)] < 0)
            return fail(m_error, which() + ": unknown locality " + std::to_string(l.localityId));
        if (l.rubroId != 0 && (l.rubroId < 0 || static_cast<size_t>(l.rubroId) >= m_cat.rubroRank.size() ||
                               m_cat.rubroRank[static_cast<size_t>(l.rubroId)] == UINT32_MAX))
            return fail(m_error, which() + ": unknown rubro " + std::to_string(l.rubroId));
        if (l.guideId < 0 || l.guideId > 0xFFFF)
            return fail(m_error, which() + ": guide number outside 0..65535");
        if (l.adNumber < 0 || static_cast<size_t>(l.adNumber) > m_model.ads.size())
            return fail(m_error, which() + ": unknown ad " + std::to_string(l.adNumber));
        if (l.areaCode < 0 || l.areaCode > 0xFFFF || l.phonePrefix < 0 || l.phonePrefix > 0xFFFF || l.phoneLine < 0 ||
            l.phoneLine > 9999)
            return fail(m_error, which() + ": telephone outside its fields");
    }
    return true;
}

void DataSetBuilder::Run::orderRecords()
{
    // The three guides one after another; commercial and professional by rubro name; then by name
    // and address, keeping the source order of a subscriber's lines. Sixteen bytes of the name in
    // the key settle most comparisons without touching the listings (surnames alone often fill
    // the first eight).
    m_keys.resize(m_n);
    for (size_t i = 0; i < m_n; ++i) {
        const Listing l = m_listings.at(i);
        const uint32_t rank = l.guide == GuideKind::Alphabetical || l.rubroId == 0
                                  ? 0
                                  : 1 + m_cat.rubroRank[static_cast<size_t>(l.rubroId)];
        m_keys[i] = {prefix8(l.name, 0), prefix8(l.name, 8), (static_cast<uint32_t>(l.guide) << 24) | rank,
                     static_cast<uint32_t>(i)};
    }
    std::sort(m_keys.begin(), m_keys.end(), [&](const Key& a, const Key& b) {
        if (a.group != b.group)
            return a.group < b.group;
        if (a.name != b.name)
            return a.name < b.name;
        if (a.name2 != b.name2)
            return a.name2 < b.name2;
        const Listing la = m_listings.at(a.index), lb = m_listings.at(b.index);
        if (la.name != lb.name)
            return la.name < lb.name;
        if (la.address != lb.address)
            return la.address < lb.address;
        return a.index < b.index;
    });
    progress("orden", m_n, m_n);
}

void DataSetBuilder::Run::fieldsOf(RecordFields& f, const Listing& l, const Listing* prev)
{
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
}

void DataSetBuilder::Run::buildRecordCodes()
{
    SymbolCounts counts{};
    RecordFields fields;
    for (size_t r = 0; r < m_n; ++r) {
        const Listing l = m_listings.at(m_keys[r].index);
        const Listing prev = r > 0 ? m_listings.at(m_keys[r - 1].index) : Listing{};
        fieldsOf(fields, l, r > 0 ? &prev : nullptr);
        countRecordSymbols(counts, fields);
    }
    const auto table = buildHuffmanTable(counts);
    m_recordTable.assign(table.begin(), table.end());
}

bool DataSetBuilder::Run::writeWordIndex(const fs::path& dir, std::string& wordError) const
{
    WordIndexWriter words;
    for (size_t r = 0; r < m_n; ++r) {
        const Listing l = m_listings.at(m_keys[r].index);
        if (!words.addRecordText(static_cast<int32_t>(r + 1), l.name, l.address)) {
            wordError = listing(m_keys[r].index) + ": word index: " + words.error();
            return false;
        }
    }
    if (!words.finish())
        wordError = "word index: " + words.error();
    else if (!words.writeFiles((dir / datafiles::kIndexes[6]).string(), (dir / datafiles::kWordTable).string()))
        wordError = "cannot write ixpal.idx / ixpal.hfm";
    return wordError.empty();
}

bool DataSetBuilder::Run::writeRecordsAndIndexes(const fs::path& dir)
{
    const auto at = [&](const char* name) { return (dir / name).string(); };
    huffman recordCodes;
    recordCodes.loadBytes(m_recordTable.data(), m_recordTable.size());
    RecordStoreWriter store(at(datafiles::kRecords), at(datafiles::kOffsets), recordCodes);
    FlagFileWriter flags(0);
    // The word index needs only the listings in record order: it is built on a second thread while
    // this one writes the records and the key indexes.
    std::string wordError;
    std::thread wordThread([&] { writeWordIndex(dir, wordError); });
    struct Joiner {
        std::thread& t;
        ~Joiner()
        {
            if (t.joinable())
                t.join();
        }
    } joiner{wordThread};
    const size_t n = m_n;
    std::vector<uint16_t> keyArea(n), keyPrefix(n), keyLine(n), keyLocality(n), keyProvince(n), keyGuide(n),
        keyRubro(n);
    std::vector<uint8_t> hasPhone(n);
    int32_t guideFirst[3] = {0, 0, 0}, guideLast[3] = {0, 0, 0};
    RecordFields fields;
    for (size_t r = 0; r < n; ++r) {
        const Listing l = m_listings.at(m_keys[r].index);
        const Listing prev = r > 0 ? m_listings.at(m_keys[r - 1].index) : Listing{};
        fieldsOf(fields, l, r > 0 ? &prev : nullptr);
        std::string why;
        if (!store.add(fields, &why))
            return fail(m_error, listing(m_keys[r].index) + ": " + why);
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
        keyProvince[r] = static_cast<uint16_t>(std::max(0, m_cat.localityProvince[static_cast<size_t>(l.localityId)]));
        keyGuide[r] = static_cast<uint16_t>(l.guideId);
        keyRubro[r] = static_cast<uint16_t>(l.rubroId);
        if (r % 100000 == 0)
            progress("registros", r, n);
    }
    progress("registros", n, n);
    if (!store.finish())
        return fail(m_error, "cannot write the record file");
    if (!writeFile(at(datafiles::kRecordTable), m_recordTable))
        return fail(m_error, "cannot write QD.hfm");
    for (int g = 0; g < 3; ++g) {
        m_sum.records[g] = guideFirst[g] ? guideLast[g] - guideFirst[g] + 1 : 0;
        if (guideFirst[g])
            flags.setGuideRange(g, guideFirst[g], guideLast[g]);
    }
    if (!flags.save(at(datafiles::kFlags), at(datafiles::kLimits)))
        return fail(m_error, "cannot write QD.flg / QD.lmt");

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
        {datafiles::kIndexes[4], &keyProvince, keyCount(keyProvince, m_cat.maxProvince + 1), false, &everyRecord},
        {datafiles::kIndexes[5], &keyGuide, keyCount(keyGuide, m_cat.maxGuide + 1), false, &everyRecord},
        {datafiles::kIndexes[7], &keyRubro, keyCount(keyRubro, 1), false, &everyRecord},
    };
    int done = 0;
    for (const auto& ix : indexes) {
        if (!writeKeyIndex(at(ix.file), *ix.keys, ix.count, ix.zero, *ix.present, m_error))
            return false;
        progress("índices", static_cast<uint64_t>(++done), 8);
    }
    wordThread.join();
    if (!wordError.empty())
        return fail(m_error, wordError);
    progress("índices", 8, 8);
    return true;
}

bool DataSetBuilder::Run::writeCatalogs(const fs::path& dir)
{
    std::string why;
    CatalogWriter::Refused refused;
    if (CatalogWriter::save(m_model.catalogs, (dir / datafiles::kCatalogs).string(), &why, &refused))
        return true;
    using T = CatalogWriter::Table;
    const SourceOrigin& o = m_model.origin;
    const struct {
        T table;
        const std::vector<int32_t>* lines;
        const char* file;
    } files[] = {{T::Provinces, &o.provinces, "provincias.tsv"},    {T::Guides, &o.guides, "guias.tsv"},
                 {T::Localities, &o.localities, "localidades.tsv"}, {T::Rubros, &o.rubros, "rubros.tsv"},
                 {T::Countries, &o.countries, "paises.tsv"},        {T::Cities, &o.cities, "ciudades.tsv"},
                 {T::UsefulNumbers, &o.usefulNumbers, "utiles.tsv"}};
    for (const auto& f : files)
        if (f.table == refused.table && refused.index < f.lines->size())
            return fail(m_error,
                        std::string(f.file) + ":" + std::to_string((*f.lines)[refused.index]) + ": catalogs: " + why);
    return fail(m_error, "catalogs: " + why);
}

bool DataSetBuilder::Run::writeAds(const fs::path& dir)
{
    AdStoreWriter ads;
    for (size_t i = 0; i < m_model.ads.size(); ++i) {
        const SourceAd& a = m_model.ads[i];
        const std::string which = where(m_model.origin.ads, i, "avisos.tsv", "ad");
        const bool picture = a.kind == 0 || a.kind == 5;
        if (picture && a.pictureId != 0 && !m_model.pictures.count(a.pictureId))
            return fail(m_error, which + ": missing picture " + std::to_string(a.pictureId));
        if (!ads.addLines(a.kind, a.reference, picture ? a.pictureId : 0, a.lines))
            return fail(m_error, which + ": text too long or holding a control byte");
    }
    std::string why;
    if (!ads.save((dir / datafiles::kAds).string(), (dir / datafiles::kAdOffsets).string(),
                  (dir / datafiles::kAdTable).string(), &why)) {
        // The store names an ad by its position ("ad 3 codes to ..."); give its source line too.
        size_t n = 0;
        if (std::sscanf(why.c_str(), "ad %zu ", &n) == 1 && n >= 1 && n <= m_model.origin.ads.size())
            return fail(m_error, where(m_model.origin.ads, n - 1, "avisos.tsv", "ad") + ": ads: " + why);
        return fail(m_error, "ads: " + why);
    }
    m_sum.ads = static_cast<int32_t>(m_model.ads.size());
    return true;
}

bool DataSetBuilder::Run::writeOfficialBodies(const fs::path& dir)
{
    CodedLinesWriter bodies;
    const auto& list = m_model.officialBodies;
    for (size_t i = 0; i < list.size(); ++i) {
        for (const std::string& line : officialBodyLines(list[i]))
            if (!bodies.add(line))
                return fail(m_error, where(m_model.origin.officialBodies, i, "organismos.tsv", "official body") +
                                         ": official bodies: a line longer than 255 characters");
    }
    std::string why;
    if (!bodies.save((dir / datafiles::kBodies).string(), (dir / datafiles::kBodiesTable).string(), &why))
        return fail(m_error, "official bodies: " + why);
    return true;
}

bool DataSetBuilder::Run::writePictures(const fs::path& dir)
{
    std::vector<uint8_t> pictures;
    std::string why;
    if (!picturefile::build(m_model.pictures, pictures, &why)) {
        // Name the source file of the picture the reason names, when there is one.
        for (const auto& [id, file] : m_model.origin.pictureFiles)
            if (why.find("picture " + std::to_string(id) + " ") != std::string::npos)
                return fail(m_error, file + ": pictures: " + why);
        return fail(m_error, "pictures: " + why);
    }
    if (!writeFile((dir / datafiles::kPictures).string(), pictures))
        return fail(m_error, "cannot write Img.bld");
    m_sum.pictures = static_cast<int32_t>(m_model.pictures.size());
    return true;
}

bool DataSetBuilder::Run::writeBannersAndPages(const fs::path& dir)
{
    std::error_code ec;
    for (const auto& [folder, set] : m_model.banners) {
        const fs::path sub = dir / "banners" / std::to_string(folder);
        fs::create_directories(sub, ec);
        for (size_t k = 0; k < set.size(); ++k)
            if (!writeFile((sub / (std::to_string(k + 1) + ".gif")).string(), set[k]))
                return fail(m_error, "cannot write banner " + std::to_string(folder) + "/" + std::to_string(k + 1));
    }
    fs::create_directories(dir / "info", ec);
    if (!writeFile((dir / "info" / "Productos.html").string(),
                   std::vector<uint8_t>(m_model.productsHtml.begin(), m_model.productsHtml.end())))
        return fail(m_error, "cannot write info/Productos.html");
    for (const char* name : datafiles::kAll)
        m_sum.files.emplace_back(name, fs::file_size(dir / name, ec));
    return true;
}

bool DataSetBuilder::build(const SourceModel& model, const std::string& outDir, BuildSummary* summary,
                           std::string* error)
{
    const Stopwatch clock;
    BuildSummary local;
    BuildSummary& sum = summary ? *summary : local;
    sum = BuildSummary{};
    Run run(model, sum, error, m_progress);
    if (!run.checkListings())
        return false;
    // Refused destinations are refused before the long part of the work.
    if (const std::string why = OutputFolder::refusal(outDir, m_sourceFolder); !why.empty())
        return fail(error, why);
    run.orderRecords();
    run.buildRecordCodes();
    OutputFolder out;
    if (!out.begin(outDir, m_sourceFolder, error))
        return false;
    const fs::path& dir = out.staging();
    if (!run.writeRecordsAndIndexes(dir) || !run.writeCatalogs(dir) || !run.writeAds(dir) ||
        !run.writeOfficialBodies(dir) || !run.writePictures(dir) || !run.writeBannersAndPages(dir) ||
        !out.commit(error))
        return false;
    sum.seconds = clock.seconds();
    return true;
}
