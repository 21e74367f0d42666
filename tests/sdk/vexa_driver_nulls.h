// vexa_driver's null-argument check of every export.
#pragma once

#include <string>

struct VexaApi;

// Prints "error=<call>" for every call that did not give its failure value
// and "failures=N"; returns 0 when N is 0, else 1.
int CheckNullArguments(const VexaApi& api, const std::wstring& sdk);
