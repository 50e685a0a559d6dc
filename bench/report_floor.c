/* The floor of what the report can cost: a minimal static C program that makes
 * the reads the report makes (its own path, the time zone, the language
 * library, the settings files, the memory cgroups' limits, /proc/meminfo and
 * the figures of each limiting cgroup once per memory line (each line reads
 * them afresh), /proc/swaps, the process list, the mount table, sysfs and the
 * udev database of each disk, statfs of each volume) and prints as many lines,
 * with no other work. bench/run times the
 * report against it in the same run.
 *   report_floor CATALOGUE
 * C, not C++: no runtime to start, so that what it costs is the reads alone. */
#define _GNU_SOURCE
#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <time.h>
#include <unistd.h>

static char buffer[1 << 20];

/* The whole file into buffer; its length, 0 when it cannot be read. */
static size_t slurp(const char* path) {
    int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 0;
    size_t length = 0;
    ssize_t got;
    while (length < sizeof buffer - 1 &&
           (got = read(fd, buffer + length, sizeof buffer - 1 - length)) > 0)
        length += (size_t)got;
    close(fd);
    buffer[length] = '\0';
    return length;
}

/* The memory cgroup of this process as /proc/self/cgroup names it: the
 * version 1 hierarchy holding the memory controller, else version 2's. */
static int memory_cgroup(char* path, size_t size) {
    if (slurp("/proc/self/cgroup") == 0) return -1;
    int version = -1;
    for (char* line = strtok(buffer, "\n"); line != NULL; line = strtok(NULL, "\n")) {
        char* controllers = strchr(line, ':');
        char* cgroup = controllers ? strchr(controllers + 1, ':') : NULL;
        if (cgroup == NULL) continue;
        *cgroup++ = '\0';
        if (strstr(controllers + 1, "memory") != NULL) {
            snprintf(path, size, "%s", cgroup);
            return 1;
        }
        if (strcmp(line, "0") == 0 && controllers[1] == '\0') {
            snprintf(path, size, "%s", cgroup);
            version = 2;
        }
    }
    return version;
}

#define MAX_LEVELS 64
static char limiting[MAX_LEVELS][4096]; /* the cgroups whose limit is below the machine's */
static int limiting_count;
static int limiting_version;

/* Each level's limit, from the process's cgroup up to the hierarchy's root,
 * where the cgroup file system is usually mounted, as the report reads them
 * once; the levels that limit are kept for the memory lines. */
static void find_limiting_cgroups(unsigned long long mem_total) {
    char cgroup[2048];
    const int version = memory_cgroup(cgroup, sizeof cgroup);
    if (version < 0) return;
    const char* point = version == 1 ? "/sys/fs/cgroup/memory" : "/sys/fs/cgroup";
    char folder[4096];
    struct statfs system;
    struct stat info;
    snprintf(folder, sizeof folder, "%s%s", point, strcmp(cgroup, "/") == 0 ? "" : cgroup);
    if (statfs(point, &system) != 0 || stat(folder, &info) != 0) return;
    limiting_version = version;
    for (;;) {
        char file[4200];
        snprintf(file, sizeof file, "%s/%s", folder,
                 version == 1 ? "memory.limit_in_bytes" : "memory.max");
        if (slurp(file) > 0 && strtoull(buffer, NULL, 10) < mem_total &&
            limiting_count < MAX_LEVELS)
            snprintf(limiting[limiting_count++], sizeof limiting[0], "%s", folder);
        if (strcmp(folder, point) == 0) break;
        *strrchr(folder, '/') = '\0';
    }
}

/* What one memory line reads: /proc/meminfo and each limiting cgroup's use. */
static size_t read_memory(void) {
    size_t length = slurp("/proc/meminfo");
    for (int i = 0; i < limiting_count; ++i) {
        char file[4200];
        snprintf(file, sizeof file, "%.4095s/%s", limiting[i],
                 limiting_version == 1 ? "memory.usage_in_bytes" : "memory.current");
        length += slurp(file);
        snprintf(file, sizeof file, "%.4095s/memory.stat", limiting[i]);
        length += slurp(file);
    }
    return length;
}

static int count_processes(void) {
    DIR* dir = opendir("/proc");
    int count = 0;
    if (dir == NULL) return 0;
    for (struct dirent* entry; (entry = readdir(dir)) != NULL;)
        if (entry->d_name[0] >= '0' && entry->d_name[0] <= '9') ++count;
    closedir(dir);
    return count;
}

/* A kernel file system that stores nothing: not asked. */
static int is_pseudo(const char* type) {
    static const char* const pseudo[] = {
        "proc",        "sysfs",   "devpts",     "devtmpfs",  "cgroup", "cgroup2",  "mqueue",
        "debugfs",     "tracefs", "securityfs", "pstore",    "bpf",    "configfs", "fusectl",
        "binfmt_misc", "nsfs",    "autofs",     "hugetlbfs", NULL};
    for (int i = 0; pseudo[i] != NULL; ++i)
        if (strcmp(type, pseudo[i]) == 0) return 1;
    return 0;
}

/* One line of the mount table: the sysfs and udev reads of its disk, then
 * statfs of its mount point. Returns whether it made a volume line. */
static int ask_mount(char* line) {
    unsigned major = 0, minor = 0;
    char mount_point[4096], type[256];
    if (sscanf(line, "%*d %*d %u:%u %*s %4095s", &major, &minor, mount_point) != 3) return 0;
    const char* separator = strstr(line, " - ");
    if (separator == NULL || sscanf(separator + 3, "%255s", type) != 1 || is_pseudo(type)) return 0;
    if (major != 0) {
        char path[128], target[4096];
        struct stat info;
        snprintf(path, sizeof path, "/sys/dev/block/%u:%u", major, minor);
        if (readlink(path, target, sizeof target) > 0) {
            char attribute[160];
            snprintf(attribute, sizeof attribute, "%s/partition", path);
            stat(attribute, &info);
            snprintf(attribute, sizeof attribute, "%s/removable", path);
            int fd = open(attribute, O_RDONLY | O_CLOEXEC);
            if (fd >= 0) {
                char flag[8];
                if (read(fd, flag, sizeof flag) < 0) flag[0] = '0';
                close(fd);
            }
        }
        snprintf(path, sizeof path, "/run/udev/data/b%u:%u", major, minor);
        int fd = open(path, O_RDONLY | O_CLOEXEC);
        if (fd >= 0) close(fd);
    }
    struct statfs space;
    if (statfs(mount_point, &space) != 0 || space.f_blocks == 0) return 0;
    printf("Free space on %-57s %10llu\n", mount_point,
           (unsigned long long)space.f_bavail * (unsigned long long)space.f_bsize);
    return 1;
}

int main(int argc, char** argv) {
    char exe[4096];
    ssize_t length = readlink("/proc/self/exe", exe, sizeof exe - 1);
    exe[length > 0 ? length : 0] = '\0';
    time_t now = time(NULL);
    struct tm local;
    localtime_r(&now, &local);
    char date[64];
    strftime(date, sizeof date, "%A, %B %d, %Y  %H:%M", &local);
    printf("%40s\n", date);

    if (argc > 1) slurp(argv[1]);
    char settings[4200];
    struct stat info;
    const char* home = getenv("HOME");
    snprintf(settings, sizeof settings, "%s/.config/win.ini", home ? home : "");
    slurp(settings);
    stat("/QUORVANT.INI", &info);
    if (argc > 1) { /* the program's folder, where its catalogue lies */
        char beside[4200];
        const char* slash = strrchr(argv[1], '/');
        snprintf(beside, sizeof beside, "%.*s/QUORVANT.INI", (int)(slash ? slash - argv[1] : 0),
                 argv[1]);
        stat(beside, &info);
    }

    slurp("/proc/meminfo");
    const char* total = strstr(buffer, "MemTotal:");
    find_limiting_cgroups(total ? strtoull(total + 9, NULL, 10) * 1024 : 0);
    printf("Physical memory %55zu\n", read_memory());
    printf("Virtual memory %56zu\n", read_memory());
    size_t swaps = slurp("/proc/swaps");
    printf("Swap %66zu\n", swaps);
    printf("Swap free %61zu\n", read_memory());
    printf("Swap slack %60zu\n", read_memory());
    printf("Number of processes %51d\n", count_processes());

    size_t table_length = slurp("/proc/self/mountinfo");
    static char table[sizeof buffer];
    memcpy(table, buffer, table_length + 1);
    int volumes = 0;
    for (char* line = strtok(table, "\n"); line != NULL; line = strtok(NULL, "\n"))
        volumes += ask_mount(line);
    DIR* labels = opendir("/dev/disk/by-label");
    if (labels != NULL) closedir(labels);
    printf("Free space on all local volumes %39d\n", volumes);
    return 0;
}
