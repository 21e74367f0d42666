// HttpForm: a multipart/form-data form whose body is produced field by field,
// so it is never assembled whole. Fields go out in byte-wise name order,
// whatever the order they were added in.
#pragma once

#include <cstdint>
#include <map>
#include <string>

// The boundary parameter of the Content-Type (40 characters); the delimiter
// lines in the body are "--" followed by it.
constexpr const char HTTP_FORM_BOUNDARY[] = "---------------------------7da1f4c300560";

struct FormField {
  std::string name;
  std::string value;   // sent as bytes, without any encoding
  std::string header;  // Content-Disposition line and the blank line after it
  int64_t length = 0;  // the value's length, set by PrepareBody
};

class HttpForm {
 public:
  HttpForm() = default;
  ~HttpForm() { ResetBody(); }

  // The body production holds a position inside the form.
  HttpForm(const HttpForm&) = delete;
  HttpForm& operator=(const HttpForm&) = delete;

  // Adds a field or replaces the value of the field of that name. Ignored
  // while the form is prepared (after PrepareBody, until ResetBody).
  void AddField(const std::string& name, const std::string& value);

  // Starts the body and computes ContentLength(). A form without fields
  // returns false, stays unprepared and has length 0 (nothing to send).
  bool PrepareBody();

  // Produces the next piece of body into Chunk(): one whole field, the last
  // one followed by the closing delimiter. Returns false (Chunk() empty) when
  // the form is unprepared or every field was produced. The pieces add up to
  // exactly ContentLength() bytes.
  bool NextBodyChunk();

  // Stops body production; fields may be added again.
  void ResetBody();

  const std::string& Chunk() const { return chunk; }
  uint64_t ContentLength() const { return contentLength; }

 private:
  using FieldMap = std::map<std::string, FormField>;  // std::less: byte-wise order

  FieldMap fields;
  FieldMap::const_iterator cursor;
  int64_t bodyState = -1;  // -1 unprepared, 0 prepared and producing
  std::string boundaryLine;
  uint64_t contentLength = 0;
  std::string chunk;
};
