// The whole content of a file the replay runner or a tool wrote ("" when it
// cannot be read).
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

inline std::string file_text(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}
