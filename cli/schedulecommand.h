#pragma once
// varno-cli schedule: each side's strength over the scenario's dates.
#include <iosfwd>
#include <string>

namespace varno {

enum class ScheduleFormat { Table, Csv, Json };

// The series as a table (one line per date and side), CSV, or JSON with the
// events as well. Exit status as the other commands.
int RunSchedule(const std::string& typed, ScheduleFormat format, std::ostream& out, std::ostream& err);

}  // namespace varno
