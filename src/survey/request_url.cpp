// The personalised survey request.
#include "survey/request_url.h"

#include "platform/fixed_text.h"

namespace velnor {

bool BuildRequestUrl(const char* survey_url, const ClientIdentity& identity, char* request,
                     std::size_t capacity) {
  TextBuilder url(request, capacity);
  url.Append(survey_url)
      .Append("?userid=")
      .AppendPercentEncoded(identity.user_id)
      .Append("&FQDN=")
      .AppendPercentEncoded(identity.domain_name)
      .Append("&regkey=")
      .AppendPercentEncoded(identity.reg_key);
  if (!url.ok() && capacity > 0) request[0] = '\0';
  return url.ok();
}

}  // namespace velnor
