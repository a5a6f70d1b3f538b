#include "tools/quarnpak/Verbs.h"

#include <algorithm>
#include <memory>

#include "common/portable/EmbeddedPackage.h"
#include "pak/PakGlobals.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/core/DateTime.h"
#include "tools/quarnpak/ArchivePlan.h"
#include "tools/quarnpak/ArchiveReader.h"
#include "tools/quarnpak/Console.h"
#include "tools/quarnpak/DigestReport.h"
#include "tools/quarnpak/EntryChecks.h"
#include "tools/quarnpak/Extractor.h"
#include "tools/quarnpak/PakWriter.h"
#include "tools/quarnpak/PathFile.h"
#include "tools/quarnpak/ProblemList.h"
#include "tools/quarnpak/SigningKey.h"
#include "tools/quarnpak/Texts.h"
#include "tools/quarnpak/ToolError.h"
#include "tools/quarnpak/TreeWalk.h"

namespace fs = std::filesystem;

namespace qp {
namespace {

// An archive written inside its own source folder would be swept into the next one made there.
void CheckOutsideSource(const fs::path& source, const fs::path& out) {
  // Without the source folder's place the question cannot be answered: refuse.
  std::error_code folderError;
  fs::path folder = fs::canonical(source, folderError);
  if (folderError) throw ToolError("cannot read folder " + ShowPath(source) + ": " + folderError.message());
  std::error_code fileError;
  fs::path file = fs::weakly_canonical(fs::absolute(out), fileError);
  if (fileError) return;  // the writer reports an unusable output path itself
  if (std::mismatch(folder.begin(), folder.end(), file.begin(), file.end()).first == folder.end())
    throw ToolError("the archive " + ShowPath(out) + " would lie inside the source folder " + ShowPath(source) +
                    "; write it elsewhere");
}

// Shows the bad entries (the first of them when there are many) and refuses the archive when
// there is one.
void RefuseBadEntries(const ArchiveReader& archive, const fs::path& path, const char* consequence) {
  std::vector<EntryProblem> problems = CheckEntries(archive.Directory(), archive.FileSize());
  if (problems.empty()) return;
  ProblemList shown;
  for (const EntryProblem& problem : problems) shown.Add(Describe(problem));
  for (const std::string& line : shown.Lines()) PrintError(line);
  throw ToolError(ShowPath(path) + ": damaged or unsafe archive, " + std::to_string(problems.size()) +
                  (problems.size() == 1 ? " bad entry" : " bad entries") + "; " + consequence);
}

}  // namespace

void CreateVerb(const CreateOptions& options) {
  std::error_code ec;
  if (!fs::is_directory(options.source, ec)) throw ToolError(ShowPath(options.source) + " is not a folder");
  if (fs::is_directory(options.out, ec)) throw ToolError(ShowPath(options.out) + " is a folder, not an archive file");
  fs::path outFolder = options.out.parent_path();
  if (!outFolder.empty() && !fs::is_directory(outFolder, ec))
    throw ToolError("no folder " + ShowPath(outFolder) + " to write the archive into");
  CheckOutsideSource(options.source, options.out);
  // The key is read before anything else: a wrong key wastes no walk and writes nothing.
  std::unique_ptr<SigningKey> key;
  if (options.signKey) key = std::make_unique<SigningKey>(*options.signKey);

  SourceTree tree = WalkSourceTree(options.source);
  for (const std::string& note : tree.skipped) PrintError(note);
  std::string defaultDescription;
  tk::GbkToUtf8(pak::kDefaultDescription, &defaultDescription);
  ArchivePlan plan = PlanArchive(tree.entries, options.version.value_or(pak::kDefaultVersion),
                                 options.description.value_or(defaultDescription));
  uint64_t size = WriteArchive(plan, options.out, key.get());
  PrintLine("created " + ShowPath(options.out) + ": " + std::to_string(plan.entries.size()) + " entries, " +
            std::to_string(size) + " bytes");
  if (key) PrintLine(ShowGbk("已签名，密钥指纹 " + pak::KeyFingerprint(key->PublicKey())));
}

void InfoVerb(const fs::path& path) {
  ArchiveReader archive(path);
  const pak::TkexPakHeader& header = archive.Header();
  PrintLine("version: " + ShowGbk(header.VersionText()));
  PrintLine("created: " + tk::FormatDateTime(header.CreationTime));
  PrintLine("description: " + ShowGbk(header.DescriptionText()));
  PrintLine("entries: " + std::to_string(header.EntryCount));
  PrintLine("directory: " + std::to_string(header.DirectoryOffset));
  // The digests are checked over a sound directory only; verify names what is wrong otherwise.
  bool sound = false;
  try {
    archive.LoadDirectory();
    sound = CheckEntries(archive.Directory(), archive.FileSize()).empty();
  } catch (const ToolError&) {
  }
  if (!sound) {
    PrintLine("digest: " + ShowGbk("未校验：目录或条目已损坏（verify 会说明）"));
    return;
  }
  for (const std::string& line : DigestInfoLines(FindDigests(&archive), archive.Directory())) PrintLine(line);
}

void ListVerb(const fs::path& path) {
  ArchiveReader archive(path);
  archive.LoadDirectory();
  const pak::TkexPakDirectory& directory = archive.Directory();
  for (int32_t i = 0; i < directory.Count(); ++i) {
    const pak::TkexPakDirectoryItem& item = directory.Item(i);
    PrintLine(std::to_string(item.Kind) + "\t" + std::to_string(item.DataOffset) + "\t" +
              std::to_string(item.DataSize) + "\t" + ShowGbk(item.NameText()));
  }
}

void ExtractVerb(const fs::path& path, const fs::path& target) {
  ArchiveReader archive(path);
  archive.LoadDirectory();
  RefuseBadEntries(archive, path, "nothing extracted");
  CheckExtractTarget(target);
  std::string note = RequireSoundDigests(&archive, "");
  ExtractCounts counts = ExtractArchive(&archive, target);
  PrintLine("extracted " + std::to_string(archive.Directory().Count()) + " entries into " + ShowPath(target) + ": " +
            std::to_string(counts.files) + " files, " + std::to_string(counts.folders) + " folders");
  PrintLine(note);
}

void VerifyVerb(const fs::path& path, const std::optional<fs::path>& makerKey) {
  std::string key = makerKey ? ReadPublicKeyFile(*makerKey) : std::string();
  ArchiveReader archive(path);
  archive.LoadDirectory();
  RefuseBadEntries(archive, path, "do not unpack it");
  std::string note = RequireSoundDigests(&archive, key);
  PrintLine("ok: " + std::to_string(archive.Directory().Count()) +
            " entries, every one inside the file and safe to unpack");
  PrintLine(note);
}

void PubkeyVerb(const fs::path& pemKey, const fs::path& out) {
  std::string key = PublicKeyFromPem(pemKey);
  PathFile file(out, PathFile::Mode::Create);
  file.Write(key.data(), static_cast<int32_t>(key.size()));
  file.Close();
  PrintLine(ShowPath(out) + ShowGbk("：P-256 公钥，65 字节，密钥指纹 " + pak::KeyFingerprint(key)));
}

void EmbedVerb(const fs::path& program, const fs::path& package, const fs::path& out) {
  ArchiveReader archive(package);
  archive.LoadDirectory();
  RefuseBadEntries(archive, package, "not embedded");
  std::error_code ec;
  if (fs::equivalent(program, out, ec) || fs::equivalent(package, out, ec))
    throw ToolError(ShowPath(out) + " is one of the inputs; write the program elsewhere");
  PathFile programFile(program, PathFile::Mode::Read);
  const std::string problem = pub::CarryingProblem(programFile);
  if (!problem.empty()) throw ToolError(ShowPath(program) + " cannot carry a package: " + problem);
  PathFile packageFile(package, PathFile::Mode::Read);
  try {
    PathFile outFile(out, PathFile::Mode::Create);
    pub::WriteProgramWithPackage(programFile, packageFile, outFile);
    outFile.Close();
  } catch (...) {
    fs::remove(out, ec);  // no half-written program is left to be signed or shipped
    throw;
  }
  PrintLine("wrote " + ShowPath(out) + ": " + ShowPath(program) + " carrying " + ShowPath(package));
}

}  // namespace qp
