#include "json_writer.h"

#include <charconv>
#include <cmath>
#include <iterator>

namespace sondix::cli {
namespace {

constexpr char kHex[] = "0123456789abcdef";

void AppendUnicodeEscape(std::string& out, unsigned char c) {
    out += "\\u00";
    out.push_back(kHex[c >> 4]);
    out.push_back(kHex[c & 0x0F]);
}

template <typename T>
void AppendNumber(std::string& out, T v) {
    if (!std::isfinite(v)) {
        out += "null";
        return;
    }
    char buf[64];
    const auto result = std::to_chars(std::begin(buf), std::end(buf), v);
    out.append(buf, result.ptr);
}

}  // namespace

std::string JsonString(std::string_view latin1) {
    std::string out = "\"";
    for (const char ch : latin1) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20 || c >= 0x7F) {
                    AppendUnicodeEscape(out, c);
                } else {
                    out.push_back(ch);
                }
        }
    }
    out += "\"";
    return out;
}

void JsonWriter::BeforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (first_.empty()) return;
    if (!first_.back()) out_ += ",";
    first_.back() = false;
}

void JsonWriter::BeginObject() {
    BeforeValue();
    out_ += "{";
    first_.push_back(true);
}

void JsonWriter::EndObject() {
    first_.pop_back();
    out_ += "}";
}

void JsonWriter::BeginArray() {
    BeforeValue();
    out_ += "[";
    first_.push_back(true);
}

void JsonWriter::EndArray() {
    first_.pop_back();
    out_ += "]";
}

void JsonWriter::Key(std::string_view name) {
    BeforeValue();
    out_ += JsonString(name);
    out_ += ":";
    afterKey_ = true;
}

void JsonWriter::String(std::string_view latin1) {
    BeforeValue();
    out_ += JsonString(latin1);
}

void JsonWriter::Int(std::int64_t v) {
    BeforeValue();
    AppendNumber(out_, v);
}

void JsonWriter::Double(double v) {
    BeforeValue();
    AppendNumber(out_, v);
}

void JsonWriter::Float(float v) {
    BeforeValue();
    AppendNumber(out_, v);
}

void JsonWriter::Bool(bool v) {
    BeforeValue();
    out_ += v ? "true" : "false";
}

void JsonWriter::Null() {
    BeforeValue();
    out_ += "null";
}

}  // namespace sondix::cli
