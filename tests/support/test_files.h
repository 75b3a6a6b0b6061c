// Files of a test: a path in the build's test-output folder and a whole file's bytes.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace sondix::test {

inline std::string OutPath(const std::string& name) {
    std::filesystem::create_directories(SONDIX_TEST_OUT);
    return std::string(SONDIX_TEST_OUT) + "/" + name;
}

inline std::string Slurp(const std::string& path) {
    std::ostringstream b;
    b << std::ifstream(path, std::ios::binary).rdbuf();
    return b.str();
}

inline std::string WriteFile(const std::string& name, const std::string& bytes) {
    const std::string path = OutPath(name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

}  // namespace sondix::test
