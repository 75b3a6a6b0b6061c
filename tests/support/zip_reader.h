// Reads the members of a zip archive (stored or deflated), enough to look inside the workbooks
// that the dumps write.
#pragma once

#include <map>
#include <optional>
#include <string>

namespace sondix::test {

// Member name -> uncompressed contents; nullopt (with the reason in *error) when the file is
// not a readable zip archive.
std::optional<std::map<std::string, std::string>> ReadZip(const std::string& path,
                                                          std::string* error = nullptr);

}  // namespace sondix::test
