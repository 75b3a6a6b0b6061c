#include "xlsx_reader.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "zip_reader.h"

namespace sondix::test {

namespace {

// The value of attribute `name` inside the tag text `tag` ("" when absent).
std::string Attr(const std::string& tag, const std::string& name) {
    const std::string key = " " + name + "=\"";
    const std::size_t at = tag.find(key);
    if (at == std::string::npos) return {};
    const std::size_t from = at + key.size();
    const std::size_t to = tag.find('"', from);
    return to == std::string::npos ? std::string() : XmlUnescape(tag.substr(from, to - from));
}

int ToInt(const std::string& s) {
    return s.empty() ? 0 : std::atoi(s.c_str());
}

// Locale-independent: the workbook always writes "." as the decimal point.
double ToDouble(const std::string& s) {
    double v = std::numeric_limits<double>::quiet_NaN();
    std::from_chars(s.data(), s.data() + s.size(), v);
    return v;
}

// Calls f(tagText, body) for every element <name ...>body</name> or <name .../> in xml.
template <typename F>
void ForEachElement(const std::string& xml, const std::string& name, F f) {
    const std::string open = "<" + name;
    const std::string close = "</" + name + ">";
    std::size_t at = 0;
    while ((at = xml.find(open, at)) != std::string::npos) {
        const std::size_t after = at + open.size();
        if (after >= xml.size() || (xml[after] != ' ' && xml[after] != '>' && xml[after] != '/')) {
            at = after;
            continue;
        }
        const std::size_t tagEnd = xml.find('>', at);
        if (tagEnd == std::string::npos) return;
        const std::string tag = xml.substr(at, tagEnd - at + 1);
        if (xml[tagEnd - 1] == '/') {
            f(tag, std::string());
            at = tagEnd + 1;
            continue;
        }
        const std::size_t bodyEnd = xml.find(close, tagEnd);
        if (bodyEnd == std::string::npos) return;
        f(tag, xml.substr(tagEnd + 1, bodyEnd - tagEnd - 1));
        at = bodyEnd + close.size();
    }
}

// The concatenated text of every <t> element in body (a shared or inline string).
std::string StringText(const std::string& body) {
    std::string text;
    ForEachElement(body, "t",
                   [&](const std::string&, const std::string& t) { text += XmlUnescape(t); });
    return text;
}

std::string FirstElementTag(const std::string& xml, const std::string& name) {
    std::string found;
    ForEachElement(xml, name, [&](const std::string& tag, const std::string&) {
        if (found.empty()) found = tag;
    });
    return found;
}

std::string FirstElementBody(const std::string& xml, const std::string& name) {
    std::string found;
    bool seen = false;
    ForEachElement(xml, name, [&](const std::string&, const std::string& body) {
        if (!seen) found = body;
        seen = true;
    });
    return found;
}

void AppendUtf8(std::string& out, unsigned long cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

}  // namespace

std::string XmlUnescape(const std::string& s) {
    static const std::pair<const char*, char> kEntities[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
    std::string out;
    for (std::size_t i = 0; i < s.size();) {
        if (s[i] != '&') {
            out.push_back(s[i++]);
            continue;
        }
        bool done = false;
        for (const auto& [name, c] : kEntities) {
            if (s.compare(i, std::char_traits<char>::length(name), name) == 0) {
                out.push_back(c);
                i += std::char_traits<char>::length(name);
                done = true;
                break;
            }
        }
        const std::size_t semi = s.find(';', i);
        if (!done && s.compare(i, 2, "&#") == 0 && semi != std::string::npos) {
            const bool hex = i + 2 < s.size() && (s[i + 2] == 'x' || s[i + 2] == 'X');
            const std::string digits = s.substr(i + (hex ? 3 : 2), semi - i - (hex ? 3 : 2));
            AppendUtf8(out, std::strtoul(digits.c_str(), nullptr, hex ? 16 : 10));
            i = semi + 1;
            done = true;
        }
        if (!done) out.push_back(s[i++]);
    }
    return out;
}

std::pair<int, int> ParseCellRef(const std::string& ref) {
    std::size_t i = 0;
    int col = 0;
    while (i < ref.size() && ref[i] >= 'A' && ref[i] <= 'Z')
        col = col * 26 + (ref[i++] - 'A' + 1);
    int row = 0;
    const std::size_t digitsFrom = i;
    while (i < ref.size() && ref[i] >= '0' && ref[i] <= '9')
        row = row * 10 + (ref[i++] - '0');
    if (col == 0 || i == digitsFrom || i != ref.size()) return {0, 0};
    return {row, col};
}

std::optional<XlsxBook> XlsxBook::Open(const std::string& path, std::string* error) {
    const auto zip = ReadZip(path, error);
    if (!zip) return std::nullopt;
    const auto sheet = zip->find("xl/worksheets/sheet1.xml");
    if (sheet == zip->end()) {
        if (error) *error = "no xl/worksheets/sheet1.xml";
        return std::nullopt;
    }
    std::vector<std::string> shared;
    if (const auto sst = zip->find("xl/sharedStrings.xml"); sst != zip->end()) {
        ForEachElement(sst->second, "si", [&](const std::string&, const std::string& body) {
            shared.push_back(StringText(body));
        });
    }
    XlsxBook book;
    ForEachElement(sheet->second, "c", [&](const std::string& tag, const std::string& body) {
        XlsxCell cell{Attr(tag, "t"), {}, ToInt(Attr(tag, "s"))};
        if (cell.type == "inlineStr") {
            cell.value = StringText(body);
        } else {
            cell.value = XmlUnescape(FirstElementBody(body, "v"));
        }
        if (cell.type == "s") {
            const auto index = static_cast<std::size_t>(ToInt(cell.value));
            cell.value = index < shared.size() ? shared[index] : std::string();
        }
        book.cells_[ParseCellRef(Attr(tag, "r"))] = cell;
    });
    ForEachElement(sheet->second, "col", [&](const std::string& tag, const std::string&) {
        const double width = ToDouble(Attr(tag, "width"));
        for (int c = ToInt(Attr(tag, "min")); c <= ToInt(Attr(tag, "max")); ++c) {
            book.widths_[c] = width;
        }
    });
    if (const auto styles = zip->find("xl/styles.xml"); styles != zip->end()) {
        ForEachElement(styles->second, "numFmt", [&](const std::string& tag, const std::string&) {
            book.numFmts_[ToInt(Attr(tag, "numFmtId"))] = Attr(tag, "formatCode");
        });
        const std::string xfs = FirstElementBody(styles->second, "cellXfs");
        ForEachElement(xfs, "xf", [&](const std::string& tag, const std::string&) {
            book.xfNumFmt_.push_back(ToInt(Attr(tag, "numFmtId")));
            book.xfFillBorder_.emplace_back(ToInt(Attr(tag, "fillId")),
                                            ToInt(Attr(tag, "borderId")));
        });
        ForEachElement(styles->second, "fill", [&](const std::string&, const std::string& body) {
            book.fills_.push_back(Attr(FirstElementTag(body, "fgColor"), "rgb"));
        });
        ForEachElement(styles->second, "border", [&](const std::string&, const std::string& body) {
            book.bottoms_.push_back(Attr(FirstElementTag(body, "bottom"), "style"));
        });
    }
    return book;
}

const XlsxCell* XlsxBook::Cell(int row, int col) const {
    const auto it = cells_.find({row, col});
    return it == cells_.end() ? nullptr : &it->second;
}

bool XlsxBook::IsNumber(int row, int col) const {
    const XlsxCell* c = Cell(row, col);
    return c && (c->type.empty() || c->type == "n") && !c->value.empty();
}

double XlsxBook::Number(int row, int col) const {
    if (!IsNumber(row, col)) return std::numeric_limits<double>::quiet_NaN();
    return ToDouble(Cell(row, col)->value);
}

std::string XlsxBook::Text(int row, int col) const {
    const XlsxCell* c = Cell(row, col);
    if (!c || c->type.empty() || c->type == "n") return {};
    return c->value;
}

std::string XlsxBook::NumberFormat(int row, int col) const {
    const XlsxCell* c = Cell(row, col);
    if (!c || c->style < 0 || static_cast<std::size_t>(c->style) >= xfNumFmt_.size()) return {};
    const auto it = numFmts_.find(xfNumFmt_[static_cast<std::size_t>(c->style)]);
    return it == numFmts_.end() ? std::string() : it->second;
}

std::string XlsxBook::Fill(int row, int col) const {
    const XlsxCell* c = Cell(row, col);
    if (!c || c->style < 0 || static_cast<std::size_t>(c->style) >= xfFillBorder_.size()) return {};
    const auto fill =
        static_cast<std::size_t>(xfFillBorder_[static_cast<std::size_t>(c->style)].first);
    return fill < fills_.size() ? fills_[fill] : std::string();
}

std::string XlsxBook::BottomBorder(int row, int col) const {
    const XlsxCell* c = Cell(row, col);
    if (!c || c->style < 0 || static_cast<std::size_t>(c->style) >= xfFillBorder_.size()) return {};
    const auto b =
        static_cast<std::size_t>(xfFillBorder_[static_cast<std::size_t>(c->style)].second);
    return b < bottoms_.size() ? bottoms_[b] : std::string();
}

double XlsxBook::ColumnWidth(int col) const {
    const auto it = widths_.find(col);
    return it == widths_.end() ? 0.0 : it->second;
}

}  // namespace sondix::test
