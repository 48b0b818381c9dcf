#pragma once

#include <filesystem>
#include <string_view>

// Every output is first written under this name beside its real one and renamed when complete,
// so that a failed or interrupted write never leaves a partial file under the real name.
std::filesystem::path partialPath(const std::filesystem::path& path);

// Renames the partial file to `path`; on failure removes it and throws std::runtime_error.
void commitPartial(const std::filesystem::path& path);

// Writes `contents` to `path` through its partial file; throws std::runtime_error naming the
// file on any failure, leaving neither file behind.
void writeFileAtomically(const std::filesystem::path& path, std::string_view contents);
