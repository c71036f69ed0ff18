// CliDataSet: the data folder opened the way the viewer opens it (DataSet, the ad store's opener),
// for the command-line companion.
#pragma once

#include "ads/aviso.h"
#include "engine/QdData.h"
#include "search/DataSet.h"
#include "search/QdLocs.h"

#include <memory>
#include <string>

class CliDataSet {
public:
    // False when the folder does not exist.
    bool open(const std::string& folder);
    [[nodiscard]] std::string path(const char* name) const { return m_set.path(name); }
    [[nodiscard]] const QdLocs& catalogs() const { return m_set.catalogs(); }
    // The data set: its bit set as start-up loads it, freshBits for a search of one's own.
    [[nodiscard]] const DataSet& set() const { return m_set; }

    QdData* store = nullptr;
    std::unique_ptr<aviso> ads;

private:
    DataSet m_set;
};
