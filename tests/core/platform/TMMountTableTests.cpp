// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/platform/TMMountTable.h"

#include <sys/sysmacros.h>

#include <map>

#include "core/platform/TMFileSystem.h"
#include "core/platform/TMScannableVolumes.h"

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

// The mounts a window offers to scan: disks only, each device once, with
// the sizes statvfs gives.
class TMFakeMountedFileSystem : public TMFileSystem {
 public:
  std::string mountTable() const override {
    return std::string(kMountInfo) +
           "40 22 254:0 /srv /srv rw - ext4 /dev/vda rw\n"                   // the root's device again
           "41 22 7:3 / /snap/core/1 ro - squashfs /dev/loop3 ro\n"
           "42 22 0:44 / /var/lib/docker/overlay2/x rw - overlay overlay rw\n";
  }
  TMFileSystemSizes fileSystemSizes(const char* path) const override {
    const auto found = sizes.find(path);
    return found == sizes.end() ? TMFileSystemSizes{} : found->second;
  }
  std::map<std::string, TMFileSystemSizes> sizes{{"/", {1000, 400}}, {"/home", {5000, 6000}}};
};

TEST(TMMountTable, OffersEachDiskOnceWithItsUsedAndFreeSpace) {
  const std::vector<TMScannableVolume> volumes = scannableVolumes(TMFakeMountedFileSystem());
  std::vector<std::string> points;
  for (const TMScannableVolume& volume : volumes) points.push_back(volume.mountPoint);
  EXPECT_EQ(points, (std::vector<std::string>{"/", "/media/usb stick", "/mnt/ntfs", "/home"}));
  EXPECT_EQ(volumes[0].device, "/dev/vda");
  EXPECT_EQ(volumes[0].type, "ext4");
  EXPECT_EQ(volumes[0].usedSize(), 600u);
  EXPECT_EQ(volumes[1].usedSize(), 0u);  // not measured
  EXPECT_EQ(volumes[3].usedSize(), 0u);  // free space beyond the size (reserved blocks): none used
}

TEST(TMMountTable, ReadsEachMountsDeviceAndTellsTheVirtualOnes) {
  const std::vector<TMMount> mounts = TMMountTable::mounts(kMountInfo);
  ASSERT_EQ(mounts.size(), 12u);
  EXPECT_EQ(mounts[6].device, makedev(8, 17));
  EXPECT_EQ(mounts[6].mountPoint, "/media/usb stick");
  EXPECT_EQ(mounts[6].source, "/dev/sdb1");
  EXPECT_EQ(TMMountTable::virtualDevices(kMountInfo),
            (std::vector<dev_t>{makedev(0, 21), makedev(0, 22), makedev(0, 5), makedev(0, 23), makedev(0, 43)}));
}

struct MountCase {
  const char* type;
  const char* source;
  bool local;
  bool scannable;   // offered to scan by a window opened without a folder
  bool isVirtual;   // one of the kernel's own file systems
};

class TMMountTableKinds : public ::testing::TestWithParam<MountCase> {};

TEST_P(TMMountTableKinds, ClassifiesByTypeThenSource) {
  EXPECT_EQ(TMMountTable::isLocalVolume(GetParam().type, GetParam().source), GetParam().local)
      << GetParam().type << " from " << GetParam().source;
  EXPECT_EQ(isScannableFileSystem(GetParam().type, GetParam().source), GetParam().scannable);
  EXPECT_EQ(TMMountTable::isVirtualFileSystem(GetParam().type), GetParam().isVirtual);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, TMMountTableKinds,
    ::testing::Values(MountCase{"ext4", "/dev/sda1", true, true, false},
                      MountCase{"xfs", "/dev/nvme0n1p2", true, true, false},
                      MountCase{"zfs", "tank/home", true, true, false},
                      MountCase{"exfat", "/dev/sdb1", true, true, false},
                      MountCase{"ntfs3", "/dev/sdb2", true, true, false},
                      MountCase{"f2fs", "/dev/sdc", true, true, false},
                      MountCase{"squashfs", "/dev/loop3", true, false, false},
                      MountCase{"proc", "proc", false, false, true},
                      MountCase{"sysfs", "/dev/sysfs", false, false, true},
                      MountCase{"bpf", "/dev/bpf", true, false, true},
                      MountCase{"tmpfs", "tmpfs", false, false, false},
                      MountCase{"devtmpfs", "/dev", false, false, true},
                      MountCase{"cifs", "//server/share", false, false, false},
                      MountCase{"nfs", "server:/export", false, false, false},
                      MountCase{"fuse.sshfs", "user@host:", false, false, false},
                      MountCase{"overlay", "overlay", false, false, false}),
    test::caseNamesBy([](const MountCase& c) { return test::identifierFrom(c.type); }));

}  // namespace
}  // namespace tilemora
