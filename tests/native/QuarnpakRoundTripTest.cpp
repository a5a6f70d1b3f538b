// quarnpak's command line in-process: a tree stored and unpacked comes back byte for byte, also
// under Windows, where names travel as UTF-16 and GBK.
#include <gtest/gtest.h>

#include <map>

#include "PakTestSupport.h"
#include "tools/quarnpak/Cli.h"

using namespace pakt;
namespace fs = std::filesystem;

namespace {

// Relative UTF-8 path -> contents; folders map to "<folder>".
std::map<std::string, std::string> Tree(const fs::path& root) {
  std::map<std::string, std::string> tree;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    std::string name = fs::relative(entry.path(), root).generic_u8string();
    tree[name] = entry.is_directory() ? "<folder>" : ReadBytes(entry.path());
  }
  return tree;
}

int Quarnpak(std::vector<std::string> args) { return qp::RunQuarnpak(args); }

}  // namespace

TEST(QuarnpakRoundTrip, TreeComesBackByteForByte) {
  ScratchFolder dir;
  fs::path src = dir / "src";
  fs::create_directories(src / fs::u8path(u8"论坛/WEB-INF"));
  fs::create_directories(src / "empty");
  WriteBytes(src / fs::u8path(u8"论坛/WEB-INF/web.xml"), "<web-app/>");
  WriteBytes(src / "zero", "");
  WriteBytes(src / "big.bin", Pattern(200000));

  std::string pak = (dir / "x.pak").u8string();
  ASSERT_EQ(Quarnpak({"create", src.u8string(), pak, "--version", "2.0.0"}), 0);
  EXPECT_EQ(Quarnpak({"verify", pak}), 0);
  ASSERT_EQ(Quarnpak({"extract", pak, (dir / "out").u8string()}), 0);
  EXPECT_EQ(Tree(dir / "out"), Tree(src));
  EXPECT_EQ(ReadBytes(dir / "x.pak").substr(86, 6), std::string("2.0.0\0", 6));

  EXPECT_EQ(Quarnpak({"extract", pak, (dir / "out").u8string()}), 1) << "the target is not empty";
  EXPECT_EQ(Quarnpak({"create", src.u8string(), (src / "in.pak").u8string()}), 1) << "inside its own source";
  EXPECT_FALSE(fs::exists(src / "in.pak"));
  EXPECT_EQ(Quarnpak({"list"}), 2);
  EXPECT_EQ(Quarnpak({"frobnicate", pak}), 2);
}

TEST(QuarnpakRoundTrip, LinksAreNeitherFollowedNorStored) {
  ScratchFolder dir;
  fs::create_directories(dir / "src");
  fs::create_directories(dir / "secret");
  WriteBytes(dir / "src" / "real.txt", "real");
  WriteBytes(dir / "secret" / "key", "secret");
  std::error_code ec;
  fs::create_directory_symlink(dir / "secret", dir / "src" / "dirlink", ec);
  if (!ec) fs::create_symlink(dir / "secret" / "key", dir / "src" / "filelink", ec);
  if (ec) GTEST_SKIP() << "no links here: " << ec.message();

  ASSERT_EQ(Quarnpak({"create", (dir / "src").u8string(), (dir / "x.pak").u8string()}), 0);
  ASSERT_EQ(Quarnpak({"extract", (dir / "x.pak").u8string(), (dir / "out").u8string()}), 0);
  EXPECT_EQ(Tree(dir / "out"), (std::map<std::string, std::string>{{"real.txt", "real"}}));
}
