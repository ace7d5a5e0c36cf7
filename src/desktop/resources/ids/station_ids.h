// SPDX-License-Identifier: GPL-3.0-or-later
// Template 138, Program > Programming Station: the cables to use, the options of the run, a row
// per cable made when the run starts (inside the radios group), the log and the buttons.
#pragma once

constexpr int kStationTemplate = 138;
constexpr int kStationFileId = 1401;
constexpr int kStationDevicesLabelId = 1402;
constexpr int kStationDeviceListId = 1403;
constexpr int kStationOtherLabelId = 1404;
constexpr int kStationOtherEditId = 1405;
constexpr int kStationAutoId = 1406;
constexpr int kStationVerifyId = 1407;
constexpr int kStationLogLabelId = 1408;
constexpr int kStationLogEditId = 1409;
constexpr int kStationRowsGroupId = 1410;
constexpr int kStationLogListId = 1411;
constexpr int kStationStartId = 1412;
constexpr int kStationStopId = 1413;
constexpr int kStationCodeLabelId = 1414;
constexpr int kStationCodeEditId = 1415;
constexpr int kStationCheckOnlyId = 1416;
