#include "export/sheet_cells.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "export/latin1.h"

namespace sondix {

namespace {

constexpr std::size_t kGeneralWidth = 11;  // a general-format cell shows at most this many

std::size_t ShownLength(const SheetCell& c) {
    switch (c.kind) {
        case SheetCell::Kind::Text:
            return c.text.size();
        case SheetCell::Kind::Number:
            return GeneralNumberText(c.number).size();
        case SheetCell::Kind::DateTime:
            return std::string_view(kDateTimeFormat).size();
        case SheetCell::Kind::Blank:
            return 0;
    }
    return 0;
}

lxw_datetime ToLxw(const Gen::DateTime& t) {
    return {t.year, t.month, t.day, t.hour, t.minute, static_cast<double>(t.second)};
}

struct WorkbookCloser {
    void operator()(lxw_workbook* wb) const { workbook_close(wb); }
};

std::string ErrorText(lxw_error err, const std::string& path) {
    return std::string(lxw_strerror(err)) + " (" + path + ")";
}

// One format per combination of date, fill and borders that the cells use.
class Formats {
  public:
    explicit Formats(lxw_workbook* wb) : wb_(wb) {}

    lxw_format* For(const SheetCell& c) {
        const bool date = c.kind == SheetCell::Kind::DateTime;
        if (!date && !c.fill && !c.boxed) return nullptr;
        const long fill = c.fill ? (c.fill->r << 16) | (c.fill->g << 8) | c.fill->b : -1;
        for (const Entry& e : made_) {
            if (e.date == date && e.fill == fill && e.boxed == c.boxed) return e.format;
        }
        lxw_format* f = workbook_add_format(wb_);
        if (f == nullptr) return nullptr;
        if (date) format_set_num_format(f, kDateTimeFormat);
        if (c.fill) {
            format_set_pattern(f, LXW_PATTERN_SOLID);
            format_set_bg_color(f, static_cast<lxw_color_t>(fill));
        }
        if (c.boxed) {
            format_set_border(f, LXW_BORDER_THIN);
            format_set_border_color(f, LXW_COLOR_BLACK);
        }
        made_.push_back({date, fill, c.boxed, f});
        return f;
    }

  private:
    struct Entry {
        bool date;
        long fill;
        bool boxed;
        lxw_format* format;
    };
    lxw_workbook* wb_;
    std::vector<Entry> made_;
};

lxw_error WriteCell(lxw_worksheet* ws, const SheetCell& c, lxw_format* format) {
    const auto row = static_cast<lxw_row_t>(c.row - 1);
    const auto col = static_cast<lxw_col_t>(c.col - 1);
    switch (c.kind) {
        case SheetCell::Kind::Text:
            return worksheet_write_string(ws, row, col, Latin1ToUtf8(c.text).c_str(), format);
        case SheetCell::Kind::Number:
            return worksheet_write_number(ws, row, col, c.number, format);
        case SheetCell::Kind::DateTime: {
            lxw_datetime dt = ToLxw(c.when);
            return worksheet_write_datetime(ws, row, col, &dt, format);
        }
        case SheetCell::Kind::Blank:
            return worksheet_write_blank(ws, row, col, format);
    }
    return LXW_NO_ERROR;
}

}  // namespace

std::string GeneralNumberText(double v) {
    char buf[40];
    for (int digits = 10; digits >= 1; --digits) {
        std::snprintf(buf, sizeof buf, "%.*G", digits, v);
        if (std::string_view(buf).size() <= kGeneralWidth) return buf;
    }
    return buf;
}

std::vector<double> FittedColumnWidths(const std::vector<SheetCell>& cells) {
    std::vector<double> widths;
    for (const SheetCell& c : cells) {
        if (c.col < 1) continue;
        const auto i = static_cast<std::size_t>(c.col - 1);
        if (widths.size() <= i) widths.resize(i + 1, 0.0);
        // One character of margin, as the spreadsheet's own fitting leaves.
        widths[i] = std::max(widths[i], static_cast<double>(ShownLength(c)) + 1.0);
    }
    return widths;
}

std::string WriteSheet(const std::vector<SheetCell>& cells, const std::string& path) {
    return WriteSheet(cells, FittedColumnWidths(cells), path);
}

std::string WriteSheet(const std::vector<SheetCell>& cells, const std::vector<double>& widths,
                       const std::string& path) {
    std::unique_ptr<lxw_workbook, WorkbookCloser> wb(workbook_new(path.c_str()));
    if (!wb) return "Cannot create the workbook (" + path + ")";
    lxw_worksheet* ws = workbook_add_worksheet(wb.get(), nullptr);
    if (!ws) return "Cannot create the worksheet (" + path + ")";
    Formats formats(wb.get());

    for (std::size_t i = 0; i < widths.size(); ++i) {
        if (widths[i] <= 0) continue;
        const auto col = static_cast<lxw_col_t>(i);
        worksheet_set_column(ws, col, col, widths[i], nullptr);
    }
    for (const SheetCell& c : cells) {
        if (c.row < 1 || c.col < 1) continue;
        const lxw_error err = WriteCell(ws, c, formats.For(c));
        if (err != LXW_NO_ERROR) return ErrorText(err, path);  // the closer discards the book
    }
    const lxw_error err = workbook_close(wb.release());
    return err == LXW_NO_ERROR ? std::string() : ErrorText(err, path);
}

}  // namespace sondix
