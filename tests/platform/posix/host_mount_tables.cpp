#include "platform/posix/host_mount_tables.h"

#include <cstdio>

namespace qv::test {

std::optional<BlockDeviceFacts> HostFacts::DeviceOf(const MountEntry& mount) {
    const auto found = Host.Devices.find(std::string(mount.Source));
    if (found != Host.Devices.end()) return found->second.Facts;
    // A device number of its own that sysfs does not describe.
    if (mount.Major != 0) return BlockDeviceFacts{};
    return std::nullopt;
}

std::string HostFacts::LabelOf(const MountEntry& mount) {
    const auto found = Host.Devices.find(std::string(mount.Source));
    return found == Host.Devices.end() ? std::string() : found->second.Label;
}

std::vector<std::optional<FreeSpace>> HostFacts::SpaceOf(const std::vector<MountEntry>& mounts,
                                                         const std::vector<std::size_t>& indexes) {
    std::vector<std::optional<FreeSpace>> space;
    for (std::size_t index : indexes) {
        const MountEntry& mount = mounts[index];
        const auto found =
            Host.Space.find(std::to_string(mount.Major) + ":" + std::to_string(mount.Minor));
        space.push_back(found == Host.Space.end() ? std::nullopt
                                                  : std::optional<FreeSpace>(found->second));
    }
    return space;
}

std::optional<MountEntry> HostFacts::UncoveredRoot(const std::vector<MountEntry>&) {
    return Host.UncoveredRoot;
}

std::string Bytes(std::uint64_t bytes) {
    const std::string digits = std::to_string(bytes);
    std::string grouped;
    for (std::size_t at = 0; at < digits.size(); ++at) {
        if (at != 0 && (digits.size() - at) % 3 == 0) grouped += ',';
        grouped += digits[at];
    }
    return grouped + " ";
}

namespace {

// An Ubuntu 22.04 cloud server (AWS, 16 GiB, 100 GB root disk) running twelve
// Docker containers: each has an overlay under /var/lib/docker/overlay2, a
// shm tmpfs, and, unless it shares the host's network, a network namespace.
HostTable DockerHost() {
    HostTable host;
    host.Name = "DockerHost";
    host.MountInfo = R"(24 29 0:22 / /sys rw,nosuid,nodev,noexec,relatime shared:7 - sysfs sysfs rw
25 29 0:23 / /proc rw,nosuid,nodev,noexec,relatime shared:13 - proc proc rw
26 29 0:5 / /dev rw,nosuid,relatime shared:2 - devtmpfs udev rw,size=8049112k,nr_inodes=2012278,mode=755,inode64
27 26 0:24 / /dev/pts rw,nosuid,noexec,relatime shared:3 - devpts devpts rw,gid=5,mode=620,ptmxmode=000
28 29 0:25 / /run rw,nosuid,nodev,noexec,relatime shared:5 - tmpfs tmpfs rw,size=1632148k,mode=755,inode64
29 1 259:1 / / rw,relatime shared:1 - ext4 /dev/root rw,discard,errors=remount-ro
30 24 0:6 / /sys/kernel/security rw,nosuid,nodev,noexec,relatime shared:8 - securityfs securityfs rw
31 26 0:26 / /dev/shm rw,nosuid,nodev shared:4 - tmpfs tmpfs rw,inode64
32 28 0:27 / /run/lock rw,nosuid,nodev,noexec,relatime shared:6 - tmpfs tmpfs rw,size=5120k,inode64
33 24 0:28 / /sys/fs/cgroup rw,nosuid,nodev,noexec,relatime shared:9 - cgroup2 cgroup2 rw,nsdelegate,memory_recursiveprot
34 24 0:29 / /sys/fs/pstore rw,nosuid,nodev,noexec,relatime shared:10 - pstore pstore rw
35 24 0:30 / /sys/firmware/efi/efivars rw,nosuid,nodev,noexec,relatime shared:11 - efivarfs efivarfs rw
36 24 0:31 / /sys/fs/bpf rw,nosuid,nodev,noexec,relatime shared:12 - bpf bpf rw,mode=700
37 25 0:32 / /proc/sys/fs/binfmt_misc rw,relatime shared:14 - autofs systemd-1 rw,fd=29,pgrp=1,timeout=0,minproto=5,maxproto=5,direct,pipe_ino=16012
38 26 0:20 / /dev/mqueue rw,nosuid,nodev,noexec,relatime shared:15 - mqueue mqueue rw
39 26 0:33 / /dev/hugepages rw,relatime shared:16 - hugetlbfs hugetlbfs rw,pagesize=2M
40 24 0:7 / /sys/kernel/debug rw,nosuid,nodev,noexec,relatime shared:17 - debugfs debugfs rw
41 24 0:12 / /sys/kernel/tracing rw,nosuid,nodev,noexec,relatime shared:18 - tracefs tracefs rw
42 24 0:34 / /sys/fs/fuse/connections rw,nosuid,nodev,noexec,relatime shared:19 - fusectl fusectl rw
43 24 0:21 / /sys/kernel/config rw,nosuid,nodev,noexec,relatime shared:20 - configfs configfs rw
89 29 259:3 / /boot/efi rw,relatime shared:47 - vfat /dev/nvme0n1p15 rw,fmask=0077,dmask=0077,codepage=437,iocharset=iso8859-1,shortname=mixed,errors=remount-ro
93 37 0:44 / /proc/sys/fs/binfmt_misc rw,nosuid,nodev,noexec,relatime shared:50 - binfmt_misc binfmt_misc rw
412 28 0:47 / /run/user/1000 rw,nosuid,nodev,relatime shared:232 - tmpfs tmpfs rw,size=1632144k,nr_inodes=408036,mode=700,uid=1000,gid=1000,inode64
560 29 0:48 / /var/lib/docker/overlay2/dd5e414894b9c169556f2045320ff69b47be192a683a539c72a106d8f1bdf0ce/merged rw,relatime shared:292 - overlay overlay rw,lowerdir=/var/lib/docker/overlay2/l/5XXDDIU64NG01RLUXMJY50IRM3:/var/lib/docker/overlay2/l/YZETW9SG3C630TR3VOBW8YN7J0:/var/lib/docker/overlay2/l/WKD6QJFYAATUYI69E5HTSEQTFE:/var/lib/docker/overlay2/l/VKG0RN1P42SDSX7RFRGQBSX9C7:/var/lib/docker/overlay2/l/2LV9X4QEGOPX8O6DOYXU6J0FAL:/var/lib/docker/overlay2/l/ZD8I8WEMFU87G6PQM4QHS8USBT:/var/lib/docker/overlay2/l/202RUJA1OALF8E9G3DXJGLXFPE,upperdir=/var/lib/docker/overlay2/dd5e414894b9c169556f2045320ff69b47be192a683a539c72a106d8f1bdf0ce/diff,workdir=/var/lib/docker/overlay2/dd5e414894b9c169556f2045320ff69b47be192a683a539c72a106d8f1bdf0ce/work,nouserxattr
561 28 0:4 net:[4026532391] /run/docker/netns/53a315b1bbf1 rw shared:293 - nsfs nsfs rw
562 29 0:49 / /var/lib/docker/containers/8750fa22d04a1d30f231781f33bff81d0581fd5a55e60a54fd5b26a28925404e/mounts/shm rw,nosuid,nodev,noexec,relatime shared:294 - tmpfs shm rw,size=65536k,inode64
597 29 0:50 / /var/lib/docker/overlay2/4230c1eb70c12095db748356676b041a833d174608f77abd3ed8c9a34c91268d/merged rw,relatime shared:295 - overlay overlay rw,lowerdir=/var/lib/docker/overlay2/l/57AUXVXFVBSUKVTSI13H2O846X:/var/lib/docker/overlay2/l/683LP7IL3D5VCOEWUSQINPD2U5:/var/lib/docker/overlay2/l/6M2ZMO78EM4SDXMTYMJGQ6C21K:/var/lib/docker/overlay2/l/AG77E6YU8NX5CSJCWN6KUF3YO8:/var/lib/docker/overlay2/l/E41FR6RP79T5ZUQKBZOLXXD2BC:/var/lib/docker/overlay2/l/XPDRQQFE12Q5C53D2F704JHC34:/var/lib/docker/overlay2/l/LPAS9E8KHMLAZQUUFLQLRT0MUA:/var/lib/docker/overlay2/l/3LHSIMTLCWE79AD3ZFH81BHEGI:/var/lib/docker/overlay2/l/09YIHNKAJR6TDK3ZQFXNDX9RBU,upperdir=/var/lib/docker/overlay2/4230c1eb70c12095db748356676b041a833d174608f77abd3ed8c9a34c91268d/diff,workdir=/var/lib/docker/overlay2/4230c1eb70c12095db748356676b041a833d174608f77abd3ed8c9a34c91268d/work,nouserxattr
598 28 0:4 net:[4026532491] /run/docker/netns/e44c032c5553 rw shared:296 - nsfs nsfs rw
599 29 0:51 / /var/lib/docker/containers/3b2ce0bfd7ecb581e362dea7b67d4f2e93c452e4d0c6a54f454a3f8c4b6388dd/mounts/shm rw,nosuid,nodev,noexec,relatime shared:297 - tmpfs shm rw,size=65536k,inode64
639 29 0:52 / /var/lib/docker/overlay2/acab50ffeb63c0fc2266d9fc6b746a2a22a8941c9cf77be1ab212c7ce89178dc/merged rw,relatime shared:298 - overlay overlay rw,lowerdir=/var/lib/docker/overlay2/l/OZBWA308YSYJ0QN5Z4QJE5MOG7:/var/lib/docker/overlay2/l/DE4PDI2LEQO7DLOJSJM7UCFFGP:/var/lib/docker/overlay2/l/OMQX7MSV4ATUSQTA0IS2L7EIOL:/var/lib/docker/overlay2/l/WI1K4A0UECZXVHVOLII4K4I20P:/var/lib/docker/overlay2/l/Z3CPLSDSPOEI0F2SW3OVK1EGCI,upperdir=/var/lib/docker/overlay2/acab50ffeb63c0fc2266d9fc6b746a2a22a8941c9cf77be1ab212c7ce89178dc/diff,workdir=/var/lib/docker/overlay2/acab50ffeb63c0fc2266d9fc6b746a2a22a8941c9cf77be1ab212c7ce89178dc/work,nouserxattr
640 28 0:4 net:[4026532571] /run/docker/netns/09f30bb4c480 rw shared:299 - nsfs nsfs rw
641 29 0:53 / /var/lib/docker/containers/74b12452bb01463ecb2a76a1c892901bab04ca95df9f012da2e8bd66a49843d0/mounts/shm rw,nosuid,nodev,noexec,relatime shared:300 - tmpfs shm rw,size=65536k,inode64
645 29 0:54 / /var/lib/docker/overlay2/0483640c52823c8943e4dc9ef162c5905bf6dda6354d16393077c489c7a8099e/merged rw,relatime shared:301 - overlay overlay rw,lowerdir=/var/lib/docker/overlay2/l/D08TI448QGBOKQIUBLMP66IF4I:/var/lib/docker/overlay2/l/Q1TCCC0MX3SZQG07K6MAPUVPS0:/var/lib/docker/overlay2/l/7UCJQX3G83CEDQPX57CH7H8C7N:/var/lib/docker/overlay2/l/UKSP14O1FN1RWPFWVK6VCUCUJ0:/var/lib/docker/overlay2/l/MP6F2EBISQEIBM34855RWQVPFQ:/var/lib/docker/overlay2/l/4076W1OYJNHJCHQXLWYWY1EJF1:/var/lib/docker/overlay2/l/92OYX8ECFG1VV6KL5YPHMPLL55:/var/lib/docker/overlay2/l/E3BU1MW60ZORY9SNH1KSGJ6JE3,upperdir=/var/lib/docker/overlay2/0483640c52823c8943e4dc9ef162c5905bf6dda6354d16393077c489c7a8099e/diff,workdir=/var/lib/docker/overlay2/0483640c52823c8943e4dc9ef162c5905bf6dda6354d16393077c489c7a8099e/work,nouserxattr
646 29 0:55 / /var/lib/docker/containers/c72d212a745310782262fb1acc73eeedf4fff6431cf2190623a8e860167426d4/mounts/shm rw,nosuid,nodev,noexec,relatime shared:302 - tmpfs shm rw,size=65536k,inode64
683 29 0:56 / /var/lib/docker/overlay2/2141df6b87760a55e9706222fc3d267d58980774b3fd9e97c4b7b15d6860b87e/merged rw,relatime shared:303 - overlay overlay rw,lowerdir=/var/lib/docker/overlay2/l/OLPESTWDEBP5VRC88M8HV3QA40:/var/lib/docker/overlay2/l/QBNPVL2A3W5ADPW73TR12CJZP0:/var/lib/docker/overlay2/l/83H0X3LZHYUL7VLCQPBRTUQZQD:/var/lib/docker/overlay2/l/S9G7LZH080GQS8Z7ZV55PVDM15:/var/lib/docker/overlay2/l/8T4Z3ZH752KQK9VSNKL6UMDMYL,upperdir=/var/lib/docker/overlay2/2141df6b87760a55e9706222fc3d267d58980774b3fd9e97c4b7b15d6860b87e/diff,workdir=/var/lib/docker/overlay2/2141df6b87760a55e9706222fc3d267d58980774b3fd9e97c4b7b15d6860b87e/work,nouserxattr
684 28 0:4 net:[4026532644] /run/docker/netns/953de1fc4c81 rw shared:304 - nsfs nsfs rw
685 29 0:57 / /var/lib/docker/containers/d744b5a3cffe3a6207ca4182111d98f022dd9dc7257bae9b2015b0e64906cbf6/mounts/shm rw,nosuid,nodev,noexec,relatime shared:305 - tmpfs shm rw,size=65536k,inode64
693 29 0:58 / /var/lib/docker/overlay2/9c299327e880d70f15e8134be3f4692ea896b72e0b243f96fcd016bc553183e3/merged rw,relatime shared:306 - overlay overlay rw,lowerdir=/var/lib/docker/overlay2/l/OLNQ1O6RHRCCUAG330PQD7SFXO:/var/lib/docker/overlay2/l/8XU5IYOURYHL2HYU8KZK9W01RK:/var/lib/docker/overlay2/l/6J6ETXVYGGBGDR4G6UHBY1SJOB:/var/lib/docker/overlay2/l/V4SSBDEGUMH9FGRAGUYGJK5N7L:/var/lib/docker/overlay2/l/NXQYO5QRK4I16QAQC3XCZOMM0Q:/var/lib/docker/overlay2/l/ANFTJJFSVAR819W3GHD7LO66JB:/var/lib/docker/overlay2/l/JCBXEB9RU604IUE6V2IX6MLFAC:/var/lib/docker/overlay2/l/2JXYQBHQKFPF90ELD7DLNWS75Q,upperdir=/var/lib/docker/overlay2/9c299327e880d70f15e8134be3f4692ea896b72e0b243f96fcd016bc553183e3/diff,workdir=/var/lib/docker/overlay2/9c299327e880d70f15e8134be3f4692ea896b72e0b243f96fcd016bc553183e3/work,nouserxattr
694 28 0:4 net:[4026532886] /run/docker/netns/bc0a3534e145 rw shared:307 - nsfs nsfs rw
695 29 0:59 / /var/lib/docker/containers/4f779e716e30f34af86aa35d99b88e762a19c1fe242cad7ff5b4b41b35edc181/mounts/shm rw,nosuid,nodev,noexec,relatime shared:308 - tmpfs shm rw,size=262144k,inode64
701 29 0:60 / /var/lib/docker/overlay2/db0de169b51a4db35124948b15f4cb5b70d983fa380552a5378d3e726f54ee36/merged rw,relatime shared:309 - overlay overlay rw,lowerdir=/var/lib/docker/overlay2/l/3TVMOK0LVINV8BFDNSICRB84ZG:/var/lib/docker/overlay2/l/OAEZ36FQVGD3P26CTH6P6P9B92:/var/lib/docker/overlay2/l/8M5A0FSV43AV0XEP89K7LTLC79:/var/lib/docker/overlay2/l/L9TJ1WZV9H1K0IOOZNLWTJ1ETF:/var/lib/docker/overlay2/l/0MPMIP4YXXC52IQEATCV8NAI24,upperdir=/var/lib/docker/overlay2/db0de169b51a4db35124948b15f4cb5b70d983fa380552a5378d3e726f54ee36/diff,workdir=/var/lib/docker/overlay2/db0de169b51a4db35124948b15f4cb5b70d983fa380552a5378d3e726f54ee36/work,nouserxattr
702 28 0:4 net:[4026533144] /run/docker/netns/c5fea8fad814 rw shared:310 - nsfs nsfs rw
703 29 0:61 / /var/lib/docker/containers/de22daa7cb52fb294ceb7875991e170e6d75d1be3d206f44c03eac973b7bbb7d/mounts/shm rw,nosuid,nodev,noexec,relatime shared:311 - tmpfs shm rw,size=65536k,inode64
740 29 0:62 / /var/lib/docker/overlay2/d443ed2e7dd80ba25194ebd42907350f41d3df4c7c0f502f94376965ce98dc8f/merged rw,relatime shared:312 - overlay overlay rw,lowerdir=/var/lib/docker/overlay2/l/V611PSFOHEYSY2NSMZYCP3DRWO:/var/lib/docker/overlay2/l/4G19MF93AY5L1PJAJSNP45I6ZO:/var/lib/docker/overlay2/l/8BL5603YZL7DZSBT4V4KWRH4TR:/var/lib/docker/overlay2/l/91XGNUTTK10W58GS810NYEQW8H,upperdir=/var/lib/docker/overlay2/d443ed2e7dd80ba25194ebd42907350f41d3df4c7c0f502f94376965ce98dc8f/diff,workdir=/var/lib/docker/overlay2/d443ed2e7dd80ba25194ebd42907350f41d3df4c7c0f502f94376965ce98dc8f/work,nouserxattr
741 28 0:4 net:[4026533244] /run/docker/netns/8d8649414159 rw shared:313 - nsfs nsfs rw
742 29 0:63 / /var/lib/docker/containers/3ea4a6de6b4e0b20a23803ea5eacd73728436650372a499263ec9268c7d2f50e/mounts/shm rw,nosuid,nodev,noexec,relatime shared:314 - tmpfs shm rw,size=65536k,inode64
749 29 0:64 / /var/lib/docker/overlay2/2a9b7d763499269f48cd032ebd06a139471661317b79c82182dc04dae540d320/merged rw,relatime shared:315 - overlay overlay rw,lowerdir=/var/lib/docker/overlay2/l/5FCFI4UKUUXGKJUWOKCGAHW9LH:/var/lib/docker/overlay2/l/D9ELDVJY2FQFB2ECYAPZRUAYC0:/var/lib/docker/overlay2/l/1NG977M1HFH8TWUJTSULY3TGXU:/var/lib/docker/overlay2/l/VYUBL6DYS0Y43XGNGKHA0EOPXO:/var/lib/docker/overlay2/l/7F0I788UEGZ96JJH802LLPOS96:/var/lib/docker/overlay2/l/IA682DML10JD4KDKTUS5EIWVHZ:/var/lib/docker/overlay2/l/FMFZ8OLFYGEGJ6QC11OCB44QR6:/var/lib/docker/overlay2/l/VB6NL9AG6ZK8SUM7XJVRF73BU9:/var/lib/docker/overlay2/l/3HB24PA5XUZXYP418DHJDIU9I6:/var/lib/docker/overlay2/l/8COA299XHWLCWOTM9YI5SYGRB1,upperdir=/var/lib/docker/overlay2/2a9b7d763499269f48cd032ebd06a139471661317b79c82182dc04dae540d320/diff,workdir=/var/lib/docker/overlay2/2a9b7d763499269f48cd032ebd06a139471661317b79c82182dc04dae540d320/work,nouserxattr
750 28 0:4 net:[4026533395] /run/docker/netns/316cda61ebab rw shared:316 - nsfs nsfs rw
751 29 0:65 / /var/lib/docker/containers/8f1b4cde132af3a11e298717a87d03bfde14872acf1ada977d5058e382b5fd69/mounts/shm rw,nosuid,nodev,noexec,relatime shared:317 - tmpfs shm rw,size=65536k,inode64
756 29 0:66 / /var/lib/docker/overlay2/a4ed8efc4df614de146f376edb40b7958933a8a93520b681aa5617cc518a7c29/merged rw,relatime shared:318 - overlay overlay rw,lowerdir=/var/lib/docker/overlay2/l/MMPHTWA9WKLHUCNJRHY1A8LLOR:/var/lib/docker/overlay2/l/BOS6AA6R1N03ALR4X9HF89CPCG:/var/lib/docker/overlay2/l/IN39MG6IEPD4JBN1PGDSWDO3J9:/var/lib/docker/overlay2/l/25NNDBF20921RHOEWQHEE4KWV3:/var/lib/docker/overlay2/l/RE782D9P816UX9L11XCEG9G4N5,upperdir=/var/lib/docker/overlay2/a4ed8efc4df614de146f376edb40b7958933a8a93520b681aa5617cc518a7c29/diff,workdir=/var/lib/docker/overlay2/a4ed8efc4df614de146f376edb40b7958933a8a93520b681aa5617cc518a7c29/work,nouserxattr
757 29 0:67 / /var/lib/docker/containers/e24be48df7203b823f506f1e80042c030512f065f6accb8fcf42fc88a95e5ff1/mounts/shm rw,nosuid,nodev,noexec,relatime shared:319 - tmpfs shm rw,size=65536k,inode64
765 29 0:68 / /var/lib/docker/overlay2/62129e2603b17768a46ca06f129717313ec625c0e1fd9c88f87947f9909a4c6f/merged rw,relatime shared:320 - overlay overlay rw,lowerdir=/var/lib/docker/overlay2/l/YBG0P43EV92DLCXTQM09YY3373:/var/lib/docker/overlay2/l/A77L5UOTIM7R2CB9Z8K1B55I32:/var/lib/docker/overlay2/l/HFU18RHOA7HEKS4BF2IINPRNB1:/var/lib/docker/overlay2/l/8WLLS1EYQNX1IH2KHXUHHD309N:/var/lib/docker/overlay2/l/M6J1MK8WC1H914BRH11ECMZ1FE,upperdir=/var/lib/docker/overlay2/62129e2603b17768a46ca06f129717313ec625c0e1fd9c88f87947f9909a4c6f/diff,workdir=/var/lib/docker/overlay2/62129e2603b17768a46ca06f129717313ec625c0e1fd9c88f87947f9909a4c6f/work,nouserxattr
766 28 0:4 net:[4026533591] /run/docker/netns/5c15cf29aeba rw shared:321 - nsfs nsfs rw
767 29 0:69 / /var/lib/docker/containers/2e8b54b143066abdf3287582b2454021678061f0fa28752ec13e6ffd8514bc91/mounts/shm rw,nosuid,nodev,noexec,relatime shared:322 - tmpfs shm rw,size=65536k,inode64
793 29 0:70 / /var/lib/docker/overlay2/94e2b3f6001e5732654c437a0ba23aac53b5966524cd1fb77ea6d5c076d7c68b/merged rw,relatime shared:323 - overlay overlay rw,lowerdir=/var/lib/docker/overlay2/l/9P3MSPYQD577MEB9WMIRAANOFT:/var/lib/docker/overlay2/l/C2BH44WA38Q3GXPLACLMPBQ901:/var/lib/docker/overlay2/l/FLU711F01ZIZBBGG452WHIWJF0:/var/lib/docker/overlay2/l/TFO2NBDY1461NSQ3VNX4YWVY6G:/var/lib/docker/overlay2/l/8CULOZUPEFC328DENMTGGLB5VI:/var/lib/docker/overlay2/l/DVRW8ZN6MVDX6KE6ZYB366VTOL:/var/lib/docker/overlay2/l/U63B3F7SUS4NPU0MXDLDMTXC54,upperdir=/var/lib/docker/overlay2/94e2b3f6001e5732654c437a0ba23aac53b5966524cd1fb77ea6d5c076d7c68b/diff,workdir=/var/lib/docker/overlay2/94e2b3f6001e5732654c437a0ba23aac53b5966524cd1fb77ea6d5c076d7c68b/work,nouserxattr
794 28 0:4 net:[4026533850] /run/docker/netns/93bb85210823 rw shared:324 - nsfs nsfs rw
795 29 0:71 / /var/lib/docker/containers/3efd5e258b660c2c4eb6c1df6e20d3745e339abb9bee66722c90ce4109725777/mounts/shm rw,nosuid,nodev,noexec,relatime shared:325 - tmpfs shm rw,size=65536k,inode64
)";
    host.Devices = {{"/dev/root", {Disk("nvme0n1p1"), "cloudimg-rootfs"}},
                    {"/dev/nvme0n1p15", {Disk("nvme0n1p15"), "UEFI"}}};
    const FreeSpace rootDisk{55079604224, 25369339};
    host.Space = {
        {"259:1", rootDisk},      {"259:3", {99334144, 204276}}, {"0:25", Tmpfs(1632148, 1132)},
        {"0:26", Tmpfs(8049112)}, {"0:27", Tmpfs(5120, 4)},      {"0:47", Tmpfs(1632144, 4)}};
    for (unsigned minor = 48; minor <= 70; minor += 2)  // the overlays: the root disk below
        host.Space["0:" + std::to_string(minor)] = rootDisk;
    for (unsigned minor = 49; minor <= 71; minor += 2)
        host.Space["0:" + std::to_string(minor)] = Tmpfs(65536);
    host.Space["0:51"] = Tmpfs(65536, 256);
    host.Space["0:59"] = Tmpfs(262144, 400);  // a database's larger shm
    host.Lines = {
        {"Free space on all local volumes", "55,178,938,368 "},
        {"Free space on /run (tmpfs)", "1,670,160,384 "},
        {"Free space on / (cloudimg-rootfs,ext4)", "55,079,604,224 "},
        {"Free space on /dev/shm (tmpfs)", "8,242,290,688 "},
        {"Free space on /run/lock (tmpfs)", "5,238,784 "},
        {"Free space on /boot/efi (UEFI,vfat)", "99,334,144 "},
        {"Free space on /run/user/1000 (tmpfs)", "1,671,311,360 "},
        {"Free space on "
         "/var/lib/docker/containers/"
         "8750fa22d04a1d30f231781f33bff81d0581fd5a55e60a54fd5b26a28925404e/mounts/shm (tmpfs)",
         "67,108,864 "},
        {"Free space on "
         "/var/lib/docker/containers/"
         "3b2ce0bfd7ecb581e362dea7b67d4f2e93c452e4d0c6a54f454a3f8c4b6388dd/mounts/shm (tmpfs)",
         "66,846,720 "},
        {"Free space on "
         "/var/lib/docker/containers/"
         "74b12452bb01463ecb2a76a1c892901bab04ca95df9f012da2e8bd66a49843d0/mounts/shm (tmpfs)",
         "67,108,864 "},
        {"Free space on "
         "/var/lib/docker/containers/"
         "c72d212a745310782262fb1acc73eeedf4fff6431cf2190623a8e860167426d4/mounts/shm (tmpfs)",
         "67,108,864 "},
        {"Free space on "
         "/var/lib/docker/containers/"
         "d744b5a3cffe3a6207ca4182111d98f022dd9dc7257bae9b2015b0e64906cbf6/mounts/shm (tmpfs)",
         "67,108,864 "},
        {"Free space on "
         "/var/lib/docker/containers/"
         "4f779e716e30f34af86aa35d99b88e762a19c1fe242cad7ff5b4b41b35edc181/mounts/shm (tmpfs)",
         "268,025,856 "},
        {"Free space on "
         "/var/lib/docker/containers/"
         "de22daa7cb52fb294ceb7875991e170e6d75d1be3d206f44c03eac973b7bbb7d/mounts/shm (tmpfs)",
         "67,108,864 "},
        {"Free space on "
         "/var/lib/docker/containers/"
         "3ea4a6de6b4e0b20a23803ea5eacd73728436650372a499263ec9268c7d2f50e/mounts/shm (tmpfs)",
         "67,108,864 "},
        {"Free space on "
         "/var/lib/docker/containers/"
         "8f1b4cde132af3a11e298717a87d03bfde14872acf1ada977d5058e382b5fd69/mounts/shm (tmpfs)",
         "67,108,864 "},
        {"Free space on "
         "/var/lib/docker/containers/"
         "e24be48df7203b823f506f1e80042c030512f065f6accb8fcf42fc88a95e5ff1/mounts/shm (tmpfs)",
         "67,108,864 "},
        {"Free space on "
         "/var/lib/docker/containers/"
         "2e8b54b143066abdf3287582b2454021678061f0fa28752ec13e6ffd8514bc91/mounts/shm (tmpfs)",
         "67,108,864 "},
        {"Free space on "
         "/var/lib/docker/containers/"
         "3efd5e258b660c2c4eb6c1df6e20d3745e339abb9bee66722c90ce4109725777/mounts/shm (tmpfs)",
         "67,108,864 "},
    };
    return host;
}

// An Ubuntu 22.04 laptop: snap packages (two revisions of some) as squashfs
// images on loop devices, the desktop's FUSE helpers, snapd's namespace
// folder bound from /run, a folder of the root disk bound into a snap, and
// a USB stick.
HostTable SnapDesktop() {
    HostTable host;
    host.Name = "SnapDesktop";
    host.MountInfo =
        R"(25 30 0:23 / /sys rw,nosuid,nodev,noexec,relatime shared:7 - sysfs sysfs rw
26 30 0:24 / /proc rw,nosuid,nodev,noexec,relatime shared:14 - proc proc rw
27 30 0:5 / /dev rw,nosuid,relatime shared:2 - devtmpfs udev rw,size=7999432k,nr_inodes=1999858,mode=755,inode64
28 27 0:25 / /dev/pts rw,nosuid,noexec,relatime shared:3 - devpts devpts rw,gid=5,mode=620,ptmxmode=000
29 30 0:26 / /run rw,nosuid,nodev,noexec,relatime shared:5 - tmpfs tmpfs rw,size=1609104k,mode=755,inode64
30 1 259:2 / / rw,relatime shared:1 - ext4 /dev/nvme0n1p2 rw,errors=remount-ro
31 25 0:6 / /sys/kernel/security rw,nosuid,nodev,noexec,relatime shared:8 - securityfs securityfs rw
32 27 0:27 / /dev/shm rw,nosuid,nodev shared:4 - tmpfs tmpfs rw,inode64
33 29 0:28 / /run/lock rw,nosuid,nodev,noexec,relatime shared:6 - tmpfs tmpfs rw,size=5120k,inode64
34 25 0:29 / /sys/fs/cgroup rw,nosuid,nodev,noexec,relatime shared:9 - cgroup2 cgroup2 rw,nsdelegate,memory_recursiveprot
35 25 0:30 / /sys/fs/pstore rw,nosuid,nodev,noexec,relatime shared:10 - pstore pstore rw
36 25 0:31 / /sys/firmware/efi/efivars rw,nosuid,nodev,noexec,relatime shared:11 - efivarfs efivarfs rw
37 25 0:32 / /sys/fs/bpf rw,nosuid,nodev,noexec,relatime shared:12 - bpf bpf rw,mode=700
38 26 0:33 / /proc/sys/fs/binfmt_misc rw,relatime shared:15 - autofs systemd-1 rw,fd=29,pgrp=1,timeout=0,minproto=5,maxproto=5,direct,pipe_ino=21337
39 27 0:20 / /dev/mqueue rw,nosuid,nodev,noexec,relatime shared:16 - mqueue mqueue rw
40 27 0:34 / /dev/hugepages rw,relatime shared:17 - hugetlbfs hugetlbfs rw,pagesize=2M
41 25 0:7 / /sys/kernel/debug rw,nosuid,nodev,noexec,relatime shared:18 - debugfs debugfs rw
42 25 0:12 / /sys/kernel/tracing rw,nosuid,nodev,noexec,relatime shared:19 - tracefs tracefs rw
43 25 0:35 / /sys/fs/fuse/connections rw,nosuid,nodev,noexec,relatime shared:20 - fusectl fusectl rw
44 25 0:21 / /sys/kernel/config rw,nosuid,nodev,noexec,relatime shared:21 - configfs configfs rw
92 30 7:0 / /snap/bare/5 ro,nodev,relatime shared:44 - squashfs /dev/loop0 ro,errors=continue
95 30 7:1 / /snap/core20/2182 ro,nodev,relatime shared:46 - squashfs /dev/loop1 ro,errors=continue
98 30 7:2 / /snap/core22/1122 ro,nodev,relatime shared:48 - squashfs /dev/loop2 ro,errors=continue
101 30 7:3 / /snap/core22/1380 ro,nodev,relatime shared:50 - squashfs /dev/loop3 ro,errors=continue
104 30 7:4 / /snap/firefox/4136 ro,nodev,relatime shared:52 - squashfs /dev/loop4 ro,errors=continue
107 30 7:5 / /snap/firefox/4173 ro,nodev,relatime shared:54 - squashfs /dev/loop5 ro,errors=continue
110 30 7:6 / /snap/gnome-3-38-2004/143 ro,nodev,relatime shared:56 - squashfs /dev/loop6 ro,errors=continue
113 30 7:7 / /snap/gnome-42-2204/141 ro,nodev,relatime shared:58 - squashfs /dev/loop7 ro,errors=continue
116 30 7:8 / /snap/gnome-42-2204/176 ro,nodev,relatime shared:60 - squashfs /dev/loop8 ro,errors=continue
119 30 7:9 / /snap/gtk-common-themes/1535 ro,nodev,relatime shared:62 - squashfs /dev/loop9 ro,errors=continue
122 30 7:10 / /snap/snap-store/959 ro,nodev,relatime shared:64 - squashfs /dev/loop10 ro,errors=continue
125 30 7:11 / /snap/snapd/20671 ro,nodev,relatime shared:66 - squashfs /dev/loop11 ro,errors=continue
128 30 7:12 / /snap/snapd/21184 ro,nodev,relatime shared:68 - squashfs /dev/loop12 ro,errors=continue
131 30 7:13 / /snap/snapd-desktop-integration/83 ro,nodev,relatime shared:70 - squashfs /dev/loop13 ro,errors=continue
134 30 7:14 / /snap/thunderbird/470 ro,nodev,relatime shared:72 - squashfs /dev/loop14 ro,errors=continue
137 30 259:1 / /boot/efi rw,relatime shared:74 - vfat /dev/nvme0n1p1 rw,fmask=0077,dmask=0077,codepage=437,iocharset=iso8859-1,shortname=mixed,errors=remount-ro
140 38 0:50 / /proc/sys/fs/binfmt_misc rw,nosuid,nodev,noexec,relatime shared:76 - binfmt_misc binfmt_misc rw
612 29 0:26 /snapd/ns /run/snapd/ns rw,nosuid,nodev,noexec,relatime - tmpfs tmpfs rw,size=1609104k,mode=755,inode64
640 612 0:4 mnt:[4026532608] /run/snapd/ns/snapd-desktop-integration.mnt rw - nsfs nsfs rw
1183 29 0:54 / /run/user/1000 rw,nosuid,nodev,relatime shared:588 - tmpfs tmpfs rw,size=1609100k,nr_inodes=402275,mode=700,uid=1000,gid=1000,inode64
1201 1183 0:55 / /run/user/1000/doc rw,nosuid,nodev,relatime shared:597 - fuse.portal portal rw,user_id=1000,group_id=1000
1215 1183 0:56 / /run/user/1000/gvfs rw,nosuid,nodev,relatime shared:604 - fuse.gvfsd-fuse gvfsd-fuse rw,user_id=1000,group_id=1000
1377 612 0:4 mnt:[4026532763] /run/snapd/ns/firefox.mnt rw - nsfs nsfs rw
1402 30 259:2 /usr/share/hunspell /var/snap/firefox/common/host-hunspell ro,noexec,relatime shared:1 - ext4 /dev/nvme0n1p2 rw,errors=remount-ro
1533 30 8:1 / /media/ana/KINGSTON rw,nosuid,nodev,relatime shared:733 - vfat /dev/sda1 rw,uid=1000,gid=1000,fmask=0022,dmask=0022,codepage=437,iocharset=iso8859-1,shortname=mixed,showexec,utf8,flush,errors=remount-ro
)";
    host.Devices = {{"/dev/nvme0n1p2", {Disk("nvme0n1p2"), ""}},
                    {"/dev/nvme0n1p1", {Disk("nvme0n1p1"), ""}},
                    {"/dev/sda1", {Disk("sda1", true, true), "KINGSTON"}}};
    for (int loop = 0; loop <= 14; ++loop) {
        const std::string name = "loop" + std::to_string(loop);
        host.Devices["/dev/" + name] = {Disk(name.c_str()), ""};
        host.Space["7:" + std::to_string(loop)] = {0, 4096 + 1024 * std::uint64_t(loop)};
    }
    host.Space.insert({{"259:2", {301467394048, 124702208}},
                       {"259:1", {530042880, 130812}},
                       {"8:1", {15493627904, 3781632}},
                       {"0:26", Tmpfs(1609104, 2248)},
                       {"0:27", Tmpfs(8045520, 41472)},
                       {"0:28", Tmpfs(5120, 4)},
                       {"0:54", Tmpfs(1609100, 184)},
                       {"0:55", {0, 0}},
                       {"0:56", {0, 0}}});
    host.Lines = {
        {"Free space on all local volumes", "301,997,436,928 "},
        {"Free space on /run (tmpfs)", "1,645,420,544 "},
        {"Free space on / (ext4)", "301,467,394,048 "},
        {"Free space on /dev/shm (tmpfs)", "8,196,145,152 "},
        {"Free space on /run/lock (tmpfs)", "5,238,784 "},
        {"Free space on /boot/efi (vfat)", "530,042,880 "},
        {"Free space on /run/user/1000 (tmpfs)", "1,647,529,984 "},
    };
    return host;
}

// openSUSE Tumbleweed on btrfs: the root is a snapshot subvolume, and nine
// more subvolumes of the same file system are mounted beside it; a second
// btrfs disk holds backups; systemd keeps service credentials on small tmpfs
// mounts.
HostTable BtrfsSubvolumes() {
    HostTable host;
    host.Name = "BtrfsSubvolumes";
    host.MountInfo =
        R"(62 1 0:30 /@/.snapshots/1/snapshot / rw,relatime shared:1 - btrfs /dev/nvme0n1p2 rw,ssd,discard=async,space_cache=v2,subvolid=266,subvol=/@/.snapshots/1/snapshot
22 62 0:21 / /sys rw,nosuid,nodev,noexec,relatime shared:2 - sysfs sysfs rw
23 62 0:22 / /proc rw,nosuid,nodev,noexec,relatime shared:12 - proc proc rw
24 62 0:5 / /dev rw,nosuid shared:13 - devtmpfs devtmpfs rw,size=4096k,nr_inodes=4075489,mode=755,inode64
25 22 0:7 / /sys/kernel/security rw,nosuid,nodev,noexec,relatime shared:3 - securityfs securityfs rw
26 24 0:23 / /dev/shm rw,nosuid,nodev shared:14 - tmpfs tmpfs rw,inode64
27 24 0:24 / /dev/pts rw,nosuid,noexec,relatime shared:15 - devpts devpts rw,gid=5,mode=620,ptmxmode=000
28 62 0:25 / /run rw,nosuid,nodev shared:16 - tmpfs tmpfs rw,size=6520556k,nr_inodes=819200,mode=755,inode64
29 22 0:26 / /sys/fs/cgroup rw,nosuid,nodev,noexec,relatime shared:4 - cgroup2 cgroup2 rw,nsdelegate,memory_recursiveprot
30 22 0:27 / /sys/fs/pstore rw,nosuid,nodev,noexec,relatime shared:5 - pstore pstore rw
31 22 0:28 / /sys/firmware/efi/efivars rw,nosuid,nodev,noexec,relatime shared:6 - efivarfs efivarfs rw
32 22 0:29 / /sys/fs/bpf rw,nosuid,nodev,noexec,relatime shared:7 - bpf bpf rw,mode=700
33 23 0:31 / /proc/sys/fs/binfmt_misc rw,relatime shared:17 - autofs systemd-1 rw,fd=36,pgrp=1,timeout=0,minproto=5,maxproto=5,direct,pipe_ino=3862
34 24 0:20 / /dev/mqueue rw,nosuid,nodev,noexec,relatime shared:18 - mqueue mqueue rw
35 24 0:32 / /dev/hugepages rw,nosuid,nodev,relatime shared:19 - hugetlbfs hugetlbfs rw,pagesize=2M
36 22 0:8 / /sys/kernel/debug rw,nosuid,nodev,noexec,relatime shared:8 - debugfs debugfs rw
37 22 0:13 / /sys/kernel/tracing rw,nosuid,nodev,noexec,relatime shared:9 - tracefs tracefs rw
38 28 0:33 / /run/credentials/systemd-tmpfiles-setup-dev-early.service ro,nosuid,nodev,noexec,relatime,nosymfollow shared:20 - tmpfs tmpfs rw,size=1024k,nr_inodes=1024,mode=700,inode64,noswap
39 22 0:34 / /sys/kernel/config rw,nosuid,nodev,noexec,relatime shared:10 - configfs configfs rw
40 22 0:35 / /sys/fs/fuse/connections rw,nosuid,nodev,noexec,relatime shared:11 - fusectl fusectl rw
41 28 0:36 / /run/credentials/systemd-sysctl.service ro,nosuid,nodev,noexec,relatime,nosymfollow shared:21 - tmpfs tmpfs rw,size=1024k,nr_inodes=1024,mode=700,inode64,noswap
65 62 0:30 /@/.snapshots /.snapshots rw,relatime shared:32 - btrfs /dev/nvme0n1p2 rw,ssd,discard=async,space_cache=v2,subvolid=265,subvol=/@/.snapshots
66 62 0:30 /@/boot/grub2/i386-pc /boot/grub2/i386-pc rw,relatime shared:33 - btrfs /dev/nvme0n1p2 rw,ssd,discard=async,space_cache=v2,subvolid=264,subvol=/@/boot/grub2/i386-pc
67 62 0:30 /@/boot/grub2/x86_64-efi /boot/grub2/x86_64-efi rw,relatime shared:34 - btrfs /dev/nvme0n1p2 rw,ssd,discard=async,space_cache=v2,subvolid=263,subvol=/@/boot/grub2/x86_64-efi
68 62 0:30 /@/home /home rw,relatime shared:35 - btrfs /dev/nvme0n1p2 rw,ssd,discard=async,space_cache=v2,subvolid=262,subvol=/@/home
69 62 0:30 /@/opt /opt rw,relatime shared:36 - btrfs /dev/nvme0n1p2 rw,ssd,discard=async,space_cache=v2,subvolid=261,subvol=/@/opt
70 62 0:30 /@/root /root rw,relatime shared:37 - btrfs /dev/nvme0n1p2 rw,ssd,discard=async,space_cache=v2,subvolid=260,subvol=/@/root
71 62 0:30 /@/srv /srv rw,relatime shared:38 - btrfs /dev/nvme0n1p2 rw,ssd,discard=async,space_cache=v2,subvolid=259,subvol=/@/srv
72 62 0:30 /@/usr/local /usr/local rw,relatime shared:39 - btrfs /dev/nvme0n1p2 rw,ssd,discard=async,space_cache=v2,subvolid=258,subvol=/@/usr/local
73 62 0:30 /@/var /var rw,relatime shared:40 - btrfs /dev/nvme0n1p2 rw,ssd,discard=async,space_cache=v2,subvolid=257,subvol=/@/var
74 62 259:1 / /boot/efi rw,relatime shared:41 - vfat /dev/nvme0n1p1 rw,fmask=0022,dmask=0022,codepage=437,iocharset=iso8859-1,shortname=mixed,utf8,errors=remount-ro
76 62 0:39 / /backup rw,relatime shared:43 - btrfs /dev/sda1 rw,space_cache=v2,subvolid=5,subvol=/
78 28 0:40 / /run/credentials/systemd-tmpfiles-setup.service ro,nosuid,nodev,noexec,relatime,nosymfollow shared:44 - tmpfs tmpfs rw,size=1024k,nr_inodes=1024,mode=700,inode64,noswap
80 62 0:41 / /tmp rw,nosuid,nodev shared:45 - tmpfs tmpfs rw,size=16301392k,nr_inodes=1048576,inode64
84 33 0:42 / /proc/sys/fs/binfmt_misc rw,nosuid,nodev,noexec,relatime shared:47 - binfmt_misc binfmt_misc rw
1021 28 0:57 / /run/user/1000 rw,nosuid,nodev,relatime shared:580 - tmpfs tmpfs rw,size=3260276k,nr_inodes=815069,mode=700,uid=1000,gid=1000,inode64
1085 1021 0:58 / /run/user/1000/doc rw,nosuid,nodev,relatime shared:612 - fuse.portal portal rw,user_id=1000,group_id=1000
)";
    host.Devices = {{"/dev/nvme0n1p2", {Disk("nvme0n1p2"), ""}},
                    {"/dev/nvme0n1p1", {Disk("nvme0n1p1"), ""}},
                    {"/dev/sda1", {Disk("sda1"), "backup"}}};
    host.Space = {{"0:30", {612405567488, 249980672}},
                  {"0:39", {1893256372224, 976754646}},
                  {"259:1", {527974400, 130812}},
                  {"0:23", Tmpfs(16301392, 388)},
                  {"0:25", Tmpfs(6520556, 1964)},
                  {"0:33", Tmpfs(1024)},
                  {"0:36", Tmpfs(1024)},
                  {"0:40", Tmpfs(1024)},
                  {"0:41", Tmpfs(16301392, 12)},
                  {"0:57", Tmpfs(3260276, 212)},
                  {"0:58", {0, 0}}};
    host.Lines = {
        {"Free space on all local volumes", "2,506,189,914,112 "},
        {"Free space on / (btrfs)", "612,405,567,488 "},
        {"Free space on /dev/shm (tmpfs)", "16,692,228,096 "},
        {"Free space on /run (tmpfs)", "6,675,038,208 "},
        {"Free space on /run/credentials/systemd-tmpfiles-setup-dev-early.service (tmpfs)",
         "1,048,576 "},
        {"Free space on /run/credentials/systemd-sysctl.service (tmpfs)", "1,048,576 "},
        {"Free space on /boot/efi (vfat)", "527,974,400 "},
        {"Free space on /backup (backup,btrfs)", "1,893,256,372,224 "},
        {"Free space on /run/credentials/systemd-tmpfiles-setup.service (tmpfs)", "1,048,576 "},
        {"Free space on /tmp (tmpfs)", "16,692,613,120 "},
        {"Free space on /run/user/1000 (tmpfs)", "3,338,305,536 "},
    };
    return host;
}

// Inside an unprivileged LXC container of LXD on a ZFS pool: the root is a
// ZFS dataset whose parent mount lies outside the container's view, /dev is
// a small tmpfs with the host's device nodes bound in, lxcfs stands in for
// files of /proc and /sys, and a folder of the host's disk is bound in.
HostTable LxcContainer() {
    HostTable host;
    host.Name = "LxcContainer";
    host.MountInfo =
        R"(1064 1001 0:108 / / rw,relatime shared:541 master:424 - zfs default/containers/web1 rw,xattr,posixacl
1065 1064 0:110 / /dev rw,relatime shared:542 - tmpfs none rw,size=492k,mode=755,uid=1000000,gid=1000000,inode64
1066 1064 0:111 / /proc rw,nosuid,nodev,noexec,relatime shared:543 - proc proc rw
1067 1064 0:112 / /sys rw,relatime shared:550 - sysfs sysfs rw
1068 1065 0:5 /fuse /dev/fuse rw,nosuid,relatime master:2 - devtmpfs udev rw,size=32810412k,nr_inodes=8202603,mode=755,inode64
1069 1065 0:5 /net/tun /dev/net/tun rw,nosuid,relatime master:2 - devtmpfs udev rw,size=32810412k,nr_inodes=8202603,mode=755,inode64
1070 1066 0:57 / /proc/sys/fs/binfmt_misc rw,nosuid,nodev,noexec,relatime master:22 - binfmt_misc binfmt_misc rw
1071 1067 0:28 / /sys/firmware/efi/efivars rw,nosuid,nodev,noexec,relatime master:10 - efivarfs efivarfs rw
1072 1067 0:35 / /sys/fs/fuse/connections rw,nosuid,nodev,noexec,relatime master:23 - fusectl fusectl rw
1073 1067 0:7 / /sys/kernel/debug rw,nosuid,nodev,noexec,relatime master:19 - debugfs debugfs rw
1074 1067 0:6 / /sys/kernel/security rw,nosuid,nodev,noexec,relatime master:8 - securityfs securityfs rw
1075 1067 0:12 / /sys/kernel/tracing rw,nosuid,nodev,noexec,relatime master:20 - tracefs tracefs rw
1076 1065 0:109 / /dev/.lxd-mounts rw,relatime master:512 - tmpfs tmpfs rw,size=100k,mode=711,inode64
1077 1066 0:61 /proc/cpuinfo /proc/cpuinfo rw,nosuid,nodev,relatime master:431 - fuse.lxcfs lxcfs rw,user_id=0,group_id=0,allow_other
1078 1066 0:61 /proc/diskstats /proc/diskstats rw,nosuid,nodev,relatime master:431 - fuse.lxcfs lxcfs rw,user_id=0,group_id=0,allow_other
1079 1066 0:61 /proc/loadavg /proc/loadavg rw,nosuid,nodev,relatime master:431 - fuse.lxcfs lxcfs rw,user_id=0,group_id=0,allow_other
1080 1066 0:61 /proc/meminfo /proc/meminfo rw,nosuid,nodev,relatime master:431 - fuse.lxcfs lxcfs rw,user_id=0,group_id=0,allow_other
1081 1066 0:61 /proc/slabinfo /proc/slabinfo rw,nosuid,nodev,relatime master:431 - fuse.lxcfs lxcfs rw,user_id=0,group_id=0,allow_other
1082 1066 0:61 /proc/stat /proc/stat rw,nosuid,nodev,relatime master:431 - fuse.lxcfs lxcfs rw,user_id=0,group_id=0,allow_other
1083 1066 0:61 /proc/swaps /proc/swaps rw,nosuid,nodev,relatime master:431 - fuse.lxcfs lxcfs rw,user_id=0,group_id=0,allow_other
1084 1066 0:61 /proc/uptime /proc/uptime rw,nosuid,nodev,relatime master:431 - fuse.lxcfs lxcfs rw,user_id=0,group_id=0,allow_other
1085 1067 0:61 /sys/devices/system/cpu /sys/devices/system/cpu rw,nosuid,nodev,relatime master:431 - fuse.lxcfs lxcfs rw,user_id=0,group_id=0,allow_other
1086 1065 0:5 /full /dev/full rw,nosuid,relatime master:2 - devtmpfs udev rw,size=32810412k,nr_inodes=8202603,mode=755,inode64
1087 1065 0:5 /null /dev/null rw,nosuid,relatime master:2 - devtmpfs udev rw,size=32810412k,nr_inodes=8202603,mode=755,inode64
1088 1065 0:5 /random /dev/random rw,nosuid,relatime master:2 - devtmpfs udev rw,size=32810412k,nr_inodes=8202603,mode=755,inode64
1089 1065 0:5 /tty /dev/tty rw,nosuid,relatime master:2 - devtmpfs udev rw,size=32810412k,nr_inodes=8202603,mode=755,inode64
1090 1065 0:5 /urandom /dev/urandom rw,nosuid,relatime master:2 - devtmpfs udev rw,size=32810412k,nr_inodes=8202603,mode=755,inode64
1091 1065 0:5 /zero /dev/zero rw,nosuid,relatime master:2 - devtmpfs udev rw,size=32810412k,nr_inodes=8202603,mode=755,inode64
1092 1065 0:113 / /dev/pts rw,nosuid,noexec,relatime shared:544 - devpts devpts rw,gid=1000005,mode=620,ptmxmode=666,max=1024
1093 1065 0:113 /ptmx /dev/ptmx rw,nosuid,noexec,relatime shared:544 - devpts devpts rw,gid=1000005,mode=620,ptmxmode=666,max=1024
1094 1065 0:113 /0 /dev/console rw,nosuid,noexec,relatime shared:544 - devpts devpts rw,gid=1000005,mode=620,ptmxmode=666,max=1024
1095 1064 259:2 /srv/www /srv/www rw,relatime,idmapped master:1 - ext4 /dev/nvme0n1p2 rw,errors=remount-ro
1096 1065 0:114 / /dev/shm rw,nosuid,nodev shared:545 - tmpfs tmpfs rw,uid=1000000,gid=1000000,inode64
1097 1064 0:115 / /run rw,nosuid,nodev shared:546 - tmpfs tmpfs rw,size=6563988k,nr_inodes=819200,mode=755,uid=1000000,gid=1000000,inode64
1098 1097 0:116 / /run/lock rw,nosuid,nodev,noexec,relatime shared:547 - tmpfs tmpfs rw,size=5120k,uid=1000000,gid=1000000,inode64
1099 1067 0:30 / /sys/fs/cgroup rw,nosuid,nodev,noexec,relatime shared:548 - cgroup2 cgroup2 rw,nsdelegate,memory_recursiveprot
1100 1065 0:117 / /dev/mqueue rw,nosuid,nodev,noexec,relatime shared:551 - mqueue mqueue rw
)";
    // No udev in the container: the host's disk shows no label.
    host.Devices = {{"/dev/nvme0n1p2", {Disk("nvme0n1p2"), ""}}};
    host.Space = {{"0:108", {1436125429760, 350616560}},
                  {"0:110", Tmpfs(492, 4)},
                  {"0:109", Tmpfs(100)},
                  {"259:2", {188343541760, 117040640}},
                  {"0:114", Tmpfs(32810412)},
                  {"0:115", Tmpfs(6563988, 188)},
                  {"0:116", Tmpfs(5120)},
                  {"0:61", {0, 0}}};
    host.Lines = {
        {"Free space on all local volumes", "1,624,468,971,520 "},
        {"Free space on / (zfs)", "1,436,125,429,760 "},
        {"Free space on /dev (tmpfs)", "499,712 "},
        {"Free space on /dev/.lxd-mounts (tmpfs)", "102,400 "},
        {"Free space on /srv/www (ext4)", "188,343,541,760 "},
        {"Free space on /dev/shm (tmpfs)", "33,597,861,888 "},
        {"Free space on /run (tmpfs)", "6,721,331,200 "},
        {"Free space on /run/lock (tmpfs)", "5,242,880 "},
    };
    return host;
}

// Ubuntu in WSL 2 (without systemd): the distribution's disk is a virtual
// SCSI disk, Windows' drives C: and D: and WSL's own tools come over 9p, the
// GPU libraries and WSLg's files are overlays, and tmpfs mounts without a
// size take half the memory of the virtual machine.
// WSL's own tools (/init) and GPU drivers come over 9p read-only: nothing can
// be written there, so they are no volumes, like the read-only images.
HostTable Wsl2Guest() {
    HostTable host;
    host.Name = "Wsl2Guest";
    host.MountInfo =
        R"(57 62 0:51 / /mnt/wsl rw,relatime shared:1 - tmpfs none rw
58 62 0:47 /init /init ro,relatime - 9p tools ro,dirsync,aname=tools;fmask=022,loose,access=client,trans=fd,rfd=6,wfd=6
59 62 0:5 / /dev rw,nosuid,relatime shared:2 - devtmpfs none rw,size=8116252k,nr_inodes=2029063,mode=755
60 62 0:22 / /sys rw,nosuid,nodev,noexec,noatime shared:7 - sysfs sysfs rw
61 62 0:53 / /proc rw,nosuid,nodev,noexec,noatime shared:12 - proc proc rw
62 63 8:32 / / rw,relatime - ext4 /dev/sdc rw,discard,errors=remount-ro,data=ordered
64 59 0:54 / /dev/pts rw,nosuid,noexec,noatime shared:3 - devpts devpts rw,gid=5,mode=620,ptmxmode=000
65 62 0:55 / /run rw,nosuid,nodev shared:4 - tmpfs none rw,mode=755
66 65 0:56 / /run/lock rw,nosuid,nodev,noexec,noatime shared:5 - tmpfs none rw
67 65 0:57 / /run/shm rw,nosuid,nodev,noatime shared:6 - tmpfs none rw
68 65 0:58 / /run/user rw,nosuid,nodev,noexec,noatime shared:8 - tmpfs none rw,mode=755
69 61 0:25 / /proc/sys/fs/binfmt_misc rw,relatime shared:13 - binfmt_misc binfmt_misc rw
70 60 0:59 / /sys/fs/cgroup rw,nosuid,nodev,noexec,relatime shared:9 - tmpfs tmpfs rw,mode=755
71 70 0:28 / /sys/fs/cgroup/unified rw,nosuid,nodev,noexec,relatime shared:10 - cgroup2 cgroup2 rw,nsdelegate
72 70 0:29 / /sys/fs/cgroup/cpuset rw,nosuid,nodev,noexec,relatime shared:11 - cgroup cgroup rw,cpuset
73 70 0:30 / /sys/fs/cgroup/cpu rw,nosuid,nodev,noexec,relatime shared:14 - cgroup cgroup rw,cpu
74 70 0:31 / /sys/fs/cgroup/cpuacct rw,nosuid,nodev,noexec,relatime shared:15 - cgroup cgroup rw,cpuacct
75 70 0:32 / /sys/fs/cgroup/blkio rw,nosuid,nodev,noexec,relatime shared:16 - cgroup cgroup rw,blkio
76 70 0:33 / /sys/fs/cgroup/memory rw,nosuid,nodev,noexec,relatime shared:17 - cgroup cgroup rw,memory
77 70 0:34 / /sys/fs/cgroup/devices rw,nosuid,nodev,noexec,relatime shared:18 - cgroup cgroup rw,devices
78 70 0:35 / /sys/fs/cgroup/freezer rw,nosuid,nodev,noexec,relatime shared:19 - cgroup cgroup rw,freezer
79 70 0:36 / /sys/fs/cgroup/net_cls rw,nosuid,nodev,noexec,relatime shared:20 - cgroup cgroup rw,net_cls
80 70 0:37 / /sys/fs/cgroup/perf_event rw,nosuid,nodev,noexec,relatime shared:21 - cgroup cgroup rw,perf_event
81 70 0:38 / /sys/fs/cgroup/net_prio rw,nosuid,nodev,noexec,relatime shared:22 - cgroup cgroup rw,net_prio
82 70 0:39 / /sys/fs/cgroup/hugetlb rw,nosuid,nodev,noexec,relatime shared:23 - cgroup cgroup rw,hugetlb
83 70 0:40 / /sys/fs/cgroup/pids rw,nosuid,nodev,noexec,relatime shared:24 - cgroup cgroup rw,pids
84 70 0:41 / /sys/fs/cgroup/rdma rw,nosuid,nodev,noexec,relatime shared:25 - cgroup cgroup rw,rdma
85 70 0:42 / /sys/fs/cgroup/misc rw,nosuid,nodev,noexec,relatime shared:26 - cgroup cgroup rw,misc
86 62 0:45 / /usr/lib/wsl/drivers ro,nosuid,nodev,noatime - 9p drivers ro,dirsync,aname=drivers;fmask=222;dmask=222,mmap,access=client,msize=65536,trans=fd,rfd=7,wfd=7
87 62 0:60 / /usr/lib/wsl/lib rw,nosuid,nodev,noatime - overlay none rw,lowerdir=/gpu_lib_packaged:/gpu_lib_inbox,upperdir=/gpu_lib/rw/upper,workdir=/gpu_lib/rw/work
89 62 0:62 / /mnt/wslg rw,relatime shared:27 - tmpfs none rw
90 89 8:32 / /mnt/wslg/distro ro,relatime shared:28 - ext4 /dev/sdc rw,discard,errors=remount-ro,data=ordered
91 62 0:62 /.X11-unix /tmp/.X11-unix ro,relatime shared:29 - tmpfs none rw
92 89 0:63 /versions.txt /mnt/wslg/versions.txt rw,relatime shared:30 - overlay none rw,lowerdir=/systemvhd,upperdir=/system/rw/upper,workdir=/system/rw/work
93 89 0:63 /doc /mnt/wslg/doc rw,relatime shared:31 - overlay none rw,lowerdir=/systemvhd,upperdir=/system/rw/upper,workdir=/system/rw/work
94 62 0:64 / /mnt/c rw,noatime - 9p C:\134 rw,dirsync,aname=drvfs;path=C:\;uid=1000;gid=1000;symlinkroot=/mnt/,mmap,access=client,msize=65536,trans=fd,rfd=5,wfd=5
95 62 0:65 / /mnt/d rw,noatime - 9p D:\134 rw,dirsync,aname=drvfs;path=D:\;uid=1000;gid=1000;symlinkroot=/mnt/,mmap,access=client,msize=65536,trans=fd,rfd=5,wfd=5
)";
    host.Devices = {{"/dev/sdc", {Disk("sdc"), ""}}};
    const FreeSpace driveC{211416432640, 124741599};
    host.Space = {{"8:32", {950399021056, 263940717}},
                  {"0:47", driveC},
                  {"0:45", driveC},
                  {"0:64", driveC},
                  {"0:65", {998654910464, 488378646}},
                  {"0:60", {950399021056, 263940717}},
                  {"0:63", {950399021056, 263940717}},
                  {"0:51", Tmpfs(8116252, 4)},
                  {"0:55", Tmpfs(8116252, 28)},
                  {"0:56", Tmpfs(8116252)},
                  {"0:57", Tmpfs(8116252)},
                  {"0:58", Tmpfs(8116252)},
                  {"0:59", Tmpfs(8116252)},
                  {"0:62", Tmpfs(8116252, 236)}};
    host.Lines = {
        {"Free space on all local volumes", "950,399,021,056 "},
        {"Free space on /mnt/wsl (tmpfs)", "8,311,037,952 "},
        {"Free space on / (ext4)", "950,399,021,056 "},
        {"Free space on /run (tmpfs)", "8,311,013,376 "},
        {"Free space on /run/lock (tmpfs)", "8,311,042,048 "},
        {"Free space on /run/shm (tmpfs)", "8,311,042,048 "},
        {"Free space on /run/user (tmpfs)", "8,311,042,048 "},
        {"Free space on /sys/fs/cgroup (tmpfs)", "8,311,042,048 "},
        {"Free space on /mnt/wslg (tmpfs)", "8,310,800,384 "},
        {"Free space on /mnt/c (9p)", "211,416,432,640 "},
        {"Free space on /mnt/d (9p)", "998,654,910,464 "},
    };
    return host;
}

// A RHEL 9 workstation that mounts home folders and build servers' exports
// over NFS through autofs: the automount points themselves, an export that
// has been mounted, one whose server no longer answers, and one mounted on
// an automount point of the -hosts map. systemd keeps service credentials
// on ramfs, which reports no blocks at all.
HostTable NfsUnderAutofs() {
    HostTable host;
    host.Name = "NfsUnderAutofs";
    host.MountInfo =
        R"(22 96 0:21 / /proc rw,nosuid,nodev,noexec,relatime shared:25 - proc proc rw
23 96 0:22 / /sys rw,nosuid,nodev,noexec,relatime shared:2 - sysfs sysfs rw,seclabel
24 96 0:5 / /dev rw,nosuid shared:21 - devtmpfs devtmpfs rw,seclabel,size=4096k,nr_inodes=1998416,mode=755,inode64
25 23 0:6 / /sys/kernel/security rw,nosuid,nodev,noexec,relatime shared:3 - securityfs securityfs rw
26 24 0:23 / /dev/shm rw,nosuid,nodev shared:22 - tmpfs tmpfs rw,seclabel,inode64
27 24 0:24 / /dev/pts rw,nosuid,noexec,relatime shared:23 - devpts devpts rw,seclabel,gid=5,mode=620,ptmxmode=000
28 96 0:25 / /run rw,nosuid,nodev shared:24 - tmpfs tmpfs rw,seclabel,size=3204556k,nr_inodes=819200,mode=755,inode64
29 23 0:26 / /sys/fs/cgroup rw,nosuid,nodev,noexec,relatime shared:4 - cgroup2 cgroup2 rw,seclabel,nsdelegate,memory_recursiveprot
30 23 0:27 / /sys/fs/pstore rw,nosuid,nodev,noexec,relatime shared:5 - pstore pstore rw,seclabel
31 23 0:28 / /sys/fs/bpf rw,nosuid,nodev,noexec,relatime shared:6 - bpf none rw,mode=700
96 1 253:0 / / rw,relatime shared:1 - xfs /dev/mapper/rhel-root rw,seclabel,attr2,inode64,logbufs=8,logbsize=32k,noquota
32 23 0:20 / /sys/fs/selinux rw,nosuid,noexec,relatime shared:7 - selinuxfs selinuxfs rw
33 22 0:30 / /proc/sys/fs/binfmt_misc rw,relatime shared:26 - autofs systemd-1 rw,fd=32,pgrp=1,timeout=0,minproto=5,maxproto=5,direct,pipe_ino=16729
34 23 0:7 / /sys/kernel/debug rw,nosuid,nodev,noexec,relatime shared:8 - debugfs debugfs rw,seclabel
35 24 0:31 / /dev/hugepages rw,relatime shared:27 - hugetlbfs hugetlbfs rw,seclabel,pagesize=2M
36 24 0:19 / /dev/mqueue rw,nosuid,nodev,noexec,relatime shared:28 - mqueue mqueue rw,seclabel
37 23 0:12 / /sys/kernel/tracing rw,nosuid,nodev,noexec,relatime shared:9 - tracefs tracefs rw,seclabel
38 28 0:32 / /run/credentials/systemd-sysctl.service ro,nosuid,nodev,noexec,relatime shared:29 - ramfs ramfs rw,seclabel,mode=700
39 23 0:33 / /sys/fs/fuse/connections rw,nosuid,nodev,noexec,relatime shared:10 - fusectl fusectl rw
40 23 0:21 / /sys/kernel/config rw,nosuid,nodev,noexec,relatime shared:11 - configfs configfs rw
62 28 0:34 / /run/credentials/systemd-tmpfiles-setup-dev.service ro,nosuid,nodev,noexec,relatime shared:30 - ramfs ramfs rw,seclabel,mode=700
85 96 252:1 / /boot rw,relatime shared:47 - xfs /dev/vda1 rw,seclabel,attr2,inode64,logbufs=8,logbsize=32k,noquota
88 28 0:44 / /run/credentials/systemd-tmpfiles-setup.service ro,nosuid,nodev,noexec,relatime shared:49 - ramfs ramfs rw,seclabel,mode=700
92 96 0:46 / /var/lib/nfs/rpc_pipefs rw,relatime shared:51 - rpc_pipefs sunrpc rw
116 96 0:48 / /net rw,relatime shared:63 - autofs -hosts rw,fd=5,pgrp=1268,timeout=300,minproto=5,maxproto=5,indirect,pipe_ino=25866
120 96 0:49 / /home rw,relatime shared:65 - autofs /etc/auto.home rw,fd=11,pgrp=1268,timeout=300,minproto=5,maxproto=5,indirect,pipe_ino=25870
283 28 0:56 / /run/user/1000 rw,nosuid,nodev,relatime shared:152 - tmpfs tmpfs rw,seclabel,size=1602276k,nr_inodes=400569,mode=700,uid=1000,gid=1000,inode64
310 120 0:57 / /home/alice rw,relatime shared:167 - nfs4 filer.corp.example.com:/export/home/alice rw,vers=4.2,rsize=1048576,wsize=1048576,namlen=255,hard,proto=tcp,timeo=600,retrans=2,sec=krb5,clientaddr=10.20.3.41,local_lock=none,addr=10.20.1.10
318 120 0:58 / /home/carol rw,relatime shared:171 - nfs4 oldfiler.corp.example.com:/vol/home/carol rw,vers=4.1,rsize=65536,wsize=65536,namlen=255,hard,proto=tcp,timeo=600,retrans=2,sec=sys,clientaddr=10.20.3.41,local_lock=none,addr=10.20.1.12
325 116 0:59 / /net/build01/export rw,relatime shared:175 - autofs -hosts rw,fd=5,pgrp=1268,timeout=300,minproto=5,maxproto=5,offset,pipe_ino=25866
326 325 0:60 / /net/build01/export rw,relatime shared:176 - nfs4 build01:/export rw,vers=4.2,rsize=1048576,wsize=1048576,namlen=255,hard,proto=tcp,timeo=600,retrans=2,sec=sys,clientaddr=10.20.3.41,local_lock=none,addr=10.20.7.31
)";
    host.Devices = {{"/dev/mapper/rhel-root", {Disk("dm-0"), ""}},
                    {"/dev/vda1", {Disk("vda1"), ""}}};
    // oldfiler is gone: the query of /home/carol never answers.
    host.Space = {{"253:0", {53753675776, 18341888}},
                  {"252:1", {825700352, 261632}},
                  {"0:23", Tmpfs(8011380)},
                  {"0:25", Tmpfs(3204556, 68)},
                  {"0:32", {0, 0}},
                  {"0:34", {0, 0}},
                  {"0:44", {0, 0}},
                  {"0:56", Tmpfs(1602276, 12)},
                  {"0:57", {147740229632, 1073741824}},
                  {"0:60", {1421678034944, 1953523712}}};
    host.Lines = {
        {"Free space on all local volumes", "54,579,376,128 "},
        {"Free space on /dev/shm (tmpfs)", "8,203,653,120 "},
        {"Free space on /run (tmpfs)", "3,281,395,712 "},
        {"Free space on / (xfs)", "53,753,675,776 "},
        {"Free space on /run/credentials/systemd-sysctl.service (ramfs)", "0 "},
        {"Free space on /run/credentials/systemd-tmpfiles-setup-dev.service (ramfs)", "0 "},
        {"Free space on /boot (xfs)", "825,700,352 "},
        {"Free space on /run/credentials/systemd-tmpfiles-setup.service (ramfs)", "0 "},
        {"Free space on /run/user/1000 (tmpfs)", "1,640,718,336 "},
        {"Free space on /home/alice (nfs4)", "147,740,229,632 "},
        {"Free space on /net/build01/export (nfs4)", "1,421,678,034,944 "},
    };
    return host;
}

// Identifiers as a node's software makes them, from a fixed seed, so that
// the table is the same on every run.
class Identifiers {
  public:
    std::string Hex(int digits) {
        std::string text;
        for (int i = 0; i < digits; ++i) text += "0123456789abcdef"[Below(16)];
        return text;
    }
    std::string Uuid() {
        return Hex(8) + "-" + Hex(4) + "-" + Hex(4) + "-" + Hex(4) + "-" + Hex(12);
    }
    // The alphabet of Kubernetes's generated names: no vowels, no look-alikes.
    std::string NameSuffix() {
        std::string text;
        for (int i = 0; i < 5; ++i) text += "bcdfghjklmnpqrstvwxz2456789"[Below(27)];
        return text;
    }
    unsigned Below(unsigned range) {
        State ^= State << 13;
        State ^= State >> 7;
        State ^= State << 17;
        return static_cast<unsigned>(State % range);
    }

  private:
    std::uint64_t State = 0x9E3779B97F4A7C15ULL;
};

// The node's table as the kernel numbers it: mount ids, peer groups and
// anonymous device numbers each count up as mounts are made.
class NodeTable {
  public:
    NodeTable(HostTable& host, int firstId, unsigned firstMinor, int firstPeer)
        : Host(host), NextId(firstId), NextMinor(firstMinor), NextPeer(firstPeer) {}

    std::string NewDevice() { return "0:" + std::to_string(NextMinor++); }
    int NewPeerGroup() { return NextPeer++; }

    int Mount(int parent, const std::string& device, const std::string& root,
              const std::string& point, const std::string& options, int peerGroup,
              const std::string& type, const std::string& source, const std::string& superOptions) {
        const int id = NextId++;
        Host.MountInfo += std::to_string(id) + " " + std::to_string(parent) + " " + device + " " +
                          root + " " + point + " " + options +
                          " shared:" + std::to_string(peerGroup) + " - " + type + " " + source +
                          " " + superOptions + "\n";
        return id;
    }

    // A tmpfs of the kubelet or of containerd, listed with its free space.
    void Tmpfs(int parent, const std::string& point, const std::string& source,
               std::uint64_t sizeKiB, std::uint64_t usedKiB) {
        const std::string device = NewDevice();
        Mount(parent, device, "/", point, "rw,relatime", NewPeerGroup(), "tmpfs", source,
              "rw,size=" + std::to_string(sizeKiB) + "k,inode64");
        Host.Space[device] = test::Tmpfs(sizeKiB, usedKiB);
        Host.Lines.push_back(
            {"Free space on " + point + " (tmpfs)", Bytes((sizeKiB - usedKiB) * 1024)});
    }

  private:
    HostTable& Host;
    int NextId;
    unsigned NextMinor;
    int NextPeer;
};

constexpr int kNodeRoot = 29;
constexpr int kNodeRun = 28;
constexpr int kNodeNetns = 503;
constexpr const char* kSnapshots =
    "/var/lib/containerd/io.containerd.snapshotter.v1.overlayfs/snapshots/";
constexpr const char* kTasks = "/run/containerd/io.containerd.runtime.v2.task/k8s.io/";

// The root file system of a container: the image's layers below, a layer of
// its own on top; the root disk's free space, were anybody to ask.
void ContainerRoot(NodeTable& table, HostTable& host, Identifiers& ids, int& snapshot,
                   const FreeSpace& rootDisk) {
    std::string lower;
    const unsigned layers = 1 + ids.Below(9);
    for (unsigned layer = 0; layer < layers; ++layer) {
        if (layer != 0) lower += ':';
        lower.append(kSnapshots)
            .append(std::to_string(snapshot - 40 - static_cast<int>(ids.Below(900))))
            .append("/fs");
    }
    const std::string own = kSnapshots + std::to_string(snapshot++);
    const std::string device = table.NewDevice();
    table.Mount(kNodeRun, device, "/", kTasks + ids.Hex(64) + "/rootfs", "rw,relatime",
                table.NewPeerGroup(), "overlay", "overlay",
                "rw,lowerdir=" + lower + ",upperdir=" + own + "/fs,workdir=" + own + "/work");
    host.Space[device] = rootDisk;
}

}  // namespace

// An Ubuntu 22.04 worker (AWS, 64 GiB) of a cluster with a service mesh,
// full at 250 pods. For each pod the kubelet mounts a tmpfs per projected
// service account token and per secret, containerd a shm tmpfs, a network
// namespace (seen twice: /run/netns is bound from /run, whose peer receives
// it too, hidden below the bind) and an overlay for each container, the
// pause container included; a few pods have an EBS volume of their own,
// staged once and bound into the pod.
HostTable KubernetesNode() {
    HostTable host;
    host.Name = "KubernetesNode";
    host.MountInfo =
        R"(24 29 0:22 / /sys rw,nosuid,nodev,noexec,relatime shared:7 - sysfs sysfs rw
25 29 0:23 / /proc rw,nosuid,nodev,noexec,relatime shared:13 - proc proc rw
26 29 0:5 / /dev rw,nosuid,relatime shared:2 - devtmpfs udev rw,size=32545420k,nr_inodes=8136355,mode=755,inode64
27 26 0:24 / /dev/pts rw,nosuid,noexec,relatime shared:3 - devpts devpts rw,gid=5,mode=620,ptmxmode=000
28 29 0:25 / /run rw,nosuid,nodev,noexec,relatime shared:5 - tmpfs tmpfs rw,size=6518624k,mode=755,inode64
29 1 259:1 / / rw,relatime shared:1 - ext4 /dev/root rw,discard,errors=remount-ro
30 24 0:6 / /sys/kernel/security rw,nosuid,nodev,noexec,relatime shared:8 - securityfs securityfs rw
31 26 0:26 / /dev/shm rw,nosuid,nodev shared:4 - tmpfs tmpfs rw,inode64
32 28 0:27 / /run/lock rw,nosuid,nodev,noexec,relatime shared:6 - tmpfs tmpfs rw,size=5120k,inode64
33 24 0:28 / /sys/fs/cgroup rw,nosuid,nodev,noexec,relatime shared:9 - cgroup2 cgroup2 rw,nsdelegate,memory_recursiveprot
34 24 0:29 / /sys/fs/pstore rw,nosuid,nodev,noexec,relatime shared:10 - pstore pstore rw
35 24 0:30 / /sys/fs/bpf rw,nosuid,nodev,noexec,relatime shared:11 - bpf bpf rw,mode=700
36 25 0:31 / /proc/sys/fs/binfmt_misc rw,relatime shared:12 - autofs systemd-1 rw,fd=29,pgrp=1,timeout=0,minproto=5,maxproto=5,direct,pipe_ino=15263
37 26 0:20 / /dev/mqueue rw,nosuid,nodev,noexec,relatime shared:14 - mqueue mqueue rw
38 26 0:32 / /dev/hugepages rw,relatime shared:15 - hugetlbfs hugetlbfs rw,pagesize=2M
39 24 0:7 / /sys/kernel/debug rw,nosuid,nodev,noexec,relatime shared:16 - debugfs debugfs rw
40 24 0:12 / /sys/kernel/tracing rw,nosuid,nodev,noexec,relatime shared:17 - tracefs tracefs rw
41 24 0:33 / /sys/fs/fuse/connections rw,nosuid,nodev,noexec,relatime shared:18 - fusectl fusectl rw
42 24 0:21 / /sys/kernel/config rw,nosuid,nodev,noexec,relatime shared:19 - configfs configfs rw
87 29 259:3 / /boot/efi rw,relatime shared:46 - vfat /dev/nvme0n1p15 rw,fmask=0077,dmask=0077,codepage=437,iocharset=iso8859-1,shortname=mixed,errors=remount-ro
91 36 0:44 / /proc/sys/fs/binfmt_misc rw,nosuid,nodev,noexec,relatime shared:49 - binfmt_misc binfmt_misc rw
503 28 0:25 /netns /run/netns rw,nosuid,nodev,noexec,relatime shared:5 - tmpfs tmpfs rw,size=6518624k,mode=755,inode64
)";
    host.Devices = {{"/dev/root", {Disk("nvme0n1p1"), "cloudimg-rootfs"}},
                    {"/dev/nvme0n1p15", {Disk("nvme0n1p15"), "UEFI"}}};
    const FreeSpace rootDisk{121501356032, 50770683};
    host.Space = {{"259:1", rootDisk},
                  {"259:3", {103014400, 204276}},
                  {"0:25", Tmpfs(6518624, 1388)},
                  {"0:26", Tmpfs(32545420, 2048)},
                  {"0:27", Tmpfs(5120, 4)}};
    std::uint64_t fixedUnits = (rootDisk.FreeBytes + 103014400) / 256;
    host.Lines = {{"Free space on /run (tmpfs)", Bytes(6673649664)},
                  {"Free space on / (cloudimg-rootfs,ext4)", Bytes(121501356032)},
                  {"Free space on /dev/shm (tmpfs)", Bytes(33324412928)},
                  {"Free space on /run/lock (tmpfs)", Bytes(5238784)},
                  {"Free space on /boot/efi (UEFI,vfat)", Bytes(103014400)}};

    Identifiers ids;
    NodeTable table(host, 1207, 52, 404);
    int snapshot = 2210;
    unsigned long long netns = 4026532401ULL;
    unsigned nextVolume = 1;
    // Memory limits of the pods; the last is no limit, the node's allocatable memory.
    const std::uint64_t sizesKiB[] = {262144, 524288, 1048576, 2097152, 63318016};
    for (int pod = 0; pod < 250; ++pod) {
        const bool hostNetwork = pod < 8;  // kube-proxy, the CNI, node exporters, CSI
        const bool meshed = !hostNetwork && pod % 5 != 4;
        const std::uint64_t size = sizesKiB[pod % 5];
        const std::string volumes = "/var/lib/kubelet/pods/" + ids.Uuid() + "/volumes/";
        table.Tmpfs(kNodeRoot,
                    volumes + "kubernetes.io~projected/kube-api-access-" + ids.NameSuffix(),
                    "tmpfs", size, 12);
        if (meshed) {
            table.Tmpfs(kNodeRoot, volumes + "kubernetes.io~projected/istio-token", "tmpfs", size,
                        4);
            table.Tmpfs(kNodeRoot, volumes + "kubernetes.io~empty-dir/istio-envoy", "tmpfs", size,
                        36);
        }
        if (pod % 3 == 0)
            table.Tmpfs(kNodeRoot, volumes + "kubernetes.io~secret/tls-certs", "tmpfs", size, 8);
        if (pod % 41 == 20) {  // a StatefulSet's pod with a volume of its own
            const std::string disk = "nvme" + std::to_string(nextVolume) + "n1";
            const std::string device = "259:" + std::to_string(3 + nextVolume++);
            const std::string staged =
                "/var/lib/kubelet/plugins/kubernetes.io/csi/ebs.csi.aws.com/" + ids.Hex(64) +
                "/globalmount";
            const std::string published =
                volumes + "kubernetes.io~csi/pvc-" + ids.Uuid() + "/mount";
            const int peer = table.NewPeerGroup();
            table.Mount(kNodeRoot, device, "/", staged, "rw,relatime", peer, "ext4", "/dev/" + disk,
                        "rw");
            table.Mount(kNodeRoot, device, "/", published, "rw,relatime", peer, "ext4",
                        "/dev/" + disk, "rw");
            const FreeSpace space{(20000000 + 1000000ULL * ids.Below(4000)) * 4096, 26214400};
            host.Devices["/dev/" + disk] = {Disk(disk.c_str()), ""};
            host.Space[device] = space;
            // One volume, shown by the shorter of its two mount points.
            host.Lines.push_back(
                {"Free space on " + published + " (ext4)", Bytes(space.FreeBytes)});
            fixedUnits += space.FreeBytes / 256;
        }
        if (!hostNetwork) {
            const std::string name = "/run/netns/cni-" + ids.Uuid();
            const std::string root = "net:[" + std::to_string(netns += 60 + ids.Below(200)) + "]";
            const int peer = table.NewPeerGroup();
            table.Mount(kNodeNetns, "0:4", root, name, "rw", peer, "nsfs", "nsfs", "rw");
            table.Mount(kNodeRun, "0:4", root, name, "rw", peer, "nsfs", "nsfs", "rw");
        }
        table.Tmpfs(kNodeRun,
                    "/run/containerd/io.containerd.grpc.v1.cri/sandboxes/" + ids.Hex(64) + "/shm",
                    "shm", 65536, 0);
        ContainerRoot(table, host, ids, snapshot, rootDisk);  // the pause container
        const int containers = meshed || pod % 7 == 0 ? 2 : 1;
        for (int container = 0; container < containers; ++container)
            ContainerRoot(table, host, ids, snapshot, rootDisk);
    }
    host.Lines.insert(host.Lines.begin(),
                      {"Free space on all local volumes", Bytes(fixedUnits * 256)});
    return host;
}

std::vector<HostTable> HostTables() {
    return {DockerHost(), SnapDesktop(),    BtrfsSubvolumes(), LxcContainer(),
            Wsl2Guest(),  NfsUnderAutofs(), KubernetesNode()};
}

}  // namespace qv::test
