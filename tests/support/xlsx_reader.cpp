#include "xlsx_reader.h"

#include <zip.h>

#include <QXmlStreamReader>
#include <limits>
#include <memory>
#include <vector>

namespace sondix::test {
namespace {

// One member of the zip container; empty when it is missing.
QByteArray Member(zip_t* archive, const char* name) {
    zip_stat_t st;
    if (zip_stat(archive, name, 0, &st) != 0) return {};
    const std::unique_ptr<zip_file_t, decltype(&zip_fclose)> file(zip_fopen(archive, name, 0),
                                                                  &zip_fclose);
    QByteArray data(static_cast<qsizetype>(st.size), '\0');
    if (!file || zip_fread(file.get(), data.data(), st.size) != zip_int64_t(st.size)) return {};
    return data;
}

std::string Attr(const QXmlStreamReader& x, const char* name) {
    return x.attributes().value(name).toString().toStdString();
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
    const QByteArray sheet = archive ? Member(archive.get(), "xl/worksheets/sheet1.xml") : "";
    if (sheet.isEmpty()) {
        if (error) *error = "cannot read xl/worksheets/sheet1.xml of " + path;
        return std::nullopt;
    }
    std::vector<std::string> shared, fills, xfFills;  // the fill colour of each cell format
    for (QXmlStreamReader x(Member(archive.get(), "xl/sharedStrings.xml")); !x.atEnd();) {
        if (x.readNext() == QXmlStreamReader::StartElement && x.name() == u"si")
            shared.push_back(StringText(x, u"si"));
    }
    bool inCellXfs = false;
    for (QXmlStreamReader x(Member(archive.get(), "xl/styles.xml")); !x.atEnd();) {
        x.readNext();
        if (x.name() == u"cellXfs") inCellXfs = x.isStartElement();
        if (!x.isStartElement()) continue;
        if (x.name() == u"fill") fills.emplace_back();
        if (x.name() == u"fgColor" && !fills.empty()) fills.back() = Attr(x, "rgb");
        if (x.name() == u"xf" && inCellXfs) {
            const auto f = static_cast<std::size_t>(x.attributes().value("fillId").toInt());
            xfFills.push_back(f < fills.size() ? fills[f] : "");
        }
    }
    XlsxBook book;
    for (QXmlStreamReader x(sheet); !x.atEnd();) {
        if (x.readNext() != QXmlStreamReader::StartElement) continue;
        if (x.name() == u"col") {
            for (int c = x.attributes().value("min").toInt();
                 c <= x.attributes().value("max").toInt(); ++c)
                book.widths_[c] = x.attributes().value("width").toDouble();
        } else if (x.name() == u"c") {
            const auto style = static_cast<std::size_t>(x.attributes().value("s").toInt());
            XlsxCell cell{Attr(x, "t"), {}, style < xfFills.size() ? xfFills[style] : ""};
            // "B12" -> (12, 2).
            const std::string ref = Attr(x, "r");
            const std::size_t digits = ref.find_first_of("0123456789");
            int col = 0;
            for (std::size_t i = 0; i < digits; ++i)
                col = col * 26 + (ref[i] - 'A' + 1);
            while (x.readNext() != QXmlStreamReader::Invalid &&
                   !(x.isEndElement() && x.name() == u"c")) {
                if (x.isStartElement() && x.name() == u"v")
                    cell.value = x.readElementText().toStdString();
                if (x.isStartElement() && x.name() == u"is") cell.value = StringText(x, u"is");
            }
            if (cell.type == "s") {
                const auto index = static_cast<std::size_t>(std::stoi(cell.value));
                cell.value = index < shared.size() ? shared[index] : std::string();
            }
            book.cells_[{std::stoi(ref.substr(digits)), col}] = cell;
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

// QString reads "." as the decimal point whatever the locale, as the workbook writes it.
double XlsxBook::Number(int row, int col) const {
    return IsNumber(row, col) ? QString::fromStdString(Cell(row, col)->value).toDouble()
                              : std::numeric_limits<double>::quiet_NaN();
}

std::string XlsxBook::Text(int row, int col) const {
    const XlsxCell* c = Cell(row, col);
    return c && !c->type.empty() && c->type != "n" ? c->value : "";
}

double XlsxBook::ColumnWidth(int col) const {
    const auto it = widths_.find(col);
    return it == widths_.end() ? 0.0 : it->second;
}

}  // namespace sondix::test
