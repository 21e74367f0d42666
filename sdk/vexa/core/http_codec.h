// The bytes of an upload request and the reading of its reply head. Pure
// functions: the socket code only moves bytes.
#pragma once

#include <string>

#include "vexa/core/upload_target.h"

// A complete HTTP/1.1 POST of `body` to the target, asking the server to
// close the connection after its reply.
std::string BuildPostRequest(const UploadTarget& target, const std::string& body, const std::string& contentType);

// Where the reply head ends (the index after its blank line), or
// std::string::npos while it is incomplete.
size_t ReplyHeadEnd(const std::string& received);

// The status code of a reply head ("HTTP/1.x NNN ..."), or 0 when the head
// does not start with a valid status line.
int ReplyStatus(const std::string& head);
