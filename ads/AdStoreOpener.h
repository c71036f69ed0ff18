// The ad store of a data folder opened as start-up opens it: "AVI.dat" through "AVI.pk", decoded
// with "AVI.hfm". Missing files leave a store with no ad. The caller owns the store.
#pragma once

#include "ads/aviso.h"
#include "engine/ByteSource.h"

#include <memory>
#include <string>

namespace adstore {

// folder with or without a trailing '/'.
[[nodiscard]] std::unique_ptr<aviso> open(const std::string& folder, const SourceOpener& opener = openFileSource);

} // namespace adstore
