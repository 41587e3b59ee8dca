// Opening a URL in the web browser.
#pragma once

#include "platform/windows_api.h"

namespace velnor {

// Probe file whose association names the browser; created only where no such file exists.
constexpr char kProbeFileName[] = "dummy.htm";

// Starts the program associated with ".htm" files with " <url>" as its command line; when
// that road fails, hands the URL to the shell's "open" verb.
void OpenInBrowser(const char* url, const Platform& os);

}  // namespace velnor
