// Preloaded into every i386 program of the root in which the 32-bit Windows
// build runs (scripts/i386-session). qemu-user builds a faulting program's
// signal frame with the trap number -1, and Wine's i386 signal handlers choose
// the Windows exception code from the trap number: every access violation
// would arrive as an illegal instruction. This library wraps sigaction for the
// fault signals and, before the program's handler runs, puts back the number
// the processor gives for the signal and its code.
// Built freestanding with the host's compiler (no i386 C library headers
// there); the C library's own sigaction is found with dlsym at run time.

#if defined(__i386__)

enum { kSigIll = 4, kSigTrap = 5, kSigBus = 7, kSigFpe = 8, kSigSegv = 11, kSignals = 32 };
enum {
    kSaSigInfo = 4,
    kSiKernel = 0x80,
    kFpeIntDiv = 1,
    kFpeIntOvf = 2,
    kBusAdrAln = 1,
    kTrapTrace = 2
};

// The C library's struct sigaction on i386.
struct Action {
    void* handler;
    unsigned long mask[32];
    int flags;
    void* restorer;
};

typedef void Handler(int, void*, void*);
typedef int Sigaction(int, const struct Action*, struct Action*);
void* dlsym(void* library, const char* name);
#define RTLD_NEXT ((void*)-1L)

static Handler* programHandlers[kSignals];

static int IsFault(int signal) {
    return signal == kSigIll || signal == kSigTrap || signal == kSigBus || signal == kSigFpe ||
           signal == kSigSegv;
}

// The processor's exception vector for a fault signal and its si_code.
static int TrapNumber(int signal, int code) {
    switch (signal) {
        case kSigSegv:
            return code == kSiKernel ? 13 : 14;  // general protection, page fault
        case kSigIll:
            return 6;  // invalid opcode
        case kSigFpe:
            return code == kFpeIntDiv ? 0 : code == kFpeIntOvf ? 4 : 16;
        case kSigBus:
            return code == kBusAdrAln ? 17 : 14;  // alignment check, page fault
        default:
            return code == kTrapTrace ? 1 : 3;  // single step, breakpoint
    }
}

// siginfo_t starts with si_signo, si_errno, si_code. The ucontext has three
// words of flags, link and stack before the general registers, of which
// REG_TRAPNO is the thirteenth.
static void MendTrapNumber(int signal, void* info, void* context) {
    int* trapNumber = (int*)((char*)context + 20) + 12;
    if (*trapNumber == -1) *trapNumber = TrapNumber(signal, ((const int*)info)[2]);
    programHandlers[signal](signal, info, context);
}

int sigaction(int signal, const struct Action* action, struct Action* old) {
    static Sigaction* real;
    if (!real) real = (Sigaction*)dlsym(RTLD_NEXT, "sigaction");
    if (!IsFault(signal)) return real(signal, action, old);

    Handler* previous = programHandlers[signal];
    struct Action wrapped;
    if (action) {
        wrapped = *action;
        // SIG_DFL and SIG_IGN are 0 and 1, and plain handlers see no context.
        if ((action->flags & kSaSigInfo) && (unsigned long)action->handler > 1) {
            programHandlers[signal] = (Handler*)action->handler;
            wrapped.handler = (void*)MendTrapNumber;
        }
        action = &wrapped;
    }
    const int result = real(signal, action, old);
    if (old && old->handler == (void*)MendTrapNumber) old->handler = (void*)previous;
    return result;
}

#endif
