// SPDX-License-Identifier: GPL-3.0-or-later
// Reading kestrelon.conf: one row per key, each with its check and the field it sets.
#include "settings/options_file.h"

#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QStringList>
#include <array>
#include <cmath>
#include <filesystem>
#include <functional>
#include <optional>

#include "core/log.h"
#include "settings/settings_path.h"

namespace kestrelon {

namespace {

constexpr int kLongestSensorName = 32;

// Why the text is refused; nothing when it was taken into the options.
using Apply = std::function<std::optional<std::string>(Options&, const QString&)>;

struct OptionKey {
    const char* section;
    const char* key;
    Apply apply;
};

std::optional<double> numberIn(const QString& text, double low, double high) {
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v) || v < low || v > high) return std::nullopt;
    return v;
}

Apply sensorName(Channel ch) {
    return [ch](Options& o, const QString& text) -> std::optional<std::string> {
        const QString name = text.trimmed();
        if (name.isEmpty()) return "a sensor's name cannot be empty";
        if (name.size() > kLongestSensorName)
            return "a sensor's name has at most " + std::to_string(kLongestSensorName) +
                   " characters";
        for (QChar c : name)
            if (c.category() == QChar::Other_Control) return "a name holds no control characters";
        o.sensorName[ch] = name.toStdString();
        return std::nullopt;
    };
}

// A number of `what` from `low` to `high`, whole when `whole`, stored by `set`.
template <typename Set>
Apply number(double low, double high, bool whole, const char* what, Set set) {
    return [=](Options& o, const QString& text) -> std::optional<std::string> {
        const std::optional<double> v = numberIn(text, low, high);
        if (!v || (whole && std::floor(*v) != *v))
            return std::string("not ") + (whole ? "a whole number of " : "a number of ") + what +
                   " from " + QString::number(low).toStdString() + " to " +
                   QString::number(high).toStdString();
        set(o, *v);
        return std::nullopt;
    };
}

std::optional<std::string> alertCommand(Options& o, const QString& text) {
    const QStringList words = QProcess::splitCommand(text);
    if (!text.trimmed().isEmpty() && (words.isEmpty() || words.first().isEmpty()))
        return "no program named in the command";
    o.alertCommand = text.trimmed().toStdString();
    return std::nullopt;
}

std::optional<std::string> metricsListen(Options& o, const QString& text) {
    const QString t = text.trimmed();
    if (!t.isEmpty()) {
        const qsizetype colon = t.lastIndexOf(':');
        bool ok = false;
        const int port = colon > 0 ? t.mid(colon + 1).toInt(&ok) : 0;
        if (!ok || port < 1 || port > 65535)
            return "not an address:port with a port from 1 to 65535";
    }
    o.metricsListen = t.toStdString();
    return std::nullopt;
}

std::optional<std::string> metricsTextfile(Options& o, const QString& text) {
    const QString t = text.trimmed();
    if (!t.isEmpty() && !QFileInfo(t).isAbsolute()) return "not an absolute path";
    o.metricsTextfile = t.toStdString();
    return std::nullopt;
}

const std::array<OptionKey, 10>& optionKeys() {
    static const std::array<OptionKey, 10> keys{{
        {"sensors", "cpu", sensorName(Channel::Cpu)},
        {"sensors", "hdd", sensorName(Channel::Hdd)},
        {"sensors", "vga", sensorName(Channel::Vga)},
        {"sensors", "case", sensorName(Channel::Case)},
        {"history", "days",
         number(1, 3650, true, "days",
                [](Options& o, double v) { o.historyDays = static_cast<int>(v); })},
        {"alerts", "delay",
         number(0, 3600, false, "seconds", [](Options& o, double v) { o.alertDelaySeconds = v; })},
        {"alerts", "hysteresis",
         number(0, 50, false, "degrees Celsius",
                [](Options& o, double v) { o.alertHysteresisC = v; })},
        {"alerts", "command", alertCommand},
        {"metrics", "listen", metricsListen},
        {"metrics", "textfile", metricsTextfile},
    }};
    return keys;
}

}  // namespace

std::string DefaultOptionsPath() {
    return (std::filesystem::path(UserConfigHome()) / "kestrelon" / "kestrelon.conf").string();
}

Options LoadOptions(const std::string& path) {
    Options options;
    std::error_code error;
    if (!std::filesystem::exists(path, error)) return options;
    const QSettings file(QString::fromStdString(path), QSettings::IniFormat);
    const std::string where = "options file " + path;
    if (file.status() == QSettings::AccessError) {
        LogLine(where + " cannot be read; the defaults are used");
        return options;
    }
    if (file.status() == QSettings::FormatError)
        LogLine(where + " is not all readable INI; what could be read is used");

    for (const QString& name : file.allKeys()) {
        const qsizetype slash = name.indexOf('/');
        const std::string section = slash < 0 ? "" : name.left(slash).toStdString();
        const std::string key = name.mid(slash + 1).toStdString();
        const std::string shown = section.empty() ? key : "[" + section + "] " + key;
        const QVariant value = file.value(name);
        const OptionKey* row = nullptr;
        for (const OptionKey& k : optionKeys())
            if (section == k.section && key == k.key) row = &k;
        if (!row) {
            LogLine(where + ": unknown key " + shown + " ignored");
            continue;
        }
        // QSettings reads an unquoted comma as a list of values.
        if (value.typeId() == QMetaType::QStringList) {
            LogLine(where + ": " + shown + "=" + value.toStringList().join(",").toStdString() +
                    " ignored: a value with a comma stands in double quotes");
            continue;
        }
        const QString text = value.toString();
        if (const std::optional<std::string> why = row->apply(options, text))
            LogLine(where + ": " + shown + "=" + text.toStdString() + " ignored: " + *why);
    }
    return options;
}

}  // namespace kestrelon
