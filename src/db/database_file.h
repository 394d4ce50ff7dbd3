#pragma once

#include <string>

namespace velmora::db {

// Whether this program may write the database at `path`: the file itself, and the folder where
// the engine creates its journal and shared-memory files beside it.
bool MayWriteDatabase(const std::string& path);

// The name to give the engine for a plain path. The engine takes names beginning "file:" for
// URIs, so such a relative path is made explicit with "./".
std::string EngineFileName(const std::string& path);

// A "file:" URI naming `path` (made absolute) with every byte other than letters, digits,
// "-._~/" percent-encoded, so no character of the path can be read as URI syntax.
std::string FileUri(const std::string& path);

}  // namespace velmora::db
