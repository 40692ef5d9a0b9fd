/* Preloaded into drovane3d (and the bare baseline) by run_bench.py: notes,
 * on the microsecond, when every frame starts (its first glClear after a
 * swap) and when its buffer swap is called and returns, and counts the heap
 * allocations made directly by code in the executable itself (not by SDL,
 * Mesa or the C++ runtime on their own behalf), so the allocations per
 * frame of our code can be told apart, and the process's CPU time up to
 * the first swap. Writes its record to
 * $DROVANE_PROBE_OUT when the process ends, or straight after the first
 * swap when $DROVANE_PROBE_EXIT_AFTER_FIRST_FRAME is set (start-up runs
 * need nothing after that). */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#define MAX_SWAPS 200000

struct frame {
  double start; /* first glClear since the previous swap; 0: none */
  double swap;
  double swapped;
  unsigned long allocs;
  long start_switches;   /* the calling thread's context switches so far */
  long swapped_switches;
};

static struct frame frames[MAX_SWAPS];
static double frame_start;
static long frame_start_switches;
static unsigned long swap_count;
static unsigned long own_allocs;
static double start_time;
static double first_frame_cpu; /* process CPU time at the first swap */
static uintptr_t exe_low, exe_high;

static double process_cpu(void) {
  struct timespec ts;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return (double)ts.tv_sec + (double)ts.tv_nsec / 1e9;
}

/* Voluntary and involuntary context switches of the calling thread: those
 * between a swap and the next frame's start are the loop's wait. */
static long thread_switches(void) {
  struct rusage usage;
  if (getrusage(RUSAGE_THREAD, &usage) != 0) return 0;
  return usage.ru_nvcsw + usage.ru_nivcsw;
}

static void* (*real_malloc)(size_t);
static void* (*real_calloc)(size_t, size_t);
static void* (*real_realloc)(void*, size_t);
static void (*real_swap)(void*);
static void (*real_clear)(unsigned);

static double now(void) {
  struct timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return (double)ts.tv_sec + (double)ts.tv_nsec / 1e9;
}

/* The executable's mapped text, from /proc/self/maps. */
static void find_exe_range(void) {
  char exe[4096];
  ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
  if (n <= 0) return;
  exe[n] = 0;
  FILE* maps = fopen("/proc/self/maps", "r");
  if (!maps) return;
  char line[8192];
  while (fgets(line, sizeof line, maps)) {
    unsigned long lo, hi;
    char perms[8];
    if (sscanf(line, "%lx-%lx %7s", &lo, &hi, perms) == 3 && perms[2] == 'x' &&
        strstr(line, exe)) {
      exe_low = lo;
      exe_high = hi;
    }
  }
  fclose(maps);
}

static int from_exe(const void* caller) {
  uintptr_t at = (uintptr_t)caller;
  return at >= exe_low && at < exe_high;
}

/* dlsym may itself call calloc: serve that from a small static buffer. */
static char bootstrap[4096];
static size_t bootstrap_used;

static void* bootstrap_alloc(size_t bytes) {
  void* p = bootstrap + bootstrap_used;
  bootstrap_used += (bytes + 15) & ~(size_t)15;
  return bootstrap_used <= sizeof bootstrap ? p : NULL;
}

__attribute__((constructor)) static void probe_start(void) {
  start_time = now();
  real_malloc = dlsym(RTLD_NEXT, "malloc");
  real_calloc = dlsym(RTLD_NEXT, "calloc");
  real_realloc = dlsym(RTLD_NEXT, "realloc");
  find_exe_range();
}

void* malloc(size_t bytes) {
  if (!real_malloc) return bootstrap_alloc(bytes);
  if (from_exe(__builtin_return_address(0))) own_allocs++;
  return real_malloc(bytes);
}

void* calloc(size_t count, size_t bytes) {
  if (!real_calloc) {
    void* p = bootstrap_alloc(count * bytes);
    if (p) memset(p, 0, count * bytes);
    return p;
  }
  if (from_exe(__builtin_return_address(0))) own_allocs++;
  return real_calloc(count, bytes);
}

void* realloc(void* block, size_t bytes) {
  if (from_exe(__builtin_return_address(0))) own_allocs++;
  return real_realloc(block, bytes);
}

void free(void* block) {
  static void (*real_free)(void*);
  if ((char*)block >= bootstrap && (char*)block < bootstrap + sizeof bootstrap) return;
  if (!real_free) real_free = dlsym(RTLD_NEXT, "free");
  real_free(block);
}

/* operator new called from our own code. */
void* _Znwm(size_t bytes) {
  if (from_exe(__builtin_return_address(0))) own_allocs++;
  return real_malloc(bytes ? bytes : 1);
}

void* _Znam(size_t bytes) {
  if (from_exe(__builtin_return_address(0))) own_allocs++;
  return real_malloc(bytes ? bytes : 1);
}

static void write_record(void) {
  const char* path = getenv("DROVANE_PROBE_OUT");
  if (!path) return;
  FILE* out = fopen(path, "w");
  if (!out) return;
  fprintf(out, "start %.6f\n", start_time);
  fprintf(out, "own_allocs %lu\n", own_allocs);
  fprintf(out, "first_frame_cpu %.6f\n", first_frame_cpu);
  unsigned long n = swap_count < MAX_SWAPS ? swap_count : MAX_SWAPS;
  for (unsigned long i = 0; i < n; i++)
    fprintf(out, "frame %.6f %.6f %.6f %lu %ld %ld\n", frames[i].start, frames[i].swap,
            frames[i].swapped, frames[i].allocs, frames[i].start_switches,
            frames[i].swapped_switches);
  fclose(out);
}

void glClear(unsigned mask) {
  if (!real_clear) real_clear = dlsym(RTLD_NEXT, "glClear");
  if (frame_start == 0) {
    frame_start = now();
    frame_start_switches = thread_switches();
  }
  real_clear(mask);
}

void SDL_GL_SwapWindow(void* window) {
  if (!real_swap) real_swap = dlsym(RTLD_NEXT, "SDL_GL_SwapWindow");
  double called = now();
  if (swap_count == 0) first_frame_cpu = process_cpu();
  real_swap(window);
  if (swap_count < MAX_SWAPS) {
    struct frame* f = &frames[swap_count];
    f->start = frame_start;
    f->swap = called;
    f->swapped = now();
    f->allocs = own_allocs;
    f->start_switches = frame_start_switches;
    f->swapped_switches = thread_switches();
  }
  frame_start = 0;
  swap_count++;
  if (swap_count == 1 && getenv("DROVANE_PROBE_EXIT_AFTER_FIRST_FRAME")) {
    write_record();
    _exit(0);
  }
}

__attribute__((destructor)) static void probe_end(void) { write_record(); }
