// SPDX-License-Identifier: GPL-3.0-or-later
// The real panel through hidapi's hidraw backend: enumeration of the panel's interfaces, open by
// path, output reports with hid_write and replies with hid_get_feature_report.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "device/transport.h"

namespace kestrelon {

class HidapiLibrary;

class HidapiBus final : public HidBus {
public:
    HidapiBus();
    ~HidapiBus() override;

    // The panel's interfaces only (hid_enumerate with its vendor and product).
    std::vector<HidDeviceInfo> enumerate() override;
    // On failure `error` says why; a permission problem names the udev rule that grants access.
    std::unique_ptr<Transport> open(const HidDeviceInfo& device, std::string& error) override;

private:
    std::shared_ptr<HidapiLibrary> library_;
};

// The udev rule that lets the logged-in user open the panel, and the file it ships in.
inline constexpr const char* kPanelUdevRule =
    R"(SUBSYSTEM=="hidraw", ATTRS{idVendor}=="1267", ATTRS{idProduct}=="a102", TAG+="uaccess")";
inline constexpr const char* kPanelUdevRuleFile = "70-kestrelon.rules";

// The folders udev reads rules from, the administrator's first.
std::vector<std::string> udevRuleFolders();
// The first copy of the panel's rule file in `folders`; empty when none is installed.
std::string installedUdevRule(const std::vector<std::string>& folders);

// "/sys/class/hidraw/hidraw3/device/report_descriptor" for "/dev/hidraw3"; empty for a path that
// is not a hidraw node.
std::string hidrawDescriptorPath(const std::string& devicePath);

// Why an open failed, in one line. A node that exists but may not be read and written is a
// permission problem: the text then names the rule file and says how to apply it, or, when
// `installedRule` is already in place, that it only serves the user at the seat.
struct NodeAccess {
    bool exists = false;
    bool readable_writable = false;
};
NodeAccess nodeAccess(const std::string& devicePath);
std::string openFailureText(const std::string& devicePath, NodeAccess access,
                            const std::string& libraryError, const std::string& installedRule = {});

}  // namespace kestrelon
