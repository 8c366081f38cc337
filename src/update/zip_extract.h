// Unpacking of downloaded update packages (zip archives) into a folder.
// Every entry is confined to that folder whatever path the archive stores.
#pragma once

#include <cstdint>
#include <filesystem>

namespace corvane {

// Largest number of bytes one archive may unpack to in total (guards against zip bombs).
inline constexpr std::uint64_t kMaxExtractedBytes = 256ull * 1024 * 1024;
// Bytes read from an entry per step.
inline constexpr std::size_t kExtractBlockBytes = 64 * 1024;

// Unpacks every entry of the archive at `zip_path`, in archive order, into `folder` under
// its stored relative path, creating sub-folders and giving each file the entry's time.
// Entries stored with an absolute path, a ".." part or through a symbolic link, entries whose
// checksum fails and entries beyond `max_bytes` in total are skipped and leave nothing behind.
// Returns false only when the archive cannot be opened; true even when single entries fail.
bool extract(const std::filesystem::path& zip_path, const std::filesystem::path& folder,
             std::uint64_t max_bytes = kMaxExtractedBytes);

}  // namespace corvane
