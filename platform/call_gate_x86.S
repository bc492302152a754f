# uintptr_t __cdecl kvCallGate(const void* function, const uintptr_t* arguments, size_t count,
#                              intptr_t* stackDifference)
#
# Records ESP before the arguments are pushed, pushes them last to first (stdcall), calls,
# and reports how far ESP is from the recorded depth once the callee has returned: a
# stdcall function removes exactly its arguments, so any difference means it removed
# too many or too few bytes. EBP keeps the frame, so the stack is restored either way.

        .intel_syntax noprefix
        .text
        .globl  _kvCallGate
        .def    _kvCallGate; .scl 2; .type 32; .endef
_kvCallGate:
        push    ebp
        mov     ebp, esp
        push    ebx
        push    esi
        push    edi

        mov     ebx, [ebp + 8]          # function
        mov     esi, [ebp + 12]         # arguments
        mov     ecx, [ebp + 16]         # count
        mov     edi, esp                # the depth before the arguments

1:      test    ecx, ecx
        jz      2f
        dec     ecx
        push    dword ptr [esi + ecx*4]
        jmp     1b
2:
        call    ebx

        mov     ecx, esp
        sub     ecx, edi
        mov     esp, edi
        mov     edx, [ebp + 20]
        mov     [edx], ecx

        pop     edi
        pop     esi
        pop     ebx
        pop     ebp
        ret
