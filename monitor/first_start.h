// SPDX-License-Identifier: GPL-3.0-or-later
// The settings a run starts from: the user's file when it exists, else the factory values with
// fan values from the limits the panel reports, so that a first start never pushes zeros.
#pragma once

#include <filesystem>

#include "core/monitor_state.h"
#include "device/panel_protocol.h"

namespace kestrelon {

// Whether there is a settings file at all (an existing file with empty values loads as it is).
bool IsFirstStart(const std::filesystem::path& settingsPath);

// The factory values for a first start. With a panel its fan limits are read first and, when
// `save` is set, the values are saved so that the file holds what the panel is about to get.
// Without a panel nothing is saved: the fan values stay unknown until a panel reports its limits.
void StartFromFactorySettings(MonitorState& state, PanelProtocol* panel,
                              const std::filesystem::path& settingsPath, bool save);

// What runs once a panel is open and before it is given the settings: a first start takes the
// factory values as above. An existing file keeps its values, except that a fan set point or
// manual speed of 0 (saved before any panel had reported its fan limits; pushed, it would stop
// the fan) is filled in from the panel's limits and the file saved. The limits are read only
// when there is such a 0. Returns whether the settings changed.
bool PrepareSettingsForPanel(MonitorState& state, PanelProtocol& panel,
                             const std::filesystem::path& settingsPath);

}  // namespace kestrelon
