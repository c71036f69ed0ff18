// Case-insensitive file lookup: the data set was made on a system that ignores the case of file
// names, and a disc mounted here may show them in upper case ("DATA/QD.DAT"). Every data file and
// folder is found through these helpers, so the readers open real discs unchanged. Only ASCII
// letters are folded (the data set's names are ASCII). Pure functions over the file system, any
// thread; failures are never thrown.
#pragma once

#include "engine/ByteSource.h"

#include <string>

namespace casepath {

// The path of the entry called name (case ignored) inside folder: folder + "/" + the entry's real
// name when one exists (the exact spelling wins; among several spellings the smallest in byte
// order, so the answer never depends on the directory's order), otherwise folder + "/" + name. An
// empty folder is the current directory, and the result is then the bare name.
[[nodiscard]] std::string findInFolder(const std::string& folder, const std::string& name);

// The path with every component that does not exist as spelled looked up with findInFolder, left
// to right; the components after the first one not found are kept as given. A path that exists as
// spelled is returned unchanged without reading any directory.
[[nodiscard]] std::string resolve(const std::string& path);

// An opener that tries the path as given and, when that fails, the resolved path.
[[nodiscard]] SourceOpener opener(SourceOpener inner = openFileSource);

} // namespace casepath
