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
         {portOption(), traceOption(), {"--fahrenheit", nullptr, "same as --unit F"}}, 0, 0, runStatus},
        {"stats", "FILE", "zone counts, percentages and distributions of the histogram and proportions views, as JSON",
         {}, 1, 1, runStats},
        {"alarms", "FILE", "the 20 rows of the alarm list as JSON (null where a row is empty)", {}, 1, 1, runAlarms},
        {"csv", "FILE", "export the sample list as the export button does, next to FILE unless -o is given",
         {{"-o", "OUT", "write the comma-separated file here instead"}}, 1, 1, runCsv},
        {"summary", "FILE",
         "the shipment summary as JSON: lowest, highest, mean and mean kinetic temperature, minutes in each zone, "
         "excursions and the verdict (exit 0 whatever the verdict)",
         {{"--allow-above", "MIN", "minutes above the high limit a passing shipment may spend (default 0)"},
          {"--allow-below", "MIN", "minutes below the low limit a passing shipment may spend (default 0)"},
#ifdef ORVAN_CLI_REPORT
          {"--pdf", "OUT.pdf", "also write the one-page shipment report (A4) there, whole or not at all"},
#endif
         },
         1, 1, runSummary},
#ifdef ORVAN_CLI_REPORT
        {"report", "FILE OUT.pdf",
         "write the graph report of a record as the application prints it after opening the record's graph",
         {}, 2, 2, runReport},
#endif
        {"download", "OUT",
         "download the logger's memory into the record file OUT, then mark the logger as saved and check the mark "
         "(a recording logger only with --no-mark)",
         {portOption(), traceOption(), {"--no-mark", nullptr, "a snapshot: nothing is written to the logger (no names, no saved bit)"}},
         1, 1, runDownload},
        {"stop", "", "stop the logger's running mission and check that it stopped", {portOption(), traceOption()}, 0, 0, runStop},
        {"erase", "", "erase the logger's memory, wait the 34 s it takes and check that it is empty",
         {portOption(), traceOption(), {"--yes", nullptr, "confirm the erase (without it nothing is sent)"},
          {"--discard-unsaved", nullptr, "erase even samples that were never saved on disk"}},
         0, 0, runErase},
        {"prepare", "",
         "program a logger that holds no data or a finished mission without samples, and read it back; exit 0 only "
         "when it reads back as written",
         {portOption(), traceOption(),
          {"--days", "D", "mission length in days: 1..15, 20..45 by 5, 60..90 by 15, 120..360 by 30"},
          {"--interval", "MIN", "minutes between samples, 1..60 (instead of --days)"},
          {"--lo", "T", "low limit in whole degrees of --unit, one of the logger's limit list", true},
          {"--hi", "T", "high limit in whole degrees of --unit, not below --lo", true},
          {"--start", "button|delay=MIN|time=YYYY-MM-DDTHH:MM",
           "push-button start, push-button with a delay of 0..65535 minutes, or a set time from the present minute to 45 days ahead", true},
          {"--circular", nullptr, "overwrite from the beginning when the memory is full"},
          {"--exporter", "NAME", "exporter name, without '/' or '\\'; 12 Windows-1252 characters are kept", true},
          {"--carrier", "NAME", "carrier name; 12 Windows-1252 characters are kept", true}},
         0, 0, runPrepare},
        {"archive", "add PATH... | list | stats | verify | export OUT.csv",
         "the records archive: add indexes record files and folders (their subfolders too), list and stats search it "
         "(the fleet's figures), verify checks that the archived files are unchanged (exit 1 with the list), export "
         "writes a search as CSV",
         {{"--db", "URL|FILE", "postgresql://user@host:port/dbname or an SQLite file (default: the configured archive, else "
                               "archive.sqlite in the data folder)"},
          {"--serial", "N", "list, stats, export: only this logger"},
          {"--exporter", "TEXT", "list, stats, export: exporters whose name contains TEXT (any case)"},
          {"--carrier", "TEXT", "list, stats, export: carriers whose name contains TEXT (any case)"},
          {"--from", "YYYY-MM-DD", "list, stats, export: missions that started on or after the day"},
          {"--to", "YYYY-MM-DD", "list, stats, export: missions that started on or before the day"},
          {"--verdict", "pass|fail|\"no data\"", "list, stats, export: only this verdict"}},
         1, 100000, runArchive},
    };
    return table;
}

} // namespace orvan::cli
