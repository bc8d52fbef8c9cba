// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program's metrics: the endpoint and the textfile our options file asks for, and
// the exposition they and kestrelonctl metrics share.
#include "app/desktop_program.h"
#include "core/log.h"
#include "core/sample.h"
#include "metrics/exposition.h"
#include "metrics/metrics_server.h"
#include "settings/atomic_file.h"

namespace kestrelon {

std::string DesktopProgram::metricsText() {
    const bool panel = state_.panel.present && session_.protocol();
    MetricsInput in =
        metricsInput(sampleOf(state_), options_, panel ? session_.search().device.path : "");
    if (alerts_) in.temperatureAlarm = temperatureAlarms();
    return Exposition(in);
}

void DesktopProgram::startMetrics() {
    if (!options_.metricsListen.empty()) {
        std::string why;
        if (const auto address = ParseListenAddress(options_.metricsListen, why)) {
            metricsServer_ = std::make_unique<MetricsServer>([this] { return metricsText(); });
            if (metricsServer_->listen(*address))
                LogLine("metrics served at http://" + options_.metricsListen + "/metrics");
            else
                metricsServer_.reset();
        } else {
            LogLine("metrics endpoint: " + options_.metricsListen + ": " + why);
        }
    }
    if (!options_.metricsTextfile.empty()) {
        textfileTimer_.setInterval(kTextfileIntervalMs);
        QObject::connect(&textfileTimer_, &QTimer::timeout, &window_, [this] { writeTextfile(); });
        textfileTimer_.start();
        writeTextfile();
    }
}

void DesktopProgram::writeTextfile() {
    std::string error;
    const bool written = ReplaceFileContent(options_.metricsTextfile, metricsText(), error);
    if (!written && !textfileFailing_) LogLine("metrics textfile not written: " + error);
    if (written && textfileFailing_) LogLine("metrics textfile written again");
    textfileFailing_ = !written;
}

}  // namespace kestrelon
