#include "tools/cli/CommandTable.h"

#include "tools/cli/Commands.h"

namespace orvan::cli {

const std::vector<CommandSpec>& commandTable()
{
    static const std::vector<CommandSpec> table = {
        {"info", "FILE", "decode a .klv record file and print its header as JSON", {}, 1, 1, runInfo},
        {"generate", "SCENARIO FILE",
         "write a realistic .klv record; SCENARIO is finished, alarms, circular, recording or empty",
         {{"--samples", "N", "samples taken (default 2400; circular 30000; empty 0)"},
          {"--interval", "MIN", "minutes between samples, 1..255 (default 15)"},
          {"--seed", "S", "seed of the temperature profile (default 1)"},
          {"--exporter", "NAME", "exporter name, 12 characters at most"},
          {"--carrier", "NAME", "carrier name, 12 characters at most"},
          {"--prepared", "\"YYYY-MM-DD HH:MM\"", "preparation time stamp (default 2024-03-01 10:00)"},
          {"--delay", "MIN", "programmed start delay in minutes, 0..65535"},
          {"--wait", "MIN", "minutes the logger added to the start, 0..65535"},
          {"--low", "C", "low temperature limit in degrees Celsius (default 2)"},
          {"--high", "C", "high temperature limit in degrees Celsius (default 8)"},
          {"--serial", "N", "logger serial number, 0..16777215"}},
         2, 2, runGenerate},
        {"ports", "", "list the serial ports as COM numbers", {}, 0, 0, runPorts},
        {"status", "", "read a logger's live status and print it as JSON",
         {portOption(), {"--fahrenheit", nullptr, "same as --unit F"}}, 0, 0, runStatus},
        {"stats", "FILE", "zone counts, percentages and distributions of the histogram and proportions views, as JSON",
         {}, 1, 1, runStats},
        {"alarms", "FILE", "the 20 rows of the alarm list as JSON (null where a row is empty)", {}, 1, 1, runAlarms},
        {"csv", "FILE", "export the sample list as the export button does, next to FILE unless -o is given",
         {{"-o", "OUT", "write the comma-separated file here instead"}}, 1, 1, runCsv},
#ifdef ORVAN_CLI_REPORT
        {"report", "FILE OUT.pdf",
         "write the graph report of a record as the application prints it after opening the record's graph",
         {}, 2, 2, runReport},
#endif
    };
    return table;
}

} // namespace orvan::cli
