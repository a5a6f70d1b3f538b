#include "tools/quarnpak/DigestReport.h"

#include "toolkit/core/Errors.h"
#include "toolkit/core/P256Signature.h"
#include "tools/quarnpak/Console.h"
#include "tools/quarnpak/PathFile.h"
#include "tools/quarnpak/ProblemList.h"
#include "tools/quarnpak/Texts.h"
#include "tools/quarnpak/ToolError.h"

namespace qp {
namespace {

std::string SignatureText(const DigestFindings& findings) {
  if (findings.check.state != pak::DigestBlockState::Present) return "无";
  if (!findings.check.block.isSigned) return "未签名";
  std::string text = "已签名，密钥指纹 " + pak::KeyFingerprint(findings.check.block.publicKey);
  return text + (findings.signature == pak::SignatureState::Valid ? "，签名有效" : "，签名无效");
}

std::string DigestText(const DigestFindings& findings, int32_t count) {
  switch (findings.check.state) {
    case pak::DigestBlockState::Absent:
      return std::string("无（不带摘要块，数据无从校验）") + (findings.check.problem.empty() ? "" : "：" + findings.check.problem);
    case pak::DigestBlockState::Damaged:
      return "摘要块已损坏：" + findings.check.problem;
    case pak::DigestBlockState::Present:
      break;
  }
  if (findings.mismatched.empty()) return "有，" + std::to_string(count) + " 个条目的数据全部与摘要相符";
  return "有，" + std::to_string(findings.mismatched.size()) + " 个条目的数据与摘要不符";
}

}  // namespace

DigestFindings FindDigests(ArchiveReader* archive) {
  DigestFindings findings;
  findings.check = pak::ReadDigestCheck(archive->File(), archive->Header(), static_cast<int64_t>(archive->FileSize()));
  if (findings.check.state != pak::DigestBlockState::Present) return findings;
  findings.mismatched = pak::MismatchedEntries(archive->File(), archive->Directory(), findings.check.block);
  findings.signature = pak::CheckSignature(findings.check);
  return findings;
}

std::vector<std::string> DigestInfoLines(const DigestFindings& findings, const pak::TkexPakDirectory& directory) {
  std::vector<std::string> lines{"digest: " + ShowGbk(DigestText(findings, directory.Count())),
                                 "signature: " + ShowGbk(SignatureText(findings))};
  for (int32_t index : findings.mismatched)
    lines.push_back("mismatch: " + ShowGbk(pak::EntryMismatchText(index, directory.Item(index))));
  return lines;
}

std::string RequireSoundDigests(ArchiveReader* archive, const std::string& makerKey) {
  DigestFindings findings = FindDigests(archive);
  pak::PackageTrust trust = pak::JudgePackage(findings.check, makerKey);
  if (!trust.accepted) throw ToolError(ShowPath(archive->File().Path()) + ": " + ShowGbk(trust.message));
  if (!findings.mismatched.empty()) {
    ProblemList shown;
    for (int32_t index : findings.mismatched)
      shown.Add(ShowGbk(pak::EntryMismatchText(index, archive->Directory().Item(index))));
    for (const std::string& line : shown.Lines()) PrintError(line);
    throw ToolError(ShowPath(archive->File().Path()) + ": " +
                    ShowGbk("安装包已损坏：" + std::to_string(findings.mismatched.size()) + " 个条目的数据与摘要不符"));
  }
  return ShowGbk(trust.message);
}

std::string ReadPublicKeyFile(const std::filesystem::path& path) {
  PathFile file(path, PathFile::Mode::Read);
  std::string key(tk::kP256PublicKeySize + 1, '\0');
  int32_t got = file.Read(&key[0], static_cast<int32_t>(key.size()));
  key.resize(got < 0 ? 0 : static_cast<size_t>(got));
  if (key.size() != tk::kP256PublicKeySize || key[0] != 0x04)
    throw ToolError(ShowPath(path) + ShowGbk(" 不是 quarnpak pubkey 写出的公钥（65 字节的 P-256 点）"));
  return key;
}

}  // namespace qp
