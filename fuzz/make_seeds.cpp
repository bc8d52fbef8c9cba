// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the fuzz targets' seeds from Kestrelon's own code: saved settings, recorded sessions
// with the simulated panel, report descriptors, pictures and pointers written the way the skin
// generator writes them, and sounds. Usage: kestrelon-fuzz-seeds SEED_DIR
#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/timing.h"
#include "device/panel_link.h"
#include "device/panel_protocol.h"
#include "device/simulated_panel.h"
#include "fuzz/panel_session.h"
#include "settings/factory_settings.h"
#include "settings/settings_file.h"
#include "tools/skingen/click_sound.h"
#include "tools/skingen/cursor_file.h"
#include "tools/skingen/skin_writer.h"

namespace {

using namespace kestrelon;
namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

void Write(const fs::path& file, const void* data, size_t size) {
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out) {
        std::fprintf(stderr, "kestrelon: cannot write %s\n", file.c_str());
        std::exit(1);
    }
}
void Write(const fs::path& file, const std::string& text) {
    Write(file, text.data(), text.size());
}
void Write(const fs::path& file, const Bytes& bytes) {
    Write(file, bytes.data(), bytes.size());
}
void Write(const fs::path& file, const QByteArray& bytes) {
    Write(file, bytes.constData(), static_cast<size_t>(bytes.size()));
}

void PutLe(Bytes& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// --- settings ---------------------------------------------------------------------------------

void SettingsSeeds(const fs::path& dir) {
    MonitorState factory;
    for (Channel ch : kAllChannels) factory.readings.fanLimit[ch] = 1600 + 400 * channelNumber(ch);
    ApplyFactorySettings(factory);
    Write(dir / "factory.inf", SettingsFileText(factory.settings));
    Write(dir / "first_start.inf", SettingsFileText(Settings{}));
    // As a person edits it: a byte-order mark, comments, odd case and blanks, quotes, a repeated
    // section, numbers with fractions and exponents, LF endings.
    Write(dir / "hand_edited.inf",
          std::string(
              "\xEF\xBB\xBF; my panel\n[ Settings ]\n  ST1 = 70.5 \nfst1='158'\nst2\nauto = 1\n"
              "alarm=\"07:30\"\nT_UNIT=0.5\n[other]\nst3=1\n[settings]\nsf1=1e3\nmsf2 = - 1 2\n"
              "color=3 ; blue\nst1=99\n"));
}

// --- panel replies ----------------------------------------------------------------------------

// The simulated panel, recording its answers in the panel_reply target's input layout.
class RecordingPanel final : public Transport {
public:
    RecordingPanel(SimulatedPanel& panel, Bytes& out) : panel_(panel), out_(out) {
        const ReportLengths lengths = panel.reportLengths();
        PutLe(out_, lengths.input, 2);
        out_.push_back(static_cast<uint8_t>(lengths.output));
    }
    int write(std::span<const uint8_t> report) override { return panel_.write(report); }
    int getFeatureReport(std::span<uint8_t> buffer) override {
        const int got = panel_.getFeatureReport(buffer);
        if (got < 0) {
            out_.push_back(fuzz::kReadFails);
        } else {
            out_.push_back(0);
            out_.insert(out_.end(), buffer.begin(), buffer.end());
        }
        return got;
    }
    ReportLengths reportLengths() const override { return panel_.reportLengths(); }

private:
    SimulatedPanel& panel_;
    Bytes& out_;
};

Bytes RecordSession(SimulatedPanelOptions options) {
    VirtualTime time;
    SimulatedPanel panel(time, options);
    Bytes recorded;
    RecordingPanel recorder(panel, recorded);
    MonitorState state;
    ApplyFactorySettings(state);
    state.poll.shownMinute = "12:34";
    PanelLink link(recorder, time, state);
    PanelProtocol protocol(link, state);
    for (const fuzz::SessionStep& step : fuzz::kPanelSession) step.run(protocol);
    return recorded;
}

void PanelReplySeeds(const fs::path& dir) {
    Write(dir / "simulated_panel", RecordSession({}));
    SimulatedPanelOptions noSensor;
    noSensor.absent_sensor = Channel::Vga;
    Write(dir / "sensor_3_absent", RecordSession(noSensor));
    SimulatedPanelOptions slowEeprom;
    slowEeprom.eeprom_busy_seconds = 10;  // every guarded write gives up
    Write(dir / "eeprom_stays_busy", RecordSession(slowEeprom));
    SimulatedPanelOptions longReports;
    longReports.lengths = {65, 65, 65};
    Write(dir / "64_byte_reports", RecordSession(longReports));
}

// --- report descriptors -----------------------------------------------------------------------

void DescriptorSeeds(const fs::path& dir) {
    // The panel's shape: 8 data bytes of input, output and feature on a vendor page (9, 9, 9).
    Write(dir / "panel",
          Bytes{0x06, 0xA0, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x09, 0x01, 0x15, 0x00, 0x26,
                0xFF, 0x00, 0x75, 0x08, 0x95, 0x08, 0x81, 0x02, 0x09, 0x02, 0x91, 0x02,
                0x09, 0x03, 0x97, 0x08, 0x00, 0x00, 0x00, 0xB1, 0x02, 0xC0});
    Write(dir / "boot_keyboard",
          Bytes{0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15,
                0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0x95, 0x01, 0x75, 0x08,
                0x81, 0x01, 0x95, 0x05, 0x75, 0x01, 0x05, 0x08, 0x19, 0x01, 0x29, 0x05, 0x91,
                0x02, 0x95, 0x01, 0x75, 0x03, 0x91, 0x01, 0x95, 0x06, 0x75, 0x08, 0x15, 0x00,
                0x25, 0x65, 0x05, 0x07, 0x19, 0x00, 0x29, 0x65, 0x81, 0x00, 0xC0});
    // Two report IDs, Push and Pop around the second, and a long item.
    Write(dir / "ids_push_pop_long_item",
          Bytes{0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x01, 0x75, 0x08,
                0x95, 0x04, 0x81, 0x02, 0xA4, 0x85, 0x02, 0x95, 0x20, 0xB1, 0x02,
                0xB4, 0x91, 0x02, 0xFE, 0x02, 0x10, 0xAB, 0xCD, 0xC0});
}

// --- pictures ---------------------------------------------------------------------------------

QImage Gradient(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.setPixel(x, y, qRgb(x * 255 / w, y * 255 / h, 96));
    return image;
}

// A shape on the key colour, as the window's picture has one.
QImage KeyedShape(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(qRgb(255, 0, 255));
    for (int y = 1; y < h - 1; ++y)
        for (int x = 2 + y % 3; x < w - 1; ++x) image.setPixel(x, y, qRgb(40, 40 + 10 * y, 50));
    return image;
}

QByteArray Encoded(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

// A BMP file around `pixels`: a 40-byte info header, the palette (or colour masks), the given
// compression.
Bytes Bmp(int w, int h, int bits, uint32_t compression, const Bytes& palette, const Bytes& pixels) {
    Bytes file{'B', 'M'};
    const uint32_t offset = 14 + 40 + static_cast<uint32_t>(palette.size());
    PutLe(file, offset + static_cast<uint32_t>(pixels.size()), 4);
    PutLe(file, 0, 4);
    PutLe(file, offset, 4);
    PutLe(file, 40, 4);
    PutLe(file, static_cast<uint32_t>(w), 4);
    PutLe(file, static_cast<uint32_t>(h), 4);
    PutLe(file, 1, 2);
    PutLe(file, static_cast<uint32_t>(bits), 2);
    PutLe(file, compression, 4);
    PutLe(file, static_cast<uint32_t>(pixels.size()), 4);
    PutLe(file, 2835, 4);
    PutLe(file, 2835, 4);
    PutLe(file, static_cast<uint32_t>(palette.size() / 4), 4);
    PutLe(file, 0, 4);
    file.insert(file.end(), palette.begin(), palette.end());
    file.insert(file.end(), pixels.begin(), pixels.end());
    return file;
}

void PictureSeeds(const fs::path& dir) {
    skingen::SkinWriter writer(dir);  // 24-bit, as every picture of the default skin
    writer.picture("gradient_24bit.bmp", Gradient(7, 5));
    writer.picture("keyed_shape_24bit.bmp", KeyedShape(12, 9));
    Write(dir / "indexed_8bit.bmp",
          Encoded(Gradient(6, 4).convertToFormat(QImage::Format_Indexed8)));
    Write(dir / "mono_1bit.bmp", Encoded(KeyedShape(9, 3).convertToFormat(QImage::Format_Mono)));
    // Run-length coded 8-bit, 4 x 2: a run of 4, end of line, two literal pixels and a run of 2,
    // end of picture.
    const Bytes grey{0, 0, 0, 0, 128, 128, 128, 0, 255, 255, 255, 0};
    Write(dir / "rle8.bmp", Bmp(4, 2, 8, 1, grey, Bytes{4, 1, 0, 0, 0, 2, 2, 0, 2, 1, 0, 0, 0, 1}));
    // 16-bit with colour masks (5-6-5), top-down, 2 x 2.
    Bytes masks;
    PutLe(masks, 0xF800, 4);
    PutLe(masks, 0x07E0, 4);
    PutLe(masks, 0x001F, 4);
    Bytes bitfields =
        Bmp(2, -2, 16, 3, masks, Bytes{0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0xFF, 0xFF});
    Write(dir / "rgb565_top_down.bmp", bitfields);
}

// --- cursors ----------------------------------------------------------------------------------

QImage Arrow() {
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x <= y / 2; ++x)
            image.setPixel(x, y,
                           x == y / 2 || x == 0 ? qRgba(0, 0, 0, 255) : qRgba(250, 250, 250, 255));
    return image;
}

QImage Hand() {
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 8; y < 24; ++y)
        for (int x = 8; x < 24; ++x) image.setPixel(x, y, qRgba(200, 160, 120, 100 + 8 * (x - 8)));
    return image;
}

void CursorSeeds(const fs::path& dir) {
    Write(dir / "arrow.cur", skingen::cursorFile(Arrow(), QPoint(0, 0)));
    Write(dir / "hand_translucent.cur", skingen::cursorFile(Hand(), QPoint(15, 15)));
}

// --- sounds -----------------------------------------------------------------------------------

struct Chunk {
    std::string id;
    Bytes body;
};

Bytes Riff(const std::vector<Chunk>& chunks) {
    Bytes body{'W', 'A', 'V', 'E'};
    for (const Chunk& c : chunks) {
        body.insert(body.end(), c.id.begin(), c.id.end());
        PutLe(body, static_cast<uint32_t>(c.body.size()), 4);
        body.insert(body.end(), c.body.begin(), c.body.end());
        if (c.body.size() % 2) body.push_back(0);
    }
    Bytes file{'R', 'I', 'F', 'F'};
    PutLe(file, static_cast<uint32_t>(body.size()), 4);
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

Chunk Format(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, bool extensible) {
    Bytes b;
    const uint16_t block = static_cast<uint16_t>(channels * bits / 8);
    PutLe(b, extensible ? 0xFFFE : tag, 2);
    PutLe(b, channels, 2);
    PutLe(b, rate, 4);
    PutLe(b, rate * block, 4);
    PutLe(b, block, 2);
    PutLe(b, bits, 2);
    if (extensible) {
        PutLe(b, 22, 2);    // extension size
        PutLe(b, bits, 2);  // valid bits
        PutLe(b, 0x3, 4);   // channel mask
        PutLe(b, tag, 2);   // the sub-format GUID, its first two bytes the format tag
        const Bytes rest{0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                         0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
        b.insert(b.end(), rest.begin(), rest.end());
    }
    return {"fmt ", b};
}

Bytes Ramp(size_t n) {
    Bytes b(n);
    for (size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>(i * 37 + 5);
    return b;
}

void WavSeeds(const fs::path& dir) {
    Write(dir / "click.wav", skingen::clickSound());
    Write(dir / "8bit_stereo.wav", Riff({Format(1, 2, 8000, 8, false), {"data", Ramp(32)}}));
    // A list chunk of odd size (padded) before the format, data not a whole number of frames.
    Write(dir / "list_odd_chunk.wav",
          Riff({{"LIST", Ramp(5)}, Format(1, 1, 22050, 16, false), {"data", Ramp(11)}}));
    Write(dir / "extensible_16bit.wav", Riff({Format(1, 2, 48000, 16, true), {"data", Ramp(16)}}));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kestrelon-fuzz-seeds SEED_DIR\n");
        return 2;
    }
    const fs::path root = argv[1];
    SettingsSeeds(root / "settings");
    PanelReplySeeds(root / "panel_reply");
    DescriptorSeeds(root / "report_descriptor");
    fs::create_directories(root / "picture");
    PictureSeeds(root / "picture");
    CursorSeeds(root / "cursor");
    WavSeeds(root / "wav");
    return 0;
}
