/* Time from starting a program to the first map of one of its top-level
 * windows, on the X display in $DISPLAY (an Xvfb without a window manager:
 * top-level windows are children of the root).  The program is then ended.
 * Beside the wall-clock time, the processor time its threads had used by
 * then, which a busy machine disturbs far less.  That count misses threads
 * that had already ended, and processes the program started; a third figure
 * has them: the processor time of the whole process and the children it
 * waited for, when it has been ended (a little past the map).
 *
 *   maptime RUNS PROGRAM [ARGS...]
 *     prints "WALL CPU TOTAL" in ms per run, then the medians
 *
 * The same watch serves every program it starts, so two programs are timed
 * alike. */
#define _DEFAULT_SOURCE /* wait4 */
#define _POSIX_C_SOURCE 200809L
#include <X11/Xlib.h>
#include <dirent.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/select.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double Now(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

static int Compare(const void* a, const void* b) {
    const double x = *(const double*)a, y = *(const double*)b;
    return (x > y) - (x < y);
}

static double Median(double* values, int n) {
    qsort(values, (size_t)n, sizeof *values, Compare);
    return n % 2 ? values[n / 2] : 0.5 * (values[n / 2 - 1] + values[n / 2]);
}

/* Processor time of every thread of `pid` so far, ms (the scheduler's
 * nanosecond count). */
static double CpuTime(pid_t pid) {
    char path[64];
    snprintf(path, sizeof path, "/proc/%d/task", (int)pid);
    DIR* tasks = opendir(path);
    if (tasks == NULL) return -1.0;
    double total = 0.0;
    struct dirent* task;
    while ((task = readdir(tasks)) != NULL) {
        if (task->d_name[0] == '.') continue;
        char file[400];
        snprintf(file, sizeof file, "%s/%s/schedstat", path, task->d_name);
        FILE* in = fopen(file, "r");
        unsigned long long ns = 0;
        if (in != NULL && fscanf(in, "%llu", &ns) == 1) total += ns / 1e6;
        if (in != NULL) fclose(in);
    }
    closedir(tasks);
    return total;
}

static double Milliseconds(struct timeval t) {
    return t.tv_sec * 1e3 + t.tv_usec / 1e3;
}

/* One run: -1 when no window mapped within 20 s. */
static double TimeToMap(Display* display, char** argv, double* cpu, double* total) {
    Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, True); /* drop what came before */
    const double start = Now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[0], argv);
        _exit(127);
    }
    double mapped = -1.0;
    const int fd = ConnectionNumber(display);
    while (Now() - start < 20000.0 && mapped < 0.0) {
        while (XPending(display) && mapped < 0.0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && event.xmap.event == root &&
                !event.xmap.override_redirect) {
                mapped = Now() - start;
                *cpu = CpuTime(child);
            }
        }
        if (mapped >= 0.0) break;
        fd_set in;
        FD_ZERO(&in);
        FD_SET(fd, &in);
        struct timeval wait = {0, 20000};
        select(fd + 1, &in, NULL, NULL, &wait);
        if (waitpid(child, NULL, WNOHANG) == child) return -1.0; /* ended without a window */
    }
    kill(child, SIGTERM);
    struct rusage usage;
    if (wait4(child, NULL, 0, &usage) == child)
        *total = Milliseconds(usage.ru_utime) + Milliseconds(usage.ru_stime);
    XSelectInput(display, root, NoEventMask);
    return mapped;
}

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: maptime RUNS PROGRAM [ARGS...]\n");
        return 2;
    }
    const int runs = atoi(argv[1]);
    /* A server busy with the last run's exit may refuse a connection for a
     * moment: a few tries, before any clock starts. */
    Display* display = NULL;
    for (int attempt = 0; attempt < 50 && display == NULL; ++attempt) {
        display = XOpenDisplay(NULL);
        if (display == NULL) nanosleep(&(struct timespec){0, 100000000}, NULL);
    }
    if (display == NULL || runs < 1) {
        fprintf(stderr, "maptime: no X display, or no runs\n");
        return 2;
    }
    double* times = calloc((size_t)runs, sizeof *times);
    double* cpus = calloc((size_t)runs, sizeof *cpus);
    double* totals = calloc((size_t)runs, sizeof *totals);
    for (int i = 0; i < runs; ++i) {
        cpus[i] = totals[i] = -1.0;
        times[i] = TimeToMap(display, argv + 2, &cpus[i], &totals[i]);
        printf("%.1f %.1f %.1f\n", times[i], cpus[i], totals[i]);
        fflush(stdout);
        nanosleep(&(struct timespec){0, 200000000}, NULL); /* let the exit settle */
    }
    printf("median %.1f ms, processor %.1f ms (%.1f ms to the end, with ended threads and "
           "children), over %d runs: %s\n",
           Median(times, runs), Median(cpus, runs), Median(totals, runs), runs, argv[2]);
    free(times);
    free(cpus);
    free(totals);
    return 0;
}
