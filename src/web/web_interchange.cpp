// SPDX-License-Identifier: GPL-3.0-or-later
#include "web_interchange.h"

#include "channel_edits.h"
#include "config/language.h"
#include "editors/channel_csv.h"
#include "editors/difference_words.h"
#include "platform/csv_text.h"
#include "platform/output_path.h"
#include "textform/radio_text.h"
#include "web_files.h"

namespace {

std::string LanguageWording(const CsvReportText& text) {
    return LoadLangString(text.key);
}

// The core reads a file by path, so the bytes go to the file folder for the read alone.
template <typename Reader>
bool ReadText(const std::vector<uint8_t>& bytes, const std::string& name, Reader read,
              std::string* text, std::string* error) {
    const std::string path = FilePathFor(name);
    if (!WriteWholeFile(path, bytes, error)) {
        return false;
    }
    const bool ok = read(path, text, error);
    RemoveFile(path);
    return ok;
}

}  // namespace

bool CanExportChannels(const WebDocument& document) {
    const CHalvexDoc& doc = document.Document();
    return HasChannelsToExport(doc, doc.GetChannelCount());
}

ChannelListExport ExportChannels(const WebDocument& document) {
    ChannelListExport result;
    const CHalvexDoc& doc = document.Document();
    if (!HasChannelsToExport(doc, doc.GetChannelCount())) {
        result.message = LanguageWording(kNoChannelsToExport);
        return result;
    }
    result.text = ExportChannelCsv(doc, doc.GetChannelCount(), LanguageWording, &result.notes);
    result.ok = true;
    return result;
}

ChannelListImport ImportChannels(WebDocument& document, const std::vector<uint8_t>& bytes,
                                 const std::string& name, bool replace, bool apply) {
    ChannelListImport result;
    std::string text, error;
    const CHalvexDoc& doc = document.Document();
    std::array<uint8_t, kImageSize> image{};
    ChannelImportResult report;
    if (!ReadText(bytes, name, ReadCsvFile, &text, &error) ||
        !PreviewChannelImport(text, doc, doc.GetChannelCount(),
                              replace ? ChannelImportMode::Replace : ChannelImportMode::FillEmpty,
                              LanguageWording, &image, &report, &error)) {
        result.message = LoadLangString("IDS_CSV_REFUSED") + error;
        return result;
    }
    result.ok = true;
    result.summary = ImportSummary(report, LanguageWording);
    result.losses = std::move(report.losses);
    result.changes = image != doc.Image().bytes;
    if (apply && result.changes) {
        document.ReplaceContents(doc.Header(), image, "IDS_STEP_IMPORT");
    }
    return result;
}

std::string ExportRadioText(const WebDocument& document) {
    return DumpRadioText(document.Document());
}

RadioTextImport ImportRadioText(WebDocument& document, const std::vector<uint8_t>& bytes,
                                const std::string& name, bool apply) {
    RadioTextImport result;
    std::string text, error;
    result.message = LoadLangString("IDS_CONFIG_REFUSED");
    if (!ReadText(bytes, name, ReadRadioTextFile, &text, &error)) {
        result.errors.push_back(error);
        return result;
    }
    const CHalvexDoc& doc = document.Document();
    RadioTextResult applied;
    std::vector<TextError> errors;
    if (!PreviewRadioText(text, false, doc, &applied, &errors)) {
        result.errors = TextErrorLines(ShownFileName(FilePathFor(name)), errors);
        return result;
    }
    result.ok = true;
    result.message.clear();
    // As on the desktop: compared with what a save of the document would hold, since the
    // import makes the derived areas as a save does.
    CHalvexDoc current(doc);
    current.EditImage().PrepareImage();
    result.changes = applied.image != current.Image().bytes || applied.header != doc.Header();
    result.lines = DifferenceLines(ImportDifferences(
        doc, applied.header, applied.image,
        WordedChannelTexts([](const ColumnText& text) { return LoadLangString(text.key); })));
    result.summary =
        LoadLangString(result.lines.empty() ? "IDS_CONFIG_SAME" : "IDS_CONFIG_CHANGES");
    if (apply && result.changes) {
        document.ReplaceContents(applied.header, applied.image, "IDS_STEP_IMPORT_CONFIG");
    }
    return result;
}

std::string NameWithExtension(const WebDocument& document, const std::string& extension) {
    const std::string name = document.PathName();
    return name.empty() ? std::string() : WithExtension(name, extension);
}
