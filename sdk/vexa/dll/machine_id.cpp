#include "vexa/dll/machine_id.h"

#include <map>
#include <string>

#include "common/machine_facts.h"
#include "sys/md5.h"
#include "sys/xmutex.h"

namespace {

// Ids computed so far, one per version. The map's nodes never move, so the
// texts handed out stay where they are.
class MachineIdCache {
 public:
  static MachineIdCache& Instance() {
    static MachineIdCache* instance = new MachineIdCache();
    return *instance;
  }

  const char* Get(int version) {
    CXMutexLock guard(lock_);
    auto found = ids_.find(version);
    if (found == ids_.end()) {
      const std::string input = "vexa-mid-v" + std::to_string(version) + "|" + StableMachineFacts();
      found = ids_.emplace(version, Md5HexOfData(input.data(), static_cast<int64_t>(input.size()))).first;
    }
    return found->second.c_str();
  }

 private:
  CXMutex lock_;
  std::map<int, std::string> ids_;
};

}  // namespace

const char* MachineIdText(int version) {
  if (version < 1) return "";
  return MachineIdCache::Instance().Get(version);
}
