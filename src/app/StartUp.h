#pragma once
// Start-up: the command line, the per-user folders, the defaults, the settings file and the
// empty data set, in the fixed order. The windows are shown by app/Application once these
// steps are done.

#include <string>
#include <vector>

#include "common/Settings.h"

namespace varst {

struct DataSet;

// What start-up takes from the environment.
struct StartEnvironment {
  std::string appData;        // "APPDATA", or ~/.config where it is not set
  std::string temp;           // "TEMP", or the system's temporary folder
  std::string programFolder;  // the folder of the program file
};

// Only the first this many command-line items are scanned for options.
inline constexpr int kMaxOptionItems = 33;

// Reads the options "/DEB", "/MULTI", "/FN" and "/CONV" from the first 33 items into the
// settings (TraceWindowOn, MultiCondition, StartupFiles, ConversionToolOnly) and stores every
// item in CommandLine. Only the first `optionItems` items may be options: the ones after the
// end of options ("--", already removed by the caller) are files whatever they look like.
void ReadCommandLine(const std::vector<std::string>& items, Settings& settings,
                     std::size_t optionItems = static_cast<std::size_t>(-1));

// Steps 1 to 8 of start-up: command line, per-user folders (created), defaults, settings
// file, series colour choices, data set reset, work folder (created).
void PrepareStartUp(const std::vector<std::string>& items, const StartEnvironment& environment,
                    Settings& settings, DataSet& dataSet,
                    std::size_t optionItems = static_cast<std::size_t>(-1));

// The environment of this process (variables, home folder, program file).
[[nodiscard]] StartEnvironment CurrentEnvironment(const std::string& programPath);

}  // namespace varst
