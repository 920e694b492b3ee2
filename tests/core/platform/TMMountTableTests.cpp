// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/platform/TMMountTable.h"

#include <gtest/gtest.h>

#include "support/TMCaseNames.h"

namespace tilemora {
namespace {

constexpr const char* kMountInfo =
    "22 1 254:0 / / rw,relatime shared:1 - ext4 /dev/vda rw\n"
    "23 22 0:21 / /proc rw,nosuid shared:2 - proc proc rw\n"
    "24 22 0:22 / /sys rw shared:3 - sysfs sysfs rw\n"
    "25 22 0:5 / /dev rw shared:4 - devtmpfs udev rw\n"
    "26 25 0:23 / /dev/pts rw - devpts devpts rw\n"
    "27 22 0:24 / /run rw - tmpfs tmpfs rw\n"
    "28 22 8:17 / /media/usb\\040stick rw shared:5 - vfat /dev/sdb1 rw\n"
    "29 22 0:40 / /mnt/share rw - nfs4 server:/export rw\n"
    "30 22 0:41 / /mnt/sshfs rw - fuse.sshfs user@host:/ rw\n"
    "31 22 8:33 / /mnt/ntfs rw - fuseblk /dev/sdc1 rw\n"
    "32 22 0:42 / /home rw - btrfs /dev/mapper/home rw\n"
    "33 22 0:43 / /sys/fs/cgroup rw - cgroup2 cgroup2 rw\n"
    "garbage line without separator\n";

TEST(TMMountTable, KeepsOnlyLocalVolumesInTableOrder) {
  EXPECT_EQ(TMMountTable::localVolumePaths(kMountInfo),
            (std::vector<std::string>{"/", "/media/usb stick", "/mnt/ntfs", "/home"}));
}

struct MountCase {
  const char* type;
  const char* source;
  bool local;
};

class TMMountTableKinds : public ::testing::TestWithParam<MountCase> {};

TEST_P(TMMountTableKinds, ClassifiesByTypeThenSource) {
  EXPECT_EQ(TMMountTable::isLocalVolume(GetParam().type, GetParam().source), GetParam().local)
      << GetParam().type << " from " << GetParam().source;
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, TMMountTableKinds,
    ::testing::Values(MountCase{"ext4", "/dev/sda1", true}, MountCase{"xfs", "/dev/nvme0n1p2", true},
                      MountCase{"zfs", "tank/home", true}, MountCase{"exfat", "/dev/sdb1", true},
                      MountCase{"ntfs3", "/dev/sdb2", true}, MountCase{"f2fs", "/dev/sdc", true},
                      MountCase{"squashfs", "/dev/loop3", true}, MountCase{"proc", "proc", false},
                      MountCase{"tmpfs", "tmpfs", false}, MountCase{"devtmpfs", "/dev", false},
                      MountCase{"cifs", "//server/share", false},
                      MountCase{"nfs", "server:/export", false},
                      MountCase{"fuse.sshfs", "user@host:", false},
                      MountCase{"overlay", "overlay", false}),
    test::caseNamesBy([](const MountCase& c) { return test::identifierFrom(c.type); }));

}  // namespace
}  // namespace tilemora
