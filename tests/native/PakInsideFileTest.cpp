// A package read from inside a larger file, through its location: what setup.exe does with the
// package it carries. The archive sees only its own bytes, and every check and message holds.
#include <gtest/gtest.h>

#include "PakTestSupport.h"
#include "pak/Pak.h"
#include "toolkit/core/MemoryStream.h"
#include "toolkit/core/StreamWindow.h"

using namespace pakt;

namespace {

std::string PackageOfTwoFiles() {
  return ArchiveBytes({}, "forum page" + Pattern(70000),
                      {{"eforum/index.jsp", 0, 115, 10}, {"ecms/big.bin", 0, 125, 70000}});
}

}  // namespace

TEST(PakInsideFile, ThePackageIsReadAsIfItWereAFileOfItsOwn) {
  ScratchFolder dir;
  const std::string package = PackageOfTwoFiles();
  const std::string before = "MZ program bytes" + Pattern(5000), after = "trailer and a signature" + Pattern(300);
  WriteBytes(dir / "setup.exe", before + package + after);
  pak::TkexPak pak(nullptr, pak::PackageLocation{NativeName(dir / "setup.exe"), int64_t(before.size()),
                                                  int64_t(package.size())});
  EXPECT_EQ(pak.Header->VersionText(), "1.0.0");
  ASSERT_EQ(pak.Directory->Count(), 2);
  EXPECT_EQ(pak.Stream->Size(), int64_t(package.size())) << "the window ends where the package does";
  EXPECT_EQ(pak.ReadEntry(1), package.substr(125, 70000));
}

TEST(PakInsideFile, APackageCutShortInsideTheFileIsDamagedAndTheMessageNamesTheFile) {
  ScratchFolder dir;
  const std::string package = PackageOfTwoFiles();
  // The bytes after the window would complete the directory: they must not be read.
  WriteBytes(dir / "setup.exe", "MZ" + package + Pattern(100));
  const std::string path = NativeName(dir / "setup.exe");
  try {
    pak::TkexPak pak(nullptr, pak::PackageLocation{path, 2, int64_t(package.size()) - 1});
    FAIL() << "a package one byte short was opened";
  } catch (const pak::EPackageDamaged& error) {
    EXPECT_NE(std::string(error.what()).find(path), std::string::npos) << error.what();
  }
}

TEST(StreamWindow, ReadsSeeksAndSizesStayInsideTheWindowAndNothingIsWritten) {
  tk::TStreamWindow window(std::make_unique<tk::TMemoryStream>("0123456789"), 3, 4);
  char bytes[8] = {};
  EXPECT_EQ(window.Size(), 4);
  EXPECT_EQ(window.Read(bytes, 8), 4);
  EXPECT_EQ(std::string(bytes, 4), "3456");
  EXPECT_EQ(window.Read(bytes, 1), 0) << "at the window's end";
  EXPECT_EQ(window.Seek(-2, tk::SeekOrigin::End), 2);
  EXPECT_EQ(window.Read(bytes, 8), 2);
  EXPECT_EQ(std::string(bytes, 2), "56");
  EXPECT_EQ(window.Seek(-9, tk::SeekOrigin::Current), 4) << "no position before the start";
  EXPECT_EQ(window.Write("x", 1), 0);
}
