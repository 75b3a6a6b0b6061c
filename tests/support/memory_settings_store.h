// A settings store held in memory, for start-up and properties tests.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "terminal/window_host.h"

namespace sondix::test {

class MemorySettingsStore : public SettingsStore {
  public:
    MemorySettingsStore() = default;
    // Keys of section "Properties".
    explicit MemorySettingsStore(std::map<std::string, std::string> properties) {
        for (auto& [key, value] : properties)
            values_[{"Properties", key}] = std::move(value);
    }

    std::string Get(std::string_view section, std::string_view key) override {
        const auto it = values_.find({std::string(section), std::string(key)});
        return it == values_.end() ? std::string{} : it->second;
    }
    void Set(std::string_view section, std::string_view key, std::string_view value) override {
        values_[{std::string(section), std::string(key)}] = std::string(value);
    }

  private:
    std::map<std::pair<std::string, std::string>, std::string> values_;
};

}  // namespace sondix::test
