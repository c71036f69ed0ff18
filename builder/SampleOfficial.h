// SampleOfficial: the official-bodies tree of a sample data set: for every province, in province
// id order, its headings in alphabetical order (ministries, powers, municipalities, national
// delegations), their office groups, the offices with a main telephone and their further lines.
// Offices in a locality get numbers of that locality's plan. Names are not cut: some are longer
// than the 35 columns of a line and continue on the next. One thread.
#pragma once

#include "builder/SampleCatalog.h"
#include "builder/SamplePhones.h"
#include "builder/SampleRandom.h"
#include "builder/SourceModel.h"

#include <vector>

namespace sample {

void buildOfficialBodies(const SampleCatalog& catalog, const SampleSeeds& seeds, SamplePhones& phones, Random& random,
                         std::vector<OfficialBody>& out);

} // namespace sample
