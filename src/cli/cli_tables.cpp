// SPDX-License-Identifier: GPL-3.0-or-later
// The option table of each subcommand, and the subcommands themselves: what the parser
// accepts, what --help shows and what the shell completion offers all come from here.
#include <array>

#include "cli/cli_commands.h"
#include "cli/cli_options.h"
#include "cli/cli_read_write.h"
#include "cli/cli_station.h"
#include "cli/cli_support.h"

namespace {

using namespace cli_option;

constexpr OptionDefinition kSettingsOption{
    .name = kSettings,
    .valueName = "FILE",
    .help = "the settings file instead of the default setting.ini",
    .kind = OptionKind::InputFile,
    .fileTypes = "ini"};
// The radio's port, or the device instead.
constexpr int kPortGroup = 1;
constexpr OptionDefinition kPortOption{.name = kPort,
                                       .valueName = "N",
                                       .help = "the radio on port COMN (1-255)",
                                       .kind = OptionKind::Value,
                                       .group = kPortGroup};
constexpr OptionDefinition kDeviceOption{.name = kDevice,
                                         .valueName = "PATH",
                                         .help = "the radio on this serial device",
                                         .kind = OptionKind::Value,
                                         .group = kPortGroup};
// A new document's band line, or the file whose band it keeps.
constexpr int kBaseGroup = 2;
constexpr OptionDefinition kBandOption{.name = kBand,
                                       .valueName = "K",
                                       .help = "a new document on band line K of the settings",
                                       .kind = OptionKind::Value,
                                       .group = kBaseGroup};
constexpr OptionDefinition kIntoOption{.name = kInto,
                                       .valueName = "BASE.pgm",
                                       .help = "store the channels over a copy of BASE.pgm",
                                       .kind = OptionKind::InputFile,
                                       .group = kBaseGroup,
                                       .fileTypes = "pgm"};
constexpr int kVerifyGroup = 3;
// A station writes and checks, writes only, or only checks; a diff's second side is a file or
// the radio.
constexpr int kStationModeGroup = 4;
constexpr int kDiffSideGroup = 4;

constexpr OptionDefinition kVerboseOption{
    .name = kVerbose,
    .help = "print each frame sent and received, with its time, to standard error"};

// A radio file, or the text form that stands for one.
constexpr std::string_view kRadioFileTypes = "pgm yaml yml";
constexpr std::string_view kTextTypes = "yaml yml";

constexpr OptionDefinition Output(std::string_view valueName, bool required,
                                  std::string_view fileTypes) {
    return {.name = kOutput,
            .valueName = valueName,
            .help = "the file to write",
            .kind = OptionKind::OutputFile,
            .required = required,
            .fileTypes = fileTypes};
}

constexpr OptionDefinition Input(std::string_view name, std::string_view fileTypes) {
    return {.name = name, .kind = OptionKind::InputFile, .required = true, .fileTypes = fileTypes};
}

constexpr OptionDefinition Flag(std::string_view name, std::string_view help, int group = 0) {
    return {.name = name, .help = help, .group = group};
}

constexpr std::array kNewOptions = {kSettingsOption, kBandOption, Output("FILE.pgm", true, "pgm")};
constexpr std::array kInfoOptions = {kSettingsOption, Input(kPgmFile, "pgm"),
                                     Flag(kCsv, "the channels as CSV")};
constexpr std::array kReadOptions = {kPortOption, kDeviceOption, kSettingsOption, kVerboseOption,
                                     Output("FILE.pgm", true, "pgm")};
constexpr std::array kWriteOptions = {
    kPortOption,
    kDeviceOption,
    kSettingsOption,
    Flag(kVerify, "read the radio back and compare (verifywrite=1 in the settings)", kVerifyGroup),
    Flag(kNoVerify, "do not read back, whatever verifywrite says", kVerifyGroup),
    Flag(kForce, "send a whole-sized file with another header"),
    kVerboseOption,
    Input(kPgmFile, kRadioFileTypes)};
constexpr std::array kStationOptions = {
    Input(kPgmFile, "pgm"),
    OptionDefinition{.name = kDevice,
                     .valueName = "PATH",
                     .help = "a cable of the station (give one for each)",
                     .kind = OptionKind::Value,
                     .required = true,
                     .repeatable = true},
    OptionDefinition{.name = kCount,
                     .valueName = "N",
                     .help = "stop after N radios in all",
                     .kind = OptionKind::Value},
    OptionDefinition{.name = kLog,
                     .valueName = "LOG.csv",
                     .help = "append one line per radio to LOG.csv",
                     .kind = OptionKind::OutputFile,
                     .fileTypes = "csv"},
    Flag(kNoVerify, "do not read each radio back to compare", kStationModeGroup),
    Flag(kCheckOnly, "read each radio and compare it with the file; write none", kStationModeGroup),
    OptionDefinition{.name = kPttIdCodeFrom,
                     .valueName = "CODE",
                     .help = "give the radios PTT ID codes CODE, CODE+1, ... (decimal, same width)",
                     .kind = OptionKind::Value},
    Flag(kAuto, "find each next radio by the wake-up, every 2 s"),
    kVerboseOption,
    kSettingsOption};
constexpr std::array kVerifyOptions = {Input(kPgmFile, "pgm"),
                                       OptionDefinition{.name = kDevice,
                                                        .valueName = "PATH",
                                                        .help = "the radio on this serial device",
                                                        .kind = OptionKind::Value,
                                                        .required = true},
                                       kSettingsOption};
constexpr std::array kPortsOptions = {kSettingsOption, Flag(kJson, "the list as JSON")};
constexpr std::array kDoctorOptions = {kPortOption, kDeviceOption, kSettingsOption, kVerboseOption};
constexpr std::array kDiffOptions = {
    kSettingsOption, Input(kFirstFile, kRadioFileTypes),
    OptionDefinition{.name = kSecondFile,
                     .kind = OptionKind::InputFile,
                     .group = kDiffSideGroup,
                     .fileTypes = kRadioFileTypes},
    OptionDefinition{.name = kDevice,
                     .valueName = "PATH",
                     .help = "compare A.pgm with the radio on this serial device",
                     .kind = OptionKind::Value,
                     .group = kDiffSideGroup}};
constexpr std::array kExportOptions = {kSettingsOption, Input(kPgmFile, "pgm"),
                                       Output("OUT.csv", false, "csv")};
constexpr std::array kImportOptions = {
    Input(kCsvInput, "csv"),
    kSettingsOption,
    kBandOption,
    kIntoOption,
    Flag(kAllowEmpty, "write the file even when no channel could be imported"),
    Output("OUT.pgm", true, "pgm")};
constexpr std::array kDumpOptions = {kSettingsOption, Input(kPgmFile, "pgm"),
                                     Output("OUT.yaml", false, kTextTypes)};
constexpr std::array kApplyOptions = {
    Input(kTextInput, kTextTypes), kSettingsOption,
    OptionDefinition{.name = kInto,
                     .valueName = "BASE.pgm",
                     .help = "keep from BASE.pgm what the text does not carry",
                     .kind = OptionKind::InputFile,
                     .fileTypes = "pgm"},
    Output("OUT.pgm", true, "pgm")};

constexpr std::array kCommands = {
    CliCommand{"new", "make an empty radio file", kNewOptions, RunNewCommand},
    CliCommand{"info", "describe a radio file, or list its channels", kInfoOptions, RunInfoCommand},
    CliCommand{"read", "read the radio into a file", kReadOptions, RunReadCommand},
    CliCommand{"write", "write a file to the radio", kWriteOptions, RunWriteCommand},
    CliCommand{"station", "write one file to radio after radio", kStationOptions,
               RunStationCommand},
    CliCommand{"verify", "compare a radio with a file", kVerifyOptions, RunVerifyCommand},
    CliCommand{"ports", "list the serial ports", kPortsOptions, RunPortsCommand},
    CliCommand{"doctor", "find out why a port gives no radio", kDoctorOptions, RunDoctorCommand},
    CliCommand{"diff", "compare two radio files", kDiffOptions, RunDiffCommand, kExitDiffError},
    CliCommand{"export", "the channels as CSV", kExportOptions, RunExportCommand},
    CliCommand{"import", "channels from CSV into a radio file", kImportOptions, RunImportCommand},
    CliCommand{"dump", "a radio file as YAML text", kDumpOptions, RunDumpCommand},
    CliCommand{"apply", "YAML text into a radio file", kApplyOptions, RunApplyCommand},
};

}  // namespace

std::span<const CliCommand> CliCommands() {
    return kCommands;
}
