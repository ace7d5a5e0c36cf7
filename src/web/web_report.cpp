// SPDX-License-Identifier: GPL-3.0-or-later
// The printed report for the page's print: the core's layout of the document in the language
// shown, with the measures of its logical page. Only conversions to JavaScript values here.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <filesystem>
#include <string>
#include <vector>

#include "config/app_globals.h"
#include "config/language.h"
#include "editors/channel_report.h"
#include "web_document.h"
#include "web_files.h"

using emscripten::val;

namespace {

template <typename Texts>
val TextArray(const Texts& texts) {
    val array = val::array();
    for (const std::string& text : texts) {
        array.call<void>("push", text);
    }
    return array;
}

template <typename T>
T Field(const val& object, const char* name) {
    const val value = object[name];
    return value.isUndefined() || value.isNull() ? T{} : value.as<T>();
}

val ColumnsValue(const ChannelReport& report) {
    val columns = val::array();
    for (const ReportColumn& column : report.columns) {
        val entry = val::object();
        entry.set("heading", column.heading);
        entry.set("wraps", column.wraps);
        entry.set("width", column.width);
        columns.call<void>("push", entry);
    }
    return columns;
}

val PageValue(const ReportPage& page) {
    val rows = val::array();
    for (size_t index = 0; index < page.rows.size(); ++index) {
        val cells = val::array();
        for (int column = 0; column < kChannelColumnCount; ++column) {
            const ChannelCellState& state = page.states[index][static_cast<size_t>(column)];
            val cell = val::object();
            cell.set("text", page.rows[index][static_cast<size_t>(column)]);
            cell.set("locked", state.locked);
            cell.set("shaded", state.shaded);
            cells.call<void>("push", cell);
        }
        rows.call<void>("push", cells);
    }
    val object = val::object();
    object.set("firstRowTop", page.firstRowTop);
    object.set("rows", rows);
    return object;
}

// time: the page's local clock as {year, month, day, hour, minute, weekday}, the weekday
// named in the language shown.
val ChannelReportValue(const WebDocument& document, const val& time) {
    const CHalvexDoc& doc = document.Document();
    std::array<std::string, kChannelColumnCount> headings;
    for (const ChannelColumnDefinition& column : kChannelColumns) {
        headings[column.id] = LoadLangText(g_LanguagePath, kChannelHeaderSection, column.headerKey,
                                           "", kListBufferSize);
    }
    const ChannelTexts cells =
        WordedChannelTexts([](const ColumnText& text) { return LoadLangString(text.key); });
    // The page's language is the file it chose, as the desktop's is its setting's value.
    const std::string language = std::filesystem::path(g_LanguagePath).stem().string();
    const ChannelReport report =
        BuildChannelReport(doc, cells, headings, EnglishHeadings(language),
                           ReadChannelTableSettings(kWebSettingsPath, doc.GetChannelCount()));
    const ReportTime when{Field<int>(time, "year"), Field<int>(time, "month"),
                          Field<int>(time, "day"), Field<int>(time, "hour"),
                          Field<int>(time, "minute")};

    val lines = val::array();
    for (const std::vector<std::string>& line : report.functionLines) {
        lines.call<void>("push", TextArray(line));
    }
    val pages = val::array();
    for (const ReportPage& page : report.pages) {
        pages.call<void>("push", PageValue(page));
    }
    val functionColumns = val::array();
    for (int x : kFunctionReportColumns) {
        functionColumns.call<void>("push", x);
    }
    val object = val::object();
    object.set("dateLine", ReportDateLine(when, Field<std::string>(time, "weekday")));
    object.set("fontFace", std::string(kReportFontFace));
    object.set("fontHeight", kReportFontHeight);
    object.set("measuringFontHeight", kReportMeasuringFontHeight);
    object.set("measuringText", std::string(kReportMeasuringText));
    object.set("marginCharacters", kReportMarginCharacters);
    object.set("headingHeight", kChannelHeaderHeight);
    object.set("rowHeight", kChannelRowHeight);
    object.set("functionColumns", functionColumns);
    object.set("functionLines", lines);
    object.set("columns", ColumnsValue(report));
    object.set("pages", pages);
    return object;
}

}  // namespace

EMSCRIPTEN_BINDINGS(halvex_report) {
    emscripten::function("channelReport", &ChannelReportValue);
}
