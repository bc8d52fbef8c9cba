// SPDX-License-Identifier: GPL-3.0-or-later
// The settings a run starts from.
#include "monitor/first_start.h"

#include "settings/factory_settings.h"
#include "settings/settings_file.h"

namespace kestrelon {

bool IsFirstStart(const std::filesystem::path& settingsPath) {
    std::error_code ec;
    return !std::filesystem::exists(settingsPath, ec) && !ec;
}

void StartFromFactorySettings(MonitorState& state, PanelProtocol* panel,
                              const std::filesystem::path& settingsPath, bool save) {
    if (panel) {
        panel->ReadFanLimits(ChannelPair::First);
        panel->ReadFanLimits(ChannelPair::Second);
    }
    ApplyFactorySettings(state);
    if (panel && save) SaveSettings(state.settings, settingsPath);
}

bool PrepareSettingsForPanel(MonitorState& state, PanelProtocol& panel,
                             const std::filesystem::path& settingsPath) {
    if (IsFirstStart(settingsPath)) {
        StartFromFactorySettings(state, &panel, settingsPath, true);
        return true;
    }
    if (!HasUnknownFanValues(state)) return false;
    panel.ReadFanLimits(ChannelPair::First);
    panel.ReadFanLimits(ChannelPair::Second);
    if (FillUnknownFanValues(state) == 0) return false;
    SaveSettings(state.settings, settingsPath);
    return true;
}

}  // namespace kestrelon
