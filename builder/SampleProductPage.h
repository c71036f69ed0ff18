// SampleProductPage: the product page of a sample data set (info/Productos.html): a Spanish web
// page, UTF-8, styled, about the directory's national and regional editions, with the guides, their
// provinces and the listing counts of this data set. Its pictures travel inside it as data
// addresses (the data set holds one file for it); its footer links to the publisher's site.
// Pure function, any thread.
#pragma once

#include "builder/SampleCatalog.h"

#include <cstdint>
#include <string>

namespace sample {

// listings: alphabetical, commercial and professional listing counts.
[[nodiscard]] std::string productsPage(const SampleCatalog& catalog, const int32_t listings[3]);

} // namespace sample
