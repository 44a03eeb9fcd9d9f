// The folders under src/ are layers: each may include only folders below it,
// in the order written in src/layers.txt. tools/ holds separate programs on
// top of them all.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
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

}  // namespace

TEST(Layering, EveryIncludePointsDownAndEveryFolderIsALayer) {
  const std::map<std::string, int> order = layer_order();
  ASSERT_EQ(order.size(), 12u);
  EXPECT_EQ(order.at("core"), 0);
  EXPECT_EQ(order.at("replay"), 10);
  int includes = 0;
  for (const auto& path : source_files()) {
    const std::string folder = std::filesystem::relative(path, SOURCE).begin()->string();
    ASSERT_TRUE(order.count(folder)) << folder << " is not a layer (add it to src/layers.txt)";
    std::stringstream lines(file_text(path));
    std::string line;
    while (std::getline(lines, line)) {
      const std::string to = included_folder(line);
      if (to.empty()) continue;
      ++includes;
      ASSERT_TRUE(order.count(to)) << path << " includes from an unknown folder: " << line;
      EXPECT_LE(order.at(to), order.at(folder)) << path << " includes a layer above its own: " << line;
    }
  }
  EXPECT_GT(includes, 100);
}

TEST(Layering, OnlyTheWindowBackendNamesSdl) {
  for (const auto& path : source_files()) {
    const bool names_sdl = file_text(path).find("#include <SDL") != std::string::npos;
    EXPECT_EQ(names_sdl, path.filename() == "platform_sdl.cpp") << path;
  }
}
