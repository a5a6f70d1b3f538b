// The file stream opened for reading only: shared with other readers, closed to writers, and
// never a writer itself.
#include <gtest/gtest.h>

#include "PakTestSupport.h"
#include "toolkit/core/Errors.h"
#include "toolkit/core/FileStream.h"

using namespace pakt;
using tk::FileMode;
using tk::TFileStream;

TEST(FileStreamRead, WriteIsRefusedAndChangesNothing) {
  ScratchFolder dir;
  WriteBytes(dir / "f", "original");
  {
    TFileStream stream(NativeName(dir / "f"), FileMode::OpenRead);
    char first[4];
    stream.ReadBuffer(first, 4);
    EXPECT_EQ(std::string(first, 4), "orig");
    EXPECT_THROW(stream.Write("XX", 2), tk::EWriteError);
    EXPECT_THROW(stream.WriteBuffer("XX", 2), tk::EWriteError);
    EXPECT_EQ(stream.Position(), 4) << "a refused write moves nothing";
  }
  EXPECT_EQ(ReadBytes(dir / "f"), "original");
}

TEST(FileStreamRead, ReadersShareTheFileAndKeepWritersOut) {
  ScratchFolder dir;
  WriteBytes(dir / "f", "abc");
  std::string name = NativeName(dir / "f");
  {
    TFileStream first(name, FileMode::OpenRead);
    TFileStream second(name, FileMode::OpenRead);
    EXPECT_EQ(second.Size(), 3);
    EXPECT_THROW(TFileStream(name, FileMode::OpenReadWrite), tk::EFOpenError);
    EXPECT_THROW(TFileStream(name, FileMode::Create), tk::EFCreateError);
  }
  {
    TFileStream writer(name, FileMode::OpenReadWrite);
    EXPECT_THROW(TFileStream(name, FileMode::OpenRead), tk::EFOpenError);
  }
  TFileStream again(name, FileMode::OpenRead);  // every earlier holder let go
  EXPECT_EQ(ReadBytes(dir / "f"), "abc");
}

TEST(FileStreamRead, MissingFileKeepsTheNotFoundCodeAndIsNotCreated) {
  ScratchFolder dir;
  try {
    TFileStream stream(NativeName(dir / "missing"), FileMode::OpenRead);
    FAIL() << "opened a missing file";
  } catch (const tk::EFOpenError& error) {
    EXPECT_TRUE(tk::IsFileNotFoundError(error.ErrorCode())) << error.ErrorCode();
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
  EXPECT_THROW(TFileStream(NativeName(dir / "no folder" / "f"), FileMode::OpenRead), tk::EFOpenError);
}

TEST(FileStreamRead, FolderIsRefusedAndNotTakenForAMissingFile) {
  ScratchFolder dir;
  std::filesystem::create_directory(dir / "folder");
  try {
    TFileStream stream(NativeName(dir / "folder"), FileMode::OpenRead);
    FAIL() << "opened a folder as a file";
  } catch (const tk::EFOpenError& error) {
    EXPECT_FALSE(tk::IsFileNotFoundError(error.ErrorCode())) << error.ErrorCode();
  }
}
