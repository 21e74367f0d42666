// The state of a background gateway query, as its information object reports it.
#pragma once

#include <cstdint>

enum QueryStatus : int32_t {
  QueryPending = 0,  // the worker has not finished
  QueryDone = 1,     // the reply arrived and its values are published
  QueryFailed = 2,   // no usable reply (error or cancellation)
};
