/* Preloaded into 32-bit Wine when it runs under qemu-i386 on a kernel that cannot run 32-bit code.
 * qemu 7.2 gets three things wrong that Wine depends on:
 *  - mmap with MAP_FIXED_NOREPLACE maps somewhere else instead of failing, so Wine's reservation of
 *    its address space turns into a minute-long search. Here the address goes down as a hint and a
 *    mapping anywhere else is undone and reported as EEXIST, which is what the kernel would say.
 *  - every signal frame carries trapno -1, and Wine decides from trapno what a fault was: a guard
 *    page or an access violation then looks like an illegal instruction. Here the fault handlers are
 *    wrapped and trapno is rebuilt from the signal number and si_code before Wine sees the frame.
 *  - qemu keeps one global descriptor table for all threads, so the TLS entry behind %gs holds the
 *    base of whichever thread was created last, and every reload of %gs (Wine reloads it on each
 *    switch between Windows and Unix code, qemu at each signal return) hands a thread another
 *    thread's thread-local storage. Here each thread gets a local descriptor of its own with its TLS
 *    base, and %gs is switched to it as the thread starts, before Wine records the selector. A
 *    parent waits for its child's switch before another thread may clone, and a descriptor is taken
 *    again only once its thread has ended (a long-lived process starts and ends many threads).
 * Built as an empty library for x86-64 as well, so that 64-bit processes inheriting LD_PRELOAD
 * (wineserver, Xvfb) load something harmless. */
#if defined(__i386__)
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <signal.h>
#include <stddef.h>
#include <asm/ldt.h>
#include <pthread.h>
#include <sched.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <sys/ucontext.h>
#include <unistd.h>

#ifndef MAP_FIXED_NOREPLACE
#define MAP_FIXED_NOREPLACE 0x100000
#endif

typedef void* (*mmap_fn)(void*, size_t, int, int, int, off_t);
typedef void* (*mmap64_fn)(void*, size_t, int, int, int, off64_t);
typedef int (*sigaction_fn)(int, const struct sigaction*, struct sigaction*);
typedef int (*pthread_create_fn)(pthread_t*, const pthread_attr_t*, void* (*)(void*), void*);

static void* not_where_asked(void* want, void* got, size_t length) {
    if (got == MAP_FAILED || got == want) return got;
    munmap(got, length);
    errno = EEXIST;
    return MAP_FAILED;
}

void* mmap64(void* addr, size_t length, int prot, int flags, int fd, off64_t offset) {
    static mmap64_fn real;
    if (!real) real = (mmap64_fn)dlsym(RTLD_NEXT, "mmap64");
    if (!(flags & MAP_FIXED_NOREPLACE)) return real(addr, length, prot, flags, fd, offset);
    return not_where_asked(addr, real(addr, length, prot, flags & ~MAP_FIXED_NOREPLACE, fd, offset), length);
}

void* mmap(void* addr, size_t length, int prot, int flags, int fd, off_t offset) {
    return mmap64(addr, length, prot, flags, fd, (off64_t)offset);
}

static int is_fault(int signo) {
    return signo == SIGSEGV || signo == SIGBUS || signo == SIGILL || signo == SIGFPE || signo == SIGTRAP;
}

/* x86 exception vectors, as the kernel reports them in trapno. */
enum { kDivide = 0, kDebug = 1, kBreakpoint = 3, kOverflow = 4, kInvalidOpcode = 6, kProtection = 13,
       kPageFault = 14, kFpuError = 16, kAlignment = 17 };

static int trap_of(int signo, const siginfo_t* info) {
    switch (signo) {
    case SIGSEGV: return info->si_code == SI_KERNEL ? kProtection : kPageFault;
    case SIGBUS: return info->si_code == BUS_ADRALN ? kAlignment : kPageFault;
    case SIGILL: return kInvalidOpcode;
    case SIGFPE:
        if (info->si_code == FPE_INTDIV) return kDivide;
        if (info->si_code == FPE_INTOVF) return kOverflow;
        return kFpuError;
    case SIGTRAP: return info->si_code == TRAP_TRACE ? kDebug : kBreakpoint;
    }
    return -1;
}

static unsigned gs_base_now(void) {
    unsigned self;
    __asm__ volatile("movl %%gs:0, %0" : "=r"(self)); /* glibc's thread pointer points at itself */
    return self;
}

static unsigned short gs_now(void) {
    unsigned short selector;
    __asm__ volatile("movw %%gs, %0" : "=r"(selector));
    return selector;
}

static void load_gs(unsigned short selector) {
    __asm__ volatile("movw %0, %%gs" : : "r"(selector));
}

static struct user_desc tls_descriptor(unsigned entry, unsigned base) {
    struct user_desc desc = {0};
    desc.entry_number = entry;
    desc.base_addr = base;
    desc.limit = 0xfffff;
    desc.seg_32bit = 1;
    desc.limit_in_pages = 1;
    desc.useable = 1;
    return desc;
}

/* Wine leaves the first 512 local descriptors to a C library that keeps %gs there. Entries are handed
 * out round the table, skipping those in use, so a freed one waits a full round before it is taken
 * again: a thread still on its way out after its key's destructor keeps a valid %gs meanwhile. */
enum { kOwnEntries = 511 };
static unsigned s_nextEntry;
static volatile unsigned char s_inUse[kOwnEntries + 1];
static pthread_key_t s_entryKey;
static unsigned short s_globalSelector; /* the C library's own TLS selector */
static volatile int s_cloneLock;

static unsigned take_entry(void) {
    for (unsigned tries = 0; tries < kOwnEntries; ++tries) {
        const unsigned index = 1 + __sync_fetch_and_add(&s_nextEntry, 1) % kOwnEntries;
        if (__sync_bool_compare_and_swap(&s_inUse[index], 0, 1)) return index;
    }
    return 0;
}

static void release_entry(void* index) {
    __sync_lock_release(&s_inUse[(unsigned)(size_t)index]);
}

static void own_tls_selector(void) {
    const unsigned index = take_entry();
    if (index == 0) return; /* every entry taken: the thread keeps the C library's selector */
    struct user_desc desc = tls_descriptor(index, gs_base_now());
    if (syscall(SYS_modify_ldt, 1, &desc, sizeof desc) != 0) {
        release_entry((void*)(size_t)index);
        return;
    }
    load_gs((unsigned short)(index << 3 | 4 | 3)); /* local table, ring 3 */
    pthread_setspecific(s_entryKey, (void*)(size_t)index);
}

struct thread_start {
    void* (*start)(void*);
    void* arg;
    volatile int switched;
};

static void* started_thread(void* param) {
    struct thread_start* start = param;
    void* (*routine)(void*) = start->start;
    void* arg = start->arg;
    own_tls_selector();
    __sync_lock_test_and_set(&start->switched, 1); /* the parent's frame may go from here on */
    return routine(arg);
}

/* A new thread starts with its parent's %gs selector and the C library's descriptor set to its own base,
 * so the parent must hold the global selector, pointing at its own base, while it clones. */
int pthread_create(pthread_t* thread, const pthread_attr_t* attr, void* (*start)(void*), void* arg) {
    static pthread_create_fn real;
    if (!real) real = (pthread_create_fn)dlsym(RTLD_NEXT, "pthread_create");
    struct thread_start param = {start, arg, 0};

    while (__sync_lock_test_and_set(&s_cloneLock, 1)) sched_yield();
    const unsigned short own = gs_now();
    if (own != s_globalSelector) {
        struct user_desc desc = tls_descriptor(s_globalSelector >> 3, gs_base_now());
        syscall(SYS_set_thread_area, &desc);
        load_gs(s_globalSelector);
    }
    int result = real(thread, attr, started_thread, &param);
    load_gs(own);
    /* Until the child has its own selector it reads its base through the global descriptor, which the
     * next clone would point elsewhere. */
    while (result == 0 && !param.switched) sched_yield();
    __sync_lock_release(&s_cloneLock);
    return result;
}

__attribute__((constructor)) static void main_thread_selector(void) {
    s_globalSelector = gs_now();
    pthread_key_create(&s_entryKey, release_entry);
    own_tls_selector();
}

#define NSIG_SEEN 65
static void (*s_handlers[NSIG_SEEN])(int, siginfo_t*, void*);

static void mended_handler(int signo, siginfo_t* info, void* context) {
    ucontext_t* uc = context;
    if (uc && (int)uc->uc_mcontext.gregs[REG_TRAPNO] == -1) uc->uc_mcontext.gregs[REG_TRAPNO] = trap_of(signo, info);
    s_handlers[signo](signo, info, context);
}

int sigaction(int signo, const struct sigaction* act, struct sigaction* old) {
    static sigaction_fn real;
    if (!real) real = (sigaction_fn)dlsym(RTLD_NEXT, "sigaction");
    if (!is_fault(signo)) return real(signo, act, old);

    void (*previous)(int, siginfo_t*, void*) = s_handlers[signo];
    struct sigaction mine;
    const struct sigaction* pass = act;
    if (act && (act->sa_flags & SA_SIGINFO) && act->sa_handler != SIG_DFL && act->sa_handler != SIG_IGN) {
        mine = *act;
        mine.sa_sigaction = mended_handler;
        pass = &mine;
    }
    /* The wrapped handler must be known before the kernel can deliver to the wrapper. */
    if (pass == &mine) s_handlers[signo] = act->sa_sigaction;
    int result = real(signo, pass, old);
    if (result != 0) {
        s_handlers[signo] = previous;
        return result;
    }
    if (old && old->sa_sigaction == mended_handler) old->sa_sigaction = previous;
    return 0;
}
#endif
