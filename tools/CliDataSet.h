// CliDataSet: the data folder opened the way the viewer opens it, for the command-line companion:
// the record store with its eight indexes, the catalogs, the ad store and the bit set's files.
#pragma once

#include "ads/aviso.h"
#include "engine/QdData.h"
#include "search/QdLocs.h"

#include <memory>
#include <string>

class CliDataSet {
public:
    // False when the folder does not exist.
    bool open(const std::string& folder);
    [[nodiscard]] std::string path(const char* name) const { return m_folder + "/" + name; }

    std::unique_ptr<QdData> store;
    std::unique_ptr<aviso> ads;
    QdLocs catalogs;

private:
    std::string m_folder;
};
