// Mount tables where one store of free space shows through several mounts
// with device numbers of their own, or through none: each table says in its
// header where it comes from.
#include "platform/posix/host_mount_tables.h"

namespace qv::test {
namespace {

// A file system's statfs: what the user may write, its blocks, its f_fsid
// and its inodes.
FreeSpace Statfs(std::uint64_t freeBytes, std::uint64_t blocks, std::uint64_t id = 0,
                 std::uint64_t files = 0) {
    return {freeBytes, blocks, id, files};
}

// Captured on Docker Desktop 29.7.2 (macOS, kernel 7.0.12-linuxkit) with
// `docker run --rm alpine:3.20 sh -c 'cat /proc/self/mountinfo'`, as
// published in the test data of the yuzu project's filesystem posture
// parsers (test_filesystem_posture_parsers.cpp, kMountinfoContainerOverlay).
// The root is an overlay whose upper layer lies on the VM's disk outside the
// container's view, and /etc/resolv.conf, /etc/hostname and /etc/hosts are
// files of that disk bound in. statfs gives the overlay the size of its upper
// layer's disk, under an id of its own (uuid=on, as recent kernels mount a
// new overlay): one store, shown as "/", counted once.
HostTable DockerDesktopContainer() {
    HostTable host;
    host.Name = "DockerDesktopContainer";
    host.MountInfo =
        R"(205 147 0:58 / / rw,relatime - overlay overlay rw,lowerdir=/var/lib/desktop-containerd/daemon/io.containerd.snapshotter.v1.overlayfs/snapshots/1583/fs:/var/lib/desktop-containerd/daemon/io.containerd.snapshotter.v1.overlayfs/snapshots/57/fs,upperdir=/var/lib/desktop-containerd/daemon/io.containerd.snapshotter.v1.overlayfs/snapshots/1584/fs,workdir=/var/lib/desktop-containerd/daemon/io.containerd.snapshotter.v1.overlayfs/snapshots/1584/work,nouserxattr
207 205 0:81 / /proc rw,nosuid,nodev,noexec,relatime - proc proc rw
208 205 0:82 / /dev rw,nosuid - tmpfs tmpfs rw,size=65536k,mode=755
209 208 0:83 / /dev/pts rw,nosuid,noexec,relatime - devpts devpts rw,gid=5,mode=620,ptmxmode=666
210 205 0:84 / /sys ro,nosuid,nodev,noexec,relatime - sysfs sysfs ro
211 210 0:41 / /sys/fs/cgroup ro,nosuid,nodev,noexec,relatime - cgroup2 cgroup rw
212 208 0:79 / /dev/mqueue rw,nosuid,nodev,noexec,relatime - mqueue mqueue rw
213 208 0:85 / /dev/shm rw,nosuid,nodev,noexec,relatime - tmpfs shm rw,size=65536k
214 205 254:1 /docker/containers/d7cf4a90b62bf641f5fe93088fc5695a1a008d0d13773162d5ae74be19b133d3/resolv.conf /etc/resolv.conf rw,relatime - ext4 /dev/vda1 rw,discard
215 205 254:1 /docker/containers/d7cf4a90b62bf641f5fe93088fc5695a1a008d0d13773162d5ae74be19b133d3/hostname /etc/hostname rw,relatime - ext4 /dev/vda1 rw,discard
216 205 254:1 /docker/containers/d7cf4a90b62bf641f5fe93088fc5695a1a008d0d13773162d5ae74be19b133d3/hosts /etc/hosts rw,relatime - ext4 /dev/vda1 rw,discard
148 207 0:81 /bus /proc/bus ro,nosuid,nodev,noexec,relatime - proc proc rw
149 207 0:81 /fs /proc/fs ro,nosuid,nodev,noexec,relatime - proc proc rw
150 207 0:81 /irq /proc/irq ro,nosuid,nodev,noexec,relatime - proc proc rw
151 207 0:81 /sys /proc/sys ro,nosuid,nodev,noexec,relatime - proc proc rw
152 207 0:81 /sysrq-trigger /proc/sysrq-trigger ro,nosuid,nodev,noexec,relatime - proc proc rw
153 207 0:82 /null /proc/interrupts rw,nosuid - tmpfs tmpfs rw,size=65536k,mode=755
154 207 0:82 /null /proc/kcore rw,nosuid - tmpfs tmpfs rw,size=65536k,mode=755
155 207 0:82 /null /proc/keys rw,nosuid - tmpfs tmpfs rw,size=65536k,mode=755
156 207 0:86 / /proc/scsi ro,relatime - tmpfs tmpfs ro,size=4k,nr_inodes=1
157 207 0:82 /null /proc/timer_list rw,nosuid - tmpfs tmpfs rw,size=65536k,mode=755
158 210 0:86 / /sys/firmware ro,relatime - tmpfs tmpfs ro,size=4k,nr_inodes=1
)";
    host.Devices = {{"/dev/vda1", {Disk("vda1", false, false, "vda"), ""}}};
    const FreeSpace vmDisk = Statfs(79456894976, 15358440, 0x1f5c03a2b7e94d60, 3842048);
    const FreeSpace overlay = Statfs(79456894976, 15358440, 0x4a9775f672c2a864, 3842048);
    host.Space = {{"0:58", overlay},
                  {"254:1", vmDisk},
                  {"0:82", Tmpfs(65536)},
                  {"0:85", Tmpfs(65536)},
                  {"0:86", Tmpfs(4)}};
    // Counted once, not twice. The masks over /proc/scsi and /sys/firmware
    // are read-only file systems: nothing to write there.
    host.Lines = {
        {"Free space on all local volumes", Bytes(79456894976)},
        {"Free space on / (overlay)", Bytes(79456894976)},
        {"Free space on /dev (tmpfs)", Bytes(67108864)},
        {"Free space on /dev/shm (tmpfs)", Bytes(67108864)},
    };
    return host;
}

// The VM of the same Docker Desktop, seen from its PID 1 (`docker run --rm
// --privileged --pid=host alpine:3.20 sh -c 'cat /proc/1/mountinfo'`), from
// the same published test data (kMountinfoVmNative). The VM boots from an
// erofs image; its root is an overlay whose upper layer is the tmpfs on
// /run, so what is written to / goes to RAM. The Mac's folders come over
// virtiofs, and the containers' overlays write to the disk on /var/lib.
HostTable DockerDesktopVm() {
    HostTable host;
    host.Name = "DockerDesktopVm";
    host.MountInfo =
        R"(26 32 254:16 / /oldroot ro,relatime - erofs /dev/root ro,user_xattr,acl,cache_strategy=readaround
27 26 0:7 / /oldroot/dev rw,relatime - devtmpfs devtmpfs rw,size=4061136k,nr_inodes=1015284,mode=755
28 26 0:24 / /oldroot/proc rw,nosuid,nodev,noexec,relatime - proc proc rw
29 26 0:25 / /oldroot/run rw,nosuid,nodev,noexec,relatime - tmpfs tmpfs rw,size=812452k,mode=755
32 1 0:26 / / rw,relatime - overlay overlay rw,lowerdir=/,upperdir=/run/rootfs.upper,workdir=/run/rootfs.workdir,uuid=on,nouserxattr
33 32 0:7 / /dev rw,nosuid,noexec,relatime - devtmpfs devtmpfs rw,size=4061136k,nr_inodes=1015284,mode=755
34 32 0:29 / /proc rw,nosuid,nodev,noexec,relatime - proc proc rw
35 32 0:30 / /run rw,nosuid,nodev,noexec,relatime - tmpfs tmpfs rw,size=812452k,mode=755
36 32 0:31 / /var rw,nosuid,nodev,noexec,relatime - tmpfs tmpfs rw,size=4062260k,mode=755
37 32 0:32 / /host_mnt rw,nosuid,nodev,noexec,relatime - tmpfs tmpfs rw,size=812452k,mode=755
38 32 0:33 / /tmp rw,nosuid,nodev,noexec,relatime - tmpfs tmpfs rw,size=812452k
39 33 0:23 / /dev/mqueue rw,nosuid,nodev,noexec,relatime - mqueue mqueue rw
40 33 0:34 / /dev/shm rw,nosuid,nodev,noexec,relatime - tmpfs shm rw
41 33 0:35 / /dev/pts rw,nosuid,noexec,relatime - devpts devpts rw,mode=620,ptmxmode=666
42 32 0:36 / /sys rw,nosuid,nodev,noexec,relatime - sysfs sysfs rw
43 42 0:8 / /sys/kernel/security rw,nosuid,nodev,noexec,relatime - securityfs securityfs rw
44 42 0:9 / /sys/kernel/debug rw,nosuid,nodev,noexec,relatime - debugfs debugfs rw
45 42 0:37 / /sys/kernel/config rw,nosuid,nodev,noexec,relatime - configfs configfs rw
46 42 0:38 / /sys/fs/fuse/connections rw,nosuid,nodev,noexec,relatime - fusectl fusectl rw
47 42 0:39 / /sys/fs/pstore rw,nosuid,nodev,noexec,relatime - pstore none rw
48 42 0:40 / /sys/fs/bpf rw,nodev,relatime - bpf bpffs rw
49 42 0:41 /../.. /sys/fs/cgroup rw,nosuid,nodev,noexec,relatime - cgroup2 cgroup2 rw
50 35 0:5 net:[4026532334] /run/netns/services rw - nsfs nsfs rw
51 35 0:42 / /run/rpc_pipefs rw,relatime - rpc_pipefs rpc_pipefs rw
52 34 0:44 / /proc/sys/fs/binfmt_misc rw,relatime - binfmt_misc binfmt_misc rw
53 37 0:43 / /host_mnt/Users rw,nosuid,nodev,relatime - virtiofs virtiofs0 rw,ignore_atime,no_xattr
54 37 0:45 / /host_mnt/Volumes rw,nosuid,nodev,relatime - virtiofs virtiofs1 rw,ignore_atime,no_xattr
55 37 0:46 / /host_mnt/private rw,nosuid,nodev,relatime - virtiofs virtiofs2 rw,ignore_atime,no_xattr
56 37 0:47 / /host_mnt/tmp rw,nosuid,nodev,relatime - virtiofs virtiofs3 rw,ignore_atime,no_xattr
57 37 0:48 / /host_mnt/var/folders rw,nosuid,nodev,relatime - virtiofs virtiofs4 rw,ignore_atime,no_xattr
58 35 0:49 / /run/rosetta.orig rw,relatime - virtiofs ROSETTA rw,negative_dentry_timeout=3600,entry_timeout=3600,attr_timeout=3600,ignore_atime,no_flush,keep_cache
59 36 254:1 / /var/lib rw,relatime - ext4 /dev/vda1 rw,discard
60 44 0:14 / /sys/kernel/debug/tracing rw,nosuid,nodev,noexec,relatime - tracefs tracefs rw
61 35 0:50 / /run/jfs rw,nosuid,nodev,relatime - fuse.rawBridge rawBridge rw,user_id=0,group_id=0,allow_other,max_read=131072
62 35 0:51 / /run/rosetta rw,nosuid,nodev,relatime - fuse.rosetta-mount rosetta-mount rw,user_id=0,group_id=0,allow_other
63 35 0:52 / /run/mutagen-file-shares-mark rw,nosuid,nodev,relatime - selfowner /var/lib/mutagen/file-shares rw,mark
64 35 0:53 / /run/mutagen-file-shares rw,nosuid,nodev,relatime - selfowner /run/mutagen-file-shares-mark rw
65 59 254:1 /docker /var/lib/docker rw,relatime shared:1 - ext4 /dev/vda1 rw,discard
81 65 0:54 / /var/lib/docker/rootfs/overlayfs/5b39ddbcee47957bc2f6684600d5e9c507c511ed7d87f2ccf858e1634cfaac62 rw,relatime shared:2 - overlay overlay rw,lowerdir=/var/lib/desktop-containerd/daemon/io.containerd.snapshotter.v1.overlayfs/snapshots/562/fs:/var/lib/desktop-containerd/daemon/io.containerd.snapshotter.v1.overlayfs/snapshots/513/fs,upperdir=/var/lib/desktop-containerd/daemon/io.containerd.snapshotter.v1.overlayfs/snapshots/563/fs,workdir=/var/lib/desktop-containerd/daemon/io.containerd.snapshotter.v1.overlayfs/snapshots/563/work,nouserxattr
82 35 0:5 net:[4026532558] /run/docker/netns/e18e5a8ce364 rw - nsfs nsfs rw
112 65 0:56 / /var/lib/docker/rootfs/overlayfs/20442ef1a63cdf8bc139acdaf26d5564c34b5918a6cf50f8943faa807b907251 rw,relatime shared:3 - overlay overlay rw,lowerdir=/var/lib/desktop-containerd/daemon/io.containerd.snapshotter.v1.overlayfs/snapshots/1037/fs:/var/lib/desktop-containerd/daemon/io.containerd.snapshotter.v1.overlayfs/snapshots/513/fs,upperdir=/var/lib/desktop-containerd/daemon/io.containerd.snapshotter.v1.overlayfs/snapshots/1038/fs,workdir=/var/lib/desktop-containerd/daemon/io.containerd.snapshotter.v1.overlayfs/snapshots/1038/work,nouserxattr
113 35 0:5 net:[4026532694] /run/docker/netns/91998d54b972 rw - nsfs nsfs rw
142 65 0:58 / /var/lib/docker/rootfs/overlayfs/c4075a1d7571beefde5fc2cce219a92ab1ca5b85916effca0d6d021a47e885a7 rw,relatime shared:4 - overlay overlay rw,lowerdir=/var/lib/desktop-containerd/daemon/io.containerd.snapshotter.v1.overlayfs/snapshots/1586/fs:/var/lib/desktop-containerd/daemon/io.containerd.snapshotter.v1.overlayfs/snapshots/57/fs,upperdir=/var/lib/desktop-containerd/daemon/io.containerd.snapshotter.v1.overlayfs/snapshots/1587/fs,workdir=/var/lib/desktop-containerd/daemon/io.containerd.snapshotter.v1.overlayfs/snapshots/1587/work,nouserxattr
143 35 0:5 net:[4026532829] /run/docker/netns/54d7f8c3d163 rw - nsfs nsfs rw
)";
    host.Devices = {{"/dev/vda1", {Disk("vda1", false, false, "vda"), ""}},
                    {"/dev/root", {Disk("vda", false, false, "vda"), ""}}};
    const FreeSpace run = Tmpfs(812452, 30112);  // the root's upper layer
    const FreeSpace mac = Statfs(402653184000, 241965056);
    host.Space = {{"254:16", Statfs(0, 98304)},
                  {"0:25", Tmpfs(812452, 52)},
                  {"0:26", run},
                  {"0:30", run},
                  {"0:31", Tmpfs(4062260, 16)},
                  {"0:32", Tmpfs(812452)},
                  {"0:33", Tmpfs(812452, 8)},
                  {"0:34", Tmpfs(4062260)},
                  {"0:43", mac},
                  {"0:45", mac},
                  {"0:46", mac},
                  {"0:47", mac},
                  {"0:48", mac},
                  {"0:49", mac},
                  {"254:1", Statfs(52776558592, 15350266, 0x5d2e7ab1c0f34a19)},
                  {"0:50", Statfs(0, 0)},
                  {"0:51", Statfs(0, 0)}};
    // The erofs image holds nothing to write; / is the RAM of /run, listed
    // once under "/"; the containers' overlays are the disk on /var/lib.
    host.Lines = {
        {"Free space on all local volumes", Bytes(52776558592)},
        {"Free space on /oldroot/run (tmpfs)", Bytes((812452 - 52) * 1024ULL)},
        {"Free space on / (overlay)", Bytes((812452 - 30112) * 1024ULL)},
        {"Free space on /var (tmpfs)", Bytes((4062260 - 16) * 1024ULL)},
        {"Free space on /host_mnt (tmpfs)", Bytes(812452 * 1024ULL)},
        {"Free space on /tmp (tmpfs)", Bytes((812452 - 8) * 1024ULL)},
        {"Free space on /dev/shm (tmpfs)", Bytes(4062260 * 1024ULL)},
        {"Free space on /host_mnt/Users (virtiofs)", Bytes(402653184000)},
        {"Free space on /host_mnt/Volumes (virtiofs)", Bytes(402653184000)},
        {"Free space on /host_mnt/private (virtiofs)", Bytes(402653184000)},
        {"Free space on /host_mnt/tmp (virtiofs)", Bytes(402653184000)},
        {"Free space on /host_mnt/var/folders (virtiofs)", Bytes(402653184000)},
        {"Free space on /run/rosetta.orig (virtiofs)", Bytes(402653184000)},
        {"Free space on /var/lib (ext4)", Bytes(52776558592)},
    };
    return host;
}

// Ubuntu installed on ZFS: a boot pool and a root pool with a dataset per
// folder. The datasets and their mount points are those of the installation
// published in linuxmint/timeshift#56 (`zfs get mountpoint`, ubuntu_ijuc69)
// and ubuntu/zsys#183 (var/mail, var/snap, var/spool, var/www); the EFI
// partition is the installer's first partition; "tank/backup:2024" is a
// data pool's dataset named with a colon, which ZFS allows. Every dataset
// reports its pool's free space: one line per pool.
HostTable UbuntuOnZfs() {
    HostTable host;
    host.Name = "UbuntuOnZfs";
    host.MountInfo =
        R"(24 29 0:22 / /sys rw,nosuid,nodev,noexec,relatime shared:7 - sysfs sysfs rw
25 29 0:23 / /proc rw,nosuid,nodev,noexec,relatime shared:13 - proc proc rw
26 29 0:5 / /dev rw,nosuid,relatime shared:2 - devtmpfs udev rw,size=8108372k,nr_inodes=2027093,mode=755,inode64
28 29 0:25 / /run rw,nosuid,nodev,noexec,relatime shared:5 - tmpfs tmpfs rw,size=1628300k,mode=755,inode64
29 1 0:26 / / rw,relatime shared:1 - zfs rpool/ROOT/ubuntu_ijuc69 rw,xattr,posixacl,casesensitive
30 26 0:28 / /dev/shm rw,nosuid,nodev shared:4 - tmpfs tmpfs rw,inode64
60 29 0:47 / /boot rw,nodev,relatime shared:31 - zfs bpool/BOOT/ubuntu_ijuc69 rw,xattr,posixacl,casesensitive
61 29 0:48 / /srv rw,relatime shared:33 - zfs rpool/ROOT/ubuntu_ijuc69/srv rw,xattr,posixacl,casesensitive
62 29 0:49 / /usr rw,relatime shared:35 - zfs rpool/ROOT/ubuntu_ijuc69/usr rw,xattr,posixacl,casesensitive
63 29 0:50 / /var rw,relatime shared:37 - zfs rpool/ROOT/ubuntu_ijuc69/var rw,xattr,posixacl,casesensitive
64 62 0:51 / /usr/local rw,relatime shared:39 - zfs rpool/ROOT/ubuntu_ijuc69/usr/local rw,xattr,posixacl,casesensitive
65 63 0:52 / /var/lib rw,relatime shared:41 - zfs rpool/ROOT/ubuntu_ijuc69/var/lib rw,xattr,posixacl,casesensitive
66 63 0:53 / /var/log rw,relatime shared:43 - zfs rpool/ROOT/ubuntu_ijuc69/var/log rw,xattr,posixacl,casesensitive
67 63 0:54 / /var/mail rw,relatime shared:45 - zfs rpool/ROOT/ubuntu_ijuc69/var/mail rw,xattr,posixacl,casesensitive
68 63 0:55 / /var/snap rw,relatime shared:47 - zfs rpool/ROOT/ubuntu_ijuc69/var/snap rw,xattr,posixacl,casesensitive
69 63 0:56 / /var/spool rw,relatime shared:49 - zfs rpool/ROOT/ubuntu_ijuc69/var/spool rw,xattr,posixacl,casesensitive
70 63 0:57 / /var/www rw,relatime shared:51 - zfs rpool/ROOT/ubuntu_ijuc69/var/www rw,xattr,posixacl,casesensitive
71 29 0:58 / /root rw,relatime shared:53 - zfs rpool/USERDATA/root_ijuc69 rw,xattr,posixacl,casesensitive
72 29 0:59 / /home/sskras rw,relatime shared:55 - zfs rpool/USERDATA/sskras_ijuc69 rw,xattr,posixacl,casesensitive
73 60 259:1 / /boot/efi rw,relatime shared:57 - vfat /dev/nvme0n1p1 rw,fmask=0022,dmask=0022,codepage=437,iocharset=iso8859-1,shortname=mixed,errors=remount-ro
80 29 0:61 / /tank/backup:2024 rw,relatime shared:59 - zfs tank/backup:2024 rw,xattr,noacl,casesensitive
)";
    host.Devices = {{"/dev/nvme0n1p1", {Disk("nvme0n1p1", false, false, "nvme0n1"), ""}}};
    // Each dataset: the pool's free space, and its own size (used + free).
    constexpr std::uint64_t kRpoolFree = 966367641600, kBpoolFree = 1610612736,
                            kTankFree = 3298534883328;
    host.Space = {{"0:25", Tmpfs(1628300, 2136)},
                  {"0:28", Tmpfs(8141496, 84)},
                  {"259:1", Statfs(531628032, 130812, 0x4a11)}};
    const struct {
        const char* device;
        std::uint64_t free;
        std::uint64_t usedBlocks;
    } datasets[] = {{"0:26", kRpoolFree, 2113536}, {"0:47", kBpoolFree, 71680},
                    {"0:48", kRpoolFree, 24},      {"0:49", kRpoolFree, 1882112},
                    {"0:50", kRpoolFree, 24},      {"0:51", kRpoolFree, 1024},
                    {"0:52", kRpoolFree, 913408},  {"0:53", kRpoolFree, 96256},
                    {"0:54", kRpoolFree, 24},      {"0:55", kRpoolFree, 48},
                    {"0:56", kRpoolFree, 240},     {"0:57", kRpoolFree, 24},
                    {"0:58", kRpoolFree, 1816},    {"0:59", kRpoolFree, 31457280},
                    {"0:61", kTankFree, 524288000}};
    std::uint64_t id = 0x6a0e000000000000;
    for (const auto& dataset : datasets)
        host.Space[dataset.device] =
            Statfs(dataset.free, dataset.free / 512 + dataset.usedBlocks, ++id);
    host.Lines = {
        {"Free space on all local volumes", Bytes(kRpoolFree + kBpoolFree + 531628032 + kTankFree)},
        {"Free space on /run (tmpfs)", Bytes((1628300 - 2136) * 1024ULL)},
        {"Free space on / (zfs)", Bytes(kRpoolFree)},
        {"Free space on /dev/shm (tmpfs)", Bytes((8141496 - 84) * 1024ULL)},
        {"Free space on /boot (zfs)", Bytes(kBpoolFree)},
        {"Free space on /boot/efi (vfat)", Bytes(531628032)},
        {"Free space on /tank/backup:2024 (zfs)", Bytes(kTankFree)},
    };
    return host;
}

// Raspberry Pi OS on a Raspberry Pi 4 booted from its SD card: the root and
// the firmware partition on mmcblk0 (block major 179, as a board's kernel
// logs "VFS: Mounted root (ext4 filesystem) on device 179:2" in
// offensive-security/kali-arm-build-scripts#128), the card being of type
// "SD" on the mmc bus, and a USB stick. The card holds / and so is the
// system's disk; the stick is not.
HostTable RaspberryPi() {
    HostTable host;
    host.Name = "RaspberryPi";
    host.MountInfo =
        R"(21 26 0:20 / /sys rw,nosuid,nodev,noexec,relatime shared:7 - sysfs sysfs rw
22 26 0:21 / /proc rw,relatime shared:12 - proc proc rw
23 26 0:5 / /dev rw,nosuid,relatime shared:2 - devtmpfs udev rw,size=1800628k,nr_inodes=450157,mode=755
25 26 0:23 / /run rw,nosuid,nodev,noexec,relatime shared:5 - tmpfs tmpfs rw,size=388200k,mode=755
26 1 179:2 / / rw,noatime shared:1 - ext4 /dev/mmcblk0p2 rw
27 23 0:24 / /dev/shm rw,nosuid,nodev shared:4 - tmpfs tmpfs rw
51 26 179:1 / /boot/firmware rw,relatime shared:28 - vfat /dev/mmcblk0p1 rw,fmask=0022,dmask=0022,codepage=437,iocharset=ascii,shortname=mixed,errors=remount-ro
88 25 0:40 / /run/user/1000 rw,nosuid,nodev,relatime shared:60 - tmpfs tmpfs rw,size=388196k,nr_inodes=97049,mode=700,uid=1000,gid=1000
96 88 8:1 / /media/pi/STICK rw,nosuid,nodev,relatime shared:66 - vfat /dev/sda1 rw,uid=1000,gid=1000
)";
    host.Devices = {{"/dev/mmcblk0p2", {Disk("mmcblk0p2", false, true, "mmcblk0"), "rootfs"}},
                    {"/dev/mmcblk0p1", {Disk("mmcblk0p1", false, true, "mmcblk0"), "bootfs"}},
                    {"/dev/sda1", {Disk("sda1", true, true, "sda"), "STICK"}}};
    host.Space = {{"0:23", Tmpfs(388200, 1300)}, {"179:2", Statfs(22750351360, 7562816)},
                  {"0:24", Tmpfs(1941000)},      {"179:1", Statfs(455081984, 1043960)},
                  {"0:40", Tmpfs(388196, 16)},   {"8:1", Statfs(15521480704, 3788768)}};
    host.Lines = {
        {"Free space on all local volumes", Bytes(22750351360 + 455081984)},
        {"Free space on /run (tmpfs)", Bytes((388200 - 1300) * 1024ULL)},
        {"Free space on / (rootfs,ext4)", Bytes(22750351360)},
        {"Free space on /dev/shm (tmpfs)", Bytes(1941000 * 1024ULL)},
        {"Free space on /boot/firmware (bootfs,vfat)", Bytes(455081984)},
        {"Free space on /run/user/1000 (tmpfs)", Bytes((388196 - 16) * 1024ULL)},
    };
    return host;
}

// Ubuntu in WSL 1: the distribution's folder on a Windows volume shows as
// lxfs mounts without a device (`mount -t lxfs` in microsoft/WSL#2181:
// rootfs on /, data, cache, mnt, root, home), the tmpfs mounts of
// MicrosoftDocs/WSL#67, and drive C: over drvfs ("C: /mnt/c drvfs" in
// lamyj/wsl-path-converter#4). Mount ids and device numbers are not in
// those outputs; the kernel's numbering order stands in for them. The lxfs
// mounts are one folder of C:, counted once under "/"; C: itself is the
// Windows host's drive, listed like a share.
HostTable Wsl1() {
    HostTable host;
    host.Name = "Wsl1";
    host.MountInfo =
        R"(2 0 0:2 / / rw,noatime - lxfs rootfs rw
3 2 0:3 / /data rw,noatime - lxfs data rw
4 2 0:4 / /cache rw,noatime - lxfs cache rw
5 2 0:5 / /mnt rw,noatime - lxfs mnt rw
6 2 0:6 / /root rw,noatime - lxfs root rw
7 2 0:7 / /home rw,noatime - lxfs home rw
8 2 0:8 / /dev rw,noatime - devtmpfs none rw,mode=755
9 2 0:9 / /sys rw,nosuid,nodev,noexec,noatime - sysfs sysfs rw
10 2 0:10 / /proc rw,nosuid,nodev,noexec,noatime - proc proc rw
11 8 0:11 / /dev/pts rw,nosuid,noexec,noatime - devpts devpts rw,gid=5,mode=620
12 2 0:12 / /run rw,nosuid,noexec,noatime - tmpfs none rw,mode=755
13 12 0:13 / /run/lock rw,nosuid,nodev,noexec,noatime - tmpfs none rw
14 12 0:14 / /run/shm rw,nosuid,nodev,noatime - tmpfs none rw
15 12 0:15 / /run/user rw,nosuid,nodev,noexec,noatime - tmpfs none rw,mode=755
16 5 0:16 / /mnt/c rw,noatime - drvfs C: rw,uid=1000,gid=1000,case=off
)";
    const FreeSpace driveC = Statfs(211416432640, 124930047);
    host.Space = {{"0:2", driveC},         {"0:3", driveC},       {"0:4", driveC},
                  {"0:5", driveC},         {"0:6", driveC},       {"0:7", driveC},
                  {"0:12", Tmpfs(404156)}, {"0:13", Tmpfs(5120)}, {"0:14", Tmpfs(8080000)},
                  {"0:15", Tmpfs(102400)}, {"0:16", driveC}};
    host.Lines = {
        {"Free space on all local volumes", Bytes(211416432640)},
        {"Free space on / (lxfs)", Bytes(211416432640)},
        {"Free space on /run (tmpfs)", Bytes(404156 * 1024ULL)},
        {"Free space on /run/lock (tmpfs)", Bytes(5120 * 1024ULL)},
        {"Free space on /run/shm (tmpfs)", Bytes(8080000 * 1024ULL)},
        {"Free space on /run/user (tmpfs)", Bytes(102400 * 1024ULL)},
        {"Free space on /mnt/c (drvfs)", Bytes(211416432640)},
    };
    return host;
}

// CentOS 7 running Docker's devicemapper driver in direct-lvm mode: the root
// on LVM, bound again on /var/lib/docker/devicemapper (moby/moby#16884), and
// each running container's layer an xfs on a thin volume of the pool
// vg01-lv_docker_thinpool (docker/hub-feedback#1271; dm-N per container as
// the kernel logs them in moby/moby#20401). The thin volumes draw on the
// pool, which sysfs shows as their one slave: one store, listed once.
HostTable DevicemapperHost() {
    HostTable host;
    host.Name = "DevicemapperHost";
    host.MountInfo =
        R"(17 39 0:17 / /sys rw,nosuid,nodev,noexec,relatime shared:6 - sysfs sysfs rw
18 39 0:3 / /proc rw,nosuid,nodev,noexec,relatime shared:5 - proc proc rw
19 39 0:5 / /dev rw,nosuid shared:2 - devtmpfs devtmpfs rw,size=3994096k,nr_inodes=998524,mode=755
22 39 0:19 / /run rw,nosuid,nodev shared:22 - tmpfs tmpfs rw,mode=755
39 1 253:0 / / rw,relatime shared:1 - xfs /dev/mapper/centos-root rw,attr2,inode64,logbsize=256k,sunit=512,swidth=1024,noquota
40 19 0:18 / /dev/shm rw,nosuid,nodev shared:3 - tmpfs tmpfs rw
62 39 8:1 / /boot rw,relatime shared:32 - xfs /dev/sda1 rw,attr2,inode64,noquota
110 39 253:0 /var/lib/docker/devicemapper /var/lib/docker/devicemapper rw,relatime - xfs /dev/mapper/centos-root rw,attr2,inode64,logbsize=256k,sunit=512,swidth=1024,noquota
131 110 253:6 / /var/lib/docker/devicemapper/mnt/0f6bcbd8a6a0b3c24b5e5a0e1d9fbd35e0b1c8e5d2a83f4d8c0d3d0f9a1e7c21 rw,relatime shared:90 - xfs /dev/mapper/docker-253:0-33589082-0f6bcbd8a6a0b3c24b5e5a0e1d9fbd35e0b1c8e5d2a83f4d8c0d3d0f9a1e7c21 rw,nouuid,attr2,inode64,logbsize=64k,sunit=128,swidth=128,noquota
138 110 253:8 / /var/lib/docker/devicemapper/mnt/7a5e2c1f9d3b8e4a6c0f2d9b1e8a7c3f5d0b2e9a4c6f8d1b3e5a7c9f0d2b4e6a rw,relatime shared:94 - xfs /dev/mapper/docker-253:0-33589082-7a5e2c1f9d3b8e4a6c0f2d9b1e8a7c3f5d0b2e9a4c6f8d1b3e5a7c9f0d2b4e6a rw,nouuid,attr2,inode64,logbsize=64k,sunit=128,swidth=128,noquota
)";
    BlockDeviceFacts thin6 = Disk("dm-6", false, false, "sdb");
    BlockDeviceFacts thin8 = Disk("dm-8", false, false, "sdb");
    thin6.PoolMajor = thin8.PoolMajor = 253;
    thin6.PoolMinor = thin8.PoolMinor = 4;  // vg01-lv_docker_thinpool-tpool
    host.Devices = {
        {"/dev/mapper/centos-root", {Disk("dm-0", false, false, "sda"), ""}},
        {"/dev/sda1", {Disk("sda1", false, false, "sda"), ""}},
        {"/dev/mapper/"
         "docker-253:0-33589082-0f6bcbd8a6a0b3c24b5e5a0e1d9fbd35e0b1c8e5d2a83f4d8c0d3d0f9a1e7c21",
         {thin6, ""}},
        {"/dev/mapper/"
         "docker-253:0-33589082-7a5e2c1f9d3b8e4a6c0f2d9b1e8a7c3f5d0b2e9a4c6f8d1b3e5a7c9f0d2b4e6a",
         {thin8, ""}}};
    host.Space = {{"0:19", Tmpfs(3999000, 8820)},
                  {"253:0", Statfs(40290279424, 13100800)},
                  {"0:18", Tmpfs(3999000)},
                  {"8:1", Statfs(869535744, 259584)},
                  {"253:6", Statfs(10464022528, 2618880)},
                  {"253:8", Statfs(10447245312, 2618880)}};
    host.Lines = {
        {"Free space on all local volumes", Bytes(40290279424 + 869535744 + 10464022528)},
        {"Free space on /run (tmpfs)", Bytes((3999000 - 8820) * 1024ULL)},
        {"Free space on / (xfs)", Bytes(40290279424)},
        {"Free space on /dev/shm (tmpfs)", Bytes(3999000 * 1024ULL)},
        {"Free space on /boot (xfs)", Bytes(869535744)},
        {"Free space on "
         "/var/lib/docker/devicemapper/mnt/"
         "0f6bcbd8a6a0b3c24b5e5a0e1d9fbd35e0b1c8e5d2a83f4d8c0d3d0f9a1e7c21 (xfs)",
         Bytes(10464022528)},
    };
    return host;
}

}  // namespace

std::vector<HostTable> StoreHostTables() {
    return {DockerDesktopContainer(), DockerDesktopVm(), UbuntuOnZfs(), RaspberryPi(), Wsl1(),
            DevicemapperHost()};
}

}  // namespace qv::test
