// qemu-ppc 7.2 rejects mffsl and its relatives (mffsce, mffscrn, ...) on its 32-bit processor
// models, yet the hardware those models stand for runs them as a plain mffs, and PowerPC glibc
// relies on that (tan executes mffsl). Test programs therefore give these instructions their
// mffs meaning; every other illegal instruction still ends the process.
#include <signal.h>
#include <ucontext.h>

#include <cstdint>
#include <cstring>

#include "tests/ppc_support/fpscr_move.h"

namespace {

// Index of the next-instruction address among the saved registers (the kernel's pt_regs).
constexpr int kSavedNip = 32;

void dieOfIt() {
    signal(SIGILL, SIG_DFL);
    raise(SIGILL);  // blocked until the handler returns, then fatal
}

void onIllegalInstruction(int, siginfo_t* info, void* context) {
    if (info->si_code <= 0) return dieOfIt();  // sent by a process, not by an instruction
    mcontext_t* saved = static_cast<ucontext_t*>(context)->uc_mcontext.uc_regs;
    unsigned long& nip = saved->gregs[kSavedNip];
    std::uint32_t word = 0;
    std::memcpy(&word, reinterpret_cast<const void*>(nip), sizeof word);
    if (!tovrel::ppc::isFpscrMoveVariant(word)) return dieOfIt();
    // The saved FPSCR image becomes the target register when the handler returns.
    std::memcpy(&saved->fpregs.fpregs[tovrel::ppc::targetRegister(word)], &saved->fpregs.fpscr,
                sizeof(double));
    nip += 4;
}

__attribute__((constructor(101))) void installFpscrTrap() {
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_sigaction = onIllegalInstruction;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    sigaction(SIGILL, &action, nullptr);
}

}  // namespace
