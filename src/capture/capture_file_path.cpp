#include "capture/capture_file_path.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace kestrum {

namespace {

// Days from 1899-12-30 (day 0 of the date-time) to 1970-01-01.
constexpr long long kUnixEpochDays = 25569;

struct CivilTime {
    long long Year;
    unsigned Month, Day, Hour, Minute, Second;
};

// The calendar date and time of day of a date-time (proleptic Gregorian).
CivilTime Civil(DateTime dateTime) {
    const double whole = std::floor(dateTime);
    auto seconds = static_cast<long long>(std::floor((dateTime - whole) * kSecondsPerDay + 1e-6));
    auto days = static_cast<long long>(whole) - kUnixEpochDays;
    if (seconds >= 86400) {
        seconds -= 86400;
        ++days;
    }
    // Days since 1970-01-01 to year, month, day.
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned monthIndex = (5 * dayOfYear + 2) / 153;
    CivilTime civil{};
    civil.Day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    civil.Month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    civil.Year = static_cast<long long>(yearOfEra) + era * 400 + (civil.Month <= 2 ? 1 : 0);
    civil.Hour = static_cast<unsigned>(seconds / 3600);
    civil.Minute = static_cast<unsigned>(seconds / 60 % 60);
    civil.Second = static_cast<unsigned>(seconds % 60);
    return civil;
}

}  // namespace

std::string CaptureFileName(const std::string& exeBaseName, DateTime now) {
    const CivilTime t = Civil(now);
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "-%04lld%02u%02u-%02u%02u%02u", t.Year, t.Month, t.Day, t.Hour, t.Minute,
                  t.Second);
    return exeBaseName + stamp + ".pcapng";
}

std::string CaptureFolder(const Options& options) {
    return options.CaptureDirectory.empty() ? options.Monitor.ProtocolDirectory : options.CaptureDirectory;
}

std::string NewCaptureFilePath(const std::string& folder, const std::string& exeBaseName, DateTime now) {
    const std::filesystem::path base = std::filesystem::path(folder) / CaptureFileName(exeBaseName, now);
    std::filesystem::path path = base;
    std::error_code error;
    for (int n = 2; std::filesystem::exists(path, error) && n < 1000; ++n)
        path = base.parent_path() / (base.stem().string() + "-" + std::to_string(n) + base.extension().string());
    return path.string();
}

}  // namespace kestrum
