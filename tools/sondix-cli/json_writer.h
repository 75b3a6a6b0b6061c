// A small JSON writer for the tool's one output object. Text is written byte by byte as Latin-1:
// every byte from 0x80 becomes the \u00XX escape of its code point, so the output is ASCII.
// Single-precision values print as the shortest text that reads back to the same float.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sondix::cli {

class JsonWriter {
  public:
    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    // The name of the next member of the current object.
    void Key(std::string_view name);

    void String(std::string_view latin1);
    void Int(std::int64_t v);
    void Double(double v);  // shortest round-trip form; NaN and infinities as null
    void Float(float v);    // the same at single precision
    void Bool(bool v);
    void Null();

    const std::string& Text() const { return out_; }

  private:
    void BeforeValue();

    std::string out_;
    std::vector<bool> first_;  // per open container: no member written yet
    bool afterKey_ = false;
};

// The JSON string literal of a Latin-1 text, quotes included.
std::string JsonString(std::string_view latin1);

}  // namespace sondix::cli
