#include "tools/CliDataSet.h"

#include "ads/AdStoreOpener.h"

bool CliDataSet::open(const std::string& folder)
{
    if (!m_set.open(folder, DataSet::Options{}))
        return false;
    store = &m_set.store();
    ads = adstore::open(folder);
    return true;
}
