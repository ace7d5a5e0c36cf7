// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/step_names.h"

#include <QStringList>
#include <vector>

#include "config/language.h"

namespace {

QString Filled(QString text, const QStringList& arguments) {
    for (const QString& argument : arguments) {
        text = text.arg(argument);
    }
    return text;
}

}  // namespace

StepArg::StepArg(const QString& text) : m_Part(StepPart::Literal(text.toStdString())) {}

StepArg StepArg::Control(int controlId) {
    return StepArg(StepPart::Control(controlId));
}

StepArg StepArg::Text(const char* key, std::initializer_list<QString> arguments) {
    std::vector<std::string> fillers;
    for (const QString& argument : arguments) {
        fillers.push_back(argument.toStdString());
    }
    return StepArg(StepPart::Text(key, fillers));
}

StepArg StepArg::ChannelColumn(int column) {
    return StepArg(StepPart::ChannelColumn(column));
}

StepArg StepArg::TestItem(int index) {
    return StepArg(StepPart::TestItem(index));
}

std::string StepName(const char* key, std::initializer_list<StepArg> arguments) {
    std::vector<StepPart> parts;
    for (const StepArg& argument : arguments) {
        parts.push_back(argument.Part());
    }
    return MakeStepName(key, parts);
}

QString StepText(const std::string& name) {
    return QString::fromStdString(StepNameText(name));
}

QString LangText(const char* key, std::initializer_list<QString> arguments) {
    return Filled(QString::fromStdString(LoadLangString(key)), QStringList(arguments));
}

QString ControlLabel(int controlId) {
    return QString::fromStdString(ControlLabelText(controlId));
}

QString LoadChannelHeader(int column) {
    return QString::fromStdString(ChannelHeaderText(column));
}
