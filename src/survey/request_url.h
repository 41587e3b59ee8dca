// The personalised survey request.
#pragma once

#include <cstddef>

namespace velnor {

// Holds at most 255 characters.
constexpr std::size_t kRequestUrlCapacity = 256;

struct ClientIdentity {
  const char* user_id;
  const char* domain_name;
  const char* reg_key;
};

// survey_url?userid=..&FQDN=..&regkey=.., the values percent-encoded so that none can end a
// query field or split the browser's command line. False, with no request, when it would not
// fit the capacity.
bool BuildRequestUrl(const char* survey_url, const ClientIdentity& identity, char* request,
                     std::size_t capacity);

}  // namespace velnor
