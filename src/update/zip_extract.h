// Unpacking of downloaded update packages (zip archives) into a folder.
// Every entry is confined to that folder whatever path the archive stores.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace corvane {

// Largest number of bytes one archive may unpack to in total (guards against zip bombs).
inline constexpr std::uint64_t kMaxExtractedBytes = 256ull * 1024 * 1024;
// Bytes read from an entry per step.
inline constexpr std::size_t kExtractBlockBytes = 64 * 1024;

// More entries than any package of ours holds; a package with more is refused unread.
inline constexpr std::size_t kMaxArchiveEntries = 1000;

// What an unpack did: the files and folders it created (so they can be removed once used
// or refused), the entries it skipped, and why a whole package was refused.
struct ExtractReport {
  bool opened = false;                          // the archive could be read
  std::string refused;                          // why nothing was unpacked; "" otherwise
  std::vector<std::filesystem::path> written;   // files and folders created, in order
  std::vector<std::string> failed;              // stored names of skipped entries
};

// Unpacks like `extract` below, but first refuses (unpacking nothing) an archive with more
// than kMaxArchiveEntries entries or with two entries of the same name after confinement
// (which one would the installer get?).
ExtractReport ExtractArchive(const std::filesystem::path& zip_path,
                             const std::filesystem::path& folder,
                             std::uint64_t max_bytes = kMaxExtractedBytes);

// Removes what `report` says an unpack created: files first, then its folders (the latest
// first) when they are empty.
void RemoveExtracted(const ExtractReport& report);

// Unpacks every entry of the archive at `zip_path`, in archive order, into `folder` under
// its stored relative path, creating sub-folders and giving each file the entry's time.
// Entries stored with an absolute path, a ".." part or through a symbolic link, entries whose
// checksum fails and entries beyond `max_bytes` in total are skipped and leave nothing behind.
// Returns false when the archive cannot be opened or is refused (see ExtractArchive); true
// even when single entries fail.
bool extract(const std::filesystem::path& zip_path, const std::filesystem::path& folder,
             std::uint64_t max_bytes = kMaxExtractedBytes);

}  // namespace corvane
