// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/step_names.h"

#include <QStringList>
#include <vector>

#include "codeplug/channel_columns.h"
#include "config/app_globals.h"
#include "config/language.h"
#include "testmode/mode_items.h"

namespace {

// Names and texts never hold these control characters, so they can separate the parts.
constexpr char kNameMark = '\x01';
constexpr char kArgumentSeparator = '\x1f';
constexpr char kInnerSeparator = '\x1e';

constexpr char kLiteral = 'T';
constexpr char kControl = 'C';
constexpr char kLanguageText = 'K';
constexpr char kColumn = 'H';
constexpr char kTestItem = 'I';

QString Filled(QString text, const QStringList& arguments) {
    for (const QString& argument : arguments) {
        text = text.arg(argument);
    }
    return text;
}

QString TestItemName(int index) {
    const std::vector<std::string> names = LoadTestItemNames(g_LanguagePath);
    return index >= 0 && index < static_cast<int>(names.size())
               ? QString::fromStdString(names[size_t(index)])
               : QString::number(index);
}

QString ArgumentText(const QString& encoded) {
    if (encoded.isEmpty()) {
        return {};
    }
    const QString payload = encoded.mid(1);
    switch (encoded.front().toLatin1()) {
        case kControl:
            return ControlLabel(payload.toInt());
        case kColumn:
            return LoadChannelHeader(payload.toInt());
        case kTestItem:
            return TestItemName(payload.toInt());
        case kLanguageText: {
            QStringList parts = payload.split(QLatin1Char(kInnerSeparator));
            const QString key = parts.takeFirst();
            return Filled(QString::fromStdString(LoadLangString(key.toStdString())), parts);
        }
        default:
            return payload;
    }
}

std::string Tagged(char kind, const QString& payload) {
    return kind + payload.toStdString();
}

}  // namespace

StepArg::StepArg(const QString& text) : m_Encoded(Tagged(kLiteral, text)) {}

StepArg StepArg::Control(int controlId) {
    return StepArg(Tagged(kControl, QString::number(controlId)));
}

StepArg StepArg::Text(const char* key, std::initializer_list<QString> arguments) {
    QString payload = QString::fromLatin1(key);
    for (const QString& argument : arguments) {
        payload += QLatin1Char(kInnerSeparator) + argument;
    }
    return StepArg(Tagged(kLanguageText, payload));
}

StepArg StepArg::ChannelColumn(int column) {
    return StepArg(Tagged(kColumn, QString::number(column)));
}

StepArg StepArg::TestItem(int index) {
    return StepArg(Tagged(kTestItem, QString::number(index)));
}

std::string StepName(const char* key, std::initializer_list<StepArg> arguments) {
    std::string name(1, kNameMark);
    name += key;
    for (const StepArg& argument : arguments) {
        name += kArgumentSeparator;
        name += argument.Encoded();
    }
    return name;
}

QString StepText(const std::string& name) {
    if (name.empty() || name.front() != kNameMark) {
        return QString::fromStdString(name);
    }
    QStringList parts =
        QString::fromStdString(name.substr(1)).split(QLatin1Char(kArgumentSeparator));
    const QString key = parts.takeFirst();
    QStringList arguments;
    for (const QString& part : parts) {
        arguments << ArgumentText(part);
    }
    return Filled(QString::fromStdString(LoadLangString(key.toStdString())), arguments);
}

QString LangText(const char* key, std::initializer_list<QString> arguments) {
    return Filled(QString::fromStdString(LoadLangString(key)), QStringList(arguments));
}

QString ControlLabel(int controlId) {
    return QString::fromStdString(ControlLabelText(controlId));
}

QString LoadChannelHeader(int column) {
    return QString::fromStdString(LoadLangText(g_LanguagePath, kChannelHeaderSection,
                                               kChannelColumns[size_t(column)].headerKey, "",
                                               kListBufferSize));
}
