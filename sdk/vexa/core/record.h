// One analytics record as the SDK's callers build it: a kind, integer and
// byte fields, and for events a name, a sequence number and typed
// properties. Everything is kept in call order. Not thread-safe: the record
// registry serialises access.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// What a record carries besides its own content, fixed when it is created.
struct RecordContext {
  std::string appId;
  std::string appName;
  std::string machineId;
};

class Record {
 public:
  // Field and property values larger than this are dropped, so that one
  // runaway caller cannot produce a record no batch can carry.
  static constexpr size_t kMaxValueBytes = 1u << 20;

  Record(int kind, RecordContext context) : kind_(kind), context_(std::move(context)) {}

  int Kind() const { return kind_; }

  // A record goes to the spool once; a second commit is refused.
  bool Committed() const { return committed_; }
  void MarkCommitted() { committed_ = true; }

  void WriteInt(int field, int32_t value);
  // Keeps the bytes as they are (they need not be text).
  void WriteData(int field, std::string bytes);
  // A second event name replaces the first.
  void WriteEvent(std::string name, int32_t sequence);
  void AddIntProperty(std::string key, int32_t value);
  void AddBoolProperty(std::string key, bool value);
  void AddStringProperty(std::string key, std::string value);

  // The record as one line of JSON ending in '\n' (layout in sdk/README.md).
  std::string ToJsonLine(const std::string& id, int64_t unixSeconds) const;

 private:
  enum class ValueType { Int, Bool, Text };
  struct Value {
    ValueType type;
    int32_t number;
    std::string text;
  };
  struct Field {
    int id;
    Value value;
  };
  struct Property {
    std::string key;
    Value value;
  };

  void AppendEvent(std::string& out) const;
  void AppendProperties(std::string& out) const;
  void AppendFields(std::string& out) const;

  int kind_;
  RecordContext context_;
  bool committed_ = false;
  bool hasEvent_ = false;
  std::string eventName_;
  int32_t sequence_ = 0;
  std::vector<Property> properties_;
  std::vector<Field> fields_;
};
