// The exit survey: strings, the prompt, the identity reads and the URL that is opened.
#include "survey/exit_survey.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/client_install.h"
#include "sim/sim_test.h"
#include "sim/survey_scene.h"
#include "sim/test_names.h"

namespace velnor::sim {
namespace {

const std::string kBare = kSurveyUrl;
const std::string kQuery = kBare + "?userid=";

struct SurveyCase {
  const char* label;
  void (*scene)(SimulatedWindows& sim);
  DialogAnswer answer;
  bool prompt_shown;
  unsigned identity_reads;  // values queried
  std::string url;          // opened; empty: nothing
};

void Identity(SimulatedWindows& sim) {
  SetClientIdentity(sim, "U123", "host.example.com", "ABCD-1234");
}
void DropValue(SimulatedWindows& sim, const char* name) {
  Identity(sim);
  sim.DeleteValue(kClientUserId.root, kClientVersionKey, name);
}
void NoUserId(SimulatedWindows& sim) { DropValue(sim, "KivUID"); }
void NoDomainName(SimulatedWindows& sim) { DropValue(sim, "DomainName"); }
void NoRegKey(SimulatedWindows& sim) { DropValue(sim, "RegKey"); }
void EmptyRegKey(SimulatedWindows& sim) { SetClientIdentity(sim, "U123", "host.example.com", ""); }
void UnsafeBytes(SimulatedWindows& sim) {
  SetClientIdentity(sim, "a b&c\"d", "h=1&x", "\xe9/%~._-");
}
void UserIdTooLongForItsBuffer(SimulatedWindows& sim) {
  SetClientIdentity(sim, std::string(32, 'u'), "host.example.com", "ABCD");
}
void NoPrompt(SimulatedWindows& sim) {
  Identity(sim);
  sim.SetResourceString(IDS_SURVEY_PROMPT, "");
}
void NoCaption(SimulatedWindows& sim) {
  Identity(sim);
  sim.SetResourceString(IDS_SURVEY_CAPTION, "");
}
void NoSurveyUrl(SimulatedWindows& sim) {
  Identity(sim);
  sim.SetResourceString(IDS_SURVEY_URL, "");
}
// Parts of 31, 127 and 31 bytes bring the request to exactly 255 characters.
void RequestOf255(SimulatedWindows& sim) {
  SetClientIdentity(sim, std::string(31, 'u'), std::string(127, 'd'), std::string(31, 'r'));
}
// One encoded byte more makes 256.
void RequestOf256(SimulatedWindows& sim) {
  SetClientIdentity(sim, std::string(30, 'u') + "&", std::string(126, 'd'), std::string(31, 'r'));
}

const SurveyCase kSurveyCases[] = {
    {"no answers No", Identity, DialogAnswer::No, true, 0, ""},
    {"closed box", Identity, DialogAnswer::Other, true, 0, ""},
    {"all values", Identity, DialogAnswer::Yes, true, 3,
     kQuery + "U123&FQDN=host.example.com&regkey=ABCD-1234"},
    {"user id missing", NoUserId, DialogAnswer::Yes, true, 1, kBare},
    {"domain name missing", NoDomainName, DialogAnswer::Yes, true, 2, kBare},
    {"RegKey missing", NoRegKey, DialogAnswer::Yes, true, 3, kBare},
    {"user id too long for its buffer", UserIdTooLongForItsBuffer, DialogAnswer::Yes, true, 1,
     kBare},
    {"empty RegKey", EmptyRegKey, DialogAnswer::Yes, true, 3,
     kQuery + "U123&FQDN=host.example.com&regkey="},
    {"values are percent-encoded", UnsafeBytes, DialogAnswer::Yes, true, 3,
     kQuery + "a%20b%26c%22d&FQDN=h%3D1%26x&regkey=%E9%2F%25~._-"},
    {"request of 255 characters", RequestOf255, DialogAnswer::Yes, true, 3,
     kQuery + std::string(31, 'u') + "&FQDN=" + std::string(127, 'd') +
         "&regkey=" + std::string(31, 'r')},
    {"request of 256 characters", RequestOf256, DialogAnswer::Yes, true, 3, kBare},
    {"prompt missing", NoPrompt, DialogAnswer::Yes, false, 0, ""},
    {"caption missing", NoCaption, DialogAnswer::Yes, false, 0, ""},
    {"survey URL missing", NoSurveyUrl, DialogAnswer::Yes, false, 0, ""},
};

class ExitSurveyTest : public SimTest, public ::testing::WithParamInterface<SurveyCase> {
 protected:
  void SetUp() override {
    LoadSurveyStrings(sim);
    InstallHtmBrowser(sim);
  }
};

TEST_P(ExitSurveyTest, OpensThePageThatTheAnswersAndValuesCallFor) {
  const SurveyCase& c = GetParam();
  c.scene(sim);
  sim.AnswerDialogWith(c.answer);

  RunExitSurvey(os);

  ASSERT_EQ(sim.dialogs().size(), c.prompt_shown ? 1u : 0u);
  if (c.prompt_shown) {
    EXPECT_EQ(sim.dialogs()[0].text, kPrompt);
    EXPECT_EQ(sim.dialogs()[0].caption, "Exit Survey");
    EXPECT_EQ(sim.dialogs()[0].buttons, DialogButtons::YesNo);
  }
  EXPECT_EQ(sim.JournalEntries("query").size(), c.identity_reads);
  EXPECT_EQ(OpenedUrl(sim), c.url);
  EXPECT_LE(OpenedUrl(sim).size(), 255u);
}

INSTANTIATE_TEST_SUITE_P(Answers, ExitSurveyTest, ::testing::ValuesIn(kSurveyCases), LabelName());

class SurveyStringsTest : public SimTest {};

TEST_F(SurveyStringsTest, LoadsAllThreeBeforeThePromptAndReadsOnlyAfterYes) {
  LoadSurveyStrings(sim);
  Identity(sim);
  sim.AnswerDialogWith(DialogAnswer::Yes);
  RunExitSurvey(os);
  const std::vector<std::string> first = {"load-string 3", "load-string 1", "load-string 2",
                                          "message-box"};
  ASSERT_GE(sim.journal().size(), first.size());
  EXPECT_EQ(std::vector<std::string>(sim.journal().begin(), sim.journal().begin() + 4), first);
}

}  // namespace
}  // namespace velnor::sim
