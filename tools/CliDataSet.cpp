#include "tools/CliDataSet.h"

#include "engine/DataFiles.h"

#include <filesystem>

bool CliDataSet::open(const std::string& folder)
{
    if (!std::filesystem::is_directory(folder))
        return false;
    m_folder = folder;
    store = std::make_unique<QdData>(path(datafiles::kRecords), path(datafiles::kOffsets), 8192);
    for (int i = 0; i < 8; ++i) {
        if (i == 6)
            store->AddWordIndex(path(datafiles::kIndexes[i]), path(datafiles::kWordTable), 10240);
        else
            store->AddIndex(path(datafiles::kIndexes[i]), 4096);
    }
    store->LoadCodeTable(path(datafiles::kRecordTable));
    catalogs.LoadFile(path(datafiles::kCatalogs));
    ads = std::make_unique<aviso>(path(datafiles::kAds), path(datafiles::kAdOffsets), 512);
    ads->LoadCodeTable(path(datafiles::kAdTable));
    return true;
}
