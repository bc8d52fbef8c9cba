// SPDX-License-Identifier: GPL-3.0-or-later
// Host facts: the memory and drive arithmetic, the kernel text formats, and which source wins,
// read from a made-up /proc and /sys tree.
#include "host/host_facts.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <clocale>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>

#include "host/host_fact_parsing.h"

namespace kestrelon {
namespace {

TEST(HostFacts, MemoryIsWholeMegabytesRoundedUpAfterTwoDecimals) {
    const struct {
        uint64_t bytes;
        int32_t mb;
    } cases[] = {
        {536'264'704, 512},              // 511.42 MB
        {536'870'912, 512},              // exactly 512.00
        {536'875'106, 512},              // 512.0039 is 512.00 at two decimals: not 513
        {536'880'000, 513},              // 512.01
        {2'152'483'648, 2053},           // 2052.77
        {3'220'000'000, 3071},           // above 2^31 bytes
        {17'179'869'184, 16384},         // above 4 GB
        {1'099'511'627'776, 1'048'576},  // 1 TB
        {0, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(TotalRamMbFromBytes(c.bytes), c.mb) << c.bytes;
}

TEST(HostFacts, DriveIsWholeGigabytesHalvesToEven) {
    constexpr uint64_t kGiB = uint64_t{1} << 30;
    const struct {
        uint64_t bytes;
        int32_t gb;
    } cases[] = {
        {4096ull * 19'531'250, 75},  // 80,000,000,000 bytes are 74.5 GB
        {kGiB * 5 / 2, 2},           // 2.5 to the even neighbour
        {kGiB * 7 / 2, 4},           // 3.5 to the even neighbour
        {kGiB * 7 / 2 + 1, 4},
        {1'000'000'000'000, 931},
        {kGiB * 4096, 4096},  // far beyond 32-bit counts
        {0, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(DriveGbFromBytes(c.bytes), c.gb) << c.bytes;
}

TEST(HostFacts, ReadsTheKernelsTextFormats) {
    EXPECT_EQ(MhzFromCpufreqText("2496000\n"), 2496);
    EXPECT_EQ(MhzFromCpufreqText("3399500"), 3400);  // kHz rounded to the nearest MHz
    for (const char* bad : {"", "\n", "0\n", "fast\n", "-2400000\n"})
        EXPECT_EQ(MhzFromCpufreqText(bad), std::nullopt) << '"' << bad << '"';

    const char* intel =
        "processor\t: 0\nvendor_id\t: GenuineIntel\ncpu MHz\t\t: 2495.998\n\n"
        "processor\t: 1\ncpu MHz\t\t: 800.000\n";
    EXPECT_EQ(MhzFromCpuinfoText(intel), 2496);
    const char* laterOnly = "processor\t: 0\nBogoMIPS\t: 48.00\n\nprocessor\t: 1\ncpu MHz\t: 800\n";
    EXPECT_EQ(MhzFromCpuinfoText(laterOnly),
              std::nullopt);  // another processor's clock is not cpu0's
    EXPECT_EQ(MhzFromCpuinfoText("processor : 0\ncpu MHz : unknown\n"), std::nullopt);
    EXPECT_EQ(MhzFromCpuinfoText("cpu MHz : 2000\n"), std::nullopt);  // no processor 0 named
    EXPECT_EQ(MhzFromCpuinfoText(""), std::nullopt);

    EXPECT_EQ(MemTotalBytesFromMeminfoText("MemTotal:       24683716 kB\nMemFree: 1 kB\n"),
              24683716ull * 1024);
    EXPECT_EQ(MemTotalBytesFromMeminfoText("MemFree:  1000 kB\nMemTotal: 8 MB\n"), std::nullopt);
    EXPECT_EQ(MemTotalBytesFromMeminfoText("MemTotal: lots kB\n"), std::nullopt);
}

// Qt sets the C library's locale from the environment; where the decimal mark is a comma,
// strtod would stop at "2495" and the clock would read 2495.
TEST(HostFacts, ProcessorClockReadsTheSameUnderACommaLocale) {
    QTemporaryDir locales;
    const char* name = "de_DE.UTF-8";
    if (!std::setlocale(LC_NUMERIC, name)) {
        const std::string make = "localedef -i de_DE -f UTF-8 '" + locales.path().toStdString() +
                                 "/" + name + "' 2>/dev/null";
        if (std::system(make.c_str()) == 0) {
            setenv("LOCPATH", locales.path().toLocal8Bit().constData(), 1);
            std::setlocale(LC_NUMERIC, name);
        }
    }
    const bool comma = *std::localeconv()->decimal_point == ',';
    const auto mhz = MhzFromCpuinfoText("processor\t: 0\ncpu MHz\t\t: 2495.998\n");
    std::setlocale(LC_NUMERIC, "C");
    unsetenv("LOCPATH");
    if (!comma) GTEST_SKIP() << "no locale with a decimal comma on this host";
    EXPECT_EQ(mhz, 2496);
}

// A made-up /proc and /sys: path below the root -> contents.
using Tree = std::map<std::string, std::string>;

class FakeHost {
public:
    explicit FakeHost(const Tree& files) {
        for (const auto& [path, text] : files) {
            const std::filesystem::path full = root() / path;
            std::filesystem::create_directories(full.parent_path());
            std::ofstream(full, std::ios::binary) << text;
        }
    }
    std::filesystem::path root() const { return dir_.path().toStdString(); }
    HostFactReader facts() const {
        return HostFactReader({root() / "proc", root() / "sys", root(), false});
    }

private:
    QTemporaryDir dir_;
};

constexpr const char* kCpufreq = "sys/devices/system/cpu/cpu0/cpufreq/";
const std::string kBase = std::string(kCpufreq) + "base_frequency";
const std::string kMax = std::string(kCpufreq) + "cpuinfo_max_freq";
const std::string kCpuinfo = "proc/cpuinfo";

TEST(HostFacts, ProcessorClockComesFromTheFirstSourceThatReads) {
    const std::string cpuinfo = "processor\t: 0\ncpu MHz\t\t: 1199.862\n";
    const struct {
        const char* what;
        Tree files;
        std::optional<int32_t> mhz;
    } cases[] = {
        {"nominal clock first",
         {{kBase, "2100000\n"}, {kMax, "3900000\n"}, {kCpuinfo, cpuinfo}},
         2100},
        {"else the highest clock", {{kMax, "3900000\n"}, {kCpuinfo, cpuinfo}}, 3900},
        {"an unreadable value falls through", {{kBase, "\n"}, {kMax, "3900000\n"}}, 3900},
        {"else the current clock of processor 0", {{kCpuinfo, cpuinfo}}, 1200},
        {"nothing to read", {}, std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(FakeHost(c.files).facts().cpuMhz(), c.mhz) << c.what;
}

TEST(HostFacts, MemoryFromMeminfoElseFromTheKernel) {
    EXPECT_EQ(FakeHost(Tree{{"proc/meminfo", "MemTotal: 523696 kB\n"}}).facts().totalRamMb(), 512);
    EXPECT_EQ(FakeHost(Tree{}).facts().totalRamMb(), std::nullopt);

    // sysinfo() counts in mem_unit blocks; both sources must agree on this host.
    const FakeHost empty(Tree{});
    HostFactSources kernelOnly{empty.root() / "proc", empty.root() / "sys", "/", true};
    const std::optional<int32_t> fromKernel = HostFactReader(kernelOnly).totalRamMb();
    const std::optional<int32_t> fromMeminfo = HostFactReader().totalRamMb();
    ASSERT_TRUE(fromKernel.has_value());
    EXPECT_GT(*fromKernel, 0);
    EXPECT_EQ(fromKernel, fromMeminfo);
}

TEST(HostFacts, DriveSizeNeedsAMountedPath) {
    HostFactSources missing;
    missing.systemDrive = "/no/such/drive";
    EXPECT_EQ(HostFactReader(missing).systemDriveGb(), std::nullopt);
    const std::optional<int32_t> root = HostFactReader().systemDriveGb();
    ASSERT_TRUE(root.has_value());
    EXPECT_GE(*root, 0);
}

}  // namespace
}  // namespace kestrelon
