#include "sys/vm_probe.h"

#include <windows.h>

// The probes are whole functions in assembly, so the faulting instruction
// has a known address and a known length: the fault handler below resumes
// exactly after it. Both preserve EBX as the calling convention requires and
// return in EAX the EBX the instruction left behind.
extern "C" {
unsigned long TessaroVirtualPcProbe(void);
unsigned long TessaroVmwareProbe(void);
extern const unsigned char TessaroVirtualPcInstruction[];
extern const unsigned char TessaroVmwareInstruction[];
}

__asm__(
    ".text\n"
    ".globl _TessaroVirtualPcProbe\n"
    "_TessaroVirtualPcProbe:\n"
    "  pushl %ebx\n"
    "  xorl %ebx, %ebx\n"
    "  movl $1, %eax\n"
    ".globl _TessaroVirtualPcInstruction\n"
    "_TessaroVirtualPcInstruction:\n"
    "  .byte 0x0f, 0x3f, 0x07, 0x0b\n"
    "  movl %ebx, %eax\n"
    "  popl %ebx\n"
    "  ret\n"
    ".globl _TessaroVmwareProbe\n"
    "_TessaroVmwareProbe:\n"
    "  pushl %ebx\n"
    "  movl $0x564D5868, %eax\n"
    "  xorl %ebx, %ebx\n"
    "  movl $10, %ecx\n"
    "  movl $0x5658, %edx\n"
    ".globl _TessaroVmwareInstruction\n"
    "_TessaroVmwareInstruction:\n"
    "  inl %dx, %eax\n"
    "  movl %ebx, %eax\n"
    "  popl %ebx\n"
    "  ret\n");

namespace {

constexpr unsigned long kVmwareMagic = 0x564D5868;
constexpr DWORD kVirtualPcInstructionBytes = 4;
constexpr DWORD kVmwareInstructionBytes = 1;

// A process-wide vectored handler that acts only on a fault at one of the
// two probe instructions (any other exception goes on to the usual
// handlers): it skips the instruction and sets the EBX that means "no".
LONG WINAPI SkipProbeFault(EXCEPTION_POINTERS* pointers) {
  const void* at = pointers->ExceptionRecord->ExceptionAddress;
  CONTEXT* context = pointers->ContextRecord;
  if (at == TessaroVirtualPcInstruction) {
    context->Eip += kVirtualPcInstructionBytes;
    context->Ebx = static_cast<DWORD>(-1);
    return EXCEPTION_CONTINUE_EXECUTION;
  }
  if (at == TessaroVmwareInstruction) {
    context->Eip += kVmwareInstructionBytes;
    context->Ebx = 0;
    return EXCEPTION_CONTINUE_EXECUTION;
  }
  return EXCEPTION_CONTINUE_SEARCH;
}

// Installs the handler for the length of one probe.
class ProbeGuard {
 public:
  ProbeGuard() : handler_(::AddVectoredExceptionHandler(1, &SkipProbeFault)) {}
  ~ProbeGuard() {
    if (handler_ != nullptr) ::RemoveVectoredExceptionHandler(handler_);
  }
  ProbeGuard(const ProbeGuard&) = delete;
  ProbeGuard& operator=(const ProbeGuard&) = delete;

  bool active() const { return handler_ != nullptr; }

 private:
  void* handler_;
};

}  // namespace

bool IsVirtualPcGuest() {
  const ProbeGuard guard;
  if (!guard.active()) return false;
  return TessaroVirtualPcProbe() == 0;
}

bool IsVmwareGuest() {
  const ProbeGuard guard;
  if (!guard.active()) return false;
  return TessaroVmwareProbe() == kVmwareMagic;
}
