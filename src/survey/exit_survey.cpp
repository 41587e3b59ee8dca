// The Yes/No exit survey at the end of a client uninstall.
#include "survey/exit_survey.h"

#include "registry/value_readers.h"
#include "resource_ids.h"
#include "survey/browser_launcher.h"
#include "survey/request_url.h"

namespace velnor {
namespace {

constexpr int kSurveyUrlCapacity = 128;
constexpr int kPromptCapacity = 256;
constexpr int kCaptionCapacity = 32;

bool LoadAll(const Platform& os, char* survey_url, char* prompt, char* caption) {
  return os.ui.LoadResourceString(IDS_SURVEY_URL, survey_url, kSurveyUrlCapacity) >= 1 &&
         os.ui.LoadResourceString(IDS_SURVEY_PROMPT, prompt, kPromptCapacity) >= 1 &&
         os.ui.LoadResourceString(IDS_SURVEY_CAPTION, caption, kCaptionCapacity) >= 1;
}

// Stops at the first value that cannot be read; no default ever stands in for one.
bool ReadIdentity(char (&user_id)[kUserIdCapacity], char (&domain_name)[kDomainNameCapacity],
                  char (&reg_key)[kRegKeyCapacity], const Platform& os) {
  return ReadRegString(kClientUserId, "", user_id, sizeof user_id, os) == kSuccess &&
         ReadRegString(kClientDomainName, "", domain_name, sizeof domain_name, os) == kSuccess &&
         ReadRegString(kClientRegKey, "", reg_key, sizeof reg_key, os) == kSuccess;
}

}  // namespace

void RunExitSurvey(const Platform& os) {
  char survey_url[kSurveyUrlCapacity];
  char prompt[kPromptCapacity];
  char caption[kCaptionCapacity];
  if (!LoadAll(os, survey_url, prompt, caption)) return;
  if (os.ui.ShowMessageBox(prompt, caption, DialogButtons::YesNo) != DialogAnswer::Yes) return;

  char user_id[kUserIdCapacity];
  char domain_name[kDomainNameCapacity];
  char reg_key[kRegKeyCapacity];
  char request[kRequestUrlCapacity];
  const bool personalised =
      ReadIdentity(user_id, domain_name, reg_key, os) &&
      BuildRequestUrl(survey_url, {user_id, domain_name, reg_key}, request, sizeof request);
  OpenInBrowser(personalised ? request : survey_url, os);
}

}  // namespace velnor
