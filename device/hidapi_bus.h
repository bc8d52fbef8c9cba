// The real panel through hidapi's hidraw backend: enumeration of the panel's interfaces, open by
// path, output reports with hid_write and replies with hid_get_feature_report.
#pragma once

#include <memory>
#include <string>

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

// The udev rule that lets the logged-in user open the panel (shipped as 70-kestrelon.rules).
inline constexpr const char* kPanelUdevRule =
    R"(SUBSYSTEM=="hidraw", ATTRS{idVendor}=="1267", ATTRS{idProduct}=="a102", TAG+="uaccess")";

// "/sys/class/hidraw/hidraw3/device/report_descriptor" for "/dev/hidraw3"; empty for a path that
// is not a hidraw node.
std::string hidrawDescriptorPath(const std::string& devicePath);

// Why an open failed. A node that exists but may not be read and written is a permission
// problem, and the text then says how to grant access.
struct NodeAccess {
    bool exists = false;
    bool readable_writable = false;
};
NodeAccess nodeAccess(const std::string& devicePath);
std::string openFailureText(const std::string& devicePath, NodeAccess access,
                            const std::string& libraryError);

}  // namespace kestrelon
