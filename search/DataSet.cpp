#include "search/DataSet.h"

#include "engine/DataFiles.h"

#include <algorithm>
#include <filesystem>

namespace {

// Block sizes of the store's files, as start-up reads them.
constexpr int32_t kRecordBlock = 8192;
constexpr int32_t kIndexBlock = 4096;
constexpr int32_t kWordIndexBlock = 10240;

// One word per record and one for record 0.
int32_t wordsFor(int32_t records)
{
    return std::clamp<int32_t>(records + 1, 2, FiltroBits::kWords);
}

} // namespace

const char* DataSet::stepText(Step step)
{
    switch (step) {
    case Step::kRecords: return "Abriendo datos...";
    case Step::kPhoneIndexes: return "Abriendo indice de teléfonos...";
    case Step::kLocalityIndex: return "Abriendo indice de localidades...";
    case Step::kProvinceIndex: return "Abriendo indice de provincias...";
    case Step::kGuideIndex: return "Abriendo indice de guías...";
    case Step::kWordIndex: return "Abriendo indice de palabras...";
    case Step::kRubroIndex: return "Abriendo indice de rubros...";
    case Step::kStartData: return "Iniciando datos...";
    case Step::kCatalogs: return "Cargando provincias y localidades...";
    case Step::kStartGuides: return "Iniciando guías...";
    case Step::kFlags:
    case Step::kLimits: return "Iniciando filtros...";
    case Step::kInitialRange: return "Estableciendo filtro inicial...";
    }
    return "";
}

bool DataSet::open(const std::string& folder, const Options& options)
{
    std::error_code ec;
    const bool exists = std::filesystem::is_directory(folder, ec);
    m_folder = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    m_opener = options.opener;
    const SourceOpener& opener = m_opener;
    const auto step = [&](Step s) {
        if (options.progress)
            options.progress(s, stepText(s));
    };
    const auto at = [this](const char* name) { return path(name); };
    const auto index = [&](slot::Slot s) { return at(datafiles::kIndexes[s - slot::ixTeA]); };

    step(Step::kRecords);
    m_store = std::make_unique<QdData>(at(datafiles::kRecords), at(datafiles::kOffsets), kRecordBlock, opener);
    // AddIndex takes the lowest free slot: the order below is the slot order.
    step(Step::kPhoneIndexes);
    m_store->AddIndex(index(slot::ixTeA), kIndexBlock);
    m_store->AddIndex(index(slot::ixTeP), kIndexBlock);
    m_store->AddIndex(index(slot::ixTeN), kIndexBlock);
    step(Step::kLocalityIndex);
    m_store->AddIndex(index(slot::ixLoc), kIndexBlock);
    step(Step::kProvinceIndex);
    m_store->AddIndex(index(slot::ixPrv), kIndexBlock);
    step(Step::kGuideIndex);
    m_store->AddIndex(index(slot::ixGuia), kIndexBlock);
    step(Step::kWordIndex);
    m_store->AddWordIndex(index(slot::ixpal), at(datafiles::kWordTable), kWordIndexBlock);
    step(Step::kRubroIndex);
    m_store->AddIndex(index(slot::ixRub), kIndexBlock);
    m_store->LoadCodeTable(at(datafiles::kRecordTable));

    step(Step::kStartData);
    step(Step::kCatalogs);
    m_catalogs.LoadFile(at(datafiles::kCatalogs), opener);
    step(Step::kStartGuides);

    m_ownBits = options.bits ? nullptr : std::make_unique<FiltroBits>(wordsFor(m_store->RecordCount()));
    m_bits = options.bits ? options.bits : m_ownBits.get();
    loadBits(*m_bits, step);
    return exists;
}

void DataSet::loadBits(FiltroBits& bits, const std::function<void(Step)>& step) const
{
    step(Step::kFlags);
    bits.LoadFlags(path(datafiles::kFlags), m_opener);
    step(Step::kLimits);
    // Guide ranges never reach past the records the store can read: without an offset table the
    // indexes would otherwise list records that show as empty rows.
    const int32_t records = m_store->RecordCount();
    if (records > 0)
        bits.LoadLimits(path(datafiles::kLimits), m_opener, records);
    step(Step::kInitialRange);
    bits.SelectRange(0);
}

std::unique_ptr<FiltroBits> DataSet::freshBits() const
{
    const int32_t records = m_store ? m_store->RecordCount() : 0;
    auto bits = std::make_unique<FiltroBits>(wordsFor(records));
    if (m_store)
        loadBits(*bits, [](Step) {});
    return bits;
}

std::unique_ptr<DataSet> DataSet::open(const std::string& folder, const SourceOpener& opener, const Progress& progress)
{
    auto data = std::make_unique<DataSet>();
    if (!data->open(folder, Options{opener, progress, nullptr}))
        return nullptr;
    return data;
}
