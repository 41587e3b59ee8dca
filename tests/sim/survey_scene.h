// The string table, browser and prompt answer that the survey fixtures start from.
#pragma once

#include <algorithm>
#include <string>

#include "resource_ids.h"
#include "sim/simulated_windows.h"

namespace velnor::sim {

constexpr char kPrompt[] =
    "Orvandel would like to learn more about why\nyou're uninstalling Velnor.\n\n"
    "Would you like to participate in our exit survey?";
constexpr char kSurveyUrl[] = "http://www.orvandel.com/uninstall/survey.cfm";
constexpr char kBrowserPath[] = "C:\\Program Files\\Browser\\browser.exe";

inline void LoadSurveyStrings(SimulatedWindows& sim) {
  sim.SetResourceString(IDS_SURVEY_PROMPT, kPrompt);
  sim.SetResourceString(IDS_SURVEY_CAPTION, "Exit Survey");
  sim.SetResourceString(IDS_SURVEY_URL, kSurveyUrl);
}

inline void InstallHtmBrowser(SimulatedWindows& sim) {
  sim.InstallProgram(kBrowserPath);
  sim.AssociateHtm(kBrowserPath);
}

// The URL the browser or the shell was given; empty when nothing was opened.
inline std::string OpenedUrl(const SimulatedWindows& sim) {
  const auto& started = sim.started();
  const auto browser = std::find_if(started.begin(), started.end(), [](const StartedProcess& p) {
    return p.program_path == std::string(kBrowserPath);
  });
  if (browser != started.end()) return browser->command_line.substr(1);
  return sim.shell_requests().empty() ? "" : sim.shell_requests().back().file;
}

}  // namespace velnor::sim
