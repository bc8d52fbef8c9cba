// SPDX-License-Identifier: GPL-3.0-or-later
// The panel link's lower edge: a HID transport and the bus it is found on.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace kestrelon {

inline constexpr uint16_t kPanelVendorId = 0x1267;
inline constexpr uint16_t kPanelProductId = 0xA102;

// Longest report of each kind, report-ID byte included.
struct ReportLengths {
    uint16_t input = 0;
    uint16_t output = 0;
    uint16_t feature = 0;
    bool operator==(const ReportLengths&) const = default;
};

// One open HID device.
class Transport {
public:
    virtual ~Transport() = default;
    // Sends one output report; report[0] is the report ID. Returns bytes written, or -1.
    virtual int write(std::span<const uint8_t> report) = 0;
    // Reads one feature report; buffer[0] names the report ID. Returns bytes read, or -1.
    virtual int getFeatureReport(std::span<uint8_t> buffer) = 0;
    // Report lengths as the device describes them.
    virtual ReportLengths reportLengths() const = 0;
};

struct HidDeviceInfo {
    std::string path;
    uint16_t vendor_id = 0;
    uint16_t product_id = 0;
    uint16_t release = 0;
    std::string manufacturer;
    std::string product;
};

// Where HID devices are found and opened.
class HidBus {
public:
    virtual ~HidBus() = default;
    // Every HID interface present now, in enumeration order.
    virtual std::vector<HidDeviceInfo> enumerate() = 0;
    // Opens for reading and writing; on failure returns null and says why in `error`.
    virtual std::unique_ptr<Transport> open(const HidDeviceInfo& device, std::string& error) = 0;
};

}  // namespace kestrelon
