// Reply texts of the status interface. Values go out byte for byte between their tags: the
// client's tag reader does no entity decoding.
#pragma once

#include <string>
#include <string_view>

namespace vellix::sim::replies {

inline constexpr std::string_view kBadLogin = "<error>Invalid username or password</error>";
inline constexpr std::string_view kInvalidSession = "<error>invalid session</error>";
inline constexpr std::string_view kSessionDeleted = "<error>this session is being deleted</error>";
inline constexpr std::string_view kGoneOffline = "<error>You have gone offline</error>";
inline constexpr std::string_view kWaitReplaced =
    "<wait>A new wait request is taking your place</wait>";
// Idle end of a long poll: no known event tag, so the client simply asks again.
inline constexpr std::string_view kIdle = "<idle>no events</idle>";
inline constexpr std::string_view kSuccess = "<result>success</result>";

std::string tag(std::string_view name, std::string_view value);
std::string error(std::string_view text);

std::string folder_block(std::string_view name, std::string_view display, int total, int unread,
                         int fresh, int recent);
std::string buddy_block(std::string_view email, std::string_view name, std::string_view status);
std::string user_block(std::string_view name, std::string_view email);

std::string message_event(std::string_view to, std::string_view from, std::string_view subject,
                          std::string_view text);
std::string status_event(std::string_view email, std::string_view status);
std::string file_request_event(std::string_view from, std::string_view filename,
                               unsigned long long size);
std::string file_response_event(std::string_view from, bool accepted, std::string_view filename);
std::string file_available_event(std::string_view from, std::string_view filename,
                                 unsigned long long size, std::string_view file_id);
// "cancelled" and "complete" carry no size and no id.
std::string file_status_event(std::string_view from, std::string_view filename,
                              std::string_view status);

}  // namespace vellix::sim::replies
