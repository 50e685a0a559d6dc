/* Times programs taking turns: one run of each, then the next round, so that
 * the machine's drift (another program waking, the host's clock) touches them
 * all alike. hyperfine times each program's runs in a block of their own; on
 * this virtual machine two blocks a few seconds apart differ by more than the
 * 5% that bench/run compares, which runs taking turns do not.
 *   alternate RUNS COMMAND...
 * Each COMMAND is a program and its arguments separated by spaces (no shell).
 * Prints, a line per command, the median wall time of a run in microseconds,
 * from fork to the end of the wait, with output sent to /dev/null, and the
 * mean processor time (user and system) of a run, which does not count the
 * waits of a busy machine. */
#define _GNU_SOURCE
#include <errno.h>
#include <fcntl.h>
#include <spawn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

enum { kMaxCommands = 8, kMaxArguments = 16, kWarmupRounds = 20 };

extern char** environ;

static double Now(void) {
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (double)now.tv_sec * 1e6 + (double)now.tv_nsec / 1e3;
}

static double Microseconds(struct timeval time) {
    return (double)time.tv_sec * 1e6 + (double)time.tv_usec;
}

/* One run of the program: its wall time in microseconds, with its processor
 * time added to `cpu`; exits when it cannot be run or fails. */
static double TimeOneRun(char* const* argv, const posix_spawn_file_actions_t* quiet, double* cpu) {
    const double start = Now();
    pid_t child;
    if (posix_spawn(&child, argv[0], quiet, NULL, argv, environ) != 0) {
        fprintf(stderr, "alternate: cannot run %s\n", argv[0]);
        exit(2);
    }
    int status;
    struct rusage usage;
    while (wait4(child, &status, 0, &usage) < 0) {
        if (errno != EINTR) {
            perror("alternate: wait4");
            exit(2);
        }
    }
    const double took = Now() - start;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        fprintf(stderr, "alternate: %s failed\n", argv[0]);
        exit(2);
    }
    *cpu += Microseconds(usage.ru_utime) + Microseconds(usage.ru_stime);
    return took;
}

static int Ascending(const void* a, const void* b) {
    const double x = *(const double*)a, y = *(const double*)b;
    return (x > y) - (x < y);
}

int main(int argc, char** argv) {
    const int runs = argc > 1 ? atoi(argv[1]) : 0;
    const int commands = argc - 2;
    if (runs <= 0 || commands < 1 || commands > kMaxCommands) {
        fprintf(stderr, "usage: alternate RUNS COMMAND... (at most %d)\n", kMaxCommands);
        return 2;
    }
    char* arguments[kMaxCommands][kMaxArguments + 1] = {{0}};
    for (int c = 0; c < commands; ++c) {
        int n = 0;
        for (char* word = strtok(argv[c + 2], " "); word; word = strtok(NULL, " ")) {
            if (n == kMaxArguments) {
                fprintf(stderr, "alternate: at most %d words a command\n", kMaxArguments);
                return 2;
            }
            arguments[c][n++] = word;
        }
    }
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&quiet, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

    double cpu[kMaxCommands] = {0};
    for (int round = 0; round < kWarmupRounds; ++round)
        for (int c = 0; c < commands; ++c) TimeOneRun(arguments[c], &quiet, &cpu[c]);
    double* times = malloc(sizeof(double) * (size_t)runs * (size_t)commands);
    if (!times) return 2;
    for (int c = 0; c < commands; ++c) cpu[c] = 0;  // the warm-up's is not counted
    for (int round = 0; round < runs; ++round)
        for (int c = 0; c < commands; ++c)
            times[(size_t)c * (size_t)runs + (size_t)round] =
                TimeOneRun(arguments[c], &quiet, &cpu[c]);
    for (int c = 0; c < commands; ++c) {
        double* mine = times + (size_t)c * (size_t)runs;
        qsort(mine, (size_t)runs, sizeof(double), Ascending);
        printf("%.1f %.1f\n", runs % 2 ? mine[runs / 2] : (mine[runs / 2 - 1] + mine[runs / 2]) / 2,
               cpu[c] / runs);
    }
    free(times);
    return 0;
}
