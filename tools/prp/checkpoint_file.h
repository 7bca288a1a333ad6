#pragma once
// Writing a file so that a crash at any moment leaves either the old file
// or the complete new one, never a torn mix.
#include <string>

namespace prp {

// Writes content to a temporary file in path's folder, syncs it, renames it
// over path and syncs the folder. Returns false (path untouched) on failure.
bool writeFileAtomically(const std::string& path, const std::string& content);

}  // namespace prp
