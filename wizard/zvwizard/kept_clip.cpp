#include "wizard/zvwizard/kept_clip.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "wizard/gallery_folder.h"
#include "wizard/zvwizard/clip_file_moves.h"

namespace zv {

namespace {

// Enough for any folder a person keeps; a bound, so that a folder that
// refuses every name cannot keep this looping.
constexpr int kMostNumberedNames = 1000;

bool sameBytes(const std::string& a, const std::string& b) {
  std::ifstream first(a, std::ios::binary), second(b, std::ios::binary);
  if (!first || !second) return false;
  return std::equal(std::istreambuf_iterator<char>(first), std::istreambuf_iterator<char>(),
                    std::istreambuf_iterator<char>(second), std::istreambuf_iterator<char>());
}

}  // namespace

std::optional<std::string> keepClipIn(const std::string& folder, const std::string& clipPath) {
  if (folder.empty()) return std::nullopt;
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) return std::nullopt;

  const std::filesystem::path clip(clipPath);
  const std::string stem = clip.stem().string();
  const std::string extension = clip.extension().string();
  for (int number = 1; number <= kMostNumberedNames; ++number) {
    const std::string name = number == 1 ? stem + extension : stem + '-' + std::to_string(number) + extension;
    const std::string candidate = pathInFolder(folder, name);
    if (std::filesystem::exists(std::filesystem::symlink_status(candidate, error))) {
      if (!sameBytes(clipPath, candidate)) continue;
      ::unlink(clipPath.c_str());
      return candidate;
    }
    const std::string reason = moveClipFile(clipPath, candidate, false);
    if (reason.empty()) return candidate;
    // Taken a moment ago: try the next name; anything else ends the search.
    if (!std::filesystem::exists(std::filesystem::symlink_status(candidate, error))) return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace zv
