// A strict little JSON reader for checking the command-line tool's output: objects, arrays,
// strings (with \u escapes below 0x100 turned back into Latin-1 bytes), numbers, true, false,
// null. Anything malformed throws, so a test fails on output that is not valid JSON.
#pragma once

#include <cstdlib>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace sondix::test {

struct JsonValue {
    enum class Kind { Null, Bool, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    double number = 0;
    std::string text;  // the number's own text, or the string
    std::vector<JsonValue> items;
    std::map<std::string, JsonValue> members;
    std::vector<std::string> order;  // member names as written

    bool Has(const std::string& name) const { return members.count(name) > 0; }
    const JsonValue& operator[](const std::string& name) const {
        const auto it = members.find(name);
        if (it == members.end()) throw std::runtime_error("no member " + name);
        return it->second;
    }
    const JsonValue& operator[](std::size_t i) const { return items.at(i); }
    std::size_t size() const { return kind == Kind::Object ? members.size() : items.size(); }
};

class JsonParser {
  public:
    explicit JsonParser(std::string_view text) : s_(text) {}

    JsonValue ParseDocument() {
        JsonValue v = Value();
        Blanks();
        if (i_ != s_.size()) Fail("text after the value");
        return v;
    }

  private:
    [[noreturn]] void Fail(const std::string& what) const {
        throw std::runtime_error("JSON: " + what + " at " + std::to_string(i_));
    }
    void Blanks() {
        while (i_ < s_.size() &&
               (s_[i_] == ' ' || s_[i_] == '\n' || s_[i_] == '\r' || s_[i_] == '\t'))
            ++i_;
    }
    char Peek() {
        Blanks();
        if (i_ >= s_.size()) Fail("unexpected end");
        return s_[i_];
    }
    void Expect(char c) {
        if (Peek() != c) Fail(std::string("expected ") + c);
        ++i_;
    }
    void Word(std::string_view w) {
        if (s_.substr(i_, w.size()) != w) Fail("bad literal");
        i_ += w.size();
    }

    JsonValue Value() {
        const char c = Peek();
        JsonValue v;
        if (c == '{') return Object();
        if (c == '[') return Array();
        if (c == '"') {
            v.kind = JsonValue::Kind::String;
            v.text = String();
            return v;
        }
        if (c == 't' || c == 'f') {
            v.kind = JsonValue::Kind::Bool;
            v.boolean = c == 't';
            Word(c == 't' ? "true" : "false");
            return v;
        }
        if (c == 'n') {
            Word("null");
            return v;
        }
        return Number();
    }

    JsonValue Object() {
        JsonValue v;
        v.kind = JsonValue::Kind::Object;
        Expect('{');
        if (Peek() == '}') {
            ++i_;
            return v;
        }
        for (;;) {
            if (Peek() != '"') Fail("expected a member name");
            std::string name = String();
            Expect(':');
            if (v.members.count(name) > 0) Fail("member " + name + " twice");
            v.order.push_back(name);
            v.members[name] = Value();
            if (Peek() == '}') {
                ++i_;
                return v;
            }
            Expect(',');
        }
    }

    JsonValue Array() {
        JsonValue v;
        v.kind = JsonValue::Kind::Array;
        Expect('[');
        if (Peek() == ']') {
            ++i_;
            return v;
        }
        for (;;) {
            v.items.push_back(Value());
            if (Peek() == ']') {
                ++i_;
                return v;
            }
            Expect(',');
        }
    }

    static int Hex(char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    }

    std::string String() {
        Expect('"');
        std::string out;
        while (i_ < s_.size() && s_[i_] != '"') {
            const auto c = static_cast<unsigned char>(s_[i_++]);
            if (c < 0x20 || c >= 0x80) Fail("raw control or non-ASCII byte in a string");
            if (c != '\\') {
                out.push_back(static_cast<char>(c));
                continue;
            }
            if (i_ >= s_.size()) Fail("unfinished escape");
            const char e = s_[i_++];
            switch (e) {
                case '"':
                case '\\':
                case '/':
                    out.push_back(e);
                    break;
                case 'b':
                    out.push_back('\b');
                    break;
                case 'f':
                    out.push_back('\f');
                    break;
                case 'n':
                    out.push_back('\n');
                    break;
                case 'r':
                    out.push_back('\r');
                    break;
                case 't':
                    out.push_back('\t');
                    break;
                case 'u': {
                    if (i_ + 4 > s_.size()) Fail("short \\u escape");
                    int code = 0;
                    for (int k = 0; k < 4; ++k) {
                        const int h = Hex(s_[i_++]);
                        if (h < 0) Fail("bad \\u escape");
                        code = code * 16 + h;
                    }
                    if (code > 0xFF) Fail("code point beyond Latin-1");
                    out.push_back(static_cast<char>(code));
                    break;
                }
                default:
                    Fail("bad escape");
            }
        }
        if (i_ >= s_.size()) Fail("unfinished string");
        ++i_;
        return out;
    }

    JsonValue Number() {
        const std::size_t start = i_;
        if (i_ < s_.size() && s_[i_] == '-') ++i_;
        const auto digits = [&] {
            const std::size_t from = i_;
            while (i_ < s_.size() && s_[i_] >= '0' && s_[i_] <= '9')
                ++i_;
            if (i_ == from) Fail("expected digits");
        };
        digits();
        if (i_ < s_.size() && s_[i_] == '.') {
            ++i_;
            digits();
        }
        if (i_ < s_.size() && (s_[i_] == 'e' || s_[i_] == 'E')) {
            ++i_;
            if (i_ < s_.size() && (s_[i_] == '+' || s_[i_] == '-')) ++i_;
            digits();
        }
        JsonValue v;
        v.kind = JsonValue::Kind::Number;
        v.text = std::string(s_.substr(start, i_ - start));
        v.number = std::strtod(v.text.c_str(), nullptr);
        return v;
    }

    std::string_view s_;
    std::size_t i_ = 0;
};

inline JsonValue ParseJson(std::string_view text) {
    return JsonParser(text).ParseDocument();
}

}  // namespace sondix::test
