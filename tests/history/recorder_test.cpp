// SPDX-License-Identifier: GPL-3.0-or-later
// The recording on a fake clock into a temporary directory: minutes and days rolling over, gaps,
// the clock going back, old files removed, files deleted or unwritable, full disks, and the
// ranges read back.
#include "history/recorder.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/log.h"
#include "history/history_csv.h"
#include "history/utc_time.h"

namespace kestrelon {
namespace {

namespace fs = std::filesystem;

constexpr int64_t kMidnight = 1798675200;  // 2026-12-31T00:00:00Z

struct FakeUtcClock final : UtcClock {
    int64_t now = kMidnight + 12 * 3600;
    int64_t utcSeconds() const override { return now; }
};

std::string readText(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}
std::vector<std::string> lines(const std::string& path) {
    std::vector<std::string> out;
    std::istringstream in(readText(path));
    for (std::string l; std::getline(in, l);) out.push_back(l);
    return out;
}

struct RecorderFixture : ::testing::Test {
    QTemporaryDir tmp;
    std::string dir = tmp.filePath("state/kestrelon/history").toStdString();
    FakeUtcClock clock;
    std::unique_ptr<Recorder> recorder = makeRecorder();

    void SetUp() override { ForgetLoggedLines(); }
    std::unique_ptr<Recorder> makeRecorder(int keepDays = 90) {
        return std::make_unique<Recorder>(RecorderConfig{dir, keepDays}, clock);
    }
    // A panel whose CPU reads `cpu` °C and its fan 1000 rpm plus the second within the minute.
    static Sample panelSample(double cpu, int64_t utc) {
        Sample s;
        s.panelPresent = true;
        s.temperatureC[Channel::Cpu] = cpu;
        s.fanRpm[Channel::Cpu] = 1000 + static_cast<int32_t>(utc % 60);
        s.limitC.values = {70, 45, 80, 40};
        return s;
    }
    // One poll a second over [from, to), the clock moving along.
    void poll(int64_t from, int64_t to, double cpu = 40, bool present = true) {
        for (clock.now = from; clock.now < to; ++clock.now) {
            Sample s = present ? panelSample(cpu, clock.now) : Sample{};
            recorder->record(s, clock.now);
        }
    }
    std::vector<int64_t> minutesIn(const std::string& path) {
        std::vector<int64_t> out;
        for (const HistoryRow& r : ReadCsvText(readText(path), INT64_MIN, INT64_MAX).rows)
            out.push_back(r.utcSeconds);
        return out;
    }
    std::string dayFile(int64_t utc) const { return recorder->store().pathOf(utc); }
};

TEST_F(RecorderFixture, EachEndedMinuteIsAppendedAndThePartOneWrittenAtTheEnd) {
    const int64_t t0 = kMidnight + 10 * 3600;
    poll(t0 + 30, t0 + 150);  // half a minute, a whole one, half a minute
    const std::string path = dir + "/2026-12-31.csv";
    EXPECT_EQ(dayFile(t0), path);
    std::vector<std::string> l = lines(path);
    ASSERT_EQ(l.size(), 3u);  // the header and the two minutes ended so far
    EXPECT_EQ(l[0], CsvHeader());
    const HistoryRows rows = ReadCsvText(readText(path), INT64_MIN, INT64_MAX).rows;
    EXPECT_EQ(rows[0].utcSeconds, t0);
    EXPECT_EQ(rows[0].fanRpm[Channel::Cpu], (SeriesStats{1030, 1044.5, 1059}));  // 30..59 s
    EXPECT_EQ(rows[1].fanRpm[Channel::Cpu], (SeriesStats{1000, 1029.5, 1059}));
    EXPECT_EQ(rows[1].temperatureC[Channel::Hdd], SeriesStats{});  // absent: empty, not 0
    EXPECT_NE(l[1].find("T10:00:00Z,40,40,40,1030,1044.5,1059,70,,,,,,,45,"), std::string::npos)
        << l[1];
    recorder->finish();
    EXPECT_EQ(minutesIn(path), (std::vector<int64_t>{t0, t0 + 60, t0 + 120}));
}

TEST_F(RecorderFixture, MidnightStartsTheNextDaysFileWithItsHeader) {
    poll(kMidnight - 90, kMidnight + 90);
    recorder->finish();
    EXPECT_EQ(minutesIn(dir + "/2026-12-30.csv"),
              (std::vector<int64_t>{kMidnight - 120, kMidnight - 60}));
    EXPECT_EQ(minutesIn(dir + "/2026-12-31.csv"),
              (std::vector<int64_t>{kMidnight, kMidnight + 60}));
    EXPECT_EQ(lines(dir + "/2026-12-31.csv")[0], CsvHeader());
    // Read back across the two files, in time order.
    clock.now = kMidnight + 5 * 3600;
    const HistoryRows rows = recorder->range(kMidnight - 3600, kMidnight + 3600);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows.front().utcSeconds, kMidnight - 120);
    EXPECT_EQ(rows.back().utcSeconds, kMidnight + 60);
}

TEST_F(RecorderFixture, NoPanelSleepAndNotRunningAreGapsWithoutRows) {
    const int64_t t0 = kMidnight + 3600;
    poll(t0, t0 + 60);                  // minute 0
    poll(t0 + 60, t0 + 180, 0, false);  // unplugged: minutes 1 and 2
    poll(t0 + 180, t0 + 200);           // back in minute 3
    recorder->markGap(clock.now);       // asleep from here...
    poll(t0 + 600, t0 + 630);           // ...to minute 10
    recorder->finish();
    recorder.reset();  // not running for ten minutes
    clock.now = t0 + 1230;
    recorder = makeRecorder();
    poll(t0 + 1230, t0 + 1245);  // minute 20
    recorder->finish();
    const std::string path = dir + "/2026-12-31.csv";
    EXPECT_EQ(minutesIn(path), (std::vector<int64_t>{t0, t0 + 180, t0 + 600, t0 + 1200}));
    const std::vector<std::string> text = lines(path);
    EXPECT_EQ(std::count(text.begin(), text.end(), CsvHeader()), 1);
    // A minute written at a gap is not written again when the panel comes back within it.
    poll(t0 + 1250, t0 + 1258);
    recorder->finish();
    EXPECT_EQ(minutesIn(path).size(), 4u);
    // The same gaps in the ring: seconds with a sample only.
    clock.now = t0 + 1300;
    const HistoryRows seconds = recorder->range(t0 + 1225, t0 + 1299);
    ASSERT_EQ(seconds.size(), 23u);  // 1230..1244 and 1250..1257
    EXPECT_EQ(seconds.front().utcSeconds, t0 + 1230);
    EXPECT_EQ(seconds[15].utcSeconds, t0 + 1250);
    EXPECT_EQ(seconds.front().spanSeconds, 1);
}

TEST_F(RecorderFixture, ALatePollLeavesNoHoleInTheRingButALongerPauseIsAGap) {
    const int64_t t0 = kMidnight + 1800;
    for (const int64_t t : {t0, t0 + 2, t0 + 5}) recorder->record(panelSample(40, t), t);
    clock.now = t0 + 10;
    std::vector<int64_t> seconds;
    for (const HistoryRow& r : recorder->range(t0 - 5, t0 + 10)) seconds.push_back(r.utcSeconds);
    EXPECT_EQ(seconds, (std::vector<int64_t>{t0, t0 + 1, t0 + 2, t0 + 5}));
    // A gap between two samples is not bridged: one marked, or a second without a panel.
    recorder->markGap(t0 + 6);
    recorder->record(panelSample(40, t0 + 7), t0 + 7);
    EXPECT_EQ(recorder->range(t0 + 6, t0 + 7).size(), 1u);
    recorder->record(Sample{}, t0 + 8);
    recorder->record(panelSample(40, t0 + 9), t0 + 9);
    EXPECT_EQ(recorder->range(t0 + 8, t0 + 9).size(), 1u);
    recorder->finish();
    const HistoryRows minute = recorder->range(t0 - 3600 * 2, t0 + 10);
    ASSERT_EQ(minute.size(), 1u);  // the minute's row counts each sample once
    EXPECT_EQ(minute[0].fanRpm[Channel::Cpu], (SeriesStats{1000, 1004.6, 1009}));
}

TEST_F(RecorderFixture, AClockGoingBackNeverRewritesOrReordersTheFile) {
    const int64_t t0 = kMidnight + 7200;
    poll(t0, t0 + 300);  // minutes 0..3 written, 4 gathering
    ::testing::internal::CaptureStderr();
    poll(t0 + 60, t0 + 400);  // set back four minutes, then on past where it was
    recorder->finish();
    const std::string log = ::testing::internal::GetCapturedStderr();
    const std::string path = dir + "/2026-12-31.csv";
    std::vector<int64_t> expected;
    for (int m = 0; m <= 6; ++m) expected.push_back(t0 + 60 * m);
    EXPECT_EQ(minutesIn(path), expected);
    EXPECT_EQ(ReadCsvText(readText(path), INT64_MIN, INT64_MAX).skippedLines, 0);
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
    EXPECT_NE(log.find("the clock is at or before"), std::string::npos) << log;

    // A program started later with its clock behind the files writes nothing before their end.
    recorder.reset();
    clock.now = t0 - 3600;
    recorder = makeRecorder();
    poll(t0 - 3600, t0 - 3400);
    recorder->finish();
    EXPECT_EQ(minutesIn(path), expected);
}

TEST_F(RecorderFixture, DayFilesPastKeepingAreRemovedAtStartAndAtEachNewDay) {
    fs::create_directories(dir);
    const int64_t today = dayStart(clock.now);
    for (int back = 0; back < 12; ++back)
        std::ofstream(dir + "/" + dayName(today - back * kSecondsPerDay) + ".csv") << CsvHeader();
    for (const char* other : {"notes.txt", "2026-12.csv", "2026-02-30.csv"})
        std::ofstream(dir + "/" + other) << "kept";
    recorder = makeRecorder(10);
    const auto present = [&] {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    };
    // Ten days kept, today among them; what is not named as a day stays.
    std::vector<std::string> kept{"2026-02-30.csv", "2026-12.csv", "notes.txt"};
    for (int back = 0; back < 10; ++back)
        kept.push_back(dayName(today - back * kSecondsPerDay) + ".csv");
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(present(), kept);
    EXPECT_FALSE(fs::exists(dir + "/2026-12-21.csv"));
    EXPECT_TRUE(fs::exists(dir + "/2026-12-22.csv"));
    EXPECT_TRUE(fs::exists(dir + "/notes.txt"));
    EXPECT_TRUE(fs::exists(dir + "/2026-02-30.csv"));              // not a day: not ours to remove
    poll(today + kSecondsPerDay - 5, today + kSecondsPerDay + 5);  // into the next day
    EXPECT_FALSE(fs::exists(dir + "/2026-12-22.csv"));
    EXPECT_TRUE(fs::exists(dir + "/2026-12-23.csv"));
}

TEST_F(RecorderFixture, ADayFileDeletedWhileRunningStartsAfreshWithItsHeader) {
    const int64_t t0 = kMidnight + 3 * 3600;
    poll(t0, t0 + 130);
    const std::string path = dir + "/2026-12-31.csv";
    ASSERT_EQ(minutesIn(path).size(), 2u);
    fs::remove(path);
    poll(t0 + 130, t0 + 250);
    const std::vector<std::string> l = lines(path);
    ASSERT_FALSE(l.empty());
    EXPECT_EQ(l[0], CsvHeader());
    EXPECT_EQ(minutesIn(path), (std::vector<int64_t>{t0 + 120, t0 + 180}));
}

TEST_F(RecorderFixture, AnUnwritableDirectoryOrAFullDiskPausesWithOneLineAndResumes) {
    const int64_t t0 = kMidnight + 4 * 3600;
    const std::string path = dir + "/2026-12-31.csv";
    const struct {
        const char* what;
        std::function<void()> breakIt, mendIt;
    } faults[] = {
        {"the state directory cannot be made",
         [&] {
             fs::remove_all(tmp.filePath("state").toStdString());
             std::ofstream(tmp.filePath("state").toStdString()) << "a file in the way";
         },
         [&] { fs::remove(tmp.filePath("state").toStdString()); }},
        {"the disk is full",
         [&] {
             fs::remove(path);
             fs::create_symlink("/dev/full", path);
         },
         [&] { fs::remove(path); }},
    };
    int64_t t = t0;
    for (const auto& f : faults) {
        ForgetLoggedLines();
        f.breakIt();
        ::testing::internal::CaptureStderr();
        poll(t, t + 300);  // five minutes that cannot be written
        std::string log = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << f.what << ": " << log;
        EXPECT_NE(log.find("history recording paused"), std::string::npos) << f.what << log;
        EXPECT_TRUE(recorder->store().paused()) << f.what;
        f.mendIt();
        ::testing::internal::CaptureStderr();
        poll(t + 300, t + 420);
        log = ::testing::internal::GetCapturedStderr();
        EXPECT_NE(log.find("history recording resumed"), std::string::npos) << f.what << log;
        EXPECT_FALSE(recorder->store().paused()) << f.what;
        const std::vector<int64_t> written = minutesIn(path);
        ASSERT_FALSE(written.empty()) << f.what;
        EXPECT_EQ(written.back(), t + 300) << f.what;
        EXPECT_EQ(lines(path)[0], CsvHeader()) << f.what;
        t += 600;
    }
}

TEST_F(RecorderFixture, ALineTornByACrashIsEndedBeforeTheNextRowAndSkippedOnReading) {
    const int64_t t0 = kMidnight + 5 * 3600;
    poll(t0, t0 + 70);
    const std::string path = dir + "/2026-12-31.csv";
    std::ofstream(path, std::ios::app) << "2026-12-31T05:01:00Z,41,41,4";  // cut mid-row
    recorder.reset();                                                      // the crash
    clock.now = t0 + 180;
    recorder = makeRecorder();
    poll(t0 + 180, t0 + 250);
    ::testing::internal::CaptureStderr();
    const HistoryRows rows = recorder->range(t0 - 3600 * 2, t0 + 3600);
    const std::string log = ::testing::internal::GetCapturedStderr();
    ASSERT_EQ(rows.size(), 3u);  // minutes 0 and 3 from the file, 4 being gathered
    EXPECT_EQ(rows[0].utcSeconds, t0);
    EXPECT_EQ(rows[1].utcSeconds, t0 + 180);
    EXPECT_EQ(rows[2].utcSeconds, t0 + 240);
    EXPECT_NE(log.find("skipped 1 unreadable line(s), the first at line 3"), std::string::npos)
        << log;
}

TEST_F(RecorderFixture, RangesWithinTheLastHourComeFromTheRingAndOthersFromTheFiles) {
    const int64_t t0 = kMidnight + 6 * 3600;
    poll(t0, t0 + 2 * 3600 + 30);  // two hours and a half minute, the program running throughout
    const int64_t now = clock.now - 1;
    clock.now = now;
    const struct {
        const char* what;
        int64_t from, to;
        std::size_t rows;
        int32_t span;
    } cases[] = {
        {"the last ten minutes", now - 599, now, 600, 1},
        {"the whole last hour", now - 3599, now, 3600, 1},
        {"just over an hour: minutes, the last still gathering", now - 3600, now, 61, 60},
        {"the last day", now - 86399, now, 121, 60},
        {"before anything was recorded", t0 - 7200, t0 - 1, 0, 60},
    };
    for (const auto& c : cases) {
        const HistoryRows rows = recorder->range(c.from, c.to);
        ASSERT_EQ(rows.size(), c.rows) << c.what;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(rows[i].spanSeconds, c.span) << c.what;
            if (i > 0) {
                EXPECT_GT(rows[i].utcSeconds, rows[i - 1].utcSeconds) << c.what;
            }
        }
    }
    // Started five minutes ago: the last ten minutes are the earlier minutes from the files, then
    // seconds from the ring.
    recorder->finish();
    recorder.reset();
    clock.now = now + 60;
    recorder = makeRecorder();
    poll(now + 60, now + 360);
    const HistoryRows mixed = recorder->range(clock.now - 600, clock.now);
    ASSERT_FALSE(mixed.empty());
    EXPECT_EQ(mixed.front().spanSeconds, 60);
    EXPECT_EQ(mixed.back().spanSeconds, 1);
    EXPECT_EQ(std::count_if(mixed.begin(), mixed.end(),
                            [](const HistoryRow& r) { return r.spanSeconds == 1; }),
              300);
    for (std::size_t i = 1; i < mixed.size(); ++i)
        EXPECT_GE(mixed[i].utcSeconds, mixed[i - 1].utcSeconds + mixed[i - 1].spanSeconds);
}

}  // namespace
}  // namespace kestrelon
