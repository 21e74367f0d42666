#include "net/codec/http_form.h"

namespace {

std::string FieldHeader(const std::string& name) {
  return "Content-Disposition: form-data; name=\"" + name + "\"\r\n\r\n";
}

}  // namespace

void HttpForm::AddField(const std::string& name, const std::string& value) {
  if (bodyState != -1) return;
  FormField& field = fields[name];
  field.name = name;
  field.value = value;
  field.header = FieldHeader(name);
  field.length = 0;
}

bool HttpForm::PrepareBody() {
  ResetBody();
  contentLength = 0;
  if (fields.empty()) return false;

  boundaryLine = std::string("--") + HTTP_FORM_BOUNDARY;
  bodyState = 0;
  cursor = fields.begin();
  for (auto& entry : fields) {
    FormField& field = entry.second;
    field.length = static_cast<int64_t>(field.value.size());
    contentLength += boundaryLine.size() + 2 + field.header.size() + field.value.size() + 2;
  }
  contentLength += boundaryLine.size() + 4;
  return true;
}

bool HttpForm::NextBodyChunk() {
  chunk.clear();
  if (bodyState == -1 || cursor == fields.end()) return false;

  const FormField& field = cursor->second;
  chunk = boundaryLine + "\r\n" + field.header + field.value + "\r\n";
  ++cursor;
  if (cursor == fields.end()) chunk += boundaryLine + "--\r\n";
  return true;
}

void HttpForm::ResetBody() { bodyState = -1; }
