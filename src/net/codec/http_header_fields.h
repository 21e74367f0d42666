// Looking up header fields in the lines of a reply head (lines[0], the status
// line, is never taken for a header). Field names compare without regard to
// ASCII case, as HTTP defines them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The value of the first line whose name is `name` followed by a colon, with
// its leading blanks removed; false when there is no such line.
bool FindHeaderValue(const std::vector<std::string>& lines, const std::string& name,
                     std::string* value);

// The first Content-Length line that carries anything after its colon gives
// the length (a signed decimal after blanks; a bare "Content-Length:" line is
// passed over). 0 when there is none or it has no digits. The value may be
// negative or huge: judging it is the reader's job.
int64_t HeaderContentLength(const std::vector<std::string>& lines);

// The first Transfer-Encoding line names "chunked" (in any case).
bool HeaderSaysChunked(const std::vector<std::string>& lines);

// The redirect target of the first Location line, leading blanks removed;
// false when there is none.
bool HeaderLocation(const std::vector<std::string>& lines, std::string* location);

// The file name offered by the first line (of any header) that contains
// "filename=": the text after it split at quotation marks, first non-empty
// piece. Returns empty when there is none or when the name could leave the
// package folder or is no valid file name: it contains \ / : * ? " < > | or a
// control character, or is "." or "..". The bytes are returned as sent; the
// caller converts them.
std::string ContentDispositionFileName(const std::vector<std::string>& lines);
