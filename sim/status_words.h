// Handlers of the status interface's request words.
#pragma once

#include <string>

#include "http_request.h"
#include "http_response.h"
#include "service.h"

namespace vellix::sim {

struct StatusCall {
    SimState& state;
    const ServiceConfig& config;
    HttpRequest& request;
    const Fields& query;
    const RequestContext& context;
    Spool* spool;         // where uploads are kept; null when it could not be opened
    std::string session;  // from the query, may be empty
    std::string address;  // the session's account, filled for words that need a session
};

using StatusHandler = HttpResponse (*)(StatusCall&);

// Nothing for an unknown word. `needs_session` is set for words that need a live session.
StatusHandler find_status_handler(std::string_view word, bool& needs_session);

HttpResponse bad_request(std::string_view why);

// Handlers defined in messaging_words.cpp and transfer_words.cpp.
HttpResponse handle_set_status(StatusCall& call);
HttpResponse handle_buddy_list(StatusCall& call);
HttpResponse handle_user_list(StatusCall& call);
HttpResponse handle_save_buddy_list(StatusCall& call);
HttpResponse handle_get_settings(StatusCall& call);
HttpResponse handle_save_settings(StatusCall& call);
HttpResponse handle_wait(StatusCall& call);
HttpResponse handle_send_message(StatusCall& call);
HttpResponse handle_file_request(StatusCall& call);
HttpResponse handle_file_response(StatusCall& call);
HttpResponse handle_file_upload(StatusCall& call);
HttpResponse handle_file_download(StatusCall& call);
HttpResponse handle_get_contacts(StatusCall& call);
HttpResponse handle_set_contacts(StatusCall& call);

}  // namespace vellix::sim
