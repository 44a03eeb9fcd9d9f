// The folders under src/ are layers: each may include only folders below it,
// in the order written in src/layers.txt. tools/ holds separate programs on
// top of them all.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/files.h"

namespace {

const std::filesystem::path SOURCE = std::filesystem::path(RANVEL_SOURCE_DIR) / "src";

// The layers, bottom first, with their places in the order.
std::map<std::string, int> layer_order() {
  std::map<std::string, int> order;
  std::stringstream in(file_text(SOURCE / "layers.txt"));
  std::string word;
  int place = 0;
  while (in >> word)
    if (word != "<") order[word] = place++;
  order["tools"] = place;
  return order;
}

// The folder a line's #include "folder/..." names, or "" for any other line.
std::string included_folder(const std::string& line) {
  std::size_t at = line.find_first_not_of(" \t");
  if (at == std::string::npos || line[at] != '#') return "";
  at = line.find_first_not_of(" \t", at + 1);
  if (at == std::string::npos || line.compare(at, 7, "include") != 0) return "";
  at = line.find_first_not_of(" \t", at + 7);
  if (at == std::string::npos || line[at] != '"') return "";
  const std::size_t slash = line.find('/', at + 1);
  return slash == std::string::npos ? "" : line.substr(at + 1, slash - at - 1);
}

std::vector<std::filesystem::path> source_files() {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(SOURCE)) {
    const std::string ext = entry.path().extension().string();
    if (ext == ".h" || ext == ".cpp") files.push_back(entry.path());
  }
  return files;
}

// The lines of a file that include from a folder of src/, with that folder.
std::vector<std::pair<std::string, std::string>> folder_includes(const std::string& text) {
  std::vector<std::pair<std::string, std::string>> found;
  std::stringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    const std::string folder = included_folder(line);
    if (!folder.empty()) found.emplace_back(folder, line);
  }
  return found;
}

}  // namespace

TEST(Layering, EveryIncludePointsDownAndEveryFolderIsALayer) {
  const std::map<std::string, int> order = layer_order();
  ASSERT_EQ(order.size(), 13u);
  EXPECT_EQ(order.at("core"), 0);
  // The sounds are made above the platform that plays them, below every
  // screen that sounds one.
  EXPECT_EQ(order.at("sound"), order.at("platform") + 1);
  EXPECT_EQ(order.at("replay"), 11);
  int includes = 0;
  for (const auto& path : source_files()) {
    const std::string folder = std::filesystem::relative(path, SOURCE).begin()->string();
    ASSERT_TRUE(order.count(folder)) << folder << " is not a layer (add it to src/layers.txt)";
    for (const auto& [to, line] : folder_includes(file_text(path))) {
      ++includes;
      ASSERT_TRUE(order.count(to)) << path << " includes from an unknown folder: " << line;
      EXPECT_LE(order.at(to), order.at(folder)) << path << " includes a layer above its own: " << line;
    }
  }
  EXPECT_GT(includes, 100);
}

TEST(Layering, OnlyEachBackendNamesItsLibraryAndItIncludesOnlyPlatformAndCore) {
  for (const auto& path : source_files()) {
    const std::string text = file_text(path);
    EXPECT_EQ(text.find("#include <SDL") != std::string::npos, path.filename() == "platform_sdl.cpp") << path;
    EXPECT_EQ(text.find("#include <emscripten") != std::string::npos, path.filename() == "platform_web.cpp")
        << path;
    if (!path.filename().string().starts_with("platform_")) continue;
    for (const auto& [folder, line] : folder_includes(text))
      EXPECT_TRUE(folder == "platform" || folder == "core") << path << ": " << line;
  }
}
