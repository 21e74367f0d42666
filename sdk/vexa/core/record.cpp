#include "vexa/core/record.h"

#include <string>
#include <utility>

#include "common/base64.h"
#include "vexa/core/json_text.h"

void Record::WriteInt(int field, int32_t value) { fields_.push_back({field, {ValueType::Int, value, {}}}); }

void Record::WriteData(int field, std::string bytes) {
  if (bytes.size() > kMaxValueBytes) return;
  fields_.push_back({field, {ValueType::Text, 0, std::move(bytes)}});
}

void Record::WriteEvent(std::string name, int32_t sequence) {
  if (name.size() > kMaxValueBytes) return;
  hasEvent_ = true;
  eventName_ = std::move(name);
  sequence_ = sequence;
}

void Record::AddIntProperty(std::string key, int32_t value) {
  if (key.size() > kMaxValueBytes) return;
  properties_.push_back({std::move(key), {ValueType::Int, value, {}}});
}

void Record::AddBoolProperty(std::string key, bool value) {
  if (key.size() > kMaxValueBytes) return;
  properties_.push_back({std::move(key), {ValueType::Bool, value ? 1 : 0, {}}});
}

void Record::AddStringProperty(std::string key, std::string value) {
  if (key.size() > kMaxValueBytes || value.size() > kMaxValueBytes) return;
  properties_.push_back({std::move(key), {ValueType::Text, 0, std::move(value)}});
}

std::string Record::ToJsonLine(const std::string& id, int64_t unixSeconds) const {
  std::string out = "{\"v\":1,\"id\":";
  AppendJsonString(out, id);
  out += ",\"kind\":" + std::to_string(kind_);
  out += ",\"time\":" + std::to_string(unixSeconds);
  out += ",\"app\":{\"id\":";
  AppendJsonString(out, context_.appId);
  out += ",\"name\":";
  AppendJsonString(out, context_.appName);
  out += "},\"mid\":";
  AppendJsonString(out, context_.machineId);
  AppendEvent(out);
  AppendProperties(out);
  AppendFields(out);
  out += "}\n";
  return out;
}

void Record::AppendEvent(std::string& out) const {
  if (!hasEvent_) return;
  out += ",\"event\":{\"name\":";
  AppendJsonString(out, eventName_);
  out += ",\"seq\":" + std::to_string(sequence_) + "}";
}

void Record::AppendProperties(std::string& out) const {
  out += ",\"properties\":[";
  bool first = true;
  for (const Property& property : properties_) {
    out += first ? "{\"key\":" : ",{\"key\":";
    first = false;
    AppendJsonString(out, property.key);
    switch (property.value.type) {
      case ValueType::Int:
        out += ",\"type\":\"int\",\"value\":" + std::to_string(property.value.number);
        break;
      case ValueType::Bool:
        out += property.value.number ? ",\"type\":\"bool\",\"value\":true" : ",\"type\":\"bool\",\"value\":false";
        break;
      case ValueType::Text:
        out += ",\"type\":\"string\",\"value\":";
        AppendJsonString(out, property.value.text);
        break;
    }
    out += "}";
  }
  out += "]";
}

void Record::AppendFields(std::string& out) const {
  out += ",\"fields\":[";
  bool first = true;
  for (const Field& field : fields_) {
    out += first ? "{\"id\":" : ",{\"id\":";
    first = false;
    out += std::to_string(field.id);
    if (field.value.type == ValueType::Int) {
      out += ",\"type\":\"int\",\"value\":" + std::to_string(field.value.number);
    } else {
      // Field bytes may be in any code page (file paths are ANSI): Base64
      // carries them unchanged.
      out += ",\"type\":\"data\",\"base64\":\"" + Base64Encode(field.value.text) + "\"";
    }
    out += "}";
  }
  out += "]";
}
