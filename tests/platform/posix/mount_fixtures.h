// Mount tables as /proc/self/mountinfo shows them on machines of several kinds.
#pragma once

namespace qv::test {

constexpr const char* kDesktop =
    "22 28 0:21 / /sys rw,nosuid,nodev,noexec,relatime shared:7 - sysfs sysfs rw\n"
    "23 28 0:22 / /proc rw,nosuid,nodev,noexec,relatime shared:12 - proc proc rw\n"
    "24 28 0:5 / /dev rw,nosuid,relatime shared:2 - devtmpfs udev rw,size=8k\n"
    "28 1 259:2 / / rw,relatime shared:1 - ext4 /dev/nvme0n1p2 rw,errors=remount-ro\n"
    "30 28 0:26 / /run rw,nosuid,nodev,noexec,relatime shared:5 - tmpfs tmpfs rw,mode=755\n"
    "60 28 259:1 / /boot/efi rw,relatime shared:30 - vfat /dev/nvme0n1p1 rw,fmask=0077\n"
    "62 28 0:40 /@home /home rw,relatime shared:32 - btrfs /dev/sda1 rw,space_cache\n"
    "63 28 0:40 /@data /srv/data rw,relatime shared:33 - btrfs /dev/sda1 rw,space_cache\n"
    "99 30 8:17 / /run/media/me/STICK rw,nosuid,nodev shared:50 - vfat /dev/sdb1 rw\n";

constexpr const char* kContainer =
    "600 550 0:52 / / rw,relatime master:300 - overlay overlay "
    "rw,lowerdir=/var/lib/docker/overlay2/l/A:/var/lib/docker/overlay2/l/B\n"
    "601 600 0:55 / /proc rw,nosuid,nodev,noexec,relatime - proc proc rw\n"
    "602 600 0:56 / /dev rw,nosuid - tmpfs tmpfs rw,size=65536k,mode=755\n"
    "610 600 254:1 /var/lib/docker/containers/abc/resolv.conf /etc/resolv.conf "
    "rw,relatime - ext4 /dev/vda1 rw\n"
    "611 600 254:1 /var/lib/docker/containers/abc/hostname /etc/hostname rw,relatime - ext4 "
    "/dev/vda1 rw\n"
    "612 600 254:1 /srv/shared /data rw,relatime - ext4 /dev/vda1 rw\n"
    "613 602 0:57 / /dev/shm rw,nosuid,nodev,noexec,relatime - tmpfs shm rw,size=65536k\n";

// Blanks, a tab, a newline, a backslash and '#' as the kernel escapes them.
constexpr const char* kEscaped =
    "40 1 8:1 / / rw - ext4 /dev/sda1 rw\n"
    "41 40 8:2 / /mnt/My\\040Disk rw - ext4 /dev/sda2 rw\n"
    "42 40 8:3 / /mnt/tab\\011and\\012line rw - ext4 /dev/sda3 rw\n"
    "43 40 8:4 / /mnt/back\\134slash\\134040 rw - ext4 /dev/sda4 rw\n"
    "44 40 0:60 / /mnt/share rw - cifs //server/My\\040Share\\043 rw\n";

constexpr const char* kNfsClient =
    "25 1 8:1 / / rw,relatime - xfs /dev/sda1 rw\n"
    "90 25 0:45 / /home rw,relatime shared:40 - nfs4 fileserver:/export/home "
    "rw,vers=4.2,addr=10.0.0.5\n"
    "91 90 0:46 / /home/me/tmp rw,relatime - tmpfs tmpfs rw\n"
    "92 25 0:47 / /net rw,relatime - autofs systemd-1 rw,fd=42\n"
    "93 92 0:48 / /net/backup rw - nfs backup.example:/vol rw\n";

}  // namespace qv::test
