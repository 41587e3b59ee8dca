// Opening a URL: the ".htm" program started directly, the shell's "open" verb as the fallback.
#include "survey/browser_launcher.h"

#include <gtest/gtest.h>

#include "sim/sim_test.h"
#include "sim/survey_scene.h"
#include "sim/test_names.h"

namespace velnor::sim {
namespace {

constexpr char kUrl[] = "http://www.orvandel.com/uninstall/survey.cfm?userid=u1&FQDN=a.b&regkey=k";
constexpr char kOwnPage[] = "<html>my own page</html>";

struct BrowserCase {
  const char* label;
  void (*scene)(SimulatedWindows& sim);
  bool browser_started;
  bool probe_attempted_lookup;
};

void Associated(SimulatedWindows& sim) { InstallHtmBrowser(sim); }
void NoAssociation(SimulatedWindows&) {}
void BrowserMissing(SimulatedWindows& sim) { sim.AssociateHtm(kBrowserPath); }
void ReadOnlyDirectory(SimulatedWindows& sim) {
  InstallHtmBrowser(sim);
  sim.SetCurrentDirectoryReadOnly(true);
}
void ProbeNameTaken(SimulatedWindows& sim) {
  InstallHtmBrowser(sim);
  sim.AddFile("Dummy.HTM", kOwnPage);
}

const BrowserCase kBrowserCases[] = {
    {"associated program", Associated, true, true},
    {"no association", NoAssociation, false, true},
    {"associated program cannot start", BrowserMissing, false, true},
    {"read-only current directory", ReadOnlyDirectory, false, false},
    {"a dummy.htm of the user's", ProbeNameTaken, false, false},
};

class OpenInBrowserTest : public SimTest, public ::testing::WithParamInterface<BrowserCase> {};

TEST_P(OpenInBrowserTest, StartsTheHtmProgramOrFallsBackToTheShell) {
  const BrowserCase& c = GetParam();
  c.scene(sim);
  const std::optional<std::string> before = sim.FileBytes("dummy.htm");

  OpenInBrowser(kUrl, os);

  EXPECT_EQ(sim.FileBytes("dummy.htm"), before) << "the probe was left, or a file was lost";
  EXPECT_EQ(sim.JournalEntries("find-executable").size(), c.probe_attempted_lookup ? 1u : 0u);
  if (c.browser_started) {
    ASSERT_EQ(sim.started().size(), 1u);
    EXPECT_EQ(sim.started()[0].program_path, std::string(kBrowserPath));
    EXPECT_EQ(sim.started()[0].command_line, std::string(" ") + kUrl);
    EXPECT_EQ(sim.started()[0].show, ShowMode::ShowNormal);
    EXPECT_TRUE(sim.shell_requests().empty());
  } else {
    EXPECT_TRUE(sim.started().empty());
    ASSERT_EQ(sim.shell_requests().size(), 1u);
    EXPECT_EQ(sim.shell_requests()[0].verb, "open");
    EXPECT_EQ(sim.shell_requests()[0].file, kUrl);
    EXPECT_EQ(sim.shell_requests()[0].show, ShowMode::Show);
  }
}

INSTANTIATE_TEST_SUITE_P(Roads, OpenInBrowserTest, ::testing::ValuesIn(kBrowserCases), LabelName());

}  // namespace
}  // namespace velnor::sim
