#include "tools/CliDataSet.h"

#include "engine/DataFiles.h"

#include <filesystem>

bool CliDataSet::open(const std::string& folder)
{
    if (!std::filesystem::is_directory(folder))
        return false;
    m_folder = folder;
    store = QdData::openFolder(folder);
    catalogs.LoadFile(path(datafiles::kCatalogs));
    ads = std::make_unique<aviso>(path(datafiles::kAds), path(datafiles::kAdOffsets), 512);
    ads->LoadCodeTable(path(datafiles::kAdTable));
    return true;
}
