#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillon::config {

// A message catalogue: line n of its file is message n. Lines are kept as they stand.
struct Catalogue {
  std::vector<std::string> lines;
};

// Loads the file at path into catalogue. When the file does not exist the catalogue keeps what it
// held (empty at start, the previous language's lines after a switch) and the result is false.
bool loadCatalogue(Catalogue& catalogue, const std::string& path);

// languageFolder + "application.err" and + "common.err".
bool loadApplicationMessages(Catalogue& catalogue, const std::string& languageFolder);
bool loadCommonMessages(Catalogue& catalogue, const std::string& languageFolder);

// Line n of the catalogue; the empty text for a line the catalogue does not have.
std::string message(const Catalogue& catalogue, int n);

// Application messages newer than the catalogues some editions ship; each has English built in.
inline constexpr int kSeveralModemsMessage = 35;

// Application message n: the catalogue's line, or for a newer message that the catalogue lacks
// (or leaves empty) the English built in, so that the user is never shown an empty box.
std::string applicationMessage(const Catalogue& catalogue, int n);

// Every backslash-n pair, scanned left to right, becomes a line feed.
std::string expandLineBreaks(std::string_view text);

}  // namespace quillon::config
