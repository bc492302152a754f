# uintptr_t kvCallGate(const void* function, const uintptr_t* arguments, size_t count,
#                      intptr_t* stackDifference)        Windows x64 convention
#
# Lays the arguments out as the x64 convention wants them (first four in RCX, RDX, R8, R9,
# shadow space for them, the rest on the stack above it), records RSP in a callee-saved
# register, calls, and reports how far RSP moved. A caller-cleans convention has no
# business moving RSP, so any difference means the callee does not match its declaration.
# RBP keeps the frame, so the stack is restored whatever the callee did.

        .intel_syntax noprefix
        .text
        .globl  kvCallGate
        .def    kvCallGate; .scl 2; .type 32; .endef
        .seh_proc kvCallGate
kvCallGate:
        push    rbp
        .seh_pushreg rbp
        push    rbx
        .seh_pushreg rbx
        push    rsi
        .seh_pushreg rsi
        push    rdi
        .seh_pushreg rdi
        push    r12
        .seh_pushreg r12
        push    r13
        .seh_pushreg r13
        mov     rbp, rsp
        .seh_setframe rbp, 0
        .seh_endprologue

        mov     rbx, rcx                # function
        mov     rsi, rdx                # arguments
        mov     rdi, r8                 # count
        mov     r12, r9                 # where the difference goes

        # Room for max(count, 4) slots, 16-byte aligned at the call.
        mov     rax, rdi
        cmp     rax, 4
        jae     1f
        mov     eax, 4
1:      lea     rax, [rax*8 + 15]
        and     rax, -16
        and     rsp, -16
        sub     rsp, rax

        xor     ecx, ecx                # copy the arguments into their slots
2:      cmp     rcx, rdi
        jae     3f
        mov     rax, [rsi + rcx*8]
        mov     [rsp + rcx*8], rax
        inc     rcx
        jmp     2b
3:
        mov     rcx, [rsp]
        mov     rdx, [rsp + 8]
        mov     r8,  [rsp + 16]
        mov     r9,  [rsp + 24]
        mov     r13, rsp                # the depth before the call
        call    rbx

        mov     rcx, rsp
        sub     rcx, r13
        mov     [r12], rcx

        mov     rsp, rbp
        pop     r13
        pop     r12
        pop     rdi
        pop     rsi
        pop     rbx
        pop     rbp
        ret
        .seh_endproc
