#include "xlsx_reader.h"

#include <zip.h>

#include <QXmlStreamReader>
#include <charconv>
#include <limits>
#include <memory>

namespace sondix::test {
namespace {

// One member of the zip container; nullopt when it is missing.
std::optional<QByteArray> Member(zip_t* archive, const char* name) {
    zip_stat_t st;
    if (zip_stat(archive, name, 0, &st) != 0) return std::nullopt;
    const std::unique_ptr<zip_file_t, decltype(&zip_fclose)> file(zip_fopen(archive, name, 0),
                                                                  &zip_fclose);
    if (!file) return std::nullopt;
    QByteArray data(static_cast<qsizetype>(st.size), '\0');
    if (zip_fread(file.get(), data.data(), st.size) != static_cast<zip_int64_t>(st.size)) {
        return std::nullopt;
    }
    return data;
}

int IntAttr(const QXmlStreamReader& x, const char* name) {
    return x.attributes().value(name).toInt();
}
std::string TextAttr(const QXmlStreamReader& x, const char* name) {
    return x.attributes().value(name).toString().toStdString();
}

// Locale-independent: the workbook always writes "." as the decimal point.
double ToDouble(const std::string& s) {
    double v = std::numeric_limits<double>::quiet_NaN();
    std::from_chars(s.data(), s.data() + s.size(), v);
    return v;
}

// "B12" -> (12, 2).
std::pair<int, int> ParseCellRef(const std::string& ref) {
    std::size_t i = 0;
    int col = 0;
    while (i < ref.size() && ref[i] >= 'A' && ref[i] <= 'Z')
        col = col * 26 + (ref[i++] - 'A' + 1);
    return {std::atoi(ref.c_str() + i), col};
}

// The text of every <t> inside the element the reader stands on (a shared or inline string).
std::string StringText(QXmlStreamReader& x, QStringView element) {
    QString text;
    while (x.readNext() != QXmlStreamReader::Invalid &&
           !(x.isEndElement() && x.name() == element)) {
        if (x.isStartElement() && x.name() == u"t") text += x.readElementText();
    }
    return text.toStdString();
}

}  // namespace

std::optional<XlsxBook> XlsxBook::Open(const std::string& path, std::string* error) {
    int zipError = 0;
    const std::unique_ptr<zip_t, decltype(&zip_discard)> archive(
        zip_open(path.c_str(), ZIP_RDONLY, &zipError), &zip_discard);
    if (!archive) {
        zip_error_t e;
        zip_error_init_with_code(&e, zipError);
        if (error) *error = zip_error_strerror(&e);
        zip_error_fini(&e);
        return std::nullopt;
    }
    const auto sheet = Member(archive.get(), "xl/worksheets/sheet1.xml");
    if (!sheet) {
        if (error) *error = "no xl/worksheets/sheet1.xml";
        return std::nullopt;
    }
    std::vector<std::string> shared;
    if (const auto sst = Member(archive.get(), "xl/sharedStrings.xml")) {
        for (QXmlStreamReader x(*sst); !x.atEnd();) {
            if (x.readNext() == QXmlStreamReader::StartElement && x.name() == u"si") {
                shared.push_back(StringText(x, u"si"));
            }
        }
    }
    XlsxBook book;
    for (QXmlStreamReader x(*sheet); !x.atEnd();) {
        if (x.readNext() != QXmlStreamReader::StartElement) continue;
        if (x.name() == u"col") {
            for (int c = IntAttr(x, "min"); c <= IntAttr(x, "max"); ++c)
                book.widths_[c] = x.attributes().value("width").toDouble();
        } else if (x.name() == u"c") {
            XlsxCell cell{TextAttr(x, "t"), {}, IntAttr(x, "s")};
            const auto at = ParseCellRef(TextAttr(x, "r"));
            while (x.readNext() != QXmlStreamReader::Invalid &&
                   !(x.isEndElement() && x.name() == u"c")) {
                if (x.isStartElement() && x.name() == u"v") {
                    cell.value = x.readElementText().toStdString();
                } else if (x.isStartElement() && x.name() == u"is") {
                    cell.value = StringText(x, u"is");
                }
            }
            if (cell.type == "s") {
                const auto index = static_cast<std::size_t>(std::atoi(cell.value.c_str()));
                cell.value = index < shared.size() ? shared[index] : std::string();
            }
            book.cells_[at] = cell;
        }
    }
    if (const auto styles = Member(archive.get(), "xl/styles.xml")) {
        bool inCellXfs = false;
        for (QXmlStreamReader x(*styles); !x.atEnd();) {
            x.readNext();
            if (x.name() == u"cellXfs") inCellXfs = x.isStartElement();
            if (!x.isStartElement()) continue;
            if (x.name() == u"numFmt") {
                book.numFmts_[IntAttr(x, "numFmtId")] = TextAttr(x, "formatCode");
            } else if (x.name() == u"xf" && inCellXfs) {
                book.xfNumFmt_.push_back(IntAttr(x, "numFmtId"));
                book.xfFillBorder_.emplace_back(IntAttr(x, "fillId"), IntAttr(x, "borderId"));
            } else if (x.name() == u"fill") {
                book.fills_.emplace_back();
            } else if (x.name() == u"fgColor" && !book.fills_.empty()) {
                book.fills_.back() = TextAttr(x, "rgb");
            } else if (x.name() == u"border") {
                book.bottoms_.emplace_back();
            } else if (x.name() == u"bottom" && !book.bottoms_.empty()) {
                book.bottoms_.back() = TextAttr(x, "style");
            }
        }
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

// The fill and the border of the cell's format.
std::pair<std::size_t, std::size_t> XlsxBook::FillAndBorder(int row, int col) const {
    const XlsxCell* c = Cell(row, col);
    if (!c || c->style < 0 || static_cast<std::size_t>(c->style) >= xfFillBorder_.size())
        return {fills_.size(), bottoms_.size()};
    const auto [fill, border] = xfFillBorder_[static_cast<std::size_t>(c->style)];
    return {static_cast<std::size_t>(fill), static_cast<std::size_t>(border)};
}

std::string XlsxBook::Fill(int row, int col) const {
    const std::size_t f = FillAndBorder(row, col).first;
    return f < fills_.size() ? fills_[f] : std::string();
}

std::string XlsxBook::BottomBorder(int row, int col) const {
    const std::size_t b = FillAndBorder(row, col).second;
    return b < bottoms_.size() ? bottoms_[b] : std::string();
}

double XlsxBook::ColumnWidth(int col) const {
    const auto it = widths_.find(col);
    return it == widths_.end() ? 0.0 : it->second;
}

}  // namespace sondix::test
