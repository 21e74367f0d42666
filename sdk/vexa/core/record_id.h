// Ids of committed records: 40 lower-case hexadecimal digits. Ids sort in
// the order of their making within a process and by time across processes;
// a random part chosen once per process keeps them unique across machines,
// so a collector can drop a record it has seen before. Safe from any thread.
#pragma once

#include <string>

std::string NewRecordId();
