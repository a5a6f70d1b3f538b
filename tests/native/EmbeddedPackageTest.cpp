// The package inside the program file: written after the program image, found again from the
// trailer before a signature's certificate table, and not found where the file does not hold one.
#include <gtest/gtest.h>

#include <cstring>

#include "common/portable/EmbeddedPackage.h"
#include "toolkit/core/MemoryStream.h"
#include "toolkit/core/StreamWindow.h"

namespace {

void Put(std::string& bytes, size_t at, uint64_t value, int count) {
  for (int i = 0; i < count; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
}

// The headers of a program with one section whose data end at 0x400, as a linker lays them out.
std::string Program(bool wide) {
  std::string bytes(0x400, '\x90');
  bytes.replace(0, 2, "MZ");
  Put(bytes, 0x3C, 0x40, 4);
  bytes.replace(0x40, 4, std::string("PE\0\0", 4));
  const size_t optional = 0x58, optionalSize = wide ? 240 : 224;
  Put(bytes, 0x46, 1, 2);  // sections
  Put(bytes, 0x54, optionalSize, 2);
  Put(bytes, optional, wide ? 0x20B : 0x10B, 2);
  Put(bytes, optional + (wide ? 108 : 92), 16, 4);  // data directories
  for (size_t i = 0; i < 16 * 8; ++i) bytes[optional + (wide ? 112 : 96) + i] = 0;
  const size_t section = optional + optionalSize;
  Put(bytes, section + 16, 0x200, 4);  // raw size
  Put(bytes, section + 20, 0x200, 4);  // raw start
  return bytes;
}

// What a signer does: zeros up to a multiple of 8, the certificate table, and its place
// recorded in the security directory.
std::string Signed(std::string bytes, bool wide) {
  bytes.append((8 - bytes.size() % 8) % 8, '\0');
  const size_t security = 0x58 + (wide ? 112 : 96) + 4 * 8;
  Put(bytes, security, bytes.size(), 4);
  Put(bytes, security + 4, 1000, 4);
  return bytes + std::string(1000, '\x30');
}

std::string WithPackage(const std::string& program, const std::string& package) {
  tk::TMemoryStream programStream(program), packageStream(package), out;
  pub::WriteProgramWithPackage(programStream, packageStream, out);
  return out.Bytes();
}

std::optional<pub::EmbeddedPart> Found(const std::string& file) {
  tk::TMemoryStream stream(file);
  return pub::FindEmbeddedPackage(stream);
}

std::string Trailer(uint64_t offset, uint64_t size) {
  std::string trailer(24, '\0');
  Put(trailer, 0, offset, 8);
  Put(trailer, 8, size, 8);
  trailer.replace(16, 8, pub::kEmbeddedPackageMagic);
  return trailer;
}

}  // namespace

TEST(EmbeddedPackage, APackageWrittenIntoAProgramIsFoundUnsignedAndSigned) {
  for (bool wide : {false, true}) {
    for (size_t packageSize : {size_t{1}, size_t{115}, size_t{70001}}) {
      SCOPED_TRACE(std::to_string(wide) + " " + std::to_string(packageSize));
      const std::string package(packageSize, 'P');
      const std::string file = WithPackage(Program(wide), package);
      EXPECT_EQ(file.size() % 8, 0u) << "a signer needs to add no padding";
      for (const std::string& shipped : {file, Signed(file, wide)}) {
        const std::optional<pub::EmbeddedPart> part = Found(shipped);
        ASSERT_TRUE(part);
        EXPECT_EQ(shipped.substr(static_cast<size_t>(part->offset), static_cast<size_t>(part->size)), package);
      }
    }
  }
}

TEST(EmbeddedPackage, ASignerThatPaddedAfterTheTrailerIsLookedPast) {
  const std::string program = Program(false) + "odd";
  const std::string file = program + "PKG" + Trailer(program.size(), 3);
  ASSERT_NE(file.size() % 8, 0u);
  const std::optional<pub::EmbeddedPart> part = Found(Signed(file, false));
  ASSERT_TRUE(part);
  EXPECT_EQ(part->offset, int64_t(program.size()));
  EXPECT_EQ(part->size, 3);
}

TEST(EmbeddedPackage, NoPackageIsFoundWhereTheFileDoesNotProveOne) {
  const std::string program = Program(false);
  const struct {
    const char* what;
    std::string file;
  } cases[] = {
      {"a plain program", program},
      {"a plain signed program", Signed(program, false)},
      {"no program at all", "ZM" + WithPackage(program, "PKG").substr(2)},
      {"another magic", program + "PKG" + Trailer(program.size(), 3).replace(16, 1, "q")},
      {"a package starting inside the image", program + "PKG" + Trailer(0x3FF, 4)},
      {"a size that does not end at the trailer", program + "PKG" + Trailer(program.size(), 2)},
      {"a size past the trailer", program + "PKG" + Trailer(program.size(), ~uint64_t{0})},
      {"a trailer after the certificate table",
       Signed(program, false) + "PKG" + Trailer(Signed(program, false).size(), 3)},
  };
  for (const auto& c : cases) EXPECT_FALSE(Found(c.file)) << c.what;
}

TEST(EmbeddedPackage, OnlyAnUnsignedProgramWithoutAPackageTakesOne) {
  const std::string program = Program(true);
  const struct {
    const char* what;
    std::string file;
    const char* problem;
  } cases[] = {
      {"plain", program, ""},
      {"no program", "not a program", "no Windows program"},
      {"signed", Signed(program, true), "signed already"},
      {"carrying", WithPackage(program, "PKG"), "carries a package already"},
  };
  for (const auto& c : cases) {
    tk::TMemoryStream stream(c.file);
    const std::string problem = pub::CarryingProblem(stream);
    if (*c.problem == '\0')
      EXPECT_EQ(problem, "") << c.what;
    else
      EXPECT_NE(problem.find(c.problem), std::string::npos) << c.what << ": " << problem;
  }
}
