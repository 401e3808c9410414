// The call into a DLL function, in assembly: pushes the argument words, calls, restores
// the stack pointer, and guards the call with a structured exception frame of its own so
// that a fault inside the function ends only the call.
#include <windows.h>

#include <optional>

#include "script/dll_invoke_win.h"

extern "C" uint32_t kvb_guarded_call(const void* function,
                                     const uint32_t* words,
                                     uint32_t count,
                                     uint32_t* faulted);

// Frame layout built on the stack by kvb_guarded_call, lowest address first: the previous
// exception registration, the handler, the resume address, and the stack and frame
// pointers to resume with. The handler does not return to the system's dispatcher: it
// restores the saved registers and jumps to the resume code, which unlinks the frame.
// Frames the called function registered below ours are dropped with the rest of its
// stack. Unwinding passes (flags 2 and 4) are left alone.
asm(R"(
    .text
    .globl _kvb_guarded_call
    .def _kvb_guarded_call; .scl 2; .type 32; .endef
_kvb_guarded_call:
    pushl %ebp
    movl %esp, %ebp
    pushl %ebx
    pushl %esi
    pushl %edi
    leal -20(%esp), %eax
    pushl %ebp
    pushl %eax
    pushl $kvb_guard_resume
    pushl $kvb_guard_handler
    pushl %fs:0
    movl %esp, %fs:0
    movl 12(%ebp), %esi
    movl 16(%ebp), %ecx
kvb_guard_push:
    testl %ecx, %ecx
    jz kvb_guard_call
    pushl -4(%esi,%ecx,4)
    decl %ecx
    jmp kvb_guard_push
kvb_guard_call:
    call *8(%ebp)
    leal -32(%ebp), %esp
    movl 20(%ebp), %ecx
    movl $0, (%ecx)
    jmp kvb_guard_done
kvb_guard_resume:
    cld
    movl 20(%ebp), %ecx
    movl $1, (%ecx)
    xorl %eax, %eax
kvb_guard_done:
    popl %ecx
    movl %ecx, %fs:0
    addl $16, %esp
    popl %edi
    popl %esi
    popl %ebx
    popl %ebp
    ret

kvb_guard_handler:
    movl 4(%esp), %eax
    testl $6, 4(%eax)
    jnz kvb_guard_search
    movl 8(%esp), %eax
    movl 16(%eax), %ebp
    movl 12(%eax), %esp
    jmp *8(%eax)
kvb_guard_search:
    movl $1, %eax
    ret
)");

namespace kvb {
namespace {

__attribute__((noinline)) uint32_t StringLength(const char* text) {
  uint32_t length = 0;
  while (text[length] != '\0')
    ++length;
  return length;
}

}  // namespace

uint32_t GuardedCall(const void* function, const std::vector<uint32_t>& words, bool& faulted) {
  uint32_t fault = 0;
  const uint32_t result =
      kvb_guarded_call(function, words.data(), static_cast<uint32_t>(words.size()), &fault);
  faulted = fault != 0;
  return result;
}

std::optional<size_t> GuardedStringLength(const char* text) {
  bool faulted = false;
  const uint32_t length = GuardedCall(reinterpret_cast<const void*>(&StringLength),
                                      {reinterpret_cast<uint32_t>(text)}, faulted);
  if (faulted)
    return std::nullopt;
  return length;
}

}  // namespace kvb
