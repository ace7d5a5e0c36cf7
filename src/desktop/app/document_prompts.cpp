// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/document_prompts.h"

#include <string_view>
#include <vector>

#include "common/message_box.h"
#include "config/language.h"
#include "resources/frame_resources.h"

namespace {

// Field n of the document type string.
std::string DocumentTypeField(size_t n) {
    std::string_view text(kDocumentTypeString);
    for (size_t field = 0; field < n; ++field) {
        text.remove_prefix(std::min(text.size(), text.find('\n') + 1));
    }
    return std::string(text.substr(0, text.find('\n')));
}

constexpr size_t kFilterNameField = 3;
constexpr size_t kExtensionField = 4;

std::string MessageText(const DocumentMessage& message) {
    return (message.textKey.empty() ? std::string() : LoadLangString(message.textKey)) +
           message.detail;
}

}  // namespace

FileFilter DocumentFileFilter() {
    return {DocumentTypeField(kFilterNameField), DocumentTypeField(kExtensionField)};
}

bool QtDocumentPrompts::AskOkCancel(const DocumentMessage& message) {
    MessageAnswer enter = message.okByDefault ? MessageAnswer::Ok : MessageAnswer::Cancel;
    return MessageBox::Show(m_Owner(), MessageText(message), LoadLangString(message.captionKey),
                            MessageIcon::Exclamation, MessageButtons::OkCancel,
                            enter) == MessageAnswer::Ok;
}

void QtDocumentPrompts::ShowStopMessage(const DocumentMessage& message) {
    MessageBox::Show(m_Owner(), MessageText(message), LoadLangString(message.captionKey),
                     MessageIcon::Stop, MessageButtons::Ok);
}

std::optional<std::string> QtDocumentPrompts::AskSavePath() {
    return FileDialog::GetSaveFileName(m_Owner(), DocumentFileFilter(), m_SuggestedPath);
}
