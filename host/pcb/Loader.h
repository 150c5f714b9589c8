// Reads a JSON board description (docs/board-format.md) into the database.
#pragma once

#include <string>

#include "Database.h"

namespace hostpcb {

// The document of the description at `path`, added to the database; none with
// one message in `error` that names the file, the place in it and what is wrong.
Document* LoadDocument(Database& db, const std::string& path, std::string& error);

// The same from text already read; `path` names it in messages and is the
// document's default file name.
Document* LoadDocumentText(Database& db, const std::string& path, const std::string& text, std::string& error);

// The library workspace puts a footprint's origin here, in x and in y.
constexpr int32_t LibraryOrigin = 500000000;

}  // namespace hostpcb
