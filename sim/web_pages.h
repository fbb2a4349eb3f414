// Plain webmail pages for the browser, and the installer download.
#pragma once

#include "http_response.h"
#include "sim_state.h"
#include "text_util.h"

namespace vellix::sim {

// Any request on the server path without "View=StatusCheck".
HttpResponse serve_page(SimState& state, const Fields& query);

}  // namespace vellix::sim
