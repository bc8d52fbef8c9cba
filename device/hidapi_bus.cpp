// SPDX-License-Identifier: GPL-3.0-or-later
// hidapi (hidraw) adapter: the library's lifetime, enumeration, and the open panel's transport.
#include "device/hidapi_bus.h"

#include <hidapi.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cwchar>
#include <fstream>
#include <iterator>
#include <mutex>

#include "core/log.h"
#include "device/report_descriptor.h"

namespace kestrelon {

// hid_init on first use, hid_exit when the last bus and transport are gone.
class HidapiLibrary {
public:
    HidapiLibrary() : ok_(hid_init() == 0) {
        if (!ok_) LogLine("cannot start the HID library");
    }
    ~HidapiLibrary() { hid_exit(); }
    HidapiLibrary(const HidapiLibrary&) = delete;
    HidapiLibrary& operator=(const HidapiLibrary&) = delete;
    bool ok() const { return ok_; }

    static std::shared_ptr<HidapiLibrary> acquire() {
        static std::mutex mutex;
        static std::weak_ptr<HidapiLibrary> current;
        std::lock_guard lock(mutex);
        auto library = current.lock();
        if (!library) {
            library = std::make_shared<HidapiLibrary>();
            current = library;
        }
        return library;
    }

private:
    bool ok_;
};

namespace {

std::string utf8(const wchar_t* text) {
    std::string out;
    if (!text) return out;
    for (; *text; ++text) {
        auto c = static_cast<uint32_t>(*text);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

struct EnumerationFree {
    void operator()(hid_device_info* list) const { hid_free_enumeration(list); }
};

struct DeviceClose {
    void operator()(hid_device* device) const { hid_close(device); }
};

// Report lengths from the node's report descriptor in sysfs; zero lengths when it is unreadable.
ReportLengths readReportLengths(const std::string& devicePath) {
    const std::string path = hidrawDescriptorPath(devicePath);
    std::string error = "is not a hidraw node";
    std::optional<ReportLengths> lengths;
    if (!path.empty()) {
        std::ifstream file(path, std::ios::binary);
        std::vector<uint8_t> bytes(std::istreambuf_iterator<char>(file), {});
        if (file.is_open())
            lengths = reportLengthsFromDescriptor(bytes, &error);
        else
            error = "cannot be read";
    }
    if (!lengths) {
        LogLine("report descriptor of " + devicePath + ": " + error +
                      "; the panel's reports stay empty");
        return {};
    }
    return *lengths;
}

class HidapiTransport final : public Transport {
public:
    HidapiTransport(std::shared_ptr<HidapiLibrary> library, hid_device* device,
                    ReportLengths lengths)
        : library_(std::move(library)), device_(device), lengths_(lengths) {}

    int write(std::span<const uint8_t> report) override {
        return hid_write(device_.get(), report.data(), report.size());
    }
    int getFeatureReport(std::span<uint8_t> buffer) override {
        return hid_get_feature_report(device_.get(), buffer.data(), buffer.size());
    }
    ReportLengths reportLengths() const override { return lengths_; }

private:
    std::shared_ptr<HidapiLibrary> library_;  // outlives the device handle below
    std::unique_ptr<hid_device, DeviceClose> device_;
    ReportLengths lengths_;
};

}  // namespace

HidapiBus::HidapiBus() : library_(HidapiLibrary::acquire()) {}
HidapiBus::~HidapiBus() = default;

std::vector<HidDeviceInfo> HidapiBus::enumerate() {
    std::vector<HidDeviceInfo> devices;
    if (!library_->ok()) return devices;
    std::unique_ptr<hid_device_info, EnumerationFree> list(
        hid_enumerate(kPanelVendorId, kPanelProductId));
    for (const hid_device_info* d = list.get(); d; d = d->next) {
        HidDeviceInfo info;
        info.path = d->path ? d->path : "";
        info.vendor_id = d->vendor_id;
        info.product_id = d->product_id;
        info.release = d->release_number;
        info.manufacturer = utf8(d->manufacturer_string);
        info.product = utf8(d->product_string);
        devices.push_back(std::move(info));
    }
    return devices;
}

std::unique_ptr<Transport> HidapiBus::open(const HidDeviceInfo& device, std::string& error) {
    hid_device* handle = library_->ok() ? hid_open_path(device.path.c_str()) : nullptr;
    if (!handle) {
        const wchar_t* why = library_->ok() ? hid_error(nullptr) : nullptr;
        error = openFailureText(device.path, nodeAccess(device.path),
                                why ? utf8(why) : std::string("cannot open the device"),
                                installedUdevRule(udevRuleFolders()));
        return nullptr;
    }
    return std::make_unique<HidapiTransport>(library_, handle, readReportLengths(device.path));
}

std::string hidrawDescriptorPath(const std::string& devicePath) {
    const std::string prefix = "/dev/";
    if (devicePath.rfind(prefix, 0) != 0) return {};
    const std::string node = devicePath.substr(prefix.size());
    if (node.rfind("hidraw", 0) != 0 || node.size() == 6 || node.find('/') != std::string::npos)
        return {};
    return "/sys/class/hidraw/" + node + "/device/report_descriptor";
}

NodeAccess nodeAccess(const std::string& devicePath) {
    struct stat info {};
    NodeAccess access;
    access.exists = ::stat(devicePath.c_str(), &info) == 0;
    access.readable_writable = access.exists && ::access(devicePath.c_str(), R_OK | W_OK) == 0;
    return access;
}

std::vector<std::string> udevRuleFolders() {
    return {"/etc/udev/rules.d", "/run/udev/rules.d", "/usr/local/lib/udev/rules.d",
            "/usr/lib/udev/rules.d", "/lib/udev/rules.d"};
}

std::string installedUdevRule(const std::vector<std::string>& folders) {
    for (const std::string& folder : folders) {
        const std::string path = folder + "/" + kPanelUdevRuleFile;
        struct stat info {};
        if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) return path;
    }
    return {};
}

std::string openFailureText(const std::string& devicePath, NodeAccess access,
                            const std::string& libraryError, const std::string& installedRule) {
    const bool denied = libraryError.find("Permission denied") != std::string::npos;
    if (access.exists && (!access.readable_writable || denied)) {
        const std::string apply =
            "run 'udevadm control --reload-rules && udevadm trigger' or plug the panel in again";
        if (!installedRule.empty()) {
            return "no permission to read and write " + devicePath + " although " + installedRule +
                   " is installed: it gives access to the user logged in at the seat only; " +
                   apply;
        }
        return "no permission to read and write " + devicePath + "; install the udev rule " +
               kPanelUdevRuleFile + " (" + kPanelUdevRule +
               ") in /etc/udev/rules.d or install the kestrelon package, then " + apply;
    }
    if (!access.exists) return devicePath + " is gone (was the panel unplugged?)";
    return "cannot open " + devicePath + ": " + libraryError;
}

}  // namespace kestrelon
